// Scripted answers to the user dialogs (user_dialogs.h), for tests and the
// command-line batch mode: each question takes the next answer from a queue
// and is recorded with everything it showed; boxes with only OK and text
// pages have nothing to decide and take no answer. When the queue is empty the
// configurable default answer is given (by default the cancelling one), so a
// run without a user never waits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/user_dialogs.h"

namespace platform {

// One scripted answer. A Cancel answer fits every question (Cancel button,
// No for yes/no boxes; nothing for choices, inputs and file names). The other kinds fit their own questions only: a mismatch
// means the test script and the program disagree, and throws
// std::logic_error naming both.
struct ScriptedAnswer {
  enum class Kind { Cancel, Button, Choice, Text, FileName, Colour, Font };
  Kind kind = Kind::Cancel;
  DialogButton button = DialogButton::Cancel;  // Kind::Button
  int index = 0;                                // Kind::Choice, 0-based
  std::string text;                             // Kind::Text and Kind::FileName
  std::uint32_t colour = 0;                     // Kind::Colour, 0x00BBGGRR
  FontChoice font;                              // Kind::Font

  static ScriptedAnswer Cancel() { return {}; }
  static ScriptedAnswer Press(DialogButton b) {
    ScriptedAnswer a;
    a.kind = Kind::Button;
    a.button = b;
    return a;
  }
  static ScriptedAnswer Choose(int zeroBasedIndex) {
    ScriptedAnswer a;
    a.kind = Kind::Choice;
    a.button = DialogButton::Ok;
    a.index = zeroBasedIndex;
    return a;
  }
  static ScriptedAnswer Enter(std::string t) { return WithText(Kind::Text, std::move(t)); }
  static ScriptedAnswer File(std::string name) { return WithText(Kind::FileName, std::move(name)); }
  static ScriptedAnswer Colour(std::uint32_t c) {
    ScriptedAnswer a;
    a.kind = Kind::Colour;
    a.button = DialogButton::Ok;
    a.colour = c;
    return a;
  }
  static ScriptedAnswer Font(FontChoice f) {
    ScriptedAnswer a;
    a.kind = Kind::Font;
    a.button = DialogButton::Ok;
    a.font = std::move(f);
    return a;
  }

 private:
  static ScriptedAnswer WithText(Kind kind, std::string t) {
    ScriptedAnswer a;
    a.kind = kind;
    a.button = DialogButton::Ok;
    a.text = std::move(t);
    return a;
  }
};

// What the program asked, in order.
struct AskedDialog {
  enum class Kind { Message, Choice, TextInput, OpenFile, SaveFile, TextPage, Colour, Font };
  Kind kind = Kind::Message;
  std::string caption;
  std::string text;                // message text, prompt, or file preset name
  MessageKind messageKind = MessageKind::Plain;
  MessageButtons buttons = MessageButtons::Ok;
  std::vector<std::string> items;  // choice items or text-page lines
  int preselected = 0;
  ChoiceStyle style = ChoiceStyle::List;
  std::string initial;             // text input start text; file dialog directory
  int maxLength = 0;
  std::string filter;
  std::uint32_t colour = 0;        // the colour dialog's start colour
  FontChoice font;                 // the font dialog's start font
  bool answered = false;           // false when the default answer was used
};

class ScriptedDialogs : public UserDialogs {
 public:
  ScriptedDialogs() = default;

  // Appends answers to the queue.
  ScriptedDialogs& Then(ScriptedAnswer answer);

  // The answer used when the queue is empty (Cancel unless set). A Text or
  // FileName default is given to inputs and file dialogs; with a Choice
  // default the preselected item is chosen (whatever its index); a Button
  // default is used when the box offers it, otherwise the box's cancelling
  // button.
  void SetDefaultAnswer(ScriptedAnswer answer) { default_ = std::move(answer); }

  const std::vector<AskedDialog>& Asked() const { return asked_; }
  std::size_t PendingAnswers() const { return queue_.size(); }
  int Beeps() const { return beeps_; }
  bool BusyCursor() const { return busy_; }
  void ClearRecord() { asked_.clear(); beeps_ = 0; }

  DialogButton ShowMessage(const MessageRequest& request) override;
  std::optional<int> ChooseItem(const ChoiceRequest& request) override;
  std::optional<std::string> InputText(const TextInputRequest& request) override;
  std::optional<std::string> OpenFileName(const FileNameRequest& request) override;
  std::optional<std::string> SaveFileName(const FileNameRequest& request) override;
  std::optional<std::uint32_t> ChooseColour(const std::string& caption, std::uint32_t initial) override;
  std::optional<FontChoice> ChooseFont(const std::string& caption, const FontChoice& initial) override;
  void ShowTextPage(const std::string& caption, const std::vector<std::string>& lines) override;
  void Beep() override { ++beeps_; }
  void SetBusyCursor(bool busy) override { busy_ = busy; }

 private:
  // The next answer (queue or default); sets answered on the record.
  ScriptedAnswer Next(AskedDialog& record);
  std::optional<std::string> FileName(AskedDialog record, const FileNameRequest& request);

  std::deque<ScriptedAnswer> queue_;
  ScriptedAnswer default_;
  std::vector<AskedDialog> asked_;
  int beeps_ = 0;
  bool busy_ = false;
};

// The cancelling button of a button set (what Escape gives).
DialogButton CancellingButton(MessageButtons buttons);

// Whether the set offers the button.
bool OffersButton(MessageButtons buttons, DialogButton button);

}  // namespace platform
