// Installation of the common Qt forms; see common_forms.h.
#include "common/ui/common_forms.h"

#include "common/aux_images.h"
#include "common/help_text.h"
#include "common/message_help.h"
#include "common/online_form.h"
#include "common/ui/aux_image_list_window.h"
#include "common/ui/message_help_form.h"
#include "common/ui/online_form_window.h"
#include "common/ui/picture_window.h"
#include "common/ui/qt_report_viewer.h"

namespace common::ui {

void InstallCommonForms() {
  static QtReportViewer viewer;
  platform::SetReportViewer(&viewer);
  SetMessageHelpView(RunMessageHelpForm);
  SetAuxImageListView(RunAuxImageListWindow);
  SetOnlineFormView(RunOnlineFormWindow);
  SetHelpPictureShower(ShowPictureOverModalForm);
}

}  // namespace common::ui
