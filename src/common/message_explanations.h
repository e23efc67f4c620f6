// The explanations of the calculation messages: the message explanation
// file (PLT directory, ProgramName + ".err") holds records of three lines,
// the message text, its origin and a remedy. A record belongs to message n
// of the message list when the first 15 characters of its first line equal
// those of the message (the kind and the first six characters of the
// text), so messages that agree that far share one explanation.
// The report writer prints the origin and remedy under each message.
#pragma once

#include <string>

namespace common {

// The explanation file's full name.
std::string MessageExplanationFileName();

// The note the sweep over the drive angle writes after a message it keeps:
// " first at <degree>°" (program text), where the message first arose.
std::string FirstAtNote(int degree);

// What selects a message's record, of the message and of a record's key
// line alike: the first 15 characters, taken from the text without a
// FirstAtNote after it (a short message would otherwise take the note into
// its key and miss its record) and with its numbers' decimal sign a point
// (the records are written so, the settings may write a comma); for a
// message that names an entity of a DXF file after "Error  : DXF: ", that
// beginning, so that every entity name finds the one record.
std::string ExplanationKey(const std::string& message);

// One record of the file.
struct MessageExplanation {
  std::string key;  // the record's first line, as the file holds it
  std::string origin;
  std::string remedy;
};

// The record of a message text: the first whose key line has the
// message's ExplanationKey. False when none has or the file cannot be read;
// fileRead tells which. Uses a file of its own, so a report being written
// through SharedTextFile is not disturbed.
bool FindMessageExplanation(const std::string& message, MessageExplanation& found, bool& fileRead);

// While one stands, the lookups read the explanation file once, at the
// first of them, and form each line's key once: a page of messages, each
// looking up its origin and its remedy, costs one reading of the file, not
// two a message. The file is read afresh once the last one is gone (the
// explanation form rewrites it).
class ExplanationsKept {
 public:
  ExplanationsKept();
  ~ExplanationsKept();
  ExplanationsKept(const ExplanationsKept&) = delete;
  ExplanationsKept& operator=(const ExplanationsKept&) = delete;
};

// The origin line of message n (1-based): "no help description available
// for this error message." when no record matches, "" when the file cannot
// be read or n names no message.
std::string GetMessageHelpText(int n);
// The remedy line of message n; `remedy` is left unchanged when no record
// matches or the file cannot be read.
void GetMessageRemedyText(int n, std::string& remedy);

}  // namespace common
