// What the core asks of the operating system outside any window: the current
// directory and the screen resolution. Headless, the screen query has no
// answer (0) and callers keep their defaults; the Qt layer installs a screen
// query when the program starts with a display.
#pragma once

#include <functional>
#include <string>

namespace platform {

// The process's current directory, without a trailing separator.
std::string CurrentDirectory();

// Horizontal logical pixels per inch of the screen, or 0 when unknown.
int ScreenLogicalDpi();

// The Qt layer sets this at start-up; tests may set it too.
void SetScreenDpiQuery(std::function<int()> query);

}  // namespace platform
