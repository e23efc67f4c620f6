// What the positions of the noncircular sweep said (sweep_messages.cpp).
// Every position clears the message list before it is rated; this keeps
// each text any position left in it, once, with the drive angle where it
// first arose, so that the pair's list tells every fault of the turn.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/message_list.h"

namespace calc {

class SweepMessages {
 public:
  // Texts the sweep states itself for the whole turn (the smallest
  // safeties, the resonance): a position's own copy is not kept.
  using Summarised = std::function<bool(const std::string& text)>;

  explicit SweepMessages(Summarised summarised);

  // Takes the texts said in the position at degree, those the message list
  // shows and those a full list left out.
  void Take(int degree);

  // Adds the kept texts of the kind "Fatal  : " (fatal == true) or of the
  // other kinds to the message list, in the order they first arose, each
  // followed by " first at <degree>°" and with the weight it was said with.
  void AddToList(bool fatal) const;

 private:
  struct Said {
    std::string text;
    int degree = 0;
    common::MessageWeight weight = common::MessageWeight::Ordinary;
  };
  Summarised summarised_;
  std::vector<Said> said_;
};

// " first at <degree>°" in the program's code page.
std::string FirstAtDegree(int degree);

}  // namespace calc
