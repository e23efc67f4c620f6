// Lookup of the message explanations; see message_explanations.h.
#include "common/message_explanations.h"

#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/text_file.h"

namespace common {

namespace {

constexpr std::size_t kKeyLength = 15;

// Reads the record of message n into origin and remedy; false when the
// file cannot be read or has no such record. Uses a file of its own, so a
// report being written through SharedTextFile is not disturbed.
bool FindExplanation(int n, bool& fileRead, std::string& origin, std::string& remedy) {
  fileRead = false;
  if (n < 1 || n > MsgCount) return false;
  TextFile file;
  file.Assign(MessageExplanationFileName());
  std::error_code ec;
  if (!file.Reset(ec)) return false;
  fileRead = true;
  const std::string key = MsgText[n].substr(0, kKeyLength);
  std::string line;
  while (!file.Eof()) {
    if (!file.ReadLine(line)) break;
    if (line.substr(0, kKeyLength) != key) continue;
    std::string o, r;
    if (!file.ReadLine(o) || !file.ReadLine(r)) break;
    origin = o;
    remedy = r;
    return true;
  }
  return false;
}

}  // namespace

std::string MessageExplanationFileName() {
  return AddBackslash(PltDirectory) + ProgramName + ".err";
}

std::string GetMessageHelpText(int n) {
  bool fileRead = false;
  std::string origin, remedy;
  if (FindExplanation(n, fileRead, origin, remedy)) return origin;
  return fileRead ? "no help description available for this error message." : "";
}

void GetMessageRemedyText(int n, std::string& remedy) {
  bool fileRead = false;
  std::string origin, found;
  if (FindExplanation(n, fileRead, origin, found)) remedy = found;
}

}  // namespace common
