// The procedural table layer: how the program reaches its tables
// (materials, tools, printout presets). Free operations without a table
// argument, all acting on the one table window DbfForm() (table_window.h)
// and its table component, so one table is open at a time. The layer adds
// the path of a table name (directory, ".dbf", the once-per-run write check
// of the table directory with "TEST.$$$", the copy into the temporary
// directory when the table cannot be written in place), the clamping of
// record numbers and the temporary index in the temporary directory.
//
// Usage (texts are program texts, code page 850):
//
//   common::AbortFlag = 0;
//   dbase::DbfSetTitles("Material", "Material data base");
//   dbase::DbfOpen("vobwst");            // DbfDirectory/vobwst.dbf, or a copy
//   if (common::AbortFlag) return;       // not found: reported, nothing open
//   dbase::DbfGoto(remembered);          // optional; beyond the end: message
//   common::SetHelpNumber(2400);         // optional
//   dbase::DbfBrowse("", 1);             // modal: 1 pick, 4 pick with deleted
//                                        // records, 5 pick as it was, others
//                                        // edit; "CLOSE": first choice ends
//   if (!common::AbortFlag) {            // OK: LastKeyCode 13
//     const std::int32_t rec = dbase::DbfRecNo();   // == DbfPickedRecNo
//     const std::string name = dbase::DbfGetString(1);  // padded, code page 850
//     const bool flag = dbase::DbfGetLogical("HARDENED");
//   }                                    // Cancel: AbortFlag 1, LastKeyCode 27
//   dbase::DbfClose();                   // always
//
// Writing a new record: DbfOpen, then DbfPutString/Float/Integer/Logical by
// field name (cut to 10 characters) and DbfPost, which appends the values
// as a new last record (a field not put keeps the value of the record the
// puts started on, so put every field); then DbfClose. Without a window system the browse
// cancels at once; tests install a TableWindowView (table_window.h) that
// picks a record (window.GoRecord(n); window.StoreRecNo();).
//
// Failures: a table that does not open is reported (engine box or "file ...
// not found or no access !") and sets AbortFlag; a record number beyond the
// table adds "Warning: DBF record #<n> not found, the last record taken" to
// the calculation messages and stands on the last record; an unknown field
// name is reported and sets AbortFlag.
#pragma once

#include <cstdint>
#include <string>

#include "dbase/table/table_window.h"

namespace dbase {

// The outcome of the write check, kept for the run: DbfWriteChecked is
// common::WriteCheckFlags[1] and DbfDirWritable common::WriteCheckFlags[2];
// the configuration dialog's OK clears DbfWriteChecked so that the next
// open checks again. DbfCopyToTemp is common::CopyTableFlag.
bool DbfWriteChecked();
void SetDbfWriteChecked(bool checked);
bool DbfDirWritable();

// Opens the named table: the temporary directory when DbfCopyToTemp is set,
// else the DBF directory; ".dbf" added to a name without '.'; a copy in the
// temporary directory when the directory cannot be written or the file is
// read-only. A missing table sets AbortFlag and opens nothing.
void DbfOpen(const std::string& name);
// Opens the table of a full path.
void DbfOpenFile(const std::string& path);
void DbfClose();
// Titles in code page 850: title 2 is the caption and the help entry.
void DbfSetTitles(const std::string& title1, const std::string& title2);
// Shows the table window modally in the mode (see above).
void DbfBrowse(const std::string& text, std::uint16_t mode);

// Record n; beyond the record count: the message "Warning: DBF record #<n>
// not found, the last record taken" and the last record. DbfGotoClamped: n
// outside 1..count becomes 1.
void DbfGoto(std::int32_t n);
void DbfGotoClamped(std::int32_t n);
std::int32_t DbfRecNo();
std::int32_t DbfRecCount();

// Field n (from 1) of the current record as a program text (code page 850,
// padded to the field's length); its name ("" outside 1..count). The put
// operations take program texts too.
std::string DbfFieldName(int n);
std::string DbfGetString(int n);
bool DbfGetLogical(const std::string& fieldName);
// Set the named field of the record buffer; DbfPost appends the values as a
// new record at the end of the table (under the append lock).
void DbfPutString(const std::string& fieldName, const std::string& value);
void DbfPutFloat(const std::string& fieldName, double value);
void DbfPutInteger(const std::string& fieldName, std::int32_t value);
void DbfPutLogical(const std::string& fieldName, bool value);
void DbfPost();

// Temporary directory + name.
std::string DbfIndexPath(const std::string& name);
// Builds the index file (path without ".ndx") for the key expression.
void DbfIndexOn(const std::string& expression, const std::string& indexPath);
// DbfIndexOn(expression, DbfIndexPath(name)), then that index controls the
// order of the table.
void DbfCreateIndex(const std::string& expression, const std::string& name);

// Whether the directory can be written: the table file must open for
// reading (else "file ... not found or no access !", AbortFlag, false and
// nothing remembered); then "TEST.$$$" is created with the line "DBF Write
// Check" and erased. Made once per run while DbfWriteChecked is set.
bool DbfWriteCheck(const std::string& directory, const std::string& tableFileName);

}  // namespace dbase
