// The DXF reader: replays a DXF file through the primitives of the drawing
// interface (cad_output.h) on the current device, every coordinate mapped
// through the insert transform in force. The screen and the STL device
// replay their recorded blocks with it (cad_blocks.h), and logos and
// title-block parts are DXF files placed in the temporary directory. Files
// written by this program and by other programs are read: the HEADER,
// TABLES and other sections are passed over, blocks defined in the file's
// BLOCKS section are inserted from there, other names from their part files.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "common/real.h"
#include "drawing/cad/insert_transform.h"

namespace drawing {

// The most vertices of one polyline.
inline constexpr long MaxDxfVertices = 100000;
// The most figures (entities, block inserts and polyline vertices) one
// replay draws, its nested inserts included: blocks that insert blocks
// multiply, so that a file of a few kilobytes could ask for millions. The
// replay stops there with a message that names the file.
inline constexpr long MaxReplayFigures = 500000;


// Replays the part file "$" + name + ".dx$" of the temporary directory
// inserted at (x, y) with the angle and scales, relative to the transform in
// force; a block that the screen recorded in memory (recorded_blocks.h) is
// replayed from there instead. A file that cannot be opened adds "Invalid
// temp directory" to the message list; a malformed or truncated file, too
// many vertices, too many figures and a fifth nesting level show a message;
// each sets AbortFlag and ends the replay. Each file is read once a replay,
// however often it is inserted.
void ReadDxfFile(int flag, const std::string& name, Real x, Real y, Real angle, Real sx, Real sy);

// Replays the DXF file at path (any name) at its own coordinates, as
// ReplayBlockFile does with a part file; a file that cannot be opened sets
// AbortFlag.
void ReplayDxfFile(const std::string& path);

// The kinds of entity the last replay did not draw (each one is also said
// in the message list, "Error  : DXF: " + kind), with how many of each,
// those of nested inserts included.
const std::map<std::string, long>& DxfEntitiesLeftOut();

// A block insert on a device that replays blocks: the transform reset to
// identity and the nesting to 0, then ReadDxfFile.
void ReplayBlockFile(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy);

}  // namespace drawing
