// Opening and closing index files: OpenIndex checks the file and its anchor,
// compiles the key expression (or accepts the caller's key maker), fills the
// IND of a slot of the current work area and positions the controlling
// index; CloseIndex writes a changed anchor back and frees the slot.
#pragma once

#include <string>

#include "dbase/index/index_control.h"

namespace dbase {

// How the keys of a key maker's text are formed (an expression index has its
// own functions for both and ignores them), and whether the controlling
// index goes without a node cache.
struct OpenIndexOptions {
  bool soundex = false;
  bool descending = false;
  bool noCache = false;
};

// Opens an index file into a slot (1..16) of the current work area; a key
// maker (with its user data and options) for indexes built by one, else none.
bool OpenIndex(const std::string& fileName, int slot, KeyMakerProc keyMaker = nullptr, void* userData = nullptr,
               const OpenIndexOptions& options = {});
// Closes a slot of the current work area; other numbers and empty slots are
// ignored.
void CloseIndex(int slot);
// Closes every slot of the current work area without reporting errors.
void CloseAllIndexes();
// Writes back and forgets the cached nodes of the current area (when its
// order changes).
void EmptyNodeCache();

}  // namespace dbase
