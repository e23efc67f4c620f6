// TTzCDataSet: the table dataset with the properties every table component
// has (the field list to create a table from, the file name, hiding deleted
// records, progress windows, the table's code page) and direct engine
// commands on its work area: append, append from another table, pack, go,
// search, and field access by number and by name. Each command selects the
// dataset's area first and leaves the dataset standing on the engine's
// record afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbase/dataset/tz_dataset.h"

namespace dbase {

class TTzCDataSet : public TTzDataSet {
 public:
  explicit TTzCDataSet(std::string name = std::string());

  // Field descriptions "name, type, length, decimals" to create the table.
  std::vector<std::string> DbfFields;
  // Progress windows while indexing and appending.
  bool ShowProgress = true;

  const std::string& DbfFileName() const { return TableFileName(); }
  // Blanks trimmed, ".dbf" added to a name without extension; an open
  // dataset is closed and opened again on the new file.
  void SetDbfFileName(const std::string& name);
  bool ReadOnly() const { return readOnly_; }
  bool CanModify() const override { return !readOnly_; }

  // A blank record (the engine record as it stands, with the values the
  // by-name puts left there) appended after the last.
  void AppendRec();
  bool AppendFrom(const std::string& fileName);
  bool Pack();
  // Field n (from 1): name, and length; the number of fields.
  std::string Field(int n);
  int FieldCount();
  int FieldLen(int n);
  void Go(std::int64_t recNo);
  // Searches the text in any field (or field fieldNo); from the first record
  // or from the current one. Answers the field of the hit, 0 when none.
  int Search(const std::string& key, bool fromTop, int fieldNo = 0);
  // Field n of the engine record as text.
  std::string SField(int n);
  std::int64_t RecordCount();
  bool LogicalByName(const std::string& name);
  void PutStringByName(const std::string& name, const std::string& value);
  void PutLogicalByName(const std::string& name, bool value);
  void PutIntegerByName(const std::string& name, std::int64_t value);
  void PutFloatByName(const std::string& name, double value);

 protected:
  void SetReadOnlyFlag(bool readOnly) { readOnly_ = readOnly; }
  // The field of a by-name call (its first 10 characters); raises when the
  // table has none.
  TField& NamedField(const std::string& name);
  void BeginPut();

 private:
  bool readOnly_ = false;
};

}  // namespace dbase
