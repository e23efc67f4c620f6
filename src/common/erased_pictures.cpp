// The erased pictures of an animation; see erased_pictures.h.
#include "common/erased_pictures.h"

#include <algorithm>

namespace common {

namespace {

bool SameFigure(const TDisplayRecord& a, const TDisplayRecord& b) {
  return a.code == b.code && a.count == b.count && a.hasText == b.hasText && a.text == b.text &&
         std::equal(a.values, a.values + a.count, b.values);
}

bool IsBackgroundColour(const TDisplayList& list, std::size_t i) {
  if (list.Code(i) != RecColor) return false;
  const TDisplayRecord r = list.Record(i);
  return r.count >= 1 && static_cast<int>(r.values[0]) == 0;
}

}  // namespace

bool IsFigureRecord(int code) { return code >= RecMoveTo && code <= RecSolid; }

int StateKind(int code) {
  switch (code) {
    case RecColor: return 0;
    case RecTextStyle: return 1;
    case RecWindow: return 2;
    case RecLineStyle: return 3;
    case RecLineWidth: return 4;
    default: return -1;
  }
}

void ErasedPictures::Reset() {
  ranges_.clear();
  kept_.clear();
  keptFirst_.assign(1, 0);
  searched_ = 0;
  started_ = false;
}

void ErasedPictures::Update(const TDisplayList& list, std::uint64_t generation) {
  if (!started_ || generation != generation_ || list.size() < searched_ ||
      (!ranges_.empty() && list.size() < ranges_.back().end)) {
    Reset();
    started_ = true;
    generation_ = generation;
  }
  const std::size_t size = list.size();
  std::size_t i = searched_;
  while (i + 1 < size) {
    // A pause followed by the background colour starts an erasing pass.
    if (list.Code(i) != RecSleep || !IsBackgroundColour(list, i + 1)) {
      ++i;
      continue;
    }
    const std::size_t pause = i, passStart = i + 1;
    std::size_t passEnd = passStart + 1;
    while (passEnd < size) {
      const int code = list.Code(passEnd);
      if (code == RecSleep || code == RecWindow || (code == RecColor && !IsBackgroundColour(list, passEnd))) break;
      ++passEnd;
    }
    // The pass may still grow: it is looked at again once a record follows.
    if (passEnd == size) break;
    // Its figures, last first, against the figures before the pause; the
    // picture reaches back no further than the last erased one or the
    // pause before it.
    const std::size_t floor = ranges_.empty() ? 0 : ranges_.back().end;
    std::size_t k = passEnd, j = pause;
    std::size_t first = pause;
    std::size_t matched = 0;
    bool ok = true;
    while (k > passStart + 1 && ok) {
      --k;
      if (!IsFigureRecord(list.Code(k))) continue;
      // The figure before the pause that it repeats.
      while (j > floor && !IsFigureRecord(list.Code(j - 1)) && list.Code(j - 1) != RecSleep) --j;
      if (j == floor || list.Code(j - 1) == RecSleep) {
        ok = false;
        break;
      }
      --j;
      if (!SameFigure(list.Record(j), list.Record(k))) {
        ok = false;
        break;
      }
      first = j;
      ++matched;
    }
    if (ok && matched > 0) {
      // The last record of each state code in it.
      std::size_t last[StateKinds] = {};
      bool seen[StateKinds] = {};
      // A picture that follows the last erased one with only records of
      // the state between them joins it: one range for a whole run.
      std::size_t from = first;
      if (!ranges_.empty()) {
        bool joins = true;
        for (std::size_t r = ranges_.back().end; r < first && joins; ++r) joins = StateKind(list.Code(r)) >= 0;
        if (joins) {
          for (const std::size_t r : Kept(ranges_.size() - 1)) {
            last[StateKind(list.Code(r))] = r;
            seen[StateKind(list.Code(r))] = true;
          }
          from = ranges_.back().end;
          first = ranges_.back().first;
          ranges_.pop_back();
          kept_.resize(keptFirst_[ranges_.size()]);
          keptFirst_.pop_back();
        }
      }
      ranges_.push_back({first, passEnd});
      for (std::size_t r = from; r < passEnd; ++r) {
        const int kind = StateKind(list.Code(r));
        if (kind >= 0) last[kind] = r, seen[kind] = true;
      }
      const std::size_t at = kept_.size();
      for (int kind = 0; kind < StateKinds; ++kind)
        if (seen[kind]) kept_.push_back(last[kind]);
      std::sort(kept_.begin() + static_cast<std::ptrdiff_t>(at), kept_.end());
      keptFirst_.push_back(kept_.size());
    }
    i = passEnd;
  }
  searched_ = i;
}

}  // namespace common
