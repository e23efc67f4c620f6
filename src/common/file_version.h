// The version text of a program file, as shown in the data-file header and
// the about window: major.minor, then the release and build numbers where
// they are set. The version numbers of the program's own file are held here
// (executables of this platform carry no version resource); any other file
// has none and gives "0". Used by text_file.cpp (data-file header).
#pragma once

#include <string>

namespace common {

struct FileVersionNumbers {
  int major = 0;
  int minor = 0;
  int release = 0;
  int build = 0;
};

// The version numbers of the program file.
FileVersionNumbers ProgramFileVersion();

// major "." minor; "." release when release > 0; "." build when release and
// build are both at least 1 (5.2.0.0 -> 5.2, 5.2.1.0 -> 5.2.1,
// 5.2.1.3 -> 5.2.1.3, 5.2.0.3 -> 5.2).
std::string FormatFileVersion(const FileVersionNumbers& v);

// The version text of fileName (trimmed); an empty name, or the name of the
// program's own file (ProgramName or "W" + ProgramName, any directory, with
// or without ".exe", any case), means the program file. Files without
// version information give "0".
std::string FileVersionText(const std::string& fileName);
void FileVersionText(const std::string& fileName, std::string& text);

}  // namespace common
