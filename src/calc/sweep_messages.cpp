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
  for (const common::SaidMessage& m : common::SaidMessages()) {
    if (summarised_ && summarised_(m.text)) continue;
    const auto known = std::find_if(said_.begin(), said_.end(), [&](const Said& s) { return s.text == m.text; });
    if (known == said_.end())
      said_.push_back({m.text, degree, m.weight});
    else
      known->weight = std::max(known->weight, m.weight);
  }
}

void SweepMessages::AddToList(bool fatal) const {
  for (const Said& s : said_)
    if (IsFatalText(s.text) == fatal) common::AddErrorMessage(s.text + FirstAtDegree(s.degree), s.weight);
}

std::string FirstAtDegree(int degree) { return common::FirstAtNote(degree); }

}  // namespace calc
