// The display list of the graphics window: one record per drawing call,
// replayed by every repaint (graphics_window.h). A record is its code, the
// numbers that follow it and, for a text record, the text.
//
// The records are kept as numbers, not as text: a picture of a large pair
// has hundreds of thousands of them, and writing each number as text and
// reading it back at every repaint took longer than drawing it. Each record
// still has its text form, the code and the fields separated by ";"
// (numbers as RecordNumberText writes them, 8 significant digits), for
// whoever reads the list as text, and a record given as text is kept as it
// was given:
//   DisplayList.Add(RecLine, {0, 0, 10, 5});   // reads back as "4;0;0;10;5"
//   DisplayList.push_back("8;12");             // a record in its text form
//
// The pictures of an animation that were shown and erased again are no
// longer drawn (erased_pictures.h), and a long run has hundreds of them:
// Release gives up the storage of such a range of records but for the few
// it keeps, while every index stays what it was (a record given up reads
// as an empty one, code 0, which a replay passes over), so that the places
// in the list that others hold stay good:
//   DisplayList.Release(first, end, keep);    // keep: indexes, in order
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "common/chunked_array.h"
#include "common/real.h"

namespace common {

// The record codes.
enum GraphRecordCode : int {
  RecMoveTo = 1,      // x, y
  RecLineTo = 2,      // x, y
  RecCircle = 3,      // x, y, r
  RecLine = 4,        // x1, y1, x2, y2
  RecArc = 5,         // box x1, y1, x2, y2; radial points x3, y3, x4, y4
  RecText = 6,        // x, y, text (the rest of the record)
  RecSolid = 7,       // four corners
  RecColor = 8,       // colour index
  RecTextStyle = 9,   // height, width, font, direction (degrees)
  RecWindow = 10,     // viewport pixels left, top, right, bottom; world x1, y1, x2, y2
  RecLineStyle = 11,  // 0 solid, 1 dotted, 2 dash-dot, 3 dashed
  RecLineWidth = 12,  // pen width (4 times on the printer)
  RecSleep = 13,      // pause in milliseconds
};

// A number of a record: general form with 8 significant digits and always a
// point as decimal sign ("0.5", "1234.5678", "1.2345679E-5"), so a list
// reads the same whatever the locale.
std::string RecordNumberText(Real x);
// Reads a number written by RecordNumberText (or any decimal with a point);
// false when the text is not a number.
bool ParseRecordNumber(const std::string& text, Real& value);

// One record as the replay reads it. A record given as text holds the
// numbers that its fields give, up to the first field that is no number
// (or no integer where the code takes one).
struct TDisplayRecord {
  int code = 0;
  std::size_t count = 0;  // numbers in values
  Real values[8] = {};
  std::string text;       // the text of a text record
  bool hasText = false;
};

class TDisplayList {
 public:
  // Appends a record of numbers; a text record's text is given apart.
  void Add(int code, std::initializer_list<Real> values);
  void AddText(int code, Real x, Real y, const std::string& text);
  // Appends a record in its text form (kept as given).
  void push_back(const std::string& record);

  // The records added, including those given up.
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  void clear();

  // Gives up the records first .. end - 1 but those whose indexes keep
  // lists (in order, within the range): what they held is gone, their
  // indexes stay. Meant for the end of the list (the records after the
  // range are moved).
  void Release(std::size_t first, std::size_t end, std::span<const std::size_t> keep);
  // The records that take room (those not given up).
  std::size_t StoredCount() const { return entries_.size(); }

  // The record at index, as the replay reads it.
  TDisplayRecord Record(std::size_t index) const;
  // Its code alone (cheaper than the whole record).
  int Code(std::size_t index) const;
  // The record at index in its text form.
  std::string operator[](std::size_t index) const;

  // The records in their text form, in order.
  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::string;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string;

    const_iterator() = default;
    const_iterator(const TDisplayList* list, std::size_t index) : list_(list), index_(index) {}
    std::string operator*() const { return (*list_)[index_]; }
    std::string operator[](difference_type n) const { return (*list_)[index_ + n]; }
    const_iterator& operator++() { ++index_; return *this; }
    const_iterator operator++(int) { const_iterator old = *this; ++index_; return old; }
    const_iterator& operator--() { --index_; return *this; }
    const_iterator operator--(int) { const_iterator old = *this; --index_; return old; }
    const_iterator& operator+=(difference_type n) { index_ += n; return *this; }
    const_iterator& operator-=(difference_type n) { index_ -= n; return *this; }
    friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
    friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
    friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.index_ == b.index_; }
    friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.index_ <=> b.index_; }

   private:
    const TDisplayList* list_ = nullptr;
    std::size_t index_ = 0;
  };
  using iterator = const_iterator;
  using value_type = std::string;
  using size_type = std::size_t;
  using difference_type = std::ptrdiff_t;
  using reference = std::string;
  using const_reference = std::string;

  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  // The whole list in its text form.
  std::vector<std::string> Texts() const { return {begin(), end()}; }
  operator std::vector<std::string>() const { return Texts(); }
  friend bool operator==(const TDisplayList& list, const std::vector<std::string>& texts);

 private:
  // values_[first .. first + count) are the numbers of a record; text
  // indexes texts_ (the text of a text record, or the whole record given
  // as text), or is NoText. A line that starts where the line recorded just
  // before it ends (an outline drawn as a polyline) keeps only its end: its
  // numbers start two places earlier, at the end of that line.
  static constexpr std::uint32_t NoText = 0xFFFFFFFFu;
  struct Entry {
    std::uint64_t first = 0;
    std::uint32_t text = NoText;
    std::int16_t code = 0;
    std::uint8_t count = 0;
    bool given : 1 = false;   // kept in the text form it was given in
    bool joined : 1 = false;  // a line that shares its start with the end of the one before
  };
  // Where the numbers of a record start.
  static std::size_t Base(const Entry& e) { return e.joined ? e.first - 2 : e.first; }
  // Whether a line from (x, y) starts where the last record, a line, ends.
  bool ContinuesLastLine(Real x, Real y) const;
  // The entry of the record at index, or NotStored.
  static constexpr std::size_t NotStored = static_cast<std::size_t>(-1);
  std::size_t Slot(std::size_t index) const;
  // Before a record is added at the end.
  void Appending();
  // From index on the records are stored from the next entry on, or not.
  void Mark(std::size_t index, bool stored);
  void AddValues(int code, const Real* v, std::size_t count);

  // Chunked: a picture of a large pair has hundreds of thousands of
  // records, and a store that doubles would hold up to twice as many.
  TChunkedArray<Entry> entries_;
  TChunkedArray<Real> values_;
  std::vector<std::string> texts_;
  std::vector<std::size_t> textEntries_;  // the entry of each text
  // Where records were given up: from index on (to the next one's index)
  // the records are the entries from `at` on, or none (stored false).
  // Before the first, and without any, index and entry are one.
  struct Segment {
    std::size_t index = 0, at = 0;
    bool stored = true;
  };
  std::vector<Segment> segments_;
  std::size_t size_ = 0;
};

// A record in its text form read as the replay reads it.
TDisplayRecord ParseDisplayRecord(const std::string& record);

}  // namespace common
