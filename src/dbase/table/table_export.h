// The table window's outputs of a whole table: the HTML page of every
// record (handed to the configured HTML browser) and the printout of the
// first seven columns through the report writer. Both read the records
// straight from the file, so the grid's current record stays where it is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dbase {

class Tdbf4;

// The HTML page of the window's table, written through the shared text
// file; an I/O error sets AbortFlag.
void ExportTableHtml(Tdbf4& window, const std::string& fileName);
// Starts the configured HTML browser (setting "HTML Browser") on the file.
void StartHtmlBrowser(const std::string& fileName);
// The table as a report: the device chosen by the user, the head, then the
// first min(7, field count) fields of every record.
void PrintTable(Tdbf4& window);

// The cells of one record: the fields 1..count as text, blanks trimmed on
// the right, in code page 850 (as DbfGetString), read without moving the
// current record.
std::vector<std::string> RecordCells(Tdbf4& window, std::int64_t recNo, int count);

}  // namespace dbase
