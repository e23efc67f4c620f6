// The small input dialogs; see input_dialogs.h.
#include "common/input_dialogs.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "common/code_page.h"
#include "common/file_utils.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/message_boxes.h"
#include "common/number_format.h"
#include "common/small_dialogs.h"
#include "common/value_edit.h"
#include "platform/user_dialogs.h"

namespace common {

namespace {

// One showing of the text dialog; nothing on Cancel (AbortFlag then set).
// A program text is shown and taken back in code page 850; a file's or a
// folder's name (fileName) is the file system's text and stays as it is.
std::optional<std::string> AskText(const std::string& prompt, const std::string& initial, int maxLength,
                                   bool fileName = false) {
  platform::TextInputRequest request;
  request.caption = "Input";
  request.prompt = OemToDisplayText(prompt);
  request.initial = fileName ? initial : OemToDisplayText(initial);
  request.maxLength = maxLength;
  AttachCurrentHelp(request);
  std::optional<std::string> entered = platform::Dialogs().InputText(request);
  if (!entered) {
    AbortFlag = 1;
    return std::nullopt;
  }
  AbortFlag = 0;
  return fileName ? *entered : AnsiToOemText(*entered);
}

// A text that is no number ("abc", "1e999") would read as 0 and pass a
// range that holds 0: refused with the message of the forms, naming the
// question, which is asked again with what it showed.
bool NumberEntered(const std::string& prompt, const std::string& entered, const std::string& shown, bool whole) {
  std::string text = OemToDisplayText(entered);
  const std::string field = OemToDisplayText(prompt);
  const std::string old = OemToDisplayText(shown);
  return whole ? AcceptWholeNumberText(field, text, old) : AcceptNumberText(field, text, old);
}

void RefuseRange(const std::string& lo, const std::string& hi) {
  platform::Dialogs().Beep();
  ShowErrorBox("Valid Data are: " + lo + " .. " + hi + " !");
}

// The loop of the real inputs: the working value shown by format; an
// unchanged text keeps the working value (the shown digits may be fewer).
void RealLoop(const std::string& prompt, Real& value, Real lo, Real hi, std::string (*format)(Real)) {
  // A reversed pair of bounds would refuse every value: taken in order.
  if (lo > hi) std::swap(lo, hi);
  Real working = value;
  while (true) {
    const std::string shown = format(working);
    const std::optional<std::string> text = AskText(prompt, shown, 30);
    if (!text) return;
    if (*text != shown) {
      if (!NumberEntered(prompt, *text, shown, false)) continue;
      working = TextToReal(*text);
    }
    if (working >= lo && working <= hi) {
      value = working;
      return;
    }
    RefuseRange(format(lo), format(hi));
  }
}

std::string Format3(Real x) { return RealToText(x); }
std::string Format6(Real x) { return RealToText6(x); }

void LengthInput(const std::string& prompt, Real& value, Real lo, Real hi, std::string (*format)(Real)) {
  if (UnitSystem == UnitsImperial) {
    Real inches = value / 25.4L;
    const Real before = inches;
    RealLoop(prompt + " [inch]", inches, lo / 25.4L, hi / 25.4L, format);
    if (!AbortFlag && inches != before) value = inches * 25.4L;
    return;
  }
  RealLoop(prompt + " [mm]", value, lo, hi, format);
}

}  // namespace

void AskYesNo(const std::string& question, char& answer) {
  platform::ChoiceRequest request;
  request.caption = "Input";
  request.prompt = MixedToDisplayText(question);
  request.groupCaption = "Select";
  request.items = {"&Yes", "&No"};
  request.preselected = (answer == 'N' || answer == 'n') ? 1 : 0;
  request.style = platform::ChoiceStyle::Radio;
  AttachCurrentHelp(request);
  const std::optional<int> chosen = platform::Dialogs().ChooseItem(request);
  if (!chosen) {
    AbortFlag = 1;
    return;
  }
  AbortFlag = 0;
  answer = *chosen == 1 ? 'N' : 'J';
}

void AskYesNoBool(const std::string& question, bool& flag) {
  char answer = flag ? 'J' : 'N';
  AskYesNo(question, answer);
  if (!AbortFlag) flag = answer == 'J';
}

bool AskYesNoCancel2(const std::string& question) { return AskYesNoCancel(question); }

void InputTextEx(const std::string& prompt, int maxLength, std::string& text) {
  if (const auto entered = AskText(prompt, text, maxLength)) text = *entered;
}

void InputText(const std::string& prompt, int maxLength, std::string& text) { InputTextEx(prompt, maxLength, text); }

void InputFileName(const std::string& prompt, int maxLength, std::string& name) {
  if (const auto entered = AskText(prompt, name, maxLength, true)) name = *entered;
}

void InputReal(const std::string& prompt, Real& value, Real lo, Real hi) { RealLoop(prompt, value, lo, hi, Format3); }
void InputRealB(const std::string& prompt, Real& value, Real lo, Real hi) { RealLoop(prompt, value, lo, hi, Format6); }

void InputDouble(const std::string& prompt, double& value, double lo, double hi) {
  Real v = value;
  RealLoop(prompt, v, lo, hi, Format3);
  if (!AbortFlag) value = static_cast<double>(v);
}

void InputDouble(const std::string& prompt, Real& value, Real lo, Real hi) { RealLoop(prompt, value, lo, hi, Format3); }

void InputLength(const std::string& prompt, Real& value, Real lo, Real hi) {
  LengthInput(prompt, value, lo, hi, Format3);
}
void InputLengthB(const std::string& prompt, Real& value, Real lo, Real hi) {
  LengthInput(prompt, value, lo, hi, Format6);
}

void InputIntegerRange(const std::string& prompt, std::int32_t& n, std::int32_t a, std::int32_t b) {
  if (a > b) std::swap(a, b);
  std::int32_t working = n;
  while (true) {
    const std::string shown = IntToText(working);
    const std::optional<std::string> text = AskText(prompt, shown, 12);
    if (!text) return;
    if (!NumberEntered(prompt, *text, shown, true)) continue;
    working = TextToInt(*text);
    if (working >= a && working <= b) {
      n = working;
      return;
    }
    RefuseRange(IntToText(a), IntToText(b));
  }
}

void InputInteger(const std::string& prompt, std::int32_t& n, std::int32_t a, std::int32_t b) {
  InputIntegerRange(prompt, n, a, b);
}

void InputWord(const std::string& prompt, std::uint16_t& n, std::uint16_t a, std::uint16_t b) {
  std::int32_t v = n;
  InputIntegerRange(prompt, v, a, b);
  if (!AbortFlag) n = static_cast<std::uint16_t>(v);
}

bool InputUserId() {
  SetHelpNumber(1120);
  std::string entry;
  InputFileName("Enter User ID ...", 8, entry);
  if (AbortFlag) return false;
  DataDirectory = entry;
  std::error_code ec;
  if (!ProgramDirectory.empty()) {
    std::filesystem::current_path(ProgramDirectory, ec);
    if (ec) ShowError("Invalid Directory " + ProgramDirectory);
  }
  // A single folder name below the program directory: no separators, no
  // drive, not "." or "..".
  const bool plainName = !entry.empty() && entry != "." && entry != ".." &&
                         entry.find_first_of("/\\:") == std::string::npos;
  const std::string folder = AddBackslash(ProgramDirectory) + entry;
  if (!plainName || !DirectoryReachable(folder)) {
    ShowError("Invalid user ID " + entry + " !");
    return false;
  }
  return true;
}

}  // namespace common
