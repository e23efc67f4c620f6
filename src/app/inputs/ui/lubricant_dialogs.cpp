// The lubricant window and the viscosity converter; see lubricant_dialogs.h.
#include "app/inputs/ui/lubricant_dialogs.h"

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

#include "common/ui/form_scaling.h"

namespace app::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

// ---- The lubricant window -----------------------------------------------------------

TForm_vob1visk::TForm_vob1visk(TLubricantForm& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName("Form_vob1visk");
  setWindowTitle(Q(form_.Caption));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  int row = 0;
  // Caption, edit, unit, and a "<" button when a proposal exists.
  auto addRow = [&](const char* name, const QString& caption, std::string* text, const std::string* unit,
                    const QString& fixedUnit, void (*proposal)(TLubricantForm&)) {
    grid->addWidget(NewLabel(this, QString("Label_") + name, caption), row, 0);
    QLineEdit* edit = NewEdit(this, QString("Edit_") + name);
    grid->addWidget(edit, row, 1);
    binder_.Edit(edit, text);
    QLabel* unitLabel = NewLabel(this, QString("Label_") + name + "u", fixedUnit);
    grid->addWidget(unitLabel, row, 2);
    if (unit) binder_.Label(unitLabel, unit);
    if (proposal) {
      QPushButton* propose = NewProposalButton(this, QString("Button_") + name);
      grid->addWidget(propose, row, 3);
      connect(propose, &QPushButton::clicked, this, [this, proposal] { binder_.Act([this, proposal] { proposal(form_); }); });
    }
    ++row;
    return edit;
  };
  const QString at = "nominal lubricant viscosity at";
  addRow("name", "lubrication fluid", &form_.Name, nullptr, QString(), nullptr);
  addRow("nue40", at + QString::fromUtf8(" 40\u00b0C"), &form_.Nu40.text, &form_.ViscosityUnit, QString(), ProposeLubricantNu40);
  addRow("nue50", at + QString::fromUtf8(" 50\u00b0C"), &form_.Nu50.text, &form_.ViscosityUnit, QString(), ProposeLubricantNu50);
  QLineEdit* nu100 = addRow("nue100", at + QString::fromUtf8(" 100\u00b0C"), &form_.Nu100.text, &form_.ViscosityUnit,
                            QString(), ProposeLubricantNu100);
  addRow("rho", QString::fromUtf8("lubricant density at 15\u00b0C"), &form_.Density.text, nullptr, "kg/dm3",
         ProposeLubricantDensity);
  QLineEdit* temperature = addRow("temp", "Oil working temperature", &form_.Temperature.text, &form_.TemperatureUnit,
                                  QString(), ProposeLubricantTemperature);
  QLabel* result = NewLabel(this, "Label_result", QString());
  layout->addWidget(result);
  binder_.Label(result, &form_.ResultLine);
  for (QLineEdit* edit : {nu100, temperature})
    connect(edit, &QLineEdit::textEdited, this, [this] { binder_.Act([this] { ShowLubricantViscosity(form_); }); });

  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  QPushButton* ok = NewButton(this, "Button_ok", "OK");
  ok->setDefault(true);
  QPushButton* cancel = NewButton(this, "Button_cancel", "Cancel");
  QPushButton* help = NewButton(this, "Button_help", "&Help");
  QPushButton* image = NewButton(this, "Button_image", "Aux. &Image");
  image->hide();
  for (QPushButton* b : {ok, cancel, help, image}) buttons->addWidget(b);
  connect(ok, &QPushButton::clicked, this, &TForm_vob1visk::Button_okClick);
  connect(cancel, &QPushButton::clicked, this, &TForm_vob1visk::Button_cancelClick);
  connect(help, &QPushButton::clicked, this, [] { LubricantHelp(); });

  binder_.Push();
  common::ui::ScaleAndCenterForm(this);
}

void TForm_vob1visk::Button_okClick() {
  binder_.Pull();
  if (!LubricantOk(form_)) {
    binder_.Push();  // a refused field shows its old value again
    return;
  }
  closing_ = true;
  accept();
}

void TForm_vob1visk::Button_cancelClick() { reject(); }

void TForm_vob1visk::reject() {
  if (!closing_) LubricantCancel();
  QDialog::reject();
}

// ---- The viscosity converter ----------------------------------------------------------

TForm_viskot::TForm_viskot(TViscosityConverter& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName("Form_viskot");
  setWindowTitle(Q(form_.Caption));
  auto* layout = new QVBoxLayout(this);
  auto* box = new QGroupBox("Lubricant viscosity", this);
  box->setObjectName("RadioGroup_given");
  auto* boxLayout = new QHBoxLayout(box);
  auto* group = new QButtonGroup(this);
  const char* items[3] = {"nue 50", "nue 40", "nue"};
  for (int i = 0; i < 3; ++i) {
    auto* radio = new QRadioButton(items[i], box);
    radio->setObjectName(QString("RadioButton_given%1").arg(i));
    group->addButton(radio, i);
    boxLayout->addWidget(radio);
  }
  layout->addWidget(box);
  binder_.Radio(group, &form_.Given);

  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  struct Row {
    const char* name;
    std::string* text;
  };
  const Row rows[3] = {{"nue50", &form_.Nu50}, {"nue40", &form_.Nu40}, {"nue", &form_.NuT}};
  const char* captions[2] = {"Lubricant viscosity nue 50", "Lubricant viscosity nue 40"};
  for (int i = 0; i < 3; ++i) {
    QLabel* label = NewLabel(this, QString("Label_") + rows[i].name, i < 2 ? captions[i] : QString());
    if (i == 2) binder_.Label(label, &form_.NuTLabel);
    grid->addWidget(label, i, 0);
    QLineEdit* edit = NewEdit(this, QString("Edit_") + rows[i].name);
    grid->addWidget(edit, i, 1);
    binder_.Edit(edit, rows[i].text);
    binder_.Enabled(edit, &enabled_[i]);
    QLabel* unit = NewLabel(this, QString("Label_") + rows[i].name + "u", QString());
    binder_.Label(unit, &form_.ViscosityUnit);
    grid->addWidget(unit, i, 2);
    connect(edit, &QLineEdit::textEdited, this, [this] { binder_.Act([this] { Compute(); }); });
  }
  grid->addWidget(NewLabel(this, "Label_temp", QString::fromUtf8("t [\u00b0C]")), 3, 0);
  QLineEdit* temperature = NewEdit(this, "Edit_temp");
  grid->addWidget(temperature, 3, 1);
  binder_.Edit(temperature, &form_.Temperature);
  connect(temperature, &QLineEdit::textEdited, this,
          [this] { binder_.Act([this] { ViscosityTemperatureChanged(form_); UpdateEnabled(); }); });
  connect(group, &QButtonGroup::idClicked, this, [this] { binder_.Act([this] { Compute(); }); });

  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  QPushButton* ok = NewButton(this, "Button_ok", "OK");
  ok->setDefault(true);
  QPushButton* cancel = NewButton(this, "Button_cancel", "Cancel");
  QPushButton* help = NewButton(this, "Button_help", "&Help");
  help->hide();
  for (QPushButton* b : {ok, cancel, help}) buttons->addWidget(b);
  connect(ok, &QPushButton::clicked, this, &TForm_viskot::Button_okClick);
  connect(cancel, &QPushButton::clicked, this, &TForm_viskot::Button_cancelClick);

  ViscosityTemperatureChanged(form_);
  UpdateEnabled();
  binder_.Push();
  common::ui::ScaleForm(this);
}

void TForm_viskot::UpdateEnabled() {
  for (int i = 0; i < 3; ++i) enabled_[i] = ViscosityEditEnabled(form_, i);
}

void TForm_viskot::Compute() {
  ComputeViscosityAtTemperature(form_);
  UpdateEnabled();
}

void TForm_viskot::Button_okClick() {
  binder_.Pull();
  ViscosityConverterOk();
  closing_ = true;
  accept();
}

void TForm_viskot::Button_cancelClick() { reject(); }

void TForm_viskot::reject() {
  if (!closing_) ViscosityConverterCancel();
  QDialog::reject();
}

void ShowLubricantWindow(TLubricantForm& form) {
  TForm_vob1visk window(form, QApplication::activeWindow());
  window.exec();
}

void ShowViscosityConverterWindow(TViscosityConverter& form) {
  TForm_viskot window(form, QApplication::activeWindow());
  window.exec();
}

}  // namespace app::ui
