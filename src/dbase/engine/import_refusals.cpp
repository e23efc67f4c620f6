// The report of an import's refusals.
#include "dbase/engine/import_refusals.h"

#include "dbase/engine/error_codes.h"

namespace dbase {

void ImportRefusals::Add(const std::string& what) {
  if (count_ < kShown) shown_ += "\r\n" + what;
  ++count_;
}

void ImportRefusals::ReportUnder(int code, const std::string& source, std::int64_t appended, const std::string& tag) const {
  if (count_ == 0) return;
  std::string text = std::to_string(count_) + " " + unit_ + (count_ == 1 ? " of " : "s of ") + source +
                     " refused, nothing of " + (count_ == 1 ? "it" : "them") + " appended; " +
                     std::to_string(appended) + (appended == 1 ? " record" : " records") + " appended." + shown_;
  if (count_ > kShown) text += "\r\n(and " + std::to_string(count_ - kShown) + " more)";
  SetError(code, text + " " + tag);
}

}  // namespace dbase
