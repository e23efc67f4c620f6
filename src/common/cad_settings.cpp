// Defaults of the CAD settings record; see cad_settings.h.
#include "common/cad_settings.h"

namespace common {

namespace {

TCadSettings Defaults() {
  TCadSettings s;
  for (int i = 0; i <= 5; ++i) s.CadLayerNames[i] = std::to_string(i);
  const std::int32_t colours[6] = {1, 2, 2, 2, 3, 1};
  const std::int32_t widths[6] = {3, 1, 1, 1, 2, 3};
  for (int i = 0; i <= 5; ++i) {
    s.CadLayerColours[i] = colours[i];
    s.CadLayerLineWidths[i] = widths[i];
  }
  for (int pen = 16; pen <= 31; ++pen) {
    s.CadPenColours[pen] = pen - 15;
    s.CadPenWidths[pen] = 1;
  }
  s.CadTextFont = "TXT8";
  s.PlotCommandLines.fill(DefaultPlotCommandLine);
  s.StlHeights[1] = 0;
  s.StlHeights[2] = 1;
  const Real area[6] = {0, 160, 0, 120, 160, 120};
  for (int i = 1; i <= 6; ++i) s.CadDrawingArea[i] = area[i - 1];
  s.CadFrameOptions.fill(0);
  s.CadFileName = std::string(59, ' ');
  return s;
}

}  // namespace

TCadSettings CadSettings = Defaults();

void InitCadSettings() { CadSettings = Defaults(); }

}  // namespace common
