// The explanation form of a calculation message; see message_help_form.h.
#include "common/ui/message_help_form.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace common::ui {

MessageHelpForm::MessageHelpForm(const MessageHelpTexts& shown, QWidget* parent) : QDialog(parent), shown_(shown) {
  setObjectName("Thelperr");
  setWindowTitle(QString::fromStdString(shown.caption));
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QString::fromStdString(shown.messageLabel), this), 0, 0);
  message_ = new QLineEdit(QString::fromStdString(shown.message), this);
  message_->setObjectName("Edit_meldung");
  // The message is the key of its record: it is shown, not edited.
  message_->setReadOnly(true);
  grid->addWidget(message_, 1, 0);
  grid->addWidget(new QLabel(QString::fromStdString(shown.originLabel), this), 2, 0);
  origin_ = new QPlainTextEdit(QString::fromStdString(shown.origin), this);
  origin_->setObjectName("Memo_ursache");
  grid->addWidget(origin_, 3, 0);
  grid->addWidget(new QLabel(QString::fromStdString(shown.remedyLabel), this), 4, 0);
  remedy_ = new QPlainTextEdit(QString::fromStdString(shown.remedy), this);
  remedy_->setObjectName("Memo_abhilfe");
  grid->addWidget(remedy_, 5, 0);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ok->setObjectName("Button_ok");
  ok->setDefault(true);
  QPushButton* help = buttons->addButton("&Help", QDialogButtonBox::HelpRole);
  help->setObjectName("Button_help");
  grid->addWidget(buttons, 6, 0);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(help, &QPushButton::clicked, this, [this] {
    if (shown_.help) shown_.help(platform::HelpView::Text);
  });
  connect(origin_, &QPlainTextEdit::textChanged, this, [this] { changed_ = true; });
  connect(remedy_, &QPlainTextEdit::textChanged, this, [this] { changed_ = true; });
  resize(520, 360);
}

void MessageHelpForm::showEvent(QShowEvent* event) {
  changed_ = false;
  QDialog::showEvent(event);
}

MessageHelpTexts MessageHelpForm::Result() const {
  MessageHelpTexts left = shown_;
  left.origin = origin_->toPlainText().toStdString();
  left.remedy = remedy_->toPlainText().toStdString();
  left.changed = changed_;
  return left;
}

MessageHelpTexts RunMessageHelpForm(const MessageHelpTexts& shown) {
  MessageHelpForm form(shown);
  form.exec();  // closing by the frame is OK as well: the question decides
  return form.Result();
}

}  // namespace common::ui
