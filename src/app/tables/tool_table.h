// The tool table "v1toolx.dbf": reference-rack profiles of gear-cutting
// tools, opened from the Database menu in the table window for browsing
// and editing. Its fields, in this order: 1 hfP0/mn, 2 haP0/mn,
// 3 rhoaP0/mn, 4 al.kP0 (chamfer pressure angle), 5 hFfP0/mn (depth of
// chamfer), 6 al.prP0 (protuberance angle), 7 prP0/mn (protuberance),
// 8 rhofP0/mn (root fillet radius), 9 alpha (pressure angle), 10 the
// module of the tool (0 = any), all numeric; 11 to 15 texts, 15 the profile
// name ("Normal", "Protub."). The tool dialog edits the coefficients of the
// design itself; the table is reached through the procedural table layer
// (dbase/table/table_layer.h).
#pragma once

#include <string>

namespace app {

inline constexpr const char* ToolTableName = "v1toolx.dbf";

// The tool table as the table layer opens it: the table directory (the
// temporary one while tables are copied there) and the file name.
std::string ToolTablePath();

// The Database menu's tool table: checks that the table can be read (else
// its message, AbortFlag, and no window), shows it for browsing and editing
// and closes it. AbortFlag ends set in every case, so that the menu runs no
// calculation afterwards.
void SelectToolProfile();

}  // namespace app
