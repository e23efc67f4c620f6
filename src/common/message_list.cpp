// The calculation message list and what it shows when more is said than
// it holds (message_list.h).
#include "common/message_list.h"

#include <algorithm>
#include <map>
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

MessageWeight KindWeight(const std::string& text) {
  return text.rfind("Fatal", 0) == 0 ? MessageWeight::Fatal : MessageWeight::Ordinary;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Fills MsgText from the held texts: all of them while they fit. Else each
// message (texts of one MessageIdentity) takes one place, with its first
// text and the largest weight of its texts: the weightiest messages (of
// equal weight the earlier) in order of arrival, and the count of the
// others in the last line. Where every message has its place, the places
// left show further texts of the messages.
void ShowHeld() {
  const std::size_t said = Held.size() + static_cast<std::size_t>(NotHeld);
  MsgCount = 0;
  if (said <= static_cast<std::size_t>(MaxMessages)) {
    for (const SaidMessage& m : Held) MsgText[++MsgCount] = m.text;
    return;
  }
  // The messages: the index of each one's first text and its weight.
  std::map<std::string, std::size_t> firstOf;
  std::vector<std::size_t> firsts;
  std::vector<int> weights(Held.size(), -1);
  for (std::size_t i = 0; i < Held.size(); ++i) {
    const auto [at, fresh] = firstOf.emplace(MessageIdentity(Held[i].text), i);
    if (fresh) firsts.push_back(i);
    weights[at->second] = std::max(weights[at->second], static_cast<int>(Held[i].weight));
  }
  const std::size_t messages = firsts.size() + static_cast<std::size_t>(NotHeld);
  std::vector<bool> shown(Held.size(), false);
  if (messages <= static_cast<std::size_t>(MaxMessages)) {
    std::size_t taken = 0;
    for (const std::size_t i : firsts) shown[i] = true, ++taken;
    for (std::size_t i = 0; i < Held.size() && taken < static_cast<std::size_t>(MaxMessages); ++i)
      if (!shown[i]) shown[i] = true, ++taken;
    for (std::size_t i = 0; i < Held.size(); ++i)
      if (shown[i]) MsgText[++MsgCount] = Held[i].text;
    return;
  }
  const std::size_t room = MaxMessages - 1;
  std::size_t taken = 0;
  for (int w = static_cast<int>(MessageWeight::Refusal); w >= 0 && taken < room; --w)
    for (std::size_t k = 0; k < firsts.size() && taken < room; ++k)
      if (weights[firsts[k]] == w) {
        shown[firsts[k]] = true;
        ++taken;
      }
  for (std::size_t i = 0; i < Held.size(); ++i)
    if (shown[i]) MsgText[++MsgCount] = Held[i].text;
  MsgText[++MsgCount] = MessagesNotShownText(static_cast<int>(messages - taken));
}

void Add(const std::string& text, MessageWeight weight) {
  if (!InCalculation) TellUnshownMessage(text);
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
  Held.push_back({text, weight, InCalculation});
  if (NotHeld == 0 && Held.size() <= static_cast<std::size_t>(MaxMessages))
    MsgText[++MsgCount] = text;
  else
    ShowHeld();
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

void AddErrorMessage(const std::string& text) { Add(text, KindWeight(text)); }

void AddErrorMessage(const std::string& text, MessageWeight weight) { Add(text, weight); }

std::string WithoutFirstAtNote(const std::string& text) {
  static const std::string firstAt = " first at ";
  const std::size_t at = text.rfind(firstAt);
  if (at == std::string::npos) return text;
  // The note is the text's end: digits, then the degree sign.
  const std::string rest = text.substr(at + firstAt.size());
  const bool note = rest.size() >= 2 && rest.back() == '\xF8' &&
                    rest.find_first_not_of("0123456789") == rest.size() - 1;
  return note ? text.substr(0, at) : text;
}

std::string WithDecimalPoints(const std::string& text) {
  std::string out = text;
  for (std::size_t i = 1; i + 1 < out.size(); ++i)
    if (out[i] == ',' && IsDigit(out[i - 1]) && IsDigit(out[i + 1])) out[i] = '.';
  return out;
}

std::string MessageIdentity(const std::string& text) {
  const std::string plain = WithDecimalPoints(WithoutFirstAtNote(text));
  std::string out;
  std::size_t i = 0;
  while (i < plain.size()) {
    if (!IsDigit(plain[i])) {
      out += plain[i++];
      continue;
    }
    std::size_t end = i;
    while (end < plain.size() && IsDigit(plain[end])) ++end;
    bool value = false;
    while (end + 1 < plain.size() && plain[end] == '.' && IsDigit(plain[end + 1])) {
      value = true;
      ++end;
      while (end < plain.size() && IsDigit(plain[end])) ++end;
    }
    out += value ? std::string("#") : plain.substr(i, end - i);
    i = end;
  }
  return out;
}

bool ShownMessagesAreCalculated() {
  for (int i = 1; i <= MsgCount; ++i)
    for (const SaidMessage& m : Held)
      if (m.text == MsgText[i] && !m.calculated) return false;
  return true;
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
