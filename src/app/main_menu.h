// The main menu as a model: every item with its name ("mi_" + path), its
// place, caption, shortcut, visibility and enabling, and what a click on it
// does. The Qt window builds its menu bar from this list and shows it again
// after every click; tests click items by name without a window.
#pragma once

#include <string>
#include <vector>

namespace app {

struct TMenuItem {
  std::string name;      // "mi_fileNew"
  std::string parent;    // the menu it stands in; empty for the menu bar
  std::string caption;   // display text with its '&' accelerator
  std::string shortcut;  // "Ctrl+N", "Shift+F1"; empty for none
  bool separator = false;
  bool visible = true;
  bool enabled = true;
};

// The items in menu order (a menu's items follow it in this list).
std::vector<TMenuItem>& MainMenu1();
// The item of the name; throws std::out_of_range for an unknown name.
TMenuItem& MenuItem(const std::string& name);
// The items standing directly in a menu, in order.
std::vector<TMenuItem*> MenuChildren(const std::string& parent);

// Every caption for the current language (common captions and the menu
// vocabulary), the shortcuts, and the recent-file items.
void SetMenuCaptions();
// RecentMenuPos := the position of the Exit item in the File menu.
void LocateRecentFileMenu();
// The separator above Exit shows while a recent file exists; the items
// "&1".."&4" show the recent files.
void UpdateRecentFileMenu();

// Runs the handler of the item (the menu click). Unless the item is one
// of Exit, About, System Info, the language and web items and the second
// strength printout, AbortFlag is cleared first; the handler stops at the
// first step that leaves it set.
void MenuItemClick(const std::string& name);
// Whether the item has a handler (every item that is not a submenu or a
// separator has one).
bool HasMenuHandler(const std::string& name);

// The addresses of the web items.
extern const char* const ProgramInfoPageBase;
extern const char* const MakerHomePage;

}  // namespace app
