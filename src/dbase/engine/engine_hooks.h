// The hook tables through which the work-area engine reaches the index,
// expression, memo and virtual-file layers. Those layers fill their tables at
// start-up; an empty entry means the layer is absent and the engine goes on
// without it (plain record order, no memo file, no expressions).
// Every index and memo hook works on the current work area.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dbase {

// What the index layer is told around a change that reaches keys.
enum class ChangeMark {
  RecordKeys,  // the current record is about to be written with new values
  AllIndexes,  // the table is about to be rewritten (pack)
  Done,        // the change and every key it moved are written
  Failed,      // the change stopped part way
};

struct IndexHookTable {
  // Whether the controlling index is used for moves.
  std::function<bool()> indexActive;
  // Whether any index of the area is open: every open index takes the keys
  // of appended and changed records, also one in a slot above an empty
  // slot 1.
  std::function<bool()> indexesOpen;
  // First and last record number in index order; record count + 1 when the
  // index is empty.
  std::function<std::int32_t()> firstRecord;
  std::function<std::int32_t()> lastRecord;
  // Next and prior record number from the index position.
  std::function<std::int32_t()> nextRecord;
  std::function<std::int32_t()> priorRecord;
  std::function<bool()> atEnd;
  std::function<bool()> atBeginning;
  // Put the controlling index on the current record.
  std::function<void()> synchronise;
  // Tell the index that a move stopped at the first, or past the last, record.
  std::function<void()> setBeginning;
  std::function<void()> setEnd;
  // Remember the current record's keys (for a later replace).
  std::function<void()> rememberKeys;
  // Semaphore brackets: true begins, false ends.
  std::function<void(bool)> readSemaphore;
  std::function<void(bool)> lockSemaphore;
  // Key maintenance around the changes.
  std::function<void()> addKeys;
  std::function<void()> prepareReplace;
  std::function<void()> updateKeys;
  std::function<void()> rebuildAll;
  // Keeps the indexes a change reaches in doubt (on disk) from before its
  // record is written until its keys are; false when the change must not
  // go ahead (the doubt could not be written).
  std::function<bool(ChangeMark)> markChange;
  std::function<void()> closeIndexes;
  // The index layer's found flag, saved and restored around relations.
  bool* foundFlag = nullptr;
  // The controlling order, restored after a relation procedure ran.
  std::function<int()> getOrder;
  std::function<void(int)> setOrder;
};

struct ExprHookTable {
  // Evaluates a compiled logical expression (filter, WHILE).
  std::function<bool(void* compiled)> evaluate;
  // Frees a compiled expression.
  std::function<void(void* compiled)> free;
};

struct MemoHookTable {
  // Opens the memo file of the current area's table; answers an error code.
  std::function<int()> open;
  std::function<void()> close;
  // Packs the memo file of the current area; answers an error code.
  std::function<int()> pack;
  // Stores a text as a new memo; the first block, 0 for none or a failure.
  std::function<std::int32_t(const std::string& text)> addText;
  // Copies the memo at block of another area's memo file; the new block.
  std::function<std::int32_t(int sourceArea, std::int32_t block)> copy;
  // The memo at block as text lines, wrapped lines joined again; false when
  // it cannot be read.
  std::function<bool(std::int32_t block, std::vector<std::string>& lines)> readLines;
};

// Virtual-file actions handed to VirtualFileHook.
enum VirtualFileAction : int {
  kVfClose = 1,
  kVfDelete = 2,
  kVfRead = 3,
  kVfOpen = 4,
  kVfPack = 5,
  kVfPop = 6,
  kVfAdd = 7,
  kVfWrite = 8,
  kVfRecall = 9,
  kVfSnip = 10,
  kVfZap = 12,
};

struct CommonHookTable {
  std::function<void()> reportError;
  // Called by the navigation and change commands; nothing is required of it.
  std::function<void()> idle;
  // The read cache of the search layer: dropped when its table closes or is
  // packed, refreshed after a change of the current record.
  std::function<void(const std::string& alias)> dropReadCache;
  std::function<void()> updateReadCache;
};

extern IndexHookTable IndexHooks;
extern ExprHookTable ExprHooks;
extern MemoHookTable MemoHooks;
// One procedure with an action code, on the current work area and (for the
// read and write actions) a record number.
extern std::function<void(int action, std::int32_t record)> VirtualFileHook;
extern CommonHookTable CommonHooks;

// Empties every hook table.
void ClearEngineHooks();

}  // namespace dbase
