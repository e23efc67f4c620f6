// The pitch curve from a DXF file; see pitch_curve_import.h. The file is
// replayed through the DXF reader of the drawing interface onto a back end
// that only collects points.
#include "app/inputs/pitch_curve_import.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <string>
#include <system_error>
#include <vector>

#include "calc/calc_records.h"
#include "common/file_checks.h"
#include "common/file_dialogs.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/input_dialogs.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/small_dialogs.h"
#include "drawing/cad/cad_device.h"
#include "drawing/cad/dxf_reader.h"
#include "platform/file_system.h"
#include "platform/user_dialogs.h"

namespace app {

namespace {

constexpr Real kTwoPi = 2 * std::numbers::pi_v<Real>;
// Arcs and circles become chords of at most this angle (radians).
constexpr Real kArcStep = kTwoPi / 360;

struct Polar {
  Real phi = 0;  // 0 <= phi < 2 pi
  Real r = 0;
};

class PointCollector : public drawing::CadBackEnd {
 public:
  void Line(Real x1, Real y1, Real x2, Real y2) override {
    Add(x1, y1);
    Add(x2, y2);
  }
  void Circle(Real x, Real y, Real r) override { Arc(x, y, 0, 360, r, 360); }
  void Arc(Real x, Real y, Real startAngle, Real endAngle, Real r, Real sweep) override {
    (void)endAngle;
    const Real start = startAngle * std::numbers::pi_v<Real> / 180;
    const Real total = sweep * std::numbers::pi_v<Real> / 180;
    const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(total) / kArcStep)));
    for (int i = 0; i <= steps; ++i) {
      const Real a = start + total * i / steps;
      Add(x + r * std::cos(a), y + r * std::sin(a));
    }
  }
  void PolylineVertex(Real x, Real y, Real) override { Add(x, y); }
  // A filled figure is no line of a curve: it is left out, and said.
  void Solid(Real, Real, Real, Real, Real, Real, Real, Real) override { ++solids; }

  std::vector<Polar> points;
  long solids = 0;

 private:
  void Add(Real x, Real y) {
    const Real r = std::hypot(x, y);
    if (!(r > 1e-9L) || !std::isfinite(r)) return;
    Real phi = std::atan2(y, x);
    if (phi < 0) phi += kTwoPi;
    if (phi >= kTwoPi) phi = 0;
    points.push_back({phi, r});
  }
};

void Refuse(const std::string& text) {
  common::ShowError(text);
  common::AbortFlag = 1;
}

// Kinds of entity that carry texts or dimensions, no line of a curve.
bool CarriesNoCurve(const std::string& kind) {
  for (const char* annotation :
       {"MTEXT", "ATTRIB", "ATTDEF", "DIMENSION", "LEADER", "MLEADER", "MULTILEADER", "TOLERANCE", "VIEWPORT"})
    if (kind == annotation) return true;
  return false;
}

// The entities carrying geometry that the curve was not taken from, by
// kind with their count: "ELLIPSE (1), SPLINE (2)"; empty when none.
std::string GeometryLeftOut(long solids) {
  std::map<std::string, long> kinds;
  for (const auto& [kind, count] : drawing::DxfEntitiesLeftOut())
    if (!CarriesNoCurve(kind)) kinds[kind] += count;
  if (solids > 0) kinds["SOLID"] += solids;
  std::string text;
  for (const auto& [kind, count] : kinds) text += (text.empty() ? "" : ", ") + kind + " (" + std::to_string(count) + ")";
  return text;
}

std::string LeftOutNote(const std::string& leftOut) {
  return leftOut.empty() ? std::string() : "; not read: " + leftOut;
}

// The widest angle between two neighbouring points of the curve, in
// degrees: the stretch the interpolation bridges.
Real WidestGap(const std::vector<Polar>& p) {
  Real widest = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const Real next = i + 1 < p.size() ? p[i + 1].phi : p[0].phi + kTwoPi;
    widest = std::max(widest, next - p[i].phi);
  }
  return widest * 180 / std::numbers::pi_v<Real>;
}

// The import is the latest answer: what an earlier request left in the
// message list goes when it ends, whatever its end; the reader's texts
// stay for the user to see.
class ImportAnswer {
 public:
  ImportAnswer() : mark_(common::AnswerMark()) {}
  ~ImportAnswer() { common::RetireAnswersBefore(mark_); }
  ImportAnswer(const ImportAnswer&) = delete;
  ImportAnswer& operator=(const ImportAnswer&) = delete;

 private:
  std::uint64_t mark_;
};

}  // namespace

void ImportPitchCurveDxf() {
  platform::FileNameRequest request;
  request.caption = "Import DXF";
  request.directory = common::AddBackslash(common::CadDirectory);
  request.filter = "DXF|*.dxf";
  request.extension = "dxf";
  const std::optional<std::string> chosen = common::AskInputFile(request);
  if (!chosen) {
    common::AbortFlag = 1;
    return;
  }
  ImportPitchCurveFile(*chosen);
}

void ImportPitchCurveFile(const std::string& path) {
  common::AbortFlag = 0;
  // The reader's own answer, with the system's reason ("No such file or
  // directory", "Permission denied").
  std::error_code ec;
  if (!platform::Files().OpenRead(path, ec)) {
    Refuse("file " + path + " not found or no access: " + ec.message());
    return;
  }
  const ImportAnswer answer;
  PointCollector collector;
  const drawing::CadDeviceCode device = drawing::CadDevice;
  {
    const drawing::ScopedCadBackEnd scoped(drawing::CadDeviceScreen, collector);
    drawing::SetCadDevice(drawing::CadDeviceScreen);
    drawing::ReplayDxfFile(path);
  }
  drawing::SetCadDevice(device);
  // Said in the import's own boxes: a full message list would only count
  // the reader's texts.
  const std::string leftOut = GeometryLeftOut(collector.solids);
  if (common::AbortFlag) {
    Refuse("DXF file " + path + " cannot be read !" + LeftOutNote(leftOut));
    return;
  }

  // In order around the origin, one radius per angle.
  std::vector<Polar>& p = collector.points;
  std::sort(p.begin(), p.end(), [](const Polar& a, const Polar& b) { return a.phi < b.phi; });
  p.erase(std::unique(p.begin(), p.end(), [](const Polar& a, const Polar& b) { return b.phi - a.phi < 1e-9L; }),
          p.end());
  // The curve must go round the origin: no gap of half a turn or more.
  bool around = p.size() >= 3;
  for (std::size_t i = 0; around && i < p.size(); ++i) {
    const Real next = i + 1 < p.size() ? p[i + 1].phi : p[0].phi + kTwoPi;
    if (next - p[i].phi >= std::numbers::pi_v<Real>) around = false;
  }
  if (!around) {
    Refuse("DXF file " + path + ": no pitch curve around the origin !" + LeftOutNote(leftOut));
    return;
  }
  // Geometry the curve was not taken from may be part of it: the user
  // decides, before the design changes, whether the rest is the curve.
  if (!leftOut.empty()) {
    bool take = false;
    common::AskYesNoBool("DXF file " + path + ": not read: " + leftOut + ". The curve of the other entities has a gap of " +
                             common::RealToTextFixed(0, WidestGap(p)) +
                             "\xF8 between two points, which a straight line would bridge. Take it as pitch curve 1 ?",
                         take);
    if (common::AbortFlag || !take) {
      common::AbortFlag = 1;
      return;
    }
  }

  // At most the table's points, the two ends at 0 and 2 pi included.
  const std::size_t inner = static_cast<std::size_t>(calc::MaxPolylinePoints - 2);
  if (p.size() > inner) {
    std::vector<Polar> thinned;
    for (std::size_t k = 0; k < inner; ++k) thinned.push_back(p[k * p.size() / inner]);
    p.swap(thinned);
  }
  // The radius at angle 0 between the last and the first point.
  const Polar& last = p.back();
  const Polar& first = p.front();
  const Real span = first.phi + kTwoPi - last.phi;
  const Real r0 = first.phi == 0 ? first.r : last.r + (kTwoPi - last.phi) * (first.r - last.r) / span;

  int n = 0;
  if (first.phi > 0) calc::PolylinePoints[++n] = {0, r0};
  for (const Polar& q : p) calc::PolylinePoints[++n] = {q.phi, q.r};
  calc::PolylinePoints[++n] = {kTwoPi, r0};
  calc::PolylineCount = n;
  calc::LinearInterpolation = 1;
  common::AbortFlag = 0;
}

}  // namespace app
