// The formula evaluator of the pitch curves given as formula pieces
// r = f(X), X the angle in radians. EvaluateFormula normalises the text in
// place (blanks removed, ',' -> '.', capitals, a '0' before a bare '.',
// every leading '+' dropped) and evaluates it by recursive descent:
//   expression := term { ("+" | "-") term }
//   term       := power { ("*" | "/") power }
//   power      := signed { "^" signed }          (left-associative)
//   signed     := "-" factor | factor            ('-2^2' raises -2)
//   factor     := number | "(" expression ")" | name factor
// with the names ABS SQRT SQR SIN COS ARCTAN LN LOG EXP FAK PI E X, matched
// in this order; PI, E and X read a directly following factor and ignore it.
// Used by the pitch-curve radius function (src/calc) and the formula input.
//
// The error position is the 1-based character of the normalised text at
// which evaluation stopped: 0 when the whole text was read, -1 for an empty
// text, -2 for unequal numbers of "(" and ")". An arithmetic fault (division
// by zero, logarithm or square root of a negative number, '^' on a negative
// base, a result too large for 80-bit reals, FAK above 1754) stops the
// evaluation: the error position is that of the operator, name or number
// concerned and the value is 0, never a non-finite value. A text nested more
// than 200 deep in brackets or function arguments, or with more than 1000
// operations applied one upon another, stops where it exceeds that bound.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/real.h"

namespace common {

void EvaluateFormula(std::string& text, Real& value, std::int32_t& errorPosition, Real X);

// A formula text parsed once and evaluated for many X; every result is the
// one EvaluateFormula gives for the same text.
class ParsedFormula {
 public:
  explicit ParsedFormula(const std::string& text);

  // The normalised text; status() -1 or -2 when the text is refused before
  // parsing (the caller's text is then left as it was).
  const std::string& NormalisedText() const { return normalised_; }
  std::int32_t status() const { return status_; }

  void Evaluate(Real X, Real& value, std::int32_t& errorPosition) const;
  // The same value and error position, and where the formula is read whole
  // and nothing faults, its derivative by X (true; its transcendental
  // factors in double precision, which a slope needs by far). False, with
  // the slope 0, where no derivative comes out finite.
  bool EvaluateWithSlope(Real X, Real& value, Real& slope, std::int32_t& errorPosition) const;
  // The evaluation by descent over the parsed tree, step by step as the
  // text reads: what Evaluate gives, bit for bit (for the tests; Evaluate
  // takes it only where the straight run below stops).
  void EvaluateByDescent(Real X, Real& value, std::int32_t& errorPosition) const;

  // One step of the parsed form; children are indexes into the node list.
  struct Node {
    std::uint8_t kind = 0;  // see formula_evaluator.cpp
    std::uint8_t func = 0;
    std::int32_t pos = 0;   // where an error or fault is reported
    std::int32_t pos2 = 0;  // second position ('^': start of the exponent)
    int a = -1, b = -1;
    Real value = 0;
  };

  // One step of the straight run: the nodes in the order in which the
  // descent finishes them, each taking its operands from a stack.
  struct Step {
    std::uint8_t kind = 0;
    std::uint8_t func = 0;
    bool dropsOperand = false;  // PI, E or X after their ignored factor
    Real value = 0;
  };

 private:
  // The straight run: false where it cannot give what the descent gives
  // (a fault, or a zero base of '^', whose exponent the descent leaves
  // unread); slope is computed where it is given.
  bool RunStraight(Real X, Real& value, Real* slope) const;
  void CompileSteps(int node);
  void Operand(int node);

  std::string normalised_;
  std::int32_t status_ = 0;
  std::vector<Node> nodes_;
  int root_ = -1;
  // Empty where the text stops before its end: such a formula goes by
  // descent only.
  std::vector<Step> steps_;
  std::size_t stackDepth_ = 0;
};

// EvaluateFormula through a process-wide cache of parsed texts, for callers
// that evaluate the same few texts very often (the pitch-curve sweep). Same
// results and the same normalisation of the caller's text.
void EvaluateFormulaCached(std::string& text, Real& value, std::int32_t& errorPosition, Real X);
// The same with the derivative by X where one is known (ParsedFormula::
// EvaluateWithSlope).
bool EvaluateFormulaCachedWithSlope(std::string& text, Real& value, Real& slope, std::int32_t& errorPosition,
                                    Real X);

// Empties the cache (tests; memory is bounded by clearing when it is full).
void ClearFormulaCache();

}  // namespace common
