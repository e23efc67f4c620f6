// The main menu: the item list, the captions by language and the handlers;
// see main_menu.h. Handlers only sequence dialogs, calculations and
// drawings; the entry points they reach are the slots of entry_points.h.
#include "app/main_menu.h"

#include <functional>
#include <map>
#include <stdexcept>

#include "app/data_file.h"
#include "app/documentation/change_records.h"
#include "app/documentation/document_links.h"
#include "app/entry_points.h"
#include "app/inputs/pitch_curve_input.h"
#include "app/main_window.h"
#include "app/menu_mnemonics.h"
#include "app/menu_vocabulary.h"
#include "calc/calc_records.h"
#include "calc/centre_distance.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/calculation_output.h"
#include "common/design_documentation.h"
#include "common/file_utils.h"
#include "common/graphics_facade.h"
#include "common/kaldvar.h"
#include "common/menu_captions.h"
#include "common/message_help.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/small_dialogs.h"
#include "platform/screen.h"

namespace app {

const char* const ProgramInfoPageBase = "http://www.kaldrim.de/";
const char* const MakerHomePage = "http://www.kaldrim.de/";

namespace {

using common::AbortFlag;
using common::MenuCaptions;

// ---- The item list ----------------------------------------------------------

struct ItemEntry {
  const char* name;
  const char* parent;
  const char* shortcut;
};

// The menu in its order; a name starting with "-" is a separator.
const ItemEntry kItems[] = {
    {"mi_file", "", ""},
    {"mi_fileNew", "mi_file", "Ctrl+N"},
    {"mi_fileOpen", "mi_file", "Ctrl+O"},
    {"mi_fileOpenTable", "mi_file", ""},
    {"mi_FileSave", "mi_file", "Ctrl+S"},
    {"mi_FileSaveAs", "mi_file", ""},
    {"-N1", "mi_file", ""},
    {"mi_fileImportDXF", "mi_file", ""},
    {"mi_fileExportDXF", "mi_file", ""},
    {"-N2", "mi_file", ""},
    {"mi_fileprint", "mi_file", "Ctrl+P"},
    {"mi_fileConfig", "mi_file", ""},
    {"-N3", "mi_file", ""},
    {"mi_file1", "mi_file", "Shift+F1"},
    {"mi_file2", "mi_file", "Shift+F2"},
    {"mi_file3", "mi_file", "Shift+F3"},
    {"mi_file4", "mi_file", "Shift+F4"},
    {"-N4", "mi_file", ""},
    {"mi_fileexit", "mi_file", ""},

    {"mi_Edit", "", ""},
    {"mi_editquick", "mi_Edit", ""},
    {"mi_EditText", "mi_Edit", ""},
    {"-N5", "mi_Edit", ""},
    {"mi_editwaelzkurve", "mi_Edit", ""},
    {"mi_editZahnrad", "mi_Edit", ""},
    {"mi_editbezugsprofil", "mi_Edit", ""},
    {"mi_editAntrieb", "mi_Edit", ""},
    {"mi_EditMaterial", "mi_Edit", ""},
    {"mi_editfestigkeit", "mi_Edit", ""},

    {"mi_View", "", ""},
    {"mi_viewprintout", "mi_View", ""},
    {"mi_viewprintoutalles", "mi_viewprintout", ""},
    {"mi_viewprintoutabmess", "mi_viewprintout", ""},
    {"mi_viewprintoutfestigkeitauszug", "mi_viewprintout", ""},
    {"mi_viewprintoutfestigkeitvob1", "mi_viewprintout", ""},
    {"-N6", "mi_View", ""},
    {"mi_viewquick1", "mi_View", ""},
    {"mi_viewquick2", "mi_View", ""},
    {"mi_viewquick3", "mi_View", ""},
    {"mi_viewquick4", "mi_View", ""},
    {"-N7", "mi_View", ""},
    {"mi_viewTeilkurven", "mi_View", ""},
    {"mi_viewTeilkurvenxy", "mi_View", ""},
    {"mi_viewZahnraeder", "mi_View", ""},
    {"mi_viewzahnraederphi1", "mi_View", ""},
    {"mi_viewzahnstange", "mi_View", ""},
    {"-N8", "mi_View", ""},
    {"mi_viewDiagsva", "mi_View", ""},
    {"mi_viewDiagDrehwinkel", "mi_View", ""},
    {"mi_viewDiagUebersetzung", "mi_View", ""},
    {"mi_viewDiagUeberslog", "mi_View", ""},
    {"mi_viewDiagGeschw", "mi_View", ""},
    {"mi_viewDiagBeschleunig", "mi_View", ""},
    {"-N9", "mi_View", ""},
    {"mi_viewAnimation1", "mi_View", ""},
    {"mi_viewAnimation2", "mi_View", ""},
    {"-N10", "mi_View", ""},
    {"mi_viewsicherheit", "mi_View", ""},
    {"mi_viewErrorMessages", "mi_View", ""},

    {"mi_CAD", "", ""},
    {"mi_cadquick", "mi_CAD", ""},
    {"mi_cadZahnraeder", "mi_CAD", ""},
    {"mi_cadrad1", "mi_CAD", ""},
    {"mi_cadrad2", "mi_CAD", ""},
    {"mi_cadcarrier", "mi_CAD", ""},
    {"mi_cadwaelzkurve", "mi_CAD", ""},
    {"mi_cadwaeltzkurve12", "mi_cadwaelzkurve", ""},
    {"mi_cadwaelzkurve1", "mi_cadwaelzkurve", ""},
    {"mi_cadwaelzkurve2", "mi_cadwaelzkurve", ""},
    {"mi_cadDiagramme", "mi_CAD", ""},

    {"mi_STL", "", ""},
    {"mi_stlrad1", "mi_STL", ""},
    {"mi_stlrad2", "mi_STL", ""},
    {"mi_stlcarrier", "mi_STL", ""},
    {"mi_stlkurve1", "mi_STL", ""},
    {"mi_stlkurve2", "mi_STL", ""},
    {"mi_stlzahnstange", "mi_STL", ""},

    {"mi_database", "", ""},
    {"mi_dbfmaterial", "mi_database", ""},
    {"mi_dbftoolx", "mi_database", ""},
    {"mi_dbflastkoll", "mi_database", ""},

    {"mi_documentation", "", ""},
    {"mi_docdrawinginfo", "mi_documentation", ""},
    {"-N11", "mi_documentation", ""},
    {"mi_docuShowChanges1", "mi_documentation", ""},
    {"mi_docuPrintChanges", "mi_documentation", ""},
    {"mi_docuNewChange", "mi_documentation", ""},
    {"mi_docuModifyChanges", "mi_documentation", ""},
    {"mi_docudeleteChange", "mi_documentation", ""},
    {"-N12", "mi_documentation", ""},
    {"mi_DocumentSetup", "mi_documentation", ""},

    {"mi_OLE", "", ""},
    {"mi_oleStartExcel", "mi_OLE", ""},
    {"mi_oleExportExcel", "mi_OLE", ""},
    {"mi_olePrintoutExcel", "mi_OLE", ""},

    {"mi_Help", "", ""},
    {"mi_HelpHilfebild", "mi_Help", ""},
    {"mi_helpErrorMessages", "mi_Help", ""},
    {"-N13", "mi_Help", ""},
    {"mi_helphistory", "mi_Help", ""},
    {"mi_helplanguage", "mi_Help", ""},
    {"mi_helplanguageDeutsch", "mi_helplanguage", ""},
    {"mi_helplanguageEnglish", "mi_helplanguage", ""},
    {"mi_helplanguageRomania", "mi_helplanguage", ""},
    {"mi_helplanguageKorea", "mi_helplanguage", ""},
    {"mi_helplanguageChinese", "mi_helplanguage", ""},
    {"mi_helpwww", "mi_Help", ""},
    {"mi_helpSysInfo", "mi_Help", ""},
    {"mi_HelpAbout", "mi_Help", ""},
};

std::vector<TMenuItem> BuildItems() {
  std::vector<TMenuItem> items;
  for (const ItemEntry& entry : kItems) {
    TMenuItem item;
    item.name = entry.name;
    item.parent = entry.parent;
    item.shortcut = entry.shortcut;
    item.separator = item.name[0] == '-';
    if (item.separator) item.caption = "-";
    // The export waits for the spreadsheet program to be started.
    if (item.name == "mi_oleExportExcel") item.enabled = false;
    items.push_back(item);
  }
  return items;
}

// ---- Captions of the menu's own texts ----------------------------------------

// Texts of the menu that neither the common captions nor the vocabulary
// hold: German, English, Portuguese, Romanian, Korean, Chinese.
enum LiteralText { LitCarrier, LitPolar, LitStartExcel, LitExportExcel, LitPrintoutExcel, LitHomepage, LitCount };

const char* const kLiterals[LitCount][6] = {
    {"Steg", "Carrier", "Porta-satélites", "Port-satelit", "캐리어", "行星架"},
    {"polar", "polar", "polar", "polar", "극좌표", "极坐标"},
    {"Excel starten", "Start Excel", "Iniciar Excel", "Pornește Excel", "Excel 시작", "启动 Excel"},
    {"Export VOB4 -> Excel", "Export VOB4 -> Excel", "Exportar VOB4 -> Excel", "Exportă VOB4 -> Excel",
     "VOB4 -> Excel 내보내기", "导出 VOB4 -> Excel"},
    {"Ausdruck -> Excel", "Printout -> Excel", "Impressão -> Excel", "Listare -> Excel", "출력물 -> Excel",
     "打印输出 -> Excel"},
    {"&KALDRIM Homepage", "&KALDRIM Homepage", "Página &KALDRIM", "Pagina &KALDRIM", "KALDRIM 홈페이지(&K)",
     "KALDRIM 主页(&K)"},
};

// The column of the literal texts; the last known language stays for a
// code without them, German at the start as every menu word.
int g_literalColumn = 0;

void ChooseLiteralColumn(int code) {
  switch (code) {
    case 0: g_literalColumn = 1; break;  // no language configured: English
    case 1: g_literalColumn = 0; break;
    case 2: g_literalColumn = 1; break;
    case 6: g_literalColumn = 2; break;
    case 7: g_literalColumn = 3; break;
    case 8: g_literalColumn = 4; break;
    case 12: g_literalColumn = 5; break;
    default: break;
  }
}

std::string Lit(LiteralText t) { return kLiterals[t][g_literalColumn]; }
std::string Cap(int index) { return MenuCaptions[index]; }
std::string Word(int index) { return MenuWords[index]; }

void SetCaption(const std::string& name, const std::string& caption) { MenuItem(name).caption = caption; }

// A path in a caption: its '&' is a character, not an accelerator mark.
std::string AmpersandsDoubled(const std::string& text) {
  std::string doubled;
  for (char c : text) {
    doubled += c;
    if (c == '&') doubled += '&';
  }
  return doubled;
}

// ---- Handlers ---------------------------------------------------------------------

bool Aborted() { return AbortFlag != 0; }
void MarkChanged() { common::DataChanged = 1; }

// A change-list command marks the design changed when it altered the
// records: new and edit when the record's form ended with OK, withdraw
// (which has no form) when a record was withdrawn. A new record whose form
// was cancelled stays counted with the texts it held, but asks no save
// question.
void EditChangeList(int code) {
  const std::uint16_t countBefore = common::ChangeRecords.Count;
  Entry().ChangeListMenu(code);
  const std::uint16_t count = common::ChangeRecords.Count;
  bool changed = false;
  switch (code) {
    case 1: changed = count > countBefore && !Aborted(); break;
    case 2: changed = countBefore > 0 && !Aborted(); break;
    case 3: changed = count < countBefore; break;
    default: break;
  }
  if (changed) MarkChanged();
}

// The pinion shaft diameter proposed from the smallest pitch radius.
void ProposeShaftDiameter() {
  const std::int32_t z1 = calc::SpurGearData.ToothNumbers[1];
  if (z1 == 0) return;
  calc::SpurGearData.dsh = 2 * calc::MinPitchRadius() * (1 - 2.5L / z1);
}

// The strength inputs: the question series for entered factors and on
// small screens, otherwise the one-page window on screens of 1024 pixels
// and more.
void EditStrengthInputs() {
  const platform::ScreenSize screen = platform::PrimaryScreenSize();
  const bool smallHeight = screen.height > 0 && screen.height < 750;
  if (calc::SpurGearData.CalcMethod == 3 || smallHeight || screen.width < 1024)
    Entry().EditStrength();
  else
    Entry().ShowStrengthForm();
}

// Every input of a design, one dialog after the other.
void QuickInputSequence() {
  Entry().ShowDrawingNameForm();
  if (Aborted()) return;
  SelectCurveType();
  if (Aborted()) return;
  Entry().ShowGeometryForm();
  if (Aborted()) return;
  Entry().ShowToolProfileForm();
  if (Aborted()) return;
  Entry().ShowLoadForm();
  if (Aborted()) return;
  Entry().ShowMaterialForm();
  if (Aborted()) return;
  ProposeShaftDiameter();
  Entry().EditStrength();
  // The design as entered, calculated: the strength input calculated one
  // spur pair, the curve's step the pair before the later inputs.
  if (!Aborted()) calc::CalcNoncircularPair();
}

void FileNew() {
  QuerySaveChanges();
  if (Aborted()) return;
  // A new design that is cancelled on its way leaves the current one as
  // it was, with its name, its changes and its picture.
  const KeptDesign current;
  const auto putBack = [&current] {
    current.PutBack();
    UpdateMainCaption();
    UpdateMessageMenu();
    AbortFlag = 1;
  };
  if (common::FileCanOpen(common::DesignFilePath(common::DataDirectory, "null"))) {
    ReadDataFile("null");
    if (Aborted()) {
      putBack();
      return;
    }
  }
  common::CurrentFileName.clear();
  UpdateMainCaption();
  ClearChanges();
  InitDocumentLinks();
  common::ClearGraphics();
  QuickInputSequence();
  if (Aborted()) {
    putBack();
    return;
  }
  UpdateMessageMenu();
  MarkChanged();
}

void FileOpen() {
  QuerySaveChanges();
  if (Aborted()) return;
  ReadDataFile("");
  const bool ok = !Aborted();
  if (ok) {
    common::DataChanged = 0;
    AddRecentFile(common::CurrentFileName);
  }
  UpdateMainCaption();
  if (ok) UpdateMessageMenu();
}

void FileSave() {
  SaveDataFile(common::CurrentFileName);
  if (!Aborted()) common::DataChanged = 0;
  UpdateMainCaption();
}

void FileSaveAs() {
  AbortFlag = 0;
  WriteDataFile("");
  if (!Aborted()) {
    common::DataChanged = 0;
    AddRecentFile(common::CurrentFileName);
  }
  UpdateMainCaption();
}

// The pitch curve becomes the polyline of the imported contour only when
// the import succeeded; the import then changed the design, and the pair
// is calculated again, or every result would be the old curve's. What the
// reader left out was named before the design changed (the import's
// question); a refused import leaves the reader's texts in the list.
void FileImportDxf() {
  // A design left as it was keeps its state: a pair that could not be
  // calculated still draws no picture.
  const std::uint8_t fatal = common::FatalFlag;
  common::FatalFlag = 0;
  QuerySaveChanges();
  if (!Aborted()) Entry().ImportPitchCurveDxf();
  if (Aborted()) {
    common::FatalFlag = fatal;
    MainFormClick();
    return;
  }
  calc::CurveType = calc::CurvePolyline;
  MarkChanged();
  calc::CalcNoncircularPair();
  UpdateMainCaption();
  UpdateMessageMenu();
}

// After a dialog of the design inputs: the pair again and its messages.
void RecalculateAfter(const std::function<void()>& dialog) {
  dialog();
  if (Aborted()) return;
  MarkChanged();
  calc::CalcNoncircularPair();
  UpdateMessageMenu();
}

void RecalculateWithSafety(const std::function<void()>& dialog) {
  dialog();
  if (Aborted()) return;
  MarkChanged();
  calc::CalcNoncircularPair();
  Entry().ShowDiagrams(16, 3);
  // The menu counts the pair's messages; the diagram stays on the screen.
  MainFormClick();
}

// The spur printout of the position with the lowest pitting safety.
// Its remarks are the pair's messages, which already hold what this
// position says, with the angle where it first arose; the list stays the
// pair's. Only a position that cannot be computed shows its own.
void PrintWeakestPosition() {
  const Real phi = calc::SafetyExtremes.PhiAtSHmin[1];
  const common::SavedMessages pair = common::SaveMessages();
  calc::CalcSubstituteSpurPair(phi);
  const bool positionFailed = common::FatalFlag != 0;
  if (!positionFailed) common::RestoreMessages(pair);
  const std::string kept = common::SheetTexts[2];
  // "°" in the program's code page.
  common::SheetTexts[2] = "phi = " + common::RealToText(common::RadToDeg(phi)) + "\xF8";
  Entry().PrintGearReport(2);
  common::SheetTexts[2] = kept;
  if (positionFailed) common::RestoreMessages(pair);
}

void RackView() {
  if (calc::NcPair.ModuleMode != 2) {
    common::ShowError("mn <> const !");
    return;
  }
  AbortFlag = 0;
  Entry().ShowRotationAngleForm(7);
}

struct Handler {
  std::function<void()> action;
  bool clearsAbort = true;
};

std::map<std::string, Handler> BuildHandlers() {
  std::map<std::string, Handler> h;
  const auto gears = [](int mode, int device) { return [=] { Entry().DrawGears(mode, device); }; };
  const auto diagram = [](int code, int device) { return [=] { Entry().ShowDiagrams(code, device); }; };
  const auto quick = [](int n, int device) { return [=] { Entry().DrawQuickSheet(n, device); }; };
  const auto language = [](int code) { return Handler{[=] { SetLanguage(code); }, false}; };

  // File
  h["mi_fileNew"] = {FileNew};
  h["mi_fileOpen"] = {FileOpen};
  h["mi_fileOpenTable"] = {[] { Entry().ShowDesignTable(); }};
  h["mi_FileSave"] = {FileSave};
  h["mi_FileSaveAs"] = {FileSaveAs};
  h["mi_fileImportDXF"] = {FileImportDxf};
  h["mi_fileExportDXF"] = {gears(3, 1)};
  h["mi_fileprint"] = {[] { Entry().ShowPrintConfigForm(); }};
  h["mi_fileConfig"] = {[] { Entry().ShowConfigForm(); }};
  for (int n = 1; n <= 4; ++n) h["mi_file" + std::to_string(n)] = {[=] { OpenRecentFile(n); }};
  h["mi_fileexit"] = {[] { if (CloseMainWindow) CloseMainWindow(); }, false};

  // Edit
  h["mi_editquick"] = {[] {
    QuickInputSequence();
    if (Aborted()) return;
    UpdateMessageMenu();
    MarkChanged();
  }};
  h["mi_EditText"] = {[] {
    Entry().ShowDrawingNameForm();
    if (!Aborted()) MarkChanged();
  }};
  h["mi_editwaelzkurve"] = {[] {
    SelectCurveType();
    if (Aborted()) return;
    MarkChanged();
    UpdateMessageMenu();
  }};
  h["mi_editZahnrad"] = {[] { RecalculateAfter([] { Entry().ShowGeometryForm(); }); }};
  h["mi_editbezugsprofil"] = {[] { RecalculateAfter([] { Entry().ShowToolProfileForm(); }); }};
  h["mi_editAntrieb"] = {[] { RecalculateWithSafety([] { Entry().ShowLoadForm(); }); }};
  h["mi_EditMaterial"] = {[] {
    MarkChanged();
    RecalculateWithSafety([] { Entry().ShowMaterialForm(); });
  }};
  h["mi_editfestigkeit"] = {[] {
    ProposeShaftDiameter();
    RecalculateWithSafety(EditStrengthInputs);
  }};

  // View
  h["mi_viewprintoutalles"] = {[] { Entry().PrintPitchCurveReport(3); }};
  h["mi_viewprintoutabmess"] = {[] { Entry().PrintPitchCurveReport(1); }};
  h["mi_viewprintoutfestigkeitauszug"] = {[] { Entry().PrintPitchCurveReport(2); }};
  h["mi_viewprintoutfestigkeitvob1"] = {PrintWeakestPosition, false};
  for (int n = 1; n <= 4; ++n) h["mi_viewquick" + std::to_string(n)] = {quick(n, 3)};
  h["mi_viewTeilkurven"] = {gears(5, 3)};
  h["mi_viewTeilkurvenxy"] = {diagram(6, 3)};
  h["mi_viewZahnraeder"] = {gears(0, 3)};
  h["mi_viewzahnraederphi1"] = {[] { Entry().ShowRotationAngleForm(6); }};
  h["mi_viewzahnstange"] = {RackView, false};
  h["mi_viewDiagsva"] = {diagram(15, 3)};
  h["mi_viewDiagDrehwinkel"] = {diagram(1, 3)};
  h["mi_viewDiagUebersetzung"] = {diagram(2, 3)};
  h["mi_viewDiagUeberslog"] = {diagram(3, 3)};
  h["mi_viewDiagGeschw"] = {diagram(7, 3)};
  h["mi_viewDiagBeschleunig"] = {diagram(8, 3)};
  h["mi_viewAnimation1"] = {[] { Entry().AnimateGears1(1); }};
  h["mi_viewAnimation2"] = {[] { Entry().AnimateGears2(2); }};
  h["mi_viewsicherheit"] = {diagram(16, 3)};
  h["mi_viewErrorMessages"] = {common::FinishCalculationOutput};

  // CAD and STL
  h["mi_cadquick"] = {quick(0, 0)};
  h["mi_cadZahnraeder"] = {gears(0, 0)};
  h["mi_cadrad1"] = {gears(1, 0)};
  h["mi_cadrad2"] = {gears(2, 0)};
  h["mi_cadcarrier"] = {gears(8, 0)};
  h["mi_cadwaeltzkurve12"] = {gears(5, 0)};
  h["mi_cadwaelzkurve1"] = {gears(3, 0)};
  h["mi_cadwaelzkurve2"] = {gears(4, 0)};
  h["mi_cadDiagramme"] = {diagram(0, 0)};
  h["mi_stlrad1"] = {gears(1, 6)};
  h["mi_stlrad2"] = {gears(2, 6)};
  h["mi_stlcarrier"] = {gears(8, 6)};
  h["mi_stlkurve1"] = {gears(3, 6)};
  h["mi_stlkurve2"] = {gears(4, 6)};
  h["mi_stlzahnstange"] = {gears(9, 0)};

  // Database, documentation, spreadsheet
  h["mi_dbfmaterial"] = {[] { Entry().SelectGearMaterial(0, 0); }};
  h["mi_dbftoolx"] = {[] { Entry().SelectToolProfile(0, 0); }};
  h["mi_dbflastkoll"] = {[] {}};
  h["mi_docdrawinginfo"] = {[] {
    Entry().ShowDrawingInfoForm();
    if (!Aborted()) MarkChanged();
  }};
  h["mi_docuShowChanges1"] = {[] { Entry().ChangeListMenu(4); }};
  h["mi_docuPrintChanges"] = {[] { Entry().ChangeListMenu(5); }};
  h["mi_docuNewChange"] = {[] { EditChangeList(1); }};
  h["mi_docuModifyChanges"] = {[] { EditChangeList(2); }};
  h["mi_docudeleteChange"] = {[] { EditChangeList(3); }};
  h["mi_DocumentSetup"] = {[] {
    Entry().ShowDocumentLinksForm();
    if (!Aborted()) MarkChanged();
  }};
  h["mi_oleStartExcel"] = {[] {
    Entry().StartExcel();
    if (!Aborted()) MenuItem("mi_oleExportExcel").enabled = true;
  }};
  h["mi_oleExportExcel"] = {[] { Entry().ExportExcel(); }};
  h["mi_olePrintoutExcel"] = {[] { Entry().PrintoutExcel(3); }};

  // Help
  h["mi_HelpHilfebild"] = {[] { Entry().AuxImageManager(); }};
  h["mi_helpErrorMessages"] = {[] {
    common::ShowCalculationMessages();
    MainFormClick();
  }};
  h["mi_helphistory"] = {[] { Entry().OpenWebPage(ProgramInfoPageBase + common::ProgramName + "_e.htm"); }, false};
  h["mi_helplanguageDeutsch"] = language(1);
  h["mi_helplanguageEnglish"] = language(2);
  h["mi_helplanguageRomania"] = language(7);
  h["mi_helplanguageKorea"] = language(8);
  h["mi_helplanguageChinese"] = language(12);
  h["mi_helpwww"] = {[] { Entry().OpenWebPage(MakerHomePage); }, false};
  h["mi_helpSysInfo"] = {[] { Entry().ShowSystemInfo(); }, false};
  h["mi_HelpAbout"] = {[] { Entry().ShowAboutBox(); }, false};
  return h;
}

std::map<std::string, Handler>& Handlers() {
  static std::map<std::string, Handler> handlers = BuildHandlers();
  return handlers;
}

}  // namespace

std::vector<TMenuItem>& MainMenu1() {
  static std::vector<TMenuItem> items = BuildItems();
  return items;
}

TMenuItem& MenuItem(const std::string& name) {
  for (TMenuItem& item : MainMenu1())
    if (item.name == name) return item;
  throw std::out_of_range("no menu item " + name);
}

std::vector<TMenuItem*> MenuChildren(const std::string& parent) {
  std::vector<TMenuItem*> children;
  for (TMenuItem& item : MainMenu1())
    if (item.parent == parent) children.push_back(&item);
  return children;
}

void SetMenuCaptions() {
  ChooseLiteralColumn(common::LanguageCode);
  const std::string sp = " ";
  SetCaption("mi_file", Cap(common::CapFile));
  SetCaption("mi_fileNew", Cap(common::CapNew));
  SetCaption("mi_fileOpen", Cap(common::CapOpen));
  SetCaption("mi_fileOpenTable", Cap(common::CapOpen) + " (" + Cap(common::CapTable) + ")");
  SetCaption("mi_FileSave", Cap(common::CapSave));
  SetCaption("mi_FileSaveAs", Cap(common::CapSaveAs));
  SetCaption("mi_fileImportDXF", Cap(common::CapImportDxf));
  SetCaption("mi_fileExportDXF", Cap(common::CapExportDxf));
  SetCaption("mi_fileprint", Cap(common::CapPrint));
  SetCaption("mi_fileConfig", Cap(common::CapSettings));
  SetCaption("mi_fileexit", Cap(common::CapExit));

  SetCaption("mi_Edit", Cap(common::CapEdit));
  SetCaption("mi_editquick", Cap(common::CapNew));
  SetCaption("mi_EditText", Cap(common::CapText));
  SetCaption("mi_editwaelzkurve", Word(WordCurveGeometry));
  SetCaption("mi_editZahnrad", Cap(common::CapDimensions));
  SetCaption("mi_editbezugsprofil", Word(WordCuttingTool));
  SetCaption("mi_editAntrieb", Word(WordInputOutput));
  SetCaption("mi_EditMaterial", Cap(common::CapMaterial));
  SetCaption("mi_editfestigkeit", Word(WordStrength));

  SetCaption("mi_View", Cap(common::CapView));
  SetCaption("mi_viewprintout", Cap(common::CapPrintout));
  SetCaption("mi_viewprintoutalles", Word(WordDimensionsAndStrength));
  SetCaption("mi_viewprintoutabmess", Cap(common::CapDimensions));
  SetCaption("mi_viewprintoutfestigkeitauszug", Word(WordStrength) + " (" + Cap(common::CapExcerptPrintout) + ")");
  SetCaption("mi_viewprintoutfestigkeitvob1", Word(WordStrength));
  for (int n = 1; n <= 4; ++n) SetCaption("mi_viewquick" + std::to_string(n), Cap(common::CapQuick) + " " + std::to_string(n));
  SetCaption("mi_viewTeilkurven", Word(WordPitchCurve) + sp + Lit(LitPolar));
  SetCaption("mi_viewTeilkurvenxy", Word(WordPitchCurve) + " xy");
  SetCaption("mi_viewZahnraeder", Word(WordGearWheels));
  SetCaption("mi_viewzahnraederphi1", Word(WordGearWheels) + " phi1");
  SetCaption("mi_viewzahnstange", Word(WordGear2) + " 1 + " + Word(WordRack));
  SetCaption("mi_viewDiagsva", Cap(common::CapDiagram) + " s,v,a");
  SetCaption("mi_viewDiagDrehwinkel", Cap(common::CapDiagram) + " phi");
  SetCaption("mi_viewDiagUebersetzung", Cap(common::CapDiagram) + " i");
  SetCaption("mi_viewDiagUeberslog", Cap(common::CapDiagram) + " i log.");
  SetCaption("mi_viewDiagGeschw", Cap(common::CapDiagram) + " v");
  SetCaption("mi_viewDiagBeschleunig", Cap(common::CapDiagram) + " a");
  SetCaption("mi_viewAnimation1", Cap(common::CapAnimation) + " ");
  SetCaption("mi_viewAnimation2", Cap(common::CapAnimation) + " " + Word(WordGearWheels));
  SetCaption("mi_viewsicherheit", Cap(common::CapSafety));
  SetCaption("mi_viewErrorMessages", Cap(common::CapErrorMessages));

  SetCaption("mi_CAD", Cap(common::CapCad));
  SetCaption("mi_cadquick", Cap(common::CapQuick));
  SetCaption("mi_cadZahnraeder", Word(WordGearWheels));
  SetCaption("mi_cadrad1", Word(WordGear2) + " 1");
  SetCaption("mi_cadrad2", Word(WordGear2) + " 2");
  SetCaption("mi_cadcarrier", Lit(LitCarrier));
  SetCaption("mi_cadwaelzkurve", Word(WordPitchCurve));
  SetCaption("mi_cadwaeltzkurve12", "1+2");
  SetCaption("mi_cadwaelzkurve1", "1");
  SetCaption("mi_cadwaelzkurve2", "2");
  SetCaption("mi_cadDiagramme", Cap(common::CapDiagrams));

  SetCaption("mi_STL", Cap(common::CapStl));
  SetCaption("mi_stlrad1", Word(WordGear2) + " 1");
  SetCaption("mi_stlrad2", Word(WordGear2) + " 2");
  SetCaption("mi_stlcarrier", Lit(LitCarrier));
  SetCaption("mi_stlkurve1", Word(WordPitchCurve) + " 1");
  SetCaption("mi_stlkurve2", Word(WordPitchCurve) + " 2");
  SetCaption("mi_stlzahnstange", Word(WordRack));

  SetCaption("mi_database", Cap(common::CapDatabase));
  SetCaption("mi_dbfmaterial", Cap(common::CapMaterial));
  SetCaption("mi_dbftoolx", Word(WordCuttingTool));
  SetCaption("mi_dbflastkoll", Cap(common::CapMaterial) + " " + Word(WordLoadSpectrum));
  MenuItem("mi_dbflastkoll").visible = false;

  SetCaption("mi_documentation", Cap(common::CapDocument));
  SetCaption("mi_docdrawinginfo", Cap(common::CapDrawingData));
  SetCaption("mi_docuShowChanges1", Cap(common::CapModificationsInfo));
  SetCaption("mi_docuPrintChanges", Cap(common::CapModificationsPrintout));
  SetCaption("mi_docuNewChange", Cap(common::CapModificationNew));
  SetCaption("mi_docuModifyChanges", Cap(common::CapEditPreviousModification));
  SetCaption("mi_docudeleteChange", Cap(common::CapDeletePreviousModification));
  SetCaption("mi_DocumentSetup", Cap(common::CapLinks));

  SetCaption("mi_OLE", Cap(common::CapOle));
  SetCaption("mi_oleStartExcel", Lit(LitStartExcel));
  SetCaption("mi_oleExportExcel", Lit(LitExportExcel));
  SetCaption("mi_olePrintoutExcel", Lit(LitPrintoutExcel));

  SetCaption("mi_Help", Cap(common::CapHelp));
  SetCaption("mi_HelpHilfebild", Cap(common::CapAuxiliaryImages));
  SetCaption("mi_helpErrorMessages",
             Cap(common::CapErrorMessages) + " (" + std::to_string(common::MsgCount) + ")");
  SetCaption("mi_helphistory", common::ProductCode + " Info (www)");
  SetCaption("mi_helplanguage", Cap(common::CapMenu) + " " + Cap(common::CapLanguage));
  SetCaption("mi_helplanguageDeutsch", "&Deutsch");
  SetCaption("mi_helplanguageEnglish", "&English");
  SetCaption("mi_helplanguageRomania", "&Roman");
  SetCaption("mi_helplanguageKorea", "&Korea");
  SetCaption("mi_helplanguageChinese", "&Chinese");
  SetCaption("mi_helpwww", Lit(LitHomepage));
  SetCaption("mi_helpSysInfo", Cap(common::CapSystemInfo));
  SetCaption("mi_HelpAbout", common::ProductCode);
  UpdateRecentFileMenu();
}

void LocateRecentFileMenu() {
  const std::vector<TMenuItem*> file = MenuChildren("mi_file");
  for (std::size_t i = 0; i < file.size(); ++i)
    if (file[i]->name == "mi_fileexit") common::RecentFileMenuPos = static_cast<std::int32_t>(i);
}

void UpdateRecentFileMenu() {
  const std::vector<TMenuItem*> file = MenuChildren("mi_file");
  const int pos = common::RecentFileMenuPos;
  if (pos >= 6 && pos < static_cast<int>(file.size())) {
    file[pos - 1]->visible = !common::RecentFiles[1].empty();
    for (int n = 1; n <= 4; ++n) {
      TMenuItem& item = *file[pos - 6 + n];
      item.visible = !common::RecentFiles[n].empty();
      if (item.visible)
        item.caption = "&" + std::to_string(n) + " " + AmpersandsDoubled(ShortenPath(common::RecentFiles[n]));
    }
  }
  MakeMainMenuMnemonicsUnique();
}

void MenuItemClick(const std::string& name) {
  const auto found = Handlers().find(name);
  if (found == Handlers().end()) return;
  if (found->second.clearsAbort) AbortFlag = 0;
  found->second.action();
}

bool HasMenuHandler(const std::string& name) { return Handlers().count(name) != 0; }

}  // namespace app
