// The Qt user dialogs; see qt_user_dialogs.h.
#include "platform/qt/qt_user_dialogs.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/qt/qt_clipboard.h"
#include "platform/screen.h"
#include "platform/scripted_dialogs.h"
#include "platform/system.h"

namespace platform::qt {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QWidget* Parent() { return QApplication::activeWindow(); }

// The buttons of the small dialogs: OK and Cancel, and the help buttons
// when there is a help action (they leave the dialog open): the text, and
// the picture where the entry has one.
QDialogButtonBox* AddButtons(QDialog* dialog, QVBoxLayout* layout, const HelpAction& help, bool image) {
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  box->button(QDialogButtonBox::Ok)->setText("OK");
  box->button(QDialogButtonBox::Cancel)->setText("Cancel");
  if (help) {
    auto* text = box->addButton("&Help Text", QDialogButtonBox::HelpRole);
    QObject::connect(text, &QPushButton::clicked, dialog, [help] { help(HelpView::Text); });
    if (image) {
      auto* picture = box->addButton("Aux. &Image", QDialogButtonBox::HelpRole);
      QObject::connect(picture, &QPushButton::clicked, dialog, [help] { help(HelpView::Image); });
    }
  }
  QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(box);
  return box;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Plain: return QMessageBox::NoIcon;
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

std::string QtFileFilter(const std::string& filter) {
  if (filter.empty()) return "*";
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::string result;
  for (std::size_t i = 0; i < parts.size(); i += 2) {
    const std::string& description = parts[i];
    std::string patterns = i + 1 < parts.size() ? parts[i + 1] : parts[i];
    for (char& c : patterns)
      if (c == ';') c = ' ';
    if (!result.empty()) result += ";;";
    result += description == patterns ? patterns : description + " (" + patterns + ")";
  }
  return result;
}

DialogButton QtUserDialogs::ShowMessage(const MessageRequest& request) {
  QMessageBox box(IconOf(request.kind), Q(request.caption), Q(request.text), ButtonsOf(request.buttons), Parent());
  const DialogButton cancelling = CancellingButton(request.buttons);
  switch (cancelling) {
    case DialogButton::No: box.setEscapeButton(QMessageBox::No); break;
    case DialogButton::Cancel: box.setEscapeButton(QMessageBox::Cancel); break;
    default: box.setEscapeButton(QMessageBox::Ok); break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return DialogButton::Ok;
    case QMessageBox::Yes: return DialogButton::Yes;
    case QMessageBox::No: return DialogButton::No;
    case QMessageBox::Retry: return DialogButton::Retry;
    case QMessageBox::Cancel: return DialogButton::Cancel;
    default: return cancelling;
  }
}

QDialog* CreateChoiceDialog(const ChoiceRequest& request, QWidget* parent) {
  auto* dialog = new QDialog(parent);
  dialog->setWindowTitle(Q(request.caption));
  auto* layout = new QVBoxLayout(dialog);
  auto* label = new QLabel(Q(request.prompt), dialog);
  label->setWordWrap(true);
  layout->addWidget(label);
  const int count = static_cast<int>(request.items.size());
  const int preselected = request.preselected >= 0 && request.preselected < count ? request.preselected : 0;
  if (request.style == ChoiceStyle::List) {
    auto* list = new QListWidget(dialog);
    list->setObjectName("ListBox_items");
    for (const auto& item : request.items) list->addItem(Q(item));
    if (count > 0) list->setCurrentRow(preselected);
    // A double click chooses as OK does.
    QObject::connect(list, &QListWidget::itemDoubleClicked, dialog, &QDialog::accept);
    layout->addWidget(list);
    // As wide as its longest line (a finding with its angle and overlap),
    // within the screen: no line needs the scroll bar.
    int longest = 0;
    for (const auto& item : request.items) longest = std::max(longest, list->fontMetrics().horizontalAdvance(Q(item)));
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() - 60 : 1000;
    const int wanted = longest + 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width() + 16;
    list->setMinimumWidth(std::min(std::max(wanted, list->sizeHint().width()), room));
  } else {
    auto* group = new QGroupBox(Q(request.groupCaption), dialog);
    group->setObjectName("RadioGroup_items");
    auto* groupLayout = new QVBoxLayout(group);
    auto* buttons = new QButtonGroup(group);
    buttons->setObjectName("RadioButtons");
    for (int i = 0; i < count; ++i) {
      auto* radio = new QRadioButton(Q(request.items[static_cast<std::size_t>(i)]), group);
      buttons->addButton(radio, i);
      groupLayout->addWidget(radio);
      if (i == preselected) radio->setChecked(true);
    }
    layout->addWidget(group);
  }
  AddButtons(dialog, layout, request.help, request.helpImage);
  return dialog;
}

int ChoiceDialogSelection(QDialog* dialog) {
  if (auto* list = dialog->findChild<QListWidget*>("ListBox_items")) return list->currentRow();
  if (auto* buttons = dialog->findChild<QButtonGroup*>("RadioButtons")) return buttons->checkedId();
  return -1;
}

std::optional<int> QtUserDialogs::ChooseItem(const ChoiceRequest& request) {
  std::unique_ptr<QDialog> dialog(CreateChoiceDialog(request, Parent()));
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  const int chosen = ChoiceDialogSelection(dialog.get());
  if (chosen < 0 || chosen >= static_cast<int>(request.items.size())) return std::nullopt;
  return chosen;
}

QDialog* CreateTextInputDialog(const TextInputRequest& request, QWidget* parent) {
  auto* dialog = new QDialog(parent);
  dialog->setWindowTitle(Q(request.caption));
  dialog->setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(dialog);
  auto* label = new QLabel(Q(request.prompt), dialog);
  label->setWordWrap(true);
  layout->addWidget(label);
  auto* edit = new QLineEdit(dialog);
  edit->setObjectName("Edit_text");
  if (request.maxLength > 0) edit->setMaxLength(request.maxLength);
  edit->setText(Q(request.initial));
  edit->selectAll();
  layout->addWidget(edit);
  AddButtons(dialog, layout, request.help, request.helpImage);
  edit->setFocus();
  return dialog;
}

std::string TextInputDialogText(QDialog* dialog) {
  auto* edit = dialog->findChild<QLineEdit*>("Edit_text");
  return edit ? edit->text().toStdString() : std::string();
}

std::optional<std::string> QtUserDialogs::InputText(const TextInputRequest& request) {
  std::unique_ptr<QDialog> dialog(CreateTextInputDialog(request, Parent()));
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  return TextInputDialogText(dialog.get());
}

std::optional<std::string> QtUserDialogs::OpenFileName(const FileNameRequest& request) {
  QString name;
  if (request.extension.empty()) {
    name = QFileDialog::getOpenFileName(Parent(), Q(request.caption), Q(request.directory),
                                        Q(QtFileFilter(request.filter)));
  } else {
    // The program reads a file that is there as chosen, completes a name
    // that is not with the format's extension, and says itself when that
    // is not there either: the dialog takes the name as typed ("pump.v1"
    // for "pump.v1.vb4") instead of refusing it.
    QFileDialog dialog(Parent(), Q(request.caption), Q(request.directory), Q(QtFileFilter(request.filter)));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) name = dialog.selectedFiles().front();
  }
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

std::optional<std::string> QtUserDialogs::SaveFileName(const FileNameRequest& request) {
  // A preset that is a path (the file of a design read as chosen) is the
  // start itself.
  QString start = Q(request.directory);
  if (!request.fileName.empty()) start = start.isEmpty() ? Q(request.fileName) : QDir(start).filePath(Q(request.fileName));
  // The overwrite question is the program's own (CheckOutputFileName).
  const QString name = QFileDialog::getSaveFileName(Parent(), Q(request.caption), start,
                                                    Q(QtFileFilter(request.filter)), nullptr,
                                                    QFileDialog::DontConfirmOverwrite);
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

std::optional<std::uint32_t> QtUserDialogs::ChooseColour(const std::string& caption, std::uint32_t initial) {
  const QColor start(static_cast<int>(initial & 0xFF), static_cast<int>((initial >> 8) & 0xFF),
                     static_cast<int>((initial >> 16) & 0xFF));
  const QColor chosen = QColorDialog::getColor(start, Parent(), Q(caption));
  if (!chosen.isValid()) return std::nullopt;
  return static_cast<std::uint32_t>(chosen.red()) | (static_cast<std::uint32_t>(chosen.green()) << 8) |
         (static_cast<std::uint32_t>(chosen.blue()) << 16);
}

std::optional<FontChoice> QtUserDialogs::ChooseFont(const std::string& caption, const FontChoice& initial) {
  QFont start(Q(initial.face), initial.size > 0 ? initial.size : 10);
  start.setBold(initial.bold);
  start.setItalic(initial.italic);
  start.setUnderline(initial.underline);
  start.setStrikeOut(initial.strikeout);
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, start, Parent(), Q(caption));
  if (!ok) return std::nullopt;
  FontChoice result;
  result.face = font.family().toStdString();
  result.size = font.pointSize() > 0 ? font.pointSize() : initial.size;
  result.bold = font.bold();
  result.italic = font.italic();
  result.underline = font.underline();
  result.strikeout = font.strikeOut();
  return result;
}

void QtUserDialogs::ShowTextPage(const std::string& caption, const std::vector<std::string>& lines) {
  QDialog dialog(Parent());
  dialog.setWindowTitle(Q(caption));
  auto* layout = new QVBoxLayout(&dialog);
  auto* memo = new QPlainTextEdit(&dialog);
  memo->setReadOnly(true);
  memo->setFont(QFont("Monospace"));
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  QStringList text;
  for (const auto& line : lines) text << Q(line);
  memo->setPlainText(text.join('\n'));
  const QFontMetrics metrics(memo->font());
  memo->setMinimumSize(metrics.horizontalAdvance(QString(70, 'M')), metrics.lineSpacing() * 24);
  layout->addWidget(memo);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  layout->addWidget(box);
  dialog.exec();
}

void QtUserDialogs::Beep() { QApplication::beep(); }

void QtUserDialogs::SetBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void InstallQtPlatform() {
  static QtUserDialogs dialogs;
  SetDialogs(&dialogs);
  SetScreenSizeQuery([] {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return ScreenSize{};
    const QSize size = screen->size();
    return ScreenSize{size.width(), size.height()};
  });
  SetScreenDpiQuery([] {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchX())) : 0;
  });
  InstallQtClipboard();
}

}  // namespace platform::qt
