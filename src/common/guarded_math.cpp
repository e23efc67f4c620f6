// Checked math and the involute pair (see guarded_math.h). Messages go to the
// calculation message list (message_list.cpp) unless MsgQuiet is set.
#include "common/guarded_math.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "common/kaldvar.h"
#include "common/memo_math.h"
#include "common/message_list.h"

namespace common {

namespace {

void Report(const std::string& text) {
  if (!MsgQuiet) AddErrorMessage(text);
}

void ReportLabelled(std::string_view label, const std::string& detail) {
  if (!label.empty()) Report(GuardedMathMessage(label, detail));
}

// exp(t) with the clamps that keep every power finite in 80-bit range.
Real ClampedExp(Real t) {
  if (t > 3000.0L) return 1e3000L;
  if (t < -3000.0L) return 0.0L;
  return std::exp(t);
}

// base^exponent of a positive base as CheckedPower computes it; pure, so
// memoised (the strength factors raise the same few values over a sweep).
Real PositivePower(Real base, Real exponent) { return ClampedExp(exponent * std::log(base)); }

}  // namespace

std::string GuardedMathMessage(std::string_view label, std::string_view detail) {
  // A caller's label may carry a kind of its own; these routines go on with
  // their fallback whatever it says, so the message is an error.
  for (std::string_view kind : {"Fatal  : ", "Error  : ", "Warning: "}) {
    if (label.substr(0, kind.size()) == kind) {
      label.remove_prefix(kind.size());
      break;
    }
  }
  return "Error  : " + std::string(label) + std::string(detail);
}

std::string GeneralRealText(Real x) {
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
  if (x == 0) return "0";
  // 15 significant digits, correctly rounded and independent of the C locale.
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
  std::string s(buf, res.ptr);
  std::string sign;
  if (s[0] == '-') {
    sign = "-";
    s.erase(0, 1);
  }
  const auto epos = s.find('e');
  int exp10 = std::atoi(s.c_str() + epos + 1);
  std::string digits;
  for (std::size_t i = 0; i < epos; ++i)
    if (s[i] >= '0' && s[i] <= '9') digits += s[i];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const char dec = DecimalSign == 2 ? ',' : '.';

  std::string out;
  if (exp10 < -4 || exp10 >= 15) {
    out = digits.substr(0, 1);
    if (digits.size() > 1) out += dec + digits.substr(1);
    out += "E" + std::to_string(exp10);
  } else if (exp10 < 0) {
    out = std::string("0") + dec + std::string(-exp10 - 1, '0') + digits;
  } else {
    const std::size_t intLen = static_cast<std::size_t>(exp10) + 1;
    if (digits.size() <= intLen) {
      out = digits + std::string(intLen - digits.size(), '0');
    } else {
      out = digits.substr(0, intLen) + dec + digits.substr(intLen);
    }
  }
  return sign + out;
}

Real CheckedArcSin(Real x) {
  if (std::fabs(x) > 1.0L) {
    Report("Error  : ArcSin " + GeneralRealText(x));
    return Pi / 2;
  }
  return std::asin(x);
}

Real CheckedArcCos(Real x) {
  if (std::fabs(x) > 1.0L) {
    Report("Error  : ArcCos " + GeneralRealText(x));
    return 0.0L;
  }
  return MemoAcos(x);
}

Real CheckedArcCosNamed(std::string_view label, Real x) {
  // Values a rounding step beyond +-1 are clamped silently; only a clear
  // domain violation is worth a message.
  if (x >= 1.0L) {
    if (x > 1.0001L) ReportLabelled(label, " arccos(" + GeneralRealText(x) + ")");
    return 0.0L;
  }
  if (x <= -1.0L) {
    if (x < -1.0001L) ReportLabelled(label, " arccos(" + GeneralRealText(x) + ")");
    return Pi;
  }
  return CheckedArcCos(x);
}

Real CheckedPower(std::string_view label, Real base, Real exponent) {
  if (base < 0) {
    ReportLabelled(label, " (pow)");
    // The power of the absolute value; clamped like a positive base so that
    // a large exponent cannot overflow to infinity.
    return ClampedExp(exponent * std::log(std::fabs(base)));
  }
  if (base == 0) return 0.0L;
  return Memoised<PositivePower>(base, exponent);
}

Real CheckedSqrt(std::string_view label, Real x) {
  if (x < 0) {
    ReportLabelled(label, " (sqrt)");
    return 0.0L;
  }
  return std::sqrt(x);
}

Real CheckedSqrtLabel(std::string_view label, Real x) { return CheckedSqrt(label, x); }

Real CheckedDiv(std::string_view label, Real a, Real b) {
  if (b == 0) {
    ReportLabelled(label, " (div)");
    return 1e30L;
  }
  return a / b;
}

Real Tan(Real x) { return MemoTan(x); }

Real Involute(Real x) { return MemoTan(x) - x; }

namespace {

// The defining search: bisection on [-1.57, 1.57] (short of the pole of tan)
// until the residual of the midpoint is below 1e-15, at most 800 steps.
Real InverseInvoluteBisection(Real y) {
  Real lo = -1.57L;
  Real hi = 1.57L;
  for (int steps = 1;; ++steps) {
    if (steps > 800) {
      Report("Error: ArcInv in unit math");
      return 0.0L;
    }
    const Real mid = (lo + hi) / 2;
    const Real f = std::tan(mid) - mid - y;
    if (f >= 0) {
      hi = mid;
    } else {
      lo = mid;
    }
    if (std::fabs(f) < 1e-15L) return mid;
  }
}

}  // namespace

namespace {

// Newton's method for InverseInvolute, or NaN where it cannot meet the
// residual test inside the bracket. A pure function of y, so memoised.
Real InverseInvoluteNewton(Real y) {
  if (!std::isfinite(y)) return std::numeric_limits<Real>::quiet_NaN();
  Real x = std::cbrt(3 * y);
  if (x > 1.57L) x = 1.57L;
  if (x < -1.57L) x = -1.57L;
  for (int i = 0; i < 60; ++i) {
    const Real t = std::tan(x);
    const Real f = t - x - y;
    if (std::fabs(f) < 1e-15L) return x;
    const Real slope = t * t;
    if (slope == 0) break;
    const Real next = x - f / slope;
    if (!(std::fabs(next) <= 1.57L) || next == x) break;
    x = next;
  }
  return std::numeric_limits<Real>::quiet_NaN();
}

}  // namespace

Real InverseInvolute(Real y) {
  // The gear kernel calls this thousands of times per noncircular run, so
  // Newton's method does the work: inv x = tan x - x is odd and convex for
  // x > 0, and the start x0 = cbrt(3y) lies beyond the root (inv x > x^3/3),
  // so the steps approach the root from outside without overshooting. The
  // answer meets the same residual test as the bisection; where Newton
  // cannot meet it inside the bracket (near the pole, or a root beyond it)
  // the bisection decides, with its message.
  const Real x = Memoised<InverseInvoluteNewton>(y);
  if (!std::isnan(x)) return x;
  return InverseInvoluteBisection(y);
}

}  // namespace common
