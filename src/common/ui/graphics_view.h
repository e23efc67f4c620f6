// The graphics window on the screen: a Qt widget that hosts the one
// graphics window (common/graphics_window.h). The main window embeds it as
// its central widget (or derives from it); it is the screen every picture
// is drawn on.
//
// The display list is replayed outside the paint event, into an off-screen
// image that is shown after each frame: a sleep record shows the picture so
// far and pauses, the step dialog of the animation waits between frames,
// and a paint event only copies the image. The picture is drawn in the
// pixels of the reference screen (HorizontalPixels x VerticalPixels) and
// scaled to the widget by one factor across and down, so a resize shows the
// whole picture again in its proportions. Printing replays the list onto a
// printer (a PDF file is a printer).
//
// An animation is shown while it is drawn: each pause record draws the
// records added since the last picture onto the image and shows it when it
// is whole (never a part of a picture), and the window answers during the
// pause and every few hundredths of a second while a picture is drawn;
// Escape or a click on the window ends the run at once. Each picture is
// drawn on a copy of what stays on the screen under the run's pictures,
// kept as an image of its own: an erased picture leaves nothing behind, at
// any window size. Later replays of the same list pass over the pauses
// that were shown so and leave out the erased pictures (a zoom after a
// long run draws the last picture only), and the replay at the end of a
// run draws only what the image does not hold yet. While the run waits,
// only a question asked meanwhile (closing the window asks whether to
// save) takes keys and clicks.
//
// In a window taller than the reference screen's proportions the picture
// stands in the middle.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include "common/clear_of_picture.h"
#include "common/graphics_window.h"
#include "common/ui/kept_window_place.h"

class QPrinter;
class QPagedPaintDevice;

namespace common::ui {

class TForm_anistep;

class GraphicsView : public QWidget, public GraphicsHost {
  Q_OBJECT

 public:
  // Attaches itself to FKaldgra; detaches when destroyed.
  explicit GraphicsView(QWidget* parent = nullptr);
  ~GraphicsView() override;

  // Replays the list onto the printer device too (HardcopyFlag set for
  // the replay): begins a page on an open device. False when the device
  // could not be painted on.
  bool PrintPicture(QPagedPaintDevice& device);
  // The print dialog (when PrintDialogFlag is set), then PrintPicture on
  // the chosen printer in the configured orientation. False when cancelled.
  bool PrintWithDialog();
  // Writes the picture as a PDF file (a printer of its own).
  bool PrintToPdf(const QString& fileName);

  // The image last shown (what a screenshot of the widget shows).
  QImage ShownImage() const { return shown_; }
  // Runs a pending replay at once (tests, screenshots).
  void ReplayPending();
  // Number of completed replays.
  int ReplayCount() const { return replayCount_; }
  // Number of paint events the widget has had.
  int PaintCount() const { return paintCount_; }
  // Number of pictures of animations shown (each pause record recorded).
  int FrameCount() const { return frameCount_; }
  // Where the base world window of the picture is, in widget pixels.
  QRect PictureRect() const;
  // What the shown picture has drawn (not the background), in cells of
  // cell x cell widget pixels from the widget's corner.
  InkMap DrawnCells(int cell) const;

  // GraphicsHost
  void Invalidate() override;
  void RepaintNow() override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  void DrawDirectLine(int x1, int y1, int x2, int y2, ColourValue colour) override;
  void ShowRubberBand(bool shown, int x1, int y1, int x2, int y2) override;
  bool ShowProgress() override;
  bool Pause(int milliseconds) override;
  StepAnswer StepDialog() override;
  bool ShowFrame(int milliseconds) override;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Installed on the application while a run waits: Escape and clicks end
  // the run, other commands wait.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether the object is this window's: its window-system window or a
  // widget in it.
  bool OfThisWindow(QObject* watched) const;
  void RunReplay(QPagedPaintDevice* printer);
  // The replay that Invalidate asked for, once no run waits.
  void RunPendingReplay();
  // The picture of a run being shown: what the run's erased pictures left
  // (the kept background, brought up to date) and on a copy of it the
  // records after them.
  void DrawRunPicture(const ReplayOptions& options);
  // The list from live_ onward onto the image.
  void ReplayOnward(const ReplayOptions& options);
  // A fresh image of the widget's size in the background colour.
  void NewImage();
  // The whole list onto a fresh image; remembers where it ended.
  void ReplayWhole(GraphicsCanvas* printerCanvas, const ReplayOptions& options);
  // Whether the image holds the list up to live_ as it is drawn now.
  bool LiveUsable() const;
  // Lets the window answer for the milliseconds (at least once); false
  // when the user asked the running animation to end.
  bool Answer(int milliseconds);
  // Widget pixels per reference pixel.
  double Scale() const;
  // Where the reference screen's corner stands in the widget.
  QPointF Offset() const;
  QPoint ToReference(const QPointF& widgetPoint) const;
  void Present();

  QImage image_;  // drawn by the replay
  QImage shown_;  // what the paint event shows
  bool replayPending_ = false;
  bool replaying_ = false;
  bool restart_ = false;
  bool closing_ = false;
  bool bandShown_ = false;
  QRect band_;
  int replayCount_ = 0;
  int paintCount_ = 0;
  int frameCount_ = 0;
  // The replay position the image has reached, for what it is valid: the
  // list's generation, the zoom rectangle and the image size.
  ReplayPosition live_;
  bool liveValid_ = false;
  std::uint64_t liveGeneration_ = 0;
  QRect liveZoom_;
  QSize liveSize_;
  // The records of the list (of its generation) that were shown picture
  // by picture as they were drawn.
  std::size_t shownUpTo_ = 0;
  std::uint64_t shownGeneration_ = 0;
  // A picture or a pause is waiting: Escape or a click ends the run.
  bool waiting_ = false;
  // A picture of a run is being drawn.
  bool inFrame_ = false;
  // The picture of a run is drawn again in its pause (the window changed).
  bool redrawingInPause_ = false;
  // Escape or a click during the run: the run ends at its next picture or
  // pause, or within the picture being drawn.
  bool stopRequested_ = false;
  // Escape or a click in a pause of a replay: the rest is drawn at once.
  bool skipPauses_ = false;
  // When the events were last looked at during a replay.
  QElapsedTimer progressClock_;
  static constexpr int kProgressMs = 25;
  bool wasShown_ = false;
  // What stays on the screen under the pictures of a run (all that the
  // list holds before its last erased picture's end, without the erased
  // pictures), and the replay position it has reached; good for the list's
  // generation, the zoom rectangle and the image size it was drawn for.
  QImage background_;
  ReplayPosition backgroundAt_;
  bool backgroundValid_ = false;
  std::uint64_t backgroundGeneration_ = 0;
  QRect backgroundZoom_;
  QSize backgroundSize_;
  // The step dialog, kept for the window's life, and where it stands.
  TForm_anistep* stepDialog_ = nullptr;
  KeptWindowPlace stepPlace_;
};

// The key code of the graphics window's key table for a key event, or 0
// for a key outside it. Plus (and '=', plus without shift) zooms in and
// minus out, from the keypad or the main keyboard: laptops have no keypad.
int GraphicsKeyCode(int qtKey, bool keypad);

}  // namespace common::ui
