// The interactive program: the Qt application with the platform's dialogs,
// the common forms and the pitch-curve dialogs installed, the main window,
// and the message loop until the window closes.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace app::ui {

// Installs the Qt dialogs of the core (user dialogs, common forms,
// pitch-curve dialogs). Needs a QApplication.
void InstallApplicationForms();

// What runs once the dialogs are there and before the main window is
// built; an exit code ends the program there.
using BeforeMainWindow = std::function<std::optional<int>()>;

// Runs the program's window until it closes; returns the exit code. With
// grabFile the shown window is written there as PNG (after settle
// milliseconds) and the window is closed; showItem names a menu item whose
// picture is drawn first ("mi_viewZahnraeder").
int RunMainWindow(int argc, char** argv, const std::string& grabFile = "", const BeforeMainWindow& before = {},
                  int settle = 500, const std::string& showItem = "");

}  // namespace app::ui
