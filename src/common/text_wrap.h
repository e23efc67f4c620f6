// Wrapping of a long text into the five shared lines WrappedLines (kaldvar.h),
// which the report writer and the IGES writer then read.
#pragma once

#include <string>

namespace common {

// Splits `text` into lines of at most `width` characters, breaking after the
// last `breakChar` found at or before position width - 1 (the break
// character stays at the end of its line), else hard at `width`. Fills
// WrappedLines[1..count]; widest is the longest line (at least 1). At most
// five lines are written: text beyond the fifth line is dropped.
void WrapText(const std::string& text, char breakChar, int width, int& widest, int& count);

}  // namespace common
