// The clipboard as the point dialogs use it: one text that a copy replaces
// and a paste reads. The core reaches it only through this interface; the
// headless default keeps the text inside the program (batch runs, tests),
// the Qt implementation (qt/qt_clipboard.h) uses the desktop's clipboard and
// is installed by the windowing start-up. Texts crossing it are UTF-8.
#pragma once

#include <string>

namespace platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The clipboard's text; empty when it holds none.
  virtual std::string Text() = 0;
  // Replaces the clipboard's contents by the text.
  virtual void SetText(const std::string& text) = 0;
};

// A clipboard inside the program: what was set is what is read.
class MemoryClipboard : public Clipboard {
 public:
  std::string Text() override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }

 private:
  std::string text_;
};

// The clipboard in use (an in-program one until another is installed).
Clipboard& SystemClipboard();
// Installs a clipboard (not owned); nullptr returns to the in-program one.
// Returns the previous one.
Clipboard* SetClipboard(Clipboard* clipboard);

// Installs a clipboard for the lifetime of the object (tests).
class ScopedClipboard {
 public:
  explicit ScopedClipboard(Clipboard& clipboard) : previous_(SetClipboard(&clipboard)) {}
  ~ScopedClipboard() { SetClipboard(previous_); }
  ScopedClipboard(const ScopedClipboard&) = delete;
  ScopedClipboard& operator=(const ScopedClipboard&) = delete;

 private:
  Clipboard* previous_;
};

}  // namespace platform
