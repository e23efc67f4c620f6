// The door of the index layer: IndexInit installs it into the work-area
// engine's IndexHooks; the commands open and close index files in the 16
// slots of the current work area, choose the controlling index (the order),
// rebuild the open indexes and create new ones. Index file names may end
// with the option words UNIQUE, SOUNDEX, DESCENDING and NOCACHE.
#pragma once

#include <string>

#include "dbase/index/index_control.h"

namespace dbase {

// Makes every build UNIQUE (default off).
extern bool UniqueDefault;

// Installs the index layer (once; later calls only count) and removes it
// when the last user ends.
void IndexInit();
void IndexDone();

bool SetIndexTo(const std::string& nameWithOptions, int slot, KeyMakerProc keyMaker = nullptr,
                void* userData = nullptr);
// Opens an index file whose name may hold blanks into a slot: the name is
// taken as it is, no option words read from its end.
bool SetIndexToLFN(const std::string& fileName, int slot);
bool SetIndexToOrdered(const std::string& nameWithOptions, int slot);
bool SetIndexToCBOrdered(const std::string& nameWithOptions, int slot, KeyMakerProc keyMaker, void* userData);
// Opens the blank-separated names into slots 1, 2, ... and orders by the first.
void Set_Index_To(const std::string& names);
// 0: natural order; 1..16: the index opened as that number.
void Set_Order_To(int order);
int CurrentOrder();
// Rebuilds every open index, keeping its options and the order.
void Reindex();
// Builds an index file and opens it as the controlling index.
void Index_On(const std::string& expression, const std::string& nameWithOptions);
void IndexOn(const std::string& nameWithOptions, KeyMakerProc keyMaker, void* userData);

// The display text of the current record's key in a slot; "Rec:" and the
// record number in natural order.
std::string IndexKeyText(int slot);
std::string NaturalKeyText();
// Whether a slot's index is ascending, and whether it is a SOUNDEX one.
bool IndexAscending(int slot);
bool IndexIsSoundex(int slot);

}  // namespace dbase
