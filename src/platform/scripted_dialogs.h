// Scripted answers to the user dialogs (user_dialogs.h), for tests and the
// command-line batch mode: each question takes the next answer from a queue
// and is recorded with everything it showed; boxes with only OK and text
// pages have nothing to decide and take no answer. When the queue is empty the
// configurable default answer is given (by default the cancelling one), so a
// run without a user never waits.
#pragma once

#include <cstddef>
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
  enum class Kind { Cancel, Button, Choice, Text, FileName };
  Kind kind = Kind::Cancel;
  DialogButton button = DialogButton::Cancel;  // Kind::Button
  int index = 0;                                // Kind::Choice, 0-based
  std::string text;                             // Kind::Text and Kind::FileName

  static ScriptedAnswer Cancel() { return {}; }
  static ScriptedAnswer Press(DialogButton b) { return {Kind::Button, b, 0, {}}; }
  static ScriptedAnswer Choose(int zeroBasedIndex) { return {Kind::Choice, DialogButton::Ok, zeroBasedIndex, {}}; }
  static ScriptedAnswer Enter(std::string t) { return {Kind::Text, DialogButton::Ok, 0, std::move(t)}; }
  static ScriptedAnswer File(std::string name) { return {Kind::FileName, DialogButton::Ok, 0, std::move(name)}; }
};

// What the program asked, in order.
struct AskedDialog {
  enum class Kind { Message, Choice, TextInput, OpenFile, SaveFile, TextPage };
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
