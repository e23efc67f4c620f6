// The file-backed table dataset (see tz_file_dataset.h).
#include "dbase/dataset/tz_file_dataset.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "common/c_locale_numbers.h"
#include "dbase/dataset/dbf_field_list.h"
#include "dbase/engine/delimited_text.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/locking.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/progress_windows.h"
#include "dbase/engine/raw_field_access.h"
#include "dbase/engine/record_changes.h"
#include "dbase/engine/restore_on_exit.h"
#include "dbase/engine/work_areas.h"
#include "dbase/index/index_anchor.h"
#include "dbase/index/index_build.h"
#include "dbase/index/index_commands.h"
#include "dbase/index/index_control.h"
#include "dbase/index/index_open.h"
#include "dbase/index/index_search.h"

namespace dbase {

int FreeWorkArea() {
  for (int n = 1; n <= kLastUserArea; ++n) {
    const auto& area = WorkAreas[static_cast<std::size_t>(n)];
    if (!area || !area->table.IsOpen()) return n;
  }
  return 0;
}

namespace {

struct IndexEntry {
  int slot = 0;
  std::string fileName;
  std::string expression;
};

IndexEntry ParseIndexEntry(const std::string& line, int place) {
  IndexEntry entry;
  const std::size_t first = line.find(',');
  const std::string slotText = TzAllTrim(line.substr(0, first));
  std::string rest = first == std::string::npos ? std::string() : line.substr(first + 1);
  const std::size_t second = rest.find(',');
  entry.fileName = TzAllTrim(rest.substr(0, second));
  entry.expression = second == std::string::npos ? std::string() : TzAllTrim(rest.substr(second + 1)).substr(0, 100);
  entry.slot = slotText.empty() ? place : static_cast<int>(std::strtol(slotText.c_str(), nullptr, 10));
  return entry;
}

}  // namespace

TTzFileDataSet::TTzFileDataSet(std::string name) : TTzCDataSet(std::move(name)) {}

void TTzFileDataSet::SetExclusive(bool exclusive) {
  if (exclusive == exclusive_) return;
  exclusive_ = exclusive;
  if (Active()) {
    Close();
    Open();
  }
}

void TTzFileDataSet::SetNativeBuffer(std::uint8_t* buffer, std::size_t size) {
  nativeBuffer_ = buffer;
  nativeBufferSize_ = buffer != nullptr ? size : 0;
}

void TTzFileDataSet::SetReadOnly(bool readOnly) {
  if (readOnly == ReadOnly()) return;
  const bool wasActive = Active();
  if (wasActive) Close();
  SetReadOnlyFlag(readOnly);
  if (wasActive) Open();
}

int TTzFileDataSet::OpenWorkArea() {
  const std::string& file = DbfFileName();
  if (CreateIfNotFound && !std::filesystem::exists(file)) {
    if (!CreateDbfFromFieldList(file, &DbfFields)) {
      ShowDatasetMessage("Could not create \"" + file + "\"");
      return 0;
    }
  }
  std::string command = file;
  if (exclusive_) command += " EXCLUSIVE";
  if (!Name.empty()) command += " ALIAS " + Name;
  const int area = FreeWorkArea();
  if (area == 0) {
    SetError(1103, "No free work area [" + Name + ".Open]");
    return 0;
  }
  Select(area);
  {
    RestoreOnExit<bool> recount(RecountOnOpen, AutoFixRecCount);
    RestoreOnExit<std::optional<FileMode>> mode(FileModeOverride, FileModeOverride);
    if (ReadOnly()) FileModeOverride = FileMode{false, exclusive_};
    TzError = 0;
    // With the native-buffer option the engine works in the caller's buffer.
    if (!Use(command, nativeBuffer_, nativeBufferSize_)) return 0;
  }
  // A damaged header that the open reported leaves a usable table.
  TzError = 0;
  OpenIndexList();
  return area;
}

bool TTzFileDataSet::OpenIndexList() {
  int place = 0;
  for (const std::string& line : IndexList) {
    const IndexEntry entry = ParseIndexEntry(line, ++place);
    if (entry.fileName.empty()) continue;
    const std::string path = FullIndexPath(entry.fileName);
    // A read-only table has its indexes opened as they are, never built.
    const TCreateIndexType create = ReadOnly() ? TCreateIndexType::ciNever : CreateIndex;
    bool rebuild = create == TCreateIndexType::ciAlways;
    if (create == TCreateIndexType::ciVerifyHeader && std::filesystem::exists(path)) {
      rebuild = IndexRecordCount(path) != RecCount();
      TzError = 0;
    }
    if (!rebuild) {
      // A missing index is built (unless building is switched off), so its
      // failure is not reported yet. An existing one is rewritten only where
      // the caller asked for rebuilds (ciVerifyHeader): under ciNotFound a
      // damaged or foreign index is reported and left as it is, as another
      // program may own it.
      const bool missing = !std::filesystem::exists(path);
      const bool mayBuild = create == TCreateIndexType::ciVerifyHeader ||
                            (create == TCreateIndexType::ciNotFound && missing);
      bool opened = false;
      {
        RestoreOnExit<bool> quiet(ReportErrors, ReportErrors && !mayBuild);
        TzError = 0;
        opened = dbase::SetIndexTo(path, entry.slot) && TzError == 0;
      }
      if (!opened) {
        const int code = TzError;
        const bool rebuildable = missing || code == 222 || code == 223;
        if (!mayBuild || !rebuildable) {
          if (mayBuild) SetError(code, TzErrorDetail);
          return false;
        }
        rebuild = true;
      }
    }
    if (!rebuild) continue;
    TzError = 0;
    bool canMake = true;
    if (OnBeforeMakeIndex) OnBeforeMakeIndex(path, canMake);
    if (!canMake) continue;
    {
      std::optional<TTzMsg> progress;
      if (ShowProgress) {
        progress.emplace();
        progress->ShowText("Indexing " + entry.fileName + "...");
      }
      CloseIndex(entry.slot);
      MakeIndexOptions options;
      options.slot = entry.slot;
      if (!MakeIndex(path, entry.expression, nullptr, nullptr, options) || TzError != 0) return false;
    }
    if (OnAfterMakeIndex) OnAfterMakeIndex(path);
    if (!dbase::SetIndexTo(path, entry.slot) || TzError != 0) return false;
  }
  // The index of slot 1 orders the table.
  if (IndexOfSlot(CurrentWorkArea(), 1) != nullptr) Set_Order_To(1);
  return TzError == 0;
}

bool TTzFileDataSet::WithChangeRetries(const std::function<bool()>& lock) const {
  const bool own = ChangeLockRetries > LockRetries;
  RestoreOnExit<std::uint8_t> retries(LockRetries, own ? ChangeLockRetries : LockRetries);
  RestoreOnExit<std::uint8_t> wait(LockRetryWait, own ? ChangeLockRetryWait : LockRetryWait);
  return lock();
}

namespace {

// A change whose lock could not be had: the caller sees it (TzError and the
// exception), as the change did not happen.
[[noreturn]] void RaiseLockFailed(bool recordLock, const std::string& operation, const std::string& table) {
  const std::uint16_t code = recordLock ? 1200 : 1201;
  TzError = code;
  TzErrorDetail = "Lock failed [" + operation + "] " + table;
  throw EDatasetError("Dataset error: " + ErrorText(code) + " Lock failed [" + operation + "]");
}

}  // namespace

void TTzFileDataSet::LockedChange(bool recordLock, const std::function<void()>& change,
                                  const TTzLockFailedEvent& handler, const std::string& operation, bool step) {
  if (!CanModify()) return;
  WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr) return;
  // A lock the caller already holds serves the change and stays his.
  const bool held = area->lockState == kFileLock || (!recordLock && area->lockState == kAppendLock) ||
                    (recordLock && IsLocked(dbase::RecNo()));
  int retries = 0;
  for (;;) {
    const bool locked = held || WithChangeRetries([recordLock] { return recordLock ? RLock() : dbase::ALock(); });
    if (locked) {
      change();
      // A step off a record the filter no longer shows releases the locks.
      const bool released = step && StepToVisible();
      if (!released && !held) Unlock();
      return;
    }
    if (TzError != 0) return;
    bool retry = false;
    if (handler) handler(*this, retry);
    // A handler that always asks again is given the engine's retry count.
    if (!handler || !retry || ++retries > LockRetries) RaiseLockFailed(recordLock, operation, DbfFileName());
  }
}

void TTzFileDataSet::s_AppendWithLock() {
  LockedChange(false, [] { dbase::Append(); }, OnALockFailedOnInsert, "Insert");
}

void TTzFileDataSet::s_DeleteWithLock() {
  LockedChange(true, [] { DeleteRec(); }, OnRLockFailedOnDelete, "Delete");
}

void TTzFileDataSet::s_RestoreWithLock() {
  LockedChange(true, [] { RecallRec(); }, OnRLockFailedOnRestore, "Restore", false);
}

void TTzFileDataSet::s_ReplaceWithLock() {
  LockedChange(true, [] { Replace(); }, OnRLockFailedOnPost, "Post");
}

bool TTzFileDataSet::ALock() {
  if (!SelectWorkArea("ALock")) return false;
  return WithChangeRetries([] { return dbase::ALock(); });
}

bool TTzFileDataSet::FLock() {
  if (!SelectWorkArea("FLock")) return false;
  return WithChangeRetries([] { return dbase::FLock(); });
}

void TTzFileDataSet::UnLock() {
  if (!SelectWorkArea("UnLock")) return;
  Unlock();
}

bool TTzFileDataSet::FindKey(const std::string& key) {
  const bool found = dbase::Find(key.substr(0, 100));
  if (!dEOF()) {
    ResyncAfterCommand();
  } else {
    GoBottom();
    ResyncAfterCommand();
  }
  return found;
}

bool TTzFileDataSet::Find(const std::string& key) {
  if (Active()) UpdateCursor();
  if (!SelectWorkArea("Find")) return false;
  return FindKey(key);
}

bool TTzFileDataSet::FindExact(const std::string& key) {
  if (Active()) UpdateCursor();
  if (!SelectWorkArea("FindExact")) return false;
  RestoreOnExit<bool> exact(ExactFind, true);
  return FindKey(key);
}

std::string TTzFileDataSet::Peek(int fieldNo, std::int64_t recNo) {
  std::string text;
  if (!SelectWorkArea("Peek")) return text;
  dbase::Peek(fieldNo, recNo, text);
  return text;
}

std::int64_t TTzFileDataSet::AppendFromDelimited(const std::string& fileName) {
  if (Active()) UpdateCursor();
  if (!SelectWorkArea("AppendFromDelimited")) return 0;
  const std::int64_t count = AppendFromDelimitedFile(fileName, ShowProgress);
  ResyncAfterCommand();
  return count;
}

std::int64_t TTzFileDataSet::CopyToDelimited(const std::string& fileName) {
  if (Active()) UpdateCursor();
  if (!SelectWorkArea("CopyToDelimited")) return 0;
  const std::int64_t from = dbase::RecNo();
  const std::int64_t count = CopyToDelimitedFile(fileName);
  const std::uint16_t code = TzError;
  if (!GoIfValid(from)) GoTop();
  if (code != 0 && TzError == 0) TzError = code;
  ResyncAfterCommand();
  return count;
}

bool TTzFileDataSet::Locate(const std::string& fieldNames, const std::vector<TLocateValue>& values,
                            bool caseInsensitive, bool partialKey) {
  if (!Active() || !SelectWorkArea("Locate") || ControllingIndex() == nullptr) {
    return TTzCDataSet::Locate(fieldNames, values, caseInsensitive, partialKey);
  }
  std::string key;
  for (const TLocateValue& value : values) {
    if (const auto* text = std::get_if<std::string>(&value)) {
      key += *text;
    } else if (const auto* number = std::get_if<double>(&value)) {
      char buffer[64];
      common::CSnprintf(buffer, sizeof buffer, "%.15g", *number);
      key += buffer;
    } else {
      key += std::get<bool>(value) ? "T" : "F";
    }
  }
  return partialKey ? Find(key) : FindExact(key);
}

bool TTzFileDataSet::IsSequenced() const {
  if (Filtered) return false;
  if (WorkAreaNumber() == 0) return true;
  return IndexOfSlot(WorkAreaNumber(), 1) == nullptr || IndexSlots[static_cast<std::size_t>(WorkAreaNumber())].naturalOrder;
}

}  // namespace dbase
