// The graphics window's headless half: records, zoom mapping, keys, mouse
// and the replay onto device canvases; see graphics_window.h.
#include "common/graphics_window.h"

#include <algorithm>
#include <cmath>

#include "common/kaldvar.h"
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
  if (g.KeepAspect) {
    const Real aspect = ReferenceWidth() * 0.75L / ReferenceHeight();
    const Real t = s.ScaleY * aspect;
    if (s.ScaleX >= t)
      s.ScaleX = t;
    else
      s.ScaleY = s.ScaleX / aspect;
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
  const auto& s = St();
  const Real hp = ReferenceWidth(), vp = ReferenceHeight();
  Screen().AspectFactor = (hp * 0.75L / vp * 640 / (s.WorldX2 - s.WorldX1)) / (480 / (s.WorldY2 - s.WorldY1));
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
    DisplayList.Add(RecColor, {Real(c)});
    LastColor = c;
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

void TFkaldgra::SleepMs(int ms) { DisplayList.Add(RecSleep, {Real(ms)}); }

int TFkaldgra::ScreenX(Real x) const {
  return RoundInt((x - Screen().ViewX1) * St().ScaleX) + St().ViewLeft;
}

int TFkaldgra::ScreenY(Real y) const {
  return St().ViewBottom - RoundInt((y - Screen().ViewY1) * St().ScaleY);
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
  auto within = [](Real v) { return std::fabs(v) <= kZoomLimit; };
  if (GraphZoomKey == '+' || GraphZoomKey == '-') {
    const Real cx = std::floor((zl + zr) / 2), cy = std::floor((zt + zb) / 2);
    const Real f = GraphZoomKey == '+' ? 1 / g.ZoomIncrement : g.ZoomIncrement;
    const Real hx = std::floor(std::round((zr - zl) * f) / 2), hy = std::floor(std::round((zb - zt) * f) / 2);
    if (within(cx - hx) && within(cx + hx) && within(cy - hy) && within(cy + hy))
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
    if ((dx != 0 || dy != 0) && within(zl + dx) && within(zr + dx) && within(zt + dy) && within(zb + dy))
      SetScale(RoundInt(zl + dx), RoundInt(zt + dy), RoundInt(zr + dx), RoundInt(zb + dy));
  }
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
  const Real w = host_ ? host_->ClientWidth() : ReferenceWidth();
  const Real h = host_ ? host_->ClientHeight() : ReferenceHeight();
  if (w <= 0 || h <= 0) return;
  const auto& g = Screen();
  const Real zl = g.ZoomLeft, zr = g.ZoomRight, zt = g.ZoomTop, zb = g.ZoomBottom;
  const Real xa = std::min(s.BandStartX, s.BandEndX), xb = std::max(s.BandStartX, s.BandEndX);
  const Real ya = std::min(s.BandStartY, s.BandEndY), yb = std::max(s.BandStartY, s.BandEndY);
  Real x1 = zl + xa / w * (zr - zl), x2 = zl + xb / w * (zr - zl);
  if (g.KeepAspect) {
    x1 = (xa / w * (zr - zl) + zl) * g.AspectFactor;
    x2 = (xb / w * (zr - zl) + zl) * g.AspectFactor;
  }
  const Real y1 = zt + (h - yb) / h * (zb - zt), y2 = zt + (h - ya) / h * (zb - zt);
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
  auto& s = St();
  auto& g = Screen();
  const auto& pr = PrinterGraphicsSettings;
  const bool printing = HardcopyFlag && printerCanvas;
  const Real hp = ReferenceWidth(), vp = ReferenceHeight();

  SetWaitCursor();
  int colour = 1;
  Real textDirection = 0, textHeight = 3.5L, textWidth = 3.5L;
  LastLineStyle = 99;
  LastLineWidth = 1;

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
  for (int i = 0; i < deviceCount; ++i) setColour(devices[i], colour);

  // Device mappings.
  auto px = [&](const DeviceState& d, Real x) -> int {
    if (!d.printer) return ScreenX(x);
    const Real pw = d.canvas->Width();
    return RoundInt(pw * pr.PrintMarginLeft / 210) +
           RoundInt(pw * ((x - g.ViewX1) * s.ScaleX + s.ViewLeft) * pr.PrintFactorX / hp);
  };
  auto py = [&](const DeviceState& d, Real y) -> int {
    if (!d.printer) return ScreenY(y);
    const Real pw = d.canvas->Width(), ph = d.canvas->Height();
    return RoundInt(pw * pr.PrintMarginTop / 210) +
           RoundInt(ph * (s.ViewBottom - (y - g.ViewY1) * s.ScaleY) * pr.PrintFactorY / vp);
  };
  auto lenX = [&](const DeviceState& d, Real v) -> int {
    return d.printer ? RoundInt(d.canvas->Width() * s.ScaleX * v * pr.PrintFactorX / hp) : RoundInt(s.ScaleX * v);
  };
  auto lenY = [&](const DeviceState& d, Real v) -> int {
    return d.printer ? RoundInt(d.canvas->Height() * s.ScaleY * v * pr.PrintFactorY / vp) : RoundInt(s.ScaleY * v);
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

  std::size_t index = 0;
  bool stopped = false;
  for (; index < DisplayList.size() && !stopped; ++index) {
    if (index % 50000 == 0 && index > 0 && host_ && !host_->ShowProgress()) {
      stopped = true;
      break;
    }
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
        for (int i = 0; i < deviceCount; ++i) {
          auto& d = devices[i];
          d.canvas->MoveTo(px(d, v[0]), py(d, v[1]));
          d.canvas->LineTo(px(d, v[2]), py(d, v[3]));
        }
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
        if (n == 0 && StepMode && host_) {
          if (host_->StepDialog()) StepMode = 0;
        }
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
        if (!HardcopyFlag && host_ && n > 0 && !host_->Pause(n)) stopped = true;
        break;
      default:
        break;  // an unknown code is skipped
    }
  }
  SetOldCursor();
  return index;
}

}  // namespace common
