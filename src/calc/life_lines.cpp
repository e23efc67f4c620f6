// The shared life lines of flank and root; see life_lines.h.
#include "calc/life_lines.h"

#include <algorithm>
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
  const Real lnSpan = std::log(line.p[line.knee].N / line.p[0].N);
  for (int i = 1; i < line.count; ++i)
    line.share[i] = i < line.knee ? std::log(line.p[i].N / line.p[0].N) / lnSpan : 1;
  return line;
}

// The line of the corners up to the knee, by method.
struct LinePair {
  TLifeLine din, iso;
  LinePair(std::initializer_list<TLifePoint> toKnee)
      : din(Line(toKnee, LifeLineMethod::Din)), iso(Line(toKnee, LifeLineMethod::Iso)) {}
  const TLifeLine& Of(LifeLineMethod method) const { return method == LifeLineMethod::Iso ? iso : din; }
};

// The factor of corner i of the line rated by the endurance-only factors
// (RatedLifeLine), which run from staticProduct at the static point to
// enduranceProduct at the knee on the log scale of the cycles. The power
// of a corner between the two is taken in double precision: the products
// are known to a few digits, and the exponent is a fixed share below 1.
Real RatedFactor(const TLifeLine& line, int i, Real enduranceProduct, Real staticProduct) {
  Real product = enduranceProduct;
  if (i < line.knee)
    product = i == 0 ? staticProduct
                     : staticProduct * std::pow(static_cast<double>(enduranceProduct / staticProduct),
                                                static_cast<double>(line.share[i]));
  return line.p[i].f * product / enduranceProduct;
}

// The most load cycles at which the line of the factors factor(i) of its
// corners bears f (CyclesOnLifeLine). From the long-life end back to the
// first corner that bears f: the line crosses f on its way down to the
// next one. Where an endurance product above the static factor lifts the
// knee over the static point, the stretch before the knee bears no more
// than the knee does. A corner between the static point and the knee
// whose factor is at most its own times bound / scale is passed unasked
// where f lies above that (where f scale is above its own times bound).
template <class Factor>
Real CyclesAlong(const TLifeLine& line, Real f, const char* label, Factor&& factor, Real scale, Real bound) {
  const Real scaled = f * scale;
  const int last = line.count - 1;
  // The factor of the corner after i, where it was asked for.
  Real after = factor(last);
  bool asked = true;
  if (f <= after) return line.p[last].N;
  for (int i = last - 1; i >= 0; --i) {
    if (i > 0 && i < line.knee && scaled > line.p[i].f * bound) {
      asked = false;
      continue;
    }
    const Real fi = factor(i);
    if (fi < f) {
      after = fi, asked = true;
      continue;
    }
    if (fi == f) return line.p[i].N;
    if (!asked) after = factor(i + 1);
    // The exponent of the segment from its own end points: N f^m is
    // constant along it.
    const Real m = std::log(line.p[i + 1].N / line.p[i].N) / std::log(fi / after);
    return line.p[i + 1].N / common::CheckedPower(label, f / after, m);
  }
  return 0;
}

// The lines, built once.
const TLifeLine NoFlankLine = Line({{2e6L, 1.0L}}, LifeLineMethod::Din);
const LinePair NitrocarburizedFlank{{1e5L, 1.1L}, {2e6L, 1.0L}};
const LinePair NitridedFlank{{1e5L, 1.3L}, {2e6L, 1.0L}};
const LinePair LimitedPittingFlank{{6e5L, 1.6L}, {1e7L, 1.3L}, {1e9L, 1.0L}};
const LinePair NoPittingFlank{{1e5L, 1.6L}, {5e7L, 1.0L}};
const TLifeLine NoRootLine = Line({{3e6L, 1.0L}}, LifeLineMethod::Din);
const LinePair NitrocarburizedRoot{{1e3L, 1.1L}, {3e6L, 1.0L}};
const LinePair NitridedRoot{{1e3L, 1.6L}, {3e6L, 1.0L}};
const LinePair HardenedRoot{{1e3L, 2.5L}, {3e6L, 1.0L}};
const LinePair OtherRoot{{1e4L, 2.5L}, {3e6L, 1.0L}};

}  // namespace

const TLifeLine& FlankLifeLine(LifeLineMethod method, std::uint16_t materialType, std::uint16_t heatTreatment,
                               std::uint16_t mode) {
  if (method == LifeLineMethod::Din && materialType == 8 && !IsNitridedOrNitrocarburized(heatTreatment))
    return NoFlankLine;
  if (heatTreatment == 7) return NitrocarburizedFlank.Of(method);
  if (IsCastIronOnNitridedLine(materialType) || heatTreatment == 5 || heatTreatment == 6)
    return NitridedFlank.Of(method);
  return (mode == 2 ? LimitedPittingFlank : NoPittingFlank).Of(method);
}

const TLifeLine& RootLifeLine(LifeLineMethod method, std::uint16_t materialType, std::uint16_t heatTreatment) {
  if (method == LifeLineMethod::Din && materialType == 8 && !IsNitridedOrNitrocarburized(heatTreatment))
    return NoRootLine;
  if (heatTreatment == 7) return NitrocarburizedRoot.Of(method);
  if (IsCastIronOnNitridedLine(materialType) || heatTreatment == 5 || heatTreatment == 6)
    return NitridedRoot.Of(method);
  return (heatTreatment < 2 || heatTreatment > 4 ? OtherRoot : HardenedRoot).Of(method);
}

Real StaticNotchSensitivityFactor(std::uint16_t heatTreatment, Real YS) {
  if (heatTreatment >= 2 && heatTreatment <= 4) return 0.44L * YS + 0.12L;
  if (IsNitridedOrNitrocarburized(heatTreatment)) return 0.20L * YS + 0.60L;
  return 0;
}

TLifeLine RatedLifeLine(const TLifeLine& line, Real enduranceProduct, Real staticProduct) {
  if (!(enduranceProduct > 0) || !(staticProduct > 0)) return line;
  TLifeLine rated = line;
  for (int i = 0; i < line.count; ++i) rated.p[i].f = RatedFactor(line, i, enduranceProduct, staticProduct);
  return rated;
}

Real CyclesOnLifeLine(const TLifeLine& line, Real f, const char* label) {
  return CyclesAlong(line, f, label, [&line](int i) { return line.p[i].f; }, 1, 1);
}

Real CyclesAboveLineEnd(const TLifeLine& line, Real enduranceProduct, Real staticProduct, Real f,
                        const char* label) {
  if (!(enduranceProduct > 0) || !(staticProduct > 0)) return CyclesOnLifeLine(line, f, label);
  // Each corner rated when the walk comes to it, once. A corner bears no
  // more than its factor times the larger of 1 and the static product
  // over the endurance one (its product lies between the two; and the
  // rounding of its rating): a corner between the static point and the
  // knee that cannot bear f is passed unrated, and where the static
  // point's factor, the line's highest, cannot, none is rated.
  const Real bound = std::max(enduranceProduct, staticProduct) * (1 + 1e-12L);
  if (f * enduranceProduct > line.p[0].f * bound) return 0;
  return CyclesAlong(
      line, f, label, [&](int i) { return RatedFactor(line, i, enduranceProduct, staticProduct); }, enduranceProduct,
      bound);
}

}  // namespace calc
