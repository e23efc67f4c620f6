// Installs the Qt forms of the common services in place of their headless
// stand-ins: the report viewer and printing (qt_report_viewer.h), the
// message explanation form, the auxiliary-image list, the generic
// input/output form and the picture window over a form (picture_window.h). The windowing start-up calls it once, after the
// QApplication exists.
#pragma once

namespace common::ui {

void InstallCommonForms();

}  // namespace common::ui
