// The Qt windows of the design inputs; see design_input_dialogs.h.
#include "app/inputs/ui/design_input_dialogs.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/inputs/gear_geometry_input.h"
#include "app/inputs/load_input.h"
#include "app/inputs/rotation_angle_window.h"
#include "app/inputs/tool_profile_input.h"
#include "common/form_placement.h"
#include "common/graphics_facade.h"
#include "common/ui/form_scaling.h"
#include "common/ui/graphics_view.h"
#include "common/ui/picture_clear_placement.h"

namespace app::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

QPushButton* NewButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

QLineEdit* NewEdit(QWidget* parent, const QString& name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

// The row of closing and action buttons under a dialog; the first is the
// default button.
QHBoxLayout* ButtonRow(QBoxLayout* layout, const std::vector<QPushButton*>& buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (QPushButton* button : buttons) row->addWidget(button);
  if (!buttons.empty()) buttons.front()->setDefault(true);
  layout->addLayout(row);
  return row;
}

// The narrow "<" button beside an edit that writes a proposal into it.
QPushButton* NewProposalButton(QWidget* parent, const QString& name) {
  QPushButton* button = NewButton(parent, name.toUtf8().constData(), "<");
  button->setFixedWidth(button->fontMetrics().horizontalAdvance("<") + 24);
  return button;
}

// The dialog at the size its controls need, then scaled and centred as
// every dialog (an unshown dialog has no size of its own yet).
void FitAndCenter(QWidget* form) {
  form->adjustSize();
  common::ui::ScaleAndCenterForm(form);
}

// The program's main window (the parent of the rotation-angle window).
QWidget* MainWindow() {
  if (QWidget* active = QApplication::activeWindow(); active && active->inherits("QMainWindow")) return active;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->inherits("QMainWindow")) return w;
  return QApplication::activeWindow();
}

void SetText(QLineEdit* edit, const std::string& text) {
  if (edit->text() != Q(text)) edit->setText(Q(text));
}

}  // namespace

// ---- The common frame --------------------------------------------------------------

DesignInputWindow::DesignInputWindow(QWidget* parent, const char* name, const std::string& caption,
                                     std::function<DialogResult()> result, std::function<void()> cancel)
    : QDialog(parent), result_(std::move(result)), cancel_(std::move(cancel)) {
  setObjectName(name);
  setWindowTitle(Q(caption));
}

QPushButton* DesignInputWindow::Button(const QString& objectName) const {
  return findChild<QPushButton*>(objectName);
}

void DesignInputWindow::Run(const std::function<void()>& handler) {
  Store();
  handler();
  Load();
  if (result_() != DialogResult::Open) {
    accept();
    return;
  }
  raise();
  activateWindow();
}

void DesignInputWindow::reject() {
  if (result_() == DialogResult::Open) cancel_();
  QDialog::reject();
}

// ---- Gear geometry ------------------------------------------------------------------

TForm_vob4geo1::TForm_vob4geo1(GearGeometryDialog& dialog, QWidget* parent)
    : DesignInputWindow(
          parent, "Form_vob4geo1", dialog.caption, [&dialog] { return dialog.Result(); },
          [&dialog] { dialog.Button_cancelClick(); }),
      dialog_(dialog) {
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  int row = 0;
  // Label, control, unit label and the proposal button of one row.
  const auto addRow = [&](const char* caption, QWidget* control, QLabel* unit, const char* proposal,
                          void (GearGeometryDialog::*handler)()) {
    grid->addWidget(new QLabel(QString::fromUtf8(caption), this), row, 0);
    grid->addWidget(control, row, 1);
    if (unit) grid->addWidget(unit, row, 2);
    QPushButton* button = NewProposalButton(this, proposal);
    grid->addWidget(button, row, 3);
    connect(button, &QPushButton::clicked, this, [this, handler] { Run([this, handler] { (dialog_.*handler)(); }); });
    ++row;
  };
  alpha_ = NewEdit(this, "Edit_alpha");
  degreeUnit_ = NewLabel(this, "Label_alphaunit", QString());
  addRow("pressure angle alpha", alpha_, degreeUnit_, "Button_alpha", &GearGeometryDialog::ProposeAlpha);
  z1_ = NewEdit(this, "Edit_z1");
  addRow("no. of teeth z1", z1_, nullptr, "Button_z1", &GearGeometryDialog::ProposeZ1);
  b_ = NewEdit(this, "Edit_b");
  lengthUnits_.push_back(NewLabel(this, "Label_bunit", QString()));
  addRow("face width b", b_, lengthUnits_.back(), "Button_b", &GearGeometryDialog::ProposeFaceWidth);
  k_ = new QSpinBox(this);
  k_->setObjectName("SpinEdit_k");
  k_->setRange(GearGeometryDialog::MinTurnRatio, GearGeometryDialog::MaxTurnRatio);
  addRow("transmission ratio i = z2/z1", k_, nullptr, "Button_k", &GearGeometryDialog::ProposeTurnRatio);
  constantModule_ = new QCheckBox("m = const", this);
  constantModule_->setObjectName("CheckBox_mconst");
  grid->addWidget(constantModule_, row++, 1);
  for (int i = 1; i <= 2; ++i) {
    const QString n = QString::number(i);
    bore_[i] = NewEdit(this, "Edit_bore" + n);
    lengthUnits_.push_back(NewLabel(this, "Label_boreunit" + n, QString()));
    grid->addWidget(new QLabel("borehole diameter " + n, this), row, 0);
    grid->addWidget(bore_[i], row, 1);
    grid->addWidget(lengthUnits_.back(), row, 2);
    QPushButton* button = NewProposalButton(this, "Button_bore" + n);
    grid->addWidget(button, row, 3);
    connect(button, &QPushButton::clicked, this, [this, i] { Run([this, i] { dialog_.ProposeBore(i); }); });
    ++row;
  }
  QPushButton* ok = NewButton(this, "Button_ok", "OK");
  QPushButton* cancel = NewButton(this, "Button_cancel", "Cancel");
  QPushButton* help = NewButton(this, "Button_help", "&Help Text");
  QPushButton* metric = NewButton(this, "Button_metric", "mm <--> inch");
  ButtonRow(layout, {ok, cancel, help, metric});
  connect(ok, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_okClick(); }); });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  connect(help, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_helpClick(); }); });
  connect(metric, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_metricClick(); }); });
  Load();
  FitAndCenter(this);
}

void TForm_vob4geo1::Load() {
  SetText(alpha_, dialog_.alpha.text);
  SetText(z1_, dialog_.z1);
  SetText(b_, dialog_.b.text);
  k_->setValue(dialog_.k);
  constantModule_->setChecked(dialog_.constantModule);
  for (int i = 1; i <= 2; ++i) SetText(bore_[i], dialog_.bore[i].text);
  degreeUnit_->setText(Q(dialog_.degreeUnit));
  for (QLabel* unit : lengthUnits_) unit->setText(Q(dialog_.lengthUnit));
}

void TForm_vob4geo1::Store() {
  dialog_.alpha.text = S(alpha_->text());
  dialog_.z1 = S(z1_->text());
  dialog_.b.text = S(b_->text());
  dialog_.k = k_->value();
  dialog_.constantModule = constantModule_->isChecked();
  for (int i = 1; i <= 2; ++i) dialog_.bore[i].text = S(bore_[i]->text());
}

// ---- Tool profile --------------------------------------------------------------------

TForm_vob1prof::TForm_vob1prof(ToolProfileDialog& dialog, QWidget* parent)
    : DesignInputWindow(
          parent, "Form_vob1prof", dialog.caption, [&dialog] { return dialog.Result(); },
          [&dialog] { dialog.Button_cancelClick(); }),
      dialog_(dialog) {
  auto* layout = new QVBoxLayout(this);
  auto* gears = new QHBoxLayout;
  layout->addLayout(gears);
  for (int i = 1; i <= 2; ++i) {
    const QString n = QString::number(i);
    auto* box = new QGroupBox(" gear " + n + " ", this);
    box->setObjectName("GroupBox_gear" + n);
    auto* grid = new QGridLayout(box);
    const auto addRow = [&](int row, const char* caption, const QString& hint, QLineEdit*& edit, const QString& name,
                            void (ToolProfileDialog::*propose)(int)) {
      QLabel* label = new QLabel(caption, box);
      label->setToolTip(hint);
      grid->addWidget(label, row, 0);
      edit = NewEdit(box, "Edit_" + name + n);
      grid->addWidget(edit, row, 1);
      QPushButton* button = NewProposalButton(box, "Button_" + name + n);
      grid->addWidget(button, row, 2);
      connect(button, &QPushButton::clicked, this, [this, i, propose] { Run([this, i, propose] { (dialog_.*propose)(i); }); });
    };
    addRow(0, "Addendum of tool haP0/mn", Q(dialog_.addendumHint), addendum_[i], "haP0",
           &ToolProfileDialog::ProposeAddendum);
    addRow(1, "Dedendum of tool hfP0/mn", Q(dialog_.dedendumHint), dedendum_[i], "hfP0",
           &ToolProfileDialog::ProposeDedendum);
    gears->addWidget(box);
  }
  QPushButton* ok = NewButton(this, "Button_ok", "OK");
  QPushButton* cancel = NewButton(this, "Button_cancel", "Cancel");
  QPushButton* help = NewButton(this, "Button_help", "&Help Text");
  QPushButton* image = NewButton(this, "Button_image", "Aux. &Image");
  QPushButton* complement = NewButton(this, "Button_complement", "Complement");
  QPushButton* calc = NewButton(this, "Button_calc", "Calc");
  ButtonRow(layout, {ok, cancel, help, image, complement, calc});
  connect(ok, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_okClick(); }); });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  connect(help, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_helpClick(); }); });
  connect(image, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_imageClick(); }); });
  connect(complement, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_complementClick(); }); });
  connect(calc, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_calcClick(); }); });
  Load();
  FitAndCenter(this);
}

void TForm_vob1prof::Load() {
  for (int i = 1; i <= 2; ++i) {
    SetText(addendum_[i], dialog_.addendum[i].text);
    SetText(dedendum_[i], dialog_.dedendum[i].text);
  }
}

void TForm_vob1prof::Store() {
  for (int i = 1; i <= 2; ++i) {
    dialog_.addendum[i].text = S(addendum_[i]->text());
    dialog_.dedendum[i].text = S(dedendum_[i]->text());
  }
}

// ---- Complement --------------------------------------------------------------------

TForm_komplement::TForm_komplement(ComplementDialog& dialog, QWidget* parent)
    : DesignInputWindow(
          parent, "Form_komplement", dialog.caption, [&dialog] { return dialog.Result(); },
          [&dialog] { dialog.Button_cancelClick(); }),
      dialog_(dialog) {
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  const char* captions[3] = {"Addendum of tool haP01/mn", "Dedendum of tool hfP01/mn", "Clearance factor c/mn"};
  const char* names[3] = {"Edit_haP01", "Edit_hfP01", "Edit_c"};
  QLineEdit** edits[3] = {&ha1_, &hf1_, &c_};
  for (int row = 0; row < 3; ++row) {
    grid->addWidget(new QLabel(captions[row], this), row, 0);
    *edits[row] = NewEdit(this, names[row]);
    grid->addWidget(*edits[row], row, 1);
  }
  ha2_ = NewLabel(this, "Label_haP02", QString());
  hf2_ = NewLabel(this, "Label_hfP02", QString());
  shifts_ = NewLabel(this, "Label_x", QString());
  grid->addWidget(ha2_, 3, 0, 1, 2);
  grid->addWidget(hf2_, 4, 0, 1, 2);
  grid->addWidget(shifts_, 5, 0, 1, 2);
  QPushButton* ok = NewButton(this, "Button_ok", "OK");
  QPushButton* cancel = NewButton(this, "Button_cancel", "Cancel");
  QPushButton* help = NewButton(this, "Button_help", "&Help Text");
  ButtonRow(layout, {ok, cancel, help});
  Load();
  for (QLineEdit* edit : {ha1_, hf1_, c_})
    connect(edit, &QLineEdit::textChanged, this, [this] { Run([this] { dialog_.EditChanged(); }); });
  connect(ok, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_okClick(); }); });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  connect(help, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_helpClick(); }); });
  FitAndCenter(this);
}

void TForm_komplement::Load() {
  const QSignalBlocker b1(ha1_), b2(hf1_), b3(c_);
  SetText(ha1_, dialog_.ha1.text);
  SetText(hf1_, dialog_.hf1.text);
  SetText(c_, dialog_.c.text);
  ha2_->setText(Q(dialog_.haP02Label));
  hf2_->setText(Q(dialog_.hfP02Label));
  shifts_->setText(Q(dialog_.shiftLabel));
}

void TForm_komplement::Store() {
  dialog_.ha1.text = S(ha1_->text());
  dialog_.hf1.text = S(hf1_->text());
  dialog_.c.text = S(c_->text());
}

// ---- Drive ---------------------------------------------------------------------------

TForm_fest3::TForm_fest3(LoadDialog& dialog, QWidget* parent)
    : DesignInputWindow(
          parent, "Form_fest3", dialog.caption, [&dialog] { return dialog.Result(); },
          [&dialog] { dialog.Button_cancelClick(); }),
      dialog_(dialog) {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  layout->addLayout(top);
  auto* grid = new QGridLayout;
  top->addLayout(grid);
  const char* captions[3] = {"Rot.speed n", "Rated torque T", "Rated power P"};
  const char* names[3] = {"Edit_n", "Edit_T", "Edit_P"};
  for (int row = 0; row < 3; ++row) {
    grid->addWidget(new QLabel(captions[row], this), row, 0);
    edits_[row] = NewEdit(this, names[row]);
    grid->addWidget(edits_[row], row, 1);
  }
  torqueUnit_ = NewLabel(this, "Label_Tunit", QString());
  grid->addWidget(new QLabel("1/min", this), 0, 2);
  grid->addWidget(torqueUnit_, 1, 2);
  grid->addWidget(new QLabel("kW", this), 2, 2);
  auto* box = new QGroupBox(this);
  box->setObjectName("RadioGroup_choice");
  auto* radios = new QVBoxLayout(box);
  choice_ = new QButtonGroup(this);
  const char* choices[3] = {"n", "T", "P"};
  for (int i = 0; i < 3; ++i) {
    auto* radio = new QRadioButton(choices[i], box);
    radio->setObjectName(QString("RadioButton_") + choices[i]);
    radios->addWidget(radio);
    choice_->addButton(radio, i);
  }
  top->addWidget(box);
  QPushButton* ok = NewButton(this, "Button_ok", "OK");
  QPushButton* cancel = NewButton(this, "Button_cancel", "Cancel");
  QPushButton* help = NewButton(this, "Button_help", "&Help");
  QPushButton* metric = NewButton(this, "Button_metric", "mm <--> inch");
  ButtonRow(layout, {ok, cancel, help, metric});
  Load();
  // Each keystroke: the computed quantity follows; the edit being typed in
  // keeps its text and caret.
  for (QLineEdit* edit : edits_)
    connect(edit, &QLineEdit::textChanged, this, [this] { Run([this] { dialog_.ComputeLoadTriple(); }); });
  connect(choice_, &QButtonGroup::idClicked, this, [this](int id) { Run([this, id] { dialog_.ChoiceClicked(id); }); });
  connect(ok, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_okClick(); }); });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  connect(help, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_helpClick(); }); });
  connect(metric, &QPushButton::clicked, this, [this] { Run([this] { dialog_.Button_metricClick(); }); });
  FitAndCenter(this);
}

void TForm_fest3::Load() {
  for (int i = 0; i < 3; ++i) {
    const auto q = static_cast<LoadDialog::Quantity>(i);
    const QSignalBlocker blocker(edits_[i]);
    SetText(edits_[i], dialog_.EditOf(q).text);
    edits_[i]->setEnabled(dialog_.Enabled(q));
  }
  torqueUnit_->setText(Q(dialog_.torqueUnit));
  if (QAbstractButton* radio = choice_->button(dialog_.choice)) radio->setChecked(true);
}

void TForm_fest3::Store() {
  for (int i = 0; i < 3; ++i) dialog_.EditOf(static_cast<LoadDialog::Quantity>(i)).text = S(edits_[i]->text());
}

// ---- Rotation angle ----------------------------------------------------------------

TForm_vob4phi::TForm_vob4phi(RotationAngleWindow& window, QWidget* parent) : QDialog(parent), window_(window) {
  setObjectName("Form_vob4phi");
  setWindowTitle(Q(window_.caption));
  // One row, low and narrow enough to find room beside the picture or in
  // a corner the gears leave free.
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 4, 6, 4);
  track_ = new QSlider(Qt::Horizontal, this);
  track_->setObjectName("TrackBar1");
  track_->setRange(RotationAngleWindow::TrackMin, RotationAngleWindow::TrackMax);
  track_->setTickInterval(RotationAngleWindow::TrackTick);
  track_->setTickPosition(QSlider::TicksBelow);
  track_->setMinimumWidth(360);
  row->addWidget(track_);
  row->addWidget(new QLabel("phi 1", this));
  angle_ = NewEdit(this, "Edit_phi");
  angle_->setMaximumWidth(90);
  row->addWidget(angle_);
  auto* arrows = new QVBoxLayout;
  arrows->setSpacing(0);
  auto* up = new QToolButton(this);
  up->setObjectName("UpDown_up");
  up->setArrowType(Qt::UpArrow);
  auto* down = new QToolButton(this);
  down->setObjectName("UpDown_down");
  down->setArrowType(Qt::DownArrow);
  for (QToolButton* arrow : {up, down}) arrow->setFixedSize(18, 13);
  up_ = up;
  down_ = down;
  arrows->addWidget(up);
  arrows->addWidget(down);
  row->addLayout(arrows);
  row->addWidget(new QLabel(QString::fromUtf8("°"), this));
  // The hidden button takes the edit's value; the visible one closes the
  // window, also on Enter and Escape.
  QPushButton* take = NewButton(this, "Button_ok", "OK");
  take->setVisible(false);
  QPushButton* close = NewButton(this, "Button_close", "OK");
  close->setDefault(true);
  row->addWidget(take);
  row->addWidget(close);

  connect(track_, &QSlider::valueChanged, this, [this](int position) {
    window_.TrackChanged(position);
    AfterDraw();
  });
  connect(angle_, &QLineEdit::textChanged, this, [this](const QString& text) {
    window_.angle = S(text);
    window_.AngleChanged();
    AfterDraw();
  });
  connect(up, &QToolButton::clicked, this, [this] {
    window_.angle = S(angle_->text());
    window_.SpinUp();
    AfterDraw();
  });
  connect(down, &QToolButton::clicked, this, [this] {
    window_.angle = S(angle_->text());
    window_.SpinDown();
    AfterDraw();
  });
  connect(take, &QPushButton::clicked, this, [this] {
    window_.angle = S(angle_->text());
    window_.TakeAngle();
    AfterDraw();
  });
  // An angle that is no number is refused before the window closes.
  connect(close, &QPushButton::clicked, this, [this] {
    window_.angle = S(angle_->text());
    if (window_.CloseClick())
      accept();
    else
      Load();
  });
  adjustSize();
  common::ui::ScaleForm(this);
}

// The window stands where it hides none of the picture it turns: placed
// once the picture is drawn, where its place on the screen is known.
void TForm_vob4phi::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  window_.FormShow();
  if (const QScreen* screen = this->screen()) PlaceClearOfPicture(screen->availableGeometry());
  AfterDraw();
}

void TForm_vob4phi::PlaceClearOfPicture(const QRect& screenArea) {
  auto* view = dynamic_cast<common::ui::GraphicsView*>(common::FKaldgra.Host());
  if (!view || !view->isVisible()) return;
  view->ReplayPending();
  common::ui::PlaceClearOfPicture(*this, *view, screenArea);
}

void TForm_vob4phi::Load() {
  const QSignalBlocker b1(track_), b2(angle_);
  track_->setValue(window_.track);
  SetText(angle_, window_.angle);
}

void TForm_vob4phi::AfterDraw() {
  Load();
  raise();
  activateWindow();
}

// ---- The views ---------------------------------------------------------------------

void QtDesignInputViews::RunGeometry(GearGeometryDialog& dialog) {
  TForm_vob4geo1 form(dialog, QApplication::activeWindow());
  form.exec();
}

void QtDesignInputViews::RunToolProfile(ToolProfileDialog& dialog) {
  TForm_vob1prof form(dialog, QApplication::activeWindow());
  form.exec();
}

void QtDesignInputViews::RunComplement(ComplementDialog& dialog) {
  TForm_komplement form(dialog, QApplication::activeWindow());
  form.exec();
}

void QtDesignInputViews::RunLoad(LoadDialog& dialog) {
  TForm_fest3 form(dialog, QApplication::activeWindow());
  form.exec();
}

void QtDesignInputViews::RunRotationAngle(RotationAngleWindow& window) {
  if (!rotation_) rotation_ = new TForm_vob4phi(window, MainWindow());
  rotation_->exec();
}

}  // namespace app::ui
