// The message-window factory in use, its headless default and the recording
// implementation.
#include "platform/message_windows.h"

namespace platform {

namespace {

class SilentWindow : public MessageWindow {
 public:
  void ShowText(const std::string&, const std::string&) override {}
};

class SilentWindows : public MessageWindowFactory {
 public:
  std::unique_ptr<MessageWindow> Create() override { return std::make_unique<SilentWindow>(); }
};

SilentWindows& Silent() {
  static SilentWindows silent;
  return silent;
}

MessageWindowFactory* Installed = nullptr;

}  // namespace

MessageWindowFactory& MessageWindows() { return Installed != nullptr ? *Installed : Silent(); }

MessageWindowFactory* SetMessageWindows(MessageWindowFactory* factory) {
  MessageWindowFactory* previous = Installed;
  Installed = factory;
  return previous;
}

class RecordingMessageWindows::Window : public MessageWindow {
 public:
  Window(RecordingMessageWindows& owner, int number) : owner_(owner), number_(number) { ++owner_.open_; }
  ~Window() override { --owner_.open_; }
  void ShowText(const std::string& caption, const std::string& text) override {
    owner_.shown_.push_back({number_, caption, text});
  }

 private:
  RecordingMessageWindows& owner_;
  int number_;
};

std::unique_ptr<MessageWindow> RecordingMessageWindows::Create() {
  return std::make_unique<Window>(*this, ++created_);
}

}  // namespace platform
