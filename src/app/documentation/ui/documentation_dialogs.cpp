// The documentation windows on Qt; see documentation_dialogs.h.
#include "app/documentation/ui/documentation_dialogs.h"

#include <QApplication>
#include <QShowEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "common/design_documentation.h"
#include "common/form_placement.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/ui/form_scaling.h"

namespace app::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

QLineEdit* MakeEdit(QWidget* parent, const QString& name, const std::string& text, int maxLength = 0) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  edit->setText(Q(text));
  return edit;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  return label;
}

// The OK, Cancel and help row at the foot of a form.
QHBoxLayout* FootButtons(QDialog* form, const QString& helpCaption, int helpNumber) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  QPushButton* ok = MakeButton(form, "Button_ok", "OK");
  ok->setDefault(true);
  row->addWidget(ok);
  row->addWidget(MakeButton(form, "Button_cancel", "Cancel"));
  QPushButton* help = MakeButton(form, "Button_help", helpCaption);
  row->addWidget(help);
  QObject::connect(help, &QPushButton::clicked, form, [helpNumber] { common::ShowHelpText(helpNumber, 1); });
  return row;
}

// A grid cell: a text item, not editable when it is a title.
void SetCell(QTableWidget* grid, int row, int column, const std::string& text, bool title = false) {
  auto* item = new QTableWidgetItem(Q(text));
  if (title) item->setFlags(Qt::ItemIsEnabled);
  grid->setItem(row, column, item);
}

std::string Cell(const QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  return item ? S(item->text()) : std::string();
}

QTableWidget* MakeGrid(QWidget* parent, const char* name, int rows, int columns, int rowHeight) {
  auto* grid = new QTableWidget(rows, columns, parent);
  grid->setObjectName(name);
  grid->verticalHeader()->setDefaultSectionSize(common::ScalePixels(rowHeight));
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return grid;
}

// Room for every row and column of a grid without scrolling: the columns
// at least as wide as the form asks and as their texts need. Called when
// the form is shown, after its font has been scaled.
void FitGrid(QTableWidget* grid, const std::vector<int>& widths) {
  for (int c = 0; c < grid->columnCount() && c < static_cast<int>(widths.size()); ++c) {
    grid->resizeColumnToContents(c);
    grid->setColumnWidth(c, std::max(grid->columnWidth(c), common::ScalePixels(widths[c])));
  }
  const bool rowHeads = !grid->verticalHeader()->isHidden();
  const bool columnHeads = !grid->horizontalHeader()->isHidden();
  const int width = (rowHeads ? grid->verticalHeader()->sizeHint().width() : 0) + grid->horizontalHeader()->length();
  const int height = (columnHeads ? grid->horizontalHeader()->sizeHint().height() : 0) + grid->verticalHeader()->length();
  grid->setFixedSize(width + 2 * grid->frameWidth(), height + 2 * grid->frameWidth());
}

}  // namespace

// ---- TForm_EinAend ---------------------------------------------------------------

TForm_EinAend::TForm_EinAend(int n, QWidget* parent) : QDialog(parent), fields_(ChangeEntryFieldsFor(n)) {
  setObjectName("Form_EinAend");
  setWindowTitle(Q(fields_.caption));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  grid->addWidget(MakeLabel(this, "Label_aenderung", "text of changes"), 0, 0);
  Edit_aenderung = MakeEdit(this, "Edit_aenderung", fields_.modification, ChangeModificationLength);
  grid->addWidget(Edit_aenderung, 0, 1, 1, 2);
  grid->addWidget(MakeLabel(this, "Label_datum", "Date"), 1, 0);
  Edit_datum = MakeEdit(this, "Edit_datum", fields_.date, ChangeDateLength);
  grid->addWidget(Edit_datum, 1, 1);
  QPushButton* today = MakeButton(this, "Button_datum", Q(fields_.dateButtonCaption));
  grid->addWidget(today, 1, 2);
  grid->addWidget(MakeLabel(this, "Label_bearbeiter", "responsible"), 2, 0);
  Edit_bearbeiter = MakeEdit(this, "Edit_bearbeiter", fields_.responsible, ChangeResponsibleLength);
  grid->addWidget(Edit_bearbeiter, 2, 1);
  grid->addWidget(MakeLabel(this, "Label_beschreibung", "Description"), 3, 0, Qt::AlignTop);
  Memo_beschreibung = new QPlainTextEdit(this);
  Memo_beschreibung->setObjectName("Memo_beschreibung");
  Memo_beschreibung->setPlainText(Q(fields_.description));
  grid->addWidget(Memo_beschreibung, 3, 1, 1, 2);
  layout->addLayout(FootButtons(this, "&Help", 3000));

  connect(today, &QPushButton::clicked, this, &TForm_EinAend::Button_datumClick);
  connect(findChild<QPushButton*>("Button_ok"), &QPushButton::clicked, this, &TForm_EinAend::Button_okClick);
  connect(findChild<QPushButton*>("Button_cancel"), &QPushButton::clicked, this, &TForm_EinAend::Button_cancelClick);
  // Escape and the window frame cancel as the button does.
  connect(this, &QDialog::rejected, this, [] { CancelChangeEntry(); });
  setMinimumWidth(420);
  common::ui::ScaleForm(this);
}

TChangeEntryFields TForm_EinAend::Fields() const {
  TChangeEntryFields f = fields_;
  f.modification = S(Edit_aenderung->text());
  f.date = S(Edit_datum->text());
  f.responsible = S(Edit_bearbeiter->text());
  f.description = S(Memo_beschreibung->toPlainText());
  return f;
}

void TForm_EinAend::Button_datumClick() {
  TChangeEntryFields f = Fields();
  SetChangeDateToday(f);
  Edit_datum->setText(Q(f.date));
}

void TForm_EinAend::Button_okClick() {
  StoreChangeEntry(Fields());
  accept();
}

void TForm_EinAend::Button_cancelClick() { reject(); }

// ---- TForm_zeichInfo ----------------------------------------------------------------

TForm_zeichInfo::TForm_zeichInfo(QWidget* parent) : QDialog(parent), fields_(DrawingInfoFieldsFromRecords()) {
  setObjectName("Form_zeichInfo");
  setWindowTitle(Q(fields_.caption));
  const bool iso = fields_.isoForm;
  auto* layout = new QVBoxLayout(this);

  // The approval rows, with the date buttons of the DIN form beside them.
  auto* titleRow = new QHBoxLayout;
  layout->addLayout(titleRow);
  const int rows = static_cast<int>(fields_.titleRows.size());
  StringGrid_title = MakeGrid(this, "StringGrid_title", rows, 3, 18);
  StringGrid_title->setHorizontalHeaderLabels({"", Q(fields_.dateHeader), "Name"});
  StringGrid_title->verticalHeader()->hide();
  titleRow->addWidget(StringGrid_title, 0, Qt::AlignTop);
  auto* dateButtons = new QVBoxLayout;
  titleRow->addLayout(dateButtons);
  dateButtons->addSpacing(StringGrid_title->horizontalHeader()->sizeHint().height());
  for (int row = 1; row <= 4; ++row) {
    const std::string name = "Button_datum" + std::to_string(row);
    QPushButton* button = MakeButton(this, name.c_str(), Q(fields_.dateButtonCaption));
    button->setVisible(!iso);
    dateButtons->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, row] { DateButtonClick(row); });
  }
  dateButtons->addStretch(1);

  // The ISO document fields.
  StringGrid_doku = MakeGrid(this, "StringGrid_doku", 3, 2, 16);
  StringGrid_doku->horizontalHeader()->hide();
  StringGrid_doku->verticalHeader()->hide();
  StringGrid_doku->setVisible(iso);
  titleRow->addWidget(StringGrid_doku, 0, Qt::AlignTop);
  titleRow->addStretch(1);

  // The replacement texts of the DIN form.
  auto* replacement = new QGridLayout;
  layout->addLayout(replacement);
  QLabel* forLabel = MakeLabel(this, "Label_ersatzfuer", "Replacement for");
  QLabel* byLabel = MakeLabel(this, "Label_ersetztdurch", "Replaced by");
  Edit_ersatzfuer = MakeEdit(this, "Edit_ersatzfuer", "", common::TitleReplacementLength);
  Edit_ersetztdurch = MakeEdit(this, "Edit_ersetztdurch", "", common::TitleReplacementLength);
  replacement->addWidget(forLabel, 0, 0);
  replacement->addWidget(Edit_ersatzfuer, 0, 1);
  replacement->addWidget(byLabel, 0, 2);
  replacement->addWidget(Edit_ersetztdurch, 0, 3);
  for (QWidget* w : {static_cast<QWidget*>(forLabel), static_cast<QWidget*>(byLabel),
                     static_cast<QWidget*>(Edit_ersatzfuer), static_cast<QWidget*>(Edit_ersetztdurch)})
    w->setVisible(!iso);

  // The free texts and the sheets they are drawn on.
  auto* modeRow = new QHBoxLayout;
  layout->addLayout(modeRow);
  ComboBox_textmode = new QComboBox(this);
  ComboBox_textmode->setObjectName("ComboBox_textmode");
  for (int i = 0; i <= 3; ++i) ComboBox_textmode->addItem(Q(FreeTextModeNames[i]));
  ComboBox_textmode->setToolTip(Q(common::GetHelpText2(3020)));
  modeRow->addWidget(ComboBox_textmode);
  modeRow->addStretch(1);
  StringGrid_freetext = MakeGrid(this, "StringGrid_freetext", FreeTextRows, 5, 16);
  StringGrid_freetext->setHorizontalHeaderLabels({"x", "y", "h", "phi", "Text"});
  layout->addWidget(StringGrid_freetext);
  layout->addStretch(1);
  layout->addLayout(FootButtons(this, "&Help", 3010));

  Show(fields_);
  connect(ComboBox_textmode, &QComboBox::currentIndexChanged, this, [this] { ComboBox_textmodeChange(); });
  connect(findChild<QPushButton*>("Button_ok"), &QPushButton::clicked, this, &TForm_zeichInfo::Button_okClick);
  connect(findChild<QPushButton*>("Button_cancel"), &QPushButton::clicked, this,
          &TForm_zeichInfo::Button_cancelClick);
  connect(this, &QDialog::rejected, this, [] { CancelDrawingInfo(); });
  common::ui::ScaleForm(this);
}

void TForm_zeichInfo::showEvent(QShowEvent* event) {
  if (!fitted_) {
    fitted_ = true;
    const bool iso = fields_.isoForm;
    FitGrid(StringGrid_title, {iso ? 128 : 64, 64, iso ? 128 : 64});
    FitGrid(StringGrid_doku, {128, 128});
    FitGrid(StringGrid_freetext, {32, 32, 32, 32, 320});
    adjustSize();
  }
  QDialog::showEvent(event);
}

void TForm_zeichInfo::Show(const TDrawingInfoFields& f) {
  Edit_ersatzfuer->setText(Q(f.replacementFor));
  Edit_ersetztdurch->setText(Q(f.replacedBy));
  for (int r = 0; r < static_cast<int>(f.titleRows.size()); ++r) {
    SetCell(StringGrid_title, r, 0, f.titleRows[r].title, true);
    SetCell(StringGrid_title, r, 1, f.titleRows[r].date);
    SetCell(StringGrid_title, r, 2, f.titleRows[r].name);
  }
  for (int r = 1; r <= 3; ++r) {
    SetCell(StringGrid_doku, r - 1, 0, f.documentRows[r].title, true);
    SetCell(StringGrid_doku, r - 1, 1, f.documentRows[r].name);
  }
  for (int r = 1; r <= FreeTextRows; ++r) {
    const TFreeTextRow& row = f.freeTexts[r];
    const std::string cells[5] = {row.x, row.y, row.h, row.phi, row.text};
    for (int c = 0; c < 5; ++c) SetCell(StringGrid_freetext, r - 1, c, cells[c]);
  }
  ComboBox_textmode->setCurrentIndex(f.textMode);
  StringGrid_freetext->setVisible(FreeTextGridShown(f.textMode));
}

TDrawingInfoFields TForm_zeichInfo::Fields() const {
  TDrawingInfoFields f = fields_;
  f.replacementFor = S(Edit_ersatzfuer->text());
  f.replacedBy = S(Edit_ersetztdurch->text());
  for (int r = 0; r < static_cast<int>(f.titleRows.size()); ++r) {
    f.titleRows[r].date = Cell(StringGrid_title, r, 1);
    f.titleRows[r].name = Cell(StringGrid_title, r, 2);
  }
  for (int r = 1; r <= 3; ++r) f.documentRows[r].name = Cell(StringGrid_doku, r - 1, 1);
  for (int r = 1; r <= FreeTextRows; ++r) {
    TFreeTextRow& row = f.freeTexts[r];
    row = {Cell(StringGrid_freetext, r - 1, 0), Cell(StringGrid_freetext, r - 1, 1),
           Cell(StringGrid_freetext, r - 1, 2), Cell(StringGrid_freetext, r - 1, 3),
           Cell(StringGrid_freetext, r - 1, 4)};
  }
  f.textMode = ComboBox_textmode->currentIndex();
  return f;
}

void TForm_zeichInfo::DateButtonClick(int row) {
  TDrawingInfoFields f = Fields();
  SetTitleRowDateToday(f, row);
  if (row >= 1 && row <= static_cast<int>(f.titleRows.size()))
    SetCell(StringGrid_title, row - 1, 1, f.titleRows[row - 1].date);
}

void TForm_zeichInfo::ComboBox_textmodeChange() {
  StringGrid_freetext->setVisible(FreeTextGridShown(ComboBox_textmode->currentIndex()));
}

void TForm_zeichInfo::Button_okClick() {
  TDrawingInfoFields f = Fields();
  if (!StoreDrawingInfoFields(f)) {
    // A refused number shows its old value again; the form stays open.
    Show(f);
    return;
  }
  accept();
}

void TForm_zeichInfo::Button_cancelClick() { reject(); }

// ---- TForm_confDoku ---------------------------------------------------------------

TForm_confDoku::TForm_confDoku(QWidget* parent) : QDialog(parent) {
  setObjectName("Form_confDoku");
  const TDocumentLinkEdits edits = DocumentLinkEditsFromRecords();
  caption_ = edits.caption;
  setWindowTitle(Q(edits.caption));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  const QString programHint = Q(common::GetHelpText2(2710));
  const QString fileHint = Q(common::GetHelpText2(2720));
  for (int n = 1; n <= DocumentLinkCount; ++n) {
    const QString k = QString::number(n);
    const int row = 2 * (n - 1);
    QLabel* program = MakeLabel(this, "Label_prog" + k, "Program " + k);
    program->setToolTip(programHint);
    QLabel* file = MakeLabel(this, "Label_file" + k, "File " + k);
    file->setToolTip(fileHint);
    Edit_prog[n] = MakeEdit(this, "Edit_prog" + k, "");
    Edit_file[n] = MakeEdit(this, "Edit_file" + k, "");
    Edit_prog[n]->setMinimumWidth(320);
    const std::string progName = "Button_prog" + std::to_string(n), fileName = "Button_file" + std::to_string(n);
    const std::string execName = "Button" + std::to_string(n), execFileName = "Button" + std::to_string(n) + "f";
    QPushButton* chooseProgram = MakeButton(this, progName.c_str(), "...");
    QPushButton* chooseFile = MakeButton(this, fileName.c_str(), "...");
    QPushButton* execProgram = MakeButton(this, execName.c_str(), "Exec Prog");
    QPushButton* execFile = MakeButton(this, execFileName.c_str(), "Exec File");
    grid->addWidget(program, row, 0);
    grid->addWidget(Edit_prog[n], row, 1);
    grid->addWidget(chooseProgram, row, 2);
    grid->addWidget(execProgram, row, 3);
    grid->addWidget(file, row + 1, 0);
    grid->addWidget(Edit_file[n], row + 1, 1);
    grid->addWidget(chooseFile, row + 1, 2);
    grid->addWidget(execFile, row + 1, 3);
    connect(chooseProgram, &QPushButton::clicked, this, [this, n] { Button_progClick(n); });
    connect(chooseFile, &QPushButton::clicked, this, [this, n] { Button_fileClick(n); });
    connect(execProgram, &QPushButton::clicked, this, [this, n] { Button_execProgClick(n); });
    connect(execFile, &QPushButton::clicked, this, [this, n] { Button_execFileClick(n); });
  }
  layout->addLayout(FootButtons(this, "&Help Text", 2730));
  Show(edits);
  connect(findChild<QPushButton*>("Button_ok"), &QPushButton::clicked, this, &TForm_confDoku::Button_okClick);
  connect(findChild<QPushButton*>("Button_cancel"), &QPushButton::clicked, this,
          &TForm_confDoku::Button_cancelClick);
  connect(this, &QDialog::rejected, this, [] { CancelDocumentLinks(); });
  common::ui::ScaleForm(this);
}

void TForm_confDoku::Show(const TDocumentLinkEdits& edits) {
  for (int n = 1; n <= DocumentLinkCount; ++n) {
    Edit_prog[n]->setText(Q(edits.links[n].Program));
    Edit_file[n]->setText(Q(edits.links[n].File));
  }
}

TDocumentLinkEdits TForm_confDoku::Edits() const {
  TDocumentLinkEdits edits;
  edits.caption = caption_;
  for (int n = 1; n <= DocumentLinkCount; ++n)
    edits.links[n] = {S(Edit_prog[n]->text()), S(Edit_file[n]->text())};
  return edits;
}

void TForm_confDoku::Button_progClick(int n) {
  TDocumentLinkEdits edits = Edits();
  ChooseLinkProgram(edits, n);
  Edit_prog[n]->setText(Q(edits.links[n].Program));
}

void TForm_confDoku::Button_fileClick(int n) {
  TDocumentLinkEdits edits = Edits();
  ChooseLinkFile(edits, n);
  Edit_file[n]->setText(Q(edits.links[n].File));
}

void TForm_confDoku::Button_execProgClick(int n) { ExecLinkProgram(Edits(), n); }

void TForm_confDoku::Button_execFileClick(int n) { ExecLinkFile(Edits(), n); }

void TForm_confDoku::Button_okClick() {
  StoreDocumentLinkEdits(Edits());
  accept();
}

void TForm_confDoku::Button_cancelClick() { reject(); }

// ---- The views ------------------------------------------------------------------------

void QtDocumentationViews::ShowChangeEntry(int n) {
  TForm_EinAend form(n, QApplication::activeWindow());
  form.exec();
}

void QtDocumentationViews::ShowDrawingInfo() {
  TForm_zeichInfo form(QApplication::activeWindow());
  form.exec();
}

void QtDocumentationViews::ShowDocumentLinks() {
  TForm_confDoku form(QApplication::activeWindow());
  form.exec();
}

}  // namespace app::ui
