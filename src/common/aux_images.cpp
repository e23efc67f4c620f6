// The auxiliary-image list file and its editing sequence; see aux_images.h.
#include "common/aux_images.h"

#include <optional>
#include <utility>

#include "common/code_page.h"
#include "common/file_checks.h"
#include "common/file_dialogs.h"
#include "common/file_utils.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/text_file.h"
#include "common/text_utils.h"
#include "platform/file_system.h"
#include "platform/user_dialogs.h"

namespace common {

const char* const AuxImageCommands[5] = {
    "-----  Append  -----", "-----  Delete  -----", "-----  Edit  ------", "-----  Insert ------",
    "-----  Print/Plot HP-GL/2  ------"};

namespace {

enum Command { Append = 1, Delete, Edit, Insert, PrintPlot };

AuxImageStep ChoiceView(const std::vector<std::string>& entries, int selected) {
  platform::ChoiceRequest request;
  request.caption = "Auxiliary Images";
  request.prompt = "Auxiliary Images";
  for (const auto& e : entries) request.items.push_back(OemToDisplayText(e));
  request.preselected = selected >= 1 && selected <= static_cast<int>(entries.size()) ? selected - 1 : 0;
  request.help = [](platform::HelpView) { ShowCurrentHelp(); };
  const auto chosen = platform::Dialogs().ChooseItem(request);
  if (!chosen) return {};
  return {AuxImageStep::Kind::Choose, *chosen + 1};
}

AuxImageListView g_view = ChoiceView;

void Message(const std::string& text) {
  platform::Dialogs().ShowMessage(
      {"Message:", OemToDisplayText(text), platform::MessageKind::Plain, platform::MessageButtons::Ok});
}

// A text entered for a record; refused when it holds a double quote, which
// the record line cannot carry. nothing on Cancel or refusal.
std::optional<std::string> AskField(const std::string& prompt, const std::string& initial, int maxLength) {
  platform::TextInputRequest request;
  request.caption = "Input";
  request.prompt = prompt;
  request.initial = OemToDisplayText(initial);
  request.maxLength = maxLength;
  AttachCurrentHelp(request);
  auto entered = platform::Dialogs().InputText(request);
  if (!entered) return std::nullopt;
  std::string text = AnsiToOemText(*entered);
  if (text.find('"') != std::string::npos) {
    Message("\" is not allowed in an auxiliary image entry.");
    return std::nullopt;
  }
  return text;
}

std::optional<AuxImage> AskImage(const AuxImage& initial) {
  auto picture = AskField("Picture name", initial.picture, AuxPictureNameLength);
  if (!picture) return std::nullopt;
  auto text = AskField("Text", initial.text, 255);
  if (!text) return std::nullopt;
  return AuxImage{TrimBlanks(*picture), *text};
}

std::string PlotFile(const AuxImage& image) { return AddBackslash(PltDirectory) + image.picture + ".plt"; }

void ShowPicture(const AuxImage& image) { ShowHelpPicture(PlotFile(image)); }

// The record a command works on: the selected one after a yes/no
// confirmation, else chosen from the list. 0 when the user declined.
int WhichRecord(const std::vector<AuxImage>& images, int selected, const std::string& verb) {
  const int n = static_cast<int>(images.size());
  if (n == 0) return 0;
  if (selected >= 1 && selected <= n) {
    const auto answer = platform::Dialogs().ShowMessage(
        {"Input", OemToDisplayText(verb + " " + AuxImageLine(images[selected - 1]) + " ?"),
         platform::MessageKind::Question, platform::MessageButtons::YesNo});
    if (answer == platform::DialogButton::Yes) return selected;
  }
  platform::ChoiceRequest request;
  request.caption = "Select";
  request.prompt = verb;
  for (const auto& image : images) request.items.push_back(OemToDisplayText(AuxImageLine(image)));
  AttachCurrentHelp(request);
  const auto chosen = platform::Dialogs().ChooseItem(request);
  return chosen ? *chosen + 1 : 0;
}

// The picture file to a plotter or printer file, with the HP-GL/2 printer
// framing when the user asks for it.
void SendToPlotter(const AuxImage& image) {
  std::string plot;
  {
    std::error_code ec;
    auto in = platform::Files().OpenRead(PlotFile(image), ec);
    if (!in) {
      CheckFileAccess(PlotFile(image));
      return;
    }
    char buffer[8192];
    for (std::ptrdiff_t got; (got = in->Read(buffer, sizeof buffer, ec)) > 0;) plot.append(buffer, got);
    if (ec) {
      ShowFileFailure("read error", PlotFile(image), ec);
      return;
    }
  }
  const auto framing = platform::Dialogs().ShowMessage({"Input", "HP-GL/2 printer framing ?",
                                                         platform::MessageKind::Question,
                                                         platform::MessageButtons::YesNoCancel});
  if (framing == platform::DialogButton::Cancel) return;
  platform::FileNameRequest request;
  request.caption = "Print/Plot HP-GL/2";
  request.fileName = image.picture + (framing == platform::DialogButton::Yes ? ".prn" : ".plt");
  request.filter = "HP-GL|*.plt;*.prn;*.hpg";
  // An existing file is asked about first.
  const auto target = AskOutputFile(request);
  if (!target) return;
  std::string bytes = plot;
  if (framing == platform::DialogButton::Yes) bytes = "\x1b" "E" "\x1b" "%0B" + plot + "\x1b" "%0A" "\x1b" "E";
  platform::ReplacingFile out;
  std::error_code ec;
  if (!out.Open(*target, ec) || !out.Write(bytes, ec) || !out.Commit(ec)) {
    out.Discard();
    ShowFileFailure("file write error", *target, ec);
  }
}

}  // namespace

AuxImageListView SetAuxImageListView(AuxImageListView view) {
  return std::exchange(g_view, view ? std::move(view) : AuxImageListView(ChoiceView));
}

std::string AuxImageFileName(const std::string& listName) {
  return AddBackslash(PltDirectory) + LowerText(listName) + ".dbh";
}

bool ReadDbhField(const std::string& line, std::size_t& pos, std::string& field) {
  field.clear();
  if (pos < line.size() && line[pos] == ',') ++pos;
  if (pos >= line.size() || line[pos] != '"') {
    ShowFileError("DBH file error");
    return false;
  }
  ++pos;
  const std::size_t end = line.find('"', pos);
  field = line.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
  pos = end == std::string::npos ? line.size() : end + 1;
  return true;
}

std::string WriteDbhRecord(const AuxImage& image) { return "\"" + image.picture + "\",\"" + image.text + "\""; }

std::vector<AuxImage> ReadAuxImageList(const std::string& fileName) {
  std::vector<AuxImage> images;
  TextFile file;
  file.Assign(fileName);
  std::error_code ec;
  if (!file.Reset(ec)) return images;
  std::string line;
  while (!file.Eof() && static_cast<int>(images.size()) < MaxAuxImages && file.ReadLine(line)) {
    if (TrimBlanks(line).empty()) continue;
    AuxImage image;
    std::size_t pos = 0;
    // A malformed field is said and reading goes on with what was read.
    if (ReadDbhField(line, pos, image.picture)) ReadDbhField(line, pos, image.text);
    images.push_back(std::move(image));
  }
  file.Discard();
  return images;
}

bool WriteAuxImageList(const std::string& fileName, const std::vector<AuxImage>& images) {
  TextFile file;
  file.Assign(fileName);
  RewriteFileChecked(file);
  if (AbortFlag) return false;
  for (const auto& image : images) file.Write(WriteDbhRecord(image) + "\r\n");
  CloseFileChecked(file);
  return !AbortFlag;
}

std::string AuxImageLine(const AuxImage& image) {
  return PadRightText(image.picture, AuxPictureNameLength) + ": " + image.text;
}

void RunAuxImages(const std::string& listName) {
  const std::string fileName = AuxImageFileName(listName);
  std::vector<AuxImage> images;
  if (!FileCanOpen(fileName)) {
    auto first = AskField("Picture name", "", AuxPictureNameLength);
    if (!first) return;
    images.push_back({TrimBlanks(*first), ""});
    AbortFlag = 0;
    if (!WriteAuxImageList(fileName, images)) return;
  } else {
    images = ReadAuxImageList(fileName);
  }
  int selected = 1;
  for (;;) {
    AbortFlag = 0;
    const int n = static_cast<int>(images.size());
    std::vector<std::string> entries;
    for (const auto& image : images) entries.push_back(AuxImageLine(image));
    for (const char* command : AuxImageCommands) entries.push_back(command);
    const AuxImageStep step = g_view(entries, selected);
    std::vector<AuxImage> changed = images;
    if (step.kind == AuxImageStep::Kind::Leave) break;
    if (step.kind == AuxImageStep::Kind::MoveUp || step.kind == AuxImageStep::Kind::MoveDown) {
      const int from = step.index;
      const int to = from + (step.kind == AuxImageStep::Kind::MoveUp ? -1 : 1);
      if (from < 1 || from > n || to < 1 || to > n) continue;
      std::swap(changed[from - 1], changed[to - 1]);
      if (WriteAuxImageList(fileName, changed)) {
        images = std::move(changed);
        selected = to;
      }
      continue;
    }
    const int index = step.index;
    if (index >= 1 && index <= n) {
      selected = index;
      ShowPicture(images[index - 1]);
      continue;
    }
    const int command = index - n;
    if (command == Append || command == Insert) {
      if (n >= MaxAuxImages) {
        Message("The list holds at most 130 images.");
        continue;
      }
      int before = n + 1;
      if (command == Insert && (before = WhichRecord(images, selected, "Insert before")) == 0) continue;
      auto image = AskImage({});
      if (!image) continue;
      changed.insert(changed.begin() + (before - 1), *image);
      selected = before;
    } else if (command == Delete || command == Edit || command == PrintPlot) {
      const int which = WhichRecord(images, selected, command == Delete ? "Delete" : command == Edit ? "Edit" : "Print/Plot");
      if (which == 0) continue;
      selected = which;
      if (command == PrintPlot) {
        SendToPlotter(images[which - 1]);
        continue;
      }
      if (command == Delete) {
        changed.erase(changed.begin() + (which - 1));
        if (selected > static_cast<int>(changed.size())) selected = static_cast<int>(changed.size());
      } else {
        auto image = AskImage(images[which - 1]);
        if (!image) continue;
        changed[which - 1] = *image;
      }
    } else {
      continue;
    }
    AbortFlag = 0;
    if (WriteAuxImageList(fileName, changed)) images = std::move(changed);
  }
  AbortFlag = 0;
}

}  // namespace common
