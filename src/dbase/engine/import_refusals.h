// The refusals of one import (lines of a delimited file, records of another
// table): each is noted as it happens, the import goes on, and at its end
// they are said once, under one code, with how many were refused, how many
// records were appended and the first few by name.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace dbase {

class ImportRefusals {
 public:
  // unit: what is refused, in the singular ("line", "record").
  explicit ImportRefusals(std::string unit) : unit_(std::move(unit)) {}
  // what: "Line 4: Field QTY: 12abc is not a number".
  void Add(const std::string& what);
  std::int64_t Count() const { return count_; }
  // Records the error code with "<n> lines of <source> refused, nothing of
  // them appended; <m> records appended." and the first refusals, ending
  // with the tag ("[AppendFromDelimitedFile]"); nothing when none was.
  void ReportUnder(int code, const std::string& source, std::int64_t appended, const std::string& tag) const;

 private:
  static constexpr std::int64_t kShown = 5;
  std::string unit_;
  std::int64_t count_ = 0;
  std::string shown_;
};

}  // namespace dbase
