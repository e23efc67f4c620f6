// Evaluate: the stack machine of the expression language. It walks the
// postfix program; strings are taken from the expression's working pool in
// stack order (a pop gives the bytes back), numbers, dates and truths are
// held in the stack entries, so an evaluation allocates nothing once the
// stack has grown to its depth.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/c_locale_numbers.h"
#include "dbase/common/date_text.h"
#include "dbase/common/text_routines.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/work_areas.h"
#include "dbase/expr/compiled_expr.h"
#include "dbase/expr/expr_field_values.h"
#include "dbase/index/day_numbers.h"
#include "dbase/index/key_primitives.h"

namespace dbase {

CompiledExpr* CurrentExpr = nullptr;

namespace {

constexpr double kDivideByZeroResult = 1e250;
constexpr int kDefaultStrWidth = 10;

void DivideByZero() { SetError(358, "Error during evaluation: Divide by 0 [Evaluate/Engine]"); }

std::int64_t Trunc(double x) {
  const double t = std::trunc(x);
  if (!(t > -9.2e18 && t < 9.2e18)) return t < 0 ? INT64_MIN / 2 : INT64_MAX / 2;
  return static_cast<std::int64_t>(t);
}

// A count argument cut to what a 255-character string can use.
std::size_t Count(double n) {
  const std::int64_t c = Trunc(n);
  if (c < 0) return 0;
  return static_cast<std::size_t>(std::min<std::int64_t>(c, 1000));
}

// x cut (not rounded) to n decimals of its decimal value: 2.3 keeps its one
// decimal although its binary neighbour lies just below it.
double CutDecimals(double x, double n) {
  const std::int64_t places = Trunc(n);
  if (places < 1 || !std::isfinite(x)) return std::trunc(x);
  char text[400];
  const auto result = std::to_chars(text, text + sizeof text - 1, x, std::chars_format::fixed);
  if (result.ec != std::errc()) return x;
  *result.ptr = '\0';
  char* point = std::strchr(text, '.');
  if (point != nullptr && static_cast<std::int64_t>(std::strlen(point + 1)) > places) point[1 + places] = '\0';
  return common::CStrtod(text, nullptr);
}

// The leading number of a text: sign, digits, decimals, exponent.
double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const std::size_t start = i;
  auto digits = [&] {
    const std::size_t from = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i > from;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool any = digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    any = digits() || any;
  }
  if (!any) return 0;
  const std::size_t mantissaEnd = i;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (!digits()) i = mantissaEnd;
  }
  char buffer[300];
  const std::size_t n = std::min(i - start, sizeof buffer - 1);
  std::memcpy(buffer, text.data() + start, n);
  buffer[n] = '\0';
  return common::CStrtod(buffer, nullptr);
}

// A date as text in the current format with its four-digit year, the form
// the day and month names are taken from whatever Century says.
std::string FourDigitDateText(double dayNumber) {
  const bool century = Century;
  Century = true;
  std::string text = JulianToDateText(dayNumber);
  Century = century;
  return text;
}

class Machine {
 public:
  explicit Machine(CompiledExpr& expr) : e_(expr), scratch_(Scratch()) {}

  void Run() {
    e_.cursor = 0;
    e_.working.clear();
    for (const ExprInstruction& instruction : e_.code) {
      if (instruction.op == ExprOp::End) break;
      Step(instruction);
    }
  }

 private:
  std::string_view View(const ExprValue& v) const {
    return std::string_view(e_.pool.data() + v.offset, v.length);
  }

  void PushString(std::string_view text, char type = kTypeChar) {
    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    if (text.size() > kMaxExprString) text = text.substr(0, kMaxExprString);
    ExprValue v;
    v.type = type;
    v.offset = static_cast<std::uint32_t>(e_.cursor);
    if (e_.cursor + text.size() + 1 > e_.poolSize) {
      SetError(354, "Working pool overflow [PARSER/Allocate]");
      v.length = 0;
    } else {
      std::memcpy(e_.pool.data() + e_.cursor, text.data(), text.size());
      e_.pool[e_.cursor + text.size()] = '\0';
      v.length = static_cast<std::uint32_t>(text.size());
      e_.cursor += text.size() + 1;
    }
    e_.working.push_back(v);
  }
  // The string result of an operation whose operands were popped: copied
  // from the scratch text, which no pop touches.
  void PushScratch() { PushString(scratch_); }

  void PushNumber(double x, char type = kTypeNumeric) {
    ExprValue v;
    v.type = type;
    v.number = x;
    e_.working.push_back(v);
  }
  void PushLogical(bool b) {
    ExprValue v;
    v.type = kTypeLogical;
    v.logical = b ? 1 : 0;
    e_.working.push_back(v);
  }

  ExprValue Pop() {
    if (e_.working.empty()) return ExprValue{};
    const ExprValue v = e_.working.back();
    e_.working.pop_back();
    if (v.type == kTypeChar || v.type == kTypeMemo) e_.cursor = v.offset;
    return v;
  }
  // Pops n values into args_ (first argument first).
  void PopArguments(int n) {
    for (int i = n - 1; i >= 0; --i) args_[static_cast<std::size_t>(i)] = Pop();
  }
  std::string_view Arg(int i) const { return View(args_[static_cast<std::size_t>(i)]); }
  double Num(int i) const { return args_[static_cast<std::size_t>(i)].number; }

  static int CompareText(std::string_view a, std::string_view b) {
    const int c = CompareBytes(a.data(), b.data(), std::min(a.size(), b.size()));
    if (c != 0) return c;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
  }

  void Compare(ExprOp op) {
    PopArguments(2);
    const char type = args_[0].type;
    int c = 0;
    if (type == kTypeChar) {
      const std::string_view a = Arg(0);
      const std::string_view b = Arg(1);
      if (op == ExprOp::Equal) {
        PushLogical(!b.empty() && a.substr(0, b.size()) == b);
        return;
      }
      c = CompareText(a, b);
    } else if (type == kTypeLogical) {
      c = args_[0].logical - args_[1].logical;
    } else {
      c = CompareFloat(Num(0), Num(1));
    }
    switch (op) {
      case ExprOp::Equal:
      case ExprOp::ExactEqual: PushLogical(c == 0); break;
      case ExprOp::NotEqual: PushLogical(c != 0); break;
      case ExprOp::Less: PushLogical(c < 0); break;
      case ExprOp::Greater: PushLogical(c > 0); break;
      case ExprOp::LessEqual: PushLogical(c <= 0); break;
      default: PushLogical(c >= 0); break;
    }
  }

  void Field(const ExprInstruction& in) {
    ExprFieldValue value;
    GetFieldValue(in.area != 0 ? in.area : CurrentArea, in.logical, in.type, value);
    switch (in.type) {
      case kTypeChar:
      case kTypeMemo: PushString(value.text, in.type); break;
      case kTypeLogical: PushLogical(value.logical); break;
      default: PushNumber(value.number, in.type); break;
    }
  }

  void Step(const ExprInstruction& in) {
    switch (in.op) {
      case ExprOp::PushLiteral:
        if (in.type == kTypeChar) PushString(e_.literals[in.literal]);
        else if (in.type == kTypeLogical) PushLogical(in.logical != 0);
        else PushNumber(in.number, in.type);
        return;
      case ExprOp::Field: Field(in); return;
      case ExprOp::Add: {
        PopArguments(2);
        if (args_[0].type == kTypeChar) {
          scratch_.assign(Arg(0));
          scratch_.append(Arg(1));
          PushScratch();
        } else {
          const bool date = args_[0].type == kTypeDate || args_[1].type == kTypeDate;
          PushNumber(Num(0) + Num(1), date ? kTypeDate : kTypeNumeric);
        }
        return;
      }
      case ExprOp::Subtract: {
        PopArguments(2);
        if (args_[0].type == kTypeChar) {
          const std::string_view a = Arg(0);
          const std::size_t kept = a.find_last_not_of(' ');
          const std::size_t body = kept == std::string_view::npos ? 0 : kept + 1;
          scratch_.assign(a.substr(0, body));
          scratch_.append(Arg(1));
          scratch_.append(a.size() - body, ' ');
          PushScratch();
        } else {
          const bool date = args_[0].type == kTypeDate && args_[1].type == kTypeNumeric;
          PushNumber(Num(0) - Num(1), date ? kTypeDate : kTypeNumeric);
        }
        return;
      }
      case ExprOp::Multiply: PopArguments(2); PushNumber(Num(0) * Num(1)); return;
      case ExprOp::Divide:
        PopArguments(2);
        if (Num(1) == 0) {
          DivideByZero();
          PushNumber(kDivideByZeroResult);
        } else {
          PushNumber(Num(0) / Num(1));
        }
        return;
      case ExprOp::Power: {
        PopArguments(2);
        const double a = Num(0);
        const double b = Num(1);
        if (a == 0 && b < 0) {
          DivideByZero();
          PushNumber(kDivideByZeroResult);
          return;
        }
        const double p = std::pow(a, b);
        PushNumber(std::isnan(p) ? 0 : p);  // a negative base with a broken exponent
        return;
      }
      case ExprOp::Equal:
      case ExprOp::ExactEqual:
      case ExprOp::NotEqual:
      case ExprOp::Less:
      case ExprOp::Greater:
      case ExprOp::LessEqual:
      case ExprOp::GreaterEqual: Compare(in.op); return;
      case ExprOp::Contains: {
        PopArguments(2);
        const std::string_view a = Arg(0);
        PushLogical(!a.empty() && Arg(1).find(a) != std::string_view::npos);
        return;
      }
      case ExprOp::And: PopArguments(2); PushLogical(args_[0].logical && args_[1].logical); return;
      case ExprOp::Or: PopArguments(2); PushLogical(args_[0].logical || args_[1].logical); return;
      case ExprOp::Not: PopArguments(1); PushLogical(!args_[0].logical); return;
      case ExprOp::Negate: PopArguments(1); PushNumber(-Num(0)); return;
      case ExprOp::Plus: return;
      default: Function(in); return;
    }
  }

  void Function(const ExprInstruction& in) {
    PopArguments(in.argumentCount);
    switch (in.op) {
      case ExprOp::Abs: PushNumber(std::fabs(Num(0))); return;
      case ExprOp::Asc: PushNumber(Arg(0).empty() ? 0 : static_cast<unsigned char>(Arg(0)[0])); return;
      case ExprOp::At: {
        const std::string_view a = Arg(0);
        const std::size_t at = a.empty() ? std::string_view::npos : Arg(1).find(a);
        PushNumber(at == std::string_view::npos ? 0 : static_cast<double>(at + 1));
        return;
      }
      case ExprOp::Cdow: scratch_ = OemToAnsiStr(CDow(FourDigitDateText(Num(0)))); PushScratch(); return;
      case ExprOp::Cmonth: scratch_ = OemToAnsiStr(CMonth(FourDigitDateText(Num(0)))); PushScratch(); return;
      case ExprOp::Chr:
        scratch_.assign(1, static_cast<char>(Trunc(Num(0)) & 0xFF));
        PushScratch();
        return;
      case ExprOp::Ctod: PushNumber(CtodToJulian(std::string(Arg(0).substr(0, 10))), kTypeDate); return;
      case ExprOp::Date: {
        int y = 0, m = 0, d = 0, weekday = 0;
        GetDate(y, m, d, weekday);
        PushNumber(YmdToJulian(y, m, d), kTypeDate);
        return;
      }
      case ExprOp::Day:
      case ExprOp::Month:
      case ExprOp::Year: {
        int y = 0, m = 0, d = 0;
        if (!JulianToYmd(Num(0), y, m, d)) y = m = d = 0;
        PushNumber(in.op == ExprOp::Day ? d : in.op == ExprOp::Month ? m : y);
        return;
      }
      case ExprOp::Dow: {
        const double n = std::trunc(Num(0));
        const bool valid = n > kDayNumberOffset && n <= kLastDayNumber;
        // Day 1721426 (1 January of year 1) was a Monday, weekday 2.
        PushNumber(valid ? std::fmod(n - 1721426 + 1, 7) + 1 : 0);
        return;
      }
      case ExprOp::Deleted: {
        const WorkArea* area = CurrentWorkAreaRecord();
        bool deleted = false;
        if (area != nullptr && area->table.IsOpen() && area->table.recordCount > 0) {
          if (area->table.isVirtual) deleted = NativeDeleted(*area);
          else deleted = !area->table.record.empty() && area->table.record[0] == '*';
        }
        PushLogical(deleted);
        return;
      }
      case ExprOp::Dtoc: scratch_ = JulianToDateText(Num(0)); PushScratch(); return;
      case ExprOp::Dtos: scratch_ = JulianToDtos(Num(0)); PushScratch(); return;
      case ExprOp::Iif: scratch_.assign(args_[0].logical ? Arg(1) : Arg(2)); PushScratch(); return;
      case ExprOp::Int: PushNumber(std::trunc(Num(0))); return;
      case ExprOp::Left: scratch_.assign(Arg(0).substr(0, Count(Num(1)))); PushScratch(); return;
      case ExprOp::Right: {
        const std::string_view a = Arg(0);
        const std::size_t n = std::min(Count(Num(1)), a.size());
        scratch_.assign(a.substr(a.size() - n));
        PushScratch();
        return;
      }
      case ExprOp::Len: PushNumber(static_cast<double>(Arg(0).size())); return;
      case ExprOp::Lower:
      case ExprOp::Upper:
        scratch_.assign(Arg(0));
        for (char& c : scratch_) c = in.op == ExprOp::Lower ? LowCaseChar(c) : UpCaseChar(c);
        PushScratch();
        return;
      case ExprOp::Ltrim: {
        const std::string_view a = Arg(0);
        const std::size_t first = a.find_first_not_of(' ');
        scratch_.assign(first == std::string_view::npos ? std::string_view() : a.substr(first));
        PushScratch();
        return;
      }
      case ExprOp::Rtrim: {
        const std::string_view a = Arg(0);
        const std::size_t last = a.find_last_not_of(' ');
        scratch_.assign(last == std::string_view::npos ? std::string_view() : a.substr(0, last + 1));
        PushScratch();
        return;
      }
      case ExprOp::Max:
      case ExprOp::Min: {
        const bool firstWins = in.op == ExprOp::Max ? Num(0) > Num(1) : Num(0) < Num(1);
        PushNumber(firstWins ? Num(0) : Num(1), args_[0].type);
        return;
      }
      case ExprOp::Mod: {
        const double a = std::trunc(Num(0));
        const double b = std::trunc(Num(1));
        if (b == 0) {
          DivideByZero();
          PushNumber(0);
        } else if (std::fabs(a) < 9.2e18 && std::fabs(b) < 9.2e18) {
          PushNumber(static_cast<double>(static_cast<std::int64_t>(a) % static_cast<std::int64_t>(b)));
        } else {
          PushNumber(std::fmod(a, b));
        }
        return;
      }
      case ExprOp::Recno: {
        const WorkArea* area = CurrentWorkAreaRecord();
        PushNumber(area != nullptr && area->table.IsOpen() ? static_cast<double>(area->table.currentRecord) : 0);
        return;
      }
      case ExprOp::Replicate: {
        const std::string_view a = Arg(0);
        scratch_.clear();
        for (std::size_t i = 0, n = Count(Num(1)); i < n && !a.empty() && scratch_.size() < kMaxExprString; ++i) {
          scratch_.append(a);
        }
        PushScratch();
        return;
      }
      case ExprOp::Round: PushNumber(CutDecimals(Num(0), Num(1))); return;
      case ExprOp::Soundex: scratch_ = SoundexKey(std::string(Arg(0))); PushScratch(); return;
      case ExprOp::Space: scratch_.assign(std::min(Count(Num(0)), kMaxExprString), ' '); PushScratch(); return;
      case ExprOp::Str: Str(in.argumentCount); return;
      case ExprOp::Stuff: {
        const std::string_view a = Arg(0);
        std::size_t p = Count(Num(1));
        p = std::clamp<std::size_t>(p, 1, a.size() + 1) - 1;
        const std::size_t n = std::min(Count(Num(2)), a.size() - p);
        scratch_.assign(a.substr(0, p));
        scratch_.append(Arg(3));
        scratch_.append(a.substr(p + n));
        PushScratch();
        return;
      }
      case ExprOp::Substr: {
        const std::string_view a = Arg(0);
        const std::size_t p = std::max<std::size_t>(Count(Num(1)), 1) - 1;
        scratch_.assign(p >= a.size() ? std::string_view() : a.substr(p, Count(Num(2))));
        PushScratch();
        return;
      }
      case ExprOp::Val: PushNumber(LeadingNumber(Arg(0))); return;
      default: return;
    }
  }

  void Str(int count) {
    const double x = Num(0);
    std::size_t width = kDefaultStrWidth;
    std::size_t decimals = 0;
    if (count >= 2) width = std::min(Count(Num(1)), kMaxExprString);
    if (count >= 3) decimals = std::min<std::size_t>(Count(Num(2)), 20);
    char text[400];
    const int n = common::CSnprintf(text, sizeof text, "%.*f", static_cast<int>(decimals), x);
    const std::size_t length = n < 0 ? sizeof text : static_cast<std::size_t>(n);
    if (length > width || length >= sizeof text) {
      scratch_.assign(width, '*');
    } else {
      scratch_.assign(width - length, ' ');
      scratch_.append(text, length);
    }
    PushScratch();
  }

  // One scratch text for every evaluation, so that it keeps its capacity.
  static std::string& Scratch() {
    static std::string scratch;
    return scratch;
  }

  CompiledExpr& e_;
  std::array<ExprValue, 4> args_{};
  std::string& scratch_;
};

}  // namespace

const void* Evaluate(CompiledExpr* expr) {
  if (expr == nullptr) return nullptr;
  CurrentExpr = expr;
  Machine machine(*expr);
  machine.Run();
  if (expr->working.empty()) return nullptr;
  const ExprValue& v = expr->working.front();
  switch (v.type) {
    case kTypeChar:
    case kTypeMemo: return expr->pool.data() + v.offset;
    case kTypeLogical: return &v.logical;
    default: return &v.number;
  }
}

const void* EvaluateCurrent() { return Evaluate(CurrentExpr); }

std::string CompiledExpr::ResultText() const {
  if (working.empty() || (working.front().type != kTypeChar && working.front().type != kTypeMemo)) return {};
  return std::string(pool.data() + working.front().offset, working.front().length);
}

double CompiledExpr::ResultNumber() const { return working.empty() ? 0 : working.front().number; }

bool CompiledExpr::ResultLogical() const { return !working.empty() && working.front().logical != 0; }

}  // namespace dbase
