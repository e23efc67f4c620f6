// Error state, code table and report flow of the table engine.
#include "dbase/engine/error_codes.h"

#include <cstdlib>
#include <utility>

#include "common/code_page.h"
#include "common/kaldvar.h"
#include "platform/user_dialogs.h"

namespace dbase {

std::uint16_t TzError = 0;
std::string TzErrorDetail;
std::uint16_t LastErrorCode = 0;
bool ReportErrors = true;
bool UseExceptions = false;
bool Halting = false;
ErrorProcedure ErrorProc;

namespace {

struct CodeText {
  int code;
  const char* text;
};

// Codes that share a text are listed once each.
constexpr CodeText kCodeTable[] = {
    // Operating-system and file codes.
    {1, "Invalid DOS function code"},
    {2, "File not found"},
    {3, "Path not found"},
    {4, "Too many open files"},
    {18, "Too many open files"},
    {5, "File access denied"},
    {6, "Invalid file handle"},
    {8, "Not enough memory"},
    {9, "Memory block address invalid"},
    {10, "Environment invalid"},
    {11, "Format invalid"},
    {12, "Invalid file access code"},
    {13, "Data invalid"},
    {14, "Unknown unit"},
    {20, "Unknown unit"},
    {151, "Unknown unit"},
    {15, "Invalid drive number"},
    {16, "Cannot remove current directory"},
    {17, "Cannot rename across drives"},
    {19, "Disk write-protected"},
    {150, "Disk write-protected"},
    {21, "Drive not ready"},
    {152, "Drive not ready"},
    {22, "Unknown command"},
    {153, "Unknown command"},
    {23, "CRC error in data"},
    {154, "CRC error in data"},
    {24, "Bad drive request structure length"},
    {155, "Bad drive request structure length"},
    {25, "Disk seek error"},
    {156, "Disk seek error"},
    {26, "Unknown media type"},
    {157, "Unknown media type"},
    {27, "Disk sector not found"},
    {158, "Disk sector not found"},
    {28, "Printer out of paper"},
    {159, "Printer out of paper"},
    {29, "Device write fault"},
    {160, "Device write fault"},
    {30, "Device read fault"},
    {161, "Device read fault"},
    {31, "General failure"},
    {32, "File sharing violation"},
    {162, "File sharing violation"},
    {33, "File lock violation"},
    {34, "Disk change invalid"},
    {35, "File Control Block unavailable"},
    {36, "File sharing buffer overflow"},
    {50, "Unsupported network request"},
    {51, "Remote machine not listening"},
    {52, "Duplicate name on network"},
    {53, "Network name not found"},
    {54, "Network busy"},
    {55, "Device no longer exists on network"},
    {56, "Net-Bios command limit exceeded"},
    {57, "Error in network adapter hardware"},
    {58, "Incorrect response from network"},
    {59, "Unexpected network error"},
    {60, "Remote adapter incompatible"},
    // I/O and run-time codes.
    {100, "Disk read error"},
    {101, "Disk write error (probable cause: Disk Full)."},
    {102, "File not assigned"},
    {103, "File not open"},
    {104, "File not open for input"},
    {105, "File not open for output"},
    {106, "Invalid numeric format"},
    {200, "Division by zero error"},
    {201, "Range check error"},
    {202, "Stack overflow error"},
    {203, "Heap overflow error"},
    {204, "Invalid pointer operation"},
    {205, "Floating point overflow"},
    {206, "Floating point underflow"},
    {207, "Invalid floating point operation"},
    {208, "Overlay-manager not installed"},
    {209, "Overlay file read error"},
    // Table-engine codes.
    {210, "Not a dBASE data file"},
    {211, "Invalid database field type encountered"},
    {212, "Request beyond range"},
    {213, "End of file found unexpectedly"},
    {214, "File already in use"},
    {215, "No database in use"},
    {216, "GP Fault"},
    {217, "Insufficient memory"},
    {218, "Invalid pointer specified"},
    {219, "Cannot duplicate file handle"},
    {220, "Invalid parameter"},
    {221, "Index file not open"},
    {222, "Corrupted index file"},
    {223, "Index version mismatch"},
    {224, "Cyclical relationship detected"},
    {225, "Exclusive Use() required"},
    {226, "BROWSE not active"},
    {227, "Insufficient disk space "},
    {228, "Unbalanced Push/Pop operation "},
    {229, "dBASE IV memo files not supported"},
    {230, "No dBASE memory variables loaded"},
    {231, "Screen library not open"},
    {kLinesRefused, "Lines refused"},
    {kRecordsRefused, "Records refused"},
    {239, "Missing colon in time"},
    {240, "Non-numeric character in time"},
    {241, "Invalid time specified"},
    {242, "Negative time specified"},
    {243, "TimeDiff result negative"},
    {254, "Didoz internal error"},
    {266, "Invalid size"},
    // Memo-file codes.
    {1003, "Invalid memo address"},
    {1004, "Disk full"},
    {1005, "Memo file write error"},
    {1007, "Memo file is already open"},
    {1012, "Insufficient disk space to pack memo file"},
    {1017, "Cannot lock memo file"},
    {1018, "Cannot unlock memo file"},
    {1019, "Invalid memo operation: database not open or no memo field in database"},
    // Virtual-file codes.
    {1100, "Not a valid operation on Linked List"},
    {1101, "Virtual File Manager Unit not Linked in"},
    {1102, "Virtual File Memory Management Error"},
    {1103, "Invalid Operation "},
    // Network codes.
    {1200, "Record not locked"},
    {1201, "File not locked"},
    {1202, "Semaphore file error. Possible solutions: log into network or load SHARE.EXE before running Windows"},
    {1300, "File format not supported"},
};

constexpr int kMaxBoxText = 255;

// A system's reason with the code it was translated to.
struct SystemReason {
  int code = 0;
  std::string text;
};
// Noted by OsErrorCode, until the next error is recorded.
SystemReason& Noted() {
  static SystemReason noted;
  return noted;
}
// The reason of the recorded error (empty for the engine's own errors).
SystemReason& Recorded() {
  static SystemReason recorded;
  return recorded;
}

}  // namespace

std::string ErrorMessage(int code) {
  if (code >= 1203 && code <= 1299) return "Network Error";
  for (const CodeText& entry : kCodeTable) {
    if (entry.code == code) return entry.text;
  }
  return "Undefined error";
}

namespace {

std::string CodeLine(int code, const std::string& text) {
  // The code is shown with at most 5 digits, as the field it came from.
  std::string digits = std::to_string(code);
  if (digits.size() > 5) digits = digits.substr(digits.size() - 5);
  return "Error # " + digits + " (" + text + ")";
}

// ErrorText of the code, with the system's reason of the recorded error in
// place of the code table's text.
std::string ReportLine(int code) {
  if (code == 0 || Recorded().code != code || Recorded().text.empty()) return ErrorText(code);
  return CodeLine(code, Recorded().text);
}

}  // namespace

std::string ErrorText(int code) {
  if (code == 0) return {};
  return CodeLine(code, ErrorMessage(code));
}

std::string TakeErrorDetail() {
  std::string detail = std::move(TzErrorDetail);
  TzErrorDetail.clear();
  Recorded() = {};
  LastErrorCode = 0;
  return detail;
}

std::string LastErrorMessage() {
  if (LastErrorCode == 0) return {};
  const std::string line = ReportLine(LastErrorCode);
  return line + "\r\n" + TakeErrorDetail();
}

bool SetReportErrors(bool flag) {
  const bool previous = ReportErrors;
  ReportErrors = flag;
  return previous;
}

bool SetUseExceptions(bool flag) {
  const bool previous = UseExceptions;
  UseExceptions = flag;
  return previous;
}

void RaiseDidozError(const std::string& text) { throw EDidozError(text); }

int ExitCodeOf(int code) { return (code >= 1 && code <= 255) ? code : 255; }

BoxAnswer TzMessageBox(const std::string& text, const std::string& caption, bool withCancel) {
  platform::MessageRequest request;
  request.caption = common::OemToDisplayText(caption);
  request.text = common::OemToDisplayText(text);
  request.kind = withCancel ? platform::MessageKind::Question : platform::MessageKind::Error;
  request.buttons = withCancel ? platform::MessageButtons::YesNo : platform::MessageButtons::Ok;
  const platform::DialogButton answer = platform::Dialogs().ShowMessage(request);
  if (!withCancel) return BoxAnswer::Ok;
  return answer == platform::DialogButton::Yes ? BoxAnswer::Ok : BoxAnswer::Cancel;
}

void ShowErrorAndGoOn() {
  if (TzError == 0) return;
  std::string text = LastErrorMessage();
  if (text.empty()) text = ErrorText(TzError);
  common::AbortFlag = 1;
  platform::MessageRequest request;
  request.caption = "Error  : ";
  // Program texts are code page 850; file names, and the values an import
  // refused, are UTF-8 as the system and the file give them.
  request.text = common::MixedToDisplayText(text);
  request.kind = platform::MessageKind::Error;
  platform::Dialogs().ShowMessage(request);
}

void ReportError() {
  if (Halting) return;
  LastErrorCode = TzError;
  if (ErrorProc) {
    ErrorProc();
    return;
  }
  if (TzError == 0) return;
  const std::string line = ReportLine(TzError);
  std::string text = line + "\r\n" + TakeErrorDetail();
  if (!UseExceptions) {
    if (text.size() > kMaxBoxText) text.resize(kMaxBoxText);
    const int code = TzError;
    Halting = true;
    TzMessageBox(text, "Program halted.", false);
    std::exit(ExitCodeOf(code));
  }
  RaiseDidozError(text);
}

void NoteSystemReason(int code, const std::string& reason) { Noted() = {code, reason}; }

void SetError(int code, const std::string& detail) {
  TzError = static_cast<std::uint16_t>(code);
  LastErrorCode = TzError;
  TzErrorDetail = detail;
  Recorded() = code != 0 && Noted().code == code ? std::move(Noted()) : SystemReason{};
  Noted() = {};
  if (ReportErrors) ReportError();
}

}  // namespace dbase
