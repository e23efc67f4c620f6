// The dataset over a work area of the table engine (see tz_dataset.h).
#include "dbase/dataset/tz_dataset.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/c_locale_numbers.h"
#include "dbase/dataset/dbf_field_list.h"
#include "dbase/dataset/tz_blob_stream.h"
#include "dbase/engine/date_display.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/search_locate.h"
#include "dbase/engine/work_areas.h"
#include "dbase/index/day_numbers.h"
#include "dbase/index/index_open.h"

namespace dbase {

namespace {

TFieldType DatasetType(const TDTField& field, bool memoAsNumber) {
  switch (field.type) {
    case 'C':
      return TFieldType::String;
    case 'D':
      return TFieldType::Date;
    case 'L':
      return TFieldType::Boolean;
    case 'N':
    case 'F': {
      FieldDef def;
      def.type = field.type;
      def.length = static_cast<std::uint8_t>(field.length);
      def.decimals = static_cast<std::uint8_t>(field.decimals);
      switch (NativeKindOf(def)) {
        case NativeKind::Double:
          return TFieldType::Float;
        case NativeKind::Int64:
          return TFieldType::LargeInt;
        default:
          return TFieldType::Integer;
      }
    }
    default:
      return memoAsNumber ? TFieldType::Integer : TFieldType::Memo;
  }
}

// The value of a number as its field shows it: formatted with the field's
// decimals and read back.
double RoundedToDecimals(double value, int decimals) {
  char text[400];
  common::CSnprintf(text, sizeof text, "%.*f", decimals, value);
  return common::CStrtod(text, nullptr);
}

}  // namespace

TTzDataSet::TTzDataSet(std::string name) : TTzPrimDataset(std::move(name)) {}

TTzDataSet::~TTzDataSet() {
  DetachBlobStreams();
  if (area_ != 0) {
    const int previous = CurrentWorkArea();
    if (Select(area_)) {
      CloseAllIndexes();
      CloseWorkArea(area_);
    }
    Select(previous);
    area_ = 0;
  }
}

bool TTzDataSet::SelectWorkArea(const std::string& operation) {
  if (area_ == 0 || !WorkAreas[static_cast<std::size_t>(area_)] ||
      !WorkAreas[static_cast<std::size_t>(area_)]->table.IsOpen()) {
    SetError(1103, "Database is not open [" + Name + "." + operation + "]");
    return false;
  }
  if (CurrentWorkArea() != area_) Select(area_);
  return true;
}

int TTzDataSet::PendingCode(int fallback) const { return TzError != 0 ? TzError : fallback; }

std::uint8_t* TTzDataSet::NativeRecord() const {
  const auto& area = WorkAreas[static_cast<std::size_t>(area_)];
  return area ? area->native : nullptr;
}

std::size_t TTzDataSet::DatasetFieldOffset(int n) const {
  std::size_t offset = 1;
  for (int i = 1; i < n; ++i) {
    const TDTField& f = props_->Field(i);
    offset += FieldDataSize(DatasetType(f, MemoAsNumber()), f.length);
  }
  return offset;
}

void TTzDataSet::BuildFieldProps() {
  const WorkArea& area = *WorkAreas[static_cast<std::size_t>(area_)];
  std::vector<TDTField> fields;
  descriptions_.clear();
  for (int i = 0; i < area.table.FieldCount(); ++i) {
    const FieldDef& def = area.table.fields[static_cast<std::size_t>(i)];
    fields.push_back({def.name, def.type, def.length, def.decimals, NativeFieldOffset(area.table, i)});
    descriptions_.push_back(FieldDescription(def));
  }
  props_ = std::make_unique<TDbfFieldProps>(area.native, area.nativeSize, std::move(fields));
  recordSize_ = 0;
}

std::vector<TFieldDef> TTzDataSet::InternalInitFieldDefs() {
  if (!props_) throw EDatasetError(Name + ".DbfFields undefined. Set Active to TRUE");
  std::vector<TFieldDef> defs;
  for (int n = 1; n <= props_->FieldCount(); ++n) {
    const TDTField& f = props_->Field(n);
    const TFieldType type = DatasetType(f, MemoAsNumber());
    defs.push_back({f.name, type, type == TFieldType::String ? f.length : 0, f.decimals});
  }
  return defs;
}

std::unique_ptr<TField> TTzDataSet::CreateField(const TFieldDef& def, int fieldNo) {
  std::unique_ptr<TField> field;
  switch (def.type) {
    case TFieldType::Date:
      field = std::make_unique<TTzDateField>(this, def.name, def.type, def.size, fieldNo);
      break;
    case TFieldType::Float:
      field = std::make_unique<TTzFloatField>(this, def.name, def.type, def.size, fieldNo);
      break;
    case TFieldType::Integer:
    case TFieldType::LargeInt:
      field = std::make_unique<TTzIntegerField>(this, def.name, def.type, def.size, fieldNo);
      break;
    default:
      return TDataSet::CreateField(def, fieldNo);
  }
  field->Decimals = def.decimals;
  return field;
}

void TTzDataSet::RecordToDataset(std::vector<std::uint8_t>& record) const {
  const std::uint8_t* native = NativeRecord();
  record.assign(recordSize_ != 0 ? recordSize_ : record.size(), 0);
  if (native == nullptr || !props_) return;
  record[0] = native[0];
  for (int n = 1; n <= props_->FieldCount(); ++n) {
    const TDTField& f = props_->Field(n);
    const std::uint8_t* from = native + f.offset;
    std::uint8_t* to = record.data() + DatasetFieldOffset(n);
    switch (DatasetType(f, MemoAsNumber())) {
      case TFieldType::String:
        std::memcpy(to, from, static_cast<std::size_t>(f.length) + 1);
        break;
      case TFieldType::Date: {
        const double day = DtosToJulian(NativeDateToStored(NativeString(from)));
        std::memcpy(to, &day, sizeof day);
        break;
      }
      case TFieldType::Float: {
        const double value = RoundedToDecimals(NativeDouble(from), f.decimals);
        std::memcpy(to, &value, sizeof value);
        break;
      }
      case TFieldType::Integer:
        if (f.type == 'M') {
          std::memcpy(to, from, 4);
        } else {
          const std::int32_t value = NativeInt32(from);
          std::memcpy(to, &value, sizeof value);
        }
        break;
      case TFieldType::LargeInt: {
        const std::int64_t value = NativeInt64(from);
        std::memcpy(to, &value, sizeof value);
        break;
      }
      case TFieldType::Boolean: {
        const std::uint16_t value = from[0] != 0 ? 1 : 0;
        std::memcpy(to, &value, sizeof value);
        break;
      }
      case TFieldType::Memo:
        std::memcpy(to, from, 4);
        break;
    }
  }
}

void TTzDataSet::DatasetToRecord(const std::vector<std::uint8_t>& record, int onlyField) {
  std::uint8_t* native = NativeRecord();
  if (native == nullptr || !props_) return;
  for (int n = 1; n <= props_->FieldCount(); ++n) {
    if (onlyField != 0 && n != onlyField) continue;
    const TDTField& f = props_->Field(n);
    std::uint8_t* to = native + f.offset;
    const std::uint8_t* from = record.data() + DatasetFieldOffset(n);
    switch (DatasetType(f, MemoAsNumber())) {
      case TFieldType::String: {
        const std::size_t length = std::min<std::size_t>(from[0], static_cast<std::size_t>(f.length));
        PutNativeString(to, static_cast<std::size_t>(f.length) + 1,
                        std::string(reinterpret_cast<const char*>(from + 1), length));
        break;
      }
      case TFieldType::Date: {
        double day = 0;
        std::memcpy(&day, from, sizeof day);
        const std::string stored = day != 0 ? JulianToDtos(day) : std::string(8, ' ');
        const std::string text = StoredDateToNative(stored);
        PutNativeString(to, static_cast<std::size_t>(f.length) + 3, text);
        break;
      }
      case TFieldType::Float: {
        double value = 0;
        std::memcpy(&value, from, sizeof value);
        PutNativeDouble(to, value);
        break;
      }
      case TFieldType::Integer:
        if (f.type == 'M') {
          std::memcpy(to, from, 4);
        } else {
          std::int32_t value = 0;
          std::memcpy(&value, from, sizeof value);
          PutNativeInt32(to, value);
        }
        break;
      case TFieldType::LargeInt: {
        std::int64_t value = 0;
        std::memcpy(&value, from, sizeof value);
        PutNativeInt64(to, value);
        break;
      }
      case TFieldType::Boolean: {
        std::uint16_t value = 0;
        std::memcpy(&value, from, sizeof value);
        to[0] = value != 0 ? 1 : 0;
        break;
      }
      case TFieldType::Memo:
        std::memcpy(to, from, 4);
        break;
    }
  }
}

std::string TTzDataSet::TziErrorText(int code) const { return ErrorText(code); }

bool TTzDataSet::TziIsEmpty() {
  if (!SelectWorkArea("IsEmpty")) return true;
  return dBOF() && dEOF();
}

int TTzDataSet::TziSetToBegin() {
  if (!SelectWorkArea("SetToBegin")) return 1103;
  GoTop();
  beforeFirst_ = true;
  afterLast_ = false;
  return PendingCode();
}

int TTzDataSet::TziSetToEnd() {
  if (!SelectWorkArea("SetToEnd")) return 1103;
  GoBottom();
  afterLast_ = true;
  beforeFirst_ = false;
  return PendingCode();
}

int TTzDataSet::TziOpen() {
  if (tableFileName_.empty() && IsFileBased()) return kTziNoFileName;
  const int previous = CurrentWorkArea();
  TzError = 0;
  const bool ansiBefore = AnsiTables;
  AnsiTables = TableLanguage == TTzTableLanguage::tlAnsi;
  const int area = OpenWorkArea();
  AnsiTables = ansiBefore;
  if (area == 0) {
    const int code = PendingCode(kTziOpenFailed);
    Select(previous);
    return code;
  }
  area_ = area;
  Select(area_);
  SetIgnoreDel(hideDeleted_);
  BuildFieldProps();
  recordSize_ = TziRecordSize();
  beforeFirst_ = afterLast_ = true;
  return 0;
}

void TTzDataSet::DetachBlobStreams() {
  const std::vector<TTzBlobStream*> open = std::move(blobStreams_);
  blobStreams_.clear();
  for (TTzBlobStream* stream : open) stream->Detach();
}

int TTzDataSet::TziClose() {
  if (area_ == 0) return 0;
  DetachBlobStreams();
  if (SelectWorkArea("Close")) {
    CloseHook();
    // The area's index files close with the table.
    CloseAllIndexes();
    CloseWorkArea(area_);
  }
  area_ = 0;
  props_.reset();
  descriptions_.clear();
  recordSize_ = 0;
  return PendingCode();
}

std::int64_t TTzDataSet::TziGetRecordCount() {
  if (!SelectWorkArea("RecordCount")) return 0;
  return RecCount();
}

int TTzDataSet::TziForceReread() {
  if (!SelectWorkArea("Refresh")) return 1103;
  if (!dEOF()) Skip(0);
  return PendingCode();
}

int TTzDataSet::TziAppendRecord(std::vector<std::uint8_t>& record) {
  if (!SelectWorkArea("Append")) return 1103;
  TzError = 0;
  DatasetToRecord(record, 0);
  s_AppendWithLock();
  beforeFirst_ = afterLast_ = false;
  return PendingCode();
}

int TTzDataSet::TziInsertRecord(std::vector<std::uint8_t>& record) { return TziAppendRecord(record); }

int TTzDataSet::TziDeleteRecord() {
  if (!SelectWorkArea("Delete")) return 1103;
  TzError = 0;
  s_DeleteWithLock();
  const int code = PendingCode();
  if (dBOF() && dEOF()) beforeFirst_ = afterLast_ = true;
  return code;
}

int TTzDataSet::TziInitRecord(std::vector<std::uint8_t>& record) {
  if (!SelectWorkArea("InitRecord")) return 1103;
  ClearRecord();
  RecordToDataset(record);
  return PendingCode();
}

int TTzDataSet::TziModifyRecord(std::vector<std::uint8_t>& record) {
  if (beforeFirst_) return kTziAtBeginning;
  if (afterLast_) return kTziAtEnd;
  if (!SelectWorkArea("Post")) return 1103;
  TzError = 0;
  DatasetToRecord(record, 0);
  s_ReplaceWithLock();
  return PendingCode();
}

std::size_t TTzDataSet::TziRecordSize() {
  if (recordSize_ == 0 && props_) recordSize_ = DatasetFieldOffset(props_->FieldCount() + 1);
  return recordSize_;
}

int TTzDataSet::TziGetRecord(std::vector<std::uint8_t>& record, std::int64_t& recNo) {
  if (beforeFirst_) return kTziAtBeginning;
  if (afterLast_) return kTziAtEnd;
  if (!SelectWorkArea("GetRecord")) return 1103;
  if (dEOF()) return kTziAtEnd;
  Skip(0);
  if (TzError != 0) return TzError;
  RecordToDataset(record);
  recNo = dbase::RecNo();
  return 0;
}

int TTzDataSet::TziGetNextRecord(std::vector<std::uint8_t>& record, std::int64_t& recNo) {
  if (afterLast_) return kTziAtEnd;
  if (!SelectWorkArea("GetNextRecord")) return 1103;
  const std::int64_t from = dbase::RecNo();
  if (beforeFirst_) {
    if (!dEOF()) Skip(0);
  } else if (!dEOF()) {
    Skip(1);
  }
  if (TzError != 0) return TzError;
  if (dEOF()) {
    // The engine goes back to the record it stood on, so that the cursor
    // and the dataset's last record agree.
    if (!beforeFirst_ && from >= 1 && from <= RecCount()) Go(from);
    afterLast_ = true;
    return kTziAtEnd;
  }
  beforeFirst_ = false;
  RecordToDataset(record);
  recNo = dbase::RecNo();
  return 0;
}

int TTzDataSet::TziGetPriorRecord(std::vector<std::uint8_t>& record, std::int64_t& recNo) {
  if (beforeFirst_) return kTziAtBeginning;
  if (!SelectWorkArea("GetPriorRecord")) return 1103;
  const std::int64_t from = dbase::RecNo();
  if (afterLast_) {
    if (!dEOF()) Skip(0);
  } else {
    Skip(-1);
  }
  if (TzError != 0) return TzError;
  if (dBOF() || dEOF()) {
    if (!afterLast_ && from >= 1 && from <= RecCount()) Go(from);
    beforeFirst_ = true;
    return kTziAtBeginning;
  }
  afterLast_ = false;
  RecordToDataset(record);
  recNo = dbase::RecNo();
  return 0;
}

bool TTzDataSet::TziGetFieldData(const TField& field, const std::vector<std::uint8_t>& record, void* buffer) const {
  const std::size_t offset = field.Offset();
  if (offset + field.DataSize() > record.size()) return false;
  const std::uint8_t* from = record.data() + offset;
  switch (field.DataType()) {
    case TFieldType::String: {
      std::size_t length = std::min<std::size_t>(from[0], static_cast<std::size_t>(field.Size()));
      while (length > 0 && from[length] == ' ') --length;
      std::memcpy(buffer, from + 1, length);
      static_cast<char*>(buffer)[length] = '\0';
      return length > 0;
    }
    case TFieldType::Date: {
      double day = 0;
      std::memcpy(&day, from, sizeof day);
      std::memcpy(buffer, &day, sizeof day);
      return day != 0;
    }
    default:
      std::memcpy(buffer, from, field.DataSize());
      return true;
  }
}

namespace {

// A number the table's field cannot show is refused where it is given (a
// typed cell, a put by name), not written as a row of '*'.
void CheckNumberFits(const TField& field, const TDTField& column, const void* buffer) {
  if (column.type != 'N' && column.type != 'F') return;
  double value = 0;
  switch (field.DataType()) {
    case TFieldType::Float:
      std::memcpy(&value, buffer, sizeof value);
      break;
    case TFieldType::Integer: {
      std::int32_t whole = 0;
      std::memcpy(&whole, buffer, sizeof whole);
      value = whole;
      break;
    }
    case TFieldType::LargeInt: {
      std::int64_t whole = 0;
      std::memcpy(&whole, buffer, sizeof whole);
      // A value kept as the file's text is the file's own.
      if (whole == kKeepFieldText) return;
      value = static_cast<double>(whole);
      break;
    }
    default:
      return;
  }
  const FieldDef def{column.name, column.type, static_cast<std::uint8_t>(column.length),
                     static_cast<std::uint8_t>(column.decimals)};
  if (FitsNumberField(def, value)) return;
  throw EDatasetError("Dataset error: " + ErrorText(205) + " " +
                      RefusedNumberText(def, common::CFormat("%.15g", value), NumberStore::DoesNotFit));
}

}  // namespace

int TTzDataSet::TziPutFieldData(const TField& field, std::vector<std::uint8_t>& record, const void* buffer) {
  const std::size_t offset = field.Offset();
  if (offset + field.DataSize() > record.size()) return 0;
  if (buffer != nullptr && props_ && field.FieldNo() >= 1 && field.FieldNo() <= props_->FieldCount()) {
    CheckNumberFits(field, props_->Field(field.FieldNo()), buffer);
  }
  std::uint8_t* to = record.data() + offset;
  if (buffer == nullptr) {
    std::memset(to, 0, field.DataSize());
  } else if (field.DataType() == TFieldType::String) {
    const char* text = static_cast<const char*>(buffer);
    const std::size_t length = std::min<std::size_t>(std::strlen(text), static_cast<std::size_t>(field.Size()));
    to[0] = static_cast<std::uint8_t>(length);
    std::memcpy(to + 1, text, length);
  } else {
    std::memcpy(to, buffer, field.DataSize());
  }
  if (!SelectWorkArea("SetFieldData")) return 1103;
  TzError = 0;
  DatasetToRecord(record, field.FieldNo());
  // Written when the record is, also when it equals the value read.
  MarkAssigned(WorkAreas[static_cast<std::size_t>(area_)]->table, field.FieldNo() - 1);
  return PendingCode();
}

int TTzDataSet::TziSetToRecNo(std::int64_t recNo) { return TziSetToBookmark(recNo); }

int TTzDataSet::TziSetToBookmark(TBookmark bookmark) {
  if (!SelectWorkArea("GotoBookmark")) return 1103;
  TzError = 0;
  if (bookmark >= 1 && bookmark <= RecCount()) {
    Go(bookmark);
    beforeFirst_ = afterLast_ = false;
  } else {
    GoBottom();
    beforeFirst_ = afterLast_ = false;
  }
  return PendingCode();
}

TBookmark TTzDataSet::TziGetBookmark() {
  if (!SelectWorkArea("GetBookmark")) return 0;
  return dbase::RecNo();
}

int TTzDataSet::TziLocate(const std::string& fieldNames, const std::vector<TLocateValue>& values,
                          bool caseInsensitive, bool partialKey) {
  if (!SelectWorkArea("Locate")) return 1103;
  TzError = 0;
  std::vector<LocateValue> engineValues;
  for (const TLocateValue& value : values) {
    std::visit([&](const auto& v) { engineValues.emplace_back(v); }, value);
  }
  if (LocateFields(fieldNames, engineValues, caseInsensitive, false, !partialKey)) {
    beforeFirst_ = afterLast_ = false;
    return 0;
  }
  return PendingCode(kTziAtEnd);
}

int TTzDataSet::TziLookup(const std::string& keyFields, const std::vector<TLocateValue>& keyValues,
                          const std::string& resultFields, std::vector<TFieldValue>& values) {
  if (!SelectWorkArea("Lookup")) return 1103;
  TzError = 0;
  // Where the engine stands, with the values of its record (an insert or an
  // edit may have put values there that are not yet written).
  const std::int64_t position = dbase::RecNo();
  const bool atEnd = dEOF();
  const bool beforeFirst = beforeFirst_;
  const bool afterLast = afterLast_;
  const std::uint8_t* native = NativeRecord();
  const std::vector<std::uint8_t> savedNative(native, native + props_->RecordLength());
  auto goBack = [&] {
    if (!atEnd && position >= 1 && position <= RecCount()) {
      Go(position);
    } else if (RecCount() > 0) {
      GoBottom();
      if (!dEOF()) Skip(1);
    }
    std::copy(savedNative.begin(), savedNative.end(), NativeRecord());
    beforeFirst_ = beforeFirst;
    afterLast_ = afterLast;
  };
  std::vector<LocateValue> engineValues;
  for (const TLocateValue& value : keyValues) {
    std::visit([&](const auto& v) { engineValues.emplace_back(v); }, value);
  }
  if (!LocateFields(keyFields, engineValues, false, false, true)) {
    const int code = PendingCode(kTziAtEnd);
    goBack();
    return code;
  }
  TRecordBuffer found;
  RecordToDataset(found.data);
  found.recNo = dbase::RecNo();
  try {
    values = FieldValuesIn(found, resultFields);
  } catch (...) {
    goBack();
    throw;
  }
  goBack();
  return PendingCode();
}

void TTzDataSet::ResyncAfterCommand() {
  if (!Active()) return;
  if (TzError == 0 && (State() == TDataSetState::Edit || State() == TDataSetState::Insert)) {
    // The edit is given up without re-reading: the engine stands where the
    // command left it.
    SetState(TDataSetState::Browse);
    SetModified(false);
  }
  if (TziIsEmpty()) {
    ClearActiveBuffer();
    beforeFirst_ = afterLast_ = true;
    SetFlags(true, true);
  } else {
    beforeFirst_ = afterLast_ = false;
    Resync();
  }
  DoAfterScroll();
}

void TTzDataSet::UpdateCursor() {
  if (State() == TDataSetState::Insert) {
    if (SelectWorkArea("UpdateCursor")) DatasetToRecord(ActiveBuffer().data, 0);
  } else {
    UpdateCursorPos();
  }
}

void TTzDataSet::SetHideDeletedRecs(bool hide) {
  hideDeleted_ = hide;
  if (!Active()) return;
  UpdateCursor();
  if (!SelectWorkArea("HideDeletedRecs")) return;
  SetIgnoreDel(hide);
  if (hide) StepToVisible();
  ResyncAfterCommand();
}

bool TTzDataSet::RecordDeleted() const {
  if (!Active() || ActiveBuffer().recNo <= 0 || ActiveBuffer().data.empty()) return false;
  return ActiveBuffer().data[0] != 0;
}

void TTzDataSet::DoBeforeRestore() {
  if (BeforeRestore) BeforeRestore(*this);
}

void TTzDataSet::DoAfterRestore() {
  if (AfterRestore) AfterRestore(*this);
}

void TTzDataSet::SetDeleted(bool deleted) {
  CheckActive();
  if (deleted) {
    if (!IsEmpty()) Delete();
    return;
  }
  if (State() == TDataSetState::Insert || State() == TDataSetState::SetKey) {
    Cancel();
    return;
  }
  CheckBrowseMode();
  DoBeforeRestore();
  UpdateCursor();
  if (!SelectWorkArea("Restore")) return;
  TzError = 0;
  s_RestoreWithLock();
  if (!dEOF()) Skip(0);
  Resync();
  DoAfterRestore();
}

void TTzDataSet::Post() {
  const bool editing = State() == TDataSetState::Edit || State() == TDataSetState::Insert ||
                       State() == TDataSetState::SetKey;
  TTzPrimDataset::Post();
  if (editing && TziIsEmpty()) ResyncAfterCommand();
}

void TTzDataSet::Cancel() {
  if (State() == TDataSetState::Edit || State() == TDataSetState::Insert || State() == TDataSetState::SetKey) {
    std::fill(ActiveBuffer().data.begin(), ActiveBuffer().data.end(), 0);
  }
  TTzPrimDataset::Cancel();
}

}  // namespace dbase
