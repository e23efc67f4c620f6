// Drawing head, block definitions and logos; see cad_blocks.h.
#include "drawing/cad/cad_blocks.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "common/angle_date_format.h"
#include "common/cad_settings.h"
#include "common/code_page.h"
#include "common/date_time.h"
#include "common/design_documentation.h"
#include "common/help_text.h"
#include "common/file_utils.h"
#include "common/graphics_facade.h"
#include "common/graphics_settings.h"
#include "common/kaldvar.h"
#include "common/small_dialogs.h"
#include "common/text_file.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/cad_state.h"
#include "drawing/cad/dxf_writer.h"
#include "drawing/cad/recorded_blocks.h"
#include "platform/file_system.h"

namespace drawing {

using common::AbortFlag;
using common::CadSettings;

namespace {

// Part files recorded by this run, and whether one is open now.
std::vector<std::string>& RecordedFiles() {
  static std::vector<std::string> files;
  return files;
}
bool BlockFileOpen = false;

}  // namespace

bool PartFileExists(const std::string& fileName) {
  const std::string dir = common::AddBackslash(common::TempDirectory);
  return common::FileCanOpen(dir + platform::FindFileAnyCase(common::TempDirectory, fileName));
}

std::string BlockFileName(const std::string& name) {
  return common::AddBackslash(common::TempDirectory) + "$" + name + ".dx$";
}

namespace {

// A block whose part file is not open draws nothing; its pens still choose
// the layer, so that the next part file starts on the layer in force, as a
// block definition of a DXF file does.
class ClosedBlockFile : public CadBackEnd {
 public:
  void SelectPen(int pen) override { DxfSelectLayer(pen); }
};

}  // namespace

CadBackEnd& CadBlockFileTarget() {
  static ClosedBlockFile closed;
  if (RecordingBlock() && CurrentCadBackEnd().RecordsBlocksInMemory()) return RecordedBlockTarget();
  if (BlockFileOpen) return DxfBlockRecorder();
  return closed;
}

void DeleteRecordedBlockFiles() {
  for (const std::string& file : RecordedFiles()) common::DeleteFileQuiet(file);
  RecordedFiles().clear();
}

void CadDrawingFrame(Real x1, Real y1, Real x2, Real y2, Real height) {
  CadBackEnd& device = CurrentCadBackEnd();
  const bool solid = CadDevice == CadDeviceStl || CadDevice == CadDeviceStep;
  CadDrawing.SolidHeightTyped = 0;
  if (height > 0 && CadDevice == CadDeviceStl && !common::CadBatchNaming) {
    common::SetHelpNumber(2900);
    common::InputLength("height", height, 0, 1000);
    // Cancel keeps the face width offered.
    CadDrawing.SolidHeightTyped = AbortFlag ? 0 : 1;
    AbortFlag = 0;
  }
  const Real area[6] = {x1, x2, y1, y2, x2 - x1, y2 - y1};
  for (int i = 1; i <= 6; ++i) CadSettings.CadDrawingArea[i] = area[i - 1];
  device.DrawingFrame(x1, y1, x2, y2);
  const bool screen = CadDevice == CadDeviceScreen;
  if ((screen || CadDevice == CadDevicePlot) && common::PrinterGraphicsSettings.ScreendumpBorder) {
    SetCadColor(19);
    CadRectangle(x1, y1, x2, y2);
  }
  if (screen) {
    SetCadTextSize(2, 0, 0.006L * (y2 - y1), 0.0045L * (x2 - x1));
    SetCadColor(30);
    // The file system's name as a program text, as every text of the sheet.
    const std::string fileText = common::ShortenText(common::AnsiToOemText(common::DataFileName()), 120);
    // A sheet with its frame writes file name and date in its own footer.
    const bool sheetFrame = CadDrawing.DrawingSheetFormat == 2 || CadDrawing.DrawingSheetFormat == 3;
    if (!CadSettings.CadFrameOptions[common::FrameOptFooter] && !sheetFrame)
      CadText(common::TodayText() + " " + common::TimeText() + " - " + "KALDRIM " + common::ProgramName + " V" +
                  common::ProgramVersion + " - " + fileText,
              x1 + 0.005L * (x2 - x1), y1 + 0.002L * (y2 - y1));
  }
  // A solid is as high as this drawing says, 0 too (it is then refused as
  // too thin), never as high as the solid written before it.
  if (height > 0 || solid) SetStlHeights(0, height);
}

void CadDefaultFrame() { CadDrawingFrame(0, 0, 160, 120, 1.0L); }

void CadBeginTables(int mode) { CurrentCadBackEnd().BeginTables(mode); }

void CadBeginBlocksSection() {
  CadDrawing.CadBlockRecording = 1;
  CurrentCadBackEnd().BeginBlocksSection();
}

void CadBeginBlock(const std::string& name) {
  if (AbortFlag) return;
  CadBackEnd& device = CurrentCadBackEnd();
  if (!device.RecordsBlocksAsFiles()) {
    device.BeginBlock(name);
    return;
  }
  if (device.RecordsBlocksInMemory()) {
    BeginRecordedBlock(name);
    return;
  }
  const std::string file = BlockFileName(name);
  common::SharedTextFile.Assign(file);
  std::error_code ec;
  if (!common::SharedTextFile.Rewrite(ec)) {
    AbortFlag = 1;
    return;
  }
  BlockFileOpen = true;
  if (std::find(RecordedFiles().begin(), RecordedFiles().end(), file) == RecordedFiles().end())
    RecordedFiles().push_back(file);
}

void CadEndBlock() {
  if (AbortFlag) {
    // The block could not be begun: the picture goes on without it.
    AbortFlag = 0;
    return;
  }
  CadBackEnd& device = CurrentCadBackEnd();
  if (!device.RecordsBlocksAsFiles()) {
    device.EndBlock();
  } else if (device.RecordsBlocksInMemory()) {
    EndRecordedBlock();
  } else if (BlockFileOpen) {
    BlockFileOpen = false;
    DxfWriteEof();
  }
}

void CadEndSection() {
  CadDrawing.CadBlockRecording = 0;
  CurrentCadBackEnd().EndSection();
}

void CadInsertLogos() {
  CadBackEnd& device = CurrentCadBackEnd();
  device.BeginEntities();
  if (CadDrawing.DrawingSheetFormat == 2 || CadDrawing.DrawingSheetFormat == 3) return;
  if (!device.PlacesLogos()) return;
  const Real w = CadSettings.CadDrawingArea[5], h = CadSettings.CadDrawingArea[6];
  const Real x = CadSettings.CadDrawingArea[1] + 0.91L * w;
  const Real ymin = CadSettings.CadDrawingArea[3];
  if (PartFileExists("$LOGO_2.dx$")) CadInsertBlock("LOGO_2", x, ymin + 0.01L * h, 0, w / 480, h / 360);
  if (PartFileExists("$LOGO_3.dx$")) CadInsertBlock("LOGO_3", x, ymin + 0.96L * h, 0, w / 480, h / 360);
}

}  // namespace drawing
