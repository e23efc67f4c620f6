// The two dialogs of the formula pieces: the list of the pieces with its
// action buttons (TForm_einarray) and the editor of one piece r = f(x) over
// an angle range (TForm_einteilkurve). The sequence and the checks are in
// app/inputs/pitch_curve_input.h; QtPitchCurveViews hands them these dialogs.
#pragma once

#include <QDialog>

#include "app/inputs/pitch_curve_input.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace app::ui {

class TForm_einarray : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_einarray(const PieceListRequest& request, QWidget* parent = nullptr);

  // The result after the dialog closed.
  PieceListResult Result() const { return result_; }

  QListWidget* List() const { return list_; }
  QPushButton* Button(const QString& objectName) const;

  // The buttons' actions (the click handlers).
  void Finish(int code);
  void Button_okClick();
  void Button_cancelClick();

 protected:
  void reject() override;

 private:
  int Selected() const;

  QListWidget* list_ = nullptr;
  PieceListResult result_;
};

class TForm_einteilkurve : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_einteilkurve(int index, QWidget* parent = nullptr);

  QLineEdit* FormulaEdit() const { return formula_; }
  QLineEdit* EndDegreesEdit() const { return endDeg_; }
  QLineEdit* EndRadEdit() const { return endRad_; }
  QLabel* ErrorLabel() const { return error_; }

  void Button_okClick();
  void Button_cancelClick();
  void Button_360Click();

 protected:
  void reject() override;

 private:
  PieceEditorFields Fields() const;
  void Show(const PieceEditorFields& fields);

  PieceEditorFields fields_;
  QLineEdit* formula_ = nullptr;
  QLineEdit* startRad_ = nullptr;
  QLineEdit* startDeg_ = nullptr;
  QLineEdit* endRad_ = nullptr;
  QLineEdit* endDeg_ = nullptr;
  QLabel* error_ = nullptr;
};

// The views of the pitch-curve input as these dialogs, modal over the
// active window.
class QtPitchCurveViews : public PitchCurveViews {
 public:
  PieceListResult ShowPieceList(const PieceListRequest& request) override;
  void EditPiece(int index) override;
};

}  // namespace app::ui
