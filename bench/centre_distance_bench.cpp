// Time of closing the noncircular pair (IterateCentreDistance) for each
// curve family, with its default parameters; formula and point curves with
// typical data. Run by hand: build-*/bench/centre_distance_bench.
#include <benchmark/benchmark.h>

#include <cmath>

#include "calc/calc_records.h"
#include "calc/centre_distance.h"
#include "calc/polynomial_fit.h"
#include "calc/sine_linear.h"
#include "common/equation_matrix.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace {

using namespace calc;

void SetUpFamily(int family) {
  common::SetKaldvarDefaults();
  common::AllocEquationWorkspace();
  SetNoncircularDefaults();
  CurveType = static_cast<std::uint16_t>(family);
  switch (family) {
    case CurveFormula:
      PieceCount = 1;
      FormulaPieces[1] = {360, "37.5/(1-0.5*COS(X))"};
      break;
    case CurveSineLinear:
      PrepareSineLinearCurve();
      break;
    case CurvePolynomial:
    case CurvePointFit:
      // Eight points of a smooth closed curve through one turn.
      PointCount = 8;
      for (int i = 1; i <= 8; ++i) {
        const Real phi = (i - 1) * 2 * common::Pi / 7;
        FitPoints[i] = {phi, 50 + 5 * std::sin(phi) * std::sin(phi / 2)};
      }
      FitPolynomialToPoints();
      break;
    case CurvePolyline:
      PolylineCount = 360;
      for (int i = 1; i <= 360; ++i) {
        const Real phi = (i - 1) * common::Pi / 180;
        PolylinePoints[i] = {phi, 50 + 5 * std::cos(2 * phi)};
      }
      break;
    default:
      break;
  }
}

void BM_IterateCentreDistance(benchmark::State& state) {
  const int family = static_cast<int>(state.range(0));
  SetUpFamily(family);
  for (auto _ : state) {
    common::ClearErrorMessages();
    IterateCentreDistance();
    benchmark::DoNotOptimize(NcPair.a);
  }
  if (common::FatalFlag) state.SkipWithError("pair did not close");
  state.SetLabel(family == CurveEllipse ? "ellipse 60 x 50" : "");
}

BENCHMARK(BM_IterateCentreDistance)
    ->ArgName("CurveType")
    ->DenseRange(1, 9)
    ->Unit(benchmark::kMillisecond);

void BM_IterateCentreDistanceCircleK3(benchmark::State& state) {
  SetUpFamily(CurveEllipse);
  EllipseCurve = {50, 50};
  NcPair.k = 3;
  for (auto _ : state) {
    common::ClearErrorMessages();
    IterateCentreDistance();
    benchmark::DoNotOptimize(NcPair.a);
  }
}
BENCHMARK(BM_IterateCentreDistanceCircleK3)->Unit(benchmark::kMillisecond);

}  // namespace
