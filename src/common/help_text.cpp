// Help-file lookup and display; see help_text.h.
#include "common/help_text.h"

#include <cctype>
#include <utility>

#include "common/code_page.h"
#include "common/file_utils.h"
#include "common/graphics_facade.h"
#include "common/kaldvar.h"
#include "common/kept_picture.h"
#include "common/text_file.h"
#include "common/text_utils.h"

namespace common {

std::uint16_t HelpNumber = 0;

void SetHelpNumber(int n) { HelpNumber = static_cast<std::uint16_t>(n); }
void SetHelpNumber2(int n) { HelpNumber = static_cast<std::uint16_t>(n); }

std::string HelpFileName(int n) {
  if (n < 4000) return AddBackslash(PltDirectory) + "kaldrim.hlp";
  return AddBackslash(PltDirectory) + LowerText(ProgramName) + ".hlp";
}

std::string NoHelpText(int n) { return "help text No " + std::to_string(n) + ": " + "No help available" + "."; }

std::string NoHelpPictureText(int n) {
  return "help text No " + std::to_string(n) + ": " + "No auxiliary image" + ".";
}

namespace {

PlotFileDrawer g_drawer;
HelpPictureShower g_shower;

// The key of a line: its first four characters as a number, -1 when they
// are not one.
int KeyOf(const std::string& line) {
  const std::string head = TrimBlanks(line.substr(0, 4));
  if (head.empty()) return -1;
  int key = 0;
  for (char c : head) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    key = key * 10 + (c - '0');
  }
  return key;
}

// The picture part of a key line: the text after the first ':', else "NULL".
std::string PictureOf(const std::string& line) {
  const auto colon = line.find(':');
  if (colon == std::string::npos) return "NULL";
  std::string picture = TrimBlanks(line.substr(colon + 1));
  return picture.empty() ? "NULL" : picture;
}

bool HasPicture(const std::string& picture) { return !picture.empty() && UpperText(picture) != "NULL"; }

}  // namespace

HelpEntry LookUpHelp(int n) {
  HelpEntry entry;
  const std::string name = HelpFileName(n);
  TextFile file;
  file.Assign(name);
  std::error_code ec;
  if (!file.Reset(ec)) {
    entry.lines = {"File " + name + " not found !"};
    return entry;
  }
  std::string line;
  while (!file.Eof() && file.ReadLine(line)) {
    const int key = KeyOf(line);
    std::string text = line;
    if (key >= 0) file.ReadLine(text);
    if (key != n) continue;
    entry.found = true;
    entry.picture = PictureOf(line);
    entry.lines.push_back(text);
    // Lines 2..5: the keys n+1 .. n+4 of this entry, or plain lines taken as
    // they are. The key of the next entry (a multiple of 5) ends it, and so
    // does any other key: the one-line hints of output rows sit at keys two
    // apart (n, n+2, ...), each an entry of its own.
    while (entry.lines.size() < 5 && !file.Eof()) {
      std::string next;
      if (!file.ReadLine(next)) break;
      const int k = KeyOf(next);
      if (k < 0) {
        entry.lines.push_back(next);
        continue;
      }
      if (k != n + static_cast<int>(entry.lines.size())) break;
      std::string keyText;
      file.ReadLine(keyText);
      entry.lines.push_back(keyText);
    }
    break;
  }
  file.Discard();
  if (!entry.found) entry.lines = {NoHelpText(n)};
  return entry;
}

bool HelpHasPicture(int n) {
  const HelpEntry entry = LookUpHelp(n);
  return entry.found && HasPicture(entry.picture) &&
         FileCanOpen(AddBackslash(PltDirectory) + entry.picture + ".plt");
}

void ShowHelpText(int n, std::string& picture, int mode) {
  if (n == 0) n = HelpNumber;
  const HelpEntry entry = LookUpHelp(n);
  picture = entry.picture;
  if (mode == 0 || mode == 1) {
    std::string text;
    for (const auto& line : entry.lines) text += OemToDisplayText(line) + " ";
    platform::Dialogs().ShowMessage({"HELP TEXT No." + std::to_string(n), text, platform::MessageKind::Information,
                                     platform::MessageButtons::Ok});
  }
  if (mode == 0 || mode == 2) {
    // The design picture on the screen gives way to a help picture only:
    // an entry without one, or whose plot file is missing, leaves it as it
    // was and says so (the picture button; the text box has said enough).
    const std::string file = HasPicture(entry.picture) ? AddBackslash(PltDirectory) + entry.picture + ".plt" : "";
    if (!file.empty() && FileCanOpen(file))
      ShowHelpPicture(file);
    else if (!file.empty())
      GraphMessage(file + " not found !");
    else if (mode == 2)
      platform::Dialogs().ShowMessage({"HELP TEXT No." + std::to_string(n), NoHelpPictureText(n),
                                       platform::MessageKind::Information, platform::MessageButtons::Ok});
  }
  AbortFlag = 0;
}

void ShowHelpText(int n, int mode) {
  std::string picture;
  ShowHelpText(n, picture, mode);
}

void ShowCurrentHelp() { ShowHelpText(HelpNumber, 1); }

std::string GetHelpText(int n) {
  const HelpEntry entry = LookUpHelp(n);
  // The lines joined by blanks; the missing lines of a short entry add none.
  std::string text;
  for (const auto& line : entry.lines) {
    if (line.empty()) continue;
    if (!text.empty()) text += ' ';
    text += OemToDisplayText(line);
  }
  // The number follows the (fifth) line at the higher help levels.
  if (entry.found && HelpLevel >= 2) text += " (" + std::to_string(n) + ")";
  return text;
}

std::string GetHelpText2(int n) { return GetHelpText(n); }

void ShowHelpView(platform::HelpView view) {
  ShowHelpText(HelpNumber, view == platform::HelpView::Text ? 1 : 2);
}

platform::HelpAction CurrentHelpAction() { return [](platform::HelpView view) { ShowHelpView(view); }; }

PlotFileDrawer SetPlotFileDrawer(PlotFileDrawer drawer) { return std::exchange(g_drawer, std::move(drawer)); }

HelpPictureShower SetHelpPictureShower(HelpPictureShower shower) { return std::exchange(g_shower, std::move(shower)); }

void ShowHelpPicture(const std::string& plotFile) {
  // A picture that a window of its own shows beside an open form leaves
  // the main window's picture as it was (a Cancel of the form finds it).
  KeptPicture kept;
  ClearGraphics();
  GraphHeader(0, 0, 160, 120);
  if (plotFile.empty() || !g_drawer) return kept.Forget();
  g_drawer(plotFile);
  if (!g_shower || !g_shower()) kept.Forget();
}

void PlotToPltFile(const std::string& name) { ShowHelpPicture(AddBackslash(PltDirectory) + name + ".plt"); }

}  // namespace common
