// Demonstration texts; see demo_text.h. The file is read through a text
// file of its own, so that a file open on SharedTextFile is not disturbed.
#include "common/demo_text.h"

#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/text_file.h"
#include "platform/file_system.h"

namespace common {

void GetDemoText(int n, char& code1, char& code2, std::string& text) {
  const std::string path =
      AddBackslash(PltDirectory) + platform::FindFileAnyCase(PltDirectory, ProgramName + ".dem");
  TextFile file;
  file.Assign(path);
  std::error_code ec;
  if (!file.Reset(ec)) {
    text = "Demo file " + path + " " + "not found" + " !";
    return;
  }
  std::string line;
  const long long skip = 2 + (static_cast<long long>(n) - 1) * 4;
  for (long long i = 0; i < skip && !file.Eof(); ++i) file.ReadLine(line);
  if (n < 1 || file.Eof()) {
    code1 = '0';
    code2 = '0';
    text = "Demo text No." + std::to_string(n) + " " + "not exists" + " !";
    return;
  }
  file.ReadLine(line);  // title, not used
  file.ReadLine(line);
  code1 = line.size() > 0 ? line[0] : '0';
  code2 = line.size() > 1 ? line[1] : '0';
  file.ReadLine(text);
}

}  // namespace common
