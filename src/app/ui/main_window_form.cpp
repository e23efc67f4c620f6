// The main window; see main_window_form.h.
#include "app/ui/main_window_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "common/config_file.h"
#include "common/kaldvar.h"
#include "common/ui/graphics_view.h"

namespace app::ui {

Thh::Thh(QWidget* parent) : QMainWindow(parent) {
  setObjectName("FKaldgra");
  view_ = new common::ui::GraphicsView(this);
  setCentralWidget(view_);
  view_->installEventFilter(this);
  BuildMenus();
  platform::SetMainWindow(this);
  CloseMainWindow = [this] { close(); };
  // The configuration was read before there was a screen to fit to: pixel
  // settings of 0 mean the screen's, now that it is known, and the first
  // pictures are drawn for it.
  if (common::HorizontalPixels == 0 || common::VerticalPixels == 0) common::ApplyMainWindowSize();
  MainFormCreate();
  // InitMainFormLayout: the configured pixels as client size, at (0, 0).
  if (common::HorizontalPixels > 0 && common::VerticalPixels > 0)
    SetClientSize(common::HorizontalPixels + 1, common::VerticalPixels + 1);
  move(0, 0);
  SyncMenus();
}

Thh::~Thh() {
  CloseMainWindow = nullptr;
  if (platform::MainWindow() == this) platform::SetMainWindow(nullptr);
  MainFormDestroy();
}

void Thh::BuildMenus() {
  // A menu shows the message count of the list as it stands when it opens.
  auto followTheList = [this](QMenu* menu) {
    connect(menu, &QMenu::aboutToShow, this, [this] { SyncMenus(); });
  };
  for (TMenuItem& item : MainMenu1()) {
    if (item.parent.empty()) {
      QMenu* menu = menuBar()->addMenu(QString());
      menu->setObjectName(QString::fromStdString(item.name));
      menus_[item.name] = menu;
      followTheList(menu);
      continue;
    }
    QMenu* parentMenu = menus_.at(item.parent);
    if (item.separator) {
      QAction* separator = parentMenu->addSeparator();
      actions_[item.name] = separator;
      continue;
    }
    // A submenu is an item that other items stand in.
    if (!MenuChildren(item.name).empty()) {
      QMenu* sub = parentMenu->addMenu(QString());
      sub->setObjectName(QString::fromStdString(item.name));
      menus_[item.name] = sub;
      followTheList(sub);
      actions_[item.name] = sub->menuAction();
      continue;
    }
    QAction* action = parentMenu->addAction(QString());
    action->setObjectName(QString::fromStdString(item.name));
    if (!item.shortcut.empty()) action->setShortcut(QKeySequence(QString::fromStdString(item.shortcut)));
    const std::string name = item.name;
    connect(action, &QAction::triggered, this, [this, name] { Click(name); });
    actions_[item.name] = action;
  }
}

void Thh::SyncMenus() {
  RefreshMessageMenuItem();
  for (const TMenuItem& item : MainMenu1()) {
    const QString caption = QString::fromStdString(item.caption);
    if (item.parent.empty()) {
      QMenu* menu = menus_.at(item.name);
      menu->setTitle(caption);
      menu->menuAction()->setVisible(item.visible);
      menu->setEnabled(item.enabled);
      continue;
    }
    QAction* action = actions_.at(item.name);
    if (!item.separator) action->setText(caption);
    action->setVisible(item.visible);
    action->setEnabled(item.enabled);
  }
  setWindowTitle(QString::fromStdString(MainCaption));
}

void Thh::Click(const std::string& name) {
  MenuItemClick(name);
  SyncMenus();
}

QAction* Thh::Action(const std::string& name) const {
  const auto found = actions_.find(name);
  return found == actions_.end() ? nullptr : found->second;
}

QList<QMenu*> Thh::Menus() const {
  QList<QMenu*> top;
  for (const TMenuItem& item : MainMenu1())
    if (item.parent.empty()) top.push_back(menus_.at(item.name));
  return top;
}

int Thh::ClientWidth() const { return view_->width(); }
int Thh::ClientHeight() const { return view_->height(); }

void Thh::SetClientSize(int width, int height) {
  // The picture fills the window below the menu bar.
  resize(width, height + menuBar()->sizeHint().height());
}

bool Thh::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && event->type() == QEvent::MouseButtonPress) {
    MainFormClick();
    SyncMenus();
  }
  return QMainWindow::eventFilter(watched, event);
}

void Thh::closeEvent(QCloseEvent* event) {
  if (!MainFormCloseQuery()) {
    event->ignore();
    SyncMenus();
    return;
  }
  event->accept();
}

}  // namespace app::ui
