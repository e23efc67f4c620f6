// The clipboard in use and its in-program default; see clipboard.h.
#include "platform/clipboard.h"

namespace platform {

namespace {

Clipboard* Installed = nullptr;

Clipboard& InProgram() {
  static MemoryClipboard clipboard;
  return clipboard;
}

}  // namespace

Clipboard& SystemClipboard() { return Installed != nullptr ? *Installed : InProgram(); }

Clipboard* SetClipboard(Clipboard* clipboard) {
  Clipboard* previous = Installed;
  Installed = clipboard;
  return previous;
}

}  // namespace platform
