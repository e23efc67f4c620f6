// The parameter dialogs of the analytic pitch-curve families; see
// curve_form_dialogs.h.
#include "app/inputs/ui/curve_form_dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/inputs/ui/dialog_widgets.h"
#include "common/kaldvar.h"
#include "common/ui/form_scaling.h"

namespace app::ui {

TForm_curveparameters::TForm_curveparameters(CurveForm& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName(Q(form.name));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  int row = 0;
  for (const CurveFormField& field : form_.fields) {
    auto* label = new QLabel(Q(field.label), this);
    label->setToolTip(Q(field.hint));
    grid->addWidget(label, row, 0);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(Q(field.name));
    edit->setToolTip(Q(field.hint));
    grid->addWidget(edit, row, 1);
    edits_[field.name] = edit;
    auto* unit = new QLabel(this);
    unit->setObjectName(Q("Label_" + field.name.substr(field.name.find('_') + 1) + "u"));
    grid->addWidget(unit, row, 2);
    units_[field.name] = unit;
    if (field.proposal) {
      auto* propose = new QPushButton("<", this);
      propose->setObjectName(Q("Button_" + field.name));
      propose->setAutoDefault(false);
      propose->setMaximumWidth(32);
      grid->addWidget(propose, row, 3);
      const std::string name = field.name;
      connect(propose, &QPushButton::clicked, this, [this, name] {
        Collect();
        ProposeCurveValue(form_, name);
        Show();
      });
    }
    ++row;
  }
  for (const std::string& line : form_.lines) grid->addWidget(new QLabel(Q(line), this), row++, 0, 1, 4);

  if (form_.curveType == 5) {
    // The diameter that is entered; the other one follows it.
    auto* box = new QGroupBox(this);
    box->setObjectName("RadioGroup_d");
    auto* boxLayout = new QHBoxLayout(box);
    radioDi_ = new QRadioButton("Di", box);
    radioDe_ = new QRadioButton("De", box);
    radioDi_->setObjectName("RadioButton_Di");
    radioDe_->setObjectName("RadioButton_De");
    boxLayout->addWidget(radioDi_);
    boxLayout->addWidget(radioDe_);
    grid->addWidget(box, row++, 0, 1, 4);
    auto* group = new QButtonGroup(box);
    group->addButton(radioDi_, 0);
    group->addButton(radioDe_, 1);
    connect(group, &QButtonGroup::idClicked, this, [this](int id) {
      Collect();
      form_.diameterMode = id;
      TogglePolygonDiameter(form_);
      Show();
    });
    for (const char* name : {"Edit_Di", "Edit_De"}) {
      connect(edits_.at(name), &QLineEdit::textChanged, this, [this] {
        if (showing_) return;
        Collect();
        TogglePolygonDiameter(form_);
        Show();
      });
    }
  }

  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  QPushButton* ok = AddButton(buttons, this, "Button_ok", "OK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &TForm_curveparameters::Button_okClick);
  connect(AddButton(buttons, this, "Button_cancel", "Cancel"), &QPushButton::clicked, this,
          &TForm_curveparameters::Button_cancelClick);
  connect(AddButton(buttons, this, "Button_calc", "Calc"), &QPushButton::clicked, this,
          &TForm_curveparameters::Button_calcClick);
  connect(AddButton(buttons, this, "Button_metric", "mm <--> inch"), &QPushButton::clicked, this,
          &TForm_curveparameters::Button_unitsClick);
  if (form_.helpButton)
    connect(AddButton(buttons, this, "Button_help", "&Help Text"), &QPushButton::clicked, this,
            [] { CurveFormHelp(); });
  Show();
  resize(sizeHint());
  common::ui::ScaleAndCenterForm(this);
}

void TForm_curveparameters::Collect() {
  for (CurveFormField& field : form_.fields) field.text = edits_.at(field.name)->text().toStdString();
}

void TForm_curveparameters::Show() {
  showing_ = true;
  setWindowTitle(Q(form_.caption));
  for (const CurveFormField& field : form_.fields) {
    QLineEdit* edit = edits_.at(field.name);
    // Only a changed text is written, so the caret stays where the user is
    // typing while the other diameter follows.
    if (edit->text() != Q(field.text)) edit->setText(Q(field.text));
    edit->setEnabled(field.enabled);
    units_.at(field.name)->setText(Q(field.unit));
  }
  if (radioDi_) (form_.diameterMode == 0 ? radioDi_ : radioDe_)->setChecked(true);
  showing_ = false;
}

void TForm_curveparameters::Button_okClick() {
  Collect();
  if (CurveFormOk(form_)) {
    accept();
    return;
  }
  Show();  // a refused field shows its old value again
}

void TForm_curveparameters::Button_cancelClick() { reject(); }

void TForm_curveparameters::reject() {
  CurveFormCancel();
  QDialog::reject();
}

void TForm_curveparameters::Button_unitsClick() {
  Collect();
  CurveFormSwitchUnits(form_);
  Show();
}

void TForm_curveparameters::Button_calcClick() {
  Collect();
  CurveFormCalc(form_);
  Show();
  raise();
  activateWindow();
}

void QtCurveFormViews::ShowCurveForm(CurveForm& form) {
  TForm_curveparameters dialog(form, QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted) common::AbortFlag = 1;
}

}  // namespace app::ui
