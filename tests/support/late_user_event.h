// A key press or a click that reaches the window as the user's would: posted
// into the event queue from another thread at a set time, whatever the
// program's own thread is busy with then. Tests measure from that moment
// how soon the program answers.
#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <thread>

namespace testsupport {

class LateUserEvent {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Kind { Escape, Click };

  // Posts the event to widget after delay (counted from now).
  LateUserEvent(QWidget* widget, Kind kind, std::chrono::milliseconds delay)
      : event_(MakeEvent(widget, kind)), thread_([this, widget, delay] {
          std::this_thread::sleep_for(delay);
          postedAt_ = Clock::now();
          posted_ = true;
          QCoreApplication::postEvent(widget, event_);
        }) {}
  ~LateUserEvent() { thread_.join(); }

  bool Posted() const { return posted_; }
  // Milliseconds from the event to now.
  long long MillisecondsSince() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - postedAt_.load()).count();
  }

 private:
  static QEvent* MakeEvent(QWidget* widget, Kind kind) {
    if (kind == Kind::Escape) return new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    const QPointF at(widget->width() / 2.0, 5);
    return new QMouseEvent(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                           Qt::NoModifier);
  }

  QEvent* event_;
  std::atomic<bool> posted_{false};
  std::atomic<Clock::time_point> postedAt_{};
  std::thread thread_;
};

}  // namespace testsupport
