// A stream of bytes with a position: what the blob streams of the dataset
// classes offer their callers (read, write, move the position).
#pragma once

#include <cstdint>
#include <string>

namespace dbase {

// Origins of Seek.
enum TSeekOrigin : int { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream {
 public:
  virtual ~TStream() = default;
  // At most count bytes from the position on; the count moved.
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  // The new position (never below 0).
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, soCurrent); }
  std::int64_t Size() {
    const std::int64_t position = Seek(0, soCurrent);
    const std::int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
  }
  // Everything from the position to the end.
  std::string ReadToEnd() {
    std::string bytes;
    char buffer[4096];
    for (std::int64_t n; (n = Read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, static_cast<std::size_t>(n));
    return bytes;
  }
  std::int64_t WriteText(const std::string& text) {
    return Write(text.data(), static_cast<std::int64_t>(text.size()));
  }
};

}  // namespace dbase
