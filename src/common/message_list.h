// The calculation message list. Calculation routines report what went wrong
// by adding a one-line text here instead of returning an error; the caller
// writes the kind prefix ("Fatal  : ", "Error  : ", "Warning: ") and sets
// FatalFlag after a fatal text. The list keeps at most 12 distinct texts in
// order of first arrival.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"

namespace common {

inline constexpr int MaxMessages = 12;

extern std::uint16_t MsgCount;
extern RangeArray<std::string, 1, MaxMessages> MsgText;

// Adds text unless an equal text (exact comparison) is held already; a
// thirteenth distinct text is dropped. Does not touch the flags.
void AddErrorMessage(const std::string& text);

// Empties the list and clears FatalFlag and AbortFlag.
void ClearErrorMessages();

// Unit finalisation: empties the list and releases the texts.
void ReleaseErrorMessages();

}  // namespace common
