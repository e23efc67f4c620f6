// Lookup of the message explanations; see message_explanations.h.
#include "common/message_explanations.h"

#include <unordered_map>
#include <vector>

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

namespace {

// The file's lines and, for each key, the first line that has it, while
// an ExplanationsKept stands.
struct KeptExplanations {
  int holders = 0;
  bool formed = false;
  bool fileRead = false;
  std::vector<std::string> lines;
  std::unordered_map<std::string, std::size_t> firstLine;
};

KeptExplanations& Kept() {
  static KeptExplanations kept;
  return kept;
}

void Form(KeptExplanations& kept) {
  kept.formed = true;
  TextFile file;
  file.Assign(MessageExplanationFileName());
  std::error_code ec;
  if (!file.Reset(ec)) return;
  kept.fileRead = true;
  std::string line;
  while (!file.Eof() && file.ReadLine(line)) {
    kept.firstLine.try_emplace(ExplanationKey(line), kept.lines.size());
    kept.lines.push_back(line);
  }
}

}  // namespace

ExplanationsKept::ExplanationsKept() { ++Kept().holders; }

ExplanationsKept::~ExplanationsKept() {
  KeptExplanations& kept = Kept();
  if (--kept.holders == 0) kept = KeptExplanations{};
}

bool FindMessageExplanation(const std::string& message, MessageExplanation& found, bool& fileRead) {
  KeptExplanations& kept = Kept();
  if (kept.holders == 0) {
    const ExplanationsKept once;
    return FindMessageExplanation(message, found, fileRead);
  }
  if (!kept.formed) Form(kept);
  fileRead = kept.fileRead;
  // (A key line without the two lines of its record after it is none.)
  const auto at = kept.firstLine.find(ExplanationKey(message));
  if (at == kept.firstLine.end() || at->second + 2 >= kept.lines.size()) return false;
  found = {kept.lines[at->second], kept.lines[at->second + 1], kept.lines[at->second + 2]};
  return true;
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
