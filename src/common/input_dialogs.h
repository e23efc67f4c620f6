// The small input dialogs: yes/no questions, a line of text, reals and
// lengths within bounds, integers within bounds, and the user ID at start.
// Every one speaks to its caller the same way: OK stores the answer and
// clears AbortFlag; Cancel (Escape) sets AbortFlag and leaves the caller's
// variable as it was. Out-of-range numbers are refused with "Valid Data
// are: lo .. hi !" and asked again. Prompts are program texts (code page
// 850), converted for display; entered text is converted back. The dialogs
// carry the help buttons of the current HelpNumber (help_text.h).
#pragma once

#include <cstdint>
#include <string>

#include "common/real.h"

namespace common {

// answer 'J' (yes) or 'N' (no); "&No" is preselected when it comes in as
// 'N' or 'n'.
void AskYesNo(const std::string& question, char& answer);
void AskYesNoBool(const std::string& question, bool& flag);
// Forwards to AskYesNoCancel (small_dialogs.h).
bool AskYesNoCancel2(const std::string& question);

// At most maxLength characters, starting with text.
void InputText(const std::string& prompt, int maxLength, std::string& text);
void InputTextEx(const std::string& prompt, int maxLength, std::string& text);
// The same for the name of a file or a folder: shown and taken as the file
// system holds it (UTF-8), not through the program's code page, so that
// "/home/jürgen" names that folder.
void InputFileName(const std::string& prompt, int maxLength, std::string& name);

// The value shown with 3 significant digits (RealToText); the bounds in
// either order. A text that is no number, or no finite one, is refused with
// a message naming the question (value_edit.h), which is asked again; so is
// a value outside the bounds.
void InputReal(const std::string& prompt, Real& value, Real lo, Real hi);
// The same with 6 significant digits.
void InputRealB(const std::string& prompt, Real& value, Real lo, Real hi);
void InputDouble(const std::string& prompt, double& value, double lo, double hi);
void InputDouble(const std::string& prompt, Real& value, Real lo, Real hi);
// Value and bounds in mm; in inches (" [inch]") with UnitSystem 1, else
// " [mm]" follows the prompt.
void InputLength(const std::string& prompt, Real& value, Real lo, Real hi);
void InputLengthB(const std::string& prompt, Real& value, Real lo, Real hi);

// Bounds in either order; a text that is no whole number is refused and the
// question asked again, as with the reals.
void InputIntegerRange(const std::string& prompt, std::int32_t& n, std::int32_t a, std::int32_t b);
void InputInteger(const std::string& prompt, std::int32_t& n, std::int32_t a, std::int32_t b);
void InputWord(const std::string& prompt, std::uint16_t& n, std::uint16_t a, std::uint16_t b);

// The user ID at start-up: the name of a folder of the program directory
// that holds this user's data; it becomes DataDirectory. A single
// directory name only (no separators, not "." or ".."). Returns false when
// the program has to end (Cancel, or an invalid ID after its message).
bool InputUserId();

}  // namespace common
