// The graphics window's Qt widget; see graphics_view.h.
#include "common/ui/graphics_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "common/graphics_facade.h"
#include "common/kaldvar.h"
#include "common/ui/animation_step_dialog.h"
#include "common/ui/painter_canvas.h"
#include "common/ui/picture_clear_placement.h"

namespace common::ui {

namespace {
int RefWidth() { return ReferenceWidth() + 1; }
int RefHeight() { return ReferenceHeight() + 1; }
}  // namespace

int GraphicsKeyCode(int qtKey, bool keypad) {
  (void)keypad;
  switch (qtKey) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Escape: return 27;
    case Qt::Key_F5: return 116;
    case Qt::Key_Up: return 38;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_Left: return 37;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_PageDown: return 34;
    default: return 0;
  }
}

GraphicsView::GraphicsView(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  FKaldgra.AttachHost(this);
}

GraphicsView::~GraphicsView() {
  if (FKaldgra.Host() == this) FKaldgra.AttachHost(nullptr);
}

QSize GraphicsView::sizeHint() const { return {RefWidth(), RefHeight()}; }

double GraphicsView::Scale() const {
  const double s = std::min(static_cast<double>(width()) / RefWidth(), static_cast<double>(height()) / RefHeight());
  return s > 0 ? s : 1.0;
}

QPointF GraphicsView::Offset() const {
  // In a window taller than the picture's proportions the picture stands in
  // the middle, not at the top with the room below it.
  const double spare = height() - RefHeight() * Scale();
  return QPointF(0, spare > 1 ? std::floor(spare / 2) : 0);
}

QPoint GraphicsView::ToReference(const QPointF& p) const {
  const double s = Scale();
  const QPointF q = p - Offset();
  return QPoint(static_cast<int>(std::lround(q.x() / s)), static_cast<int>(std::lround(q.y() / s)));
}

int GraphicsView::ClientWidth() const { return static_cast<int>(std::lround(width() / Scale())); }
int GraphicsView::ClientHeight() const {
  return static_cast<int>(std::lround((height() - 2 * Offset().y()) / Scale()));
}

void GraphicsView::Invalidate() {
  // A replay of the whole list starts again; a picture of a running
  // animation is finished first, and the replay follows the run. The
  // picture of a run drawn again in its pause (for a new window size) is
  // drawn once more after it.
  if (replaying_ && !inFrame_ && !redrawingInPause_) {
    restart_ = true;
    return;
  }
  if (replayPending_) return;
  replayPending_ = true;
  QTimer::singleShot(0, this, &GraphicsView::RunPendingReplay);
}

void GraphicsView::RunPendingReplay() {
  if (!replayPending_) return;
  // Not inside a picture of a running animation: the replay would start
  // the stopped run's pictures again; it waits for the picture.
  if (replaying_) {
    QTimer::singleShot(10, this, &GraphicsView::RunPendingReplay);
    return;
  }
  // In the pause of a run (the window was resized): the picture shown is
  // drawn again at once for the new size, from the kept background.
  if (waiting_) {
    replayPending_ = false;
    replaying_ = true;
    redrawingInPause_ = true;
    ReplayOptions options;
    options.quietBefore = shownUpTo_;
    options.noPauses = true;
    DrawRunPicture(options);
    redrawingInPause_ = false;
    replaying_ = false;
    if (LiveUsable() && live_.next == DisplayList.size()) Present();
    return;
  }
  replayPending_ = false;
  RunReplay(nullptr);
}

void GraphicsView::ReplayPending() {
  if (!replayPending_) return;
  replayPending_ = false;
  RunReplay(nullptr);
}

void GraphicsView::RepaintNow() {
  if (replaying_ || waiting_) {
    Invalidate();
    return;
  }
  replayPending_ = false;
  RunReplay(nullptr);
}

void GraphicsView::Present() {
  shown_ = image_.copy();
  update();
}

void GraphicsView::NewImage() {
  const qreal dpr = devicePixelRatioF();
  const QSize size = this->size().expandedTo(QSize(1, 1)) * dpr;
  image_ = QImage(size, QImage::Format_RGB32);
  image_.setDevicePixelRatio(dpr);
  image_.fill(ToQColor(ScreenGraphicsSettings.BackgroundColour));
}

namespace {

QRect ZoomRectangle() {
  const auto& g = ScreenGraphicsSettings;
  return QRect(QPoint(g.ZoomLeft, g.ZoomTop), QPoint(g.ZoomRight, g.ZoomBottom));
}

// The painter of the image: reference pixels scaled to the widget, from
// where the picture stands in it.
void PreparePainter(QPainter& painter, double scale, const QPointF& offset) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.translate(offset);
  painter.scale(scale, scale);
}

}  // namespace

void GraphicsView::ReplayWhole(GraphicsCanvas* printerCanvas, const ReplayOptions& options) {
  NewImage();
  ReplayPosition at;
  {
    QPainter painter(&image_);
    PreparePainter(painter, Scale(), Offset());
    PainterCanvas screen(painter, RefWidth(), RefHeight());
    FKaldgra.Replay(screen, printerCanvas, at, options);
  }
  // The position is kept for the pictures still to come, when the image
  // holds the whole list.
  liveValid_ = !printerCanvas && at.next == DisplayList.size();
  live_ = at;
  liveGeneration_ = FKaldgra.ListGeneration();
  liveZoom_ = ZoomRectangle();
  liveSize_ = image_.size();
}

void GraphicsView::DrawRunPicture(const ReplayOptions& options) {
  const std::size_t settled = FKaldgra.Erased().SettledEnd();
  const QSize size = this->size().expandedTo(QSize(1, 1)) * devicePixelRatioF();
  const bool usable = backgroundValid_ && !background_.isNull() &&
                      backgroundGeneration_ == FKaldgra.ListGeneration() && backgroundZoom_ == ZoomRectangle() &&
                      backgroundSize_ == size && backgroundAt_.next <= settled;
  if (!usable) {
    NewImage();
    background_ = image_;
    backgroundAt_ = ReplayPosition{};
    backgroundValid_ = true;
    backgroundGeneration_ = FKaldgra.ListGeneration();
    backgroundZoom_ = ZoomRectangle();
    backgroundSize_ = background_.size();
  }
  // What the run's erased pictures leave: drawn once onto the background.
  if (backgroundAt_.next < settled) {
    ReplayOptions upTo = options;
    upTo.end = settled;
    QPainter painter(&background_);
    PreparePainter(painter, Scale(), Offset());
    PainterCanvas screen(painter, RefWidth(), RefHeight());
    FKaldgra.Replay(screen, nullptr, backgroundAt_, upTo);
  }
  // The picture on a copy of it: the last one goes with the copy, cleanly
  // at any scale.
  image_ = background_.copy();
  image_.setDevicePixelRatio(background_.devicePixelRatio());
  live_ = backgroundAt_;
  liveValid_ = true;
  liveGeneration_ = FKaldgra.ListGeneration();
  liveZoom_ = ZoomRectangle();
  liveSize_ = image_.size();
  ReplayOnward(options);
}

bool GraphicsView::LiveUsable() const {
  return liveValid_ && !image_.isNull() && liveGeneration_ == FKaldgra.ListGeneration() &&
         liveZoom_ == ZoomRectangle() && live_.next <= DisplayList.size() &&
         liveSize_ == this->size().expandedTo(QSize(1, 1)) * devicePixelRatioF();
}

void GraphicsView::ReplayOnward(const ReplayOptions& options) {
  QPainter painter(&image_);
  PreparePainter(painter, Scale(), Offset());
  PainterCanvas screen(painter, RefWidth(), RefHeight());
  FKaldgra.Replay(screen, nullptr, live_, options);
}

void GraphicsView::RunReplay(QPagedPaintDevice* printer) {
  if (replaying_ || waiting_) {
    Invalidate();
    return;
  }
  replaying_ = true;
  skipPauses_ = false;
  QPainter printerPainter;
  std::unique_ptr<PainterCanvas> printerCanvas;
  if (printer && printerPainter.begin(printer)) {
    printerPainter.setRenderHint(QPainter::Antialiasing);
    printerCanvas = std::make_unique<PainterCanvas>(printerPainter, printer->width(), printer->height());
  }
  do {
    restart_ = false;
    ReplayOptions options;
    const bool animation = shownGeneration_ == FKaldgra.ListGeneration();
    if (animation) options.quietBefore = shownUpTo_;
    // After an animation the image holds its pictures drawn as they came:
    // what is left is drawn onto it, not the whole run again.
    if (!printerCanvas && animation && LiveUsable())
      ReplayOnward(options);
    else
      ReplayWhole(printerCanvas.get(), options);
    ++replayCount_;
    // Only a whole picture is shown; a replay that starts again shows the
    // last one meanwhile.
    if (!restart_ || printerCanvas) Present();
    // A restart while printing would print the page twice: the printer
    // gets the one replay.
    if (printerCanvas) break;
  } while (restart_ && !closing_);
  if (printerCanvas) printerPainter.end();
  skipPauses_ = false;
  replaying_ = false;
}

bool GraphicsView::ShowFrame(int milliseconds) {
  ++frameCount_;
  // The window was closed during the run: the run ends.
  if (closing_ || (wasShown_ && !isVisible())) return false;
  // A picture recorded while a replay waits (a command run from its pause)
  // waits for that replay to start again.
  if (replaying_) {
    restart_ = true;
    return true;
  }
  // The first picture of a new list starts a new run.
  const bool sameRun = shownGeneration_ == FKaldgra.ListGeneration();
  if (!sameRun) stopRequested_ = false;
  replaying_ = true;
  inFrame_ = true;
  // The pause is this call's; a single-step run waits for the user at the
  // start of the erasing pass, with the last picture whole on the screen.
  ReplayOptions options;
  options.quietBefore = sameRun ? shownUpTo_ : 0;
  options.noPauses = true;
  DrawRunPicture(options);
  replaying_ = false;
  inFrame_ = false;
  shownUpTo_ = DisplayList.size();
  shownGeneration_ = FKaldgra.ListGeneration();
  // The picture is shown when it is whole: drawn into the image first, then
  // copied to the screen in one piece. A picture the user stopped in the
  // middle is finished by the replay that follows the run.
  const bool whole = LiveUsable() && live_.next == DisplayList.size();
  if (whole) {
    // A replay waiting for the event loop has nothing left to do.
    replayPending_ = false;
    Present();
    repaint();
  }
  // The user's request ends the run wherever it came: within the picture,
  // during the last pause, or while the picture was recorded.
  const bool go = !stopRequested_ && Answer(milliseconds);
  stopRequested_ = false;
  return go;
}

bool GraphicsView::OfThisWindow(QObject* watched) const {
  // The window system hands its events to the window first, then Qt passes
  // them on to the widget under the mouse or with the focus: both are ours.
  if (auto* widget = qobject_cast<QWidget*>(watched)) return widget->window() == window();
  if (auto* handle = qobject_cast<QWindow*>(watched)) return handle == window()->windowHandle();
  return false;
}

bool GraphicsView::eventFilter(QObject* watched, QEvent* event) {
  if (!waiting_) return QWidget::eventFilter(watched, event);
  // While a picture of a run waits, the window answers (it repaints, moves
  // and closes) but takes no command: Escape or a click in it ends the
  // run; other keys, clicks and the wheel are dropped, so that no command
  // starts inside the running one. A question asked meanwhile (closing the
  // window asks whether to save) takes its keys and clicks: the window is
  // blocked by it then, and so is every other one.
  const bool ours = OfThisWindow(watched);
  if (!ours && (QApplication::activeModalWidget() || QApplication::activePopupWidget()))
    return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) stopRequested_ = true;
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (ours) stopRequested_ = true;
      return true;
    case QEvent::Close:
      // Closing the window ends the run before the window asks whether to
      // save, whatever the answer.
      if (ours) stopRequested_ = true;
      return QWidget::eventFilter(watched, event);
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
      return true;
    default:
      return QWidget::eventFilter(watched, event);
  }
}

bool GraphicsView::Answer(int milliseconds) {
  waiting_ = true;
  QCoreApplication::instance()->installEventFilter(this);
  QElapsedTimer timer;
  timer.start();
  do {
    const qint64 left = milliseconds - timer.elapsed();
    QCoreApplication::processEvents(QEventLoop::AllEvents, static_cast<int>(std::clamp<qint64>(left, 1, 20)));
    if (left > 1) QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 5)));
  } while (timer.elapsed() < milliseconds && !restart_ && !closing_ && !stopRequested_);
  QCoreApplication::instance()->removeEventFilter(this);
  waiting_ = false;
  return !stopRequested_ && !closing_;
}

bool GraphicsView::ShowProgress() {
  // The events are looked at a few times a second, so that a long picture
  // neither freezes the window nor costs much in the looking.
  if (!progressClock_.isValid() || progressClock_.elapsed() >= kProgressMs) {
    progressClock_.start();
    // Within a picture of a run the window answers as it does between the
    // pictures: an Escape or a click that arrives here ends the run too.
    const bool inRun = inFrame_ && !waiting_;
    if (inRun) {
      waiting_ = true;
      QCoreApplication::instance()->installEventFilter(this);
    }
    QCoreApplication::processEvents();
    if (inRun) {
      QCoreApplication::instance()->removeEventFilter(this);
      waiting_ = false;
    }
  }
  return !restart_ && !closing_ && !(inFrame_ && stopRequested_);
}

bool GraphicsView::Pause(int milliseconds) {
  // Escape or a click during an earlier pause: the rest of the replay is
  // drawn without waiting.
  if (skipPauses_) return !restart_ && !closing_;
  Present();
  repaint();
  if (!Answer(milliseconds)) skipPauses_ = true;
  stopRequested_ = false;
  return !restart_ && !closing_;
}

StepAnswer GraphicsView::StepDialog() {
  Present();
  repaint();
  // The step point is shown now: a replay while the dialog waits (the
  // window resized) does not ask again.
  if (shownGeneration_ == FKaldgra.ListGeneration()) shownUpTo_ = std::max(shownUpTo_, DisplayList.size());
  // One dialog for the window's life: it stands clear of the picture the
  // first time and then where the user leaves it.
  if (!stepDialog_) {
    stepDialog_ = new TForm_anistep(this);
    stepDialog_->adjustSize();
    if (const QScreen* screen = this->screen()) PlaceClearOfPicture(*stepDialog_, *this, screen->availableGeometry());
  } else {
    stepPlace_.GiveBack(*stepDialog_);
  }
  const StepAnswer answer = stepDialog_->Ask();
  stepPlace_.Take(*stepDialog_);
  return answer;
}

void GraphicsView::DrawDirectLine(int x1, int y1, int x2, int y2, ColourValue colour) {
  if (image_.isNull()) return;
  QPainter painter(&image_);
  painter.translate(Offset());
  painter.scale(Scale(), Scale());
  painter.setPen(ToQColor(colour));
  painter.drawLine(x1, y1, x2, y2);
  painter.end();
  Present();
}

void GraphicsView::ShowRubberBand(bool shown, int x1, int y1, int x2, int y2) {
  bandShown_ = shown;
  band_ = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
  update();
}

bool GraphicsView::PrintPicture(QPagedPaintDevice& device) {
  if (replaying_) return false;
  HardcopyFlag = 1;
  replayPending_ = false;
  RunReplay(&device);
  HardcopyFlag = 0;
  return true;
}

bool GraphicsView::PrintWithDialog() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(PrinterGraphicsSettings.PrinterOrientation == 1 ? QPageLayout::Portrait
                                                                             : QPageLayout::Landscape);
  if (PrinterGraphicsSettings.PrintDialogFlag) {
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) {
      AbortFlag = 1;
      return false;
    }
  }
  return PrintPicture(printer);
}

bool GraphicsView::PrintToPdf(const QString& fileName) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(fileName);
  printer.setPageOrientation(PrinterGraphicsSettings.PrinterOrientation == 1 ? QPageLayout::Portrait
                                                                             : QPageLayout::Landscape);
  return PrintPicture(printer);
}

QRect GraphicsView::PictureRect() const {
  int left = 0, top = 0, right = 0, bottom = 0;
  FKaldgra.PictureRect(left, top, right, bottom);
  const double s = Scale();
  const QPoint at = Offset().toPoint();
  return QRect(QPoint(static_cast<int>(std::floor(left * s)), static_cast<int>(std::floor(top * s))) + at,
               QPoint(static_cast<int>(std::ceil(right * s)), static_cast<int>(std::ceil(bottom * s))) + at);
}

InkMap GraphicsView::DrawnCells(int cell) const {
  cell = std::max(cell, 1);
  InkMap ink(0, 0, cell, (width() + cell - 1) / cell, (height() + cell - 1) / cell);
  if (shown_.isNull()) return ink;
  const QImage image = shown_.convertToFormat(QImage::Format_RGB32);
  const QRgb background = ToQColor(ScreenGraphicsSettings.BackgroundColour).rgb() & 0xFFFFFF;
  const double ratio = image.devicePixelRatio() > 0 ? image.devicePixelRatio() : 1.0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const int row = std::min(static_cast<int>(y / ratio) / cell, ink.rows - 1);
    for (int x = 0; x < image.width(); ++x)
      if ((line[x] & 0xFFFFFF) != background) ink.Mark(std::min(static_cast<int>(x / ratio) / cell, ink.columns - 1), row);
  }
  return ink;
}

void GraphicsView::paintEvent(QPaintEvent*) {
  ++paintCount_;
  QPainter painter(this);
  if (shown_.isNull()) {
    painter.fillRect(rect(), ToQColor(ScreenGraphicsSettings.BackgroundColour));
  } else {
    painter.fillRect(rect(), ToQColor(ScreenGraphicsSettings.BackgroundColour));
    painter.drawImage(QPoint(0, 0), shown_);
  }
  if (bandShown_) {
    painter.translate(Offset());
    painter.scale(Scale(), Scale());
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(Qt::white);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(band_);
  }
}

void GraphicsView::resizeEvent(QResizeEvent*) { Invalidate(); }

void GraphicsView::showEvent(QShowEvent* event) {
  wasShown_ = true;
  QWidget::showEvent(event);
}

void GraphicsView::keyPressEvent(QKeyEvent* event) {
  const int code = GraphicsKeyCode(event->key(), event->modifiers() & Qt::KeypadModifier);
  if (code == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  FKaldgra.FormKeyDown(code);
}

namespace {
TFkaldgra::MouseButton ButtonOf(Qt::MouseButton b) {
  if (b == Qt::LeftButton) return TFkaldgra::MouseButton::Left;
  if (b == Qt::RightButton) return TFkaldgra::MouseButton::Right;
  return TFkaldgra::MouseButton::Other;
}
}  // namespace

void GraphicsView::mousePressEvent(QMouseEvent* event) {
  const QPoint p = ToReference(event->position());
  FKaldgra.FormMouseDown(ButtonOf(event->button()), p.x(), p.y());
}

void GraphicsView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = ToReference(event->position());
  FKaldgra.FormMouseMove(p.x(), p.y());
}

void GraphicsView::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = ToReference(event->position());
  FKaldgra.FormMouseUp(ButtonOf(event->button()), p.x(), p.y());
}

void GraphicsView::mouseDoubleClickEvent(QMouseEvent* event) {
  // As on the old window system: the double click, then its button press.
  FKaldgra.FormDblClick();
  const QPoint p = ToReference(event->position());
  FKaldgra.FormMouseDown(ButtonOf(event->button()), p.x(), p.y());
}

void GraphicsView::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps == 0) {
    event->ignore();
    return;
  }
  const QPoint p = ToReference(event->position());
  FKaldgra.ZoomAbout(p.x(), p.y(), std::pow(static_cast<double>(ScreenGraphicsSettings.ZoomIncrement), steps));
  event->accept();
}

void GraphicsView::closeEvent(QCloseEvent* event) {
  closing_ = true;
  QWidget::closeEvent(event);
}

}  // namespace common::ui
