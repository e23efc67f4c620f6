// The material window; see material_dialog.h.
#include "app/inputs/ui/material_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/ui/form_scaling.h"

namespace app::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TForm_vobwst::TForm_vobwst(TMaterialForm& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName("Form_vobwst");
  setWindowTitle(Q(form_.Caption));
  auto* layout = new QVBoxLayout(this);
  auto* gears = new QHBoxLayout;
  layout->addLayout(gears);

  for (int g = 1; g <= 2; ++g) {
    const QString n = QString::number(g);
    auto* box = new QGroupBox("Material gear " + n, this);
    box->setObjectName("GroupBox_gear" + n);
    auto* grid = new QGridLayout(box);
    TMaterialGearEdits& e = form_.Gear[g];
    int row = 0;
    // One row: caption, edit, unit (may be empty).
    auto addRow = [&](const char* name, const QString& caption, std::string* text, const std::string* unit) {
      grid->addWidget(WrapCaption(NewLabel(box, QString("Label_") + name + n, caption)), row, 0);
      QLineEdit* edit = text == &e.Name ? NewEdit(box, QString("Edit_") + name + n)
                                        : NewNumberEdit(box, QString("Edit_") + name + n);
      grid->addWidget(edit, row, 1);
      binder_.Edit(edit, text);
      if (unit) {
        QLabel* label = NewLabel(box, QString("Label_") + name + "u" + n, QString());
        grid->addWidget(label, row, 2);
        binder_.Label(label, unit);
      }
      ++row;
      return edit;
    };
    addRow("name", "Material", &e.Name, nullptr);
    addRow("sigfe", "Fatigue strength, tooth root Sigma-FE", &e.SigmaFE.text, &form_.StressUnit);
    addRow("sighlim", "Strength Tooth flank Sigma-Hlim", &e.SigmaHlim.text, &form_.StressUnit);
    addRow("hb", "Brinell hardness", &e.HB.text, nullptr);
    QPushButton* hardness = NewButton(box, "Button_hb" + n, "HB ...");
    grid->addWidget(hardness, row - 1, 2);
    addRow("e", "Modulus of elasticity E", &e.E.text, &form_.StressUnit);
    addRow("mue", QString::fromUtf8("Poisson ratio \u00b5"), &e.Poisson.text, nullptr);
    addRow("rho", "Density", &e.Density.text, &form_.DensityUnit);

    grid->addWidget(NewLabel(box, "Label_wstyp" + n, "Material"), row, 0);
    auto* type = new QComboBox(box);
    type->setObjectName("ComboBox_wstyp" + n);
    for (const std::string& item : form_.TypeItems) type->addItem(Q(item));
    grid->addWidget(type, row++, 1, 1, 2);
    binder_.Combo(type, &e.TypeIndex);

    grid->addWidget(NewLabel(box, "Label_warm" + n, "Heat treatment"), row, 0);
    auto* heat = new QComboBox(box);
    heat->setObjectName("ComboBox_warm" + n);
    for (const std::string& item : form_.HeatItems) heat->addItem(Q(item));
    grid->addWidget(heat, row++, 1, 1, 2);
    binder_.Combo(heat, &e.HeatIndex);

    QPushButton* table = NewButton(box, "Button_dbf" + n, "Material data base ...");
    grid->addWidget(table, row++, 0, 1, 3);
    gears->addWidget(box);

    connect(table, &QPushButton::clicked, this, [this, g] { binder_.Act([this, g] { PickMaterialFromTable(form_, g); }); });
    connect(hardness, &QPushButton::clicked, this,
            [this, g] { binder_.Act([this, g] { ConvertMaterialHardness(form_, g); }); });
  }

  auto* buttons = new QGridLayout;
  layout->addLayout(buttons);
  QPushButton* ok = NewButton(this, "Button_ok", "OK");
  ok->setDefault(true);
  QPushButton* cancel = NewButton(this, "Button_cancel", "Cancel");
  QPushButton* help = NewButton(this, "Button_help", "&Help");
  QPushButton* copy12 = NewButton(this, "Button_12", "gear 2 = gear 1");
  QPushButton* copy21 = NewButton(this, "Button_21", "gear 1 = gear 2");
  QPushButton* units = NewButton(this, "Button_metric", "mm <--> inch");
  QPushButton* calc = NewButton(this, "Button_calc", "Calc");
  // The dialog buttons in the first row, the tools in the second.
  int column = 0;
  for (QPushButton* b : {ok, cancel, help}) buttons->addWidget(b, 0, column++);
  column = 0;
  for (QPushButton* b : {copy12, copy21, units, calc}) buttons->addWidget(b, 1, column++);

  connect(ok, &QPushButton::clicked, this, &TForm_vobwst::Button_okClick);
  connect(cancel, &QPushButton::clicked, this, &TForm_vobwst::Button_cancelClick);
  connect(help, &QPushButton::clicked, this, [] { MaterialHelp(); });
  connect(copy12, &QPushButton::clicked, this, [this] { binder_.Act([this] { CopyMaterialGear(form_, 1, 2); }); });
  connect(copy21, &QPushButton::clicked, this, [this] { binder_.Act([this] { CopyMaterialGear(form_, 2, 1); }); });
  connect(units, &QPushButton::clicked, this, [this] { binder_.Act([this] { MaterialToggleUnits(form_); }); });
  connect(calc, &QPushButton::clicked, this, [this] {
    binder_.Act([this] { MaterialCalc(form_); });
    raise();
    activateWindow();
  });

  binder_.Push();
  common::ui::ScaleAndCenterForm(this);
}

QPushButton* TForm_vobwst::Button(const QString& objectName) const { return findChild<QPushButton*>(objectName); }

void TForm_vobwst::Button_okClick() {
  binder_.Pull();
  if (!MaterialOk(form_)) {
    binder_.Push();  // a refused field shows its old value again
    return;
  }
  closing_ = true;
  accept();
}

void TForm_vobwst::Button_cancelClick() { reject(); }

void TForm_vobwst::reject() {
  // Escape and the window frame cancel as the button does.
  if (!closing_) MaterialCancel();
  QDialog::reject();
}

void ShowMaterialWindow(TMaterialForm& form) {
  TForm_vobwst window(form, QApplication::activeWindow());
  window.exec();
}

}  // namespace app::ui
