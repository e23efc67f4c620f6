// Small string utilities on program texts (code page 850 bytes, one byte per
// character): case change of the ASCII letters, cutting and padding to
// columns, blank removal, character replacement and counting, searching,
// abbreviating file names, placing texts into fixed-column rows, yes/no
// characters, and the test for a command-line parameter.
// Numbers to text are in number_format.h; the report writer builds its rows
// with PadLeftText, PadRightText and PutTextAt.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace common {

std::string UpperText(const std::string& text);  // ASCII letters only
std::string LowerText(const std::string& text);

std::string LeftText(const std::string& text, int n);   // the first n characters
std::string RightText(const std::string& text, int n);  // the last n characters

// Cut to n characters or filled with blanks on the right to exactly n.
std::string PadRightText(const std::string& text, int n);
void PadRightText(const std::string& text, int n, std::string& result);
// TrimBlanks first; then right-aligned in n characters, or its first n
// characters when it is longer.
std::string PadLeftText(const std::string& text, int n);
void PadLeftText(const std::string& text, int n, std::string& result);

// Trailing, then leading blanks (code 32 only) removed.
std::string TrimBlanks(const std::string& text);
void TrimBlanks(const std::string& text, std::string& result);
// Every blank removed.
std::string RemoveBlanks(const std::string& text);
void RemoveBlanks(const std::string& text, std::string& result);
void RemoveBlanksInPlace(std::string& text);

// The text on one line: CR and LF as blanks. A text written as a line of a
// line file (a name, a folder) would otherwise end its line early and
// shift every later line of the file.
std::string OneLineText(const std::string& text);
// Every control character (codes below 32, and 127) as a blank: for a
// name in a fixed-column record or on a line of its own (an IGES string, a
// printout head), which a tab or a line break would move or split (a
// file's name may hold any of them).
std::string PrintableText(const std::string& text);

// Every `oldChar` replaced by `newChar`.
void ReplaceChar(char oldChar, char newChar, std::string& text);
// Every '.' to ',' and every ',' to '.'.
std::string PointToComma(const std::string& text);
void PointToComma(const std::string& text, std::string& result);
std::string CommaToPoint(const std::string& text);
void CommaToPoint(const std::string& text, std::string& result);

// Occurrences of c (an 8-bit count, as the callers keep it).
std::uint8_t CountChar(char c, const std::string& text);
// 1-based position of the last occurrence of `sub`, 0 when there is none.
int LastSubTextPos(const std::string& sub, const std::string& text);

// The text when n exceeds its length; else for n < 11 its first n
// characters, for n >= 11 the first and last n div 2 - 2 characters joined
// by "__" (file names in the IGES global section).
std::string AbbreviateText(const std::string& text, int n);
void AbbreviateText(const std::string& text, int n, std::string& result);

// Overwrites `line` from the 1-based `column` with `text`; the line keeps its
// length; nothing happens when the text would not fit or column < 1.
void PutTextAt(const std::string& text, std::string& line, int column);

// "+" in front unless the text begins with '-'.
std::string AddPlusSign(const std::string& text);
void AddPlusSign(const std::string& text, std::string& result);

char IndexToLetter(int n);  // 1 -> 'A'
bool IsYesChar(char c);     // 'J' or 'Y'
char YesNoChar(bool b);     // 'J' or 'N'

// The program's command-line parameters (without the program name), set
// once by main; HasCommandLineParam compares ignoring the case of ASCII
// letters.
void SetCommandLineParams(const std::vector<std::string>& params);
void SetCommandLineParams(int argc, const char* const* argv);
bool HasCommandLineParam(const std::string& text);
// The number of command-line parameters.
int CommandLineParamCount();

}  // namespace common
