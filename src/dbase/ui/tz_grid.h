// TTzGrid, the data grid over a dataset on Qt: the rows of the dataset
// (grid_rows.h) in a table view, deleted records in their own colours, the
// program's recolouring event, logical fields as boxes that a click, Space
// or Enter toggles, a pressed column title (right button) reported to the
// program, Ctrl+Delete restoring a deleted record, and a column layout read
// from a stored "savedColumns" list. The decisions are in grid_cells.h.
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <vector>

#include "dbase/dataset/grid_cells.h"
#include "dbase/dataset/grid_columns.h"
#include "dbase/dataset/grid_rows.h"

namespace dbase::ui {

class TTzGrid;

// The rows and cells of the grid's dataset.
class TTzGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TTzGridModel(TTzGrid* grid);
  void SetDataSet(TDataSet* dataset);
  TDataSet* DataSet() const { return dataset_; }
  // Reads the rows of the dataset again.
  void Reload();
  TGridRows& Rows() { return rows_; }
  // The dataset's field of a column (nullptr for none).
  TField* ColumnField(int column) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  TTzGrid* grid_;
  TDataSet* dataset_ = nullptr;
  TGridRows rows_;
};

class TTzGrid : public QTableView {
  Q_OBJECT
 public:
  explicit TTzGrid(QWidget* parent = nullptr);
  ~TTzGrid() override;

  void SetDataSet(TDataSet* dataset);
  TDataSet* DataSet() const { return model_->DataSet(); }
  TTzGridModel* Model() const { return model_; }
  // Shows the dataset's records again and selects its current record.
  void Reload();
  // Writes the cell being typed into, if any.
  void CommitEdit();

  bool AutoAppend = true;
  TTzBooleanBox BooleanBox() const { return booleanBox_; }
  void SetBooleanBox(TTzBooleanBox box);
  bool DepressDisabled() const { return depressDisabled_; }
  void SetDepressDisabled(bool disabled);
  // The pressed title column, -1 for none.
  int PressedColumn() const { return pressedColumn_; }
  // Editing allowed; whole rows selected (a pick).
  void SetEditing(bool editing);
  void SetRowSelect(bool rowSelect);
  bool Editing() const { return editing_; }
  // The grid's confirm-delete option (Ctrl+Delete asks before restoring).
  bool ConfirmDelete = true;
  // The columns of the grid: by default one per field of the dataset.
  std::vector<TGridColumn> Columns;
  // Reads a stored column layout (see grid_columns.h) and shows it.
  void ReadSavedColumns(const std::vector<std::string>& saved);

  std::function<void()> OnCornerLeftClick;
  std::function<void()> OnCornerRightClick;
  TTzChangeColorsEvent OnChangeColorsEvent;
  std::function<void(int column)> OnDepressTitle;
  // The table window's events: a cell clicked, a key pressed and released.
  std::function<void()> OnCellClick;
  std::function<void(int key)> OnKeyDown;
  std::function<void()> OnKeyUp;

  // The colour a TColor is drawn in (system colours from the palette).
  QColor ToQColor(TColor colour) const;
  // Whether a row's record carries the deletion mark.
  bool RowDeleted(int row) const;
  // The TField of a logical column (nullptr for another column).
  TField* LogicalField(int column) const;
  // Toggles the logical cell of a row and posts the change.
  void ToggleCell(int row, int column);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void TitleReleased(int column, Qt::MouseButton button);
  void ApplyColumnWidths();

  TTzGridModel* model_;
  TTzBooleanBox booleanBox_ = TTzBooleanBox::bbCheckBox;
  bool depressDisabled_ = false;
  bool editing_ = true;
  int pressedColumn_ = -1;
  bool syncing_ = false;
};

// Draws the cells: the colours of grid_cells.h, logical fields as boxes.
class TTzGridDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  explicit TTzGridDelegate(TTzGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  TTzGrid* grid_;
};

// A date mask of grid_cells.h ("99/99/9999;1; ") as a Qt input mask.
QString QtDateInputMask(const std::string& mask);

}  // namespace dbase::ui
