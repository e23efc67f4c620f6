// Bores against the root of their gear; see bore_fit.h.
#include "drawing/outlines/bore_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calc/plausibility_warnings.h"
#include "calc/spur_gear_data.h"
#include "common/cad_settings.h"
#include "common/number_format.h"
#include "common/unit_labels.h"
#include "drawing/cad/cad_device.h"
#include "drawing/cad/cad_output.h"
#include "drawing/outlines/tooth_contour.h"

namespace drawing {

namespace {

// The distance of the origin from the segment a-b.
Real OriginDistance(Real ax, Real ay, Real bx, Real by) {
  const Real dx = bx - ax, dy = by - ay;
  const Real length2 = dx * dx + dy * dy;
  const Real t = length2 > 0 ? std::clamp(-(ax * dx + ay * dy) / length2, Real(0), Real(1)) : Real(0);
  return std::hypot(ax + t * dx, ay + t * dy);
}

bool BuildsSolids() { return CadDevice == CadDeviceStl || CadDevice == CadDeviceStep; }

std::string LengthWithUnit(Real x) { return common::LengthToTextFixed(2, x) + " " + common::LengthUnitLabel(); }

}  // namespace

Real GearRootRadius(int gear) {
  Real nearest = std::numeric_limits<Real>::infinity();
  for (const TContourPiece& piece : GearContour(gear))
    for (std::size_t i = 1; i < piece.X.size(); ++i)
      nearest = std::min(nearest, OriginDistance(piece.X[i - 1], piece.Y[i - 1], piece.X[i], piece.Y[i]));
  return std::isfinite(nearest) ? nearest : 0;
}

bool GearBoreFitsSolid(int gear) {
  const Real bore = calc::SpurGearData.BoreDiameter[gear];
  if (!(bore > 0) || !BuildsSolids()) return true;
  const Real root = GearRootRadius(gear);
  if (root <= 0 || bore / 2 < root) return true;
  RefuseCadOutput(calc::BoreAboveRootError(gear) + ": the bore " + LengthWithUnit(bore) +
                  " does not lie inside the root of gear " + common::IntToText(gear) + " (" + LengthWithUnit(2 * root) +
                  " across at its narrowest): " + common::CadSettings.CadFileName + " not written");
  return false;
}

}  // namespace drawing
