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

// The origin line of message n (1-based): "no help description available
// for this error message." when no record matches, "" when the file cannot
// be read or n names no message.
std::string GetMessageHelpText(int n);
// The remedy line of message n; `remedy` is left unchanged when no record
// matches or the file cannot be read.
void GetMessageRemedyText(int n, std::string& remedy);

}  // namespace common
