// The data grid on Qt; see tz_grid.h.
#include "dbase/ui/tz_grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <clocale>

#include "dbase/engine/engine_code_page.h"

namespace dbase::ui {

namespace {

QString Display(const std::string& engineText) { return QString::fromStdString(AnsiToUtf8(engineText)); }

// A stored font over the grid's font.
QFont GridFont(const std::optional<TGridFont>& stored, QFont font) {
  if (!stored) return font;
  if (!stored->name.empty()) font.setFamily(QString::fromStdString(stored->name));
  if (stored->size > 0) font.setPointSize(stored->size);
  font.setBold(stored->bold);
  font.setItalic(stored->italic);
  font.setUnderline(stored->underline);
  font.setStrikeOut(stored->strikeOut);
  return font;
}

bool QtConfirm(QWidget* parent, const std::string& question) {
  return QMessageBox::question(parent, "Confirm", QString::fromStdString(question),
                               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

// The column titles; the pressed one is drawn sunken.
class TTzGridHeader : public QHeaderView {
 public:
  explicit TTzGridHeader(TTzGrid* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {
    setSectionsClickable(true);
  }

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
    QHeaderView::paintSection(painter, rect, logicalIndex);
    if (logicalIndex != grid_->PressedColumn()) return;
    painter->save();
    qDrawShadePanel(painter, rect, palette(), true, 2);
    painter->restore();
  }

 private:
  TTzGrid* grid_;
};

}  // namespace

// ---- Model ------------------------------------------------------------------------

TTzGridModel::TTzGridModel(TTzGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

void TTzGridModel::SetDataSet(TDataSet* dataset) {
  dataset_ = dataset;
  Reload();
}

void TTzGridModel::Reload() {
  beginResetModel();
  try {
    if (dataset_ != nullptr)
      rows_.Reload(*dataset_);
    else
      rows_ = TGridRows();
  } catch (const EDatasetError&) {
    rows_ = TGridRows();
  }
  endResetModel();
}

TField* TTzGridModel::ColumnField(int column) const {
  if (dataset_ == nullptr || !dataset_->Active() || column < 0) return nullptr;
  if (column < static_cast<int>(grid_->Columns.size())) {
    const std::string& name = grid_->Columns[static_cast<std::size_t>(column)].fieldName;
    return name.empty() ? nullptr : dataset_->FindField(name);
  }
  if (!grid_->Columns.empty() || column >= dataset_->FieldCount()) return nullptr;
  return &dataset_->Fields(column);
}

int TTzGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_.RowCount(); }

int TTzGridModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid() || dataset_ == nullptr || !dataset_->Active()) return 0;
  return grid_->Columns.empty() ? dataset_->FieldCount() : static_cast<int>(grid_->Columns.size());
}

QVariant TTzGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_.RowCount()) return {};
  const TField* field = ColumnField(index.column());
  if (field == nullptr) return {};
  const TGridRow& row = rows_.Rows()[static_cast<std::size_t>(index.row())];
  const std::size_t at = static_cast<std::size_t>(field->FieldNo() - 1);
  const std::string text = at < row.texts.size() ? row.texts[at] : std::string();
  if (role == Qt::DisplayRole || role == Qt::EditRole) return Display(text);
  if (role == Qt::TextAlignmentRole) {
    TAlignment alignment = field->DataType() == TFieldType::String || field->DataType() == TFieldType::Date
                               ? TAlignment::taLeftJustify
                               : TAlignment::taRightJustify;
    if (index.column() < static_cast<int>(grid_->Columns.size()) &&
        grid_->Columns[static_cast<std::size_t>(index.column())].alignmentSet)
      alignment = grid_->Columns[static_cast<std::size_t>(index.column())].alignment;
    const Qt::Alignment h = alignment == TAlignment::taRightJustify ? Qt::AlignRight
                            : alignment == TAlignment::taCenter     ? Qt::AlignHCenter
                                                                    : Qt::AlignLeft;
    return QVariant::fromValue(h | Qt::AlignVCenter);
  }
  return {};
}

QVariant TTzGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    // The indicator column marks the current record.
    if (role == Qt::DisplayRole && section == rows_.CurrentRow()) return QString::fromUtf8("\u25B6");
    return role == Qt::DisplayRole ? QVariant(QString()) : QAbstractTableModel::headerData(section, orientation, role);
  }
  const TGridColumn* column =
      section < static_cast<int>(grid_->Columns.size()) ? &grid_->Columns[static_cast<std::size_t>(section)] : nullptr;
  if (column != nullptr) {
    if (role == Qt::ForegroundRole && column->titleFont) return grid_->ToQColor(column->titleFont->colour);
    if (role == Qt::BackgroundRole && column->titleColour) return grid_->ToQColor(*column->titleColour);
    if (role == Qt::FontRole && column->titleFont) return GridFont(column->titleFont, grid_->font());
    if (role == Qt::TextAlignmentRole) {
      const Qt::Alignment h = column->titleAlignment == TAlignment::taRightJustify ? Qt::AlignRight
                              : column->titleAlignment == TAlignment::taCenter     ? Qt::AlignHCenter
                                                                                   : Qt::AlignLeft;
      return QVariant::fromValue(h | Qt::AlignVCenter);
    }
  }
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  if (column != nullptr && column->titleCaption) return Display(*column->titleCaption);
  const TField* field = ColumnField(section);
  return field ? Display(field->FieldName()) : QVariant();
}

Qt::ItemFlags TTzGridModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const TField* field = ColumnField(index.column());
  const bool readOnlyColumn = index.column() < static_cast<int>(grid_->Columns.size()) &&
                              grid_->Columns[static_cast<std::size_t>(index.column())].readOnly;
  if (grid_->Editing() && field != nullptr && !field->ReadOnly && !readOnlyColumn &&
      field->DataType() != TFieldType::Boolean && field->DataType() != TFieldType::Memo && dataset_->CanModify())
    flags |= Qt::ItemIsEditable;
  return flags;
}

bool TTzGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || dataset_ == nullptr) return false;
  TField* field = ColumnField(index.column());
  if (field == nullptr) return false;
  // The user types numbers as the desktop's locale writes them (the
  // process's locale, taken from the environment at the start).
  const char userDecimal = std::localeconv()->decimal_point[0];
  const std::string typed = Utf8ToAnsi(value.toString().toStdString());
  const bool ok = rows_.SetCell(*dataset_, index.row(), field->FieldNo() - 1, CellEntryText(*field, typed, userDecimal));
  emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
  return ok;
}

// ---- Grid ---------------------------------------------------------------------------

TTzGrid::TTzGrid(QWidget* parent) : QTableView(parent), model_(new TTzGridModel(this)) {
  setObjectName("TzGrid1");
  setHorizontalHeader(new TTzGridHeader(this));
  setModel(model_);
  setItemDelegate(new TTzGridDelegate(this));
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->viewport()->installEventFilter(this);
  if (auto* corner = findChild<QAbstractButton*>()) corner->installEventFilter(this);
}

TTzGrid::~TTzGrid() = default;

void TTzGrid::SetDataSet(TDataSet* dataset) {
  model_->SetDataSet(dataset);
  Reload();
}

void TTzGrid::CommitEdit() {
  if (state() != QAbstractItemView::EditingState) return;
  for (QLineEdit* editor : viewport()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
    if (editor->isHidden()) continue;  // closed, waiting to be deleted
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

void TTzGrid::Reload() {
  // A cell being typed into keeps what was typed: the edit is written
  // before the rows are read again, and the dataset stays where it stood.
  if (state() == QAbstractItemView::EditingState) {
    TDataSet* dataset = DataSet();
    const std::int64_t recNo = dataset != nullptr && dataset->Active() ? dataset->RecNo() : 0;
    CommitEdit();
    try {
      if (recNo > 0 && dataset->RecNo() != recNo) dataset->SetRecNo(recNo);
    } catch (const EDatasetError&) {
    }
  }
  const int column = std::max(0, currentIndex().column());
  syncing_ = true;
  model_->Reload();
  ApplyColumnWidths();
  const int row = model_->Rows().CurrentRow();
  if (row >= 0 && model_->columnCount() > 0)
    setCurrentIndex(model_->index(row, std::min(column, model_->columnCount() - 1)));
  syncing_ = false;
}

void TTzGrid::ApplyColumnWidths() {
  for (int c = 0; c < model_->columnCount(); ++c) {
    int width = -1;
    if (c < static_cast<int>(Columns.size())) width = Columns[static_cast<std::size_t>(c)].width;
    if (width < 0) {
      const TField* field = model_->ColumnField(c);
      const int chars = field ? std::max<int>(static_cast<int>(field->FieldName().size()),
                                              std::min(field->Size() > 0 ? field->Size() : 10, 40))
                              : 10;
      width = fontMetrics().averageCharWidth() * (chars + 2);
    }
    setColumnWidth(c, width);
  }
}

void TTzGrid::SetBooleanBox(TTzBooleanBox box) {
  booleanBox_ = box;
  viewport()->update();
}

void TTzGrid::SetDepressDisabled(bool disabled) {
  depressDisabled_ = disabled;
  if (disabled && pressedColumn_ >= 0) {
    pressedColumn_ = -1;
    horizontalHeader()->viewport()->update();
  }
}

void TTzGrid::SetEditing(bool editing) {
  editing_ = editing;
  setEditTriggers(editing ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed
                          : QAbstractItemView::NoEditTriggers);
}

void TTzGrid::SetRowSelect(bool rowSelect) {
  setSelectionBehavior(rowSelect ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void TTzGrid::ReadSavedColumns(const std::vector<std::string>& saved) {
  dbase::ReadSavedColumns(Columns, saved);
  Reload();
}

QColor TTzGrid::ToQColor(TColor colour) const {
  const QPalette& p = palette();
  if ((colour & kSystemColourFlag) == kSystemColourFlag) {
    switch (colour) {
      case clWindow: return p.color(QPalette::Base);
      case clWindowText: return p.color(QPalette::Text);
      case clHighlight: return p.color(QPalette::Highlight);
      case clHighlightText: return p.color(QPalette::HighlightedText);
      case clGrayText: return p.color(QPalette::Disabled, QPalette::Text);
      default: return p.color(QPalette::Button);
    }
  }
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

bool TTzGrid::RowDeleted(int row) const {
  const auto& rows = model_->Rows().Rows();
  return row >= 0 && row < static_cast<int>(rows.size()) && rows[static_cast<std::size_t>(row)].deleted;
}

TField* TTzGrid::LogicalField(int column) const {
  TField* field = model_->ColumnField(column);
  return field != nullptr && field->DataType() == TFieldType::Boolean ? field : nullptr;
}

void TTzGrid::ToggleCell(int row, int column) {
  TField* field = LogicalField(column);
  TDataSet* dataset = DataSet();
  if (field == nullptr || dataset == nullptr || !editing_ || !dataset->CanModify() || field->ReadOnly) return;
  try {
    model_->Rows().MakeCurrent(*dataset, row);
    ToggleLogicalField(*dataset, *field);
    dataset->Post();
  } catch (const EDatasetError& e) {
    if (dataset->State() == TDataSetState::Edit) dataset->Cancel();
    QMessageBox::warning(this, "Error", e.what());
  }
  Reload();
}

void TTzGrid::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  QTableView::mousePressEvent(event);
  if (!index.isValid()) return;
  if (event->button() == Qt::LeftButton && booleanBox_ != TTzBooleanBox::bbText && LogicalField(index.column())) {
    setFocus();
    ToggleCell(index.row(), index.column());
  }
  if (OnCellClick) OnCellClick();
}

void TTzGrid::keyPressEvent(QKeyEvent* event) {
  TDataSet* dataset = DataSet();
  const QModelIndex index = currentIndex();
  if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier) && dataset != nullptr) {
    if (GridCtrlDelete(*dataset, ConfirmDelete, [this](const std::string& q) { return QtConfirm(this, q); })) {
      Reload();
      return;
    }
  }
  if (index.isValid() && LogicalField(index.column()) && booleanBox_ != TTzBooleanBox::bbText &&
      !event->text().isEmpty()) {
    const QChar c = event->text().at(0);
    const char32_t key = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ? U'\r' : c.unicode();
    switch (LogicalColumnKey(key)) {
      case TLogicalKeyAction::Toggle:
        ToggleCell(index.row(), index.column());
        return;
      case TLogicalKeyAction::Ignore: return;
      case TLogicalKeyAction::Pass: break;
    }
  }
  if (OnKeyDown) {
    const int code = event->key() == Qt::Key_Up ? 38 : event->key() == Qt::Key_Down ? 40 : 0;
    // The program sees the key before the grid moves: a quick pick ends
    // on the record the key was pressed on.
    if (code != 0) {
      OnKeyDown(code);
      if (!isVisible()) return;
    }
  }
  // The grid shows the table's records only: moving down from the last row
  // appends nothing, whatever AutoAppend says (new records come from the
  // navigator and the Append command).
  QTableView::keyPressEvent(event);
}

void TTzGrid::keyReleaseEvent(QKeyEvent* event) {
  QTableView::keyReleaseEvent(event);
  if (OnKeyUp) OnKeyUp();
}

void TTzGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (syncing_ || !current.isValid() || DataSet() == nullptr) return;
  if (previous.isValid() && current.row() == previous.row()) return;
  try {
    // Leaving a row posts its pending edit.
    DataSet()->CheckBrowseMode();
    model_->Rows().MakeCurrent(*DataSet(), current.row());
    emit model_->headerDataChanged(Qt::Vertical, 0, std::max(0, model_->rowCount() - 1));
  } catch (const EDatasetError& e) {
    QMessageBox::warning(this, "Error", e.what());
  }
}

bool TTzGrid::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->modifiers() & Qt::ShiftModifier) return QTableView::eventFilter(watched, event);
    if (watched == horizontalHeader()->viewport()) {
      TitleReleased(horizontalHeader()->logicalIndexAt(mouse->position().toPoint()), mouse->button());
    } else if (qobject_cast<QAbstractButton*>(watched) != nullptr) {
      if (mouse->button() == Qt::LeftButton && OnCornerLeftClick) OnCornerLeftClick();
      if (mouse->button() == Qt::RightButton && OnCornerRightClick) OnCornerRightClick();
    }
  }
  return QTableView::eventFilter(watched, event);
}

void TTzGrid::TitleReleased(int column, Qt::MouseButton button) {
  if (button != Qt::RightButton || column < 0 || depressDisabled_) return;
  pressedColumn_ = column;
  horizontalHeader()->viewport()->update();
  if (OnDepressTitle) OnDepressTitle(column);
}

// ---- Cell drawing ------------------------------------------------------------------

void TTzGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  // The defaults: the grid's colours, the column's colour and font.
  TTzCellColors colors;
  QFont font = grid_->font();
  if (index.column() < static_cast<int>(grid_->Columns.size())) {
    const TGridColumn& column = grid_->Columns[static_cast<std::size_t>(index.column())];
    if (column.colour) colors.CellColor = *column.colour;
    if (column.font) {
      colors.CellTextColor = column.font->colour;
      font = GridFont(column.font, font);
    }
  }
  const bool highlighted = (option.state & QStyle::State_Selected) != 0 || index == grid_->currentIndex();
  const TCellPaint cell = CellPaint(colors, grid_->OnChangeColorsEvent, index.row(), grid_->RowDeleted(index.row()),
                                    highlighted, grid_->isEnabled());
  painter->save();
  painter->setFont(font);
  painter->fillRect(option.rect, grid_->ToQColor(cell.brush));
  const QColor fontColour = grid_->ToQColor(cell.font);
  TField* logical = grid_->LogicalField(index.column());
  if (logical != nullptr && grid_->BooleanBox() != TTzBooleanBox::bbText) {
    const QString text = index.data(Qt::DisplayRole).toString();
    const bool value = text == QString::fromStdString(AnsiToUtf8(logical->TrueText()));
    const int side = std::max(6, std::min(option.rect.height(), option.rect.width()) - 4);
    const QRect box(option.rect.center().x() - side / 2, option.rect.center().y() - side / 2, side, side);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(QPen(fontColour, 1));
    painter->setBrush(Qt::NoBrush);
    using B = TTzBooleanBox;
    const B kind = grid_->BooleanBox();
    if (kind == B::bbCheckBox || kind == B::bbFillBox || kind == B::bbFillBoxRed) painter->drawRect(box);
    if (kind == B::bbRButton || kind == B::bbRButtonRed) painter->drawEllipse(box);
    if (value) {
      const QColor red = grid_->ToQColor(clRed);
      painter->setPen(QPen(fontColour, 2));
      switch (kind) {
        case B::bbCheckMark:
          painter->drawPolyline(QPolygon({QPoint(box.left() + 2, box.center().y()),
                                          QPoint(box.left() + side / 3, box.bottom() - 2),
                                          QPoint(box.right() - 1, box.top() + 2)}));
          break;
        case B::bbFillBox:
        case B::bbFillBoxRed:
          painter->fillRect(box.adjusted(1, 1, -1, -1), kind == B::bbFillBox ? fontColour : red);
          break;
        case B::bbRButton:
        case B::bbDot:
        case B::bbRButtonRed:
        case B::bbDotRed: {
          const QColor c = kind == B::bbRButton || kind == B::bbDot ? fontColour : red;
          painter->setPen(QPen(c, 2));
          painter->setBrush(c);
          painter->drawEllipse(box.adjusted(2, 2, -2, -2));
          break;
        }
        case B::bbCheckBox: {
          const QRect in = box.adjusted(3, 3, -3, -3);
          painter->drawLine(in.topLeft(), in.bottomRight());
          painter->drawLine(in.topRight(), in.bottomLeft());
          break;
        }
        case B::bbText: break;
      }
    }
  } else {
    painter->setPen(fontColour);
    const auto alignment = static_cast<Qt::Alignment>(index.data(Qt::TextAlignmentRole).toInt());
    painter->setClipRect(option.rect);
    painter->drawText(option.rect.adjusted(2, 0, -2, 0), alignment, index.data(Qt::DisplayRole).toString());
  }
  painter->restore();
}

QWidget* TTzGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  const TField* field = grid_->Model()->ColumnField(index.column());
  if (auto* line = qobject_cast<QLineEdit*>(editor); line && field && field->DataType() == TFieldType::Date)
    line->setInputMask(QtDateInputMask(DateEditMask()));
  return editor;
}

QString QtDateInputMask(const std::string& mask) {
  // "99/99/9999;1; ": digits that may be left blank, literals kept, blank
  // as the space character.
  const std::string picture = mask.substr(0, mask.find(';'));
  QString result;
  for (char c : picture) result += c == '9' ? QChar('0') : QChar(c);
  return result + "; ";
}

}  // namespace dbase::ui
