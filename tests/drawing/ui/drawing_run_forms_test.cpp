// The diagram-limits form and the animation form on Qt: the edits reach
// the form's data, OK and Cancel close them as their buttons say, and the
// window frame counts as Cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "common/kaldvar.h"
#include "drawing/gear_animation.h"
#include "drawing/ui/drawing_run_forms.h"
#include "drawing/xy_diagram.h"

namespace {

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "drawing_run_forms_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

template <class T>
T* Child(QWidget& form, const char* name) {
  T* child = form.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

TEST(DrawingRunForms, LimitsEnteredAndCalculated) {
  EnsureApplication();
  drawing::DiagramState = {};
  drawing::TEinDiagramLimits form;
  form.FormCreate();
  drawing::SetDiagramLimitsForm(form, 0, -2, 8, 2);
  drawing::ui::DiagramLimitsDialog dialog(form);
  Child<QPushButton>(dialog, "Button_calc")->click();
  EXPECT_EQ(Child<QLineEdit>(dialog, "Edit_xmax")->text().toStdString(), "8");
  EXPECT_EQ(Child<QLineEdit>(dialog, "Edit_ymin")->text().toStdString(), "-2");
  // A limit that is no number is refused: the edit shows its old text.
  Child<QLineEdit>(dialog, "Edit_xmax")->setText("abc");
  Child<QPushButton>(dialog, "Button_ok")->click();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Child<QLineEdit>(dialog, "Edit_xmax")->text().toStdString(), "8");
  Child<QLineEdit>(dialog, "Edit_xmax")->setText("5");
  Child<QPushButton>(dialog, "Button_ok")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(form.closedBy, drawing::TEinDiagramLimits::Closed::Ok);
  EXPECT_EQ(drawing::DiagramUserLimits.xmax, 5);
  EXPECT_EQ(drawing::DiagramUserLimits.ymax, 2);

  drawing::TEinDiagramLimits other;
  other.FormCreate();
  drawing::ui::DiagramLimitsDialog second(other);
  second.show();
  second.close();  // the window frame
  EXPECT_EQ(other.closedBy, drawing::TEinDiagramLimits::Closed::Frame);
}

TEST(DrawingRunForms, AnimationSettings) {
  EnsureApplication();
  common::SetKaldvarDefaults();
  drawing::TForm_vob1ani form;
  form.FormCreate();
  drawing::ui::AnimationDialog dialog(form);
  EXPECT_FALSE(Child<QLineEdit>(dialog, "Edit_start")->isEnabled());
  Child<QLineEdit>(dialog, "Edit_pause")->setText("300");
  Child<QCheckBox>(dialog, "CheckBox_singlestep")->setChecked(true);
  EXPECT_EQ(Child<QLineEdit>(dialog, "Edit_pause")->text().toStdString(), "0");
  Child<QLineEdit>(dialog, "Edit_steps")->setText("36");
  Child<QPushButton>(dialog, "Button_ok")->click();
  EXPECT_EQ(form.closedBy, drawing::TForm_vob1ani::Closed::Ok);
  EXPECT_EQ(form.Edit_steps, "36");
  EXPECT_TRUE(form.SingleStep);

  drawing::TForm_vob1ani cancelled;
  cancelled.FormCreate();
  drawing::ui::AnimationDialog second(cancelled);
  Child<QPushButton>(second, "Button_cancel")->click();
  EXPECT_EQ(cancelled.closedBy, drawing::TForm_vob1ani::Closed::Cancel);
  EXPECT_EQ(common::AbortFlag, 1);
}

}  // namespace
