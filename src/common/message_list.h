// The calculation message list. Calculation routines report what went wrong
// by adding a one-line text here instead of returning an error; the caller
// writes the kind prefix ("Fatal  : ", "Error  : ", "Warning: ") and sets
// FatalFlag after a fatal text. The list keeps at most 12 distinct texts in
// order of first arrival.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/range_array.h"

namespace common {

inline constexpr int MaxMessages = 12;

extern std::uint16_t MsgCount;
extern RangeArray<std::string, 1, MaxMessages> MsgText;

// Adds text unless an equal text (exact comparison) is held already; a
// thirteenth distinct text is dropped. Does not touch the flags.
void AddErrorMessage(const std::string& text);

// Empties the list and clears FatalFlag and AbortFlag.
void ClearErrorMessages();

// Unit finalisation: empties the list and releases the texts.
void ReleaseErrorMessages();

// The list and FatalFlag as a calculation left them, to be put back after a
// calculation whose own messages the user is not shown: a single position
// of a rated pair printed or drawn again says nothing the pair's list does
// not already say with its angle, and the menu, the list and the printouts
// tell the same messages.
struct SavedMessages {
  std::vector<std::string> texts;
  std::uint8_t fatal = 0;
};
SavedMessages SaveMessages();
void RestoreMessages(const SavedMessages& saved);

// Who hears what the program says outside a calculation: each text added
// to the list while no calculation runs, and each message box left unshown
// because messages are off (MessagesEnabled 0). A run without a window
// prints them: they are what a writer or a printout had to say. Texts are
// program texts (code page 850), told whether or not the list keeps them.
using MessageListener = std::function<void(const std::string& text)>;

// Installs a listener for the lifetime of the object; the one before comes
// back after it.
class ScopedMessageListener {
 public:
  explicit ScopedMessageListener(MessageListener listener);
  ~ScopedMessageListener();
  ScopedMessageListener(const ScopedMessageListener&) = delete;
  ScopedMessageListener& operator=(const ScopedMessageListener&) = delete;

 private:
  MessageListener previous_;
};

// While one lives, the texts added are the calculation's own findings (a
// picture may rate positions again): the listener does not hear them.
class CalculationMessagesScope {
 public:
  CalculationMessagesScope();
  ~CalculationMessagesScope();
  CalculationMessagesScope(const CalculationMessagesScope&) = delete;
  CalculationMessagesScope& operator=(const CalculationMessagesScope&) = delete;

 private:
  bool previous_;
};

// Tells the listener a message that no box showed.
void TellUnshownMessage(const std::string& text);

}  // namespace common
