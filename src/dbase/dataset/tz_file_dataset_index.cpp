// The index commands of the file-backed dataset: building an index and
// opening index files on its work area (see tz_file_dataset.h).
#include <sstream>

#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/work_areas.h"
#include "dbase/index/index_build.h"
#include "dbase/index/index_open.h"

namespace dbase {

bool TTzFileDataSet::IndexOn(const std::string& expression, const std::string& fileName) {
  if (Active()) UpdateCursor();
  if (!SelectWorkArea("IndexOn")) return false;
  TzError = 0;
  CloseAllIndexes();
  MakeIndexOptions options;
  bool ok = MakeIndex(fileName, expression, nullptr, nullptr, options) && TzError == 0;
  if (ok) ok = OpenIndex(fileName, 1) && TzError == 0;
  ResyncAfterCommand();
  return ok;
}

bool TTzFileDataSet::SetIndexTo(const std::string& names) {
  if (Active()) UpdateCursor();
  if (!SelectWorkArea("SetIndexTo")) return false;
  TzError = 0;
  CloseAllIndexes();
  std::istringstream words(names);
  std::string name;
  int slot = 0;
  bool ok = true;
  while (ok && words >> name) ok = OpenIndex(name, ++slot) && TzError == 0;
  ResyncAfterCommand();
  return ok;
}

}  // namespace dbase
