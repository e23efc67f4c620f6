// The graphics window's headless half: records, zoom mapping, keys, mouse
// and the replay onto device canvases; see graphics_window.h.
#include "common/graphics_window.h"

#include <algorithm>
#include <cmath>

#include "common/kaldvar.h"
#include "common/plane_geometry.h"
#include "common/text_utils.h"
#include "platform/user_dialogs.h"

namespace common {

TDisplayList DisplayList;
TGraphWindowState GraphWindowState;
std::uint8_t HardcopyFlag = 0;
std::uint16_t PrintPictureKind = PictureDrawing;
char GraphZoomKey = 0;
char GraphPanKey = 0;

namespace {

constexpr Real kPi = 3.14159265358979323846264338327950288L;
// Zoom and pan stop before a zoom-rectangle coordinate leaves this range,
// far inside the 32-bit range of the rectangle and of the pixel mapping.
constexpr Real kZoomLimit = 16777216.0L;

int RoundInt(Real x) {
  if (!std::isfinite(x)) return 0;
  x = std::clamp(x, Real(-2147483647.0L), Real(2147483647.0L));
  return static_cast<int>(std::llround(x));
}

// Device pixels stay within this range: far beyond any canvas and far
// inside the integer range of the devices, so that a point millions of
// millimetres away neither overflows nor reaches a device as garbage.
constexpr Real kPixelLimit = 4194304.0L;
// Lines reaching beyond this are cut at it first, so that the part on the
// canvas keeps its direction.
constexpr Real kLineGuard = 1048576.0L;

int PixelInt(Real v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::llround(std::clamp(v, -kPixelLimit, kPixelLimit)));
}

Real Rad(Real degrees) { return degrees * kPi / 180.0L; }

TScreenGraphicsSettings& Screen() { return ScreenGraphicsSettings; }
TGraphWindowState& St() { return GraphWindowState; }

constexpr ColourValue kBlack = 0;

}  // namespace

int ReferenceWidth() { return HorizontalPixels > 0 ? HorizontalPixels : 640; }
int ReferenceHeight() { return VerticalPixels > 0 ? VerticalPixels : 480; }

void ResetGraphWindowState() {
  GraphWindowState = TGraphWindowState{};
  HardcopyFlag = 0;
  GraphZoomKey = 0;
  GraphPanKey = 0;
}

int DosColorToIndex(int n) {
  if (n > 16) n &= 15;
  switch (n) {
    case 0: return 0;
    case 1: return 12;
    case 2: return 14;
    case 3: return 10;
    case 4: return 11;
    case 5: return 9;
    case 6: return 13;
    case 7: return 15;
    case 16: return 16;
    default: return n >= 8 && n <= 15 ? n - 7 : n;
  }
}

// ---- The window -----------------------------------------------------------------

TFkaldgra::TFkaldgra() = default;

void TFkaldgra::AttachHost(GraphicsHost* host) { host_ = host; }

void TFkaldgra::FormCreate() {
  ResetGraphWindowState();
  Screen().GraphXFactor = 1;
  Screen().AspectFactor = 1;
  Screen().ZoomIncrement = 1.2L;
  Screen().PanFactor = 0.1L;
  LastLineStyle = 99;
  LastLineWidth = 1;
  Dragging = 0;
  DoubleClicked = 0;
  LastColor = -1;
  StepMode = 0;
}

void TFkaldgra::Invalidate() {
  if (host_) host_->Invalidate();
}

void TFkaldgra::FormPaint() {
  if (host_) host_->RepaintNow();
}

void TFkaldgra::SetWindow(bool keepAspect, bool inset, Real fx1, Real fy1, Real fx2, Real fy2, Real wx1, Real wy1,
                          Real wx2, Real wy2) {
  // A world window without width or height has no mapping; it is refused
  // before it is recorded, so that the list and the window state stay usable.
  if (wx1 == wx2 || wy1 == wy2) {
    AbortFlag = 1;
    return;
  }
  const int hp = ReferenceWidth(), vp = ReferenceHeight();
  auto& s = St();
  s.ViewLeft = RoundInt(hp * fx1);
  s.ViewRight = RoundInt(hp * fx2);
  s.ViewTop = RoundInt(vp * (1 - fy2));
  s.ViewBottom = RoundInt(vp * (1 - fy1));
  if (inset) {
    ++s.ViewLeft;
    ++s.ViewTop;
    --s.ViewRight;
    --s.ViewBottom;
  }
  DisplayList.Add(RecWindow, {Real(s.ViewLeft), Real(s.ViewTop), Real(s.ViewRight), Real(s.ViewBottom), wx1, wy1,
                              wx2, wy2});
  ReleaseErased();
  s.WorldX1 = wx1;
  s.WorldY1 = wy1;
  s.WorldX2 = wx2;
  s.WorldY2 = wy2;
  Screen().KeepAspect = keepAspect;
  SetScale(s.ViewLeft, s.ViewTop, s.ViewRight, s.ViewBottom);
}

void TFkaldgra::SetScale(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  auto& s = St();
  auto& g = Screen();
  if (x1 == x2 || y1 == y2) return;
  // A viewport without width or height (a degenerate window) maps nothing.
  if (s.ViewRight == s.ViewLeft || s.ViewBottom == s.ViewTop) return;
  if (s.WorldX2 == s.WorldX1 || s.WorldY2 == s.WorldY1) return;
  g.ZoomLeft = x1;
  g.ZoomTop = y1;
  g.ZoomRight = x2;
  g.ZoomBottom = y2;
  const Real vw = s.ViewRight - s.ViewLeft, vh = s.ViewBottom - s.ViewTop;
  g.ViewX1 = s.WorldX1 + (x1 - s.ViewLeft) / vw * (s.WorldX2 - s.WorldX1);
  g.ViewX2 = s.WorldX1 + (x2 - s.ViewLeft) / vw * (s.WorldX2 - s.WorldX1);
  g.ViewY1 = s.WorldY1 + (y1 - s.ViewTop) / vh * (s.WorldY2 - s.WorldY1);
  g.ViewY2 = s.WorldY1 + (y2 - s.ViewTop) / vh * (s.WorldY2 - s.WorldY1);
  s.ScaleX = vw / (g.ViewX2 - g.ViewX1);
  s.ScaleY = vh / (g.ViewY2 - g.ViewY1);
  // The picture is drawn in square reference pixels and scaled to the
  // window as a whole: the same scale across and down keeps every picture
  // true to its proportions on any screen and in any window.
  if (g.KeepAspect) {
    const Real scale = std::min(std::fabs(s.ScaleX), std::fabs(s.ScaleY));
    s.ScaleX = std::copysign(scale, s.ScaleX);
    s.ScaleY = std::copysign(scale, s.ScaleY);
  }
}

void TFkaldgra::ResetZoom() {
  const auto& s = St();
  SetScale(s.ViewLeft, s.ViewTop, s.ViewRight, s.ViewBottom);
}

void TFkaldgra::ReSetWindow() {
  SetWindow(false, false, 0, 0, 1, 1, 0, 0, 1, 1);
  ResetZoom();
}

void TFkaldgra::Header(Real wx1, Real wy1, Real wx2, Real wy2) {
  // The rubber band maps through the isotropic mapping itself: no x
  // correction is wanted.
  Screen().AspectFactor = 1;
  SetWindow(true, true, 0, 0, 1, 1, wx1, wy1, wx2, wy2);
  SetLineStyle(0);
  SaveLimit();
}

void TFkaldgra::SaveLimit() {
  auto& s = St();
  s.SavedWorldX1 = s.WorldX1;
  s.SavedWorldY1 = s.WorldY1;
  s.SavedWorldX2 = s.WorldX2;
  s.SavedWorldY2 = s.WorldY2;
}

void TFkaldgra::RestoreLimit() {
  const auto& s = St();
  SetWindow(true, true, 0, 0, 1, 1, s.SavedWorldX1, s.SavedWorldY1, s.SavedWorldX2, s.SavedWorldY2);
}

void TFkaldgra::SaveViewPort() {
  auto& s = St();
  s.SavedViewLeft = s.ViewLeft;
  s.SavedViewTop = s.ViewTop;
  s.SavedViewRight = s.ViewRight;
  s.SavedViewBottom = s.ViewBottom;
}

void TFkaldgra::RetrieveViewPort() {
  auto& s = St();
  s.ViewLeft = s.SavedViewLeft;
  s.ViewTop = s.SavedViewTop;
  s.ViewRight = s.SavedViewRight;
  s.ViewBottom = s.SavedViewBottom;
}

void TFkaldgra::Regen() {
  RestoreLimit();
  SetWindow(true, true, 0, 0, 1, 1, 0, 0, 1, 1);
  ResetZoom();
  const auto& g = Screen();
  SetScale(g.ZoomLeft, g.ZoomTop, g.ZoomRight, g.ZoomBottom);
  ClearViewPort();
}

void TFkaldgra::Clear() {
  DisplayList.clear();
  ++listGeneration_;
  // A new picture starts without remembered colour, style or width, so
  // that its first SetColor, SetLineStyle and SetLineWidth are recorded
  // even when they equal the last ones of the previous picture.
  LastColor = -1;
  LastLineStyle = 99;
  LastLineWidth = 1;
  Invalidate();
}

void TFkaldgra::ClearViewPort() {
  SetWaitCursor();
  Invalidate();
}

Real TFkaldgra::EinX(Real f) const { return f * (St().WorldX2 - St().WorldX1); }
Real TFkaldgra::EinY(Real f) const { return f * (St().WorldY2 - St().WorldY1); }

void TFkaldgra::circle(Real x, Real y, Real r) {
  DisplayList.Add(RecCircle, {x, y, r});
}

void TFkaldgra::line(Real x1, Real y1, Real x2, Real y2) {
  DisplayList.Add(RecLine, {x1, y1, x2, y2});
}

void TFkaldgra::OutTextXY(Real x, Real y, const std::string& text) {
  DisplayList.AddText(RecText, x, y, text);
}

void TFkaldgra::Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  DisplayList.Add(RecSolid, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TFkaldgra::Rectangle(Real x1, Real y1, Real x2, Real y2) {
  line(x1, y1, x2, y1);
  line(x2, y1, x2, y2);
  line(x2, y2, x1, y2);
  line(x1, y2, x1, y1);
}

void TFkaldgra::Arc(Real cx, Real cy, Real a1, Real a2, Real r, Real sweep) {
  if (sweep < 0) std::swap(a1, a2);
  const Real x3 = cx + r * std::cos(Rad(a1)), y3 = cy + r * std::sin(Rad(a1));
  const Real x4 = cx + r * std::cos(Rad(a2)), y4 = cy + r * std::sin(Rad(a2));
  if (std::fabs(sweep) < 4) {
    line(x3, y3, x4, y4);
    return;
  }
  DisplayList.Add(RecArc, {cx - r, cy - r, cx + r, cy + r, x3, y3, x4, y4});
}

void TFkaldgra::SetColor(int c) {
  if (c <= static_cast<int>(ColourCount) && c != LastColor) {
    // The background colour right after a pause starts erasing the picture
    // shown: a run in single steps waits here, with the picture whole on
    // the screen, and closing the step dialog ends the run.
    const bool stepPoint =
        c == 0 && StepMode && host_ && !DisplayList.empty() && DisplayList.Code(DisplayList.size() - 1) == RecSleep;
    DisplayList.Add(RecColor, {Real(c)});
    LastColor = c;
    if (c != 0) ReleaseErased();
    if (stepPoint) StepAnswered(host_->StepDialog());
  }
}

void TFkaldgra::StepAnswered(StepAnswer answer) {
  if (answer == StepAnswer::EndStepping) StepMode = 0;
  if (answer == StepAnswer::EndRun) {
    StepMode = 0;
    AbortFlag = 1;
  }
}

const ErasedPictures& TFkaldgra::Erased() {
  erased_.Update(DisplayList, listGeneration_);
  return erased_;
}

void TFkaldgra::ReleaseErased() {
  const ErasedPictures& erased = Erased();
  if (releasedGeneration_ != listGeneration_ || DisplayList.size() < releasedEnd_) {
    releasedGeneration_ = listGeneration_;
    releasedEnd_ = 0;
  }
  // The ranges found since the last time (or grown: the pictures of a run
  // join the range before them).
  const std::vector<RecordRange>& ranges = erased.Ranges();
  std::size_t i = ranges.size();
  while (i > 0 && ranges[i - 1].end > releasedEnd_) --i;
  for (; i < ranges.size(); ++i) {
    DisplayList.Release(ranges[i].first, ranges[i].end, erased.Kept(i));
    releasedEnd_ = ranges[i].end;
  }
}

void TFkaldgra::SetLineStyle(int s) {
  if (s != LastLineStyle) {
    DisplayList.Add(RecLineStyle, {Real(s)});
    LastLineStyle = static_cast<std::uint16_t>(s);
  }
}

void TFkaldgra::SetLineWidth(int w) {
  if (w != LastLineWidth) {
    DisplayList.Add(RecLineWidth, {Real(w)});
    LastLineWidth = static_cast<std::uint16_t>(w);
  }
}

void TFkaldgra::SetLineStyleName(const std::string& name) {
  const std::string n = UpperText(TrimBlanks(name));
  if (n == "DOTTED" || n == "PUNKT")
    SetLineStyle(1);
  else if (n == "CENTER" || n == "DASHDOT" || n == "STRICHPUNKT")
    SetLineStyle(2);
  else if (n == "DASHED" || n == "HIDDEN" || n == "VERDECKT")
    SetLineStyle(3);
  else
    SetLineStyle(0);
}

void TFkaldgra::SetTextStyle(int font, Real direction, Real height, Real width) {
  DisplayList.Add(RecTextStyle, {height, width, Real(font), direction});
}

void TFkaldgra::SleepMs(int ms) {
  DisplayList.Add(RecSleep, {Real(ms)});
  ReleaseErased();
  // The picture before a pause is one of an animation: it is shown now,
  // not only when the whole run has been drawn; the user may end the run.
  if (host_ && !host_->ShowFrame(ms)) AbortFlag = 1;
}

namespace {

// Records between two questions to the host whether the replay goes on.
constexpr std::size_t kProgressRecords = 1024;

// With one scale across and down the view fills the viewport in one
// direction only; it stands in the middle of the other.
Real CentringX() {
  return ((St().ViewRight - St().ViewLeft) - (Screen().ViewX2 - Screen().ViewX1) * St().ScaleX) / 2;
}
Real CentringY() {
  return ((St().ViewBottom - St().ViewTop) - (Screen().ViewY2 - Screen().ViewY1) * St().ScaleY) / 2;
}

}  // namespace

// The viewport offset is added before rounding: a far point stays far
// instead of wrapping round the integer range.
Real TFkaldgra::ScreenXReal(Real x) const {
  return (x - Screen().ViewX1) * St().ScaleX + St().ViewLeft + CentringX();
}
Real TFkaldgra::ScreenYReal(Real y) const {
  return St().ViewBottom - CentringY() - (y - Screen().ViewY1) * St().ScaleY;
}
int TFkaldgra::ScreenX(Real x) const { return PixelInt(ScreenXReal(x)); }
int TFkaldgra::ScreenY(Real y) const { return PixelInt(ScreenYReal(y)); }

Real TFkaldgra::WorldXAt(Real px) const {
  const Real scale = St().ScaleX;
  return scale == 0 ? Screen().ViewX1 : Screen().ViewX1 + (px - St().ViewLeft - CentringX()) / scale;
}
Real TFkaldgra::WorldYAt(Real py) const {
  const Real scale = St().ScaleY;
  return scale == 0 ? Screen().ViewY1 : Screen().ViewY1 + (St().ViewBottom - CentringY() - py) / scale;
}

void TFkaldgra::PictureRect(int& left, int& top, int& right, int& bottom) const {
  const auto& s = St();
  const int x1 = ScreenX(s.WorldX1), x2 = ScreenX(s.WorldX2);
  const int y1 = ScreenY(s.WorldY1), y2 = ScreenY(s.WorldY2);
  left = std::min(x1, x2);
  right = std::max(x1, x2);
  top = std::min(y1, y2);
  bottom = std::max(y1, y2);
}

void TFkaldgra::MoveTo(Real x, Real y) {
  penX_ = x;
  penY_ = y;
}

void TFkaldgra::LineTo(Real x, Real y) {
  if (host_) {
    const int c = LastColor >= 0 && LastColor <= 16 ? LastColor : 15;
    host_->DrawDirectLine(ScreenX(penX_), ScreenY(penY_), ScreenX(x), ScreenY(y), Screen().ColorTable[c]);
  }
  penX_ = x;
  penY_ = y;
}

void TFkaldgra::DrawRectangle(int x1, int y1, int x2, int y2) {
  if (!host_) return;
  const int c = LastColor >= 0 && LastColor <= 16 ? LastColor : 15;
  const ColourValue colour = Screen().ColorTable[c];
  host_->DrawDirectLine(x1, y1, x2, y1, colour);
  host_->DrawDirectLine(x2, y1, x2, y2, colour);
  host_->DrawDirectLine(x2, y2, x1, y2, colour);
  host_->DrawDirectLine(x1, y2, x1, y1, colour);
}

int TFkaldgra::GetDirection(Real angle) {
  const bool vertical = (angle >= 45 && angle < 135) || (angle >= 225 && angle < 315) ||
                        (angle >= -135 && angle < -45);
  return vertical ? 1 : 0;
}

void TFkaldgra::SetWaitCursor() { platform::Dialogs().SetBusyCursor(true); }
void TFkaldgra::SetOldCursor() { platform::Dialogs().SetBusyCursor(false); }

// ---- Keys and mouse ----------------------------------------------------------------

namespace {

// The zoom-rectangle pixel of a world coordinate: the inverse of the
// interpolation in SetScale.
Real ZoomPixelX(Real worldX) {
  const auto& s = St();
  return s.ViewLeft + (worldX - s.WorldX1) * (s.ViewRight - s.ViewLeft) / (s.WorldX2 - s.WorldX1);
}
Real ZoomPixelY(Real worldY) {
  const auto& s = St();
  return s.ViewTop + (worldY - s.WorldY1) * (s.ViewBottom - s.ViewTop) / (s.WorldY2 - s.WorldY1);
}

bool WithinZoomLimit(Real v) { return std::fabs(v) <= kZoomLimit; }

bool MappingUsable() {
  const auto& s = St();
  return s.WorldX2 != s.WorldX1 && s.WorldY2 != s.WorldY1 && s.ViewRight != s.ViewLeft &&
         s.ViewBottom != s.ViewTop && s.ScaleX != 0 && s.ScaleY != 0;
}

}  // namespace

void TFkaldgra::processKey(int key) {
  switch (key) {
    case 107: GraphZoomKey = '+'; GraphPanKey = ' '; break;
    case 109: GraphZoomKey = '-'; GraphPanKey = ' '; break;
    case 27:
    case 116: GraphZoomKey = 0; GraphPanKey = '?'; break;
    case 38: GraphZoomKey = 0; GraphPanKey = 'H'; break;
    case 33: GraphZoomKey = 0; GraphPanKey = 'I'; break;
    case 37: GraphZoomKey = 0; GraphPanKey = 'K'; break;
    case 39: GraphZoomKey = 0; GraphPanKey = 'M'; break;
    case 40: GraphZoomKey = 0; GraphPanKey = 'P'; break;
    case 34: GraphZoomKey = 0; GraphPanKey = 'Q'; break;
    default: return;  // keys outside the table do nothing
  }
  auto& g = Screen();
  const Real zl = g.ZoomLeft, zr = g.ZoomRight, zt = g.ZoomTop, zb = g.ZoomBottom;
  if (GraphZoomKey == '+' || GraphZoomKey == '-') {
    const Real cx = std::floor((zl + zr) / 2), cy = std::floor((zt + zb) / 2);
    const Real f = GraphZoomKey == '+' ? 1 / g.ZoomIncrement : g.ZoomIncrement;
    const Real hx = std::floor(std::round((zr - zl) * f) / 2), hy = std::floor(std::round((zb - zt) * f) / 2);
    if (WithinZoomLimit(cx - hx) && WithinZoomLimit(cx + hx) && WithinZoomLimit(cy - hy) &&
        WithinZoomLimit(cy + hy))
      SetScale(RoundInt(cx - hx), RoundInt(cy - hy), RoundInt(cx + hx), RoundInt(cy + hy));
  } else if (GraphZoomKey == 0) {
    const Real sx = std::round(g.PanFactor * (zr - zl)), sy = std::round(g.PanFactor * (zb - zt));
    Real dx = 0, dy = 0;
    switch (GraphPanKey) {
      case '?': ResetZoom(); break;
      case 'H': dy = -sy; break;
      case 'I': dy = -5 * sy; break;
      case 'K': dx = sx; break;
      case 'M': dx = -sx; break;
      case 'P': dy = sy; break;
      case 'Q': dy = 5 * sy; break;
      default: break;
    }
    if ((dx != 0 || dy != 0) && WithinZoomLimit(zl + dx) && WithinZoomLimit(zr + dx) && WithinZoomLimit(zt + dy) &&
        WithinZoomLimit(zb + dy))
      SetScale(RoundInt(zl + dx), RoundInt(zt + dy), RoundInt(zr + dx), RoundInt(zb + dy));
  }
  Invalidate();
}

void TFkaldgra::ZoomAbout(int x, int y, Real factor) {
  if (!(factor > 0) || !std::isfinite(factor) || !MappingUsable()) return;
  const auto& s = St();
  const auto& g = Screen();
  const Real wx = WorldXAt(x), wy = WorldYAt(y);
  const Real w = std::round((g.ZoomRight - g.ZoomLeft) / factor);
  const Real h = std::round((g.ZoomBottom - g.ZoomTop) / factor);
  if (std::fabs(w) < 1 || std::fabs(h) < 1) return;
  // The new view begins so far before the point that the point keeps its
  // pixel at the new scale (the centring stays: the view's size in pixels
  // does not change with its scale).
  const Real x1 = std::round(ZoomPixelX(wx - (x - s.ViewLeft - CentringX()) / (s.ScaleX * factor)));
  const Real y1 = std::round(ZoomPixelY(wy - (s.ViewBottom - CentringY() - y) / (s.ScaleY * factor)));
  if (!WithinZoomLimit(x1) || !WithinZoomLimit(x1 + w) || !WithinZoomLimit(y1) || !WithinZoomLimit(y1 + h)) return;
  SetScale(RoundInt(x1), RoundInt(y1), RoundInt(x1 + w), RoundInt(y1 + h));
  Invalidate();
}

void TFkaldgra::FormMouseDown(MouseButton button, int x, int y) {
  if (button == MouseButton::Left) {
    if (DoubleClicked) {
      RestoreLimit();
      ResetZoom();
      ReSetWindow();
      ClearViewPort();
    } else if (!Dragging) {
      Dragging = 1;
      auto& s = St();
      s.BandStartX = s.BandEndX = x;
      s.BandStartY = s.BandEndY = y;
    }
  } else if (button == MouseButton::Right) {
    ResetZoom();
    ClearViewPort();
  }
  DoubleClicked = 0;
}

void TFkaldgra::FormMouseMove(int x, int y) {
  if (!Dragging) return;
  auto& s = St();
  s.BandEndX = x;
  s.BandEndY = y;
  if (host_) host_->ShowRubberBand(true, s.BandStartX, s.BandStartY, s.BandEndX, s.BandEndY);
}

void TFkaldgra::FormMouseUp(MouseButton button, int x, int y) {
  if (button != MouseButton::Left || !Dragging) return;
  auto& s = St();
  s.BandEndX = x;
  s.BandEndY = y;
  Dragging = 0;
  if (host_) host_->ShowRubberBand(false, 0, 0, 0, 0);
  if (s.BandStartX == s.BandEndX || s.BandStartY == s.BandEndY) return;
  if (!MappingUsable()) return;
  // The band's corners through the mapping in force back to the world, and
  // those into the zoom rectangle: what was inside the band fills the view.
  const Real xa = std::min(s.BandStartX, s.BandEndX), xb = std::max(s.BandStartX, s.BandEndX);
  const Real ya = std::min(s.BandStartY, s.BandEndY), yb = std::max(s.BandStartY, s.BandEndY);
  const Real x1 = ZoomPixelX(WorldXAt(xa)), x2 = ZoomPixelX(WorldXAt(xb));
  const Real y1 = ZoomPixelY(WorldYAt(yb)), y2 = ZoomPixelY(WorldYAt(ya));
  if (!WithinZoomLimit(x1) || !WithinZoomLimit(x2) || !WithinZoomLimit(y1) || !WithinZoomLimit(y2)) return;
  SetScale(RoundInt(x1), RoundInt(y1), RoundInt(x2), RoundInt(y2));
  ClearViewPort();
}

// ---- Logo -------------------------------------------------------------------------

void TFkaldgra::DrawKaldrimLogo() {
  // Two elliptical gears turning about their foci, in the middle of the
  // current world window: the program's subject in one figure.
  const auto& s = St();
  const Real w = s.WorldX2 - s.WorldX1, h = s.WorldY2 - s.WorldY1;
  const Real size = std::min(std::fabs(w), std::fabs(h));
  const Real a = 0.16L * size, e = 0.5L;
  const Real p = a * (1 - e * e);
  const Real f1x = s.WorldX1 + 0.5L * w - a, fy = s.WorldY1 + 0.5L * h;
  const Real f2x = f1x + 2 * a;
  const int steps = 72;
  auto curve = [&](Real fx, Real sign) {
    Real px = 0, py = 0;
    for (int i = 0; i <= steps; ++i) {
      const Real phi = 2 * kPi * i / steps;
      const Real r = p / (1 - e * std::cos(phi));
      const Real x = fx + sign * r * std::cos(phi), y = fy + r * std::sin(phi);
      if (i > 0) line(px, py, x, y);
      px = x;
      py = y;
    }
  };
  SetColor(12);
  curve(f1x, 1);
  circle(f1x, fy, 0.01L * size);
  SetColor(9);
  curve(f2x, -1);
  circle(f2x, fy, 0.01L * size);
}

// ---- Replay -------------------------------------------------------------------------

namespace {

// Pen, brush and font colours and the pen of one device during a replay.
struct DeviceState {
  GraphicsCanvas* canvas = nullptr;
  bool printer = false;
  ColourValue pen = kBlack, brush = kBlack, font = kBlack;
  int penWidth = 1, penStyle = 0;
  void ApplyPen() { canvas->SetPen(pen, penWidth, penStyle); }
};

}  // namespace

std::size_t TFkaldgra::Replay(GraphicsCanvas& screenCanvas, GraphicsCanvas* printerCanvas) {
  ReplayPosition at;
  return Replay(screenCanvas, printerCanvas, at, ReplayOptions{});
}

std::size_t TFkaldgra::Replay(GraphicsCanvas& screenCanvas, GraphicsCanvas* printerCanvas, ReplayPosition& at,
                              const ReplayOptions& options) {
  auto& s = St();
  auto& g = Screen();
  const auto& pr = PrinterGraphicsSettings;
  const bool fresh = at.next == 0;
  const bool printing = HardcopyFlag && printerCanvas && fresh;
  const Real hp = ReferenceWidth(), vp = ReferenceHeight();

  // A replay that goes on where the last one stopped (the next picture of
  // an animation) is part of that picture: no cursor change, and the style
  // trackers of the recording stay as they are.
  if (fresh) {
    SetWaitCursor();
    LastLineStyle = 99;
    LastLineWidth = 1;
  }

  DeviceState devices[2];
  devices[0].canvas = &screenCanvas;
  int deviceCount = 1;
  if (printing) {
    devices[1].canvas = printerCanvas;
    devices[1].printer = true;
    deviceCount = 2;
  }

  auto setColour = [&](DeviceState& d, int c) {
    if (c >= 1 && c <= 16) {
      const bool coloured = d.printer ? (WindowsPrintMode == 2 || WindowsPrintMode == 3) : ColorGraphics;
      if (coloured) {
        d.pen = d.brush = d.font = g.ColorTable[c];
      } else {
        d.pen = d.font = kBlack;
        d.brush = g.BackgroundColour;
      }
    } else if (c == 0) {
      d.pen = d.brush = d.font = g.BackgroundColour;
    } else {
      return;
    }
    d.ApplyPen();
  };
  int colour = at.colour;
  Real textDirection = at.textDirection, textHeight = at.textHeight, textWidth = at.textWidth;
  if (fresh) {
    for (int i = 0; i < deviceCount; ++i) setColour(devices[i], colour);
  } else {
    DeviceState& d = devices[0];
    d.pen = at.pen;
    d.brush = at.brush;
    d.font = at.font;
    d.penWidth = at.penWidth;
    d.penStyle = at.penStyle;
    d.ApplyPen();
  }

  // Device mappings, unrounded. The printer takes the reference screen
  // with one factor across and down, the largest with which it fits the
  // page, so that the printout keeps the screen's proportions.
  auto printerScale = [&](const DeviceState& d) {
    return std::min(Real(d.canvas->Width()) / hp, Real(d.canvas->Height()) / vp);
  };
  auto pxReal = [&](const DeviceState& d, Real x) -> Real {
    if (!d.printer) return ScreenXReal(x);
    const Real pw = d.canvas->Width();
    return std::round(pw * pr.PrintMarginLeft / 210) + ScreenXReal(x) * printerScale(d) * pr.PrintFactorX;
  };
  auto pyReal = [&](const DeviceState& d, Real y) -> Real {
    if (!d.printer) return ScreenYReal(y);
    const Real pw = d.canvas->Width();
    return std::round(pw * pr.PrintMarginTop / 210) + ScreenYReal(y) * printerScale(d) * pr.PrintFactorY;
  };
  auto px = [&](const DeviceState& d, Real x) { return PixelInt(pxReal(d, x)); };
  auto py = [&](const DeviceState& d, Real y) { return PixelInt(pyReal(d, y)); };
  auto lenX = [&](const DeviceState& d, Real v) -> int {
    return PixelInt(d.printer ? s.ScaleX * v * printerScale(d) * pr.PrintFactorX : s.ScaleX * v);
  };
  auto lenY = [&](const DeviceState& d, Real v) -> int {
    return PixelInt(d.printer ? s.ScaleY * v * printerScale(d) * pr.PrintFactorY : s.ScaleY * v);
  };
  // A line is cut at the guard before it is rounded: far ends stay in the
  // devices' range and the part on the canvas keeps its direction.
  auto drawLine = [&](DeviceState& d, Real x1, Real y1, Real x2, Real y2) {
    Real ax = pxReal(d, x1), ay = pyReal(d, y1), bx = pxReal(d, x2), by = pyReal(d, y2);
    const Real far = std::max({std::fabs(ax), std::fabs(ay), std::fabs(bx), std::fabs(by)});
    if (far > kLineGuard && !ClipLineToBox(ax, ay, bx, by, -kLineGuard, -kLineGuard, kLineGuard, kLineGuard))
      return;
    d.canvas->MoveTo(PixelInt(ax), PixelInt(ay));
    d.canvas->LineTo(PixelInt(bx), PixelInt(by));
  };

  if (printing && pr.PrintBorder) {
    DeviceState& d = devices[1];
    d.pen = ColorGraphics ? g.ColorTable[11] : kBlack;
    d.ApplyPen();
    d.canvas->MoveTo(px(d, s.WorldX1), py(d, s.WorldY1));
    d.canvas->LineTo(px(d, s.WorldX1), py(d, s.WorldY2));
    d.canvas->LineTo(px(d, s.WorldX2), py(d, s.WorldY2));
    d.canvas->LineTo(px(d, s.WorldX2), py(d, s.WorldY1));
    d.canvas->LineTo(px(d, s.WorldX1), py(d, s.WorldY1));
  }

  // The record at index drawn (quiet: its pause and step point passed
  // over); stopped is set where the replay ends there.
  bool stopped = false;
  auto play = [&](std::size_t index, bool quiet) {
    // Copied: a host's pause may let new drawing calls grow the list.
    const TDisplayRecord record = DisplayList.Record(index);
    const int code = record.code;
    auto reals = [&](std::size_t n, Real* out) {
      if (record.count < n) return false;
      std::copy_n(record.values, n, out);
      return true;
    };
    auto integer = [&](std::size_t i, int& out) {
      if (record.count <= i) return false;
      out = static_cast<int>(record.values[i]);
      return true;
    };
    int n = 0;
    Real v[8] = {};
    switch (code) {
      case RecMoveTo:
      case RecLineTo:
        if (!reals(2, v)) break;
        for (int i = 0; i < deviceCount; ++i) {
          auto& d = devices[i];
          if (code == RecMoveTo)
            d.canvas->MoveTo(px(d, v[0]), py(d, v[1]));
          else
            d.canvas->LineTo(px(d, v[0]), py(d, v[1]));
        }
        break;
      case RecCircle:
        if (!reals(3, v)) break;
        for (int i = 0; i < deviceCount; ++i) {
          auto& d = devices[i];
          d.canvas->Ellipse(px(d, v[0] - v[2]), py(d, v[1] + v[2]), px(d, v[0] + v[2]), py(d, v[1] - v[2]));
        }
        break;
      case RecLine:
        if (!reals(4, v)) break;
        for (int i = 0; i < deviceCount; ++i) drawLine(devices[i], v[0], v[1], v[2], v[3]);
        break;
      case RecArc:
        if (!reals(8, v)) break;
        for (int i = 0; i < deviceCount; ++i) {
          auto& d = devices[i];
          d.canvas->Arc(px(d, v[0]), py(d, v[3]), px(d, v[2]), py(d, v[1]), px(d, v[4]), py(d, v[5]), px(d, v[6]),
                        py(d, v[7]));
        }
        break;
      case RecSolid:
        if (!reals(8, v)) break;
        for (int i = 0; i < deviceCount; ++i) {
          auto& d = devices[i];
          CanvasPoint pts[4];
          for (int k = 0; k < 4; ++k) pts[k] = {px(d, v[2 * k]), py(d, v[2 * k + 1])};
          d.canvas->Polygon(pts, ColorGraphics ? d.brush : kBlack);
        }
        break;
      case RecText: {
        if (!record.hasText || !reals(2, v)) break;
        const std::string& text = record.text;
        const Real dir = textDirection;
        Real tx = v[0], ty = v[1] + 0.75L * textHeight;
        if (dir != 0) {
          tx = v[0] - std::sin(Rad(dir)) * textHeight * 0.7L;
          ty = v[1] + std::cos(Rad(dir)) * textHeight * 0.75L;
        }
        const int style = g.TextStyleGraphics;
        const bool styled = style >= 1 && style <= 15;
        for (int i = 0; i < deviceCount; ++i) {
          auto& d = devices[i];
          ColourValue tc = d.font;
          if (colour == 0)
            tc = g.BackgroundColour;
          else if (!ColorGraphics)
            tc = kBlack;
          else if (d.printer && WindowsPrintMode == 1)
            tc = kBlack;
          else if (colour >= 1 && colour <= 16)
            tc = g.ColorTable[colour];
          CanvasFont font;
          font.face = g.GraphTextFont;
          font.height = lenY(d, textHeight);
          font.width = lenX(d, textWidth);
          font.escapement = RoundInt(dir * 10);
          font.bold = styled && (style & 1);
          font.italic = styled && (style & 2);
          font.underline = styled && (style & 4);
          font.strikeout = styled && (style & 8);
          d.canvas->Text(px(d, tx), py(d, ty), text, font, tc);
        }
        break;
      }
      case RecColor:
        if (!integer(0, n)) break;
        if (n == 0 && StepMode && host_ && !quiet && !options.noPauses) StepAnswered(host_->StepDialog());
        if (n >= 0 && n <= 16) colour = n;
        for (int i = 0; i < deviceCount; ++i) setColour(devices[i], n);
        break;
      case RecTextStyle: {
        if (!reals(4, v)) break;
        const Real direction = v[3];
        textHeight = v[0] * 1.6L * g.TextHeightFactor;
        textWidth = v[1] * 1.1L * g.TextWidthFactor;
        textDirection = direction;
        break;
      }
      case RecWindow: {
        if (!reals(8, v)) break;
        if (v[4] == v[6] || v[5] == v[7]) {
          AbortFlag = 1;
          stopped = true;
          break;
        }
        s.ViewLeft = RoundInt(v[0]);
        s.ViewTop = RoundInt(v[1]);
        s.ViewRight = RoundInt(v[2]);
        s.ViewBottom = RoundInt(v[3]);
        s.WorldX1 = v[4];
        s.WorldY1 = v[5];
        s.WorldX2 = v[6];
        s.WorldY2 = v[7];
        SetScale(g.ZoomLeft, g.ZoomTop, g.ZoomRight, g.ZoomBottom);
        break;
      }
      case RecLineStyle:
        if (!integer(0, n)) break;
        for (int i = 0; i < deviceCount; ++i) {
          devices[i].penStyle = n >= 1 && n <= 3 ? n : 0;
          devices[i].ApplyPen();
        }
        break;
      case RecLineWidth:
        if (!integer(0, n)) break;
        for (int i = 0; i < deviceCount; ++i) {
          devices[i].penWidth = devices[i].printer ? 4 * n : n;
          devices[i].ApplyPen();
        }
        break;
      case RecSleep:
        if (!integer(0, n)) break;
        // Every picture of an animation is shown, also without a pause;
        // the pictures already shown as they were drawn are not again.
        if (!HardcopyFlag && host_ && !quiet && !options.noPauses && !host_->Pause(std::max(n, 0))) stopped = true;
        break;
      default:
        break;  // an unknown code is skipped
    }
  };

  // The records that set the colour, a style or the window take effect
  // with the next figure: of those that come before it only the last of
  // each kind is drawn (in list order), when it comes. The pictures an
  // animation erased again are passed over: their colour and style
  // records are kept, their figures, pauses and step points not; where a
  // replay meets such pictures, it goes on after their erasing passes with
  // the last of their records of each kind. What stays on the screen after
  // a run of a thousand pictures costs about one picture.
  std::size_t pending[StateKinds];
  bool pendingKind[StateKinds] = {};
  auto defer = [&](std::size_t index, int kind) {
    pending[kind] = index;
    pendingKind[kind] = true;
  };
  auto flush = [&] {
    std::size_t order[StateKinds];
    int count = 0;
    for (int kind = 0; kind < StateKinds; ++kind)
      if (pendingKind[kind]) order[count++] = pending[kind], pendingKind[kind] = false;
    std::sort(order, order + count);
    for (int i = 0; i < count; ++i) play(order[i], true);
  };
  // By number, not by iterator: drawing calls that a host's pause lets
  // run may find more erased pictures meanwhile.
  const ErasedPictures& erasedPictures = Erased();
  const std::vector<RecordRange>& erased = erasedPictures.Ranges();
  std::size_t nextErased = static_cast<std::size_t>(
      std::upper_bound(erased.begin(), erased.end(), at.next,
                       [](std::size_t i, const RecordRange& r) { return i < r.end; }) -
      erased.begin());
  const std::size_t end = std::min(options.end, DisplayList.size());
  std::size_t index = at.next;
  std::size_t sinceAsked = 0;
  for (; index < end && !stopped; ++index) {
    // The host is asked often and answers by the clock: a long picture
    // keeps the window answering (and an animation stoppable) whatever
    // its records cost to draw.
    if (++sinceAsked > kProgressRecords) {
      sinceAsked = 0;
      if (host_ && !host_->ShowProgress()) {
        stopped = true;
        break;
      }
    }
    while (nextErased < erased.size() && erased[nextErased].end <= index) ++nextErased;
    const bool inErased = nextErased < erased.size() && index >= erased[nextErased].first;
    // An erased range that ends within the replay is passed over whole
    // from where the replay meets it: the last of its records of each
    // kind from here on (those before took effect in the replay that
    // went there). Its records given up are not looked at.
    if (inErased && erased[nextErased].end <= end) {
      for (const std::size_t kept : erasedPictures.Kept(nextErased))
        if (kept >= index) defer(kept, StateKind(DisplayList.Code(kept)));
      sinceAsked += kProgressRecords / 64;
      index = erased[nextErased].end - 1;
      continue;
    }
    const int code = DisplayList.Code(index);
    if (inErased && (IsFigureRecord(code) || code == RecSleep)) continue;
    const bool quiet = index < options.quietBefore || inErased;
    // The background colour where a run in single steps waits is drawn
    // in its place.
    const int kind = StateKind(code);
    if (kind >= 0 && !(kind == 0 && StepMode && host_ && !quiet && !options.noPauses)) {
      defer(index, kind);
      continue;
    }
    flush();
    if (stopped) break;
    play(index, quiet);
  }
  flush();
  at.next = index;
  at.colour = colour;
  at.textDirection = textDirection;
  at.textHeight = textHeight;
  at.textWidth = textWidth;
  at.pen = devices[0].pen;
  at.brush = devices[0].brush;
  at.font = devices[0].font;
  at.penWidth = devices[0].penWidth;
  at.penStyle = devices[0].penStyle;
  if (fresh) SetOldCursor();
  return index;
}

}  // namespace common
