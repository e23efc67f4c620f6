// The plot utility's settings form on Qt; see plot_utility_form.h.
#include "drawing/cad/ui/plot_utility_form.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/code_page.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "platform/user_dialogs.h"

namespace drawing::ui {

namespace {

QString Display(const char* programText) { return QString::fromStdString(common::OemToDisplayText(programText)); }

QLabel* NamedLabel(const char* text, const char* name, QWidget* parent) {
  auto* label = new QLabel(Display(text), parent);
  label->setObjectName(name);
  return label;
}

QLineEdit* NamedEdit(const std::string& text, const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(QString::fromStdString(text), parent);
  edit->setObjectName(name);
  return edit;
}

// A radio group with its items; the group box carries the name.
QButtonGroup* RadioGroup(const char* caption, const char* name, std::initializer_list<const char*> items,
                         int checked, QWidget* parent, QLayout* into) {
  auto* box = new QGroupBox(Display(caption), parent);
  box->setObjectName(name);
  auto* layout = new QVBoxLayout(box);
  auto* group = new QButtonGroup(box);
  int id = 0;
  for (const char* item : items) {
    auto* button = new QRadioButton(Display(item), box);
    group->addButton(button, id);
    if (id == checked) button->setChecked(true);
    layout->addWidget(button);
    ++id;
  }
  into->addWidget(box);
  return group;
}

void Hint(QWidget* w, int helpNumber) {
  if (common::HelpLevel != 0) w->setToolTip(QString::fromStdString(common::OemToDisplayText(common::GetHelpText(helpNumber))));
}

}  // namespace

TForm_conftramlin::TForm_conftramlin(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm_conftramlin");
  setWindowTitle("TRAMLIN");
  const TPlotFormSettings defaults = DefaultPlotFormSettings();
  auto* layout = new QVBoxLayout(this);

  auto* pathRow = new QHBoxLayout();
  pathRow->addWidget(NamedLabel("TRAMLIN Program directory", "Label_tramlinpath", this));
  Edit_tramlinPath = NamedEdit(defaults.ProgramPath, "Edit_tramlinPath", this);
  auto* pathButton = new QPushButton("...", this);
  pathButton->setObjectName("Button_tramlinpath");
  pathRow->addWidget(Edit_tramlinPath);
  pathRow->addWidget(pathButton);
  layout->addLayout(pathRow);

  auto* groups = new QHBoxLayout();
  RadioGroup_outcode = RadioGroup("destination code", "RadioGroup_outcode",
                                  {"HP-GL Laserjet (HPL)", "Postscript (PS)", "HP-GL Plotter (PLT)", "HP-GL/2 (PL2)",
                                   "Aristo (ART)"},
                                  defaults.OutputCode, this, groups);
  RadioGroup_d = RadioGroup("output interface", "RadioGroup_d", {"seriell", "parallel", "Datei"}, defaults.Interface,
                            this, groups);
  layout->addLayout(groups);

  auto* grid = new QGridLayout();
  int row = 0;
  Edit_com = NamedEdit(defaults.Com, "Edit_com", this);
  Edit_lpt = NamedEdit(defaults.Lpt, "Edit_lpt", this);
  grid->addWidget(new QLabel("COM", this), row, 0);
  grid->addWidget(Edit_com, row, 1);
  grid->addWidget(new QLabel("LPT", this), row, 2);
  grid->addWidget(Edit_lpt, row++, 3);
  Edit_outdir = NamedEdit(defaults.OutputDirectory, "Edit_outdir", this);
  auto* dirButton = new QPushButton("Dir...", this);
  dirButton->setObjectName("Button_outDir");
  auto* tempButton = new QPushButton("<", this);
  tempButton->setObjectName("Button_tempdir");
  grid->addWidget(Edit_outdir, row, 0, 1, 2);
  grid->addWidget(dirButton, row, 2);
  grid->addWidget(tempButton, row++, 3);
  Edit_scale = NamedEdit(defaults.Scale, "Edit_scale", this);
  CheckBox_scale = new QCheckBox(Display("scale fit limits ?"), this);
  CheckBox_scale->setObjectName("CheckBox_scale");
  grid->addWidget(NamedLabel("scale", "Label_scale", this), row, 0);
  grid->addWidget(Edit_scale, row, 1);
  grid->addWidget(CheckBox_scale, row++, 2, 1, 2);
  CheckBox_rotate = new QCheckBox(Display("rotate 90 degrees ?"), this);
  CheckBox_rotate->setObjectName("CheckBox_rotate");
  grid->addWidget(CheckBox_rotate, row++, 0, 1, 4);
  Edit_xnull = NamedEdit(defaults.XShift, "Edit_xnull", this);
  Edit_ynull = NamedEdit(defaults.YShift, "Edit_ynull", this);
  grid->addWidget(NamedLabel("reference point shifting x direction", "Label_xnull", this), row, 0, 1, 3);
  grid->addWidget(Edit_xnull, row++, 3);
  grid->addWidget(NamedLabel("reference point shifting y direction", "Label_ynull", this), row, 0, 1, 3);
  grid->addWidget(Edit_ynull, row++, 3);
  Edit_textbreitenfaktor = NamedEdit(defaults.TextFactor, "Edit_textbreitenfaktor", this);
  grid->addWidget(NamedLabel("Textwidth/height", "Label_textbreitenfaktor", this), row, 0, 1, 3);
  grid->addWidget(Edit_textbreitenfaktor, row++, 3);
  ComboBox_psfont = new QComboBox(this);
  ComboBox_psfont->setObjectName("ComboBox_psfont");
  ComboBox_psfont->setEditable(true);
  for (const char* font : PostScriptFontNames) ComboBox_psfont->addItem(font);
  ComboBox_psfont->setCurrentIndex(-1);
  ComboBox_psfont->setEditText("");
  grid->addWidget(NamedLabel("Postscript font", "Label_psfont", this), row, 0);
  grid->addWidget(ComboBox_psfont, row++, 1, 1, 3);
  layout->addLayout(grid);

  Label_commandline = new QLabel(this);
  Label_commandline->setObjectName("Label_commandline");
  Label_commandline->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(Label_commandline);

  auto* buttons = new QHBoxLayout();
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Button_ok");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Button_cancel");
  auto* help = new QPushButton(Display("&Help"), this);
  help->setObjectName("Button_help");
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(help);
  layout->addLayout(buttons);

  Hint(RadioGroup_outcode->buttons().front()->parentWidget(), 2090);
  for (QWidget* w : {static_cast<QWidget*>(RadioGroup_d->buttons().front()->parentWidget()),
                     static_cast<QWidget*>(Edit_com), static_cast<QWidget*>(Edit_lpt)})
    Hint(w, 2120);
  Hint(Edit_scale, 2140);
  Hint(CheckBox_scale, 2140);
  Hint(Edit_outdir, 2130);
  Hint(ComboBox_psfont, 2280);
  Hint(CheckBox_rotate, 2145);
  Hint(Edit_xnull, 2150);
  Hint(Edit_ynull, 2150);
  Hint(Edit_textbreitenfaktor, 2160);
  Hint(Edit_tramlinPath, 2080);

  for (QLineEdit* edit : {Edit_tramlinPath, Edit_com, Edit_lpt, Edit_outdir, Edit_scale, Edit_xnull, Edit_ynull,
                          Edit_textbreitenfaktor})
    connect(edit, &QLineEdit::textChanged, this, [this] { BuildPlotCommandLine(); });
  connect(RadioGroup_outcode, &QButtonGroup::idClicked, this, [this] { RadioGroup_outcodeClick(); });
  connect(RadioGroup_d, &QButtonGroup::idClicked, this, [this] { RadioGroup_dClick(); });
  connect(CheckBox_scale, &QCheckBox::toggled, this, [this] { CheckBox_scaleClick(); });
  connect(CheckBox_rotate, &QCheckBox::toggled, this, [this] { BuildPlotCommandLine(); });
  connect(ComboBox_psfont, &QComboBox::currentTextChanged, this, [this] { BuildPlotCommandLine(); });
  connect(pathButton, &QPushButton::clicked, this, [this] { Button_tramlinpathClick(); });
  connect(dirButton, &QPushButton::clicked, this, [this] { Button_outDirClick(); });
  connect(tempButton, &QPushButton::clicked, this, [this] { Button_tempdirClick(); });
  connect(ok, &QPushButton::clicked, this, [this] { Button_okClick(); });
  connect(cancel, &QPushButton::clicked, this, [this] { Button_cancelClick(); });
  connect(help, &QPushButton::clicked, this, [this] { Button_helpClick(); });

  RadioGroup_outcodeClick();
  RadioGroup_dClick();
}

TPlotFormSettings TForm_conftramlin::Settings() const {
  TPlotFormSettings s;
  s.ProgramPath = Edit_tramlinPath->text().toStdString();
  s.OutputCode = RadioGroup_outcode->checkedId();
  s.Interface = RadioGroup_d->checkedId();
  s.Com = Edit_com->text().toStdString();
  s.Lpt = Edit_lpt->text().toStdString();
  s.OutputDirectory = Edit_outdir->text().toStdString();
  s.Scale = Edit_scale->text().toStdString();
  s.Rotate = CheckBox_rotate->isChecked();
  s.XShift = Edit_xnull->text().toStdString();
  s.YShift = Edit_ynull->text().toStdString();
  s.TextFactor = Edit_textbreitenfaktor->text().toStdString();
  s.PsFont = ComboBox_psfont->currentText().toStdString();
  return s;
}

void TForm_conftramlin::BuildPlotCommandLine() {
  commandLine_ = drawing::BuildPlotCommandLine(Settings());
  Label_commandline->setText(QString::fromStdString(commandLine_));
}

void TForm_conftramlin::RadioGroup_outcodeClick() {
  ComboBox_psfont->setEnabled(RadioGroup_outcode->checkedId() == 1);
  BuildPlotCommandLine();
}

void TForm_conftramlin::RadioGroup_dClick() {
  const int interface = RadioGroup_d->checkedId();
  Edit_com->setEnabled(interface == 0);
  Edit_lpt->setEnabled(interface == 1);
  Edit_outdir->setEnabled(interface == 2);
  BuildPlotCommandLine();
}

void TForm_conftramlin::CheckBox_scaleClick() {
  if (CheckBox_scale->isChecked()) Edit_scale->setText("0");
  Edit_scale->setEnabled(!CheckBox_scale->isChecked());
  BuildPlotCommandLine();
}

void TForm_conftramlin::Button_tramlinpathClick() {
  platform::FileNameRequest request;
  request.directory = QFileInfo(Edit_tramlinPath->text()).path().toStdString();
  request.filter = "TRAMLIN for Windows|wtramlin.exe|TRAMLIN for MS-DOS|tramlin.exe";
  if (const auto chosen = platform::Dialogs().OpenFileName(request)) Edit_tramlinPath->setText(QString::fromStdString(*chosen));
}

void TForm_conftramlin::Button_outDirClick() {
  const QString dir = QFileDialog::getExistingDirectory(this, QString(), Edit_outdir->text());
  if (!dir.isEmpty()) Edit_outdir->setText(dir);
}

void TForm_conftramlin::Button_tempdirClick() { Edit_outdir->setText(QString::fromStdString(common::TempDirectory)); }

void TForm_conftramlin::Button_okClick() {
  common::AbortFlag = 0;
  accept();
}

void TForm_conftramlin::Button_cancelClick() {
  common::AbortFlag = 1;
  reject();
}

void TForm_conftramlin::Button_helpClick() { common::ShowHelpText(2055, 0); }

void EditPlotCommandLine(std::string& commandLine) {
  const std::uint8_t abort = common::AbortFlag;
  TForm_conftramlin form(QApplication::activeWindow());
  if (form.exec() == QDialog::Accepted) {
    commandLine = form.CommandLine();
  } else {
    // The choice goes on with the line as it was: only the form was left.
    common::AbortFlag = abort;
  }
}

}  // namespace drawing::ui
