// The shared life lines of flank and root; see life_lines.h.
#include "calc/life_lines.h"

#include <cmath>
#include <initializer_list>

#include "common/guarded_math.h"

namespace calc {

namespace {

// Grey cast iron and ferritic nodular cast iron share the lines of the
// nitrided steels.
bool IsCastIronOnNitridedLine(std::uint16_t materialType) { return materialType == 5 || materialType == 6; }

bool IsNitridedOrNitrocarburized(std::uint16_t heatTreatment) { return heatTreatment >= 5 && heatTreatment <= 7; }

// The line's end beyond the knee.
TLifePoint LongLifeEnd(LifeLineMethod method) {
  return method == LifeLineMethod::Iso ? TLifePoint{1e10L, 0.85L} : TLifePoint{1e10L, 1.0L};
}

TLifeLine Line(std::initializer_list<TLifePoint> toKnee, LifeLineMethod method) {
  TLifeLine line;
  for (const TLifePoint& point : toKnee) line.p[line.count++] = point;
  line.knee = line.count - 1;
  line.p[line.count++] = LongLifeEnd(method);
  return line;
}

}  // namespace

TLifeLine FlankLifeLine(LifeLineMethod method, std::uint16_t materialType, std::uint16_t heatTreatment,
                        std::uint16_t mode) {
  if (method == LifeLineMethod::Din && materialType == 8 && !IsNitridedOrNitrocarburized(heatTreatment))
    return Line({{2e6L, 1.0L}}, method);
  if (heatTreatment == 7) return Line({{1e5L, 1.1L}, {2e6L, 1.0L}}, method);
  if (IsCastIronOnNitridedLine(materialType) || heatTreatment == 5 || heatTreatment == 6)
    return Line({{1e5L, 1.3L}, {2e6L, 1.0L}}, method);
  if (mode == 2) return Line({{6e5L, 1.6L}, {1e7L, 1.3L}, {1e9L, 1.0L}}, method);
  return Line({{1e5L, 1.6L}, {5e7L, 1.0L}}, method);
}

TLifeLine RootLifeLine(LifeLineMethod method, std::uint16_t materialType, std::uint16_t heatTreatment) {
  if (method == LifeLineMethod::Din && materialType == 8 && !IsNitridedOrNitrocarburized(heatTreatment))
    return Line({{3e6L, 1.0L}}, method);
  TLifePoint first{1e3L, 2.5L};
  if (heatTreatment == 7)
    first = {1e3L, 1.1L};
  else if (IsCastIronOnNitridedLine(materialType) || heatTreatment == 5 || heatTreatment == 6)
    first = {1e3L, 1.6L};
  else if (heatTreatment < 2 || heatTreatment > 4)
    first = {1e4L, 2.5L};
  return Line({first, {3e6L, 1.0L}}, method);
}

Real StaticNotchSensitivityFactor(std::uint16_t heatTreatment, Real YS) {
  if (heatTreatment >= 2 && heatTreatment <= 4) return 0.44L * YS + 0.12L;
  if (IsNitridedOrNitrocarburized(heatTreatment)) return 0.20L * YS + 0.60L;
  return 0;
}

TLifeLine RatedLifeLine(const TLifeLine& line, Real enduranceProduct, Real staticProduct) {
  if (!(enduranceProduct > 0) || !(staticProduct > 0)) return line;
  TLifeLine rated = line;
  const Real lnSpan = std::log(line.p[line.knee].N / line.p[0].N);
  for (int i = 0; i < line.count; ++i) {
    Real product = enduranceProduct;
    if (i < line.knee) {
      const Real t = std::log(line.p[i].N / line.p[0].N) / lnSpan;
      product = staticProduct * std::pow(enduranceProduct / staticProduct, t);
    }
    rated.p[i].f = line.p[i].f * product / enduranceProduct;
  }
  return rated;
}

Real CyclesOnRatedLifeLine(const TLifeLine& line, Real enduranceProduct, Real staticProduct, Real f,
                           const char* label) {
  if (line.count > 0 && f <= line.p[line.count - 1].f) return line.p[line.count - 1].N;
  return CyclesOnLifeLine(RatedLifeLine(line, enduranceProduct, staticProduct), f, label);
}

Real CyclesOnLifeLine(const TLifeLine& line, Real f, const char* label) {
  const TLifePoint* p = line.p;
  const int last = line.count - 1;
  if (f <= p[last].f) return p[last].N;
  // From the long-life end back to the first corner that bears f: the line
  // crosses f on its way down to the next one. Where an endurance product
  // above the static factor lifts the knee over the static point, the
  // stretch before the knee bears no more than the knee does.
  for (int i = last - 1; i >= 0; --i) {
    if (p[i].f < f) continue;
    if (p[i].f == f) return p[i].N;
    // The exponent of the segment from its own end points: N f^m is
    // constant along it.
    const Real m = std::log(p[i + 1].N / p[i].N) / std::log(p[i].f / p[i + 1].f);
    return p[i + 1].N / common::CheckedPower(label, f / p[i + 1].f, m);
  }
  return 0;
}

}  // namespace calc
