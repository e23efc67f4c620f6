// The dataset's cursor protocol over the Tzi operations (see
// tz_prim_dataset.h).
#include "dbase/dataset/tz_prim_dataset.h"

namespace dbase {

void TTzPrimDataset::CheckCode(int code) const {
  if (code == 0) return;
  if (code == kTziNoFileName) throw EDatasetError("The FileName property of the dataset not set");
  throw EDatasetError("Dataset error: " + TziErrorText(code));
}

bool TTzPrimDataset::GetFieldData(const TField& field, void* buffer) const {
  const TRecordBuffer& record = ReadBuffer();
  if (!Active() || (record.recNo <= 0 && State() != TDataSetState::Insert && State() != TDataSetState::CalcFields)) {
    return false;
  }
  return TziGetFieldData(field, record.data, buffer);
}

std::optional<std::vector<TFieldValue>> TTzPrimDataset::DoLookup(const std::string& keyFields,
                                                                 const std::vector<TLocateValue>& keyValues,
                                                                 const std::string& resultFields) {
  std::vector<TFieldValue> values;
  const int code = TziLookup(keyFields, keyValues, resultFields, values);
  if (code == kTziAtEnd) return std::nullopt;
  CheckCode(code);
  return values;
}

void TTzPrimDataset::InternalOpen() {
  CheckCode(TziOpen());
  cursorOpen_ = true;
  canWrite_ = TziAccess() == 2;
  recordSize_ = TziRecordSize();
}

void TTzPrimDataset::InternalClose() {
  cursorOpen_ = false;
  TziClose();
}

void TTzPrimDataset::InternalFirst() { CheckCode(TziSetToBegin()); }
void TTzPrimDataset::InternalLast() { CheckCode(TziSetToEnd()); }

TGetResult TTzPrimDataset::GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) {
  std::int64_t recNo = 0;
  buffer.data.resize(recordSize_, 0);
  int code = 0;
  switch (mode) {
    case TGetMode::Current:
      code = TziGetRecord(buffer.data, recNo);
      break;
    case TGetMode::Next:
      code = TziGetNextRecord(buffer.data, recNo);
      break;
    case TGetMode::Prior:
      code = TziGetPriorRecord(buffer.data, recNo);
      break;
  }
  if (code == 0) {
    buffer.recNo = recNo;
    buffer.flag = TBookmarkFlag::Current;
    return TGetResult::Ok;
  }
  if (code == kTziAtEnd) return TGetResult::Eof;
  if (code == kTziAtBeginning) return TGetResult::Bof;
  if (doCheck) CheckCode(code);
  return TGetResult::Error;
}

void TTzPrimDataset::InternalInitRecord(TRecordBuffer& buffer) {
  buffer.data.assign(recordSize_, 0);
  buffer.recNo = 0;
  CheckCode(TziInitRecord(buffer.data));
}

void TTzPrimDataset::InternalAddRecord(TRecordBuffer& buffer, bool append) {
  CheckCode(append ? TziAppendRecord(buffer.data) : TziInsertRecord(buffer.data));
}

void TTzPrimDataset::InternalDelete() { CheckCode(TziDeleteRecord()); }

void TTzPrimDataset::InternalPost() { CheckCode(TziModifyRecord(ActiveBuffer().data)); }

void TTzPrimDataset::InternalEdit() {
  std::int64_t recNo = 0;
  CheckCode(TziGetRecord(ActiveBuffer().data, recNo));
  ActiveBuffer().recNo = recNo;
}

void TTzPrimDataset::InternalRefresh() { CheckCode(TziForceReread()); }

void TTzPrimDataset::InternalGotoBookmark(TBookmark bookmark) { CheckCode(TziSetToBookmark(bookmark)); }

void TTzPrimDataset::InternalSetToRecord(const TRecordBuffer& buffer) { InternalGotoBookmark(buffer.recNo); }

void TTzPrimDataset::SetRecNoInternal(std::int64_t recNo) { CheckCode(TziSetToRecNo(recNo)); }

bool TTzPrimDataset::DoLocate(const std::string& fieldNames, const std::vector<TLocateValue>& values,
                              bool caseInsensitive, bool partialKey) {
  const int code = TziLocate(fieldNames, values, caseInsensitive, partialKey);
  if (code == kTziAtEnd) return false;
  CheckCode(code);
  return true;
}

void TTzPrimDataset::DoSetFieldData(TField& field, const void* buffer) {
  CheckCode(TziPutFieldData(field, ActiveBuffer().data, buffer));
}

}  // namespace dbase
