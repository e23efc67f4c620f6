// Program start and end; see start_up.h.
#include "app/start_up.h"

#include "app/data_file.h"
#include "app/documentation/change_records.h"
#include "app/documentation/document_links.h"
#include "calc/calc_records.h"
#include "common/cad_settings.h"
#include "common/config_file.h"
#include "common/file_utils.h"
#include "common/graphics_facade.h"
#include "common/graphics_settings.h"
#include "common/hpgl_viewer.h"
#include "common/input_dialogs.h"
#include "common/kaldvar.h"
#include "common/session_file.h"
#include "common/text_utils.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/work_areas.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_commands.h"
#include "dbase/memo/memo_unit.h"
#include "dbase/vfiles/virtual_files.h"
#include "drawing/outlines/tooth_warnings.h"

namespace app {

namespace {

// The default design "null" of the data directory, when there is one;
// without it the design in memory stands.
void ReadDefaultDesign() {
  const std::string nullDesign = common::AddBackslash(common::DataDirectory) + "null." +
                                 common::DataFileExtension;
  if (common::FileCanOpen(nullDesign)) {
    ReadDataFile("null");
    common::CurrentFileName.clear();
  }
  common::AbortFlag = 0;
  common::DataChanged = 0;
}

}  // namespace

void StartUpProgram(int argc, char** argv) {
  common::InitKaldvar();
  // The table engine reports its errors in a box and goes on: a damaged
  // table or a refused lock must not end the program.
  dbase::InitTzCommon();
  dbase::InitTzEngine();
  // Filters, WHILE conditions and index keys are dBASE expressions.
  dbase::InstallExprHooks();
  // Memo fields live in the memo files of their tables.
  dbase::InitMemoUnit();
  // Index files are kept in step with their tables.
  dbase::IndexInit();
  // In-memory tables (queues, stacks, sorted lists) work through the engine.
  dbase::InitVirtualFiles();
  dbase::ErrorProc = dbase::ShowErrorAndGoOn;
  common::InitWkaldvar();
  common::InitScreenGraphicsSettings();
  common::InitGraphicsWindowUnit();
  common::InstallPlotFileViewer();
  common::InitPrinterGraphicsSettings();
  common::InitCadSettings();
  common::InitConfigOnlySettings();
  calc::SetNoncircularDefaults();
  // The calculation warns of teeth that cannot be made or do not mesh,
  // which it learns from the gear outlines of the drawing.
  drawing::InstallToothWarnings();
  InitChangeRecords();
  InitDocumentLinks();

  common::SetCommandLineParams(argc, argv);
  common::SetProgramIdentity();
  // A missing configuration file or a cancelled directory question sets
  // AbortFlag; left set, it would silently stop the first save.
  common::ReadConfigFile();
  common::AbortFlag = 0;
  common::CheckConfiguredDirectories();
  common::ReadSessionFile();
  common::AbortFlag = 0;

  // The default design "null" of the data directory, when there is one;
  // without it the built-in defaults stand.
  common::DataDirectory = common::DefaultDataDirectory;
  ReadDefaultDesign();
}

bool AskStartUserId() {
  if (!common::EnterUserId || StartedWithFile) return true;
  common::AbortFlag = 0;
  if (!common::InputUserId()) return false;
  // The ID names a folder of the program directory (InputUserId checked
  // that it is there): the user's data.
  common::DataDirectory = common::AddBackslash(common::ProgramDirectory) + common::DataDirectory;
  ReadDefaultDesign();
  return true;
}

void ShutDownProgram() {
  dbase::IndexDone();
  dbase::ShutdownTzEngine();
  common::WriteSessionFile();
}

}  // namespace app
