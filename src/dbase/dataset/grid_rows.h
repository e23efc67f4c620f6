// The rows a data grid shows of a dataset: the records in the dataset's
// order (its index, its hiding of deleted records), each with its record
// number, its deletion mark and the display text of every field, read in
// one walk that leaves the dataset on the record it stood on. The grid
// (dbase/ui/tz_grid.h) shows these rows and writes a changed cell back
// through the dataset.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbase/dataset/dataset.h"

namespace dbase {

struct TGridRow {
  std::int64_t recNo = 0;
  bool deleted = false;
  std::vector<std::string> texts;  // display texts (the table's code page)
};

class TGridRows {
 public:
  // Reads every row of an open dataset (none of a closed one).
  void Reload(TDataSet& dataset);
  const std::vector<TGridRow>& Rows() const { return rows_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // The row of a record number, -1 when it is not shown.
  int RowOf(std::int64_t recNo) const;
  // The row of the dataset's current record (-1 for none).
  int CurrentRow() const { return current_; }

  // Makes the row's record the dataset's current record.
  void MakeCurrent(TDataSet& dataset, int row);
  // Sets a field of a row's record from a display text and posts it;
  // answers false (and leaves the dataset in browse state) when the field
  // refuses the text, after showing why (ShowDatasetMessage). The row is
  // read again.
  bool SetCell(TDataSet& dataset, int row, int column, const std::string& text);

 private:
  void ReadRow(TDataSet& dataset, TGridRow& row) const;

  std::vector<TGridRow> rows_;
  int current_ = -1;
};

}  // namespace dbase
