// The Qt message windows of long core operations: a small yellow,
// always-on-top window with a bevelled frame and a bordered text panel,
// centred on the active window (or the screen). It grows to fit a longer
// text and is centred again; a shorter text leaves its size. Texts are shown
// at once, pending window events are processed so that the window keeps up
// with the caller's work.
#pragma once

#include <memory>

#include "platform/message_windows.h"

class QWidget;

namespace platform::qt {

class QtMessageWindows : public MessageWindowFactory {
 public:
  std::unique_ptr<MessageWindow> Create() override;
};

// Installs the Qt message windows (the windowing start-up calls it).
void InstallQtMessageWindows();

// The window's widget, for tests (nullptr for other implementations).
QWidget* MessageWindowWidget(MessageWindow& window);

}  // namespace platform::qt
