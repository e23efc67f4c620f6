// Installs the Qt parts of the drawing subsystem in place of their headless
// stand-ins: the opening of a finished CAD file with the program associated
// with its extension, the drawing-name form and the plot utility's settings
// form. The windowing start-up calls it once, after the
// QApplication exists.
#pragma once

namespace drawing::ui {

void InstallDrawingForms();

}  // namespace drawing::ui
