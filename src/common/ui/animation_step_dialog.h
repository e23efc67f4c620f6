// The step dialog of the animation ("Animation"): "+" shows the next
// picture, "+++++++" ends stepping for the rest of the run, and closing the
// dialog (Escape, or the close button of its frame) ends the run. The
// graphics window asks it after each picture while its StepMode is set.
#pragma once

#include <QDialog>

#include "common/graphics_window.h"

namespace common::ui {

class TForm_anistep : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_anistep(QWidget* parent = nullptr);
  // Shows the dialog modally and waits for the user's answer.
  StepAnswer Ask();

 private:
  void Button_nextstepClick();
  void Button_endstepClick();
  bool endStepping_ = false;
};

}  // namespace common::ui
