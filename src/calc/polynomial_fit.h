// The polynomial pitch curve through points (curve type 7): the polynomial of
// degree n-1 through the n points of FitPoints (calc_records.h), solved in
// the shared equation workspace (equation_matrix.h), whose solution vector
// then holds the coefficients c1..cn that the radius function reads.
#pragma once

namespace calc {

// Fills EquationMatrix with a[i][j] = Phi_i^(j-1) (matrix) and b[i] = R_i
// (rhs) for the PointCount points, sets its count and solves it: the
// interpolating polynomial, not a least-squares fit. false when PointCount
// is outside 1..50 (nothing changed) or the system is singular (see
// SolveLinearSystem).
bool FitPolynomialToPoints();

// Solves EquationMatrix for its count by Gauss elimination with diagonal
// pivoting over the order vector; the value of variable j replaces b[j].
// A singular system (a pivot that is exactly zero) is not divided by: its
// elimination step is skipped, the affected unknowns keep their right-hand
// side values, and the result is false.
bool SolveLinearSystem();

// Exchanges every row k with a zero diagonal with the first row below it
// that has a non-zero entry in column k (when there is one).
void SearchPivotRow(int n);

// Exchanges rows row1 and row2 of the system (columns 1..n and the
// right-hand side).
void SwapEquationRows(int n, int row1, int row2);

}  // namespace calc
