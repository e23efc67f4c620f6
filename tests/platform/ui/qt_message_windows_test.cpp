// The Qt message window: grows and is centred again for a longer text, keeps
// its size for a shorter one, and goes with its owner.
#include "platform/qt/qt_message_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "qt_message_windows_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

TEST(QtMessageWindows, GrowsForLongerTextsOnly) {
  App();
  platform::qt::QtMessageWindows factory;
  std::unique_ptr<platform::MessageWindow> window = factory.Create();
  QWidget* widget = platform::qt::MessageWindowWidget(*window);
  ASSERT_NE(widget, nullptr);
  EXPECT_FALSE(widget->isVisible());
  window->ShowText("", "Short");
  EXPECT_TRUE(widget->isVisible());
  EXPECT_TRUE(widget->windowFlags() & Qt::WindowStaysOnTopHint);
  const QSize first = widget->size();
  EXPECT_GT(first.width(), 30);
  window->ShowText("", "A much longer text than the first one, with Änderungen");
  const QSize second = widget->size();
  EXPECT_GT(second.width(), first.width());
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE(std::abs(widget->geometry().center().x() - screen.center().x()), 2);
  const QPoint placed = widget->pos();
  window->ShowText("", "Tiny");
  EXPECT_EQ(widget->size(), second);
  EXPECT_EQ(widget->pos(), placed);
  const auto labels = widget->findChildren<QLabel*>();
  ASSERT_EQ(labels.size(), 1);
  EXPECT_EQ(labels.front()->text(), "Tiny");
  // A caption gives the window a title bar.
  window->ShowText("Appending...", "||||");
  EXPECT_EQ(widget->windowTitle(), "Appending...");
  EXPECT_FALSE(widget->windowFlags() & Qt::FramelessWindowHint);
  window.reset();
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
              !QApplication::topLevelWidgets().contains(widget));
}

TEST(QtMessageWindows, InstalledForTheCore) {
  App();
  platform::qt::InstallQtMessageWindows();
  std::unique_ptr<platform::MessageWindow> window = platform::MessageWindows().Create();
  EXPECT_NE(platform::qt::MessageWindowWidget(*window), nullptr);
  platform::SetMessageWindows(nullptr);
  std::unique_ptr<platform::MessageWindow> silent = platform::MessageWindows().Create();
  EXPECT_EQ(platform::qt::MessageWindowWidget(*silent), nullptr);
}

}  // namespace
