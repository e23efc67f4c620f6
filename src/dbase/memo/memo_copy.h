// Copying memos between the memo files of two work areas (AppendFrom and
// copies of tables), and packing a memo file: the memos the records still
// refer to are copied into a new file, which replaces the old one only when
// it is complete; then the records get their new block numbers.
#pragma once

#include <cstdint>

namespace dbase {

// Copies the memo at block of the source area's memo file into the current
// area's memo file, at its end or (sameBlock) at the same block number;
// answers the new block, 0 for block 0 or on failure.
std::int32_t CopyMemo(int sourceArea, std::int32_t block, bool sameBlock);

// Packs the memo file of the current area's table (opened exclusively);
// 0 or the error code (also recorded).
int PackMemofile();

}  // namespace dbase
