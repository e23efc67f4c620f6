// The configuration dialog's model; see config_dialog.h.
#include "common/config_dialog.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/cad_settings.h"
#include "common/code_page.h"
#include "common/file_dialogs.h"
#include "common/file_utils.h"
#include "common/form_placement.h"
#include "common/help_text.h"
#include "common/input_dialogs.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/report_writer.h"
#include "common/text_utils.h"
#include "platform/screen.h"
#include "platform/user_dialogs.h"

namespace common {

namespace {

constexpr Real DegreesPerRadian = 180 / std::numbers::pi_v<Real>;

using K = ConfigControlKind;

TConfigControl Edit(const char* page, const char* name, const char* caption, const char* button = "",
                    const char* buttonCaption = "") {
  TConfigControl c;
  c.page = page;
  c.name = name;
  c.caption = caption;
  c.button = button;
  c.buttonCaption = buttonCaption;
  return c;
}
TConfigControl Check(const char* page, const char* name, const char* caption) {
  TConfigControl c = Edit(page, name, caption);
  c.kind = K::Check;
  return c;
}
TConfigControl Choice(K kind, const char* page, const char* name, const char* caption,
                      std::vector<std::string> items) {
  TConfigControl c = Edit(page, name, caption);
  c.kind = kind;
  c.items = std::move(items);
  return c;
}
TConfigControl Spin(const char* page, const char* name, const char* caption, int lo, int hi,
                    const char* button = "", const char* buttonCaption = "") {
  TConfigControl c = Edit(page, name, caption, button, buttonCaption);
  c.kind = K::Spin;
  c.minimum = lo;
  c.maximum = hi;
  return c;
}

std::vector<std::string> UnitItems() {
  std::vector<std::string> items;
  for (int i = 0; i <= 4; ++i) items.push_back(OemToDisplayText(UnitSystemNames[i]));
  return items;
}

std::vector<TConfigControl> BuildControls() {
  const char* dir = "Tab_dir";
  const char* gr = "Tab_grafik";
  const char* cad = "Tab_cad";
  const char* pr = "Tab_drucker";
  const char* tx = "Tab_textdruck";
  const char* st = "Tab_einstellung";
  const char* ex = "Tab_extern";
  const char* dr = "Tab_zeichnung";
  return {
      Edit(dir, "Edit_dirdbf", "Database directory (dbf)", "Button_dirdbf", "..."),
      Edit(dir, "Edit_direxe", "Program directory", "Button_direxe", "..."),
      Edit(dir, "Edit_dirplt", "Directory help(hlp), images(plt), demo(dem)", "Button_dirplt", "..."),
      Edit(dir, "Edit_dirtemp", "Temporary directory", "Button_dirtemp", "..."),
      Edit(dir, "Edit_diredi", "EDI Directory", "Button_diredi", "..."),
      Edit(dir, "Edit_dircad", "CAD Directory", "Button_dircad", "..."),
      Edit(dir, "Edit_dirdata", "Working Directory", "Button_dirdata", "..."),
      Check(dir, "CheckBox_dbftemp", "copy DBF -> TEMP"),

      Edit(gr, "Edit_graphfont", "Text font", "Button_graphicfont", "Font..."),
      Edit(gr, "Edit_x", "Window size x", "Button_x", "<"),
      Edit(gr, "Edit_y", "Window size y", "Button_y", "<"),
      Choice(K::Combo, gr, "ComboBox_screensizecode", "Main window size",
             {"0 : manual", "1 : 4:3 of the screen", "2 : full screen"}),
      Check(gr, "CheckBox_farbe", "Color graphics"),
      Edit(gr, "Edit_zoom", "zoom increment", "Button_zoom", "<"),
      Edit(gr, "Edit_pan", "pan faktor", "Button_pan", "<"),
      Edit(gr, "Edit_textbreitenfaktor", "Textwidth/height", "Button_textbreitenfaktor", "<"),
      Edit(gr, "Edit_texthoehenfaktor", "Text height factor", "Button_texthoehenfaktor", "<"),
      Spin(gr, "SpinEdit_dialogsize", "Dialog window size %", 0, 1000, "Button_dialogelemente", "<"),
      Spin(gr, "SpinEdit_dialogelemente", "Dialog element size", 0, 1000),
      Choice(K::Combo, gr, "ComboBox_dialogwindowSizecode", "Dialog window size",
             {"0 : manual", "1 : from the screen"}),
      Choice(K::Combo, gr, "ComboBox_textwindowsizecode", "Text window size", {"0 : manual", "1 : default"}),

      Edit(cad, "Edit_cadtextfont", "Text font"),
      Edit(cad, "Edit_cadtextbreite", "Textwidth/height", "Button_cadtextbreite", "<"),
      Edit(cad, "Edit_cadtextwinkel", "Font angle", "Button_cadtextwinkel", "<"),
      Edit(cad, "Edit_freigabefeld", "Drawing approved", "Button_freigabefeld", "<"),
      Edit(cad, "Edit_dxfdec", "Digits for floating point numbers DXF, TXT", "Button_dxfdec", "<"),
      Edit(cad, "Edit_massfaktorconfig", "Scale factor", "Button_massfaktorconfig", "<"),
      Check(cad, "CheckBox_japolyArcToLines", "Arcs to lines"),
      Edit(cad, "Edit_resolutionArcToLines", "Arc resolution"),
      Check(cad, "CheckBox_layermono", "Layer Monochrome ?"),
      Check(cad, "CheckBox_execCadFile", "Open the CAD file after output"),
      Choice(K::Combo, cad, "ComboBox_cadstltype", "STL type", {"0 : binary", "1 : ASCII"}),

      Edit(pr, "Edit_printxorigin", "Origin x", "Button_printxorigin", "<"),
      Edit(pr, "Edit_printyorigin", "Origin y", "Button_printyorigin", "<"),
      Check(pr, "CheckBox_printborder", "Border line"),
      Edit(pr, "Edit_printscalex", "Scale x", "Button_printscalex1", "<"),
      Edit(pr, "Edit_printscaley", "Scale y"),
      Choice(K::Radio, pr, "RadioGroup_printmode", "Print mode", {"Monochrome", "Color / grey-scale"}),
      Choice(K::Radio, pr, "RadioGroup_orientation", "Orientation", {"Portrait", "Landscape"}),
      Check(pr, "CheckBox_outcode", "Show output code dialogue box"),

      Spin(tx, "SpinEdit_lpt", "LPT-Interface for text printing", 1, 9),
      Choice(K::Radio, tx, "RadioGroup_linetype", "Line type",
             {"lines  ---- ====  ****", "blanks and empty lines", "compressed, without space lines"}),
      Edit(tx, "Edit_lines", "Max. lines per page for printer"),
      Edit(tx, "Edit_headerlines", "header space lines"),
      Choice(K::Combo, tx, "ComboBox_date", "date",
             {"dd.mm.yyyy", "mm/dd/yyyy", "yyyy-mm-dd", "dd/mm/yyyy", "yyyy/mm/dd"}),
      Edit(tx, "Edit_twleft", "Text window left", "Button_Textwindow", "<"),
      Edit(tx, "Edit_twtop", "Text window top"),
      Edit(tx, "Edit_twwidth", "Text window width"),
      Edit(tx, "Edit_twheight", "Text window height"),
      Choice(K::Radio, tx, "RadioGroup_header", "Header", {"with header", "header only page 1"}),
      Edit(tx, "Edit_font", "Printout font", "Button_font", "Font..."),
      Edit(tx, "Edit_fontsize", "Printout font size"),

      Choice(K::Radio, st, "RadioGroup_helplevel", "Help level",
             {"0 : No info window", "1 : default help level", "2 : extended help, single input"}),
      Check(st, "CheckBox_enteruser", "Enter user at start of program"),
      Choice(K::Radio, st, "RadioGroup_dot", "Decimal sign", {"Dot", "Comma"}),
      Choice(K::Radio, st, "RadioGroup_ExcelDot", "Decimal sign Excel", {"Dot", "Comma"}),
      Choice(K::Combo, st, "ComboBox_unit", "Unit", UnitItems()),
      Choice(K::Radio, st, "RadioGroup_ausgrad", "Angle", {"decimal degrees", "degrees, minutes, seconds"}),
      Choice(K::Radio, st, "RadioGroup_chars", "Special characters", {"Windows", "ASCII"}),
      Check(st, "CheckBox_archiv", "Archive flag ?"),
      Check(st, "CheckBox_hidewarnings", "Suppress hints and warnings"),
      Choice(K::Radio, st, "RadioGroup_ergebnisgrafik", "Result Screen",
             {"default", "Quick 1", "Quick 3", "Production drawing", "Diagram", "Drawing", "Quick 4"}),
      Check(st, "CheckBox_aktuellfile", "Current file"),
      Check(st, "CheckBox_saveMenuLanguage", "save menu language"),
      Check(st, "CheckBox_edit3d", "Edit 3D x,y,z ?"),
      Edit(st, "Edit_3dx", "3D - Default x"),
      Edit(st, "Edit_3dy", "3D - Default y"),
      Edit(st, "Edit_3dz", "3D - Default z"),
      Check(st, "CheckBox_3Dto2D", "3D to 2D"),

      Edit(ex, "Edit_externtxt", "word processor", "Button_externtxt", "..."),
      Edit(ex, "Edit_externhtml", "HTML Browser", "Button_externhtml", "..."),
      Edit(ex, "Edit_handbuchdir", " E-Manual", "Button_handbuchdir", "..."),

      Choice(K::Combo, dr, "ComboBox_zeichnkopf", "Drawing head",
             {"0 : title block with changes", "1 : title block 180 x 27", "2 : title block 180 x 36",
              "3 : title block with changes, high"}),
      Choice(K::Combo, dr, "ComboBox_7200rand", "Border", {"0 : border", "1 : border with zones"}),
      Check(dr, "CheckBox_zeichkaldrim", "Program name"),
      Check(dr, "CheckBox_zeichfilename", "File name"),
      Check(dr, "CheckBox_zeichdatum", "Date"),
      Check(dr, "CheckBox_zeichlogo", "Logo"),
      Check(dr, "CheckBox_zeichfusszeile", "Production drawing with header"),
      Check(dr, "CheckBox_zeichnungskopf", "Drawing with header"),
      Check(dr, "CheckBox_rahmenvermerk", "sheet border"),
      Check(dr, "CheckBox_abc123", "ABCD-1234  Border line"),
      Check(dr, "CheckBox_mmscale", "mm Scale  Border line"),
      Check(dr, "CheckBox_aenderungen", "Show modifications ? "),
      Check(dr, "CheckBox_zeichhead034", "Head blocks 0/3/4"),
      Check(dr, "CheckBox_zeichinsert034", "Insert blocks 0/3/4"),
  };
}

// The drawing-frame check boxes: option index and whether a ticked box
// means the byte 0 (the option switches a decoration off).
struct FrameBox {
  const char* name;
  int option;
  bool inverted;
};
constexpr FrameBox kFrameBoxes[] = {
    {"CheckBox_zeichkaldrim", FrameOptMakerTitle, true},   {"CheckBox_zeichfilename", FrameOptFileName, true},
    {"CheckBox_zeichdatum", FrameOptDate, true},           {"CheckBox_zeichlogo", FrameOptLogo, true},
    {"CheckBox_zeichfusszeile", FrameOptFooter, true},     {"CheckBox_zeichnungskopf", FrameOptDrawingHead, false},
    {"CheckBox_rahmenvermerk", FrameOptProtectionNotice, true}, {"CheckBox_abc123", FrameOptFieldStyle, true},
    {"CheckBox_mmscale", FrameOptMmScale, true},           {"CheckBox_aenderungen", FrameOptChanges, false},
    {"CheckBox_zeichhead034", FrameOptHeadParts, false},   {"CheckBox_zeichinsert034", FrameOptInsertParts, false},
};

// The line-type choice and the rule styles: lines (1, or the box lines 2),
// blanks (3), compressed (4).
int LineTypeIndex(int ruleStyle) { return ruleStyle == 3 ? 1 : (ruleStyle == 4 ? 2 : 0); }
std::uint16_t RuleStyleOf(int index, std::uint16_t current) {
  if (index == 1) return 3;
  if (index == 2) return 4;
  return current == 2 ? 2 : 1;
}

std::string IntText(long long n) { return IntToText(n); }

int Index(const TConfigDialogValues& v, const std::string& name) {
  const auto it = v.index.find(name);
  return it == v.index.end() ? 0 : it->second;
}
bool Checked(const TConfigDialogValues& v, const std::string& name) {
  const auto it = v.check.find(name);
  return it != v.check.end() && it->second;
}
std::string TextOf(const TConfigDialogValues& v, const std::string& name) {
  const auto it = v.text.find(name);
  return it == v.text.end() ? std::string() : it->second;
}
// Angles are shown in degrees and kept in radians.
std::string RadiansAsDegreesText(Real radians) { return RealToText(radians * DegreesPerRadian); }
Real DegreesTextAsRadians(const std::string& text) { return TextToReal(text) / DegreesPerRadian; }
Real PlainReal(const std::string& text) { return TextToReal(text); }

Real RealOf(const TConfigDialogValues& v, const std::string& name, ValueEdit::FromText fromText = PlainReal) {
  const auto shown = v.reals.find(name);
  if (shown == v.reals.end()) return fromText(TextOf(v, name));
  ValueEdit edit = shown->second;
  edit.text = TextOf(v, name);
  return edit.Read(fromText);
}

void ShowReal(TConfigDialogValues& v, const std::string& name, Real value,
              ValueEdit::ToText toText = [](Real x) { return RealToText(x); }) {
  ValueEdit edit;
  edit.Show(value, toText);
  v.text[name] = edit.text;
  v.reals[name] = edit;
}
// A whole number into its edit, remembered as shown.
void ShowWhole(TConfigDialogValues& v, const std::string& name, long long n) {
  v.text[name] = IntText(n);
  v.wholes[name] = v.text[name];
}
std::int32_t IntOf(const TConfigDialogValues& v, const std::string& name) { return TextToInt(TextOf(v, name)); }
std::uint16_t Word(long long n) { return static_cast<std::uint16_t>(std::clamp<long long>(n, 0, 65535)); }

// A program text (code page 850) into an edit and back.
std::string Shown(const std::string& oem) { return OemToDisplayText(oem); }
std::string Stored(const std::string& display) { return AnsiToOemText(display); }
// A directory or a file is the file system's text: shown and kept as it is,
// so that a folder named beyond ASCII ("/home/jürgen") is that folder.
const std::string& ShownPath(const std::string& path) { return path; }
const std::string& StoredPath(const std::string& entered) { return entered; }

void ChooseDirectory(TConfigDialogValues& v, const std::string& edit) {
  std::string directory = StoredPath(TextOf(v, edit));
  SelectDirectory(directory, directory);
  v.text[edit] = ShownPath(directory);
  AbortFlag = 0;
}

void ChooseFileInto(TConfigDialogValues& v, const std::string& edit, const std::string& filter) {
  std::string name = StoredPath(TextOf(v, edit));
  SelectFile(name, filter, name);
  v.text[edit] = ShownPath(name);
  AbortFlag = 0;
}

// The colour list preselected with the number in the text; the chosen
// number, or nothing.
std::optional<int> ChooseColourNumber(const std::string& current) {
  SetColourNames();
  platform::ChoiceRequest request;
  request.caption = "Select";
  request.prompt = "Colour";
  request.items = ColourChoiceItems();
  request.preselected = std::clamp(TextToInt(current), 1, 16) - 1;
  const std::optional<int> chosen = platform::Dialogs().ChooseItem(request);
  if (!chosen) {
    AbortFlag = 1;
    return std::nullopt;
  }
  return *chosen + 1;
}

platform::FontChoice FontOf(const std::string& face, int size, int style) {
  platform::FontChoice f;
  f.face = face;
  f.size = size > 0 ? size : 10;
  f.bold = style & FontBold;
  f.italic = style & FontItalic;
  f.underline = style & FontUnderline;
  f.strikeout = style & FontStrikeOut;
  return f;
}
int StyleOf(const platform::FontChoice& f) {
  return (f.bold ? FontBold : 0) | (f.italic ? FontItalic : 0) | (f.underline ? FontUnderline : 0) |
         (f.strikeout ? FontStrikeOut : 0);
}

void PrintFontDialog(TConfigDialogValues& v) {
  const platform::FontChoice initial = FontOf(TextOf(v, "Edit_font"), IntOf(v, "Edit_fontsize"), v.printFontStyle);
  const std::optional<platform::FontChoice> chosen = platform::Dialogs().ChooseFont("Font", initial);
  if (!chosen) return;
  v.text["Edit_font"] = chosen->face;
  v.text["Edit_fontsize"] = IntText(chosen->size);
  v.printFontStyle = StyleOf(*chosen);
}

// The layer rows' defaults: colour and line thickness of rows 1..5.
constexpr int kLayerDefaults[5][2] = {{2, 1}, {2, 1}, {2, 1}, {3, 2}, {1, 3}};

}  // namespace

// ---- Pages, controls, colours ---------------------------------------------------------

const std::vector<TConfigPage>& ConfigPages() {
  static const std::vector<TConfigPage> pages = {
      {"Tab_dir", "Directories"}, {"Tab_grafik", "Graphics"},     {"Tab_cad", "CAD"},
      {"Tab_color", "Colour"},    {"Tab_drucker", "Printer"},     {"Tab_textdruck", "Printout"},
      {"Tab_einstellung", "Settings"}, {"Tab_extern", "external"}, {"Tab_zeichnung", "Drawing"},
  };
  return pages;
}

const std::vector<TConfigControl>& ConfigControls() {
  static const std::vector<TConfigControl> controls = BuildControls();
  return controls;
}

const std::array<const char*, 5> LayerLineTypes = {
    "continuous line      0.50 mm", "continuous line      0.35 mm", "continuous line      0.25 mm",
    "dashed line          0.25 mm", "center line          0.25 mm"};

const std::array<const char*, 16> ColourNames = {
    "red",      "yellow",       "green", "cyan",       "blue",      "magenta",   "white", "dark blue",
    "dark green", "dark cyan", "dark red", "dark magenta", "brown", "light grey", "dark grey", "black"};

void SetColourNames() {
  for (int i = 1; i <= 16; ++i) TextLines[i] = ColourNames[static_cast<std::size_t>(i - 1)];
}

std::vector<std::string> ColourChoiceItems() {
  std::vector<std::string> items;
  for (int i = 1; i <= 16; ++i) items.push_back(IntText(i) + " (" + TrimBlanks(TextLines[i]) + ")");
  return items;
}

// ---- Settings into the controls and back --------------------------------------------------

void ConfigToDialog(TConfigDialogValues& v) {
  const TScreenGraphicsSettings& sg = ScreenGraphicsSettings;
  const TPrinterGraphicsSettings& pg = PrinterGraphicsSettings;
  const TCadSettings& cad = CadSettings;
  auto& t = v.text;
  auto& i = v.index;
  auto& c = v.check;

  t["Edit_dirdbf"] = ShownPath(DbfDirectory);
  t["Edit_direxe"] = ShownPath(MakerDirectory);
  t["Edit_dirplt"] = ShownPath(PltDirectory);
  t["Edit_dirtemp"] = ShownPath(TempDirectory);
  t["Edit_diredi"] = ShownPath(EdiDirectory);
  t["Edit_dircad"] = ShownPath(CadDirectory);
  t["Edit_dirdata"] = ShownPath(DefaultDataDirectory);
  c["CheckBox_dbftemp"] = CopyTableFlag != 0;

  t["Edit_graphfont"] = sg.GraphTextFont;
  v.graphFontStyle = sg.TextStyleGraphics;
  ShowWhole(v, "Edit_x", HorizontalPixels + 1);
  ShowWhole(v, "Edit_y", VerticalPixels + 1);
  i["ComboBox_screensizecode"] = std::clamp(ScreenSizeCode, 0, 2);
  c["CheckBox_farbe"] = ColorGraphics;
  ShowReal(v, "Edit_zoom", sg.ZoomIncrement);
  ShowReal(v, "Edit_pan", sg.PanFactor);
  ShowReal(v, "Edit_textbreitenfaktor", sg.TextWidthFactor);
  ShowReal(v, "Edit_texthoehenfaktor", sg.TextHeightFactor);
  i["SpinEdit_dialogsize"] = InputWindowScale;
  i["SpinEdit_dialogelemente"] = ZoomPercent;
  i["ComboBox_dialogwindowSizecode"] = std::clamp(DialogWindowSizeCode, 0, 1);
  i["ComboBox_textwindowsizecode"] = std::clamp(TextWindowSizeCode, 0, 1);
  v.backgroundColour = sg.BackgroundColour;

  t["Edit_cadtextfont"] = cad.CadTextFont;
  ShowReal(v, "Edit_cadtextbreite", cad.CadTextWidthRatio);
  ShowReal(v, "Edit_cadtextwinkel", cad.CadFontSlant);
  t["Edit_freigabefeld"] = Shown(cad.CadApprovalText);
  ShowWhole(v, "Edit_dxfdec", cad.CadDecimals);
  ShowReal(v, "Edit_massfaktorconfig", cad.CadScaleSetting);
  c["CheckBox_japolyArcToLines"] = cad.CadArcsToLines != 0;
  ShowReal(v, "Edit_resolutionArcToLines", cad.CadArcResolution);
  c["CheckBox_layermono"] = cad.LayerMonochrome != 0;
  c["CheckBox_execCadFile"] = cad.CadOpenAfterOutput != 0;
  i["ComboBox_cadstltype"] = std::clamp(cad.CadStlType, 0, 1);
  for (int r = 1; r <= 5; ++r) {
    auto& row = v.layers[static_cast<std::size_t>(r - 1)];
    row[0] = cad.CadLayerNames[r];
    row[1] = IntText(cad.CadLayerColours[r]);
    row[2] = IntText(cad.CadLayerLineWidths[r]);
  }
  v.layersShown = v.layers;
  for (int n = 1; n <= MaxPlotCommandLines; ++n) v.plotLines[static_cast<std::size_t>(n - 1)] = cad.PlotCommandLines[n];
  v.plotCount = std::clamp<int>(cad.PlotCommandCount, 1, MaxPlotCommandLines);
  v.plotSelected = std::clamp<int>(cad.PlotCommandIndex, 1, MaxPlotCommandLines) - 1;

  for (int n = 0; n <= 15; ++n) v.panelColours[n] = sg.ColorTable[n + 1];

  ShowWhole(v, "Edit_printxorigin", pg.ScreendumpOriginX);
  ShowWhole(v, "Edit_printyorigin", pg.ScreendumpOriginY);
  c["CheckBox_printborder"] = pg.ScreendumpBorder;
  ShowReal(v, "Edit_printscalex", pg.ScreendumpScale);
  ShowReal(v, "Edit_printscaley", pg.PrintScaleVertical);
  i["RadioGroup_printmode"] = WindowsPrintMode == 2 ? 1 : 0;
  i["RadioGroup_orientation"] = pg.PrinterOrientation == 1 ? 0 : 1;
  c["CheckBox_outcode"] = TextDeviceWindow;

  i["SpinEdit_lpt"] = PrinterInterface;
  i["RadioGroup_linetype"] = LineTypeIndex(RuleStyle);
  ShowWhole(v, "Edit_lines", LinesPerPage);
  ShowWhole(v, "Edit_headerlines", HeaderSpaceLines);
  i["ComboBox_date"] = std::clamp<int>(DateFormatCode, 1, 5) - 1;
  ShowWhole(v, "Edit_twleft", pg.TextWindow.Left);
  ShowWhole(v, "Edit_twtop", pg.TextWindow.Top);
  ShowWhole(v, "Edit_twwidth", pg.TextWindow.Width);
  ShowWhole(v, "Edit_twheight", pg.TextWindow.Height);
  i["RadioGroup_header"] = HeaderMode == 2 ? 1 : 0;
  t["Edit_font"] = pg.TextFontPrintout;
  ShowWhole(v, "Edit_fontsize", pg.TextSizePrintout);
  v.printFontStyle = pg.TextStylePrintout;

  i["RadioGroup_helplevel"] = std::clamp<int>(HelpLevel, 0, 2);
  c["CheckBox_enteruser"] = EnterUserId;
  i["RadioGroup_dot"] = DecimalSign == 2 ? 1 : 0;
  i["RadioGroup_ExcelDot"] = ExcelDecimalCode == 2 ? 1 : 0;
  i["ComboBox_unit"] = std::clamp<int>(UnitSystem, 0, 4);
  i["RadioGroup_ausgrad"] = AngleFormat == 1 ? 0 : 1;
  i["RadioGroup_chars"] = AsciiTextMode ? 1 : 0;
  c["CheckBox_archiv"] = ArchiveFlag;
  c["CheckBox_hidewarnings"] = MsgQuiet;
  i["RadioGroup_ergebnisgrafik"] = std::clamp(ResultGraphic, 0, 6);
  c["CheckBox_aktuellfile"] = CurrentFileFlag;
  c["CheckBox_saveMenuLanguage"] = SaveMenuLanguage;
  c["CheckBox_edit3d"] = Edit3DFlag;
  ShowReal(v, "Edit_3dx", View3DAngles[1], RadiansAsDegreesText);
  ShowReal(v, "Edit_3dy", View3DAngles[2], RadiansAsDegreesText);
  ShowReal(v, "Edit_3dz", View3DAngles[3], RadiansAsDegreesText);
  c["CheckBox_3Dto2D"] = !View3DMode;

  t["Edit_externtxt"] = ShownPath(WordProcessorPath);
  t["Edit_externhtml"] = ShownPath(HtmlBrowserPath);
  t["Edit_handbuchdir"] = ShownPath(ManualDirectory);

  i["ComboBox_zeichnkopf"] = std::clamp<int>(FrameStyle, 0, 3);
  i["ComboBox_7200rand"] = std::clamp(FrameVariant, 0, 1);
  for (const FrameBox& box : kFrameBoxes) {
    const bool set = cad.CadFrameOptions[box.option] != 0;
    c[box.name] = box.inverted ? !set : set;
  }
}

bool ConfigNumbersAccepted(TConfigDialogValues& v) {
  for (const TConfigControl& c : ConfigControls()) {
    if (const auto real = v.reals.find(c.name); real != v.reals.end()) {
      ValueEdit edit = real->second;
      edit.text = TextOf(v, c.name);
      const bool accepted = edit.Accept(c.caption);
      v.text[c.name] = edit.text;
      if (!accepted) return false;
    } else if (const auto whole = v.wholes.find(c.name); whole != v.wholes.end()) {
      if (!AcceptWholeNumberText(c.caption, v.text[c.name], whole->second)) return false;
    }
  }
  for (std::size_t r = 0; r < v.layers.size(); ++r) {
    const std::string layer = " of layer " + IntText(static_cast<long long>(r + 1));
    if (!AcceptWholeNumberText("Colour" + layer, v.layers[r][1], v.layersShown[r][1]) ||
        !AcceptWholeNumberText("Line thickness" + layer, v.layers[r][2], v.layersShown[r][2]))
      return false;
  }
  return true;
}

namespace {

// The folders the program works in and the table-copy box, as entered
// (the paths as typed, not through the code page).
void TakeWorkingDirectories(const TConfigDialogValues& v) {
  DbfDirectory = StoredPath(TextOf(v, "Edit_dirdbf"));
  TempDirectory = StoredPath(TextOf(v, "Edit_dirtemp"));
  PltDirectory = StoredPath(TextOf(v, "Edit_dirplt"));
  EdiDirectory = StoredPath(TextOf(v, "Edit_diredi"));
  CadDirectory = StoredPath(TextOf(v, "Edit_dircad"));
  DefaultDataDirectory = StoredPath(TextOf(v, "Edit_dirdata"));
  CopyTableFlag = Checked(v, "CheckBox_dbftemp") ? 1 : 0;
}

}  // namespace

void DialogToConfig(const TConfigDialogValues& v, const TConfigScreen& screen) {
  TScreenGraphicsSettings& sg = ScreenGraphicsSettings;
  TPrinterGraphicsSettings& pg = PrinterGraphicsSettings;
  TCadSettings& cad = CadSettings;

  MakerDirectory = StoredPath(TextOf(v, "Edit_direxe"));
  TakeWorkingDirectories(v);

  sg.GraphTextFont = TextOf(v, "Edit_graphfont");
  sg.TextStyleGraphics = Word(v.graphFontStyle);
  // The pixel fields show the size; the settings hold the last pixel. 0
  // means the screen's size less the frame.
  int x = std::clamp(IntOf(v, "Edit_x") - 1, 0, 5000);
  int y = std::clamp(IntOf(v, "Edit_y") - 1, 0, 5000);
  if (x == 0) x = screen.width + screen.frameDx;
  if (y == 0) y = screen.height + screen.frameDy;
  HorizontalPixels = Word(x);
  VerticalPixels = Word(y);
  ScreenSizeCode = Index(v, "ComboBox_screensizecode");
  ColorGraphics = Checked(v, "CheckBox_farbe");
  sg.ZoomIncrement = RealOf(v, "Edit_zoom");
  if (sg.ZoomIncrement == 0) sg.ZoomIncrement = 1.0L;
  sg.PanFactor = RealOf(v, "Edit_pan");
  if (sg.PanFactor == 0) sg.PanFactor = 0.01L;
  sg.TextWidthFactor = RealOf(v, "Edit_textbreitenfaktor");
  if (sg.TextWidthFactor == 0) sg.TextWidthFactor = 1.0L;
  sg.TextHeightFactor = RealOf(v, "Edit_texthoehenfaktor");
  if (sg.TextHeightFactor == 0) sg.TextHeightFactor = 1.0L;
  InputWindowScale = Index(v, "SpinEdit_dialogsize");
  if (InputWindowScale == 0) InputWindowScale = 100;
  ZoomPercent = Index(v, "SpinEdit_dialogelemente");
  if (ZoomPercent == 0) ZoomPercent = 100;
  DialogWindowSizeCode = Index(v, "ComboBox_dialogwindowSizecode");
  TextWindowSizeCode = Index(v, "ComboBox_textwindowsizecode");
  sg.BackgroundColour = v.backgroundColour;

  cad.CadTextFont = TextOf(v, "Edit_cadtextfont");
  cad.CadTextWidthRatio = RealOf(v, "Edit_cadtextbreite");
  if (cad.CadTextWidthRatio == 0) cad.CadTextWidthRatio = 1.0L;
  cad.CadFontSlant = RealOf(v, "Edit_cadtextwinkel");
  cad.CadApprovalText = Stored(TextOf(v, "Edit_freigabefeld"));
  cad.CadDecimals = IntOf(v, "Edit_dxfdec");
  if (cad.CadDecimals < 1 || cad.CadDecimals > 32) cad.CadDecimals = 6;
  cad.CadScaleSetting = RealOf(v, "Edit_massfaktorconfig");
  if (cad.CadScaleSetting <= 0.01L) cad.CadScaleSetting = 1.0L;
  cad.CadArcsToLines = Checked(v, "CheckBox_japolyArcToLines") ? 1 : 0;
  cad.CadArcResolution = RealOf(v, "Edit_resolutionArcToLines");
  if (cad.CadArcResolution <= 0) cad.CadArcResolution = 0.5L;
  cad.LayerMonochrome = Checked(v, "CheckBox_layermono") ? 1 : 0;
  cad.CadOpenAfterOutput = Checked(v, "CheckBox_execCadFile") ? 1 : 0;
  cad.CadStlType = Index(v, "ComboBox_cadstltype");
  for (int r = 1; r <= 5; ++r) {
    const auto& row = v.layers[static_cast<std::size_t>(r - 1)];
    cad.CadLayerNames[r] = row[0];
    cad.CadLayerColours[r] = TextToInt(row[1]);
    std::int32_t width = TextToInt(row[2]);
    if (width < 1 || width > 255) width = 1;
    cad.CadLayerLineWidths[r] = width;
  }
  for (int n = 1; n <= MaxPlotCommandLines; ++n) cad.PlotCommandLines[n] = v.plotLines[static_cast<std::size_t>(n - 1)];
  cad.PlotCommandCount = Word(std::clamp(v.plotCount, 1, MaxPlotCommandLines));
  cad.PlotCommandIndex = Word(std::clamp(v.plotSelected + 1, 1, static_cast<int>(cad.PlotCommandCount)));

  for (int n = 0; n <= 15; ++n) sg.ColorTable[n + 1] = v.panelColours[n];

  pg.ScreendumpOriginX = IntOf(v, "Edit_printxorigin");
  pg.ScreendumpOriginY = IntOf(v, "Edit_printyorigin");
  pg.ScreendumpBorder = Checked(v, "CheckBox_printborder");
  pg.ScreendumpScale = static_cast<double>(RealOf(v, "Edit_printscalex"));
  if (pg.ScreendumpScale == 0) pg.ScreendumpScale = 1.0;
  pg.PrintScaleVertical = static_cast<double>(RealOf(v, "Edit_printscaley"));
  if (pg.PrintScaleVertical <= 0.0001) pg.PrintScaleVertical = pg.ScreendumpScale;
  WindowsPrintMode = Index(v, "RadioGroup_printmode") == 1 ? 2 : 1;
  pg.PrinterOrientation = Index(v, "RadioGroup_orientation") == 0 ? 1 : 2;
  TextDeviceWindow = Checked(v, "CheckBox_outcode");

  PrinterInterface = Word(std::max(1, Index(v, "SpinEdit_lpt")));
  RuleStyle = RuleStyleOf(Index(v, "RadioGroup_linetype"), RuleStyle);
  LinesPerPage = IntOf(v, "Edit_lines");
  if (LinesPerPage < 5) LinesPerPage = 66;
  HeaderSpaceLines = IntOf(v, "Edit_headerlines");
  if (HeaderSpaceLines < 0 || HeaderSpaceLines >= 31) HeaderSpaceLines = 0;
  DateFormatCode = Word(Index(v, "ComboBox_date") + 1);
  TextWindowRect& tw = pg.TextWindow;
  tw.Left = IntOf(v, "Edit_twleft");
  if (tw.Left < 0 || tw.Left > 1000) tw.Left = 10;
  tw.Top = IntOf(v, "Edit_twtop");
  if (tw.Top < 0 || tw.Top > 450) tw.Top = 40;
  tw.Width = IntOf(v, "Edit_twwidth");
  if (tw.Width < 50 || tw.Width > 1000) tw.Width = 700;
  tw.Height = IntOf(v, "Edit_twheight");
  if (tw.Height < 50 || (screen.height > 0 && tw.Height > screen.height)) tw.Height = IntOf(v, "Edit_y") - 20;
  HeaderMode = Word(Index(v, "RadioGroup_header") + 1);
  pg.TextFontPrintout = TextOf(v, "Edit_font");
  if (pg.TextFontPrintout.empty()) pg.TextFontPrintout = "Courier New";
  pg.TextSizePrintout = Word(IntOf(v, "Edit_fontsize"));
  if (pg.TextSizePrintout == 0) pg.TextSizePrintout = 10;
  pg.TextStylePrintout = Word(v.printFontStyle);

  HelpLevel = Word(Index(v, "RadioGroup_helplevel"));
  EnterUserId = Checked(v, "CheckBox_enteruser");
  DecimalSign = Index(v, "RadioGroup_dot") == 1 ? 2 : 1;
  ExcelDecimalCode = Index(v, "RadioGroup_ExcelDot") == 1 ? 2 : 1;
  UnitSystem = Word(std::clamp(Index(v, "ComboBox_unit"), 0, 4));
  AngleFormat = Index(v, "RadioGroup_ausgrad") == 0 ? 1 : 2;
  AsciiTextMode = Index(v, "RadioGroup_chars") == 1;
  ArchiveFlag = Checked(v, "CheckBox_archiv");
  MsgQuiet = Checked(v, "CheckBox_hidewarnings");
  ResultGraphic = Index(v, "RadioGroup_ergebnisgrafik");
  CurrentFileFlag = Checked(v, "CheckBox_aktuellfile");
  SaveMenuLanguage = Checked(v, "CheckBox_saveMenuLanguage");
  Edit3DFlag = Checked(v, "CheckBox_edit3d");
  View3DAngles[1] = RealOf(v, "Edit_3dx", DegreesTextAsRadians);
  View3DAngles[2] = RealOf(v, "Edit_3dy", DegreesTextAsRadians);
  View3DAngles[3] = RealOf(v, "Edit_3dz", DegreesTextAsRadians);
  View3DMode = !Checked(v, "CheckBox_3Dto2D");

  WordProcessorPath = StoredPath(TextOf(v, "Edit_externtxt"));
  HtmlBrowserPath = StoredPath(TextOf(v, "Edit_externhtml"));
  ManualDirectory = StoredPath(TextOf(v, "Edit_handbuchdir"));

  FrameStyle = Word(Index(v, "ComboBox_zeichnkopf"));
  FrameVariant = Index(v, "ComboBox_7200rand");
  for (const FrameBox& box : kFrameBoxes) {
    const bool ticked = Checked(v, box.name);
    cad.CadFrameOptions[box.option] = (box.inverted ? !ticked : ticked) ? 1 : 0;
  }
}

std::string PrintFontStyleText(const TConfigDialogValues& v) { return FontStyleName(v.printFontStyle); }

// ---- Buttons ------------------------------------------------------------------------------

std::function<void(std::string&)>& ConfigPlotLineEditor() {
  static std::function<void(std::string&)> editor;
  return editor;
}

TConfigScreen ConfigScreenNow() {
  const platform::ScreenSize s = platform::PrimaryScreenSize();
  TConfigScreen screen;
  screen.width = s.width;
  screen.height = s.height;
  return screen;
}

bool ConfigButtonClick(TConfigDialogValues& v, const std::string& b) {
  static const std::map<std::string, std::string> directoryButtons = {
      {"Button_dirdbf", "Edit_dirdbf"}, {"Button_dirplt", "Edit_dirplt"},   {"Button_dirtemp", "Edit_dirtemp"},
      {"Button_dirdata", "Edit_dirdata"}, {"Button_dircad", "Edit_dircad"}, {"Button_direxe", "Edit_direxe"},
      {"Button_diredi", "Edit_diredi"}};
  static const std::map<std::string, std::pair<std::string, std::string>> defaults = {
      {"Button_zoom", {"Edit_zoom", "1.02"}},
      {"Button_pan", {"Edit_pan", "0.02"}},
      {"Button_textbreitenfaktor", {"Edit_textbreitenfaktor", "0.8"}},
      {"Button_texthoehenfaktor", {"Edit_texthoehenfaktor", "1"}},
      {"Button_cadtextbreite", {"Edit_cadtextbreite", "1"}},
      {"Button_cadtextwinkel", {"Edit_cadtextwinkel", "0"}},
      {"Button_printxorigin", {"Edit_printxorigin", "0"}},
      {"Button_printyorigin", {"Edit_printyorigin", "0"}},
      {"Button_printscalex1", {"Edit_printscalex", "1.0"}},
      {"Button_massfaktorconfig", {"Edit_massfaktorconfig", "1.0"}},
      {"Button_freigabefeld", {"Edit_freigabefeld", "App"}},
      {"Button_dxfdec", {"Edit_dxfdec", "6"}},
  };
  static const std::map<std::string, int> helpButtons = {
      {"Button_grafikhilfe", 1940}, {"Button_helpprint", 1935}, {"Button_helpausdruck", 1930},
      {"Button_helpcad", 1920},     {"Button_layerhilfe", 1910}, {"Button_workingDir", 1605},
      {"Button_colorhilfe", 1555}};

  if (const auto d = directoryButtons.find(b); d != directoryButtons.end()) {
    ChooseDirectory(v, d->second);
    return true;
  }
  if (const auto d = defaults.find(b); d != defaults.end()) {
    // The default texts are written with the configured decimal sign.
    std::string text = d->second.second;
    if (DecimalSign == 2) std::replace(text.begin(), text.end(), '.', ',');
    v.text[d->second.first] = text;
    return true;
  }
  if (const auto h = helpButtons.find(b); h != helpButtons.end()) {
    ShowHelpText(h->second, 1);
    return true;
  }
  if (b == "Button_dirtempenv") {
    std::string temp;
    GetEnvText("TEMP", temp);
    if (temp.empty()) GetEnvText("TMPDIR", temp);
    temp.erase(std::remove(temp.begin(), temp.end(), ' '), temp.end());
    v.text["Edit_dirtemp"] = temp;
    return true;
  }
  if (b == "Button_externtxt" || b == "Button_externhtml") {
    // Programs carry no extension here: every file is offered.
    ChooseFileInto(v, b == "Button_externtxt" ? "Edit_externtxt" : "Edit_externhtml", "*");
    return true;
  }
  if (b == "Button_handbuchdir") {
    ChooseFileInto(v, "Edit_handbuchdir", "*.htm");
    return true;
  }
  if (b == "Button_graphicfont") {
    v.text["Edit_graphfont"] = "Arial";
    v.graphFontStyle = FontBold | FontItalic;
    return true;
  }
  if (b.rfind("Button_layer", 0) == 0 && b.size() == 13 && b[12] >= '1' && b[12] <= '5') {
    const int r = b[12] - '1';
    v.layers[static_cast<std::size_t>(r)][1] = IntText(kLayerDefaults[r][0]);
    v.layers[static_cast<std::size_t>(r)][2] = IntText(kLayerDefaults[r][1]);
    return true;
  }
  if (b.rfind("Button_dick", 0) == 0 && b.size() == 12 && b[11] >= '1' && b[11] <= '3') {
    const int r = std::clamp(v.layerRow, 1, 5) - 1;
    const int column = std::clamp(v.layerColumn, 0, 2);
    v.layers[static_cast<std::size_t>(r)][static_cast<std::size_t>(column)] = std::string(1, b[11]);
    return true;
  }
  if (b == "Button_selectcolor" || b == "Button_selectlayercolor") {
    const int r = std::clamp(v.layerRow, 1, 5) - 1;
    const int column = b == "Button_selectlayercolor" ? 1 : std::clamp(v.layerColumn, 0, 2);
    std::string& cell = v.layers[static_cast<std::size_t>(r)][static_cast<std::size_t>(column)];
    if (const std::optional<int> chosen = ChooseColourNumber(cell)) cell = IntText(*chosen);
    AbortFlag = 0;
    return true;
  }
  if (b == "Button_resetcolor") {
    const RangeArray<ColourValue, 0, 16> table = DefaultColorTable();
    for (int n = 0; n <= 15; ++n) v.panelColours[n] = table[n + 1];
    return true;
  }
  if (b == "Button_Textwindow") {
    v.text["Edit_twleft"] = "20";
    v.text["Edit_twtop"] = "40";
    const int size = IntOf(v, "Edit_fontsize");
    v.text["Edit_twwidth"] = size == 0 ? "700" : IntText(static_cast<long long>(size) * 700 / 10 * ScreenDpi / 96);
    const TConfigScreen screen = ConfigScreenNow();
    if (screen.height > 0) v.text["Edit_twheight"] = IntText(std::lround(0.95 * screen.height) - 40);
    return true;
  }
  if (b == "Button_x" || b == "Button_aufloesung") {
    if (const int w = MainClientWidth(); w > 0) v.text["Edit_x"] = IntText(w);
    if (b == "Button_x") return true;
  }
  if (b == "Button_y" || b == "Button_aufloesung") {
    if (const int h = MainClientHeight(); h > 0) v.text["Edit_y"] = IntText(h);
    return true;
  }
  if (b == "Button_font") {
    PrintFontDialog(v);
    return true;
  }
  if (b == "Button_dialogelemente") {
    v.index["SpinEdit_dialogsize"] = EffectiveInputScale();
    return true;
  }
  if (b == "Button_conftramlin") {
    std::string& line = v.plotLines[static_cast<std::size_t>(std::clamp(v.plotSelected, 0, MaxPlotCommandLines - 1))];
    if (ConfigPlotLineEditor()) {
      ConfigPlotLineEditor()(line);
    } else {
      InputText("TRAMLIN Command Line", 255, line);
    }
    AbortFlag = 0;
    return true;
  }
  if (b == "Button_edittramlincommandline") {
    const int n = std::clamp(v.plotSelected, 0, MaxPlotCommandLines - 1);
    InputText("TRAMLIN Command Line", 255, v.plotLines[static_cast<std::size_t>(n)]);
    // A line entered below the used ones puts the lines up to it in use.
    if (!AbortFlag && n + 1 > v.plotCount) v.plotCount = n + 1;
    AbortFlag = 0;
    return true;
  }
  if (b == "CheckBox_dbftemp") {
    // The directories as entered are checked at once (and the tables copied
    // when the box is ticked), as the running program would use them.
    KeptSettings kept;
    TakeWorkingDirectories(v);
    CheckConfiguredDirectories();
    // A temporary directory entered in the check's question is shown.
    v.text["Edit_dirtemp"] = ShownPath(TempDirectory);
    kept.PutBack();
    AbortFlag = 0;
    return true;
  }
  return false;
}

void ConfigColourPanelClick(TConfigDialogValues& v, int n) {
  if (n < 0 || n > 15) return;
  if (const std::optional<std::uint32_t> colour =
          platform::Dialogs().ChooseColour("Colour", v.panelColours[n]))
    v.panelColours[n] = *colour;
}

std::set<std::string> HiddenConfigControls(const TConfigDialogValues& v) {
  std::set<std::string> hidden;
  const int style = Index(v, "ComboBox_zeichnkopf");
  if (style != 0 && style != 3) {
    hidden.insert("CheckBox_zeichhead034");
    hidden.insert("CheckBox_zeichinsert034");
  }
  if (Index(v, "ComboBox_7200rand") != 1) {
    hidden.insert("CheckBox_abc123");
    hidden.insert("CheckBox_mmscale");
  }
  if (Index(v, "ComboBox_screensizecode") != 0) {
    hidden.insert("Edit_x");
    hidden.insert("Edit_y");
  }
  if (Index(v, "ComboBox_dialogwindowSizecode") != 0) {
    hidden.insert("SpinEdit_dialogsize");
    hidden.insert("SpinEdit_dialogelemente");
  }
  if (Index(v, "ComboBox_textwindowsizecode") != 0)
    for (const char* name : {"Edit_twleft", "Edit_twtop", "Edit_twwidth", "Edit_twheight"}) hidden.insert(name);
  return hidden;
}

void ConfigHeadStyleChanged(TConfigDialogValues& v) {
  const int style = Index(v, "ComboBox_zeichnkopf");
  if (style == 0 || style == 3) v.index["ComboBox_7200rand"] = 0;
}

// ---- The session --------------------------------------------------------------------------

ConfigDialogSession::ConfigDialogSession() : start_(std::make_unique<KeptSettings>()) { ConfigToDialog(values_); }

// The table directory may have changed: the next table opened checks
// again whether it can be written.
namespace {
void ForgetTableWriteCheck() { WriteCheckFlags[1] = 0; }
}  // namespace

bool ConfigDialogSession::Ok(const TConfigScreen& screen) {
  if (!ConfigNumbersAccepted(values_)) return false;
  DialogToConfig(values_, screen);
  ForgetTableWriteCheck();
  AbortFlag = 0;
  return true;
}

void ConfigDialogSession::Cancel() {
  start_->PutBack();
  AbortFlag = 1;
}

bool ConfigDialogSession::Save(const TConfigScreen& screen) {
  if (!ConfigNumbersAccepted(values_)) return false;
  DialogToConfig(values_, screen);
  ForgetTableWriteCheck();
  AbortFlag = 0;
  WriteConfigFile();
  // What is saved stays, whatever the dialog ends with.
  start_ = std::make_unique<KeptSettings>();
  return true;
}

void ConfigDialogSession::Import() {
  platform::FileNameRequest request;
  request.caption = "Open";
  request.directory = RemoveBackslash(AddBackslash(ConfigDirectory));
  request.filter = "*.cfg|*.cfg";
  request.extension = "cfg";
  const std::optional<std::string> chosen = AskInputFile(request);
  if (!chosen) {
    AbortFlag = 1;
    return;
  }
  // The file's settings are shown; the running ones stay until OK.
  KeptSettings running;
  ReadConfigFileFrom(*chosen);
  AbortFlag = 0;
  ConfigToDialog(values_);
  running.PutBack();
}

bool ConfigDialogSession::Export(const TConfigScreen& screen) {
  if (!ConfigNumbersAccepted(values_)) return false;
  DialogToConfig(values_, screen);
  start_ = std::make_unique<KeptSettings>();
  platform::FileNameRequest request;
  request.caption = "Save as";
  request.directory = RemoveBackslash(AddBackslash(ConfigDirectory));
  request.fileName = ProgramName + ".cfg";
  request.filter = "*.cfg|*.cfg";
  request.extension = "cfg";
  const std::optional<std::string> chosen = AskOutputFile(request);
  if (!chosen) {
    AbortFlag = 1;
    return true;
  }
  AbortFlag = 0;
  WriteConfigFileTo(*chosen);
  return true;
}

std::function<void()>& ConfigDialogView() {
  static std::function<void()> view;
  return view;
}

void ShowConfigDialog() {
  if (!ConfigDialogView()) {
    AbortFlag = 1;
    return;
  }
  ConfigDialogView()();
}

}  // namespace common
