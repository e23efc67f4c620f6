// The index build: checks, key length, record reading and the two phases.
#include "dbase/index/index_build.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

#include "dbase/common/file_routines.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/os_errors.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_anchor.h"
#include "dbase/index/index_sort.h"
#include "dbase/index/index_tree_writer.h"
#include "dbase/index/table_semaphore.h"

namespace dbase {

bool IndexBuildRunning = false;

namespace {

constexpr std::size_t kMaxExpressionLength = 100;
constexpr std::size_t kReadBufferSize = 65512;

std::function<void()> progressProcedure;
int progressSteps = 0;

// Calls the progress procedure every interval records and the rest at the end.
class Progress {
 public:
  explicit Progress(std::int64_t records) {
    if (!progressProcedure || progressSteps <= 0) return;
    interval_ = std::max<std::int64_t>(2, records / progressSteps * 2);
  }
  void Tick() {
    if (interval_ == 0) return;
    if (++counter_ % interval_ == 0 && calls_ < progressSteps) {
      ++calls_;
      progressProcedure();
    }
  }
  void Finish() {
    while (interval_ != 0 && calls_ < progressSteps) {
      ++calls_;
      progressProcedure();
    }
  }

 private:
  std::int64_t interval_ = 0;
  std::int64_t counter_ = 0;
  int calls_ = 0;
};

// Copies the bytes [from, to) of one file into another at the same places;
// 0 or the errno value.
int CopyRange(int in, int out, std::int64_t from, std::int64_t to) {
  std::vector<char> buffer(kReadBufferSize);
  for (std::int64_t at = from; at < to;) {
    const auto n = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(buffer.size()), to - at));
    errno = 0;
    if (ReadBytesAt(in, buffer.data(), n, at) != static_cast<std::int64_t>(n)) return errno != 0 ? errno : EIO;
    if (const int err = WriteBytesAt(out, buffer.data(), n, at); err != 0) return err;
    at += static_cast<std::int64_t>(n);
  }
  return 0;
}

// Puts the built index (the whole file `built`) in the index file's place.
// The file keeps its identity, as other programs sharing the table may hold
// it open; the part beyond the old file's end is written first, so that a
// full disk stops the copy while the old index is still whole (the file is
// cut back to it), and the anchor last, after a mark that makes every open
// ask for a rebuild should the rewrite of the nodes stop half way.
bool PutInPlace(int built, const std::string& name) {
  using namespace ndx;
  struct stat info {};
  if (::fstat(built, &info) != 0) {
    SetError(OsErrorCode(errno), "Error reading index file: " + name + " [MakeIndex]");
    return false;
  }
  const std::int64_t size = info.st_size;
  const bool existed = ::access(name.c_str(), F_OK) == 0;
  const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetError(OsErrorCode(errno, true), "File not open" + name);
    return false;
  }
  struct stat old {};
  const std::int64_t oldSize = ::fstat(fd, &old) == 0 ? old.st_size : 0;
  // keep: the size to cut the file back to (the old index still whole), or
  // -1 once its nodes are being rewritten.
  const auto fail = [&](int err, std::int64_t keep) {
    if (!existed) {
      ::unlink(name.c_str());
    } else if (keep >= 0) {
      // Should the cut fail, the old nodes are whole all the same.
      const int cut = ::ftruncate(fd, keep);
      (void)cut;
    }
    ::close(fd);
    SetError(OsErrorCode(err, true), "Error writing index file: " + name + " [MakeIndex]");
    return false;
  };
  if (size > oldSize) {
    if (const int err = CopyRange(built, fd, oldSize, size); err != 0) return fail(err, oldSize);
  }
  if (oldSize >= static_cast<std::int64_t>(kBlockSize)) {
    std::uint8_t mark[8];
    PutDword(mark, ~kNeedsRebuildCount);
    PutDword(mark + 4, kNeedsRebuildCount);
    if (const int err = WriteBytesAt(fd, mark, sizeof mark, kNotRecordCountOffset); err != 0) return fail(err, oldSize);
  }
  const std::int64_t common = std::min(size, oldSize);
  if (const int err = CopyRange(built, fd, static_cast<std::int64_t>(kBlockSize), common); err != 0) {
    return fail(err, -1);
  }
  if (const int err = CopyRange(built, fd, 0, std::min<std::int64_t>(size, kBlockSize)); err != 0) {
    return fail(err, -1);
  }
  if (oldSize > size) {
    // A tail left over does no harm: the anchor says where the tree ends.
    const int cut = ::ftruncate(fd, size);
    (void)cut;
  }
  if (::close(fd) != 0) {
    SetError(OsErrorCode(errno, true), "Error writing index file: " + name + " [MakeIndex]");
    return false;
  }
  return true;
}

int TreeLevels(std::int64_t records, int keysPerNode) {
  int levels = 2;
  for (std::int64_t n = records / keysPerNode; n > 0; n /= keysPerNode) ++levels;
  return levels;
}

// The key of the current record for the build. A key maker's keys must all
// have the length of the first (fitting them would cut the longer ones):
// another length is refused, naming the record.
bool BuildKey(IND& ind, std::int64_t record, std::string& key) {
  if (!ind.keyMaker || ind.soundex) {
    key = CurrentRecordKey(ind);
    return true;
  }
  key = UnfittedKey(ind);
  if (key.size() == ind.keyLength) return true;
  SetError(266, KeyLengthRefusalText(record, key.size(), ind.keyLength));
  return false;
}

// The core: once the disk has room and other writers wait (excludeWriters),
// reads every record and sorts the keys, then (only when every key was had)
// creates the file through openFile and writes the nodes; the root or 0.
std::uint32_t MakeIndexCore(IND& ind, WorkArea& area, bool unique, const std::function<bool()>& excludeWriters,
                            const std::function<bool()>& openFile) {
  DbfTable& table = area.table;
  const int levels = TreeLevels(table.recordCount, ind.keysPerNode);
  if (!CheckIndexDiskSpace(ind.fileName, table.recordCount, levels, ind.keysPerNode, ind.keyLength + 4u)) return 0;
  if (!excludeWriters()) return 0;
  const std::int64_t count = table.recordCount;
  // The new index holds every record read here, and its trailer says so.
  ind.heldCount = static_cast<std::uint32_t>(count);
  Progress progress(count);
  KeySorter sorter(ind.keyLength, ind.charKey);
  const bool read = ForEachRecordInFileOrder(ind, area, count, "MakeIndex", [&](std::int64_t record) {
    std::string key;
    if (!BuildKey(ind, record, key)) return false;
    if (TzError != 0 && TzError != 358) return false;
    if (!sorter.Add(reinterpret_cast<const std::uint8_t*>(key.data()), static_cast<std::uint32_t>(record))) {
      return false;
    }
    progress.Tick();
    return true;
  });
  if (!read) return 0;
  if (!sorter.Finish()) return 0;
  if (!openFile()) return 0;
  IndexTreeWriter writer(ind.fd, ind.fileName, ind.keyLength, ind.entrySize, ind.keysPerNode, kReadBufferSize);
  const std::uint8_t* key = nullptr;
  std::uint32_t record = 0;
  std::vector<std::uint8_t> previous;
  while (sorter.Next(key, record)) {
    if (unique && !previous.empty() && CompareKeys(ind, previous.data(), key) == 0) continue;
    if (unique) previous.assign(key, key + ind.keyLength);
    if (!writer.Add(key, record)) return 0;
    progress.Tick();
  }
  if (TzError != 0 && TzError != 358) return 0;
  const std::uint32_t root = writer.Finish();
  progress.Finish();
  return root;
}

}  // namespace

bool ForEachRecordInFileOrder(const IND& ind, WorkArea& area, std::int64_t count, const std::string& operation,
                              const std::function<bool(std::int64_t record)>& visit) {
  DbfTable& table = area.table;
  const std::size_t length = std::max<std::size_t>(table.recordLength, 1);
  const std::size_t perBlock = std::max<std::size_t>(1, (kReadBufferSize / 2) / length);
  std::vector<char> block(table.isVirtual ? 0 : perBlock * length);
  for (std::int64_t first = 1; first <= count; first += static_cast<std::int64_t>(perBlock)) {
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(perBlock), count - first + 1));
    if (!table.isVirtual) {
      const std::size_t bytes = n * length;
      const std::int64_t got = ReadBytesAt(
          table.fd, block.data(), bytes,
          static_cast<std::int64_t>(table.headerLength) + (first - 1) * static_cast<std::int64_t>(length));
      if (got != static_cast<std::int64_t>(bytes)) {
        SetError(got < 0 ? OsErrorCode(errno) : 100, "Error reading " + table.tableName + " [" + operation + "]");
        return false;
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      const std::int64_t record = first + static_cast<std::int64_t>(i);
      if (table.isVirtual) {
        if (!ReadIntoNative(area, record)) return false;
      } else {
        table.record.assign(block.data() + i * length, length);
        table.currentRecord = record;
        TranslateForReading(table);
        if (ind.keyMaker && area.native != nullptr) RecordToNative(table, area.native);
      }
      if (!visit(record)) return false;
    }
  }
  return true;
}

void SetProgress(std::function<void()> procedure, int steps) {
  progressProcedure = std::move(procedure);
  progressSteps = steps;
}

bool CheckIndexDiskSpace(const std::string& fileName, std::int64_t recordCount, int levels, int keysPerNode,
                         std::size_t sortEntrySize) {
  double needed = static_cast<double>(recordCount) * static_cast<double>(sortEntrySize);
  double power = 1;
  for (int i = 1; i <= levels; ++i) {
    power *= keysPerNode;
    needed += (std::floor(static_cast<double>(recordCount) / power) + 1) * 512;
  }
  const auto neededKb = static_cast<std::int64_t>(needed / 1024);
  std::string directory;
  std::string name;
  std::string extension;
  SplitPath(fileName, directory, name, extension);
  const std::int64_t freeKb = DiskFreeKB(directory);
  if (neededKb > freeKb) {
    SetError(227, "Available disk space: " + std::to_string(freeKb) + " KBytes;" + "needed: " +
                      std::to_string(neededKb) + " KBytes [MakeIndex]");
    return false;
  }
  return true;
}

bool MakeIndex(const std::string& fileName, const std::string& expression, KeyMakerProc keyMaker, void* userData,
               const MakeIndexOptions& options) {
  if (fileName.empty()) {
    SetError(220, "index filename not specified [MakeIndex()]");
    return false;
  }
  WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr || !area->table.IsOpen()) {
    SetError(215, "database not open attempting to index to" + fileName + ".");
    return false;
  }
  const std::string name = FullIndexPath(fileName);
  // Every error of the build is reported once, with the build's tag.
  const bool report = SetReportErrors(false);
  TzError = 0;
  // The file the tree is written into before it takes the index's place.
  std::string scratch;
  std::unique_ptr<IND> ind;
  std::optional<SemaphoreRebuildBracket> rebuilding;
  KeptRecord kept(*area);
  IndexBuildRunning = true;
  auto build = [&]() -> bool {
    if (expression.empty() && !keyMaker) {
      SetError(254, "Neither Expression nor KeyMaker defined");
      return false;
    }
    ind = std::make_unique<IND>();
    ind->area = CurrentArea;
    ind->slot = options.slot;
    ind->fileName = name;
    if (!expression.empty()) {
      if (!ExprLayerPresent()) {
        SetError(221, "TZParser unit not linked in. [MakeIndex]");
        return false;
      }
      if (expression.size() > kMaxExpressionLength) {
        SetError(300, "Expression length exceeds 100 bytes");
        return false;
      }
      ind->expr = AssignExpr(expression);
      if (ind->expr == nullptr) return false;
      ind->exprText = expression;
    } else {
      ind->keyMaker = keyMaker;
      ind->userData = userData;
    }
    if (IndexFileIsOpen(name)) {
      SetError(214, name);
      return false;
    }
    ind->soundex = options.soundex;
    ind->descending = options.descending;
    ind->unique = options.unique ? 1 : 0;
    ind->root = 1;
    ind->nextFree = 2;
    if (ind->keyMaker) {
      ind->keyType = 'C';
    } else {
      const char type = ind->expr->resultType;
      if (type != 'C' && type != 'D' && type != 'F' && type != 'N') {
        SetError(254, "Wrong parser return type");
        return false;
      }
      ind->keyType = type;
      ind->resultType = type;
      ind->resultWidth = ind->expr->width;
      ind->resultDecimals = ind->expr->decimals;
    }
    ind->charKey = ind->keyType == 'C';
    std::size_t length = ndx::kNumericKeyLength;
    if (ind->keyMaker && ind->soundex) length = kSoundexLength;
    else if (ind->charKey) length = UnfittedKey(*ind).size();
    if (length < 1 || length > kMaxKeyLength) {
      SetError(266, "Incorrect key length: Must be 1 to 100.");
      return false;
    }
    ind->keyLength = static_cast<std::uint16_t>(length);
    ind->entrySize = EntrySizeOf(ind->keyLength);
    ind->numericFlag = ind->charKey ? 0 : 1;
    ind->keysPerNode = KeysPerNodeOf(ind->entrySize);
    // The tree is written into a file of its own once every key is had,
    // and put in the index file's place only when it is whole: a refused or
    // failed build leaves an existing index as it was.
    const auto openFile = [&] {
      // The blank record (where every append starts) must give a key of
      // the same length too, or the index could not be opened.
      if (ind->keyMaker && !ind->soundex) {
        const std::string blank = BlankRecordKey(*ind, *area);
        if (blank.size() != ind->keyLength) {
          SetError(266, KeyLengthRefusalText(0, blank.size(), ind->keyLength));
          return false;
        }
      }
      scratch = UniqueFilename();
      if (scratch.empty()) return false;
      ind->fd = ::open(scratch.c_str(), O_RDWR | O_TRUNC | O_CLOEXEC);
      if (ind->fd < 0) SetError(OsErrorCode(errno, true), "File not open" + scratch);
      return ind->fd >= 0;
    };
    // Programs sharing the table wait with their changes until the new
    // index is in place, and the build reads every record they appended
    // before.
    const auto excludeWriters = [&] {
      rebuilding.emplace();
      if (!rebuilding->Held()) return false;
      if (area->Shared() && !area->table.isVirtual) RefreshRecCountOf(*area, true);
      return true;
    };
    const std::uint32_t root = MakeIndexCore(*ind, *area, options.unique, excludeWriters, openFile);
    if (root == 0 || !WriteNewIndexHeader(*ind, root)) return false;
    return PutInPlace(ind->fd, name);
  };
  bool ok = false;
  const auto cleanUp = [&] {
    IndexBuildRunning = false;
    rebuilding.reset();
    if (ind) {
      FreeExpr(ind->expr);
      ind->expr = nullptr;
      if (ind->fd >= 0) ::close(ind->fd);
      ind->fd = -1;
    }
    if (!scratch.empty()) ::unlink(scratch.c_str());
  };
  try {
    ok = build();
  } catch (...) {
    cleanUp();
    SetReportErrors(report);
    throw;
  }
  cleanUp();
  kept.Restore();
  SetReportErrors(report);
  if (!ok || (TzError != 0 && TzError != 358)) {
    const int code = TzError != 0 ? TzError : 254;
    SetError(code, TzErrorDetail + " [MakeIndex(<" + expression + ">," + name + ")]");
    return false;
  }
  return true;
}

}  // namespace dbase
