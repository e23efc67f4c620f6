// The interactive program; see run_main_window.h.
#include "app/ui/run_main_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QTimer>

#include "app/entry_points.h"
#include "app/main_menu.h"
#include "drawing/gear_animation.h"
#include "app/pitch_curve_input.h"
#include "app/ui/formula_dialogs.h"
#include "app/ui/main_window_form.h"
#include "common/kaldvar.h"
#include "common/ui/common_forms.h"
#include "common/ui/graphics_view.h"
#include "drawing/ui/drawing_forms.h"
#include "platform/qt/qt_message_windows.h"
#include "platform/qt/qt_user_dialogs.h"

namespace app::ui {

void InstallApplicationForms() {
  platform::qt::InstallQtPlatform();
  platform::qt::InstallQtMessageWindows();
  common::ui::InstallCommonForms();
  drawing::ui::InstallDrawingForms();
  static QtPitchCurveViews views;
  SetPitchCurveViews(&views);
  // Web pages open in the desktop's browser.
  Entry().OpenWebPage = [](const std::string& address) {
    if (!QDesktopServices::openUrl(QUrl(QString::fromStdString(address)))) common::AbortFlag = 1;
  };
}

int RunMainWindow(int argc, char** argv, const std::string& grabFile, const BeforeMainWindow& before, int settle,
                  const std::string& showItem) {
  QApplication application(argc, argv);
  application.setApplicationName(QString::fromStdString(common::ProductCode));
  InstallApplicationForms();
  if (before) {
    if (const std::optional<int> exitCode = before()) return *exitCode;
  }
  int result = 0;
  {
    Thh window;
    window.show();
    if (!showItem.empty()) {
      // A picture taken without a user: the animation runs with the
      // settings its form offers.
      if (!grabFile.empty())
        drawing::AnimationFormView() = [](drawing::TForm_vob1ani& form) { form.Button_okClick(); };
      QTimer::singleShot(0, &window, [showItem] {
        if (HasMenuHandler(showItem)) MenuItemClick(showItem);
      });
    }
    if (!grabFile.empty()) {
      QTimer::singleShot(settle, &window, [&] {
        window.View()->ReplayPending();
        if (!window.grab().save(QString::fromStdString(grabFile), "PNG")) result = 1;
        window.close();
      });
    }
    const int code = application.exec();
    if (result == 0) result = code;
  }
  return result;
}

}  // namespace app::ui
