// Choosing files: the open dialog with a start path, the open dialog that
// also returns the directory, a directory choice, and the names of data
// files to save and open (with the archive-mode rule and the checks of
// file_checks.h). A cancelled choice sets AbortFlag.
#pragma once

#include <string>

namespace common {

// The open dialog with the filter (shown as filter|filter), started in the
// directory of startPath. Cancel: name := startPath and AbortFlag.
void SelectFile(const std::string& startPath, const std::string& filter, std::string& name);

// The open dialog started in directory. A choice sets directory to the
// file's directory and name to its bare name (mode 5: the full name; mode 4
// also takes the file's extension as the DataFileExtension). Cancel empties
// name and sets AbortFlag.
void SelectFileByMode(int mode, std::string& directory, const std::string& filter, std::string& name);

// The directory of a file chosen in an open dialog started in start (when
// it can be entered); Cancel gives start.
void SelectDirectory(const std::string& start, std::string& directory);

// The full name to save the data file under: asked for when name is empty
// (the data directory and CurrentFileName offered), checked by
// CheckOutputFileName.
void SaveDataFileAs(const std::string& name, std::string& fullName);
// The full name of a data file to open: asked for when name is empty,
// checked by CheckFileAccess.
void OpenDataFileName(const std::string& name, std::string& fullName);

}  // namespace common
