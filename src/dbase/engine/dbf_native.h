// The native record: the decoded, typed form of one record in which callers
// read and change field values. Byte 0 is the deleted flag (1 = deleted);
// then every field in file order:
//   C  length byte + the characters (field length + 1 bytes)
//   D  length byte + the date in the display order of DateFormat with its
//      four-digit year (field length + 3 bytes, 11 for the usual 8)
//   N, F with decimals: 8-byte double
//   N, F without decimals: 4-byte integer up to 9 digits, 8-byte integer
//      from 10 digits on (kKeepFieldText: a value beyond 64 bits whose
//      field text is written back unchanged)
//   L  1 byte, 1 = true;  M  4-byte block number
// Values are stored unaligned in host byte order; use the accessors below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "dbase/engine/dbf_file.h"

namespace dbase {

enum class NativeKind { Text, Date, Double, Int32, Int64, Logical, Memo };

// The 64-bit native value of a numeric field whose text holds a number
// beyond 64 bits: NativeToRecord leaves the field's text as it is.
inline constexpr std::int64_t kKeepFieldText = std::numeric_limits<std::int64_t>::min();

NativeKind NativeKindOf(const FieldDef& field);
std::size_t NativeFieldSize(const FieldDef& field);
std::size_t NativeRecordSize(const DbfTable& table);
// Offset of field n (0-based index) in the native record.
std::size_t NativeFieldOffset(const DbfTable& table, int index);

// Raw record (table.record) -> native buffer, and back. RecordToNative
// remembers what it made (DbfTable::image); NativeToRecord writes a
// field whose native value is unchanged and that no value was assigned to
// with the bytes it was read from.
void RecordToNative(DbfTable& table, std::uint8_t* native);
void NativeToRecord(DbfTable& table, const std::uint8_t* native);
// Notes that a value was assigned to field index (0-based) of the record
// read last: NativeToRecord writes it even when it equals the value read.
void MarkAssigned(DbfTable& table, int index);
// Undoes MarkAssigned: field index is written with the bytes it was read
// (or cleared) with while its native value is unchanged. After ClearRecord
// this keeps it blank, the one form of an unknown logical value and of a
// number no one gave.
void KeepAsRead(DbfTable& table, int index);

// Accessors of single native values.
std::string NativeString(const std::uint8_t* address);
// Stores at most capacity - 1 characters with their length byte.
void PutNativeString(std::uint8_t* address, std::size_t capacity, const std::string& text);
double NativeDouble(const std::uint8_t* address);
void PutNativeDouble(std::uint8_t* address, double value);
std::int32_t NativeInt32(const std::uint8_t* address);
void PutNativeInt32(std::uint8_t* address, std::int32_t value);
std::int64_t NativeInt64(const std::uint8_t* address);
void PutNativeInt64(std::uint8_t* address, std::int64_t value);

// A numeric field's value as a double, whatever its native form.
double NativeNumber(const FieldDef& field, const std::uint8_t* address);
// The largest whole number a native 64-bit value takes from a double, and
// the digits of such numbers.
inline constexpr double kLargestWholeNumber = 9.2e18;
inline constexpr int kWholeNumberDigits = 19;
// "Field <name>: <value> is beyond the whole numbers it holds", the text of
// the overflow error (205) of such a value.
std::string WholeNumberOverflowText(const std::string& fieldName, double value);
// The same text for a value as a file or record gives it ("99999999999999999999", "1e19").
std::string WholeNumberOverflowText(const std::string& fieldName, const std::string& valueText);
// What became of a number text offered to a numeric field.
enum class NumberStore { Stored, NotANumber, DoesNotFit, BeyondWholeNumbers };
// Stores the number of a text in a numeric field, as the imports read a
// field's text (number_text.h: the C form, or the engine's decimal comma):
// a real number where the field has decimals, else the nearest whole
// number (halves away from zero, as PutNativeNumber and the dataset round),
// also of a number in exponent form ("1e5" is 100000); an empty text
// stores 0. A text that is not wholly a number ("12 mm"), a number whose
// text is wider than the field (FitsNumberField) and a whole number beyond
// kLargestWholeNumber are refused: the field keeps its value and the answer
// says why (RefusedNumberText).
NumberStore PutNumberText(const FieldDef& field, std::uint8_t* address, const std::string& text);
// "Field <name>: <text> is not a number", "... does not fit N(8,3)" or
// WholeNumberOverflowText: the refusal of a text as given.
std::string RefusedNumberText(const FieldDef& field, const std::string& text, NumberStore why);
// A field's type as refusals name it: "C(12)", "N(8,3)", "F(10,2)", "D",
// "L", "M".
std::string FieldTypeText(const FieldDef& field);
// "Field <name>: <value> does not fit C(6)".
std::string DoesNotFitText(const FieldDef& field, const std::string& value);
// Stores a text in a character field, or answers false and stores nothing
// when the text up to its last non-blank character is longer than the
// field (trailing blanks are the field's padding, the rest its value).
bool PutCharacterText(const FieldDef& field, std::uint8_t* address, const std::string& text);
// Whether the field's record text shows the number (not a row of '*').
bool FitsNumberField(const FieldDef& field, double value);
// Stores a number in a numeric field's native form (rounded for integers).
// A whole-number field of 19 digits or more refuses a value beyond
// kLargestWholeNumber with error 205 and keeps its value.
void PutNativeNumber(const FieldDef& field, std::uint8_t* address, double value);

// The record text of a number: right-aligned to width with decimals, a row
// of '*' when it does not fit.
std::string NumberFieldText(double value, int width, int decimals);
std::string IntegerFieldText(std::int64_t value, int width);

}  // namespace dbase
