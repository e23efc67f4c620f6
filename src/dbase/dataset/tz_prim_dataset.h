// The record-access layer under the dataset: TTzPrimDataset serves the
// dataset's cursor protocol (dataset.h) through a small set of Tzi
// operations that answer integer codes (0 success, 1402 at the end, 1403 at
// the beginning, 1404 no file name, 1401 an open that failed without an
// engine code, engine error codes otherwise). A code the dataset must not
// ignore becomes an EDatasetError "Dataset error: " + the code's text.
// TTzDataSet (tz_dataset.h) implements the Tzi operations over a work area.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbase/dataset/dataset.h"

namespace dbase {

inline constexpr int kTziOpenFailed = 1401;
inline constexpr int kTziAtEnd = 1402;
inline constexpr int kTziAtBeginning = 1403;
inline constexpr int kTziNoFileName = 1404;

class TTzPrimDataset : public TDataSet {
 public:
  using TDataSet::TDataSet;

  bool GetFieldData(const TField& field, void* buffer) const override;
  // Whether the layer allowed writing when the cursor opened.
  bool CanWrite() const { return canWrite_; }

 protected:
  // Raises for a non-zero code.
  void CheckCode(int code) const;

  virtual std::string TziErrorText(int code) const = 0;
  virtual bool TziIsEmpty() = 0;
  virtual int TziSetToBegin() = 0;
  virtual int TziSetToEnd() = 0;
  virtual int TziOpen() = 0;
  virtual int TziClose() = 0;
  virtual std::int64_t TziGetRecordCount() = 0;
  virtual int TziForceReread() = 0;
  virtual int TziAppendRecord(std::vector<std::uint8_t>& record) = 0;
  virtual int TziInsertRecord(std::vector<std::uint8_t>& record) = 0;
  virtual int TziDeleteRecord() = 0;
  virtual int TziInitRecord(std::vector<std::uint8_t>& record) = 0;
  virtual int TziModifyRecord(std::vector<std::uint8_t>& record) = 0;
  virtual std::size_t TziRecordSize() = 0;
  // 2: read and write.
  virtual int TziAccess() = 0;
  virtual int TziGetRecord(std::vector<std::uint8_t>& record, std::int64_t& recNo) = 0;
  virtual int TziGetNextRecord(std::vector<std::uint8_t>& record, std::int64_t& recNo) = 0;
  virtual int TziGetPriorRecord(std::vector<std::uint8_t>& record, std::int64_t& recNo) = 0;
  // False when the field is blank.
  virtual bool TziGetFieldData(const TField& field, const std::vector<std::uint8_t>& record, void* buffer) const = 0;
  virtual int TziPutFieldData(const TField& field, std::vector<std::uint8_t>& record, const void* buffer) = 0;
  virtual int TziSetToRecNo(std::int64_t recNo) = 0;
  virtual int TziLocate(const std::string& fieldNames, const std::vector<TLocateValue>& values, bool caseInsensitive,
                        bool partialKey) = 0;
  // Finds the first record whose key fields hold the values exactly and
  // reads the result fields' values from it, the cursor kept where it was;
  // 1402 when no record matches.
  virtual int TziLookup(const std::string& keyFields, const std::vector<TLocateValue>& keyValues,
                        const std::string& resultFields, std::vector<TFieldValue>& values) = 0;
  virtual int TziSetToBookmark(TBookmark bookmark) = 0;
  virtual TBookmark TziGetBookmark() = 0;

  // The cursor protocol of TDataSet.
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override { return cursorOpen_; }
  void InternalFirst() override;
  void InternalLast() override;
  TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) override;
  void InternalInitRecord(TRecordBuffer& buffer) override;
  void InternalAddRecord(TRecordBuffer& buffer, bool append) override;
  void InternalDelete() override;
  void InternalPost() override;
  void InternalEdit() override;
  void InternalRefresh() override;
  void InternalGotoBookmark(TBookmark bookmark) override;
  void InternalSetToRecord(const TRecordBuffer& buffer) override;
  std::size_t GetRecordSize() const override { return recordSize_; }
  std::int64_t GetRecordCount() override { return TziGetRecordCount(); }
  void SetRecNoInternal(std::int64_t recNo) override;
  bool DoLocate(const std::string& fieldNames, const std::vector<TLocateValue>& values, bool caseInsensitive,
                bool partialKey) override;
  void DoSetFieldData(TField& field, const void* buffer) override;
  std::optional<std::vector<TFieldValue>> DoLookup(const std::string& keyFields,
                                                  const std::vector<TLocateValue>& keyValues,
                                                  const std::string& resultFields) override;

 private:
  bool cursorOpen_ = false;
  bool canWrite_ = false;
  std::size_t recordSize_ = 0;
};

}  // namespace dbase
