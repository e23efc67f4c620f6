// Unique accelerators per menu; see menu_mnemonics.h.
#include "app/menu_mnemonics.h"

#include <set>

#include "app/main_menu.h"

namespace app {

namespace {

// The length of the UTF-8 sequence that starts with byte c.
std::size_t SequenceLength(unsigned char c) {
  if (c < 0x80) return 1;
  if ((c & 0xE0) == 0xC0) return 2;
  if ((c & 0xF0) == 0xE0) return 3;
  if ((c & 0xF8) == 0xF0) return 4;
  return 1;
}

// One character of a caption in lower case: ASCII and the Latin-1 letters
// (the accented capitals of the European captions).
std::string Folded(const std::string& text, std::size_t pos) {
  const std::size_t n = std::min(SequenceLength(static_cast<unsigned char>(text[pos])), text.size() - pos);
  std::string c = text.substr(pos, n);
  if (n == 1 && c[0] >= 'A' && c[0] <= 'Z') c[0] = static_cast<char>(c[0] - 'A' + 'a');
  // U+00C0..U+00DE (without U+00D7) are C3 80..C3 9E; their small letters
  // lie 0x20 higher.
  if (n == 2 && static_cast<unsigned char>(c[0]) == 0xC3) {
    const unsigned char b = static_cast<unsigned char>(c[1]);
    if (b >= 0x80 && b <= 0x9E && b != 0x97) c[1] = static_cast<char>(b + 0x20);
  }
  return c;
}

bool IsAsciiAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// A letter that can carry the accelerator: ASCII letters and digits and
// the Latin-1 letters.
bool IsCandidate(const std::string& text, std::size_t pos) {
  const unsigned char c = static_cast<unsigned char>(text[pos]);
  if (c < 0x80) return IsAsciiAlnum(static_cast<char>(c));
  return c == 0xC3 && pos + 1 < text.size();
}

// The positions of the accelerator marks ('&' before a character other than
// '&'), in order.
std::vector<std::size_t> Marks(const std::string& caption) {
  std::vector<std::size_t> marks;
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    marks.push_back(i);
  }
  return marks;
}

// "(&X)": the accelerator written after the text, as the Korean and
// Chinese captions have it.
bool IsAppended(const std::string& caption, std::size_t mark) {
  return mark > 0 && caption[mark - 1] == '(' && mark + 2 < caption.size() && caption[mark + 2] == ')' &&
         IsAsciiAlnum(caption[mark + 1]);
}

// Removes every mark but the first: an appended "(&X)" goes whole.
void KeepFirstMark(std::string& caption) {
  std::vector<std::size_t> marks = Marks(caption);
  for (std::size_t k = marks.size(); k-- > 1;) {
    const std::size_t m = marks[k];
    if (IsAppended(caption, m)) {
      std::size_t from = m - 1, to = m + 3;
      if (from > 0 && caption[from - 1] == ' ') --from;
      caption.erase(from, to - from);
    } else {
      caption.erase(m, 1);
    }
  }
}

// The places a moved accelerator may take, best first: the initials of the
// words, the letters of the words after the first, the first word's own,
// and digits last.
std::vector<std::size_t> Candidates(const std::string& text) {
  std::vector<std::size_t> initials, later, first, digits;
  bool wordStart = true;
  int word = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = SequenceLength(static_cast<unsigned char>(text[i]));
    if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') {
      i += 2;
      wordStart = true;
      continue;
    }
    if (IsCandidate(text, i)) {
      if (wordStart) ++word;
      if (text[i] >= '0' && text[i] <= '9')
        digits.push_back(i);
      else if (wordStart)
        initials.push_back(i);
      else if (word > 1)
        later.push_back(i);
      else
        first.push_back(i);
      wordStart = false;
    } else {
      wordStart = true;
    }
    i += n;
  }
  std::vector<std::size_t> all = initials;
  for (const auto* tier : {&later, &first, &digits}) all.insert(all.end(), tier->begin(), tier->end());
  return all;
}

// Gives the caption an accelerator not in taken; false when none is free.
bool MoveMnemonic(std::string& caption, std::size_t mark, const std::set<std::string>& taken) {
  if (IsAppended(caption, mark)) {
    // The appended letter is free to choose: one of the caption's own
    // Latin letters, else the alphabet.
    std::string text = caption.substr(0, mark - 1) + caption.substr(mark + 3);
    std::vector<std::string> letters;
    for (std::size_t p : Candidates(text))
      if (static_cast<unsigned char>(text[p]) < 0x80 && !(text[p] >= '0' && text[p] <= '9'))
        letters.push_back(Folded(text, p));
    for (char c = 'a'; c <= 'z'; ++c) letters.emplace_back(1, c);
    for (char c = '0'; c <= '9'; ++c) letters.emplace_back(1, c);
    for (const std::string& l : letters) {
      if (taken.count(l)) continue;
      caption[mark + 1] = static_cast<char>(l[0] >= 'a' && l[0] <= 'z' ? l[0] - 'a' + 'A' : l[0]);
      return true;
    }
    return false;
  }
  std::string text = caption;
  text.erase(mark, 1);
  for (std::size_t p : Candidates(text)) {
    if (taken.count(Folded(text, p))) continue;
    text.insert(p, "&");
    caption = text;
    return true;
  }
  caption = text;
  return false;
}

}  // namespace

std::string MnemonicOf(const std::string& caption) {
  const std::vector<std::size_t> marks = Marks(caption);
  if (marks.empty()) return {};
  return Folded(caption, marks.front() + 1);
}

void MakeMnemonicsUnique(std::vector<std::string*>& captions) {
  std::set<std::string> taken;
  // The letters the captions carry keep their first claimant.
  std::vector<bool> keeps(captions.size(), false);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    KeepFirstMark(*captions[i]);
    const std::string m = MnemonicOf(*captions[i]);
    if (!m.empty() && taken.insert(m).second) keeps[i] = true;
  }
  for (std::size_t i = 0; i < captions.size(); ++i) {
    if (keeps[i]) continue;
    std::string& caption = *captions[i];
    const std::vector<std::size_t> marks = Marks(caption);
    if (marks.empty()) continue;
    if (MoveMnemonic(caption, marks.front(), taken)) taken.insert(MnemonicOf(caption));
  }
}

void MakeMainMenuMnemonicsUnique() {
  std::vector<std::string> menus = {""};
  for (const TMenuItem& item : MainMenu1())
    if (!MenuChildren(item.name).empty()) menus.push_back(item.name);
  for (const std::string& menu : menus) {
    std::vector<std::string*> captions;
    for (TMenuItem* item : MenuChildren(menu))
      if (!item->separator) captions.push_back(&item->caption);
    MakeMnemonicsUnique(captions);
  }
}

}  // namespace app
