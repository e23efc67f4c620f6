// Opening, creating and closing text files with the user told what went
// wrong, and the checks of input and output file names before use. Every
// failure is shown (while MessagesEnabled is set) and sets AbortFlag; the
// caller tests the flag. Messages and questions go through the platform
// dialogs (platform/user_dialogs.h); files through text_file.h.
#pragma once

#include <cstdint>
#include <string>
#include <system_error>

#include "common/text_file.h"

namespace common {

// Whether CheckOutputFileName asks before an existing file is overwritten;
// 1 at start, switched off by the data-file save for its own file.
extern std::uint8_t AskBeforeOverwrite;

// Only when AbortFlag is clear: assigns name and opens it for reading; on
// failure "read error", "disk full" or "file access error", each followed by
// ": ", the file and the system's reason, and AbortFlag.
void ResetFileChecked(TextFile& file, const std::string& name);
// Opens the assigned file for writing; on failure "disk full" or "file
// write error" with the file and the reason, and AbortFlag.
void RewriteFileChecked(TextFile& file);
// Closes; a written file that could not be completed keeps the previous
// file: "disk full" or "file close error" with the file and the reason
// ("File too large" under a file-size limit), and AbortFlag.
void CloseFileChecked(TextFile& file);
// Abandons a file being written (a stopped or failed output): nothing of
// it takes the previous file's place. When a write to it had failed, the
// failure is told and noted as CloseFileChecked tells it, with the
// system's reason ("No space left on device").
void AbandonFileChecked(TextFile& file);
// Opens the assigned file for writing; on failure tells the file and the
// system's reason ("file write error: /home/u/vob4.cfg: Read-only file
// system") and offers Retry or Cancel. Cancel, and any failure while
// MessagesEnabled is 0 (no one to ask), sets AbortFlag.
void RewriteFileRetry(TextFile& file);
// Opens name for reading and closes it; on failure "file <name> not found
// or no access: <the system's reason>" and AbortFlag.
void CheckFileAccess(const std::string& name);
// Refuses a name that the save would refuse ("invalid file name: <name>:
// <the system's reason>"): no file can be created
// in its directory, or the target is a directory, a device, a pipe, a file
// the user may not write or a link that leads nowhere); then asks before
// an existing file is overwritten (unless the name contains "actual" or
// AskBeforeOverwrite is 0; anything but Yes sets AbortFlag). The target is
// never opened, truncated or erased by the check.
void CheckOutputFileName(const std::string& name);

// The error box of these routines (caption "Error  : "), shown only while
// MessagesEnabled is set; the text is a program text (code page 850) in
// which file names and the system's reasons keep the system's text
// (MixedToDisplayText).
void ShowFileError(const std::string& text);
// A failed file operation noted (NoteFileFailure) and told in the error box:
// the program's word for it, the file and the system's reason ("file close
// error: /home/u/pump.vb4: File too large").
void ShowFileFailure(const std::string& word, const std::string& file, const std::error_code& ec);

// The failure noted last (a temporary file that could not be made, say)
// told in the error box after the program's word for it ("file write
// error: /tmp/x/KALDIGES*.$$$: No such file or directory"); AbortFlag.
void ShowNotedFileFailure(const std::string& word);

// The last file failure of the run as one line: the file and the system's
// reason ("x.vb4: No such file or directory", "out/x.txt: Permission
// denied"), or a reader's refusal of what a file holds. The routines above
// note every failure, whether or not a box could show it, so that a run
// without dialogs (the command line) can tell the user on its own channel.
const std::string& LastFileFailure();
void NoteFileFailure(const std::string& text);
void NoteFileFailure(const std::string& file, const std::error_code& ec);
void ClearFileFailure();

}  // namespace common
