// The accelerator letters of the main menu ('&' before a letter of the
// caption; the Korean and Chinese captions carry theirs as "(&F)" after the
// text). The captions are put together from shared words ("&Diagram" six
// times in the View menu), so the same letter would open several items of
// one menu: each item of a menu gets a letter of its own here, the first
// claimant keeping its letter and the others moving to another letter of
// their caption. A caption keeps at most one accelerator.
#pragma once

#include <string>
#include <vector>

namespace app {

// The accelerator of a caption in lower case (UTF-8), empty for none
// ("&&" is a plain ampersand).
std::string MnemonicOf(const std::string& caption);

// Makes the accelerators unique within each group of captions: a caption
// whose letter an earlier one holds moves to a free letter (first the
// initials of its words, then its other letters); without one it keeps none.
void MakeMnemonicsUnique(std::vector<std::string*>& captions);

// The same for every menu of the main menu (the menu bar included).
void MakeMainMenuMnemonicsUnique();

}  // namespace app
