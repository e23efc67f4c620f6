// Numbered help entries: the "&Help Text" and "Aux. &Image" actions of every
// dialog and the one-line control hints. An entry n (a multiple of 5) is up
// to five text lines under the keys n .. n+4 of a plain help file in the PLT
// directory ("kaldrim.hlp" below 4000, the program's own ".hlp" file from
// 4000 on), with an optional picture, an HP-GL plot file drawn in the
// graphics window. The auxiliary-image list (aux_images.h) shows its
// pictures the same way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/user_dialogs.h"

namespace common {

// The current help entry, set by a dialog before it runs.
extern std::uint16_t HelpNumber;
void SetHelpNumber(int n);
void SetHelpNumber2(int n);

// The file that holds entry n.
std::string HelpFileName(int n);

// "help text No <n>: No help available."
std::string NoHelpText(int n);
// "help text No <n>: No auxiliary image.": the picture button of an entry
// without a picture.
std::string NoHelpPictureText(int n);

// The looked-up entry: up to five lines in the stored code page and the
// picture name ("NULL" for none). `found` is false for a missing file or
// entry, whose one line then says so.
struct HelpEntry {
  std::vector<std::string> lines;
  std::string picture = "NULL";
  bool found = false;
};
HelpEntry LookUpHelp(int n);
// Whether entry n names a picture whose plot file exists: a picture button
// is offered only where there is a picture to show.
bool HelpHasPicture(int n);

// Shows entry n (0: HelpNumber). mode 0: message box and picture; 1: message
// box only; 2: picture only. picture receives the entry's picture name.
// An entry without a picture (or whose plot file is missing) leaves the
// graphics window as it is; mode 2 then says that there is no picture.
// AbortFlag is clear afterwards: a missing entry never stops the caller.
void ShowHelpText(int n, std::string& picture, int mode);
void ShowHelpText(int n, int mode);
// ShowHelpText(HelpNumber, message box only).
void ShowCurrentHelp();

// The entry as one display line (hints); with HelpLevel 2 or more " (n)"
// follows the text.
std::string GetHelpText(int n);
std::string GetHelpText2(int n);

// The help buttons of the small dialogs: the current entry as text or as
// picture.
void ShowHelpView(platform::HelpView view);
platform::HelpAction CurrentHelpAction();
// The help buttons of a small dialog: the current entry as text, and as
// picture only where the entry has one.
template <class Request>
void AttachCurrentHelp(Request& request) {
  request.help = CurrentHelpAction();
  request.helpImage = HelpHasPicture(HelpNumber);
}

// Shows a picture of the PLT directory (name without ".plt") on a cleared
// graphics window.
void PlotToPltFile(const std::string& name);

// A help picture: the graphics window cleared, its world window set to
// (0, 0, 160, 120) and, unless plotFile is empty, the HP-GL file drawn by
// the plot-file drawer.
void ShowHelpPicture(const std::string& plotFile);
// The drawer of HP-GL plot files into the graphics window, installed by the
// plot-file viewer; until then no picture is drawn.
using PlotFileDrawer = std::function<void(const std::string& plotFile)>;
PlotFileDrawer SetPlotFileDrawer(PlotFileDrawer drawer);
// Told after a help picture was drawn: the window system shows it where an
// open form does not hide it (common/ui/picture_window.h), and says whether
// it did so in a window of its own; then the graphics window gets back the
// picture it showed. Returns the one installed before.
using HelpPictureShower = std::function<bool()>;
HelpPictureShower SetHelpPictureShower(HelpPictureShower shower);

}  // namespace common
