// The desktop's clipboard; see qt_clipboard.h.
#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform::qt {

// Lines on this desktop's clipboard often end in LF alone; the point grids
// take lines ended by CR (LF), so a bare LF is read as CR LF.
std::string QtClipboard::Text() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return std::string();
  const std::string text = clipboard->text().toStdString();
  std::string lines;
  lines.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
    lines += text[i];
  }
  return lines;
}

void QtClipboard::SetText(const std::string& text) {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(QString::fromStdString(text));
}

void InstallQtClipboard() {
  static QtClipboard clipboard;
  SetClipboard(&clipboard);
}

}  // namespace platform::qt
