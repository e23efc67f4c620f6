// The memo layer's entries in the engine's hook table.
#include "dbase/memo/memo_unit.h"

#include <unistd.h>

#include "dbase/engine/engine_hooks.h"
#include "dbase/memo/memo_copy.h"
#include "dbase/memo/memo_file.h"
#include "dbase/memo/memo_text.h"

namespace dbase {

void InitMemoUnit() {
  // Descriptors left by areas that were dropped without closing.
  for (auto& memo : MemoFiles) {
    if (memo && memo->fd >= 0) ::close(memo->fd);
    memo.reset();
  }
  MemoHooks.open = [] { return OpenMemofile(); };
  MemoHooks.close = [] { CloseMemofile(); };
  MemoHooks.pack = [] { return PackMemofile(); };
  MemoHooks.addText = [](const std::string& text) { return AddMemo(text); };
  MemoHooks.copy = [](int sourceArea, std::int32_t block) { return CopyMemo(sourceArea, block, false); };
  MemoHooks.readLines = [](std::int32_t block, std::vector<std::string>& lines) {
    return ReadMemoTextLines(block, lines);
  };
}

}  // namespace dbase
