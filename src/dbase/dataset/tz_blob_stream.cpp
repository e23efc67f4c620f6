// Memo fields of a table dataset as byte streams (see tz_blob_stream.h).
#include "dbase/dataset/tz_blob_stream.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "dbase/dataset/tz_dataset.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/work_areas.h"
#include "dbase/memo/memo_stream.h"

namespace dbase {

TTzBlobStream::TTzBlobStream(TField& field, TBlobStreamMode mode) : field_(field) {
  auto* dataset = dynamic_cast<TTzDataSet*>(field.DataSet());
  if (dataset == nullptr || field.DataType() != TFieldType::Memo) {
    throw EDatasetError("Field '" + field.FieldName() + "' is not a memo field of a table");
  }
  if (!dataset->Active()) {
    SetError(1103, "DataSet must be active. " + dataset->Name);
    return;
  }
  if (!dataset->SelectWorkArea("CreateBlobStream")) return;
  conversion_ = dataset->TableLanguage == TTzTableLanguage::tlAnsi ? kNoConversion : kConvertIfText;
  writing_ = mode != TBlobStreamMode::bmRead;
  // A written value goes into the record the dataset edits.
  if (writing_ && dataset->State() != TDataSetState::Edit && dataset->State() != TDataSetState::Insert) {
    dataset->Edit();
    if (!dataset->SelectWorkArea("CreateBlobStream")) return;
  }
  dataset_ = dataset;
  dataset->blobStreams_.push_back(this);
  std::int32_t stored = 0;
  const TRecordBuffer& active = dataset->ActiveBuffer();
  if (dataset->HasActiveRecord() && field.Offset() + sizeof stored <= active.data.size()) {
    std::memcpy(&stored, active.data.data() + field.Offset(), sizeof stored);
  }
  std::string old;
  if (!writing_ || mode == TBlobStreamMode::bmReadWrite) {
    // A dataset standing nowhere (both ends) reads an empty memo.
    if (stored == 0 || (dBOF() && dEOF())) return;
    block_ = OpenBlob(state_, true, stored, 1);
    open_ = block_ != 0;
    if (!writing_) return;
    if (!open_) {
      // An old value that cannot be read stays the field's value.
      writing_ = false;
      return;
    }
    char buffer[4096];
    for (std::int64_t n; (n = ReadBlobStream(state_, buffer, sizeof buffer, conversion_)) > 0;) {
      old.append(buffer, static_cast<std::size_t>(n));
    }
    CloseBlob(state_);
    open_ = false;
  }
  block_ = OpenBlob(state_, true, stored, 2);
  open_ = block_ != 0;
  if (!open_) {
    // A write the memo file refuses (another value being written, the memo
    // lock held by another program) leaves the field's value as it was.
    writing_ = false;
    block_ = 0;
    return;
  }
  StoreReference(block_);
  if (!old.empty()) {
    Write(old.data(), static_cast<std::int64_t>(old.size()));
    SeekBlob(state_, 0, soBeginning);
  }
}

TTzBlobStream::~TTzBlobStream() {
  if (dataset_ == nullptr) return;
  try {
    dataset_->blobStreams_.erase(std::remove(dataset_->blobStreams_.begin(), dataset_->blobStreams_.end(), this),
                                 dataset_->blobStreams_.end());
    if (!Select("DestroyBlobStream")) return;
    if (open_) CloseBlob(state_);
    open_ = false;
    if (!writing_) return;
    // Nothing written: the field has no memo any more.
    modified_ = true;
    if (dataset_->State() != TDataSetState::Edit && dataset_->State() != TDataSetState::Insert) {
      dataset_->Edit();
      Select("DestroyBlobStream");
    }
    StoreReference(wrote_ ? block_ : 0);
    dataset_->SetModified(true);
    if (dataset_->OnFieldChange) dataset_->OnFieldChange(field_);
  } catch (...) {
    // A destructor reports through the engine's error state only.
  }
}

void TTzBlobStream::Detach() {
  if (dataset_ != nullptr && open_ && Select("DestroyBlobStream")) CloseBlob(state_);
  open_ = false;
  dataset_ = nullptr;
}

bool TTzBlobStream::Select(const char* operation) {
  return dataset_ != nullptr && dataset_->SelectWorkArea(operation);
}

void TTzBlobStream::StoreReference(std::int32_t block) {
  TRecordBuffer& active = dataset_->ActiveBuffer();
  if (field_.Offset() + sizeof block > active.data.size()) return;
  std::memcpy(active.data.data() + field_.Offset(), &block, sizeof block);
  dataset_->DatasetToRecord(active.data, field_.FieldNo());
}

std::int64_t TTzBlobStream::Read(void* buffer, std::int64_t count) {
  if (!open_ || writing_ || !Select("ReadBlobStream")) return 0;
  return ReadBlobStream(state_, buffer, count, conversion_);
}

std::int64_t TTzBlobStream::Write(const void* buffer, std::int64_t count) {
  if (!open_ || !writing_ || !Select("WriteBlobStream")) return 0;
  const std::int64_t written = WriteBlobStream(state_, buffer, count, conversion_);
  if (written > 0) wrote_ = modified_ = true;
  return written;
}

std::int64_t TTzBlobStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  if (!open_ || !Select("SeekBlobStream")) return 0;
  return SeekBlob(state_, offset, origin);
}

}  // namespace dbase
