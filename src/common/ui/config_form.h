// The configuration dialog (Tconfig): nine tab pages over every setting of
// the configuration file, with OK, Cancel, Save, Import and Export. The
// pages, controls, rules and buttons are common/config_dialog.h; this window
// lays the controls out, shows the values and hands every click to that
// model. The colour panels, the layer grid, the plot command lines and the
// printout font's style labels are laid out here.
#pragma once

#include <QDialog>
#include <map>
#include <string>

#include "common/config_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QButtonGroup;

namespace common::ui {

class Tconfig : public QDialog {
  Q_OBJECT

 public:
  explicit Tconfig(QWidget* parent = nullptr);

  QTabWidget* Pages() const { return pages_; }
  // The control of the name (QLineEdit, QCheckBox, QComboBox, QSpinBox, a
  // radio group's QWidget, QPushButton, QTableWidget, QListWidget).
  QWidget* Control(const std::string& name) const;
  ConfigDialogSession& Session() { return session_; }

  // The buttons' actions.
  void Button_okClick();
  void Button_cancelClick();
  void Button_saveClick();
  void Button_importClick();
  void Button_exportClick();
  // Any other button of the model (defaults, choices, helps).
  void ModelButtonClick(const std::string& name);

 protected:
  void reject() override;
  // A double click on the printout-font edit and a click on its style labels
  // open the font dialog as the button does.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildPage(const std::string& page);
  void BuildColourPage(QWidget* page);
  void BuildLayerGrid(QWidget* page);
  // The widgets into the model and back.
  void ReadControls();
  void ShowValues();
  void ApplyVisibility();
  TConfigScreen Screen() const;

  ConfigDialogSession session_;
  QTabWidget* pages_ = nullptr;
  std::map<std::string, QWidget*> controls_;
  std::map<std::string, QButtonGroup*> radios_;
  std::map<std::string, QWidget*> labels_;  // the form labels of the rows
  QTableWidget* layers_ = nullptr;
  QListWidget* plotLines_ = nullptr;
  QLabel* styleName_ = nullptr;
  QLabel* styleCode_ = nullptr;
  bool showing_ = false;
  bool closed_ = false;
};

// The dialog, modal over the active window.
void ShowConfigWindow();

}  // namespace common::ui
