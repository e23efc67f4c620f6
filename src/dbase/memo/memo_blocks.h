// Reuse of blocks in dBASE IV memo files. The header's first value heads a
// chain of free runs in block order; the first block of a run holds the next
// run's block and the run's length in blocks (32-bit little-endian each). A
// value that is not below the file's block count ends the chain. A rewritten
// memo stays in place when its blocks suffice, else takes the first run that
// is long enough, else goes to the end of the file; blocks it no longer needs
// join the chain. The routines run under the memo lock
// (LockMemoPadAndSeekEOF) and keep the chain consistent: a run taken is
// unlinked, its surplus linked in its place.
#pragma once

#include <cstdint>
#include <string>

#include "dbase/memo/memo_file.h"

namespace dbase {

// The chain walk gives up after this many runs (a damaged chain).
inline constexpr int kMaxChainVisits = 100;

// The first block for a value of needed blocks; the old memo's block (0 for
// none) is kept when it is long enough. Answers 0 on a read or write fault
// (recorded with the caller's text).
std::int32_t FindFreeBlocks(MemoFile& memo, std::uint32_t needed, std::int32_t oldBlock, const std::string& caller);
// Adds the run of count blocks from first to the chain (blocks beyond the
// file's end are left out).
bool ReleaseBlocks(MemoFile& memo, std::uint32_t first, std::uint32_t count);
// The blocks a value of this many bytes (block header included) is given.
std::uint32_t BlocksNeeded(const MemoFile& memo, std::int64_t bytes);

}  // namespace dbase
