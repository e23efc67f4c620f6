// The screen size and the main window's frame, as far as the configuration
// needs them to fit the main window and the dialogs to the screen
// (config_file.cpp). Headless there is no screen (size 0 x 0) and no main
// window; callers then keep the configured values. The windowing start-up
// installs both.
#pragma once

#include <functional>

namespace platform {

struct ScreenSize {
  int width = 0;   // pixels; 0 when unknown
  int height = 0;
};

ScreenSize PrimaryScreenSize();
void SetScreenSizeQuery(std::function<ScreenSize()> query);

// The main window's outer and client sizes and the client size it is given.
class MainWindowFrame {
 public:
  virtual ~MainWindowFrame() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  virtual void SetClientSize(int width, int height) = 0;
};

// The main window, or nullptr when there is none (headless).
MainWindowFrame* MainWindow();
// Installs the main window (not owned); nullptr when it closes.
void SetMainWindow(MainWindowFrame* window);

}  // namespace platform
