// Version text of a program file; see file_version.h.
#include "common/file_version.h"

#include "common/kaldvar.h"
#include "common/text_utils.h"

namespace common {

namespace {

bool NamesProgramFile(const std::string& name) {
  std::string base = name.substr(name.find_last_of("/\\") == std::string::npos ? 0 : name.find_last_of("/\\") + 1);
  base = LowerText(base);
  if (base.size() > 4 && base.compare(base.size() - 4, 4, ".exe") == 0) base.resize(base.size() - 4);
  const std::string program = LowerText(ProgramName);
  return !program.empty() && (base == program || base == "w" + program);
}

}  // namespace

FileVersionNumbers ProgramFileVersion() { return {5, 2, 0, 0}; }

std::string FormatFileVersion(const FileVersionNumbers& v) {
  std::string text = std::to_string(v.major) + "." + std::to_string(v.minor);
  if (v.release > 0) text += "." + std::to_string(v.release);
  if (v.release >= 1 && v.build >= 1) text += "." + std::to_string(v.build);
  return text;
}

std::string FileVersionText(const std::string& fileName) {
  const std::string name = TrimBlanks(fileName);
  if (name.empty() || NamesProgramFile(name)) return FormatFileVersion(ProgramFileVersion());
  return "0";
}

void FileVersionText(const std::string& fileName, std::string& text) { text = FileVersionText(fileName); }

}  // namespace common
