// The explanation form of a calculation message (Thelperr): the message, and
// its origin and remedy in two editable memos; OK closes it, "&Help" shows
// the form's help entry. The sequence around it (the "Save Changes ?"
// question and the rewrite) is in common/message_help.cpp.
#pragma once

#include <QDialog>

#include "common/message_help.h"

class QLineEdit;
class QPlainTextEdit;

namespace common::ui {

class MessageHelpForm : public QDialog {
  Q_OBJECT

 public:
  explicit MessageHelpForm(const MessageHelpTexts& shown, QWidget* parent = nullptr);

  // The texts as the user left them, with the changed flag.
  MessageHelpTexts Result() const;

  QPlainTextEdit* OriginMemo() const { return origin_; }
  QPlainTextEdit* RemedyMemo() const { return remedy_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  MessageHelpTexts shown_;
  QLineEdit* message_ = nullptr;
  QPlainTextEdit* origin_ = nullptr;
  QPlainTextEdit* remedy_ = nullptr;
  bool changed_ = false;
};

// The view for SetMessageHelpView: the form, shown modally.
MessageHelpTexts RunMessageHelpForm(const MessageHelpTexts& shown);

}  // namespace common::ui
