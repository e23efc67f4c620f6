// The two information windows of the Help menu: the system information
// (TSysinfo: a text box with the machine's data and an OK button) and the
// about window (TAboutBox: title, version, notice, file version). Their
// texts come from app/help/program_information.h. Each shows the logo on the
// screen while it is open and leaves the user's picture as it was when it
// closes.
#pragma once

#include <QDialog>
#include <memory>

#include "app/help/program_information.h"
#include "common/kept_picture.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace app::ui {

class TSysinfo : public QDialog {
  Q_OBJECT

 public:
  // The machine is asked when the window is first shown, unless
  // FormActivate filled it before.
  explicit TSysinfo(QWidget* parent = nullptr);
  QPlainTextEdit* Memo1() const { return memo_; }
  QPushButton* OKButton() const { return ok_; }
  // Fills the text box (FormActivate).
  void FormActivate(const SysInfoFacts& facts);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<common::KeptPicture> kept_;
  QPlainTextEdit* memo_ = nullptr;
  QPushButton* ok_ = nullptr;
  bool filled_ = false;
};

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);
  QLabel* Label(const char* objectName) const;

 private:
  std::unique_ptr<common::KeptPicture> kept_;
};

// The windows, modal over the active window.
void ShowSysInfoWindow();
void ShowAboutWindow();

}  // namespace app::ui
