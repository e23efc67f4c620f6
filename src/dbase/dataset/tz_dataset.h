// TTzDataSet: the dataset over one work area of the table engine. It opens
// the table in a work area of its own (the back end, OpenWorkArea and the
// locked writes, comes from tz_file_dataset.h), selects that area before
// every engine call, and converts between the engine's native record and
// the dataset's record:
//   byte 0 the deleted flag, then per field in table order
//   C  length byte + characters;  D  day number (double, 0 blank)
//   N, F with decimals  double (rounded to the decimals)
//   N, F without decimals  4-byte integer, 8 bytes beyond 9 digits
//   L  2 bytes;  M  4-byte memo block number
// TDbfFieldProps describes the engine fields of the open table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbase/dataset/tz_prim_dataset.h"

namespace dbase {

enum class TTzTableLanguage { tlOem, tlAnsi };

// One engine field: name, type letter, length, decimals and its offset in
// the native record.
struct TDTField {
  std::string name;
  char type = 'C';
  int length = 0;
  int decimals = 0;
  std::size_t offset = 0;
};

class TDbfFieldProps {
 public:
  TDbfFieldProps(std::uint8_t* record, std::size_t recordLength, std::vector<TDTField> fields)
      : record_(record), recordLength_(recordLength), fields_(std::move(fields)) {}
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  // n counted from 1.
  const TDTField& Field(int n) const { return fields_.at(static_cast<std::size_t>(n - 1)); }
  const std::string& Name(int n) const { return Field(n).name; }
  char Type(int n) const { return Field(n).type; }
  int Length(int n) const { return Field(n).length; }
  int Decimals(int n) const { return Field(n).decimals; }
  std::size_t Offset(int n) const { return Field(n).offset; }
  std::size_t RecordLength() const { return recordLength_; }
  // The address of field n in the native record; 0 gives its start.
  std::uint8_t* FieldAddress(int n) const { return n == 0 ? record_ : record_ + Offset(n); }

 private:
  std::uint8_t* record_;
  std::size_t recordLength_;
  std::vector<TDTField> fields_;
};

class TTzBlobStream;

class TTzDataSet : public TTzPrimDataset {
 public:
  explicit TTzDataSet(std::string name = std::string());
  ~TTzDataSet() override;

  // The table file.
  const std::string& TableFileName() const { return tableFileName_; }
  TTzTableLanguage TableLanguage = TTzTableLanguage::tlOem;
  bool HideDeletedRecs() const { return hideDeleted_; }
  void SetHideDeletedRecs(bool hide);
  // Fired around restoring a deleted record.
  NotifyEvent BeforeRestore;
  NotifyEvent AfterRestore;

  // The work area of the open table (0 when closed).
  int WorkAreaNumber() const { return area_; }
  const TDbfFieldProps* DbfFieldProps() const { return props_.get(); }
  // "NAME, C, 20, 0" per field of the open table.
  const std::vector<std::string>& FieldDescriptions() const { return descriptions_; }

  // The active record carries the deletion mark.
  bool RecordDeleted() const;
  // true deletes (marks) the active record, false restores it.
  void SetDeleted(bool deleted);

  void Post() override;
  void Cancel() override;

 protected:
  friend class TTzBlobStream;
  void SetTableFileName(const std::string& name) { tableFileName_ = name; }
  // Selects the dataset's area for the named operation; without one records
  // error 1103 "Database is not open [<name>.<operation>]" and answers
  // false (the operation then does nothing).
  virtual bool SelectWorkArea(const std::string& operation);
  virtual void DoBeforeRestore();
  virtual void DoAfterRestore();
  // Writes an inserted record's buffer into the engine record, else makes
  // the engine stand on the active record.
  virtual void UpdateCursor();
  virtual bool MemoAsNumber() const { return false; }
  virtual void AfterCommand() {}
  virtual void CloseHook() {}
  // The back end: opens the table in a work area (answers its number, 0 on
  // failure) and the locked changes of the current record.
  virtual int OpenWorkArea() = 0;
  virtual void s_AppendWithLock() = 0;
  virtual void s_DeleteWithLock() = 0;
  virtual void s_RestoreWithLock() = 0;
  virtual void s_ReplaceWithLock() = 0;
  virtual bool IsFileBased() const { return true; }

  // After an engine command: a pending edit is cancelled, the dataset
  // stands on the engine's record (or is empty), AfterScroll fires.
  void ResyncAfterCommand();
  // The engine's native record of the area.
  std::uint8_t* NativeRecord() const;
  // Dataset record <-> engine native record; onlyField 0 converts all.
  void RecordToDataset(std::vector<std::uint8_t>& record) const;
  void DatasetToRecord(const std::vector<std::uint8_t>& record, int onlyField);
  void ClearPositionFlags() { beforeFirst_ = afterLast_ = false; }

  std::size_t FirstFieldOffset() const override { return 1; }
  std::vector<TFieldDef> InternalInitFieldDefs() override;
  std::unique_ptr<TField> CreateField(const TFieldDef& def, int fieldNo) override;

  std::string TziErrorText(int code) const override;
  bool TziIsEmpty() override;
  int TziSetToBegin() override;
  int TziSetToEnd() override;
  int TziOpen() override;
  int TziClose() override;
  std::int64_t TziGetRecordCount() override;
  int TziForceReread() override;
  int TziAppendRecord(std::vector<std::uint8_t>& record) override;
  int TziInsertRecord(std::vector<std::uint8_t>& record) override;
  int TziDeleteRecord() override;
  int TziInitRecord(std::vector<std::uint8_t>& record) override;
  int TziModifyRecord(std::vector<std::uint8_t>& record) override;
  std::size_t TziRecordSize() override;
  int TziAccess() override { return 2; }
  int TziGetRecord(std::vector<std::uint8_t>& record, std::int64_t& recNo) override;
  int TziGetNextRecord(std::vector<std::uint8_t>& record, std::int64_t& recNo) override;
  int TziGetPriorRecord(std::vector<std::uint8_t>& record, std::int64_t& recNo) override;
  bool TziGetFieldData(const TField& field, const std::vector<std::uint8_t>& record, void* buffer) const override;
  int TziPutFieldData(const TField& field, std::vector<std::uint8_t>& record, const void* buffer) override;
  int TziSetToRecNo(std::int64_t recNo) override;
  int TziLocate(const std::string& fieldNames, const std::vector<TLocateValue>& values, bool caseInsensitive,
                bool partialKey) override;
  int TziLookup(const std::string& keyFields, const std::vector<TLocateValue>& keyValues,
                const std::string& resultFields, std::vector<TFieldValue>& values) override;
  int TziSetToBookmark(TBookmark bookmark) override;
  TBookmark TziGetBookmark() override;

 private:
  int PendingCode(int fallback = 0) const;
  void BuildFieldProps();
  std::size_t DatasetFieldOffset(int n) const;

  std::string tableFileName_;
  int area_ = 0;
  bool hideDeleted_ = false;
  bool beforeFirst_ = true;
  bool afterLast_ = true;
  std::unique_ptr<TDbfFieldProps> props_;
  std::vector<std::string> descriptions_;
  std::size_t recordSize_ = 0;
  // Blob streams not yet destroyed; finished when the table closes.
  std::vector<TTzBlobStream*> blobStreams_;
  void DetachBlobStreams();
};

}  // namespace dbase
