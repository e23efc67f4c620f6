#include "common/message_list.h"

#include "common/kaldvar.h"

namespace common {

std::uint16_t MsgCount = 0;
RangeArray<std::string, 1, MaxMessages> MsgText;

void AddErrorMessage(const std::string& text) {
  for (int i = 1; i <= MsgCount; ++i) {
    if (MsgText[i] == text) return;
  }
  if (MsgCount >= MaxMessages) return;  // the first twelve distinct texts stay
  ++MsgCount;
  MsgText[MsgCount] = text;
}

void ClearErrorMessages() {
  MsgCount = 0;
  FatalFlag = 0;
  AbortFlag = 0;
}

void ReleaseErrorMessages() {
  MsgCount = 0;
  MsgText.fill(std::string());
}

}  // namespace common
