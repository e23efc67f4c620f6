// The picture window over a form; see picture_window.h.
#include "common/ui/picture_window.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "common/graphics_facade.h"
#include "common/graphics_settings.h"
#include "common/graphics_window.h"
#include "common/ui/painter_canvas.h"

namespace common::ui {

namespace {

// The frame the window manager puts round a window: that of the form,
// whose frame is known; the picture window is not yet framed when it is
// placed, and its title bar would else stand above the place chosen.
QMargins FrameMargins(const QWidget* form) {
  const QRect frame = form->frameGeometry(), inner = form->geometry();
  return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
          frame.bottom() - inner.bottom()};
}

// The controls of the form in screen coordinates: what the picture must
// not cover where it can help it.
std::vector<QRect> ControlsOf(const QWidget* form) {
  std::vector<QRect> controls;
  for (const QWidget* w : form->findChildren<QWidget*>()) {
    if (!w->isVisible() || !w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty()) continue;
    if (w->isWindow()) continue;
    controls.emplace_back(w->mapToGlobal(QPoint(0, 0)), w->size());
  }
  return controls;
}

long long Covered(const QRect& r, const std::vector<QRect>& controls) {
  long long area = 0;
  for (const QRect& c : controls) {
    const QRect common = r.intersected(c);
    if (!common.isEmpty()) area += static_cast<long long>(common.width()) * common.height();
  }
  return area;
}

// Where the window's frame (of the size given) stands, and how wide the
// picture in it is: beside the form (right, left, below, above) where the
// screen has room, the picture made smaller down to half its width if
// that gives it room; else the place on the screen that covers no control
// of the form, or the least of them, the picture at its smallest.
struct Placement {
  QRect frame;
  int pictureWidth = 0;
};

Placement PlaceBeside(const QRect& form, const QSize& chrome, int width, int minWidth, const QRect& screen,
                      const std::vector<QRect>& controls) {
  const int refWidth = ReferenceWidth() + 1, refHeight = ReferenceHeight() + 1;
  auto frameSize = [&](int w) { return QSize(w, std::max(1, w * refHeight / std::max(refWidth, 1))) + chrome; };
  const int gap = 8;
  std::vector<int> widths;
  for (int w = width; w > minWidth; w = w * 7 / 8) widths.push_back(w);
  widths.push_back(minWidth);
  for (const int w : widths) {
    const QSize size = frameSize(w);
    const QPoint places[] = {
        {form.right() + 1 + gap, form.top()},
        {form.left() - gap - size.width(), form.top()},
        {form.left(), form.bottom() + 1 + gap},
        {form.left(), form.top() - gap - size.height()},
    };
    for (const QPoint& p : places)
      if (screen.contains(QRect(p, size))) return {QRect(p, size), w};
  }
  Placement best;
  long long least = -1;
  for (const int w : widths) {
    const QSize size = frameSize(w);
    const int right = std::max(screen.left(), screen.right() + 1 - size.width());
    const int bottom = std::max(screen.top(), screen.bottom() + 1 - size.height());
    for (int y = bottom; y >= screen.top(); y -= 8)
      for (int x = right; x >= screen.left(); x -= 8) {
        const QRect r(QPoint(x, y), size);
        const long long covered = Covered(r, controls);
        if (least < 0 || covered < least) least = covered, best = {r, w};
        if (covered == 0) return best;
      }
  }
  return best;
}

}  // namespace

TForm_picture::TForm_picture(QWidget* form) : QDialog(form, Qt::Tool) {
  setObjectName("Form_picture");
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  picture_ = new QLabel(this);
  picture_->setObjectName("Label_picture");
  picture_->setAlignment(Qt::AlignCenter);
  layout->addWidget(picture_, 1);
  auto* close = new QPushButton("&Close", this);
  close->setObjectName("Button_close");
  close->setAutoDefault(false);
  layout->addWidget(close, 0, Qt::AlignRight);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void TForm_picture::ShowPicture(const QImage& picture) {
  picture_->setPixmap(QPixmap::fromImage(picture));
  picture_->setFixedSize(picture.size());
  adjustSize();
}

QSize TForm_picture::PictureSize() const { return picture_->size(); }

QImage GraphicsPicture(int width, int height) {
  const int refWidth = ReferenceWidth() + 1, refHeight = ReferenceHeight() + 1;
  if (height <= 0) height = std::max(1, width * refHeight / std::max(refWidth, 1));
  QImage image(QSize(std::max(width, 1), height), QImage::Format_RGB32);
  image.fill(ToQColor(ScreenGraphicsSettings.BackgroundColour));
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const double scale = std::min(static_cast<double>(image.width()) / refWidth,
                                static_cast<double>(image.height()) / refHeight);
  painter.scale(scale, scale);
  PainterCanvas canvas(painter, refWidth, refHeight);
  ReplayPosition at;
  ReplayOptions options;
  options.noPauses = true;
  FKaldgra.Replay(canvas, nullptr, at, options);
  return image;
}

bool ShowPictureOverModalForm() {
  QWidget* form = QApplication::activeModalWidget();
  if (!form) return false;
  const QScreen* screen = form->screen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  // About two fifths of the screen's width: the picture's texts stay legible.
  const int width = std::clamp(area.width() * 2 / 5, 320, 640);
  auto* window = form->findChild<TForm_picture*>("Form_picture", Qt::FindDirectChildrenOnly);
  if (!window) window = new TForm_picture(form);
  window->setWindowTitle(form->windowTitle());
  window->ShowPicture(GraphicsPicture(width));
  // What the window adds round the picture: its layout, the button, the
  // frame.
  const QMargins margins = FrameMargins(form);
  const QSize chrome = window->size() - window->PictureSize() + QSize(margins.left() + margins.right(),
                                                                        margins.top() + margins.bottom());
  const Placement place = PlaceBeside(form->frameGeometry(), chrome, width, std::min(width, 240), area,
                                      ControlsOf(form));
  if (place.pictureWidth != width) window->ShowPicture(GraphicsPicture(place.pictureWidth));
  window->show();
  window->move(place.frame.topLeft());
  window->raise();
  // Once the window manager has framed it: the whole frame on the screen.
  QTimer::singleShot(250, window, [window, area] {
    const QRect frame = window->frameGeometry();
    if (area.contains(frame)) return;
    const int x = std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() + 1 - frame.width()));
    const int y = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()));
    window->move(x, y);
  });
  return true;
}

}  // namespace common::ui
