// The picture window over a form; see picture_window.h.
#include "common/ui/picture_window.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "common/graphics_facade.h"
#include "common/graphics_settings.h"
#include "common/graphics_window.h"
#include "common/ui/painter_canvas.h"

namespace common::ui {

namespace {

// Where the window stands: beside the form (right, left, below, above)
// where the screen has room for it; else in the corner of the screen
// farthest from the control that asked for the picture, so that the
// picture hides neither it nor the other picture buttons next to it.
QPoint PlaceBeside(const QRect& form, const QSize& size, const QRect& screen, const QPoint& asker) {
  const int gap = 8;
  const QPoint places[] = {
      {form.right() + gap, form.top()},
      {form.left() - gap - size.width(), form.top()},
      {form.left(), form.bottom() + gap},
      {form.left(), form.top() - gap - size.height()},
  };
  for (const QPoint& p : places)
    if (screen.contains(QRect(p, size))) return p;
  const int right = std::max(screen.left(), screen.right() + 1 - size.width());
  const int bottom = std::max(screen.top(), screen.bottom() + 1 - size.height());
  const QPoint corners[] = {{screen.left(), screen.top()}, {right, screen.top()}, {screen.left(), bottom},
                            {right, bottom}};
  QPoint best = corners[0];
  long long farthest = -1;
  for (const QPoint& c : corners) {
    const QPoint d = QRect(c, size).center() - asker;
    const long long distance = static_cast<long long>(d.x()) * d.x() + static_cast<long long>(d.y()) * d.y();
    if (distance > farthest) {
      farthest = distance;
      best = c;
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
  adjustSize();
}

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

void ShowPictureOverModalForm() {
  QWidget* form = QApplication::activeModalWidget();
  if (!form) return;
  const QScreen* screen = form->screen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  // About two fifths of the screen's width: the picture's texts stay legible.
  const QImage picture = GraphicsPicture(std::clamp(area.width() * 2 / 5, 320, 640));
  auto* window = form->findChild<TForm_picture*>("Form_picture", Qt::FindDirectChildrenOnly);
  if (!window) window = new TForm_picture(form);
  window->setWindowTitle(form->windowTitle());
  window->ShowPicture(picture);
  // Placed once shown, when its size on the screen is known.
  window->show();
  const QWidget* asker = form->focusWidget();
  const QPoint askerCentre = asker ? asker->mapToGlobal(asker->rect().center()) : form->frameGeometry().center();
  window->move(PlaceBeside(form->frameGeometry(), window->frameGeometry().size(), area, askerCentre));
  window->raise();
}

}  // namespace common::ui
