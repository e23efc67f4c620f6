// The IGES writer (device 2): the drawing as an IGES file of fixed 80-column
// records. The Start (S), Global (G) and Directory Entry (D) records go
// straight into the output file on SharedTextFile as they arise; the
// Parameter Data (P) records of the entities go to a work file in the
// temporary directory and are appended by IgesAssembleFile, followed by the
// Terminate (T) record. Every entity takes two D records and one or more P
// records. Blocks become subfigure definitions (308) and their placements
// subfigure instances (408), with a transformation matrix (124) when turned.
// Coordinates are written with the DXF writer's decimals and a point; texts
// in the CAD files' character set (common/code_page.h).
#pragma once

#include <string>
#include <vector>

#include "common/real.h"
#include "common/text_file.h"

namespace drawing {

// The writer state of one file (reset by IgesReset).
struct TIgesState {
  int RecordsS = 0, RecordsG = 0, RecordsD = 0, RecordsP = 0, RecordsT = 0;
  int IgesParamLine = 1;    // P sequence number where the next entity's parameters begin
  int IgesEntityLines = 0;  // P records of the current entity
  int IgesCurrentDE = -1;   // D sequence number of the current entity
  int IgesColour = 0;       // colour number of the current pen (level and colour fields)
  int IgesLineFont = 1;     // 1 solid, 2 dashed, 4 centre line
  bool IgesInBlock = false; // inside a subfigure definition
  bool HeadWritten = false; // the S and G records are in the file
  // The members (D pointers) of the open subfigure definition.
  std::vector<int> Members;
  // The defined blocks: name and D pointer of their 308 entity.
  struct Block {
    std::string name;
    int dePointer = 0;
  };
  std::vector<Block> Blocks;
};

extern TIgesState IgesState;

// Columns 1..72 of a record: the text, blanks, the right-aligned field
// ending in column 72; then the letter in column 73 and the 7-digit
// sequence number. The counter of the letter grows by one first; letters
// other than S, G, D, P, T give an empty record and count nothing.
std::string IgesRecord(const std::string& text, const std::string& field, char letter);
void IgesWriteRecord(common::TextFile& file, const std::string& text, const std::string& field, char letter);

// Length + "H" + text ("4HFILE"), a control character of it as a blank.
std::string Hollerith(const std::string& text);
// A coordinate or length: the decimals of the DXF writer (DxfRealText), so
// that no outline the DXF file keeps simple crosses itself here by rounding.
std::string IgesNumber(Real value);

// Every counter and table to its start value.
void IgesReset();
// Creates the parameter work file, a new file of its own named
// "KALDIGES" + a random part + ".$$$" in the temporary directory.
void IgesBegin();
// IgesReset, then the S and G records.
void IgesWriteStartGlobal(const std::string& fileName, Real maxCoordinate);
// The parameter text as P records of at most 64 characters, broken after
// commas (a Hollerith string is broken only where its record is full), each
// with the D pointer as right field; each record counts one line of the
// current entity.
void IgesWriteParam(const std::string& text, int dePointer);

// Entities.
void IgesLine(Real x1, Real y1, Real x2, Real y2);
// Counter-clockwise from the start to the end point; start = end is a full
// circle.
void IgesArc(Real xc, Real yc, Real xs, Real ys, Real xe, Real ye);
void IgesCircle(Real xc, Real yc, Real r);
// The filled quadrilateral of a SOLID (corners 1, 2, 4, 3) as a closed 2-D
// path.
void IgesPolyline(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
// A general note with the size and angle of the drawing state.
void IgesNote(const std::string& text, Real x, Real y);
void IgesBeginSubfigure(const std::string& name);
void IgesSubfigureDef();
// A block that was never defined gives the message "Blockname <name> not
// found !" and no entity.
void IgesSubfigureInstance(const std::string& name, Real x, Real y, Real angle, Real scale);
void IgesSetColour(int pen);
// The D pointer of the block's 308 entity; 0 when it is not defined.
int IgesFindBlock(const std::string& name);
// Appends the parameter records and the T record and closes the output.
void IgesAssembleFile();
// Lets the parameter work file of a refused output go.
void IgesAbandon();

}  // namespace drawing
