// The view of a design that could not be calculated; see fatal_design_view.h.
#include "drawing/fatal_design_view.h"

#include "common/graphics_facade.h"
#include "common/message_help.h"

namespace drawing {

void ShowFatalDesign() {
  common::ClearGraphics();
  common::GraphClearViewPort();
  common::ShowCalculationMessages();
}

}  // namespace drawing
