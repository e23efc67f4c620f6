// The user dialogs (platform/user_dialogs.h) as Qt 6 Widgets: message
// boxes, the choice dialogs (a list box or a radio group), the one-line
// input, the common file, colour and font dialogs, the page of text lines,
// the beep and the busy cursor. Every dialog is modal over the active
// window; Enter closes it as OK and Escape as Cancel; the choice and input
// dialogs carry the two help buttons when the core hands in a help action.
//
// InstallQtPlatform() puts these dialogs and the screen queries in place
// once a QApplication exists; the core keeps calling the interfaces only.
#pragma once

#include "platform/user_dialogs.h"

class QDialog;
class QWidget;

namespace platform::qt {

class QtUserDialogs : public UserDialogs {
 public:
  DialogButton ShowMessage(const MessageRequest& request) override;
  std::optional<int> ChooseItem(const ChoiceRequest& request) override;
  std::optional<std::string> InputText(const TextInputRequest& request) override;
  std::optional<std::string> OpenFileName(const FileNameRequest& request) override;
  std::optional<std::string> SaveFileName(const FileNameRequest& request) override;
  std::optional<std::uint32_t> ChooseColour(const std::string& caption, std::uint32_t initial) override;
  std::optional<FontChoice> ChooseFont(const std::string& caption, const FontChoice& initial) override;
  void ShowTextPage(const std::string& caption, const std::vector<std::string>& lines) override;
  void Beep() override;
  void SetBusyCursor(bool busy) override;

 private:
  bool busy_ = false;
};

// The choice and input dialogs, built but not shown (tests drive them).
QDialog* CreateChoiceDialog(const ChoiceRequest& request, QWidget* parent);
// The 0-based chosen item of a choice dialog.
int ChoiceDialogSelection(QDialog* dialog);
QDialog* CreateTextInputDialog(const TextInputRequest& request, QWidget* parent);
std::string TextInputDialogText(QDialog* dialog);

// A Qt file-dialog filter from "description|pattern|description|pattern"
// (patterns separated by ';'): "description (pattern1 pattern2);;...".
// A lone pattern without description is shown as itself.
std::string QtFileFilter(const std::string& filter);

// Installs QtUserDialogs and the screen size and resolution queries.
void InstallQtPlatform();

}  // namespace platform::qt
