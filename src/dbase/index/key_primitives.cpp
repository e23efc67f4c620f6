// Key comparison, SOUNDEX, descending keys, byte routines and the pool ring.
#include "dbase/index/key_primitives.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace dbase {

int CompareBytes(const void* a, const void* b, std::size_t n) {
  const auto* pa = static_cast<const std::uint8_t*>(a);
  const auto* pb = static_cast<const std::uint8_t*>(b);
  for (std::size_t i = 0; i < n; ++i) {
    if (pa[i] != pb[i]) return static_cast<int>(pa[i]) - static_cast<int>(pb[i]);
  }
  return 0;
}

int CompareFloat(double a, double b) {
  if (a < b) return -1;
  if (a > b) return 1;
  return 0;
}

namespace {

// The SOUNDEX digit of an upper-case letter; '0' for vowels, H, W, Y and for
// anything that is not a letter.
char SoundexDigit(char c) {
  static constexpr char kDigits[] = "01230120022455012623010202";  // A..Z
  if (c < 'A' || c > 'Z') return '0';
  return kDigits[c - 'A'];
}

bool IsAsciiLetter(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

std::string SoundexKey(const std::string& text) {
  std::string code(kSoundexLength, '0');
  const std::string upper = UpperAscii(text.substr(0, kMaxKeyLength));
  if (upper.empty()) return code;
  code[0] = upper[0];
  char last = SoundexDigit(upper[0]);
  std::size_t position = 1;
  for (std::size_t i = 1; i < upper.size() && position < kSoundexLength; ++i) {
    const char c = upper[i];
    if (!IsAsciiLetter(c)) continue;
    const char digit = SoundexDigit(c);
    if (digit != last && digit != '0') code[position++] = digit;
    last = digit;
  }
  return code;
}

std::string DescendingKey(const std::string& text) {
  std::string out = text.substr(0, std::min(text.size(), kMaxKeyLength));
  for (char& c : out) c = static_cast<char>(static_cast<std::uint8_t>(c) ^ 0xFF);
  return out;
}

std::string UpperAscii(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

void ReverseBytes(void* buffer, std::size_t n) {
  auto* p = static_cast<std::uint8_t*>(buffer);
  std::reverse(p, p + n);
}

void RotateBytes(void* buffer, std::size_t a, std::size_t b) {
  if (a == 0 || b == 0) return;
  auto* p = static_cast<std::uint8_t*>(buffer);
  ReverseBytes(p, a);
  ReverseBytes(p + a, b);
  ReverseBytes(p, a + b);
}

std::string IntToZeroPadStr(std::int64_t n, int width) {
  std::string text = std::to_string(n);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
  return text;
}

const void* PtrAdd(const void* pointer, std::ptrdiff_t offset) {
  return static_cast<const std::uint8_t*>(pointer) + offset;
}

std::size_t StrLenZ(const char* text) { return text == nullptr ? 0 : std::strlen(text); }

char* StrCopyZ(char* destination, const char* source) { return std::strcpy(destination, source); }

void StrToZ(const std::string& text, char* buffer, std::size_t capacity) {
  if (capacity == 0) return;
  const std::size_t n = std::min(text.size(), capacity - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

std::string ZToStrN(const char* buffer, std::size_t n) {
  std::size_t length = 0;
  while (length < n && buffer[length] != '\0') ++length;
  return std::string(buffer, length);
}

char* StrNCopyZ(char* destination, const char* source, std::size_t n) {
  std::size_t i = 0;
  for (; i < n && source[i] != '\0'; ++i) destination[i] = source[i];
  destination[i] = '\0';
  return destination;
}

PoolBlock* AllocPoolBlock(PoolBlock*& ring, std::size_t size) {
  if (size > kMaxPoolBlock) return nullptr;
  void* memory = std::calloc(1, sizeof(PoolBlock) + size);
  if (memory == nullptr) return nullptr;
  auto* block = new (memory) PoolBlock;
  block->size = static_cast<std::uint16_t>(size + kPoolHeaderSize);
  if (ring == nullptr) {
    block->previous = block->next = block;
  } else {
    block->next = ring;
    block->previous = ring->previous;
    ring->previous->next = block;
    ring->previous = block;
  }
  ring = block;
  return block;
}

PoolBlock* TakePoolBlock(PoolBlock*& ring) {
  PoolBlock* block = ring;
  if (block == nullptr) return nullptr;
  if (block->next == block) {
    ring = nullptr;
  } else {
    block->previous->next = block->next;
    block->next->previous = block->previous;
    ring = block->next;
  }
  block->previous = block->next = nullptr;
  return block;
}

void FreePoolBlock(PoolBlock* block) {
  if (block == nullptr) return;
  block->~PoolBlock();
  std::free(block);
}

PoolBlock* NextPoolBlock(PoolBlock* ring, PoolBlock* block) {
  if (ring == nullptr) return nullptr;
  if (block == nullptr) return ring;
  return block->next == ring ? nullptr : block->next;
}

void FreePoolRing(PoolBlock*& ring) {
  while (ring != nullptr) FreePoolBlock(TakePoolBlock(ring));
}

}  // namespace dbase
