// The printout dialog on Qt; see printout_config_dialog.h.
#include "app/printouts/ui/printout_config_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/code_page.h"
#include "common/graphics_facade.h"
#include "common/graphics_settings.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/ui/form_scaling.h"
#include "common/ui/graphics_view.h"

namespace app::ui {

namespace {

// A program text (code page 850) as the control shows it.
QString T(const std::string& text) { return QString::fromStdString(common::OemToDisplayText(text)); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

QPushButton* MakeButton(QWidget* parent, const char* name, const std::string& caption) {
  auto* button = new QPushButton(T(caption), parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

// A radio group of two items; the buttons' ids are the item indexes.
QButtonGroup* MakeRadioGroup(QWidget* parent, QBoxLayout* layout, const char* name, const std::string& caption,
                             const std::string& item0, const std::string& item1) {
  auto* box = new QGroupBox(T(caption), parent);
  box->setObjectName(name);
  auto* column = new QVBoxLayout(box);
  auto* group = new QButtonGroup(box);
  group->setObjectName(name);
  int id = 0;
  for (const std::string* item : {&item0, &item1}) {
    auto* button = new QRadioButton(T(*item), box);
    button->setObjectName(QString(name) + QString::number(id));
    group->addButton(button, id++);
    column->addWidget(button);
  }
  layout->addWidget(box);
  return group;
}

}  // namespace

TForm_printconf::TForm_printconf(QWidget* parent) : QDialog(parent), printer_(QPrinter::HighResolution) {
  setObjectName("Form_printconf");
  setWindowTitle(T("Printout"));
  auto* layout = new QVBoxLayout(this);

  auto* values = new QGridLayout;
  layout->addLayout(values);
  const auto edit = [&](const char* name, const char* label, int row, int column) {
    auto* caption = new QLabel(T(label), this);
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    values->addWidget(caption, row, column);
    values->addWidget(field, row, column + 1);
    return field;
  };
  Edit_scalex = edit("Edit_scalex", "Scale x", 0, 0);
  Edit_scaley = edit("Edit_scaley", "Scale y", 1, 0);
  Edit_xorigin = edit("Edit_xorigin", "Origin x", 0, 2);
  Edit_yorigin = edit("Edit_yorigin", "Origin y", 1, 2);

  auto* switches = new QHBoxLayout;
  layout->addLayout(switches);
  RadioGroup_printmono =
      MakeRadioGroup(this, switches, "RadioGroup_printmono", "shading", "Monochrome", "Color / grey-scale");
  RadioGroup_hochquer = MakeRadioGroup(this, switches, "RadioGroup_hochquer", "Printout", "Portrait", "Landscape");
  auto* checks = new QVBoxLayout;
  switches->addLayout(checks);
  CheckBox_umrandung = new QCheckBox(T("Border line"), this);
  CheckBox_umrandung->setObjectName("CheckBox_umrandung");
  CheckBox_anpassen = new QCheckBox(T("fit limits"), this);
  CheckBox_anpassen->setObjectName("CheckBox_anpassen");
  checks->addWidget(CheckBox_umrandung);
  checks->addWidget(CheckBox_anpassen);
  checks->addStretch(1);

  layout->addStretch(1);
  auto* printerRow = new QHBoxLayout;
  layout->addLayout(printerRow);
  Label_printer = new QLabel(this);
  Label_printer->setObjectName("Label_printer");
  QFont fixed = Label_printer->font();
  fixed.setStyleHint(QFont::Monospace);
  fixed.setFamily("Monospace");
  Label_printer->setFont(fixed);
  printerRow->addWidget(Label_printer, 1);
  QPushButton* printer = MakeButton(this, "Button_printer", "Printer...");
  printerRow->addWidget(printer);

  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  QPushButton* database = MakeButton(this, "Button_db", "Database");
  QPushButton* append = MakeButton(this, "Button_append", "&Apply Database");
  buttons->addWidget(database);
  buttons->addWidget(append);
  buttons->addStretch(1);
  QPushButton* ok = MakeButton(this, "Button_ok", "OK");
  ok->setDefault(true);
  QPushButton* cancel = MakeButton(this, "Button_cancel", "Cancel");
  QPushButton* help = MakeButton(this, "Button_help", "&Help");
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(help);

  connect(ok, &QPushButton::clicked, this, &TForm_printconf::Button_okClick);
  connect(cancel, &QPushButton::clicked, this, &TForm_printconf::Button_cancelClick);
  connect(help, &QPushButton::clicked, this, [] { common::ShowHelpText(1030, 1); });
  connect(database, &QPushButton::clicked, this, &TForm_printconf::Button_dbClick);
  connect(append, &QPushButton::clicked, this, &TForm_printconf::Button_appendClick);
  connect(printer, &QPushButton::clicked, this, &TForm_printconf::Button_printerClick);
  // Escape and the window frame cancel as the button does.
  connect(this, &QDialog::rejected, this, [] { CancelPrintConfig(); });

  shown_ = PrintConfigFieldsOnCreate();
  Show(shown_);
  ShowPrinter();
  common::ui::ScaleForm(this);
}

TPrintConfigFields TForm_printconf::Fields() const {
  TPrintConfigFields f;
  f.scaleX = Edit_scalex->text().toStdString();
  f.scaleY = Edit_scaley->text().toStdString();
  f.originX = Edit_xorigin->text().toStdString();
  f.originY = Edit_yorigin->text().toStdString();
  f.border = CheckBox_umrandung->isChecked();
  f.fitLimits = CheckBox_anpassen->isChecked();
  f.orientationItem = std::max(0, RadioGroup_hochquer->checkedId());
  f.colourItem = std::max(0, RadioGroup_printmono->checkedId());
  return f;
}

void TForm_printconf::Show(const TPrintConfigFields& f) {
  Edit_scalex->setText(Q(f.scaleX));
  Edit_scaley->setText(Q(f.scaleY));
  Edit_xorigin->setText(Q(f.originX));
  Edit_yorigin->setText(Q(f.originY));
  CheckBox_umrandung->setChecked(f.border);
  CheckBox_anpassen->setChecked(f.fitLimits);
  if (QAbstractButton* b = RadioGroup_hochquer->button(f.orientationItem)) b->setChecked(true);
  if (QAbstractButton* b = RadioGroup_printmono->button(f.colourItem)) b->setChecked(true);
}

void TForm_printconf::ShowPrinter() {
  Label_printer->setText(Q(PrinterLabelText(printer_.printerName().toStdString())));
  printer_.setDocName(Q(common::CurrentFileName));
}

void TForm_printconf::Button_printerClick() {
  QPrintDialog dialog(&printer_, this);
  if (dialog.exec() == QDialog::Accepted) ShowPrinter();
}

bool TForm_printconf::FieldsAccepted(TPrintConfigFields& fields) {
  if (AcceptPrintConfigFields(fields, shown_)) return true;
  Show(fields);
  return false;
}

void TForm_printconf::Button_okClick() {
  TPrintConfigFields fields = Fields();
  if (!FieldsAccepted(fields)) return;
  // Without a printer that takes the job (none installed, or a PDF file
  // without a name) the printer dialog comes first; cancelling it keeps
  // this dialog open instead of reporting a print that never happened.
  const bool unnamedFile = printer_.outputFormat() == QPrinter::PdfFormat && printer_.outputFileName().isEmpty();
  if (!printer_.isValid() || unnamedFile) {
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() != QDialog::Accepted) {
      common::AbortFlag = 1;
      return;
    }
    ShowPrinter();
  }
  PreparePrintout(fields);
  printer_.setPageOrientation(common::PrinterGraphicsSettings.PrintOrientation == 1 ? QPageLayout::Portrait
                                                                                    : QPageLayout::Landscape);
  // The picture is the graphics window's; without a window on the screen
  // there is nothing to print.
  auto* view = dynamic_cast<common::ui::GraphicsView*>(common::FKaldgra.Host());
  printed_ = view && view->PrintPicture(printer_);
  accept();
}

void TForm_printconf::Button_cancelClick() { reject(); }

void TForm_printconf::Button_dbClick() {
  TPrintConfigFields f = Fields();
  const TPrintConfigFields before = f;
  LoadPrintPreset(f);
  // A loaded preset is what the dialog shows now.
  if (f != before) shown_ = f;
  Show(f);
}

void TForm_printconf::Button_appendClick() {
  TPrintConfigFields fields = Fields();
  if (FieldsAccepted(fields)) StorePrintPreset(fields);
}

void ShowPrintConfigFormWindow() {
  TForm_printconf form(QApplication::activeWindow());
  form.exec();
}

}  // namespace app::ui
