// The gear pairs the CAD tests draw in every format: the default ellipse
// (rated with a drive), an eccentric circle, a focal ellipse of eccentricity
// 0.5 with a constant module, and a hexagon; the last three with a bore in
// each gear. Also the
// outline a gear picture draws, as one closed polygon, with its area and
// the first two of its sides that cross.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "drawing/outlines/tooth_contour.h"
#include "drawing/drawing_test_support.h"

namespace drawingtest {

enum class GearDesign { Default, Eccentric, FocalEllipse, Hexagon };

inline const GearDesign AllGearDesigns[] = {GearDesign::Default, GearDesign::Eccentric, GearDesign::FocalEllipse,
                                             GearDesign::Hexagon};

inline std::string GearDesignName(GearDesign design) {
  switch (design) {
    case GearDesign::Default: return "Default";
    case GearDesign::Eccentric: return "Eccentric";
    case GearDesign::FocalEllipse: return "FocalEllipse";
    case GearDesign::Hexagon: return "Hexagon";
  }
  return "?";
}

// Pitch curve 1 a focal ellipse r = 40 / (1 - e cos phi) with 31 teeth of a
// constant module; e is given as the formula writes it ("0.5").
inline void SetFocalEllipse(const std::string& e) {
  calc::CurveType = calc::CurveFormula;
  calc::PieceCount = 1;
  calc::FormulaPieces[1].EndAngle = 360;
  calc::FormulaPieces[1].Formula = "40/(1-" + e + "*cos(X))";
  calc::NcPair.z1 = 31;
  calc::NcPair.ModuleMode = 2;
}

// Sets the design up and calculates it; false when the calculation is
// fatal.
inline bool CalculateGearDesign(GearDesign design) {
  SetDefaultDesign();
  switch (design) {
    case GearDesign::Default:
      break;
    case GearDesign::Eccentric:
      calc::CurveType = calc::CurveEccentric;
      calc::EccentricCurve = calc::TEccentricCurve{100, 10};
      break;
    case GearDesign::FocalEllipse:
      SetFocalEllipse("0.5");
      break;
    case GearDesign::Hexagon:
      calc::CurveType = calc::CurvePolygon;
      calc::PolygonCurve.Corners = 6;
      break;
  }
  if (design != GearDesign::Default) {
    calc::SpurGearData.BoreDiameter[1] = 20;
    calc::SpurGearData.BoreDiameter[2] = 16;
  }
  calc::CalcNoncircularPair();
  const bool fatal = common::FatalFlag != 0;
  common::ClearErrorMessages();
  return !fatal;
}

// The face width a gear picture extrudes by.
inline double GearFaceWidth(int gear) {
  const auto& g = calc::SpurGearData;
  return static_cast<double>(g.GearFaceWidth[gear] > 0 ? g.GearFaceWidth[gear] : g.FaceWidth);
}

using Polygon = std::vector<std::pair<double, double>>;

// The tooth outline of a gear picture (code 1 or 2) as one polygon: its
// pieces one after the other, a point where one piece ends and the next
// begins taken once, the closing point not repeated.
inline Polygon GearOutline(int gear) {
  Polygon polygon;
  const auto same = [](const std::pair<double, double>& a, double x, double y) {
    return std::hypot(a.first - x, a.second - y) <= 1e-4;
  };
  for (const drawing::TContourPiece& piece : drawing::GearContour(gear))
    for (std::size_t i = 0; i < piece.X.size(); ++i) {
      const double x = static_cast<double>(piece.X[i]), y = static_cast<double>(piece.Y[i]);
      if (polygon.empty() || !same(polygon.back(), x, y)) polygon.emplace_back(x, y);
    }
  if (polygon.size() > 1 && same(polygon.front(), polygon.back().first, polygon.back().second)) polygon.pop_back();
  return polygon;
}

// The area the polygon encloses, by the shoelace formula (positive).
inline double PolygonArea(const Polygon& p) {
  double sum = 0;
  for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
    sum += p[j].first * p[i].second - p[i].first * p[j].second;
  return std::fabs(sum / 2);
}

// The first two sides of the closed polygon that cross (touching ends of
// neighbours do not count); none for a simple outline.
inline std::optional<std::pair<std::size_t, std::size_t>> FirstCrossing(const Polygon& p) {
  const std::size_t n = p.size();
  const auto cross = [](const std::pair<double, double>& o, const std::pair<double, double>& a,
                        const std::pair<double, double>& b) {
    return (a.first - o.first) * (b.second - o.second) - (a.second - o.second) * (b.first - o.first);
  };
  for (std::size_t i = 0; i < n; ++i) {
    const auto &a = p[i], &b = p[(i + 1) % n];
    const double xmin = std::min(a.first, b.first), xmax = std::max(a.first, b.first);
    const double ymin = std::min(a.second, b.second), ymax = std::max(a.second, b.second);
    for (std::size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;
      const auto &c = p[j], &d = p[(j + 1) % n];
      if (std::max(c.first, d.first) < xmin || std::min(c.first, d.first) > xmax ||
          std::max(c.second, d.second) < ymin || std::min(c.second, d.second) > ymax)
        continue;
      const double d1 = cross(a, b, c), d2 = cross(a, b, d), d3 = cross(c, d, a), d4 = cross(c, d, b);
      if (((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0)) && d1 != 0 && d2 != 0 && d3 != 0 && d4 != 0)
        return std::make_pair(i, j);
    }
  }
  return std::nullopt;
}

}  // namespace drawingtest
