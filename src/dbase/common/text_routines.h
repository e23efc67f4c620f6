// The table engine's small text routines: case by the engine's character set
// (ISO 8859-1, see engine_code_page.h), counting and finding substrings,
// filling and trimming, number texts with the engine's separators
// (DecimalSeparator, ThousandSeparator of engine_settings.h), and removing a
// keyword from a command.
#pragma once

#include <cstdint>
#include <string>

namespace dbase {

std::string TzUpperCase(const std::string& text);
bool IsAlphaFirst(const std::string& text);
char UpCaseChar(char c);
char LowCaseChar(char c);
// Non-overlapping occurrences; 0 when either is empty.
int Occurs(const std::string& sub, const std::string& text);
// 1-based position of the n-th occurrence (overlaps count; negative n counts
// from the end); 0 when there are fewer.
int NthPos(int n, const std::string& sub, const std::string& text);
std::string Replicate(char c, int n);
std::string TrimRightStr(const std::string& text);
std::string TrimLeftStr(const std::string& text);
std::string PadRight(const std::string& text, int width);
std::string IIfStr(bool condition, const std::string& a, const std::string& b);
std::string IntToStrW(std::int64_t value, int width);
std::string FloatToStrW(double value, int width, int decimals);
// Removes "$", signs, thousands separators and trailing text from a number.
void CleanNumberText(std::string& text);
double StrToFloatClean(const std::string& text);
std::int64_t StrToIntClean(const std::string& text);
std::int16_t StrToSmallInt(const std::string& text);
// Removes each occurrence of the word that is not followed by a digit, '\',
// '_' or a letter; the command is upper-cased and trimmed. True when
// anything was removed.
bool RemoveKeyword(const std::string& word, std::string& command);
// 1-based position of sub in text ignoring case; 0 when absent.
int PosNoCase(const std::string& sub, const std::string& text);

}  // namespace dbase
