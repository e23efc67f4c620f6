// Message explanations: lookup, the explanation form's sequence, the
// rewrite of one record and the post-calculation dialog; see message_help.h.
#include "common/message_help.h"

#include <utility>
#include <vector>

#include "common/code_page.h"
#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/text_file.h"
#include "common/text_utils.h"
#include "platform/file_system.h"

namespace common {

namespace {

const char* const kNoDescription = "no help description available for this error message.";

MessageHelpTexts PageView(const MessageHelpTexts& shown) {
  platform::Dialogs().ShowTextPage(shown.caption, {shown.messageLabel + ": " + shown.message, "",
                                                   shown.originLabel + ":", shown.origin, "",
                                                   shown.remedyLabel + ":", shown.remedy});
  MessageHelpTexts left = shown;
  left.changed = false;
  return left;
}

MessageHelpView g_view = PageView;

// A record's key line matches as the lookup matches it.
bool KeyMatches(const std::string& line, const std::string& message) {
  return ExplanationKey(line) == ExplanationKey(message);
}

std::string HeldMessage(int n) { return n >= 1 && n <= MsgCount ? MsgText[n] : std::string(); }

void ShowMessageBox(const std::string& caption, const std::string& text) {
  platform::Dialogs().ShowMessage(
      {caption, OemToDisplayText(text), platform::MessageKind::Plain, platform::MessageButtons::Ok});
}

// A display text as one line of the stored code page.
std::string StoredLine(const std::string& display) {
  std::string line = AnsiToOemText(display);
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n') line.erase(i, 1);
    if (line[i] == '\r' || line[i] == '\n') line[i] = ' ';
  }
  return line;
}

// The whole file as bytes; false on any read failure.
bool ReadBytes(const std::string& name, std::string& bytes, std::error_code& ec) {
  auto in = platform::Files().OpenRead(name, ec);
  if (!in) return false;
  char buffer[8192];
  for (;;) {
    const auto n = in->Read(buffer, sizeof buffer, ec);
    if (n < 0) return false;
    if (n == 0) return true;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

// One line of the file: its text and its end ("\r\n", "\n", "\r" or none).
struct RawLine {
  std::string text;
  std::string end;
};

std::vector<RawLine> SplitRaw(const std::string& bytes) {
  std::vector<RawLine> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t i = bytes.find_first_of("\r\n", start);
    RawLine line;
    if (i == std::string::npos) {
      line.text = bytes.substr(start);
      lines.push_back(std::move(line));
      break;
    }
    line.text = bytes.substr(start, i - start);
    const std::size_t endLength = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
    line.end = bytes.substr(i, endLength);
    lines.push_back(std::move(line));
    start = i + endLength;
  }
  return lines;
}

}  // namespace

MessageOriginRemedy ExplainMessage(const std::string& message) {
  MessageExplanation record;
  bool fileRead = false;
  if (FindMessageExplanation(message, record, fileRead)) return {record.origin, record.remedy};
  return {fileRead ? kNoDescription : "", ""};
}

MessageHelpView SetMessageHelpView(MessageHelpView view) {
  return std::exchange(g_view, view ? std::move(view) : MessageHelpView(PageView));
}

void ShowMessageHelp(int n) {
  TextFile file;
  ResetFileChecked(file, MessageExplanationFileName());
  if (AbortFlag) return;
  file.Discard();
  const MessageOriginRemedy found = ExplainMessage(HeldMessage(n));
  if (found.origin.empty() || found.origin == kNoDescription) {
    ShowMessageBox("Message", kNoDescription);
    return;
  }
  ShowMessageHelpForm(HeldMessage(n), found.origin, found.remedy);
}

void ShowMessageHelpForm(const std::string& message, const std::string& origin, const std::string& remedy) {
  MessageHelpTexts shown;
  shown.message = OemToDisplayText(message);
  shown.origin = OemToDisplayText(origin);
  shown.remedy = OemToDisplayText(remedy);
  shown.help = [](platform::HelpView) { ShowHelpText(1970, 1); };
  const MessageHelpTexts left = g_view(shown);
  if (!left.changed) return;
  const platform::DialogButton answer = platform::Dialogs().ShowMessage(
      {"Message:", "Save Changes ?", platform::MessageKind::Question, platform::MessageButtons::YesNo});
  if (answer != platform::DialogButton::Yes) return;
  RewriteMessageHelp(AnsiToOemText(left.message), StoredLine(left.origin), StoredLine(left.remedy));
}

bool RewriteMessageHelp(const std::string& message, const std::string& origin, const std::string& remedy) {
  const std::string name = MessageExplanationFileName();
  std::string bytes;
  std::error_code ec;
  if (!ReadBytes(name, bytes, ec)) {
    ShowFileFailure("read error", name, ec);
    return false;
  }
  std::vector<RawLine> lines = SplitRaw(bytes);
  std::size_t key = 0;
  while (key < lines.size() && !KeyMatches(lines[key].text, message)) ++key;
  if (key == lines.size()) {
    ShowMessageBox("Message", "explanation of \"" + ExplanationKey(message) + "\" not found.");
    return false;
  }
  // A record cut short at the end of the file gets its missing lines.
  while (lines.size() < key + 3) {
    if (lines.back().end.empty()) lines.back().end = "\r\n";
    lines.push_back({"", "\r\n"});
  }
  lines[key + 1].text = StoredLine(origin);
  lines[key + 2].text = StoredLine(remedy);
  std::string out;
  for (const auto& line : lines) out += line.text + line.end;
  platform::ReplacingFile file;
  if (!file.Open(name, ec) || !file.Write(out, ec) || !file.Commit(ec)) {
    file.Discard();
    ShowFileFailure("file write error", name, ec);
    return false;
  }
  return true;
}

void ShowCalculationMessages() {
  if (HasCommandLineParam("/NOGUI") || !MessagesEnabled) return;
  const int n = MsgCount;
  if (n == 0) {
    platform::Dialogs().ShowMessage({"Message:", "Calculation successful without error messages",
                                     platform::MessageKind::Information, platform::MessageButtons::Ok});
    return;
  }
  AbortFlag = 0;
  for (int i = 1; i <= n; ++i) TextLines[i] = MsgText[i];
  TextLines[n + 1] = "Continue...";
  SetHelpNumber(2070);
  int preselect = HelpLevel < 2 ? n + 1 : 1;
  while (!AbortFlag && preselect <= n + 1) {
    SetHelpNumber(1210);
    platform::ChoiceRequest request;
    request.caption = "Select";
    // A list that a writer or a reader added to (a CAD output refused) is
    // not the end of a calculation.
    request.prompt = ShownMessagesAreCalculated() ? "Calculation done. Select message for more info or continue."
                                                  : "Select message for more info or continue.";
    for (int i = 1; i <= n + 1; ++i) request.items.push_back(OemToDisplayText(TextLines[i]));
    request.preselected = preselect - 1;
    request.style = n + 1 >= 8 ? platform::ChoiceStyle::List : platform::ChoiceStyle::Radio;
    AttachCurrentHelp(request);
    const auto chosen = platform::Dialogs().ChooseItem(request);
    if (!chosen) {
      AbortFlag = 1;
      break;
    }
    const int index = *chosen + 1;
    if (index == n + 1) break;
    ShowMessageHelp(index);
    preselect = index + 1;
    if (preselect == n + 1) break;
  }
}

}  // namespace common
