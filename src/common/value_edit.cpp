// The value edits of the input dialogs; see value_edit.h.
#include "common/value_edit.h"

namespace common {

void ValueEdit::Show(Real value, ToText toText) {
  value_ = value;
  text = toText(value);
  shown_ = text;
}

Real ValueEdit::Read(FromText fromText) const { return Edited() ? fromText(text) : value_; }

}  // namespace common
