// MakeIndex: writes a complete index file for the table of the current work
// area in one pass: every record is read once in large blocks, its key
// produced (by the key expression or the caller's key maker), the (key,
// record number) entries sorted (index_sort.h) and the tree written bottom
// up (index_tree_writer.h) into a scratch file, which takes the index file's
// place only when the build succeeded. The file is left closed; OpenIndex
// opens it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "dbase/index/index_control.h"

namespace dbase {

struct MakeIndexOptions {
  bool unique = false;
  bool soundex = false;
  bool descending = false;
  int slot = 1;
};

// Builds fileName (default extension "ndx") from an expression text, or, when
// the text is empty, from the key maker.
bool MakeIndex(const std::string& fileName, const std::string& expression, KeyMakerProc keyMaker, void* userData,
               const MakeIndexOptions& options);

// A progress procedure called exactly steps times during each build.
void SetProgress(std::function<void()> procedure, int steps);
// Whether a build is running.
extern bool IndexBuildRunning;

// Reads records 1..count of the area's table in file order, in large
// blocks straight from the file (a virtual file record by record), and
// calls visit with each record's number while the work area holds it (the
// record bytes, and the native buffer for key makers). Stops at a read
// error, reported with the operation's tag, or when visit answers false;
// true when every record was visited.
bool ForEachRecordInFileOrder(const IND& ind, WorkArea& area, std::int64_t count, const std::string& operation,
                              const std::function<bool(std::int64_t record)>& visit);

// True when the drive of the file has room for the run file and the nodes.
bool CheckIndexDiskSpace(const std::string& fileName, std::int64_t recordCount, int levels, int keysPerNode,
                         std::size_t sortEntrySize);

}  // namespace dbase
