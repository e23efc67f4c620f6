// The small modal interactions every part of the program uses: pick one of
// the items of TextLines, answer yes/no/cancel, show an error or a message,
// and the main window's title. Program texts (code page 850) go in; they are
// converted for display here, and a file name within them (the file
// system's text, UTF-8) is shown as it is (MixedToDisplayText). A cancelled dialog sets AbortFlag and leaves
// the caller's variable as it was.
#pragma once

#include <cstdint>
#include <string>

#include "common/input_dialogs.h"
#include "common/message_boxes.h"
#include "common/real.h"

namespace common {

// Lets the user pick entry 1..n of TextLines. index is 1-based in and out;
// outside 1..n it is first set to 1. Fewer than 8 items are offered as radio
// buttons, more as a list. Cancel sets AbortFlag and keeps index.
void SelectFromList(const std::string& caption, int n, int& index);

// Yes/No/Cancel with the program title as caption: true for Yes; Cancel
// sets AbortFlag.
bool AskYesNoCancel(const std::string& question);

// The yes/no question, the text, real and integer inputs are in
// input_dialogs.h, the further message boxes in message_boxes.h.

// Error box captioned "Error  : ", only while MessagesEnabled is set.
void ShowError(const std::string& text);
// Message box captioned "Message:".
void ShowMessageText(const std::string& text);

// The application title: ProgramTitle + "   V " + version without a data
// file; ProgramTitle + "  -  " + the file name as the file system holds it
// (with the data-file extension unless the name has it already) otherwise.
// Display text.
std::string UpdateAppTitle();

}  // namespace common
