// Start values of the drawing state; see cad_state.h.
#include "drawing/cad/cad_state.h"

namespace drawing {

TCadDrawingState CadDrawing;

void InitCadDrawingState() {
  CadDrawing = TCadDrawingState{};
}

}  // namespace drawing
