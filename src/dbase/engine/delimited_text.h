// Tables as delimited text: CopyToDelimitedFile writes the current area's
// records one line each (fields separated by Delimiter, character fields
// quoted with QuoteChar, a quote character in their text doubled, lines
// ended by CR LF, one 0x1A after the last line); AppendFromDelimitedFile
// appends one record per line of such a file.
// The text file is UTF-8, converted from and to the engine's text.
#pragma once

#include <cstdint>
#include <string>

namespace dbase {

extern char Delimiter;
// 0 = no quoting.
extern char QuoteChar;
// The longest line an import takes (default 2048), in characters; the limit
// is never below the longest line the export writes for the table, so an
// exported record always comes back whole. A longer line is refused with
// error 266 naming it: nothing of it is appended and the import stops there
// (the records before it stay).
extern std::uint16_t LineBufferSize;

// Answers the number of records written (the default extension is "TXT").
std::int64_t CopyToDelimitedFile(const std::string& fileName);
// Answers the number of records appended; with showProgress a progress
// window follows the bytes read.
std::int64_t AppendFromDelimitedFile(const std::string& fileName, bool showProgress);

}  // namespace dbase
