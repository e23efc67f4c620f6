// Checked opening and closing of text files and file-name checks; see
// file_checks.h.
#include "common/file_checks.h"

#include <filesystem>

#include "common/code_page.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/small_dialogs.h"
#include "common/text_utils.h"
#include "platform/file_system.h"
#include "platform/user_dialogs.h"

namespace common {

std::uint8_t AskBeforeOverwrite = 1;

void ShowFileError(const std::string& text) {
  if (!MessagesEnabled) {
    TellUnshownMessage(text);
    return;
  }
  platform::Dialogs().ShowMessage(
      {"Error  : ", MixedToDisplayText(text), platform::MessageKind::Error, platform::MessageButtons::Ok});
}

namespace {

bool DiskFull(const std::error_code& ec) { return ec == std::errc::no_space_on_device; }

std::string& FileFailure() {
  static std::string text;
  return text;
}

}  // namespace

const std::string& LastFileFailure() { return FileFailure(); }
void NoteFileFailure(const std::string& text) { FileFailure() = text; }
void NoteFileFailure(const std::string& file, const std::error_code& ec) {
  NoteFileFailure(file + ": " + (ec ? ec.message() : std::string("failed")));
}
void ClearFileFailure() { FileFailure().clear(); }

void ShowFileFailure(const std::string& word, const std::string& file, const std::error_code& ec) {
  NoteFileFailure(file, ec);
  // The name and the reason stay the system's text (MixedToDisplayText).
  ShowFileError(word + ": " + FileFailure());
}

void ShowNotedFileFailure(const std::string& word) {
  ShowFileError(word + ": " + FileFailure());
  AbortFlag = 1;
}

void ResetFileChecked(TextFile& file, const std::string& name) {
  if (AbortFlag) return;
  file.Assign(name);
  std::error_code ec;
  if (file.Reset(ec)) return;
  ShowFileFailure(ec == std::errc::io_error ? "read error" : DiskFull(ec) ? "disk full" : "file access error", name, ec);
  AbortFlag = 1;
}

void RewriteFileChecked(TextFile& file) {
  std::error_code ec;
  if (file.Rewrite(ec)) return;
  ShowFileFailure(DiskFull(ec) ? "disk full" : "file write error", file.Name(), ec);
  AbortFlag = 1;
}

void CloseFileChecked(TextFile& file) {
  const std::string name = file.Name();
  std::error_code ec;
  if (file.Close(ec)) return;
  ShowFileFailure(DiskFull(ec) ? "disk full" : "file close error", name, ec);
  AbortFlag = 1;
}

void AbandonFileChecked(TextFile& file) {
  if (file.CurrentMode() == TextFile::Mode::Writing && file.WriteFailed()) {
    CloseFileChecked(file);
    return;
  }
  file.Discard();
}

void RewriteFileRetry(TextFile& file) {
  for (;;) {
    std::error_code ec;
    if (file.Rewrite(ec)) return;
    // The file and the system's reason, as every failed save says them.
    NoteFileFailure(file.Name(), ec);
    const std::string text = (DiskFull(ec) ? "disk full" : "file write error") + std::string(": ") + FileFailure();
    // Without a user to fix the cause, trying again cannot help.
    if (!MessagesEnabled) {
      TellUnshownMessage(text);
      AbortFlag = 1;
      return;
    }
    const platform::DialogButton answer = platform::Dialogs().ShowMessage(
        {"Error  : ", MixedToDisplayText(text), platform::MessageKind::Error, platform::MessageButtons::RetryCancel});
    if (answer != platform::DialogButton::Retry) {
      AbortFlag = 1;
      return;
    }
  }
}

void CheckFileAccess(const std::string& name) {
  std::error_code ec;
  if (platform::Files().OpenRead(name, ec)) return;
  // Which of the two it is, the system says ("No such file or directory",
  // "Permission denied", "Is a directory").
  NoteFileFailure(TrimBlanks(name), ec);
  ShowFileError("file " + TrimBlanks(name) + " " + "not found or no access" + ": " + ec.message());
  AbortFlag = 1;
}

void CheckOutputFileName(const std::string& name) {
  // A name with more dots than one ("pump.v1.vb4") is a name as any other
  // on the file systems the program runs on. The probe applies every rule of a save to the target (links followed,
  // no device or pipe, write permission, a writable directory) without
  // opening the target or changing it: it creates a file of another name
  // beside it and removes it again. So a target that the save would refuse
  // is refused here at once, before the overwrite question.
  platform::ReplacingFile probe;
  std::error_code ec;
  const bool creatable = probe.Open(name, ec);
  const bool exists = creatable && probe.ReplacesExisting();
  probe.Discard();
  if (!creatable) {
    // The file and the system's reason ("Permission denied", "Is a
    // directory"), as every failed save says it.
    ShowFileFailure("invalid file name", name, ec);
    AbortFlag = 1;
    return;
  }
  if (exists && name.find("actual") == std::string::npos && AskBeforeOverwrite) {
    if (!AskYesNoCancel(name + " " + "already exists" + ".   " + "overwrite" + " ?")) AbortFlag = 1;
  }
}

}  // namespace common
