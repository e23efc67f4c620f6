// Polynomial through the fit points and the Gauss solver of the equation
// workspace.
#include "calc/polynomial_fit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/calc_records.h"
#include "common/equation_matrix.h"
#include "common/guarded_math.h"

namespace calc {
namespace {

using common::EquationMatrix;

class PolynomialFit : public ::testing::Test {
 protected:
  void SetUp() override {
    common::AllocEquationWorkspace();
    SetNoncircularDefaults();
  }
  static void SetPoints(std::initializer_list<TCurvePoint> points) {
    int i = 0;
    for (const TCurvePoint& p : points) FitPoints[++i] = p;
    PointCount = i;
  }
  static double Coefficient(int i) { return static_cast<double>(EquationMatrix.rhs[i]); }
};

TEST_F(PolynomialFit, TwoPointsGiveTheLineThroughThem) {
  SetPoints({{0, 50}, {common::Pi, 70}});
  EXPECT_TRUE(FitPolynomialToPoints());
  EXPECT_EQ(EquationMatrix.count, 2);
  EXPECT_NEAR(Coefficient(1), 50, 1e-15);
  EXPECT_NEAR(Coefficient(2), 20 / M_PI, 1e-15);
}

TEST_F(PolynomialFit, QuadraticDoesNotDependOnThePointOrder) {
  // r = 40 + 3 phi - 0.5 phi^2
  auto r = [](Real phi) { return 40 + 3 * phi - 0.5L * phi * phi; };
  SetPoints({{0.5L, r(0.5L)}, {2, r(2)}, {5, r(5)}});
  ASSERT_TRUE(FitPolynomialToPoints());
  const double c[] = {Coefficient(1), Coefficient(2), Coefficient(3)};
  EXPECT_NEAR(c[0], 40, 1e-13);
  EXPECT_NEAR(c[1], 3, 1e-13);
  EXPECT_NEAR(c[2], -0.5, 1e-13);
  SetPoints({{5, r(5)}, {0.5L, r(0.5L)}, {2, r(2)}});
  ASSERT_TRUE(FitPolynomialToPoints());
  for (int i = 1; i <= 3; ++i) EXPECT_NEAR(Coefficient(i), c[i - 1], 1e-13);
}

TEST_F(PolynomialFit, ManyPointsReproduceThePolynomial) {
  // Eight points over one turn of a polynomial of degree 7.
  auto r = [](Real phi) {
    Real sum = 0, power = 1;
    const Real c[] = {50, -2, 1.5L, -0.3L, 0.02L, 0.001L, -0.0004L, 0.00002L};
    for (Real ci : c) {
      sum += ci * power;
      power *= phi;
    }
    return sum;
  };
  PointCount = 8;
  for (int i = 1; i <= 8; ++i) {
    const Real phi = (i - 1) * 2 * common::Pi / 7;
    FitPoints[i] = {phi, r(phi)};
  }
  ASSERT_TRUE(FitPolynomialToPoints());
  EXPECT_NEAR(Coefficient(1), 50, 1e-9);
  EXPECT_NEAR(Coefficient(8), 0.00002, 1e-12);
}

TEST_F(PolynomialFit, SolverExchangesRowsWithAZeroDiagonal) {
  // x2 = 3; x1 + x2 = 5; 2 x1 + x3 = 7  ->  x = (2, 3, 3)
  EquationMatrix.count = 3;
  auto& a = EquationMatrix.matrix;
  a[1][1] = 0, a[1][2] = 1, a[1][3] = 0, EquationMatrix.rhs[1] = 3;
  a[2][1] = 1, a[2][2] = 1, a[2][3] = 0, EquationMatrix.rhs[2] = 5;
  a[3][1] = 2, a[3][2] = 0, a[3][3] = 1, EquationMatrix.rhs[3] = 7;
  EXPECT_TRUE(SolveLinearSystem());
  EXPECT_NEAR(Coefficient(1), 2, 1e-15);
  EXPECT_NEAR(Coefficient(2), 3, 1e-15);
  EXPECT_NEAR(Coefficient(3), 3, 1e-15);
}

TEST_F(PolynomialFit, SingularSystemIsReportedAndStaysFinite) {
  SetPoints({{1, 50}, {1, 60}, {2, 55}});
  EXPECT_FALSE(FitPolynomialToPoints());
  for (int i = 1; i <= 3; ++i) EXPECT_TRUE(std::isfinite(Coefficient(i)));
  PointCount = 0;
  EXPECT_FALSE(FitPolynomialToPoints());
  PointCount = 51;
  EXPECT_FALSE(FitPolynomialToPoints());
}

}  // namespace
}  // namespace calc
