// Installs the Qt windows of the design inputs (material, lubricant and
// strength) as the views of their headless forms. The windowing start-up
// calls it once, after the QApplication exists.
#pragma once

namespace app::ui {

void InstallDesignInputForms();

}  // namespace app::ui
