// DXF drawings that a reader must survive: blocks that insert blocks, a
// few kilobytes that ask for millions of lines.
#pragma once

#include <string>

namespace testsupport {

// A DXF drawing of blocks B0..B(levels-1): B0 holds `lines` lines, each
// further block inserts the one before it `fanout` times side by side, and
// the model space inserts the last one `fanout` times: lines x
// fanout^levels lines in all, no two alike, from a file of a few kilobytes
// (with spread false all inserts lie on one another).
inline std::string BlockBomb(int levels, int fanout, int lines, bool spread = true) {
  std::string out = "  0\nSECTION\n  2\nBLOCKS\n";
  long width = lines;  // of the block being defined
  const auto insert = [&out, spread](int block, long x) {
    out += "  0\nINSERT\n  8\n0\n  2\nB" + std::to_string(block) + "\n 10\n" + std::to_string(spread ? x : 0) +
           "\n 20\n0\n";
  };
  for (int level = 0; level < levels; ++level) {
    out += "  0\nBLOCK\n  2\nB" + std::to_string(level) + "\n 10\n0\n 20\n0\n";
    for (int k = 0; k < (level == 0 ? lines : fanout); ++k) {
      if (level == 0)
        out += "  0\nLINE\n  8\n0\n 10\n" + std::to_string(k) + "\n 20\n0\n 11\n" + std::to_string(k) + "\n 21\n1\n";
      else
        insert(level - 1, k * width);
    }
    if (level > 0) width *= fanout;
    out += "  0\nENDBLK\n";
  }
  out += "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
  for (int k = 0; k < fanout; ++k) insert(levels - 1, k * width);
  return out + "  0\nENDSEC\n  0\nEOF\n";
}

}  // namespace testsupport
