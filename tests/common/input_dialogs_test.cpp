// The small dialogs through scripted answers: refusal and asking again for
// numbers out of range, Cancel leaving the variable and setting AbortFlag,
// lengths in inches, the yes/no preselection, the user ID, data-file names
// and the message captions.
#include "common/input_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_dialogs.h"
#include "common/kaldvar.h"
#include "common/message_boxes.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

using namespace common;
using platform::AskedDialog;
using platform::ScriptedAnswer;

namespace {

class InputDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    AbortFlag = 0;
  }
  // The texts of the error boxes shown so far.
  std::vector<std::string> Errors() const {
    std::vector<std::string> out;
    for (const auto& a : dialogs.Asked())
      if (a.kind == AskedDialog::Kind::Message) out.push_back(a.caption + a.text);
    return out;
  }
  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped{dialogs};
};

}  // namespace

TEST_F(InputDialogsTest, IntegerOutOfRangeIsRefusedAndAskedAgainCancelKeepsTheValue) {
  std::int32_t n = 5;
  dialogs.Then(ScriptedAnswer::Enter("11")).Then(ScriptedAnswer::Enter("abc")).Then(ScriptedAnswer::Enter("7"));
  InputIntegerRange("Teeth", n, 10, 1);  // bounds given in reverse
  EXPECT_EQ(n, 7);
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(dialogs.Beeps(), 1);
  EXPECT_EQ(Errors(), (std::vector<std::string>{"Error  : Valid Data are: 1 .. 10 !",
                                                "Error  : Teeth: \"abc\" is not a whole number !"}));
  const auto& asked = dialogs.Asked();
  ASSERT_EQ(asked.size(), 5u);
  EXPECT_EQ(asked[0].initial, "5");
  EXPECT_EQ(asked[0].maxLength, 12);
  EXPECT_EQ(asked[2].initial, "11");  // asked again with what was entered
  EXPECT_EQ(asked[4].initial, "11");  // not a number: asked again as before it

  dialogs.Then(ScriptedAnswer::Cancel());
  InputIntegerRange("Teeth", n, 1, 10);
  EXPECT_EQ(n, 7);
  EXPECT_EQ(AbortFlag, 1);

  std::uint16_t w = 3;
  dialogs.Then(ScriptedAnswer::Enter("70000")).Then(ScriptedAnswer::Enter("9"));
  InputWord("Word", w, 0, 100);
  EXPECT_EQ(w, 9);
}

TEST_F(InputDialogsTest, RealsLengthsInInchesAndUnchangedText) {
  Real v = 1.23456L;
  dialogs.Then(ScriptedAnswer::Enter("1.235"));  // the text as shown: value kept
  InputReal("Module", v, 0, 10);
  EXPECT_EQ(v, 1.23456L);
  EXPECT_EQ(dialogs.Asked()[0].initial, "1.235");
  EXPECT_EQ(dialogs.Asked()[0].maxLength, 30);

  dialogs.Then(ScriptedAnswer::Enter("12,5")).Then(ScriptedAnswer::Enter("2,5"));
  InputReal("Module", v, 0.5L, 10);
  EXPECT_EQ(v, 2.5L);
  EXPECT_EQ(Errors().back(), "Error  : Valid Data are: 0.5 .. 10 !");

  dialogs.Then(ScriptedAnswer::Cancel());
  InputRealB("Module", v, 0, 10);
  EXPECT_EQ(v, 2.5L);
  EXPECT_EQ(AbortFlag, 1);

  UnitSystem = UnitsImperial;
  Real length = 25.4L;
  dialogs.ClearRecord();
  dialogs.Then(ScriptedAnswer::Enter("2"));
  InputLength("Face width", length, 0, 254);
  EXPECT_EQ(dialogs.Asked()[0].text, "Face width [inch]");
  EXPECT_EQ(dialogs.Asked()[0].initial, "1");
  EXPECT_NEAR(static_cast<double>(length), 50.8, 1e-12);
  dialogs.Then(ScriptedAnswer::Enter("20"));  // 508 mm: above 254 mm
  dialogs.Then(ScriptedAnswer::Cancel());
  InputLength("Face width", length, 0, 254);
  EXPECT_NEAR(static_cast<double>(length), 50.8, 1e-12);
  EXPECT_EQ(Errors().back(), "Error  : Valid Data are: 0 .. 10 !");

  UnitSystem = UnitsMetric;
  dialogs.ClearRecord();
  dialogs.Then(ScriptedAnswer::Enter("30"));
  InputLengthB("Face width", length, 0, 254);
  EXPECT_EQ(dialogs.Asked()[0].text, "Face width [mm]");
  EXPECT_EQ(length, 30);
}

// Text that is no number never passes as 0, also where the range holds 0:
// each is refused with a message naming the question, and the question is
// asked again with the value it showed. An empty text is 0, as ever.
TEST_F(InputDialogsTest, TextThatIsNoNumberIsRefusedAndAskedAgain) {
  Real v = 2.5L;
  dialogs.Then(ScriptedAnswer::Enter("abc")).Then(ScriptedAnswer::Enter("1e999")).Then(ScriptedAnswer::Enter("4"));
  InputReal("Module", v, 0, 10);
  EXPECT_EQ(v, 4);
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(Errors(), (std::vector<std::string>{"Error  : Module: \"abc\" is not a number !",
                                                "Error  : Module: \"1e999\" is not a finite number !"}));
  std::vector<std::string> initials;
  for (const auto& a : dialogs.Asked())
    if (a.kind != AskedDialog::Kind::Message) initials.push_back(a.initial);
  EXPECT_EQ(initials, (std::vector<std::string>{"2.5", "2.5", "2.5"}));

  // A length names its unit; Cancel after a refusal keeps the value.
  dialogs.ClearRecord();
  Real length = 30;
  dialogs.Then(ScriptedAnswer::Enter("inf")).Then(ScriptedAnswer::Cancel());
  InputLengthB("Face width", length, 0, 254);
  EXPECT_EQ(length, 30);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(Errors(), (std::vector<std::string>{"Error  : Face width [mm]: \"inf\" is not a finite number !"}));

  dialogs.ClearRecord();
  std::int32_t n = 5;
  dialogs.Then(ScriptedAnswer::Enter("x1")).Then(ScriptedAnswer::Enter(""));
  InputInteger("Count", n, 0, 10);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(Errors(), (std::vector<std::string>{"Error  : Count: \"x1\" is not a whole number !"}));
}

TEST_F(InputDialogsTest, YesNoPreselectionTextConversionAndCancel) {
  char answer = 'n';
  dialogs.Then(ScriptedAnswer::Choose(0));
  AskYesNo("Overwrite?", answer);
  EXPECT_EQ(answer, 'J');
  const auto& q = dialogs.Asked()[0];
  EXPECT_EQ(q.preselected, 1);
  EXPECT_EQ(q.items, (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_EQ(q.style, platform::ChoiceStyle::Radio);
  dialogs.Then(ScriptedAnswer::Choose(1));
  AskYesNo("Overwrite?", answer);
  EXPECT_EQ(answer, 'N');
  EXPECT_EQ(dialogs.Asked()[1].preselected, 0);
  bool flag = true;
  dialogs.Then(ScriptedAnswer::Cancel());
  AskYesNoBool("Flag?", flag);
  EXPECT_TRUE(flag);
  EXPECT_EQ(AbortFlag, 1);

  std::string text = "Gr\x81n";  // code page 850
  dialogs.ClearRecord();
  dialogs.Then(ScriptedAnswer::Enter("Gr\xC3\xB6\xC3\x9F"));
  InputText("Name \x94", 10, text);
  EXPECT_EQ(dialogs.Asked()[0].text, "Name \xC3\xB6");
  EXPECT_EQ(dialogs.Asked()[0].initial, "Gr\xC3\xBCn");
  EXPECT_EQ(text, "Gr\x94\xE1");
  EXPECT_EQ(AbortFlag, 0);
}

TEST_F(InputDialogsTest, UserIdIsOneFolderOfTheProgramDirectory) {
  testsupport::ScratchDirectory dir("user_id");
  std::filesystem::create_directory(dir.Dir() / "anna");
  const auto cwd = std::filesystem::current_path();
  ProgramDirectory = dir.Dir().string();
  for (const char* bad : {"..", ".", "C:", "a/b", "bert"}) {
    dialogs.Then(ScriptedAnswer::Enter(bad));
    EXPECT_FALSE(InputUserId()) << bad;
    EXPECT_EQ(Errors().back(), std::string("Error  : Invalid user ID ") + bad + " !");
  }
  dialogs.Then(ScriptedAnswer::Cancel());
  EXPECT_FALSE(InputUserId());
  dialogs.Then(ScriptedAnswer::Enter("anna"));
  EXPECT_TRUE(InputUserId());
  EXPECT_EQ(DataDirectory, "anna");
  EXPECT_EQ(dialogs.Asked().back().text, "Enter User ID ...");
  EXPECT_EQ(dialogs.Asked().back().maxLength, 8);
  std::filesystem::current_path(cwd);
}

TEST_F(InputDialogsTest, DataFileNamesAndTheArchiveRule) {
  testsupport::ScratchDirectory dir("file_dialogs");
  testsupport::Put(dir.Dir() / "gear.vb4", "x");
  DataDirectory = dir.Dir().string();
  DataFileExtension = "vb4";
  std::string full;
  OpenDataFileName("gear", full);
  EXPECT_EQ(full, dir.Path("gear.vb4"));
  EXPECT_EQ(CurrentFileName, "gear");
  EXPECT_EQ(AbortFlag, 0);

  dialogs.Then(ScriptedAnswer::File(dir.Path("gear.vb4")));
  DataDirectory = "/";
  CurrentFileName.clear();
  OpenDataFileName("", full);
  EXPECT_EQ(DataDirectory, dir.Dir().string());
  EXPECT_EQ(CurrentFileName, "gear");
  EXPECT_EQ(dialogs.Asked().back().filter, "*.vb4|*.vb4");

  // A missing file: the name is forgotten again.
  OpenDataFileName("nothere", full);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(CurrentFileName, "");

  AbortFlag = 0;
  dialogs.Then(ScriptedAnswer::File(dir.Path("new.vb4")));
  SaveDataFileAs("", full);
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(full, dir.Path("new.vb4"));
  EXPECT_EQ(CurrentFileName, "new");

  ArchiveMode = 1;
  ArchiveFlag = true;
  SaveDataFileAs("other", full);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(Errors().back(), "Error  : Option is not available in archive mode.");
  AbortFlag = 0;
  ArchiveFlag = false;
  SaveDataFileAs("other", full);
  EXPECT_EQ(ArchiveMode, 0);
  EXPECT_EQ(full, dir.Path("other.vb4"));

  std::string name = "x";
  std::string start = dir.Dir().string();
  dialogs.Then(ScriptedAnswer::File(dir.Path("part.DXF")));
  SelectFileByMode(4, start, "*.dxf", name);
  EXPECT_EQ(name, "part");
  EXPECT_EQ(DataFileExtension, "DXF");
  dialogs.Then(ScriptedAnswer::Cancel());
  SelectFile(dir.Path("a.txt"), "*.txt", name);
  EXPECT_EQ(name, dir.Path("a.txt"));
  EXPECT_EQ(AbortFlag, 1);
}

TEST_F(InputDialogsTest, MessageCaptionsByKind) {
  MessagesEnabled = 0;
  ShowErrorBox("e");  // shown although messages are off
  ShowMessageKind("h", 3);
  ShowInfo("i");
  ShowNoteNoop("n");
  ShowAppMessage("t", "Cap");
  EXPECT_EQ(Errors(), (std::vector<std::string>{"Error  : e", "Helph", "Message:i", "Capt"}));
  EXPECT_EQ(dialogs.Asked()[2].messageKind, platform::MessageKind::Information);
  TextLines[1] = "first";
  ShowScreenForm();
  EXPECT_EQ(dialogs.Asked().back().kind, AskedDialog::Kind::TextPage);
  EXPECT_EQ(dialogs.Asked().back().items.size(), 22u);
  EXPECT_EQ(dialogs.Asked().back().items[0].substr(0, 5), "first");
}
