// Message boxes and cursors; see message_boxes.h.
#include "common/message_boxes.h"

#include "common/code_page.h"
#include "common/kaldvar.h"
#include "common/small_dialogs.h"
#include "platform/user_dialogs.h"

namespace common {

namespace {
void Box(const std::string& caption, const std::string& text, platform::MessageKind kind) {
  platform::Dialogs().ShowMessage({caption, text, kind, platform::MessageButtons::Ok});
}
}  // namespace

void ShowMessageKind(const std::string& text, int kind) {
  if (kind == 12)
    Box("Error  : ", MixedToDisplayText(text), platform::MessageKind::Error);
  else if (kind == 3)
    Box("Help", MixedToDisplayText(text), platform::MessageKind::Information);
  else
    Box("Message:", MixedToDisplayText(text),
        kind == 11 ? platform::MessageKind::Information : platform::MessageKind::Plain);
}

void ShowErrorBox(const std::string& text) { ShowMessageKind(text, 12); }
void ShowInfo(const std::string& text) { ShowMessageKind(text, 11); }

void ShowAppMessage(const std::string& text, const std::string& caption) {
  Box(OemToDisplayText(caption), MixedToDisplayText(text), platform::MessageKind::Plain);
}

void ShowMessageConverted(const std::string& text) {
  Box(OemToDisplayText(ProgramTitle), MixedToDisplayText(text), platform::MessageKind::Plain);
}

void ShowNoteNoop(const std::string&) {}

void ShowArchiveModeRefusal() { ShowError("Option is not available in archive mode."); }

void ShowScreenForm() {
  std::vector<std::string> lines;
  for (int i = 1; i <= 22; ++i) lines.push_back(OemToDisplayText(TextLines[i]));
  platform::Dialogs().ShowTextPage(OemToDisplayText(ProductCode), lines);
}

void CursorHourglass() { platform::Dialogs().SetBusyCursor(true); }
void CursorArrow() { platform::Dialogs().SetBusyCursor(false); }
void CursorArrow2() { CursorArrow(); }
void CheckMemory() {}

}  // namespace common
