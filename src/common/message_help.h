// The message explanations shown to the user: after a calculation the user
// picks a held message (message_list.h) and sees where it comes from and what
// to do about it, and can edit that explanation in its form. The file and
// its lookup are in message_explanations.h.
#pragma once

#include <functional>
#include <string>

#include "common/message_explanations.h"
#include "platform/user_dialogs.h"

namespace common {

// The origin and remedy of a message text as the list's lookup gives them
// (GetMessageHelpText, GetMessageRemedyText): the origin "no help
// description available for this error message." when no record matches,
// both empty when the file cannot be read.
struct MessageOriginRemedy {
  std::string origin;
  std::string remedy;
};
MessageOriginRemedy ExplainMessage(const std::string& message);

// Looks up message n and shows it with its explanation; a missing file sets
// AbortFlag (checked open), a missing record is said in a message box.
void ShowMessageHelp(int n);

// The explanation form: message, origin and remedy (program texts, shown
// converted). When the user changed a text and confirms "Save Changes ?" the
// record is rewritten.
void ShowMessageHelpForm(const std::string& message, const std::string& origin, const std::string& remedy);

// Replaces origin and remedy of the record of message (program texts; line
// breaks become blanks, as a record holds each on one line). Every other byte
// of the file stays; the file is replaced by a complete new version only.
// False, with a message, when the record or the file is missing or the file
// cannot be written.
bool RewriteMessageHelp(const std::string& message, const std::string& origin, const std::string& remedy);

// The dialog after a calculation: the held messages to pick from for their
// explanations, or "Calculation successful without error messages". Silent
// with "/NOGUI" on the command line and while MessagesEnabled is 0.
void ShowCalculationMessages();

// What the explanation form shows (display texts) and what the user left in
// it. The form's "&Help" button calls help.
struct MessageHelpTexts {
  std::string caption = "Error Message";
  std::string messageLabel = "Error Message";
  std::string originLabel = "Origin";
  std::string remedyLabel = "Remedy";
  std::string message;
  std::string origin;
  std::string remedy;
  platform::HelpAction help;
  bool changed = false;  // set by any change of origin or remedy
};
// The form itself: shows the texts modally and returns them as the user left
// them. The Qt forms install one; the default shows the texts as a page
// without editing.
using MessageHelpView = std::function<MessageHelpTexts(const MessageHelpTexts& shown)>;
MessageHelpView SetMessageHelpView(MessageHelpView view);

}  // namespace common
