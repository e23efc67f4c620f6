// The display list's records; see display_list.h.
#include "common/display_list.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "common/memo_math.h"

namespace common {

namespace {

std::string IntField(long long n) { return std::to_string(n); }

// Whether field i of a record of the code is an integer (a colour, style,
// width, pause, font or pixel), written without a decimal part.
bool IntegerField(int code, std::size_t i) {
  switch (code) {
    case RecColor:
    case RecLineStyle:
    case RecLineWidth:
    case RecSleep: return i == 0;
    case RecTextStyle: return i == 2;
    case RecWindow: return i < 4;
    default: return false;
  }
}

// The fields of a record, split at ';'; the text of a text record keeps its
// own ';' characters.
std::vector<std::string_view> SplitRecord(std::string_view record, std::size_t maxFields) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (fields.size() + 1 < maxFields) {
    const std::size_t semi = record.find(';', start);
    if (semi == std::string_view::npos) break;
    fields.push_back(record.substr(start, semi - start));
    start = semi + 1;
  }
  fields.push_back(record.substr(start));
  return fields;
}

bool ParseInt(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

}  // namespace

std::string RecordNumberText(Real x) {
  char buffer[64];
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 8);
  if (ec != std::errc()) return "0";
  std::string text(buffer, ptr);
  // The exponent as "E-5", not "e-05".
  const std::size_t e = text.find('e');
  if (e != std::string::npos) {
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    std::string sign;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
      if (exponent[0] == '-') sign = "-";
      exponent.erase(0, 1);
    }
    exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
    text = mantissa + "E" + sign + exponent;
  }
  if (text == "-0") text = "0";
  return text;
}

bool ParseRecordNumber(const std::string& text, Real& value) {
  std::string_view view = text;
  if (!view.empty() && view.front() == '+') view.remove_prefix(1);
  if (view.empty()) return false;
  const char* end = view.data() + view.size();
  Real parsed = 0;
  auto [ptr, ec] = std::from_chars(view.data(), end, parsed, std::chars_format::general);
  if (ec != std::errc() || ptr != end || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

TDisplayRecord ParseDisplayRecord(const std::string& record) {
  TDisplayRecord r;
  const std::size_t firstSemi = record.find(';');
  int code = 0;
  // A record without fields, or whose code is no number, is skipped.
  if (firstSemi == std::string::npos || !ParseInt(std::string_view(record).substr(0, firstSemi), code)) return r;
  r.code = code;
  const std::string_view rest = std::string_view(record).substr(firstSemi + 1);
  const auto fields = SplitRecord(rest, code == RecText ? 3 : 8);
  const std::size_t numbers = code == RecText ? std::min<std::size_t>(fields.size(), 2) : fields.size();
  for (std::size_t i = 0; i < numbers; ++i) {
    Real value = 0;
    if (IntegerField(code, i) && code != RecWindow) {
      int n = 0;
      if (!ParseInt(fields[i], n)) break;
      value = n;
    } else if (!ParseRecordNumber(std::string(fields[i]), value)) {
      break;
    }
    r.values[r.count++] = value;
  }
  if (code == RecText && fields.size() >= 3) {
    r.text = std::string(fields[2]);
    r.hasText = true;
  }
  return r;
}

bool TDisplayList::ContinuesLastLine(Real x, Real y) const {
  if (entries_.empty() || values_.size() < 2) return false;
  const Entry& last = entries_.back();
  if (last.code != RecLine || last.given || last.text != NoText || last.count != 4) return false;
  // The same numbers bit for bit: the record reads back as it was added.
  return memo_detail::SameArgument(values_[values_.size() - 2], x) &&
         memo_detail::SameArgument(values_.back(), y);
}

void TDisplayList::Appending() {
  // A list that ends in records given up goes on with stored ones.
  if (!segments_.empty()) Mark(size_, true);
}

void TDisplayList::Mark(std::size_t index, bool stored) {
  // A segment that would hold nothing gives way.
  if (!segments_.empty() && segments_.back().index == index) segments_.pop_back();
  if (segments_.empty()) {
    if (stored && index == entries_.size()) return;  // index and entry still one
  } else {
    const Segment& last = segments_.back();
    if (last.stored == stored && (!stored || last.at + (index - last.index) == entries_.size())) return;
  }
  segments_.push_back({index, entries_.size(), stored});
}

std::size_t TDisplayList::Slot(std::size_t index) const {
  if (segments_.empty() || index < segments_.front().index) return index;
  const Segment* s = &segments_.back();
  if (index < s->index)
    s = &*(std::upper_bound(segments_.begin(), segments_.end(), index,
                            [](std::size_t i, const Segment& g) { return i < g.index; }) -
           1);
  return s->stored ? s->at + (index - s->index) : NotStored;
}

void TDisplayList::AddValues(int code, const Real* v, std::size_t count) {
  Appending();
  Entry e;
  e.code = static_cast<std::int16_t>(code);
  e.count = static_cast<std::uint8_t>(std::min<std::size_t>(count, 8));
  e.joined = code == RecLine && e.count == 4 && ContinuesLastLine(v[0], v[1]);
  e.first = values_.size();
  for (std::size_t i = e.joined ? 2 : 0; i < e.count; ++i) values_.push_back(v[i]);
  entries_.push_back(e);
  ++size_;
}

void TDisplayList::Add(int code, std::initializer_list<Real> values) { AddValues(code, values.begin(), values.size()); }

void TDisplayList::AddText(int code, Real x, Real y, const std::string& text) {
  Appending();
  Entry e;
  e.first = values_.size();
  e.code = static_cast<std::int16_t>(code);
  e.count = 2;
  e.text = static_cast<std::uint32_t>(texts_.size());
  values_.push_back(x);
  values_.push_back(y);
  textEntries_.push_back(entries_.size());
  texts_.push_back(text);
  entries_.push_back(e);
  ++size_;
}

void TDisplayList::push_back(const std::string& record) {
  Appending();
  Entry e;
  e.first = values_.size();  // it has none, but the store may be cut here
  e.given = true;
  e.text = static_cast<std::uint32_t>(texts_.size());
  textEntries_.push_back(entries_.size());
  texts_.push_back(record);
  entries_.push_back(e);
  ++size_;
}

void TDisplayList::clear() {
  entries_.clear();
  values_.clear();
  texts_.clear();
  textEntries_.clear();
  segments_.clear();
  size_ = 0;
}

void TDisplayList::Release(std::size_t first, std::size_t end, std::span<const std::size_t> keep) {
  end = std::min(end, size_);
  if (first >= end) return;
  // The stored records from first on that stay, as they read: those kept
  // within the range and all after it.
  struct Moved {
    std::size_t index;
    Entry e;
    Real values[8];
    std::string text;
  };
  std::vector<Moved> moved;
  auto take = [&](std::size_t index) {
    const std::size_t slot = Slot(index);
    if (slot == NotStored) return;
    Moved m{index, entries_[slot], {}, {}};
    const std::size_t base = Base(m.e);
    for (std::size_t i = 0; i < m.e.count; ++i) m.values[i] = values_[base + i];
    if (m.e.text != NoText) m.text = texts_[m.e.text];
    moved.push_back(std::move(m));
  };
  for (const std::size_t index : keep)
    if (index >= first && index < end) take(index);
  for (std::size_t index = end; index < size_; ++index) take(index);
  // The first entry at or after first: the store is cut there.
  std::size_t cut = entries_.size();
  if (segments_.empty() || first < segments_.front().index) {
    cut = first;
  } else {
    auto s = std::upper_bound(segments_.begin(), segments_.end(), first,
                              [](std::size_t i, const Segment& g) { return i < g.index; }) -
             1;
    for (; s != segments_.end(); ++s)
      if (s->stored) {
        cut = s->at + (std::max(s->index, first) - s->index);
        break;
      }
  }
  if (cut < entries_.size()) {
    values_.truncate(entries_[cut].first);
    const std::size_t texts = static_cast<std::size_t>(
        std::lower_bound(textEntries_.begin(), textEntries_.end(), cut) - textEntries_.begin());
    texts_.resize(texts);
    textEntries_.resize(texts);
    entries_.truncate(cut);
  }
  segments_.erase(std::lower_bound(segments_.begin(), segments_.end(), first,
                                   [](const Segment& g, std::size_t i) { return g.index < i; }),
                  segments_.end());
  const std::size_t size = size_;
  size_ = first;
  Mark(first, false);
  for (const Moved& m : moved) {
    Mark(m.index, true);
    size_ = m.index;
    const Entry& e = m.e;
    if (e.given)
      push_back(m.text);
    else if (e.text != NoText)
      AddText(e.code, m.values[0], m.values[1], m.text);
    else
      AddValues(e.code, m.values, e.count);
    Mark(m.index + 1, false);
  }
  size_ = size;
}

TDisplayRecord TDisplayList::Record(std::size_t index) const {
  const std::size_t slot = Slot(index);
  if (slot == NotStored) return {};
  const Entry& e = entries_[slot];
  if (e.given) return ParseDisplayRecord(texts_[e.text]);
  TDisplayRecord r;
  r.code = e.code;
  r.count = e.count;
  const std::size_t base = Base(e);
  for (std::size_t i = 0; i < e.count; ++i) r.values[i] = values_[base + i];
  if (e.text != NoText) {
    r.text = texts_[e.text];
    r.hasText = true;
  }
  return r;
}

int TDisplayList::Code(std::size_t index) const {
  const std::size_t slot = Slot(index);
  if (slot == NotStored) return 0;
  const Entry& e = entries_[slot];
  return e.given ? ParseDisplayRecord(texts_[e.text]).code : e.code;
}

std::string TDisplayList::operator[](std::size_t index) const {
  const std::size_t slot = Slot(index);
  if (slot == NotStored) return {};
  const Entry& e = entries_[slot];
  if (e.given) return texts_[e.text];
  std::string text = IntField(e.code);
  const std::size_t base = Base(e);
  for (std::size_t i = 0; i < e.count; ++i) {
    const Real v = values_[base + i];
    text += ';';
    text += IntegerField(e.code, i) ? IntField(std::llround(v)) : RecordNumberText(v);
  }
  if (e.text != NoText) {
    text += ';';
    text += texts_[e.text];
  }
  return text;
}

bool operator==(const TDisplayList& list, const std::vector<std::string>& texts) {
  if (list.size() != texts.size()) return false;
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (list[i] != texts[i]) return false;
  return true;
}

}  // namespace common
