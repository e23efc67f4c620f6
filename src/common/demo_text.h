// The demonstration texts: PltDirectory + ProgramName + ".dem", two header
// lines, then records of four lines (a title, two code characters, the
// text, an unused line). Read one record at a time by number.
#pragma once

#include <string>

namespace common {

// Record n (1-based): its two code characters and its text. A missing file
// gives the text "Demo file <path> not found !"; a record beyond the end
// gives codes '0', '0' and "Demo text No.<n> not exists !".
void GetDemoText(int n, char& code1, char& code2, std::string& text);

}  // namespace common
