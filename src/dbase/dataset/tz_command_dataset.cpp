// The direct engine commands of the table dataset (see
// tz_command_dataset.h).
#include "dbase/dataset/tz_command_dataset.h"

#include "dbase/engine/append_from.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/record_changes.h"
#include "dbase/engine/search_locate.h"
#include "dbase/engine/work_areas.h"

namespace dbase {

TTzCDataSet::TTzCDataSet(std::string name) : TTzDataSet(std::move(name)) {}

void TTzCDataSet::SetDbfFileName(const std::string& name) {
  std::string trimmed = name;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
  while (!trimmed.empty() && trimmed.front() == ' ') trimmed.erase(trimmed.begin());
  if (!trimmed.empty() && !HasExtension(trimmed)) trimmed = ExistingOrNewName(trimmed, "dbf", false);
  const bool wasActive = Active();
  if (wasActive) Close();
  SetTableFileName(trimmed);
  if (wasActive) Open();
}

void TTzCDataSet::AppendRec() {
  if (!SelectWorkArea("AppendRec")) return;
  dbase::Append();
  StepToVisible();
  AfterCommand();
  ResyncAfterCommand();
}

bool TTzCDataSet::AppendFrom(const std::string& fileName) {
  if (Active()) UpdateCursor();
  if (!SelectWorkArea("AppendFrom")) return false;
  const std::int64_t from = dbase::RecNo();
  const bool ok = dbase::AppendFrom(fileName);
  const std::int64_t saved = TzError;
  if (!GoIfValid(from)) GoBottom();
  if (saved != 0 && TzError == 0) TzError = static_cast<std::uint16_t>(saved);
  AfterCommand();
  ResyncAfterCommand();
  return ok;
}

bool TTzCDataSet::Pack() {
  if (Active()) CheckBrowseMode();
  if (!SelectWorkArea("Pack")) return false;
  const bool ok = dbase::Pack();
  AfterCommand();
  ResyncAfterCommand();
  return ok;
}

std::string TTzCDataSet::Field(int n) {
  if (!SelectWorkArea("Field")) return std::string();
  return dbase::Field(n).substr(0, 10);
}

int TTzCDataSet::FieldCount() {
  if (!SelectWorkArea("FieldCount")) return 0;
  return dbase::FieldCount();
}

int TTzCDataSet::FieldLen(int n) {
  if (!SelectWorkArea("FieldLen")) return 0;
  return dbase::FieldLen(n);
}

void TTzCDataSet::Go(std::int64_t recNo) {
  if (Active()) CheckBrowseMode();
  if (!SelectWorkArea("Go")) return;
  dbase::Go(recNo);
  ResyncAfterCommand();
}

int TTzCDataSet::Search(const std::string& key, bool fromTop, int fieldNo) {
  if (Active()) UpdateCursor();
  if (!SelectWorkArea("Search")) return 0;
  int hit = fieldNo;
  dbase::Search(key, hit, fromTop);
  if (!dBOF() && !dEOF()) ResyncAfterCommand();
  return hit;
}

std::string TTzCDataSet::SField(int n) {
  if (Active()) UpdateCursor();
  if (!SelectWorkArea("SField")) return std::string();
  return FieldAsString(n);
}

std::int64_t TTzCDataSet::RecordCount() {
  if (!SelectWorkArea("RecordCount")) return 0;
  return RecCount();
}

TField& TTzCDataSet::NamedField(const std::string& name) { return FieldByName(name.substr(0, 10)); }

bool TTzCDataSet::LogicalByName(const std::string& name) {
  if (!SelectWorkArea("LogicalByName")) return false;
  return NamedField(name).AsBoolean();
}

void TTzCDataSet::BeginPut() {
  if (State() != TDataSetState::Edit && State() != TDataSetState::Insert) Edit();
}

void TTzCDataSet::PutStringByName(const std::string& name, const std::string& value) {
  if (!SelectWorkArea("PutStringByName")) return;
  TField& field = NamedField(name);
  BeginPut();
  field.SetText(value);
}

void TTzCDataSet::PutLogicalByName(const std::string& name, bool value) {
  if (!SelectWorkArea("PutLogicalByName")) return;
  TField& field = NamedField(name);
  BeginPut();
  field.SetAsBoolean(value);
}

void TTzCDataSet::PutIntegerByName(const std::string& name, std::int64_t value) {
  if (!SelectWorkArea("PutIntegerByName")) return;
  TField& field = NamedField(name);
  BeginPut();
  field.SetAsInteger(value);
}

void TTzCDataSet::PutFloatByName(const std::string& name, double value) {
  if (!SelectWorkArea("PutFloatByName")) return;
  TField& field = NamedField(name);
  BeginPut();
  field.SetAsFloat(value);
}

}  // namespace dbase
