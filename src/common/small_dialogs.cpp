// The small modal interactions; see small_dialogs.h.
#include "common/small_dialogs.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "common/code_page.h"
#include "common/file_checks.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "platform/user_dialogs.h"

namespace common {

void SelectFromList(const std::string& caption, int n, int& index) {
  if (n < 1) {
    AbortFlag = 1;
    return;
  }
  const int shown = (index < 1 || index > n) ? 1 : index;
  platform::ChoiceRequest request;
  request.caption = "Select";
  request.prompt = OemToDisplayText(caption);
  request.groupCaption = "Select";
  for (int i = 1; i <= n && i <= TextLineCount; ++i) request.items.push_back(OemToDisplayText(TextLines[i]));
  request.preselected = shown - 1;
  request.style = n >= 8 ? platform::ChoiceStyle::List : platform::ChoiceStyle::Radio;
  request.help = CurrentHelpAction();
  const std::optional<int> chosen = platform::Dialogs().ChooseItem(request);
  if (!chosen || *chosen < 0 || *chosen >= n) {
    AbortFlag = 1;
    return;
  }
  AbortFlag = 0;
  index = *chosen + 1;
}

bool AskYesNoCancel(const std::string& question) {
  const platform::DialogButton answer =
      platform::Dialogs().ShowMessage({OemToDisplayText(ProgramTitle), OemToDisplayText(question),
                                       platform::MessageKind::Question, platform::MessageButtons::YesNoCancel});
  if (answer == platform::DialogButton::Cancel) AbortFlag = 1;
  return answer == platform::DialogButton::Yes;
}

void AskYesNoBool(const std::string& question, bool& flag) {
  platform::ChoiceRequest request;
  request.caption = "Input";
  request.prompt = OemToDisplayText(question);
  request.groupCaption = "Select";
  request.items = {"&Yes", "&No"};
  request.preselected = flag ? 0 : 1;
  request.style = platform::ChoiceStyle::Radio;
  request.help = CurrentHelpAction();
  const std::optional<int> chosen = platform::Dialogs().ChooseItem(request);
  if (!chosen || *chosen < 0 || *chosen > 1) {
    AbortFlag = 1;
    return;
  }
  AbortFlag = 0;
  flag = *chosen == 0;
}

namespace {

// The text dialog; nothing when it was cancelled (AbortFlag set).
std::optional<std::string> AskText(const std::string& prompt, int maxLength, const std::string& initial) {
  platform::TextInputRequest request;
  request.caption = "Input";
  request.prompt = OemToDisplayText(prompt);
  request.initial = OemToDisplayText(initial);
  request.maxLength = maxLength;
  request.help = CurrentHelpAction();
  const std::optional<std::string> entered = platform::Dialogs().InputText(request);
  if (!entered) {
    AbortFlag = 1;
    return std::nullopt;
  }
  AbortFlag = 0;
  return AnsiToOemText(entered->substr(0, static_cast<std::size_t>(std::max(maxLength, 0))));
}

void RefuseOutOfRange(const std::string& lo, const std::string& hi) {
  platform::Dialogs().Beep();
  ShowErrorBox("Valid Data are: " + lo + " .. " + hi + " !");
}

}  // namespace

void InputText(const std::string& prompt, int maxLength, std::string& text) {
  if (const auto entered = AskText(prompt, maxLength, text)) text = *entered;
}

void InputDouble(const std::string& prompt, Real& value, Real lo, Real hi) {
  Real working = value;
  for (;;) {
    const auto entered = AskText(prompt, 30, RealToText(working));
    if (!entered) return;
    if (*entered != RealToText(working)) working = TextToReal(*entered);
    if (working >= lo && working <= hi) {
      value = working;
      return;
    }
    RefuseOutOfRange(RealToText(lo), RealToText(hi));
  }
}

void InputLength(const std::string& prompt, Real& value, Real lo, Real hi) {
  const bool inch = UnitSystem == UnitsImperial;
  const Real factor = inch ? 25.4L : 1;
  Real shown = value / factor;
  InputDouble(prompt + (inch ? " [inch]" : " [mm]"), shown, lo / factor, hi / factor);
  if (AbortFlag == 0) value = shown * factor;
}

void InputIntegerRange(const std::string& prompt, std::int32_t& n, std::int32_t a, std::int32_t b) {
  if (a > b) std::swap(a, b);
  std::int32_t working = n;
  for (;;) {
    const auto entered = AskText(prompt, 12, std::to_string(working));
    if (!entered) return;
    working = TextToInt(*entered);
    if (working >= a && working <= b) {
      n = working;
      return;
    }
    RefuseOutOfRange(std::to_string(a), std::to_string(b));
  }
}

void InputWord(const std::string& prompt, std::uint16_t& n, std::uint16_t a, std::uint16_t b) {
  std::int32_t value = n;
  InputIntegerRange(prompt, value, a, b);
  if (AbortFlag == 0) n = static_cast<std::uint16_t>(value);
}

void ShowErrorBox(const std::string& text) {
  platform::Dialogs().ShowMessage(
      {"Error  : ", OemToDisplayText(text), platform::MessageKind::Error, platform::MessageButtons::Ok});
}

void ShowError(const std::string& text) { ShowFileError(text); }

void ShowMessageText(const std::string& text) {
  platform::Dialogs().ShowMessage(
      {"Message:", OemToDisplayText(text), platform::MessageKind::Plain, platform::MessageButtons::Ok});
}

std::string UpdateAppTitle() {
  std::string title = OemToDisplayText(ProgramTitle);
  if (CurrentFileName.empty()) return title + "   V " + ProgramVersion;
  if (CurrentFileName.find('.') != std::string::npos) return title + "  -  " + OemToDisplayText(CurrentFileName);
  return title + "  -  " + OemToDisplayText(CurrentFileName) + "." + DataFileExtension;
}

}  // namespace common
