// Small pieces the application's dialogs share: a push button that is not
// an auto-default button (Enter belongs to the dialog's default button),
// named for tests and added to a layout, and the text conversion between the
// core's UTF-8 display texts and Qt.
#pragma once

#include <QString>
#include <string>

class QBoxLayout;
class QPushButton;
class QWidget;

namespace app::ui {

QPushButton* AddButton(QBoxLayout* layout, QWidget* parent, const char* name, const QString& caption);

inline QString Q(const std::string& text) { return QString::fromStdString(text); }
inline std::string S(const QString& text) { return text.toStdString(); }

}  // namespace app::ui
