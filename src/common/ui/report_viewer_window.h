// The report viewer window: the finished report in a read-only fixed-pitch
// text view with a menu (File: print, save, exit; Edit: select all, copy,
// find, find next) and a find bar. Its menu captions follow the interface
// language (menu_captions.h); its size and place are kept in the text-window
// settings between showings. Shown by QtReportViewer (qt_report_viewer.h).
#pragma once

#include <QDialog>

#include "platform/report_viewer.h"

class QLineEdit;
class QPlainTextEdit;
class QLabel;

namespace common::ui {

class ReportViewerWindow : public QDialog {
  Q_OBJECT

 public:
  explicit ReportViewerWindow(const platform::ReportDocument& report, QWidget* parent = nullptr);

  // Finds the text from the cursor on (backward: before it), wrapping
  // around at the end; selects and shows it. false when the report does not
  // hold it.
  bool FindText(const QString& text, bool backward = false);
  // Saves the report as a UTF-8 text file whose name the user gives; false
  // when cancelled or not written.
  bool SaveAs();
  // Prints on the page printer.
  void Print();

  QPlainTextEdit* TextView() const { return text_; }
  QLineEdit* FindEdit() const { return findEdit_; }

 protected:
  void done(int result) override;

 private:
  platform::ReportDocument report_;
  QPlainTextEdit* text_ = nullptr;
  QLineEdit* findEdit_ = nullptr;
  QLabel* findStatus_ = nullptr;
};

}  // namespace common::ui
