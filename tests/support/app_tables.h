// The tables the application ships beside the program (the printout presets
// "printout.dbf", the tool table "v1toolx.dbf"), opened through the table
// window as the program opens them: a test copies the shipped table into a
// DBF directory of its own, and the table window shows through a scripted
// view that records what it was shown and acts in it as the user would.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "app/entry_points.h"
#include "common/graphics_settings.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "dbase/dbase_test_support.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_commands.h"
#include "dbase/table/table_window.h"
#include "platform/scripted_dialogs.h"

namespace testsupport {

class ScriptedTableView : public dbase::TableWindowView {
 public:
  std::function<void(dbase::Tdbf4&)> script;
  int shown = 0;
  std::string caption;
  std::uint16_t mode = 0;
  std::int64_t records = 0;
  std::string lastField;
  void ShowModal(dbase::Tdbf4& window) override {
    ++shown;
    caption = window.Caption;
    mode = window.Mode();
    records = window.RecCount();
    lastField = window.FieldName(window.FieldCount());
    if (script) script(window);
  }
};

class AppTables : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    dbtest::EngineTest::SetUp();
    dbase::InstallExprHooks();
    dbase::IndexInit();
    common::SetKaldvarDefaults();
    common::InitPrinterGraphicsSettings();
    common::MessagesEnabled = 1;
    common::ClearErrorMessages();
    std::filesystem::create_directories(dir_ / "dbf");
    std::filesystem::create_directories(dir_ / "temp");
    common::DbfDirectory = (dir_ / "dbf").string() + "/";
    common::TempDirectory = (dir_ / "temp").string() + "/";
    common::CopyTableFlag = 0;
    common::WriteCheckFlags.fill(0);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    dbase::FreeTableWindow();
    dbase::CreateTableWindow();
    dbase::SetTableWindowView(&view_);
    app::ResetEntryPoints();
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    dbase::SetTableWindowView(nullptr);
    dbase::FreeTableWindow();
    dbase::IndexDone();
    dbase::RemoveExprHooks();
    dbtest::EngineTest::TearDown();
  }

  void ShipTable(const std::string& name) {
    std::filesystem::copy_file(std::filesystem::path(VOB_SOURCE_DIR) / "resources" / name, dir_ / "dbf" / name);
  }

  ScriptedTableView view_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
  std::filesystem::path previous_;
};

}  // namespace testsupport
