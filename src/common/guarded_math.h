// Checked math on 80-bit reals: arcsine, arccosine, power, square root and
// division that never raise a floating-point fault. Outside their domain they
// return a fixed fallback and add one message to the calculation message list
// (message_list.h), unless MsgQuiet (kaldvar.h) is set, so a calculation always
// runs to its end and the user reads afterwards what went wrong. Also the
// involute function and its inverse, which the spur-gear kernel uses for its
// pressure-angle conversions. The other small numeric routines are in
// numeric_routines.h.
#pragma once

#include <string>
#include <string_view>

#include "common/real.h"

namespace common {

inline constexpr Real Pi = 3.14159265358979323846264338327950288L;

// The messages keep their value behind the first 15 characters, by which
// the explanation file finds them (message_explanations.h).

// arcsin x for |x| <= 1; otherwise pi/2 (whatever the sign) and
// "Error  : ArcSin <x>".
Real CheckedArcSin(Real x);

// arccos x for |x| <= 1; otherwise 0 and "Error  : ArcCos <x>".
Real CheckedArcCos(Real x);

// Tolerant arccosine for values that rounding pushes just past +-1: x >= 1
// gives 0, x <= -1 gives pi; the message of the label with " arccos(<x>)"
// only beyond 1.0001 in magnitude.
Real CheckedArcCosNamed(std::string_view label, Real x);

// base^exponent. A negative base gives the power of its absolute value and
// the message of the label with " (pow)"; base 0 gives 0; results beyond
// 1e3000 are clamped to 1e3000 and below 1e-3000 (as exp of the exponent)
// to 0.
Real CheckedPower(std::string_view label, Real base, Real exponent);

// Square root; x < 0 gives 0 and the label's message with " (sqrt)". The
// two are identical.
Real CheckedSqrt(std::string_view label, Real x);
Real CheckedSqrtLabel(std::string_view label, Real x);

// a / b; b = 0 exactly gives 1e30 and the label's message with " (div)".
Real CheckedDiv(std::string_view label, Real a, Real b);

// The message of a labelled routine: "Error  : ", the label without a kind
// of its own ("Fatal  : ", "Error  : ", "Warning: "), then detail. Labelled
// routines add nothing when the label is empty. None sets FatalFlag.
std::string GuardedMathMessage(std::string_view label, std::string_view detail);

// Tangent (radians).
Real Tan(Real x);

// inv x = tan x - x.
Real Involute(Real x);

// The angle x in (-1.57, 1.57) with tan x - x = y, by bisection to a residual
// below 1e-15; 0 and "Error: ArcInv in unit math" after 800 steps.
Real InverseInvolute(Real y);

// x as the message texts show it: general format with up to 15 significant
// digits, scientific ("1.5E-7", "1E20") below 1e-4 and from 1e15, with the
// configured decimal sign.
std::string GeneralRealText(Real x);

}  // namespace common
