// Tdbf4, the one table window of the program, without its window system:
// the table component `tzdbf`, the texts of its labels and its caption, what
// its mode shows (navigator buttons, menu items, grid options), and every
// handler of its buttons, menus and grid (record number, search, sort by a
// clicked title, pack, append, import, delimited and HTML export, print,
// help). The procedural table layer (table_layer.h) drives it; the program
// reaches it through that layer only.
//
// Showing the window is the view's work (TableWindowView below; the Qt one
// is in dbase/ui/table_window_dialog.h). Until a view is installed the
// window cancels at once (AbortFlag set, LastKeyCode 27), so a run without
// windows never waits. A view shows the window modally, calls the handlers
// for the user's actions and closes when the window asks (CloseModal after
// the OK or Cancel action).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "dbase/dataset/tz_file_dataset.h"

namespace dbase {

// The result of the last showing of the table window: the record number at
// OK, and 13 after OK, 27 after Cancel.
extern std::int32_t DbfPickedRecNo;
extern std::uint8_t LastKeyCode;

// The ten navigator buttons in their order.
enum TNavigateBtn : int {
  nbFirst,
  nbPrior,
  nbNext,
  nbLast,
  nbInsert,
  nbDelete,
  nbEdit,
  nbPost,
  nbCancel,
  nbRefresh,
  NavigateBtnCount
};

// The grid's options that the modes switch.
struct TTableGridOptions {
  bool editing = true;
  bool titles = true;
  bool indicator = true;
  bool columnResize = true;
  bool columnLines = true;
  bool rowLines = true;
  bool tabs = true;
  bool rowSelect = false;
};

class Tdbf4;

class TableWindowView {
 public:
  virtual ~TableWindowView() = default;
  // Shows the window modally and returns when it has been closed.
  virtual void ShowModal(Tdbf4& window) = 0;
  // The OK or Cancel action has run: the shown window closes.
  virtual void CloseModal(Tdbf4& window) { (void)window; }
  // The records changed behind the grid (pack, append, import, sort, a
  // search hit): the view shows them again.
  virtual void RecordsChanged(Tdbf4& window) { (void)window; }
  // The window is shown and brought to the front again (after a help
  // picture drawn in the main window).
  virtual void BringToFront(Tdbf4& window) { (void)window; }
};

// Installs the view (not owned); nullptr returns to the default, which
// cancels. Returns the previous one.
TableWindowView* SetTableWindowView(TableWindowView* view);
TableWindowView& CurrentTableWindowView();

class Tdbf4 {
 public:
  Tdbf4();
  ~Tdbf4();
  Tdbf4(const Tdbf4&) = delete;
  Tdbf4& operator=(const Tdbf4&) = delete;

  // The table.
  TTzDbf tzdbf{"tzdbf"};

  // ---- What the window shows (display texts, UTF-8) ----------------------
  std::string Caption;
  std::string Label_title1, Label_title2;  // title 1 is not shown
  std::string Label_filename;              // full path of the open table (not shown)
  std::string Label_reccount;              // "/" + record count
  std::string Edit_recno;                  // current record number
  // Captions of the buttons and the menu items (menu words of the language).
  std::string Button_ok = "OK", Button_cancel = "Cancel";
  std::string Button_search = "&Search", Button_SearchNext = "Search &Next";
  std::string mi_file = "&File", mi_filePrint = "Print...", mi_fileExit = "Exit";
  std::string mi_fileExportHtml = "Export HTML", mi_fileSaveAsDelimited = "Save As Delimited";
  std::string mi_fileAppenddbf = "Append dbf", mi_fileAppendDelimited = "Append Delimited";
  std::string mi_edit = "&Edit", mi_editAppend = "Append", mi_editPack = "Pack";
  std::string mi_editPackHint = "Remove records to be deleted";
  std::string mi_view = "&View", mi_viewSearch = "&Search", mi_viewSearchNext = "Search &Next";
  std::string mi_help = "&Help", mi_helpdbf, mi_helpCommon = "Database", mi_helphilfebild = "Aux. &Image",
              mi_helpDatei = "File";
  // Set by the mode.
  std::array<bool, NavigateBtnCount> NavigatorButtons{};
  bool AppendItemsVisible = true;  // Append dbf, Append Delimited and their separator
  bool EditMenuVisible = true;     // the Edit menu with Pack and Append
  TTableGridOptions GridOptions;
  // The grid's current column (0-based), kept by the view.
  int GridColumn = 0;

  std::uint16_t Mode() const { return mode_; }
  bool QuickPick() const { return quickPick_; }
  bool IsPickMode() const { return mode_ == 1 || mode_ == 4 || mode_ == 5; }
  const std::string& SearchText() const { return searchText_; }
  // The table is open.
  bool TableOpen() const { return tzdbf.Active(); }
  // While shown: between SetMode's showing and the OK or Cancel action.
  bool Shown() const { return shown_; }

  // ---- Operations of the procedural layer -------------------------------
  // Failures (a file that does not open, an unknown field) are reported in
  // a box and set AbortFlag; the operations on a closed table do nothing.
  void OpenTable(const std::string& path);
  void CloseTable();
  void SetTitles(const std::string& title1, const std::string& title2);
  // Sets the window up for the mode and shows it modally: 1, 4, 5 pick
  // (1 hides deleted records, 4 shows them, 5 keeps the setting), any other
  // mode edits. text "CLOSE" makes a pick end at the first choice.
  void SetMode(const std::string& text, std::uint16_t mode);
  void StoreRecNo();
  void GoRecord(std::int64_t n);
  std::int64_t RecNo();
  std::int64_t RecCount();
  void AppendRecord();
  void PackTable();
  // found: 0 on entry, nonzero on return when a record matched.
  void Search(const std::string& text, std::uint8_t& found, bool fromTop);
  void IndexOn(const std::string& expression, const std::string& indexFile);
  // The path without ".ndx".
  void OpenIndex(const std::string& indexPath);
  std::string FieldAsString(int n);
  bool GetLogical(const std::string& fieldName);
  void PutString(const std::string& fieldName, const std::string& value);
  void PutFloat(const std::string& fieldName, double value);
  void PutInteger(const std::string& fieldName, std::int32_t value);
  void PutLogical(const std::string& fieldName, bool value);
  std::string FieldName(int n);
  int FieldCount();

  // ---- Handlers --------------------------------------------------------------
  void FormShow();
  // The Cancel button.
  void CancelClick();
  // A grid cell clicked, a key pressed (virtual key code) and released.
  void GridCellClick();
  void GridKeyDown(int key);
  void GridKeyUp();
  // The text of Edit_recno changed.
  void EditRecnoChange(const std::string& text);
  // A column title clicked (0-based column, the field's number less one).
  void DepressTitle(int column);
  void SearchClick();
  void SearchNextClick();
  void PackClick();
  void AppendClick();
  void AppendDbfClick();
  void AppendDelimitedClick();
  void SaveAsDelimitedClick();
  void ExportHtmlClick();
  void PrintClick();
  void HelpDbfClick();
  void HelpCommonClick();
  void HelpImageClick();
  void HelpFileClick();

  // The menu words of the current language (common/menu_captions.h).
  void SetMenuWords();
  // The texts of the record labels from the table as it stands.
  void UpdateRecordLabels();

 private:
  void SearchFor(const std::string& text, bool fromTop);
  void Close();
  void RecordsChanged();
  // Removes the temporary index of the last title clicked.
  void RemoveSortIndex();

  std::uint16_t mode_ = 2;
  bool quickPick_ = false;
  bool shown_ = false;
  std::string searchText_;
  int storedColumn_ = -1;
  std::string sortIndex_;  // the temporary index file of the title order, if any
};

// The single table window: made by CreateTableWindow when the main window
// starts, freed by FreeTableWindow at its end. DbfForm() makes it when it
// is asked for before (tests, batch runs), so no caller meets a missing
// window.
Tdbf4& DbfForm();
void CreateTableWindow();
void FreeTableWindow();
bool TableWindowExists();

}  // namespace dbase
