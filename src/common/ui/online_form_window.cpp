// The window of the generic input/output form; see online_form_window.h.
#include "common/ui/online_form_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "common/code_page.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace common::ui {

namespace {

QString Display(const std::string& text) { return QString::fromStdString(OemToDisplayText(text)); }

// The hint a label shows: which help text, by its kind and row.
enum class HintKind { Input, Output, Error };

}  // namespace

OnlineFormWindow::OnlineFormWindow(int row, int helpBase, QWidget* parent)
    : QDialog(parent), row_(row), helpBase_(helpBase) {
  setObjectName("TForm_online");
  setWindowTitle(Display(OnlineTitle));
  result_.edits = OnlineInputValues;
  result_.row = row;
  int tag = 8;
  auto tagged = [&tag](QWidget* w, const QString& name, int n) {
    w->setObjectName(name + QString::number(n));
    w->setProperty("tag", ++tag);
  };
  auto hinted = [this](QLabel* label, HintKind kind, int n) {
    label->setProperty("hintKind", static_cast<int>(kind));
    label->setProperty("hintRow", n);
    label->installEventFilter(this);
  };

  auto* layout = new QVBoxLayout(this);
  auto* inputBox = new QGroupBox(" Input ", this);
  auto* inputs = new QGridLayout(inputBox);
  const int count = OnlineInputCount;
  for (int n = 1; n <= count; ++n) {
    auto* edit = new QLineEdit(Display(OnlineInputValues[n]), inputBox);
    tagged(edit, "ed_", n);
    edit->installEventFilter(this);
    edits_.append(edit);
    inputs->addWidget(edit, n, 1);
  }
  for (int n = 1; n <= count; ++n) {
    auto* label = new QLabel(Display(OnlineInputLabels[n]), inputBox);
    tagged(label, "lb_", n);
    hinted(label, HintKind::Input, n);
    inputs->addWidget(label, n, 0);
  }
  for (int n = 1; n <= count; ++n) {
    auto* unit = new QLabel(Display(OnlineInputUnits[n]), inputBox);
    tagged(unit, "lbeu_", n);
    hinted(unit, HintKind::Input, n);
    inputs->addWidget(unit, n, 2);
  }
  layout->addWidget(inputBox);

  if (OnlineShowsOutputs()) {
    const int outputs = OnlineOutputCount;
    if (outputs > 0) {
      auto* outputBox = new QGroupBox(" Output ", this);
      auto* grid = new QGridLayout(outputBox);
      const struct {
        const RangeArray<std::string, 1, OnlineRowCount>* table;
        const char* name;
        int column;
      } columns[] = {{&OnlineOutputLabels, "lbaz_", 0}, {&OnlineOutputValues, "lbaw_", 1},
                     {&OnlineOutputUnits, "lbau_", 2}};
      for (const auto& c : columns) {
        for (int m = 1; m <= outputs; ++m) {
          auto* label = new QLabel(Display((*c.table)[m]), outputBox);
          tagged(label, c.name, m);
          hinted(label, HintKind::Output, m);
          if (c.column == 1) label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
          grid->addWidget(label, m, c.column);
        }
      }
      layout->addWidget(outputBox);
    }
    auto* errorBox = new QGroupBox("Error Messages", this);
    auto* errors = new QVBoxLayout(errorBox);
    for (int k = 1; k <= MsgCount; ++k) {
      auto* label = new QLabel(Display(MsgText[k]), errorBox);
      tagged(label, "lber_", k);
      hinted(label, HintKind::Error, k);
      errors->addWidget(label);
    }
    layout->addWidget(errorBox);
  }

  auto* buttons = new QHBoxLayout;
  const struct {
    const char* caption;
    const char* name;
  } captions[] = {{"OK", "Button_ok"},       {"&Help", "Button_help"},   {"Aux. &Image", "Button_image"},
                  {"Aux. Image&s", "Button_images"}, {"&Close", "Button_close"}, {"mm <-> inch", "Button_units"}};
  QList<QPushButton*> made;
  for (const auto& c : captions) {
    auto* button = new QPushButton(c.caption, this);
    button->setObjectName(c.name);
    button->setAutoDefault(false);
    buttons->addWidget(button);
    made.append(button);
  }
  layout->addLayout(buttons);
  connect(made[0], &QPushButton::clicked, this, [this] { Finish(OnlineExit::Ok); });
  connect(made[1], &QPushButton::clicked, this, [] { OnlineShowHelp(); });
  connect(made[2], &QPushButton::clicked, this, [this] { OnlineShowRowPicture(row_, helpBase_); });
  rowPicture_ = made[2];
  ShowRowPictureButton();
  connect(made[3], &QPushButton::clicked, this, [] { OnlineShowAuxImages(); });
  connect(made[4], &QPushButton::clicked, this, [this] { Finish(OnlineExit::Close); });
  connect(made[5], &QPushButton::clicked, this, [this] { Finish(OnlineExit::SwitchUnits); });
  move(OnlineLeft, OnlineTop);
}

void OnlineFormWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QLineEdit* edit = Edit(row_)) {
    edit->setFocus();
    edit->selectAll();
  }
}

void OnlineFormWindow::ShowRowPictureButton() {
  if (rowPicture_) rowPicture_->setVisible(OnlineRowHasPicture(row_, helpBase_));
}

bool OnlineFormWindow::eventFilter(QObject* watched, QEvent* event) {
  if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
    const int row = edits_.indexOf(edit) + 1;
    if (event->type() == QEvent::FocusIn) {
      row_ = row;
      ShowRowPictureButton();
    }
    if (event->type() == QEvent::KeyPress) {
      row_ = row;
      switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Escape: Finish(OnlineExit::Escape); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: Finish(OnlineExit::Enter); return true;
        case Qt::Key_Up: Finish(OnlineExit::ArrowUp); return true;
        case Qt::Key_Down: Finish(OnlineExit::ArrowDown); return true;
        default: break;
      }
    }
    return QDialog::eventFilter(watched, event);
  }
  if (event->type() == QEvent::ToolTip) {
    auto* label = qobject_cast<QLabel*>(watched);
    if (label && label->property("hintKind").isValid()) {
      const int n = label->property("hintRow").toInt();
      std::string hint;
      switch (static_cast<HintKind>(label->property("hintKind").toInt())) {
        case HintKind::Input: hint = OnlineInputHint(helpBase_, n); break;
        case HintKind::Output: hint = OnlineOutputHint(helpBase_, n); break;
        case HintKind::Error: hint = OnlineErrorHint(n); break;
      }
      label->setToolTip(QString::fromStdString(hint));
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), label->toolTip(), label);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void OnlineFormWindow::reject() { Finish(OnlineExit::Close); }

void OnlineFormWindow::Finish(OnlineExit exit) {
  result_.exit = exit;
  result_.row = row_;
  for (int n = 1; n <= edits_.size(); ++n) result_.edits[n] = AnsiToOemText(edits_[n - 1]->text().toStdString());
  OnlineLeft = x();
  OnlineTop = y();
  QDialog::accept();
}

OnlineFormResult RunOnlineFormWindow(int row, int helpBase) {
  OnlineFormWindow window(row, helpBase);
  window.exec();
  return window.Result();
}

}  // namespace common::ui
