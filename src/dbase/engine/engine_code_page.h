// Code-page conversion of table text. Tables hold their text in the OEM code
// page (850) unless AnsiTables is set; in memory the engine holds it in its
// ANSI code page, ISO 8859-1, whose bytes are the Unicode code points, so a
// field value becomes display text (UTF-8) without a table. The mapping is
// one to one over all 256 bytes (the 32 code page 850 characters that ISO
// 8859-1 lacks, box lines among them, take the 32 control positions
// 0x80..0x9F), so a record read and written back keeps every byte.
#pragma once

#include <cstddef>
#include <string>

namespace dbase {

std::string OemToAnsiStr(const std::string& text);
std::string AnsiToOemStr(const std::string& text);
// In place over a buffer.
void OemToAnsiBuffer(char* buffer, std::size_t length);
void AnsiToOemBuffer(char* buffer, std::size_t length);

// An engine (ISO 8859-1) text as UTF-8, and back ('?' for characters outside).
std::string AnsiToUtf8(const std::string& text);
std::string Utf8ToAnsi(const std::string& text);

// What Utf8ToAnsi lost of a text: nothing, a byte that is no UTF-8 (a stray
// or cut sequence, an overlong form), or a character that the engine's
// text (ISO 8859-1) lacks, which no table field takes as given.
enum class Utf8Loss { None, NotUtf8, BeyondCodePage };
// Utf8ToAnsi that says what it lost first: lost names it for a person
// ("the byte 0xC0", "✓ (U+2713)", in UTF-8); out is set in any case.
Utf8Loss Utf8ToAnsiChecked(const std::string& text, std::string& out, std::string& lost);

}  // namespace dbase
