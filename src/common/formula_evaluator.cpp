// The formula evaluator (see formula_evaluator.h). The text is normalised and
// parsed once into a list of nodes (FormulaCompiler), which is then evaluated
// for a given X (FormulaRun). Parsing follows the recursive descent exactly;
// the only evaluation steps whose course depends on values (a zero base of
// '^', whose exponent is then not read, and the arithmetic faults) end the
// evaluation, so running the nodes in text order stops where the descent
// over the text would stop.
#include "common/formula_evaluator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_map>

#include "common/guarded_math.h"

namespace common {

namespace {

enum Kind : std::uint8_t {
  kNumber,      // value
  kVarX,        // X
  kConst,       // value (pi or e); a: the directly following factor, ignored
  kNeg,         // -a
  kAdd,         // a + b, operator at pos
  kSub,
  kMul,
  kDiv,
  kPow,         // a ^ b, '^' at pos, exponent at pos2
  kFunc,        // func(a), name at pos
  kSyntaxStop,  // nothing more could be read at pos; value 0
  kThenStop,    // a, then nothing more could be read at pos
  kFault,       // arithmetic fault at pos (a number too large)
};

enum Func : std::uint8_t { fAbs, fSqrt, fSqr, fSin, fCos, fArcTan, fLn, fLog, fExp, fFak, fPi, fE, fX };

struct NameEntry {
  const char* name;
  Func func;
};

// The order decides which name matches first (SQRT before SQR, EXP before E).
constexpr NameEntry NameTable[] = {
    {"ABS", fAbs}, {"SQRT", fSqrt}, {"SQR", fSqr}, {"SIN", fSin}, {"COS", fCos},
    {"ARCTAN", fArcTan}, {"LN", fLn}, {"LOG", fLog}, {"EXP", fExp}, {"FAK", fFak},
    {"PI", fPi}, {"E", fE}, {"X", fX},
};

constexpr char EndMark = 13;
constexpr int MaxFactorial = 1754;  // 1755! exceeds the 80-bit range

// A formula text may come from a data file of any length. Brackets and
// function arguments nested deeper than this, or more operations applied one
// upon another, end the parse with an error position instead of running the
// parser or the evaluation into the end of the stack; no real formula comes
// near either bound.
constexpr int MaxNesting = 200;
constexpr int MaxTreeDepth = 1000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Steps 1 to 5 of the normalisation; returns the bracket balance check.
bool Normalise(const std::string& in, std::string& s) {
  s.clear();
  s.reserve(in.size() + 4);
  std::size_t open = 0, close = 0;
  // A bare decimal point gets its leading zero (".5" -> "0.5"). The zero
  // is put in while copying: inserting it into the finished text would cost
  // time quadratic in the length, and a formula line of a data file can be
  // of any length. A point's left neighbour is the character copied before
  // it, as when the zeros are inserted from left to right.
  char previous = '\0';
  for (char c : in) {
    if (c == ' ') continue;
    if (c == '(') ++open;
    if (c == ')') ++close;
    if (c == ',') c = '.';
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c == '.' && !IsDigit(previous)) s += '0';
    s += c;
    previous = c;
  }
  // Every leading '+' goes, not only the first: the stored text must read
  // as the text it came from ("++5" is 5, as "+5" is), whichever of the two
  // the next evaluation is given.
  s.erase(0, s.find_first_not_of('+'));
  return open == close;
}

}  // namespace

// ---- Parsing into nodes ------------------------------------------------------

class FormulaCompiler {
 public:
  FormulaCompiler(const std::string& s, std::vector<ParsedFormula::Node>& nodes)
      : s_(s), nodes_(nodes) {}

  int Compile() {
    pos_ = 0;
    NextChar();
    int root = Expression();
    if (!stopped_ && pos_ <= static_cast<std::int32_t>(s_.size())) {
      root = Add(kThenStop, pos_, root);
    }
    return root;
  }

 private:
  void NextChar() {
    do {
      ++pos_;
      ch_ = pos_ <= static_cast<std::int32_t>(s_.size()) ? s_[pos_ - 1] : EndMark;
    } while (ch_ == ' ');
  }

  int Add(std::uint8_t kind, std::int32_t pos, int a = -1, int b = -1, Real value = 0,
          std::uint8_t func = 0, std::int32_t pos2 = 0) {
    ParsedFormula::Node n;
    n.kind = kind;
    n.func = func;
    n.pos = pos;
    n.pos2 = pos2;
    n.a = a;
    n.b = b;
    n.value = value;
    nodes_.push_back(n);
    const int depth = 1 + std::max(a >= 0 ? depths_[a] : 0, b >= 0 ? depths_[b] : 0);
    depths_.push_back(depth);
    const int index = static_cast<int>(nodes_.size()) - 1;
    if (depth - 1 > MaxTreeDepth && !stopped_) {  // operations above the deepest operand
      // Reading ends here; what was read so far is still evaluated.
      stopped_ = true;
      return Add(kThenStop, pos_, index);
    }
    return index;
  }

  int Stop(std::int32_t pos) {
    stopped_ = true;
    return Add(kSyntaxStop, pos);
  }

  int Expression() {
    int left = Term();
    while (!stopped_ && (ch_ == '+' || ch_ == '-')) {
      const std::uint8_t kind = ch_ == '+' ? kAdd : kSub;
      const std::int32_t at = pos_;
      NextChar();
      left = Add(kind, at, left, Term());
    }
    return left;
  }

  int Term() {
    int left = Power();
    while (!stopped_ && (ch_ == '*' || ch_ == '/')) {
      const std::uint8_t kind = ch_ == '*' ? kMul : kDiv;
      const std::int32_t at = pos_;
      NextChar();
      left = Add(kind, at, left, Power());
    }
    return left;
  }

  int Power() {
    int left = SignedFactor();
    while (!stopped_ && ch_ == '^') {
      const std::int32_t at = pos_;
      NextChar();
      const std::int32_t exponentAt = pos_;
      left = Add(kPow, at, left, SignedFactor(), 0, 0, exponentAt);
    }
    return left;
  }

  int SignedFactor() {
    if (ch_ == '-') {
      const std::int32_t at = pos_;
      NextChar();
      return Add(kNeg, at, Factor(false));
    }
    return Factor(false);
  }

  // ignored: the factor directly after PI, E or X, whose value is not used;
  // where none follows (an operator, a bracket or the end) it reads nothing.
  int Factor(bool ignored) {
    if (nesting_ > MaxNesting) return Stop(pos_);
    ++nesting_;
    const int factor = FactorBody(ignored);
    --nesting_;
    return factor;
  }

  int FactorBody(bool ignored) {
    if (IsDigit(ch_)) return Number();
    if (ch_ == '(') {
      NextChar();
      const int inner = Expression();
      if (stopped_) return inner;
      if (ch_ == ')') {
        NextChar();
        return inner;
      }
      stopped_ = true;
      return Add(kThenStop, pos_, inner);
    }
    for (const NameEntry& e : NameTable) {
      const std::string name = e.name;
      if (s_.compare(pos_ - 1, name.size(), name) != 0) continue;
      const std::int32_t at = pos_;
      pos_ += static_cast<std::int32_t>(name.size()) - 1;
      NextChar();
      switch (e.func) {
        case fPi:
          return Add(kConst, at, Factor(true), -1, common::Pi);
        case fE:
          return Add(kConst, at, Factor(true), -1, std::exp(1.0L));
        case fX:
          return Add(kVarX, at, Factor(true));
        default:
          return Add(kFunc, at, Factor(false), -1, 0, e.func);
      }
    }
    if (ignored) return -1;
    return Stop(pos_);
  }

  int Number() {
    const std::int32_t start = pos_;
    while (IsDigit(ch_)) NextChar();
    if (ch_ == '.') {
      NextChar();
      while (IsDigit(ch_)) NextChar();
    }
    if (ch_ == 'E') {
      NextChar();
      if (ch_ != EndMark) NextChar();  // the sign or first digit of the exponent
      while (IsDigit(ch_)) NextChar();
    }
    const char* first = s_.data() + (start - 1);
    const char* last = s_.data() + std::min<std::size_t>(pos_ - 1, s_.size());
    Real v = 0;
    const auto res = std::from_chars(first, last, v);
    if (res.ec == std::errc::result_out_of_range) {
      // Too small for 80-bit reals is zero; too large is an overflow fault.
      bool negativeExponent = false;
      for (const char* p = first; p + 1 < last; ++p)
        if (*p == 'E' && p[1] == '-') negativeExponent = true;
      if (!negativeExponent) return Add(kFault, start);
      v = 0;
    } else if (res.ptr != last) {
      // A malformed exponent ("2E", "1E+"): reading stops at its 'E'.
      const int n = Add(kNumber, start, -1, -1, v);
      stopped_ = true;
      return Add(kThenStop, start + static_cast<std::int32_t>(res.ptr - first), n);
    }
    return Add(kNumber, start, -1, -1, v);
  }

  const std::string& s_;
  std::vector<ParsedFormula::Node>& nodes_;
  std::int32_t pos_ = 0;
  char ch_ = EndMark;
  bool stopped_ = false;
  int nesting_ = 0;          // brackets and function arguments open around the factor
  std::vector<int> depths_;  // per node: the longest chain of nodes below it, itself included
};

// ---- Evaluation ----------------------------------------------------------------

namespace {

// The arithmetic of '+', '-', '*' and '/': a division by zero and a result
// that is no finite number are faults.
Real Arithmetic(std::uint8_t kind, Real l, Real r, bool& fault) {
  if (kind == kDiv && r == 0) {
    fault = true;
    return 0;
  }
  Real v;
  if (kind == kAdd) {
    v = l + r;
  } else if (kind == kSub) {
    v = l - r;
  } else if (kind == kMul) {
    v = l * r;
  } else {
    v = l / r;
  }
  if (!std::isfinite(v)) {
    fault = true;
    return 0;
  }
  return v;
}

// The named functions; fault where the argument is outside the domain or
// the result no finite number (an undefined argument passes where the
// comparison with it fails, as the functions pass it on).
Real ApplyFunction(std::uint8_t f, Real a, bool& fault) {
  switch (f) {
    case fAbs:
      return std::fabs(a);
    case fSqrt:
      if (a < 0) break;
      return std::sqrt(a);
    case fSqr: {
      const Real v = a * a;
      if (!std::isfinite(v)) break;
      return v;
    }
    case fSin:
      return std::sin(a);
    case fCos:
      return std::cos(a);
    case fArcTan:
      return std::atan(a);
    case fLn:
      if (a <= 0) break;
      return std::log(a);
    case fLog:
      if (a <= 0) break;
      return std::log(a) / std::log(10.0L);
    case fExp: {
      const Real v = std::exp(a);
      if (!std::isfinite(v)) break;
      return v;
    }
    case fFak: {
      const Real n = std::trunc(a);
      if (!(n <= MaxFactorial)) break;  // also an undefined argument
      if (n <= 1) return 1;
      Real r = 1;
      for (int k = 2; k <= static_cast<int>(n); ++k) r *= k;
      return r;
    }
    default:
      return 0;
  }
  fault = true;
  return 0;
}

// The derivative of a named function at a (its value v there), times the
// argument's derivative da. The transcendental factors in double
// precision: a slope needs some ten digits, and the 80-bit functions cost
// ten times as much.
Real FunctionSlope(std::uint8_t f, Real a, Real v, Real da) {
  const double ad = static_cast<double>(a);
  switch (f) {
    case fAbs:
      return a > 0 ? da : a < 0 ? -da : 0;
    case fSqrt:
      return da / (2 * v);
    case fSqr:
      return 2 * a * da;
    case fSin:
      return static_cast<Real>(std::cos(ad)) * da;
    case fCos:
      return -static_cast<Real>(std::sin(ad)) * da;
    case fArcTan:
      return da / (1 + a * a);
    case fLn:
      return da / a;
    case fLog:
      return da / (a * std::log(10.0L));
    case fExp:
      return v * da;
    default:  // FAK steps
      return 0;
  }
}

}  // namespace

class FormulaRun {
 public:
  FormulaRun(const std::vector<ParsedFormula::Node>& nodes, Real x) : nodes_(nodes), x_(x) {}

  Real Eval(int i) {
    if (i < 0) return 0;
    const ParsedFormula::Node& n = nodes_[i];
    switch (n.kind) {
      case kNumber:
        return n.value;
      case kVarX:
        Eval(n.a);
        return x_;
      case kConst:
        Eval(n.a);
        return n.value;
      case kNeg:
        return -Eval(n.a);
      case kAdd:
      case kSub:
      case kMul:
      case kDiv: {
        const Real l = Eval(n.a);
        if (errorPos_ != 0) return l;
        const Real r = Eval(n.b);
        bool fault = false;
        const Real v = Arithmetic(n.kind, l, r, fault);
        return fault ? Fault(n.pos) : v;
      }
      case kPow: {
        const Real base = Eval(n.a);
        if (errorPos_ != 0) return base;
        // A zero base keeps the value 0 and leaves the exponent unread.
        if (base == 0) return Stop(n.pos2, 0);
        if (base < 0) return Fault(n.pos);
        const Real y = Eval(n.b);
        return Checked(std::exp(std::log(base) * y), n.pos);
      }
      case kFunc:
        return Function(n.func, Eval(n.a), n.pos);
      case kSyntaxStop:
        return Stop(n.pos, 0);
      case kThenStop: {
        const Real v = Eval(n.a);
        return Stop(n.pos, v);
      }
      case kFault:
        return Fault(n.pos);
    }
    return 0;
  }

  std::int32_t errorPos_ = 0;
  bool fault_ = false;

 private:
  Real Stop(std::int32_t pos, Real v) {
    if (errorPos_ == 0) errorPos_ = pos;
    return v;
  }

  Real Fault(std::int32_t pos) {
    if (errorPos_ == 0) {
      errorPos_ = pos;
      fault_ = true;
    }
    return 0;
  }

  Real Checked(Real v, std::int32_t pos) { return std::isfinite(v) ? v : Fault(pos); }

  Real Function(std::uint8_t f, Real a, std::int32_t pos) {
    bool fault = false;
    const Real v = ApplyFunction(f, a, fault);
    return fault ? Fault(pos) : v;
  }

  const std::vector<ParsedFormula::Node>& nodes_;
  const Real x_;
};

// ---- Public entry points -----------------------------------------------------------

ParsedFormula::ParsedFormula(const std::string& text) {
  const bool balanced = Normalise(text, normalised_);
  if (normalised_.empty()) {
    status_ = -1;
  } else if (!balanced) {
    status_ = -2;
  } else {
    FormulaCompiler compiler(normalised_, nodes_);
    root_ = compiler.Compile();
    // A text read whole has no stop among its nodes: only then can the
    // straight run stand for the descent.
    const bool whole = std::none_of(nodes_.begin(), nodes_.end(), [](const Node& n) {
      return n.kind == kSyntaxStop || n.kind == kThenStop || n.kind == kFault;
    });
    if (whole && root_ >= 0) {
      steps_.reserve(nodes_.size());
      std::size_t depth = 0;
      CompileSteps(root_);
      for (const Step& step : steps_) {
        // Each step pushes its value; an operator first takes its operands.
        switch (step.kind) {
          case kNumber: case kConst: case kVarX: depth += step.dropsOperand ? 0 : 1; break;
          case kAdd: case kSub: case kMul: case kDiv: case kPow: --depth; break;
          default: break;
        }
        stackDepth_ = std::max(stackDepth_, depth);
      }
    }
  }
}

// The steps of the subtree at node in the order in which the descent ends
// them: the operands first, left before right, then the node.
void ParsedFormula::CompileSteps(int node) {
  const Node& n = nodes_[static_cast<std::size_t>(node)];
  Step step;
  step.kind = n.kind;
  step.func = n.func;
  step.value = n.value;
  switch (n.kind) {
    case kNumber:
      break;
    case kVarX:
    case kConst:
      if (n.a >= 0) {
        CompileSteps(n.a);
        step.dropsOperand = true;
      }
      break;
    case kNeg:
    case kFunc:
      Operand(n.a);
      break;
    default:  // the operators of two operands
      Operand(n.a);
      Operand(n.b);
      break;
  }
  steps_.push_back(step);
}

// An operand that the parse left out counts 0, as in the descent.
void ParsedFormula::Operand(int node) {
  if (node >= 0) {
    CompileSteps(node);
  } else {
    Step zero;
    zero.kind = kNumber;
    steps_.push_back(zero);
  }
}

bool ParsedFormula::RunStraight(Real X, Real& value, Real* slope) const {
  // Values and slopes on stacks of their own; a formula of a few hundred
  // terms needs a few places.
  constexpr std::size_t Small = 32;
  Real valuesSmall[Small], slopesSmall[Small];
  std::vector<Real> valuesLarge, slopesLarge;
  Real* v = valuesSmall;
  Real* d = slopesSmall;
  if (stackDepth_ > Small) {
    valuesLarge.resize(stackDepth_);
    slopesLarge.resize(stackDepth_);
    v = valuesLarge.data();
    d = slopesLarge.data();
  }
  const bool withSlope = slope != nullptr;
  std::size_t top = 0;  // places in use
  bool fault = false;
  for (const Step& step : steps_) {
    switch (step.kind) {
      case kNumber:
        v[top] = step.value;
        d[top++] = 0;
        break;
      case kVarX:
      case kConst:
        if (step.dropsOperand) --top;
        v[top] = step.kind == kVarX ? X : step.value;
        d[top++] = step.kind == kVarX ? 1 : 0;
        break;
      case kNeg:
        v[top - 1] = -v[top - 1];
        d[top - 1] = -d[top - 1];
        break;
      case kFunc: {
        const Real a = v[top - 1];
        const Real r = ApplyFunction(step.func, a, fault);
        if (fault) return false;
        if (withSlope) d[top - 1] = FunctionSlope(step.func, a, r, d[top - 1]);
        v[top - 1] = r;
        break;
      }
      case kPow: {
        const Real base = v[top - 2], y = v[top - 1];
        // A zero base leaves the exponent unread, which the descent tells.
        if (!(base > 0)) return false;
        const Real lb = std::log(base);
        const Real r = std::exp(lb * y);
        if (!std::isfinite(r)) return false;
        if (withSlope) d[top - 2] = r * (d[top - 1] * lb + y * d[top - 2] / base);
        v[top - 2] = r;
        --top;
        break;
      }
      default: {  // + - * /
        const Real l = v[top - 2], r = v[top - 1];
        const Real result = Arithmetic(step.kind, l, r, fault);
        if (fault) return false;
        if (withSlope) {
          const Real dl = d[top - 2], dr = d[top - 1];
          if (step.kind == kAdd) {
            d[top - 2] = dl + dr;
          } else if (step.kind == kSub) {
            d[top - 2] = dl - dr;
          } else if (step.kind == kMul) {
            d[top - 2] = dl * r + l * dr;
          } else {
            d[top - 2] = (dl - result * dr) / r;
          }
        }
        v[top - 2] = result;
        --top;
        break;
      }
    }
  }
  value = v[0];
  if (withSlope) *slope = d[0];
  return true;
}

void ParsedFormula::EvaluateByDescent(Real X, Real& value, std::int32_t& errorPosition) const {
  if (status_ != 0) {
    value = 0;
    errorPosition = status_;
    return;
  }
  FormulaRun run(nodes_, X);
  const Real v = run.Eval(root_);
  errorPosition = run.errorPos_;
  value = run.fault_ ? 0 : v;
}

void ParsedFormula::Evaluate(Real X, Real& value, std::int32_t& errorPosition) const {
  if (!steps_.empty() && RunStraight(X, value, nullptr)) {
    errorPosition = 0;
    return;
  }
  EvaluateByDescent(X, value, errorPosition);
}

bool ParsedFormula::EvaluateWithSlope(Real X, Real& value, Real& slope, std::int32_t& errorPosition) const {
  slope = 0;
  if (!steps_.empty() && RunStraight(X, value, &slope)) {
    errorPosition = 0;
    if (std::isfinite(slope)) return true;
    slope = 0;
    return false;
  }
  EvaluateByDescent(X, value, errorPosition);
  return false;
}

void EvaluateFormula(std::string& text, Real& value, std::int32_t& errorPosition, Real X) {
  const ParsedFormula f(text);
  if (f.status() == 0) text = f.NormalisedText();
  f.Evaluate(X, value, errorPosition);
}

namespace {

// The pitch curve has at most ten formula pieces; the bound only protects
// against a caller that evaluates ever new texts.
constexpr std::size_t MaxCachedFormulas = 256;

std::unordered_map<std::string, ParsedFormula>& FormulaCache() {
  static std::unordered_map<std::string, ParsedFormula> cache;
  return cache;
}

// The entry found last: the sweeps ask for one text thousands of times in a
// row, and a long text costs more to hash than to compare.
const std::pair<const std::string, ParsedFormula>* LastFound = nullptr;

// The parsed form of text, with the caller's text normalised as
// EvaluateFormula leaves it.
const ParsedFormula& Parsed(std::string& text) {
  if (!LastFound || LastFound->first != text) {
    auto& cache = FormulaCache();
    auto it = cache.find(text);
    if (it == cache.end()) {
      if (cache.size() >= MaxCachedFormulas) cache.clear();
      it = cache.emplace(text, ParsedFormula(text)).first;
    }
    LastFound = &*it;
  }
  const ParsedFormula& f = LastFound->second;
  if (f.status() == 0 && text != f.NormalisedText()) text = f.NormalisedText();
  return f;
}

}  // namespace

void EvaluateFormulaCached(std::string& text, Real& value, std::int32_t& errorPosition, Real X) {
  Parsed(text).Evaluate(X, value, errorPosition);
}

bool EvaluateFormulaCachedWithSlope(std::string& text, Real& value, Real& slope, std::int32_t& errorPosition,
                                    Real X) {
  return Parsed(text).EvaluateWithSlope(X, value, slope, errorPosition);
}

void ClearFormulaCache() {
  LastFound = nullptr;
  FormulaCache().clear();
}

}  // namespace common
