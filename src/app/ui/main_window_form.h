// The main window (Thh): the graphics window with the main menu. The menu
// bar is built from the menu model (app/main_menu.h) and shown again from it
// after every click, so captions, visibility and enabling follow the core.
// Creation, the close query and destruction run the core's routines of
// app/main_window.h.
#pragma once

#include <QMainWindow>
#include <map>
#include <string>

#include "platform/screen.h"

class QAction;
class QMenu;

namespace common::ui {
class GraphicsView;
}

namespace app::ui {

class Thh : public QMainWindow, public platform::MainWindowFrame {
  Q_OBJECT

 public:
  // Builds the menu and runs FormCreate (first calculation, start picture).
  explicit Thh(QWidget* parent = nullptr);
  // FormDestroy: the session file.
  ~Thh() override;

  // Runs the item's handler as a menu click does.
  void Click(const std::string& name);
  // The action of a menu item (nullptr for an unknown name).
  QAction* Action(const std::string& name) const;
  // The top-level menus in order.
  QList<QMenu*> Menus() const;
  common::ui::GraphicsView* View() const { return view_; }
  // Caption, visibility and enabling of every item from the model, the
  // message count from the list as it stands. Runs after every click and
  // whenever a menu opens.
  void SyncMenus();

  // MainWindowFrame
  int Width() const override { return frameGeometry().width(); }
  int Height() const override { return frameGeometry().height(); }
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientSize(int width, int height) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // A click into the picture shows the message item again (FormClick).
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();

  common::ui::GraphicsView* view_ = nullptr;
  std::map<std::string, QAction*> actions_;
  std::map<std::string, QMenu*> menus_;
};

}  // namespace app::ui
