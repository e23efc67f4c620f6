// The tool table command; see tool_table.h.
#include "app/tables/tool_table.h"

#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/message_boxes.h"
#include "dbase/table/table_layer.h"

namespace app {

std::string ToolTablePath() {
  const std::string& directory = common::CopyTableFlag ? common::TempDirectory : common::DbfDirectory;
  return common::AddBackslash(directory) + ToolTableName;
}

void SelectToolProfile() {
  // The file checked is the one the table layer opens, so that a missing
  // table is reported once, before the window.
  common::AbortFlag = 0;
  common::CheckFileAccess(ToolTablePath());
  if (common::AbortFlag) return;
  dbase::DbfSetTitles("profile of reference rack", "");
  dbase::DbfOpen(ToolTableName);
  if (!common::AbortFlag) {
    common::SetHelpNumber(9510);
    dbase::DbfBrowse("", 0);
    dbase::DbfClose();
  }
  common::AbortFlag = 1;
  common::CursorArrow2();
}

}  // namespace app
