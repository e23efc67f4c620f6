// Device codes, the device choice and the device table; see cad_device.h.
#include "drawing/cad/cad_device.h"

#include <algorithm>
#include <array>
#include <functional>

#include "common/cad_settings.h"
#include "common/code_page.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/small_dialogs.h"
#include "common/text_utils.h"
#include "drawing/cad/cad_back_ends.h"
#include "drawing/cad/plot_utility.h"

namespace drawing {

CadDeviceCode CadDevice = CadDeviceScreen;
CadDeviceCode CadRequestedDevice = CadAskDevice;

namespace {

// The none device, and every code without a back end.
CadBackEnd& NoBackEnd() {
  static CadBackEnd none;
  return none;
}

CadBackEnd* BuiltInBackEnd(CadDeviceCode code) {
  switch (code) {
    case CadDeviceDxf: return &DxfFileBackEnd();
    case CadDeviceIges: return &IgesBackEnd();
    case CadDevicePlot: return &PlotBackEnd();
    case CadDeviceScreen: return &ScreenBackEnd();
    case CadDeviceTextCad: return &TextCadBackEnd();
    case CadDeviceStl: return &StlBackEnd();
    case CadDeviceStep: return &StepBackEnd();
    default: return nullptr;
  }
}

std::array<CadBackEnd*, CadDeviceCount + 1>& Installed() {
  static std::array<CadBackEnd*, CadDeviceCount + 1> installed{};
  return installed;
}

}  // namespace

CadBackEnd& CadBackEndFor(CadDeviceCode code) {
  if (code <= CadDeviceCount && Installed()[code]) return *Installed()[code];
  if (CadBackEnd* builtIn = BuiltInBackEnd(code)) return *builtIn;
  return NoBackEnd();
}

CadBackEnd* SetCadBackEnd(CadDeviceCode code, CadBackEnd* backEnd) {
  if (code > CadDeviceCount) return nullptr;
  CadBackEnd* previous = Installed()[code];
  Installed()[code] = backEnd;
  return previous;
}

void SetCadDevice(CadDeviceCode code) { CadDevice = code; }

void SelectCadDevice() {
  const char* const devices[7] = {"DXF", "IGES", "Control Output to Screen", "TRAMLIN - Send to Printer/Plotter",
                                  "TXT", "STL", "STEP"};
  for (int i = 1; i <= 7; ++i) common::TextLines[i] = devices[i - 1];
  common::SetHelpNumber(2050);
  int chosen = CadDevice;
  common::SelectFromList("CAD Code", 7, chosen);
  if (common::AbortFlag) return;
  CadDevice = static_cast<CadDeviceCode>(chosen);
  if (CadDevice != CadDevicePlot) return;
  auto& settings = common::CadSettings;
  const int count = std::clamp<int>(settings.PlotCommandCount, 1, common::MaxPlotCommandLines);
  if (count >= 2) {
    for (int i = 1; i <= count; ++i) common::TextLines[i] = settings.PlotCommandLines[i];
    common::SetHelpNumber(2055);
    int line = settings.PlotCommandIndex;
    common::SelectFromList("TRAMLIN Command Line", count, line);
    if (common::AbortFlag) return;
    settings.PlotCommandIndex = static_cast<std::uint16_t>(line);
  } else {
    settings.PlotCommandIndex = 1;
  }
  std::string& commandLine = settings.PlotCommandLines[settings.PlotCommandIndex];
  if (PlotCommandEditor()) PlotCommandEditor()(commandLine);
  common::SetHelpNumber(2060);
  std::string line = commandLine;
  common::InputText("TRAMLIN command line (0=Parameter)", 60, line);
  if (common::AbortFlag) return;
  const std::string trimmed = common::TrimBlanks(line);
  if ((trimmed.empty() || trimmed.front() == '0') && PlotCommandBuilder()) {
    commandLine = PlotCommandBuilder()();
  } else {
    commandLine = line;
  }
}

std::function<void(std::string&)>& PlotCommandEditor() {
  static std::function<void(std::string&)> editor;
  return editor;
}

std::function<std::string()>& PlotCommandBuilder() {
  // The question sequence of the utility, starting from the line in use;
  // Cancel keeps that line.
  static std::function<std::string()> builder = [] {
    std::string line = common::CadSettings.PlotCommandLines[common::CadSettings.PlotCommandIndex];
    ConfigurePlotUtility(line);
    return line;
  };
  return builder;
}

}  // namespace drawing
