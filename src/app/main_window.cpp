// The main window without its window system; see main_window.h.
#include "app/main_window.h"

#include <filesystem>

#include "app/data_file.h"
#include "app/entry_points.h"
#include "app/main_menu.h"
#include "app/menu_mnemonics.h"
#include "app/menu_vocabulary.h"
#include "calc/noncircular_pair.h"
#include "common/file_utils.h"
#include "common/display_list.h"
#include "common/graphics_facade.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/menu_captions.h"
#include "common/message_list.h"
#include "common/session_file.h"
#include "common/small_dialogs.h"
#include "drawing/cad/cad_blocks.h"
#include "platform/system.h"

namespace app {

std::string MainCaption;
std::function<void()> CloseMainWindow;

namespace {

using common::AbortFlag;

// The message item's caption and enabling.
void SetMessageMenuItem() {
  TMenuItem& item = MenuItem("mi_helpErrorMessages");
  item.caption = common::MenuCaptions[common::CapErrorMessages] + " (" + std::to_string(common::MsgCount) + ")";
  item.enabled = common::MsgCount > 0;
  MakeMainMenuMnemonicsUnique();
}

// The start picture of the PLT directory for the menu language: under
// German menus its German one ("start_de"), where the directory holds it;
// empty where there is none.
std::string StartPictureName() {
  const std::string dir = common::AddBackslash(common::PltDirectory);
  if (common::LanguageCode == 1 && common::FileCanOpen(dir + "start_de.plt")) return "start_de";
  return common::FileCanOpen(dir + "start.plt") ? "start" : "";
}

// The start picture drawn last and what it left in the display list: its
// hint speaks the menus' language, so a change of language draws it again
// while the screen still shows it.
std::string ShownStartPicture;
common::TDisplayList ShownStartList;

void ShowStartPicture() {
  const std::string picture = StartPictureName();
  if (picture.empty()) return;
  common::ClearGraphics();
  common::PlotToPltFile(picture);
  ShownStartPicture = picture;
  ShownStartList = common::DisplayList;
}

// Whether the screen still shows the start picture drawn last (a picture
// put back after a form's help picture counts as well).
bool StartPictureShows() {
  const common::TDisplayList& list = common::DisplayList;
  if (ShownStartPicture.empty() || list.size() != ShownStartList.size()) return false;
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i] != ShownStartList[i]) return false;
  return true;
}

// A path as the session keeps it: absolute, so that the list stays valid
// whatever the working directory.
std::string AbsolutePath(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  return common::AddBackslash(platform::CurrentDirectory()) + path;
}

}  // namespace

void InitProgramConstants() { common::SetProgramIdentity(); }

void MainFormCreate() {
  // Captions first in the default language; the configured one follows.
  SetMenuCaptions();
  common::InitGraphDisplayList();
  InitProgramConstants();
  LocateRecentFileMenu();
  UpdateRecentFileMenu();
  Entry().CreateTableWindow();

  // The normal start: the start window with the logo, the first
  // calculation of the design in memory and its picture.
  AbortFlag = 0;
  common::GraphWindow(true, false, 0, 0, 1, 1, 0, 0, 640, 480);
  common::GraphLogo();
  AbortFlag = 0;
  calc::CalcNoncircularPair();
  AbortFlag = 0;
  common::DataChanged = 0;
  SetMessageMenuItem();
  Entry().RedrawCurrentView();
  AbortFlag = 0;
  ShowStartPicture();

  AbortFlag = 0;
  UpdateMainCaption();
  if (common::LanguageCode < 1) {
    // No language configured: the English texts, as everywhere else.
    common::SetMenuLanguage(0);
    SetMenuVocabulary(2);
    SetMenuCaptions();
    SetMessageMenuItem();
  } else {
    SetLanguage(common::LanguageCode);
  }
}

bool MainFormCloseQuery() {
  AbortFlag = 0;
  QuerySaveChanges();
  if (AbortFlag) return false;
  DeleteTempFiles();
  return true;
}

void MainFormDestroy() {
  common::WriteSessionFile();
  Entry().FreeTableWindow();
}

void UpdateMainCaption() {
  MainCaption = common::UpdateAppTitle();
  UpdateRecentFileMenu();
}

void UpdateMessageMenu() {
  SetMessageMenuItem();
  Entry().RedrawCurrentView();
}

void MainFormClick() { SetMessageMenuItem(); }

void RefreshMessageMenuItem() { SetMessageMenuItem(); }

void SetLanguage(int code) {
  const bool startShows = StartPictureShows();
  common::LanguageCode = static_cast<std::uint16_t>(code);
  common::SetMenuLanguage(code);
  SetMenuVocabulary(code);
  SetMenuCaptions();
  SetMessageMenuItem();
  UpdateMainCaption();
  if (startShows && StartPictureName() != ShownStartPicture) ShowStartPicture();
}

void QuerySaveChanges() {
  if (StartedWithFile && common::ArchiveFlag) {
    common::DataChanged = 0;
    return;
  }
  if (!common::DataChanged) return;
  if (!common::CurrentFileName.empty()) {
    const std::string shown = StartedWithFile ? common::CurrentFileName
                                              : common::DesignFilePath(common::DataDirectory, common::CurrentFileName);
    const bool yes = common::AskYesNoCancel("Save file (" + shown + ") ?");
    if (AbortFlag) return;
    if (yes) {
      SaveDataFile(common::CurrentFileName);
      // A failed save keeps the question for the next time.
      if (AbortFlag) return;
    }
    common::DataChanged = 0;
    return;
  }
  // A design without a name is offered the same three answers: Yes saves
  // it under a name the user picks in the file dialog, No discards it.
  const bool yes = common::AskYesNoCancel("Save file ?");
  if (AbortFlag) return;
  if (yes) {
    WriteDataFile("");
    // A cancelled file dialog or a failed save keeps the question for the
    // next time, and the window open.
    if (AbortFlag) return;
    AddRecentFile(common::CurrentFileName);
    UpdateMainCaption();
  }
  common::DataChanged = 0;
}

bool DeleteTempFiles() {
  AbortFlag = 0;
  drawing::DeleteRecordedBlockFiles();
  return true;
}

std::string ShortenPath(const std::string& path) {
  if (path.size() < 50) return path;
  const std::size_t first = path.find_first_of("\\/");
  const std::size_t last = path.find_last_of("\\/");
  if (first == std::string::npos || last <= first) return path;
  return path.substr(0, first + 1) + "..." + path.substr(last);
}

void RemoveRecentFile(int n) {
  if (n < 1 || n > 4) return;
  for (int i = n; i < 4; ++i) common::RecentFiles[i] = common::RecentFiles[i + 1];
  common::RecentFiles[4].clear();
}

void AddRecentFile(const std::string& name) {
  if (name.empty()) return;
  const std::string full = AbsolutePath(common::DesignFilePath(common::DataDirectory, name));
  // File names compare exactly here: two names that differ in case are two files.
  for (int n = 4; n >= 1; --n)
    if (common::RecentFiles[n] == full) RemoveRecentFile(n);
  for (int i = 4; i > 1; --i) common::RecentFiles[i] = common::RecentFiles[i - 1];
  common::RecentFiles[1] = full;
}

void OpenRecentFile(int n) {
  QuerySaveChanges();
  if (AbortFlag || n < 1 || n > 4) return;
  const std::string path = common::RecentFiles[n];
  if (path.empty()) return;
  if (!common::FileCanOpen(path)) {
    RemoveRecentFile(n);
    SetMenuCaptions();
    common::ShowMessageText("File " + path + " not found !");
    return;
  }
  // Read by its full name, so that a failed read leaves the current
  // design's name and directory as they were.
  ReadDataFile(path);
  if (!AbortFlag) {
    common::CurrentFileName = common::DesignNameOfFile(path);
    common::DataDirectory = common::FileDirPart(path);
    AddRecentFile(common::CurrentFileName);
    common::DataChanged = 0;
    UpdateMessageMenu();
  }
  UpdateMainCaption();
}

}  // namespace app
