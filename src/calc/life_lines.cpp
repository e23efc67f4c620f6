// The shared life lines of flank and root; see life_lines.h.
#include "calc/life_lines.h"

#include <cmath>

#include "common/guarded_math.h"

namespace calc {

Real CyclesOnLifeLine(const TLifePoint* p, int count, Real f, const char* label) {
  if (f > p[0].f) return 0;
  if (f <= p[count - 1].f) return 1e10L;
  for (int i = 0; i + 1 < count; ++i) {
    if (f <= p[i].f && f > p[i + 1].f) {
      if (f == p[i].f) return p[i].N;
      // The exponent of the segment from its own end points: N f^m is
      // constant along it.
      const Real m = std::log(p[i + 1].N / p[i].N) / std::log(p[i].f / p[i + 1].f);
      return p[i + 1].N / common::CheckedPower(label, f / p[i + 1].f, m);
    }
  }
  return 1e10L;
}

void RootLifeLine(std::uint16_t materialType, std::uint16_t heatTreatment, TLifePoint (&p)[3]) {
  const bool castIron = materialType == 5 || materialType == 6;
  TLifePoint first{1e3L, 2.5L};
  if (heatTreatment == 7)
    first = {1e3L, 1.1L};
  else if (castIron || heatTreatment == 5 || heatTreatment == 6)
    first = {1e3L, 1.6L};
  else if (heatTreatment < 2 || heatTreatment > 4)
    first = {1e4L, 2.5L};
  p[0] = first;
  p[1] = {3e6L, 1.0L};
  p[2] = {1e10L, 0.85L};
}

}  // namespace calc
