// The settings form of the plot utility ("TForm_conftramlin"): program
// path, output code, interface and ports, output directory, scale, turn,
// shifts, text factor and PostScript font. Every change rebuilds the
// command line (drawing/plot_utility.h) and shows it; the caller takes it
// after OK. The form always starts from the utility's defaults.
#pragma once

#include <QDialog>
#include <string>

#include "drawing/cad/plot_utility.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace drawing::ui {

class TForm_conftramlin : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_conftramlin(QWidget* parent = nullptr);

  // The settings the controls hold now.
  TPlotFormSettings Settings() const;
  // The line shown in Label_commandline.
  const std::string& CommandLine() const { return commandLine_; }

 private:
  void BuildPlotCommandLine();
  void RadioGroup_outcodeClick();
  void RadioGroup_dClick();
  void CheckBox_scaleClick();
  void Button_tramlinpathClick();
  void Button_outDirClick();
  void Button_tempdirClick();
  void Button_okClick();
  void Button_cancelClick();
  void Button_helpClick();

  QLineEdit* Edit_tramlinPath = nullptr;
  QButtonGroup* RadioGroup_outcode = nullptr;
  QButtonGroup* RadioGroup_d = nullptr;
  QLineEdit* Edit_com = nullptr;
  QLineEdit* Edit_lpt = nullptr;
  QLineEdit* Edit_outdir = nullptr;
  QLineEdit* Edit_scale = nullptr;
  QCheckBox* CheckBox_scale = nullptr;
  QCheckBox* CheckBox_rotate = nullptr;
  QLineEdit* Edit_xnull = nullptr;
  QLineEdit* Edit_ynull = nullptr;
  QLineEdit* Edit_textbreitenfaktor = nullptr;
  QComboBox* ComboBox_psfont = nullptr;
  QLabel* Label_commandline = nullptr;
  std::string commandLine_;
};

// The editor of a stored command line that the device choice opens: OK
// replaces the line by the form's, Cancel keeps it and sets AbortFlag.
void EditPlotCommandLine(std::string& commandLine);

}  // namespace drawing::ui
