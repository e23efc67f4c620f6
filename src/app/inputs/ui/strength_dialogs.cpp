// The strength windows; see strength_dialogs.h.
#include "app/inputs/ui/strength_dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <tuple>

#include "common/ui/form_scaling.h"

namespace app::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The hint of a label while the help level asks for hints.
void Hint(QWidget* widget, int helpNumber) {
  const std::string hint = StrengthHint(helpNumber);
  if (!hint.empty()) widget->setToolTip(Q(hint));
}

// What page 1's buttons do where the single page differs.
struct Page1Actions {
  std::function<void(int)> image;  // an image button: the page into the data, the image
  std::function<void()> viscosity, lubricant;
  // The single page's own proposals (empty on the page window).
  std::function<void(Fs0Proposal)> fs0;
};

// Page 1: blank diameters, load cycles, roughness, viscosity, application
// factors, double helical gearing and the life factors.
QGroupBox* BuildPage1(QWidget* owner, FormBinder& binder, TStrengthPage1& page, const Page1Actions& actions) {
  auto* box = new QGroupBox(owner);
  box->setObjectName("GroupBox_page1");
  auto* grid = new QGridLayout(box);
  const bool onePage = static_cast<bool>(actions.fs0);
  auto act = [&binder](std::function<void()> f) { return [&binder, f] { binder.Act(f); }; };
  auto button = [&](const QString& name, const QString& caption, std::function<void()> f) {
    QPushButton* b = caption.size() <= 4 ? NewNarrowButton(box, name, caption) : NewButton(box, name, caption);
    QObject::connect(b, &QPushButton::clicked, owner, act(std::move(f)));
    return b;
  };
  // A picture button where the help entry has a picture; none elsewhere.
  auto image = [&](const QString& name, const QString& caption, int help, int r, int column) {
    if (!StrengthHasImage(help)) return;
    grid->addWidget(button(name, caption, [actions, help] { actions.image(help); }), r, column);
  };
  grid->addWidget(NewLabel(box, "Label_gear1", "gear 1"), 0, 1);
  grid->addWidget(NewLabel(box, "Label_gear2", "gear 2"), 0, 2);
  int row = 1;
  // A row of a value per gear: caption, two edits, unit (may be empty).
  auto gearRow = [&](const char* name, const QString& caption, GearArray<ValueEdit>& texts, const std::string* unit,
                     int hint) {
    QLabel* label = WrapCaption(NewLabel(box, QString("Label_") + name, caption));
    Hint(label, hint);
    grid->addWidget(label, row, 0);
    for (int g = 1; g <= 2; ++g) {
      QLineEdit* edit = NewNumberEdit(box, QString("Edit_") + name + QString::number(g));
      grid->addWidget(edit, row, g);
      binder.Edit(edit, &texts[g].text);
    }
    if (unit) {
      QLabel* u = NewLabel(box, QString("Label_") + name + "u", QString());
      binder.Label(u, unit);
      grid->addWidget(u, row, 3);
    }
    return row++;
  };
  // A row of one value.
  auto valueRow = [&](const char* name, const QString& caption, ValueEdit& value, const std::string* unit, int hint) {
    QLabel* label = WrapCaption(NewLabel(box, QString("Label_") + name, caption));
    Hint(label, hint);
    grid->addWidget(label, row, 0);
    QLineEdit* edit = NewNumberEdit(box, QString("Edit_") + name);
    grid->addWidget(edit, row, 1);
    binder.Edit(edit, &value.text);
    if (unit) {
      QLabel* u = NewLabel(box, QString("Label_") + name + "u", QString());
      binder.Label(u, unit);
      grid->addWidget(u, row, 3);
    }
    return row++;
  };

  int r = gearRow("di", "Gear blank inside diameter Di", page.Di, &page.LengthUnit, 5580);
  grid->addWidget(onePage ? button("Button_di", "<", [actions] { actions.fs0(Fs0Proposal::Di); })
                          : button("Button_di", "<", [&page] { ProposePage1(page, Page1Proposal::Di); }),
                  r, 4);
  image("Button_imagedi", "Aux. &Image di", 5580, r, 5);
  r = gearRow("e", "Tooth contacts per/rotation e", page.E, nullptr, 5595);
  if (onePage)
    grid->addWidget(button("Button_enp", "<", [actions] { actions.fs0(Fs0Proposal::ENp); }), r, 4, 2, 1);
  else
    grid->addWidget(button("Button_e", "<", [&page] { ProposePage1(page, Page1Proposal::E); }), r, 4);
  image("Button_imagee", "Aux. &Image e,Np", 5595, r, 5);
  r = gearRow("np", "no. of load reversions/period Np", page.Np, nullptr, 5605);
  if (!onePage) grid->addWidget(button("Button_np", "<", [&page] { ProposePage1(page, Page1Proposal::Np); }), r, 4);
  image("Button_imagenp", "Aux. &Image e,Np", 5605, r, 5);

  // The roughness rows with their five value buttons each.
  struct RzRow {
    const char* name;
    const char* caption;
    GearArray<ValueEdit>* texts;
    const std::vector<std::string>* choices;
    void (*set)(TStrengthPage1&, int);
  };
  const RzRow rz[2] = {
      {"rzz", "Average peak-to-valley height Tooth flank RzZ", &page.RzZ, &RzFlankChoices, SetRzFlank},
      {"rzy", "Average peak-to-valley height Tooth root RzY", &page.RzY, &RzRootChoices, SetRzRoot}};
  for (const RzRow& rr : rz) {
    r = gearRow(rr.name, rr.caption, *rr.texts, &page.MicroUnit, 5590);
    auto* choices = new QHBoxLayout;
    for (int i = 0; i < 5; ++i) {
      auto set = rr.set;
      choices->addWidget(button(QString("Button_") + rr.name + QString::number(i),
                                Q((*rr.choices)[static_cast<std::size_t>(i)]), [&page, set, i] { set(page, i); }));
    }
    grid->addLayout(choices, r, 4, 1, 2);
  }

  r = valueRow("nue50", QString::fromUtf8("Oil viscosity at 50\u00b0C"), page.Nu50, &page.ViscosityUnit, 5615);
  auto* lubricant = new QHBoxLayout;
  lubricant->addWidget(button("Button_visko", "Visko ... deg C", [actions] { actions.viscosity(); }));
  lubricant->addWidget(button("Button_lub", "..", [actions] { actions.lubricant(); }));
  grid->addLayout(lubricant, r, 4, 1, 2);
  r = valueRow("kah", "application factor KAH", page.KAH, nullptr, 5600);
  if (onePage)
    grid->addWidget(button("Button_kah", "<", [actions] { actions.fs0(Fs0Proposal::KAH); }), r, 4);
  else
    grid->addWidget(button("Button_ka", "<", [&page] { ProposePage1(page, Page1Proposal::KA); }), r, 4, 2, 1);
  image("Button_imageka", "Aux. &Image KA", 5600, r, 5);
  r = valueRow("kaf", "application factor KAF", page.KAF, nullptr, 5600);
  if (onePage) grid->addWidget(button("Button_kaf", "<", [actions] { actions.fs0(Fs0Proposal::KAF); }), r, 4);

  auto* helical = new QCheckBox("Double helical gearing", box);
  helical->setObjectName("CheckBox_doppel");
  Hint(helical, 5620);
  binder.Check(helical, &page.DoubleHelical);
  grid->addWidget(helical, row, 0);
  image("Button_imagedoppel", "?", 5620, row++, 1);

  auto* life = new QGroupBox(box);
  life->setObjectName("RadioGroup_life");
  Hint(life, 6800);
  auto* lifeLayout = new QVBoxLayout(life);
  auto* lifeGroup = new QButtonGroup(life);
  const char* modes[2] = {"Calculate life expectation", "Input limited-life factors"};
  for (int i = 0; i < 2; ++i) {
    auto* radio = new QRadioButton(modes[i], life);
    radio->setObjectName(QString("RadioButton_life%1").arg(i));
    lifeGroup->addButton(radio, i);
    lifeLayout->addWidget(radio);
  }
  binder.Radio(lifeGroup, &page.LifeMode);
  QObject::connect(lifeGroup, &QButtonGroup::idClicked, owner, act([&page] { SetLifeFactorVisibility(page); }));
  grid->addWidget(life, row, 0, 1, 3);
  grid->addWidget(button("Button_life", "<", [&page] { ProposePage1(page, Page1Proposal::LifeMode); }), row++, 4);
  // The life factors: edits, labels and their picture buttons follow the
  // radio. The help entries are those of the factor questions: 6810 the
  // root's YNT, 6820 the flank's ZNT.
  const char* lifeNames[2] = {"znt", "ynt"};
  const int lifeHelp[2] = {6820, 6810};
  for (int k = 0; k < 2; ++k) {
    const QString name = lifeNames[k];
    QLabel* label = NewLabel(box, "Label_" + name, k == 0 ? "ZNT" : "YNT");
    Hint(label, lifeHelp[k]);
    binder.Visible(label, &page.LifeFactorsVisible);
    grid->addWidget(label, row, 0);
    for (int g = 1; g <= 2; ++g) {
      QLineEdit* edit = NewNumberEdit(box, "Edit_" + name + QString::number(g));
      binder.Edit(edit, k == 0 ? &page.ZNT[g].text : &page.YNT[g].text);
      binder.Visible(edit, &page.LifeFactorsVisible);
      grid->addWidget(edit, row, g);
    }
    if (StrengthHasImage(lifeHelp[k])) {
      QPushButton* help = button("Button_image" + name, k == 0 ? "ZNT ?" : "YNT ?",
                                 [actions, h = lifeHelp[k]] { actions.image(h); });
      binder.Visible(help, &page.LifeFactorsVisible);
      grid->addWidget(help, row, 4);
    }
    ++row;
  }
  if (onePage) image("Button_image5010", "Aux. &Image", 5010, row++, 5);
  grid->setRowStretch(row, 1);
  return box;
}

// What page 2's buttons do where the single page differs.
struct Page2Actions {
  std::function<void(Fs0Proposal)> fs0;  // empty on the page window
};

QGroupBox* BuildPage2(QWidget* owner, FormBinder& binder, TStrengthPage2& page, const Page2Actions& actions,
                      const bool* fshVisible) {
  auto* box = new QGroupBox(owner);
  box->setObjectName("GroupBox_page2");
  auto* grid = new QGridLayout(box);
  const bool onePage = static_cast<bool>(actions.fs0);
  auto act = [&binder](std::function<void()> f) { return [&binder, f] { binder.Act(f); }; };
  auto proposal = [&](QWidget* parent, const QString& name, std::function<void()> f) {
    QPushButton* b = NewProposalButton(parent, name);
    QObject::connect(b, &QPushButton::clicked, owner, act(std::move(f)));
    return b;
  };
  // A picture button where the help entry has a picture; none elsewhere.
  auto image = [&](QWidget* parent, QGridLayout* g, const QString& name, int help, int r, int column) {
    if (!StrengthHasImage(help)) return;
    QPushButton* b = NewNarrowButton(parent, name, "?");
    QObject::connect(b, &QPushButton::clicked, owner, [help] { StrengthImage(help); });
    g->addWidget(b, r, column);
  };
  auto check = [&](QWidget* parent, const char* name, const QString& caption, bool* state, int hint) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QString("CheckBox_") + name);
    Hint(c, hint);
    binder.Check(c, state);
    return c;
  };
  auto lengthEdit = [&](QWidget* parent, QGridLayout* g, int row, const char* name, const QString& caption,
                        std::string* text, const std::string* unit, int hint) {
    QLabel* label = WrapCaption(NewLabel(parent, QString("Label_") + name, caption));
    Hint(label, hint);
    g->addWidget(label, row, 0);
    QLineEdit* edit = NewNumberEdit(parent, QString("Edit_") + name);
    binder.Edit(edit, text);
    g->addWidget(edit, row, 1);
    QLabel* u = NewLabel(parent, QString("Label_") + name + "u", QString());
    binder.Label(u, unit);
    g->addWidget(u, row, 2);
    return std::tuple<QLabel*, QLineEdit*, QLabel*>(label, edit, u);
  };

  int row = 0;
  // The shaft and the supporting effect go with the bearing group: an
  // entered fsh makes them needless.
  auto [dshLabel, dshEdit, dshUnit] =
      lengthEdit(box, grid, row, "dsh", "Shaft-diameter of the pinion dsh", &page.Dsh.text, &page.LengthUnit, 5610);
  QPushButton* dshPropose =
      onePage ? proposal(box, "Button_dsh", [actions] { actions.fs0(Fs0Proposal::Dsh); })
              : proposal(box, "Button_dsh", [&page] { ProposeShaftDiameterEdit(page); });
  grid->addWidget(dshPropose, row++, 3);
  // The whole row, its unit too: a unit left standing would keep the row's
  // height.
  for (QWidget* w : {static_cast<QWidget*>(dshLabel), static_cast<QWidget*>(dshEdit), static_cast<QWidget*>(dshUnit),
                     static_cast<QWidget*>(dshPropose)})
    binder.Visible(w, &page.BearingGroupVisible);

  QCheckBox* supporting = check(box, "stuetz", "Supporting effect", &page.SupportingEffect, 5630);
  grid->addWidget(supporting, row, 0);
  QPushButton* supportingPropose = proposal(box, "Button_stuetz", [&page] { ProposeSupportingEffect(page); });
  grid->addWidget(supportingPropose, row, 3);
  image(box, grid, "Button_imagestuetz", 5630, row++, 4);
  binder.Visible(supporting, &page.BearingGroupVisible);
  binder.Visible(supportingPropose, &page.BearingGroupVisible);
  grid->addWidget(check(box, "einlauf", "Lapping-in/breaking-in", &page.LappingIn, 5660), row++, 0);
  grid->addWidget(check(box, "flankenlinie", "Tooth trace angle correction", &page.HelixCorrection, 5670), row++, 0);
  grid->addWidget(check(box, "balligkeit", "Central crowning", &page.CentralCrowning, 5650), row++, 0);
  grid->addWidget(check(box, "endruecknahme", "End relief", &page.EndRelief, 5640), row++, 0);

  auto* bearing = new QGroupBox("Bearing pinion shaft", box);
  bearing->setObjectName("GroupBox_bearing");
  binder.Visible(bearing, &page.BearingGroupVisible);
  auto* bg = new QGridLayout(bearing);
  auto list = [&](int r, const char* name, const QString& caption, const std::vector<std::string>& items, int* index,
                  int help) {
    QLabel* label = WrapCaption(NewLabel(bearing, QString("Label_") + name, caption));
    Hint(label, help);
    bg->addWidget(label, r, 0);
    auto* combo = new QComboBox(bearing);
    combo->setObjectName(QString("ComboBox_") + name);
    for (const std::string& item : items) combo->addItem(Q(item));
    binder.Combo(combo, index);
    bg->addWidget(combo, r, 1);
    image(bearing, bg, QString("Button_image") + name, help, r, 3);
  };
  list(0, "bi442", "Contact pattern position", page.ContactPatternItems, &page.ContactPatternIndex, 5540);
  list(1, "bi443", "Bearing-arrangement pinion shaft", page.BearingItems, &page.BearingIndex, 5550);
  if (onePage) bg->addWidget(proposal(bearing, "Button_lists", [actions] { actions.fs0(Fs0Proposal::Lists); }), 0, 2, 2, 1);
  lengthEdit(bearing, bg, 2, "l1", "Bearing distance l", &page.L.text, &page.LengthUnit, 5560);
  lengthEdit(bearing, bg, 3, "s1", "Bedding offset s", &page.S.text, &page.LengthUnit, 5570);
  if (onePage) {
    bg->addWidget(proposal(bearing, "Button_l1", [actions] { actions.fs0(Fs0Proposal::L); }), 2, 3);
    bg->addWidget(proposal(bearing, "Button_s1", [actions] { actions.fs0(Fs0Proposal::S); }), 3, 3);
  }
  grid->addWidget(bearing, row++, 0, 1, 5);

  auto visibility = act([&page] { SetPage2Visibility(page); });
  QCheckBox* notch = check(box, "notch", "notch in fillet ?", &page.Notch, 5010);
  QObject::connect(notch, &QCheckBox::clicked, owner, visibility);
  grid->addWidget(notch, row, 0);
  QLabel* tgrg = NewLabel(box, "Label_tgrg", "tg / rg");
  Hint(tgrg, 5010);
  binder.Visible(tgrg, &page.NotchValuesVisible);
  grid->addWidget(tgrg, row, 1);
  for (int g = 1; g <= 2; ++g) {
    QLabel* gear = NewLabel(box, "Label_tgrggear" + QString::number(g), "gear " + QString::number(g));
    binder.Visible(gear, &page.NotchValuesVisible);
    grid->addWidget(gear, row + g, 0);
    QLineEdit* edit = NewNumberEdit(box, "Edit_tgrg" + QString::number(g));
    binder.Edit(edit, &page.TgRg[g].text);
    binder.Visible(edit, &page.NotchValuesVisible);
    grid->addWidget(edit, row + g, 1);
  }
  row += 3;

  struct Deviation {
    const char* name;
    const char* caption;
    bool* input;
    std::string* text;
    const bool* enabled;
    int hint;
  };
  const Deviation deviations[2] = {{"fsh", "Input fsh ?", &page.FshInput, &page.Fsh.text, &page.FshEnabled, 5015},
                                   {"fma", "Input fma ?", &page.FmaInput, &page.Fma.text, &page.FmaEnabled, 5020}};
  for (const Deviation& d : deviations) {
    QCheckBox* input = check(box, d.name, d.caption, d.input, d.hint);
    QObject::connect(input, &QCheckBox::clicked, owner, visibility);
    grid->addWidget(input, row, 0);
    QLineEdit* edit = NewNumberEdit(box, QString("Edit_") + d.name);
    binder.Edit(edit, d.text);
    binder.Enabled(edit, d.enabled);
    grid->addWidget(edit, row, 1);
    QLabel* unit = NewLabel(box, QString("Label_") + d.name + "u", QString());
    binder.Label(unit, &page.MicroUnit);
    grid->addWidget(unit, row, 2);
    // The automotive method computes no fsh: the single page hides it.
    if (fshVisible && std::string(d.name) == "fsh")
      for (QWidget* w : {static_cast<QWidget*>(input), static_cast<QWidget*>(edit), static_cast<QWidget*>(unit)})
        binder.Visible(w, fshVisible);
    ++row;
  }
  grid->setRowStretch(row, 1);
  return box;
}

}  // namespace

// ---- What the windows share --------------------------------------------------------------

StrengthWindow::StrengthWindow(const TStrengthPageRef& page, QWidget* parent) : QDialog(parent), page_(page) {}

QPushButton* StrengthWindow::Button(const QString& objectName) const {
  return findChild<QPushButton*>(objectName);
}

void StrengthWindow::AddButtonRow(QLayout* layout, int helpNumber) {
  auto* buttons = new QHBoxLayout;
  static_cast<QBoxLayout*>(layout)->addLayout(buttons);
  QPushButton* ok = NewButton(this, "Button_ok", "OK");
  ok->setDefault(true);
  QPushButton* cancel = NewButton(this, "Button_cancel", "Cancel");
  QPushButton* help = NewButton(this, "Button_help", "&Help");
  QPushButton* calc = NewButton(this, "Button_calc", "Calc");
  QPushButton* units = NewButton(this, "Button_metric", "mm <--> inch");
  for (QPushButton* b : {ok, cancel, help, calc, units}) buttons->addWidget(b);
  connect(ok, &QPushButton::clicked, this, &StrengthWindow::Button_okClick);
  connect(cancel, &QPushButton::clicked, this, &StrengthWindow::Button_cancelClick);
  connect(help, &QPushButton::clicked, this, [helpNumber] { StrengthHelp(helpNumber); });
  connect(calc, &QPushButton::clicked, this, [this] {
    binder_.Act([this] { StrengthCalc(page_); });
    raise();
    activateWindow();
  });
  connect(units, &QPushButton::clicked, this, [this] { binder_.Act([this] { StrengthToggleUnits(page_); }); });
}

void StrengthWindow::Button_okClick() {
  binder_.Pull();
  if (!StrengthOk(page_)) {
    binder_.Push();  // a refused field shows its old value again
    return;
  }
  closing_ = true;
  accept();
}

void StrengthWindow::Button_cancelClick() { reject(); }

void StrengthWindow::reject() {
  if (!closing_) StrengthCancel();
  QDialog::reject();
}

// ---- The three windows ---------------------------------------------------------------------

TForm_vob1fest1::TForm_vob1fest1(TStrengthPage1& page, QWidget* parent)
    : StrengthWindow(PageRef(page), parent), page_(page) {
  setObjectName("Form_vob1fest1");
  setWindowTitle(Q(page_.Caption));
  auto* layout = new QVBoxLayout(this);
  Page1Actions actions;
  // The image is drawn on the main window; the page comes back to the front.
  actions.image = [this](int help) {
    Page1Image(page_, help);
    raise();
    activateWindow();
  };
  actions.viscosity = [this] { Page1ViscosityConverter(page_); };
  actions.lubricant = [this] { Page1Lubricant(page_); };
  layout->addWidget(BuildPage1(this, binder_, page_, actions));
  AddButtonRow(layout, 1000);
  binder_.Push();
  common::ui::ScaleAndCenterForm(this);
}

TForm_vob1fest2::TForm_vob1fest2(TStrengthPage2& page, QWidget* parent)
    : StrengthWindow(PageRef(page), parent), page_(page) {
  setObjectName("Form_vob1fest2");
  setWindowTitle(Q(page_.Caption));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildPage2(this, binder_, page_, Page2Actions{}, nullptr));
  AddButtonRow(layout, 9050);
  binder_.Push();
  common::ui::ScaleAndCenterForm(this);
}

TForm_vob1fs0::TForm_vob1fs0(TStrengthForm& form, QWidget* parent)
    : StrengthWindow(PageRef(form), parent), form_(form) {
  setObjectName("Form_vob1fs0");
  setWindowTitle(Q(form_.Caption));
  auto* layout = new QVBoxLayout(this);
  auto* methodRow = new QHBoxLayout;
  layout->addLayout(methodRow);
  methodRow->addWidget(NewLabel(this, "Label_method", "Calculation method"));
  auto* method = new QComboBox(this);
  method->setObjectName("ComboBox_method");
  for (const std::string& item : form_.MethodItems) method->addItem(Q(item));
  binder_.Combo(method, &form_.MethodIndex);
  methodRow->addWidget(method, 1);
  connect(method, &QComboBox::currentIndexChanged, this, [this] {
    binder_.Act([this] { SetFs0Visibility(form_); });
    setWindowTitle(Q(form_.Caption));
  });

  auto fs0 = [this](Fs0Proposal what) { ProposeFs0(form_, what); };
  Page1Actions actions;
  actions.image = [this](int help) {
    Fs0Image(form_, help);
    raise();
    activateWindow();
  };
  actions.viscosity = [this] { Fs0ViscosityConverter(form_); };
  actions.lubricant = [this] { Fs0Lubricant(form_); };
  actions.fs0 = fs0;
  auto* pages = new QHBoxLayout;
  layout->addLayout(pages);
  QGroupBox* page1 = BuildPage1(this, binder_, form_.Page1, actions);
  binder_.Visible(page1, &form_.Page1Visible);
  pages->addWidget(page1);
  QGroupBox* page2 = BuildPage2(this, binder_, form_.Page2, Page2Actions{fs0}, &form_.FshVisible);
  binder_.Visible(page2, &form_.Page2Visible);
  pages->addWidget(page2);
  AddButtonRow(layout, 1000);
  binder_.Push();
  common::ui::ScaleAndCenterForm(this);
}

void ShowStrengthPage1Window(TStrengthPage1& page) {
  TForm_vob1fest1 window(page, QApplication::activeWindow());
  window.exec();
}

void ShowStrengthPage2Window(TStrengthPage2& page) {
  TForm_vob1fest2 window(page, QApplication::activeWindow());
  window.exec();
}

void ShowStrengthFormWindow(TStrengthForm& form) {
  TForm_vob1fs0 window(form, QApplication::activeWindow());
  window.exec();
}

}  // namespace app::ui
