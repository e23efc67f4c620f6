// The hardness dialog driven through the scripted platform: the user picks a
// row of the form, enters a value and sees the other scales converted.
#include "calc/hardness_dialog.h"

#include <gtest/gtest.h>

#include "calc/hardness_conversion.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/online_form.h"
#include "platform/scripted_dialogs.h"

using namespace calc;
using platform::AskedDialog;
using platform::ScriptedAnswer;

namespace {

class HardnessDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetKaldvarDefaults();
    common::SetWkaldvarDefaults();
    common::ResetOnlineData();
    ConvertHardness(0, 0);  // no values yet
  }
  // The rows as the form showed them the k-th time (0-based).
  std::vector<std::string> Shown(std::size_t k) {
    std::vector<std::string> rows;
    std::size_t seen = 0;
    for (const AskedDialog& a : dialogs_.Asked()) {
      if (a.kind != AskedDialog::Kind::Choice) continue;
      if (seen++ == k) return a.items;
    }
    return rows;
  }

  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scope_{dialogs_};
};

TEST_F(HardnessDialogTest, Hv240ConvertsToItsTableRow) {
  common::OnlineInputUnits[2] = "mm";  // left by an earlier user of the form
  // Row 2 (HV), value 240; then leave.
  dialogs_.Then(ScriptedAnswer::Choose(1)).Then(ScriptedAnswer::Enter("240"));
  HardnessDialog();
  const auto first = Shown(0);
  ASSERT_EQ(first.size(), 11u);
  EXPECT_EQ(first[0], "Rm = n.def. MPa");
  EXPECT_EQ(dialogs_.Asked()[0].preselected, 10);  // the form opens on HB
  EXPECT_EQ(dialogs_.Asked()[1].text, "HV");
  const auto after = Shown(1);
  ASSERT_EQ(after.size(), 11u);
  EXPECT_EQ(after[0], "Rm = 770 MPa");
  EXPECT_EQ(after[1], "HV = 240");
  EXPECT_EQ(after[2], "HRB = 98.1");
  EXPECT_EQ(after[4], "HRC = 20.3");
  EXPECT_EQ(after[10], "HB = 228");
  EXPECT_EQ(dialogs_.Asked()[2].preselected, 1);  // back on the row edited
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::MessagesEnabled, 1);
}

// The form shows the converter's own range message; the pair's list and
// FatalFlag are there again as the last calculation left them.
TEST_F(HardnessDialogTest, RefusedValueShowsTheRangeAndNoValues) {
  common::MessagesEnabled = 0;  // restored to what the form found
  common::ClearErrorMessages();
  common::AddErrorMessage("Warning: teeth interfere, first at 42\xF8, overlap up to 6.79 mm2 !");
  common::FatalFlag = 1;
  const common::SavedMessages pair = common::SaveMessages();
  dialogs_.Then(ScriptedAnswer::Choose(4)).Then(ScriptedAnswer::Enter("19"));
  HardnessDialog();
  const AskedDialog* last = nullptr;
  for (const auto& a : dialogs_.Asked())
    if (a.kind == AskedDialog::Kind::Choice) last = &a;
  ASSERT_NE(last, nullptr);
  EXPECT_NE(last->text.find("HRC:  20.3..  68.0 !"), std::string::npos) << last->text;
  EXPECT_EQ(last->items[4], "HRC = n.def.");
  EXPECT_EQ(common::MessagesEnabled, 0);
  EXPECT_EQ(common::SaveMessages(), pair);
  common::ClearErrorMessages();
}

TEST_F(HardnessDialogTest, LowHardnessHasNoRockwellCValue) {
  dialogs_.Then(ScriptedAnswer::Choose(1)).Then(ScriptedAnswer::Enter("100"));
  HardnessDialog();
  const auto after = Shown(1);
  ASSERT_EQ(after.size(), 11u);
  EXPECT_EQ(after[4], "HRC = n.def.");
  EXPECT_NE(after[0], "Rm = n.def. MPa");
}

TEST_F(HardnessDialogTest, ImperialStrengthInPsi) {
  common::UnitSystem = common::UnitsImperial;
  dialogs_.Then(ScriptedAnswer::Choose(1)).Then(ScriptedAnswer::Enter("240"));
  HardnessDialog();
  const auto after = Shown(1);
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(after[0].substr(0, 5), "Rm = ");
  EXPECT_NE(after[0].find("psi"), std::string::npos);
  EXPECT_EQ(after[4], "HRC = 20.3");
}

}  // namespace
