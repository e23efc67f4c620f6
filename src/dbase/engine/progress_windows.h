// The windows long table operations show while they work: TTzMsg shows a
// text, TTzProgress100 a bar of 100 marks that loses one mark per Step (and
// is refilled when empty). The windows themselves belong to the platform
// (platform/message_windows.h): nothing is shown in tests and batch runs.
#pragma once

#include <memory>
#include <string>

#include "platform/message_windows.h"

namespace dbase {

class TTzMsg {
 public:
  TTzMsg();
  virtual ~TTzMsg();
  TTzMsg(const TTzMsg&) = delete;
  TTzMsg& operator=(const TTzMsg&) = delete;

  // Shows the text (engine text); an empty text keeps the current one.
  void ShowText(const std::string& text);
  const std::string& Text() const { return text_; }
  const std::string& Caption() const { return caption_; }

 protected:
  std::string caption_;

 private:
  std::string text_;
  std::unique_ptr<platform::MessageWindow> window_;
};

class TTzProgress100 : public TTzMsg {
 public:
  static constexpr int kMarks = 100;

  explicit TTzProgress100(const std::string& caption = "Progress");
  // One mark less; an empty bar starts again with all marks.
  void Step();
  const std::string& Bar() const { return bar_; }

 private:
  std::string bar_;
};

}  // namespace dbase
