// The equation workspace of the polynomial point fit (see equation_matrix.h).
#include "common/equation_matrix.h"

namespace common {

namespace {

TEquationMatrix StartState() {
  TEquationMatrix m;
  m.count = 0;
  for (int i = 1; i <= EquationMatrixSize; ++i) {
    m.order[i] = static_cast<std::uint8_t>(i);
    m.rhs[i] = 0.0L;
    m.matrix[i].fill(0.0L);
  }
  return m;
}

}  // namespace

// In its start-up state from the beginning, so that a reader before the first
// fit sees an empty system.
TEquationMatrix EquationMatrix = StartState();

void AllocEquationWorkspace() { EquationMatrix = StartState(); }

}  // namespace common
