// Placement of a window clear of a picture; see clear_of_picture.h.
#include "common/clear_of_picture.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace common {

InkMap::InkMap(int l, int t, int c, int cols, int rs)
    : left(l), top(t), cell(std::max(c, 1)), columns(std::max(cols, 0)), rows(std::max(rs, 0)),
      inked(static_cast<std::size_t>(columns) * rows, 0) {}

FormRect InkMap::InkedBox() const {
  int c1 = columns, r1 = rows, c2 = -1, r2 = -1;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c)
      if (inked[static_cast<std::size_t>(r) * columns + c]) {
        c1 = std::min(c1, c);
        c2 = std::max(c2, c);
        r1 = std::min(r1, r);
        r2 = std::max(r2, r);
      }
  if (c2 < 0) return {};
  return {left + c1 * cell, top + r1 * cell, (c2 - c1 + 1) * cell, (r2 - r1 + 1) * cell};
}

namespace {

// Sums of inked cells over the rectangles from the map's corner, so that
// the ink under any rectangle is four look-ups.
class InkSums {
 public:
  explicit InkSums(const InkMap& ink) : ink_(ink), sums_((ink.columns + 1) * static_cast<std::size_t>(ink.rows + 1)) {
    const int w = ink.columns + 1;
    for (int r = 0; r < ink.rows; ++r)
      for (int c = 0; c < ink.columns; ++c)
        sums_[(r + 1) * static_cast<std::size_t>(w) + c + 1] =
            ink.inked[static_cast<std::size_t>(r) * ink.columns + c] + sums_[r * static_cast<std::size_t>(w) + c + 1] +
            sums_[(r + 1) * static_cast<std::size_t>(w) + c] - sums_[r * static_cast<std::size_t>(w) + c];
  }
  long long Under(const FormRect& rect) const {
    if (rect.width <= 0 || rect.height <= 0 || ink_.columns == 0 || ink_.rows == 0) return 0;
    // Every cell that the rectangle touches, in part too.
    auto column = [&](int x) { return std::clamp(x, 0, ink_.columns); };
    auto row = [&](int y) { return std::clamp(y, 0, ink_.rows); };
    const int c1 = column(FloorDiv(rect.left - ink_.left, ink_.cell));
    const int c2 = column(CeilDiv(rect.left + rect.width - ink_.left, ink_.cell));
    const int r1 = row(FloorDiv(rect.top - ink_.top, ink_.cell));
    const int r2 = row(CeilDiv(rect.top + rect.height - ink_.top, ink_.cell));
    if (c1 >= c2 || r1 >= r2) return 0;
    const std::size_t w = static_cast<std::size_t>(ink_.columns) + 1;
    return sums_[r2 * w + c2] - sums_[r1 * w + c2] - sums_[r2 * w + c1] + sums_[r1 * w + c1];
  }

 private:
  static int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
  static int CeilDiv(int a, int b) { return -FloorDiv(-a, b); }
  const InkMap& ink_;
  std::vector<long long> sums_;
};

long long Overlap(const FormRect& a, const FormRect& b) {
  const long long w = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
  const long long h = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

// The best of the places that the visit hands over: least ink, then
// farthest from the picture's middle.
struct Choice {
  double cx = 0, cy = 0;
  FormRect best{};
  long long ink = -1;
  double distance = -1;
  void Offer(const FormRect& r, long long under) {
    const double dx = r.left + r.width / 2.0 - cx, dy = r.top + r.height / 2.0 - cy;
    const double d = std::hypot(dx, dy);
    if (ink < 0 || under < ink || (under == ink && d > distance)) {
      best = r;
      ink = under;
      distance = d;
    }
  }
};

}  // namespace

long long InkUnder(const FormRect& r, const InkMap& ink) { return InkSums(ink).Under(r); }

FormRect ClearOfPicture(const FormRect& form, const InkMap& ink, const FormRect& screen) {
  const FormRect box = ink.InkedBox();
  const FormRect beside = BesidePicture(form, box.width > 0 ? box : FormRect{screen.left, screen.top, 0, 0}, screen);
  if (box.width == 0 || Overlap(beside, box) == 0) return beside;

  const InkSums sums(ink);
  const int step = std::max(ink.cell, 1);
  const int xMax = screen.left + std::max(screen.width - form.width, 0);
  const int yMax = screen.top + std::max(screen.height - form.height, 0);
  Choice edge{box.left + box.width / 2.0, box.top + box.height / 2.0};
  auto offer = [&](Choice& choice, int x, int y) {
    const FormRect r{x, y, form.width, form.height};
    choice.Offer(r, sums.Under(r));
  };
  // Along the four edges of the screen, the corners included.
  for (int x = screen.left;; x = std::min(x + step, xMax)) {
    offer(edge, x, screen.top);
    offer(edge, x, yMax);
    if (x == xMax) break;
  }
  for (int y = screen.top;; y = std::min(y + step, yMax)) {
    offer(edge, screen.left, y);
    offer(edge, xMax, y);
    if (y == yMax) break;
  }
  if (edge.ink == 0) return edge.best;
  // Anywhere on the screen.
  Choice inside{edge.cx, edge.cy};
  for (int y = screen.top;; y = std::min(y + step, yMax)) {
    for (int x = screen.left;; x = std::min(x + step, xMax)) {
      offer(inside, x, y);
      if (x == xMax) break;
    }
    if (y == yMax) break;
  }
  return inside.ink == 0 ? inside.best : edge.best;
}

}  // namespace common
