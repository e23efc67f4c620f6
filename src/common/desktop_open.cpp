// Opening with the desktop's programs; see desktop_open.h.
#include "common/desktop_open.h"

#include "common/kaldvar.h"
#include "platform/program_start.h"
#include "platform/user_dialogs.h"

namespace common {

namespace {

// Names and addresses are shown as they are (they are no program texts of
// the stored code page).
void Refused(const std::string& text) {
  platform::Dialogs().ShowMessage({"Error  : ", text, platform::MessageKind::Error, platform::MessageButtons::Ok});
  AbortFlag = 1;
}

}  // namespace

bool OpenWithDesktop(const std::string& what) {
  if (platform::OpenDocument(what).outcome == platform::StartOutcome::Started) return true;
  Refused("No program opens " + (what.empty() ? std::string("an empty name") : what) + " !");
  return false;
}

bool StartProgramLine(const std::string& program, const std::string& file) {
  const std::string line = platform::CommandLineWord(program) + " " + platform::CommandLineWord(file);
  if (platform::StartCommandLine(line).outcome == platform::StartOutcome::Started) return true;
  Refused("Program " + program + " could not be started !");
  return false;
}

}  // namespace common
