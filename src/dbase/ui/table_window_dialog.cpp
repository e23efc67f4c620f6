// The table window on Qt; see table_window_dialog.h.
#include "dbase/ui/table_window_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/help_text.h"
#include "common/ui/form_scaling.h"
#include "dbase/ui/tz_grid.h"
#include "dbase/ui/tz_navigator.h"

namespace dbase::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TableWindowDialog::TableWindowDialog(Tdbf4& window, QWidget* parent) : QDialog(parent), window_(window) {
  setObjectName("Tdbf4");
  resize(656, 464);
  auto* layout = new QVBoxLayout(this);
  MainMenu1 = new QMenuBar(this);
  MainMenu1->setObjectName("MainMenu1");
  MainMenu1->setNativeMenuBar(false);
  layout->setMenuBar(MainMenu1);

  QMenu* file = MainMenu1->addMenu(Q(window.mi_file));
  file->setObjectName("mi_file");
  AddAction(file, window.mi_fileExportHtml, "mi_fileExportHtml", &Tdbf4::ExportHtmlClick);
  AddAction(file, window.mi_fileSaveAsDelimited, "mi_fileSaveAsDelimited", &Tdbf4::SaveAsDelimitedClick);
  file->addSeparator();
  AddAction(file, window.mi_fileAppenddbf, "mi_fileAppenddbf", &Tdbf4::AppendDbfClick);
  AddAction(file, window.mi_fileAppendDelimited, "mi_fileAppendDelimited", &Tdbf4::AppendDelimitedClick);
  QAction* separator = file->addSeparator();
  separator->setObjectName("mi_fileSeparatorAppend");
  AddAction(file, window.mi_filePrint, "mi_filePrint", &Tdbf4::PrintClick);
  file->addSeparator();
  AddAction(file, window.mi_fileExit, "mi_fileExit", &Tdbf4::StoreRecNo);
  mi_edit = MainMenu1->addMenu(Q(window.mi_edit));
  mi_edit->setObjectName("mi_edit");
  AddAction(mi_edit, window.mi_editAppend, "mi_editAppend", &Tdbf4::AppendClick);
  AddAction(mi_edit, window.mi_editPack, "mi_editPack", &Tdbf4::PackClick)->setStatusTip(Q(window.mi_editPackHint));
  QMenu* view = MainMenu1->addMenu(Q(window.mi_view));
  view->setObjectName("mi_view");
  AddAction(view, window.mi_viewSearch, "mi_viewSearch", &Tdbf4::SearchClick);
  AddAction(view, window.mi_viewSearchNext, "mi_viewSearchNext", &Tdbf4::SearchNextClick);
  QMenu* help = MainMenu1->addMenu(Q(window.mi_help));
  help->setObjectName("mi_help");
  AddAction(help, window.mi_helpdbf, "mi_helpdbf", &Tdbf4::HelpDbfClick);
  AddAction(help, window.mi_helpCommon, "mi_helpCommon", &Tdbf4::HelpCommonClick);
  AddAction(help, window.mi_helphilfebild, "mi_helphilfebild", &Tdbf4::HelpImageClick);
  AddAction(help, window.mi_helpDatei, "mi_helpDatei", &Tdbf4::HelpFileClick);

  auto* top = new QHBoxLayout();
  Label_title2 = new QLabel(this);
  Label_title2->setObjectName("Label_title2");
  QFont bold = Label_title2->font();
  bold.setBold(true);
  Label_title2->setFont(bold);
  top->addWidget(Label_title2, 1);
  Edit_recno = new QLineEdit(this);
  Edit_recno->setObjectName("Edit_recno");
  Edit_recno->setMaximumWidth(80);
  Edit_recno->setAlignment(Qt::AlignRight);
  top->addWidget(Edit_recno);
  Label_reccount = new QLabel(this);
  Label_reccount->setObjectName("Label_reccount");
  top->addWidget(Label_reccount);
  Button_search = new QPushButton(Q(window.Button_search), this);
  Button_search->setObjectName("Button_search");
  Button_search->setAutoDefault(false);
  top->addWidget(Button_search);
  Button_SearchNext = new QPushButton(Q(window.Button_SearchNext), this);
  Button_SearchNext->setObjectName("Button_SearchNext");
  Button_SearchNext->setAutoDefault(false);
  top->addWidget(Button_SearchNext);
  layout->addLayout(top);

  TzGrid1 = new TTzGrid(this);
  TzGrid1->ConfirmDelete = false;
  layout->addWidget(TzGrid1, 1);

  auto* bottom = new QHBoxLayout();
  TzNavigator1 = new TTzNavigator(this);
  TzNavigator1->ConfirmDelete = false;
  TzNavigator1->ConfirmRestore = false;
  bottom->addWidget(TzNavigator1, 1);
  Button_ok = new QPushButton(Q(window.Button_ok), this);
  Button_ok->setObjectName("Button_ok");
  Button_ok->setDefault(true);
  bottom->addWidget(Button_ok);
  Button_cancel = new QPushButton(Q(window.Button_cancel), this);
  Button_cancel->setObjectName("Button_cancel");
  Button_cancel->setAutoDefault(false);
  bottom->addWidget(Button_cancel);
  layout->addLayout(bottom);

  connect(Button_ok, &QPushButton::clicked, this, [this] { Run(&Tdbf4::StoreRecNo); });
  connect(Button_cancel, &QPushButton::clicked, this, [this] { Run(&Tdbf4::CancelClick); });
  connect(Button_search, &QPushButton::clicked, this, [this] { Run(&Tdbf4::SearchClick); });
  connect(Button_SearchNext, &QPushButton::clicked, this, [this] { Run(&Tdbf4::SearchNextClick); });
  connect(Edit_recno, &QLineEdit::textEdited, this, [this](const QString& text) {
    window_.EditRecnoChange(text.toStdString());
    TzGrid1->Reload();
  });
  TzGrid1->OnCellClick = [this] {
    RememberColumn();
    window_.GridCellClick();
    if (!finishing_) Refresh();
  };
  TzGrid1->OnKeyDown = [this](int key) {
    RememberColumn();
    window_.GridKeyDown(key);
  };
  TzGrid1->OnKeyUp = [this] {
    window_.GridKeyUp();
    Edit_recno->setText(Q(window_.Edit_recno));
  };
  TzGrid1->OnDepressTitle = [this](int column) { window_.DepressTitle(column); };
  TzNavigator1->BeforeAction = [this] { TzGrid1->CommitEdit(); };
  TzNavigator1->OnClick = [this](TNavigateBtn) { Refresh(); };

  TzGrid1->SetDataSet(&window.tzdbf);
  TzNavigator1->SetDataSet(&window.tzdbf);
  ApplyMode();
  Refresh();
  common::ui::ScaleForm(this);
}

QAction* TableWindowDialog::AddAction(QMenu* menu, const std::string& caption, const QString& name,
                                      void (Tdbf4::*handler)()) {
  QAction* action = menu->addAction(Q(caption));
  action->setObjectName(name);
  connect(action, &QAction::triggered, this, [this, handler] { Run(handler); });
  return action;
}

QAction* TableWindowDialog::Action(const QString& name) const { return findChild<QAction*>(name); }

void TableWindowDialog::Run(void (Tdbf4::*handler)()) {
  TzGrid1->CommitEdit();
  RememberColumn();
  (window_.*handler)();
  if (!finishing_) Refresh();
}

void TableWindowDialog::RememberColumn() {
  if (TzGrid1->currentIndex().isValid()) window_.GridColumn = TzGrid1->currentIndex().column();
}

void TableWindowDialog::ApplyMode() {
  setWindowTitle(Q(window_.Caption));
  Label_title2->setText(Q(window_.Label_title2));
  TzNavigator1->SetVisibleButtons(window_.NavigatorButtons);
  for (const char* name : {"mi_fileAppenddbf", "mi_fileAppendDelimited", "mi_fileSeparatorAppend"})
    if (QAction* action = Action(name)) action->setVisible(window_.AppendItemsVisible);
  mi_edit->menuAction()->setVisible(window_.EditMenuVisible);
  // The help picture of the table in use, offered only where its entry has one.
  if (QAction* picture = Action("mi_helphilfebild")) picture->setVisible(common::HelpHasPicture(common::HelpNumber));
  TzGrid1->SetEditing(window_.GridOptions.editing);
  TzGrid1->SetRowSelect(window_.GridOptions.rowSelect);
  TzGrid1->verticalHeader()->setVisible(window_.GridOptions.indicator);
  TzGrid1->horizontalHeader()->setVisible(window_.GridOptions.titles);
  TzGrid1->setShowGrid(window_.GridOptions.columnLines || window_.GridOptions.rowLines);
  TzGrid1->horizontalHeader()->setSectionResizeMode(window_.GridOptions.columnResize ? QHeaderView::Interactive
                                                                                     : QHeaderView::Fixed);
}

void TableWindowDialog::Refresh() {
  TzGrid1->Reload();
  window_.UpdateRecordLabels();
  Edit_recno->setText(Q(window_.Edit_recno));
  Label_reccount->setText(Q(window_.Label_reccount));
  const QModelIndex current = TzGrid1->currentIndex();
  if (current.isValid() && window_.GridColumn >= 0 && window_.GridColumn < TzGrid1->Model()->columnCount() &&
      current.column() != window_.GridColumn)
    TzGrid1->setCurrentIndex(TzGrid1->Model()->index(current.row(), window_.GridColumn));
}

void TableWindowDialog::Finish(bool ok) {
  finishing_ = true;
  done(ok ? QDialog::Accepted : QDialog::Rejected);
}

void TableWindowDialog::reject() {
  // Escape and the window frame are the Cancel button.
  if (!finishing_) window_.CancelClick();
  if (!finishing_) Finish(false);
}

// ---- The view ------------------------------------------------------------------------

void QtTableWindowView::ShowModal(Tdbf4& window) {
  TableWindowDialog dialog(window, QApplication::activeWindow());
  current_ = &dialog;
  if (OnShown) QTimer::singleShot(0, &dialog, [this, &dialog] { OnShown(dialog); });
  dialog.exec();
  current_ = nullptr;
}

void QtTableWindowView::CloseModal(Tdbf4& window) {
  if (current_ != nullptr) current_->Finish(LastKeyCode == 13);
  (void)window;
}

void QtTableWindowView::RecordsChanged(Tdbf4&) {
  if (current_ != nullptr) current_->Refresh();
}

void QtTableWindowView::BringToFront(Tdbf4&) {
  if (current_ == nullptr) return;
  current_->show();
  current_->raise();
  current_->activateWindow();
}

QtTableWindowView& InstallTableWindow() {
  static QtTableWindowView view;
  SetTableWindowView(&view);
  return view;
}

}  // namespace dbase::ui
