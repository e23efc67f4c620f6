// The calculation message list and what it shows when more is said than
// it holds (message_list.h).
#include "common/message_list.h"

#include <algorithm>
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

// Every distinct text said since the last clearing. Beyond this many only
// their number is kept (a runaway of distinct texts must not eat memory);
// the list shows far fewer anyway.
constexpr std::size_t MaxHeld = 1000;
std::vector<SaidMessage> Held;
int NotHeld = 0;  // texts said beyond MaxHeld

MessageWeight WeightOf(const std::string& text, MessageWeight given) {
  const MessageWeight kind = text.rfind("Fatal", 0) == 0 ? MessageWeight::Fatal : MessageWeight::Ordinary;
  return std::max(given, kind);
}

// Fills MsgText from the held texts: all of them while they fit; else the
// weightiest (of equal weight the earlier) in order of arrival, and the
// count of the others in the last line.
void ShowHeld() {
  const std::size_t said = Held.size() + static_cast<std::size_t>(NotHeld);
  MsgCount = 0;
  if (said <= static_cast<std::size_t>(MaxMessages)) {
    for (const SaidMessage& m : Held) MsgText[++MsgCount] = m.text;
    return;
  }
  const std::size_t room = MaxMessages - 1;
  std::vector<bool> shown(Held.size(), false);
  std::size_t taken = 0;
  for (int w = static_cast<int>(MessageWeight::Finding); w >= 0 && taken < room; --w)
    for (std::size_t i = 0; i < Held.size() && taken < room; ++i)
      if (static_cast<int>(Held[i].weight) == w) {
        shown[i] = true;
        ++taken;
      }
  for (std::size_t i = 0; i < Held.size(); ++i)
    if (shown[i]) MsgText[++MsgCount] = Held[i].text;
  MsgText[++MsgCount] = MessagesNotShownText(static_cast<int>(said - taken));
}

}  // namespace

std::string MessagesNotShownText(int count) {
  return "Warning: list full, " + std::to_string(count) + " more messages not shown !";
}

ScopedMessageListener::ScopedMessageListener(MessageListener listener) : previous_(std::move(Listener())) {
  Listener() = std::move(listener);
}

ScopedMessageListener::~ScopedMessageListener() { Listener() = std::move(previous_); }

CalculationMessagesScope::CalculationMessagesScope() : previous_(InCalculation) { InCalculation = true; }
CalculationMessagesScope::~CalculationMessagesScope() { InCalculation = previous_; }

void TellUnshownMessage(const std::string& text) {
  if (Listener()) Listener()(text);
}

void AddErrorMessage(const std::string& text, MessageWeight weight) {
  if (!InCalculation) TellUnshownMessage(text);
  weight = WeightOf(text, weight);
  for (SaidMessage& m : Held) {
    if (m.text != text) continue;
    // Said again with more weight (a position's text that the pair's check
    // repeats): it weighs what it weighs most.
    if (weight > m.weight) {
      m.weight = weight;
      ShowHeld();
    }
    return;
  }
  if (Held.size() >= MaxHeld) {
    ++NotHeld;
    ShowHeld();
    return;
  }
  Held.push_back({text, weight});
  if (NotHeld == 0 && Held.size() <= static_cast<std::size_t>(MaxMessages))
    MsgText[++MsgCount] = text;
  else
    ShowHeld();
}

void ClearErrorMessages() {
  Held.clear();
  NotHeld = 0;
  MsgCount = 0;
  FatalFlag = 0;
  AbortFlag = 0;
}

const std::vector<SaidMessage>& SaidMessages() { return Held; }

SavedMessages SaveMessages() {
  SavedMessages saved;
  saved.held = Held;
  saved.notHeld = NotHeld;
  saved.fatal = FatalFlag;
  return saved;
}

void RestoreMessages(const SavedMessages& saved) {
  Held = saved.held;
  NotHeld = saved.notHeld;
  ShowHeld();
  FatalFlag = saved.fatal;
}

void ReleaseErrorMessages() {
  Held.clear();
  Held.shrink_to_fit();
  NotHeld = 0;
  MsgCount = 0;
  MsgText.fill(std::string());
}

}  // namespace common
