// The table window without its window system; see table_window.h. The
// exports and the print of the table are in table_export.cpp.
#include "dbase/table/table_window.h"

#include <functional>
#include <optional>

#include "common/code_page.h"
#include "common/file_checks.h"
#include "common/file_dialogs.h"
#include "common/file_utils.h"
#include "common/help_text.h"
#include "common/input_dialogs.h"
#include "common/kaldvar.h"
#include "common/menu_captions.h"
#include "common/number_format.h"
#include "common/message_boxes.h"
#include "common/small_dialogs.h"
#include "common/text_utils.h"
#include "dbase/common/file_routines.h"
#include "dbase/engine/error_codes.h"
#include "dbase/table/table_export.h"
#include "platform/file_system.h"
#include "platform/user_dialogs.h"

namespace dbase {

std::int32_t DbfPickedRecNo = 0;
std::uint8_t LastKeyCode = 0;

namespace {

using common::AbortFlag;

// The view of a run without windows: the window is cancelled at once.
class CancellingView : public TableWindowView {
 public:
  void ShowModal(Tdbf4& window) override { window.CancelClick(); }
};

CancellingView cancellingView;
TableWindowView* installedView = nullptr;

std::unique_ptr<Tdbf4>& WindowHolder() {
  static std::unique_ptr<Tdbf4> window;
  return window;
}

// Runs a dataset operation; a refusal of the dataset classes (an unknown
// field, a table that does not open) is shown and sets AbortFlag, so that
// the caller's sequence stops instead of the program.
bool Guarded(const std::function<void()>& operation) {
  try {
    operation();
    return true;
  } catch (const EDatasetError& e) {
    common::ShowError(e.what());
  } catch (const EDidozError& e) {
    common::ShowError(e.what());
  }
  AbortFlag = 1;
  return false;
}

// Whether the lock a command needs was had; another program's lock that
// outlasts the dataset's retries stops the command, and the user is told.
bool Locked(bool taken, const std::string& operation) {
  if (!taken && dbase::TzError == 0) {
    common::ShowError("Lock failed [" + operation + "]");
    AbortFlag = 1;
  }
  return taken;
}

// The menu word of the language without its accelerator mark.
std::string MenuWord(int index) { return common::MenuCaptions[index]; }

}  // namespace

TableWindowView* SetTableWindowView(TableWindowView* view) {
  TableWindowView* previous = installedView;
  installedView = view;
  return previous;
}

TableWindowView& CurrentTableWindowView() { return installedView ? *installedView : cancellingView; }

Tdbf4::Tdbf4() {
  // The published defaults of the window's table component.
  tzdbf.SetHideDeletedRecs(false);
  tzdbf.TableLanguage = TTzTableLanguage::tlOem;
  tzdbf.CreateIndex = TCreateIndexType::ciNotFound;
  // The window opens existing tables only; a missing one is an error, not
  // an empty table made from no field list.
  tzdbf.CreateIfNotFound = false;
  NavigatorButtons.fill(true);
  SetMenuWords();
}

void Tdbf4::SetMenuWords() {
  if (MenuWord(common::CapFile).empty()) return;
  mi_file = MenuWord(common::CapFile);
  mi_filePrint = MenuWord(common::CapPrint);
  mi_fileExit = MenuWord(common::CapExit);
  mi_edit = MenuWord(common::CapEdit);
  mi_view = MenuWord(common::CapView);
  mi_help = MenuWord(common::CapHelp);
  mi_helpCommon = MenuWord(common::CapDatabase);
  mi_helpDatei = MenuWord(common::CapFile);
}

Tdbf4::~Tdbf4() {
  if (tzdbf.Active()) Guarded([this] { tzdbf.Close(); });
  RemoveSortIndex();
}

// ---- Operations of the procedural layer ---------------------------------------

void Tdbf4::OpenTable(const std::string& path) {
  common::CursorHourglass();
  CloseTable();
  Guarded([&] {
    tzdbf.SetDbfFileName(path);
    tzdbf.Open();
  });
  if (!tzdbf.Active()) AbortFlag = 1;
  Label_filename = path;
  common::CursorArrow();
}

void Tdbf4::CloseTable() {
  if (tzdbf.Active()) Guarded([this] { tzdbf.Close(); });
  RemoveSortIndex();
  common::CursorArrow();
}

void Tdbf4::SetTitles(const std::string& title1, const std::string& title2) {
  Label_title1 = title1;
  Label_title2 = title2;
  mi_helpdbf = title2;
}

void Tdbf4::SetMode(const std::string& text, std::uint16_t mode) {
  mode_ = mode;
  // The window lives for the whole run; the language may have changed
  // since it was made.
  SetMenuWords();
  if (IsPickMode()) {
    Caption = Label_title2 + "   " + Label_title1;
    NavigatorButtons.fill(false);
    for (int b : {nbFirst, nbPrior, nbNext, nbLast}) NavigatorButtons[static_cast<std::size_t>(b)] = true;
    AppendItemsVisible = false;
    EditMenuVisible = false;
    GridOptions = TTableGridOptions{};
    GridOptions.editing = false;
    GridOptions.rowSelect = true;
    if (mode == 1) Guarded([this] { tzdbf.SetHideDeletedRecs(true); });
    if (mode == 4) Guarded([this] { tzdbf.SetHideDeletedRecs(false); });
  } else {
    Caption = Label_title2 + "  " + Label_title1 + "  (" + Label_filename + ")";
    NavigatorButtons.fill(true);
    AppendItemsVisible = true;
    EditMenuVisible = true;
    GridOptions = TTableGridOptions{};
    Guarded([this] { tzdbf.SetHideDeletedRecs(false); });
    // A table in the temporary directory is a copy only when that is not the
    // table directory itself, as it is when neither is configured.
    const std::string tempDir = common::AddBackslash(common::TempDirectory);
    if (!tempDir.empty() && common::FileDirPart(tzdbf.DbfFileName()) == tempDir &&
        common::AddBackslash(common::DbfDirectory) != tempDir)
      common::ShowMessageText("No Write Access for dbf directory !  Temp directory used.");
  }
  quickPick_ = text == "CLOSE";
  shown_ = true;
  FormShow();
  CurrentTableWindowView().ShowModal(*this);
  // A window closed by its frame or by Escape is cancelled.
  if (shown_) CancelClick();
}

void Tdbf4::StoreRecNo() {
  AbortFlag = 0;
  if (tzdbf.Active()) Guarded([this] { tzdbf.CheckBrowseMode(); });
  AbortFlag = 0;
  LastKeyCode = 13;
  DbfPickedRecNo = static_cast<std::int32_t>(RecNo());
  storedColumn_ = GridColumn;
  Close();
}

void Tdbf4::GoRecord(std::int64_t n) {
  if (!tzdbf.Active() || n < 1 || n > RecCount()) return;
  Guarded([&] { tzdbf.Go(n); });
  RecordsChanged();
}

std::int64_t Tdbf4::RecNo() {
  if (!tzdbf.Active()) return 0;
  std::int64_t n = 0;
  Guarded([&] { n = tzdbf.RecNo(); });
  return n;
}

std::int64_t Tdbf4::RecCount() {
  if (!tzdbf.Active()) return 0;
  std::int64_t n = 0;
  Guarded([&] { n = tzdbf.RecordCount(); });
  return n;
}

void Tdbf4::AppendRecord() {
  if (!tzdbf.Active()) return;
  Guarded([this] {
    if (!Locked(tzdbf.ALock(), "Append")) return;
    tzdbf.AppendRec();
    tzdbf.UnLock();
  });
  RecordsChanged();
}

void Tdbf4::PackTable() {
  if (!tzdbf.Active()) return;
  common::CursorHourglass();
  Guarded([this] { tzdbf.Pack(); });
  common::CursorArrow();
  RecordsChanged();
}

void Tdbf4::Search(const std::string& text, std::uint8_t& found, bool fromTop) {
  found = 0;
  if (!tzdbf.Active()) return;
  Guarded([&] {
    if (fromTop) {
      found = tzdbf.Search(text, true) != 0 ? 1 : 0;
      return;
    }
    // The engine searches from the record it stands on; the next hit lies
    // after the current record.
    const std::int64_t current = tzdbf.RecNo();
    if (current >= tzdbf.RecordCount()) return;
    tzdbf.Go(current + 1);
    found = tzdbf.Search(text, false) != 0 ? 1 : 0;
    if (!found) tzdbf.Go(current);
  });
}

void Tdbf4::IndexOn(const std::string& expression, const std::string& indexFile) {
  if (!tzdbf.Active()) return;
  common::CursorHourglass();
  Guarded([&] {
    if (!tzdbf.IndexOn(expression, indexFile)) AbortFlag = 1;
  });
  common::CursorArrow();
}

void Tdbf4::OpenIndex(const std::string& indexPath) {
  if (!tzdbf.Active()) return;
  common::CursorHourglass();
  Guarded([&] {
    // One file by its whole name: the list form of SET INDEX TO would cut a
    // temporary directory with blanks into names.
    if (!tzdbf.SetIndexToLFN(indexPath + ".ndx", 1)) AbortFlag = 1;
  });
  common::CursorArrow();
  RecordsChanged();
}

std::string Tdbf4::FieldAsString(int n) {
  std::string text;
  if (!tzdbf.Active() || n < 1 || n > FieldCount()) return text;
  Guarded([&] { text = tzdbf.SField(n); });
  return text;
}

bool Tdbf4::GetLogical(const std::string& fieldName) {
  bool value = false;
  if (!tzdbf.Active()) return value;
  Guarded([&] { value = tzdbf.LogicalByName(fieldName.substr(0, 10)); });
  return value;
}

void Tdbf4::PutString(const std::string& fieldName, const std::string& value) {
  if (tzdbf.Active()) Guarded([&] { tzdbf.PutStringByName(fieldName.substr(0, 10), value); });
}

void Tdbf4::PutFloat(const std::string& fieldName, double value) {
  if (tzdbf.Active()) Guarded([&] { tzdbf.PutFloatByName(fieldName.substr(0, 10), value); });
}

void Tdbf4::PutInteger(const std::string& fieldName, std::int32_t value) {
  if (tzdbf.Active()) Guarded([&] { tzdbf.PutIntegerByName(fieldName.substr(0, 10), value); });
}

void Tdbf4::PutLogical(const std::string& fieldName, bool value) {
  if (tzdbf.Active()) Guarded([&] { tzdbf.PutLogicalByName(fieldName.substr(0, 10), value); });
}

int Tdbf4::FieldCount() {
  if (!tzdbf.Active()) return 0;
  int n = 0;
  Guarded([&] { n = tzdbf.FieldCount(); });
  return n;
}

std::string Tdbf4::FieldName(int n) {
  std::string name;
  if (n < 1 || n > FieldCount()) return name;
  Guarded([&] { name = tzdbf.Field(n); });
  return name;
}

// ---- Handlers -------------------------------------------------------------------

void Tdbf4::UpdateRecordLabels() {
  Label_reccount = "/" + std::to_string(RecCount());
  Edit_recno = std::to_string(RecNo());
}

void Tdbf4::FormShow() {
  if (quickPick_ && storedColumn_ >= 0) GridColumn = storedColumn_;
  UpdateRecordLabels();
}

void Tdbf4::CancelClick() {
  AbortFlag = 1;
  LastKeyCode = 27;
  Close();
}

void Tdbf4::Close() {
  if (!shown_) return;
  shown_ = false;
  CurrentTableWindowView().CloseModal(*this);
}

void Tdbf4::RecordsChanged() {
  UpdateRecordLabels();
  if (shown_) CurrentTableWindowView().RecordsChanged(*this);
}

void Tdbf4::GridCellClick() {
  UpdateRecordLabels();
  if (quickPick_) StoreRecNo();
}

void Tdbf4::GridKeyDown(int key) {
  // Up and Down (virtual keys 38 and 40) end a quick pick.
  if (quickPick_ && (key == 38 || key == 40)) StoreRecNo();
}

void Tdbf4::GridKeyUp() { Edit_recno = std::to_string(RecNo()); }

void Tdbf4::EditRecnoChange(const std::string& text) {
  const std::int64_t n = common::TextToInt(text);
  if (n >= 1 && n <= RecCount()) GoRecord(n);
}

void Tdbf4::DepressTitle(int column) {
  if (!tzdbf.Active()) return;
  DbfPickedRecNo = static_cast<std::int32_t>(RecNo());
  const std::string field = common::TrimBlanks(FieldName(column + 1));
  if (field.empty()) return;
  // The order of a title is a temporary index of this run's own ("$kaltemp",
  // a random part, ".ndx") in the temporary directory; the one of the title
  // before is removed once the new one is in use, the last one when the
  // table closes.
  // As every output through a temporary file: one that cannot be made or
  // built is told (the file and the system's reason, or the build's
  // report) and leaves nothing; the order shown stays.
  const std::string file = common::NewTemporaryFile("$kaltemp", ".ndx");
  if (file.empty()) {
    common::ShowNotedFileFailure("file write error");
    AbortFlag = 0;
    return;
  }
  const std::string index = file.substr(0, file.size() - 4);
  AbortFlag = 0;
  IndexOn(field, index);
  if (AbortFlag) {
    std::error_code ignored;
    platform::Files().Remove(file, ignored);
    AbortFlag = 0;
    return;
  }
  OpenIndex(index);
  RemoveSortIndex();
  sortIndex_ = file;
  GoRecord(DbfPickedRecNo);
  RecordsChanged();
}

void Tdbf4::RemoveSortIndex() {
  if (sortIndex_.empty()) return;
  std::error_code ignored;
  platform::Files().Remove(sortIndex_, ignored);
  sortIndex_.clear();
}

void Tdbf4::SearchFor(const std::string& text, bool fromTop) {
  common::CursorHourglass();
  std::uint8_t found = 0;
  Search(text, found, fromTop);
  if (!found && fromTop) {
    // "1,5" typed with a decimal comma: the table holds "1.5".
    std::string dotted = text;
    common::ReplaceChar(',', '.', dotted);
    if (dotted != text) Search(dotted, found, true);
  }
  common::CursorArrow();
  if (!found)
    common::ShowMessageText(text + " " + "not found");
  else
    RecordsChanged();
}

void Tdbf4::SearchClick() {
  const std::uint16_t kept = common::HelpNumber;
  common::SetHelpNumber(2450);
  std::string text = searchText_;
  AbortFlag = 0;
  common::InputText("Type search string", 50, text);
  if (AbortFlag) {
    AbortFlag = 0;
  } else {
    searchText_ = text;
    SearchFor(text, true);
  }
  common::SetHelpNumber(kept);
  if (quickPick_) StoreRecNo();
}

void Tdbf4::SearchNextClick() {
  SearchFor(searchText_, false);
  if (quickPick_) StoreRecNo();
}

void Tdbf4::PackClick() {
  AbortFlag = 0;
  const bool yes = common::AskYesNoCancel("Pack ?");
  const bool cancelled = AbortFlag != 0;
  AbortFlag = 0;
  if (yes && !cancelled) PackTable();
}

void Tdbf4::AppendClick() { AppendRecord(); }

namespace {

platform::FileNameRequest FileRequest(const std::string& caption, const std::string& filter,
                                      const std::string& preset, const std::string& extension) {
  platform::FileNameRequest request;
  request.caption = caption;
  request.filter = filter;
  request.fileName = preset;
  request.extension = extension;
  return request;
}

// The file of an append: the file chosen is the file read (a name of its
// own extension too, "data.csv"), or nothing on Cancel.
std::optional<std::string> ChooseInput(const std::string& caption, const std::string& filter,
                                       const std::string& extension) {
  return common::AskInputFile(FileRequest(caption, filter + "|All files|*", "", extension));
}

// The file of an export, asked about when it is there; nothing on Cancel or
// when it is not to be replaced. The window stays usable either way.
std::optional<std::string> ChooseOutput(const std::string& caption, const std::string& filter,
                                        const std::string& preset, const std::string& extension) {
  std::optional<std::string> name = common::AskOutputFile(FileRequest(caption, filter, preset, extension));
  if (!name) AbortFlag = 0;
  return name;
}

}  // namespace

void Tdbf4::AppendDbfClick() {
  if (!tzdbf.Active()) return;
  const auto file = ChooseInput("Append dbf", "*.dbf|*.dbf", "dbf");
  if (!file) return;
  Guarded([&] {
    if (!Locked(tzdbf.FLock(), "Append dbf")) return;
    tzdbf.AppendFrom(*file);
    tzdbf.UnLock();
  });
  RecordsChanged();
}

void Tdbf4::AppendDelimitedClick() {
  if (!tzdbf.Active()) return;
  const auto file = ChooseInput("Append Delimited", "*.txt|*.txt", "txt");
  if (!file) return;
  Guarded([&] {
    if (!Locked(tzdbf.FLock(), "Append Delimited")) return;
    tzdbf.AppendFromDelimited(*file);
    tzdbf.UnLock();
  });
  RecordsChanged();
}

void Tdbf4::SaveAsDelimitedClick() {
  if (!tzdbf.Active()) return;
  // A name of its own extension ("mat.csv") is written as it is, one
  // without gets ".txt", as the export itself names it.
  const auto file = ChooseOutput("Save As Delimited", "txt|*.txt|All files|*", "", "txt;*");
  if (!file) return;
  Guarded([&] {
    if (!Locked(tzdbf.FLock(), "Save As Delimited")) return;
    tzdbf.CopyToDelimited(*file);
    tzdbf.UnLock();
  });
  RecordsChanged();
}

void Tdbf4::ExportHtmlClick() {
  if (!tzdbf.Active()) return;
  // The offer carries its extension: a table named with dots of its own
  // (pump.v1.dbf) would otherwise be offered a name that already looks
  // extended and be written without one.
  const auto file = ChooseOutput("Export HTML", "HTML files|*.HTM;*.HTML|All files|*",
                                 common::BareFileName(tzdbf.DbfFileName()) + ".htm", "htm;html");
  if (!file) return;
  const std::string name = *file;
  AbortFlag = 0;
  ExportTableHtml(*this, name);
  if (AbortFlag) return;
  StartHtmlBrowser(name);
}

void Tdbf4::PrintClick() {
  if (!tzdbf.Active()) return;
  PrintTable(*this);
}

void Tdbf4::HelpDbfClick() {
  common::ShowHelpText(0, 1);
  AbortFlag = 0;
}

void Tdbf4::HelpCommonClick() {
  common::ShowHelpText(3210, 1);
  AbortFlag = 0;
}

void Tdbf4::HelpImageClick() {
  common::ShowHelpText(0, 2);
  if (shown_) CurrentTableWindowView().BringToFront(*this);
  AbortFlag = 0;
}

void Tdbf4::HelpFileClick() { common::ShowMessageText(Label_filename); }

// ---- The single window -------------------------------------------------------------

Tdbf4& DbfForm() {
  if (!WindowHolder()) CreateTableWindow();
  return *WindowHolder();
}

void CreateTableWindow() {
  if (!WindowHolder()) WindowHolder() = std::make_unique<Tdbf4>();
}

void FreeTableWindow() { WindowHolder().reset(); }

bool TableWindowExists() { return WindowHolder() != nullptr; }

}  // namespace dbase
