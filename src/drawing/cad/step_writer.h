// The STEP device (7): the drawing as an ISO 10303-21 exchange file of the
// automotive design schema (AP214), its entities composed by the program
// itself (step_entities.h) and written when the output closes.
//
// The closed outlines of each body (CadBeginBody .. CadEndBody: a gear with
// its bore, the carrier plate, the rack) bound its material, which becomes
// one solid extruded between the drawing's two heights (SetStlHeights: the
// face width), as the STL device builds it; a closed outline inside another
// one is a hole, one inside a hole material again; its arcs stay arcs of
// their circles. Every other line, circle and arc of the picture is a planar
// edge at height 0 (pitch curves, the pair, the diagrams); outlines of a
// body that close nothing join them. Between the corners of an outline a
// straight stretch is a line, a smooth one a few smooth curves
// (step_smooth_runs.h) that keep to it as closely as the module of the
// body's teeth asks, in a solid the side over each a plane or a
// B-spline surface; the caps are cut into sectors (step_geometry.h), which
// meet on a gear's axis when it has no bore; each
// run of edges outside the solids is one chain. A body that makes no one solid
// (a face width below 0.0001 mm, material in pieces side by side, an
// outline that crosses itself) is refused, with the reason, and no file is
// written. Texts write nothing. Blocks are recorded and replayed as on the
// screen.
//
// The outlines' edges and solids are made in step_geometry.cpp (the cuts
// of the caps are chosen in step_cap_sectors.cpp).
#pragma once

#include <string>

namespace drawing {

// The texts of the file's header: the file's name, the moment it is written
// (ISO 8601 date and time in UTC with its "Z", from the program's clock, so
// that SOURCE_DATE_EPOCH fixes it), and the program's own names.
struct TStepHeader {
  std::string FileName;
  std::string TimeStamp;
  std::string Description = "KALDRIM";
  std::string Author = "Joris";
  std::string Organisation;
  std::string PreprocessorVersion = "KALDRIM";
  std::string OriginatingSystem = "KALDRIM";
  std::string Authorisation;
};

// The header of the current output (CadSettings.CadFileName, now).
TStepHeader StepHeader();

}  // namespace drawing
