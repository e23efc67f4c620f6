// The auxiliary-image list form; see aux_image_list_window.h.
#include "common/ui/aux_image_list_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>
#include <QToolButton>

#include "common/code_page.h"
#include "common/help_text.h"
#include "common/ui/kept_window_place.h"

namespace common::ui {

namespace {

// The form's place, kept for the next time it opens.
KeptWindowPlace g_place;

}  // namespace

AuxImageListWindow::AuxImageListWindow(const std::vector<std::string>& entries, int selected, QWidget* parent)
    : QDialog(parent), records_(static_cast<int>(entries.size()) - 5) {
  setObjectName("TForm_hilfebild");
  setWindowTitle("Auxiliary Images");
  auto* grid = new QGridLayout(this);
  list_ = new QComboBox(this);
  list_->setObjectName("ComboBox_images");
  for (const auto& entry : entries) list_->addItem(QString::fromStdString(OemToDisplayText(entry)));
  list_->setCurrentIndex(std::clamp(selected, 1, static_cast<int>(entries.size())) - 1);
  list_->setMinimumWidth(420);
  grid->addWidget(list_, 0, 0, 1, 6);
  auto* up = new QToolButton(this);
  up->setObjectName("SpinUp");
  up->setArrowType(Qt::UpArrow);
  auto* down = new QToolButton(this);
  down->setObjectName("SpinDown");
  down->setArrowType(Qt::DownArrow);
  grid->addWidget(up, 0, 6);
  grid->addWidget(down, 0, 7);

  const struct {
    const char* caption;
    const char* name;
    int command;  // entry offset after the records; 0 = leave
  } buttons[] = {{"OK", "Button_ok", 0},        {"&New", "Button_new", 1},   {"&Modify", "Button_modify", 3},
                 {"&Insert", "Button_insert", 4}, {"&Delete", "Button_delete", 2}};
  int column = 0;
  for (const auto& b : buttons) {
    auto* button = new QPushButton(b.caption, this);
    button->setObjectName(b.name);
    grid->addWidget(button, 1, column++);
    const int command = b.command;
    connect(button, &QPushButton::clicked, this, [this, command] {
      if (command == 0)
        Finish(AuxImageStep::Kind::Leave, 0);
      else
        Finish(AuxImageStep::Kind::Choose, records_ + command);
    });
  }
  auto* help = new QPushButton("&Help", this);
  help->setObjectName("Button_help");
  grid->addWidget(help, 1, column);
  connect(help, &QPushButton::clicked, this, [] { ShowCurrentHelp(); });
  connect(up, &QToolButton::clicked, this,
          [this] { Finish(AuxImageStep::Kind::MoveUp, list_->currentIndex() + 1); });
  connect(down, &QToolButton::clicked, this,
          [this] { Finish(AuxImageStep::Kind::MoveDown, list_->currentIndex() + 1); });
  connect(list_, &QComboBox::activated, this,
          [this](int index) { Finish(AuxImageStep::Kind::Choose, index + 1); });
  adjustSize();
  g_place.GiveBack(*this);
}

void AuxImageListWindow::Finish(AuxImageStep::Kind kind, int index) {
  step_ = {kind, index};
  accept();
}

void AuxImageListWindow::done(int result) {
  g_place.Take(*this);
  QDialog::done(result);
}

AuxImageStep RunAuxImageListWindow(const std::vector<std::string>& entries, int selected) {
  AuxImageListWindow window(entries, selected);
  window.exec();
  return window.Step();  // closed by the frame: leave
}

}  // namespace common::ui
