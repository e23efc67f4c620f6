// Links the memo layer into the table engine: fills MemoHooks, through which
// Use opens and closes memo files, Pack packs them, AppendFrom stores and
// copies memos and Locate reads them as text.
#pragma once

namespace dbase {

// Call after InitTzEngine (which empties the hook tables).
void InitMemoUnit();

}  // namespace dbase
