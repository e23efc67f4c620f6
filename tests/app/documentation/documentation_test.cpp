// The documentation of a design end to end: change records entered through
// the change menu and the form's field model, saved with the design and
// read back, the protocol of changes against golden files; the drawing
// information with its two forms and its free-text grid; the document links
// edited, started through a scripted program starter and document opener,
// and saved with the design.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/data_file.h"
#include "app/documentation/change_list.h"
#include "app/documentation/change_protocol.h"
#include "app/documentation/change_records.h"
#include "app/documentation/document_links.h"
#include "app/documentation/document_links_form.h"
#include "app/documentation/documentation_views.h"
#include "app/documentation/drawing_info_form.h"
#include "app/entry_points.h"
#include "app/main_menu.h"
#include "common/cad_settings.h"
#include "common/design_documentation.h"
#include "common/kaldvar.h"
#include "platform/program_start.h"
#include "support/golden_files.h"
#include "support/report_test_support.h"

using platform::ScriptedAnswer;

namespace {

// Forms answered by the test: each runs its action on the form's field
// model, as a user typing into the window and pressing a button would.
class ScriptedForms : public app::DocumentationViews {
 public:
  std::function<void(int)> changeEntry = [](int) { app::CancelChangeEntry(); };
  std::function<void()> drawingInfo = [] { app::CancelDrawingInfo(); };
  std::function<void()> documentLinks = [] { app::CancelDocumentLinks(); };
  std::vector<int> shownEntries;

  void ShowChangeEntry(int n) override {
    shownEntries.push_back(n);
    changeEntry(n);
  }
  void ShowDrawingInfo() override { drawingInfo(); }
  void ShowDocumentLinks() override { documentLinks(); }
};

class DocumentationTest : public ::testing::Test {
 protected:
  DocumentationTest() : previous_(app::SetDocumentationViews(&forms_)) {
    app::SetDesignInputDefaults();
    app::InitChangeRecords();
    app::InitDocumentLinks();
    common::FrameStyle = 0;
    common::RevisionIndexStyle = 0;
    common::TextDeviceWindow = true;
    common::DataDirectory = env_.dir.Dir().string() + "/";
    common::CurrentFileName = "gearbox";
  common::DataDirectory.clear();  // the head names the file without the scratch directory
    app::ResetEntryPoints();
    common::AbortFlag = 0;
  }
  ~DocumentationTest() override { app::SetDocumentationViews(previous_); }

  // Enters change n: each field typed, then OK.
  void TypeChange(const std::string& modification, const std::string& responsible, const std::string& description) {
    forms_.changeEntry = [=](int n) {
      app::TChangeEntryFields f = app::ChangeEntryFieldsFor(n);
      f.modification = modification;
      f.responsible = responsible;
      f.description = description;
      app::StoreChangeEntry(f);
    };
  }

  // The lines of the last report the viewer was handed.
  std::string LastReport() const {
    std::string text;
    if (env_.viewer.Recorded().empty()) return text;
    for (const std::string& line : env_.viewer.Recorded().back().report.lines) text += line + "\n";
    return text;
  }

  testsupport::ReportTestEnvironment env_{"documentation"};
  ScriptedForms forms_;
  app::DocumentationViews* previous_;
};

TEST_F(DocumentationTest, ChangesEnteredSavedReadBackAndPrinted) {
  auto& title = common::TitleBlock.Texts;
  title[common::TitleFirstName] = "Designer";
  title[common::TitleReplacementFor] = "NC-0001";
  TypeChange("new bore", "KW", "bore 20 H7\nwas 18 H7");
  app::Entry().ChangeListMenu(1);
  EXPECT_EQ(common::AbortFlag, 0);
  TypeChange("tip relief", "M\xC3\xBCller", "");  // typed "Müller"
  app::Entry().ChangeListMenu(1);
  ASSERT_EQ(common::ChangeRecords.Count, 2);
  const common::TChangeRecord& second = common::ChangeRecords.Records[2];
  EXPECT_EQ(second.Responsible, "M\x81lle");  // code page 850, five characters
  EXPECT_EQ(second.Date, "2026-03-07");
  // Every new change showed the protocol on the screen.
  ASSERT_EQ(env_.viewer.Recorded().size(), 2u);
  EXPECT_EQ(env_.viewer.Recorded()[1].kind, platform::RecordedReport::Kind::Shown);

  // Saved with the design and read back into cleared records.
  app::SaveDataFile(env_.dir.Path("gearbox.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  app::InitChangeRecords();
  title[common::TitleFirstName].clear();
  title[common::TitleReplacementFor].clear();
  app::ReadDataFile(env_.dir.Path("gearbox.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  ASSERT_EQ(common::ChangeRecords.Count, 2);
  EXPECT_EQ(common::ChangeRecords.Records[1].Description, "bore 20 H7\nwas 18 H7");
  EXPECT_EQ(common::ChangeRecords.Records[2].Responsible, "M\x81lle");
  EXPECT_EQ(title[common::TitleReplacementFor], "NC-0001");
  common::CurrentFileName = "gearbox";

  // Shown on the screen without the report head; printed with it on the
  // device the user picks ("Windows printer").
  app::Entry().ChangeListMenu(4);
  testsupport::ExpectGolden(LastReport(), "documentation/protocol_screen.txt");
  env_.dialogs.Then(ScriptedAnswer::Choose(3));
  app::Entry().ChangeListMenu(5);
  ASSERT_EQ(env_.viewer.Recorded().back().kind, platform::RecordedReport::Kind::Printed);
  testsupport::ExpectGolden(LastReport(), "documentation/protocol_printed.txt");
}

TEST_F(DocumentationTest, ProtocolIndexAndReplacementLines) {
  common::ChangeRecords.Count = 3;
  app::WriteChangeProtocol(1);
  std::string report = LastReport();
  EXPECT_NE(report.find("  c     "), std::string::npos);
  EXPECT_EQ(report.find("Replacement for"), std::string::npos);
  EXPECT_EQ(report.find("Replaced by"), std::string::npos);
  common::RevisionIndexStyle = 1;
  common::TitleBlock.Texts[common::TitleReplacedBy] = "a much longer replacement text";
  app::WriteChangeProtocol(1);
  report = LastReport();
  EXPECT_NE(report.find("  3     "), std::string::npos);
  EXPECT_EQ(report.find("  c     "), std::string::npos);
  EXPECT_EQ(report.find("Replacement for"), std::string::npos);
  EXPECT_NE(report.find("Replaced by: a much longer r\n"), std::string::npos);
  // The printout to the configured screen device, without the device
  // question, still carries the report head.
  common::TextDeviceWindow = false;
  common::TextDevice = common::ReportScreen;
  app::WriteChangeProtocol(0);
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(env_.viewer.Recorded().back().kind, platform::RecordedReport::Kind::Shown);
  EXPECT_NE(LastReport().find("*  Protocol of changes"), std::string::npos);
  common::TextDeviceWindow = true;
  // The user cancels the device choice: nothing is shown.
  const std::size_t reports = env_.viewer.Recorded().size();
  app::WriteChangeProtocol(0);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(env_.viewer.Recorded().size(), reports);
}

TEST_F(DocumentationTest, ChangeMenuLimitsAndCancel) {
  // A cancelled new change stays counted, dated today, with its old texts.
  common::ChangeRecords.Records[1] = {"old", "01.01.2000", "X", "kept"};
  app::ChangeListMenu(1);
  EXPECT_EQ(common::AbortFlag, 1);
  ASSERT_EQ(common::ChangeRecords.Count, 1);
  EXPECT_EQ(common::ChangeRecords.Records[1].Date, "2026-03-07");
  EXPECT_EQ(common::ChangeRecords.Records[1].Modification, "old");
  EXPECT_TRUE(env_.viewer.Recorded().empty());  // the cancel left AbortFlag set

  // change edits the last record; cancel withdraws it and shows the rest.
  common::AbortFlag = 0;
  TypeChange("edited", "AB", "text");
  app::ChangeListMenu(2);
  EXPECT_EQ(forms_.shownEntries.back(), 1);
  EXPECT_EQ(common::ChangeRecords.Records[1].Modification, "edited");
  app::ChangeListMenu(3);
  EXPECT_EQ(common::ChangeRecords.Count, 0);
  const std::size_t reports = env_.viewer.Recorded().size();
  forms_.shownEntries.clear();
  app::ChangeListMenu(2);  // nothing to change: no form, no protocol
  EXPECT_TRUE(forms_.shownEntries.empty());
  EXPECT_EQ(env_.viewer.Recorded().size(), reports);
  app::ChangeListMenu(3);  // nothing to withdraw, the protocol still shows
  EXPECT_EQ(common::ChangeRecords.Count, 0);
  EXPECT_EQ(env_.viewer.Recorded().size(), reports + 1);

  // The 26th change is refused.
  common::ChangeRecords.Count = 25;
  env_.dialogs.ClearRecord();
  app::ChangeListMenu(1);
  EXPECT_EQ(common::ChangeRecords.Count, 25);
  ASSERT_EQ(env_.dialogs.Asked().size(), 1u);
  EXPECT_EQ(env_.dialogs.Asked()[0].text, "Max. Changes = 25 !");
}

// The Documentation menu marks the design changed when the user altered its
// records, so that closing the program asks to save them; showing or
// printing the protocol, a cancelled form and a command with nothing to act
// on leave the design unmarked.
TEST_F(DocumentationTest, DocumentationMenuMarksTheDesignChanged) {
  auto click = [](const char* item) {
    common::DataChanged = 0;
    app::MenuItemClick(item);
    return common::DataChanged;
  };
  forms_.drawingInfo = [] {
    app::TDrawingInfoFields f = app::DrawingInfoFieldsFromRecords();
    app::StoreDrawingInfoFields(f);
  };
  EXPECT_EQ(click("mi_docdrawinginfo"), 1);
  forms_.drawingInfo = [] { app::CancelDrawingInfo(); };
  EXPECT_EQ(click("mi_docdrawinginfo"), 0);

  EXPECT_EQ(click("mi_docuModifyChanges"), 0);  // no record to edit
  EXPECT_EQ(click("mi_docudeleteChange"), 0);   // none to withdraw
  TypeChange("new bore", "KW", "");
  EXPECT_EQ(click("mi_docuNewChange"), 1);
  // A cancelled form changed nothing the user entered.
  forms_.changeEntry = [](int) { app::CancelChangeEntry(); };
  EXPECT_EQ(click("mi_docuNewChange"), 0);
  ASSERT_EQ(common::ChangeRecords.Count, 2);
  EXPECT_EQ(click("mi_docuModifyChanges"), 0);
  TypeChange("tip relief", "KW", "");
  EXPECT_EQ(click("mi_docuModifyChanges"), 1);
  EXPECT_EQ(common::ChangeRecords.Records[2].Modification, "tip relief");
  EXPECT_EQ(click("mi_docuShowChanges1"), 0);
  EXPECT_EQ(click("mi_docudeleteChange"), 1);
  EXPECT_EQ(common::ChangeRecords.Count, 1);
  // The printout asks for its device; cancelled there, nothing changed.
  env_.dialogs.SetDefaultAnswer(ScriptedAnswer::Cancel());
  EXPECT_EQ(click("mi_docuPrintChanges"), 0);
}

TEST_F(DocumentationTest, ChangeMenuAsksAndFieldsKeepTheirLengths) {
  env_.dialogs.Then(ScriptedAnswer::Choose(0));  // "new"
  TypeChange(std::string(30, 'm'), "ABCDEFG", std::string(300, 'd'));
  app::ChangeListMenu(0);
  ASSERT_EQ(env_.dialogs.Asked().size(), 1u);
  const platform::AskedDialog& asked = env_.dialogs.Asked()[0];
  EXPECT_EQ(asked.text, "Changes");
  EXPECT_EQ(asked.items.size(), 7u);
  EXPECT_EQ(asked.items[3], "show");
  EXPECT_EQ(asked.preselected, 3);
  ASSERT_EQ(common::ChangeRecords.Count, 1);
  const common::TChangeRecord& record = common::ChangeRecords.Records[1];
  EXPECT_EQ(record.Modification, std::string(20, 'm'));
  EXPECT_EQ(record.Responsible, "ABCDE");
  EXPECT_EQ(record.Description.size(), 255u);
  // "back...." and Cancel end without a change.
  env_.dialogs.Then(ScriptedAnswer::Choose(6));
  app::ChangeListMenu(0);
  app::ChangeListMenu(0);
  EXPECT_EQ(common::ChangeRecords.Count, 1);

  app::TChangeEntryFields fields = app::ChangeEntryFieldsFor(1);
  EXPECT_EQ(fields.caption, "Modification 1");
  EXPECT_EQ(fields.dateButtonCaption, "<2026-03-07");
  fields.date = "x";
  app::SetChangeDateToday(fields);
  EXPECT_EQ(fields.date, "2026-03-07");
}

TEST_F(DocumentationTest, DrawingInfoDinForm) {
  auto& title = common::TitleBlock;
  common::CadSettings.CadApprovalText = "Release";
  title.Texts[common::TitleFourthName] = "Boss";
  title.Texts[common::TitleDocumentType] = "Assembly";
  app::TDrawingInfoFields f = app::DrawingInfoFieldsFromRecords();
  EXPECT_FALSE(f.isoForm);
  EXPECT_EQ(f.caption, "Info drawing DIN 6771");
  ASSERT_EQ(f.titleRows.size(), 4u);
  EXPECT_EQ(f.titleRows[0].title, "Compl.");
  EXPECT_EQ(f.titleRows[3].title, "Release");
  EXPECT_EQ(f.titleRows[3].name, "Boss");
  EXPECT_EQ(f.titleRows[0].date, "2026-03-07");  // the start date
  // An empty grid stored with OK gives one free text of zeros; a text in
  // row 3 after an empty row 2 is not stored.
  f.titleRows[1].name = "Kr\xC3\xA4mer";
  f.titleRows[3].date = "";
  app::SetTitleRowDateToday(f, 4);
  f.replacementFor = "0123456789ABCDEFGH";
  f.freeTexts[3] = {"1", "2", "3", "4", "lost"};
  f.textMode = common::FreeTextsA3;
  app::StoreDrawingInfoFields(f);
  EXPECT_EQ(common::AbortFlag, 0);
  ASSERT_EQ(title.FreeTextCount, 1);
  EXPECT_EQ(title.FreeTexts[1].x, 0);
  EXPECT_EQ(title.FreeTexts[1].text, "");
  EXPECT_EQ(title.TextMode, common::FreeTextsA3);
  EXPECT_EQ(title.Texts[common::TitleSecondName], "Kr\x84mer");
  EXPECT_EQ(title.Texts[common::TitleFourthDate], "2026-03-07");
  EXPECT_EQ(title.Texts[common::TitleReplacementFor], "0123456789ABCDE");
  EXPECT_EQ(title.Texts[common::TitleDocumentType], "Assembly");  // not in the DIN form

  // Free texts: rows up to the first blank text; an empty number reads 0.
  f = app::DrawingInfoFieldsFromRecords();
  f.freeTexts[1] = {"10.5", "20,25", "", "90", "Note 1"};
  f.freeTexts[2] = {"1", "2", "3.5", "0", "Note 2"};
  f.freeTexts[3] = {"", "", "", "", "   "};
  f.freeTexts[4] = {"", "", "", "", "after a gap"};
  app::StoreDrawingInfoFields(f);
  ASSERT_EQ(title.FreeTextCount, 2);
  EXPECT_EQ(title.FreeTexts[1].x, 10.5L);
  EXPECT_EQ(title.FreeTexts[1].y, 20.25L);
  EXPECT_EQ(title.FreeTexts[1].h, 0);
  EXPECT_EQ(title.FreeTexts[2].text, "Note 2");
  const app::TDrawingInfoFields shown = app::DrawingInfoFieldsFromRecords();
  EXPECT_EQ(shown.freeTexts[1].x, "10.5");
  EXPECT_EQ(shown.freeTexts[3].text, "");
  EXPECT_TRUE(app::FreeTextGridShown(0));
  EXPECT_FALSE(app::FreeTextGridShown(common::FreeTextsNone));

  // Cancel stores nothing.
  f.freeTexts[1].text = "changed";
  app::CancelDrawingInfo();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(title.FreeTexts[1].text, "Note 1");
}

// A free-text number that is no number would place or size the text at 0,
// one beyond the range would make it infinite: OK refuses each with a
// message naming it, the field shows its value from the records again (a
// new row's is empty), and nothing is stored until the numbers are right.
// Rows after the first blank text are not read and not checked.
TEST_F(DocumentationTest, DrawingInfoRefusesTextThatIsNoNumber) {
  auto& title = common::TitleBlock;
  title.FreeTextCount = 1;
  title.FreeTexts[1] = {10, 20, 3.5L, 0, "Note"};
  std::vector<std::string> restored;
  forms_.drawingInfo = [&] {
    app::TDrawingInfoFields f = app::DrawingInfoFieldsFromRecords();
    f.freeTexts[1].h = "abc";
    f.freeTexts[1].text = "Moved";
    EXPECT_FALSE(app::StoreDrawingInfoFields(f));
    restored.push_back(f.freeTexts[1].h);
    f.freeTexts[2] = {"1", "2", "3", "1e999", "Second"};
    EXPECT_FALSE(app::StoreDrawingInfoFields(f));
    restored.push_back(f.freeTexts[2].phi);
    f.freeTexts[4] = {"not read", "", "", "", "after a gap"};
    f.freeTexts[2].phi = "45";
    EXPECT_TRUE(app::StoreDrawingInfoFields(f));
  };
  common::DataChanged = 0;
  app::MenuItemClick("mi_docdrawinginfo");
  EXPECT_EQ(common::DataChanged, 1);
  EXPECT_EQ(restored, (std::vector<std::string>{"3.5", ""}));
  ASSERT_EQ(title.FreeTextCount, 2);
  EXPECT_EQ(title.FreeTexts[1].h, 3.5L);
  EXPECT_EQ(title.FreeTexts[1].text, "Moved");
  EXPECT_EQ(title.FreeTexts[2].phi, 45);
  std::vector<std::string> messages;
  for (const platform::AskedDialog& asked : env_.dialogs.Asked()) messages.push_back(asked.text);
  EXPECT_EQ(messages, (std::vector<std::string>{"h of free text 1: \"abc\" is not a number !",
                                                "phi of free text 2: \"1e999\" is not a finite number !"}));

  // Refused, then cancelled: the records stay, the design is not changed.
  forms_.drawingInfo = [] {
    app::TDrawingInfoFields f = app::DrawingInfoFieldsFromRecords();
    f.freeTexts[2].x = "inf";
    f.freeTexts[2].text = "Changed";
    EXPECT_FALSE(app::StoreDrawingInfoFields(f));
    app::CancelDrawingInfo();
  };
  common::DataChanged = 0;
  app::MenuItemClick("mi_docdrawinginfo");
  EXPECT_EQ(common::DataChanged, 0);
  EXPECT_EQ(title.FreeTexts[2].text, "Second");
  EXPECT_EQ(title.FreeTexts[2].x, 1);
}

TEST_F(DocumentationTest, DrawingInfoIsoFormKeepsTheReleaseRow) {
  auto& title = common::TitleBlock;
  common::FrameStyle = 2;
  title.Texts[common::TitleFourthDate] = "01.01.2026";
  title.Texts[common::TitleFourthName] = "Boss";
  title.Texts[common::TitleReplacedBy] = "NC-7";
  forms_.drawingInfo = [] {
    app::TDrawingInfoFields f = app::DrawingInfoFieldsFromRecords();
    EXPECT_TRUE(f.isoForm);
    EXPECT_EQ(f.caption, "Info drawing ISO 7200");
    EXPECT_EQ(f.dateHeader, " (Date)");
    EXPECT_EQ(f.titleRows.size(), 3u);
    EXPECT_EQ(f.titleRows[2].title, "Technical reference");
    EXPECT_EQ(f.documentRows[1].title, "Responsible dept.");
    f.titleRows[2].name = "Ref";
    f.documentRows[1].name = "R&D";
    f.documentRows[3].name = "released";
    app::StoreDrawingInfoFields(f);
  };
  app::Entry().ShowDrawingInfoForm();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(title.Texts[common::TitleThirdName], "Ref");
  EXPECT_EQ(title.Texts[common::TitleResponsibleDept], "R&D");
  EXPECT_EQ(title.Texts[common::TitleDocumentStatus], "released");
  // The rows the ISO form does not show stay as they were.
  EXPECT_EQ(title.Texts[common::TitleFourthDate], "01.01.2026");
  EXPECT_EQ(title.Texts[common::TitleFourthName], "Boss");
  EXPECT_EQ(title.Texts[common::TitleReplacedBy], "NC-7");
  // The change menu's "Info drawing" opens the same form.
  bool opened = false;
  forms_.drawingInfo = [&] { opened = true; };
  app::ChangeListMenu(6);
  EXPECT_TRUE(opened);
}

TEST_F(DocumentationTest, DocumentLinksEditedStartedAndSaved) {
  std::vector<std::string> started, opened;
  platform::ScopedCommandStarter starter([&](const std::string& line) {
    started.push_back(line);
    return platform::StartResult{};
  });
  platform::ScopedDocumentOpener opener([&](const std::string& path) {
    opened.push_back(path);
    return platform::StartResult{platform::StartOutcome::NotFound, 3};  // no program for it
  });
  forms_.documentLinks = [&] {
    app::TDocumentLinkEdits edits = app::DocumentLinkEditsFromRecords();
    EXPECT_EQ(edits.caption.rfind("Document Links  -  ", 0), 0u);
    EXPECT_EQ(edits.links[2].Program, "xdg-open");  // the desktop's opener
    EXPECT_EQ(edits.links[2].File, "");
    // A program with an empty file runs with a trailing blank.
    app::ExecLinkProgram(edits, 1);
    // The file buttons: a chosen file replaces the edit; Cancel keeps it.
    env_.dialogs.Then(ScriptedAnswer::File("/data/drawings/gear 1.dxf")).Then(ScriptedAnswer::Cancel());
    app::ChooseLinkFile(edits, 3);
    app::ChooseLinkFile(edits, 3);
    EXPECT_EQ(common::AbortFlag, 1);
    EXPECT_EQ(edits.links[3].File, "/data/drawings/gear 1.dxf");
    edits.links[3].Program = "/usr/bin/viewer";
    app::ExecLinkProgram(edits, 3);
    app::ExecLinkFile(edits, 3);
    app::StoreDocumentLinkEdits(edits);
  };
  app::Entry().ShowDocumentLinksForm();
  EXPECT_EQ(common::AbortFlag, 0);
  // The file is one word of the line, blank and all.
  EXPECT_EQ(started, (std::vector<std::string>{"xdg-open ", "/usr/bin/viewer \"/data/drawings/gear 1.dxf\""}));
  EXPECT_EQ(opened, (std::vector<std::string>{"/data/drawings/gear 1.dxf"}));
  const platform::AskedDialog& asked = env_.dialogs.Asked()[0];
  EXPECT_EQ(asked.filter, "*.*|*.*");
  // No program opened the file: a message says so.
  EXPECT_EQ(env_.dialogs.Asked().back().text, "No program opens /data/drawings/gear 1.dxf !");

  // Cancel keeps the pairs, though "Exec Prog" already used the edit.
  forms_.documentLinks = [&] {
    app::TDocumentLinkEdits edits = app::DocumentLinkEditsFromRecords();
    edits.links[5].Program = "edited";
    app::ExecLinkProgram(edits, 5);
    app::CancelDocumentLinks();
  };
  app::Entry().ShowDocumentLinksForm();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(started.back(), "edited ");
  EXPECT_EQ(app::DocumentLinks[5].Program, "xdg-open");

  // The pairs travel with the design.
  common::AbortFlag = 0;
  app::SaveDataFile(env_.dir.Path("links.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  app::InitDocumentLinks();
  app::ReadDataFile(env_.dir.Path("links.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(app::DocumentLinks[3].Program, "/usr/bin/viewer");
  EXPECT_EQ(app::DocumentLinks[3].File, "/data/drawings/gear 1.dxf");
}

TEST(ProgramStartTest, OpenDocumentWithoutPathOpensNothing) {
  const platform::StartResult result = platform::OpenDocument("");
  EXPECT_EQ(result.outcome, platform::StartOutcome::NotFound);
}

}  // namespace
