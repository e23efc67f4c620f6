#include "common/message_list.h"

#include <utility>

#include "common/kaldvar.h"

namespace common {

std::uint16_t MsgCount = 0;
RangeArray<std::string, 1, MaxMessages> MsgText;

namespace {

MessageListener& Listener() {
  static MessageListener listener;
  return listener;
}

bool InCalculation = false;

}  // namespace

ScopedMessageListener::ScopedMessageListener(MessageListener listener) : previous_(std::move(Listener())) {
  Listener() = std::move(listener);
}

ScopedMessageListener::~ScopedMessageListener() { Listener() = std::move(previous_); }

CalculationMessagesScope::CalculationMessagesScope() : previous_(InCalculation) { InCalculation = true; }
CalculationMessagesScope::~CalculationMessagesScope() { InCalculation = previous_; }

void TellUnshownMessage(const std::string& text) {
  if (Listener()) Listener()(text);
}

void AddErrorMessage(const std::string& text) {
  if (!InCalculation) TellUnshownMessage(text);
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

SavedMessages SaveMessages() {
  SavedMessages saved;
  for (int i = 1; i <= MsgCount; ++i) saved.texts.push_back(MsgText[i]);
  saved.fatal = FatalFlag;
  return saved;
}

void RestoreMessages(const SavedMessages& saved) {
  MsgCount = 0;
  for (const std::string& text : saved.texts) {
    if (MsgCount >= MaxMessages) break;
    ++MsgCount;
    MsgText[MsgCount] = text;
  }
  FatalFlag = saved.fatal;
}

void ReleaseErrorMessages() {
  MsgCount = 0;
  MsgText.fill(std::string());
}

}  // namespace common
