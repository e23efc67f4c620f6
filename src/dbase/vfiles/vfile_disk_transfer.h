// Moving records between the virtual file of the current work area and a
// .dbf table: records go as native records, byte for byte, so both must
// have the same field list (names, types, lengths, decimals); anything else
// is refused with error 1100 before a record moves.
#pragma once

#include <string>

namespace dbase {

// Appends the table's records to the virtual file (deleted ones left out
// when hideDeleted). Nothing happens when the file does not exist. A
// progress window "Reading from disk..." is shown for 100 records and more
// when showProgress. The virtual file ends at its first record. Answers
// whether no error was recorded.
bool ReadVFileFromDisk(const std::string& fileName, bool hideDeleted, bool showProgress);

// Writes the virtual file's records to the table ("Writing to disk...").
// Appends to the records the table has; with replaceRecords the table's
// records are replaced instead, through a copy that takes the table's place
// only when it is complete, while the table is held exclusively. Nothing
// happens for an empty file name.
bool WriteVFileToDisk(const std::string& fileName, bool hideDeleted, bool showProgress, bool replaceRecords);

// A number that no other caller in this process has had (for names of
// temporary files and of virtual files).
long NextTemporaryNumber();

}  // namespace dbase
