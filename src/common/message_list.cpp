// The calculation message list and what it shows when more is said than
// it holds (message_list.h).
#include "common/message_list.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

#include "common/kaldvar.h"

namespace common {

std::uint16_t MsgCount = 0;
RangeArray<std::string, 1, 2 * MaxMessages> MsgText;

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
int NotHeld = 0;         // texts of the pair said beyond MaxHeld
int AnswersNotHeld = 0;  // answers said beyond MaxHeld
std::uint64_t SaidCount = 0;
std::vector<std::string> PairLines;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const std::string& IdentityOf(SaidMessage& m) {
  if (!m.identity) m.identity = MessageIdentity(m.text);
  return *m.identity;
}

// The lines that show the texts of one origin (the pair's or the answer's):
// all of them while they fit. Else each message (texts of one
// MessageIdentity) takes one place, with its first text and the largest
// weight of its texts: the weightiest messages (of equal weight the
// earlier) in order of arrival, and the count of the others in the last
// line. Where every message has its place, the places left show further
// texts of the messages.
std::vector<std::string> ShownLines(bool calculated, int notHeld) {
  std::vector<SaidMessage*> texts;
  for (SaidMessage& m : Held)
    if (m.calculated == calculated) texts.push_back(&m);
  std::vector<std::string> lines;
  const std::size_t said = texts.size() + static_cast<std::size_t>(notHeld);
  if (said <= static_cast<std::size_t>(MaxMessages)) {
    for (const SaidMessage* m : texts) lines.push_back(m->text);
    return lines;
  }
  // The messages: the index of each one's first text and its weight.
  std::map<std::string_view, std::size_t> firstOf;
  std::vector<std::size_t> firsts;
  std::vector<int> weights(texts.size(), -1);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const auto [at, fresh] = firstOf.emplace(IdentityOf(*texts[i]), i);
    if (fresh) firsts.push_back(i);
    weights[at->second] = std::max(weights[at->second], static_cast<int>(texts[i]->weight));
  }
  const std::size_t messages = firsts.size() + static_cast<std::size_t>(notHeld);
  std::vector<bool> shown(texts.size(), false);
  if (messages <= static_cast<std::size_t>(MaxMessages)) {
    std::size_t taken = 0;
    for (const std::size_t i : firsts) shown[i] = true, ++taken;
    for (std::size_t i = 0; i < texts.size() && taken < static_cast<std::size_t>(MaxMessages); ++i)
      if (!shown[i]) shown[i] = true, ++taken;
    for (std::size_t i = 0; i < texts.size(); ++i)
      if (shown[i]) lines.push_back(texts[i]->text);
    return lines;
  }
  const std::size_t room = MaxMessages - 1;
  std::size_t taken = 0;
  for (int w = static_cast<int>(MessageWeight::Finding); w >= 0 && taken < room; --w)
    for (std::size_t k = 0; k < firsts.size() && taken < room; ++k)
      if (weights[firsts[k]] == w) {
        shown[firsts[k]] = true;
        ++taken;
      }
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (shown[i]) lines.push_back(texts[i]->text);
  lines.push_back(MessagesNotShownText(static_cast<int>(messages - taken)));
  return lines;
}

// Fills the pair's list and MsgText from the held texts.
void ShowHeld() {
  PairLines = ShownLines(true, NotHeld);
  MsgCount = 0;
  for (const std::string& line : ShownLines(false, AnswersNotHeld)) MsgText[++MsgCount] = line;
  for (const std::string& line : PairLines) MsgText[++MsgCount] = line;
}

// given: the caller's weight; none, the text's weight by its meaning,
// looked up only for a text not held yet.
void Add(const std::string& text, std::optional<MessageWeight> given) {
  if (!InCalculation) TellUnshownMessage(text);
  for (SaidMessage& m : Held) {
    if (m.text != text) continue;
    const MessageWeight weight = given.value_or(m.meaning);
    // Said again with more weight (a position's text that the pair's check
    // repeats), or by a calculation after a request had said it: it weighs
    // what it weighs most, and a calculation's text is the pair's.
    const bool heavier = weight > m.weight;
    const bool nowThePairs = InCalculation && !m.calculated;
    if (heavier) m.weight = weight;
    if (nowThePairs) m.calculated = true;
    if (heavier || nowThePairs) ShowHeld();
    return;
  }
  if (Held.size() >= MaxHeld) {
    ++(InCalculation ? NotHeld : AnswersNotHeld);
    ShowHeld();
    return;
  }
  const MessageWeight meaning = MessageWeightOf(text);
  Held.push_back({text, given.value_or(meaning), InCalculation, ++SaidCount, meaning, std::nullopt});
  // While the texts of its origin fit, a new one is the last line of its
  // part of the list (the pair's part comes last).
  if (InCalculation ? NotHeld == 0 && PairLines.size() < static_cast<std::size_t>(MaxMessages)
                    : PairLines.empty() && AnswersNotHeld == 0 && MsgCount < MaxMessages) {
    if (InCalculation) PairLines.push_back(text);
    MsgText[++MsgCount] = text;
    return;
  }
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

void AddErrorMessage(const std::string& text) { Add(text, std::nullopt); }

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
  for (const SaidMessage& m : Held)
    if (!m.calculated) return false;
  return AnswersNotHeld == 0;
}

const std::vector<std::string>& PairMessages() { return PairLines; }

std::uint64_t AnswerMark() { return SaidCount + 1; }

void RetireAnswersBefore(std::uint64_t mark) {
  const std::size_t before = Held.size();
  std::erase_if(Held, [mark](const SaidMessage& m) { return !m.calculated && m.said < mark; });
  if (Held.size() == before && AnswersNotHeld == 0) return;
  // Answers beyond those held came last: only a mark before every text
  // retires them.
  bool later = false;
  for (const SaidMessage& m : Held) later = later || !m.calculated;
  if (!later) AnswersNotHeld = 0;
  ShowHeld();
}

void ClearErrorMessages() {
  Held.clear();
  NotHeld = 0;
  AnswersNotHeld = 0;
  PairLines.clear();
  MsgCount = 0;
  FatalFlag = 0;
  AbortFlag = 0;
}

const std::vector<SaidMessage>& SaidMessages() { return Held; }

SavedMessages SaveMessages() {
  SavedMessages saved;
  saved.held = Held;
  saved.notHeld = NotHeld;
  saved.answersNotHeld = AnswersNotHeld;
  saved.fatal = FatalFlag;
  return saved;
}

void RestoreMessages(const SavedMessages& saved) {
  Held = saved.held;
  NotHeld = saved.notHeld;
  AnswersNotHeld = saved.answersNotHeld;
  ShowHeld();
  FatalFlag = saved.fatal;
}

void ReleaseErrorMessages() {
  Held.clear();
  Held.shrink_to_fit();
  NotHeld = 0;
  AnswersNotHeld = 0;
  PairLines.clear();
  PairLines.shrink_to_fit();
  MsgCount = 0;
  MsgText.fill(std::string());
}

}  // namespace common
