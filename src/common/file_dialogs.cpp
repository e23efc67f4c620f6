// Choosing files; see file_dialogs.h.
#include "common/file_dialogs.h"

#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_boxes.h"
#include "common/text_utils.h"
#include "platform/user_dialogs.h"

namespace common {

namespace {

std::optional<std::string> AskOpen(const std::string& directory, const std::string& filter) {
  platform::FileNameRequest request;
  request.caption = "Open";
  request.directory = directory;
  request.filter = filter + "|" + filter;
  return platform::Dialogs().OpenFileName(request);
}

// The file's directory without its closing '/'.
std::string DirectoryOf(const std::string& path) { return RemoveBackslash(FileDirPart(path)); }

// ArchiveMode with ArchiveFlag refuses; ArchiveMode alone is dropped.
bool ArchiveRefuses() {
  if (ArchiveMode && ArchiveFlag) {
    ShowArchiveModeRefusal();
    AbortFlag = 1;
    return true;
  }
  if (ArchiveMode) ArchiveMode = 0;
  return false;
}

}  // namespace

void SelectFile(const std::string& startPath, const std::string& filter, std::string& name) {
  const std::optional<std::string> chosen = AskOpen(DirectoryOf(TrimBlanks(startPath)), filter);
  if (!chosen || chosen->empty()) {
    name = startPath;
    AbortFlag = 1;
    return;
  }
  name = *chosen;
}

void SelectFileByMode(int mode, std::string& directory, const std::string& filter, std::string& name) {
  const std::optional<std::string> chosen = AskOpen(directory, filter);
  if (!chosen || chosen->empty()) {
    name.clear();
    AbortFlag = 1;
    return;
  }
  directory = DirectoryOf(*chosen);
  const std::string fileName = chosen->substr(FileDirPart(*chosen).size());
  name = mode == 5 ? *chosen : BareFileName(*chosen);
  if (mode == 4) DataFileExtension = TextAfterDot(fileName);
}

void SelectDirectory(const std::string& start, std::string& directory) {
  const std::optional<std::string> chosen = AskOpen(DirectoryReachable(start) ? start : std::string(), "*");
  directory = chosen && !chosen->empty() ? DirectoryOf(*chosen) : start;
}

std::optional<std::string> AskInputFile(platform::FileNameRequest request) {
  const std::optional<std::string> chosen = platform::Dialogs().OpenFileName(request);
  if (!chosen || TrimBlanks(*chosen).empty()) return std::nullopt;
  return NameToRead(*chosen, request.extension);
}

std::optional<std::string> AskOutputFile(platform::FileNameRequest request) {
  const std::optional<std::string> chosen = platform::Dialogs().SaveFileName(request);
  if (!chosen || TrimBlanks(*chosen).empty()) {
    AbortFlag = 1;
    return std::nullopt;
  }
  const std::string name = NameWithExtension(*chosen, request.extension);
  AbortFlag = 0;
  CheckOutputFileName(name);
  if (AbortFlag) return std::nullopt;
  return name;
}

std::optional<std::string> AskDesignFile(bool save) {
  const std::string& ext = DataFileExtension;
  platform::FileNameRequest request;
  request.caption = save ? "Save" : "Open";
  request.directory = AddBackslash(DataDirectory);
  // Offered with its extension, so that a design name with dots comes back
  // whole; a design read from a file of another extension is offered that
  // file, in its folder.
  if (save && !CurrentFileName.empty()) {
    const std::string file = DesignFilePath(DataDirectory, CurrentFileName);
    if (!FileDirPart(file).empty()) request.directory = FileDirPart(file);
    request.fileName = file.substr(FileDirPart(file).size());
  }
  request.filter = "*." + ext + "|*." + ext;
  request.extension = ext;
  const std::optional<std::string> chosen =
      save ? platform::Dialogs().SaveFileName(request) : AskInputFile(request);
  CursorArrow();
  if (!chosen || TrimBlanks(*chosen).empty()) {
    AbortFlag = 1;
    return std::nullopt;
  }
  return save ? NameWithExtension(*chosen, ext) : *chosen;
}

void SaveDataFileAs(const std::string& nameIn, std::string& fullName) {
  const std::string& name = nameIn;
  if (name != "actual" && ArchiveRefuses()) return;
  if (name.empty()) {
    const std::optional<std::string> chosen = AskDesignFile(true);
    if (!chosen) return;
    fullName = *chosen;
    CheckOutputFileName(fullName);
    if (AbortFlag) return;
    DataDirectory = DirectoryOf(fullName);
    CurrentFileName = DesignNameOfFile(fullName);
    return;
  }
  fullName = name.find('.') == std::string::npos ? AddBackslash(DataDirectory) + name + "." + DataFileExtension : name;
  CheckOutputFileName(fullName);
}

void OpenDataFileName(const std::string& nameIn, std::string& fullName) {
  const std::string& name = nameIn;
  if (ArchiveRefuses()) return;
  if (name.empty()) {
    const std::optional<std::string> chosen = AskDesignFile(false);
    if (!chosen) return;
    fullName = *chosen;
    DataDirectory = DirectoryOf(fullName);
    CurrentFileName = DesignNameOfFile(fullName);
  } else if (name == CurrentFileName) {
    // The current design's own name is its file, dots and all ("pump.v1",
    // "PUMP.VB4"), in its directory.
    fullName = DesignFilePath(DataDirectory, name);
  } else if (name.find('.') == std::string::npos) {
    fullName = AddBackslash(DataDirectory) + name + "." + DataFileExtension;
    CurrentFileName = name;
  } else {
    fullName = name;
  }
  CheckFileAccess(fullName);
  if (AbortFlag && fullName != nameIn) CurrentFileName.clear();
}

}  // namespace common
