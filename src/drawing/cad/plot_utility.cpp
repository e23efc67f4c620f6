// The plot utility's command line and its back end; see plot_utility.h.
#include "drawing/cad/plot_utility.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "common/cad_settings.h"
#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/small_dialogs.h"
#include "platform/user_dialogs.h"
#include "common/text_file.h"
#include "common/text_utils.h"
#include "drawing/cad/cad_back_ends.h"
#include "drawing/cad/cad_output.h"
#include "drawing/cad/dxf_writer.h"
#include "platform/program_start.h"
#include "platform/user_dialogs.h"

namespace drawing {

using common::AbortFlag;
using common::CadSettings;

const std::array<const char*, PostScriptFontCount> PostScriptFontNames = {
    "Times-Roman",          "Times-Italic",           "Times-Bold",
    "Times-BoldItalic",     "Helvetica",              "Helvetica-Oblique",
    "Helvetica-Bold",       "Helvetica-BoldOblique",  "Helvetica-Narrow",
    "Helvetica-Narrow-Oblique", "Helvetica-Narrow-Bold", "Helvetica-Narrow-BoldOblique",
    "Courier",              "Courier-Oblique",        "Courier-Bold",
    "Courier-BoldOblique",  "Palatino-Roman",         "Palatino-Italic",
    "Palatino-Bold",        "Palatino-BoldItalic",    "AvantGarde-Book",
    "AvantGarde-Demi",      "AvantGarde-BookOblique", "AvantGarde-DemiOblique",
    "Bookman-Light",        "Bookman-Demi",           "Bookman-LightItalic",
    "Bookman-DemiItalic",   "NewCenturySchlbk-Roman", "NewCenturySchlbk-Bold",
    "NewCenturySchlbk-Italic", "NewCenturySchlbk-BoldItalic", "ZapfChancery-MediumItalic",
    "Symbol",               "other fonts"};

const std::array<const char*, PlotOutputCodeCount> PlotOutputCodes = {"HPL", "PS", "PLT", "PL2", "ART"};

// ---- The form's line ---------------------------------------------------------------

TPlotFormSettings DefaultPlotFormSettings() {
  TPlotFormSettings form;
  form.ProgramPath = "/tramlin/wtramlin";
  form.OutputDirectory = common::TempDirectory;
  return form;
}

std::string BuildPlotCommandLine(const TPlotFormSettings& form) {
  // Paths with blanks stand in quotes, so that the line keeps them whole.
  const std::string output = platform::CommandLineWord(common::AddBackslash(form.OutputDirectory) + "tramlin");
  std::string line = platform::CommandLineWord(form.ProgramPath) + " " + output;
  const bool ps = form.OutputCode == 1;
  line += " /C";
  if (form.OutputCode >= 0 && form.OutputCode < PlotOutputCodeCount) line += PlotOutputCodes[form.OutputCode];
  if (form.Interface != 1) line += " /D" + std::to_string(form.Interface + 1);
  if (form.Interface == 0 || form.Interface == 1) {
    const std::int32_t port = common::TextToInt(form.Interface == 0 ? form.Com : form.Lpt);
    if (port != 1) line += " /P" + std::to_string(port);
  } else if (!common::RemoveBlanks(form.OutputDirectory).empty()) {
    line += " /F" + output;
  }
  const Real scale = common::TextToReal(form.Scale);
  if (scale == 0)
    line += " /M*";
  else if (scale != 1)
    line += " /M" + form.Scale;
  if (common::TextToReal(form.XShift) != 0) line += " /X" + form.XShift;
  if (common::TextToReal(form.YShift) != 0) line += " /Y" + form.YShift;
  if (common::TextToReal(form.TextFactor) != 1) line += " /B" + form.TextFactor;
  if (form.Rotate) line += " /R";
  if (ps) line += " /T" + form.PsFont;
  return line;
}

// ---- The question sequence ------------------------------------------------------------

namespace {

// The directory of a command line's program: its first word up to its last
// separator ('/' or, in lines kept from older configurations, '\').
std::string ProgramDirectoryOf(const std::string& commandLine) {
  const std::vector<std::string> words = platform::CommandLineWords(commandLine);
  const std::string first = words.empty() ? std::string() : words.front();
  const auto cut = first.find_last_of("/\\");
  return cut == std::string::npos ? std::string() : first.substr(0, cut);
}

// Chooses entry 1..n of items with index preselected; false on Cancel.
bool Choose(const std::string& caption, std::initializer_list<const char*> items, int& index) {
  int i = 1;
  for (const char* item : items) common::TextLines[i++] = item;
  common::SelectFromList(caption, static_cast<int>(items.size()), index);
  return AbortFlag == 0;
}

// Writes the line into an executable shell script; false when it could not
// be created.
bool WriteScript(const std::string& fileName, const std::string& line) {
  common::TextFile& file = common::SharedTextFile;
  if (file.CurrentMode() == common::TextFile::Mode::Writing) file.Discard();
  file.Assign(fileName);
  std::error_code ec;
  if (!file.Rewrite(ec)) return false;
  // A shell reads line ends without carriage returns.
  const bool written = file.Write("#!/bin/sh\n" + line + "\n");
  if (!file.Close(ec) || !written) return false;
  namespace fs = std::filesystem;
  fs::permissions(fileName, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, ec);
  return !ec;
}

}  // namespace

void ConfigurePlotUtility(std::string& commandLine) {
  const std::string dxfFile = platform::CommandLineWord(common::AddBackslash(common::TempDirectory) + "tramlin");
  std::string directory = ProgramDirectoryOf(commandLine);

  int edition = 2;
  if (!Choose("TRAMLIN/WTRAMLIN", {"WTRAMLIN.EXE (Windows)", "TRAMLIN.EXE (MS-DOS)"}, edition)) return;
  const std::string programFile = edition == 1 ? "wtramlin.exe" : "tramlin.exe";
  for (;;) {
    common::SetHelpNumber(2080);
    common::InputFileName("Program directory of " + programFile, platform::NoLengthLimit, directory);
    if (AbortFlag) return;
    common::CheckFileAccess(common::AddBackslash(directory) + programFile);
    if (AbortFlag == 0) break;
    AbortFlag = 0;
  }

  int code = 1;
  common::SetHelpNumber(2090);
  if (!Choose("destination code",
              {"HP-GL Laserjet (HPL)", "Postscript  (PS)", "HP-GL (PLT)", "HP-GL/2  (PL2)", "Aristo  (ART)"}, code))
    return;
  int interface = 2;
  common::SetHelpNumber(2110);
  if (!Choose("output interface", {"serial", "parallel", "file"}, interface)) return;
  std::uint16_t port = 1;
  std::string destination;
  if (interface == 1 || interface == 2) {
    common::SetHelpNumber(2120);
    common::InputWord(interface == 1 ? "COM-Port" : "LPT-Port", port, 1, 4);
  } else {
    common::SetHelpNumber(2130);
    common::InputFileName("destination file name", platform::NoLengthLimit, destination);
  }
  if (AbortFlag) return;

  Real scale = 1, x = 0, y = 0, textFactor = 1;
  bool rotate = false;
  std::string font;
  common::SetHelpNumber(2140);
  common::InputDouble("scale (0=fit limits)", scale, 0, 1000);
  if (AbortFlag) return;
  common::SetHelpNumber(2145);
  common::AskYesNoBool("rotate 90 degrees ?", rotate);
  if (AbortFlag) return;
  common::SetHelpNumber(2150);
  common::InputDouble("reference point shifting x direction", x, -1e8L, 1e8L);
  if (AbortFlag) return;
  common::InputDouble("reference point shifting y direction", y, -1e8L, 1e8L);
  if (AbortFlag) return;
  common::SetHelpNumber(2160);
  common::InputDouble("Textwidth/height", textFactor, 0.1L, 10);
  if (AbortFlag) return;
  if (code == 2) {
    common::SetHelpNumber(2280);
    common::InputText("Postscript font", 28, font);
    if (AbortFlag) return;
  }

  // Numbers with a point, whatever the decimal sign of the printouts: the
  // utility reads them so.
  std::string line =
      platform::CommandLineWord(common::AddBackslash(directory) + (edition == 1 ? "WTRAMLIN" : "TRAMLIN")) + " " + dxfFile;
  line += " /C" + std::string(PlotOutputCodes[code - 1]);
  if (interface != 2) line += " /D" + std::to_string(interface);
  if (interface != 3 && port != 1) line += " /P" + std::to_string(port);
  if (interface == 3 && !common::TrimBlanks(destination).empty()) line += " /F" + platform::CommandLineWord(destination);
  if (scale == 0)
    line += " /M*";
  else if (scale != 1)
    line += " /M" + common::RealToTextDot(scale);
  if (x != 0) line += " /X" + common::RealToTextDot(x);
  if (rotate) line += " /R";
  if (y != 0) line += " /Y" + common::RealToTextDot(y);
  if (textFactor != 1) line += " /B" + common::RealToTextDot(textFactor);
  if (code == 2) line += " /T" + font;

  if (line.size() > 60) {
    common::ShowMessageText("command line too long, A batch file will be created.");
    std::string name = common::AddBackslash(directory) + common::LowerText(common::ProgramName);
    for (;;) {
      common::SetHelpNumber(2170);
      common::InputFileName("batch file name (without .bat)", platform::NoLengthLimit, name);
      if (AbortFlag) return;
      if (std::filesystem::path(name).filename().string().find('.') != std::string::npos) continue;
      if (WriteScript(name + ".BAT", line)) break;
      common::ShowError("file " + name + ".BAT " + "cannot be created");
    }
    line = platform::CommandLineWord(name + ".BAT");
  }
  commandLine = line;
}

// ---- Start ---------------------------------------------------------------------------

bool StartPlotUtility(const std::string& commandLine) {
  const platform::StartResult result = platform::StartCommandLine(commandLine);
  switch (result.outcome) {
    case platform::StartOutcome::Started: return true;
    case platform::StartOutcome::NotFound: common::ShowError("file not found"); break;
    case platform::StartOutcome::OutOfMemory: common::ShowError("out of memory !"); break;
    case platform::StartOutcome::Failed: common::ShowError("Exec error " + std::to_string(result.error)); break;
  }
  return false;
}

// ---- Back end ------------------------------------------------------------------------

namespace {

// Device 4: a DXF file in the temporary directory, then the utility.
class PlotDevice : public DxfBackEnd {
 public:
  bool PlacesLogos() const override { return true; }
  void Open() override {
    CadSettings.CadFileName = common::AddBackslash(common::TempDirectory) + "tramlin.dxf";
    OpenCadOutputFile();
  }
  void Close() override {
    DxfWriteEof();
    if (AbortFlag == 0) {
      const int index = CadSettings.PlotCommandIndex >= 1 && CadSettings.PlotCommandIndex <= common::MaxPlotCommandLines
                            ? CadSettings.PlotCommandIndex
                            : 1;
      StartPlotUtility(CadSettings.PlotCommandLines[index]);
    }
    platform::Dialogs().SetBusyCursor(false);
  }
};

}  // namespace

CadBackEnd& PlotBackEnd() {
  static PlotDevice device;
  return device;
}

}  // namespace drawing
