// The generic input/output form's tables and the rules of its keys and
// buttons; see online_form.h.
#include "common/online_form.h"

#include <algorithm>
#include <utility>

#include "common/aux_images.h"
#include "common/code_page.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/message_help.h"
#include "common/message_list.h"
#include "platform/user_dialogs.h"

namespace common {

std::uint16_t OnlineInputCount = 12;
std::uint16_t OnlineOutputCount = 12;
RangeArray<std::string, 1, OnlineRowCount> OnlineInputLabels;
RangeArray<std::string, 1, OnlineRowCount> OnlineInputValues;
RangeArray<std::string, 1, OnlineRowCount> OnlineInputUnits;
RangeArray<std::string, 1, OnlineRowCount> OnlineOutputLabels;
RangeArray<std::string, 1, OnlineRowCount> OnlineOutputValues;
RangeArray<std::string, 1, OnlineRowCount> OnlineOutputUnits;
std::string OnlineTitle = "Online Input";
RangeArray<std::uint8_t, 1, OnlineRowCount> OnlineRowOrder;
std::int32_t OnlineLeft = 12;
std::int32_t OnlineTop = 26;
std::int32_t OnlineLastKey = 0;
RangeArray<std::int32_t, 1, OnlineRowCount> OnlineIds;

namespace {

std::uint8_t g_messagesEnabledFound = 1;

std::string RowText(const std::string& label, const std::string& value, const std::string& unit) {
  std::string text = OemToDisplayText(label) + " = " + OemToDisplayText(value);
  if (!unit.empty()) text += " " + OemToDisplayText(unit);
  return text;
}

// Without a window: the input rows as a choice (outputs and messages in the
// prompt), then the chosen row's new value. Cancelling the choice is
// "&Close", cancelling the value Escape.
OnlineFormResult DialogView(int row, int /*helpBase*/) {
  OnlineFormResult result;
  result.row = row;
  result.edits = OnlineInputValues;
  platform::ChoiceRequest choice;
  choice.caption = OemToDisplayText(OnlineTitle);
  std::string prompt = " Input ";
  if (OnlineShowsOutputs()) {
    for (int m = 1; m <= OnlineOutputCount; ++m)
      prompt += "\n" + RowText(OnlineOutputLabels[m], OnlineOutputValues[m], OnlineOutputUnits[m]);
    for (int k = 1; k <= MsgCount; ++k) prompt += "\n" + OemToDisplayText(MsgText[k]);
  }
  choice.prompt = prompt;
  for (int n = 1; n <= OnlineInputCount; ++n)
    choice.items.push_back(RowText(OnlineInputLabels[n], OnlineInputValues[n], OnlineInputUnits[n]));
  choice.preselected = row >= 1 && row <= OnlineInputCount ? row - 1 : 0;
  choice.style = OnlineInputCount >= 8 ? platform::ChoiceStyle::List : platform::ChoiceStyle::Radio;
  AttachCurrentHelp(choice);
  const auto chosen = platform::Dialogs().ChooseItem(choice);
  if (!chosen) {
    result.exit = OnlineExit::Close;
    return result;
  }
  result.row = *chosen + 1;
  platform::TextInputRequest input;
  input.caption = choice.caption;
  input.prompt = OemToDisplayText(OnlineInputLabels[result.row]);
  if (!OnlineInputUnits[result.row].empty()) input.prompt += " [" + OemToDisplayText(OnlineInputUnits[result.row]) + "]";
  input.initial = OemToDisplayText(OnlineInputValues[result.row]);
  input.maxLength = 30;
  input.help = choice.help;
  const auto entered = platform::Dialogs().InputText(input);
  if (!entered) {
    result.exit = OnlineExit::Escape;
    return result;
  }
  result.edits[result.row] = AnsiToOemText(*entered);
  result.exit = OnlineExit::Enter;
  return result;
}

OnlineFormView g_view = DialogView;

}  // namespace

void ResetOnlineData() {
  OnlineInputCount = 12;
  OnlineOutputCount = 12;
  for (auto* table : {&OnlineInputLabels, &OnlineInputValues, &OnlineInputUnits, &OnlineOutputLabels,
                      &OnlineOutputValues, &OnlineOutputUnits})
    table->fill(std::string());
  OnlineTitle = "Online Input";
  for (int i = 1; i <= OnlineRowCount; ++i) OnlineRowOrder[i] = static_cast<std::uint8_t>(i);
  OnlineLeft = 12;
  OnlineTop = 26;
  OnlineLastKey = 0;
  OnlineClearIds();
}

namespace {
const bool kInitialised = (ResetOnlineData(), true);
}  // namespace

void OnlineClearIds() { OnlineIds.fill(0); }

void OnlineSetRowOrder(int row, int order) {
  if (row >= 1 && row <= OnlineRowCount) OnlineRowOrder[row] = static_cast<std::uint8_t>(order);
}

void OnlineBegin(const std::string& title, int inputCount, int outputCount) {
  OnlineInputCount = static_cast<std::uint16_t>(std::clamp(inputCount, 0, OnlineRowCount));
  OnlineOutputCount = static_cast<std::uint16_t>(std::clamp(outputCount, 0, OnlineRowCount));
  OnlineTitle = title;
  ClearErrorMessages();
  g_messagesEnabledFound = MessagesEnabled;
  MessagesEnabled = 0;
  OnlineRowOrder.fill(12);
}

void OnlineHookInputs() {}
void OnlineHookOutputs() {}
void OnlineHookErrors() {}
void OnlineClearMessages() { ClearErrorMessages(); }

void OnlineShow(int& row, int helpBase, int& changed) {
  const int count = OnlineInputCount;
  if (OnlineLastKey == OnlineKeyUp && row >= 2) --row;
  if (OnlineLastKey == OnlineKeyDown && row < count) ++row;
  OnlineLastKey = 0;
  if (row < 1 || row > count) row = count >= 1 ? 1 : 0;

  OnlineFormResult result = g_view(row, helpBase);
  int ended = result.row;
  switch (result.exit) {
    case OnlineExit::Escape:
      AbortFlag = 1;
      break;
    case OnlineExit::Enter:
    case OnlineExit::Ok:
      AbortFlag = 0;
      OnlineInputValues = result.edits;
      break;
    case OnlineExit::Close:
      OnlineInputValues = result.edits;
      AbortFlag = 1;
      break;
    case OnlineExit::SwitchUnits:
      SwitchUnitSystem();
      OnlineInputValues = result.edits;
      AbortFlag = 0;
      break;
    case OnlineExit::ArrowUp:
    case OnlineExit::ArrowDown: {
      const bool up = result.exit == OnlineExit::ArrowUp;
      const int next = result.row + (up ? -1 : 1);
      if (next >= 1 && next <= count) {
        OnlineLastKey = up ? OnlineKeyUp : OnlineKeyDown;
        ended = next;
      }
      AbortFlag = 0;
      OnlineInputValues = result.edits;
      break;
    }
  }
  // The focus moved with the arrow; the row edited is the one it came from.
  if (OnlineLastKey == OnlineKeyDown && ended >= 2) --ended;
  if (OnlineLastKey == OnlineKeyUp && ended < count) ++ended;
  row = ended;
  OnlineSetRowOrder(row, 1);
  changed = 1;
}

void OnlineEnd() {
  MessagesEnabled = g_messagesEnabledFound;
  AbortFlag = 0;
}

OnlineFormView SetOnlineFormView(OnlineFormView view) {
  return std::exchange(g_view, view ? std::move(view) : OnlineFormView(DialogView));
}

void OnlineShowHelp() { ShowHelpText(1000, 1); }

void OnlineShowRowPicture(int row, int helpBase) { ShowHelpText((row - 1) * 5 + helpBase, 2); }

bool OnlineRowHasPicture(int row, int helpBase) { return HelpHasPicture((row - 1) * 5 + helpBase); }

void OnlineShowAuxImages() { RunAuxImages(ProgramName); }

std::string OnlineInputHint(int helpBase, int n) { return GetHelpText(helpBase + 5 * (n - 1)); }

std::string OnlineOutputHint(int helpBase, int m) {
  const int e = helpBase % 100 != 0 ? 75 : 70;
  return GetHelpText(helpBase + e + 2 * (m - 1));
}

std::string OnlineErrorHint(int k) { return OemToDisplayText(GetMessageHelpText(k)); }

bool OnlineShowsOutputs() { return !SmallOnlineWindow; }

void SwitchUnitSystem() { UnitSystem = UnitSystem == UnitsImperial ? UnitsMetric : UnitsImperial; }

}  // namespace common
