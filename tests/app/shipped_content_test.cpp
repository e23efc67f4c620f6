// The content the program ships beside itself in resources/: the help files,
// the message explanations, the help pictures with their list, and the
// default design. Each is read through the program's own lookup, so that a
// help number or a message added to the code without its text, a picture
// the viewer cannot draw, or a default design that fails its own rating
// shows up here.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "calc/calc_records.h"
#include "calc/hardness_conversion.h"
#include "calc/noncircular_pair.h"
#include "calc/pitch_curve.h"
#include "common/code_page.h"
#include "common/display_list.h"
#include "common/graphics_facade.h"
#include "common/graphics_window.h"
#include "common/guarded_math.h"
#include "common/help_text.h"
#include "common/hpgl_viewer.h"
#include "common/kaldvar.h"
#include "common/text_utils.h"
#include "common/message_explanations.h"
#include "common/message_list.h"
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

// True when the program's own lookup finds an explanation record for text.
bool Explained(const std::string& text) {
  common::ClearErrorMessages();
  common::AddErrorMessage(text);
  return common::GetMessageHelpText(1) != "no help description available for this error message.";
}

// The labels handed to the guarded math routines, with the routines each is
// handed to: a literal label in the call, or a local label variable whose
// routines are the guarded calls of its file that name it.
std::set<std::pair<std::string, std::string>> GuardedLabelsInCode() {
  std::set<std::pair<std::string, std::string>> labels;
  const std::regex literal(R"re(\b(CheckedPower|CheckedSqrt|CheckedSqrtLabel|CheckedDiv|CheckedArcCosNamed)\(\s*"((?:[^"\\]|\\.)*)")re");
  const std::regex variable(R"re(std::string\s+label\s*=\s*"((?:[^"\\]|\\.)*)")re");
  const std::regex byVariable(R"re(\b(CheckedPower|CheckedSqrt|CheckedSqrtLabel|CheckedDiv|CheckedArcCosNamed)\(\s*label\s*,)re");
  for (const auto& [path, source] : Sources()) {
    if (path.filename() == "guarded_math.cpp") continue;
    for (std::sregex_iterator it(source.begin(), source.end(), literal), end; it != end; ++it)
      labels.emplace(Unescape((*it)[2].str()), (*it)[1].str());
    for (std::sregex_iterator v(source.begin(), source.end(), variable), end; v != end; ++v)
      for (std::sregex_iterator it(source.begin(), source.end(), byVariable); it != end; ++it)
        labels.emplace(Unescape((*v)[1].str()), (*it)[1].str());
  }
  return labels;
}

// Every message text of the code finds its explanation record through the
// program's lookup (the first 15 characters): the texts that stand in the
// code, the texts the guarded math composes from each label it is handed,
// and the texts composed around a value.
TEST_F(ShippedContent, EveryCalculationMessageHasAnExplanation) {
  // The text and what follows it: a text shorter than the 15 characters of
  // the lookup that a value completes is looked up in its composed form below.
  const std::regex prefixed(R"re("((?:Fatal  : |Error  : |Warning: )(?:[^"\\]|\\.)*)"(\s*\+)?)re");
  const std::regex bare(R"re((?:AddErrorMessage|Fatal|Report)\(\s*(?:std::string\()?"((?:[^"\\]|\\.)*)"(\s*\+)?)re");
  // Message-box captions and the pitch-curve form's own label use the
  // prefixes too, without reaching the list.
  const std::set<std::string> notListed = {"Error  : ", "Fatal  : ", "Warning: "};
  // Composed from a value that leads the text: the entity or block name and
  // the formula the user typed.
  const std::set<std::string> leadingValue = {"Error  : DXF: ", "Blockname "};
  // Labels, not messages: the guarded math composes the message from them.
  const auto guarded = GuardedLabelsInCode();
  ASSERT_GT(guarded.size(), 40u) << "the source scan found too few guarded labels";
  std::set<std::string> labels;
  for (const auto& [label, routine] : guarded) labels.insert(label);

  std::set<std::string> texts;
  for (const auto& [path, source] : Sources()) {
    if (path.string().find("/dbase/") != std::string::npos) continue;  // table engine: message boxes only
    for (const std::regex* re : {&prefixed, &bare}) {
      for (std::sregex_iterator it(source.begin(), source.end(), *re), end; it != end; ++it) {
        const std::string text = Unescape((*it)[1].str());
        const bool completed = (*it)[2].matched && text.size() < 15;
        if (!text.empty() && !completed && !notListed.count(text) && !leadingValue.count(text) &&
            !labels.count(text))
          texts.insert(text);
      }
    }
  }
  ASSERT_GT(texts.size(), 100u) << "the source scan found too few messages";

  {
    std::istringstream in(Slurp(kResources / "vob4.err"));
    std::string key, origin, remedy;
    while (std::getline(in, key) && std::getline(in, origin) && std::getline(in, remedy)) {
      EXPECT_EQ(key.back(), '\r');
      EXPECT_GT(origin.size(), 10u) << key;
      EXPECT_GT(remedy.size(), 10u) << key;
    }
  }
  for (const std::string& text : texts) EXPECT_TRUE(Explained(text)) << text;

  // The guarded math: each label with each routine it is handed to.
  std::vector<std::string> composed;
  auto compose = [&composed](auto&& call) {
    common::ClearErrorMessages();
    call();
    if (common::MsgCount == 1) composed.push_back(common::MsgText[1]);
    return common::MsgCount == 1;
  };
  for (const auto& [label, routine] : guarded) {
    SCOPED_TRACE(label + " / " + routine);
    if (label.empty()) continue;
    EXPECT_TRUE(compose([&, routine = routine, label = label] {
      if (routine == "CheckedPower") common::CheckedPower(label, -2, 0.5L);
      if (routine == "CheckedSqrt" || routine == "CheckedSqrtLabel") common::CheckedSqrt(label, -1);
      if (routine == "CheckedDiv") common::CheckedDiv(label, 1, 0);
      if (routine == "CheckedArcCosNamed") common::CheckedArcCosNamed(label, -1.25L);
    }));
  }
  EXPECT_TRUE(compose([] { common::CheckedArcSin(-1.5L); }));
  EXPECT_TRUE(compose([] { common::CheckedArcCos(2.5L); }));
  EXPECT_TRUE(compose([] { common::InverseInvolute(1e30L); }));

  // Texts whose beginning the code composes: one per hardness scale, and
  // the count of failed positions.
  for (int scale = 1; scale <= calc::HardnessScaleCount; ++scale) {
    common::ClearErrorMessages();
    calc::ConvertHardnessValue(scale, calc::HardnessMaximum[scale] * 2 + 1000);
    ASSERT_EQ(common::MsgCount, 1);
    composed.push_back(common::MsgText[1]);
  }
  composed.push_back("Warning: fatal at 7 positions, first at 12\xF8 !");
  composed.push_back("Warning: fatal at 359 positions, first at 2\xF8 !");
  composed.push_back("Fatal  : z2 < 2!");
  composed.push_back("Fatal  : rw1 > 100000 mm !");
  composed.push_back("Fatal  : rw2 > 100000 mm !");
  for (const std::string& text : composed) {
    SCOPED_TRACE(text);
    EXPECT_EQ(text.rfind("Fatal  : ", 0) == 0 || text.rfind("Error  : ", 0) == 0 ||
                  text.rfind("Warning: ", 0) == 0 || text.find(':') < 6,
              true)
        << "a composed text carries its kind";
    EXPECT_TRUE(Explained(text));
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
TEST_F(ShippedContent, EveryNamedPictureDrawsInsideTheHelpWindow) {
  std::set<std::string> names = {"start"};
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
// both through the pitch point, and the tip circles crossing it on either
// side of the pitch point (the length of contact).
TEST_F(ShippedContent, ContactRatioPictureShowsAMeshingPair) {
  std::map<std::pair<long, long>, std::vector<Real>> byCentre;
  std::vector<std::array<Real, 4>> lines;
  for (const auto& r : DrawnPicture("contact")) {
    if (r.code == common::RecCircle)
      byCentre[{std::lround(r.values[0] * 10), std::lround(r.values[1] * 10)}].push_back(r.values[2]);
    if (r.code == common::RecLine) lines.push_back({r.values[0], r.values[1], r.values[2], r.values[3]});
  }
  std::vector<std::pair<std::array<Real, 2>, std::vector<Real>>> gears;
  for (auto& [centre, radii] : byCentre) {
    if (radii.size() < 3) continue;  // point marks
    std::sort(radii.begin(), radii.end());
    gears.push_back({{centre.first / 10.0L, centre.second / 10.0L}, radii});
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
  // Each tip circle crosses the line of action between the pitch point and
  // the far tangent point: tip 2 on gear 1's side, tip 1 on gear 2's side.
  const Real dx = (*action)[2] - (*action)[0], dy = (*action)[3] - (*action)[1];
  const Real len = std::hypot(dx, dy);
  const std::array<Real, 2> u = {dx / len, dy / len};
  auto along = [&](const std::array<Real, 2>& q) { return (q[0] - pitch[0]) * u[0] + (q[1] - pitch[1]) * u[1]; };
  auto crossings = [&](const std::array<Real, 2>& o, Real r) {
    const Real b = along(o), c = std::pow(distance(*action, o), 2);
    const Real h = std::sqrt(r * r - c);
    return std::array<Real, 2>{b - h, b + h};
  };
  const Real t1 = along(o1), t2 = along(o2);  // the tangent points lie at the centres' projections
  ASSERT_LT(t1 * t2, 0) << "the tangent points lie on both sides of the pitch point";
  const auto tip1 = crossings(o1, ra1), tip2 = crossings(o2, ra2);
  const Real end1 = t2 > 0 ? tip1[1] : tip1[0];
  const Real end2 = t1 < 0 ? tip2[0] : tip2[1];
  EXPECT_GT(end1 * t2, 0);
  EXPECT_LT(std::fabs(end1), std::fabs(t2));
  EXPECT_GT(end2 * t1, 0);
  EXPECT_LT(std::fabs(end2), std::fabs(t1));
}

// The strength page lists "image a".."f" for the contact pattern and
// "image a".."e" for the bearing arrangement: each picture names every case.
TEST_F(ShippedContent, PatternAndBearingPicturesCarryEveryListLetter) {
  for (const auto& [name, letters] : {std::pair{"pattern", std::string("abcdef")}, std::pair{"bearing", std::string("abcde")}}) {
    std::set<std::string> texts;
    for (const auto& r : DrawnPicture(name))
      if (r.code == common::RecText) texts.insert(r.text);
    for (char letter : letters) EXPECT_TRUE(texts.count(std::string(1, letter))) << name << " " << letter;
  }
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
      testsupport::RunCommand("cd " + dir.Dir().string() + " && " + VOB_PROGRAM + " null.vb4 /I");
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
