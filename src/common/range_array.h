// Fixed arrays with the index range the calculation records use, mostly
// [1..2] per gear (gear 1 first) and [1..n] buffers. An index outside the
// range is a programming fault and throws instead of touching other data.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>

template <class T, int Lo, int Hi>
class RangeArray {
  static_assert(Hi >= Lo, "empty range");

 public:
  static constexpr int Low = Lo;
  static constexpr int High = Hi;
  static constexpr std::size_t Count = static_cast<std::size_t>(Hi - Lo + 1);

  constexpr T& operator[](int i) { return data_[check(i)]; }
  constexpr const T& operator[](int i) const { return data_[check(i)]; }

  void fill(const T& value) { data_.fill(value); }
  constexpr std::size_t size() const { return Count; }
  auto begin() { return data_.begin(); }
  auto end() { return data_.end(); }
  auto begin() const { return data_.begin(); }
  auto end() const { return data_.end(); }

  bool operator==(const RangeArray&) const = default;

 private:
  static constexpr std::size_t check(int i) {
    if (i < Lo || i > Hi) throw std::out_of_range("RangeArray index");
    return static_cast<std::size_t>(i - Lo);
  }
  std::array<T, Count> data_{};
};

// 1-based arrays filled from plain C arrays, the form in which the program's
// fixed tables are written down.
template <class T, int N>
RangeArray<T, 1, N> RangeArrayFrom(const T (&values)[N]) {
  RangeArray<T, 1, N> table;
  for (int i = 1; i <= N; ++i) table[i] = values[i - 1];
  return table;
}

template <class T, int Rows, int Cols>
RangeArray<RangeArray<T, 1, Cols>, 1, Rows> RangeTableFrom(const T (&values)[Rows][Cols]) {
  RangeArray<RangeArray<T, 1, Cols>, 1, Rows> table;
  for (int r = 1; r <= Rows; ++r)
    for (int c = 1; c <= Cols; ++c) table[r][c] = values[r - 1][c - 1];
  return table;
}

// Per-gear values: index 1 is gear 1 (the user's pitch curve), 2 the mate.
template <class T>
using GearArray = RangeArray<T, 1, 2>;
