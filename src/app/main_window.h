// The main window of the program, without its window system: what happens
// when it is created, closed and destroyed, its caption, the entry of the
// message menu, the interface language, the save question and the four most
// recent data files. The Qt window (app/ui/main_window_form.h) shows the
// menu model of main_menu.h and calls these routines from its events.
#pragma once

#include <functional>
#include <string>

namespace app {

// The caption of the main window (display text), set by UpdateMainCaption.
extern std::string MainCaption;

// Closes the main window (the Exit item); the window system installs it.
// Without a window it does nothing.
extern std::function<void()> CloseMainWindow;

// The program identity (version, names, data-file extension, title).
void InitProgramConstants();

// FormCreate: captions for the default language, the display list of the
// graphics window, the recent files in the File menu, the table window, the
// first calculation of the current design and its picture, the start
// picture when there is one, the caption and the configured language. The
// configuration and session files and the default design were read by the
// program start-up before.
void MainFormCreate();
// FormCloseQuery: the save question, then (when closing is allowed) the
// temporary files. True when the window may close.
bool MainFormCloseQuery();
// FormDestroy: the session file with the recent files; the table window
// is freed.
void MainFormDestroy();

// Caption from program title, version and data file; the recent-file items.
void UpdateMainCaption();
// The message item's caption "&Error messages (n)", enabled while n > 0;
// then the current view is redrawn.
void UpdateMessageMenu();
// The same without the redraw (a click into the window).
void MainFormClick();
// The message item's caption and enabling from the list as it stands: the
// window calls it whenever it shows its menu, so that the count follows
// every change of the list, also one that no calculation made (a refused
// file, a picture's findings).
void RefreshMessageMenuItem();
// The interface language: the common captions, the menu vocabulary and
// every menu caption for the code.
void SetLanguage(int code);

// Changed data: asks whether to save them, with Yes (save), No (discard)
// and Cancel. A named design is saved under its name; a design without a
// name is saved under the name the user picks in the file dialog (it then
// has that name and joins the recent files). Cancel, a cancelled file
// dialog or a failed save leave AbortFlag set and DataChanged as it was.
void QuerySaveChanges();
// Removes the drawing block files this run wrote into the temporary
// directory; any other file there stays. Returns true.
bool DeleteTempFiles();

// Recent files (SessionSettings, entry 1 the most recent).
// A path of 50 characters or more with a first separator ('\' or '/') and a
// later last one keeps both and puts "..." between them.
std::string ShortenPath(const std::string& path);
void RemoveRecentFile(int n);
// Puts the data file name (in DataDirectory) first, without duplicates.
void AddRecentFile(const std::string& name);
// Opens recent file n (the menu items "&1" .. "&4").
void OpenRecentFile(int n);

}  // namespace app
