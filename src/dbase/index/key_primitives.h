// Small routines on which the index and expression layers rest: byte and
// number comparison of keys, the SOUNDEX code, the complement that turns
// ascending order into descending order, in-place byte reversal and rotation,
// zero-terminated text helpers, and a ring of zeroed memory blocks from which
// the index build takes its key pools.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace dbase {

// Length of a SOUNDEX code.
inline constexpr std::size_t kSoundexLength = 4;
// The longest key an index holds; longer texts are cut to it.
inline constexpr std::size_t kMaxKeyLength = 100;

// 0 when the n bytes are equal, else the unsigned byte of a minus that of b
// at the first difference.
int CompareBytes(const void* a, const void* b, std::size_t n);
// -1, 0 or 1.
int CompareFloat(double a, double b);
// The 4-character SOUNDEX code of at most the first 100 characters; an empty
// text gives "0000".
std::string SoundexKey(const std::string& text);
// Every byte of the first min(length, 100) characters complemented.
std::string DescendingKey(const std::string& text);
// a..z to A..Z; every other byte unchanged.
std::string UpperAscii(const std::string& text);
void ReverseBytes(void* buffer, std::size_t n);
// Exchanges the adjacent runs of a and b bytes (three reversals).
void RotateBytes(void* buffer, std::size_t a, std::size_t b);
// Decimal text of n with "0" in front up to the width.
std::string IntToZeroPadStr(std::int64_t n, int width);

// Zero-terminated texts.
const void* PtrAdd(const void* pointer, std::ptrdiff_t offset);
std::size_t StrLenZ(const char* text);
// Copies with the terminator; answers the destination.
char* StrCopyZ(char* destination, const char* source);
// The text into a buffer of capacity bytes, cut to capacity - 1 and
// terminated.
void StrToZ(const std::string& text, char* buffer, std::size_t capacity);
// At most n characters up to the terminator.
std::string ZToStrN(const char* buffer, std::size_t n);
// Copies at most n characters and terminates.
char* StrNCopyZ(char* destination, const char* source, std::size_t n);

// A ring of pool blocks. Each block has a 10-byte header (previous, next,
// size including the header) and the caller's zeroed bytes after it; the ring
// variable designates the newest block.
struct PoolBlock {
  PoolBlock* previous = nullptr;
  PoolBlock* next = nullptr;
  std::uint16_t size = 0;  // header included
  std::uint8_t* Data() { return reinterpret_cast<std::uint8_t*>(this + 1); }
};
inline constexpr std::size_t kPoolHeaderSize = 10;
inline constexpr std::size_t kMaxPoolBlock = 65535 - kPoolHeaderSize;

// A new zeroed block inserted before the newest and made the newest; null
// when the size does not fit the 16-bit size or memory is short.
PoolBlock* AllocPoolBlock(PoolBlock*& ring, std::size_t size);
// Removes the newest block and answers it (release it with FreePoolBlock);
// the ring then designates the following block, or is empty.
PoolBlock* TakePoolBlock(PoolBlock*& ring);
void FreePoolBlock(PoolBlock* block);
// Walks the ring once: the block after the given one (the first when given
// null), null when the walk is back at the newest.
PoolBlock* NextPoolBlock(PoolBlock* ring, PoolBlock* block);
// Frees every block of the ring.
void FreePoolRing(PoolBlock*& ring);

}  // namespace dbase
