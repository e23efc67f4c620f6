// An array that grows at its end in chunks of a fixed number of elements,
// for the long lists of a picture (the display list, the blocks kept in
// memory): hundreds of thousands of numbers. Appending never moves what the
// array holds, and it holds at most one chunk beyond its size, where a
// vector that doubles holds up to twice its size, and three times while it
// moves to a larger store. Clearing keeps the chunks for the next filling;
// cutting it shorter gives back all but one beyond its new size.
//
//   TChunkedArray<Real> values;
//   values.push_back(x);   ...   values[i]
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace common {

template <class T, std::size_t ChunkBits = 12>
class TChunkedArray {
 public:
  static constexpr std::size_t ChunkSize = std::size_t{1} << ChunkBits;

  TChunkedArray() = default;
  TChunkedArray(TChunkedArray&&) noexcept = default;
  TChunkedArray& operator=(TChunkedArray&&) noexcept = default;
  // A copy holds the elements only, in chunks of its own.
  TChunkedArray(const TChunkedArray& other) {
    for (std::size_t i = 0; i < other.size_; ++i) push_back(other[i]);
  }
  TChunkedArray& operator=(const TChunkedArray& other) {
    if (this != &other) {
      TChunkedArray copy(other);
      *this = std::move(copy);
    }
    return *this;
  }

  void push_back(const T& value) {
    if (size_ == chunks_.size() * ChunkSize) chunks_.push_back(std::make_unique<T[]>(ChunkSize));
    (*this)[size_++] = value;
  }
  T& operator[](std::size_t i) { return chunks_[i >> ChunkBits][i & (ChunkSize - 1)]; }
  const T& operator[](std::size_t i) const { return chunks_[i >> ChunkBits][i & (ChunkSize - 1)]; }
  T& back() { return (*this)[size_ - 1]; }
  const T& back() const { return (*this)[size_ - 1]; }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  void clear() { size_ = 0; }
  // The first n elements stay (n no more than the size).
  void truncate(std::size_t n) {
    if (n >= size_) return;
    size_ = n;
    const std::size_t kept = (n + ChunkSize - 1) / ChunkSize + 1;
    if (chunks_.size() > kept) chunks_.resize(kept);
  }

 private:
  std::vector<std::unique_ptr<T[]>> chunks_;
  std::size_t size_ = 0;
};

}  // namespace common
