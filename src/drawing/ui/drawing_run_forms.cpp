// The diagram-limits and animation forms on Qt; see drawing_run_forms.h.
#include "drawing/ui/drawing_run_forms.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/code_page.h"
#include "drawing/gear_animation.h"
#include "drawing/xy_diagram.h"

namespace drawing::ui {

namespace {

QString Display(const std::string& programText) {
  return QString::fromStdString(common::OemToDisplayText(programText));
}

QLineEdit* Edit(QWidget* parent, const char* name, const std::string& text) {
  auto* edit = new QLineEdit(QString::fromStdString(text), parent);
  edit->setObjectName(name);
  edit->setMaximumWidth(110);
  return edit;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

// ---- Diagram limits ------------------------------------------------------------------

DiagramLimitsDialog::DiagramLimitsDialog(drawing::TEinDiagramLimits& form, QWidget* parent)
    : QDialog(parent), form_(form) {
  setObjectName("TEinDiagramLimits");
  setWindowTitle(Display(form.Caption));
  auto* grid = new QGridLayout(this);
  auto* labelY = new QLabel(Display(form.Label_y), this);
  labelY->setObjectName("Label_y");
  auto* labelX = new QLabel(Display(form.Label_x), this);
  labelX->setObjectName("Label_x");
  auto* box = new QGroupBox(this);
  box->setEnabled(false);
  box->setMinimumSize(220, 140);
  Edit_ymax = Edit(this, "Edit_ymax", form.Edit_ymax);
  Edit_ymin = Edit(this, "Edit_ymin", form.Edit_ymin);
  Edit_xmin = Edit(this, "Edit_xmin", form.Edit_xmin);
  Edit_xmax = Edit(this, "Edit_xmax", form.Edit_xmax);
  grid->addWidget(labelY, 0, 0);
  grid->addWidget(Edit_ymax, 1, 0, Qt::AlignTop);
  grid->addWidget(box, 1, 1, 2, 2);
  grid->addWidget(Edit_ymin, 2, 0, Qt::AlignBottom);
  grid->addWidget(Edit_xmin, 3, 1, Qt::AlignLeft);
  grid->addWidget(Edit_xmax, 3, 2, Qt::AlignRight);
  grid->addWidget(labelX, 4, 2, Qt::AlignRight);
  auto* buttons = new QHBoxLayout();
  auto* ok = Button(this, "Button_ok", "OK");
  ok->setDefault(true);
  auto* cancel = Button(this, "Button_cancel", "Cancel");
  auto* help = Button(this, "Button_help", "&Help Text");
  auto* calc = Button(this, "Button_calc", "Calculate");
  for (QPushButton* b : {ok, cancel, help, calc}) buttons->addWidget(b);
  grid->addLayout(buttons, 5, 0, 1, 3);
  connect(ok, &QPushButton::clicked, this, [this] {
    ToForm();
    if (form_.Button_okClick())
      accept();
    else
      FromForm();  // a refused number shows its old text again
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    form_.Button_cancelClick();
    reject();
  });
  connect(help, &QPushButton::clicked, this, [this] { form_.Button_helpClick(); });
  connect(calc, &QPushButton::clicked, this, [this] {
    ToForm();
    form_.Button_calcClick();
    FromForm();
  });
}

void DiagramLimitsDialog::ToForm() {
  form_.Edit_xmin = Edit_xmin->text().toStdString();
  form_.Edit_xmax = Edit_xmax->text().toStdString();
  form_.Edit_ymin = Edit_ymin->text().toStdString();
  form_.Edit_ymax = Edit_ymax->text().toStdString();
}

void DiagramLimitsDialog::FromForm() {
  Edit_xmin->setText(QString::fromStdString(form_.Edit_xmin));
  Edit_xmax->setText(QString::fromStdString(form_.Edit_xmax));
  Edit_ymin->setText(QString::fromStdString(form_.Edit_ymin));
  Edit_ymax->setText(QString::fromStdString(form_.Edit_ymax));
}

void ShowDiagramLimitsForm(drawing::TEinDiagramLimits& form) {
  DiagramLimitsDialog dialog(form, QApplication::activeWindow());
  dialog.exec();
}

// ---- Animation ----------------------------------------------------------------------

AnimationDialog::AnimationDialog(drawing::TForm_vob1ani& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName("TForm_vob1ani");
  setWindowTitle(Display(form.Caption));
  auto* grid = new QGridLayout(this);
  Edit_steps = Edit(this, "Edit_steps", form.Edit_steps);
  Edit_pause = Edit(this, "Edit_pause", form.Edit_pause);
  Edit_start = Edit(this, "Edit_start", form.Edit_start);
  Edit_end = Edit(this, "Edit_end", form.Edit_end);
  Edit_start->setEnabled(form.StartEndEnabled);
  Edit_end->setEnabled(form.StartEndEnabled);
  auto* anzbild = Button(this, "Button_anzbild", "<");
  auto* ms = Button(this, "Button_ms", "<");
  CheckBox_singlestep = new QCheckBox(Display(form.Label_singlestep), this);
  CheckBox_singlestep->setObjectName("CheckBox_singlestep");
  CheckBox_singlestep->setChecked(form.SingleStep);
  grid->addWidget(new QLabel(Display(form.Label_steps), this), 0, 0);
  grid->addWidget(Edit_steps, 0, 1);
  grid->addWidget(anzbild, 0, 2);
  grid->addWidget(new QLabel(Display(form.Label_pause), this), 1, 0);
  grid->addWidget(Edit_pause, 1, 1);
  grid->addWidget(ms, 1, 2);
  grid->addWidget(new QLabel(Display(form.Label_ms), this), 1, 3);
  grid->addWidget(CheckBox_singlestep, 2, 0, 1, 3);
  grid->addWidget(new QLabel(Display(form.Label_start), this), 3, 0);
  grid->addWidget(Edit_start, 3, 1);
  grid->addWidget(new QLabel(Display(form.Label_angleUnit), this), 3, 2);
  grid->addWidget(new QLabel(Display(form.Label_end), this), 4, 0);
  grid->addWidget(Edit_end, 4, 1);
  grid->addWidget(new QLabel(Display(form.Label_angleUnit), this), 4, 2);
  auto* buttons = new QHBoxLayout();
  auto* ok = Button(this, "Button_ok", "OK");
  ok->setDefault(true);
  auto* cancel = Button(this, "Button_cancel", "Cancel");
  auto* help = Button(this, "Button_help", "&Help");
  for (QPushButton* b : {ok, cancel, help}) buttons->addWidget(b);
  grid->addLayout(buttons, 5, 0, 1, 4);
  connect(anzbild, &QPushButton::clicked, this, [this] {
    form_.Button_anzbildClick();
    Edit_steps->setText(QString::fromStdString(form_.Edit_steps));
  });
  connect(ms, &QPushButton::clicked, this, [this] {
    form_.Button_msClick();
    Edit_pause->setText(QString::fromStdString(form_.Edit_pause));
  });
  connect(CheckBox_singlestep, &QCheckBox::toggled, this, [this](bool checked) {
    ToForm();
    form_.CheckBox_singlestepClick(checked);
    Edit_pause->setText(QString::fromStdString(form_.Edit_pause));
  });
  connect(ok, &QPushButton::clicked, this, [this] {
    ToForm();
    form_.Button_okClick();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    form_.Button_cancelClick();
    reject();
  });
  connect(help, &QPushButton::clicked, this, [this] { form_.Button_helpClick(); });
}

void AnimationDialog::ToForm() {
  form_.Edit_steps = Edit_steps->text().toStdString();
  form_.Edit_pause = Edit_pause->text().toStdString();
  form_.SingleStep = CheckBox_singlestep->isChecked();
}

void ShowAnimationForm(drawing::TForm_vob1ani& form) {
  AnimationDialog dialog(form, QApplication::activeWindow());
  dialog.exec();
}

}  // namespace drawing::ui
