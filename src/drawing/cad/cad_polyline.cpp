// Polylines of the drawing interface, and circles and arcs broken into
// chords; see cad_output.h. The DXF devices write polylines as such; every
// other device gets the pieces as lines and arcs (or chords).
#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/cad_settings.h"
#include "common/numeric_routines.h"
#include "common/plane_geometry.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/cad_state.h"

namespace drawing {

using common::CadSettings;

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;

// No circle is cut into more chords than this, whatever its size and the
// chord length set: with 16384 chords a chord lies within 1.8e-8 of the
// radius from its arc, closer than the finest device can keep apart (the
// STL file's float32 numbers resolve 6e-8 of a value), so more chords would
// only cost time and memory (a circle of 10 m would be 630000 chords).
constexpr Real MaxChordsPerTurn = 16384;

// The chords of an arc of b radians wanted at the chord count n: at least
// one, at most the share of MaxChordsPerTurn of one turn (an arc of more
// than a turn goes round over itself).
long BoundedChords(Real n, Real b) {
  const Real turn = std::min(std::fabs(b), 2 * Pi) / (2 * Pi);
  const Real most = std::max<Real>(1, std::ceil(MaxChordsPerTurn * turn));
  if (!(n >= 1)) return 1;
  return static_cast<long>(std::min(std::round(n), most));
}

// The polyline in progress: whether it is written natively, its flags and
// first vertex (an emulated closed polyline is closed at its end).
struct PolylineInProgress {
  bool native = false;
  int flags = 0;
  Real firstX = 0, firstY = 0;
};
PolylineInProgress Polyline;

// The piece from the pen position to (x, y) with the arc angle b.
void EmulatedPiece(Real x, Real y, Real b) {
  const Real px = CadDrawing.CadPenPositionX, py = CadDrawing.CadPenPositionY;
  if (b == 0) {
    CadLine(px, py, x, y);
  } else if (CadSettings.CadArcsToLines && !CurrentCadBackEnd().KeepsPolylineArcs()) {
    ArcAsChords(px, py, x, y, b, [](Real x1, Real y1, Real x2, Real y2) { CadLine(x1, y1, x2, y2); });
  } else {
    Real xc = 0, yc = 0, a1 = 0, a2 = 0, r = 0;
    common::GetArcCenter(xc, yc, a1, px, py, x, y, b, a2, r);
    CadArc(xc, yc, common::RadToDeg(a1), common::RadToDeg(a2), r, common::RadToDeg(b));
  }
  CadMoveTo(x, y);
}

}  // namespace

void CadPolylineBegin(int flags) {
  Polyline = PolylineInProgress{};
  Polyline.flags = flags;
  Polyline.native = CadDrawing.CadPolylineNative && CurrentCadBackEnd().WritesNativePolylines();
  if (Polyline.native) {
    CadTarget().PolylineBegin(flags);
  } else {
    CadDrawing.CadPolylineCount = 1;
    CadDrawing.CadPolylineBulge = 0;
  }
}

void CadPolylineVertex(Real x, Real y, Real b) {
  if (Polyline.native) {
    const Real vx = x + CadDrawing.CadOriginX, vy = y + CadDrawing.CadOriginY, bulge = std::tan(b / 4);
    if (CadValuesWritable({vx, vy, bulge})) CadTarget().PolylineVertex(vx, vy, bulge);
    CadMoveTo(x, y);
    return;
  }
  if (CadDrawing.CadPolylineCount == 1) {
    CadMoveTo(x, y);
    Polyline.firstX = x;
    Polyline.firstY = y;
  } else {
    EmulatedPiece(x, y, CadDrawing.CadPolylineBulge);
  }
  CadDrawing.CadPolylineBulge = b;
  ++CadDrawing.CadPolylineCount;
}

void CadPolylineArcVertex(Real r, Real angle, Real b) {
  CadPolylineVertex(CadDrawing.CadPenPositionX + r * std::cos(angle), CadDrawing.CadPenPositionY + r * std::sin(angle), b);
}

void CadPolylineEnd() {
  if (Polyline.native) {
    CadTarget().PolylineEnd();
  } else if ((Polyline.flags & 1) && CadDrawing.CadPolylineCount > 2) {
    // A closed polyline ends with the piece back to its first vertex, as
    // the DXF devices draw it.
    EmulatedPiece(Polyline.firstX, Polyline.firstY, CadDrawing.CadPolylineBulge);
  }
  Polyline = PolylineInProgress{};
}

// ---- Chords --------------------------------------------------------------------

void CircleAsChords(Real x, Real y, Real r, const ChordSink& emit) {
  const Real resolution = CadSettings.CadArcResolution > 0 ? CadSettings.CadArcResolution : 0.1L;
  const Real circumference = 2 * Pi * std::fabs(r);
  if (!(circumference > resolution)) return;
  const long n = BoundedChords(circumference / resolution, 2 * Pi);
  Real lastX = x + r, lastY = y;
  for (long i = 1; i <= n; ++i) {
    const Real a = 2 * Pi * static_cast<Real>(i) / static_cast<Real>(n);
    const Real nextX = i == n ? x + r : x + r * std::cos(a);
    const Real nextY = i == n ? y : y + r * std::sin(a);
    emit(lastX, lastY, nextX, nextY);
    lastX = nextX;
    lastY = nextY;
  }
}

void ArcAsChords(Real x1, Real y1, Real x2, Real y2, Real b, const ChordSink& emit) {
  const Real resolution = CadSettings.CadArcResolution > 0 ? CadSettings.CadArcResolution : 0.2L;
  Real xc = 0, yc = 0, a1 = 0, a2 = 0, r = 0;
  common::GetArcCenter(xc, yc, a1, x1, y1, x2, y2, b, a2, r);
  const Real length = r * std::fabs(b);
  if (!(length > 0)) return;
  if (length > resolution || std::fabs(b) > 0.1L) {
    const long n = BoundedChords(std::fabs(b) * resolution / length <= 0.1L ? length / resolution : std::fabs(b) / 0.1L, b);
    Real lastX = x1, lastY = y1;
    for (long i = 1; i <= n; ++i) {
      const Real a = a1 + b * static_cast<Real>(i) / static_cast<Real>(n);
      const Real nextX = i == n ? x2 : xc + r * std::cos(a);
      const Real nextY = i == n ? y2 : yc + r * std::sin(a);
      emit(lastX, lastY, nextX, nextY);
      lastX = nextX;
      lastY = nextY;
    }
  } else {
    emit(x1, y1, x2, y2);
  }
}

}  // namespace drawing
