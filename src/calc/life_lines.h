// The life lines of the flank and the tooth root, which the DIN 3990 and
// the ISO 6336 rating share: a line falls in the log-log diagram of factor
// over load cycles from its static point (the most the material bears a
// few times) through its knee (the endurance limit) on; a load beyond the
// static point leaves no life, whichever method rates it.
#pragma once

#include <cstdint>

#include "common/real.h"

namespace calc {

// A corner of a life line: N load cycles bear the factor f.
struct TLifePoint {
  Real N;
  Real f;
};

// The load cycles at which the line through the points (N rising, f
// falling) reaches the factor f, straight between neighbouring points in
// the log-log diagram: 0 above the first point (beyond the static strength),
// 1e10 at or below the last. label names a failing power (a factor of 0 or
// below) in the message list.
Real CyclesOnLifeLine(const TLifePoint* points, int count, Real f, const char* label);

// The tooth root's line of the material (group 1..8) and heat treatment
// (0..7): from its static point to 1 at 3e6 cycles and 0.85 at 1e10.
// Nitrocarburized: static 1.1 at 1e3; nitrided and cast irons of group 5
// and 6: 1.6 at 1e3; case-, induction- and flame-hardened: 2.5 at 1e3; the
// rest: 2.5 at 1e4. Fills the three points.
void RootLifeLine(std::uint16_t materialType, std::uint16_t heatTreatment, TLifePoint (&points)[3]);

}  // namespace calc
