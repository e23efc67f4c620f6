// The table engine's error state and report flow: every engine routine
// records a numeric code and a detail text (ending with the operation's tag
// in square brackets) through SetError and returns its neutral result;
// callers test TzError afterwards. Whether a recorded error is shown at once,
// handed to the application's error procedure, raised as EDidozError or left
// for the caller is decided here by ReportErrors and UseExceptions.
// The application and the tests install an ErrorProc, so that an engine error
// never ends the program unasked.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace dbase {

// The pending error code (0 = none); engine file operations also store their
// OS or I/O result here and test it after each step.
extern std::uint16_t TzError;
// The detail text of the pending error.
extern std::string TzErrorDetail;
// The code of the last recorded error, kept until the detail is taken.
extern std::uint16_t LastErrorCode;
// Report each error when it is recorded (default true).
extern bool ReportErrors;
// Report by raising EDidozError instead of a message box and program end.
extern bool UseExceptions;
// Set once the message-box path has begun ending the program.
extern bool Halting;

// The application's error procedure; it reads TzError and fetches the text
// with LastErrorMessage or TakeErrorDetail.
using ErrorProcedure = std::function<void()>;
extern ErrorProcedure ErrorProc;

// The exception of the report flow; its message is the report text.
class EDidozError : public std::runtime_error {
 public:
  explicit EDidozError(const std::string& text) : std::runtime_error(text) {}
};

// An import that refused lines of its file (values no field takes as they
// stand): its report lists them under this code, whatever refused them.
inline constexpr int kLinesRefused = 232;
// An append from another table that refused records (values no field of
// the table takes as they stand): its report lists them under this code.
inline constexpr int kRecordsRefused = 233;

// Records code and detail; reports at once while ReportErrors is on. A
// code OsErrorCode gave last takes the system's reason noted with it.
void SetError(int code, const std::string& detail);
// Notes the system's reason of an operating-system error translated to
// code, for the next SetError of that code (OsErrorCode does).
void NoteSystemReason(int code, const std::string& reason);
// The report flow (message box and program end, exception, or ErrorProc).
void ReportError();
// "Error # <code> (<message>)"; empty for 0.
std::string ErrorText(int code);
// The message of a code from the code table ("Undefined error" when absent).
std::string ErrorMessage(int code);
// Returns the detail and clears it and LastErrorCode.
std::string TakeErrorDetail();
// The first line of the last error's report: ErrorText(LastErrorCode), the
// system's reason in place of the code table's text where there is one
// ("Error # 101 (File too large)"); then CR LF and the taken detail. Empty
// without an error.
std::string LastErrorMessage();
// Set a switch; return its previous value.
bool SetReportErrors(bool flag);
bool SetUseExceptions(bool flag);
[[noreturn]] void RaiseDidozError(const std::string& text);

// A message box through the platform's dialogs; the texts are OEM (code page
// 850) and shown converted. Returns the button that closed it.
enum class BoxAnswer { Ok, Cancel };
BoxAnswer TzMessageBox(const std::string& text, const std::string& caption, bool withCancel);

// The error procedure the program installs: shows the report text in an
// error box ("Error  : ") and sets AbortFlag, so the running dialog sequence
// stops and the user's work survives.
void ShowErrorAndGoOn();

// The exit code of a program ended by an engine error: the code when it lies
// in 1..255, else 255, so that such an end never looks like success.
int ExitCodeOf(int code);

// Installs an error procedure for the lifetime of the object and restores the
// previous one (and ReportErrors) afterwards.
class ScopedErrorProc {
 public:
  explicit ScopedErrorProc(ErrorProcedure proc)
      : previous_(std::move(ErrorProc)), report_(ReportErrors) {
    ErrorProc = std::move(proc);
  }
  ~ScopedErrorProc() {
    ErrorProc = std::move(previous_);
    ReportErrors = report_;
  }
  ScopedErrorProc(const ScopedErrorProc&) = delete;
  ScopedErrorProc& operator=(const ScopedErrorProc&) = delete;

 private:
  ErrorProcedure previous_;
  bool report_;
};

}  // namespace dbase
