// The Qt windows of the design inputs: gear geometry (TForm_vob4geo1), tool
// profile (TForm_vob1prof), complement tool (TForm_komplement), drive
// (TForm_fest3) and the rotation-angle window (TForm_vob4phi). Each shows the
// state of its dialog class of the core (app/inputs/gear_geometry_input.h,
// app/inputs/tool_profile_input.h, app/inputs/load_input.h,
// app/inputs/rotation_angle_window.h) and hands every click to its handler;
// QtDesignInputViews installs them.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "app/inputs/design_input_views.h"
#include "common/range_array.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;

namespace app {
class ComplementDialog;
class GearGeometryDialog;
class LoadDialog;
class RotationAngleWindow;
class ToolProfileDialog;
}  // namespace app

namespace app::ui {

// A window over one dialog of the core: it loads the controls from the
// dialog's state and stores them back around every handler it runs, and
// Cancel, Escape and the window frame run the dialog's Cancel while it is
// open.
class DesignInputWindow : public QDialog {
  Q_OBJECT

 public:
  QPushButton* Button(const QString& objectName) const;

 protected:
  DesignInputWindow(QWidget* parent, const char* name, const std::string& caption,
                    std::function<DialogResult()> result, std::function<void()> cancel);
  void reject() override;

  // The controls from the dialog's state, and back.
  virtual void Load() = 0;
  virtual void Store() = 0;
  // Store, the handler, Load; closes once the dialog has ended, else comes
  // back to the front (a handler may have drawn on the main window).
  void Run(const std::function<void()>& handler);

 private:
  std::function<DialogResult()> result_;
  std::function<void()> cancel_;
};

class TForm_vob4geo1 : public DesignInputWindow {

 public:
  explicit TForm_vob4geo1(GearGeometryDialog& dialog, QWidget* parent = nullptr);


 private:
  void Load() override;
  void Store() override;

  GearGeometryDialog& dialog_;
  QLineEdit* alpha_ = nullptr;
  QLineEdit* z1_ = nullptr;
  QLineEdit* b_ = nullptr;
  QSpinBox* k_ = nullptr;
  QCheckBox* constantModule_ = nullptr;
  GearArray<QLineEdit*> bore_{};
  QLabel* degreeUnit_ = nullptr;
  std::vector<QLabel*> lengthUnits_;  // face width and bores
};

class TForm_vob1prof : public DesignInputWindow {

 public:
  explicit TForm_vob1prof(ToolProfileDialog& dialog, QWidget* parent = nullptr);


 private:
  void Load() override;
  void Store() override;

  ToolProfileDialog& dialog_;
  GearArray<QLineEdit*> addendum_{};
  GearArray<QLineEdit*> dedendum_{};
};

class TForm_komplement : public DesignInputWindow {

 public:
  explicit TForm_komplement(ComplementDialog& dialog, QWidget* parent = nullptr);


 private:
  void Load() override;
  void Store() override;

  ComplementDialog& dialog_;
  QLineEdit* ha1_ = nullptr;
  QLineEdit* hf1_ = nullptr;
  QLineEdit* c_ = nullptr;
  QLabel* ha2_ = nullptr;
  QLabel* hf2_ = nullptr;
  QLabel* shifts_ = nullptr;
};

class TForm_fest3 : public DesignInputWindow {

 public:
  explicit TForm_fest3(LoadDialog& dialog, QWidget* parent = nullptr);


 private:
  void Load() override;
  void Store() override;

  LoadDialog& dialog_;
  QLineEdit* edits_[3] = {nullptr, nullptr, nullptr};  // n, T, P
  QLabel* torqueUnit_ = nullptr;
  QButtonGroup* choice_ = nullptr;
};

class TForm_vob4phi : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_vob4phi(RotationAngleWindow& window, QWidget* parent = nullptr);

  QSlider* TrackBar() const { return track_; }
  QLineEdit* AngleEdit() const { return angle_; }
  QAbstractButton* SpinUpButton() const { return up_; }
  QAbstractButton* SpinDownButton() const { return down_; }
  // Placed where it hides none of the picture drawn in the main window, on
  // the screen area given (screen pixels): beside the picture, else at the
  // screen edge farthest from the gears (common/clear_of_picture.h).
  void PlaceClearOfPicture(const QRect& screenArea);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The controls from the window's state, without re-running the handlers.
  void Load();
  void AfterDraw();

  RotationAngleWindow& window_;
  QSlider* track_ = nullptr;
  QLineEdit* angle_ = nullptr;
  QAbstractButton* up_ = nullptr;
  QAbstractButton* down_ = nullptr;
};

// The views of the design inputs as these windows, modal over the active
// window. The rotation-angle window is made once and kept.
class QtDesignInputViews : public DesignInputViews {
 public:
  void RunGeometry(GearGeometryDialog& dialog) override;
  void RunToolProfile(ToolProfileDialog& dialog) override;
  void RunComplement(ComplementDialog& dialog) override;
  void RunLoad(LoadDialog& dialog) override;
  void RunRotationAngle(RotationAngleWindow& window) override;

  // The window of the run (null until first shown).
  TForm_vob4phi* RotationWindow() const { return rotation_; }

 private:
  QPointer<TForm_vob4phi> rotation_;
};

}  // namespace app::ui
