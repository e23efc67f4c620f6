// Scripted dialogs: answers from the queue, the default when it is empty,
// the record of what was asked, and the installed implementation.
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace platform;

TEST(ScriptedDialogs, AnswersFromQueueThenDefaultAndRecordsEverything) {
  ScriptedDialogs d;
  d.Then(ScriptedAnswer::Press(DialogButton::Yes))
      .Then(ScriptedAnswer::Choose(2))
      .Then(ScriptedAnswer::Enter("12,5"))
      .Then(ScriptedAnswer::File("/tmp/a.vb4"));

  EXPECT_EQ(d.ShowMessage({"VOB4", "overwrite ?", MessageKind::Question, MessageButtons::YesNoCancel}),
            DialogButton::Yes);
  EXPECT_EQ(d.ChooseItem({"Select", "Device", "", {"a", "b", "c"}, 0, ChoiceStyle::Radio, {}}), 2);
  EXPECT_EQ(d.InputText({"Input", "Module", "4", 30, {}}), "12,5");
  EXPECT_EQ(d.OpenFileName({"Open", "/tmp", "", "*.vb4|*.vb4", "vb4"}), "/tmp/a.vb4");
  EXPECT_EQ(d.PendingAnswers(), 0u);

  // Queue empty: the cancelling answer of each question.
  EXPECT_EQ(d.ShowMessage({"c", "t", MessageKind::Error, MessageButtons::RetryCancel}), DialogButton::Cancel);
  EXPECT_EQ(d.ShowMessage({"c", "t", MessageKind::Question, MessageButtons::YesNo}), DialogButton::No);
  // An OK box takes no answer from the queue.
  d.Then(ScriptedAnswer::Enter("kept"));
  EXPECT_EQ(d.ShowMessage({"c", "t", MessageKind::Error, MessageButtons::Ok}), DialogButton::Ok);
  EXPECT_EQ(d.PendingAnswers(), 1u);
  EXPECT_EQ(d.InputText({"Input", "p", "x", 10, {}}), "kept");
  EXPECT_FALSE(d.InputText({"Input", "p", "x", 10, {}}).has_value());
  EXPECT_FALSE(d.SaveFileName({"Save", "", "n", "", ""}).has_value());

  const auto& asked = d.Asked();
  ASSERT_EQ(asked.size(), 10u);
  EXPECT_EQ(asked[0].kind, AskedDialog::Kind::Message);
  EXPECT_EQ(asked[0].text, "overwrite ?");
  EXPECT_EQ(asked[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_TRUE(asked[0].answered);
  EXPECT_EQ(asked[1].items.size(), 3u);
  EXPECT_EQ(asked[1].style, ChoiceStyle::Radio);
  EXPECT_EQ(asked[2].initial, "4");
  EXPECT_EQ(asked[2].maxLength, 30);
  EXPECT_EQ(asked[3].filter, "*.vb4|*.vb4");
  EXPECT_FALSE(asked[4].answered);
  EXPECT_EQ(asked[9].kind, AskedDialog::Kind::SaveFile);
}

TEST(ScriptedDialogs, ConfiguredDefaultAndLimits) {
  ScriptedDialogs d;
  d.SetDefaultAnswer(ScriptedAnswer::Press(DialogButton::Retry));
  // Offered: taken; not offered: the box's cancelling button.
  EXPECT_EQ(d.ShowMessage({"", "x", MessageKind::Error, MessageButtons::RetryCancel}), DialogButton::Retry);
  EXPECT_EQ(d.ShowMessage({"", "x", MessageKind::Question, MessageButtons::YesNoCancel}), DialogButton::Cancel);

  d.SetDefaultAnswer(ScriptedAnswer::Choose(0));
  EXPECT_EQ(d.ChooseItem({"", "", "", {"a", "b", "c"}, 1, ChoiceStyle::List, {}}), 1);

  // The edit field takes at most maxLength characters.
  d.Then(ScriptedAnswer::Enter("123456789"));
  EXPECT_EQ(d.InputText({"Input", "ID", "", 8, {}}), "12345678");

  // A Cancel answer fits any question.
  d.Then(ScriptedAnswer::Cancel());
  EXPECT_FALSE(d.ChooseItem({"", "", "", {"a"}, 0, ChoiceStyle::List, {}}).has_value());
}

TEST(ScriptedDialogs, ScriptMismatchThrows) {
  ScriptedDialogs d;
  d.Then(ScriptedAnswer::Enter("x"));
  EXPECT_THROW(d.ShowMessage({"", "q", MessageKind::Question, MessageButtons::YesNo}), std::logic_error);
  d.Then(ScriptedAnswer::Press(DialogButton::Retry));
  EXPECT_THROW(d.ShowMessage({"", "q", MessageKind::Question, MessageButtons::YesNo}), std::logic_error);
  d.Then(ScriptedAnswer::Choose(3));
  EXPECT_THROW(d.ChooseItem({"", "p", "", {"a", "b"}, 0, ChoiceStyle::List, {}}), std::logic_error);
}

TEST(UserDialogs, BuiltInDefaultCancelsAndScopedInstallRestores) {
  EXPECT_EQ(Dialogs().ShowMessage({"", "q", MessageKind::Question, MessageButtons::YesNoCancel}),
            DialogButton::Cancel);
  ScriptedDialogs mine;
  {
    ScopedDialogs scope(mine);
    mine.Then(ScriptedAnswer::Press(DialogButton::Yes));
    EXPECT_EQ(Dialogs().ShowMessage({"", "q", MessageKind::Question, MessageButtons::YesNo}), DialogButton::Yes);
  }
  EXPECT_NE(&Dialogs(), &mine);
  EXPECT_EQ(mine.Asked().size(), 1u);
}

TEST(ScriptedDialogs, ColourAndFontDialogs) {
  ScriptedDialogs d;
  d.Then(ScriptedAnswer::Colour(0x00FF0000u)).Then(ScriptedAnswer::Font({"Courier New", 12, true}));
  EXPECT_EQ(d.ChooseColour("background colour", 1u), 0x00FF0000u);
  const auto font = d.ChooseFont("Text Font Printout", {"Arial", 10});
  ASSERT_TRUE(font.has_value());
  EXPECT_EQ(font->face, "Courier New");
  EXPECT_TRUE(font->bold);
  // Queue empty: cancelled.
  EXPECT_FALSE(d.ChooseColour("c", 5u).has_value());
  EXPECT_FALSE(d.ChooseFont("f", {}).has_value());
  ASSERT_EQ(d.Asked().size(), 4u);
  EXPECT_EQ(d.Asked()[0].kind, AskedDialog::Kind::Colour);
  EXPECT_EQ(d.Asked()[0].colour, 1u);
  EXPECT_EQ(d.Asked()[1].font.face, "Arial");
  // A text answer does not fit a colour dialog.
  d.Then(ScriptedAnswer::Enter("red"));
  EXPECT_THROW(d.ChooseColour("c", 0), std::logic_error);
}
