// Trigonometric functions of 80-bit reals for the calculation's hot loops
// (the position sweep of the noncircular pair and the closing of its pitch
// curves, which ask for some 20,000 of them per run).
// - The Memo functions return exactly what std::sin, std::cos, std::tan,
//   std::acos, std::atan and std::pow return, from a table of recent arguments: the
//   substitute pairs of a sweep repeat most angles (the pressure angle, the
//   angles that depend on tooth numbers only), and the library's 80-bit
//   functions cost several times a table lookup. Memoised<F> does the same
//   for any pure function of one to three reals.
// - The Reduced functions take off whole quarter turns first, so that the
//   library evaluates an angle within pi/4, where it needs no long
//   reduction of the argument; equal to the library's results within a few
//   units of the last place. For the pitch-curve radius functions, whose
//   angles run over whole turns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "common/real.h"

namespace common {

namespace memo_detail {

// The bytes of a real that hold its value: the 80-bit format stores 10 of
// 16, and the padding may hold anything.
inline constexpr std::size_t ValueBytes =
    std::numeric_limits<Real>::digits == 64 ? 10 : (sizeof(Real) < 16 ? sizeof(Real) : 16);

// The value bits of a real as two words.
struct Key {
  std::uint64_t lo = 0;
  std::uint64_t hi = 0;
  bool operator==(const Key&) const = default;
};

inline Key KeyOf(Real x) {
  unsigned char bytes[16] = {};
  std::memcpy(bytes, &x, ValueBytes);
  Key k;
  std::memcpy(&k.lo, bytes, 8);
  std::memcpy(&k.hi, bytes + 8, 8);
  return k;
}

inline std::uint64_t Mix(const Key& k, std::uint64_t seed) {
  return (seed ^ k.lo ^ (k.hi * 0x9E3779B97F4A7C15ULL)) * 0xBF58476D1CE4E5B9ULL;
}

// A direct-mapped table of the values of a function of N reals: each tuple
// of arguments has one slot, a newer tuple of the same slot replaces the
// older. Keys are compared bit for bit, so every value returned is the one
// the function gave for those very arguments (NaNs and signed zeros
// included).
template <std::size_t N>
class MemoTable {
 public:
  template <class Compute>
  Real Get(const Real (&args)[N], Compute compute) {
    Key keys[N];
    std::uint64_t h = 0;
    for (std::size_t i = 0; i < N; ++i) {
      keys[i] = KeyOf(args[i]);
      h = Mix(keys[i], h);
    }
    Slot& s = slots_[h >> (64 - Bits)];
    bool same = s.used;
    for (std::size_t i = 0; same && i < N; ++i) same = s.keys[i] == keys[i];
    if (!same) {
      for (std::size_t i = 0; i < N; ++i) s.keys[i] = keys[i];
      s.value = compute();
      s.used = true;
    }
    return s.value;
  }

 private:
  static constexpr int Bits = 10;
  struct Slot {
    Key keys[N];
    Real value = 0;
    bool used = false;
  };
  Slot slots_[std::size_t{1} << Bits] = {};
};

}  // namespace memo_detail

// F(x) through a table of recent arguments; F must be a pure function (its
// value depends on its arguments only and it has no effects).
template <Real (*F)(Real)>
Real Memoised(Real x) {
  static memo_detail::MemoTable<1> table;
  const Real args[1] = {x};
  return table.Get(args, [x] { return F(x); });
}

template <Real (*F)(Real, Real)>
Real Memoised(Real a, Real b) {
  static memo_detail::MemoTable<2> table;
  const Real args[2] = {a, b};
  return table.Get(args, [a, b] { return F(a, b); });
}

template <Real (*F)(Real, Real, Real)>
Real Memoised(Real a, Real b, Real c) {
  static memo_detail::MemoTable<3> table;
  const Real args[3] = {a, b, c};
  return table.Get(args, [a, b, c] { return F(a, b, c); });
}

Real MemoSin(Real x);
Real MemoCos(Real x);
Real MemoTan(Real x);
Real MemoAcos(Real x);
Real MemoAtan(Real x);
Real MemoPow(Real x, Real y);

Real ReducedSin(Real x);
Real ReducedCos(Real x);
// x = r + q pi/2 with |r| about pi/4 at most; returns q modulo 4 (0..3).
// An x of 1e9 or more in size, or undefined, comes back as r with q = 0.
int ReduceQuarterTurns(Real x, Real& r);

}  // namespace common
