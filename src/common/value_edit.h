// One edit of an input dialog that shows a record value. The dialog shows
// values with few digits (RealToText, LengthToText), so reading every text
// back would round a value the user never touched, and a design opened and
// confirmed would change. An edit whose text is still the one shown gives
// back the value it was shown from; an edited text is converted as usual.
// The input dialogs of the application (gear_geometry_input.h,
// tool_profile_input.h, load_input.h) and the configuration dialog
// (config_dialog.h) hold their edits in this form.
//
// Before a form takes its number fields, each edited one is checked: a text
// that is no number ("abc", "1e999", "inf") would read as 0 or as an
// infinity and turn the design into nonsense. It is refused with a message
// that names the field and what it holds, the field shows its old value
// again, and the form keeps its record and stays open. An empty field
// stands for 0, as before. The forms that keep plain texts (the printout,
// rotation-angle, drawing-information and diagram-limits forms) and the
// small questions of input_dialogs.h check them with AcceptNumberText and
// AcceptWholeNumberText.
#pragma once

#include <string>

#include "common/real.h"

namespace common {

// True when text is a number the form may take (ParseNumberText, or empty).
// Otherwise the message "<field>: "<text>" is not a number !" (or "not a
// finite number" for "1e999", "inf", "nan"), text := oldText, and false.
// field is the field's name as the form shows it (display text).
bool AcceptNumberText(const std::string& field, std::string& text, const std::string& oldText);
// The same for a whole number (ParseWholeNumberText, 32-bit range).
bool AcceptWholeNumberText(const std::string& field, std::string& text, const std::string& oldText);

class ValueEdit {
 public:
  using ToText = std::string (*)(Real);
  using FromText = Real (*)(const std::string&);

  // The text of the control, as the user left it.
  std::string text;

  // Shows value in the form of toText.
  void Show(Real value, ToText toText);
  // The value of the edit: the shown value while the text is unchanged.
  Real Read(FromText fromText) const;
  // True when the user (or a proposal) changed the text since Show.
  bool Edited() const { return text != shown_; }
  // AcceptNumberText for an edited text; an unedited one is the value it was
  // shown from. A refused text is replaced by the shown one.
  bool Accept(const std::string& field);

 private:
  std::string shown_;
  Real value_ = 0;
};

}  // namespace common
