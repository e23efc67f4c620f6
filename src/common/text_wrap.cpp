// Text wrapping into WrappedLines (see text_wrap.h).
#include "common/text_wrap.h"

#include <algorithm>

#include "common/kaldvar.h"

namespace common {

void WrapText(const std::string& text, char breakChar, int width, int& widest, int& count) {
  // A line takes at least one character, so the loop always ends.
  const std::size_t w = static_cast<std::size_t>(std::max(width, 1));
  widest = 1;
  count = 0;
  std::string rest = text;
  do {
    // WrappedLines holds five lines; writing a sixth would run past the
    // shared buffer, so the remainder of an over-long text is dropped.
    if (count == WrappedLines.High) break;
    ++count;
    std::size_t take = rest.size();
    if (rest.size() > w) {
      take = w;
      for (std::size_t k = w - 1; k >= 1; --k) {
        if (rest[k - 1] == breakChar) {
          take = k;
          break;
        }
      }
    }
    widest = std::max(widest, static_cast<int>(take));
    WrappedLines[count] = rest.substr(0, take);
    rest.erase(0, take);
  } while (!rest.empty());
}

}  // namespace common
