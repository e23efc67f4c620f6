// The calculation message list. Calculation routines report what went wrong
// by adding a one-line text here instead of returning an error; the caller
// writes the kind prefix ("Fatal  : ", "Error  : ", "Warning: ") and sets
// FatalFlag after a fatal text.
// The list keeps apart what the calculations said of the pair (its
// findings) and what the program said outside a calculation in answer to a
// request (an output refused, the entities of a DXF file not read, a
// form's range): the sheets, their DXF files and the printouts show the
// pair's list only; the list dialog shows the latest answer above it, until
// the next calculation or a later output or import is answered.
// Each of the two shows at most 12 distinct texts in order of first
// arrival. When more are said, the weightiest stay (message_weights.h:
// the pair's checks, then what was not computed, then the rating's
// verdicts, then the rest, and notes on the printed tolerances last; each
// weight in order of arrival) and the last line says how many were left
// out. Texts that differ only in the values they carry (an arccos argument,
// a safety) and in the note of the angle where they first arose are one
// message: it takes one place and is counted once.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/message_weights.h"
#include "common/range_array.h"

namespace common {

inline constexpr int MaxMessages = 12;

// The texts the list dialog shows: MsgText[1..MsgCount], the latest answer
// (at most MaxMessages lines) above the pair's list (at most MaxMessages).
// Written only through the routines below, which also keep the texts that
// are not shown.
extern std::uint16_t MsgCount;
extern RangeArray<std::string, 1, 2 * MaxMessages> MsgText;

// The pair's list: what the calculations said, as the sheets, their DXF
// files, the printouts and a run without a window show it.
const std::vector<std::string>& PairMessages();

// Adds text unless an equal text (exact comparison) was said since the
// list was last cleared, shown or not. Does not touch the flags. Without a
// weight the text weighs by its meaning (MessageWeightOf); with one, as
// given. A text said while a calculation runs (CalculationMessagesScope)
// is the pair's; any other answers the request in progress.
void AddErrorMessage(const std::string& text);
void AddErrorMessage(const std::string& text, MessageWeight weight);

// A text without the note of the sweep over the drive angle at its end
// (" first at <degree>°", program text), which says where it first arose.
std::string WithoutFirstAtNote(const std::string& text);
// The numbers of a text written with a point as decimal sign whatever
// sign the settings write them with: "HB:  76,0.. 893,0 !" becomes
// "HB:  76.0.. 893.0 !" (a comma between two digits).
std::string WithDecimalPoints(const std::string& text);
// What makes texts one message: the text without the sweep's note, each
// number with a decimal sign in it put as "#".
std::string MessageIdentity(const std::string& text);

// Whether every text shown was said by a calculation; false while an
// answer is shown (a CAD output refused).
bool ShownMessagesAreCalculated();

// Where the answers said from now on begin. A request that is answered
// (an output written or refused, a DXF file imported or refused) retires
// the answers said before it began: only the latest answer is shown.
std::uint64_t AnswerMark();
void RetireAnswersBefore(std::uint64_t mark);

// The last line of a list that could not show every text: "Warning: list
// full, <count> more messages not shown !".
std::string MessagesNotShownText(int count);

// Empties the list and clears FatalFlag and AbortFlag.
void ClearErrorMessages();

// Unit finalisation: empties the list and releases the texts.
void ReleaseErrorMessages();

// The list and FatalFlag as a calculation left them, to be put back after a
// calculation whose own messages the user is not shown: a single position
// of a rated pair printed or drawn again says nothing the pair's list does
// not already say with its angle, and the menu, the list and the printouts
// tell the same messages.
struct SaidMessage {
  std::string text;
  MessageWeight weight = MessageWeight::Ordinary;
  bool calculated = true;  // said while a calculation ran
  std::uint64_t said = 0;  // when, in the order of all texts said
  // What the text weighs by its meaning (MessageWeightOf), found once when
  // it was first said: a sweep says the same texts at every position.
  MessageWeight meaning = MessageWeight::Ordinary;
  // MessageIdentity of the text, formed once the list needs it.
  std::optional<std::string> identity;
  bool operator==(const SaidMessage&) const = default;
};
struct SavedMessages {
  std::vector<SaidMessage> held;  // every text said, shown or not
  int notHeld = 0;                 // texts of the pair said beyond those held
  int answersNotHeld = 0;          // answers said beyond those held
  std::uint8_t fatal = 0;
  bool operator==(const SavedMessages&) const = default;
};
SavedMessages SaveMessages();
// Puts the list and FatalFlag back; an empty SavedMessages empties the list
// and clears FatalFlag, AbortFlag stays.
void RestoreMessages(const SavedMessages& saved);

// Every distinct text said since the list was last cleared, shown or not,
// in order of arrival, with its weight.
const std::vector<SaidMessage>& SaidMessages();

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

// The list as it was, put back when the object goes: a form that shows
// messages of its own in the list (the hardness converter's range)
// leaves the pair's list as the last calculation left it.
class KeptMessages {
 public:
  KeptMessages() : saved_(SaveMessages()) {}
  ~KeptMessages() { RestoreMessages(saved_); }
  KeptMessages(const KeptMessages&) = delete;
  KeptMessages& operator=(const KeptMessages&) = delete;

 private:
  SavedMessages saved_;
};

}  // namespace common
