// The control record IND of one open index, the index slots of every work
// area (slot 1 holds the controlling index), and what every index operation
// shares: the key of the current record, key comparison, the entries of a
// node buffer, the normalised key expression, and the index file name.
// The anchor block is read and written in index_anchor.h, files are opened
// and closed in index_open.h, built in index_build.h and searched in
// index_search.h.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dbase/engine/work_areas.h"
#include "dbase/expr/compiled_expr.h"
#include "dbase/index/ndx_layout.h"
#include "dbase/index/node_cache.h"

namespace dbase {

inline constexpr int kMaxIndexSlots = 16;
inline constexpr char kKeyMakerMarker[] = "User defined KeyMaker was used to build this index";

// A caller's key procedure: fills the key text of the current record.
using KeyMakerProc = std::function<void(void* userData, int slot, std::string& key)>;

// One node on the descent path: its block, its bytes and the position taken.
struct PathStep {
  std::uint32_t block = 0;
  std::array<std::uint8_t, ndx::kBlockSize> node{};
  int position = 0;
};

struct IND {
  int slot = 0;
  int area = 0;
  std::string fileName;
  int fd = -1;
  // The anchor's first 24 bytes.
  std::uint32_t root = 0;
  std::uint32_t nextFree = 0;
  char keyType = 'C';
  std::uint16_t keyLength = 0;
  std::uint16_t keysPerNode = 0;
  std::uint16_t numericFlag = 0;
  std::uint16_t entrySize = 0;
  std::uint8_t unique = 0;
  bool anchorModified = false;
  bool charKey = true;
  bool soundex = false;
  bool descending = false;
  bool bof = false;
  bool eof = false;
  // The index is known not to hold every change of its table (an update
  // failed half way): its anchor says so, and every open asks for a rebuild.
  bool outOfStep = false;
  // The records the index is known to hold (1 to heldCount), which its
  // trailer carries; ndx::kChangingCount when that is in doubt.
  std::uint32_t heldCount = 0;
  // A change of its keys is under way: its trailer says so until the
  // change is complete.
  bool changing = false;
  // Its table is open read-only: the file is opened for reading and no
  // byte of it is written.
  bool readOnly = false;
  // A move met an empty node (reported as a mismatch with the table).
  bool damageMet = false;
  // Key production: a compiled expression or a key maker.
  CompiledExpr* expr = nullptr;
  KeyMakerProc keyMaker;
  void* userData = nullptr;
  char resultType = 0;
  std::uint16_t resultWidth = 0;
  std::uint8_t resultDecimals = 0;
  // The key expression as read from or written to the anchor.
  std::string exprText;
  // The key of the entry on which the index stands.
  std::string oldKey;
  // The current node, its block, the current entry; the descent path.
  std::array<std::uint8_t, ndx::kBlockSize> node{};
  std::uint32_t nodeNumber = 0;
  int entryIndex = 0;
  std::vector<PathStep> path;

  // Node entries.
  int Count() const { return static_cast<std::int16_t>(ndx::GetWord(node.data())); }
  std::uint8_t* Entry(int i) { return node.data() + ndx::kNodeEntriesOffset + static_cast<std::size_t>(i) * entrySize; }
  std::uint32_t Child(int i) { return ndx::GetDword(Entry(i)); }
  std::uint32_t RecordAt(int i) { return ndx::GetDword(Entry(i) + ndx::kEntryRecordOffset); }
  const std::uint8_t* KeyAt(int i) { return Entry(i) + ndx::kEntryKeyOffset; }
  bool IsLeaf() { return Count() == 0 || Child(0) == 0; }
};

// The slots of every work area (index 0 unused), the natural-order flag and
// the node cache of the controlling index.
struct AreaIndexes {
  std::array<IND*, kMaxIndexSlots + 1> slots{};
  bool naturalOrder = false;
  std::unique_ptr<NodeCache> cache;
  // The stored bytes of the record being replaced, as they were before: put
  // back when the indexes cannot take its new keys.
  std::string replacedRecord;
};
extern std::array<AreaIndexes, kMaxWorkAreas + 1> IndexSlots;
// The result of the last search or move.
extern bool IndexFound;
// Find compares the whole key (padded with blanks), not a prefix.
extern bool ExactFind;
// A Find that fails stands on the nearest key instead of the end.
extern bool NearFind;
// Another program changed the table since this program last looked: set by
// the table semaphores; without them nothing changes behind our back.
extern std::function<bool(int area)> TableChangedHook;

void SetExactOn();
void SetExactOff();

// The controlling index of the current work area, or nullptr.
IND* ControllingIndex();
IND* IndexOfSlot(int area, int slot);
// The file name of an open slot of the current area; empty when empty.
std::string IndexFileName(int slot);
// Whether a file is open as an index in any area and slot.
bool IndexFileIsOpen(const std::string& fileName);

// Normalises a key expression in place: outside quotes upper case and no
// blanks (with keepBlanks: runs of blanks shrink to one, none before the end,
// a quote or "="), quotes as double quotes (with keepBlanks unchanged).
void NormalizeKeyExpr(std::string& text, bool keepBlanks);

// Key comparison over the key length: bytes for "C", doubles otherwise.
int CompareKeys(const IND& ind, const void* a, const void* b);
// The key of the current record of the index's work area, key length bytes
// (the expression's text in the table's code page, padded with blanks or
// cut; numbers and dates as doubles).
std::string CurrentRecordKey(IND& ind);
// The same key before it is fitted to the key length.
std::string UnfittedKey(IND& ind);
// The unfitted key of the blank record (the one after the last: what an
// append starts from) of the index's work area.
std::string BlankRecordKey(IND& ind, WorkArea& area);
// Error 266's text for a key maker's key of another length than the
// index's: "The key of record <n> has <length> characters, ..." (record 0:
// the blank record that every new record starts from).
std::string KeyLengthRefusalText(std::int64_t record, std::size_t length, std::size_t keyLength);
// The key of a text for a search (Find): type conversion, padding with
// ExactFind, code page, SOUNDEX and DESCENDING for key makers.
std::string SearchKeyOf(IND& ind, const std::string& text);
// The 8 key bytes of a number.
std::string NumberKey(double value);
double KeyNumber(const void* key);

// The index file of a name: the default extension "ndx" when it has none,
// an existing file found whatever the case of its name and extension.
std::string FindIndexFile(const std::string& name);
// As FindIndexFile, and relative names against the current directory.
std::string FullIndexPath(const std::string& name);

}  // namespace dbase
