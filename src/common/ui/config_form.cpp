// The configuration dialog's window; see config_form.h.
#include "common/ui/config_form.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/form_placement.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/report_writer.h"
#include "common/ui/form_scaling.h"
#include "platform/screen.h"
#include "platform/user_dialogs.h"

namespace common::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

QColor ToQColor(ColourValue c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

void Paint(QPushButton* panel, ColourValue colour) {
  const QColor c = ToQColor(colour);
  // The panel's number stays readable on dark colours.
  const QString text = c.lightness() < 100 ? QStringLiteral("white") : QStringLiteral("black");
  panel->setStyleSheet(QStringLiteral("background-color: %1; color: %2;").arg(c.name(), text));
}

}  // namespace

Tconfig::Tconfig(QWidget* parent) : QDialog(parent) {
  setObjectName("config");
  setWindowTitle(QStringLiteral("Settings"));
  auto* layout = new QVBoxLayout(this);
  pages_ = new QTabWidget;
  pages_->setObjectName("PageControl1");
  layout->addWidget(pages_);
  for (const TConfigPage& page : ConfigPages()) {
    QWidget* widget = BuildPage(page.name);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(widget);
    scroll->setObjectName(Q(page.name));
    pages_->addTab(scroll, Q(page.caption));
  }

  auto* buttons = new QHBoxLayout;
  auto addButton = [&](const char* name, const QString& caption, void (Tconfig::*action)()) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this, action);
    buttons->addWidget(b);
    controls_[name] = b;
    return b;
  };
  addButton("Button_ok", QStringLiteral("OK"), &Tconfig::Button_okClick)->setDefault(true);
  addButton("Button_cancel", QStringLiteral("Cancel"), &Tconfig::Button_cancelClick);
  addButton("Button_save", QStringLiteral("&Save"), &Tconfig::Button_saveClick);
  addButton("Button_import", QStringLiteral("Import"), &Tconfig::Button_importClick);
  addButton("Button_export", QStringLiteral("Export"), &Tconfig::Button_exportClick);
  buttons->addStretch();
  layout->addLayout(buttons);

  resize(720, 560);
  ScaleAndCenterForm(this);
  ShowValues();
}

QWidget* Tconfig::BuildPage(const std::string& page) {
  auto* widget = new QWidget;
  auto* outer = new QVBoxLayout(widget);
  if (page == "Tab_color") {
    BuildColourPage(widget);
    outer->addStretch();
    return widget;
  }
  auto* form = new QFormLayout;
  outer->addLayout(form);
  // A help button at the left of a row of its own.
  auto helpRow = [](QPushButton* button) {
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(button);
    line->addStretch();
    return row;
  };
  auto modelButton = [this](const std::string& name, const std::string& caption) {
    auto* b = new QPushButton(Q(caption));
    b->setObjectName(Q(name));
    connect(b, &QPushButton::clicked, this, [this, name] { ModelButtonClick(name); });
    controls_[name] = b;
    return b;
  };
  for (const TConfigControl& c : ConfigControls()) {
    if (c.page != page) continue;
    QWidget* control = nullptr;
    switch (c.kind) {
      case ConfigControlKind::Edit: {
        auto* edit = new QLineEdit;
        control = edit;
        if (c.name == "Edit_x" || c.name == "Edit_y") {
          // A size entered becomes the main window's client size at once.
          connect(edit, &QLineEdit::editingFinished, this, [this, edit, name = c.name] {
            const int n = TextToInt(S(edit->text()));
            platform::MainWindowFrame* window = platform::MainWindow();
            if (n <= 0 || !window) return;
            if (name == "Edit_x")
              window->SetClientSize(n, window->ClientHeight());
            else
              window->SetClientSize(window->ClientWidth(), n);
          });
        }
        break;
      }
      case ConfigControlKind::Check: {
        auto* box = new QCheckBox(Q(c.caption));
        control = box;
        if (c.name == "CheckBox_dbftemp")
          connect(box, &QCheckBox::clicked, this, [this] { ModelButtonClick("CheckBox_dbftemp"); });
        break;
      }
      case ConfigControlKind::Combo: {
        auto* combo = new QComboBox;
        for (const std::string& item : c.items) combo->addItem(Q(item));
        connect(combo, &QComboBox::activated, this, [this, name = c.name] {
          if (showing_) return;
          ReadControls();
          if (name == "ComboBox_zeichnkopf") ConfigHeadStyleChanged(session_.Values());
          ShowValues();
        });
        control = combo;
        break;
      }
      case ConfigControlKind::Spin: {
        auto* spin = new QSpinBox;
        spin->setRange(c.minimum, c.maximum);
        control = spin;
        break;
      }
      case ConfigControlKind::Radio: {
        auto* group = new QGroupBox(Q(c.caption));
        auto* column = new QVBoxLayout(group);
        auto* buttons = new QButtonGroup(group);
        for (std::size_t i = 0; i < c.items.size(); ++i) {
          auto* radio = new QRadioButton(Q(c.items[i]));
          radio->setObjectName(Q(c.name + "_" + std::to_string(i)));
          buttons->addButton(radio, static_cast<int>(i));
          column->addWidget(radio);
        }
        radios_[c.name] = buttons;
        control = group;
        break;
      }
    }
    control->setObjectName(Q(c.name));
    controls_[c.name] = control;
    QWidget* row = control;
    if (!c.button.empty()) {
      row = new QWidget;
      auto* line = new QHBoxLayout(row);
      line->setContentsMargins(0, 0, 0, 0);
      line->addWidget(control, 1);
      line->addWidget(modelButton(c.button, c.buttonCaption));
      if (c.name == "Edit_dirtemp") line->addWidget(modelButton("Button_dirtempenv", "TEMP"));
      if (c.name == "Edit_y") line->addWidget(modelButton("Button_aufloesung", "<<"));
    }
    // The row hides with its control (the visibility rules).
    row->setObjectName(Q(c.name + "_row"));
    if (c.kind == ConfigControlKind::Check || c.kind == ConfigControlKind::Radio)
      form->addRow(row);
    else {
      form->addRow(Q(c.caption), row);
      labels_[c.name] = form->labelForField(row);
    }
  }
  if (page == "Tab_grafik") {
    auto* background = new QPushButton(QStringLiteral("background colour"));
    background->setObjectName("Panel_background");
    connect(background, &QPushButton::clicked, this, [this] {
      ReadControls();
      if (auto colour = platform::Dialogs().ChooseColour("background colour", session_.Values().backgroundColour))
        session_.Values().backgroundColour = *colour;
      ShowValues();
    });
    controls_["Panel_background"] = background;
    form->addRow(background);
    form->addRow(helpRow(modelButton("Button_grafikhilfe", "&Help")));
  }
  if (page == "Tab_cad") BuildLayerGrid(widget);
  if (page == "Tab_textdruck") {
    styleName_ = new QLabel;
    styleName_->setObjectName("Label_hstyle");
    styleCode_ = new QLabel;
    styleCode_->setObjectName("Label_hstylecode");
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(styleName_);
    line->addWidget(styleCode_);
    line->addStretch();
    form->addRow(QStringLiteral("Style"), row);
    styleName_->installEventFilter(this);
    styleCode_->installEventFilter(this);
    controls_.at("Edit_font")->installEventFilter(this);
    form->addRow(helpRow(modelButton("Button_helpausdruck", "&Help")));
  }
  if (page == "Tab_drucker") form->addRow(helpRow(modelButton("Button_helpprint", "&Help")));
  if (page == "Tab_dir") form->addRow(helpRow(modelButton("Button_workingDir", "&Help")));
  outer->addStretch();
  return widget;
}

void Tconfig::BuildColourPage(QWidget* page) {
  auto* grid = new QGridLayout;
  static_cast<QVBoxLayout*>(page->layout())->addLayout(grid);
  for (int n = 0; n <= 15; ++n) {
    auto* panel = new QPushButton(QString::number(n + 1));
    const std::string name = "Panel_color" + std::to_string(n);
    panel->setObjectName(Q(name));
    panel->setMinimumSize(48, 32);
    connect(panel, &QPushButton::clicked, this, [this, n] {
      ReadControls();
      ConfigColourPanelClick(session_.Values(), n);
      ShowValues();
    });
    controls_[name] = panel;
    grid->addWidget(panel, n / 4, n % 4);
  }
  auto* row = new QHBoxLayout;
  for (const auto& [name, caption] :
       {std::pair{"Button_resetcolor", "Reset"}, std::pair{"Button_colorhilfe", "&Help"}}) {
    auto* b = new QPushButton(QString::fromLatin1(caption));
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this, [this, n = std::string(name)] { ModelButtonClick(n); });
    controls_[name] = b;
    row->addWidget(b);
  }
  row->addStretch();
  static_cast<QVBoxLayout*>(page->layout())->addLayout(row);
}

void Tconfig::BuildLayerGrid(QWidget* page) {
  auto* box = static_cast<QVBoxLayout*>(page->layout());
  layers_ = new QTableWidget(5, 4);
  layers_->setObjectName("StringGrid_layer");
  layers_->setHorizontalHeaderLabels({QStringLiteral("Layer"), QStringLiteral("Colour"),
                                      QStringLiteral("Line thickness"), QStringLiteral("Line type")});
  layers_->horizontalHeader()->setStretchLastSection(true);
  layers_->setMinimumHeight(180);
  // The grid takes the page's width, not its own wish.
  layers_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  controls_["StringGrid_layer"] = layers_;
  box->addWidget(layers_);
  auto* row = new QHBoxLayout;
  auto button = [&](const std::string& name, const QString& caption) {
    auto* b = new QPushButton(caption);
    b->setObjectName(Q(name));
    connect(b, &QPushButton::clicked, this, [this, name] { ModelButtonClick(name); });
    controls_[name] = b;
    row->addWidget(b);
  };
  for (int n = 1; n <= 5; ++n) button("Button_layer" + std::to_string(n), QStringLiteral("< %1").arg(n));
  row->addStretch();
  box->addLayout(row);
  row = new QHBoxLayout;
  for (int n = 1; n <= 3; ++n) button("Button_dick" + std::to_string(n), QString::number(n));
  button("Button_selectlayercolor", QStringLiteral("Colour..."));
  button("Button_layerhilfe", QStringLiteral("&Help"));
  row->addStretch();
  box->addLayout(row);

  box->addWidget(new QLabel(QStringLiteral("TRAMLIN Command Lines")));
  plotLines_ = new QListWidget;
  plotLines_->setObjectName("ListBox_tramlin");
  plotLines_->setMaximumHeight(110);
  connect(plotLines_, &QListWidget::itemDoubleClicked, this, [this] { ModelButtonClick("Button_conftramlin"); });
  controls_["ListBox_tramlin"] = plotLines_;
  box->addWidget(plotLines_);
  auto* plotRow = new QHBoxLayout;
  row = plotRow;
  button("Button_conftramlin", QStringLiteral("Config"));
  button("Button_edittramlincommandline", QStringLiteral("Edit"));
  button("Button_helpcad", QStringLiteral("&Help"));
  plotRow->addStretch();
  box->addLayout(plotRow);
}

QWidget* Tconfig::Control(const std::string& name) const {
  const auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

void Tconfig::ReadControls() {
  TConfigDialogValues& v = session_.Values();
  for (const TConfigControl& c : ConfigControls()) {
    QWidget* w = Control(c.name);
    switch (c.kind) {
      case ConfigControlKind::Edit: v.text[c.name] = S(static_cast<QLineEdit*>(w)->text()); break;
      case ConfigControlKind::Check: v.check[c.name] = static_cast<QCheckBox*>(w)->isChecked(); break;
      case ConfigControlKind::Combo: v.index[c.name] = static_cast<QComboBox*>(w)->currentIndex(); break;
      case ConfigControlKind::Spin: v.index[c.name] = static_cast<QSpinBox*>(w)->value(); break;
      case ConfigControlKind::Radio: v.index[c.name] = std::max(0, radios_.at(c.name)->checkedId()); break;
    }
  }
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 3; ++c)
      if (QTableWidgetItem* item = layers_->item(r, c))
        v.layers[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = S(item->text());
  if (layers_->currentRow() >= 0) {
    v.layerRow = layers_->currentRow() + 1;
    v.layerColumn = std::clamp(layers_->currentColumn(), 0, 2);
  }
  if (plotLines_->currentRow() >= 0) v.plotSelected = plotLines_->currentRow();
}

void Tconfig::ShowValues() {
  showing_ = true;
  TConfigDialogValues& v = session_.Values();
  for (const TConfigControl& c : ConfigControls()) {
    QWidget* w = Control(c.name);
    switch (c.kind) {
      case ConfigControlKind::Edit: static_cast<QLineEdit*>(w)->setText(Q(v.text[c.name])); break;
      case ConfigControlKind::Check: static_cast<QCheckBox*>(w)->setChecked(v.check[c.name]); break;
      case ConfigControlKind::Combo: static_cast<QComboBox*>(w)->setCurrentIndex(v.index[c.name]); break;
      case ConfigControlKind::Spin: static_cast<QSpinBox*>(w)->setValue(v.index[c.name]); break;
      case ConfigControlKind::Radio:
        if (QAbstractButton* b = radios_.at(c.name)->button(v.index[c.name])) b->setChecked(true);
        break;
    }
  }
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 3; ++c)
      layers_->setItem(r, c, new QTableWidgetItem(Q(v.layers[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])));
    auto* type = new QTableWidgetItem(QString::fromLatin1(LayerLineTypes[static_cast<std::size_t>(r)]));
    type->setFlags(type->flags() & ~Qt::ItemIsEditable);
    layers_->setItem(r, 3, type);
  }
  layers_->setCurrentCell(v.layerRow - 1, v.layerColumn);
  plotLines_->clear();
  for (int n = 0; n < MaxPlotCommandLines; ++n) plotLines_->addItem(Q(v.plotLines[static_cast<std::size_t>(n)]));
  plotLines_->setCurrentRow(v.plotSelected);
  for (int n = 0; n <= 15; ++n)
    Paint(static_cast<QPushButton*>(Control("Panel_color" + std::to_string(n))), v.panelColours[n]);
  Paint(static_cast<QPushButton*>(Control("Panel_background")), v.backgroundColour);
  styleName_->setText(Q(PrintFontStyleText(v)));
  styleCode_->setText(QStringLiteral("(%1)").arg(v.printFontStyle));
  ApplyVisibility();
  showing_ = false;
}

void Tconfig::ApplyVisibility() {
  const std::set<std::string> hidden = HiddenConfigControls(session_.Values());
  for (const TConfigControl& c : ConfigControls()) {
    const bool visible = !hidden.count(c.name);
    QWidget* row = findChild<QWidget*>(Q(c.name + "_row"));
    if (!row) continue;
    row->setVisible(visible);
    // The label of a form row hides with it.
    if (const auto label = labels_.find(c.name); label != labels_.end()) label->second->setVisible(visible);
  }
}

TConfigScreen Tconfig::Screen() const {
  TConfigScreen screen = ConfigScreenNow();
  screen.frameDx = geometry().width() - frameGeometry().width();
  screen.frameDy = geometry().height() - frameGeometry().height();
  return screen;
}

void Tconfig::ModelButtonClick(const std::string& name) {
  if (showing_) return;
  ReadControls();
  ConfigButtonClick(session_.Values(), name);
  ShowValues();
}

bool Tconfig::eventFilter(QObject* watched, QEvent* event) {
  const bool edit = watched == Control("Edit_font") && event->type() == QEvent::MouseButtonDblClick;
  const bool label = (watched == styleName_ || watched == styleCode_) && event->type() == QEvent::MouseButtonPress;
  if (edit || label) {
    ModelButtonClick("Button_font");
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void Tconfig::Button_okClick() {
  ReadControls();
  if (!session_.Ok(Screen())) {
    // A refused number shows its old text again; the dialog stays open.
    ShowValues();
    return;
  }
  closed_ = true;
  accept();
}

void Tconfig::Button_cancelClick() { reject(); }

void Tconfig::reject() {
  if (!closed_) session_.Cancel();
  closed_ = true;
  QDialog::reject();
}

void Tconfig::Button_saveClick() {
  ReadControls();
  session_.Save(Screen());
  ShowValues();
}

void Tconfig::Button_importClick() {
  ReadControls();
  session_.Import();
  AbortFlag = 0;
  ShowValues();
}

void Tconfig::Button_exportClick() {
  ReadControls();
  session_.Export(Screen());
  AbortFlag = 0;
  ShowValues();
}

void ShowConfigWindow() {
  Tconfig dialog(QApplication::activeWindow());
  dialog.exec();
}

}  // namespace common::ui
