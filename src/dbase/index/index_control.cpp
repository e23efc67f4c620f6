// Index slots, keys, key comparison and index file names.
#include "dbase/index/index_control.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "common/c_locale_numbers.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/file_names.h"
#include "dbase/engine/work_areas.h"
#include "dbase/index/day_numbers.h"
#include "dbase/index/key_primitives.h"

namespace dbase {

std::array<AreaIndexes, kMaxWorkAreas + 1> IndexSlots;
bool IndexFound = false;
bool ExactFind = false;
bool NearFind = false;
std::function<bool(int area)> TableChangedHook;

void SetExactOn() { ExactFind = true; }
void SetExactOff() { ExactFind = false; }

IND* IndexOfSlot(int area, int slot) {
  if (area < 1 || area > kMaxWorkAreas || slot < 1 || slot > kMaxIndexSlots) return nullptr;
  return IndexSlots[static_cast<std::size_t>(area)].slots[static_cast<std::size_t>(slot)];
}

IND* ControllingIndex() { return IndexOfSlot(CurrentArea, 1); }

std::string IndexFileName(int slot) {
  const IND* ind = IndexOfSlot(CurrentArea, slot);
  return ind == nullptr ? std::string() : ind->fileName;
}

namespace {

std::string LowerAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Two names of the same file: equal full paths.
bool SameFile(const std::string& a, const std::string& b) { return ExpandPath(a) == ExpandPath(b); }

}  // namespace

bool IndexFileIsOpen(const std::string& fileName) {
  for (const AreaIndexes& area : IndexSlots) {
    for (const IND* ind : area.slots) {
      if (ind != nullptr && SameFile(ind->fileName, fileName)) return true;
    }
  }
  return false;
}

void NormalizeKeyExpr(std::string& text, bool keepBlanks) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      const std::size_t close = text.find(c, i + 1);
      const std::size_t end = close == std::string::npos ? text.size() : close;
      // A string holding a double quote keeps the quote it was written with.
      const bool inner = text.find('"', i + 1) < end;
      const char quote = keepBlanks || inner ? c : '"';
      out.push_back(quote);
      out.append(text, i + 1, end - i - 1);
      if (close != std::string::npos) out.push_back(quote);
      i = end;
      continue;
    }
    if (c == ' ' || c == '\t') {
      if (!keepBlanks) continue;
      const char next = i + 1 < text.size() ? text[i + 1] : '\0';
      if (next == '\0' || next == ' ' || next == '\t' || next == '"' || next == '\'' || next == '=') continue;
      out.push_back(' ');
      continue;
    }
    out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
  }
  text = out;
}

std::string NumberKey(double value) {
  std::string key(ndx::kNumericKeyLength, '\0');
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  for (std::size_t i = 0; i < 8; ++i) key[i] = static_cast<char>(bits >> (8 * i));
  return key;
}

double KeyNumber(const void* key) {
  const auto* p = static_cast<const std::uint8_t*>(key);
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(p[i]) << (8 * i);
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

int CompareKeys(const IND& ind, const void* a, const void* b) {
  if (ind.charKey) return CompareBytes(a, b, ind.keyLength);
  return CompareFloat(KeyNumber(a), KeyNumber(b));
}

namespace {

bool OemTable(const IND& ind) {
  const WorkArea* area = (ind.area >= 1 && ind.area <= kMaxWorkAreas) ? WorkAreas[ind.area].get() : nullptr;
  return area != nullptr && area->table.oem;
}

// A key maker's text in the stored form: OEM on OEM tables, then SOUNDEX and
// DESCENDING when set.
std::string KeyMakerForm(const IND& ind, std::string text) {
  if (OemTable(ind)) text = AnsiToOemStr(text);
  if (ind.soundex) text = SoundexKey(text);
  if (ind.descending) text = DescendingKey(text);
  return text;
}

std::string Fit(std::string key, std::size_t length) {
  key.resize(length, ' ');
  return key;
}

}  // namespace

std::string UnfittedKey(IND& ind) {
  if (ind.keyMaker) {
    std::string text;
    ind.keyMaker(ind.userData, ind.slot, text);
    return KeyMakerForm(ind, text);
  }
  if (ind.expr == nullptr) return std::string(ind.keyLength, ' ');
  const int saved = CurrentArea;
  CurrentArea = ind.area;
  Evaluate(ind.expr);
  CurrentArea = saved;
  if (ind.charKey) {
    std::string text = ind.expr->ResultText();
    return OemTable(ind) ? AnsiToOemStr(text) : text;
  }
  return NumberKey(ind.expr->ResultNumber());
}

std::string CurrentRecordKey(IND& ind) { return Fit(UnfittedKey(ind), ind.keyLength); }

std::string BlankRecordKey(IND& ind, WorkArea& area) {
  KeptRecord kept(area);
  ClearRecordOf(area);
  area.table.currentRecord = static_cast<std::int64_t>(area.table.recordCount) + 1;
  std::string key = UnfittedKey(ind);
  kept.Restore();
  return key;
}

std::string KeyLengthRefusalText(std::int64_t record, std::size_t length, std::size_t keyLength) {
  const std::string whose = record > 0 ? "record " + std::to_string(record) : std::string("a new (blank) record");
  return "The key of " + whose + " has " + std::to_string(length) + " characters, the index's keys " +
         std::to_string(keyLength) + "; a key maker's keys must not vary in length";
}

std::string SearchKeyOf(IND& ind, const std::string& text) {
  if (ind.keyMaker) {
    std::string t = text;
    if (ExactFind) t.resize(std::max<std::size_t>(t.size(), ind.keyLength), ' ');
    return KeyMakerForm(ind, t);
  }
  if (ind.keyType == 'D') return NumberKey(CtodToJulian(text));
  if (!ind.charKey) return NumberKey(common::CStrtod(text.c_str(), nullptr));
  std::string key = text;
  if (ExactFind) key.resize(std::max<std::size_t>(key.size(), ind.keyLength), ' ');
  return OemTable(ind) ? AnsiToOemStr(key) : key;
}

std::string FindIndexFile(const std::string& name) {
  std::string path = AddDefaultExt(name, "ndx");
  if (::access(path.c_str(), F_OK) == 0) return path;
  std::string directory;
  std::string base;
  std::string extension;
  SplitPath(path, directory, base, extension);
  const std::string wanted = LowerAscii(base + extension);
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (dir == nullptr) return path;
  std::string found;
  while (dirent* entry = ::readdir(dir)) {
    if (LowerAscii(entry->d_name) == wanted) {
      found = directory + entry->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found.empty() ? path : found;
}

std::string FullIndexPath(const std::string& name) {
  return ExpandPath(FindIndexFile(name));
}

}  // namespace dbase
