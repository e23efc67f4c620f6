// The auxiliary-image list form (TForm_hilfebild): the records and the five
// commands in a drop-down list, the buttons "OK", "&Help", "&New",
// "&Modify", "&Insert", "&Delete" and an up/down spin that moves the
// selected record. Every action closes the form with the user's step; the
// sequence is in common/aux_images.cpp, which opens the form again.
#pragma once

#include <QDialog>

#include "common/aux_images.h"

class QComboBox;

namespace common::ui {

class AuxImageListWindow : public QDialog {
  Q_OBJECT

 public:
  AuxImageListWindow(const std::vector<std::string>& entries, int selected, QWidget* parent = nullptr);

  AuxImageStep Step() const { return step_; }
  QComboBox* List() const { return list_; }

 protected:
  void done(int result) override;

 private:
  void Finish(AuxImageStep::Kind kind, int index);

  int records_ = 0;
  QComboBox* list_ = nullptr;
  AuxImageStep step_;
};

// The view for SetAuxImageListView.
AuxImageStep RunAuxImageListWindow(const std::vector<std::string>& entries, int selected);

}  // namespace common::ui
