// The index commands of the file-backed dataset: building an index and
// opening index files on its work area (see tz_file_dataset.h).
#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/engine/error_codes.h"
#include "dbase/index/index_commands.h"

namespace dbase {

bool TTzFileDataSet::IndexOn(const std::string& expression, const std::string& fileName) {
  if (Active()) UpdateCursor();
  if (!SelectWorkArea("IndexOn")) return false;
  TzError = 0;
  Index_On(expression, fileName);
  const bool ok = TzError == 0;
  ResyncAfterCommand();
  return ok;
}

bool TTzFileDataSet::SetIndexTo(const std::string& names) {
  if (Active()) UpdateCursor();
  if (!SelectWorkArea("SetIndexTo")) return false;
  TzError = 0;
  Set_Index_To(names);
  const bool ok = TzError == 0;
  ResyncAfterCommand();
  return ok;
}

}  // namespace dbase
