// GoTop, GoBottom, Skip, Go and the relation procedure.
#include "dbase/engine/navigation.h"

#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/locking.h"
#include "dbase/engine/restore_on_exit.h"
#include "dbase/engine/work_areas.h"

namespace dbase {

std::function<std::int64_t()> SkipProcedure;

namespace {

bool IndexActive() { return IndexHooks.indexActive && IndexHooks.indexActive(); }

void ReadBracket(bool begin) {
  if (IndexHooks.readSemaphore) IndexHooks.readSemaphore(begin);
}

std::string Quoted(const WorkArea& area) { return "\"" + AreaName(area) + "\""; }

// The next candidate in a direction; 0 when the step cannot move.
std::int64_t NextCandidate(const WorkArea& area, bool forward, bool useIndex) {
  const std::int64_t current = area.table.currentRecord;
  if (useIndex) {
    const std::int64_t next = forward ? IndexHooks.nextRecord() : IndexHooks.priorRecord();
    const bool atEdge = forward ? (IndexHooks.atEnd && IndexHooks.atEnd())
                                : (IndexHooks.atBeginning && IndexHooks.atBeginning());
    // The count as the step left it: a step that noticed another program's
    // appends has counted their records, which the index may lead to.
    if (atEdge || next == current || next < 1 || next > static_cast<std::int64_t>(area.table.recordCount)) return 0;
    return next;
  }
  const std::int64_t count = area.table.recordCount;
  if (forward) return current >= count ? 0 : current + 1;
  return current <= 1 ? 0 : current - 1;
}

// Reads candidates from the first one on in a direction until one is
// accepted. Answers 1 when found, 0 when the candidates ran out, -1 when a
// read failed (the position stays at that record).
int SeekAccepted(WorkArea& area, std::int64_t candidate, bool forward, bool useIndex) {
  if (candidate < 1 || candidate > static_cast<std::int64_t>(area.table.recordCount)) return 0;
  while (true) {
    if (!ReadIntoNative(area, candidate)) return -1;
    if (RecordAccepted(area)) return 1;
    candidate = NextCandidate(area, forward, useIndex);
    if (candidate == 0) return 0;
  }
}

// GoTop and GoBottom.
void GoEnd(const char* command, bool top) {
  WorkArea* area = BeginCommand(command);
  if (area == nullptr) return;
  if (!top) RefreshRecCountOf(*area);
  if (area->table.recordCount < 1) return;
  if (CommonHooks.idle) CommonHooks.idle();
  const bool useIndex = IndexActive();
  if (useIndex) ReadBracket(true);
  const std::int64_t first = top ? (useIndex ? IndexHooks.firstRecord() : 1)
                                 : (useIndex ? IndexHooks.lastRecord() : area->table.recordCount);
  const int found = SeekAccepted(*area, first, top, useIndex);
  if (found < 0) {
    if (useIndex) ReadBracket(false);
    return;
  }
  if (found == 1) {
    area->table.eof = area->table.bof = false;
    ResyncIndex();
  } else {
    EnterEndOfFile(*area);
    if (!top && useIndex) {
      if (IndexHooks.setBeginning) IndexHooks.setBeginning();
      if (IndexHooks.setEnd) IndexHooks.setEnd();
    }
  }
  if (useIndex) ReadBracket(false);
  RunRelation(*area);
}

}  // namespace

void ResyncIndex() {
  if (IndexHooks.synchronise) IndexHooks.synchronise();
  if (IndexHooks.rememberKeys) IndexHooks.rememberKeys();
}

void EnterEndOfFile(WorkArea& area) {
  ClearRecordOf(area);
  area.table.currentRecord = static_cast<std::int64_t>(area.table.recordCount) + 1;
  area.table.eof = area.table.bof = true;
  if (IndexHooks.synchronise) IndexHooks.synchronise();
}

void RunRelation(WorkArea& area) {
  if (!area.relation || area.relationSuspended) return;
  const bool hasOrder = IndexHooks.getOrder && IndexHooks.setOrder;
  const int savedOrder = hasOrder ? IndexHooks.getOrder() : 0;
  const bool savedFound = IndexHooks.foundFlag != nullptr ? *IndexHooks.foundFlag : false;
  const std::int64_t record = area.table.currentRecord;
  {
    // A relation that moves its own area must not start itself again.
    RestoreOnExit<bool> suspended(area.relationSuspended, true);
    RestoreOnExit<int> current(CurrentArea);
    area.relation();
  }
  if (hasOrder) IndexHooks.setOrder(savedOrder);
  if (IndexHooks.foundFlag != nullptr) *IndexHooks.foundFlag = savedFound;
  if (area.table.currentRecord != record) SetError(224, AreaName(area));
}

void GoTop() { GoEnd("GoTop", true); }

void GoBottom() { GoEnd("GoBottom", false); }

void Skip(std::int64_t n) {
  WorkArea* area = BeginCommand("Skip");
  if (area == nullptr) return;
  DbfTable& table = area->table;
  if (CommonHooks.idle) CommonHooks.idle();
  if (n == 0) {
    if (table.recordCount > 0 && !table.eof) {
      ReadIntoNative(*area, table.currentRecord);
      if (IndexHooks.rememberKeys) IndexHooks.rememberKeys();
    } else {
      ClearRecordOf(*area);
    }
    RunRelation(*area);
    return;
  }
  if (n > 0) RefreshRecCountOf(*area, false);
  if (n > 0 && table.recordCount == 0) {
    table.eof = table.bof = true;
    SetError(212, "Database " + Quoted(*area) + " is empty. [SKIP]");
    return;
  }
  if (n > 0 && table.eof) {
    SetError(212, "Database " + Quoted(*area) + " is past EOF. [SKIP]");
    return;
  }
  if (n < 0 && table.bof) return;
  table.eof = table.bof = false;
  const bool useIndex = IndexActive();
  if (useIndex) ReadBracket(true);
  if (SkipProcedure) {
    ReadIntoNative(*area, SkipProcedure());
    ResyncIndex();
    if (useIndex) ReadBracket(false);
    RunRelation(*area);
    return;
  }
  const bool forward = n > 0;
  const std::int64_t wanted = forward ? n : -n;
  std::int64_t passed = 0;
  bool endMarked = false;
  bool whileFailed = false;
  // The last record at which filter and WHILE both held (going back).
  std::int64_t lastGood = (RecordAccepted(*area) && WhileHolds(*area)) ? table.currentRecord : 0;
  while (passed < wanted) {
    const std::int64_t candidate = NextCandidate(*area, forward, useIndex);
    if (candidate == 0) {
      endMarked = true;
      break;
    }
    if (!ReadIntoNative(*area, candidate)) {
      if (useIndex) ReadBracket(false);
      return;
    }
    const bool accepted = RecordAccepted(*area);
    if (accepted) ++passed;
    if (!WhileHolds(*area)) {
      whileFailed = true;
      break;
    }
    if (accepted) lastGood = candidate;
  }
  if (endMarked) {
    if (forward) {
      EnterEndOfFile(*area);
    } else {
      if (useIndex) ReadBracket(false);
      {
        RestoreOnExit<bool> suspended(area->relationSuspended, true);
        GoTop();
      }
      table.bof = true;
      if (table.eof) ClearRecordOf(*area);
      if (useIndex) ReadBracket(true);
    }
  } else if (whileFailed) {
    if (forward) {
      table.eof = true;
    } else if (lastGood != 0) {
      ReadIntoNative(*area, lastGood);
      table.bof = true;
    } else {
      EnterEndOfFile(*area);
    }
  }
  if (!(endMarked && forward)) ResyncIndex();
  if (useIndex) ReadBracket(false);
  RunRelation(*area);
}

void Go(std::int64_t n) {
  WorkArea* area = BeginCommand("Go");
  if (area == nullptr) return;
  DbfTable& table = area->table;
  if (CommonHooks.idle) CommonHooks.idle();
  const std::string error = "Invalid record number = " + std::to_string(n) + " \r\nDatabase " + Quoted(*area) + " [GO]";
  if (n > static_cast<std::int64_t>(table.recordCount)) RefreshRecCountOf(*area);
  if (table.recordCount == 0) {
    ClearRecordOf(*area);
    table.eof = table.bof = true;
    SetError(212, error);
  } else if (n >= 1 && n <= static_cast<std::int64_t>(table.recordCount)) {
    table.eof = table.bof = false;
    // The record and the index are read while no program sharing the table
    // writes, as a step reads them: a record read before another program
    // changed its key would be searched under a key the index no longer
    // holds.
    const bool useIndex = IndexActive();
    if (useIndex) ReadBracket(true);
    if (ReadIntoNative(*area, n)) ResyncIndex();
    if (useIndex) ReadBracket(false);
  } else {
    ClearRecordOf(*area);
    table.currentRecord = static_cast<std::int64_t>(table.recordCount) + 1;
    table.eof = true;
    if (IndexHooks.synchronise) IndexHooks.synchronise();
    SetError(212, error);
  }
  RunRelation(*area);
}

bool GoIfValid(std::int64_t n) {
  WorkArea* area = BeginCommand("GoIfValid");
  if (area == nullptr) return false;
  if (n > static_cast<std::int64_t>(area->table.recordCount)) RefreshRecCountOf(*area);
  if (n < 1 || n > static_cast<std::int64_t>(area->table.recordCount)) return false;
  Go(n);
  return true;
}

void Dbf4RawGo(std::int64_t n) {
  WorkArea* area = BeginCommand("Dbf4RawGo");
  if (area == nullptr) return;
  if (n > static_cast<std::int64_t>(area->table.recordCount)) {
    EnterEndOfFile(*area);
  } else if (n >= 1) {
    area->table.eof = area->table.bof = false;
    ReadIntoNative(*area, n);
  } else {
    SetError(212, "Invalid record number = " + std::to_string(n) + " [Dbf4RawGo]");
  }
}

void GoTopWhile() {
  WorkArea* area = BeginCommand("GoTopWhile");
  if (area == nullptr) return;
  if (!(area->whileProc || area->whileExpr != nullptr)) {
    GoTop();
    return;
  }
  if (area->table.recordCount < 1) return;
  RestoreOnExit<bool> suspended(area->relationSuspended, true);
  while (!area->table.bof && TzError == 0) Skip(-1);
  Skip(0);
}

void GoBottomWhile() {
  WorkArea* area = BeginCommand("GoBottomWhile");
  if (area == nullptr) return;
  if (!(area->whileProc || area->whileExpr != nullptr)) {
    GoBottom();
    return;
  }
  if (area->table.recordCount < 1) return;
  RestoreOnExit<bool> suspended(area->relationSuspended, true);
  while (!area->table.eof && TzError == 0) Skip(1);
  Skip(-1);
}

bool StepToVisible() {
  WorkArea* area = BeginCommand("StepToVisible");
  if (area == nullptr) return false;
  if (RecordAccepted(*area) && WhileHolds(*area)) return false;
  Unlock();
  const std::int64_t start = area->table.currentRecord;
  RestoreOnExit<bool> suspended(area->relationSuspended, true);
  Skip(1);
  if (area->table.eof) {
    Go(start);
    Skip(-1);
  }
  return true;
}

bool SetIgnoreDel(bool flag) {
  WorkArea* area = BeginCommand("SetIgnoreDel");
  if (area == nullptr) return false;
  const bool previous = area->ignoreDeleted;
  area->ignoreDeleted = flag;
  Skip(0);
  return previous;
}

std::function<void()> SetRelation(std::function<void()> relation) {
  WorkArea* area = BeginCommand("SetRelation");
  if (area == nullptr) return nullptr;
  std::function<void()> previous = std::move(area->relation);
  area->relation = std::move(relation);
  if (area->relation) RunRelation(*area);
  return previous;
}

}  // namespace dbase
