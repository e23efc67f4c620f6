// The table window on Qt: the dialog that shows a Tdbf4 (table_window.h)
// with its menus, the grid and the navigator over its table, the record
// number field and the OK, Cancel and search buttons; every action goes to
// the window's handlers. QtTableWindowView shows it modally for the table
// layer; InstallTableWindow puts that view in place of the cancelling one.
#pragma once

#include <QDialog>

#include "dbase/table/table_window.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;

namespace dbase::ui {

class TTzGrid;
class TTzNavigator;

class TableWindowDialog : public QDialog {
  Q_OBJECT
 public:
  TableWindowDialog(Tdbf4& window, QWidget* parent = nullptr);

  TTzGrid* TzGrid1 = nullptr;
  TTzNavigator* TzNavigator1 = nullptr;
  QLineEdit* Edit_recno = nullptr;
  QLabel* Label_reccount = nullptr;
  QLabel* Label_title2 = nullptr;
  QPushButton* Button_ok = nullptr;
  QPushButton* Button_cancel = nullptr;
  QPushButton* Button_search = nullptr;
  QPushButton* Button_SearchNext = nullptr;
  QMenuBar* MainMenu1 = nullptr;
  QMenu* mi_edit = nullptr;
  // The menu actions by their component names (mi_fileExportHtml ...).
  QAction* Action(const QString& name) const;

  // Shows the window's state again: the rows, the labels, the current cell.
  void Refresh();
  // Closes the dialog (the OK or Cancel action has run).
  void Finish(bool ok);

 protected:
  void reject() override;

 private:
  QAction* AddAction(QMenu* menu, const std::string& caption, const QString& name, void (Tdbf4::*handler)());
  void Run(void (Tdbf4::*handler)());
  void ApplyMode();
  void RememberColumn();

  Tdbf4& window_;
  bool finishing_ = false;
};

// The view of the table layer: the dialog, modal, over the active window.
class QtTableWindowView : public TableWindowView {
 public:
  void ShowModal(Tdbf4& window) override;
  void CloseModal(Tdbf4& window) override;
  void RecordsChanged(Tdbf4& window) override;
  void BringToFront(Tdbf4& window) override;
  // The dialog being shown (nullptr when none).
  TableWindowDialog* Current() const { return current_; }
  // Called with the dialog once it is shown (tests drive it from here).
  std::function<void(TableWindowDialog&)> OnShown;

 private:
  TableWindowDialog* current_ = nullptr;
};

// Installs the Qt table window for the table layer (once the QApplication
// exists) and answers the view.
QtTableWindowView& InstallTableWindow();

}  // namespace dbase::ui
