// Lookup of the message explanations; see message_explanations.h.
#include "common/message_explanations.h"

#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/text_file.h"

namespace common {

namespace {

constexpr std::size_t kKeyLength = 15;
const char* const kFirstAt = " first at ";

}  // namespace

std::string MessageExplanationFileName() {
  return AddBackslash(PltDirectory) + ProgramName + ".err";
}

std::string FirstAtNote(int degree) { return kFirstAt + std::to_string(degree) + "\xF8"; }

std::string ExplanationKey(const std::string& message) {
  std::string text = message;
  const std::size_t at = text.rfind(kFirstAt);
  if (at != std::string::npos) {
    // The note is the message's end: digits, then the degree sign.
    const std::string rest = text.substr(at + std::string(kFirstAt).size());
    const bool note = rest.size() >= 2 && rest.back() == '\xF8' &&
                      rest.find_first_not_of("0123456789") == rest.size() - 1;
    if (note) text.erase(at);
  }
  return text.substr(0, kKeyLength);
}

bool FindMessageExplanation(const std::string& message, MessageExplanation& found, bool& fileRead) {
  fileRead = false;
  TextFile file;
  file.Assign(MessageExplanationFileName());
  std::error_code ec;
  if (!file.Reset(ec)) return false;
  fileRead = true;
  const std::string key = ExplanationKey(message);
  std::string line;
  while (!file.Eof()) {
    if (!file.ReadLine(line)) break;
    if (line.substr(0, kKeyLength) != key) continue;
    MessageExplanation record{line, "", ""};
    if (!file.ReadLine(record.origin) || !file.ReadLine(record.remedy)) break;
    found = record;
    return true;
  }
  return false;
}

std::string GetMessageHelpText(int n) {
  if (n < 1 || n > MsgCount) return "";
  bool fileRead = false;
  MessageExplanation record;
  if (FindMessageExplanation(MsgText[n], record, fileRead)) return record.origin;
  return fileRead ? "no help description available for this error message." : "";
}

void GetMessageRemedyText(int n, std::string& remedy) {
  if (n < 1 || n > MsgCount) return;
  bool fileRead = false;
  MessageExplanation record;
  if (FindMessageExplanation(MsgText[n], record, fileRead)) remedy = record.remedy;
}

}  // namespace common
