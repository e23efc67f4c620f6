// The program's windows on a test's own X server, worked as a user works
// them: xdotool presses keys (the XTEST extension) and finds windows by
// their titles; xwininfo and xprop tell where a window's frame stands
// (a window manager's frame round it included). Every wait is bounded: a
// window that does not come is a failure, not a hung test.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/direct_run.h"
#include "support/run_command.h"

namespace testsupport {

using namespace std::chrono_literals;

// The path of an installed command; empty where there is none.
inline std::string FoundCommand(const std::string& name) {
  const std::string found = RunCommand("command -v " + Quoted(name));
  return found.substr(0, found.find('\n'));
}

// xdotool on one display; managed where a window manager runs on it.
class XTool {
 public:
  XTool(std::string tool, std::string display, bool managed = false)
      : tool_(std::move(tool)), display_(std::move(display)), managed_(managed) {}

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
  // Gives a window the keyboard as the user does by picking it: through
  // the window manager where one runs, else directly.
  void Focus(const std::string& window) const {
    const testsupport::DirectRun run = Run({managed_ ? "windowactivate" : "windowfocus", "--sync", window});
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
    bool operator==(const Rect&) const = default;
  };
  // The frame's place and size: the window's inside (xwininfo) and the
  // frame the window manager put round it (_NET_FRAME_EXTENTS: left,
  // right, top, bottom; none without a window manager).
  Rect Geometry(const std::string& window) const {
    Rect r;
    std::istringstream info(RunCommand("xwininfo -display " + Quoted(display_) + " -id " + Quoted(window)));
    for (std::string line; std::getline(info, line);) {
      const std::size_t colon = line.rfind(':');
      if (colon == std::string::npos) continue;
      const int value = std::atoi(line.c_str() + colon + 1);
      if (line.find("Absolute upper-left X") != std::string::npos) r.x = value;
      if (line.find("Absolute upper-left Y") != std::string::npos) r.y = value;
      if (line.find("  Width:") == 0) r.width = value;
      if (line.find("  Height:") == 0) r.height = value;
    }
    const std::string extents =
        RunCommand("xprop -display " + Quoted(display_) + " -id " + Quoted(window) + " _NET_FRAME_EXTENTS");
    int left = 0, right = 0, top = 0, bottom = 0;
    if (const std::size_t eq = extents.find('='); eq != std::string::npos)
      std::sscanf(extents.c_str() + eq + 1, " %d, %d, %d, %d", &left, &right, &top, &bottom);
    return {r.x - left, r.y - top, r.width + left + right, r.height + top + bottom};
  }
  // The frame once the window manager has framed and placed the window:
  // the same for a fifth of a second.
  Rect SettledGeometry(const std::string& window) const {
    Rect last = Geometry(window);
    for (int same = 0, i = 0; same < 2 && i < 50; ++i) {
      std::this_thread::sleep_for(100ms);
      const Rect now = Geometry(window);
      same = now == last ? same + 1 : 0;
      last = now;
    }
    return last;
  }

 private:
  std::string tool_;
  std::string display_;
  bool managed_;
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
