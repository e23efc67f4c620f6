// The step dialog of the animation ("Animation"): "+" shows the next frame,
// "+++++++" ends stepping for the rest of the replay. The graphics window
// shows it at each colour-0 record while its StepMode is set.
#pragma once

#include <QDialog>

namespace common::ui {

class TForm_anistep : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_anistep(QWidget* parent = nullptr);
  // Whether the dialog was left with "+++++++".
  bool EndStepping() const { return endStepping_; }

 private:
  void Button_nextstepClick();
  void Button_endstepClick();
  bool endStepping_ = false;
};

// Shows the dialog modally; true when stepping is to end.
bool RunAnimationStepDialog(QWidget* parent);

}  // namespace common::ui
