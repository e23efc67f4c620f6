// Offscreen Qt tests: acting on a modal dialog once the code under test has
// opened it (the test's own code runs again only after the dialog closes).
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace testsupport {

// Runs action on the modal dialog as soon as it is shown.
inline void WhenShown(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      action(modal);
    }
  });
  timer->start(5);
}

}  // namespace testsupport
