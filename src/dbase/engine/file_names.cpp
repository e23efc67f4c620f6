// Path splitting, extensions and full paths.
#include "dbase/engine/file_names.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "common/file_utils.h"

namespace dbase {

namespace {

std::string LowerAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Position of the extension's '.', npos when the last component has none.
std::size_t ExtensionDot(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos) return std::string::npos;
  if (slash != std::string::npos && dot < slash) return std::string::npos;
  return dot;
}

std::string RightTrim(const std::string& text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

}  // namespace

void SplitPath(const std::string& path, std::string& directory, std::string& name, std::string& extension) {
  const std::size_t slash = path.find_last_of('/');
  directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = file.find_last_of('.');
  if (dot == std::string::npos) {
    name = file;
    extension.clear();
  } else {
    name = file.substr(0, dot);
    extension = file.substr(dot);
  }
}

bool HasExtension(const std::string& path) { return ExtensionDot(path) != std::string::npos; }

std::string AddDefaultExt(const std::string& name, const std::string& extension) {
  const std::string trimmed = RightTrim(name);
  if (HasExtension(trimmed)) return trimmed;
  return trimmed + "." + extension;
}

std::string RemoveExt(const std::string& name) {
  const std::size_t dot = ExtensionDot(name);
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string ChangeExt(const std::string& name, const std::string& extension) {
  return RemoveExt(name) + "." + extension;
}

std::string ExpandPath(const std::string& name) {
  if (name.empty()) return name;
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(name, ec);
  if (ec) return name;
  return full.lexically_normal().generic_string();
}

std::string ExistingOrNewName(const std::string& name, const std::string& extension, bool keepOwn) {
  const std::string trimmed = RightTrim(name);
  if (keepOwn && HasExtension(trimmed)) return trimmed;
  const std::string base = RemoveExt(trimmed);
  const std::string exact = base + "." + extension;
  std::error_code ec;
  if (std::filesystem::exists(exact, ec)) return exact;
  const std::size_t slash = base.find_last_of('/');
  const std::string dir = slash == std::string::npos ? std::string(".") : base.substr(0, slash + 1);
  const std::string stem = slash == std::string::npos ? base : base.substr(slash + 1);
  const std::string wanted = LowerAscii(extension);
  for (std::filesystem::directory_iterator it(dir.empty() ? "/" : dir, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (file.size() != stem.size() + 1 + extension.size()) continue;
    if (file.compare(0, stem.size(), stem) != 0 || file[stem.size()] != '.') continue;
    if (LowerAscii(file.substr(stem.size() + 1)) != wanted) continue;
    return base + "." + file.substr(stem.size() + 1);
  }
  return base + "." + wanted;
}

bool GetFileDateTime(const std::string& name, int& year, int& month, int& day, int& hour, int& minute,
                     int& second) {
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) return false;
  std::tm local{};
  localtime_r(&info.st_mtime, &local);
  year = local.tm_year + 1900;
  month = local.tm_mon + 1;
  day = local.tm_mday;
  hour = local.tm_hour;
  minute = local.tm_min;
  second = local.tm_sec;
  return true;
}

int LastFindResult = 0;

namespace {

constexpr int kNoMoreFiles = 18;
constexpr int kPathNotFound = 3;

}  // namespace

int TzFindFirst(const std::string& mask, bool withDirectories, SearchRecord& record) {
  std::string dir, name, ext;
  SplitPath(mask, dir, name, ext);
  const std::string pattern = name + ext;
  auto matches = std::make_shared<std::vector<SearchRecord>>();
  std::error_code ec;
  std::filesystem::directory_iterator it(dir.empty() ? "." : dir, ec);
  if (ec) {
    record = SearchRecord{};
    return LastFindResult = kPathNotFound;
  }
  for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) break;
    const bool isDirectory = it->is_directory(ec);
    if (isDirectory && !withDirectories) continue;
    const std::string file = it->path().filename().string();
    if (!common::MatchesFileMask(file, pattern)) continue;
    SearchRecord found;
    found.name = file;
    found.directory = isDirectory;
    found.size = isDirectory ? 0 : static_cast<std::int64_t>(it->file_size(ec));
    matches->push_back(found);
  }
  // Reverse order, so that the next match is taken from the back.
  std::reverse(matches->begin(), matches->end());
  record.pending = matches;
  return TzFindNext(record);
}

int TzFindNext(SearchRecord& record) {
  if (!record.pending || record.pending->empty()) return LastFindResult = kNoMoreFiles;
  const SearchRecord next = record.pending->back();
  record.pending->pop_back();
  record.name = next.name;
  record.size = next.size;
  record.directory = next.directory;
  return LastFindResult = 0;
}

void TzFindClose(SearchRecord& record) { record.pending.reset(); }

}  // namespace dbase
