// ReadVFileFromDisk and WriteVFileToDisk: records between a virtual file and
// a table, with the progress window and the field-list check.
#include "dbase/vfiles/vfile_disk_transfer.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "dbase/common/file_routines.h"
#include "dbase/engine/dbf_file.h"
#include "dbase/engine/dbf_layout.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/locking.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/progress_windows.h"
#include "dbase/engine/record_changes.h"
#include "dbase/engine/restore_on_exit.h"
#include "dbase/engine/work_areas.h"

namespace dbase {

namespace {

bool SameFields(const DbfTable& a, const DbfTable& b) {
  if (a.FieldCount() != b.FieldCount()) return false;
  for (std::size_t i = 0; i < a.fields.size(); ++i) {
    const FieldDef& x = a.fields[i];
    const FieldDef& y = b.fields[i];
    if (x.name != y.name || x.type != y.type || x.length != y.length || x.decimals != y.decimals) return false;
  }
  return true;
}

// The progress window of a transfer: shown for 100 records and more, one
// step per hundredth of them.
class TransferProgress {
 public:
  TransferProgress(bool show, std::int64_t count, const char* text)
      : every_(count / TTzProgress100::kMarks) {
    if (show && count >= TTzProgress100::kMarks) window_ = std::make_unique<TTzProgress100>(text);
  }
  void Advance() {
    if (window_ && ++done_ % every_ == 0) window_->Step();
  }

 private:
  std::int64_t every_;
  std::int64_t done_ = 0;
  std::unique_ptr<TTzProgress100> window_;
};

// The current area as a virtual file; else error 1100 naming the command.
WorkArea* VirtualSource(const char* command) {
  WorkArea* area = BeginCommand(command);
  if (area == nullptr) return nullptr;
  if (!area->table.isVirtual) {
    SetError(1100, area->alias + " is not a virtual file." + " [" + command + "]");
    return nullptr;
  }
  return area;
}

// Opens the table in the first free area and checks its field list against
// the virtual file's; answers the area number, 0 after an error (the area
// is closed again).
int OpenMatchingTable(const std::string& command, const WorkArea& source, const std::string& fileName,
                      bool exclusive) {
  if (!Select(0)) return 0;
  const int number = CurrentArea;
  if (!Use(fileName + (exclusive ? " EXCLUSIVE" : ""))) {
    CloseWorkArea(number);
    return 0;
  }
  if (!SameFields(WorkAreas[number]->table, source.table) || WorkAreas[number]->nativeSize > source.nativeSize) {
    CloseWorkArea(number);
    SetError(1100, "Field lists of " + source.alias + " and " + fileName + " differ [" + command + "]");
    return 0;
  }
  return number;
}

// Copies the virtual file's records (1..count, in list order) into the
// table of the target area, appending each under the append lock.
bool CopyRecordsOut(WorkArea& source, int target, bool hideDeleted, bool showProgress) {
  const std::int64_t count = source.table.recordCount;
  TransferProgress progress(showProgress, count, "Writing to disk...");
  WorkArea& table = *WorkAreas[target];
  for (std::int64_t n = 1; n <= count; ++n) {
    CurrentArea = source.number;
    if (!ReadIntoNative(source, n)) return false;
    progress.Advance();
    if (hideDeleted && NativeDeleted(source)) continue;
    std::memcpy(table.native, source.native, table.nativeSize);
    CurrentArea = target;
    if (!ALock()) return false;
    const bool appended = Append();
    Unlock();
    if (!appended) return false;
  }
  return true;
}

// A new table file beside the old one, with its header and no records.
bool WriteEmptyCopy(const DbfTable& table, const std::string& copyName) {
  std::vector<std::uint8_t> header(table.headerLength);
  if (ReadBytesAt(table.fd, header.data(), header.size(), 0) != static_cast<std::int64_t>(header.size())) {
    SetError(100, "Error reading " + table.fileName + " [WriteToDisk]");
    return false;
  }
  StampProlog(header.data(), 0, table.dbase2);
  std::FILE* out = std::fopen(copyName.c_str(), "wb");
  bool ok = out != nullptr && std::fwrite(header.data(), 1, header.size(), out) == header.size() &&
            std::fputc(EndOfFileByte, out) != EOF;
  const int err = errno;
  if (out != nullptr && std::fclose(out) != 0) ok = false;
  if (!ok) {
    std::remove(copyName.c_str());
    SetError(OsErrorCode(err != 0 ? err : EIO, true), "File:  " + copyName + " [WriteToDisk]");
  }
  return ok;
}

// Replaces the records of the table (open exclusively in area target) with
// the virtual file's: they are written into a copy that is renamed over the
// table only when it is complete.
bool ReplaceRecords(WorkArea& source, int target, bool hideDeleted, bool showProgress) {
  const DbfTable& table = WorkAreas[target]->table;
  const long number = NextTemporaryNumber();
  const std::string copyName = table.fileName + ".vfile-" + std::to_string(::getpid()) + "-" + std::to_string(number);
  if (!WriteEmptyCopy(table, copyName)) return false;
  int copyArea = 0;
  auto discard = [&]() {
    if (copyArea != 0) CloseWorkArea(copyArea);
    std::remove(copyName.c_str());
    return false;
  };
  if (!Select(0)) return discard();
  copyArea = CurrentArea;
  if (!Use(copyName + " ALIAS *VFILECOPY" + std::to_string(number) + " EXCLUSIVE")) return discard();
  if (!CopyRecordsOut(source, copyArea, hideDeleted, showProgress)) return discard();
  if (!FlushHeader(WorkAreas[copyArea]->table)) return discard();
  if (std::rename(copyName.c_str(), table.fileName.c_str()) != 0) {
    const int err = errno;
    discard();
    SetError(OsErrorCode(err, true), "File:  " + table.fileName + " [WriteToDisk]");
    return false;
  }
  CloseWorkArea(copyArea);
  return true;
}

}  // namespace

long NextTemporaryNumber() {
  static std::atomic<long> counter{0};
  return ++counter;
}

bool ReadVFileFromDisk(const std::string& fileName, bool hideDeleted, bool showProgress) {
  WorkArea* source = VirtualSource("ReadFromDisk");
  if (source == nullptr) return false;
  if (fileName.empty() || !FileExistsS(ExistingOrNewName(fileName, "DBF", true))) return true;
  const int sourceNumber = source->number;
  RestoreOnExit<int> savedArea(CurrentArea);
  const int tableNumber = OpenMatchingTable("ReadFromDisk", *source, fileName, false);
  if (tableNumber == 0) return false;
  struct CloseTable {
    int number;
    ~CloseTable() { CloseWorkArea(number); }
  } closeTable{tableNumber};
  WorkArea& table = *WorkAreas[tableNumber];
  CurrentArea = tableNumber;
  TransferProgress progress(showProgress, RecCount(), "Reading from disk...");
  GoTop();
  bool ok = TzError == 0;
  while (ok && !table.table.eof) {
    if (!(hideDeleted && NativeDeleted(table))) {
      std::memcpy(source->native, table.native, table.nativeSize);
      CurrentArea = sourceNumber;
      ok = Append();
      CurrentArea = tableNumber;
    }
    progress.Advance();
    if (ok) {
      Skip(1);
      ok = TzError == 0;
    }
  }
  CurrentArea = sourceNumber;
  GoTop();
  return ok && TzError == 0;
}

bool WriteVFileToDisk(const std::string& fileName, bool hideDeleted, bool showProgress, bool replaceRecords) {
  WorkArea* source = VirtualSource("WriteToDisk");
  if (source == nullptr) return false;
  if (fileName.empty()) return true;
  const int sourceNumber = source->number;
  bool ok;
  {
    RestoreOnExit<int> savedArea(CurrentArea);
    const int tableNumber = OpenMatchingTable("WriteToDisk", *source, fileName, replaceRecords);
    if (tableNumber == 0) return false;
    struct CloseTable {
      int number;
      ~CloseTable() { CloseWorkArea(number); }
    } closeTable{tableNumber};
    ok = replaceRecords ? ReplaceRecords(*source, tableNumber, hideDeleted, showProgress)
                        : CopyRecordsOut(*source, tableNumber, hideDeleted, showProgress);
  }
  CurrentArea = sourceNumber;
  GoTop();
  return ok && TzError == 0;
}

}  // namespace dbase
