// Reading a logical value from text that another program or a person wrote
// (a delimited file's field, a character field appended to a logical one):
// one rule for every import, so that a text is true, false, unknown or
// refused alike wherever it comes from.
#pragma once

#include <string>

namespace dbase {

enum class LogicalReading { True, False, Unknown, NotLogical };

// Blanks and tabs around the text are ignored, letters in either case:
// T, Y, TRUE, YES and .T., .Y. are true; F, N, FALSE, NO and .F., .N. are
// false; nothing and "?" are unknown. Any other text (another word, a
// number, a check mark) is no logical value.
LogicalReading ReadLogicalText(const std::string& text);

// "Field <name>: <text> is not a logical value", the refusal of such a text.
std::string NotLogicalText(const std::string& fieldName, const std::string& text);

}  // namespace dbase
