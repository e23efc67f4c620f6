// TTzNavigator, the navigator of the data grid on Qt: ten buttons (first,
// prior, next, last, insert, delete, edit, post, cancel, refresh) over the
// grid's dataset. Its Delete restores a record that carries the deletion
// mark (after "Restore Record ?" when ConfirmRestore is set) and marks any
// other one (after "Delete Record ?" when ConfirmDelete is set).
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "dbase/dataset/dataset.h"
#include "dbase/table/table_window.h"

class QToolButton;

namespace dbase::ui {

class TTzNavigator : public QWidget {
  Q_OBJECT
 public:
  explicit TTzNavigator(QWidget* parent = nullptr);

  void SetDataSet(TDataSet* dataset) { dataset_ = dataset; }
  bool ConfirmDelete = true;
  bool ConfirmRestore = true;
  void SetVisibleButtons(const std::array<bool, NavigateBtnCount>& visible);
  QToolButton* Button(TNavigateBtn button) const { return buttons_[static_cast<std::size_t>(button)]; }
  // Runs a button's action on the dataset.
  void BtnClick(TNavigateBtn button);
  // Before every action (the grid writes the cell being typed into).
  std::function<void()> BeforeAction;
  // After every action: the grid shows the dataset again.
  std::function<void(TNavigateBtn)> OnClick;
  // The confirmation question (OK/Cancel box by default; tests replace it).
  std::function<bool(const std::string&)> Confirm;

 private:
  TDataSet* dataset_ = nullptr;
  std::array<QToolButton*, NavigateBtnCount> buttons_{};
};

}  // namespace dbase::ui
