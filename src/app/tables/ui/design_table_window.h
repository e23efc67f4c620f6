// The window of the data-set table (TForm_preview): the grid of the designs
// with its menu (File: Export Excel, Exit; Edit: Search, Search Next;
// Help), the sort by a right click on a column title, and the small search
// dialog (TForm_Suchen). The table and its rules are
// app/tables/design_table.h.
#pragma once

#include <QDialog>

#include "app/tables/design_table.h"

class QLineEdit;
class QMenuBar;
class QTableWidget;

namespace app::ui {

class TForm_Suchen : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Suchen(const std::string& text, QWidget* parent = nullptr);
  QLineEdit* Edit_suchbegriff() const { return edit_; }
  std::string Text() const;

 private:
  QLineEdit* edit_ = nullptr;
};

class TForm_preview : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_preview(TDesignTable& table, QWidget* parent = nullptr);

  QTableWidget* StringGrid1() const { return grid_; }
  QMenuBar* Menu() const { return menu_; }

  // The menu items' and the title click's actions.
  void mi_fileExportExcelClick();
  void mi_fileExitClick();
  void mi_editsearchClick();
  void SearchNext1Click();
  void mi_HelpHelpClick();
  void TitleRightClick(int column);

  // The search dialog; tests replace it. It returns the search text.
  std::function<std::string(const std::string& last)> AskSearchText;

 protected:
  void reject() override;

 private:
  // The grid again from the table, the current cell without picking.
  void ShowCells();
  void CellSelected(int row, int column);
  void SelectFound();

  TDesignTable& table_;
  QTableWidget* grid_ = nullptr;
  QMenuBar* menu_ = nullptr;
  bool filling_ = false;
  bool closing_ = false;
};

// The views of the data-set table as this window, modal over the active
// window.
class QtDesignTableViews : public DesignTableViews {
 public:
  void ShowTable(TDesignTable& table) override;
};

}  // namespace app::ui
