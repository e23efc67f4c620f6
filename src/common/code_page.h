// Conversion of program texts between code page 850, in which every message,
// label, unit string and file text of the program is held, and the display
// character set of this platform, UTF-8 (windows, printers, files meant for
// other programs, CAD texts by CadTextMode). Also the plain-ASCII forms used
// while AsciiTextMode is on. The conversions take texts of any length.
// Works with kaldvar.h (AsciiTextMode, CadTextMode); the unit labels of
// unit_labels.h are code page 850 texts that go through here.
#pragma once

#include <cstdint>
#include <string>

namespace common {

// Unicode code point of a code page 850 byte (the complete table).
char32_t Cp850ToUnicode(std::uint8_t code);

// The display form of a program text: code page 850 -> UTF-8; while
// AsciiTextMode is on, transliterated to ASCII and box characters replaced
// (OemBoxToAnsi). ConvertOemText is its worker.
std::string OemToDisplayText(const std::string& text);
void OemToDisplayText(const std::string& text, std::string& result);
std::string ConvertOemText(const std::string& text);

// The display form of a text that holds both: file names and the system's
// reasons (UTF-8, as the system gives them) beside program texts or a
// quoted line of a design file (code page 850). Every message box and
// question, and the command line's messages, show their texts so. Every
// valid UTF-8 sequence of two or more bytes stays as it is; every other
// byte is read as code page 850.
std::string MixedToDisplayText(const std::string& text);

// An entered display text (UTF-8) back to code page 850; characters that
// code page 850 lacks, and malformed UTF-8 bytes, become '?'.
std::string AnsiToOemText(const std::string& text);
void AnsiToOemText(const std::string& text, std::string& result);

// The two raw buffer conversions over the whole length.
std::string OemToAnsiBuffer(const std::string& text);
std::string AnsiToOemBuffer(const std::string& text);

// German umlauts, ß, a few accented letters, µ, ±, °, ² and the horizontal
// box lines as plain ASCII ("ue", "ss", "+/-", "deg", "-"); every other
// character copied. Result in code page 850.
std::string TransliterateOemToAscii(const std::string& text);
void TransliterateOemToAscii(const std::string& text, std::string& result);

// Display form with the box-drawing characters of code page 850 as '|',
// '+', '-' (transliterating first while AsciiTextMode is on); '|' stays
// '|' and every other character, letters included, keeps its meaning.
// Result in UTF-8.
std::string OemBoxToAnsi(const std::string& text);
void OemBoxToAnsi(const std::string& text, std::string& result);

// Literals already written in the display character set: unchanged.
std::string AnsiToDisplayText(const std::string& text);
void AnsiToDisplayText(const std::string& text, std::string& result);

// Text for a CAD file by CadTextMode: 2 display form, 3 ASCII, else unchanged.
std::string TextForOutputMode(const std::string& text);
void TextForOutputMode(const std::string& text, std::string& result);

// A program text in code page 1252, the character set that readers of DXF,
// IGES and text CAD files assume: box characters as '|', '+', '-' and every
// character that code page 1252 lacks as '?'.
std::string OemToWindows1252(const std::string& text);
// A code page 1252 text (a CAD file of another program) as a program text:
// characters that code page 850 lacks become '?'.
std::string Windows1252ToOem(const std::string& text);
// Text for a CAD file written to disk (DXF, IGES, text CAD) by CadTextMode:
// 2 code page 1252 (ASCII-transliterated first while AsciiTextMode is on),
// 3 ASCII, else unchanged. The screen keeps the display form of
// TextForOutputMode.
std::string TextForCadFile(const std::string& text);

}  // namespace common
