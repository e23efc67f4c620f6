// What the drawing entry points show for a design whose calculation ended
// with a fatal message: no picture (the one on the screen belongs to the
// design before and would pass for this one's, with its data table), and
// the message list instead.
#pragma once

namespace drawing {

// Clears the screen's picture and shows the calculation messages.
void ShowFatalDesign();

}  // namespace drawing
