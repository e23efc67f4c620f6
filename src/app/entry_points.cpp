// The entry-point slots; see entry_points.h. The start state below is the
// one list of what the menu reaches today.
#include "app/entry_points.h"

#include "app/inputs/curve_forms.h"
#include "app/inputs/gear_geometry_input.h"
#include "app/documentation/change_list.h"
#include "app/documentation/document_links_form.h"
#include "app/documentation/drawing_info_form.h"
#include "app/tables/design_table.h"
#include "app/printouts/gear_printout.h"
#include "app/inputs/load_input.h"
#include "app/inputs/material_input.h"
#include "app/tables/material_table.h"
#include "app/inputs/pitch_curve_import.h"
#include "app/printouts/pitch_curve_printout.h"
#include "app/printouts/printout_config.h"
#include "app/inputs/rotation_angle_window.h"
#include "app/inputs/strength_input.h"
#include "app/tables/tool_table.h"
#include "app/inputs/tool_profile_input.h"
#include "app/spreadsheet/spreadsheet_link.h"
#include "common/aux_images.h"
#include "common/config_dialog.h"
#include "common/desktop_open.h"
#include "common/kaldvar.h"
#include "dbase/table/table_window.h"
#include "drawing/drawing_name_form.h"
#include "drawing/gear_animation.h"
#include "drawing/gear_pictures.h"
#include "drawing/phi_diagrams.h"
#include "drawing/quick_sheets.h"

namespace app {

namespace {

TEntryPoints StartEntryPoints() {
  TEntryPoints e;
  const auto none0 = [] { EntryNotAvailable(); };
  e.DrawGears = [](int code, int device) {
    drawing::DrawGears(static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(device));
  };
  e.ShowDiagrams = [](int code, int device) {
    drawing::ShowDiagrams(static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(device));
  };
  e.DrawQuickSheet = [](int n, int device) { drawing::DrawQuickSheet(static_cast<std::uint16_t>(n), static_cast<std::uint16_t>(device)); };
  e.RedrawCurrentView = drawing::RedrawCurrentView;
  e.AnimateGears1 = drawing::AnimateGears1;
  e.AnimateGears2 = drawing::AnimateGears2;
  e.PrintPitchCurveReport = [](int mode) { PrintPitchCurveReport(static_cast<std::uint16_t>(mode)); };
  e.PrintGearReport = [](int mode) { PrintGearReport(static_cast<std::uint16_t>(mode)); };
  e.ShowDrawingNameForm = drawing::ShowDrawingNameForm;
  e.ShowGeometryForm = ShowGeometryForm;
  e.ShowToolProfileForm = ShowToolProfileForm;
  e.ShowLoadForm = ShowLoadForm;
  e.ShowMaterialForm = ShowMaterialForm;
  e.EditStrength = EditStrength;
  e.ShowStrengthForm = ShowStrengthForm;
  e.ShowRotationAngleForm = ShowRotationAngleForm;
  e.ShowCurveForm = ShowCurveFamilyForm;
  e.ImportPitchCurveDxf = ImportPitchCurveDxf;
  e.ShowConfigForm = [] {
    common::ShowConfigDialog();
    // New colours, units and decimal signs show in the picture at once.
    if (!common::AbortFlag) drawing::RedrawCurrentView();
  };
  e.ShowPrintConfigForm = ShowPrintConfigForm;
  e.ShowDesignTable = OpenDesignTable;
  e.SelectGearMaterial = [](int gear, int mode) { SelectGearMaterial(gear, mode); };
  e.SelectToolProfile = [](int, int) { SelectToolProfile(); };
  e.ShowDrawingInfoForm = ShowDrawingInfoForm;
  e.ChangeListMenu = ChangeListMenu;
  e.ShowDocumentLinksForm = ShowDocumentLinksForm;
  e.StartExcel = StartExcel;
  e.ExportExcel = ExportExcel;
  e.PrintoutExcel = PrintoutExcel;
  e.AuxImageManager = [] { common::RunAuxImages(common::ProgramName); };
  e.OpenWebPage = [](const std::string& address) { common::OpenWithDesktop(address); };
  e.ShowSystemInfo = none0;
  e.ShowAboutBox = none0;
  // The one table window of the table layer lives with the main window.
  e.CreateTableWindow = dbase::CreateTableWindow;
  e.FreeTableWindow = dbase::FreeTableWindow;
  return e;
}

TEntryPoints& Slots() {
  static TEntryPoints slots = StartEntryPoints();
  return slots;
}

}  // namespace

TEntryPoints& Entry() { return Slots(); }

void ResetEntryPoints() { Slots() = StartEntryPoints(); }

void EntryNotAvailable() { common::AbortFlag = 1; }

}  // namespace app
