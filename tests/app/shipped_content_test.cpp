// The content the program ships beside itself in resources/: the help files,
// the message explanations, the help pictures with their list, and the
// default design. Each is read through the program's own lookup, so that a
// help number or a message added to the code without its text, a picture
// the viewer cannot draw, or a default design that fails its own rating
// shows up here.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>
#include <tuple>
#include <map>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_menu.h"
#include "app/menu_vocabulary.h"
#include "calc/calc_records.h"
#include "calc/drive_load.h"
#include "calc/hardness_conversion.h"
#include "calc/load_capacity.h"
#include "calc/load_factor_rules.h"
#include "calc/noncircular_pair.h"
#include "calc/pitch_curve.h"
#include "calc/plausibility_warnings.h"
#include "calc/spur_gear_data.h"
#include "common/code_page.h"
#include "common/display_list.h"
#include "common/graphics_facade.h"
#include "common/graphics_window.h"
#include "common/guarded_math.h"
#include "common/help_text.h"
#include "common/hpgl_viewer.h"
#include "common/kaldvar.h"
#include "common/menu_captions.h"
#include "common/text_utils.h"
#include "common/message_explanations.h"
#include "common/message_list.h"
#include "drawing/cad/cad_output.h"
#include "drawing/drawing_test_support.h"
#include "drawing/outlines/tooth_warnings.h"
#include "platform/scripted_dialogs.h"
#include "support/app_start.h"
#include "support/file_test_support.h"
#include "support/run_command.h"

namespace fs = std::filesystem;

namespace {

const fs::path kResources = fs::path(VOB_SOURCE_DIR) / "resources";

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every source file of the program, as text.
std::vector<std::pair<fs::path, std::string>> Sources() {
  std::vector<std::pair<fs::path, std::string>> files;
  for (const auto& e : fs::recursive_directory_iterator(fs::path(VOB_SOURCE_DIR) / "src")) {
    const std::string ext = e.path().extension().string();
    if (!e.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    // Whole-line comments hold examples, not calls.
    std::istringstream in(Slurp(e.path()));
    std::string code, line;
    while (std::getline(in, line)) {
      const std::size_t first = line.find_first_not_of(" \t");
      if (first == std::string::npos || line.compare(first, 2, "//") != 0) code += line + "\n";
    }
    files.emplace_back(e.path(), code);
  }
  return files;
}

// A C string literal's text with its \xNN escapes decoded.
std::string Unescape(const std::string& literal) {
  std::string out;
  for (std::size_t i = 0; i < literal.size(); ++i) {
    if (literal[i] == '\\' && i + 1 < literal.size()) {
      const char c = literal[++i];
      if (c == 'x') {
        std::size_t used = 0;
        out.push_back(static_cast<char>(std::stoi(literal.substr(i + 1, 2), &used, 16)));
        i += used;
      } else {
        out.push_back(c == 'n' ? '\n' : c);
      }
    } else {
      out.push_back(literal[i]);
    }
  }
  return out;
}

class ShippedContent : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetKaldvarDefaults();
    common::SetProgramIdentity();
    common::PltDirectory = kResources.string();
  }
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scope_{dialogs_};
};

// The help numbers of the program: literal numbers handed to the help calls,
// and those that reach them through tables and arguments (dialog rows,
// questions, image buttons), which the patterns below also catch where the
// number stands in a call or an initialiser beside a help-related name.
std::set<int> HelpNumbersInCode() {
  std::set<int> numbers;
  const std::regex direct(
      R"((ShowHelpText|SetHelpNumber2?|GetHelpText2?|Hint|AddButtonRow|FootButtons|StrengthHelp|StrengthImage)\s*\(\s*(?:[^(),]*,\s*)?(\d{4})\b)");
  const std::regex constant(R"(k\w*Help\w*\s*=\s*(\d{4})\b)");
  // A number as the last argument of a dialog-building call or as the help
  // member of a question table: `..., 5580)` or `{"...", 5680, &...}`.
  const std::regex row(R"((gearRow|valueRow|lengthEdit|check|list|image|Ask|AskYes|MakeField)\s*\([^;]*?,\s*(\d{4})\s*[,)])");
  const std::regex table(R"(\{\s*"[^"]*"\s*(?:\+\s*N\(g\)\s*)?,\s*(\d{4})\s*,\s*&)");
  const std::regex buttons(R"(\{\s*"Button_\w+"\s*,\s*(\d{4})\s*\})");
  for (const auto& [path, text] : Sources()) {
    for (const std::regex* re : {&direct, &constant, &row, &table, &buttons}) {
      for (std::sregex_iterator it(text.begin(), text.end(), *re), end; it != end; ++it) {
        const int n = std::stoi((*it)[it->size() - 1].str());
        if (n >= 1000) numbers.insert(n);
      }
    }
  }
  return numbers;
}

TEST_F(ShippedContent, EveryHelpNumberOfTheCodeHasAnEntryOfAtMostFiveLines) {
  std::set<int> numbers = HelpNumbersInCode();
  // Reached by arithmetic: the rows of the hardness conversion form (entry
  // 4100 + 5 (row - 1)), the life-factor pair and the tolerance fields.
  for (int row = 1; row <= calc::HardnessScaleCount; ++row) numbers.insert(4100 + 5 * (row - 1));
  for (int n : {1000, 1210, 1970, 2070, 5015, 5020, 6810, 6820, 9050}) numbers.insert(n);
  ASSERT_GT(numbers.size(), 100u) << "the source scan found too few help calls";

  for (int n : numbers) {
    SCOPED_TRACE(n);
    const common::HelpEntry entry = common::LookUpHelp(n);
    ASSERT_TRUE(entry.found) << common::HelpFileName(n);
    EXPECT_GE(entry.lines.size(), 1u);
    EXPECT_LE(entry.lines.size(), 5u);
    for (const std::string& line : entry.lines) EXPECT_FALSE(common::TrimBlanks(line).empty());
    EXPECT_NE(common::GetHelpText(n), common::NoHelpText(n));
    // A picture button is offered exactly where the entry names a picture
    // that is there to show.
    EXPECT_EQ(common::HelpHasPicture(n), entry.picture != "NULL") << entry.picture;
  }
}

// The help files hold only entries at multiples of 5 with their four
// continuation keys, below 4000 in the common file and from 4000 on in the
// program's own: an entry that grew a sixth line would swallow the next key.
TEST_F(ShippedContent, HelpFilesKeepTheirKeyLayout) {
  for (const auto& [name, low, high] : {std::tuple{"kaldrim.hlp", 0, 3999}, std::tuple{"vob4.hlp", 4000, 9999}}) {
    SCOPED_TRACE(name);
    std::istringstream in(Slurp(kResources / name));
    std::string key, text;
    int entry = -1;
    while (std::getline(in, key) && std::getline(in, text)) {
      ASSERT_FALSE(key.empty());
      ASSERT_EQ(key.back(), '\r');
      const int n = std::stoi(key.substr(0, 4));
      EXPECT_GE(n, low);
      EXPECT_LE(n, high);
      if (n % 5 == 0) entry = n;
      EXPECT_TRUE(entry >= 0 && n - entry <= 4) << key;
      if (key.size() > 5) {
        EXPECT_EQ(key[4], ':') << key;
      }
    }
  }
}

// The labels handed to the guarded math routines, with the routines each is
// handed to: a literal label in the call, or a local label variable whose
// routines are the guarded calls of its file that name it.
std::set<std::pair<std::string, std::string>> GuardedLabelsInCode() {
  std::set<std::pair<std::string, std::string>> labels;
  const std::regex literal(R"re(\b(CheckedPower|CheckedSqrt|CheckedSqrtLabel|CheckedDiv|CheckedArcCosNamed)\(\s*"((?:[^"\\]|\\.)*)")re");
  const std::regex variable(R"re(std::string\s+label\s*=\s*"((?:[^"\\]|\\.)*)")re");
  const std::regex byVariable(R"re(\b(CheckedPower|CheckedSqrt|CheckedSqrtLabel|CheckedDiv|CheckedArcCosNamed)\(\s*label\s*,)re");
  const std::regex handedOn(R"re(\bCyclesOn(?:Rated)?LifeLine\([^;]*?,\s*"((?:[^"\\]|\\.)*)"\s*\))re");
  for (const auto& [path, source] : Sources()) {
    if (path.filename() == "guarded_math.cpp") continue;
    for (std::sregex_iterator it(source.begin(), source.end(), literal), end; it != end; ++it)
      labels.emplace(Unescape((*it)[2].str()), (*it)[1].str());
    for (std::sregex_iterator v(source.begin(), source.end(), variable), end; v != end; ++v)
      for (std::sregex_iterator it(source.begin(), source.end(), byVariable); it != end; ++it)
        labels.emplace(Unescape((*v)[1].str()), (*it)[1].str());
    // Routines that hand their last argument on as a label: a life line
    // raises the load ratio to its exponent.
    for (std::sregex_iterator it(source.begin(), source.end(), handedOn), end; it != end; ++it)
      labels.emplace(Unescape((*it)[1].str()), "CheckedPower");
  }
  return labels;
}

// A pitch-curve formula that does not evaluate is told with the user's
// formula in it: the fixed words before it find the one record that
// explains unknown text, unbalanced brackets and an empty piece, and the
// radius message after it does not send a formula curve to the point table
// alone. Each is found through the program's own lookup.
TEST_F(ShippedContent, FormulaErrorsFindTheirExplanation) {
  for (const auto& [formula, position] :
       std::vector<std::pair<std::string, int>>{{"50+ABC", 4}, {"(50+X", -2}, {"", -1}, {"ABCDEFGHIJKLMNOP", 1}}) {
    const std::string text = calc::FormulaErrorText(formula, position);
    SCOPED_TRACE(text);
    common::ClearErrorMessages();
    common::AddErrorMessage(text);
    const std::string origin = common::GetMessageHelpText(1);
    EXPECT_NE(origin.find("formula of the pitch curve cannot be evaluated"), std::string::npos) << origin;
    EXPECT_NE(origin.find("Pos. -2"), std::string::npos) << origin;
  }
  common::ClearErrorMessages();
  common::AddErrorMessage("Fatal  : rw1 <= 0 !");
  std::string remedy;
  common::GetMessageRemedyText(1, remedy);
  EXPECT_NE(remedy.find("formula of the piece"), std::string::npos) << remedy;
}

// One record of the explanation file.
struct ErrRecord {
  std::string key, origin, remedy;
};

std::vector<ErrRecord> ErrRecords() {
  std::vector<ErrRecord> records;
  std::istringstream in(Slurp(kResources / "vob4.err"));
  ErrRecord r;
  auto chop = [](std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
  };
  while (std::getline(in, r.key) && std::getline(in, r.origin) && std::getline(in, r.remedy)) {
    chop(r.key);
    chop(r.origin);
    chop(r.remedy);
    records.push_back(r);
  }
  return records;
}

// A text the program can add to the message list, as far as the code fixes
// it: the whole text, or its beginning when a value follows.
struct ListText {
  std::string text;
  bool beginning = false;
};

bool operator<(const ListText& a, const ListText& b) {
  return std::tie(a.text, a.beginning) < std::tie(b.text, b.beginning);
}

// Whether a record's key is the text's own: they agree up to the end of a
// known beginning or up to a value (a number, a gear number) that the text
// holds in its place; or the key is the label of a guarded calculation and
// the text says which routine failed on it.
bool KeyIsOwn(const std::string& key, const ListText& t) {
  const std::string& text = t.text;
  std::size_t i = 0;
  while (i < text.size() && i < key.size() && text[i] == key[i]) ++i;
  if (i == text.size()) return i == key.size() || t.beginning;
  if (i == key.size()) {
    const std::string rest = text.substr(i);
    for (const char* detail : {" (pow)", " (sqrt)", " (div)", " arccos("})
      if (rest.rfind(detail, 0) == 0) return true;
    return false;
  }
  auto value = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == ','; };
  return value(text[i]) && value(key[i]);
}

// The routines that put a text into the list, and where in their
// arguments the text stands (the argument's index).
const std::map<std::string, int> kAddingRoutines = {{"AddErrorMessage", 0}, {"Fatal", 0}, {"Fails", 0},
                                                    {"Report", 0},          {"Warn", 1},  {"RefuseSolidOutput", 0}};

// The calls of the adding routines whose text is no literal: the
// expression as it stands in the code (blanks folded), and the texts it
// adds. A helper whose own literal carries the kind ("Warning: undercut !
// (" + ...) is found by the scan of prefixed literals; the others give
// their texts here. A new call that is in neither place fails the test:
// its texts belong here, with their records.
std::map<std::string, std::function<std::vector<ListText>()>> ComposedCalls() {
  auto none = [] { return std::vector<ListText>{}; };
  auto samples = [](std::vector<std::string> texts) {
    return [texts] {
      std::vector<ListText> out;
      for (const std::string& t : texts) out.push_back({t, false});
      return out;
    };
  };
  std::map<std::string, std::function<std::vector<ListText>()>> calls = {
      // The wrappers' own bodies hand their argument on.
      {"text", none},
      {"GuardedMathMessage(label, detail)", none},
      // Texts the list held before, put back (after the sweep with the
      // drive angle where they first arose: looked up with that note below).
      {"m.text", none},
      {"s.text + FirstAtDegree(s.degree)", none},
      // Helpers whose literals carry the kind.
      {"PointTeethWarning(i)", samples({calc::PointTeethWarning(2)})},
      {"UndercutWarning(i)", samples({calc::UndercutWarning(1)})},
      {"BoreAboveRootError(i)", samples({calc::BoreAboveRootError(2)})},
      {"SafetyWarning(\"SH\", i, g.SafetySH[i])", none},
      {"SafetyWarning(\"SF\", i, g.SafetySF[i])", none},
      {"SolidBlankNote(i)", none},
      {"FailedPositionsWarning(failedCount, firstFailedDegree)",
       samples({"Warning: fatal at 7 positions, first at 12\xF8 !", "Warning: fatal at 359 positions, first at 2\xF8 !"})},
      {"ResonanceWarning(range, i)",
       samples({calc::ResonanceWarning(calc::ResonanceRange::Main, 1),
                calc::ResonanceWarning(calc::ResonanceRange::Upper, 2)})},
      {"ResonanceWarning(resonance, i)", none},
      {"NoLoadMessage(g)", none},
      {"NoLoadMessage(SpurGearData)", none},
      // The drive's remark names the value rated.
      {"remark", samples({"Warning: P<>T*n*2PI, T from P and n !", "Warning: P<>T*n*2PI, P from T and n !",
                          "Warning: P<>T*n*2PI, n from P and T !"})},
      // The user's formula follows the fixed words.
      {"FormulaErrorText(piece.Formula, errorPosition)",
       [] {
         std::vector<ListText> out;
         for (const auto& [formula, position] :
              std::vector<std::pair<std::string, int>>{{"50+ABC", 4}, {"(50+X", -2}, {"", -1}, {"ABCDEFGHIJKLMNOP", 1}}) {
           const std::string text = calc::FormulaErrorText(formula, position);
           EXPECT_EQ(text.rfind("Error  : formula: ", 0), 0u) << text;
         }
         return std::vector<ListText>{{"Error  : formula: ", true}};
       }},
      {"\"Fatal  : z\" + common::IntToText(i) + \" < 2!\"", samples({"Fatal  : z1 < 2!", "Fatal  : z2 < 2!"})},
      {"\"Fatal  : rw\" + common::IntToText(i) + \" > 100000 mm !\"",
       samples({"Fatal  : rw1 > 100000 mm !", "Fatal  : rw2 > 100000 mm !"})},
      {"TightCurveWarning(gear, WholeDriveDegree(Kept.bend[gear].driveAngle))",
       samples({drawing::TightCurveWarning(1, 60), drawing::TightCurveWarning(2, 359)})},
      {"InterferenceWarning(Kept.mesh.firstDegree, Kept.mesh.largestArea)",
       samples({drawing::InterferenceWarning(10, 1.23L), drawing::InterferenceWarning(0, 0.01L)})},
      {"SubstitutePairMeshes() ? ApartOnCurveWarning() : NoContactWarning()",
       samples({drawing::ApartOnCurveWarning(), drawing::NoContactWarning()})},
      // A material value below 0, named, for the gear it belongs to.
      {"(std::string(\"Fatal  : \") + quantity + \" < 0 ! (gear \" + IntToText(i) + \")\").c_str()",
       [] {
         std::vector<ListText> out;
         for (const char* quantity : {"E", "Sig.Hlim", "Sig.FE", "rho", "HB", "Rz"})
           for (const char* gear : {"1", "2"})
             out.push_back({std::string("Fatal  : ") + quantity + " < 0 ! (gear " + gear + ")", false});
         return out;
       }},
      // A material value of 0 that the rating divides by, named likewise.
      {"(std::string(\"Fatal  : \") + quantity + \" = 0 ! (gear \" + IntToText(i) + \")\").c_str()",
       [] {
         std::vector<ListText> out;
         for (const char* quantity : {"E", "SigmaHlim", "SigmaFE", "Rz"})
           for (const char* gear : {"1", "2"})
             out.push_back({std::string("Fatal  : ") + quantity + " = 0 ! (gear " + gear + ")", false});
         return out;
       }},
      // Either of two texts, both with their kind.
      {"std::string(belowDb ? \"Error  : db > dFa\" : \"Error  : dbk > dFa\") + common::IntToText(gear) + \" !\"", none},
      {"tanA2 <= 0 ? \"Error  : spec.sliding\" : \"Error  : spec.sliding !\"", none},
      {"g.ToothNumbers[1] < 0 ? \"Fatal  : z1 < 0 !\" : \"Fatal  : mn <= 0!\"", none},
      // The solids refused as their files are closed.
      {"\"Error  : \" + message", none},
      // The format's name follows the fixed words.
      {"TooThinForSolidText(format)",
       [] {
         const std::string stl = drawing::TooThinForSolidText("STL");
         const std::string words = stl.substr(0, stl.find("STL"));
         EXPECT_EQ(drawing::TooThinForSolidText("STEP").rfind(words, 0), 0u);
         return std::vector<ListText>{{"Error  : " + words, true}};
       }},
      // The height entered first, then the fixed words.
      {"TooLowForSolidText(format, height)",
       [] {
         return std::vector<ListText>{{"Error  : " + drawing::TooLowForSolidText("STL", 0), false},
                                      {"Error  : " + drawing::TooLowForSolidText("STEP", 5e-5L), false}};
       }},
      // Block names of a CAD file that the drawing did not define.
      // The blocks the sheets and animations define and insert.
      {"\"Blockname \" + name + \" not found !\"",
       samples({"Blockname gear0 not found !", "Blockname frame_1 not found !", "Blockname rad1 not found !",
                "Blockname rad2 not found !"})},
  };
  // One text per hardness scale, out of its range.
  calls["HardnessScaleNames[scale] + \":\" + common::FormatRealDigits(4, 1, HardnessMinimum[scale]) + \"..\" + "
        "common::FormatRealDigits(4, 1, HardnessMaximum[scale]) + \" !\""] = [] {
    std::vector<ListText> out;
    for (int scale = 1; scale <= calc::HardnessScaleCount; ++scale) {
      common::ClearErrorMessages();
      calc::ConvertHardnessValue(scale, calc::HardnessMaximum[scale] * 2 + 1000);
      if (common::MsgCount == 1) out.push_back({common::MsgText[1], false});
    }
    EXPECT_EQ(out.size(), static_cast<std::size_t>(calc::HardnessScaleCount));
    return out;
  };
  // An entity of a DXF file that the reader does not draw: every entity
  // kind of the format that the reader leaves out.
  calls["\"Error  : DXF: \" + e.name"] = [] {
    std::vector<ListText> out;
    for (const char* name :
         {"3DFACE", "3DSOLID", "ACAD_PROXY_ENTITY", "ATTDEF", "ATTRIB", "BODY", "DIMENSION", "ELLIPSE", "HATCH",
          "HELIX", "IMAGE", "LEADER", "LIGHT", "MESH", "MLINE", "MLEADER", "MTEXT", "OLEFRAME", "OLE2FRAME",
          "POINT", "RAY", "REGION", "SECTION", "SHAPE", "SPLINE", "SURFACE", "TABLE", "TOLERANCE", "TRACE",
          "UNDERLAY", "VIEWPORT", "WIPEOUT", "XLINE", "PDFUNDERLAY", "ARC_DIMENSION", "MPOLYGON", "CAMERA",
          "GEOPOSITIONMARKER", "NURBSURFACE"})
      out.push_back({std::string("Error  : DXF: ") + name, false});
    return out;
  };
  return calls;
}

// The arguments of a call from the opening bracket at `open`, split at the
// commas outside brackets and literals; outside the literals each run of
// blanks and line ends becomes one blank.
std::vector<std::string> CallArguments(const std::string& source, std::size_t open) {
  std::vector<std::string> args(1);
  int depth = 1;
  bool quoted = false;
  for (std::size_t i = open + 1; i < source.size() && depth > 0; ++i) {
    const char c = source[i];
    std::string& arg = args.back();
    if (quoted) {
      arg += c;
      if (c == '\\') arg += source[++i];
      else if (c == '"') quoted = false;
      continue;
    }
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (!arg.empty() && arg.back() != ' ') arg += ' ';
      continue;
    }
    if (c == '"') quoted = true;
    if (c == '(' || c == '[') ++depth;
    if ((c == ')' || c == ']') && --depth == 0) break;
    if (c == ',' && depth == 1) {
      args.emplace_back();
      continue;
    }
    arg += c;
  }
  for (std::string& a : args) {
    if (!a.empty() && a.back() == ' ') a.pop_back();
    if (!a.empty() && a.front() == ' ') a.erase(0, 1);
  }
  return args;
}

// Every text the code can add to the message list: the literals that carry
// a kind prefix, the literals the adding routines are handed, the texts
// the guarded math composes from each label, and the composed texts of
// ComposedCalls. Calls whose text the test does not know are listed in
// `unknown`.
std::set<ListText> ListTextsOfTheCode(std::vector<std::string>& unknown) {
  std::set<ListText> texts;
  const std::regex prefixed(R"re("((?:Fatal  : |Error  : |Warning: )(?:[^"\\]|\\.)*)"(\s*\+)?)re");
  // The pitch-curve form's own label and message-box captions use the
  // prefixes too, without reaching the list.
  const std::regex label(R"re(errorLabel\s*=\s*"((?:[^"\\]|\\.)*)")re");
  const std::set<std::string> captions = {"Error  : ", "Fatal  : ", "Warning: "};
  const auto calls = ComposedCalls();
  // A beginning shorter than the lookup's key takes part of the value into
  // the key: its call must give its composed texts.
  std::set<std::string> shortBeginnings, composedShort;
  for (const auto& [path, source] : Sources()) {
    // The table engine tells its errors in message boxes (one text, its
    // table not found, reaches the list: found below).
    const bool tables = path.string().find("/dbase/") != std::string::npos;
    std::set<std::string> labels;
    for (std::sregex_iterator it(source.begin(), source.end(), label), end; it != end; ++it)
      labels.insert(Unescape((*it)[1].str()));
    // The weights list the messages by their beginnings; it says none.
    if (!tables && path.filename() != "message_weights.cpp")
      for (std::sregex_iterator it(source.begin(), source.end(), prefixed), end; it != end; ++it) {
        const std::string text = Unescape((*it)[1].str());
        const bool beginning = (*it)[2].matched;
        if (captions.count(text) || labels.count(text)) continue;
        if (beginning && text.size() < 15)
          shortBeginnings.insert(text);
        else
          texts.insert({text, beginning});
      }
    for (const auto& [routine, index] : kAddingRoutines) {
      const std::regex call("(?:^|[^\\w.>])" + routine + "\\s*\\(");
      for (std::sregex_iterator it(source.begin(), source.end(), call), end; it != end; ++it) {
        const std::size_t open = static_cast<std::size_t>(it->position() + it->length() - 1);
        const std::vector<std::string> args = CallArguments(source, open);
        // A declaration or definition of the routine itself.
        if (args[0].empty() || args[0].rfind("const ", 0) == 0 || args[0].rfind("std::string_view", 0) == 0 ||
            args[0].rfind("bool ", 0) == 0)
          continue;
        if (static_cast<std::size_t>(index) >= args.size()) continue;
        const std::string& arg = args[static_cast<std::size_t>(index)];
        const std::string before = routine == "RefuseSolidOutput" ? "Error  : " : "";
        std::smatch m;
        static const std::regex literalFirst(R"re(^(?:std::string\()?"((?:[^"\\]|\\.)*)"\)?\s*(\+)?)re");
        const bool literal = std::regex_search(arg, m, literalFirst);
        const std::string text = literal ? before + Unescape(m[1].str()) : "";
        if (literal && !(m[2].matched && text.size() < 15)) {
          texts.insert({text, m[2].matched});
          continue;
        }
        const auto known = calls.find(arg);
        if (known == calls.end()) {
          unknown.push_back(path.filename().string() + ": " + routine + "(" + arg + ")");
          continue;
        }
        if (literal) composedShort.insert(text);
        for (const ListText& t : known->second()) texts.insert(t);
      }
    }
  }
  for (const std::string& text : shortBeginnings)
    if (!composedShort.count(text)) unknown.push_back("\"" + text + "\" + ... (a value in the lookup's key)");
  // The guarded math: each label with each routine it is handed to, and the
  // arc functions that name their value.
  auto compose = [&texts](auto&& call) {
    common::ClearErrorMessages();
    call();
    EXPECT_EQ(common::MsgCount, 1);
    if (common::MsgCount == 1) texts.insert({common::MsgText[1], false});
  };
  const auto guarded = GuardedLabelsInCode();
  EXPECT_GT(guarded.size(), 40u) << "the source scan found too few guarded labels";
  for (const auto& [label, routine] : guarded) {
    SCOPED_TRACE(label + " / " + routine);
    if (label.empty()) continue;
    texts.erase({label, false});
    texts.erase({label, true});
    compose([&, routine = routine, label = label] {
      if (routine == "CheckedPower") common::CheckedPower(label, -2, 0.5L);
      if (routine == "CheckedSqrt" || routine == "CheckedSqrtLabel") common::CheckedSqrt(label, -1);
      if (routine == "CheckedDiv") common::CheckedDiv(label, 1, 0);
      if (routine == "CheckedArcCosNamed") common::CheckedArcCosNamed(label, -1.25L);
    });
  }
  compose([] { common::CheckedArcSin(-1.5L); });
  compose([] { common::CheckedArcCos(2.5L); });
  compose([] { common::InverseInvolute(1e30L); });
  // A literal that the code composes a text from elsewhere is not a text
  // of its own where it stands whole (a comparison with a text's beginning).
  for (auto it = texts.begin(); it != texts.end();)
    it = !it->beginning && texts.count({it->text, true}) ? texts.erase(it) : std::next(it);
  return texts;
}

// Texts that share the lookup's 15 characters with another message of
// their family, so that one record explains them all: the text (or its
// beginning) and the word by which the shared record names it.
const std::map<std::string, std::string> kSharedRecords = {
    {"Error  : YB: sR/ht <= 0.5 !", "sR/ht"},
    {"Error  : db > dFa", "tip form circle dFa"},
    {"Error  : db > da  (1) arccos(-1.25)", "tip circle"},
    {"Error  : db > da !  (1) arccos(-1.25)", "effective tip circle"},
    {"Error  : db > da !  (2) arccos(-1.25)", "effective tip circle"},
    {"Error  : spec.sliding !", "base circle of gear 1"},
    {"Error  : tooth collision Y ! arccos(-1.25)", "internal gear"},
    {"Fatal  : alpha wt !", "alpha wt"},
    {"Fatal  : spec.sliding alpha sw !", "alpha sw"},
    {"Fatal  : spec.slidingalpha a1 !", "alpha a1"},
    {"Fatal  : spec.slidingalpha e2 !", "alpha e2"},
    {"Warning: P<>T*n*2PI, P from T and n !", "P from T and n"},
    {"Warning: P<>T*n*2PI, n from P and T !", "n from P and T"},
    {"Warning: Fr: (5<=d<=15000)", "diameter"},
    {"Warning: fis: (5<=d<=2500)", "diameter"},
    {"Warning: fis: (1<=mn<=50)", "module"},
};

// The entities of a DXF file that the reader does not draw are told by
// their name, which enters the lookup's 15 characters with its first
// letter: the record of that letter names every entity it explains.
const std::string kDxfEntity = "Error  : DXF: ";

// Every text the code can add to the message list finds, through the
// program's own lookup (the first 15 characters of the text without the
// sweep's note), a record that is its own, and none finds another's: the
// record's key is the text, up to the values the text composes, or a
// record shared by a family of texts that names each of them. Every record
// can be found, and each is found by a message of the code.
TEST_F(ShippedContent, EveryCalculationMessageFindsItsOwnExplanation) {
  const std::vector<ErrRecord> records = ErrRecords();
  ASSERT_GT(records.size(), 150u);
  // Each record can be found: no two records share the lookup's key.
  std::map<std::string, std::string> keys;
  for (const ErrRecord& r : records) {
    EXPECT_GT(r.origin.size(), 10u) << r.key;
    EXPECT_GT(r.remedy.size(), 10u) << r.key;
    const auto [at, fresh] = keys.emplace(common::ExplanationKey(r.key), r.key);
    EXPECT_TRUE(fresh) << "\"" << r.key << "\" can never be found: \"" << at->second << "\" is found first";
  }

  std::vector<std::string> unknown;
  const std::set<ListText> texts = ListTextsOfTheCode(unknown);
  for (const std::string& call : unknown) ADD_FAILURE() << "a message without a known text: " << call;
  ASSERT_GT(texts.size(), 150u) << "the source scan found too few messages";

  std::set<std::string> found;
  for (const ListText& t : texts) {
    SCOPED_TRACE("\"" + t.text + "\"" + (t.beginning ? " + ..." : ""));
    // A full list keeps each text by its meaning, none by its kind alone.
    EXPECT_TRUE(common::ListedMessageWeight(t.text)) << "no weight by meaning";
    common::MessageExplanation record;
    bool read = false;
    const bool explained = common::FindMessageExplanation(t.text, record, read);
    ASSERT_TRUE(read);
    EXPECT_TRUE(explained) << "no explanation";
    if (!explained) continue;
    found.insert(record.key);
    // The list and the printouts find it through the message list too, and
    // so after the sweep, which adds where the message first arose.
    common::ClearErrorMessages();
    common::AddErrorMessage(t.text + common::FirstAtNote(37));
    EXPECT_EQ(common::GetMessageHelpText(1), record.origin) << "with the sweep's note";
    // Whatever the decimal sign of the settings: the numbers of the text
    // written with a comma find the same record.
    std::string comma = t.text;
    for (std::size_t i = 1; i + 1 < comma.size(); ++i)
      if (comma[i] == '.' && std::isdigit(static_cast<unsigned char>(comma[i - 1])) &&
          std::isdigit(static_cast<unsigned char>(comma[i + 1])))
        comma[i] = ',';
    common::MessageExplanation withComma;
    EXPECT_TRUE(common::FindMessageExplanation(comma, withComma, read)) << comma;
    EXPECT_EQ(withComma.key, record.key) << comma;
    // An entity the DXF reader does not draw, whatever its name: the one
    // record of them all, which speaks of the name the message gives.
    if (t.text.rfind(kDxfEntity, 0) == 0) {
      EXPECT_EQ(record.key.substr(0, kDxfEntity.size()), kDxfEntity);
      EXPECT_NE(record.origin.find("the message names"), std::string::npos) << record.origin;
      continue;
    }
    const auto shared = kSharedRecords.find(t.text);
    if (shared != kSharedRecords.end()) {
      EXPECT_NE(record.origin.find(shared->second), std::string::npos)
          << "the shared record \"" << record.key << "\" does not name it: " << record.origin;
      continue;
    }
    EXPECT_TRUE(KeyIsOwn(record.key, t)) << "finds the record of \"" << record.key << "\"";
  }
  // Every record explains a message the code can add.
  for (const ErrRecord& r : records) EXPECT_TRUE(found.count(r.key)) << "no message finds \"" << r.key << "\"";
  // The shared records are still shared.
  for (const auto& [text, word] : kSharedRecords)
    EXPECT_TRUE(texts.count({text, false}) || texts.count({text, true})) << "no longer a message: " << text;
}

// The refusals of material values no gear can have, the light-load note of
// the ISO path and the last line of a full list each find a record of
// their own: no other record shares its key, and the record speaks of what
// the text names.
TEST_F(ShippedContent, RefusalsAndNotesFindRecordsOfTheirOwn) {
  std::vector<std::string> keys;
  {
    std::istringstream in(Slurp(kResources / "vob4.err"));
    std::string key, origin, remedy;
    while (std::getline(in, key) && std::getline(in, origin) && std::getline(in, remedy)) keys.push_back(key);
  }
  const std::vector<std::pair<std::string, std::string>> texts = {
      {"Fatal  : E < 0 ! (gear 1)", "modulus of elasticity"},
      {"Fatal  : Sig.Hlim < 0 ! (gear 2)", "pitting endurance limit"},
      {"Fatal  : Sig.FE < 0 ! (gear 1)", "root endurance limit"},
      {"Fatal  : rho < 0 ! (gear 2)", "density"},
      {"Fatal  : HB < 0 ! (gear 1)", "hardness"},
      {"Fatal  : Rz < 0 ! (gear 2)", "roughness"},
      {"Warning: KHbeta taken at 100 N/mm (Ft/b*KA < 100) !", "KHbeta"},
      {common::MessagesNotShownText(17), "left out"},
  };
  for (const auto& [text, topic] : texts) {
    SCOPED_TRACE(text);
    EXPECT_EQ(std::count_if(keys.begin(), keys.end(),
                            [&](const std::string& key) { return key.substr(0, 15) == text.substr(0, 15); }),
              1);
    common::ClearErrorMessages();
    common::AddErrorMessage(text);
    EXPECT_NE(common::GetMessageHelpText(1).find(topic), std::string::npos) << common::GetMessageHelpText(1);
  }
}

// What the help and the remedies state about the curves is what the program
// does: the formula pieces end at 360 degrees exactly (360/k is refused), and
// the sine curve's convexity limit A < rw0 / (1 + N^2) holds on both sides.
TEST_F(ShippedContent, HelpStatesWhatTheCurvesDo) {
  const std::string formulaHelp = common::GetHelpText(7800);
  EXPECT_NE(formulaHelp.find("exactly 360 deg"), std::string::npos) << formulaHelp;
  EXPECT_EQ(formulaHelp.find("360/k"), std::string::npos) << formulaHelp;
  calc::CurveType = calc::CurveFormula;
  calc::NcPair.k = 2;
  calc::PieceCount = 1;
  const std::string refused = "Fatal  : phi n <> 360\xF8 !";
  for (const Real end : {180.0L, 360.0L}) {
    calc::FormulaPieces[1] = {end, "50"};
    calc::CalcNoncircularPair();
    bool refusedHere = false;
    for (int i = 1; i <= common::MsgCount; ++i) refusedHere = refusedHere || common::MsgText[i] == refused;
    EXPECT_EQ(refusedHere, end != 360) << end;
  }
  common::ClearErrorMessages();
  common::AddErrorMessage(refused);
  std::string remedy;
  common::GetMessageRemedyText(1, remedy);
  EXPECT_NE(remedy.find("exactly 360 deg"), std::string::npos) << remedy;
  EXPECT_EQ(remedy.find("360/k"), std::string::npos) << remedy;
  calc::NcPair.k = 1;

  const std::string sineHelp = common::GetHelpText(7860);
  EXPECT_NE(sineHelp.find("A < rw0 / (1 + N^2)"), std::string::npos) << sineHelp;
  // The sign of the polar curvature, r^2 + 2 r'^2 - r r'', least over a turn.
  auto leastCurvature = [] {
    Real least = 1e30L;
    const Real h = 1e-3L;
    for (int step = 0; step < 3600; ++step) {
      const Real phi = step * common::Pi / 1800;
      const Real r = calc::PitchRadius(phi), rp = calc::PitchRadius(phi + h), rm = calc::PitchRadius(phi - h);
      const Real d1 = (rp - rm) / (2 * h), d2 = (rp - 2 * r + rm) / (h * h);
      least = std::min(least, r * r + 2 * d1 * d1 - r * d2);
    }
    return least;
  };
  calc::CurveType = calc::CurveSine;
  for (const int n : {1, 2, 3}) {
    SCOPED_TRACE(n);
    calc::SineCurve = {50, 50 / (1.0L + n * n) * 0.98L, n};
    EXPECT_GT(leastCurvature(), 0);
    calc::SineCurve.A = 50 / (1.0L + n * n) * 1.02L;
    EXPECT_LT(leastCurvature(), 0);
  }
  calc::CurveType = calc::CurveEllipse;
  calc::SineCurve = calc::TSineCurve{};
}

// The records of a help picture as the viewer draws it into the help window.
std::vector<common::TDisplayRecord> DrawnPicture(const std::string& name) {
  common::HorizontalPixels = 640;
  common::VerticalPixels = 480;
  common::InitScreenGraphicsSettings();
  common::InitGraphicsWindowUnit();
  common::InitGraphDisplayList();
  common::ClearGraphics();
  common::GraphHeader(0, 0, 160, 120);
  common::DisplayList.clear();
  common::AbortFlag = 0;
  common::PlotPltFile((kResources / (name + ".plt")).string());
  std::vector<common::TDisplayRecord> records;
  for (const std::string& record : common::DisplayList) records.push_back(common::ParseDisplayRecord(record));
  return records;
}

// The pictures the help entries and the image list name, and the start
// picture: each exists, uses only commands the viewer draws, and lies inside
// the 160 x 120 mm help window.
// The pictures the help entries name, and the start picture.
std::set<std::string> NamedPictures() {
  std::set<std::string> names = {"start", "start_de"};
  for (const char* file : {"kaldrim.hlp", "vob4.hlp"}) {
    std::istringstream in(Slurp(kResources / file));
    std::string line;
    while (std::getline(in, line)) {
      const std::size_t colon = line.find(':');
      if (line.size() > 5 && std::isdigit(static_cast<unsigned char>(line[0])) && colon == 4) {
        std::string picture = line.substr(5);
        if (!picture.empty() && picture.back() == '\r') picture.pop_back();
        if (picture != "NULL") names.insert(picture);
      }
    }
  }
  return names;
}

TEST_F(ShippedContent, EveryNamedPictureDrawsInsideTheHelpWindow) {
  const std::set<std::string> names = NamedPictures();
  std::set<std::string> listed;
  {
    std::istringstream in(Slurp(kResources / "vob4.dbh"));
    std::string line;
    const std::regex record(R"re(^"([^"]+)","([^"]+)"\r$)re");
    while (std::getline(in, line)) {
      std::smatch m;
      ASSERT_TRUE(std::regex_match(line, m, record)) << line;
      listed.insert(m[1].str());
    }
  }
  EXPECT_EQ(listed, names) << "the image list names every help picture";
  ASSERT_GE(names.size(), 7u);

  const std::set<std::string> drawn = {"SP", "PU", "PD", "PA", "CI", "SI", "DI", "LB", "AA", "PE", "CS"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const fs::path file = kResources / (name + ".plt");
    ASSERT_TRUE(fs::exists(file));
    const std::string plot = Slurp(file);
    // Commands: two letters each, a label running to its terminator.
    for (std::size_t i = 0; i < plot.size();) {
      if (!std::isalpha(static_cast<unsigned char>(plot[i]))) {
        ++i;
        continue;
      }
      const std::string command = plot.substr(i, 2);
      EXPECT_TRUE(drawn.count(command)) << "skipped command " << command << " at " << i;
      const std::size_t end = command == "LB" ? plot.find('\x03', i) : plot.find(';', i);
      ASSERT_NE(end, std::string::npos);
      i = end + 1;
    }

    int strokes = 0;
    Real textHeight = 0, textWidth = 0, textDirection = 0;
    for (const common::TDisplayRecord& r : DrawnPicture(name)) {
      std::string record = std::to_string(r.code);
      for (std::size_t k = 0; k < r.count; ++k) record += ";" + std::to_string(static_cast<double>(r.values[k]));
      record += r.text;
      if (r.code == common::RecTextStyle && r.count >= 4) {
        textHeight = r.values[0];
        textWidth = r.values[1];
        textDirection = r.values[3];
      }
      if (r.code == common::RecText) {  // a label: its whole box inside the window
        EXPECT_EQ(textDirection, 0) << record;
        const Real x = r.values[0], y = r.values[1];
        EXPECT_GE(x, 0) << record;
        EXPECT_GE(y, 0) << record;
        EXPECT_LE(x + textWidth * static_cast<Real>(r.text.size()), 160) << record;
        EXPECT_LE(y + textHeight, 120) << record;
      }
      if (r.code == common::RecCircle) {
        EXPECT_GE(r.values[0] - r.values[2], 0) << record;
        EXPECT_LE(r.values[0] + r.values[2], 160) << record;
        EXPECT_GE(r.values[1] - r.values[2], 0) << record;
        EXPECT_LE(r.values[1] + r.values[2], 120) << record;
      }
      if (r.code == common::RecLine && r.count == 4) {  // a line: both ends inside the window
        ++strokes;
        for (int k = 0; k < 4; k += 2) {
          EXPECT_GE(r.values[k], 0) << record;
          EXPECT_LE(r.values[k], 160) << record;
          EXPECT_GE(r.values[k + 1], 0) << record;
          EXPECT_LE(r.values[k + 1], 120) << record;
        }
      }
    }
    EXPECT_GT(strokes, 4);
  }
}

// The contact-ratio picture shows a pair that meshes: pitch circles that
// touch, base circles of one pressure angle, the line of action tangent to
// both through the pitch point, and the marks A and E where the tip circles
// cut it between the tangent points T1 and T2: A on gear 2's tip circle on
// gear 1's side, E on gear 1's tip circle on gear 2's side, their distance
// the length of contact the circles give.
TEST_F(ShippedContent, ContactRatioPictureShowsAMeshingPair) {
  std::map<std::pair<long, long>, std::vector<Real>> byCentre;
  std::vector<std::array<Real, 4>> lines;
  std::map<std::string, std::array<Real, 2>> labels;
  for (const auto& r : DrawnPicture("contact")) {
    if (r.code == common::RecCircle)
      byCentre[{std::lround(r.values[0] * 40), std::lround(r.values[1] * 40)}].push_back(r.values[2]);  // plotter units
    if (r.code == common::RecLine) lines.push_back({r.values[0], r.values[1], r.values[2], r.values[3]});
    if (r.code == common::RecText) labels[r.text] = {r.values[0], r.values[1]};
  }
  std::vector<std::pair<std::array<Real, 2>, std::vector<Real>>> gears;
  std::vector<std::array<Real, 2>> marks;
  for (auto& [centre, radii] : byCentre) {
    const std::array<Real, 2> at = {centre.first / 40.0L, centre.second / 40.0L};
    if (radii.size() < 3) {
      marks.push_back(at);
      continue;
    }
    std::sort(radii.begin(), radii.end());
    gears.push_back({at, radii});
  }
  ASSERT_EQ(gears.size(), 2u);
  const auto& [o1, radii1] = gears[0];
  const auto& [o2, radii2] = gears[1];
  const Real a = std::hypot(o2[0] - o1[0], o2[1] - o1[1]);
  const Real rb1 = radii1.front(), ra1 = radii1.back(), rb2 = radii2.front(), ra2 = radii2.back();
  // Pitch circles: one of each gear, touching, with rb = rw cos alpha alike.
  Real rw1 = 0, rw2 = 0;
  for (Real x : radii1)
    for (Real y : radii2)
      if (std::fabs(x + y - a) < 0.05L && x > rb1 && y > rb2 && std::fabs(rb1 / x - rb2 / y) < 2e-3L) rw1 = x, rw2 = y;
  ASSERT_GT(rw1, 0) << "no pitch circles that touch with base circles of one pressure angle";
  EXPECT_LT(ra1 + ra2, a + (rw1 + rw2) * 0.2L);  // tips that reach, not a crossing of the bodies
  EXPECT_GT(ra1 + ra2, a);
  // The line of action: tangent to both base circles.
  const std::array<Real, 2> pitch = {o1[0] + (o2[0] - o1[0]) * rw1 / a, o1[1] + (o2[1] - o1[1]) * rw1 / a};
  auto distance = [](const std::array<Real, 4>& l, const std::array<Real, 2>& q) {
    const Real dx = l[2] - l[0], dy = l[3] - l[1];
    return std::fabs(dx * (q[1] - l[1]) - dy * (q[0] - l[0])) / std::hypot(dx, dy);
  };
  const std::array<Real, 4>* action = nullptr;
  for (const auto& l : lines)
    if (std::fabs(distance(l, o1) - rb1) < 0.1L && std::fabs(distance(l, o2) - rb2) < 0.1L) action = &l;
  ASSERT_NE(action, nullptr) << "no line tangent to both base circles";
  EXPECT_LT(distance(*action, pitch), 0.1L) << "the line of action runs through the pitch point";
  const Real dx = (*action)[2] - (*action)[0], dy = (*action)[3] - (*action)[1];
  const Real len = std::hypot(dx, dy);
  const std::array<Real, 2> u = {dx / len, dy / len};
  auto along = [&](const std::array<Real, 2>& q) { return (q[0] - pitch[0]) * u[0] + (q[1] - pitch[1]) * u[1]; };
  // The tangent points lie at the centres' projections, on both sides of P.
  const Real t1 = along(o1), t2 = along(o2);
  ASSERT_LT(t1 * t2, 0) << "the tangent points lie on both sides of the pitch point";
  // Where each tip circle cuts the line: of its two crossings, the one
  // between P and the other gear's tangent point.
  auto crossing = [&](const std::array<Real, 2>& o, Real r, Real towards) {
    const Real b = along(o), h = std::sqrt(r * r - std::pow(distance(*action, o), 2));
    for (const Real t : {b - h, b + h})
      if (t * towards > 0 && std::fabs(t) < std::fabs(towards)) return t;
    ADD_FAILURE() << "a tip circle does not cut the line of action between P and the tangent point";
    return Real(0);
  };
  const Real startA = crossing(o2, ra2, t1), endE = crossing(o1, ra1, t2);

  // The marks: P, A and E, on the line of action.
  ASSERT_EQ(marks.size(), 3u);
  std::vector<Real> points;
  for (const auto& q : marks) {
    EXPECT_LT(distance(*action, q), 0.05L);
    points.push_back(along(q));
  }
  std::sort(points.begin(), points.end());
  const Real lo = std::min(t1, t2), hi = std::max(t1, t2);
  EXPECT_NEAR(points[1], 0, 0.05L) << "the middle mark is the pitch point";
  for (const Real t : {points[0], points[2]}) {
    EXPECT_GT(t, lo) << "a mark lies beyond T1 or T2, in the interference zone";
    EXPECT_LT(t, hi) << "a mark lies beyond T1 or T2, in the interference zone";
  }
  EXPECT_NEAR(points[0], std::min(startA, endE), 0.05L);
  EXPECT_NEAR(points[2], std::max(startA, endE), 0.05L);
  // Its length: the length of contact of these circles, and a usual
  // contact ratio with the module that the addendum shows.
  const Real sinAlphaW = std::sqrt(1 - std::pow(rb1 / rw1, 2));
  const Real gAlpha = std::sqrt(ra1 * ra1 - rb1 * rb1) + std::sqrt(ra2 * ra2 - rb2 * rb2) - a * sinAlphaW;
  EXPECT_NEAR(points[2] - points[0], gAlpha, 0.08L);
  const Real module = ra1 - rw1;
  const Real ratio = gAlpha / (common::Pi * module * rb1 / rw1);
  EXPECT_GT(ratio, 1);
  EXPECT_LT(ratio, 2);
  // The labels A and E stand at their own marks.
  auto nearestMark = [&](const std::string& name) {
    const auto it = labels.find(name);
    if (it == labels.end()) {
      ADD_FAILURE() << "no label " << name;
      return Real(0);
    }
    Real best = 1e30L, at = 0;
    for (const auto& q : marks) {
      const Real d = std::hypot(q[0] - it->second[0], q[1] - it->second[1]);
      if (d < best) best = d, at = along(q);
    }
    return at;
  };
  EXPECT_NEAR(nearestMark("A"), startA, 0.05L);
  EXPECT_NEAR(nearestMark("E"), endE, 0.05L);
}

// The lines of a picture by the colour they are drawn in (the viewer's
// pens: 1 red 12, 3 green 10, 5 blue 9, 6 magenta 13, 7 white 15).
std::map<int, std::vector<std::array<Real, 4>>> LinesByColour(const std::string& name) {
  std::map<int, std::vector<std::array<Real, 4>>> lines;
  int colour = 0;
  for (const auto& r : DrawnPicture(name)) {
    if (r.code == common::RecColor && r.count >= 1) colour = static_cast<int>(r.values[0]);
    if (r.code == common::RecLine && r.count == 4) lines[colour].push_back({r.values[0], r.values[1], r.values[2], r.values[3]});
  }
  return lines;
}

// The rack picture: every flank of the outline leans by the pressure angle
// of 20 degrees, the alpha arc spans the angle between the vertical and a
// flank, and the tool's addendum and dedendum arrows, from the datum line,
// stand in the ratio of the profile, 1.25 to 1.0.
TEST_F(ShippedContent, RackPictureShowsTheProfileItNames) {
  auto lines = LinesByColour("rack");
  int flanks = 0;
  for (const auto& l : lines[12]) {
    const Real dx = l[2] - l[0], dy = l[3] - l[1];
    if (std::fabs(dy) < 1e-6L) continue;  // tip and root lines
    ++flanks;
    EXPECT_NEAR(std::atan2(std::fabs(dx), std::fabs(dy)) * 180 / common::Pi, 20, 0.05L);
  }
  EXPECT_GE(flanks, 6);
  ASSERT_FALSE(lines[15].empty());
  Real datum = 0;
  for (const auto& l : lines[15])
    if (std::fabs(l[1] - l[3]) < 1e-6L && std::fabs(l[2] - l[0]) > 100) datum = l[1];
  ASSERT_GT(datum, 0) << "no datum line";
  // The arc: its polyline turns about a flank's crossing of the datum line,
  // from the vertical to 20 degrees off it.
  std::vector<std::array<Real, 2>> arc;
  for (const auto& l : lines[9])
    if (std::fabs(l[0] - l[2]) > 1e-6L) arc.push_back({l[0], l[1]}), arc.push_back({l[2], l[3]});
  ASSERT_GE(arc.size(), 4u);
  Real vertical = 0;
  for (const auto& l : lines[9])
    if (std::fabs(l[0] - l[2]) < 1e-6L) vertical = l[0];
  Real least = 360, most = -360;
  for (const auto& q : arc) {
    const Real angle = std::atan2(q[1] - datum, q[0] - vertical) * 180 / common::Pi;
    least = std::min(least, angle), most = std::max(most, angle);
  }
  EXPECT_NEAR(least, 90, 0.5L);
  EXPECT_NEAR(most, 110, 0.5L);
  // The height arrows: the vertical green shafts from the datum line.
  std::vector<Real> heights;
  for (const auto& l : lines[10])
    if (std::fabs(l[0] - l[2]) < 1e-6L && (std::fabs(l[1] - datum) < 1e-6L || std::fabs(l[3] - datum) < 1e-6L))
      heights.push_back(std::fabs(l[3] - l[1]));
  ASSERT_EQ(heights.size(), 2u);
  EXPECT_NEAR(std::max(heights[0], heights[1]) / std::min(heights[0], heights[1]), 1.25L, 0.01L);
}

// The pitch-curve picture: the two curves touch on the line of centres,
// between the two centre marks.
TEST_F(ShippedContent, PitchCurvePictureShowsCurvesThatRollAtTheCentreDistance) {
  auto lines = LinesByColour("pitchcur");
  std::vector<std::array<Real, 2>> centres;
  for (const auto& r : DrawnPicture("pitchcur"))
    if (r.code == common::RecCircle) centres.push_back({r.values[0], r.values[1]});
  ASSERT_EQ(centres.size(), 2u);
  const auto& one = lines[9];
  const auto& two = lines[13];
  ASSERT_GT(one.size(), 100u);
  ASSERT_GT(two.size(), 100u);
  Real closest = 1e30L;
  std::array<Real, 2> touch{};
  for (const auto& p : one)
    for (const auto& q : two) {
      const Real d = std::hypot(p[0] - q[0], p[1] - q[1]);
      if (d < closest) closest = d, touch = {p[0], p[1]};
    }
  EXPECT_LT(closest, 0.05L) << "the curves do not touch";
  EXPECT_NEAR(touch[1], centres[0][1], 0.05L) << "they touch off the line of centres";
  EXPECT_NEAR(touch[1], centres[1][1], 0.05L);
  EXPECT_GT(touch[0], std::min(centres[0][0], centres[1][0]));
  EXPECT_LT(touch[0], std::max(centres[0][0], centres[1][0]));
}

// True when the segment (x1, y1)-(x2, y2) enters the open box.
bool CrossesBox(Real x1, Real y1, Real x2, Real y2, Real bx, Real by, Real bw, Real bh) {
  Real t0 = 0, t1 = 1;
  const Real p[2] = {x1, y1}, d[2] = {x2 - x1, y2 - y1}, lo[2] = {bx, by}, hi[2] = {bx + bw, by + bh};
  for (int k = 0; k < 2; ++k) {
    if (std::fabs(d[k]) < 1e-12L) {
      if (!(lo[k] < p[k] && p[k] < hi[k])) return false;
      continue;
    }
    Real u0 = (lo[k] - p[k]) / d[k], u1 = (hi[k] - p[k]) / d[k];
    if (u0 > u1) std::swap(u0, u1);
    t0 = std::max(t0, u0);
    t1 = std::min(t1, u1);
  }
  return t1 - t0 > 1e-9L;
}

// Every label of every picture is readable: clear of the other labels and
// of the lines, arcs and arrows that mark the quantities (the circles of
// the gear outlines may pass behind a label).
TEST_F(ShippedContent, LabelsOfEveryPictureStandClear) {
  for (const std::string& name : NamedPictures()) {
    SCOPED_TRACE(name);
    struct Box {
      std::string text;
      Real x, y, w, h;
    };
    std::vector<Box> boxes;
    std::vector<std::array<Real, 4>> strokes;
    Real height = 0, width = 0;
    for (const auto& r : DrawnPicture(name)) {
      if (r.code == common::RecTextStyle && r.count >= 2) height = r.values[0], width = r.values[1];
      if (r.code == common::RecText)
        boxes.push_back({r.text, r.values[0], r.values[1], width * static_cast<Real>(r.text.size()), height});
      if (r.code == common::RecLine && r.count == 4) strokes.push_back({r.values[0], r.values[1], r.values[2], r.values[3]});
    }
    ASSERT_GE(boxes.size(), 2u);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const Box& b = boxes[i];
      for (std::size_t j = 0; j < i; ++j) {
        const Box& c = boxes[j];
        EXPECT_FALSE(b.x < c.x + c.w && c.x < b.x + b.w && b.y < c.y + c.h && c.y < b.y + b.h)
            << "\"" << b.text << "\" over \"" << c.text << "\"";
      }
      for (std::size_t k = 0; k < strokes.size(); ++k) {
        const auto& l = strokes[k];
        EXPECT_FALSE(CrossesBox(l[0], l[1], l[2], l[3], b.x, b.y, b.w, b.h))
            << "a line from " << static_cast<double>(l[0]) << "," << static_cast<double>(l[1]) << " to "
            << static_cast<double>(l[2]) << "," << static_cast<double>(l[3]) << " runs through \"" << b.text << "\"";
      }
    }
  }
}

// The explanations advise only what the user can change. No input sets the
// profile shift (every position is rated with 0), so neither a remedy nor a
// help entry tells the user to raise, lower or check it; and undercut, which
// a larger pressure angle or more teeth reduce, is never met by a lower one.
TEST_F(ShippedContent, ExplanationsAdviseWhatTheUserCanChange) {
  // A clause (up to a full stop or semicolon) that asks for something to be
  // done to the profile shift.
  const std::regex shiftAdvice(
      R"((raise|lower|increase|reduce|decrease|check|change|choose|enter|use|set|adjust)\b[^.;]*profile shift)",
      std::regex::icase);
  const std::regex lowerAngle(R"((lower|smaller|reduce)[^.;]*pressure angle|pressure angle's steepness)",
                              std::regex::icase);
  std::vector<std::pair<std::string, std::string>> texts;  // what, text
  {
    std::istringstream in(Slurp(kResources / "vob4.err"));
    std::string key, origin, remedy;
    while (std::getline(in, key) && std::getline(in, origin) && std::getline(in, remedy)) {
      texts.emplace_back(key, remedy);
      if (key.rfind("Warning: undercut", 0) == 0) {
        EXPECT_FALSE(std::regex_search(remedy, lowerAngle)) << remedy;
        EXPECT_NE(remedy.find("larger pressure angle"), std::string::npos) << remedy;
        EXPECT_NE(remedy.find("more teeth"), std::string::npos) << remedy;
      }
      // The remedies send the user to inputs, not to printouts no command makes.
      EXPECT_EQ(remedy.find("printout at the named angle"), std::string::npos) << key;
    }
  }
  ASSERT_GT(texts.size(), 150u);
  for (int n = 1000; n < 10000; n += 5) {
    const common::HelpEntry entry = common::LookUpHelp(n);
    if (!entry.found) continue;
    std::string text;
    for (const std::string& line : entry.lines) text += line + " ";
    texts.emplace_back("help " + std::to_string(n), text);
    if (text.find("ndercut") != std::string::npos) {
      EXPECT_FALSE(std::regex_search(text, lowerAngle)) << n;
    }
  }
  for (const auto& [what, text] : texts) EXPECT_FALSE(std::regex_search(text, shiftAdvice)) << what << ": " << text;
}

// The strength page lists "image a".."f" for the contact pattern and
// "image a".."e" for the bearing arrangement: each picture names every case.
TEST_F(ShippedContent, PatternAndBearingPicturesCarryEveryListLetter) {
  for (const auto& [name, letters] : {std::pair{"pattern", std::string("abcdef")}, std::pair{"bearing", std::string("abcde")}}) {
    std::set<std::string> texts;
    for (const auto& r : DrawnPicture(name))
      if (r.code == common::RecText) texts.insert(r.text);
    for (char letter : letters) EXPECT_TRUE(texts.count(std::string(1, letter))) << name << " " << letter;
    // The shaft term as the rating computes it: K' l s / d1^2 (d1/dsh)^4.
    if (name == std::string("pattern")) {
      EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& t) {
        return t.find("T = |K'| l s / d1^2 (d1/dsh)^4") != std::string::npos;
      }));
    }
  }
}

// The contact-pattern picture gives each case its rule in its own cell:
// the two lines of a rule stand in the column of their letter, under it,
// never level with a letter (a rule beside the next row's letter reads as
// that letter's), and well above the letter below them.
TEST_F(ShippedContent, PatternRulesStandInTheirOwnCells) {
  struct Label {
    std::string text;
    Real x, y, h;
  };
  std::vector<Label> letters, rules;
  Real height = 0;
  for (const auto& r : DrawnPicture("pattern")) {
    if (r.code == common::RecTextStyle && r.count >= 2) height = r.values[0];
    if (r.code != common::RecText) continue;
    const Label label{r.text, r.values[0], r.values[1], height};
    if (r.text.size() == 1 && r.text[0] >= 'a' && r.text[0] <= 'f')
      letters.push_back(label);
    else if (r.text != "Contact pattern position" && r.values[1] > 12)  // not the title, nor the notes below
      rules.push_back(label);
  }
  ASSERT_EQ(letters.size(), 6u);
  ASSERT_EQ(rules.size(), 12u);
  std::map<std::string, int> perLetter;
  for (const Label& rule : rules) {
    SCOPED_TRACE(rule.text);
    const Label* own = nullptr;
    for (const Label& l : letters)
      if (std::fabs(l.x - rule.x) < 10 && l.y > rule.y && (!own || l.y < own->y)) own = &l;
    ASSERT_NE(own, nullptr) << "no letter above it";
    ++perLetter[own->text];
    for (const Label& l : letters) {
      EXPECT_FALSE(rule.y < l.y + l.h && l.y < rule.y + rule.h) << "level with \"" << l.text << "\"";
      if (std::fabs(l.x - rule.x) < 10 && l.y < rule.y) {
        EXPECT_GE(static_cast<double>(rule.y - (l.y + l.h)), 4) << "close above \"" << l.text << "\"";
      }
    }
  }
  for (const Label& l : letters) EXPECT_EQ(perLetter[l.text], 2) << l.text;
}

// Stored in code page 850 with CR LF: each file survives the program's
// conversion to the display and back unchanged, and holds no bare line feed.
TEST_F(ShippedContent, TextsAreCodePage850WithCrLf) {
  for (const auto& e : fs::directory_iterator(kResources)) {
    const std::string ext = e.path().extension().string();
    if (ext != ".hlp" && ext != ".err" && ext != ".dbh" && ext != ".plt") continue;
    SCOPED_TRACE(e.path().filename().string());
    const std::string bytes = Slurp(e.path());
    EXPECT_EQ(common::AnsiToOemText(common::OemToDisplayText(bytes)), bytes);
    for (std::size_t i = 0; i < bytes.size(); ++i)
      if (bytes[i] == '\n') {
        EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at " << i;
      }
  }
}

// The first design a new user sees carries its load: no warning, and the
// lowest safeties of the whole sweep above the usual minimums.
// The menu items that the explanations and help entries send the user to
// ("(Edit, Cutting Tool)") stand in the Edit menu under that name, as the
// English menu shows them.
TEST_F(ShippedContent, ExplanationsNameMenuItemsThatExist) {
  common::SetMenuLanguage(2);
  app::SetMenuVocabulary(2);
  app::SetMenuCaptions();
  std::set<std::string> items;
  for (const app::TMenuItem* item : app::MenuChildren("mi_Edit")) {
    std::string caption = item->caption;
    std::erase(caption, '&');
    items.insert(caption);
  }
  ASSERT_GE(items.size(), 6u);
  const std::regex named(R"(Edit[,>] ([A-Z][A-Za-z/]*(?: [A-Z][A-Za-z/]*)*))");
  int mentions = 0;
  for (const char* file : {"vob4.err", "vob4.hlp", "kaldrim.hlp"}) {
    const std::string text = Slurp(kResources / file);
    for (std::sregex_iterator it(text.begin(), text.end(), named), end; it != end; ++it) {
      ++mentions;
      EXPECT_TRUE(items.count((*it)[1].str())) << file << ": " << it->str();
    }
  }
  EXPECT_GT(mentions, 50);
  common::SetMenuLanguage(1);
  app::SetMenuVocabulary(1);
}

// Whether the calculation of the design says a message that begins so.
bool CalculationSays(const std::string& beginning) {
  calc::CalcNoncircularPair();
  for (const common::SaidMessage& m : common::SaidMessages())
    if (m.text.rfind(beginning, 0) == 0) return true;
  return false;
}

std::string RemedyOf(const std::string& key) {
  for (const ErrRecord& r : ErrRecords())
    if (r.key == key) return r.remedy;
  ADD_FAILURE() << "no record " << key;
  return "";
}

// A remedy moves the design the way that clears its message, and what it
// advises against does not. The clearance of gear 1's tip over gear 2's
// root, c = a - (da1 + df2) / 2, grows with gear 2's tool addendum and
// shrinks with gear 1's tool dedendum, and not with gear 1's addendum or
// gear 2's dedendum. The base circle, d cos(alpha), falls inside the tip
// circle as the pressure angle rises; the measuring ball finds its flank,
// and a tip clears the mating root's interference point, at a larger one.
TEST_F(ShippedContent, RemediesPointTheWayThatClearsTheirMessage) {
  const std::regex lowerAngle(R"((lower|smaller|reduce)[^.;]*pressure angle)", std::regex::icase);
  auto& g = calc::SpurGearData;
  {
    SCOPED_TRACE("clearance");
    const std::string clearance = "Warning: clearance sh.add. < 0.12mn ! (1)";
    const std::string remedy = RemedyOf(clearance);
    EXPECT_NE(remedy.find("Lower this gear's tool dedendum hfP0/mn"), std::string::npos) << remedy;
    EXPECT_NE(remedy.find("raise the mating tool's addendum haP0/mn"), std::string::npos) << remedy;
    auto design = [&g](Real hfP0_1, Real haP0_1, Real hfP0_2, Real haP0_2) {
      drawingtest::SetDefaultDesign();
      g.hfP0Factor[1] = hfP0_1;
      g.haP0Factor[1] = haP0_1;
      g.hfP0Factor[2] = hfP0_2;
      g.haP0Factor[2] = haP0_2;
    };
    design(1.2L, 1.25L, 1, 1.25L);  // c1 = 0.05 mn
    EXPECT_TRUE(CalculationSays(clearance));
    design(1.2L, 1.25L, 1, 1.4L);  // the mating tool's addendum raised
    EXPECT_FALSE(CalculationSays(clearance));
    design(1.05L, 1.25L, 1, 1.25L);  // this gear's dedendum lowered
    EXPECT_FALSE(CalculationSays(clearance));
    design(1.2L, 1.4L, 0.8L, 1.25L);  // the other way round: no change
    EXPECT_TRUE(CalculationSays(clearance));
  }
  {
    SCOPED_TRACE("base circle outside the tip circle");
    for (const char* key : {"Error  : db > da  (1) !", "Error  : cos(alpha t)*d/da)>1"}) {
      const std::string remedy = RemedyOf(key);
      EXPECT_NE(remedy.find("raise the pressure angle"), std::string::npos) << remedy;
      EXPECT_FALSE(std::regex_search(remedy, lowerAngle)) << remedy;
    }
    for (const Real alpha : {15.0L, 20.0L, 30.0L}) {
      drawingtest::SetDefaultDesign();
      g.hfP0Factor.fill(-1);  // tips below the reference circle
      g.PressureAngle = alpha;
      EXPECT_EQ(CalculationSays("Error  : db > da  ("), alpha < 30) << alpha;
      EXPECT_EQ(CalculationSays("Error  : cos(alpha t)*d/da)>1"), alpha < 30) << alpha;
    }
  }
  {
    SCOPED_TRACE("ball diameter and interference");
    const std::string balls = "Error  : Diametr.Dim.o.balls DmMess !";
    const std::string ballRemedy = RemedyOf(balls);
    EXPECT_NE(ballRemedy.find("raise the pressure angle"), std::string::npos) << ballRemedy;
    EXPECT_EQ(ballRemedy.find("Enter a ball diameter"), std::string::npos) << ballRemedy;
    const std::string collision = "Error  : tooth collision da";
    const std::string collisionRemedy = RemedyOf("Error  : tooth collision da1 !");
    EXPECT_NE(collisionRemedy.find("raise the pressure angle"), std::string::npos) << collisionRemedy;
    EXPECT_EQ(collisionRemedy.find("haP0/mn"), std::string::npos) << collisionRemedy;
    for (const Real alpha : {5.0L, 20.0L}) {
      drawingtest::SetDefaultDesign();
      g.PressureAngle = alpha;
      EXPECT_EQ(CalculationSays(balls), alpha < 20) << alpha;
      EXPECT_EQ(CalculationSays(collision), alpha < 20) << alpha;
    }
    // The mating root, deeper, does not move the interference point.
    drawingtest::SetDefaultDesign();
    g.PressureAngle = 5;
    g.haP0Factor.fill(1.6L);
    EXPECT_TRUE(CalculationSays(collision));
  }
}

TEST_F(ShippedContent, DefaultDesignCarriesItsLoad) {
  testsupport::ScratchDirectory dir{"shipped_null"};
  const fs::path previous = testsupport::EnterWithDefaultDesign(dir);
  testsupport::StartProgram();  // reads the default design and rates it, as the start-up sheet does
  fs::current_path(previous);
  ASSERT_EQ(common::FatalFlag, 0);
  for (int i = 1; i <= common::MsgCount; ++i) ADD_FAILURE() << common::MsgText[i];
  for (int g = 1; g <= 2; ++g) {
    EXPECT_GE(calc::SafetyExtremes.SHmin[g], 1.1L) << "gear " << g;
    EXPECT_GE(calc::SafetyExtremes.SFmin[g], 1.5L) << "gear " << g;
  }

  // The printout of the command line shows the same sound pair.
  const std::string output =
      testsupport::RunCommand("cd " + testsupport::Quoted(dir.Dir().string()) + " && " + testsupport::Quoted(VOB_PROGRAM) + " null.vb4 /I");
  const std::string printout = Slurp(dir.Path("null.txt"));
  std::smatch m;
  ASSERT_TRUE(std::regex_search(printout, m, std::regex(R"(safety factor pitting\tSH\t\t +([0-9.]+)\t +([0-9.]+))")));
  EXPECT_GE(std::stod(m[1]), 1.1);
  EXPECT_GE(std::stod(m[2]), 1.1);
  ASSERT_TRUE(
      std::regex_search(printout, m, std::regex(R"(safety factor tooth breakage\tSF\t\t +([0-9.]+)\t +([0-9.]+))")));
  EXPECT_GE(std::stod(m[1]), 1.5);
  EXPECT_GE(std::stod(m[2]), 1.5);
  EXPECT_EQ(printout.find("Warning:"), std::string::npos);
}

}  // namespace
