// The life lines of the flank and the tooth root, which the DIN 3990 and
// the ISO 6336 rating share (din_strength_routines.cpp,
// iso_factor_routines.cpp): a line falls in the log-log diagram of the life
// factor over load cycles from its static point (the most the material
// bears a few times) through its knee (the endurance limit, factor 1) on.
//
// A safety factor holds the endurance strength with the factors that rate
// only it (ZL ZV ZR ZX of the flank; YX, YRrelT and, where its static value
// is known, YdeltarelT of the root). At the static point these take their
// static values (1 but for YdeltarelT), and in between they run along
// the line on the same log-log scale; so the line that a safety is read on
// is the life factor times that product over its endurance value: 1 at the
// knee, static factor / endurance product at the static point. One rule
// reads it for both methods and both lines: a safety of 1 or more lasts to
// the knee or beyond, the cycles never rise as the safety falls, and no
// life is left only beyond the line's highest point.
#pragma once

#include <cstdint>

#include "common/real.h"

namespace calc {

// A corner of a life line: N load cycles bear the factor f.
struct TLifePoint {
  Real N;
  Real f;
};

// A life line: its corners with N rising, from the static point (index 0)
// to 1e10 cycles; the corner at index knee has the factor 1. Each corner's
// share of the way from the static point to the knee on the log scale of
// the cycles (0 at the static point, 1 from the knee on) is where the
// endurance-only factors stand between their static and endurance values.
struct TLifeLine {
  TLifePoint p[5];
  Real share[5] = {};
  int count = 0;
  int knee = 0;
};

// The two methods differ beyond the knee: DIN 3990 keeps the endurance
// strength (factor 1 to 1e10 cycles), ISO 6336 lets it fall to 0.85 at
// 1e10. DIN 3990 draws no line for the other materials (group 8) that are
// not nitrided or nitrocarburized: they bear no load beyond their endurance
// strength. ISO 6336 rates them as the steels of their heat treatment.
enum class LifeLineMethod { Din, Iso };

// The flank's line (ZNT): nitrocarburized 1.1 at 1e5 and nitrided, grey and
// ferritic nodular cast iron 1.3 at 1e5, both to 1 at 2e6 cycles; the other
// steels and cast irons with no pitting permitted (mode 0) 1.6 at 1e5 to 1
// at 5e7, with limited pitting permitted (mode 2) 1.6 at 6e5, 1.3 at 1e7, 1
// at 1e9 cycles.
// The lines are constants, built once.
const TLifeLine& FlankLifeLine(LifeLineMethod method, std::uint16_t materialType, std::uint16_t heatTreatment,
                               std::uint16_t mode);

// The tooth root's line (YNT): nitrocarburized 1.1 at 1e3; nitrided and
// cast irons of group 5 and 6 1.6 at 1e3; case-, induction- and
// flame-hardened 2.5 at 1e3; the rest 2.5 at 1e4; all to 1 at 3e6 cycles.
const TLifeLine& RootLifeLine(LifeLineMethod method, std::uint16_t materialType, std::uint16_t heatTreatment);

// The line a safety is read on (see above): the factor of each corner times
// the product of the endurance-only factors there over its endurance value.
// The product runs from staticProduct at the static point to
// enduranceProduct at the knee; a product that is not above 0 (none
// computed) leaves the line as it is.
TLifeLine RatedLifeLine(const TLifeLine& line, Real enduranceProduct, Real staticProduct);

// The relative notch sensitivity factor YdeltarelT at static stress where
// the standards give it without the yield strength: case-, induction- and
// flame-hardened roots 0.44 YS + 0.12, nitrided and nitrocarburized 0.20 YS
// + 0.60 (YS the stress correction factor). 0 for the other heat
// treatments, whose static value needs the yield strength: their
// YdeltarelT keeps its endurance value along the line.
Real StaticNotchSensitivityFactor(std::uint16_t heatTreatment, Real YS);

// The most load cycles at which the line still bears the factor f (the
// load over the endurance strength, 1 / safety): the last point from the
// long-life end where the line is at f or above, straight between corners
// in the log-log diagram. 0 where no point of the line reaches f, the last
// corner's cycles where it lies at or below the line's end. label names a
// failing power in the message list.
Real CyclesOnLifeLine(const TLifeLine& line, Real f, const char* label);

// CyclesOnLifeLine on the line RatedLifeLine gives, each corner rated only
// where the walk from the long-life end comes to it, and only where it
// could bear f: a safety of 1 or more, the common case at every position
// of a sweep, costs no powers (nor a call), and one below the line's end
// the powers of the segment it falls in (the exponent of the segment, and
// the rating of a corner between the static point and the knee at its
// end).
Real CyclesAboveLineEnd(const TLifeLine& line, Real enduranceProduct, Real staticProduct, Real f,
                        const char* label);
inline Real CyclesOnRatedLifeLine(const TLifeLine& line, Real enduranceProduct, Real staticProduct, Real f,
                                  const char* label) {
  // (The rating leaves the line's end as it is.)
  const TLifePoint& end = line.p[line.count - 1];
  return f <= end.f ? end.N : CyclesAboveLineEnd(line, enduranceProduct, staticProduct, f, label);
}

}  // namespace calc
