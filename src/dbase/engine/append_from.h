// Appending the records of another table (or an open virtual file) to the
// current area's table: fields are matched by name and converted between
// their types; tables of equal structure are copied record for record.
// Memo values are stored and copied through the memo layer (MemoHooks).
#pragma once

#include <functional>
#include <string>

namespace dbase {

// "<file>" or "<alias> VIRTUAL" (also VIRTUAL FILE, LINKED, LINKED LIST);
// the condition, when given, is asked before each source record and ends the
// transfer when it answers false. Answers whether it ran without an error.
bool AppendFrom(const std::string& sourceSpec, const std::function<bool()>& condition = nullptr);

}  // namespace dbase
