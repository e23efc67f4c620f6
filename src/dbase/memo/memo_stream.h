// One memo of the current area as a byte stream, for values that are not
// plain text (and for the dataset classes): read, written, positioned. A
// written value always gets a block header with its length, also in a
// dBASE III file, whose readers otherwise take text up to 0x1A; its block is
// then answered negative, the mark such a record keeps. One stream per work
// area at a time.
#pragma once

#include <cstdint>

namespace dbase {

// Conversion arguments of the read and write calls.
enum BlobConversion : int { kConvertIfText = 0, kConvert = 1, kNoConversion = 2 };

// Prepares the stream on the memo at block: mode 1 reads it, mode 2 writes a
// new value of size bytes (0 = not known: at the end of the file) in place of
// the memo at block (0 for none; dBASE IV reuses its blocks). resetConversion
// makes the text test decide again. Answers the first block (negative in a
// dBASE III file for a written value), 0 on failure.
std::int32_t OpenBlob(bool resetConversion, std::int32_t block, int mode, std::int64_t size = 0);
// At most count bytes from the position on; the count delivered.
std::int64_t ReadBlobStream(void* buffer, std::int64_t count, int conversion);
// The count written (not beyond a size given to OpenBlob).
std::int64_t WriteBlobStream(const void* buffer, std::int64_t count, int conversion);
// Origin 0 from the start, 1 from the position, 2 from the end; the new
// position (never below 0).
std::int64_t SeekBlob(std::int64_t offset, int origin);
// Finishes a write stream: the block header gets the length written.
bool CloseBlob();

}  // namespace dbase
