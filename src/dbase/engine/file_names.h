// File names of the table engine: splitting a path, default and changed
// extensions, full paths. Names keep their case; where the engine itself
// adds or changes an extension (ExistingOrNewName), an existing file is found
// whatever the case of its extension, and a new file gets the extension in
// lower case. Paths use '/' as separator.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dbase {

// Directory with its trailing '/' (empty when none), the name without
// extension, the extension with its '.' (empty when none). Names are not cut.
void SplitPath(const std::string& path, std::string& directory, std::string& name, std::string& extension);
// Whether the last component of the path has an extension.
bool HasExtension(const std::string& path);
// The name right-trimmed; "." and the extension added when it has none.
std::string AddDefaultExt(const std::string& name, const std::string& extension);
// The name with its extension replaced (or added).
std::string ChangeExt(const std::string& name, const std::string& extension);
// The name without its extension.
std::string RemoveExt(const std::string& name);
// The full path of a name (relative names against the current directory).
std::string ExpandPath(const std::string& name);
// The file a default or changed extension names: the path with the
// extension (the caller's own extension kept when the name has one and
// keepOwn is set); an existing file whose extension differs only in case is
// found; otherwise the extension is lower case.
std::string ExistingOrNewName(const std::string& name, const std::string& extension, bool keepOwn);
// The date and time of a file's last change (local time); false when the
// file cannot be examined.
bool GetFileDateTime(const std::string& name, int& year, int& month, int& day, int& hour, int& minute,
                     int& second);

// File search by mask ('*', '?', any letter case) in one directory, keeping
// the last result code (0 found, 18 no more files, 3 path not found).
struct SearchRecord {
  std::string name;  // the file name without directory
  std::int64_t size = 0;
  bool directory = false;
  // The matches still to hand out.
  std::shared_ptr<std::vector<SearchRecord>> pending;
};
extern int LastFindResult;
// Directories are listed only when withDirectories is set.
int TzFindFirst(const std::string& mask, bool withDirectories, SearchRecord& record);
int TzFindNext(SearchRecord& record);
void TzFindClose(SearchRecord& record);

}  // namespace dbase
