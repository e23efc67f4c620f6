// What each message means to the pair, as a weight: when more is said than
// the message list shows, the weightiest texts stay. A text weighs by what
// it says of the pair, not by its kind alone: a failed rating outweighs a
// note on the printed tolerances, whatever their prefixes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace common {

enum class MessageWeight : std::uint8_t {
  // What concerns only the tolerances and test measurements a printout
  // shows (a thickness tolerance below its variation, a table used beyond
  // its range, no ball for the dimension over balls): the pair is rated
  // as it is.
  Note = 0,
  // How a value was taken (a factor held at its limit, a method's note, a
  // formula that fell back to a substitute value), and everything not
  // listed otherwise.
  Ordinary = 1,
  // What is wrong with the form of the teeth: undercut, pointed teeth,
  // tips that reach into the mate's root, too little clearance, a bore
  // that leaves a thin rim.
  Geometry = 2,
  // What the rating says against the pair: a safety below 1, a strength
  // calculation that left its range, contact ratios below 1 (the teeth
  // lose contact), resonance, a pair the method does not cover, a pair not
  // rated for want of load or speed, load values that disagree.
  Rating = 3,
  // Something that was not computed: the pair, or a position of it, is
  // not rated.
  Fatal = 4,
  // What the checks of the whole pair found (teeth that run into each
  // other or never reach each other, a curve too tight for its teeth,
  // positions that fail): whether the pair can be made and run at all.
  Finding = 5,
};

// The weight the program gives the text by its meaning; nullopt for a
// text it does not know.
std::optional<MessageWeight> ListedMessageWeight(const std::string& text);

// The text's weight: as listed, else by its kind (a text beginning
// "Fatal" weighs Fatal, any other Ordinary).
MessageWeight MessageWeightOf(const std::string& text);

}  // namespace common
