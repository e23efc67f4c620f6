// The weight of every message by its meaning; see message_weights.h.
#include "common/message_weights.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

namespace common {

namespace {

// A text is listed by its beginning: with its kind ("Warning: undercut"),
// or without it ("P<>T*n*2PI"), then it holds whatever kind the text
// carries. The longest beginning that fits decides.
struct Listed {
  std::string_view beginning;
  MessageWeight weight;
};

constexpr MessageWeight kFinding = MessageWeight::Finding;
constexpr MessageWeight kFatal = MessageWeight::Fatal;
constexpr MessageWeight kRating = MessageWeight::Rating;
constexpr MessageWeight kGeometry = MessageWeight::Geometry;
constexpr MessageWeight kOrdinary = MessageWeight::Ordinary;
constexpr MessageWeight kNote = MessageWeight::Note;

constexpr Listed kListed[] = {
    // The checks of the whole pair.
    {"Warning: fatal at ", kFinding},
    {"Warning: curve too tight for teeth", kFinding},
    {"Warning: teeth interfere", kFinding},
    {"Warning: no contact: teeth do not reach", kFinding},
    {"Warning: outlines apart on the curve", kFinding},

    // Not computed: the inputs no pair can have, and the steps that stop
    // the rating of the pair or of a position.
    {"Fatal  : ", kFatal},
    {"Fatal: ", kFatal},
    {"Error  : formula: ", kFatal},
    {"Error: GetPhiIter", kFatal},

    // The rating against the pair.
    {"Warning: SH<1", kRating},
    {"Warning: SF<1", kRating},
    {"Warning: resonance", kRating},
    {"Warning: upper resonance", kRating},
    {"Warning: no load", kRating},
    {"Warning: no speed", kRating},
    {"eps.alpha < 1", kRating},
    {"eps.gamma < 1", kRating},
    // The power, torque and speed disagree: which of them was rated.
    {"P<>T*n*2PI", kRating},
    {"Error  : Ft=0", kRating},
    {"Error  : KHalpha", kRating},
    {"Error  : KHbeta>2", kRating},
    {"Error  : Pitting", kRating},
    {"Error  : Sigma HC", kRating},
    {"Error  : YB: ", kRating},
    {"Error  : YRrelT: Rz > 40", kRating},
    {"Error  : Z eps.", kRating},
    {"Error  : ZB !", kRating},
    {"Error  : ZB,ZD: not covered", kRating},
    {"Error  : ZH <= 0", kRating},
    {"Error  : fatigue fract.", kRating},
    {"Error  : tau(df-dbore)", kRating},

    // The form of the teeth.
    {"Warning: point teeth", kGeometry},
    {"Warning: undercut", kGeometry},
    {"Warning: clearance sh.add.", kGeometry},
    {"Warning: x > 1.5", kGeometry},
    {"Warning: z1+z2=0", kGeometry},
    {"Warning: d bore > 0.6 df", kGeometry},
    {"Error  : z1 < 0", kGeometry},
    {"Error  : db > d", kGeometry},
    {"Error  : dbk > dFa", kGeometry},
    {"Error  : dB > df", kGeometry},
    {"Error  : tooth collision", kGeometry},
    {"Error  : clearance sh.add.", kGeometry},
    {"Error  : xemin>xemax", kGeometry},
    {"Error  : spec.sliding", kGeometry},

    // How values were taken, and what the guarded math replaced.
    {"eps.beta < 1", kOrdinary},
    {"alfa prP0 > alfa", kOrdinary},
    {"alfa kP0 < alfa", kOrdinary},
    {"cent.distance corr.", kOrdinary},
    {"n1=0 -> ZNT=1", kOrdinary},
    {"Warning: x2 > 0", kOrdinary},
    {"Warning: z0 cutter", kOrdinary},
    {"Warning: s/l > 0.", kOrdinary},
    {"Warning: Ft/b*KA < 100", kOrdinary},
    {"Warning: KHbeta taken at 100", kOrdinary},
    {"Warning: KHalpha > eps.alpha", kOrdinary},
    {"Warning: KFalpha > eps.alpha", kOrdinary},
    {"Warning: DIN 3990-41", kOrdinary},
    {"Warning: rim di >= df", kOrdinary},
    {"Error  : cos(alpha t)", kOrdinary},
    {"Error  : confgraf", kOrdinary},
    {"Error  : YFS->hfe", kOrdinary},
    {"Error  : YS:", kOrdinary},
    {"Error  : mue <= 0", kOrdinary},
    {"Error  : mue >= 1", kOrdinary},
    {"Error  : ne(freq)", kOrdinary},
    {"Error  : vobrech4: Ylog", kOrdinary},
    {"Error  : ArcSin", kOrdinary},
    {"Error  : ArcCos", kOrdinary},
    {"Error: ArcInv", kOrdinary},
    {"Error  : alpha at arccos", kOrdinary},
    {"Error  : M1 ISO", kOrdinary},
    {"Error  : SQRT M1ISO", kOrdinary},
    {"Error  : SigmaH0: u", kOrdinary},
    {"Error  : YFA: rhofpv", kOrdinary},
    {"Error  : dbohrung", kOrdinary},
    {"Error  : ZB (", kOrdinary},
    {"Error  : ZH (", kOrdinary},
    {"Error  : ZE (", kOrdinary},
    {"Error  : ZR ", kOrdinary},
    {"Error  : Rz10", kOrdinary},
    {"Error  : RzH (", kOrdinary},
    {"Error  : ZW (", kOrdinary},
    {"Error  : Zeps (", kOrdinary},
    {"Error  : cst (", kOrdinary},
    {"Error  : nE1 (", kOrdinary},
    {"Error  : tgrg (", kOrdinary},
    {"Error  : KFbeta (", kOrdinary},
    {"Error  : KF\xE1 (", kOrdinary},
    {"Error  : F\xE1y (", kOrdinary},
    {"Error  : LtH (", kOrdinary},
    {"Error  : LtF (", kOrdinary},
    {"GetArcCenter l12=0", kOrdinary},
    {"Fehler in GetArcCenter", kOrdinary},
    {"Invalid Data", kOrdinary},
    // The list's own last line, which no one adds.
    {"Warning: list full", kOrdinary},

    // What the program says outside a calculation: an output refused, a
    // DXF file's entities not read, a table's record, a form's range. They
    // answer a request and never stand among the pair's findings.
    {"Error  : DXF: ", kOrdinary},
    {"Error  : face width below", kOrdinary},
    {"Error  : height ", kOrdinary},
    {"Error  : outline falls apart", kOrdinary},
    {"Error  : self-crossing outline", kOrdinary},
    {"Invalid temp directory", kOrdinary},
    {"Blockname ", kOrdinary},
    {"Warning: DBF record #", kOrdinary},
    {"Rm:", kOrdinary},
    {"HV:", kOrdinary},
    {"HB:", kOrdinary},
    {"HR", kOrdinary},

    // The printed tolerances and test measurements only.
    {"Warning: Tsn < 2Rs", kNote},
    {"Warning: q tol < Tsn/2", kNote},
    {"Warning: Fr: ", kNote},
    {"Warning: fis: ", kNote},
    {"Error  : Diametr.Dim.o.balls", kNote},
    {"Error  : Dm ball", kNote},
    {"Error  : DmMess", kNote},
    {"Error  : kmn < 0", kNote},
    {"Error  : span measure", kNote},
};

constexpr std::string_view kKinds[] = {"Fatal  : ", "Error  : ", "Warning: ", "Fatal: ", "Error: "};
constexpr std::size_t kNoKind = std::size(kKinds);
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The kind a text begins with (kNoKind: none); no kind is the beginning
// of another, so at most one fits.
std::size_t KindOf(std::string_view text) {
  for (std::size_t k = 0; k < kNoKind; ++k)
    if (text.substr(0, kKinds[k].size()) == kKinds[k]) return k;
  return kNoKind;
}

// The entries by the kind they name (kNoKind: any kind) and the first
// letter after it, each with its place in kListed, so that a text is
// compared with the few entries that can fit it: every position of a
// sweep says its texts, and each new text is weighed.
struct Entry {
  std::string_view core;  // the beginning without its kind
  std::size_t place;
};
struct Index {
  std::vector<Entry> byLetter[kNoKind + 1][256];
  std::size_t kindAlone[kNoKind];  // an entry that is only the kind; kNone: none
  Index() {
    std::fill(std::begin(kindAlone), std::end(kindAlone), kNone);
    for (std::size_t i = 0; i < std::size(kListed); ++i) {
      const std::string_view beginning = kListed[i].beginning;
      const std::size_t kind = KindOf(beginning);
      const std::string_view core = kind == kNoKind ? beginning : beginning.substr(kKinds[kind].size());
      if (core.empty()) {
        if (kindAlone[kind] == kNone) kindAlone[kind] = i;
        continue;
      }
      byLetter[kind][static_cast<unsigned char>(core[0])].push_back({core, i});
    }
  }
};

}  // namespace

std::optional<MessageWeight> ListedMessageWeight(const std::string& text) {
  static const Index index;
  const std::string_view whole = text;
  const std::size_t kind = KindOf(whole);
  const std::string_view core = kind == kNoKind ? whole : whole.substr(kKinds[kind].size());
  // The entry that fits the most characters of the text (its kind counted
  // for an entry without one, which fits a text of any kind); of equally
  // long ones the first listed.
  std::size_t best = kind == kNoKind ? kNone : index.kindAlone[kind];
  std::size_t bestLength = best == kNone ? 0 : kListed[best].beginning.size();
  if (!core.empty()) {
    const auto letter = static_cast<unsigned char>(core[0]);
    const std::size_t prefix = whole.size() - core.size();
    for (const std::size_t from : {kind, kNoKind}) {
      for (const Entry& e : index.byLetter[from][letter]) {
        if (core.substr(0, e.core.size()) != e.core) continue;
        const std::size_t length = e.core.size() + prefix;
        if (best != kNone && (length < bestLength || (length == bestLength && e.place > best))) continue;
        best = e.place;
        bestLength = length;
      }
      if (kind == kNoKind) break;  // both are the entries without a kind
    }
  }
  if (best == kNone) return std::nullopt;
  return kListed[best].weight;
}

MessageWeight MessageWeightOf(const std::string& text) {
  // A sweep clears its list at each position and says the same few texts
  // again: the last texts weighed are kept with their weights.
  struct Weighed {
    std::string text;
    MessageWeight weight;
  };
  static std::array<Weighed, 16> kept;
  static std::size_t next = 0;
  for (const Weighed& w : kept)
    if (w.text == text) return w.weight;
  MessageWeight weight = MessageWeight::Ordinary;
  if (const std::optional<MessageWeight> listed = ListedMessageWeight(text)) weight = *listed;
  else if (text.rfind("Fatal", 0) == 0) weight = MessageWeight::Fatal;
  kept[next] = {text, weight};
  next = (next + 1) % kept.size();
  return weight;
}

}  // namespace common
