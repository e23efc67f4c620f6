// The animation's step dialog; see animation_step_dialog.h.
#include "common/ui/animation_step_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace common::ui {

TForm_anistep::TForm_anistep(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Animation");
  auto* layout = new QHBoxLayout(this);
  auto* next = new QPushButton("+", this);
  auto* end = new QPushButton("+++++++", this);
  next->setObjectName("Button_nextstep");
  end->setObjectName("Button_endstep");
  next->setDefault(true);
  next->setAutoDefault(true);
  layout->addWidget(next);
  layout->addWidget(end);
  connect(next, &QPushButton::clicked, this, [this] { Button_nextstepClick(); });
  connect(end, &QPushButton::clicked, this, [this] { Button_endstepClick(); });
}

void TForm_anistep::Button_nextstepClick() { accept(); }

void TForm_anistep::Button_endstepClick() {
  endStepping_ = true;
  accept();
}

StepAnswer TForm_anistep::Ask() {
  endStepping_ = false;
  // Escape and the frame's close button reject the dialog: the run ends.
  if (exec() != QDialog::Accepted) return StepAnswer::EndRun;
  return endStepping_ ? StepAnswer::EndStepping : StepAnswer::Next;
}

}  // namespace common::ui
