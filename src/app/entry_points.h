// The entry points the main menu, the start-up and the pitch-curve input
// call in the other parts of the program: drawings, printouts, dialogs of
// the design inputs, tables, documentation and the windows of the Qt layer.
// Each is a slot: the one place where an entry point is hooked in. A slot
// whose work is not part of the program yet ends cleanly with AbortFlag set,
// so a menu handler that calls it stops at that step.
//
//   app::Entry().DrawGears(0, 3);        // the gear pair on the screen
//   app::Entry().DrawGears = drawing::DrawGears;   // hooking it in
#pragma once

#include <functional>
#include <string>

namespace app {

struct TEntryPoints {
  // Drawings (device codes: 0 the user chooses, 1 DXF, 3 screen, 6 STL).
  std::function<void(int mode, int device)> DrawGears;
  std::function<void(int code, int device)> ShowDiagrams;
  std::function<void(int n, int device)> DrawQuickSheet;
  std::function<void()> RedrawCurrentView;
  std::function<void(int)> AnimateGears1;
  std::function<void(int)> AnimateGears2;
  // Printouts.
  std::function<void(int kind)> PrintPitchCurveReport;
  std::function<void(int kind)> PrintGearReport;
  // Dialogs of the design inputs.
  std::function<void()> ShowDrawingNameForm;
  std::function<void()> ShowGeometryForm;     // dimensions of the pair
  std::function<void()> ShowToolProfileForm;  // reference-rack profiles
  std::function<void()> ShowLoadForm;
  std::function<void()> ShowMaterialForm;
  std::function<void()> EditStrength;          // strength inputs as a question series
  std::function<void()> ShowStrengthForm;      // strength inputs on one page
  std::function<void(int mode)> ShowRotationAngleForm;
  // The pitch-curve forms of the families 2..9 (index = curve type).
  std::function<void(int curveType)> ShowCurveForm;
  // Import of a pitch-curve contour into the polyline points.
  std::function<void()> ImportPitchCurveDxf;
  // Settings, printing of the picture, tables and documentation.
  std::function<void()> ShowConfigForm;
  std::function<void()> ShowPrintConfigForm;
  std::function<void()> ShowDesignTable;
  std::function<void(int, int)> SelectGearMaterial;
  std::function<void(int, int)> SelectToolProfile;
  std::function<void()> ShowDrawingInfoForm;
  std::function<void(int action)> ChangeListMenu;
  std::function<void()> ShowDocumentLinksForm;
  // Spreadsheet link; StartExcel clears AbortFlag on success.
  std::function<void()> StartExcel;
  std::function<void()> ExportExcel;
  std::function<void(int)> PrintoutExcel;
  // Help and information windows.
  std::function<void()> AuxImageManager;
  std::function<void(const std::string& address)> OpenWebPage;
  std::function<void()> ShowSystemInfo;
  std::function<void()> ShowAboutBox;
  // The table window that lives with the main window.
  std::function<void()> CreateTableWindow;
  std::function<void()> FreeTableWindow;
};

// The slots in use. Every slot starts with what the program has; the
// others set AbortFlag.
TEntryPoints& Entry();
// Back to the start state (tests).
void ResetEntryPoints();

// What an entry point that is not part of the program yet does.
void EntryNotAvailable();

}  // namespace app
