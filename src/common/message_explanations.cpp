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

// Messages that name a thing of the user's after a fixed beginning (the
// DXF entity the reader skipped, whatever its first letters): one record
// explains the family, keyed by the beginning.
const char* const kNamingFamilies[] = {"Error  : DXF: "};

}  // namespace

std::string MessageExplanationFileName() {
  return AddBackslash(PltDirectory) + ProgramName + ".err";
}

std::string FirstAtNote(int degree) { return kFirstAt + std::to_string(degree) + "\xF8"; }

std::string ExplanationKey(const std::string& message) {
  const std::string text = WithDecimalPoints(WithoutFirstAtNote(message));
  for (const char* family : kNamingFamilies)
    if (text.rfind(family, 0) == 0) return family;
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
    if (ExplanationKey(line) != key) continue;
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
