// Whether the window system Qt would start on can be reached, found out
// before Qt is started: Qt ends the program with an abort when its platform
// cannot connect (a stale DISPLAY of a lost ssh or tmux session, an X
// server that refuses the user, WAYLAND_DISPLAY without a Wayland plugin).
#pragma once

#include <string>

namespace platform::qt {

struct DisplayProbe {
  bool set = false;     // DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM names one
  bool usable = false;  // and it can be opened
  bool screen = false;  // usable, and a screen someone looks at (X or Wayland)
  std::string failed;   // what failed, for a message: "DISPLAY=:99 cannot be opened"
};

// Probes the display of the environment. A platform chosen in
// QT_QPA_PLATFORM that needs no display (offscreen, minimal, vnc) is
// usable as it is. Where only X can be reached although WAYLAND_DISPLAY is
// set, QT_QPA_PLATFORM is set to "xcb" for this run, so that Qt does not
// try the Wayland display first.
DisplayProbe ProbeDisplay();

}  // namespace platform::qt
