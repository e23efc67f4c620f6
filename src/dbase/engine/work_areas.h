// The command layer of the table engine: numbered work areas, each holding
// one open table (or virtual file), the commands that open and close them and
// read their fields, and the rule that decides which records are visible
// (deleted-record skipping, filter, WHILE condition). Commands act on the
// current work area, which Select sets. Moves and changes are in
// navigation.h and record_changes.h; locks in locking.h.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dbase/engine/dbf_file.h"

namespace dbase {

inline constexpr int kMaxWorkAreas = 35;
// Areas 1..33 are for callers; 34 and 35 are the engine's own.
inline constexpr int kLastUserArea = 33;
inline constexpr std::size_t kMaxAliasLength = 64;

// Lock state of a work area.
enum LockState : int { kNoLock = 0, kFileLock = 1, kAppendLock = 2, kRecordLocks = 3 };

using ConditionProc = std::function<bool(void* argument)>;

struct WorkArea {
  int number = 0;
  DbfTable table;
  std::string alias;
  bool exclusive = false;
  // The native record; either the caller's buffer or ownedNative.
  std::uint8_t* native = nullptr;
  std::size_t nativeSize = 0;
  bool ownsNative = false;
  std::vector<std::uint8_t> ownedNative;
  std::vector<std::uint8_t> swap;
  // Locks (locking.h).
  int lockState = kNoLock;
  std::list<std::int64_t> lockedRecords;  // newest first
  // Visibility.
  bool ignoreDeleted = false;
  ConditionProc filterProc;
  void* filterArgument = nullptr;
  void* filterExpr = nullptr;
  ConditionProc whileProc;
  void* whileArgument = nullptr;
  void* whileExpr = nullptr;
  // Called after every move.
  std::function<void()> relation;
  bool relationSuspended = false;
  // Virtual files: storage kind and order mode.
  int storageKind = 0;
  int orderMode = 0;

  bool Shared() const { return !exclusive; }
  std::uint8_t* FieldAddressOf(int index) const;
};

extern std::array<std::unique_ptr<WorkArea>, kMaxWorkAreas + 1> WorkAreas;
extern int CurrentArea;
// The mode of shared opens (read/write, no restriction) and an override of
// every open's mode (none by default).
extern FileMode SharedFileMode;
extern std::optional<FileMode> FileModeOverride;

// The current area's record, or nullptr.
WorkArea* CurrentWorkAreaRecord();
// The current area when it holds a table; else records error 215 naming the
// command and answers nullptr.
WorkArea* CheckDbInUse(const std::string& command);
// The start of a move, change or lock command: clears TzError, then
// CheckDbInUse.
WorkArea* BeginCommand(const std::string& command);

// Engine start-up and shut-down.
void InitTzEngine();
void ShutdownTzEngine();

bool Select(int n);
int CurrentWorkArea();
// Closes the current area's table, then opens the one the command names:
// "<file> [ALIAS <name>] [EXCLUSIVE]". nullptr buffer with size 0 lets the
// engine own the native buffer. An empty command only closes.
bool Use(const std::string& command, std::uint8_t* buffer = nullptr, std::size_t size = 0);
bool UseTranslated(const std::string& command, std::uint8_t* buffer, std::size_t size, TranslateProc readTranslate,
                   TranslateProc writeTranslate);
// Closes the table of a work area (n) or of the current one.
void CloseWorkArea(int n);
void CloseAll();

// Field access, n counted from 1.
int FieldCount();
std::string Field(int n);
int FieldNo(const std::string& name);
char FieldType(int n);
int FieldLen(int n);
int FieldDec(int n);
// The field's native value, to read or change. A changed value is written
// by the next Replace or Append; a value equal to the one read (0 over a
// blank number, false over an unknown logical) only when MarkFieldAssigned
// says it was assigned.
std::uint8_t* FieldAddress(int n);
void MarkFieldAssigned(int n);
std::string FieldAsString(int n);
// The native deleted flag.
bool Deleted();
bool NativeDeleted(const WorkArea& area);
// Blank record into the native buffer.
void ClearRecord();

std::int64_t RecCount();
void RefreshRecCount();
std::int64_t RecNo();
int RecSize();
bool dEOF();
bool dBOF();
std::string CurrentDbfName();
std::string Alias();

// Visibility rule: the record is accepted (deleted skipping and filter), and
// the WHILE condition holds.
bool RecordAccepted(const WorkArea& area);
bool WhileHolds(const WorkArea& area);
bool IsWhileOn();
// Sets the filter or WHILE procedure of the current area.
void SetFilterProc(ConditionProc proc, void* argument);
void SetWhileProc(ConditionProc proc, void* argument);
// A compiled expression of the expression layer (freed on close).
void SetFilterExpr(void* compiled);
void SetWhileExpr(void* compiled);

// Internal helpers shared by the move and change commands.
void ClearRecordOf(WorkArea& area);
// A shared table's record count from the file; lookNow false lets a look
// taken a moment ago serve (for the steps of a scan).
void RefreshRecCountOf(WorkArea& area, bool lookNow = true);
bool ReadIntoNative(WorkArea& area, std::int64_t record);
// The current record of an area with all that goes with it (its bytes,
// number and end flags, the native values, what they were read as), for
// code that reads other records and then puts it back as it was.
class KeptRecord {
 public:
  explicit KeptRecord(WorkArea& area);
  void Restore();

 private:
  WorkArea& area_;
  std::string record_;
  std::int64_t number_;
  bool eof_;
  bool bof_;
  DbfTable::ReadImage image_;
  std::vector<std::uint8_t> native_;
};

// Closes the area's table and opens it again in the given mode.
bool ReopenTable(WorkArea& area, bool exclusive);
// The table's short name for messages.
std::string AreaName(const WorkArea& area);

}  // namespace dbase
