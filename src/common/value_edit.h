// One edit of an input dialog that shows a record value. The dialog shows
// values with few digits (RealToText, LengthToText), so reading every text
// back would round a value the user never touched, and a design opened and
// confirmed would change. An edit whose text is still the one shown gives
// back the value it was shown from; an edited text is converted as usual
// (invalid text reads as 0). The input dialogs of the application
// (gear_geometry_input.h, tool_profile_input.h, load_input.h) and the
// configuration dialog (config_dialog.h) hold their edits in this form.
#pragma once

#include <string>

#include "common/real.h"

namespace common {

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

 private:
  std::string shown_;
  Real value_ = 0;
};

}  // namespace common
