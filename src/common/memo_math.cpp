// Memoised trigonometric functions and power (memo_math.h).
#include "common/memo_math.h"

#include <cmath>
#include <limits>

namespace common {

namespace memo_detail {

WideMemoTable::WideMemoTable()
    : entries_(Buckets * Ways, Entry{std::numeric_limits<Real>::quiet_NaN(), 0}) {}

}  // namespace memo_detail

namespace {

// Whether a CalculationMemoScope lives.
bool InCalculation = false;

template <Real (*F)(Real)>
Real WideMemoised(Real x, Real near) {
  if (!memo_detail::Memoisable(x)) return F(x);
  if (InCalculation) {
    static memo_detail::WideMemoTable calculation;
    return calculation.Get(x, near, [x] { return F(x); });
  }
  static memo_detail::WideMemoTable others;
  return others.Get(x, near, [x] { return F(x); });
}

Real Sin(Real x) { return std::sin(x); }
Real Cos(Real x) { return std::cos(x); }
Real Tan(Real x) { return std::tan(x); }
Real Acos(Real x) { return std::acos(x); }
Real Atan(Real x) { return std::atan(x); }
Real Pow(Real x, Real y) { return std::pow(x, y); }

}  // namespace

// The functions of a zero are exact and need neither the library nor a
// table (a helix angle of 0 asks for them at every position): the sine,
// tangent and arc tangent of +-0 are that zero, the cosine 1.
Real MemoSin(Real x) { return x == 0 ? x : Memoised<Sin>(x); }
Real MemoCos(Real x) { return x == 0 ? 1 : Memoised<Cos>(x); }
Real MemoTan(Real x) { return x == 0 ? x : Memoised<Tan>(x); }
Real MemoAcos(Real x) { return Memoised<Acos>(x); }
Real MemoAtan(Real x) { return x == 0 ? x : Memoised<Atan>(x); }

TAngleFunctions AngleFunctions(Real x) { return {MemoSin(x), MemoCos(x), MemoTan(x)}; }

TAngleFunctions memo_detail::CurrentAngleFunctionsOf(Real x) { return AngleFunctions(x); }
Real MemoPow(Real x, Real y) { return Memoised<Pow>(x, y); }

Real WideMemoSin(Real x, Real near) { return WideMemoised<Sin>(x, near); }
Real WideMemoCos(Real x, Real near) { return WideMemoised<Cos>(x, near); }
Real WideMemoTan(Real x, Real near) { return WideMemoised<Tan>(x, near); }

CalculationMemoScope::CalculationMemoScope() : previous_(InCalculation) { InCalculation = true; }
CalculationMemoScope::~CalculationMemoScope() { InCalculation = previous_; }

}  // namespace common
