// The program's windows on a test's own X server, worked as a user works
// them: xdotool presses keys (the XTEST extension), finds windows by their
// titles and tells where they stand. Every wait is bounded: a window that
// does not come is a failure, not a hung test.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/direct_run.h"

namespace testsupport {

using namespace std::chrono_literals;

// xdotool on one display.
class XTool {
 public:
  XTool(std::string tool, std::string display) : tool_(std::move(tool)), display_(std::move(display)) {}

  testsupport::DirectRun Run(const std::vector<std::string>& args, std::chrono::seconds limit = 10s) const {
    return testsupport::RunDirect(tool_, args, {{"DISPLAY", display_}}, "", limit);
  }
  // Presses keys (xdotool's names: "ctrl+s", "Return") at the focused window.
  void Keys(std::vector<std::string> keys) const {
    keys.insert(keys.begin(), {"key", "--delay", "40"});
    const testsupport::DirectRun run = Run(keys);
    EXPECT_EQ(run.exitCode, 0) << run.err;
  }
  // Types the text, letters beyond ASCII too, as the keyboard would. A
  // letter the server's keyboard lacks is typed on a key xdotool binds to
  // it for the moment: slowly, so that the program has read the new binding
  // before it is taken back, on a loaded machine too.
  void Type(const std::string& text) const {
    std::size_t i = 0;
    while (i < text.size()) {
      const bool ascii = static_cast<unsigned char>(text[i]) < 0x80;
      std::size_t end = i + 1;
      if (ascii) {
        while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) ++end;
      } else {
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
      }
      const testsupport::DirectRun run = Run({"type", "--delay", ascii ? "40" : "300", text.substr(i, end - i)});
      EXPECT_EQ(run.exitCode, 0) << run.err;
      i = end;
    }
  }
  // Gives a window the keyboard, as a window manager does when the user
  // picks it; the test's server has none.
  void Focus(const std::string& window) const {
    const testsupport::DirectRun run = Run({"windowfocus", "--sync", window});
    EXPECT_EQ(run.exitCode, 0) << run.err;
  }
  // The first visible window whose title matches, once it is shown; empty
  // when none is within the limit.
  std::string WaitForTitle(const std::string& pattern, std::chrono::seconds limit = 10s) const {
    const testsupport::DirectRun run = Run({"search", "--sync", "--onlyvisible", "--name", pattern}, limit);
    return run.out.substr(0, run.out.find('\n'));
  }
  // The program's visible windows: its main window, menus, dialogs, boxes;
  // with titled, the windows that have a title (a menu has none).
  std::vector<std::string> Shown(bool titled = false) const {
    std::vector<std::string> windows;
    std::istringstream out(Run({"search", "--onlyvisible", titled ? "--name" : "--class", titled ? "." : "^vob4$"}).out);
    for (std::string id; std::getline(out, id);) windows.push_back(id);
    return windows;
  }
  // A window's title.
  std::string Title(const std::string& window) const {
    const std::string title = Run({"getwindowname", window}).out;
    return title.substr(0, title.find('\n'));
  }
  // The titles of the windows shown, for a failure's message.
  std::string Titles() const {
    std::string titles;
    for (const std::string& id : Shown()) titles += "[" + Title(id) + "] ";
    return titles;
  }

 // Where a window stands on the screen and how large it is.
  struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool Inside(const Rect& r) const {
      return x >= r.x && y >= r.y && x + width <= r.x + r.width && y + height <= r.y + r.height;
    }
    bool Meets(const Rect& r) const {
      return x < r.x + r.width && r.x < x + width && y < r.y + r.height && r.y < y + height;
    }
  };
  Rect Geometry(const std::string& window) const {
    std::istringstream out(Run({"getwindowgeometry", "--shell", window}).out);
    Rect r;
    for (std::string line; std::getline(out, line);) {
      const std::size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      const std::string key = line.substr(0, eq);
      const int value = std::atoi(line.c_str() + eq + 1);
      if (key == "X") r.x = value;
      if (key == "Y") r.y = value;
      if (key == "WIDTH") r.width = value;
      if (key == "HEIGHT") r.height = value;
    }
    return r;
  }

 private:
  std::string tool_;
  std::string display_;
};

inline bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds limit = 10s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

}  // namespace testsupport
