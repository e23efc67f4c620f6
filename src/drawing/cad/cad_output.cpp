// The drawing interface: output, primitives and state setters; see
// cad_output.h. Polylines and chords are in cad_polyline.cpp, the drawing
// head and blocks in cad_blocks.cpp.
#include "drawing/cad/cad_output.h"

#include <charconv>
#include <cmath>

#include "common/cad_settings.h"
#include "common/design_documentation.h"
#include "common/file_checks.h"
#include "common/file_dialogs.h"
#include "common/file_utils.h"
#include "common/graphics_settings.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"
#include "common/small_dialogs.h"
#include "common/text_file.h"
#include "common/text_utils.h"
#include "drawing/cad/cad_blocks.h"
#include "drawing/cad/cad_state.h"
#include "drawing/cad/dxf_reader.h"
#include "platform/clock.h"
#include "platform/user_dialogs.h"

namespace drawing {

using common::AbortFlag;
using common::CadSettings;

namespace {

// Names the output file of a file device: by the save dialog, or after the
// data file in command-line output. False (AbortFlag set) when there is none.
bool NameOutputFile(const std::string& ext) {
  if (common::CadBatchNaming) {
    CadSettings.CadFileName = common::DesignOutputName(common::BareDesignName(common::CurrentFileName), ext);
    return true;
  }
  platform::FileNameRequest request;
  request.directory = common::AddBackslash(common::CadDirectory);
  // Offered with its extension, so that the dots of the design's own name
  // are not taken for one.
  request.fileName = common::DesignOutputName(common::BareDesignName(common::CurrentFileName), ext);
  request.filter = "*." + ext + "|*." + ext + "|*.*|*.*";
  request.extension = ext;
  // The name typed is the file written, with the format's extension added
  // unless it ends in it: "pumpB.v3" writes "pumpB.v3.dxf", never
  // "pumpB.dxf" of another design, and "gear.DXF" writes "gear.DXF". An
  // existing file is asked about first.
  const auto chosen = common::AskOutputFile(request);
  platform::Dialogs().SetBusyCursor(false);
  if (!chosen) {
    AbortFlag = 1;
    CadSettings.CadFileName.clear();
    return false;
  }
  CadSettings.CadFileName = *chosen;
  return true;
}

std::function<void(const std::string&)>& OutputOpener() {
  static std::function<void(const std::string&)> opener;
  return opener;
}

// Set when the output of the current picture was refused, and why.
bool OutputRefused = false;
std::string RefusalMessage;
// Where the answer of the output in progress begins: what was said before
// answered an earlier request.
std::uint64_t OutputAnswerMark = 0;

std::string ValueText(Real value) {
  if (std::isnan(value)) return "undefined";
  if (std::isinf(value)) return value > 0 ? "infinite" : "-infinite";
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return error == std::errc() ? std::string(buffer, end) : std::string("?");
}

}  // namespace

// ---- Refused output -------------------------------------------------------------

void RefuseCadOutput(const std::string& message) {
  AbortFlag = 1;
  if (OutputRefused) return;
  OutputRefused = true;
  RefusalMessage = message;
  common::ShowError(message);
}

bool CadOutputRefused() { return OutputRefused; }

const std::string& CadRefusalMessage() { return RefusalMessage; }

bool CadValuesWritable(std::initializer_list<Real> values) {
  if (OutputRefused) return false;
  const Real limit = CurrentCadBackEnd().CoordinateLimit();
  for (const Real v : values) {
    if (std::fabs(v) <= limit) continue;
    const std::string target = CurrentCadBackEnd().FileExtension().empty()
                                   ? std::string("drawing stopped")
                                   : CadSettings.CadFileName + " not written";
    RefuseCadOutput("Coordinate " + ValueText(v) + " out of range: " + target);
    return false;
  }
  return true;
}

void RefuseSolidOutput(const std::string& message) {
  common::ShowError(message);
  common::AddErrorMessage("Error  : " + message);
  AbortFlag = 1;
}

std::string TooThinForSolidText(const std::string& format) {
  return "face width below 0.0001 mm, too thin for a solid; no " + format + " file written";
}

std::string TooLowForSolidText(const std::string& format, Real height) {
  return "height " + ValueText(height) + " mm below 0.0001 mm, too thin for a solid; no " + format + " file written";
}

bool RefusedAsTooThin(const std::string& format) {
  // Far below any face width a part is made with, far above the rounding
  // of the heights a file holds. The heights as the settings hold them,
  // for every format alike: a face width of 0.0001 mm itself is a solid,
  // whatever type a writer keeps its heights in, and the margin keeps one
  // that a unit conversion left a rounding step short of it.
  constexpr Real least = 1e-4L;
  const Real height = std::fabs(CadSettings.StlHeights[2] - CadSettings.StlHeights[1]);
  if (height >= least * (1 - 1e-9L)) return false;
  // The height the user entered is named, or else the face width it is.
  if (CadDrawing.SolidHeightTyped)
    RefuseSolidOutput(TooLowForSolidText(format, height));
  else
    RefuseSolidOutput(TooThinForSolidText(format));
  return true;
}

// ---- Output ----------------------------------------------------------------------

CadBackEnd& CadTarget() {
  CadBackEnd& device = CurrentCadBackEnd();
  if (CadDrawing.CadBlockRecording && device.RecordsBlocksAsFiles()) return CadBlockFileTarget();
  return device;
}

void OpenCadOutputWithProgram(const std::string& fileName) {
  if (OutputOpener()) OutputOpener()(fileName);
}

void SetCadOutputOpener(std::function<void(const std::string&)> opener) { OutputOpener() = std::move(opener); }

void OpenCadOutputFile() {
  // An output left open by a picture that stopped is abandoned, not put in
  // place of its file.
  if (common::SharedTextFile.CurrentMode() == common::TextFile::Mode::Writing) common::SharedTextFile.Discard();
  common::SharedTextFile.Assign(CadSettings.CadFileName);
  common::RewriteFileChecked(common::SharedTextFile);
}

void CadOpenOutput(CadDeviceCode code) {
  OutputAnswerMark = common::AnswerMark();
  OutputRefused = false;
  RefusalMessage.clear();
  CadRequestedDevice = code;
  CadSetOrigin(0, 0);
  CadDrawing.DrawingSheetFormat = 0;
  CadDrawing.SheetFrameDrawn = 0;
  CadDrawing.SolidHeightTyped = 0;
  if (code != CadAskDevice) {
    SetCadDevice(code);
  } else {
    SelectCadDevice();
  }
  if (AbortFlag) return;
  CadBackEnd& device = CurrentCadBackEnd();
  const std::string ext = device.FileExtension();
  if (!ext.empty() && !NameOutputFile(ext)) return;
  if (device.WritesTimeStamp()) {
    // No file with a made-up moment: the setting meant to fix it is wrong.
    if (const std::string problem = platform::SourceDateEpochProblem(); !problem.empty()) {
      RefuseCadOutput(problem + ": " + CadSettings.CadFileName + " not written");
      return;
    }
  }
  device.Open();
  if (AbortFlag) {
    // An output that could not begin (its work file in the temporary
    // directory, say) leaves nothing: no unfinished file beside the
    // design until the program ends, and the previous file as it was.
    if (common::SharedTextFile.CurrentMode() == common::TextFile::Mode::Writing) common::SharedTextFile.Discard();
    device.Abandon();
    return;
  }
  CadDrawing.CadBlockRecording = 0;
  SetCadTextAlign(0, 0);
  SetCadLineSpacing(1);
  SetScreenPenStyle(0);
  SetCadScale(1);
  SetCadLineMode(0);
}

void CadCloseOutput() {
  CadBackEnd& device = CurrentCadBackEnd();
  if (OutputRefused) {
    // Neither the output file nor a block file being recorded is put in
    // place; the flag stays set for the caller, whatever cleared it since.
    if (common::SharedTextFile.CurrentMode() == common::TextFile::Mode::Writing) common::SharedTextFile.Discard();
    device.Abandon();
    AbortFlag = 1;
  } else {
    device.Close();
  }
  // The output is answered, written or refused: an earlier refusal is no
  // longer the answer the user last had.
  common::RetireAnswersBefore(OutputAnswerMark);
  CadDrawing.CadBlockRecording = 0;
  if (AbortFlag == 0 && CadSettings.CadOpenAfterOutput && device.OpensAfterOutput() &&
      common::CommandLineParamCount() < 2)
    OpenCadOutputWithProgram(CadSettings.CadFileName);
}

// ---- Primitives --------------------------------------------------------------------

void CadLine(Real x1, Real y1, Real x2, Real y2) {
  const Real ox = CadDrawing.CadOriginX, oy = CadDrawing.CadOriginY;
  x1 += ox;
  y1 += oy;
  x2 += ox;
  y2 += oy;
  if (!CadValuesWritable({x1, y1, x2, y2})) return;
  CadTarget().Line(x1, y1, x2, y2);
}

void CadCircle(Real x, Real y, Real r) {
  x += CadDrawing.CadOriginX;
  y += CadDrawing.CadOriginY;
  if (!CadValuesWritable({x, y, r})) return;
  CadTarget().Circle(x, y, r);
}

void CadCircleAtOrigin(Real x, Real y, Real r) { CadCircle(x, y, r); }

void CadArc(Real x, Real y, Real startAngle, Real endAngle, Real r, Real sweep) {
  if (r == 0) return;
  x += CadDrawing.CadOriginX;
  y += CadDrawing.CadOriginY;
  if (!CadValuesWritable({x, y, r, startAngle, endAngle, sweep})) return;
  CadTarget().Arc(x, y, startAngle, endAngle, r, sweep);
}

void CadText(const std::string& text, Real x, Real y) {
  if (text.empty()) return;
  const Real width = CadDrawing.CadTextWidthFactor * CadDrawing.CadTextHeight * static_cast<Real>(text.size());
  Real tx = x + CadDrawing.CadOriginX;
  Real ty = y + CadDrawing.CadOriginY;
  if (CadDrawing.CadTextAlignH == 1) tx -= width * 0.5L;
  if (CadDrawing.CadTextAlignH == 2) tx -= width;
  if (CadDrawing.CadTextAlignV == 1) ty -= 0.5L * CadDrawing.CadTextHeight;
  if (CadDrawing.CadTextAlignV == 2) ty -= CadDrawing.CadTextHeight;
  if (!CadValuesWritable({tx, ty, CadDrawing.CadTextHeight, width, CadDrawing.CadTextAngle})) return;
  CadTarget().Text(text, tx, ty);
}

void CadSolid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  const Real ox = CadDrawing.CadOriginX, oy = CadDrawing.CadOriginY;
  const Real xs[4] = {x1 + ox, x2 + ox, x3 + ox, x4 + ox}, ys[4] = {y1 + oy, y2 + oy, y3 + oy, y4 + oy};
  if (!CadValuesWritable({xs[0], ys[0], xs[1], ys[1], xs[2], ys[2], xs[3], ys[3]})) return;
  CadTarget().Solid(xs[0], ys[0], xs[1], ys[1], xs[2], ys[2], xs[3], ys[3]);
}

void CadMoveTo(Real x, Real y) {
  CadDrawing.CadPenPositionX = x;
  CadDrawing.CadPenPositionY = y;
}

void CadLineTo(Real x, Real y) {
  CadLine(CadDrawing.CadPenPositionX, CadDrawing.CadPenPositionY, x, y);
  CadMoveTo(x, y);
}

void CadRectangle(Real x1, Real y1, Real x2, Real y2) {
  CadMoveTo(x1, y1);
  CadLineTo(x1, y2);
  CadLineTo(x2, y2);
  CadLineTo(x2, y1);
  CadLineTo(x1, y1);
}

void CadHorizontalLine(Real x, Real y, Real d) { CadLine(x, y, x + d, y); }
void CadLineRel(Real x, Real y, Real d) { CadLine(x, y, x, y + d); }

void CadTextRotated(const std::string& text) {
  if (text.empty()) return;
  CadText(text, CadDrawing.CadPenPositionX, CadDrawing.CadPenPositionY);
  const Real step = 1.6L * CadDrawing.CadTextHeight * CadDrawing.CadLineSpacing;
  if (CadDrawing.CadTextAngle != 0) {
    const Real direction = common::DegToRad(CadDrawing.CadTextAngle - 90);
    CadDrawing.CadPenPositionX += step * std::cos(direction);
    CadDrawing.CadPenPositionY += step * std::sin(direction);
  } else {
    CadDrawing.CadPenPositionY -= step;
  }
}

void CadTextFitted(int font, const std::string& text, Real angle, Real height, Real width, Real maxLength) {
  const Real n = static_cast<Real>(common::TrimBlanks(text).size());
  const Real estimate = n * width * common::ScreenGraphicsSettings.TextWidthFactor / 0.7L;
  if (maxLength < estimate) {
    height *= maxLength / estimate;
    width *= maxLength / estimate;
  }
  SetCadTextSize(font, angle, height, width);
}

void CadInsertBlock(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) {
  if (!CadValuesWritable({x, y, angle, sx, sy})) return;
  CadBackEnd& target = CadTarget();
  if (&target == &CurrentCadBackEnd() && target.RecordsBlocksAsFiles()) {
    // The block's own pens do not outlast it: what follows is drawn with
    // the pen in force, as on the devices that write the insert.
    const int pen = CadDrawing.CadCurrentPen;
    ReplayBlockFile(name, x, y, angle, sx, sy);
    SetCadColor(pen);
  } else {
    target.InsertBlock(name, x, y, angle, sx, sy);
  }
}

void CadBeginBody(Real module) { CadTarget().BeginBody(TBody{std::nullopt, module}); }
void CadBeginBody(Real axisX, Real axisY, Real module) {
  CadTarget().BeginBody(TBody{TBodyAxis{axisX + CadDrawing.CadOriginX, axisY + CadDrawing.CadOriginY}, module});
}
void CadEndBody() { CadTarget().EndBody(); }

void CadInsertBlockAtOrigin(const std::string& name, Real x, Real y, Real angle, Real sx, Real sy) {
  CadInsertBlock(name, x + CadDrawing.CadOriginX, y + CadDrawing.CadOriginY, angle, sx, sy);
}

// ---- State setters ----------------------------------------------------------------------

void SetCadColor(int pen) {
  if (pen > 31) pen = pen % 16 + 16;
  if (pen < 0) pen = 0;
  CadDrawing.CadCurrentPen = static_cast<std::uint8_t>(pen);
  CadTarget().SelectPen(pen);
}

void SetCadLineMode(int mode) { CadSettings.CadLineMode = mode; }

void SetScreenPenStyle(int style) { CadTarget().SetPenStyle(style); }

void SetCadTextSize(int font, Real angle, Real height, Real width) {
  CadDrawing.CadTextHeight = height;
  // A height of 0 has no width ratio; it takes the default one.
  CadDrawing.CadTextWidthFactor = CadSettings.CadTextWidthRatio * (width == 0 || height == 0 ? 0.7L : width / height);
  CadDrawing.CadTextAngle = angle;
  CadDrawing.CadTextSlant = CadSettings.CadFontSlant;
  CadTarget().TextSizeChanged(font, width);
}

void SetCadTextAlign(int horizontal, int vertical) {
  CadDrawing.CadTextAlignH = horizontal;
  CadDrawing.CadTextAlignV = vertical;
}

void SetCadLineSpacing(Real factor) { CadDrawing.CadLineSpacing = factor; }

void CadSetOrigin(Real x, Real y) {
  CadDrawing.CadOriginX = x;
  CadDrawing.CadOriginY = y;
}

void SetCadScale(Real factor) {
  const Real scale = factor * CadSettings.CadScaleSetting;
  CadSettings.CadScale = std::fabs(scale) < 0.001L ? 1 : scale;
}

void SetStlHeights(Real z1, Real z2) {
  CadSettings.StlHeights[1] = z1;
  CadSettings.StlHeights[2] = z2;
  // On the STL device the heights are coordinates of every solid.
  if (CadDevice == CadDeviceStl) CadValuesWritable({z1, z2});
}

void CadDelay(int milliseconds) { CurrentCadBackEnd().Delay(milliseconds); }

bool CadDeviceCheck() { return true; }

}  // namespace drawing
