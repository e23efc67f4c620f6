// The pitch curve of gear 1 taken from a DXF file (File, "Import DXF"): the
// lines, arcs, circles and polylines of the file give the points of the
// polyline curve, in order of their angle around the origin.
#pragma once

#include <string>

namespace app {

// Asks for the file and imports it. Only a usable file changes the design:
// PolylinePoints, PolylineCount and linear interpolation; the caller then
// switches the curve type. Cancel, a file that cannot be read and a file
// without a curve around the origin set AbortFlag (the latter two with a
// message that names the entities carrying geometry the reader left out).
// A file whose curve came without some of its entities (an ELLIPSE, a
// SPLINE) is taken only when the user says so to a question that names
// them. The reader's texts ("Error  : DXF: ELLIPSE") stay in the message
// list as the import's answer.
void ImportPitchCurveDxf();

// The import of the file at path, without the file dialog.
void ImportPitchCurveFile(const std::string& path);

}  // namespace app
