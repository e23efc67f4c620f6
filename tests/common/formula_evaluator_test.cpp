#include "common/formula_evaluator.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "common/guarded_math.h"

using namespace common;

namespace {

struct Result {
  Real value;
  std::int32_t pos;
  std::string text;
};

Result Eval(std::string text, Real x = 0) {
  Result r{-99, -99, ""};
  EvaluateFormula(text, r.value, r.pos, x);
  r.text = text;
  return r;
}

TEST(FormulaEvaluator, NormalisationAndPlainResults) {
  Result r = Eval("10 + x", 2);
  EXPECT_EQ(r.value, 12);
  EXPECT_EQ(r.pos, 0);
  EXPECT_EQ(r.text, "10+X");

  r = Eval(".5*2");
  EXPECT_EQ(r.text, "0.5*2");
  EXPECT_EQ(r.value, 1);
  EXPECT_EQ(r.pos, 0);
  r = Eval("sin(,5)");
  EXPECT_EQ(r.text, "SIN(0.5)");
  EXPECT_EQ(r.value, std::sin(0.5L));
  r = Eval("+.25 + x*.5", 2);
  EXPECT_EQ(r.text, "0.25+X*0.5");
  EXPECT_EQ(r.value, 1.25L);
  // Every inserted '0' lengthens the text; the points at its end still get theirs.
  r = Eval("-.5-.5-.5-.5");
  EXPECT_EQ(r.text, "-0.5-0.5-0.5-0.5");
  EXPECT_EQ(r.pos, 0);
  EXPECT_EQ(r.value, -2);

  EXPECT_NEAR(Eval("2^3^2").value, 64, 1e-15L);  // left association
  EXPECT_EQ(Eval("SQRT16").value, 4);             // unbracketed argument
  EXPECT_EQ(Eval("sqr(3)").value, 9);             // SQRT is tried first, SQR matches
  EXPECT_EQ(Eval("FAK(4.7)").value, 24);
  EXPECT_EQ(Eval("fak(-3)").value, 1);
  EXPECT_EQ(Eval("8-2-1").value, 5);
  EXPECT_EQ(Eval("8/2/2").value, 2);
  EXPECT_EQ(Eval("2--3").value, 5);
  EXPECT_EQ(Eval("-3*-2").value, 6);
  EXPECT_EQ(Eval("abs(-2.5)").value, 2.5L);
  EXPECT_EQ(Eval("1.5E2").value, 150);
  EXPECT_EQ(Eval("1E-2").value, 0.01L);
  EXPECT_EQ(Eval("E").value, std::exp(1.0L));
  EXPECT_EQ(Eval("exp(1)").value, std::exp(1.0L));
  EXPECT_NEAR(Eval("log(1000)").value, 3, 1e-18L);
  EXPECT_NEAR(Eval("arctan(1)*4").value, Pi, 1e-18L);
  EXPECT_NEAR(Eval("2+cos(pi)*ln(e)").value, 1, 1e-18L);
  EXPECT_EQ(Eval("1E-5000").pos, 0);  // too small is zero, not a fault
}

TEST(FormulaEvaluator, IgnoredFactorAfterPiEAndX) {
  EXPECT_EQ(Eval("X2", 7).value, 7);
  EXPECT_EQ(Eval("X2", 7).pos, 0);
  EXPECT_EQ(Eval("PI(1)").value, Pi);
  EXPECT_EQ(Eval("PI(1)").pos, 0);
  EXPECT_EQ(Eval("PI+1").value, Pi + 1);
  EXPECT_EQ(Eval("X)*(2", 3).pos, 2);  // the ignored factor leaves the ')'
  EXPECT_EQ(Eval("X)*(2", 3).value, 3);
  EXPECT_EQ(Eval("(X)*2", 3).value, 6);
  EXPECT_EQ(Eval("XY", 3).pos, 2);  // the ignored factor reads nothing at Y
}

TEST(FormulaEvaluator, RefusedAndSyntaxErrors) {
  Result r = Eval("(1+2");
  EXPECT_EQ(r.pos, -2);
  EXPECT_EQ(r.value, 0);
  EXPECT_EQ(r.text, "(1+2");  // a refused text is not normalised
  r = Eval("   ");
  EXPECT_EQ(r.pos, -1);
  EXPECT_EQ(r.value, 0);
  EXPECT_EQ(r.text, "   ");
  EXPECT_EQ(Eval("+").pos, -1);

  r = Eval("2*Y");
  EXPECT_EQ(r.pos, 3);
  EXPECT_EQ(r.value, 0);
  r = Eval("0^2");
  EXPECT_EQ(r.pos, 3);
  EXPECT_EQ(r.value, 0);
  r = Eval("2+3X");  // partial value up to the stop
  EXPECT_EQ(r.pos, 4);
  EXPECT_EQ(r.value, 5);
  EXPECT_EQ(Eval("(1(2))").pos, 3);
  EXPECT_EQ(Eval("2..5").text, "2.0.5");  // the second point follows a non-digit
  EXPECT_EQ(Eval("2..5").pos, 4);
  EXPECT_EQ(Eval("2E").pos, 2);  // malformed exponent
  EXPECT_EQ(Eval("1E+").pos, 2);
  // Every leading '+' goes in the normalisation, so the stored text reads
  // as the entered one on every later evaluation.
  r = Eval("+ +2*X", 3);
  EXPECT_EQ(r.text, "2*X");
  EXPECT_EQ(r.pos, 0);
  EXPECT_EQ(r.value, 6);
  EXPECT_EQ(Eval("+++").pos, -1);
  EXPECT_EQ(Eval("+-2").value, -2);
}

TEST(FormulaEvaluator, MissingOperandsAreReported) {
  // A missing factor is not taken silently as 0.
  Result r = Eval("2*");
  EXPECT_EQ(r.pos, 3);
  EXPECT_EQ(r.value, 0);
  r = Eval("SIN-1");
  EXPECT_EQ(r.pos, 4);
  EXPECT_EQ(r.value, 0);
  // A zero base leaves its exponent unread: '0^-2' is not 0 - 2.
  r = Eval("0^-2");
  EXPECT_EQ(r.pos, 3);
  EXPECT_EQ(r.value, 0);
  r = Eval("1+X^2*3", 0);
  EXPECT_EQ(r.pos, 5);
  EXPECT_EQ(r.value, 1);
  r = Eval("1+X^2*3", 2);
  EXPECT_EQ(r.pos, 0);
  EXPECT_NEAR(r.value, 13, 1e-15L);
}

TEST(FormulaEvaluator, ArithmeticFaultsGiveZeroAndAPosition) {
  struct Case {
    const char* text;
    Real x;
    std::int32_t pos;
  };
  const Case cases[] = {
      {"1/0", 0, 2},          {"2+1/(X-1)", 1, 4},    {"LN(-1)", 0, 1},
      {"3*LN(X)", 0, 3},      {"LOG(0)", 0, 1},       {"SQRT(-4)", 0, 1},
      {"-2^2", 0, 3},         {"X^0.5", -1, 2},       {"EXP(20000)", 0, 1},
      {"1E5000", 0, 1},       {"FAK(1755)", 0, 1},    {"FAK(1E30)", 0, 1},
      {"SQR(1E3000)", 0, 1},  {"1E4000*1E4000", 0, 7}, {"10^5000", 0, 3},
      {"X(1/0)", 0, 4},
  };
  for (const Case& c : cases) {
    const Result r = Eval(c.text, c.x);
    EXPECT_EQ(r.pos, c.pos) << c.text;
    EXPECT_EQ(r.value, 0) << c.text;
  }
  const Result undefined = Eval("FAK(X)", std::numeric_limits<Real>::quiet_NaN());
  EXPECT_EQ(undefined.pos, 1);
  EXPECT_EQ(undefined.value, 0);
  const Result big = Eval("FAK(1754)");
  EXPECT_EQ(big.pos, 0);
  EXPECT_TRUE(std::isfinite(big.value));
  EXPECT_GT(big.value, 1e4930L);
  EXPECT_EQ(Eval("SQRT(0)").pos, 0);
}

TEST(FormulaEvaluator, DeepTextsStopInsteadOfExhaustingTheStack) {
  // 200 nested brackets are read; inside the 201st the parse stops.
  EXPECT_EQ(Eval(std::string(200, '(') + "1" + std::string(200, ')')).pos, 0);
  Result r = Eval(std::string(100000, '(') + "1" + std::string(100000, ')'));
  EXPECT_EQ(r.pos, 202);
  EXPECT_EQ(r.value, 0);
  std::string sines;
  for (int i = 0; i < 200; ++i) sines += "SIN";
  EXPECT_EQ(Eval(sines + "1").pos, 0);
  for (int i = 0; i < 50000; ++i) sines += "SIN";
  EXPECT_EQ(Eval(sines + "1").pos, 3 * 201 + 1);  // the argument of the 201st SIN
  // A sum of 1000 operations is read whole; the 1001st stops it after its
  // operand, at the next '+', with the sum so far as partial value.
  std::string sum = "1";
  for (int i = 0; i < 1000; ++i) sum += "+1";
  r = Eval(sum);
  EXPECT_EQ(r.pos, 0);
  EXPECT_EQ(r.value, 1001);
  for (int i = 0; i < 200000; ++i) sum += "+1";
  r = Eval(sum);
  EXPECT_EQ(r.pos, 2 * 1002);
  EXPECT_EQ(r.value, 1002);
}

TEST(FormulaEvaluator, NumbersIgnoreTheCLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE")) {
    GTEST_SKIP() << "no German locale installed";
  }
  const Result r = Eval("1.5*2,5");
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(r.pos, 0);
  EXPECT_EQ(r.value, 3.75L);
}

TEST(FormulaEvaluator, CachedFormIsIdentical) {
  ClearFormulaCache();
  const char* texts[] = {"10 + x", "X^2", "1+X^2*3", "sqrt(x)*sin(2*x)+.5", "1/(x-1)",
                         "2*", "(1+2", "  ", "++2", "ln(x)", "fak(x*3)", "x2^2"};
  const Real xs[] = {-1, 0, 0.5L, 1, 2, 3.25L};
  for (int pass = 0; pass < 2; ++pass) {  // second pass from the cache
    for (const char* t : texts) {
      for (Real x : xs) {
        std::string a = t, b = t;
        Real va = -1, vb = -2;
        std::int32_t pa = -9, pb = -8;
        EvaluateFormula(a, va, pa, x);
        EvaluateFormulaCached(b, vb, pb, x);
        EXPECT_EQ(a, b) << t;
        EXPECT_EQ(pa, pb) << t << " x=" << static_cast<double>(x);
        EXPECT_EQ(va, vb) << t << " x=" << static_cast<double>(x);
      }
    }
  }
  const ParsedFormula f("x*x+1");
  Real v;
  std::int32_t p;
  f.Evaluate(3, v, p);
  EXPECT_EQ(v, 10);
  EXPECT_EQ(p, 0);
  EXPECT_EQ(f.NormalisedText(), "X*X+1");
}

}  // namespace

namespace {

bool SameBits(Real a, Real b) { return a == b && std::signbit(a) == std::signbit(b); }

TEST(FormulaEvaluator, StraightRunGivesTheDescentBitForBit) {
  std::string sines = "50";
  for (int n = 1; n <= 100; ++n) sines += "+0.02*SIN(" + std::to_string(n) + "*X)";
  // Deep brackets need a stack of more places than the run keeps at hand.
  const std::string deep = std::string(150, '(') + "X" + std::string(150, ')') + "+" + std::string(60, '(') +
                           "1+(X*(2-(X/(3+X))))" + std::string(60, ')');
  const std::string texts[] = {sines, deep, "40/(1-0.5*COS(X))", "X^3-2^X+(X+1)^0.5", "-X^2", "PIX*X+E(3)",
                               "X2^2", "FAK(X*3)+ABS(X-1)", "SQRT(X)*EXP(X)-LN(X)+LOG(X)+ARCTAN(X)+SQR(X)",
                               "0^X+1", "1/(X-1)", "X(1/0)", "50+ABC"};
  const Real xs[] = {-2.5L, -1, 0, 1e-30L, 0.5L, 1, 2, 3.25L, 6.283185307179586L, 1e300L};
  for (const std::string& text : texts) {
    const ParsedFormula f(text);
    for (const Real x : xs) {
      Real straight = -1, descent = -2;
      std::int32_t p1 = -9, p2 = -8;
      f.Evaluate(x, straight, p1);
      f.EvaluateByDescent(x, descent, p2);
      EXPECT_EQ(p1, p2) << text << " at " << static_cast<double>(x);
      EXPECT_TRUE(SameBits(straight, descent)) << text << " at " << static_cast<double>(x);
    }
  }
}

TEST(FormulaEvaluator, SlopeIsTheDerivativeOfTheValue) {
  const std::string texts[] = {"50+5*SIN(3*X)", "40/(1-0.5*COS(X))", "X^3-2^X+(X+1)^0.5", "-(X^2)*PIX",
                               "SQRT(X)*EXP(X)-LN(X)+LOG(X)+ARCTAN(X)+SQR(X)+ABS(1-X)", "FAK(X)*X"};
  const Real xs[] = {0.3L, 1.1L, 2.5L, 3.7L};
  for (const std::string& text : texts) {
    const ParsedFormula f(text);
    for (const Real x : xs) {
      Real value = 0, slope = 0, plain = 0, above = 0, below = 0;
      std::int32_t pos = -1, plainPos = -1, p = -1;
      ASSERT_TRUE(f.EvaluateWithSlope(x, value, slope, pos)) << text;
      f.Evaluate(x, plain, plainPos);
      EXPECT_TRUE(SameBits(value, plain)) << text;
      EXPECT_EQ(pos, 0);
      const Real h = 1e-6L;
      f.Evaluate(x + h, above, p);
      f.Evaluate(x - h, below, p);
      const Real difference = (above - below) / (2 * h);
      EXPECT_NEAR(static_cast<double>(slope), static_cast<double>(difference),
                  1e-8 * std::max(1.0, std::fabs(static_cast<double>(difference))))
          << text << " at " << static_cast<double>(x);
    }
  }
  // No slope where the derivative is infinite, where the text faults and
  // where it is not read whole; the value and position are Evaluate's.
  const struct {
    const char* text;
    Real x;
    std::int32_t pos;
  } none[] = {{"SQRT(X)", 0, 0}, {"1/X", 0, 2}, {"50+ABC", 1, 4}, {"0^X+1", 1, 3}};
  for (const auto& c : none) {
    const ParsedFormula f(c.text);
    Real value = -1, slope = -1, plain = -2;
    std::int32_t pos = -1, plainPos = -2;
    EXPECT_FALSE(f.EvaluateWithSlope(c.x, value, slope, pos)) << c.text;
    f.Evaluate(c.x, plain, plainPos);
    EXPECT_EQ(slope, 0) << c.text;
    EXPECT_EQ(pos, c.pos) << c.text;
    EXPECT_EQ(pos, plainPos) << c.text;
    EXPECT_TRUE(SameBits(value, plain)) << c.text;
  }
}

}  // namespace
