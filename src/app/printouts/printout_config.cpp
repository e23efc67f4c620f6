// The printout dialog's model and its preset table; see printout_config.h.
#include "app/printouts/printout_config.h"

#include <algorithm>

#include "common/code_page.h"
#include "common/file_utils.h"
#include "common/graphics_facade.h"
#include "common/graphics_settings.h"
#include "common/graphics_window.h"
#include "common/help_text.h"
#include "common/input_dialogs.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/text_utils.h"
#include "common/value_edit.h"
#include "dbase/table/table_layer.h"

namespace app {

using common::PrinterGraphicsSettings;

namespace {

constexpr const char* PresetTable = "printout";
constexpr int PresetNameLength = 25;

// Opens the presets table: the copy in the working directory when there is
// one, else the table of the table directory. False when none opened.
bool OpenPresetTable() {
  common::AbortFlag = 0;
  const std::string local = std::string(PresetTable) + ".dbf";
  if (common::FileCanOpen(local))
    dbase::DbfOpenFile(local);
  else
    dbase::DbfOpen(PresetTable);
  return !common::AbortFlag;
}

std::string FieldText(int n) { return common::OemToDisplayText(common::TrimBlanks(dbase::DbfGetString(n))); }

}  // namespace

TPrintConfigFields PrintConfigFieldsOnCreate() {
  auto& pr = PrinterGraphicsSettings;
  switch (common::PrintPictureKind) {
    case common::PictureSheet:
      // The printer takes the screen with one factor across and down: a
      // sheet keeps its proportions with equal scales.
      pr.PrintFactorX = 1.0;
      pr.PrintFactorY = 1.0;
      pr.PrintMarginLeft = 0;
      pr.PrintMarginTop = 0;
      pr.PrintBorder = false;
      pr.PrintOrientation = 1;
      break;
    case common::PictureDrawing:
    case common::PictureDiagram:
    case 3:
      pr.PrintFactorX = pr.ScreendumpScale;
      pr.PrintFactorY = pr.PrintScaleVertical;
      pr.PrintMarginLeft = pr.ScreendumpOriginX;
      pr.PrintMarginTop = pr.ScreendumpOriginY;
      pr.PrintBorder = pr.ScreendumpBorder;
      pr.PrintOrientation = pr.PrinterOrientation;
      break;
    default: break;
  }
  return PrintConfigFieldsFromSettings();
}

TPrintConfigFields PrintConfigFieldsFromSettings() {
  const auto& pr = PrinterGraphicsSettings;
  TPrintConfigFields f;
  f.scaleX = common::RealToText6(pr.PrintFactorX);
  f.scaleY = common::RealToText6(pr.PrintFactorY);
  f.originX = common::IntToText(pr.PrintMarginLeft);
  f.originY = common::IntToText(pr.PrintMarginTop);
  f.border = pr.PrintBorder;
  f.orientationItem = pr.PrintOrientation == 1 ? 0 : 1;
  f.colourItem = common::WindowsPrintMode == 1 ? 0 : 1;
  return f;
}

bool AcceptPrintConfigFields(TPrintConfigFields& f, const TPrintConfigFields& shown) {
  return common::AcceptNumberText("Scale x", f.scaleX, shown.scaleX) &&
         common::AcceptNumberText("Scale y", f.scaleY, shown.scaleY) &&
         common::AcceptWholeNumberText("Origin x", f.originX, shown.originX) &&
         common::AcceptWholeNumberText("Origin y", f.originY, shown.originY);
}

void ReadPrintSettings(const TPrintConfigFields& f) {
  auto& pr = PrinterGraphicsSettings;
  pr.PrintFactorX = static_cast<double>(common::TextToReal(f.scaleX));
  pr.PrintFactorY = static_cast<double>(common::TextToReal(f.scaleY));
  pr.PrintMarginLeft = common::TextToInt(f.originX);
  pr.PrintMarginTop = common::TextToInt(f.originY);
  pr.PrintBorder = f.border;
  common::WindowsPrintMode = static_cast<std::uint16_t>(std::clamp(f.colourItem, 0, 1) + 1);
  pr.PrintOrientation = static_cast<std::uint16_t>(std::clamp(f.orientationItem, 0, 1) + 1);
}

std::string PrinterLabelText(const std::string& printerName) { return common::PadLeftText(printerName, 40); }

void PreparePrintout(const TPrintConfigFields& fields) {
  common::AbortFlag = 0;
  ReadPrintSettings(fields);
  if (fields.fitLimits) {
    common::FKaldgra.RestoreLimit();
    common::FKaldgra.ResetZoom();
    common::FKaldgra.ReSetWindow();
    common::FKaldgra.ClearViewPort();
  }
  common::FKaldgra.FormPaint();
}

void CancelPrintConfig() { common::AbortFlag = 1; }

void LoadPrintPreset(TPrintConfigFields& fields) {
  if (!OpenPresetTable()) return;
  dbase::DbfSetTitles("Printout", "");
  if (PrinterGraphicsSettings.PresetRecord > 0) dbase::DbfGoto(PrinterGraphicsSettings.PresetRecord);
  common::SetHelpNumber(1040);
  dbase::DbfBrowse("", 0);
  if (!common::AbortFlag && dbase::DbfRecCount() > 0) {
    PrinterGraphicsSettings.PresetRecord = static_cast<std::uint16_t>(dbase::DbfRecNo());
    fields.scaleX = FieldText(2);
    fields.scaleY = FieldText(3);
    fields.originX = FieldText(4);
    fields.originY = FieldText(5);
    fields.orientationItem = dbase::DbfGetLogical("landscape") ? 1 : 0;
    fields.colourItem = dbase::DbfGetLogical("monochrom") ? 0 : 1;
    fields.fitLimits = dbase::DbfGetLogical("variable");
    fields.border = dbase::DbfGetLogical("borderline");
  }
  dbase::DbfClose();
  common::AbortFlag = 0;
}

void StorePrintPreset(const TPrintConfigFields& fields) {
  if (!OpenPresetTable()) return;
  std::string name;
  common::InputText("Name", PresetNameLength, name);
  if (!common::AbortFlag) {
    dbase::DbfPutString("name", name);
    dbase::DbfPutFloat("xscale", static_cast<double>(common::TextToReal(fields.scaleX)));
    dbase::DbfPutFloat("yscale", static_cast<double>(common::TextToReal(fields.scaleY)));
    dbase::DbfPutInteger("xorigin", common::TextToInt(fields.originX));
    dbase::DbfPutInteger("yorigin", common::TextToInt(fields.originY));
    dbase::DbfPutLogical("landscape", fields.orientationItem == 1);
    dbase::DbfPutLogical("monochrom", fields.colourItem == 0);
    dbase::DbfPutLogical("variable", fields.fitLimits);
    dbase::DbfPutLogical("borderline", fields.border);
    if (!common::AbortFlag) dbase::DbfPost();
  }
  dbase::DbfClose();
}

std::function<void()>& PrintConfigFormShower() {
  static std::function<void()> shower;
  return shower;
}

void ShowPrintConfigForm() {
  if (PrintConfigFormShower())
    PrintConfigFormShower()();
  else
    CancelPrintConfig();
}

}  // namespace app
