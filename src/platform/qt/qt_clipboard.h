// The desktop's clipboard behind the platform clipboard interface
// (platform/clipboard.h): plain text only; a line ended by LF alone reads as
// ended by CR LF.
#pragma once

#include "platform/clipboard.h"

namespace platform::qt {

class QtClipboard : public Clipboard {
 public:
  std::string Text() override;
  void SetText(const std::string& text) override;
};

// Installs the desktop's clipboard (part of InstallQtPlatform).
void InstallQtClipboard();

}  // namespace platform::qt
