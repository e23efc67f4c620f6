// The data-set table window; see design_table_window.h.
#include "app/tables/ui/design_table_window.h"

#include <algorithm>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/file_utils.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/menu_captions.h"
#include "common/ui/form_scaling.h"
#include "common/form_placement.h"

namespace app::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
// The menu words are display text already.
QString Word(int index) { return Q(common::MenuCaptions[index]); }

}  // namespace

TForm_Suchen::TForm_Suchen(const std::string& text, QWidget* parent) : QDialog(parent) {
  setObjectName("Form_Suchen");
  setWindowTitle(QStringLiteral("Search"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QStringLiteral("Search for"));
  label->setObjectName("Label1");
  layout->addWidget(label);
  edit_ = new QLineEdit(Q(text));
  edit_->setObjectName("Edit_suchbegriff");
  edit_->selectAll();
  layout->addWidget(edit_);
  auto* search = new QPushButton(QStringLiteral("Search"));
  search->setObjectName("Button_search");
  search->setDefault(true);
  connect(search, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(search);
  common::ui::ScaleAndCenterForm(this);
}

std::string TForm_Suchen::Text() const { return edit_->text().toStdString(); }

TForm_preview::TForm_preview(TDesignTable& table, QWidget* parent) : QDialog(parent), table_(table) {
  setObjectName("Form_preview");
  auto* layout = new QVBoxLayout(this);
  menu_ = new QMenuBar(this);
  layout->setMenuBar(menu_);
  auto item = [this](QMenu* menu, const char* name, const QString& caption, void (TForm_preview::*action)()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, action);
  };
  QMenu* file = menu_->addMenu(Word(common::CapFile));
  file->setObjectName("mi_file");
  item(file, "mi_fileExportExcel", QStringLiteral("Export Excel"), &TForm_preview::mi_fileExportExcelClick);
  item(file, "mi_fileExit", Word(common::CapExit), &TForm_preview::mi_fileExitClick);
  QMenu* edit = menu_->addMenu(Word(common::CapEdit));
  edit->setObjectName("mi_edit");
  item(edit, "mi_editsearch", QStringLiteral("&Search"), &TForm_preview::mi_editsearchClick);
  item(edit, "SearchNext1", QStringLiteral("Search &Next"), &TForm_preview::SearchNext1Click);
  QMenu* help = menu_->addMenu(Word(common::CapHelp));
  help->setObjectName("mi_help");
  item(help, "mi_HelpHelp", Word(common::CapHelp), &TForm_preview::mi_HelpHelpClick);

  grid_ = new QTableWidget(this);
  grid_->setObjectName("StringGrid1");
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid_->verticalHeader()->setVisible(false);
  grid_->verticalHeader()->setDefaultSectionSize(common::ScalePixels(16) + 4);
  grid_->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid_->horizontalHeader(), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    const int column = grid_->horizontalHeader()->logicalIndexAt(at);
    if (column >= 0) TitleRightClick(column);
  });
  connect(grid_, &QTableWidget::currentCellChanged, this,
          [this](int row, int column, int, int) { CellSelected(row, column); });
  // A click on the cell the grid already stands on (the first design when
  // the window opens) selects it as well.
  connect(grid_, &QTableWidget::cellPressed, this, [this](int row, int column) { CellSelected(row, column); });
  layout->addWidget(grid_);
  resize(900, 480);
  common::ui::ScaleForm(this);
  AskSearchText = [this](const std::string& last) {
    TForm_Suchen dialog(last, this);
    dialog.exec();
    return dialog.Text();
  };
  ShowCells();
  // Activation: the caption names the directory shown.
  setWindowTitle(Q(common::ProgramName + "  " + common::DataDirectory));
}

void TForm_preview::ShowCells() {
  filling_ = true;
  const int rows = table_.RowCount() - 1;
  const int columns = table_.ColumnCount();
  grid_->clear();
  grid_->setColumnCount(columns);
  grid_->setRowCount(rows);
  QStringList titles;
  for (int c = 0; c < columns; ++c) titles << Q(table_.Cell(c, 0));
  grid_->setHorizontalHeaderLabels(titles);
  for (int r = 1; r <= rows; ++r)
    for (int c = 0; c < columns; ++c) grid_->setItem(r - 1, c, new QTableWidgetItem(Q(table_.Cell(c, r))));
  // The given widths, widened where the window's font needs more for a
  // cell or a title to be read whole.
  grid_->resizeColumnsToContents();
  for (int c = 0; c < columns && c < static_cast<int>(table_.columnWidths.size()); ++c)
    grid_->setColumnWidth(c, std::max(grid_->columnWidth(c), common::ScalePixels(table_.columnWidths[c])));
  if (table_.currentRow >= 1 && table_.currentRow <= rows)
    grid_->setCurrentCell(table_.currentRow - 1, table_.currentColumn);
  filling_ = false;
}

void TForm_preview::CellSelected(int row, int column) {
  if (filling_ || closing_ || row < 0) return;
  if (SelectDesignCell(table_, column, row + 1)) {
    closing_ = true;
    accept();
  }
}

void TForm_preview::SelectFound() {
  // The hit is selected as a click would select it: a new row is picked.
  const int row = table_.currentRow, column = table_.currentColumn;
  if (grid_->currentRow() == row - 1 && grid_->currentColumn() == column) return;
  grid_->setCurrentCell(row - 1, column);
}

void TForm_preview::mi_fileExportExcelClick() { ExportDesignTable(table_); }

void TForm_preview::mi_fileExitClick() { reject(); }

void TForm_preview::reject() {
  common::AbortFlag = 1;
  closing_ = true;
  QDialog::reject();
}

void TForm_preview::mi_editsearchClick() {
  table_.searchText = AskSearchText(table_.searchText);
  if (SearchGrid(table_, 0)) SelectFound();
}

void TForm_preview::SearchNext1Click() {
  if (SearchGrid(table_, table_.currentRow)) SelectFound();
}

void TForm_preview::mi_HelpHelpClick() {
  common::ShowHelpText(3400, 1);
  common::AbortFlag = 0;
}

void TForm_preview::TitleRightClick(int column) {
  const int before = table_.currentRow;
  SortGridByColumn(table_, column);
  ShowCells();
  // The current design's new row is a selection of its own; a design that
  // kept its row is not selected anew.
  if (table_.currentRow != before) CellSelected(table_.currentRow - 1, table_.currentColumn);
}

void QtDesignTableViews::ShowTable(TDesignTable& table) {
  TForm_preview window(table, QApplication::activeWindow());
  window.exec();
}

}  // namespace app::ui
