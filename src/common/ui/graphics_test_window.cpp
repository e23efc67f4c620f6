// The graphics test window; see graphics_test_window.h.
#include "common/ui/graphics_test_window.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include "common/graphics_facade.h"
#include "common/graphics_test_picture.h"
#include "common/kaldvar.h"
#include "common/ui/graphics_view.h"
#include "platform/qt/qt_user_dialogs.h"

namespace common::ui {

int RunGraphicsTestWindow(int argc, char** argv, const std::string& grabFile, const std::string& pdfFile) {
  QApplication application(argc, argv);
  platform::qt::InstallQtPlatform();
  if (HorizontalPixels == 0) HorizontalPixels = 800;
  if (VerticalPixels == 0) VerticalPixels = 600;
  InitGraphDisplayList();
  QMainWindow window;
  auto* view = new GraphicsView(&window);
  window.setCentralWidget(view);
  window.setWindowTitle("vob4 - graphics window");
  window.resize(view->sizeHint());
  window.show();
  DrawGraphicsTestPicture();
  if (grabFile.empty() && pdfFile.empty()) return application.exec();
  int result = 0;
  QTimer::singleShot(200, &window, [&] {
    view->ReplayPending();
    if (!grabFile.empty() && !window.grab().save(QString::fromStdString(grabFile), "PNG")) result = 1;
    if (!pdfFile.empty() && !view->PrintToPdf(QString::fromStdString(pdfFile))) result = 1;
    application.quit();
  });
  application.exec();
  return result;
}

}  // namespace common::ui
