// Start values and data-file sections of the documentation records of a
// design (common/design_documentation.h): the change records, the title
// block with its free texts, and the ISO 7200 header fields of the title
// block. The data file (app/data_file.cpp) calls the section writers and
// readers at their places; File, New calls ClearChanges.
#pragma once

#include <string>

namespace app {

class DataFileLines;

// Start-up: every change record and free text emptied, both counts 0, the
// dates of title rows 1 to 3 today, free texts drawn on A4 sheets.
void InitChangeRecords();
// File, New: no change records and no free texts, the drawing date today,
// free texts on A4; the other title texts stay.
void ClearChanges();

// A change description as it is stored on its one file line: every line
// break (CR LF, CR or LF) becomes '|'. The record itself is not changed.
std::string ChangeTextForFile(const std::string& description);
// The stored form read back: every '|' becomes a line break (LF).
std::string ChangeTextFromFile(const std::string& stored);

// A title-block or free text as written into a '|'-separated field line: a
// '|' in the text would shift the fields after it, so it is written as the
// broken bar of code page 850.
std::string FieldTextForFile(const std::string& text);

// The CHANGES section: the change records, the title texts and the free
// texts.
void WriteChangesSection();
void ReadChangesSection(DataFileLines& lines);

// The ISO 7200 Header section: the title-block style, the free-text mode
// and title texts 11 to 13.
void WriteIso7200Header();
void ReadIso7200Header(DataFileLines& lines);

}  // namespace app
