// The drawing-name form on Qt; see drawing_name_form.h.
#include "drawing/ui/drawing_name_form.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/code_page.h"
#include "common/kaldvar.h"

namespace drawing::ui {

namespace {

QLineEdit* AddRow(QFormLayout* layout, QWidget* parent, const char* label, const QString& labelName,
                  const QString& editName, const std::string& text) {
  auto* caption = new QLabel(label, parent);
  caption->setObjectName(labelName);
  auto* edit = new QLineEdit(QString::fromStdString(text), parent);
  edit->setObjectName(editName);
  layout->addRow(caption, edit);
  return edit;
}

}  // namespace

TForm_vobuni3::TForm_vobuni3(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm_vobuni3");
  setWindowTitle(QString::fromStdString(common::OemToDisplayText(common::ProgramTitle)));
  const TDrawingNameEdits edits = DrawingNameEditsFromRecords();
  auto* layout = new QVBoxLayout(this);
  const char* boxes[3] = {nullptr, " gear 1 ", " gear 2 "};
  const char* boxNames[3] = {nullptr, "GroupBox_welle", "GroupBox_nabe"};
  for (int gear = 1; gear <= 2; ++gear) {
    auto* box = new QGroupBox(boxes[gear], this);
    box->setObjectName(boxNames[gear]);
    auto* form = new QFormLayout(box);
    // Gear n: Edit_zeichname<n>, Edit_zeichnr<n>, Edit_zeichname2<n>.
    const QString n = QString::number(gear);
    Edit_zeichname[gear] = AddRow(form, box, "Drawing name", "Label_zeichname" + n, "Edit_zeichname" + n,
                                  edits.DrawingName[gear]);
    Edit_zeichnr[gear] = AddRow(form, box, "Drawing number", "Label_zeichnr" + n, "Edit_zeichnr" + n,
                                edits.DrawingNumber[gear]);
    Edit_zeichname2[gear] = AddRow(form, box, "Drawing name 2", "Label_zeichname2" + n, "Edit_zeichname2" + n,
                                   edits.DrawingName2[gear]);
    layout->addWidget(box);
  }
  auto* texts = new QFormLayout();
  Edit_info1 = AddRow(texts, this, "Text 1", "Label_info1", "Edit_info1", edits.Info1);
  Edit_info2 = AddRow(texts, this, "Text 2", "Label_info2", "Edit_info2", edits.Info2);
  layout->addLayout(texts);
  auto* buttons = new QHBoxLayout();
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Button_ok");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Button_cancel");
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] { Button_okClick(); });
  connect(cancel, &QPushButton::clicked, this, [this] { Button_cancelClick(); });
  // Escape and the window frame cancel as the button does.
  connect(this, &QDialog::rejected, this, [] { CancelDrawingNameForm(); });
}

TDrawingNameEdits TForm_vobuni3::Edits() const {
  TDrawingNameEdits edits;
  for (int gear = 1; gear <= 2; ++gear) {
    edits.DrawingName[gear] = Edit_zeichname[gear]->text().toStdString();
    edits.DrawingNumber[gear] = Edit_zeichnr[gear]->text().toStdString();
    edits.DrawingName2[gear] = Edit_zeichname2[gear]->text().toStdString();
  }
  edits.Info1 = Edit_info1->text().toStdString();
  edits.Info2 = Edit_info2->text().toStdString();
  return edits;
}

void TForm_vobuni3::Button_okClick() {
  StoreDrawingNameEdits(Edits());
  accept();
}

void TForm_vobuni3::Button_cancelClick() { reject(); }

void ShowDrawingNameFormWindow() {
  TForm_vobuni3 form(QApplication::activeWindow());
  form.exec();
}

}  // namespace drawing::ui
