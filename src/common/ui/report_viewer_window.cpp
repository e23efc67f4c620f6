// The report viewer window; see report_viewer_window.h.
#include "common/ui/report_viewer_window.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "common/file_checks.h"
#include "common/file_dialogs.h"
#include "common/graphics_settings.h"
#include "common/kaldvar.h"
#include "common/menu_captions.h"
#include "common/ui/report_printing.h"
#include "platform/file_system.h"
#include "platform/user_dialogs.h"

namespace common::ui {

namespace {

QString Caption(int index) { return QString::fromStdString(MenuCaptions[index]); }

}  // namespace

ReportViewerWindow::ReportViewerWindow(const platform::ReportDocument& report, QWidget* parent)
    : QDialog(parent), report_(report) {
  setObjectName("TForm_showtextfile");
  setWindowTitle(QString::fromStdString(report.caption));
  setSizeGripEnabled(true);

  auto* layout = new QVBoxLayout(this);
  auto* menu = new QMenuBar(this);
  layout->setMenuBar(menu);

  text_ = new QPlainTextEdit(this);
  text_->setObjectName("Memo1");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(PrintoutFont());
  QString body;
  for (const auto& line : report.lines) {
    QString shown = QString::fromStdString(line);
    if (shown.startsWith('\f')) shown.remove(0, 1);  // page breaks are for the printer
    body += shown + '\n';
  }
  if (!body.isEmpty()) body.chop(1);
  text_->setPlainText(body);
  layout->addWidget(text_);

  auto* findRow = new QHBoxLayout;
  findRow->addWidget(new QLabel("Find:", this));
  findEdit_ = new QLineEdit(this);
  findEdit_->setObjectName("Edit_find");
  findRow->addWidget(findEdit_, 1);
  auto* previous = new QPushButton("&Previous", this);
  auto* next = new QPushButton("&Next", this);
  findRow->addWidget(previous);
  findRow->addWidget(next);
  findStatus_ = new QLabel(this);
  findRow->addWidget(findStatus_);
  auto* print = new QPushButton(Caption(CapPrint), this);
  print->setObjectName("Button_print");
  findRow->addWidget(print);
  layout->addLayout(findRow);

  QMenu* file = menu->addMenu(Caption(CapFile));
  file->setObjectName("mi_Datei");
  QAction* printAction = file->addAction(Caption(CapPrint), this, &ReportViewerWindow::Print);
  printAction->setObjectName("mi_DateiDrucken");
  printAction->setShortcut(QKeySequence::Print);
  QAction* saveAction = file->addAction(Caption(CapSaveAs), this, [this] { SaveAs(); });
  saveAction->setShortcut(QKeySequence::SaveAs);
  file->addSeparator();
  QAction* exitAction = file->addAction(Caption(CapExit), this, &QDialog::accept);
  exitAction->setObjectName("mi_dateiBeenden");

  QMenu* edit = menu->addMenu(Caption(CapEdit));
  edit->setObjectName("mi_Edit");
  QAction* all = edit->addAction(Caption(CapSelectAll), text_, &QPlainTextEdit::selectAll);
  all->setObjectName("mi_EditMarkAll");
  all->setShortcut(QKeySequence::SelectAll);
  QAction* copy = edit->addAction(Caption(CapCopy), text_, &QPlainTextEdit::copy);
  copy->setObjectName("mi_EditCopy");
  copy->setShortcut(QKeySequence::Copy);
  edit->addSeparator();
  QAction* find = edit->addAction("&Find...", this, [this] {
    findEdit_->setFocus();
    findEdit_->selectAll();
  });
  find->setShortcut(QKeySequence::Find);
  QAction* findNext = edit->addAction("Find &next", this, [this] { FindText(findEdit_->text()); });
  findNext->setShortcut(QKeySequence::FindNext);

  connect(findEdit_, &QLineEdit::returnPressed, this, [this] { FindText(findEdit_->text()); });
  connect(next, &QPushButton::clicked, this, [this] { FindText(findEdit_->text()); });
  connect(previous, &QPushButton::clicked, this, [this] { FindText(findEdit_->text(), true); });
  connect(print, &QPushButton::clicked, this, &ReportViewerWindow::Print);

  const auto& rect = PrinterGraphicsSettings.TextWindow;
  if (rect.Width > 0 && rect.Height > 0)
    setGeometry(rect.Left, rect.Top, rect.Width, rect.Height);
  else
    resize(700, 440);
}

bool ReportViewerWindow::FindText(const QString& text, bool backward) {
  if (text.isEmpty()) return false;
  const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  bool found = text_->find(text, flags);
  if (!found) {
    // Wrap around: start again at the other end.
    QTextCursor cursor = text_->textCursor();
    cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    text_->setTextCursor(cursor);
    found = text_->find(text, flags);
  }
  findStatus_->setText(found ? QString() : QString("\"%1\" not found").arg(text));
  return found;
}

bool ReportViewerWindow::SaveAs() {
  platform::FileNameRequest request;
  request.caption = "Save As";
  request.fileName = "outwin.txt";
  request.filter = "Text|*.txt|All files|*";
  // An existing file is asked about first. The window's own save leaves
  // the flag of the printout that opened it as it was.
  const std::uint8_t aborted = AbortFlag;
  const auto name = AskOutputFile(request);
  AbortFlag = aborted;
  if (!name) return false;
  std::string bytes;
  for (const auto& line : report_.lines) bytes += line + "\r\n";
  platform::ReplacingFile out;
  std::error_code ec;
  if (!out.Open(*name, ec) || !out.Write(bytes, ec) || !out.Commit(ec)) {
    out.Discard();
    ShowFileFailure("file write error", *name, ec);
    return false;
  }
  return true;
}

void ReportViewerWindow::Print() {
  platform::Viewer().PrintReport(report_, platform::ReportPrinter::PagePrinter);
}

void ReportViewerWindow::done(int result) {
  // The window's place and size are kept for the next report.
  auto& rect = PrinterGraphicsSettings.TextWindow;
  const QRect g = geometry();
  rect = {g.left(), g.top(), g.width(), g.height()};
  QDialog::done(result);
}

}  // namespace common::ui
