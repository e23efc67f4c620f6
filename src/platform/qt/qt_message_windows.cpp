// Qt message windows.
#include "platform/qt/qt_message_windows.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>

namespace platform::qt {

namespace {

// Added to the measured text size on each side together.
constexpr int kMargin = 30;

class QtMessageWindow : public MessageWindow {
 public:
  QtMessageWindow() : centreOn_(QApplication::activeWindow()) {
    window_ = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window_->setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette palette = window_->palette();
    palette.setColor(QPalette::Window, Qt::yellow);
    window_->setPalette(palette);
    window_->setAutoFillBackground(true);
    window_->resize(0, 0);
    outer_ = new QFrame(window_.get());
    outer_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    outer_->setLineWidth(2);
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(outer_);
    auto* inner = new QVBoxLayout(outer_);
    inner->setContentsMargins(2, 2, 2, 2);
    label_ = new QLabel(outer_);
    label_->setFrameStyle(QFrame::Box | QFrame::Plain);
    label_->setLineWidth(1);
    label_->setAlignment(Qt::AlignCenter);
    inner->addWidget(label_);
  }

  void ShowText(const std::string& caption, const std::string& text) override {
    const QString shown = QString::fromUtf8(text.c_str());
    const QFontMetrics metrics(window_->font());
    const QRect bounds = metrics.boundingRect(QRect(0, 0, 10000, 10000), Qt::AlignLeft, shown);
    int width = bounds.width() + kMargin;
    int height = bounds.height() + kMargin;
    const bool framed = !caption.empty();
    if (framed) {
      window_->setWindowTitle(QString::fromUtf8(caption.c_str()));
      width = std::max(width, QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(
                                  window_->windowTitle()) + kMargin);
    }
    const bool styleChanged = framed != framed_ || !shownOnce_;
    if (styleChanged) {
      Qt::WindowFlags flags = Qt::Tool | Qt::WindowStaysOnTopHint;
      if (!framed) flags |= Qt::FramelessWindowHint;
      window_->setWindowFlags(flags);
      outer_->setFrameStyle(framed ? QFrame::NoFrame : (QFrame::Panel | QFrame::Raised));
      framed_ = framed;
    }
    if (styleChanged || width > window_->width() || height > window_->height()) {
      window_->resize(std::max(width, window_->width()), std::max(height, window_->height()));
      Centre();
      window_->show();
      shownOnce_ = true;
    }
    label_->setText(shown);
    label_->repaint();
    QApplication::processEvents();
  }

  QWidget* Widget() const { return window_.get(); }

 private:
  void Centre() {
    QRect area;
    if (centreOn_ != nullptr) {
      area = centreOn_->frameGeometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
      area = screen->availableGeometry();
    }
    if (area.isValid()) window_->move(area.center() - QPoint(window_->width() / 2, window_->height() / 2));
  }

  QWidget* centreOn_;
  std::unique_ptr<QWidget> window_;
  QFrame* outer_ = nullptr;
  QLabel* label_ = nullptr;
  bool framed_ = false;
  bool shownOnce_ = false;
};

QtMessageWindows& Instance() {
  static QtMessageWindows windows;
  return windows;
}

}  // namespace

std::unique_ptr<MessageWindow> QtMessageWindows::Create() { return std::make_unique<QtMessageWindow>(); }

void InstallQtMessageWindows() { SetMessageWindows(&Instance()); }

QWidget* MessageWindowWidget(MessageWindow& window) {
  auto* qt = dynamic_cast<QtMessageWindow*>(&window);
  return qt != nullptr ? qt->Widget() : nullptr;
}

}  // namespace platform::qt
