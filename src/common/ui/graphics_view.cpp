// The graphics window's Qt widget; see graphics_view.h.
#include "common/ui/graphics_view.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QThread>
#include <QTimer>
#include <algorithm>

#include "common/graphics_facade.h"
#include "common/kaldvar.h"
#include "common/ui/animation_step_dialog.h"
#include "common/ui/painter_canvas.h"

namespace common::ui {

namespace {
int RefWidth() { return ReferenceWidth() + 1; }
int RefHeight() { return ReferenceHeight() + 1; }
}  // namespace

int GraphicsKeyCode(int qtKey, bool keypad) {
  switch (qtKey) {
    case Qt::Key_Plus: return keypad ? 107 : 0;
    case Qt::Key_Minus: return keypad ? 109 : 0;
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

QPoint GraphicsView::ToReference(const QPointF& p) const {
  const double s = Scale();
  return QPoint(static_cast<int>(std::lround(p.x() / s)), static_cast<int>(std::lround(p.y() / s)));
}

int GraphicsView::ClientWidth() const { return static_cast<int>(std::lround(width() / Scale())); }
int GraphicsView::ClientHeight() const { return static_cast<int>(std::lround(height() / Scale())); }

void GraphicsView::Invalidate() {
  if (replaying_) {
    restart_ = true;
    return;
  }
  if (replayPending_) return;
  replayPending_ = true;
  QTimer::singleShot(0, this, [this] {
    if (!replayPending_) return;
    replayPending_ = false;
    RunReplay(nullptr);
  });
}

void GraphicsView::ReplayPending() {
  if (!replayPending_) return;
  replayPending_ = false;
  RunReplay(nullptr);
}

void GraphicsView::RepaintNow() {
  if (replaying_) {
    restart_ = true;
    return;
  }
  replayPending_ = false;
  RunReplay(nullptr);
}

void GraphicsView::Present() {
  shown_ = image_.copy();
  update();
}

void GraphicsView::RunReplay(QPagedPaintDevice* printer) {
  if (replaying_) {
    restart_ = true;
    return;
  }
  replaying_ = true;
  QPainter printerPainter;
  std::unique_ptr<PainterCanvas> printerCanvas;
  if (printer && printerPainter.begin(printer)) {
    printerPainter.setRenderHint(QPainter::Antialiasing);
    printerCanvas = std::make_unique<PainterCanvas>(printerPainter, printer->width(), printer->height());
  }
  do {
    restart_ = false;
    const qreal dpr = devicePixelRatioF();
    const QSize size = this->size().expandedTo(QSize(1, 1)) * dpr;
    image_ = QImage(size, QImage::Format_RGB32);
    image_.setDevicePixelRatio(dpr);
    image_.fill(ToQColor(ScreenGraphicsSettings.BackgroundColour));
    {
      QPainter painter(&image_);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setRenderHint(QPainter::TextAntialiasing);
      painter.scale(Scale(), Scale());
      PainterCanvas screen(painter, RefWidth(), RefHeight());
      FKaldgra.Replay(screen, printerCanvas.get());
    }
    ++replayCount_;
    Present();
    // A restart while printing would print the page twice: the printer
    // gets the one replay.
    if (printerCanvas) break;
  } while (restart_ && !closing_);
  if (printerCanvas) printerPainter.end();
  replaying_ = false;
}

bool GraphicsView::ShowProgress() {
  Present();
  QCoreApplication::processEvents();
  return !restart_ && !closing_;
}

bool GraphicsView::Pause(int milliseconds) {
  Present();
  repaint();
  QElapsedTimer timer;
  timer.start();
  while (!restart_ && !closing_) {
    const qint64 left = milliseconds - timer.elapsed();
    if (left <= 0) break;
    QCoreApplication::processEvents(QEventLoop::AllEvents, static_cast<int>(std::min<qint64>(left, 20)));
    QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 5)));
  }
  return !restart_ && !closing_;
}

bool GraphicsView::StepDialog() {
  Present();
  repaint();
  return RunAnimationStepDialog(this);
}

void GraphicsView::DrawDirectLine(int x1, int y1, int x2, int y2, ColourValue colour) {
  if (image_.isNull()) return;
  QPainter painter(&image_);
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

void GraphicsView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (shown_.isNull()) {
    painter.fillRect(rect(), ToQColor(ScreenGraphicsSettings.BackgroundColour));
  } else {
    painter.fillRect(rect(), ToQColor(ScreenGraphicsSettings.BackgroundColour));
    painter.drawImage(QPoint(0, 0), shown_);
  }
  if (bandShown_) {
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

void GraphicsView::closeEvent(QCloseEvent* event) {
  closing_ = true;
  QWidget::closeEvent(event);
}

}  // namespace common::ui
