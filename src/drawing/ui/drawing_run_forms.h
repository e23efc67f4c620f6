// The diagram-limits form and the animation form on Qt, over the data and
// handlers of xy_diagram.h (TEinDiagramLimits) and gear_animation.h
// (TForm_vob1ani). InstallDrawingForms installs their views.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace drawing {
class TEinDiagramLimits;
class TForm_vob1ani;
}  // namespace drawing

namespace drawing::ui {

// The four limits round a disabled box that stands for the diagram: the y
// edits at its left, top and bottom, the x edits below it.
class DiagramLimitsDialog : public QDialog {
  Q_OBJECT
 public:
  DiagramLimitsDialog(drawing::TEinDiagramLimits& form, QWidget* parent = nullptr);

 private:
  void ToForm();
  void FromForm();
  drawing::TEinDiagramLimits& form_;
  QLineEdit *Edit_xmin, *Edit_xmax, *Edit_ymin, *Edit_ymax;
};

class AnimationDialog : public QDialog {
  Q_OBJECT
 public:
  AnimationDialog(drawing::TForm_vob1ani& form, QWidget* parent = nullptr);

 private:
  void ToForm();
  drawing::TForm_vob1ani& form_;
  QLineEdit *Edit_steps, *Edit_pause, *Edit_start, *Edit_end;
  QCheckBox* CheckBox_singlestep;
};

void ShowDiagramLimitsForm(drawing::TEinDiagramLimits& form);
void ShowAnimationForm(drawing::TForm_vob1ani& form);

}  // namespace drawing::ui
