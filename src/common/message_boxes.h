// The program's message boxes and cursor calls beyond the most used ones of
// small_dialogs.h: messages by kind, unconditional error boxes, information,
// the application's box, the archive-mode refusal, the 22-line screen page.
// Program texts (code page 850) go in and are converted for display here;
// the boxes go through the platform dialogs (platform/user_dialogs.h).
#pragma once

#include <string>

namespace common {

// Caption "Error  : " for kind 12, "Help" for kind 3, "Message:" otherwise.
void ShowMessageKind(const std::string& text, int kind);
// Kind 12, shown even while MessagesEnabled is 0.
void ShowErrorBox(const std::string& text);
// Kind 11.
void ShowInfo(const std::string& text);
// The application's message box with both texts converted.
void ShowAppMessage(const std::string& text, const std::string& caption);
// The plain message with the converted text, the program title as caption.
void ShowMessageConverted(const std::string& text);
// Shows nothing: notes such as a file being loaded are not displayed.
void ShowNoteNoop(const std::string& text);
// "Option is not available in archive mode." through ShowError.
void ShowArchiveModeRefusal();
// TextLines 1..22 on a page captioned ProductCode, with OK.
void ShowScreenForm();

// Hour-glass and arrow cursors.
void CursorHourglass();
void CursorArrow();
void CursorArrow2();
// Called before large allocations; nothing to check here.
void CheckMemory();

}  // namespace common
