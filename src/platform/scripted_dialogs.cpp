// Scripted answers to the user dialogs; see scripted_dialogs.h.
#include "platform/scripted_dialogs.h"

#include <stdexcept>

namespace platform {

namespace {

const char* KindName(ScriptedAnswer::Kind kind) {
  switch (kind) {
    case ScriptedAnswer::Kind::Cancel: return "Cancel";
    case ScriptedAnswer::Kind::Button: return "Button";
    case ScriptedAnswer::Kind::Choice: return "Choice";
    case ScriptedAnswer::Kind::Text: return "Text";
    case ScriptedAnswer::Kind::FileName: return "FileName";
    case ScriptedAnswer::Kind::Colour: return "Colour";
    case ScriptedAnswer::Kind::Font: return "Font";
  }
  return "?";
}

[[noreturn]] void Mismatch(const ScriptedAnswer& answer, const char* question, const std::string& text) {
  throw std::logic_error(std::string("scripted answer of kind ") + KindName(answer.kind) +
                         " does not fit the " + question + " \"" + text + "\"");
}

}  // namespace

DialogButton CancellingButton(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return DialogButton::Ok;
    case MessageButtons::YesNo: return DialogButton::No;
    case MessageButtons::YesNoCancel:
    case MessageButtons::RetryCancel: return DialogButton::Cancel;
  }
  return DialogButton::Cancel;
}

bool OffersButton(MessageButtons buttons, DialogButton button) {
  switch (buttons) {
    case MessageButtons::Ok: return button == DialogButton::Ok;
    case MessageButtons::YesNo: return button == DialogButton::Yes || button == DialogButton::No;
    case MessageButtons::YesNoCancel:
      return button == DialogButton::Yes || button == DialogButton::No || button == DialogButton::Cancel;
    case MessageButtons::RetryCancel: return button == DialogButton::Retry || button == DialogButton::Cancel;
  }
  return false;
}

ScriptedDialogs& ScriptedDialogs::Then(ScriptedAnswer answer) {
  queue_.push_back(std::move(answer));
  return *this;
}

ScriptedAnswer ScriptedDialogs::Next(AskedDialog& record) {
  if (queue_.empty()) {
    record.answered = false;
    return default_;
  }
  record.answered = true;
  ScriptedAnswer answer = std::move(queue_.front());
  queue_.pop_front();
  return answer;
}

DialogButton ScriptedDialogs::ShowMessage(const MessageRequest& request) {
  AskedDialog record;
  record.kind = AskedDialog::Kind::Message;
  record.caption = request.caption;
  record.text = request.text;
  record.messageKind = request.kind;
  record.buttons = request.buttons;
  if (request.buttons == MessageButtons::Ok) {
    // A box with only OK has nothing to decide and takes no answer.
    record.answered = true;
    asked_.push_back(record);
    return DialogButton::Ok;
  }
  ScriptedAnswer answer = Next(record);
  asked_.push_back(record);

  if (answer.kind == ScriptedAnswer::Kind::Button) {
    if (OffersButton(request.buttons, answer.button)) return answer.button;
    if (record.answered) Mismatch(answer, "message box", request.text);
  } else if (answer.kind != ScriptedAnswer::Kind::Cancel && record.answered) {
    Mismatch(answer, "message box", request.text);
  }
  return CancellingButton(request.buttons);
}

std::optional<int> ScriptedDialogs::ChooseItem(const ChoiceRequest& request) {
  AskedDialog record;
  record.kind = AskedDialog::Kind::Choice;
  record.caption = request.caption;
  record.text = request.prompt;
  record.items = request.items;
  record.preselected = request.preselected;
  record.style = request.style;
  ScriptedAnswer answer = Next(record);
  asked_.push_back(record);

  if (answer.kind == ScriptedAnswer::Kind::Cancel) return std::nullopt;
  if (answer.kind != ScriptedAnswer::Kind::Choice) {
    if (record.answered) Mismatch(answer, "choice", request.prompt);
    return std::nullopt;
  }
  const int count = static_cast<int>(request.items.size());
  if (!record.answered) {
    // A Choice default accepts what the dialog preselected.
    if (request.preselected >= 0 && request.preselected < count) return request.preselected;
    return std::nullopt;
  }
  if (answer.index < 0 || answer.index >= count)
    throw std::logic_error("scripted choice " + std::to_string(answer.index) + " outside the " +
                           std::to_string(count) + " items of \"" + request.prompt + "\"");
  return answer.index;
}

std::optional<std::string> ScriptedDialogs::InputText(const TextInputRequest& request) {
  AskedDialog record;
  record.kind = AskedDialog::Kind::TextInput;
  record.caption = request.caption;
  record.text = request.prompt;
  record.initial = request.initial;
  record.maxLength = request.maxLength;
  ScriptedAnswer answer = Next(record);
  asked_.push_back(record);

  if (answer.kind == ScriptedAnswer::Kind::Cancel) return std::nullopt;
  if (answer.kind != ScriptedAnswer::Kind::Text) {
    if (record.answered) Mismatch(answer, "text input", request.prompt);
    return std::nullopt;
  }
  // The edit field takes no more than maxLength characters.
  std::string text = answer.text;
  if (request.maxLength >= 0 && text.size() > static_cast<std::size_t>(request.maxLength))
    text.resize(static_cast<std::size_t>(request.maxLength));
  return text;
}

std::optional<std::string> ScriptedDialogs::FileName(AskedDialog record, const FileNameRequest& request) {
  record.caption = request.caption;
  record.text = request.fileName;
  record.initial = request.directory;
  record.filter = request.filter;
  ScriptedAnswer answer = Next(record);
  asked_.push_back(record);

  if (answer.kind == ScriptedAnswer::Kind::Cancel) return std::nullopt;
  if (answer.kind != ScriptedAnswer::Kind::FileName && answer.kind != ScriptedAnswer::Kind::Text) {
    if (record.answered) Mismatch(answer, "file dialog", request.caption);
    return std::nullopt;
  }
  return answer.text;
}

std::optional<std::string> ScriptedDialogs::OpenFileName(const FileNameRequest& request) {
  AskedDialog record;
  record.kind = AskedDialog::Kind::OpenFile;
  return FileName(std::move(record), request);
}

std::optional<std::string> ScriptedDialogs::SaveFileName(const FileNameRequest& request) {
  AskedDialog record;
  record.kind = AskedDialog::Kind::SaveFile;
  return FileName(std::move(record), request);
}

std::optional<std::uint32_t> ScriptedDialogs::ChooseColour(const std::string& caption, std::uint32_t initial) {
  AskedDialog record;
  record.kind = AskedDialog::Kind::Colour;
  record.caption = caption;
  record.colour = initial;
  ScriptedAnswer answer = Next(record);
  asked_.push_back(record);
  if (answer.kind == ScriptedAnswer::Kind::Colour) return answer.colour;
  if (answer.kind != ScriptedAnswer::Kind::Cancel && record.answered) Mismatch(answer, "colour dialog", caption);
  return std::nullopt;
}

std::optional<FontChoice> ScriptedDialogs::ChooseFont(const std::string& caption, const FontChoice& initial) {
  AskedDialog record;
  record.kind = AskedDialog::Kind::Font;
  record.caption = caption;
  record.font = initial;
  ScriptedAnswer answer = Next(record);
  asked_.push_back(record);
  if (answer.kind == ScriptedAnswer::Kind::Font) return answer.font;
  if (answer.kind != ScriptedAnswer::Kind::Cancel && record.answered) Mismatch(answer, "font dialog", caption);
  return std::nullopt;
}

void ScriptedDialogs::ShowTextPage(const std::string& caption, const std::vector<std::string>& lines) {
  AskedDialog record;
  record.kind = AskedDialog::Kind::TextPage;
  record.caption = caption;
  record.items = lines;
  record.answered = true;  // a page with only OK consumes no answer
  asked_.push_back(record);
}

}  // namespace platform
