// Whether a window shows its texts whole, read from the window's own grab:
// every visible label, check box and radio button lies inside the window
// and inside what its parents show of it, has the room its text asks for,
// and the grab shows the ink it draws when it stands whole on its own (a
// text cut through the middle or at its end loses part of it). The grabs
// can be kept for a look: with VOB_GRAB_DIR set they are written there as
// PNG files. Clicks and keys reach a widget through its window-system
// window, as the user's do.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QRegion>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// A click on the middle of the widget, handed to its window's window-system
// window.
inline void ClickAsUser(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
  QWidget* top = widget->window();
  QTest::mouseClick(top->windowHandle(), button, {}, widget->mapTo(top, widget->rect().center()));
  QApplication::processEvents();
}

// Writes the window's grab to $VOB_GRAB_DIR/<name>.png when that is set.
inline void KeepGrab(QWidget* window, const std::string& name) {
  const QByteArray dir = qgetenv("VOB_GRAB_DIR");
  if (dir.isEmpty()) return;
  QDir().mkpath(QString::fromLocal8Bit(dir));
  window->grab().save(QString::fromLocal8Bit(dir) + "/" + QString::fromStdString(name) + ".png");
}

// The pixels of the rectangle that differ from its most frequent colour
// (the background): the ink drawn there.
inline int InkPixels(const QImage& image, const QRect& r) {
  std::map<QRgb, int> counts;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) ++counts[image.pixel(x, y)];
  int most = 0, all = 0;
  for (const auto& [colour, n] : counts) {
    most = std::max(most, n);
    all += n;
  }
  return all - most;
}

// The ink of the text widget drawn whole: a widget of its kind, text,
// state, font and palette at the size its text asks for.
inline int WholeInk(QWidget* w, qreal ratio) {
  std::unique_ptr<QWidget> twin;
  QSize size;
  if (auto* label = qobject_cast<QLabel*>(w)) {
    auto* copy = new QLabel(label->text());
    copy->setTextFormat(label->textFormat());
    copy->setWordWrap(label->wordWrap());
    copy->setAlignment(label->alignment());
    twin.reset(copy);
  } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
    auto* copy = new QRadioButton(radio->text());
    copy->setChecked(radio->isChecked());
    twin.reset(copy);
  } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
    auto* copy = new QCheckBox(box->text());
    copy->setCheckState(box->checkState());
    twin.reset(copy);
  }
  twin->setFont(w->font());
  twin->setPalette(w->palette());
  twin->setEnabled(w->isEnabled());
  twin->setAttribute(Qt::WA_DontShowOnScreen);
  size = twin->sizeHint();
  if (auto* label = qobject_cast<QLabel*>(twin.get()); label && label->wordWrap())
    size = QSize(w->width(), label->heightForWidth(w->width()));
  twin->resize(size);
  QImage image(size * ratio, QImage::Format_ARGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(w->palette().color(QPalette::Window));
  twin->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  return InkPixels(image, image.rect());
}

// The texts of the window that are not whole, each with its widget's name
// and why; empty when every text is whole.
inline std::vector<std::string> TextsNotWhole(QWidget* window) {
  QApplication::processEvents();
  const QImage grab = window->grab().toImage();
  const qreal ratio = grab.devicePixelRatio();
  std::vector<std::string> cut;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window)) continue;
    QString text;
    if (auto* label = qobject_cast<QLabel*>(w))
      text = label->text();
    else if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w))
      text = static_cast<QAbstractButton*>(w)->text();
    if (text.trimmed().isEmpty()) continue;
    const std::string what = w->objectName().toStdString() + " \"" + text.toStdString() + "\": ";
    const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
    if (!window->rect().contains(r)) {
      cut.push_back(what + "outside the window");
      continue;
    }
    if (w->visibleRegion() != QRegion(w->rect())) {
      cut.push_back(what + "partly hidden by its parents");
      continue;
    }
    QSize need = w->minimumSizeHint();
    if (auto* label = qobject_cast<QLabel*>(w); label && label->wordWrap())
      need.setHeight(label->heightForWidth(w->width()));
    else
      need.setHeight(w->sizeHint().height());
    if (w->width() < need.width() || w->height() < need.height()) {
      cut.push_back(what + "smaller than its text");
      continue;
    }
    // In the grab: the ink of the whole text, or nearly (a rounding of
    // the text's position may tip a few edge pixels of its glyphs).
    const QRect px(static_cast<int>(r.x() * ratio), static_cast<int>(r.y() * ratio),
                   static_cast<int>(r.width() * ratio), static_cast<int>(r.height() * ratio));
    const int shown = InkPixels(grab, px), whole = WholeInk(w, ratio);
    if (shown < whole * 9 / 10)
      cut.push_back(what + "the grab shows " + std::to_string(shown) + " of its " + std::to_string(whole) +
                    " pixels of ink");
  }
  return cut;
}

}  // namespace testsupport
