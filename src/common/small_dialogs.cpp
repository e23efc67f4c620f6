// The small modal interactions; see small_dialogs.h.
#include "common/small_dialogs.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "common/code_page.h"
#include "common/file_checks.h"
#include "common/file_utils.h"
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
  AttachCurrentHelp(request);
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
      platform::Dialogs().ShowMessage({OemToDisplayText(ProgramTitle), MixedToDisplayText(question),
                                       platform::MessageKind::Question, platform::MessageButtons::YesNoCancel});
  if (answer == platform::DialogButton::Cancel) AbortFlag = 1;
  return answer == platform::DialogButton::Yes;
}

void ShowError(const std::string& text) { ShowFileError(text); }

void ShowMessageText(const std::string& text) {
  platform::Dialogs().ShowMessage(
      {"Message:", MixedToDisplayText(text), platform::MessageKind::Plain, platform::MessageButtons::Ok});
}

std::string UpdateAppTitle() {
  std::string title = OemToDisplayText(ProgramTitle);
  if (CurrentFileName.empty()) return title + "   V " + ProgramVersion;
  // The name is the file system's text, shown as it is.
  return title + "  -  " + DesignFileName(CurrentFileName);
}

}  // namespace common
