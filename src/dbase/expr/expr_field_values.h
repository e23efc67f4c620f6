// Field values for the expression language: the value of one field of a
// work area's current record as the evaluator takes it (text with its
// trailing blanks, number, day number, truth, memo text).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dbase {

// Installed by the memo layer: the lines of the memo text that a memo
// field's stored value designates. Without it a memo reads as empty text.
extern std::function<std::vector<std::string>(const std::string& storedValue)> MemoTextHook;

struct ExprFieldValue {
  std::string_view text;  // C and M; valid until the next call
  double number = 0;      // N, and D as a day number
  bool logical = false;
};

// The value of field index (0-based) of work area n as type (C, D, N, L, M).
// A work area without records, or a field the area does not have, gives the
// blank value.
void GetFieldValue(int n, int index, char type, ExprFieldValue& value);

}  // namespace dbase
