// Message and progress windows of long table operations.
#include "dbase/engine/progress_windows.h"

#include "dbase/engine/engine_code_page.h"

namespace dbase {

TTzMsg::TTzMsg() : window_(platform::MessageWindows().Create()) {}

TTzMsg::~TTzMsg() = default;

void TTzMsg::ShowText(const std::string& text) {
  if (!text.empty()) text_ = text;
  window_->ShowText(AnsiToUtf8(caption_), AnsiToUtf8(text_));
}

TTzProgress100::TTzProgress100(const std::string& caption) : bar_(kMarks, '|') {
  caption_ = caption;
  ShowText(bar_);
}

void TTzProgress100::Step() {
  if (bar_.empty()) {
    bar_.assign(kMarks, '|');
  } else {
    bar_.pop_back();
  }
  // An empty bar is shown as a blank, since an empty text keeps the old one.
  ShowText(bar_.empty() ? std::string(" ") : bar_);
}

}  // namespace dbase
