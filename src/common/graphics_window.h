// The graphics window: the one screen canvas on which every picture of the
// program is drawn (pitch curves, gears, diagrams, animations, plot files).
//
// HOW TO USE IT
//   Drawing code never talks to a window. It calls the procedural facade in
//   graphics_facade.h (ClearGraphics, GraphWindow or GraphHeader, GraphColor,
//   GraphLine, GraphCircle, GraphArc, GraphText, GraphTextStyle, GraphSolid,
//   GraphClearViewPort ...), which forwards to the one instance FKaldgra.
//   Each recording call appends one record to DisplayList, e.g.
//     GraphHeader(0, 0, 160, 120);  GraphColor(12);  GraphLine(0, 0, 10, 5);
//   leaves records whose text forms are "10;...", "8;12", "4;0;0;10;5"
//   (numbers with a point, 8 digits).
//   World coordinates are reals, y upward; the window maps them to pixels of
//   the reference screen (HorizontalPixels x VerticalPixels) through the
//   viewport, the base world window and the zoom rectangle.
//
//   A window system attaches a GraphicsHost (the Qt widget in
//   common/ui/graphics_view.h does): it is told when the list or the view
//   changed and replays the list outside its paint event with Replay(),
//   handing in a GraphicsCanvas per device (the screen image and, while
//   HardcopyFlag is set, the printer). Without a host (tests, command line)
//   the records are only collected; tests read DisplayList or replay into a
//   canvas of their own.
//
//   Keys and mouse of the window go to processKey / MouseDown / MouseMove /
//   MouseUp / DoubleClick / ZoomAbout (the wheel), which change the zoom
//   rectangle and ask the host for a replay.
//
//   One world unit is the same number of pixels across and down (while
//   KeepAspect holds, as every picture sets it), on any reference screen,
//   in any window, and on the printer: a circle stays round.
//
//   A pause record ends a picture of an animation: recording it shows the
//   picture at once (the host's ShowFrame), so that an animation moves
//   while it is drawn, whatever its pause. The background colour recorded
//   right after a pause starts the erasing of that picture: in step mode
//   the host's step dialog waits there for the user. A replay leaves out
//   the pictures that were erased again (erased_pictures.h), and the list
//   gives up their records as soon as each erasing pass ends, so that a
//   run of a thousand pictures holds little more than one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/display_list.h"
#include "common/erased_pictures.h"
#include "common/graphics_settings.h"
#include "common/real.h"

namespace common {

// ---- Records ---------------------------------------------------------------

// The display list (display_list.h): one record per drawing call.
extern TDisplayList DisplayList;

// ---- Window state ----------------------------------------------------------

struct TGraphWindowState {
  // Viewport in pixels of the reference screen, and its saved copy.
  std::int32_t ViewLeft = 0, ViewTop = 0, ViewRight = 1, ViewBottom = 1;
  std::int32_t SavedViewLeft = 0, SavedViewTop = 0, SavedViewRight = 1, SavedViewBottom = 1;
  // Base world window (as set by SetWindow) and its saved copy.
  Real WorldX1 = 0, WorldY1 = 0, WorldX2 = 1, WorldY2 = 1;
  Real SavedWorldX1 = 0, SavedWorldY1 = 0, SavedWorldX2 = 1, SavedWorldY2 = 1;
  // Pixels per world unit through the zoom rectangle.
  Real ScaleX = 1, ScaleY = 1;
  // Rubber band in client pixels.
  std::int32_t BandStartX = 0, BandStartY = 0, BandEndX = 0, BandEndY = 0;
};
extern TGraphWindowState GraphWindowState;

// Set around a repaint that also goes to the printer.
extern std::uint8_t HardcopyFlag;

// The kind of picture on the screen, set when the screen device finishes a
// drawing: 0 a plain drawing, 1 a diagram, 2 a drawing sheet. The printout
// dialog proposes its scales and origin by it.
enum PrintPictureCode : std::uint16_t { PictureDrawing = 0, PictureDiagram = 1, PictureSheet = 2 };
extern std::uint16_t PrintPictureKind;

// The zoom and pan characters of the last key ('+', '-'; ' ', '?', 'H',
// 'I', 'K', 'M', 'P', 'Q').
extern char GraphZoomKey;
extern char GraphPanKey;

// The reference screen size: HorizontalPixels and VerticalPixels, or
// 640 x 480 while none is configured (headless runs).
int ReferenceWidth();
int ReferenceHeight();

// Window state, HardcopyFlag and the key characters as at program start.
void ResetGraphWindowState();

// ---- Devices -----------------------------------------------------------------

struct CanvasFont {
  std::string face;
  int height = 0;      // character cell height in device pixels
  int width = 0;       // average character width in device pixels
  int escapement = 0;  // tenths of a degree, counterclockwise
  bool bold = false, italic = false, underline = false, strikeout = false;
};

struct CanvasPoint {
  int x = 0, y = 0;
};

// Where a replay of the display list stands: the next record and the
// drawing state reached (colour, text style, the screen's pen), so that
// records appended later go onto the same picture without replaying the
// list from its start (the pictures of an animation as they are drawn).
struct ReplayPosition {
  std::size_t next = 0;
  int colour = 1;
  Real textDirection = 0, textHeight = 3.5L, textWidth = 3.5L;
  ColourValue pen = 0, brush = 0, font = 0;
  int penWidth = 1, penStyle = 0;
};

// How a replay treats pauses: the records before quietBefore were shown
// already (an animation drawn picture by picture), so their pauses and
// step dialogs are passed over.
struct ReplayOptions {
  std::size_t quietBefore = 0;
  // No pause and no step dialog at all: the host shows the pictures of an
  // animation as they are recorded and waits itself.
  bool noPauses = false;
  // The replay stops before this record (the rest is drawn later).
  std::size_t end = static_cast<std::size_t>(-1);
};

// What the user answered the step dialog of an animation.
enum class StepAnswer { Next, EndStepping, EndRun };

// A device the replay draws on, in its own pixels (y downward).
class GraphicsCanvas {
 public:
  virtual ~GraphicsCanvas() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // style: 0 solid, 1 dotted, 2 dash-dot, 3 dashed.
  virtual void SetPen(ColourValue colour, int width, int style) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  // Outline of the ellipse in the box, not filled.
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  // Arc of the ellipse in the box, counterclockwise on the device from the
  // radial through (x3, y3) to the radial through (x4, y4).
  virtual void Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) = 0;
  // Filled quadrilateral, outlined with the pen.
  virtual void Polygon(const CanvasPoint (&corners)[4], ColourValue fill) = 0;
  // Text whose top-left corner (before the rotation by the escapement,
  // which turns about that corner) is (x, y); UTF-8; transparent background.
  virtual void Text(int x, int y, const std::string& text, const CanvasFont& font, ColourValue colour) = 0;
};

// The window system side of the graphics window.
class GraphicsHost {
 public:
  virtual ~GraphicsHost() = default;
  // The list or the view changed: replay soon (never from within a paint).
  virtual void Invalidate() = 0;
  // Replay now (FormPaint), onto the printer too while HardcopyFlag is set.
  virtual void RepaintNow() = 0;
  // The client size in reference pixels (rubber-band zoom).
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  // Drawing at once, not recorded (MoveTo/LineTo, DrawRectangle).
  virtual void DrawDirectLine(int x1, int y1, int x2, int y2, ColourValue colour) = 0;
  // The rubber band, or none when shown is false.
  virtual void ShowRubberBand(bool shown, int x1, int y1, int x2, int y2) = 0;
  // During a replay, every thousand records or so: keep the window
  // answering (the host decides by the clock how often it looks at its
  // events); false when the replay should stop (a newer replay is wanted,
  // or the user ended the running animation). A part of a picture is never
  // shown: the window keeps the last whole one.
  virtual bool ShowProgress() = 0;
  // A sleep record: show the picture so far, then pause.
  virtual bool Pause(int milliseconds) = 0;
  // The step dialog of the animation: "+" shows the next picture, the
  // "end stepping" button runs the rest without stopping, closing the
  // dialog ends the run.
  virtual StepAnswer StepDialog() = 0;
  // A pause record was just recorded: the picture as recorded so far is
  // shown at once, and the window answers for the milliseconds of the
  // pause (at least once). False when the user asked the run to end.
  virtual bool ShowFrame(int milliseconds) = 0;
};

// ---- The graphics window --------------------------------------------------------

class TFkaldgra {
 public:
  TFkaldgra();

  // The host (not owned), or nullptr: records are only collected.
  void AttachHost(GraphicsHost* host);
  GraphicsHost* Host() const { return host_; }

  // Window state as at program start; the zoom and pan steps, the factors
  // and the trackers to their start values.
  void FormCreate();

  // The replay of the whole list onto the screen canvas and, while
  // HardcopyFlag is set and printer is given, onto the printer. Stops
  // early when the host asks so, and at a window record with a zero-width
  // world (AbortFlag). Returns the number of records replayed.
  std::size_t Replay(GraphicsCanvas& screen, GraphicsCanvas* printer);
  // The replay from a position onward (a fresh position: the whole list),
  // onto the screen canvas and, while HardcopyFlag is set and printer is
  // given, onto the printer. The position follows; returns the index of
  // the next record.
  std::size_t Replay(GraphicsCanvas& screen, GraphicsCanvas* printer, ReplayPosition& at,
                     const ReplayOptions& options);
  // A repaint by the host (FormPaint): RepaintNow of the host, if any.
  void FormPaint();

  // Viewport and world window. fx/fy: fractions of the reference screen,
  // fy upward. Records a window record; a zero-width or zero-height world
  // sets AbortFlag.
  void SetWindow(bool keepAspect, bool inset, Real fx1, Real fy1, Real fx2, Real fy2, Real wx1, Real wy1, Real wx2,
                 Real wy2);
  void SetScale(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
  void ResetZoom();
  void ReSetWindow();
  void Header(Real wx1, Real wy1, Real wx2, Real wy2);
  void SaveLimit();
  void RestoreLimit();
  void SaveViewPort();
  void RetrieveViewPort();
  void Regen();
  void Clear();
  void ClearViewPort();
  // Counts the times the list was emptied: a replay position is good for
  // the list of the same count only.
  std::uint64_t ListGeneration() const { return listGeneration_; }
  // The pictures of an animation in the list that were erased again (they
  // are not drawn by a replay), brought up to date with the list.
  const ErasedPictures& Erased();
  Real EinX(Real f) const;
  Real EinY(Real f) const;

  // Recording primitives (world coordinates, angles in degrees).
  void circle(Real x, Real y, Real r);
  void line(Real x1, Real y1, Real x2, Real y2);
  void OutTextXY(Real x, Real y, const std::string& text);
  void Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
  void Rectangle(Real x1, Real y1, Real x2, Real y2);
  void Arc(Real cx, Real cy, Real a1, Real a2, Real r, Real sweep);
  void SetColor(int c);
  int GetColor() const { return LastColor; }
  void SetLineStyle(int s);
  void SetLineWidth(int w);
  void SetLineStyleName(const std::string& name);
  void SetTextStyle(int font, Real direction, Real height, Real width);
  void SleepMs(int ms);

  // Drawn at once through the zoom mapping, not recorded.
  void MoveTo(Real x, Real y);
  void LineTo(Real x, Real y);
  // Outline in pixels, at once, not recorded.
  void DrawRectangle(int x1, int y1, int x2, int y2);

  static int GetDirection(Real angle);
  void SetTextSizeMode(int m) { TextSizeMode = m; }
  void SetWaitCursor();
  void SetOldCursor();

  // Keys by their virtual key codes (107 plus, 109 minus, 27 Escape, 116
  // F5, 37..40 arrows, 33/34 page up/down); others do nothing.
  void processKey(int key);
  // Zoom by factor (above 1: closer) about the point (x, y) in reference
  // pixels: the world point under it stays where it is (the mouse wheel).
  void ZoomAbout(int x, int y, Real factor);
  void FormKeyDown(int key) { processKey(key); }
  enum class MouseButton { Left, Right, Other };
  void FormMouseDown(MouseButton button, int x, int y);
  void FormMouseMove(int x, int y);
  void FormMouseUp(MouseButton button, int x, int y);
  void FormDblClick() { DoubleClicked = 1; }

  // The start picture's logo, recorded into the current world window.
  void DrawKaldrimLogo();

  // Pixel mapping of the screen (reference pixels), in the range the
  // devices can take whatever the coordinate.
  int ScreenX(Real x) const;
  int ScreenY(Real y) const;
  // The same unrounded: the place of a far point, and the inverse for
  // the mouse.
  Real ScreenXReal(Real x) const;
  Real ScreenYReal(Real y) const;
  Real WorldXAt(Real px) const;
  Real WorldYAt(Real py) const;
  // The reference pixels that the base world window covers (left, top,
  // right, bottom): where the picture is on the screen.
  void PictureRect(int& left, int& top, int& right, int& bottom) const;

  // Form fields.
  std::int32_t TextSizeMode = 0;
  std::uint8_t Dragging = 0;
  std::uint8_t DoubleClicked = 0;
  std::int32_t LastColor = -1;
  std::uint16_t LastLineStyle = 99;
  std::uint16_t LastLineWidth = 1;
  std::uint8_t StepMode = 0;

 private:
  void Invalidate();
  // Gives up the records of the erased pictures found since the last call
  // but those that set the state they leave (TDisplayList::Release): the
  // list of a long run holds what the screen shows, not every picture.
  // Called as each picture's erasing pass ends.
  void ReleaseErased();
  void StepAnswered(StepAnswer answer);

  GraphicsHost* host_ = nullptr;
  Real penX_ = 0, penY_ = 0;  // MoveTo / LineTo
  std::uint64_t listGeneration_ = 0;
  ErasedPictures erased_;
  // Where the records given up end, in the list of that generation.
  std::size_t releasedEnd_ = 0;
  std::uint64_t releasedGeneration_ = 0;
};

// Colour indexes of the CAD colour numbers (1 red .. 7 white) and of 8..16.
int DosColorToIndex(int n);

}  // namespace common
