// The grid dialogs of the point-list and polynomial curves on Qt: one dialog
// class that shows the grid model of app/inputs/point_list_input.h
// (polynomial coefficients "Form_polynom", point fit "Form_vob4poin",
// polyline "Form_vob4poip"). The grid's fixed row and column are the table's
// headers; the table's cell (r, c) is the model's cell (c + 1, r + 1).
#pragma once

#include <QDialog>

#include "app/inputs/point_list_input.h"

class QCheckBox;
class QSpinBox;
class QTableWidget;

namespace app::ui {

class TForm_pointlist : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_pointlist(PointForm& form, QWidget* parent = nullptr);

  QTableWidget* Grid() const { return grid_; }
  QSpinBox* Spin() const { return spin_; }
  QCheckBox* Interpolation() const { return interpolate_; }

  void Button_okClick();
  void Button_cancelClick();
  void CopyClick();
  void PasteClick();

 protected:
  void reject() override;

 private:
  void Collect();  // table, spin and check box into the model
  void Show();     // the model into the table, spin and check box
  // Runs an operation on the collected model and shows the result.
  template <class Operation>
  void Run(Operation operation);

  PointForm& form_;
  QTableWidget* grid_ = nullptr;
  QSpinBox* spin_ = nullptr;
  QCheckBox* interpolate_ = nullptr;
  bool showing_ = false;
};

class QtPointListViews : public PointListViews {
 public:
  void ShowPointForm(PointForm& form) override;
};

}  // namespace app::ui
