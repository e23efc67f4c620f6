// What the core asks the user: message boxes and questions, a choice from a
// list, a line of text (numbers are entered as text and parsed by the core,
// so the configured decimal sign applies), open and save file names, a page
// of text lines, the beep and the busy cursor.
//
// The core's small dialog routines (select, yes/no, inputs, messages, file
// checks in src/common) call the implementation installed here; they convert
// program texts (code page 850) to display text (UTF-8) before the call and
// back after it, so every text crossing this interface is UTF-8.
// Implementations: scripted_dialogs.h (tests and batch mode, the default) and
// the Qt one under src/platform/qt/, installed by the windowing start-up.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The icon and the meaning of a message box.
enum class MessageKind {
  Plain,        // no icon ("Message:" boxes of ordinary kinds)
  Information,  // information icon
  Warning,      // warning icon
  Error,        // error icon ("Error  : " boxes)
  Question,     // question icon (yes/no/cancel questions)
};

// The button sets the program's message boxes use.
enum class MessageButtons {
  Ok,
  YesNo,
  YesNoCancel,
  RetryCancel,
};

// The button that closed a message box. Closing the box by Escape or the
// window frame gives the set's cancelling button (Cancel; No for YesNo;
// Ok for Ok).
enum class DialogButton {
  Ok,
  Cancel,
  Yes,
  No,
  Retry,
};

// The two help buttons of the small dialogs ("&Help Text", "Aux. &Image")
// show the help entry of the current help number and leave the dialog open;
// the core hands the action in, the implementation calls it on a click.
enum class HelpView { Text, Image };
using HelpAction = std::function<void(HelpView)>;

struct MessageRequest {
  std::string caption;
  std::string text;
  MessageKind kind = MessageKind::Plain;
  MessageButtons buttons = MessageButtons::Ok;
};

// How a choice is shown: a list box (long lists) or a radio group (short
// lists, and the yes/no question). Both return the same answer.
enum class ChoiceStyle { List, Radio };

struct ChoiceRequest {
  std::string caption;        // window caption ("Select", "Input")
  std::string prompt;         // label above the items
  std::string groupCaption;   // caption of the radio group ("Select"); may be empty
  std::vector<std::string> items;
  int preselected = 0;        // 0-based index of the preselected item
  ChoiceStyle style = ChoiceStyle::List;
  HelpAction help;            // may be empty: no help buttons
  bool helpImage = true;      // the picture button too (the entry has a picture)
};

// The maxLength of an input that takes a text of any length (a path).
constexpr int NoLengthLimit = -1;

struct TextInputRequest {
  std::string caption;   // "Input"
  std::string prompt;    // word-wrapped label
  std::string initial;   // the edit field's start text
  int maxLength = 255;   // at most this many characters can be entered; NoLengthLimit: any number
  HelpAction help;
  bool helpImage = true;  // the picture button too (the entry has a picture)
};

struct FileNameRequest {
  std::string caption;
  std::string directory;  // start directory; empty: the implementation's choice
  std::string fileName;   // preset name (save dialogs)
  // Filter pairs "description|pattern|description|pattern...", patterns
  // separated by ';' ("*.vb4"); empty: all files.
  std::string filter;
  // The extension of the format chosen for (no dot): the program adds it to
  // a typed name that lacks it (NameWithExtension of common/file_utils.h);
  // an open dialog reads a file that is there as chosen and also takes a
  // name that is not there as typed ("pump.v1" for "pump.v1.vb4",
  // NameToRead). Further extensions the format takes may follow, each after
  // a ';' ("htm;html"); "*" takes a name with any extension. Empty: names
  // are taken as they are.
  std::string extension;
};

// A font as the font dialog shows and returns it.
struct FontChoice {
  std::string face;
  int size = 10;  // points
  bool bold = false, italic = false, underline = false, strikeout = false;
  bool operator==(const FontChoice&) const = default;
};

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // A modal message box; returns the button that closed it.
  virtual DialogButton ShowMessage(const MessageRequest& request) = 0;

  // A modal choice; the 0-based index of the chosen item, or nothing when
  // the user cancelled.
  virtual std::optional<int> ChooseItem(const ChoiceRequest& request) = 0;

  // A modal one-line input; the entered text (at most maxLength
  // characters), or nothing when the user cancelled.
  virtual std::optional<std::string> InputText(const TextInputRequest& request) = 0;

  // Common file dialogs: the chosen full file name, or nothing on Cancel.
  virtual std::optional<std::string> OpenFileName(const FileNameRequest& request) = 0;
  virtual std::optional<std::string> SaveFileName(const FileNameRequest& request) = 0;

  // The common colour dialog; colours as 0x00BBGGRR (red in the low byte,
  // as the colour settings hold them). Nothing on Cancel.
  virtual std::optional<std::uint32_t> ChooseColour(const std::string& caption, std::uint32_t initial) = 0;

  // The common font dialog. Nothing on Cancel.
  virtual std::optional<FontChoice> ChooseFont(const std::string& caption, const FontChoice& initial) = 0;

  // A page of text lines with an OK button.
  virtual void ShowTextPage(const std::string& caption, const std::vector<std::string>& lines) = 0;

  // The warning beep before an out-of-range input is asked again.
  virtual void Beep() = 0;

  // Hour-glass (true) or arrow (false) cursor.
  virtual void SetBusyCursor(bool busy) = 0;
};

// The implementation in use. Until one is installed, a scripted
// implementation with an empty queue answers every question with its
// cancelling answer, so a headless run never waits for a user.
UserDialogs& Dialogs();

// Installs an implementation (not owned; it must outlive its use). nullptr
// returns to the built-in scripted default. Returns the previous one.
UserDialogs* SetDialogs(UserDialogs* dialogs);

// Installs an implementation for the lifetime of the object (tests).
class ScopedDialogs {
 public:
  explicit ScopedDialogs(UserDialogs& dialogs) : previous_(SetDialogs(&dialogs)) {}
  ~ScopedDialogs() { SetDialogs(previous_); }
  ScopedDialogs(const ScopedDialogs&) = delete;
  ScopedDialogs& operator=(const ScopedDialogs&) = delete;

 private:
  UserDialogs* previous_;
};

}  // namespace platform
