// Tables as delimited text: CopyToDelimitedFile writes the current area's
// records one line each (fields separated by Delimiter, character fields
// quoted with QuoteChar, a quote character in their text doubled, lines
// ended by CR LF, one 0x1A after the last line); AppendFromDelimitedFile
// appends one record per line of such a file (delimited_reader.h splits
// it), or of one another program wrote. A line the table cannot take as
// it stands (a number that is not wholly a number or that its field cannot
// show, a date or a logical value it cannot read, a text longer than its
// field or with a character the table's code page lacks, bytes that are no
// UTF-8, a quote that never closes, a line too long) is refused: nothing of
// it is appended, the import goes on with the next line and at its end says
// how many lines it refused and which (error kLinesRefused, "Lines
// refused"). The text file is UTF-8, converted from and to the engine's
// text; a value is judged as the file gives it, before that conversion.
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
// error 266 naming it: nothing of it is appended.
extern std::uint16_t LineBufferSize;

// Answers the number of records written (the default extension is "TXT").
std::int64_t CopyToDelimitedFile(const std::string& fileName);
// Answers the number of records appended, and the number of lines refused
// in refusedLines (when given); with showProgress a progress window follows
// the bytes read. An error of the table (a full disk) ends the import.
std::int64_t AppendFromDelimitedFile(const std::string& fileName, bool showProgress,
                                     std::int64_t* refusedLines = nullptr);

}  // namespace dbase
