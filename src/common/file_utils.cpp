// File and path utilities of the line-file layer; see file_utils.h.
#include "common/file_utils.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "common/code_page.h"
#include "common/file_checks.h"
#include "common/kaldvar.h"
#include "common/text_utils.h"
#include "platform/file_system.h"

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace common {

namespace fs = std::filesystem;

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A path as the user meant it: blanks typed round it are dropped, but a
// folder whose name begins or ends in a blank ("Entwurf ") is that folder.
std::string PathAsMeant(const std::string& path) {
  const std::string trimmed = TrimBlanks(path);
  if (trimmed.size() == path.size()) return path;
  std::error_code ec;
  return fs::is_directory(path, ec) ? path : trimmed;
}

std::string FileNamePart(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool MaskMatch(const char* name, const char* mask) {
  // Iterative '*' matching with one back-tracking point.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*mask == '*') {
      star = mask++;
      resume = name;
    } else if (*mask == '?' || (*mask && LowerAscii(*mask) == LowerAscii(*name))) {
      ++mask;
      ++name;
    } else if (star) {
      mask = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*mask == '*') ++mask;
  return *mask == '\0';
}

// Copies the bytes of source into a new version of destination; ec tells
// why not.
bool CopyBytes(const std::string& source, const std::string& destination, std::error_code& ec) {
  auto in = platform::Files().OpenRead(source, ec);
  if (!in) return false;
  platform::ReplacingFile out;
  if (!out.Open(destination, ec)) return false;
  std::vector<char> buffer(8192);
  for (;;) {
    const std::ptrdiff_t n = in->Read(buffer.data(), buffer.size(), ec);
    if (n < 0) return false;  // out discards the partial copy
    if (n == 0) break;
    if (!out.Write(std::string_view(buffer.data(), static_cast<std::size_t>(n)), ec)) return false;
  }
  return out.Commit(ec);
}

std::vector<std::string> MatchingFiles(const std::string& directory, const std::string& mask, bool& listed) {
  std::vector<std::string> names;
  std::error_code ec;
  const fs::path dir = directory.empty() ? fs::path(".") : fs::path(directory);
  fs::directory_iterator it(dir, ec), end;
  listed = !ec;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const std::string name = it->path().filename().string();
    if (MatchesFileMask(name, mask)) names.push_back(name);
  }
  return names;
}

}  // namespace

void AssignTextFile(TextFile& file, const std::string& name) { file.Assign(name); }

void CloseTextFile(TextFile& file) {
  std::error_code ec;
  if (!file.Close(ec)) AbortFlag = 1;
}

std::string AddBackslash(const std::string& path) {
  // Every character but '/' may end a folder's name here ("Fuß", "v2-",
  // "v2.", "proj~"): a name is never joined to the folder without one.
  std::string result = PathAsMeant(path);
  if (!result.empty() && result.back() != '/') result += '/';
  return result;
}
std::string AddBackslash2(const std::string& path) { return AddBackslash(path); }

std::string RemoveBackslash(const std::string& path) {
  std::string result = PathAsMeant(path);
  if (result.size() > 1 && result.back() == '/') result.pop_back();
  return result;
}

std::string FileDirPart(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string DrivePart(const std::string&) { return {}; }

std::string BareFileName(const std::string& path) {
  std::string name = FileNamePart(path);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

std::string FileNameNoExt(const std::string& path) { return BareFileName(path); }

std::string PathNoExt(const std::string& path) { return FileDirPart(path) + FileNameNoExt(path); }

std::string DesignStem(const std::string& name) {
  const std::string suffix = "." + UpperText(DataFileExtension);
  const std::size_t start = name.find_last_of('/') == std::string::npos ? 0 : name.find_last_of('/') + 1;
  if (name.size() >= start + suffix.size() + 1 &&
      UpperText(name.substr(name.size() - suffix.size())) == suffix)
    return name.substr(0, name.size() - suffix.size());
  return name;
}

std::string KeptDesignName(const std::string& stem) {
  return DesignStem(stem) != stem ? stem + "." + DataFileExtension : stem;
}

std::string BareDesignName(const std::string& path) {
  const std::string file = FileNamePart(path);
  const std::string kept = KeptDesignName(DesignStem(file));
  // A file whose extension is the design file's in other letters
  // ("PUMP.VB4") is a file of its own beside "PUMP.vb4": its whole name is
  // kept, so that the design is saved back to the file it was read from.
  return DesignStem(file) == file || DesignFileName(kept) == file ? kept : file;
}

std::string DesignNameOfFile(const std::string& path) {
  const std::string name = BareDesignName(path);
  if (DesignFileName(name) == FileNamePart(path)) return name;
  // No name without a directory gives this file back; the path does, and
  // an absolute one whatever DataDirectory becomes.
  if (path.empty() || path.front() == '/') return path;
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  return ec ? path : absolute.string();
}

namespace {

// Whether the file name ends in "." + one of the extensions in any letter
// case, or is only that; "*" takes any extension.
bool EndsInExtension(const std::string& file, const std::string& extensions) {
  for (std::size_t start = 0; start <= extensions.size();) {
    const std::size_t end = std::min(extensions.find(';', start), extensions.size());
    const std::string extension = extensions.substr(start, end - start);
    start = end + 1;
    if (extension == "*") {
      if (file.find('.') != std::string::npos) return true;
      continue;
    }
    const std::string suffix = "." + UpperText(extension);
    if (file.size() >= suffix.size() && UpperText(file.substr(file.size() - suffix.size())) == suffix) return true;
  }
  return false;
}

}  // namespace

std::string NameWithExtension(const std::string& name, const std::string& extensions) {
  if (extensions.empty() || EndsInExtension(FileNamePart(name), extensions)) return name;
  return name + "." + extensions.substr(0, extensions.find(';'));
}

std::string NameToRead(const std::string& name, const std::string& extension) {
  // Anything there but a directory is read as chosen: a file that cannot be
  // read is then refused with its own reason, not taken for another name.
  platform::FileStatus status;
  std::error_code ec;
  const bool there = platform::Files().Status(name, status, ec) && status.kind != platform::FileStatus::Kind::None;
  if (there && !fs::is_directory(name, ec)) return name;
  return NameWithExtension(name, extension);
}

std::string DesignOutputName(const std::string& name, const std::string& extension) {
  return DesignStem(name) + "." + extension;
}

std::string DesignFileName(const std::string& name) {
  if (name.empty() || DesignStem(name) != name || name.front() == '/') return name;
  const bool dotted = FileNamePart(name).find('.') != std::string::npos;
  if (dotted && (name.find('/') != std::string::npos || DataFileExtension.empty())) return name;
  return name + "." + DataFileExtension;
}

std::string DesignFilePath(const std::string& directory, const std::string& name) {
  const std::string file = DesignFileName(name);
  return !file.empty() && file.front() == '/' ? file : AddBackslash(directory) + file;
}

std::string TextAfterDot(const std::string& text) {
  const auto dot = text.find('.');
  return dot == std::string::npos ? std::string() : text.substr(dot + 1);
}

bool FileCanOpen(const std::string& name) {
  std::error_code ec;
  return platform::Files().OpenRead(name, ec) != nullptr;
}

void DeleteFileQuiet(const std::string& name) {
  if (!FileCanOpen(name)) return;
  std::error_code ec;
  platform::Files().Remove(name, ec);
}

void DeleteFiles(const std::string& directory, const std::string& mask) {
  bool listed = false;
  const std::string dir = AddBackslash(directory);
  for (const std::string& name : MatchingFiles(directory, mask, listed)) {
    std::error_code ec;
    platform::Files().Remove(dir + name, ec);
  }
}

std::string TemporaryDirectory() {
  if (!TrimBlanks(TempDirectory).empty()) return AddBackslash(TempDirectory);
  // The system's as it is named: a TMPDIR may end in a blank.
  const std::string system = platform::SystemTempDirectory();
  return system.back() == '/' ? system : system + "/";
}

std::string NewTemporaryFile(const std::string& prefix, const std::string& suffix) {
  std::error_code ec;
  const std::string path = platform::CreateUniqueFile(RemoveBackslash(TemporaryDirectory()), prefix, suffix, ec);
  if (path.empty())
    NoteFileFailure(TemporaryDirectory() + prefix + "*" + suffix, ec ? ec : std::make_error_code(std::errc::io_error));
  return path;
}

bool DirectoryWritable(const std::string& directory) {
  // A unique name, removed again: an existing file of the directory is never
  // touched by the test.
  std::error_code ec;
  std::string dir = RemoveBackslash(directory);
  if (dir.empty()) dir = ".";
  if (!fs::is_directory(dir, ec)) return false;
  return platform::CanCreateFileIn(dir, ec);
}

bool DirectoryReachable(const std::string& directory) {
  const std::string dir = RemoveBackslash(directory);
  std::error_code ec;
  if (dir.empty() || !fs::is_directory(dir, ec)) return false;
#if defined(__unix__) || defined(__APPLE__)
  return ::access(dir.c_str(), X_OK) == 0;
#else
  return true;
#endif
}

bool DirectoryHasEntries(const std::string& directory) {
  std::error_code ec;
  const std::string dir = RemoveBackslash(directory);
  fs::directory_iterator it(dir.empty() ? fs::path(".") : fs::path(dir), ec);
  return !ec && it != fs::directory_iterator();
}

bool DirectoryListable(const std::string& directory) {
  std::error_code ec;
  const std::string dir = RemoveBackslash(directory);
  fs::directory_iterator it(dir.empty() ? fs::path(".") : fs::path(dir), ec);
  return !ec;
}

bool CopyFileTo(const std::string& source, const std::string& destination, std::error_code& ec) {
  std::string target = fs::absolute(destination, ec).string();
  if (ec) target = destination;
  if (fs::is_directory(target, ec)) target = AddBackslash(target) + FileNamePart(source);
  ec.clear();
  return CopyBytes(source, target, ec);
}

bool CopyFileTo(const std::string& source, const std::string& destination) {
  std::error_code ec;
  return CopyFileTo(source, destination, ec);
}

void CopyFileBinary(const std::string& source, const std::string& destination) {
  std::error_code ec;
  if (!CopyBytes(source, destination, ec)) AbortFlag = 1;
}

bool CopyFileIntoDirOf(const std::string& source, const std::string& target) {
  if (!FileCanOpen(source)) return false;
  return CopyFileTo(source, AddBackslash(FileDirPart(target)));
}

void CopyMatchingFiles(const std::string& mask, const std::string& sourceDir, const std::string& destDir) {
  const std::string from = AddBackslash2(sourceDir);
  const std::string to = AddBackslash2(destDir);
  bool listed = false;
  const std::vector<std::string> names = MatchingFiles(sourceDir, mask, listed);
  if (names.empty()) {
    AbortFlag = 1;
    return;
  }
  AbortFlag = 0;
  for (const std::string& name : names)
    if (!CopyFileTo(from + name, to + name)) AbortFlag = 1;
}

void CopyTextFileConverted(const std::string& source, const std::string& destination) {
  TextFile in, out;
  in.Assign(source);
  out.Assign(destination);
  std::error_code ec;
  if (!in.Reset(ec) || !out.Rewrite(ec)) {
    AbortFlag = 1;
    return;  // the destructors close (and discard) what was opened
  }
  std::string line;
  while (!in.Eof()) {
    if (!in.ReadLine(line) || !out.Write(OemToDisplayText(line) + "\r\n")) {
      AbortFlag = 1;
      out.Discard();
      return;
    }
  }
  in.Close(ec);
  if (!out.Close(ec)) AbortFlag = 1;
}

bool HasAttr(const std::string& name, int mask) {
  std::error_code ec;
  const fs::file_status status = fs::status(name, ec);
  if (ec || !fs::exists(status)) return false;
  int attributes = 0;
  if (fs::is_directory(status)) attributes |= AttrDirectory;
  if (fs::is_regular_file(status)) attributes |= AttrArchive;
  const std::string base = FileNamePart(RemoveBackslash(name));
  if (!base.empty() && base.front() == '.' && base != "." && base != "..") attributes |= AttrHidden;
#if defined(__unix__) || defined(__APPLE__)
  if (::access(name.c_str(), W_OK) != 0) attributes |= AttrReadOnly;
#endif
  return (attributes & mask) == mask;
}

void TrimInPlace(std::string& text) { text = TrimBlanks(text); }

std::string ShortenText(const std::string& text, int n) {
  if (n < 0 || text.size() <= static_cast<std::size_t>(n)) return text;
  const int m = std::max(n / 2 - 3, 0);
  const std::size_t tail = static_cast<std::size_t>(m + 1);
  return text.substr(0, static_cast<std::size_t>(m)) + " ... " + text.substr(text.size() - tail);
}

bool MatchesFileMask(const std::string& name, const std::string& mask) {
  // "*.*" is the habitual "every file", also for names without a dot.
  if (mask == "*.*") return true;
  return MaskMatch(name.c_str(), mask.c_str());
}

}  // namespace common
