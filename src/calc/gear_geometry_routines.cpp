// Single-formula geometry routines of the spur-gear kernel
// (gear_geometry_routines.h): mating-gear index, root form diameters,
// specific sliding, involute intersection, gear-body mass and inertia.
#include "calc/gear_geometry_routines.h"

#include <cmath>
#include <string>

#include "calc/section_properties.h"
#include "common/guarded_math.h"
#include "common/memo_math.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"

namespace calc {

using common::MemoSin;
using common::MemoTan;

int OtherGearIndex(int i) { return (i % 2) + 1; }

Real CalcRootFormDiameter(Real db, Real alphan, Real rhoaP0, Real x, Real mn, Real haP0,
                          Real alphat, Real d) {
  // The tool tip radius ends the straight flank (1 - sin alphan) rhoaP0 above
  // the tool tip; that point of the rack generates the lowest involute point.
  const Real sinAlphat = MemoSin(alphat);
  const Real t = d * sinAlphat -
                 2 * (haP0 - x * mn - (1 - MemoSin(alphan)) * rhoaP0) / sinAlphat;
  return std::sqrt(db * db + t * t);
}

Real CalcRootFormDiameterProtuberance(Real db, Real alphan, Real rhoaP0, Real x, Real mn,
                                      Real haP0, Real alphat, Real d, Real p) {
  const Real reduced = haP0 - (p / MemoSin(alphan) - p * p * MemoTan(alphan));
  return CalcRootFormDiameter(db, alphan, rhoaP0, x, mn, reduced, alphat, d);
}

Real CalcSpecificSliding(Real signZ2, int gear, Real u, Real da2, Real da1, Real db2, Real db1,
                         Real g) {
  const bool internal = signZ2 < 0;
  // Rolling radii (distances from the tangent points of the base circles).
  const Real rho1 = common::Cathetus(da1 / 2, db1 / 2);
  const Real rho2 = common::Cathetus(da2 / 2, db2 / 2);
  const Real a = rho1 + g;
  if (a == 0) return 0;
  // On an internal gear the rolling radius grows in the same direction.
  const Real b = internal ? rho2 + g : rho2 - g;
  Real q;
  if (gear == 1) {
    q = (b / a) / u;
  } else {
    // At the tangent point of gear 2 (b = 0) the sliding grows without
    // bound; the caller holds such root values as -999.
    q = (a / b) * u;
  }
  return internal ? 1 + q : 1 - q;
}

namespace {

// Tooth thickness of an involute at the diameter dy; 0 inside its base
// circle, where it has no flank.
Real InvoluteThickness(Real refTerm, Real db, Real dy) {
  if (std::fabs(dy) < std::fabs(db)) return 0;
  return (refTerm - common::Involute(common::CheckedArcCos(db / dy))) * dy;
}

}  // namespace

Real FindInvoluteIntersectionDiameter(int flag, int gear, Real& thickness, Real startDiameter,
                                      Real tipDiameter, Real db, Real refTerm, Real dbk,
                                      Real refTermK) {
  Real startSide = startDiameter;
  Real tipSide = tipDiameter;
  // Which involute is the thicker one below the meeting point depends on
  // which base circle is the larger; the start side tells.
  bool startNegative = true;
  if (std::fabs(startDiameter) >= std::fabs(db) && std::fabs(startDiameter) >= std::fabs(dbk)) {
    const Real diffStart = InvoluteThickness(refTerm, db, startDiameter) -
                           InvoluteThickness(refTermK, dbk, startDiameter);
    if (diffStart != 0) startNegative = diffStart < 0;
  }
  for (int step = 1; step <= 100; ++step) {
    const Real dy = (startSide + tipSide) / 2;
    const bool belowDb = std::fabs(dy) < std::fabs(db);
    if (belowDb || std::fabs(dy) < std::fabs(dbk)) {
      if (flag >= 1) {
        common::AddErrorMessage(std::string(belowDb ? "Error  : db > dFa" : "Error  : dbk > dFa") +
                                common::IntToText(gear) + " !");
      }
      thickness = InvoluteThickness(refTerm, db, tipSide);
      return tipSide;
    }
    const Real s1 = InvoluteThickness(refTerm, db, dy);
    const Real s2 = InvoluteThickness(refTermK, dbk, dy);
    const Real diff = s1 - s2;
    if (std::fabs(diff) <= 0.0005L) {
      thickness = s1;
      return dy;
    }
    if ((diff < 0) == startNegative) {
      startSide = dy;  // still on the start side of the meeting point
    } else {
      tipSide = dy;
    }
  }
  thickness = InvoluteThickness(refTerm, db, startDiameter);
  return startDiameter;
}

namespace {

// The parts of a gear body as hollow cylinders: outer diameter, inner
// diameter, width.
struct TBodyPart {
  Real outer, inner, width;
};

struct TGearBody {
  int count = 0;
  TBodyPart part[3]{};
  void Add(Real outer, Real inner, Real width) { part[count++] = {outer, inner, width}; }
};

TGearBody GearBodyParts(Real da, Real df, Real di, Real dbore, Real b) {
  TGearBody body;
  if (da >= 0) {
    if (!(dbore < di && di < df)) di = 0;
    const Real dm = (da + df) / 2;  // the teeth count with half their depth
    if (di == 0) {
      body.Add(dm, dbore, b);
    } else {
      const Real s = (df - di) / 2;  // web thickness = rim thickness
      const Real dh = dbore + (df - di);
      body.Add(dh, dbore, b);  // hub
      body.Add(dm, di, b);     // rim with the teeth
      body.Add(di, dh, s);     // web
    }
    return body;
  }
  da = std::fabs(da);
  df = std::fabs(df);
  di = std::fabs(di);
  dbore = std::fabs(dbore);
  if (!(df < di && di < dbore)) di = 0;
  const Real dm = (da + df) / 2;
  // Without a rim diameter the internal gear is a plain ring like a thick
  // rim (a web of negative thickness would follow from di = 0).
  if (di == 0 || di > (df + dbore) / 2) {
    body.Add(dbore, dm, b);
  } else {
    const Real s = (di - df) / 2;
    const Real dOuter = dbore - 2 * s;
    body.Add(dbore, dOuter, b);  // outer ring
    body.Add(di, dm, b);         // rim with the teeth
    body.Add(dOuter, di, s);     // web
  }
  return body;
}

}  // namespace

Real CalcGearBodyMass(Real da, Real df, Real di, Real dbore, Real b, Real rho) {
  const TGearBody body = GearBodyParts(da, df, di, dbore, b);
  Real volume = 0;
  for (int k = 0; k < body.count; ++k) {
    const TBodyPart& p = body.part[k];
    volume += common::Pi / 4 * (p.outer * p.outer - p.inner * p.inner) * p.width;
  }
  return volume * rho * 1e-6L;
}

Real CalcGearBodyInertia(Real da, Real df, Real di, Real dbore, Real b, Real rho) {
  const TGearBody body = GearBodyParts(da, df, di, dbore, b);
  Real inertia = 0;
  for (int k = 0; k < body.count; ++k) {
    const TBodyPart& p = body.part[k];
    inertia += CalcCylinderInertia(p.outer, p.inner, p.width, rho);
  }
  return inertia;
}

}  // namespace calc
