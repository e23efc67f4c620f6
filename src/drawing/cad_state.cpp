// Start values of the drawing state; see cad_state.h.
#include "drawing/cad_state.h"

namespace drawing {

TCadDrawingState CadDrawing;
bool CadBatchNaming = false;

void InitCadDrawingState() {
  CadDrawing = TCadDrawingState{};
  CadBatchNaming = false;
}

}  // namespace drawing
