// The dataset's cursor, states and buffers (see dataset.h).
#include "dbase/dataset/dataset.h"

#include <algorithm>

#include "dbase/common/text_routines.h"
#include "dbase/engine/engine_settings.h"

namespace dbase {

TDataSet::TDataSet(std::string name) : Name(std::move(name)) {}

TDataSet::~TDataSet() = default;

void TDataSet::SetActive(bool active) {
  if (active == Active()) return;
  if (active) {
    OpenCursor();
  } else {
    if (BeforeClose) BeforeClose(*this);
    CloseCursor();
  }
}

void TDataSet::OpenCursor() {
  InternalOpen();
  fields_.clear();
  std::size_t offset = FirstFieldOffset();
  int fieldNo = 0;
  for (const TFieldDef& def : InternalInitFieldDefs()) {
    std::unique_ptr<TField> field = CreateField(def, ++fieldNo);
    field->SetOffset(offset);
    offset += field->DataSize();
    fields_.push_back(std::move(field));
  }
  active_ = TRecordBuffer{};
  active_.data.assign(GetRecordSize(), 0);
  state_ = TDataSetState::Browse;
  modified_ = false;
  First();
  DoAfterOpen();
}

void TDataSet::DoAfterOpen() {
  if (AfterOpen) AfterOpen(*this);
}

void TDataSet::CloseCursor() {
  state_ = TDataSetState::Inactive;
  fields_.clear();
  active_ = TRecordBuffer{};
  bof_ = eof_ = true;
  InternalClose();
}

std::unique_ptr<TField> TDataSet::CreateField(const TFieldDef& def, int fieldNo) {
  auto field = std::make_unique<TField>(this, def.name, def.type, def.size, fieldNo);
  field->Decimals = def.decimals;
  return field;
}

void TDataSet::CheckActive() const {
  if (!Active()) throw EDatasetError("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckCanModify() const {
  if (!CanModify()) throw EDatasetError("Cannot modify a read-only dataset");
}

bool TDataSet::IsEmpty() const { return !Active() || (active_.recNo <= 0 && state_ != TDataSetState::Insert); }

void TDataSet::ClearActiveBuffer() {
  std::fill(active_.data.begin(), active_.data.end(), 0);
  active_.recNo = 0;
  active_.flag = TBookmarkFlag::Current;
}

void TDataSet::DoBeforeScroll() {
  if (BeforeScroll) BeforeScroll(*this);
}

void TDataSet::DoAfterScroll() {
  if (AfterScroll) AfterScroll(*this);
}

void TDataSet::First() {
  CheckBrowseMode();
  DoBeforeScroll();
  InternalFirst();
  if (GetRecord(active_, TGetMode::Next, true) == TGetResult::Ok) {
    SetFlags(true, false);
  } else {
    ClearActiveBuffer();
    SetFlags(true, true);
  }
  DoAfterScroll();
}

void TDataSet::Last() {
  CheckBrowseMode();
  DoBeforeScroll();
  InternalLast();
  if (GetRecord(active_, TGetMode::Prior, true) == TGetResult::Ok) {
    SetFlags(false, true);
  } else {
    ClearActiveBuffer();
    SetFlags(true, true);
  }
  DoAfterScroll();
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_) || active_.recNo <= 0) return 0;
  DoBeforeScroll();
  UpdateCursorPos();
  const bool forward = distance > 0;
  int moved = 0;
  TRecordBuffer next = active_;
  while (moved != distance) {
    if (GetRecord(next, forward ? TGetMode::Next : TGetMode::Prior, true) != TGetResult::Ok) {
      if (forward) {
        eof_ = true;
      } else {
        bof_ = true;
      }
      break;
    }
    active_ = next;
    moved += forward ? 1 : -1;
    bof_ = eof_ = false;
  }
  DoAfterScroll();
  return moved;
}

void TDataSet::Next() { MoveBy(1); }
void TDataSet::Prior() { MoveBy(-1); }

void TDataSet::UpdateCursorPos() {
  if (active_.recNo > 0 && state_ != TDataSetState::Insert) InternalSetToRecord(active_);
}

void TDataSet::Resync() {
  if (GetRecord(active_, TGetMode::Current, false) == TGetResult::Ok ||
      GetRecord(active_, TGetMode::Next, false) == TGetResult::Ok ||
      GetRecord(active_, TGetMode::Prior, false) == TGetResult::Ok) {
    SetFlags(false, false);
  } else {
    ClearActiveBuffer();
    SetFlags(true, true);
  }
}

void TDataSet::Refresh() {
  CheckBrowseMode();
  UpdateCursorPos();
  InternalRefresh();
  Resync();
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert) {
    if (modified_) {
      Post();
    } else {
      Cancel();
    }
  } else if (state_ == TDataSetState::SetKey) {
    state_ = TDataSetState::Browse;
  }
}

void TDataSet::Edit() {
  CheckActive();
  if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert) return;
  CheckCanModify();
  if (active_.recNo <= 0) {
    Append();
    return;
  }
  UpdateCursorPos();
  InternalEdit();
  state_ = TDataSetState::Edit;
  modified_ = false;
}

void TDataSet::BeginInsert(bool append) {
  CheckBrowseMode();
  CheckCanModify();
  DoBeforeScroll();
  appending_ = append;
  std::fill(active_.data.begin(), active_.data.end(), 0);
  active_.flag = append ? TBookmarkFlag::Eof : TBookmarkFlag::Inserted;
  InternalInitRecord(active_);
  state_ = TDataSetState::Insert;
  modified_ = false;
  DoOnNewRecord();
  DoAfterScroll();
}

void TDataSet::DoOnNewRecord() {
  if (OnNewRecord) OnNewRecord(*this);
}

void TDataSet::Append() { BeginInsert(true); }
void TDataSet::Insert() { BeginInsert(false); }

void TDataSet::Post() {
  CheckActive();
  if (state_ == TDataSetState::Edit) {
    InternalPost();
  } else if (state_ == TDataSetState::Insert) {
    InternalAddRecord(active_, appending_);
  } else {
    return;
  }
  state_ = TDataSetState::Browse;
  modified_ = false;
  Resync();
  if (AfterPost) AfterPost(*this);
}

void TDataSet::Cancel() {
  CheckActive();
  if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert && state_ != TDataSetState::SetKey) return;
  const bool inserting = state_ == TDataSetState::Insert;
  state_ = TDataSetState::Browse;
  modified_ = false;
  InternalCancel();
  if (inserting) active_.recNo = 0;
  Resync();
  if (AfterCancel) AfterCancel(*this);
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == TDataSetState::Insert) {
    Cancel();
    return;
  }
  if (active_.recNo <= 0) throw EDatasetError("Cannot perform this operation on an empty dataset");
  CheckBrowseMode();
  CheckCanModify();
  UpdateCursorPos();
  InternalDelete();
  Resync();
  if (AfterDelete) AfterDelete(*this);
}

std::int64_t TDataSet::RecNo() const { return ReadBuffer().recNo; }

const TRecordBuffer& TDataSet::ReadBuffer() const {
  return state_ == TDataSetState::CalcFields && calcBuffer_ != nullptr ? *calcBuffer_ : active_;
}

void TDataSet::SetRecNo(std::int64_t recNo) {
  CheckBrowseMode();
  if (recNo == active_.recNo) return;
  DoBeforeScroll();
  SetRecNoInternal(recNo);
  Resync();
  DoAfterScroll();
}

std::int64_t TDataSet::RecordCount() {
  CheckActive();
  return GetRecordCount();
}

TBookmark TDataSet::GetBookmark() const { return Active() ? active_.recNo : 0; }

void TDataSet::GotoBookmark(TBookmark bookmark) {
  CheckBrowseMode();
  DoBeforeScroll();
  InternalGotoBookmark(bookmark);
  Resync();
  DoAfterScroll();
}

bool TDataSet::BookmarkValid(TBookmark bookmark) {
  if (!Active() || bookmark <= 0) return false;
  TRecordBuffer probe = active_;
  InternalGotoBookmark(bookmark);
  const bool valid = GetRecord(probe, TGetMode::Current, false) == TGetResult::Ok && probe.recNo == bookmark;
  UpdateCursorPos();
  return valid;
}

int TDataSet::CompareBookmarks(TBookmark a, TBookmark b) const {
  if (a <= 0 && b <= 0) return 0;
  if (a <= 0) return 1;
  if (b <= 0) return -1;
  return a < b ? -1 : (a > b ? 1 : 0);
}

bool TDataSet::Locate(const std::string& fieldNames, const std::vector<TLocateValue>& values, bool caseInsensitive,
                      bool partialKey) {
  CheckBrowseMode();
  DoBeforeScroll();
  UpdateCursorPos();
  found_ = DoLocate(fieldNames, values, caseInsensitive, partialKey);
  if (found_) {
    Resync();
  } else {
    UpdateCursorPos();
  }
  DoAfterScroll();
  return found_;
}

std::optional<std::vector<TFieldValue>> TDataSet::Lookup(const std::string& keyFields,
                                                         const std::vector<TLocateValue>& keyValues,
                                                         const std::string& resultFields) {
  CheckActive();
  return DoLookup(keyFields, keyValues, resultFields);
}

std::vector<TFieldValue> TDataSet::FieldValuesIn(TRecordBuffer& buffer, const std::string& fieldNames) {
  // The state and buffer come back also when a name is unknown.
  struct CalcState {
    TDataSet& set;
    TDataSetState state;
    TRecordBuffer* buffer;
    ~CalcState() {
      set.state_ = state;
      set.calcBuffer_ = buffer;
    }
  } restore{*this, state_, calcBuffer_};
  state_ = TDataSetState::CalcFields;
  calcBuffer_ = &buffer;
  std::vector<TFieldValue> values;
  std::size_t start = 0;
  while (start <= fieldNames.size()) {
    const std::size_t end = std::min(fieldNames.find(';', start), fieldNames.size());
    const TField& field = FieldByName(TzAllTrim(fieldNames.substr(start, end - start)));
    if (field.IsNull()) {
      values.emplace_back(std::monostate{});
    } else {
      switch (field.DataType()) {
        case TFieldType::String:
        case TFieldType::Date:
          values.emplace_back(field.AsString());
          break;
        case TFieldType::Float:
          values.emplace_back(field.AsFloat());
          break;
        case TFieldType::Integer:
        case TFieldType::LargeInt:
        case TFieldType::Memo:
          values.emplace_back(field.AsInteger());
          break;
        case TFieldType::Boolean:
          values.emplace_back(field.AsBoolean());
          break;
      }
    }
    start = end + 1;
  }
  return values;
}

bool TDataSet::FindStep(bool restart, bool forward) {
  CheckBrowseMode();
  if (restart) {
    if (forward) {
      First();
    } else {
      Last();
    }
    found_ = active_.recNo > 0;
    return found_;
  }
  const int moved = MoveBy(forward ? 1 : -1);
  found_ = moved != 0;
  return found_;
}

bool TDataSet::FindFirst() { return FindStep(true, true); }
bool TDataSet::FindLast() { return FindStep(true, false); }
bool TDataSet::FindNext() { return FindStep(false, true); }
bool TDataSet::FindPrior() { return FindStep(false, false); }

TField& TDataSet::Fields(int index) const {
  if (index < 0 || index >= FieldCount()) throw EDatasetError("List index out of bounds (" + std::to_string(index) + ")");
  return *fields_[static_cast<std::size_t>(index)];
}

TField* TDataSet::FindField(const std::string& name) const {
  const std::string wanted = TzUpperCase(name);
  for (const auto& field : fields_) {
    if (TzUpperCase(field->FieldName()) == wanted) return field.get();
  }
  return nullptr;
}

TField& TDataSet::FieldByName(const std::string& name) const {
  TField* field = FindField(name);
  if (field == nullptr) throw EDatasetError(Name + ": Field '" + name + "' not found");
  return *field;
}

void TDataSet::SetFieldData(TField& field, const void* buffer) {
  CheckActive();
  if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert && state_ != TDataSetState::SetKey) {
    throw EDatasetError("Dataset not in edit or insert mode");
  }
  if (field.ReadOnly) throw EDatasetError("Field '" + field.FieldName() + "' cannot be modified");
  DoSetFieldData(field, buffer);
  modified_ = true;
  if (OnFieldChange) OnFieldChange(field);
}

}  // namespace dbase
