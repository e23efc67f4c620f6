// The messages of the noncircular sweep (sweep_messages.h).
#include "calc/sweep_messages.h"

#include <algorithm>
#include <utility>

#include "common/message_explanations.h"
#include "common/message_list.h"

namespace calc {

namespace {

bool IsFatalText(const std::string& text) { return text.rfind("Fatal", 0) == 0; }

}  // namespace

SweepMessages::SweepMessages(Summarised summarised) : summarised_(std::move(summarised)) {}

void SweepMessages::Take(int degree) {
  for (int n = 1; n <= common::MsgCount; ++n) {
    const std::string& text = common::MsgText[n];
    if (summarised_ && summarised_(text)) continue;
    const bool known =
        std::any_of(said_.begin(), said_.end(), [&](const Said& s) { return s.text == text; });
    if (!known) said_.push_back({text, degree});
  }
}

void SweepMessages::AddToList(bool fatal) const {
  for (const Said& s : said_)
    if (IsFatalText(s.text) == fatal) common::AddErrorMessage(s.text + FirstAtDegree(s.degree));
}

std::string FirstAtDegree(int degree) { return common::FirstAtNote(degree); }

}  // namespace calc
