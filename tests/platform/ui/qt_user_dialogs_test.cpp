// The Qt user dialogs (offscreen): choice dialogs as list or radio group
// with their preselection, Enter and Escape, the help buttons, the input's
// length limit, message boxes and the file-dialog filter.
#include "platform/qt/qt_user_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace platform;
using namespace platform::qt;

namespace {

int argc = 1;
char arg0[] = "qt_user_dialogs_test";
char* argv[] = {arg0, nullptr};

class QtDialogsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
};

// Runs action on the modal dialog as soon as it is shown.
void WhenShown(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      action(modal);
    }
  });
  timer->start(5);
  // A dialog that the action failed to close would hang the test.
  QTimer::singleShot(5000, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      ADD_FAILURE() << "a dialog stayed open";
      modal->close();
    }
  });
}

QPushButton* ButtonWithText(QWidget* dialog, const QString& text) {
  for (auto* b : dialog->findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

}  // namespace

TEST_F(QtDialogsTest, ChoiceAsListOrRadioGroupWithPreselectionEnterAndEscape) {
  ChoiceRequest request{"Select", "Device", "Select", {"DXF", "IGES", "Screen"}, 2, ChoiceStyle::List, {}};
  std::unique_ptr<QDialog> list(CreateChoiceDialog(request, nullptr));
  EXPECT_EQ(list->windowTitle(), "Select");
  ASSERT_NE(list->findChild<QListWidget*>(), nullptr);
  EXPECT_EQ(ChoiceDialogSelection(list.get()), 2);
  list->show();
  auto* box = list->findChild<QListWidget*>();
  QTest::keyClick(box, Qt::Key_Up);
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(list->result(), QDialog::Accepted);
  EXPECT_EQ(ChoiceDialogSelection(list.get()), 1);

  request.style = ChoiceStyle::Radio;
  request.preselected = 7;  // outside: the first item
  std::unique_ptr<QDialog> radio(CreateChoiceDialog(request, nullptr));
  const auto radios = radio->findChildren<QRadioButton*>();
  ASSERT_EQ(radios.size(), 3);
  EXPECT_TRUE(radios[0]->isChecked());
  radio->show();
  radios[1]->click();
  EXPECT_EQ(ChoiceDialogSelection(radio.get()), 1);
  QTest::keyClick(radio.get(), Qt::Key_Escape);
  EXPECT_EQ(radio->result(), QDialog::Rejected);
}

TEST_F(QtDialogsTest, HelpButtonsCallTheActionAndLeaveTheDialogOpen) {
  std::vector<HelpView> shown;
  TextInputRequest request{"Input", "Module [mm]", "4", 5, [&](HelpView v) { shown.push_back(v); }};
  std::unique_ptr<QDialog> dialog(CreateTextInputDialog(request, nullptr));
  dialog->show();
  ButtonWithText(dialog.get(), "&Help Text")->click();
  ButtonWithText(dialog.get(), "Aux. &Image")->click();
  EXPECT_EQ(shown, (std::vector<HelpView>{HelpView::Text, HelpView::Image}));
  EXPECT_TRUE(dialog->isVisible());
  // The edit starts with the text selected and takes at most 5 characters.
  auto* edit = dialog->findChild<QLineEdit*>();
  QTest::keyClicks(edit, "12.34567");
  EXPECT_EQ(TextInputDialogText(dialog.get()), "12.34");
  // An entry without a picture has no picture button, only its text.
  request.helpImage = false;
  std::unique_ptr<QDialog> textOnly(CreateTextInputDialog(request, nullptr));
  EXPECT_NE(ButtonWithText(textOnly.get(), "&Help Text"), nullptr);
  EXPECT_EQ(ButtonWithText(textOnly.get(), "Aux. &Image"), nullptr);
  // Without a help action there are no help buttons.
  request.help = nullptr;
  std::unique_ptr<QDialog> plain(CreateTextInputDialog(request, nullptr));
  EXPECT_EQ(ButtonWithText(plain.get(), "&Help Text"), nullptr);
}

TEST_F(QtDialogsTest, ModalCallsReturnTheAnswerOrNothingOnCancel) {
  QtUserDialogs dialogs;
  WhenShown([](QWidget* w) {
    auto* edit = w->findChild<QLineEdit*>();
    edit->setText("7,5");
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_EQ(dialogs.InputText({"Input", "Value", "1", 30, {}}), "7,5");

  WhenShown([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_FALSE(dialogs.ChooseItem({"Select", "p", "", {"a", "b"}, 0, ChoiceStyle::Radio, {}}).has_value());

  WhenShown([](QWidget* w) {
    auto* list = w->findChild<QListWidget*>();
    list->setCurrentRow(3);
    emit list->itemDoubleClicked(list->item(3));
  });
  EXPECT_EQ(dialogs.ChooseItem({"Select", "p", "", {"a", "b", "c", "d", "e", "f", "g", "h"}, 0, ChoiceStyle::List, {}}),
            3);

  // Escape on a yes/no box gives No, on yes/no/cancel Cancel.
  WhenShown([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_EQ(dialogs.ShowMessage({"VOB4", "Save?", MessageKind::Question, MessageButtons::YesNo}), DialogButton::No);
  WhenShown([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_EQ(dialogs.ShowMessage({"VOB4", "Save?", MessageKind::Question, MessageButtons::YesNoCancel}),
            DialogButton::Cancel);
  WhenShown([](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Error  : ");
    EXPECT_EQ(box->text(), "disk full");
    box->button(QMessageBox::Retry)->click();
  });
  EXPECT_EQ(dialogs.ShowMessage({"Error  : ", "disk full", MessageKind::Error, MessageButtons::RetryCancel}),
            DialogButton::Retry);
}

TEST(QtFileFilter, PairsBecomeQtFilters) {
  EXPECT_EQ(QtFileFilter(""), "*");
  EXPECT_EQ(QtFileFilter("*.vb4|*.vb4"), "*.vb4");
  EXPECT_EQ(QtFileFilter("Plot files|*.plt;*.hgl|All files|*"), "Plot files (*.plt *.hgl);;All files (*)");
  EXPECT_EQ(QtFileFilter("*.dxf"), "*.dxf");
}
