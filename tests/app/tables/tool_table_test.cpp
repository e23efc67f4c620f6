// The tool table "v1toolx.dbf" the application ships: opened for editing
// from the Database menu in the table window, and its fields in their order
// as an independent reader (dbfread) sees them.
#include "app/tables/tool_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/entry_points.h"
#include "common/kaldvar.h"
#include "dbase/dbase_test_support.h"
#include "dbase/table/table_window.h"
#include "support/app_tables.h"

namespace {

namespace fs = std::filesystem;
using testsupport::AppTables;

TEST_F(AppTables, ToolTableBrowsedForEditing) {
  ShipTable(app::ToolTableName);
  app::Entry().SelectToolProfile(0, 0);
  EXPECT_EQ(view_.shown, 1);
  EXPECT_NE(view_.caption.find("profile of reference rack"), std::string::npos);
  EXPECT_EQ(view_.mode, 0);
  EXPECT_GE(view_.records, 5);
  EXPECT_EQ(view_.lastField, "PROFILE");
  // Closed afterwards; AbortFlag set even after OK, so that the menu runs
  // no calculation.
  EXPECT_FALSE(dbase::DbfForm().TableOpen());
  EXPECT_EQ(common::AbortFlag, 1);

  // Missing: the message, no window.
  fs::remove(dir_ / "dbf" / app::ToolTableName);
  common::WriteCheckFlags.fill(0);
  view_.shown = 0;
  app::SelectToolProfile();
  EXPECT_EQ(view_.shown, 0);
  EXPECT_EQ(common::AbortFlag, 1);
  ASSERT_FALSE(dialogs_.Asked().empty());
  EXPECT_NE(dialogs_.Asked().back().text.find("v1toolx.dbf"), std::string::npos);
}

TEST(ShippedTables, ToolTableFieldsInTheirOrder) {
  if (!dbtest::HasPythonModule("dbfread")) GTEST_SKIP() << "python3-dbfread is missing";
  const std::string path = std::string(VOB_SOURCE_DIR) + "/resources/v1toolx.dbf";
  const std::string out = dbtest::RunCommand(
      "/usr/bin/python3 -c \"import dbfread; t = dbfread.DBF('" + path +
      "'); print(' '.join(f.type for f in t.fields)); print(sorted(set(r['PROFILE'] for r in t)))\"");
  EXPECT_EQ(out, "N N N N N N N N N N C C C C C\n['Normal', 'Protub.']\n");
}

}  // namespace
