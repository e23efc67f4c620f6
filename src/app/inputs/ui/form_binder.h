// The tie between an input dialog's widgets and its headless form state
// (the display texts, check states, list positions and visibilities of
// material_input.h, lubricant_input.h and strength_input.h): Pull copies
// what the user typed into the state, Push shows the state again (a widget
// it shows makes its window grow to the room its layout then needs, one it
// hides gives that room back), and Act runs a button's routine between the
// two. Texts are UTF-8 display texts on both sides.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QString;
class QWidget;

namespace app::ui {

class FormBinder {
 public:
  void Edit(QLineEdit* edit, std::string* text);
  void Check(QCheckBox* box, bool* state);
  void Combo(QComboBox* combo, int* index);
  void Radio(QButtonGroup* group, int* id);
  // One way, state to widget.
  void Label(QLabel* label, const std::string* text);
  void Visible(QWidget* widget, const bool* visible);
  void Enabled(QWidget* widget, const bool* enabled);

  void Pull() const;
  void Push() const;
  // Pull, the action, Push.
  void Act(const std::function<void()>& action) const;

 private:
  std::vector<std::pair<QLineEdit*, std::string*>> edits_;
  std::vector<std::pair<QCheckBox*, bool*>> checks_;
  std::vector<std::pair<QComboBox*, int*>> combos_;
  std::vector<std::pair<QButtonGroup*, int*>> radios_;
  std::vector<std::pair<QLabel*, const std::string*>> labels_;
  std::vector<std::pair<QWidget*, const bool*>> visible_;
  std::vector<std::pair<QWidget*, const bool*>> enabled_;
};

// Widgets named as the dialogs name them (Edit_<quantity>, Label_<...>,
// Button_<...>); buttons never act on Enter unless made the default.
QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption);
QLineEdit* NewEdit(QWidget* parent, const QString& name);
QLabel* NewLabel(QWidget* parent, const QString& name, const QString& caption);
// A long caption wraps after about 27 characters, so that the dialogs with
// two columns of values fit a screen 1024 pixels wide.
QLabel* WrapCaption(QLabel* label);
// A "<" proposal button.
QPushButton* NewProposalButton(QWidget* parent, const QString& name);
// A button as wide as its caption (short captions such as "?" or "2.5").
QPushButton* NewNarrowButton(QWidget* parent, const QString& name, const QString& caption);
// An edit of a number: about eight digits wide.
QLineEdit* NewNumberEdit(QWidget* parent, const QString& name);

}  // namespace app::ui
