// The rows of a data grid; see grid_rows.h.
#include "dbase/dataset/grid_rows.h"

#include "dbase/dataset/tz_dataset.h"

namespace dbase {

void TGridRows::ReadRow(TDataSet& dataset, TGridRow& row) const {
  row.recNo = dataset.RecNo();
  const auto* table = dynamic_cast<const TTzDataSet*>(&dataset);
  row.deleted = table != nullptr && table->RecordDeleted();
  row.texts.clear();
  for (int f = 0; f < dataset.FieldCount(); ++f) row.texts.push_back(dataset.Fields(f).Text());
}

void TGridRows::Reload(TDataSet& dataset) {
  rows_.clear();
  current_ = -1;
  if (!dataset.Active()) return;
  dataset.CheckBrowseMode();
  const std::int64_t start = dataset.RecNo();
  // The walk is no scroll of the user's: the dataset's scroll events stay
  // silent.
  const auto before = std::move(dataset.BeforeScroll);
  const auto after = std::move(dataset.AfterScroll);
  dataset.BeforeScroll = nullptr;
  dataset.AfterScroll = nullptr;
  try {
    for (dataset.First(); !dataset.Eof(); dataset.Next()) {
      TGridRow row;
      ReadRow(dataset, row);
      rows_.push_back(std::move(row));
    }
    if (start > 0) dataset.SetRecNo(start);
  } catch (...) {
    dataset.BeforeScroll = before;
    dataset.AfterScroll = after;
    throw;
  }
  dataset.BeforeScroll = before;
  dataset.AfterScroll = after;
  current_ = RowOf(dataset.RecNo());
}

int TGridRows::RowOf(std::int64_t recNo) const {
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].recNo == recNo) return static_cast<int>(i);
  return -1;
}

void TGridRows::MakeCurrent(TDataSet& dataset, int row) {
  if (row < 0 || row >= RowCount()) return;
  if (dataset.RecNo() != rows_[static_cast<std::size_t>(row)].recNo)
    dataset.SetRecNo(rows_[static_cast<std::size_t>(row)].recNo);
  current_ = RowOf(dataset.RecNo());
}

bool TGridRows::SetCell(TDataSet& dataset, int row, int column, const std::string& text) {
  if (row < 0 || row >= RowCount() || column < 0 || column >= dataset.FieldCount()) return false;
  MakeCurrent(dataset, row);
  TField& field = dataset.Fields(column);
  if (field.ReadOnly || !dataset.CanModify()) return false;
  try {
    if (dataset.State() != TDataSetState::Edit) dataset.Edit();
    field.SetText(text);
    dataset.Post();
  } catch (const EDatasetError& e) {
    if (dataset.State() == TDataSetState::Edit || dataset.State() == TDataSetState::Insert) dataset.Cancel();
    ReadRow(dataset, rows_[static_cast<std::size_t>(row)]);
    // The cell shows its old value again: the user is told why.
    ShowDatasetMessage(e.what());
    return false;
  }
  ReadRow(dataset, rows_[static_cast<std::size_t>(row)]);
  return true;
}

}  // namespace dbase
