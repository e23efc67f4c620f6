// The pictures of an animation that were drawn and erased again. An
// animation shows a picture, pauses, and removes it by drawing its figures
// once more in the background colour: the erasing pass starts with the
// background colour right after the pause record and runs up to the next
// picture's first colour (or its pause). The picture it erases is the run
// of records before that pause whose figures the pass repeats, one for one.
//
// What the screen shows of such a list is what was never erased, plus the
// last picture: a replay draws the list without the erased pictures and
// their erasing passes (it keeps their colour and style records, so what
// follows is drawn as recorded). That is quick after a run of a thousand
// pictures, and clean: lines drawn in the background colour over smoothed
// lines at another scale than the recorded one leave a haze.
//
//   ErasedPictures erased;
//   erased.Update(DisplayList, generation);   // after records were added
//   for (const RecordRange& r : erased.Ranges()) ...  // [first, end)
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "common/display_list.h"

namespace common {

struct RecordRange {
  std::size_t first = 0, end = 0;  // [first, end)
  friend bool operator==(const RecordRange&, const RecordRange&) = default;
};

class ErasedPictures {
 public:
  // Finds the erased pictures among the records added since the last call;
  // a list of another generation (emptied in between) or one that became
  // shorter is searched from its start. An erasing pass at the end of the
  // list may still grow: it is taken once a record follows it.
  void Update(const TDisplayList& list, std::uint64_t generation);
  // The erased pictures with their erasing passes, in list order; those
  // with nothing but records of the state between them (the pictures of
  // one run) as one range.
  const std::vector<RecordRange>& Ranges() const { return ranges_; }
  // The records of range i that leave something after it: the last one of
  // each code that sets the colour, a style or the window, in list order.
  // Drawn alone, they leave the state the whole range leaves.
  std::span<const std::size_t> Kept(std::size_t i) const {
    return {kept_.data() + keptFirst_[i], keptFirst_[i + 1] - keptFirst_[i]};
  }
  // Where the last erased picture's pass ends (0 when there is none): the
  // records before it are settled, those after it may be the picture on
  // the screen.
  std::size_t SettledEnd() const { return ranges_.empty() ? 0 : ranges_.back().end; }
  void Reset();

 private:
  std::vector<RecordRange> ranges_;
  // The kept records of range i: kept_[keptFirst_[i] .. keptFirst_[i + 1]).
  std::vector<std::size_t> kept_;
  std::vector<std::size_t> keptFirst_{0};
  std::size_t searched_ = 0;  // the next record to look at
  std::uint64_t generation_ = 0;
  bool started_ = false;
};

// Whether a record of this code draws a figure (as opposed to setting the
// colour, a style, the window, or pausing).
bool IsFigureRecord(int code);
// The kind of state a record of this code sets (0 the colour, 1 the text
// style, 2 the window, 3 the line style, 4 the line width), or -1.
inline constexpr int StateKinds = 5;
int StateKind(int code);

}  // namespace common
