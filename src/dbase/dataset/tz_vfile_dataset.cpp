// The dataset over a virtual file (see tz_vfile_dataset.h).
#include "dbase/dataset/tz_vfile_dataset.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "dbase/dataset/dataset_fields.h"
#include "dbase/dataset/dbf_field_list.h"
#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/record_changes.h"
#include "dbase/engine/restore_on_exit.h"
#include "dbase/engine/work_areas.h"
#include "dbase/vfiles/vfile_disk_transfer.h"

namespace dbase {

namespace {

bool IsSortedMode(int mode) { return mode == kAscending || mode == kDescending; }

// The field type of a description line, or 0 when the line does not hold
// exactly three commas.
char DescribedType(const std::string& line) {
  if (std::count(line.begin(), line.end(), ',') != 3) return 0;
  const std::size_t from = line.find(',') + 1;
  const std::size_t to = line.find(',', from);
  for (std::size_t i = from; i < to; ++i) {
    if (line[i] != ' ') return static_cast<char>(std::toupper(static_cast<unsigned char>(line[i])));
  }
  return 0;
}

// The native record size of the fields as the virtual file lays them out
// (dates of 8 characters, logicals of 1, memos as 10-digit numbers).
std::size_t VirtualRecordSize(std::vector<FieldDef> fields) {
  for (FieldDef& f : fields) {
    f.type = static_cast<char>(std::toupper(static_cast<unsigned char>(f.type)));
    if (f.type == 'D') f.length = 8;
    if (f.type == 'L') f.length = 1;
    if (f.type == 'M') f.type = 'N', f.length = 10, f.decimals = 0;
  }
  DbfTable table;
  table.fields = std::move(fields);
  return NativeRecordSize(table);
}

}  // namespace

TTzLLDataSet::TTzLLDataSet(std::string name) : TTzCDataSet(std::move(name)) {}

TTzLLDataSet::~TTzLLDataSet() {
  // Closed here, while the record buffer the work area uses still exists and
  // the close can still save the records.
  try {
    Close();
  } catch (const EDatasetError&) {
  }
}

void TTzLLDataSet::InternalOpen() {
  if (DbfFields.empty()) throw EDatasetError("FieldList.Count is <= 0 trying to create a database");
  TTzCDataSet::InternalOpen();
}

int TTzLLDataSet::OpenWorkArea() {
  // A refused open is told by the dataset's open failing, not by a message.
  RestoreOnExit<bool> quiet(ReportErrors, false);
  for (const std::string& line : DbfFields) {
    const char type = DescribedType(line);
    if (type == 0 || type == 'X') {
      SetError(211, "Invalid field definition for " + Name + ": " + line + " [OpenWorkArea]");
      return 0;
    }
  }
  const std::vector<FieldDef> fields = ParseFieldList(DbfFields, Name);
  if (fields.size() != DbfFields.size()) {
    SetError(211, "Invalid field list for " + Name + " [OpenWorkArea]");
    return 0;
  }
  const int area = FreeWorkArea();
  if (area == 0) {
    SetError(1103, "No free work area [" + Name + ".Open]");
    return 0;
  }
  native_.assign(std::max<std::size_t>(VirtualRecordSize(fields), 1), 0);
  std::string command = "*" + std::to_string(NextTemporaryNumber()) + "* VIRTUAL FILE";
  if (appendMode_ == kAscending) command += " ASCENDING";
  if (appendMode_ == kDescending) command += " DESCENDING";
  Select(area);
  TzError = 0;
  if (!Use(command, native_.data(), native_.size()) || TzError != 0) return 0;
  AddStru(fields);
  if (TzError != 0) {
    const int code = TzError;
    const std::string detail = TzErrorDetail;
    CloseWorkArea(area);
    SetError(code, detail);
    return 0;
  }
  vfileModified_ = false;
  return area;
}

void TTzLLDataSet::DoAfterOpen() {
  TTzCDataSet::DoAfterOpen();
  if (!SelectWorkArea("AfterOpen")) return;
  // A sorted mode is set while the list is empty; the others after loading,
  // so that loaded records keep the table's order.
  if (IsSortedMode(appendMode_)) Set_VFileMode_To(appendMode_);
  InstallKeyMaker();
  if (PopulateFromDisk) ReadFromDisk();
  if (SelectWorkArea("AfterOpen") && !IsSortedMode(appendMode_)) Set_VFileMode_To(appendMode_);
  ResyncAfterCommand();
}

void TTzLLDataSet::InstallKeyMaker() {
  Set_VFileKey_To([this](void*) { return DoOnKeymake(); }, this);
}

std::string TTzLLDataSet::DoOnKeymake() {
  if (!SelectWorkArea("DoOnKeymake")) return std::string();
  return FieldAsString(1);
}

bool TTzLLDataSet::ReadFromDisk() {
  const std::string& file = DbfFileName();
  if (file.empty() || !std::filesystem::exists(file)) return true;
  if (!SelectWorkArea("ReadFromDisk")) return false;
  const bool ok = ReadVFileFromDisk(file, HideDeletedRecs(), ShowProgress);
  vfileModified_ = false;
  ResyncAfterCommand();
  return ok;
}

bool TTzLLDataSet::WriteToDisk() {
  if (DbfFileName().empty()) return true;
  if (State() == TDataSetState::Edit || State() == TDataSetState::Insert) Post();
  if (!SelectWorkArea("WriteToDisk")) return false;
  // Records that came from the table go back in its place; otherwise they
  // are added to the records it has.
  const bool ok =
      WriteVFileToDisk(DbfFileName(), HideDeletedRecs(), ShowProgress, PopulateFromDisk && SaveToDisk);
  if (ok) vfileModified_ = false;
  if (SelectWorkArea("WriteToDisk")) ResyncAfterCommand();
  return ok;
}

void TTzLLDataSet::CloseHook() {
  if (SaveToDisk && vfileModified_) WriteToDisk();
  vfileModified_ = false;
}

void TTzLLDataSet::s_AppendWithLock() {
  if (!SelectWorkArea("s_AppendWithLock")) return;
  // Appending after the last row adds at the end also in INSERTION mode.
  const int mode = Get_VFileMode();
  const bool atEnd = ActiveBuffer().flag == TBookmarkFlag::Eof || dEOF();
  const bool toEnd = atEnd && mode == kInsertion;
  if (toEnd) Set_VFileMode_To(kFifo);
  dbase::Append();
  dbase::StepToVisible();
  if (toEnd) {
    const int code = TzError;
    const std::string detail = TzErrorDetail;
    Set_VFileMode_To(kInsertion);
    if (code != 0) SetError(code, detail);
  }
  vfileModified_ = true;
}

void TTzLLDataSet::s_DeleteWithLock() {
  if (!SelectWorkArea("s_DeleteWithLock")) return;
  dbase::DeleteRec();
  dbase::StepToVisible();
  vfileModified_ = true;
}

void TTzLLDataSet::s_RestoreWithLock() {
  if (!SelectWorkArea("s_RestoreWithLock")) return;
  dbase::RecallRec();
  vfileModified_ = true;
}

void TTzLLDataSet::s_ReplaceWithLock() {
  if (!SelectWorkArea("s_ReplaceWithLock")) return;
  dbase::Replace();
  dbase::StepToVisible();
  vfileModified_ = true;
}

void TTzVFile::SetAppendMode(LStatusType mode) {
  appendMode_ = mode;
  if (!Active() || !SelectWorkArea("SetAppendMode")) return;
  if (IsSortedMode(mode)) {
    InstallKeyMaker();
    SortVFile(mode);
    ResyncAfterCommand();
  } else {
    Set_VFileMode_To(mode);
  }
}

std::string TTzVFile::DoOnKeymake() {
  if (!KeyMaker) return TTzLLDataSet::DoOnKeymake();
  // The event reads the record through the dataset's fields: the engine
  // record is shown in the active buffer for the call.
  const TRecordBuffer saved = ActiveBuffer();
  TRecordBuffer& active = ActiveBuffer();
  RecordToDataset(active.data);
  active.recNo = std::max<std::int64_t>(dbase::RecNo(), 1);
  std::string key;
  try {
    key = KeyMaker(*this);
  } catch (...) {
    ActiveBuffer() = saved;
    throw;
  }
  ActiveBuffer() = saved;
  return key;
}

}  // namespace dbase
