// Formula evaluator under random texts: formula pieces come from design
// files of any origin, so every text must end in a finite value with an
// error position inside the text, the same on every evaluation, through
// the parse cache and by the straight run of the parsed steps as by the
// descent over the parsed tree, and arithmetic faults must stop with value
// 0 at the operator or name concerned.
#include "common/formula_evaluator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>
#include <string>

using namespace common;

namespace {

// Pieces of the evaluator's alphabet, a few near misses of its names, and
// characters it does not know.
const char* const Tokens[] = {"0",    "1",   "2",    "7",   "9",    ".",   ",",    " ",    "E",    "E+",   "e-",
                              "X",    "x",   "PI",   "+",   "-",    "*",   "/",    "^",    "(",    ")",    "ABS",
                              "SQRT", "SQR", "SIN",  "cos", "ARCTAN", "LN", "LOG",  "EXP",  "FAK",  "TAN",  "ATN",
                              "Y",    "#",   "1E4000", "1e-5000", "99999", "\xF8", "\t"};

std::string RandomText(std::mt19937& rng, int maxTokens) {
  std::uniform_int_distribution<int> count(0, maxTokens);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(Tokens) - 1);
  std::string text;
  for (int n = count(rng); n > 0; --n) text += Tokens[pick(rng)];
  return text;
}

// A text of the grammar (which may still fault on evaluation), so that many
// texts are read whole and their values reach every operation.
std::string RandomFormula(std::mt19937& rng, int depth) {
  static const char* const Leaves[] = {"0", "2", "0.5", ".5", "X", "PI", "E", "1E300", "3,25", "1e-4"};
  static const char* const Operators[] = {"+", "-", "*", "/", "^"};
  static const char* const Names[] = {"ABS", "SQRT", "SQR", "SIN", "COS", "ARCTAN", "LN", "LOG", "EXP", "FAK"};
  std::uniform_int_distribution<int> choice(0, depth <= 0 ? 0 : 3);
  switch (choice(rng)) {
    case 0:
      return Leaves[std::uniform_int_distribution<std::size_t>(0, std::size(Leaves) - 1)(rng)];
    case 1:
      return "(" + RandomFormula(rng, depth - 1) +
             Operators[std::uniform_int_distribution<std::size_t>(0, std::size(Operators) - 1)(rng)] +
             RandomFormula(rng, depth - 1) + ")";
    case 2:
      return Names[std::uniform_int_distribution<std::size_t>(0, std::size(Names) - 1)(rng)] +
             ("(" + RandomFormula(rng, depth - 1) + ")");
    default:
      return "-" + RandomFormula(rng, depth - 1);
  }
}

struct Outcome {
  Real value = -99;
  std::int32_t pos = -99;
  std::string text;
};

Outcome Evaluate(const std::string& text, Real x, bool cached) {
  Outcome r;
  r.text = text;
  if (cached) {
    EvaluateFormulaCached(r.text, r.value, r.pos, x);
  } else {
    EvaluateFormula(r.text, r.value, r.pos, x);
  }
  return r;
}

// The evaluation of a parsed text against the descent step by step, and
// the same value with the slope.
void ExpectStraightRunIsTheDescent(const std::string& text, Real x) {
  const ParsedFormula f(text);
  Real straight = -1, descent = -2, withSlope = -3, slope = -4;
  std::int32_t p1 = -9, p2 = -8, p3 = -7;
  f.Evaluate(x, straight, p1);
  f.EvaluateByDescent(x, descent, p2);
  const bool known = f.EvaluateWithSlope(x, withSlope, slope, p3);
  ASSERT_EQ(p1, p2);
  ASSERT_EQ(p1, p3);
  ASSERT_TRUE(straight == descent && std::signbit(straight) == std::signbit(descent));
  ASSERT_TRUE(straight == withSlope && std::signbit(straight) == std::signbit(withSlope));
  ASSERT_TRUE(known ? std::isfinite(slope) : slope == 0);
  if (p1 != 0) {
    ASSERT_FALSE(known);
  }
}

TEST(FormulaRobustness, RandomTextsGiveFiniteValuesAndPositionsInsideTheText) {
  std::mt19937 rng(20240607);
  const Real xs[] = {0, 1, -2.5L, 1e300L, -1e-300L};
  ClearFormulaCache();
  int readWhole = 0;
  for (int round = 0; round < 20000; ++round) {
    const std::string text = round % 2 ? RandomFormula(rng, 5) : RandomText(rng, round % 10 == 0 ? 60 : 12);
    const Real x = xs[round % 5];
    SCOPED_TRACE("text \"" + text + "\"");
    const Outcome r = Evaluate(text, x, false);
    ASSERT_TRUE(std::isfinite(r.value));
    ASSERT_GE(r.pos, -2);
    ASSERT_LE(r.pos, static_cast<std::int32_t>(r.text.size()) + 1);
    if (r.pos < 0) {
      ASSERT_EQ(r.value, 0);
    }
    // The straight run gives what the descent over the parsed tree gives,
    // bit for bit, also where the text stops or faults.
    ExpectStraightRunIsTheDescent(text, x);
    // Deterministic, and the cache gives the same text, value and position.
    for (bool cached : {false, true}) {
      const Outcome again = Evaluate(text, x, cached);
      ASSERT_EQ(again.value, r.value);
      ASSERT_EQ(again.pos, r.pos);
      ASSERT_EQ(again.text, r.text);
    }
    if (r.pos != 0) continue;
    ++readWhole;
    // A text read whole, put where it causes an arithmetic fault: the fault
    // is reported at the operator or name with value 0.
    const std::string negative = "(-1-ABS(" + r.text + "))";
    const struct {
      std::string text;
      std::int32_t pos;
    } faults[] = {
        {"(" + r.text + ")/0", static_cast<std::int32_t>(r.text.size()) + 3},
        {"LN" + negative, 1},
        {"SQRT" + negative, 1},
        {negative + "^2", static_cast<std::int32_t>(negative.size()) + 1},
        {"EXP(99999+ABS(" + r.text + "))", 1},
    };
    for (const auto& fault : faults) {
      ExpectStraightRunIsTheDescent(fault.text, x);
      const Outcome f = Evaluate(fault.text, x, false);
      ASSERT_EQ(f.pos, fault.pos) << fault.text;
      ASSERT_EQ(f.value, 0) << fault.text;
    }
  }
  ClearFormulaCache();
  // The alphabet is tuned so that a good share of the texts reads whole and
  // goes through the fault checks.
  EXPECT_GT(readWhole, 4000);
}

// Texts far longer than any formula (a mangled data-file line): a bounded
// result in bounded time.
TEST(FormulaRobustness, LongTextsEndInBoundedTime) {
  const std::string longTexts[] = {
      std::string(2000000, '.'),
      std::string(20000, '(') + "1" + std::string(20000, ')'),
      [] {
        std::string s;
        for (int i = 0; i < 20000; ++i) s += "SIN";
        return s + "1";
      }(),
      [] {
        std::string s = "1";
        for (int i = 0; i < 50000; ++i) s += "+.5";
        return s;
      }(),
      "2" + std::string(100000, '9') + "E99",
  };
  for (const std::string& text : longTexts) {
    const auto start = std::chrono::steady_clock::now();
    const Outcome r = Evaluate(text, 1, false);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(std::isfinite(r.value)) << text.substr(0, 20);
    EXPECT_LE(r.pos, static_cast<std::int32_t>(r.text.size()) + 1);
    EXPECT_LT(seconds, 2.0) << text.substr(0, 20);
  }
}

}  // namespace
