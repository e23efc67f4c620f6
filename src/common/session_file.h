// The session file ProgramName + ".cff" in the configuration directory:
// one line ProgramName + " Session " + DataDirectory, then the four most
// recent data files (RecentFiles of kaldvar.h), one a line. Read at
// start-up, written when the program closes. Lines go through
// SharedTextFile (text_file.h).
#pragma once

#include <string>

namespace common {

// A missing file empties the four entries; otherwise the first line is
// skipped and the four names are read.
void ReadSessionFile();
// Only when the first entry is not empty: AbortFlag := 0, the file is
// opened (RewriteFileRetry) and, unless that failed, the five lines are
// written; the previous file is replaced only by a complete one.
void WriteSessionFile();
// ConfigDirectory + the existing file's name (whatever its case) or
// ProgramName + ".cff".
std::string SessionFilePath();

}  // namespace common
