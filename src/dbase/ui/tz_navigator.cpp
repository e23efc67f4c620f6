// The navigator on Qt; see tz_navigator.h.
#include "dbase/ui/tz_navigator.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QToolButton>

#include "dbase/dataset/grid_cells.h"

namespace dbase::ui {

namespace {

struct ButtonLook {
  const char* name;
  const char* text;
  const char* hint;
};
const std::array<ButtonLook, NavigateBtnCount> kLooks = {{
    {"First", "|<", "First record"},
    {"Prior", "<", "Prior record"},
    {"Next", ">", "Next record"},
    {"Last", ">|", "Last record"},
    {"Insert", "+", "Insert record"},
    {"Delete", "-", "Delete record"},
    {"Edit", "^", "Edit record"},
    {"Post", "\u2713", "Post edit"},
    {"Cancel", "x", "Cancel edit"},
    {"Refresh", "\u21BB", "Refresh data"},
}};

}  // namespace

TTzNavigator::TTzNavigator(QWidget* parent) : QWidget(parent) {
  setObjectName("TzNavigator1");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  for (int b = 0; b < NavigateBtnCount; ++b) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString("nb") + kLooks[static_cast<std::size_t>(b)].name);
    button->setText(QString::fromUtf8(kLooks[static_cast<std::size_t>(b)].text));
    button->setToolTip(kLooks[static_cast<std::size_t>(b)].hint);
    button->setMinimumWidth(28);
    connect(button, &QToolButton::clicked, this, [this, b] { BtnClick(static_cast<TNavigateBtn>(b)); });
    layout->addWidget(button);
    buttons_[static_cast<std::size_t>(b)] = button;
  }
  layout->addStretch(1);
  Confirm = [this](const std::string& question) {
    return QMessageBox::question(this, "Confirm", QString::fromStdString(question),
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
  };
}

void TTzNavigator::SetVisibleButtons(const std::array<bool, NavigateBtnCount>& visible) {
  for (std::size_t b = 0; b < buttons_.size(); ++b) buttons_[b]->setVisible(visible[b]);
}

void TTzNavigator::BtnClick(TNavigateBtn button) {
  if (BeforeAction) BeforeAction();
  if (dataset_ != nullptr && dataset_->Active()) {
    try {
      switch (button) {
        case nbFirst: dataset_->First(); break;
        case nbPrior: dataset_->Prior(); break;
        case nbNext: dataset_->Next(); break;
        case nbLast: dataset_->Last(); break;
        case nbInsert:
          // The new record is made at once, so that the grid shows it and
          // its cells can be typed in.
          if (dataset_->CanModify()) {
            dataset_->Append();
            dataset_->Post();
          }
          break;
        case nbDelete:
          if (!NavigatorDelete(*dataset_, ConfirmDelete, ConfirmRestore, Confirm) && dataset_->CanModify() &&
              !dataset_->IsEmpty() && (!ConfirmDelete || Confirm("Delete Record ?")))
            dataset_->Delete();
          break;
        case nbEdit:
          if (dataset_->CanModify() && !dataset_->IsEmpty()) dataset_->Edit();
          break;
        case nbPost: dataset_->CheckBrowseMode(); break;
        case nbCancel: dataset_->Cancel(); break;
        case nbRefresh: dataset_->Refresh(); break;
        case NavigateBtnCount: break;
      }
    } catch (const EDatasetError& e) {
      QMessageBox::warning(this, "Error", e.what());
    }
  }
  if (OnClick) OnClick(button);
}

}  // namespace dbase::ui
