// Finding records without an index, in the current area's table: Search
// scans the table file in large blocks for a text in any (or one) field;
// Locate and Continue test one field record after record against a value
// with the options NOCASE, EXACT and CONTAINED; LocateFields needs several
// fields to match on one record. Raw field reads are in raw_field_access.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace dbase {

// A value to locate: text (C and M fields, and D fields as a display or
// YYYYMMDD date), a number (N and F fields) or a logical (L fields).
using LocateValue = std::variant<std::string, double, bool>;

// Asked for every hit of Search with its field number: false drops the hit.
extern std::function<bool(int fieldNo)> SearchAcceptProc;

// The locate state: the field of the active locate (0 = none), its search
// text and options.
struct LocateState {
  int field = 0;
  std::string text;
  bool caseSensitive = true;
  bool exact = false;
  bool contained = false;
};
extern LocateState Located;

// Searches the text (case-insensitively) in the field fieldNo names (1..
// field count) or in any field; fieldNo answers the field of the hit, 0 when
// none, and the area stands on the hit's record (else where it stood).
void Search(const std::string& text, int& fieldNo, bool fromTop);

// Sets the options from the words NOCASE, EXACT and CONTAINED of the argument
// and answers the number of the field the rest names (0 after error 220).
int ParseLocateArgument(const std::string& argument);
// Answers whether a record from the start record on matches; the area stands
// on it (else at the end of the file).
bool Locate(const std::string& fieldName, const LocateValue& value, bool noCase = false, std::int64_t start = 1,
            bool exact = false);
// The next matching record after the current one.
bool Continue();
// Specs separated by ";", one value each: all fields must match on one
// record. Without a match the area returns to where it stood unless
// keepPosition is set.
bool LocateFields(const std::string& specs, const std::vector<LocateValue>& values, bool noCase = false,
                  bool keepPosition = false, bool exact = false);

}  // namespace dbase
