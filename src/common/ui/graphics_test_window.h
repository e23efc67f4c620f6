// The program's graphics test: the graphics window alone with the test
// picture (graphics_test_picture.h), shown until closed, or saved as an
// image and a PDF file and ended, for a look at a display or printer.
#pragma once

#include <string>

namespace common::ui {

// Runs a Qt application with the window. With grabFile the shown picture
// is written there as PNG, with pdfFile printed there, and the program ends
// without waiting. Returns the exit code.
int RunGraphicsTestWindow(int argc, char** argv, const std::string& grabFile, const std::string& pdfFile);

}  // namespace common::ui
