// Installs the Qt forms of the common services in place of their headless
// stand-ins: the report viewer and printing (qt_report_viewer.h), the
// message explanation form, the auxiliary-image list and the generic
// input/output form. The windowing start-up calls it once, after the
// QApplication exists.
#pragma once

namespace common::ui {

void InstallCommonForms();

}  // namespace common::ui
