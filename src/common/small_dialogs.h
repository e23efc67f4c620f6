// The small modal interactions every part of the program uses: pick one of
// the items of TextLines, answer yes/no/cancel, show an error or a message,
// and the main window's title. Program texts (code page 850) go in; they are
// converted for display here. A cancelled dialog sets AbortFlag and leaves
// the caller's variable as it was.
#pragma once

#include <cstdint>
#include <string>

#include "common/real.h"

namespace common {

// Lets the user pick entry 1..n of TextLines. index is 1-based in and out;
// outside 1..n it is first set to 1. Fewer than 8 items are offered as radio
// buttons, more as a list. Cancel sets AbortFlag and keeps index.
void SelectFromList(const std::string& caption, int n, int& index);

// Yes/No/Cancel with the program title as caption: true for Yes; Cancel
// sets AbortFlag.
bool AskYesNoCancel(const std::string& question);

// Yes or no (radio choice "&Yes"/"&No", preselected by flag); Cancel sets
// AbortFlag and keeps flag.
void AskYesNoBool(const std::string& question, bool& flag);

// One line of text, at most maxLength characters, starting with text; OK
// stores the entry (converted back to code page 850), Cancel sets AbortFlag
// and keeps text.
void InputText(const std::string& prompt, int maxLength, std::string& text);
// A real within [lo, hi]: a text that is no number counts as 0; a value
// outside shows "Valid Data are: lo .. hi !" and asks again.
void InputDouble(const std::string& prompt, Real& value, Real lo, Real hi);
// A length in mm within [lo, hi] mm, asked in the unit system's length:
// inch (" [inch]" after the prompt) with imperial units, else mm (" [mm]").
void InputLength(const std::string& prompt, Real& value, Real lo, Real hi);
// An integer within [a, b] (bounds in either order), asked like InputDouble.
void InputIntegerRange(const std::string& prompt, std::int32_t& n, std::int32_t a, std::int32_t b);
void InputWord(const std::string& prompt, std::uint16_t& n, std::uint16_t a, std::uint16_t b);

// Error box captioned "Error  : ", shown whatever MessagesEnabled says.
void ShowErrorBox(const std::string& text);
// Error box captioned "Error  : ", only while MessagesEnabled is set.
void ShowError(const std::string& text);
// Message box captioned "Message:".
void ShowMessageText(const std::string& text);

// The application title: ProgramTitle + "   V " + version without a data
// file; ProgramTitle + "  -  " + the file name (with the data-file
// extension unless the name has a '.') otherwise. Display text.
std::string UpdateAppTitle();

}  // namespace common
