// Memoised trigonometric functions and power (memo_math.h).
#include "common/memo_math.h"

#include <cmath>

namespace common {

namespace {

Real Sin(Real x) { return std::sin(x); }
Real Cos(Real x) { return std::cos(x); }
Real Tan(Real x) { return std::tan(x); }
Real Acos(Real x) { return std::acos(x); }
Real Atan(Real x) { return std::atan(x); }
Real Pow(Real x, Real y) { return std::pow(x, y); }

}  // namespace

Real MemoSin(Real x) { return Memoised<Sin>(x); }
Real MemoCos(Real x) { return Memoised<Cos>(x); }
Real MemoTan(Real x) { return Memoised<Tan>(x); }
Real MemoAcos(Real x) { return Memoised<Acos>(x); }
Real MemoAtan(Real x) { return Memoised<Atan>(x); }
Real MemoPow(Real x, Real y) { return Memoised<Pow>(x, y); }

}  // namespace common
