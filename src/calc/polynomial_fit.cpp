// Polynomial through the fit points and the linear-equation solver over the
// shared workspace (polynomial_fit.h, equation_matrix.h).
#include "calc/polynomial_fit.h"

#include <utility>

#include "calc/calc_records.h"
#include "common/equation_matrix.h"
#include "common/numeric_routines.h"

namespace calc {

using common::EquationMatrix;
using common::EquationMatrixSize;

void SwapEquationRows(int n, int row1, int row2) {
  auto& a = EquationMatrix.matrix;
  for (int j = 1; j <= n; ++j) std::swap(a[row1][j], a[row2][j]);
  std::swap(EquationMatrix.rhs[row1], EquationMatrix.rhs[row2]);
}

void SearchPivotRow(int n) {
  auto& a = EquationMatrix.matrix;
  for (int k = 1; k <= n; ++k) {
    if (a[k][k] != 0) continue;
    for (int j = k + 1; j <= n; ++j) {
      if (a[j][k] != 0) {
        SwapEquationRows(n, k, j);
        break;
      }
    }
  }
}

bool SolveLinearSystem() {
  const int n = EquationMatrix.count;
  if (n < 1 || n > EquationMatrixSize) return false;
  auto& a = EquationMatrix.matrix;
  auto& b = EquationMatrix.rhs;
  auto& order = EquationMatrix.order;
  bool regular = true;

  for (int i = 1; i <= n; ++i) order[i] = static_cast<std::uint8_t>(i);
  SearchPivotRow(n);

  // Eliminate the unknowns from the last position down, each time with the
  // largest remaining diagonal element as pivot (symmetric exchange of the
  // order, so row p always solves for unknown p).
  for (int k = n; k >= 2; --k) {
    int best = 1;
    Real bestSquare = a[order[1]][order[1]] * a[order[1]][order[1]];
    for (int pos = 2; pos <= k; ++pos) {
      const int p = order[pos];
      const Real square = a[p][p] * a[p][p];
      if (square > bestSquare) {
        best = pos;
        bestSquare = square;
      }
    }
    std::swap(order[best], order[k]);
    const int p = order[k];
    if (a[p][p] == 0) {
      regular = false;
      continue;
    }
    for (int i = 1; i <= k - 1; ++i) {
      const int r = order[i];
      if (a[r][p] == 0) continue;
      const Real f = a[r][p] / a[p][p];
      b[r] -= f * b[p];
      for (int j = 1; j <= k - 1; ++j) {
        const int c = order[j];
        a[r][c] -= f * a[p][c];
      }
    }
  }

  // Back substitution in order: row order[i] holds only the unknowns of the
  // positions up to i.
  for (int i = 1; i <= n; ++i) {
    const int r = order[i];
    if (a[r][r] == 0) {
      regular = false;
      continue;
    }
    Real sum = b[r];
    for (int j = 1; j < i; ++j) sum -= b[order[j]] * a[r][order[j]];
    b[r] = sum / a[r][r];
  }
  return regular;
}

bool FitPolynomialToPoints() {
  const int n = PointCount;
  if (n < 1 || n > MaxFitPoints) return false;
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j)
      EquationMatrix.matrix[i][j] = common::IntPower(j - 1, FitPoints[i].Phi);
    EquationMatrix.rhs[i] = FitPoints[i].R;
  }
  EquationMatrix.count = n;
  return SolveLinearSystem();
}

}  // namespace calc
