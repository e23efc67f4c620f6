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

// The frame of a picture window and its picture's width; where the form
// had to make room, the place its frame moves to.
struct Placement {
  QRect frame;
  int pictureWidth = 0;
  QPoint formAt;
};

// A picture's height at a width: that of the graphics window it is drawn
// from (GraphicsPicture).
int PictureHeight(int width) {
  const int refWidth = ReferenceWidth() + 1, refHeight = ReferenceHeight() + 1;
  return std::max(1, width * refHeight / std::max(refWidth, 1));
}

// The widest picture, up to width, whose window (chrome round it) fits
// room; 0 where none does.
int WidestIn(const QSize& room, const QSize& chrome, int width) {
  const int refWidth = ReferenceWidth() + 1, refHeight = ReferenceHeight() + 1;
  const int height = room.height() - chrome.height();
  int w = std::min({width, room.width() - chrome.width(), height * refWidth / std::max(refHeight, 1) + 1});
  while (w > 0 && PictureHeight(w) > height) --w;
  return std::max(w, 0);
}

enum class Side { Right, Left, Below, Above };
constexpr Side kSides[] = {Side::Right, Side::Left, Side::Below, Side::Above};
constexpr int kGap = 8;

// The room on one side of the form: where the form stands, or once it has
// moved to the far edge of the screen.
QSize RoomBeside(Side side, const QRect& form, const QRect& screen, bool formMoves) {
  switch (side) {
    case Side::Right:
      return {(formMoves ? screen.width() - form.width() : screen.right() - form.right()) - kGap, screen.height()};
    case Side::Left:
      return {(formMoves ? screen.width() - form.width() : form.left() - screen.left()) - kGap, screen.height()};
    case Side::Below:
      return {screen.width(), (formMoves ? screen.height() - form.height() : screen.bottom() - form.bottom()) - kGap};
    case Side::Above:
      return {screen.width(), (formMoves ? screen.height() - form.height() : form.top() - screen.top()) - kGap};
  }
  return {};
}

// The picture's frame of the size given beside the form, level with the
// control that asked for it, and the form moved as little as it must for
// both to stand on the screen.
Placement Beside(Side side, const QRect& form, const QSize& size, const QRect& screen, const QPoint& asker) {
  const int x = std::clamp(asker.x() - size.width() / 2, screen.left(),
                           std::max(screen.left(), screen.right() + 1 - size.width()));
  const int y = std::clamp(asker.y() - size.height() / 2, screen.top(),
                           std::max(screen.top(), screen.bottom() + 1 - size.height()));
  QPoint move;
  switch (side) {
    case Side::Right: move.rx() = std::min(0, screen.right() + 1 - (form.right() + 1 + kGap + size.width())); break;
    case Side::Left: move.rx() = std::max(0, screen.left() - (form.left() - kGap - size.width())); break;
    case Side::Below: move.ry() = std::min(0, screen.bottom() + 1 - (form.bottom() + 1 + kGap + size.height())); break;
    case Side::Above: move.ry() = std::max(0, screen.top() - (form.top() - kGap - size.height())); break;
  }
  const QRect f = form.translated(move);
  QPoint at;
  switch (side) {
    case Side::Right: at = {f.right() + 1 + kGap, y}; break;
    case Side::Left: at = {f.left() - kGap - size.width(), y}; break;
    case Side::Below: at = {x, f.bottom() + 1 + kGap}; break;
    case Side::Above: at = {x, f.top() - kGap - size.height()}; break;
  }
  return {QRect(at, size), 0, f.topLeft()};
}

// Where the window's frame stands and how wide its picture is: beside the
// form where it stands (right, left, below, above) when the picture keeps
// its width there; else beside the form moved aside as little as it must;
// else, where even that gives no room, the place on the screen that covers
// no control of the form, or the least of them, and not the one that
// asked. The picture never shrinks below its width: a smaller one beside
// the form would show texts of two or three pixels, which nobody reads.
Placement PlaceBeside(const QRect& form, const QSize& chrome, int width, const QRect& screen, const QPoint& asker,
                      const std::vector<QRect>& controls) {
  auto frameSize = [&](int w) { return QSize(w, PictureHeight(w)) + chrome; };
  const int least = std::max(1, width);
  for (const bool formMoves : {false, true}) {
    int widest = 0;
    Side best = Side::Right;
    for (const Side side : kSides) {
      const int w = WidestIn(RoomBeside(side, form, screen, formMoves), chrome, width);
      if (w > widest) widest = w, best = side;
    }
    if (widest < least) continue;
    Placement place = Beside(best, form, frameSize(widest), screen, asker);
    place.pictureWidth = widest;
    return place;
  }
  const QSize size = frameSize(least);
  const int right = std::max(screen.left(), screen.right() + 1 - size.width());
  const int bottom = std::max(screen.top(), screen.bottom() + 1 - size.height());
  Placement best{QRect(QPoint(right, bottom), size), least, form.topLeft()};
  long long fewest = -1;
  for (const bool overAsker : {false, true})
    for (int y = bottom; y >= screen.top(); y -= 8)
      for (int x = right; x >= screen.left(); x -= 8) {
        const QRect r(QPoint(x, y), size);
        if (r.contains(asker) != overAsker) continue;
        const long long covered = Covered(r, controls);
        if (fewest < 0 || covered < fewest) fewest = covered, best.frame = r;
        if (covered == 0) return best;
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
  const QWidget* asker = form->focusWidget();
  const QPoint askerCentre = asker ? asker->mapToGlobal(asker->rect().center()) : form->frameGeometry().center();
  const Placement place = PlaceBeside(form->frameGeometry(), chrome, width, area, askerCentre, ControlsOf(form));
  if (place.pictureWidth != width) window->ShowPicture(GraphicsPicture(place.pictureWidth));
  // The form makes room where it must (a window's position is that of its
  // frame).
  if (place.formAt != form->frameGeometry().topLeft()) form->move(place.formAt);
  // Placed by its inside before it is shown: the window manager frames it
  // round that place, so the frame stands where it was planned.
  window->setGeometry(QRect(place.frame.topLeft() + QPoint(margins.left(), margins.top()), window->size()));
  window->show();
  window->raise();
  // Once the window manager has framed it: the whole frame on the screen,
  // should its frame be other than the form's.
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
