// The procedural facade over the graphics window; see graphics_facade.h.
#include "common/graphics_facade.h"

#include "common/code_page.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "platform/user_dialogs.h"

namespace common {

TFkaldgra FKaldgra;

void InitGraphicsWindowUnit() {
  ResetGraphWindowState();
  ScreenGraphicsSettings.ZoomIncrement = 1.2L;
  ScreenGraphicsSettings.PanFactor = 0.1L;
  ScreenGraphicsSettings.GraphXFactor = 1;
  ScreenGraphicsSettings.AspectFactor = 1;
}

void InitGraphDisplayList() {
  FKaldgra.Clear();
  FKaldgra.FormCreate();
}

void ClearGraphics() { FKaldgra.Clear(); }

void GraphWindow(bool keepAspect, bool inset, Real fx1, Real fy1, Real fx2, Real fy2, Real wx1, Real wy1, Real wx2,
                 Real wy2) {
  FKaldgra.SetWindow(keepAspect, inset, fx1, fy1, fx2, fy2, wx1, wy1, wx2, wy2);
}

void GraphCircle(Real x, Real y, Real r) { FKaldgra.circle(x, y, r); }
void GraphLine(Real x1, Real y1, Real x2, Real y2) { FKaldgra.line(x1, y1, x2, y2); }
void GraphArc(Real cx, Real cy, Real a1, Real a2, Real r, Real sweep) { FKaldgra.Arc(cx, cy, a1, a2, r, sweep); }
void GraphText(Real x, Real y, const std::string& text) { FKaldgra.OutTextXY(x, y, OemToDisplayText(text)); }
void GraphColor(int c) { FKaldgra.SetColor(c); }
void GraphDosColor(int n) { GraphColor(DosColorToIndex(n)); }
void GraphHeader(Real wx1, Real wy1, Real wx2, Real wy2) { FKaldgra.Header(wx1, wy1, wx2, wy2); }
void GraphClearViewPort() { FKaldgra.ClearViewPort(); }
void GraphLineStyle(int s) { FKaldgra.SetLineStyle(s); }
void GraphLineWidth(int w) { FKaldgra.SetLineWidth(w); }
void GraphTextStyle(int font, Real direction, Real height, Real width) {
  FKaldgra.SetTextStyle(font, direction, height, width);
}
void GraphSolid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  FKaldgra.Solid(x1, y1, x2, y2, x3, y3, x4, y4);
}
void GraphSleep(int ms) { FKaldgra.SleepMs(ms); }
void GraphLogo() { FKaldgra.DrawKaldrimLogo(); }
void WaitCursor() { platform::Dialogs().SetBusyCursor(true); }
void NormalCursor() { platform::Dialogs().SetBusyCursor(false); }

void GraphMessage(const std::string& text) {
  platform::Dialogs().ShowMessage(
      {"Message:", MixedToDisplayText(text), platform::MessageKind::Plain, platform::MessageButtons::Ok});
}

void CheckFileExists(const std::string& name) {
  // Tried on a file of its own, so that a file open on the shared text
  // file is not closed by the check.
  if (FileCanOpen(name)) return;
  GraphMessage(name + " " + "not found" + " !");
  AbortFlag = 1;
}

std::string DataFileName() {
  if (CurrentFileName.empty()) return "";
  if (BareNameFlag) return CurrentFileName;
  // A design opened from the command line keeps its name as given; a bare
  // name gets the extension.
  return DesignFilePath(DataDirectory, CurrentFileName);
}

}  // namespace common
