// TTzFileDataSet: the table dataset backed by a .dbf file in a work area of
// its own. It opens the table (creating it from DbfFields when it is
// missing, EXCLUSIVE, read-only, under the component's name as alias), opens
// the indexes of IndexList (building those that are missing, and rebuilding
// existing ones only under ciAlways and ciVerifyHeader),
// writes records under the record and append locks of shared tables (a lock
// is tried again for a moment; one that cannot be had is handed to the
// component's handler, and when it gives up the change raises "Lock failed
// [<operation>]": nothing is written), and adds index
// commands and delimited text. TTzDbf is the component the table window
// uses.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbase/dataset/tz_command_dataset.h"

namespace dbase {

// The first work area for callers that holds no table (0 when none).
int FreeWorkArea();

enum class TCreateIndexType { ciNotFound, ciAlways, ciVerifyHeader, ciNever };

class TTzFileDataSet;
// Asked when a lock cannot be had; setting retry tries again.
using TTzLockFailedEvent = std::function<void(TTzFileDataSet& sender, bool& retry)>;
// The key of an index built by a callback: the dataset's fields show the
// record whose key is wanted; context is the caller's.
using TTzKeyMakerCallback = std::function<void(TTzFileDataSet& dataset, void* context, std::string& key)>;
using TBeforeMakeIndexEvent = std::function<void(const std::string& name, bool& canMake)>;
using TAfterMakeIndexEvent = std::function<void(const std::string& name)>;

class TTzFileDataSet : public TTzCDataSet {
 public:
  explicit TTzFileDataSet(std::string name = std::string());

  // Opening.
  bool Exclusive() const { return exclusive_; }
  // The native-buffer option: the engine keeps the table's native record in
  // the caller's buffer of size bytes (the table's native record size, else
  // the open fails with code 266) instead of its own. nullptr: its own.
  // Takes effect at the next open.
  void SetNativeBuffer(std::uint8_t* buffer, std::size_t size);
  // Closes and reopens an open dataset.
  void SetExclusive(bool exclusive);
  void SetReadOnly(bool readOnly);
  bool AutoFixRecCount = false;
  TCreateIndexType CreateIndex = TCreateIndexType::ciNotFound;
  bool CreateIfNotFound = true;
  // "slot,file,key expression" per index (slot empty: the entry's place).
  std::vector<std::string> IndexList;
  TBeforeMakeIndexEvent OnBeforeMakeIndex;
  TAfterMakeIndexEvent OnAfterMakeIndex;

  // The locks of the dataset's changes (and its ALock and FLock) are tried
  // again for a moment before they fail, as another program's change holds
  // its lock only while it writes: ChangeLockRetries retries
  // ChangeLockRetryWait milliseconds apart, or the engine's LockRetries and
  // LockRetryWait when those retry more often.
  std::uint8_t ChangeLockRetries = 200;
  std::uint8_t ChangeLockRetryWait = 2;
  // Lock failures of the locked changes. A change whose lock cannot be had
  // (no handler, or the handler gives up) raises EDatasetError "Dataset
  // error: ... Lock failed [<operation>]" and leaves TzError 1200 (a
  // record lock) or 1201 (the append lock): nothing was written.
  TTzLockFailedEvent OnALockFailedOnInsert;
  TTzLockFailedEvent OnRLockFailedOnDelete;
  TTzLockFailedEvent OnRLockFailedOnPost;
  TTzLockFailedEvent OnRLockFailedOnRestore;

  // The engine's append lock, file lock and release on the dataset's area.
  bool ALock();
  bool FLock();
  void UnLock();

  // Index search for a key (at most 100 characters); FindExact compares the
  // whole key and leaves the exact-match setting as it was. Both answer
  // whether the key was found.
  bool Find(const std::string& key);
  bool FindExact(const std::string& key);
  // Builds an index file for the key expression and opens it as the
  // controlling index.
  bool IndexOn(const std::string& expression, const std::string& fileName);
  // Opens index files (blank-separated names), the first controlling.
  bool SetIndexTo(const std::string& names);
  // Builds an index whose keys the callback makes (the name may end with
  // UNIQUE, SOUNDEX, DESCENDING) and opens it as the controlling index.
  bool IndexOnCB(const std::string& nameWithOptions, TTzKeyMakerCallback callback, void* context = nullptr);
  // Opens an index built by a callback into a slot (1..16; slot 1 orders
  // the table) with the callback that makes its keys.
  bool SetIndexToCB(const std::string& nameWithOptions, int slot, TTzKeyMakerCallback callback,
                    void* context = nullptr);
  // Opens an index file whose name may hold blanks (taken as it is, without
  // option words) into a slot (slot 1 orders the table).
  bool SetIndexToLFN(const std::string& fileName, int slot);

  // A field of any record straight from the file.
  std::string Peek(int fieldNo, std::int64_t recNo);
  // Delimited text: answers the number of records appended or written.
  std::int64_t AppendFromDelimited(const std::string& fileName);
  std::int64_t CopyToDelimited(const std::string& fileName);

  bool Locate(const std::string& fieldNames, const std::vector<TLocateValue>& values, bool caseInsensitive,
              bool partialKey) override;
  bool IsSequenced() const override;

 protected:
  int OpenWorkArea() override;
  void s_AppendWithLock() override;
  void s_DeleteWithLock() override;
  void s_RestoreWithLock() override;
  void s_ReplaceWithLock() override;
  void CloseHook() override;

 private:
  struct KeyMakerEntry {
    TTzKeyMakerCallback callback;
    void* context = nullptr;
  };
  // The engine's key maker of a callback index: the active buffer shows the
  // engine's record while the callback runs.
  std::function<void(void* userData, int slot, std::string& key)> EngineKeyMaker();
  void MakeCallbackKey(int slot, std::string& key);
  // Selects the area and brackets an index command: resync afterwards.
  bool IndexCommand(const std::string& operation, const std::function<void()>& command);

  // Takes the lock (unless the area already holds what the change needs),
  // runs the change, asks the handler on failure (retries bounded by the
  // engine's retry count) and raises when the lock cannot be had. With
  // step, the area then steps off a record its filter no longer shows.
  void LockedChange(bool recordLock, const std::function<void()>& change, const TTzLockFailedEvent& handler,
                    const std::string& operation, bool step = true);
  // A lock of the engine tried with the dataset's retries.
  bool WithChangeRetries(const std::function<bool()>& lock) const;
  bool OpenIndexList();
  bool FindKey(const std::string& key);

  bool exclusive_ = false;
  std::uint8_t* nativeBuffer_ = nullptr;
  std::size_t nativeBufferSize_ = 0;
  // One per index slot (1..16).
  std::array<KeyMakerEntry, 17> keyMakers_;
};

class TTzDbf : public TTzFileDataSet {
 public:
  using TTzFileDataSet::TTzFileDataSet;
};

}  // namespace dbase
