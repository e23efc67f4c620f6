// The hardness dialog on the Qt window of the generic input/output form: a
// value typed into the HV row and taken with Enter shows the other scales
// converted when the form opens again; Escape leaves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <functional>
#include <vector>

#include "calc/hardness_conversion.h"
#include "calc/hardness_dialog.h"
#include "common/kaldvar.h"
#include "common/online_form.h"
#include "common/ui/online_form_window.h"

namespace {

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "hardness_form_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

void Press(QWidget* w, int key) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &event);
}

TEST(HardnessForm, TypedValueIsConvertedOnTheWindow) {
  EnsureApplication();
  common::SetKaldvarDefaults();
  common::SetWkaldvarDefaults();
  common::ResetOnlineData();
  calc::ConvertHardness(0, 0);
  const auto previous = common::SetOnlineFormView(common::ui::RunOnlineFormWindow);

  // Each showing of the form: what its edits held, then the user's keys.
  std::vector<std::vector<std::string>> shown;
  std::vector<std::function<void(common::ui::OnlineFormWindow&)>> users = {
      [](common::ui::OnlineFormWindow& w) {
        w.Edit(2)->setText("240");
        Press(w.Edit(2), Qt::Key_Return);
      },
      [](common::ui::OnlineFormWindow& w) { Press(w.Edit(2), Qt::Key_Escape); },
  };
  std::size_t showing = 0;
  std::function<void()> act = [&] {
    auto* window = qobject_cast<common::ui::OnlineFormWindow*>(QApplication::activeModalWidget());
    if (!window) {
      QTimer::singleShot(10, act);
      return;
    }
    std::vector<std::string> texts;
    for (int n = 1; n <= 11; ++n) texts.push_back(window->Edit(n)->text().toStdString());
    shown.push_back(texts);
    users[std::min(showing++, users.size() - 1)](*window);
    if (showing < users.size()) QTimer::singleShot(10, act);
  };
  QTimer::singleShot(10, act);
  calc::HardnessDialog();
  common::SetOnlineFormView(previous);

  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0][1], "n.def.");
  EXPECT_EQ(shown[1][0], "770");   // Rm
  EXPECT_EQ(shown[1][1], "240");   // HV
  EXPECT_EQ(shown[1][2], "98.1");  // HRB
  EXPECT_EQ(shown[1][4], "20.3");  // HRC
  EXPECT_EQ(common::AbortFlag, 0);
}

}  // namespace
