// The fields of a dataset (dataset.h): each names one column of the record
// buffer and reads and writes its value as text, number, integer or
// logical. A field holds no value of its own; it asks its dataset for the
// bytes of the active record, so that the dataset decides what "blank" means
// and writes a changed value through to the table. The date, float and
// integer classes give the table engine's display rules: dates in the
// engine's date format, numbers with their field's decimals.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace dbase {

class TDataSet;

// The value kinds of a field and their bytes in the record buffer:
// String size + 1 (length byte and characters), Date 8 (a day number as a
// double, 0 = blank), Float 8 (double), Integer 4, LargeInt 8,
// Boolean 2, Memo 4 (the memo block number).
enum class TFieldType { String, Date, Float, Integer, LargeInt, Boolean, Memo };

std::size_t FieldDataSize(TFieldType type, int size);

class TField {
 public:
  TField(TDataSet* dataSet, std::string name, TFieldType type, int size, int fieldNo);
  virtual ~TField() = default;
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  const std::string& FieldName() const { return name_; }
  TFieldType DataType() const { return type_; }
  // Characters of a string field (0 for the others).
  int Size() const { return size_; }
  // 1-based position among the dataset's fields.
  int FieldNo() const { return fieldNo_; }
  std::size_t DataSize() const { return FieldDataSize(type_, size_); }
  std::size_t Offset() const { return offset_; }
  void SetOffset(std::size_t offset) { offset_ = offset; }
  TDataSet* DataSet() const { return dataSet_; }

  bool ReadOnly = false;
  // Decimals shown by a float field.
  int Decimals = 0;
  // A logical field's two display texts, "<true>;<false>" (empty: the
  // dataset's default texts).
  std::string DisplayValues;

  bool IsNull() const;
  void Clear();
  std::string AsString() const;
  void SetAsString(const std::string& text);
  double AsFloat() const;
  void SetAsFloat(double value);
  std::int64_t AsInteger() const;
  void SetAsInteger(std::int64_t value);
  bool AsBoolean() const;
  void SetAsBoolean(bool value);
  // The display text, and setting a value from one (the edit's text).
  virtual std::string Text() const { return AsString(); }
  virtual void SetText(const std::string& text) { SetAsString(text); }

  // The two texts of a logical field.
  std::string TrueText() const;
  std::string FalseText() const;

 protected:
  // Copies the field's value (in the layout of FieldValue) into the
  // caller's buffer; false when the field is blank.
  bool GetData(void* buffer) const;
  // nullptr clears the field.
  void SetData(const void* buffer);
  double DoubleValue() const;

 private:
  TDataSet* dataSet_;
  std::string name_;
  TFieldType type_;
  int size_;
  int fieldNo_;
  std::size_t offset_ = 0;
};

// A date field: the engine's date format, "Invalid date" refused.
class TTzDateField : public TField {
 public:
  using TField::TField;
  std::string Text() const override;
  void SetText(const std::string& text) override;
};

// A numeric field with decimals.
class TTzFloatField : public TField {
 public:
  using TField::TField;
  std::string Text() const override;
};

// A numeric field without decimals (4 bytes up to 9 digits, 8 beyond).
class TTzIntegerField : public TField {
 public:
  using TField::TField;
};

// The displayed texts of logical values and the yes/no answers.
extern std::string LogicalTrueText;
extern std::string LogicalFalseText;
extern std::string AnswerYesText;
extern std::string AnswerNoText;
// The message shown for an impossible date.
inline constexpr const char* kInvalidDateText = "        Invalid date       ";

// Shows a message of the dataset classes (a program text) in a message box
// while messages are enabled.
void ShowDatasetMessage(const std::string& text);

}  // namespace dbase
