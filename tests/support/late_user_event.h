// A key press or a click that reaches the window as the user's would: queued
// from another thread at a set time, whatever the program's own thread is
// busy with then, and handed to the widget's window-system window (QTest on
// the QWindow), which passes it on to the widget as Qt does with the window
// system's events. Tests measure from that moment how soon the program
// answers.
#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <thread>

namespace testsupport {

class LateUserEvent {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Kind { Escape, Click };

  // Sends the event to the widget's window after delay (counted from now);
  // a click falls on the widget, 5 pixels below its top edge, half-way across.
  LateUserEvent(QWidget* widget, Kind kind, std::chrono::milliseconds delay)
      : thread_([this, widget, kind, delay] {
          std::this_thread::sleep_for(delay);
          postedAt_ = Clock::now();
          posted_ = true;
          QMetaObject::invokeMethod(
              widget, [widget, kind] { Deliver(widget, kind); }, Qt::QueuedConnection);
        }) {}
  ~LateUserEvent() { thread_.join(); }

  bool Posted() const { return posted_; }
  // Milliseconds from the event to now.
  long long MillisecondsSince() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - postedAt_.load()).count();
  }

  // The event through the widget's window, at once.
  static void Deliver(QWidget* widget, Kind kind) {
    QWindow* window = widget->window()->windowHandle();
    if (!window) return;
    if (kind == Kind::Escape) {
      QTest::keyClick(window, Qt::Key_Escape);
      return;
    }
    const QPoint at = widget->mapTo(widget->window(), QPoint(widget->width() / 2, 5));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
  }

 private:
  std::atomic<bool> posted_{false};
  std::atomic<Clock::time_point> postedAt_{};
  std::thread thread_;
};

}  // namespace testsupport
