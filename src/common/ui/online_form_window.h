// The window of the generic input/output form (TForm_online), built from the
// row tables of common/online_form.h: group boxes " Input " (label, edit,
// unit per row), " Output " (label, value, unit) and "Error Messages" (the
// held calculation messages; outputs and messages are left out while "Small
// Online Window ?" is on), and the buttons "OK", "&Help", "Aux. &Image",
// "Aux. Image&s", "&Close" and "mm <-> inch". Enter, Escape and the up and
// down arrows in an edit close it as well; the rules of what each exit means
// are in common/online_form.cpp. The controls carry the names "ed_" n,
// "lb_" n, "lbeu_" n, "lbaz_" n, "lbaw_" n, "lbau_" n, "lber_" n and their
// creation number as the property "tag"; the labels' hints are the help
// texts of their rows.
#pragma once

#include <QDialog>
#include <QList>
#include <QPushButton>

#include "common/online_form.h"

class QLineEdit;

namespace common::ui {

class OnlineFormWindow : public QDialog {
  Q_OBJECT

 public:
  OnlineFormWindow(int row, int helpBase, QWidget* parent = nullptr);

  OnlineFormResult Result() const { return result_; }
  QLineEdit* Edit(int row) const { return edits_.value(row - 1); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void reject() override;  // the frame's close and Escape outside an edit: "&Close"

 private:
  void Finish(OnlineExit exit);
  // The row picture button, offered while the focused row has a picture.
  void ShowRowPictureButton();

  int row_;
  int helpBase_;
  QList<QLineEdit*> edits_;
  QPushButton* rowPicture_ = nullptr;
  OnlineFormResult result_;
};

// The view for SetOnlineFormView.
OnlineFormResult RunOnlineFormWindow(int row, int helpBase);

}  // namespace common::ui
