// The dataset: a cursor over the records of a table with one active record
// buffer, the browse, edit and insert states, navigation, posting and
// bookmarks. It is what data-aware views (the grid, edits, the table
// window) talk to; how records are fetched and stored is left to the
// subclasses through the Internal... operations (tz_prim_dataset.h maps
// them onto the record-access layer, tz_dataset.h onto a work area of the
// table engine). Fields are in dataset_fields.h.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "dbase/dataset/dataset_fields.h"

namespace dbase {

// Raised by the dataset classes; the text says what failed.
class EDatasetError : public std::runtime_error {
 public:
  explicit EDatasetError(const std::string& text) : std::runtime_error(text) {}
};

enum class TDataSetState { Inactive, Browse, Edit, Insert, SetKey, CalcFields };
enum class TGetMode { Current, Next, Prior };
enum class TGetResult { Ok, Bof, Eof, Error };
enum class TBookmarkFlag { Current, Bof, Eof, Inserted };

// A bookmark is a record number; 0 is none.
using TBookmark = std::int64_t;

// A value to locate in a field.
using TLocateValue = std::variant<std::string, double, bool>;

// A field's value as Lookup answers it: none for a blank field, the text of
// string and date fields (dates as the field shows them), the number of
// float fields, the integer of integer and memo fields (the memo's block),
// the logical of logical fields.
using TFieldValue = std::variant<std::monostate, std::string, double, std::int64_t, bool>;

// One record buffer: the record bytes, the record number and the bookmark
// flag.
struct TRecordBuffer {
  std::vector<std::uint8_t> data;
  std::int64_t recNo = 0;
  TBookmarkFlag flag = TBookmarkFlag::Current;
};

// A field definition, from which the dataset creates its fields.
struct TFieldDef {
  std::string name;
  TFieldType type = TFieldType::String;
  int size = 0;
  int decimals = 0;
};

class TDataSet {
 public:
  using NotifyEvent = std::function<void(TDataSet&)>;

  explicit TDataSet(std::string name = std::string());
  virtual ~TDataSet();
  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;

  // The component name, used in messages.
  std::string Name;

  TDataSetState State() const { return state_; }
  bool Active() const { return state_ != TDataSetState::Inactive; }
  void SetActive(bool active);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }

  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool IsEmpty() const;
  void First();
  void Last();
  void Next();
  void Prior();
  // Answers how many records it moved (negative backwards).
  int MoveBy(int distance);

  void Edit();
  void Append();
  void Insert();
  virtual void Post();
  virtual void Cancel();
  void Delete();
  void Refresh();
  // Posts a pending edit or insert (browse state afterwards).
  void CheckBrowseMode();
  // Reads the cursor's record into the active buffer again.
  void Resync();
  // Makes the subclass's cursor stand on the active record.
  void UpdateCursorPos();
  bool Modified() const { return modified_; }

  virtual std::int64_t RecNo() const;
  void SetRecNo(std::int64_t recNo);
  std::int64_t RecordCount();

  TBookmark GetBookmark() const;
  void GotoBookmark(TBookmark bookmark);
  bool BookmarkValid(TBookmark bookmark);
  // -1, 0, 1; none sorts after every record.
  int CompareBookmarks(TBookmark a, TBookmark b) const;

  // Fields separated by ';', one value each.
  virtual bool Locate(const std::string& fieldNames, const std::vector<TLocateValue>& values, bool caseInsensitive,
                      bool partialKey);
  // The values of the result fields (names separated by ';') in the first
  // record whose key fields hold the key values exactly; nothing when no
  // record does. The cursor and the active record stay as they are.
  std::optional<std::vector<TFieldValue>> Lookup(const std::string& keyFields,
                                                 const std::vector<TLocateValue>& keyValues,
                                                 const std::string& resultFields);
  bool FindFirst();
  bool FindLast();
  bool FindNext();
  bool FindPrior();
  bool Found() const { return found_; }

  // False for a dataset that may only be read.
  virtual bool CanModify() const { return true; }

  bool Filtered = false;
  virtual bool IsSequenced() const { return !Filtered; }

  int FieldCount() const { return static_cast<int>(fields_.size()); }
  // 0-based.
  TField& Fields(int index) const;
  TField* FindField(const std::string& name) const;
  TField& FieldByName(const std::string& name) const;

  // Field values of the active record (used by TField).
  virtual bool GetFieldData(const TField& field, void* buffer) const = 0;
  void SetFieldData(TField& field, const void* buffer);

  NotifyEvent BeforeScroll;
  NotifyEvent AfterScroll;
  NotifyEvent OnNewRecord;
  NotifyEvent AfterOpen;
  NotifyEvent BeforeClose;
  NotifyEvent AfterPost;
  NotifyEvent AfterCancel;
  NotifyEvent AfterDelete;
  std::function<void(TField&)> OnFieldChange;

 protected:
  // The subclass's side of the protocol.
  virtual void InternalOpen() = 0;
  virtual void InternalClose() = 0;
  virtual bool IsCursorOpen() const = 0;
  virtual void InternalFirst() = 0;
  virtual void InternalLast() = 0;
  virtual TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode, bool doCheck) = 0;
  virtual void InternalInitRecord(TRecordBuffer& buffer) = 0;
  virtual void InternalAddRecord(TRecordBuffer& buffer, bool append) = 0;
  virtual void InternalDelete() = 0;
  virtual void InternalPost() = 0;
  virtual void InternalEdit() = 0;
  virtual void InternalCancel() {}
  virtual void InternalRefresh() = 0;
  virtual void InternalGotoBookmark(TBookmark bookmark) = 0;
  virtual void InternalSetToRecord(const TRecordBuffer& buffer) = 0;
  virtual std::size_t GetRecordSize() const = 0;
  virtual std::int64_t GetRecordCount() = 0;
  virtual void SetRecNoInternal(std::int64_t recNo) = 0;
  virtual bool DoLocate(const std::string& fieldNames, const std::vector<TLocateValue>& values,
                        bool caseInsensitive, bool partialKey) = 0;
  virtual std::optional<std::vector<TFieldValue>> DoLookup(const std::string& keyFields,
                                                          const std::vector<TLocateValue>& keyValues,
                                                          const std::string& resultFields) = 0;
  // The values of fields (names separated by ';') in a record buffer other
  // than the active one: the fields read it while the dataset is in the
  // calculated-fields state.
  std::vector<TFieldValue> FieldValuesIn(TRecordBuffer& buffer, const std::string& fieldNames);
  // The buffer the fields read: the calculation buffer in the
  // calculated-fields state, else the active one.
  const TRecordBuffer& ReadBuffer() const;
  // Stores a field's value in the active buffer (and beyond); nullptr
  // clears it.
  virtual void DoSetFieldData(TField& field, const void* buffer) = 0;
  // The field definitions of the open cursor, and the field made for one.
  virtual std::vector<TFieldDef> InternalInitFieldDefs() = 0;
  virtual std::unique_ptr<TField> CreateField(const TFieldDef& def, int fieldNo);
  virtual void DoOnNewRecord();
  // The last step of opening: fires AfterOpen.
  virtual void DoAfterOpen();
  // Where the first field starts in the record bytes.
  virtual std::size_t FirstFieldOffset() const { return 0; }

  void DoBeforeScroll();
  void DoAfterScroll();
  void SetState(TDataSetState state) { state_ = state; }
  void ClearActiveBuffer();
  void SetFlags(bool bof, bool eof) {
    bof_ = bof;
    eof_ = eof;
  }
  TRecordBuffer& ActiveBuffer() { return active_; }
  const TRecordBuffer& ActiveBuffer() const { return active_; }
  bool HasActiveRecord() const { return active_.recNo > 0 || state_ == TDataSetState::Insert; }
  void CheckActive() const;
  void CheckCanModify() const;
  void SetModified(bool modified) { modified_ = modified; }
  void DestroyFields() { fields_.clear(); }

 private:
  void OpenCursor();
  void CloseCursor();
  void BeginInsert(bool append);
  bool FindStep(bool restart, bool forward);

  TDataSetState state_ = TDataSetState::Inactive;
  TRecordBuffer active_;
  TRecordBuffer* calcBuffer_ = nullptr;
  std::vector<std::unique_ptr<TField>> fields_;
  bool bof_ = true;
  bool eof_ = true;
  bool found_ = false;
  bool modified_ = false;
  bool appending_ = false;
};

}  // namespace dbase
