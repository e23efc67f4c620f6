// The grid dialogs of the point-list and polynomial curves; see
// point_list_dialogs.h.
#include "app/inputs/ui/point_list_dialogs.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/inputs/ui/dialog_widgets.h"
#include "calc/calc_records.h"
#include "common/kaldvar.h"
#include "common/ui/form_scaling.h"

namespace app::ui {

TForm_pointlist::TForm_pointlist(PointForm& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName(Q(form.name));
  const bool points = form_.curveType != calc::CurvePolynomial;
  const bool polyline = form_.curveType == calc::CurvePolyline;
  auto* layout = new QVBoxLayout(this);

  auto* menuBar = new QMenuBar(this);
  layout->setMenuBar(menuBar);
  if (polyline) {
    QMenu* file = menuBar->addMenu(Q(form_.fileMenu));
    QAction* save = file->addAction(Q(form_.saveItem));
    save->setObjectName("mi_filesave");
    connect(save, &QAction::triggered, this, [this] { Run(PointFormSave); });
    QAction* import = file->addAction(Q(form_.importDxfItem));
    import->setObjectName("mi_fileimportdxf");
    connect(import, &QAction::triggered, this, [this] { Run(PolylineImportDxf); });
  }
  QMenu* edit = menuBar->addMenu(Q(form_.editMenu));
  QAction* copy = edit->addAction(Q(form_.copyItem));
  copy->setObjectName("mi_editcopy");
  copy->setShortcut(QKeySequence::Copy);
  connect(copy, &QAction::triggered, this, &TForm_pointlist::CopyClick);
  QAction* paste = edit->addAction(Q(form_.pasteItem));
  paste->setObjectName("mi_editpaste");
  paste->setShortcut(QKeySequence::Paste);
  connect(paste, &QAction::triggered, this, &TForm_pointlist::PasteClick);
  addAction(copy);
  addAction(paste);

  auto* top = new QHBoxLayout;
  layout->addLayout(top);
  spin_ = new QSpinBox(this);
  spin_->setObjectName("SpinEdit1");
  spin_->setRange(form_.minCount, form_.maxCount);
  top->addWidget(spin_);
  if (!form_.formulaLine.empty()) top->addWidget(new QLabel(Q(form_.formulaLine), this));
  if (polyline) {
    interpolate_ = new QCheckBox(Q(form_.interpolationCaption), this);
    interpolate_->setObjectName("CheckBox_interpolate");
    top->addWidget(interpolate_);
  }
  top->addStretch(1);
  connect(spin_, &QSpinBox::valueChanged, this, [this](int value) {
    if (showing_) return;
    Run([value](PointForm& f) { SetPointCount(f, value); });
  });

  grid_ = new QTableWidget(this);
  grid_->setObjectName("StringGrid1");
  grid_->setColumnCount(form_.grid.columnCount - 1);
  grid_->verticalHeader()->setDefaultSectionSize(form_.rowHeight);
  grid_->horizontalHeader()->setDefaultSectionSize(form_.columnWidth);
  grid_->setMinimumHeight(form_.rowHeight * 14);
  layout->addWidget(grid_, 1);

  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  QPushButton* ok = AddButton(buttons, this, "Button_ok", "OK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &TForm_pointlist::Button_okClick);
  connect(AddButton(buttons, this, "Button_cancel", "Cancel"), &QPushButton::clicked, this,
          &TForm_pointlist::Button_cancelClick);
  connect(AddButton(buttons, this, "Button_save", "Save"), &QPushButton::clicked, this,
          [this] { Run(PointFormSave); });
  if (points) {
    connect(AddButton(buttons, this, "Button_raddeg", "rad <--> deg"), &QPushButton::clicked, this,
            [this] { Run(PointFormSwitchAngles); });
    connect(AddButton(buttons, this, "Button_metric", "mm <--> inch"), &QPushButton::clicked, this,
            [this] { Run(PointFormSwitchUnits); });
  }
  QPushButton* calc = AddButton(buttons, this, "Button_calc", "Calc Glsyst");
  calc->setVisible(false);
  connect(calc, &QPushButton::clicked, this, [this] { Run(PointFormCalc); });

  Show();
  // The designed widths, or wider where a column title needs it.
  const QFontMetrics metrics(grid_->horizontalHeader()->font());
  int width = grid_->verticalHeader()->sizeHint().width() + 40;
  for (int c = 0; c < grid_->columnCount(); ++c) {
    const int designed = c == 0 ? form_.firstColumnWidth : form_.columnWidth;
    const QTableWidgetItem* title = grid_->horizontalHeaderItem(c);
    grid_->setColumnWidth(c, std::max(designed, title ? metrics.horizontalAdvance(title->text()) + 16 : 0));
    width += grid_->columnWidth(c);
  }
  resize(std::max(width, sizeHint().width()), sizeHint().height());
  common::ui::ScaleAndCenterForm(this);
}

void TForm_pointlist::Collect() {
  StringGrid& g = form_.grid;
  for (int r = 1; r < g.rowCount && r - 1 < grid_->rowCount(); ++r)
    for (int c = 1; c < g.columnCount; ++c) {
      const QTableWidgetItem* item = grid_->item(r - 1, c - 1);
      g.Cell(c, r).text = item ? item->text().toStdString() : std::string();
    }
  const QList<QTableWidgetSelectionRange> ranges = grid_->selectedRanges();
  if (!ranges.isEmpty()) {
    const QTableWidgetSelectionRange& s = ranges.first();
    g.Select(s.leftColumn() + 1, s.topRow() + 1, s.rightColumn() + 1, s.bottomRow() + 1);
  } else if (grid_->currentRow() >= 0 && grid_->currentColumn() >= 0) {
    g.Select(grid_->currentColumn() + 1, grid_->currentRow() + 1, grid_->currentColumn() + 1, grid_->currentRow() + 1);
  } else {
    g.Select(1, 1, 0, 0);  // nothing selected
  }
  form_.count = spin_->value();
  if (interpolate_) form_.linearInterpolation = interpolate_->isChecked();
}

void TForm_pointlist::Show() {
  showing_ = true;
  const StringGrid& g = form_.grid;
  setWindowTitle(Q(form_.caption));
  spin_->setValue(form_.count);
  grid_->setRowCount(g.rowCount - 1);
  QStringList titles;
  for (int c = 1; c < g.columnCount; ++c) titles << Q(g.Cell(c, 0).text);
  grid_->setHorizontalHeaderLabels(titles);
  QStringList labels;
  for (int r = 1; r < g.rowCount; ++r) labels << Q(g.Cell(0, r).text);
  grid_->setVerticalHeaderLabels(labels);
  for (int r = 1; r < g.rowCount; ++r)
    for (int c = 1; c < g.columnCount; ++c) {
      const QString text = Q(g.Cell(c, r).text);
      if (QTableWidgetItem* item = grid_->item(r - 1, c - 1))
        item->setText(text);
      else
        grid_->setItem(r - 1, c - 1, new QTableWidgetItem(text));
    }
  if (interpolate_) interpolate_->setChecked(form_.linearInterpolation);
  showing_ = false;
}

template <class Operation>
void TForm_pointlist::Run(Operation operation) {
  Collect();
  operation(form_);
  Show();
}

void TForm_pointlist::Button_okClick() {
  Collect();
  PointFormOk(form_);
  if (!common::AbortFlag) {
    accept();
    return;
  }
  Show();  // a refused cell shows its old value again
}

void TForm_pointlist::Button_cancelClick() { reject(); }

void TForm_pointlist::reject() {
  PointFormCancel();
  QDialog::reject();
}

void TForm_pointlist::CopyClick() {
  Collect();
  PointFormCopy(form_);
}

void TForm_pointlist::PasteClick() { Run(PointFormPaste); }

void QtPointListViews::ShowPointForm(PointForm& form) {
  TForm_pointlist dialog(form, QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted) common::AbortFlag = 1;
}

}  // namespace app::ui
