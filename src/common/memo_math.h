// Memoised functions of 80-bit reals for the calculation's hot steps (the
// position sweep of the noncircular pair asks for some 20,000 of them per
// run). The Memo functions return exactly what std::sin, std::cos,
// std::tan, std::acos, std::atan and std::pow return, from a table of
// recent arguments: the substitute pairs of a sweep repeat many arguments
// (the pressure angle, the face width, angles that depend on tooth numbers
// only), and the library's 80-bit functions cost ten times a table lookup.
// Memoised<F> does the same for any pure function of one to three reals;
// the WideMemo functions keep a run's worth of pitch-curve angles.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "common/real.h"

namespace common {

namespace memo_detail {

// A direct-mapped table of the values of a function of N reals: each tuple
// of arguments has one slot, a newer tuple of the same slot replaces the
// older. Arguments are compared as reals; that is bit for bit except for
// NaN (never equal) and zero (+0 equals -0), which the callers pass by.
// The slot comes from the arguments rounded to double precision: their
// bits reach the integer unit quickly, while the bytes of an 80-bit real
// stored a moment before do not.
template <std::size_t N, class V = Real>
class MemoTable {
 public:
  template <class Compute>
  V Get(const Real (&args)[N], Compute compute) {
    std::uint64_t h = 0;
    for (std::size_t i = 0; i < N; ++i) {
      const double d = static_cast<double>(args[i]);
      std::uint64_t bits;
      std::memcpy(&bits, &d, sizeof bits);
      h = (h ^ bits) * 0x9E3779B97F4A7C15ULL;
    }
    Slot& s = slots_[h >> (64 - Bits)];
    bool same = s.used;
    for (std::size_t i = 0; same && i < N; ++i) same = s.args[i] == args[i];
    if (!same) {
      for (std::size_t i = 0; i < N; ++i) s.args[i] = args[i];
      s.value = compute();
      s.used = true;
    }
    return s.value;
  }

 private:
  // A sweep of 360 positions asks for some thousand new arguments of a
  // function of one or two reals; a table that holds them all answers the
  // next run of the same design (animations, diagrams) from the table.
  // Functions of three reals are asked for few.
  static constexpr int Bits = N <= 2 ? 12 : 10;
  struct Slot {
    Real args[N] = {};
    V value{};
    bool used = false;
  };
  Slot slots_[std::size_t{1} << Bits] = {};
};

// True for the arguments a table can hold: not NaN, not zero (one
// comparison for both).
inline bool Memoisable(Real x) { return std::fabs(x) > 0; }

// A table for a function of one real asked for thousands of distinct
// arguments per run that recur from run to run: the angles at which the
// pitch curve is sampled (3,600 for the closing of the pair, 360 positions)
// are the same for every design. The caller names the sample angle `near`
// that the argument belongs to; it only chooses the bucket (a few
// hundredths of a degree wide), so that a run that walks round the curve
// walks through the table in order instead of jumping about in half a
// megabyte. Each bucket keeps its Ways newest arguments, newest first; an
// empty entry holds NaN, which equals nothing.
class WideMemoTable {
 public:
  WideMemoTable();

  template <class Compute>
  Real Get(Real x, Real near, Compute compute) {
    double turns = static_cast<double>(near) * (Buckets / (2 * 3.14159265358979323846));
    if (!(turns > -1e15 && turns < 1e15)) turns = 0;  // NaN, huge: any bucket serves
    const auto bucket = static_cast<std::uint64_t>(static_cast<std::int64_t>(turns)) & (Buckets - 1);
    Entry* entries = &entries_[bucket * Ways];
    for (int i = 0; i < Ways; ++i)
      if (entries[i].arg == x) return entries[i].value;
    for (int i = Ways - 1; i > 0; --i) entries[i] = entries[i - 1];
    entries[0] = {x, compute()};
    return entries[0].value;
  }

 private:
  static constexpr std::uint64_t Buckets = 2048;  // per turn of `near`
  static constexpr int Ways = 8;
  struct Entry {
    Real arg;
    Real value;
  };
  std::vector<Entry> entries_;
};

}  // namespace memo_detail

// F(x) through a table of recent arguments; F must be a pure function (its
// value depends on its arguments only and it has no effects) of one to
// three reals, its value a real or a small record of them.
template <auto F>
auto Memoised(Real x) {
  if (!memo_detail::Memoisable(x)) return F(x);
  static memo_detail::MemoTable<1, decltype(F(x))> table;
  const Real args[1] = {x};
  return table.Get(args, [x] { return F(x); });
}

template <auto F>
auto Memoised(Real a, Real b) {
  if (!memo_detail::Memoisable(a) || !memo_detail::Memoisable(b)) return F(a, b);
  static memo_detail::MemoTable<2, decltype(F(a, b))> table;
  const Real args[2] = {a, b};
  return table.Get(args, [a, b] { return F(a, b); });
}

template <auto F>
auto Memoised(Real a, Real b, Real c) {
  if (!memo_detail::Memoisable(a) || !memo_detail::Memoisable(b) || !memo_detail::Memoisable(c))
    return F(a, b, c);
  static memo_detail::MemoTable<3, decltype(F(a, b, c))> table;
  const Real args[3] = {a, b, c};
  return table.Get(args, [a, b, c] { return F(a, b, c); });
}

namespace memo_detail {

// Arguments of a recent call that give the same value again: reals bit for
// bit but for the padding (+0 and -0 differ, a NaN is never the same),
// anything else by ==.
template <class T>
bool SameArgument(const T& a, const T& b) {
  return a == b;
}
inline bool SameArgument(Real a, Real b) {
  return a == b && (a != 0 || std::signbit(a) == std::signbit(b));
}

template <auto F, std::size_t Ways>
struct RecentCalls;

template <class R, class... P, R (*F)(P...), std::size_t Ways>
struct RecentCalls<F, Ways> {
  using Arguments = std::tuple<std::decay_t<P>...>;
  struct Call {
    Arguments args;
    R value;
  };
  inline static Call calls[Ways]{};
  inline static std::size_t used = 0;
  static R Get(std::decay_t<P>... args) {
    for (std::size_t i = 0; i < used; ++i) {
      const bool same = std::apply(
          [&](const auto&... old) { return (SameArgument(old, args) && ...); }, calls[i].args);
      if (same) return calls[i].value;
    }
    // Newest first; the oldest falls out.
    for (std::size_t i = used < Ways ? used++ : Ways - 1; i > 0; --i) calls[i] = calls[i - 1];
    calls[0].args = Arguments(args...);
    calls[0].value = F(args...);
    return calls[0].value;
  }
};

}  // namespace memo_detail

// F(args) through the arguments and values of its last Ways calls, F a pure
// function of any arguments and result. Made for values that a run asks
// for again and again with the same few arguments (material data, the
// tool's pressure angle, one set per gear): comparing them costs less than
// a table look-up, and arguments that change from call to call do not push
// them out of a shared table.
template <auto F, std::size_t Ways = 2, class... A>
auto MemoisedRecent(A&&... args) {
  return memo_detail::RecentCalls<F, Ways>::Get(std::forward<A>(args)...);
}

// The sine, cosine and tangent of an angle, each exactly what std::sin,
// std::cos and std::tan give.
struct TAngleFunctions {
  Real sin = 0;
  Real cos = 1;
  Real tan = 0;
};
TAngleFunctions AngleFunctions(Real x);

namespace memo_detail {
// AngleFunctions once more, so that CurrentAngleFunctions keeps its own
// recent angles.
TAngleFunctions CurrentAngleFunctionsOf(Real x);
}  // namespace memo_detail

// The same through the last few angles asked for: for the angles that stay
// the same over a run (pressure angle, helix angle and their transverse
// values), where one comparison replaces three table look-ups. The
// functions of a zero (a spur gear's helix angle) are exact: the sine and
// tangent are that zero, the cosine 1.
inline TAngleFunctions SteadyAngleFunctions(Real x) {
  if (x == 0) return {x, 1, x};
  return MemoisedRecent<AngleFunctions, 4>(x);
}

// The same for the angle that the steps of one calculation work with at
// many places (the working pressure angle of a spur pair), which changes
// from calculation to calculation.
inline TAngleFunctions CurrentAngleFunctions(Real x) {
  if (x == 0) return {x, 1, x};
  return MemoisedRecent<memo_detail::CurrentAngleFunctionsOf, 2>(x);
}

Real MemoSin(Real x);
Real MemoCos(Real x);
Real MemoTan(Real x);
Real MemoAcos(Real x);
Real MemoAtan(Real x);
Real MemoPow(Real x, Real y);

// The same for the trigonometric functions of the pitch-curve radii, with a
// table large enough for every sample angle of a run; `near` is the angle
// of gear 1 whose radius asks (WideMemoTable), the value is that of x alone.
// The calculation's loops (CalculationMemoScope) have tables of their own.
Real WideMemoSin(Real x, Real near);
Real WideMemoCos(Real x, Real near);
Real WideMemoTan(Real x, Real near);

// While one lives, the wide memo functions use the tables of the
// calculation: closing the pair and the position sweep ask for the same
// sample angles run after run, and the tens of thousands of other angles at
// which a picture samples the pitch curve would push them out of a shared
// table, so that the next calculation computed them all again.
class CalculationMemoScope {
 public:
  CalculationMemoScope();
  ~CalculationMemoScope();
  CalculationMemoScope(const CalculationMemoScope&) = delete;
  CalculationMemoScope& operator=(const CalculationMemoScope&) = delete;

 private:
  bool previous_;
};

}  // namespace common
