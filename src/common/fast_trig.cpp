// Memoised and quarter-turn reduced trigonometric functions (fast_trig.h).
#include "common/fast_trig.h"

#include <cmath>

namespace common {

namespace {

Real Sin(Real x) { return std::sin(x); }
Real Cos(Real x) { return std::cos(x); }
Real Tan(Real x) { return std::tan(x); }
Real Acos(Real x) { return std::acos(x); }
Real Atan(Real x) { return std::atan(x); }
Real Pow(Real x, Real y) { return std::pow(x, y); }

// pi/2 in two parts: the first with 31 significant bits, so that k times it
// is exact for every k below 2^33; the second the rest to 64 bits.
constexpr Real HalfPiHigh = 1.570796326734125614166259765625L;
constexpr Real HalfPiLow = 6.0771005065061926014666657821981e-11L;
constexpr Real TwoOverPi = 0.63661977236758134307553505349005745L;
constexpr Real ReducibleLimit = 1e9L;

}  // namespace

Real MemoSin(Real x) { return Memoised<Sin>(x); }
Real MemoCos(Real x) { return Memoised<Cos>(x); }
Real MemoTan(Real x) { return Memoised<Tan>(x); }
Real MemoAcos(Real x) { return Memoised<Acos>(x); }
Real MemoAtan(Real x) { return Memoised<Atan>(x); }
Real MemoPow(Real x, Real y) { return Memoised<Pow>(x, y); }

int ReduceQuarterTurns(Real x, Real& r) {
  if (!(std::fabs(x) < ReducibleLimit)) {
    r = x;
    return 0;
  }
  const Real k = std::rint(x * TwoOverPi);
  r = (x - k * HalfPiHigh) - k * HalfPiLow;
  return static_cast<int>(static_cast<std::int64_t>(k) & 3);
}

Real ReducedSin(Real x) {
  Real r;
  switch (ReduceQuarterTurns(x, r)) {
    case 0: return std::sin(r);
    case 1: return std::cos(r);
    case 2: return -std::sin(r);
    default: return -std::cos(r);
  }
}

Real ReducedCos(Real x) {
  Real r;
  switch (ReduceQuarterTurns(x, r)) {
    case 0: return std::cos(r);
    case 1: return -std::sin(r);
    case 2: return -std::cos(r);
    default: return std::sin(r);
  }
}

}  // namespace common
