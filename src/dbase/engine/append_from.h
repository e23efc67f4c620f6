// Appending the records of another table (or an open virtual file) to the
// current area's table: fields are matched by name and converted between
// their types; tables of equal structure are copied record for record.
// Memo values are stored and copied through the memo layer (MemoHooks).
// A converted value is stored as given or its record is refused: a text or
// number longer than its field, a text that is no number, date or logical
// value of the field it goes into, a value of a type its field cannot hold
// (a date into a number, a number into a logical). A blank value (an
// unknown logical one among them) arrives blank. Refused records are
// passed over and said at the end under error kRecordsRefused, with how
// many and, for the first of them, the record, the field and why.
#pragma once

#include <functional>
#include <string>

namespace dbase {

// "<file>" or "<alias> VIRTUAL" (also VIRTUAL FILE, LINKED, LINKED LIST);
// the condition, when given, is asked before each source record and ends the
// transfer when it answers false. Answers whether it ran without an error
// and refused no record.
bool AppendFrom(const std::string& sourceSpec, const std::function<bool()>& condition = nullptr);

}  // namespace dbase
