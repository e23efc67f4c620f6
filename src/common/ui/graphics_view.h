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
// scaled to the widget, so a resize shows the whole picture again.
// Printing replays the list onto a printer (a PDF file is a printer).
#pragma once

#include <QImage>
#include <QWidget>

#include "common/graphics_window.h"

class QPrinter;
class QPagedPaintDevice;

namespace common::ui {

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

  // GraphicsHost
  void Invalidate() override;
  void RepaintNow() override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  void DrawDirectLine(int x1, int y1, int x2, int y2, ColourValue colour) override;
  void ShowRubberBand(bool shown, int x1, int y1, int x2, int y2) override;
  bool ShowProgress() override;
  bool Pause(int milliseconds) override;
  bool StepDialog() override;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void RunReplay(QPagedPaintDevice* printer);
  // Widget pixels per reference pixel.
  double Scale() const;
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
};

// The key code of the graphics window's key table for a key event, or 0
// for a key outside it (numeric plus 107 and minus 109 only from the keypad).
int GraphicsKeyCode(int qtKey, bool keypad);

}  // namespace common::ui
