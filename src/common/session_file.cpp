// The session file with the recent data files; see session_file.h.
#include "common/session_file.h"

#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/text_file.h"
#include "platform/file_system.h"

namespace common {

std::string SessionFilePath() {
  return AddBackslash(ConfigDirectory) + platform::FindFileAnyCase(ConfigDirectory, ProgramName + ".cff");
}

void ReadSessionFile() {
  SharedTextFile.Assign(SessionFilePath());
  std::error_code ec;
  if (!SharedTextFile.Reset(ec)) {
    for (std::string& name : RecentFiles) name.clear();
    return;
  }
  std::string header;
  ReadTextLine(header);
  for (int i = 1; i <= 4; ++i) ReadTextLine(RecentFiles[i]);
  SharedTextFile.Close(ec);
}

void WriteSessionFile() {
  if (RecentFiles[1].empty()) return;
  AbortFlag = 0;
  SharedTextFile.Assign(SessionFilePath());
  RewriteFileRetry(SharedTextFile);
  if (AbortFlag) return;
  WriteTextLine(ProgramName + " Session " + DataDirectory);
  for (int i = 1; i <= 4; ++i) WriteTextLine(RecentFiles[i]);
  if (AbortFlag)
    AbandonFileChecked(SharedTextFile);  // a failed line: the previous file stays, and the user learns why
  else
    CloseFileChecked(SharedTextFile);
}

}  // namespace common
