// TTzLLDataSet: the table dataset over a virtual file (an in-memory table in
// a work area) whose fields come from DbfFields, so that grids and edit
// controls browse and edit it like a .dbf table. TTzVFile adds the order
// mode, the key event of the sorted modes, and loading the records of the
// table named by DbfFileName after opening and saving them to it on close.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbase/dataset/tz_command_dataset.h"
#include "dbase/vfiles/virtual_files.h"

namespace dbase {

class TTzVFile;
// Answers the key text of the dataset's active record.
using TTzKeyMaker = std::function<std::string(TTzVFile& sender)>;

class TTzLLDataSet : public TTzCDataSet {
 public:
  explicit TTzLLDataSet(std::string name = std::string());
  ~TTzLLDataSet() override;

  // After opening, the records of the table named by DbfFileName are loaded.
  bool PopulateFromDisk = false;
  // On closing, when modified, the records go to the table named by
  // DbfFileName: appended, or replacing its records when they were loaded
  // from it (PopulateFromDisk).
  bool SaveToDisk = false;
  bool Modified() const { return vfileModified_; }

  // Loads the table's records (nothing when the file does not exist).
  bool ReadFromDisk();
  // Writes the records to the table (nothing without a file name).
  bool WriteToDisk();

  // Record numbers are the list positions.
  bool IsSequenced() const override { return true; }

 protected:
  // The order mode the open step applies; TTzVFile publishes it.
  LStatusType appendMode_ = kFifo;
  // The key of the record in the engine's native buffer.
  virtual std::string DoOnKeymake();
  void InstallKeyMaker();

  void InternalOpen() override;
  void DoAfterOpen() override;
  bool MemoAsNumber() const override { return true; }
  void AfterCommand() override { vfileModified_ = true; }
  void CloseHook() override;
  int OpenWorkArea() override;
  void s_AppendWithLock() override;
  void s_DeleteWithLock() override;
  void s_RestoreWithLock() override;
  void s_ReplaceWithLock() override;
  bool IsFileBased() const override { return false; }

 private:
  std::vector<std::uint8_t> native_;
  bool vfileModified_ = false;
};

class TTzVFile : public TTzLLDataSet {
 public:
  explicit TTzVFile(std::string name = std::string()) : TTzLLDataSet(std::move(name)) {}

  LStatusType AppendMode() const { return appendMode_; }
  // Stored; on an open dataset a sorted mode re-sorts the records, another
  // mode is set on the virtual file.
  void SetAppendMode(LStatusType mode);
  // Without it the key is the text of the first field.
  TTzKeyMaker KeyMaker;

 protected:
  std::string DoOnKeymake() override;
};

}  // namespace dbase
