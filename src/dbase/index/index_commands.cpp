// Index commands and the installation of the index layer into the engine.
#include "dbase/index/index_commands.h"

#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <utility>
#include <vector>

#include "dbase/common/text_routines.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/locking.h"
#include "dbase/engine/os_errors.h"
#include "dbase/engine/restore_on_exit.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/change_marks.h"
#include "dbase/index/day_numbers.h"
#include "dbase/index/index_build.h"
#include "dbase/index/index_open.h"
#include "dbase/index/index_search.h"
#include "dbase/index/index_update.h"
#include "dbase/index/key_primitives.h"
#include "dbase/index/table_semaphore.h"

namespace dbase {

bool UniqueDefault = false;

namespace {

int InstallCount = 0;
// The bytes of the key expression an index file keeps after its header.
constexpr std::size_t kStoredExpressionLength = 100;

struct NameOptions {
  std::string name;
  bool unique = false;
  bool soundex = false;
  bool descending = false;
  bool noCache = false;
};

std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string UpperAsciiText(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool IsOptionWord(const std::string& word) {
  const std::string w = UpperAsciiText(word);
  return w == "UNIQUE" || w == "SOUNDEX" || w == "DESCENDING" || w == "NOCACHE";
}

// The option words at the end of a name, taken off it.
NameOptions TakeOptions(const std::string& text) {
  NameOptions options;
  std::string name = TrimBlanks(text);
  while (true) {
    const std::size_t blank = name.find_last_of(" \t");
    if (blank == std::string::npos) break;
    const std::string word = UpperAsciiText(name.substr(blank + 1));
    if (!IsOptionWord(word)) break;
    options.unique |= word == "UNIQUE";
    options.soundex |= word == "SOUNDEX";
    options.descending |= word == "DESCENDING";
    options.noCache |= word == "NOCACHE";
    name = TrimBlanks(name.substr(0, blank));
  }
  options.name = name;
  return options;
}

AreaIndexes& SlotsOfCurrentArea() { return IndexSlots[static_cast<std::size_t>(CurrentArea)]; }

bool AnyIndexOpen(const AreaIndexes& area) {
  for (const IND* ind : area.slots) {
    if (ind != nullptr) return true;
  }
  return false;
}

// Every index back in the slot of its own number.
void ReturnToOwnSlots(AreaIndexes& area) {
  IND* controlling = area.slots[1];
  if (controlling != nullptr && controlling->slot != 1) {
    std::swap(area.slots[1], area.slots[static_cast<std::size_t>(controlling->slot)]);
  }
}

std::string TableNameOf(const WorkArea& area) { return AreaName(area); }

// A move of the index answers record 0 when it raised an error; the error
// stays recorded for the caller.
std::int32_t MoveAnswer(std::int64_t (*move)()) {
  try {
    return static_cast<std::int32_t>(move());
  } catch (const EDidozError&) {
    return 0;
  }
}

}  // namespace

void IndexInit() {
  if (InstallCount > 0) {
    ++InstallCount;
    return;
  }
  if (IndexHooks.firstRecord) {
    SetError(254, "ERROR: BOTH INDEX4 and TZNDX units linked in. [IndexInit]");
    return;
  }
  ++InstallCount;
  IndexHooks.indexActive = [] { return ControllingIndex() != nullptr; };
  IndexHooks.indexesOpen = [] { return AnyIndexOpen(SlotsOfCurrentArea()); };
  IndexHooks.synchronise = SyncIndexToRecord;
  IndexHooks.nextRecord = [] { return MoveAnswer(FindNextRec); };
  IndexHooks.priorRecord = [] { return MoveAnswer(FindPriorRec); };
  IndexHooks.firstRecord = [] { return MoveAnswer(GoTopIndexed); };
  IndexHooks.lastRecord = [] { return MoveAnswer(GoBottomIndexed); };
  IndexHooks.atEnd = IndexEof;
  IndexHooks.atBeginning = IndexBof;
  IndexHooks.addKeys = AppendNewKey;
  IndexHooks.rememberKeys = [] { RememberKeys(1, false); };
  IndexHooks.prepareReplace = PrepareReplace;
  IndexHooks.updateKeys = [] { CompareKeys(); };
  IndexHooks.setBeginning = SetIndexBof;
  IndexHooks.setEnd = SetIndexEof;
  IndexHooks.foundFlag = &IndexFound;
  IndexHooks.rebuildAll = Reindex;
  IndexHooks.markChange = MarkChange;
  IndexHooks.closeIndexes = CloseAllIndexes;
  IndexHooks.readSemaphore = SetReadSemaphoreProc;
  IndexHooks.lockSemaphore = SetLockSemaphoreProc;
  IndexHooks.getOrder = [] { return ControllingIndex() != nullptr ? CurrentOrder() : 0; };
  IndexHooks.setOrder = [](int order) {
    if (ControllingIndex() != nullptr && CurrentOrder() != order) Set_Order_To(order);
  };
  TableChangedHook = SemaphoreTableChanged;
  ExactFind = false;
  NearFind = false;
  IndexFound = false;
  for (AreaIndexes& area : IndexSlots) area.naturalOrder = false;
  ResetSemaphores();
}

void IndexDone() {
  if (InstallCount == 0 || --InstallCount > 0) return;
  for (int area = 1; area <= kMaxWorkAreas; ++area) {
    RestoreOnExit<int> current(CurrentArea, area);
    CloseAllIndexes();
  }
  IndexHooks = IndexHookTable{};
  TableChangedHook = nullptr;
  ResetSemaphores();
}

namespace {

bool OpenIntoSlot(const NameOptions& options, int slot, KeyMakerProc keyMaker, void* userData) {
  TzError = 0;
  CloseIndex(slot);
  if (TzError != 0) return false;
  if (options.name.empty()) return false;
  const std::string name = FullIndexPath(options.name);
  const std::string tag = " [SetIndexTo(<>," + name + "," + std::to_string(slot) + ")]";
  if (slot < 1 || slot > kMaxIndexSlots) {
    SetError(220, "Index Order parameter out of range" + tag);
    return false;
  }
  WorkArea* area = CurrentWorkAreaRecord();
  if (area == nullptr || !area->table.IsOpen()) {
    SetError(215, "Attempt to open " + name + " index file with no DBF file open." + tag);
    return false;
  }
  if (::access(name.c_str(), F_OK) != 0) {
    SetError(2, "Attempt to open " + name + " [SetIndexTo(...," + std::to_string(slot) + ")]");
    return false;
  }
  // Another program may change the file under a cache.
  const bool noCache = options.noCache || NetworkLocking;
  if (area->Shared() && SemaphoreUsable()) {
    DatabaseSemaphore(kSemLogin);
    if (TzError != 0) return false;
  }
  const std::string full = ExpandPath(name);
  for (int other = 1; other <= kMaxWorkAreas; ++other) {
    const WorkArea* otherArea = WorkAreas[static_cast<std::size_t>(other)].get();
    for (const IND* ind : IndexSlots[static_cast<std::size_t>(other)].slots) {
      if (ind == nullptr || ExpandPath(ind->fileName) != full) continue;
      const std::string otherTable = otherArea != nullptr ? TableNameOf(*otherArea) : std::string();
      if (other == CurrentArea || otherArea == nullptr || otherArea->table.fileName != area->table.fileName) {
        if (!AnyIndexOpen(SlotsOfCurrentArea())) DatabaseSemaphore(kSemLogout);
        SetError(220, "Index file already open: " + name + " for " + otherTable + "\n\r" +
                          "Attempting to set index of same name for " + TableNameOf(*area) +
                          ". [OpenIndex/Set_Index_To]");
        return false;
      }
    }
  }
  OpenIndexOptions openOptions;
  openOptions.soundex = options.soundex;
  openOptions.descending = options.descending;
  openOptions.noCache = noCache;
  if (!OpenIndex(name, slot, std::move(keyMaker), userData, openOptions)) {
    // A failed open leaves no user count behind.
    const std::uint16_t code = TzError;
    const std::string detail = TzErrorDetail;
    if (!AnyIndexOpen(SlotsOfCurrentArea())) DatabaseSemaphore(kSemLogout);
    TzError = code;
    TzErrorDetail = detail;
    return false;
  }
  RememberKeys(1, false);
  return TzError == 0;
}

}  // namespace

bool SetIndexTo(const std::string& nameWithOptions, int slot, KeyMakerProc keyMaker, void* userData) {
  return OpenIntoSlot(TakeOptions(nameWithOptions), slot, std::move(keyMaker), userData);
}

bool SetIndexToLFN(const std::string& fileName, int slot) {
  NameOptions options;
  options.name = TrimBlanks(fileName);
  return OpenIntoSlot(options, slot, nullptr, nullptr);
}

bool SetIndexToOrdered(const std::string& nameWithOptions, int slot) {
  if (!SetIndexTo(nameWithOptions, slot)) return false;
  Set_Order_To(1);
  return TzError == 0;
}

bool SetIndexToCBOrdered(const std::string& nameWithOptions, int slot, KeyMakerProc keyMaker, void* userData) {
  if (!SetIndexTo(nameWithOptions, slot, std::move(keyMaker), userData)) return false;
  Set_Order_To(1);
  return TzError == 0;
}

void Set_Index_To(const std::string& names) {
  TzError = 0;
  CloseAllIndexes();
  const std::string list = TrimBlanks(names);
  if (list.empty()) return;
  if (!ExprLayerPresent()) {
    SetError(221, "TZParser unit not linked in. [Set_Index_To]");
    return;
  }
  // Option words belong to the name before them.
  std::vector<std::string> files;
  std::istringstream words(list);
  for (std::string word; words >> word;) {
    if (IsOptionWord(word) && !files.empty()) {
      files.back() += " " + word;
    } else {
      files.push_back(word);
    }
  }
  std::uint16_t lastCode = 0;
  std::string lastDetail;
  {
    RestoreOnExit<bool> quiet(ReportErrors, false);
    int slot = 0;
    for (const std::string& file : files) {
      if (++slot > kMaxIndexSlots) break;
      if (!SetIndexTo(file, slot)) {
        lastCode = TzError;
        lastDetail = TzErrorDetail;
        TakeErrorDetail();
      }
    }
  }
  if (lastCode != 0) SetError(lastCode, lastDetail + " [SetIndexTo]");
  if (ControllingIndex() != nullptr) {
    const std::uint16_t code = TzError;
    const std::string detail = TzErrorDetail;
    Set_Order_To(1);
    if (TzError == 0 && code != 0) {
      TzError = code;
      TzErrorDetail = detail;
    }
  }
}

void Set_Order_To(int order) {
  TzError = 0;
  const std::string operation = "Set_Order_To(" + std::to_string(order) + ")";
  WorkArea* area = CheckDbInUse("Set_Order_To");
  if (area == nullptr) return;
  AreaIndexes& slots = SlotsOfCurrentArea();
  const std::string table = TableNameOf(*area);
  if (slots.slots[1] == nullptr) {
    SetError(221, "Index not open. (DBF=" + table + ") [" + operation + "]");
    return;
  }
  if (order < 0 || order > kMaxIndexSlots) {
    SetError(220, "Invalid Index Order Specified: SET_ORDER_TO. [" + operation + "] (DBF=" + table + ")");
    return;
  }
  if (order == 0) {
    slots.naturalOrder = true;
    return;
  }
  SetReadSemaphoreProc(true);
  IND* old = slots.slots[1];
  const bool oldAtEnd = old->eof;
  const bool found = IndexFound;
  EmptyNodeCache();
  const auto arrangement = slots.slots;
  ReturnToOwnSlots(slots);
  if (slots.slots[static_cast<std::size_t>(order)] == nullptr) {
    slots.slots = arrangement;
    SetReadSemaphoreProc(false);
    SetError(221, "Index not open.. (DBF=" + table + ") [" + operation + "]");
    return;
  }
  std::swap(slots.slots[1], slots.slots[static_cast<std::size_t>(order)]);
  slots.naturalOrder = false;
  SyncIndex(true);
  RememberKeys(1, false);
  IndexFound = found;
  if (oldAtEnd) slots.slots[1]->eof = true;
  SetReadSemaphoreProc(false);
}

int CurrentOrder() {
  WorkArea* area = CheckDbInUse("CurrentOrder");
  if (area == nullptr) return 0;
  const IND* controlling = ControllingIndex();
  if (controlling == nullptr || SlotsOfCurrentArea().naturalOrder) return 0;
  return controlling->slot;
}

namespace {
void RebuildSlots(WorkArea& workArea, AreaIndexes& slots);
}  // namespace

void Reindex() {
  TzError = 0;
  WorkArea* area = CheckDbInUse("Reindex");
  if (area == nullptr) return;
  AreaIndexes& slots = SlotsOfCurrentArea();
  if (!AnyIndexOpen(slots)) {
    SetError(221, "Index not open. (DBF=" + TableNameOf(*area) + ") [Reindex]");
    return;
  }
  const int order = CurrentOrder();
  ReturnToOwnSlots(slots);
  {
    // Other programs sharing the table wait until every index is rebuilt
    // (a rebuild that failed may leave no index open, and the area leaves
    // the semaphore then).
    SemaphoreRebuildBracket rebuilding;
    if (!rebuilding.Held()) return;
    RebuildSlots(*area, slots);
  }
  if (TzError == 0 && ControllingIndex() != nullptr) Set_Order_To(order);
}

namespace {

void RebuildSlots(WorkArea& workArea, AreaIndexes& slots) {
  WorkArea* area = &workArea;
  for (int slot = 1; slot <= kMaxIndexSlots; ++slot) {
    IND* ind = slots.slots[static_cast<std::size_t>(slot)];
    if (ind == nullptr) continue;
    const std::string name = ind->fileName;
    const bool cached = slot == 1 && slots.cache != nullptr;
    const bool soundex = ind->soundex;
    const bool descending = ind->descending;
    const bool unique = ind->unique != 0;
    KeyMakerProc keyMaker = ind->keyMaker;
    void* userData = ind->userData;
    std::string expression;
    if (!keyMaker) {
      char text[kStoredExpressionLength + 1] = {};
      if (ReadBytesAt(ind->fd, text, kStoredExpressionLength, static_cast<std::int64_t>(ndx::kExpressionOffset)) !=
          static_cast<std::int64_t>(kStoredExpressionLength)) {
        SetError(OsErrorCode(errno), "Error reading index file:  [Reindex]");
        return;
      }
      expression = ZToStrN(text, kStoredExpressionLength);
      if (area->table.oem) expression = OemToAnsiStr(expression);
    }
    CloseIndex(slot);
    MakeIndexOptions build;
    build.unique = unique;
    build.soundex = soundex;
    build.descending = descending;
    build.slot = slot;
    if (!MakeIndex(name, expression, keyMaker, userData, build) || TzError != 0) return;
    std::string reopen = name;
    if (soundex) reopen += " SOUNDEX";
    if (descending) reopen += " DESCENDING";
    if (unique) reopen += " UNIQUE";
    if (!cached) reopen += " NOCACHE";
    if (!SetIndexTo(reopen, slot, keyMaker, userData)) return;
  }
}

}  // namespace

namespace {

// What Index_On and IndexOn share: the build and the opening as order 1.
void BuildAndOpen(const char* command, const std::string& expression, const std::string& nameWithOptions,
                  KeyMakerProc keyMaker, void* userData) {
  TzError = 0;
  WorkArea* area = CheckDbInUse(command);
  if (area == nullptr) return;
  CloseAllIndexes();
  if (SlotsOfCurrentArea().slots[1] != nullptr) {
    SetError(254, std::string("Internal error: IND pointer already allocated [") + command + "]");
    return;
  }
  const NameOptions options = TakeOptions(nameWithOptions);
  if (options.name.empty()) {
    SetError(220, std::string("index filename not specified [") + command + "]");
    return;
  }
  if (!keyMaker && !ExprLayerPresent()) {
    SetError(221, std::string("TZParser unit not linked in. [") + command + "]");
    return;
  }
  MakeIndexOptions build;
  build.unique = options.unique || UniqueDefault;
  if (keyMaker) {
    build.soundex = options.soundex;
    build.descending = options.descending;
  }
  if (!MakeIndex(options.name, expression, keyMaker, userData, build) || TzError != 0) return;
  if (SetIndexTo(TrimBlanks(nameWithOptions), 1, std::move(keyMaker), userData)) Set_Order_To(1);
}

}  // namespace

void Index_On(const std::string& expression, const std::string& nameWithOptions) {
  BuildAndOpen("Index_On", expression, nameWithOptions, nullptr, nullptr);
}

void IndexOn(const std::string& nameWithOptions, KeyMakerProc keyMaker, void* userData) {
  BuildAndOpen("IndexOn", std::string(), nameWithOptions, std::move(keyMaker), userData);
}

std::string IndexKeyText(int slot) {
  IND* ind = IndexOfSlot(CurrentArea, slot);
  const WorkArea* area = CurrentWorkAreaRecord();
  if (ind == nullptr || area == nullptr) return std::string();
  const std::string key = CurrentRecordKey(*ind);
  if (ind->keyMaker) return key;
  switch (ind->resultType) {
    case 'D':
      return JulianToDateText(KeyNumber(key.data()));
    case 'F':
    case 'N':
      return FloatToStrW(KeyNumber(key.data()), ind->resultWidth, ind->resultDecimals);
    default:
      return area->table.oem ? OemToAnsiStr(key) : key;
  }
}

std::string NaturalKeyText() { return "Rec:" + IntToStrW(RecNo(), 10); }

bool IndexAscending(int slot) {
  const IND* ind = IndexOfSlot(CurrentArea, slot);
  return ind != nullptr && !ind->descending;
}

bool IndexIsSoundex(int slot) {
  const IND* ind = IndexOfSlot(CurrentArea, slot);
  return ind != nullptr && ind->soundex;
}

}  // namespace dbase
