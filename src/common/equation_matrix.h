// The one workspace of the linear-equation solver behind the polynomial
// point fit of the pitch curve. The fit (src/calc) fills it with the system
// and solves it in place; the solution replaces the right-hand side and holds
// the polynomial coefficients that the pitch-curve radius function, the data
// file and the drawing sheets read. One program-wide system that keeps its
// contents between solves.
#pragma once

#include <cstdint>

#include "common/range_array.h"
#include "common/real.h"

namespace common {

inline constexpr int EquationMatrixSize = 51;  // at most 51 unknowns

struct TEquationMatrix {
  std::int32_t count = 0;  // number of unknowns (polynomial coefficients) in use
  RangeArray<RangeArray<Real, 1, EquationMatrixSize>, 1, EquationMatrixSize> matrix;  // [row][col]
  RangeArray<Real, 1, EquationMatrixSize> rhs;  // right-hand side; the solution after solving
  RangeArray<std::uint8_t, 1, EquationMatrixSize> order;  // row order of the row exchanges
};

extern TEquationMatrix EquationMatrix;

// Start-up state, also for tests: count 0, matrix and rhs zero, order 1..51.
void AllocEquationWorkspace();

}  // namespace common
