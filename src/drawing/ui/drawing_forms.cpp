// Installation of the drawing subsystem's Qt parts; see drawing_forms.h.
#include "drawing/ui/drawing_forms.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QString>
#include <QUrl>

#include "drawing/cad/cad_device.h"
#include "drawing/cad/cad_output.h"
#include "drawing/drawing_name_form.h"
#include "drawing/ui/drawing_name_form.h"
#include "drawing/ui/drawing_run_forms.h"
#include "drawing/cad/ui/plot_utility_form.h"
#include "drawing/gear_animation.h"
#include "drawing/xy_diagram.h"

namespace drawing::ui {

void InstallDrawingForms() {
  SetCadOutputOpener([](const std::string& fileName) {
    const QString path = QFileInfo(QString::fromStdString(fileName)).absoluteFilePath();
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  });
  DrawingNameFormShower() = ShowDrawingNameFormWindow;
  PlotCommandEditor() = EditPlotCommandLine;
  DiagramLimitsView() = ShowDiagramLimitsForm;
  AnimationFormView() = ShowAnimationForm;
}

}  // namespace drawing::ui
