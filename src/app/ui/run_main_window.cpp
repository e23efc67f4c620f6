// The interactive program; see run_main_window.h.
#include "app/ui/run_main_window.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include "app/entry_points.h"
#include "app/main_menu.h"
#include "app/start_up.h"
#include "drawing/gear_animation.h"
#include "app/inputs/pitch_curve_input.h"
#include "app/inputs/design_input_views.h"
#include "app/inputs/ui/design_input_dialogs.h"
#include "app/inputs/ui/curve_form_dialogs.h"
#include "app/documentation/ui/documentation_dialogs.h"
#include "app/inputs/ui/design_input_forms.h"
#include "app/tables/ui/design_table_window.h"
#include "app/inputs/ui/formula_dialogs.h"
#include "app/inputs/ui/point_list_dialogs.h"
#include "app/help/ui/information_windows.h"
#include "app/printouts/ui/printout_config_dialog.h"
#include "app/ui/main_window_form.h"
#include "common/config_dialog.h"
#include "common/input_dialogs.h"
#include "common/kaldvar.h"
#include "common/ui/config_form.h"
#include "drawing/cad/cad_device.h"
#include "common/ui/common_forms.h"
#include "common/ui/graphics_view.h"
#include "dbase/ui/table_window_dialog.h"
#include "drawing/ui/drawing_forms.h"
#include "platform/qt/qt_message_windows.h"
#include "platform/qt/qt_user_dialogs.h"

namespace app::ui {

void InstallApplicationForms() {
  platform::qt::InstallQtPlatform();
  platform::qt::InstallQtMessageWindows();
  common::ui::InstallCommonForms();
  drawing::ui::InstallDrawingForms();
  dbase::ui::InstallTableWindow();
  static QtPitchCurveViews views;
  SetPitchCurveViews(&views);
  static QtCurveFormViews curveForms;
  SetCurveFormViews(&curveForms);
  static QtPointListViews pointForms;
  SetPointListViews(&pointForms);
  static QtDesignInputViews designViews;
  SetDesignInputViews(&designViews);
  static QtDocumentationViews documentation;
  SetDocumentationViews(&documentation);
  PrintConfigFormShower() = ShowPrintConfigFormWindow;
  InstallDesignInputForms();
  static QtDesignTableViews designTable;
  SetDesignTableViews(&designTable);
  Entry().ShowSystemInfo = ShowSysInfoWindow;
  Entry().ShowAboutBox = ShowAboutWindow;
  common::ConfigDialogView() = common::ui::ShowConfigWindow;
  // The configuration's plot lines are set up in the plot utility's form.
  common::ConfigPlotLineEditor() = [](std::string& line) {
    if (drawing::PlotCommandEditor())
      drawing::PlotCommandEditor()(line);
    else
      common::InputText("TRAMLIN Command Line", 255, line);
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
  // The user ID, when the configuration asks for it; an invalid one ends
  // the program after its message.
  if (!AskStartUserId()) return 0;
  int result = 0;
  {
    Thh window;
    window.show();
    if (!showItem.empty()) {
      // A picture taken without a user: the animation runs with the
      // settings its form offers.
      if (!grabFile.empty())
        drawing::AnimationFormView() = [](drawing::TForm_vob1ani& form) { form.Button_okClick(); };
      // Clicked as the user would: the menu bar follows what the item changed.
      QTimer::singleShot(0, &window, [showItem, &window] {
        if (HasMenuHandler(showItem)) window.Click(showItem);
      });
    }
    if (!grabFile.empty()) {
      QTimer::singleShot(settle, &window, [&] {
        window.View()->ReplayPending();
        QPixmap picture = window.grab();
        // A dialog the menu item opened is part of what the user sees.
        if (QWidget* dialog = QApplication::activeModalWidget(); dialog && dialog != &window) {
          QPainter painter(&picture);
          painter.drawPixmap(window.mapFromGlobal(dialog->mapToGlobal(QPoint(0, 0))), dialog->grab());
        }
        if (!picture.save(QString::fromStdString(grabFile), "PNG")) result = 1;
        // The picture was a look, not work: nothing is offered for saving, and
        // the dialogs still open are cancelled one after another until the
        // window can close; else the program would wait for a user forever.
        common::DataChanged = 0;
        auto* closer = new QTimer(&window);
        QObject::connect(closer, &QTimer::timeout, &window, [&window] {
          QWidget* dialog = QApplication::activeModalWidget();
          if (dialog && dialog != &window)
            dialog->close();
          else
            window.close();
        });
        closer->start(50);
        window.close();
      });
    }
    const int code = application.exec();
    if (result == 0) result = code;
  }
  return result;
}

}  // namespace app::ui
