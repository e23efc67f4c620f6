// Whether the window system Qt would start on can be reached, found out
// before Qt is started: Qt ends the program with an abort when its platform
// cannot connect (a stale DISPLAY of a lost ssh or tmux session, an X
// server that refuses the user, WAYLAND_DISPLAY without a Wayland plugin,
// a platform that is not installed or a framebuffer that is not there).
#pragma once

#include <chrono>
#include <string>

namespace platform::qt {

struct DisplayProbe {
  bool set = false;     // DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM names one
  bool usable = false;  // and it can be opened
  bool screen = false;  // usable, and a screen someone looks at (X or Wayland)
  bool silent = false;  // an X display took the connection and did not answer in time
  std::string failed;   // what failed, for a message: "DISPLAY=:99 cannot be opened"
};

// How long an X display may take to answer the connection.
constexpr std::chrono::seconds kDisplayAnswerLimit{5};

// Probes the display of the environment. QT_QPA_PLATFORM may name a list
// ("wayland;xcb"), as Qt takes it: each entry is probed in its order and
// the first usable one is taken; where that is not the one Qt would try
// first, QT_QPA_PLATFORM is set to it for this run, so that Qt does not
// start on one that fails. A platform that needs no display (offscreen,
// minimal, vnc) is usable when its plugin is installed.
//
// The connection that showed an X display usable stays open until Qt has
// made its own (Qt's application object lets it go): an X server whose only
// client leaves resets itself, and Qt's connection in that moment would be
// refused.
DisplayProbe ProbeDisplay();

}  // namespace platform::qt
