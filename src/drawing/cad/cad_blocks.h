// The frame of calls in which every picture is written, with the drawing
// head per device, the block definitions and the logos:
//
//   CadOpenOutput(device);              // cad_output.h
//   CadDrawingFrame(x1, y1, x2, y2, h); // or CadDefaultFrame()
//   CadBeginTables(0);
//   CadBeginBlocksSection();            // optional:
//     CadBeginBlock("GEAR1"); ...primitives...; CadEndBlock();
//   CadEndSection();
//   CadInsertLogos();                   // opens the entity part
//   ...primitives, CadInsertBlock("GEAR1", ...)...
//   CadEndSection();
//   CadCloseOutput();
//
// File devices write real block definitions. The STL device records each
// block as a DXF part file "$" + name + ".dx$" in the temporary directory
// and replays it through the DXF reader (dxf_reader.h) at every insert; the
// screen records its blocks in memory and replays them the same way
// (recorded_blocks.h).
#pragma once

#include <string>

#include "common/real.h"
#include "drawing/cad/cad_device.h"

namespace drawing {

// Stores the drawing area and writes the head of the output. height > 0:
// the STL extrusion height (asked for on the STL device unless in
// command-line output).
void CadDrawingFrame(Real x1, Real y1, Real x2, Real y2, Real height);
void CadDefaultFrame();
// mode 0: named layers; 1: layers "0".."15"; 2: named layers and "16".."31".
void CadBeginTables(int mode);
void CadBeginBlocksSection();
void CadBeginBlock(const std::string& name);
void CadEndBlock();
void CadEndSection();
// Opens the entity part and places the logos "$LOGO_2.dx$" and "$LOGO_3.dx$"
// of the temporary directory (screen and plot utility only, never on a
// framed drawing sheet).
void CadInsertLogos();

// Whether a part file (a name like "$logo_1.dx$") is in the temporary
// directory, whatever the case of its name there.
bool PartFileExists(const std::string& fileName);
// The full name of a block's part file in the temporary directory.
std::string BlockFileName(const std::string& name);
// The back end that receives the primitives of a block being recorded: the
// recorder of a block kept in memory, the part-file writer while a part
// file is open, else one that draws nothing.
CadBackEnd& CadBlockFileTarget();
// Deletes the part files that this run recorded (screen close, program
// exit); part files placed by the user (logos, title-block parts) stay.
void DeleteRecordedBlockFiles();

}  // namespace drawing
