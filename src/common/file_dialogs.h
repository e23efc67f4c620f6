// Choosing files: the open dialog with a start path, the open dialog that
// also returns the directory, a directory choice, and the names of data
// files to save and open (with the archive-mode rule and the checks of
// file_checks.h). A cancelled choice sets AbortFlag.
#pragma once

#include <optional>
#include <string>

#include "platform/user_dialogs.h"

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

// The open dialog of an input of one format (request.extension): the file
// chosen as NameToRead (file_utils.h) takes it ("data.csv" as it is,
// "pump.v1" for "pump.v1.vb4" where only that is there), or nothing when
// cancelled or empty. Every dialog that reads a file of a format asks here.
std::optional<std::string> AskInputFile(platform::FileNameRequest request);
// The save dialog of an output of one format (request.extension): the
// chosen name completed by NameWithExtension (file_utils.h) and checked by
// CheckOutputFileName, which asks before an existing file is replaced; or
// nothing, with AbortFlag set, when cancelled, empty, refused or not to be
// replaced. Every save dialog of the program asks here.
std::optional<std::string> AskOutputFile(platform::FileNameRequest request);
// The design file picked in the save or the open dialog, started in
// DataDirectory (the save dialog offers the current design's file): the
// save dialog's name completed by NameWithExtension with the data file's
// extension ("PUMP.VB4" stays, "pump.v2" gives "pump.v2.vb4"), the open
// dialog's by NameToRead ("pump.bak" as it is); or nothing (AbortFlag set)
// on Cancel or an empty choice. The arrow cursor is restored. The
// overwrite question is the save's (WriteDataFile).
std::optional<std::string> AskDesignFile(bool save);

// The full name to save the data file under: asked for when name is empty
// (the data directory and CurrentFileName offered), checked by
// CheckOutputFileName.
void SaveDataFileAs(const std::string& name, std::string& fullName);
// The full name of a data file to open: asked for when name is empty,
// checked by CheckFileAccess.
void OpenDataFileName(const std::string& name, std::string& fullName);

}  // namespace common
