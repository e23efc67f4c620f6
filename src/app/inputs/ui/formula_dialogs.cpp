// The formula-piece dialogs; see formula_dialogs.h.
#include "app/inputs/ui/formula_dialogs.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/inputs/ui/dialog_widgets.h"
#include "calc/calc_records.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/message_help.h"
#include "common/message_list.h"

namespace app::ui {

namespace {

QLineEdit* AddEdit(QGridLayout* grid, QWidget* parent, int row, int column, const char* name, bool readOnly) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setReadOnly(readOnly);
  grid->addWidget(edit, row, column);
  return edit;
}


}  // namespace

// ---- The list of pieces ---------------------------------------------------------

TForm_einarray::TForm_einarray(const PieceListRequest& request, QWidget* parent) : QDialog(parent) {
  setObjectName("Form_einarray");
  setWindowTitle(Q(request.caption));
  auto* layout = new QHBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setObjectName("ListBox1");
  list_->setMinimumWidth(480);
  for (const std::string& item : request.items) list_->addItem(Q(item));
  if (request.preselected >= 1 && request.preselected <= list_->count())
    list_->setCurrentRow(request.preselected - 1);
  layout->addWidget(list_, 1);

  auto* buttons = new QVBoxLayout;
  layout->addLayout(buttons);
  QPushButton* ok = AddButton(buttons, this, "Button_ok", "OK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &TForm_einarray::Button_okClick);
  connect(AddButton(buttons, this, "Button_cancel", "Cancel"), &QPushButton::clicked, this,
          &TForm_einarray::Button_cancelClick);
  connect(AddButton(buttons, this, "Button_help", "&Help"), &QPushButton::clicked, this, [] {
    common::ShowHelpText(0, 1);
    common::AbortFlag = 0;
  });
  connect(AddButton(buttons, this, "Button_image", "Aux. &Image"), &QPushButton::clicked, this, [] {
    common::ShowHelpText(0, 2);
    common::AbortFlag = 0;
  });
  QPushButton* messages = AddButton(buttons, this, "Button_errors", "&Error Messages");
  messages->setVisible(common::MsgCount > 0);
  connect(messages, &QPushButton::clicked, this, [] {
    common::ShowCalculationMessages();
    common::AbortFlag = 0;
  });
  buttons->addSpacing(12);
  // "&New" also moves the selection past the last item.
  connect(AddButton(buttons, this, "Button_new", "&New"), &QPushButton::clicked, this, [this] {
    list_->setCurrentRow(-1);
    Finish(ListNew);
  });
  connect(AddButton(buttons, this, "Button_modify", "&Modify"), &QPushButton::clicked, this,
          [this] { Finish(ListModify); });
  connect(AddButton(buttons, this, "Button_insert", "&Insert"), &QPushButton::clicked, this,
          [this] { Finish(ListInsert); });
  connect(AddButton(buttons, this, "Button_delete", "&Delete"), &QPushButton::clicked, this,
          [this] { Finish(ListDelete); });
  buttons->addStretch(1);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { Finish(ListDoubleClick); });
}

QPushButton* TForm_einarray::Button(const QString& objectName) const {
  return findChild<QPushButton*>(objectName);
}

int TForm_einarray::Selected() const {
  const int row = list_->currentRow();
  return row >= 0 && list_->currentItem() && list_->currentItem()->isSelected() ? row + 1 : 0;
}

void TForm_einarray::Finish(int code) {
  result_.cancelled = false;
  result_.code = code;
  result_.selected = Selected();
  common::AbortFlag = 0;
  accept();
}

void TForm_einarray::Button_okClick() { Finish(ListOk); }

void TForm_einarray::Button_cancelClick() { reject(); }

void TForm_einarray::reject() {
  result_ = PieceListResult{};
  common::AbortFlag = 1;
  QDialog::reject();
}

// ---- The editor of one piece ------------------------------------------------------

TForm_einteilkurve::TForm_einteilkurve(int index, QWidget* parent)
    : QDialog(parent), fields_(PieceEditorFieldsFor(index)) {
  setObjectName("Form_einteilkurve");
  setWindowTitle(Q(fields_.caption));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  grid->addWidget(new QLabel("f(x) =", this), 0, 0);
  formula_ = AddEdit(grid, this, 0, 1, "Edit_formula", false);
  formula_->setMaxLength(static_cast<int>(calc::MaxFormulaLength));
  grid->addWidget(formula_, 0, 1, 1, 3);
  grid->addWidget(new QLabel("Ex.: 100+20*sin(x-pi/2)     x = 0 .. 2*pi", this), 1, 1, 1, 3);
  grid->addWidget(new QLabel("rad", this), 2, 1);
  grid->addWidget(new QLabel(QString::fromUtf8("°"), this), 2, 2);
  grid->addWidget(new QLabel("phi 1", this), 3, 0);
  startRad_ = AddEdit(grid, this, 3, 1, "Edit_startrad", true);
  startDeg_ = AddEdit(grid, this, 3, 2, "Edit_startdeg", true);
  grid->addWidget(new QLabel("phi n", this), 4, 0);
  endRad_ = AddEdit(grid, this, 4, 1, "Edit_endrad", false);
  endDeg_ = AddEdit(grid, this, 4, 2, "Edit_enddeg", false);
  auto* to360 = new QPushButton(QString::fromUtf8("< phi n = 360°"), this);
  to360->setObjectName("Button_360");
  to360->setAutoDefault(false);
  grid->addWidget(to360, 4, 3);
  error_ = new QLabel(this);
  error_->setObjectName("Label_error");
  error_->setStyleSheet("color: red");
  layout->addWidget(error_);

  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  QPushButton* ok = AddButton(buttons, this, "Button_ok", "OK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &TForm_einteilkurve::Button_okClick);
  connect(AddButton(buttons, this, "Button_cancel", "Cancel"), &QPushButton::clicked, this,
          &TForm_einteilkurve::Button_cancelClick);
  connect(AddButton(buttons, this, "Button_help", "&Help Text"), &QPushButton::clicked, this,
          [] { common::ShowCurrentHelp(); });
  connect(to360, &QPushButton::clicked, this, &TForm_einteilkurve::Button_360Click);
  connect(endDeg_, &QLineEdit::editingFinished, this, [this] {
    PieceEditorFields f = Fields();
    EndDegreesLeft(f);
    endRad_->setText(Q(f.endRad));
  });
  connect(endRad_, &QLineEdit::editingFinished, this, [this] {
    PieceEditorFields f = Fields();
    EndRadLeft(f);
    endDeg_->setText(Q(f.endDeg));
  });
  Show(fields_);
  setMinimumWidth(560);
}

PieceEditorFields TForm_einteilkurve::Fields() const {
  PieceEditorFields f = fields_;
  f.formula = S(formula_->text());
  f.startRad = S(startRad_->text());
  f.startDeg = S(startDeg_->text());
  f.endRad = S(endRad_->text());
  f.endDeg = S(endDeg_->text());
  return f;
}

void TForm_einteilkurve::Show(const PieceEditorFields& f) {
  formula_->setText(Q(f.formula));
  startRad_->setText(Q(f.startRad));
  startDeg_->setText(Q(f.startDeg));
  endRad_->setText(Q(f.endRad));
  endDeg_->setText(Q(f.endDeg));
  error_->setText(Q(f.errorLabel));
}

void TForm_einteilkurve::Button_okClick() {
  common::AbortFlag = 0;
  fields_ = Fields();
  CheckFormulaPiece(fields_);
  error_->setText(Q(fields_.errorLabel));
  if (!common::AbortFlag) {
    accept();
    return;
  }
  if (fields_.focus == PieceEditorFields::Focus::Formula) {
    formula_->setFocus();
    formula_->setCursorPosition(std::max(0, fields_.caret - 1));
  } else if (fields_.focus == PieceEditorFields::Focus::EndDegrees) {
    endDeg_->setFocus();
  }
}

void TForm_einteilkurve::Button_cancelClick() { reject(); }

void TForm_einteilkurve::Button_360Click() {
  PieceEditorFields f = Fields();
  SetEndTo360(f);
  endDeg_->setText(Q(f.endDeg));
  EndDegreesLeft(f);
  endRad_->setText(Q(f.endRad));
}

void TForm_einteilkurve::reject() {
  common::AbortFlag = 1;
  QDialog::reject();
}

// ---- The views -----------------------------------------------------------------------

PieceListResult QtPitchCurveViews::ShowPieceList(const PieceListRequest& request) {
  TForm_einarray dialog(request, QApplication::activeWindow());
  dialog.exec();
  return dialog.Result();
}

void QtPitchCurveViews::EditPiece(int index) {
  TForm_einteilkurve dialog(index, QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted) common::AbortFlag = 1;
}

}  // namespace app::ui
