// Field-description lists: one text per field, "name, type, length,
// decimals", as the dataset components keep them (DbfFields) and show them
// for an open table; the correction of definitions the table format cannot
// hold; and creating a table from such a list.
#pragma once

#include <string>
#include <vector>

#include "dbase/engine/dbf_file.h"

namespace dbase {

// "NAME, C, 20, 0".
std::string FieldDescription(const FieldDef& field);
// Corrects a definition in place (B and G become M, unknown types C,
// lengths and decimals into their ranges); answers whether anything changed.
bool CorrectFieldDefinition(FieldDef& field);
// Reads the list up to the first text without exactly three commas; type X
// entries are skipped; every definition is corrected, and a correction is
// announced (naming the table) while messages are enabled.
std::vector<FieldDef> ParseFieldList(const std::vector<std::string>& list, const std::string& tableName);
// Creates the table from the list; false (with the error recorded or the
// message shown) when it could not.
bool CreateDbfFromFieldList(const std::string& fileName, const std::vector<std::string>* list);

}  // namespace dbase
