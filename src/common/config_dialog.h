// The configuration dialog without its window: the nine pages with their
// controls (names, captions, items), the values the controls show, the copy
// of every setting of the configuration file into them (ConfigToDialog) and
// back with the rules of the dialog (DialogToConfig), the buttons that
// write defaults or fetch values, the visibility rules, and Save, Import,
// Export, OK and Cancel. The settings are those of config_file.h; the Qt
// dialog (common/ui/config_form.h) only shows these values.
//
// A dialog session keeps the settings as they were when it opened: Cancel
// puts them back, also after an import, so that only OK and Save change the
// running program.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/cad_settings.h"
#include "common/config_file.h"
#include "common/graphics_settings.h"
#include "common/range_array.h"
#include "common/value_edit.h"

namespace common {

// ---- The pages and their controls ----------------------------------------------

struct TConfigPage {
  std::string name;     // "Tab_dir"
  std::string caption;  // "Directories"
};
// The nine pages in their order.
const std::vector<TConfigPage>& ConfigPages();

enum class ConfigControlKind { Edit, Check, Radio, Combo, Spin };

// One control of a page; a control may have a button beside it.
struct TConfigControl {
  std::string page;
  std::string name;     // "Edit_dirdbf"
  std::string caption;  // the label or the check box's or radio group's text
  ConfigControlKind kind = ConfigControlKind::Edit;
  std::vector<std::string> items;  // radio and combo items
  std::string button;              // "Button_dirdbf"; empty for none
  std::string buttonCaption;
  int minimum = 0, maximum = 0;    // spin edits
};
// Every control that shows one setting, page by page in layout order. The
// colour panels, the layer grid, the plot command lines and the printout
// font are laid out by the window itself (below).
const std::vector<TConfigControl>& ConfigControls();

// The five line types of the layer grid's rows.
extern const std::array<const char*, 5> LayerLineTypes;
// The names of the 16 colours ("red" ... "black"), colour numbers 1..16.
extern const std::array<const char*, 16> ColourNames;
// TextLines 1..16 := the colour names.
void SetColourNames();
// The list entries of the colour choice: number " (" name ")".
std::vector<std::string> ColourChoiceItems();

// ---- The values the controls show ------------------------------------------------

struct TConfigDialogValues {
  std::map<std::string, std::string> text;  // edits
  // The edits of real numbers as ConfigToDialog showed them: an edit the
  // user left as it was gives back the exact setting, not the rounded
  // number its few digits show.
  std::map<std::string, ValueEdit> reals;
  // The edits of whole numbers as ConfigToDialog showed them: the text a
  // refused entry goes back to.
  std::map<std::string, std::string> wholes;
  std::map<std::string, int> index;         // radio groups, combo boxes, spin edits
  std::map<std::string, bool> check;        // check boxes
  RangeArray<ColourValue, 0, 15> panelColours;  // Panel_color0..15 = colour indexes 1..16
  ColourValue backgroundColour = 0;
  // The layer grid, rows 1..5: layer name, colour number, line thickness.
  std::array<std::array<std::string, 3>, 5> layers;
  std::array<std::array<std::string, 3>, 5> layersShown;  // as ConfigToDialog showed them
  int layerRow = 1, layerColumn = 1;        // the selected cell (row 1..5, column 0..2)
  std::array<std::string, MaxPlotCommandLines> plotLines;
  int plotCount = 1;
  int plotSelected = 0;                     // list index 0..4
  int printFontStyle = 0;                   // style code of the printout font
  int graphFontStyle = 0;                   // style code of the graphics font

  std::string& Text(const std::string& name) { return text[name]; }
};

// The screen the pixel rules fall back on: its size, and the difference
// between the dialog's client size and its outer size.
struct TConfigScreen {
  int width = 0, height = 0;
  int frameDx = 0, frameDy = 0;
};

// Every setting into the controls.
void ConfigToDialog(TConfigDialogValues& v);
// The number edits and the layer grid's colour and line-thickness cells
// checked before the values are taken (value_edit.h): a text that is no
// number, or no finite one, is refused with a message naming the field by
// its caption ("zoom increment: "abc" is not a number !"), the field shows
// what ConfigToDialog showed again, and false is returned. An edit the user
// left as it was always passes; an empty one passes and is taken as 0 by
// the rules, as before.
bool ConfigNumbersAccepted(TConfigDialogValues& v);
// The controls back into the settings, with the dialog's rules (pixel
// fields, zero factors, scales, angles in degrees, the text window).
void DialogToConfig(const TConfigDialogValues& v, const TConfigScreen& screen);

// The printout font's style as its name ("bold italic") and its code.
std::string PrintFontStyleText(const TConfigDialogValues& v);

// ---- Buttons and rules ------------------------------------------------------------

// A button that writes a default or fetches a value into the controls
// (directory and file buttons ask through the platform dialogs; the colour
// and font choices too; "Button_conftramlin" calls the plot-line editor).
// Unknown names do nothing; true when the name was a button of the dialog.
bool ConfigButtonClick(TConfigDialogValues& v, const std::string& button);
// The editor of one plot command line (the plot utility's settings form);
// installed by the application. Without it "Config" edits the line as text.
std::function<void(std::string&)>& ConfigPlotLineEditor();
// The screen size for the text-window and pixel buttons; tests fix it.
TConfigScreen ConfigScreenNow();

// Colour panel n (0..15) clicked: the colour dialog for its colour.
void ConfigColourPanelClick(TConfigDialogValues& v, int n);

// The controls hidden by the visibility rules (drawing-head style, border
// variant, size codes).
std::set<std::string> HiddenConfigControls(const TConfigDialogValues& v);
// The border variant goes back to 0 when the drawing-head style is 0 or 3.
void ConfigHeadStyleChanged(TConfigDialogValues& v);

// A dialog session: the settings as they were at its start; ConfigToDialog
// fills the values.
class ConfigDialogSession {
 public:
  ConfigDialogSession();
  TConfigDialogValues& Values() { return values_; }

  // OK, Save and Export first check the numbers (ConfigNumbersAccepted):
  // refused, nothing is taken or written, the dialog stays open with the
  // refused field showing its old text, and they return false.
  // OK: the values into the settings; the dialog closes.
  bool Ok(const TConfigScreen& screen);
  // Cancel: every setting as at the start; the dialog closes.
  void Cancel();
  // "&Save": the values into the settings and the configuration file.
  bool Save(const TConfigScreen& screen);
  // Import: a configuration file chosen in an open dialog ("*.cfg") is read
  // and shown; the running settings stay until OK. Cancelled: AbortFlag.
  void Import();
  // Export: the values into the settings, a save dialog ("*.cfg") and the
  // file written there. Cancelled: AbortFlag.
  bool Export(const TConfigScreen& screen);

 private:
  std::unique_ptr<KeptSettings> start_;
  TConfigDialogValues values_;
};

// Shows the configuration dialog (installed by the Qt layer); without a
// window, nothing is shown and AbortFlag is set.
std::function<void()>& ConfigDialogView();
void ShowConfigDialog();

}  // namespace common
