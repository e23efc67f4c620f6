// The small always-on-top windows through which long operations of the core
// (appending from text, building an index, reading a large file) show a text
// or a progress bar while they work. The core creates a window through the
// factory installed here, shows texts in it and destroys it at the end.
// Implementations: the headless default (shows nothing, for batch runs),
// RecordingMessageWindows (keeps what was shown, for tests) and the Qt one
// under src/platform/qt/, installed by the windowing start-up.
// Texts crossing this interface are UTF-8.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform {

class MessageWindow {
 public:
  virtual ~MessageWindow() = default;
  // Shows the text; with a caption the window has a title bar, without one
  // it is a plain frame. The window grows (never shrinks) to fit the text and
  // is centred again when it grows.
  virtual void ShowText(const std::string& caption, const std::string& text) = 0;
};

class MessageWindowFactory {
 public:
  virtual ~MessageWindowFactory() = default;
  // A new window, not yet shown.
  virtual std::unique_ptr<MessageWindow> Create() = 0;
};

// The factory in use (the headless default until another is installed).
MessageWindowFactory& MessageWindows();
// Installs a factory (not owned); nullptr returns to the headless default.
// Returns the previous one.
MessageWindowFactory* SetMessageWindows(MessageWindowFactory* factory);

// Keeps everything shown, per window, in order (tests).
class RecordingMessageWindows : public MessageWindowFactory {
 public:
  struct Shown {
    int window = 0;  // 1 for the first window created
    std::string caption;
    std::string text;
  };
  std::unique_ptr<MessageWindow> Create() override;

  const std::vector<Shown>& ShownTexts() const { return shown_; }
  int Created() const { return created_; }
  int Open() const { return open_; }

 private:
  class Window;
  std::vector<Shown> shown_;
  int created_ = 0;
  int open_ = 0;
};

// Installs a factory for the lifetime of the object (tests).
class ScopedMessageWindows {
 public:
  explicit ScopedMessageWindows(MessageWindowFactory& factory) : previous_(SetMessageWindows(&factory)) {}
  ~ScopedMessageWindows() { SetMessageWindows(previous_); }
  ScopedMessageWindows(const ScopedMessageWindows&) = delete;
  ScopedMessageWindows& operator=(const ScopedMessageWindows&) = delete;

 private:
  MessageWindowFactory* previous_;
};

}  // namespace platform
