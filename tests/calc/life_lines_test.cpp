// The life routines of both methods (din_strength_routines.h,
// iso_factor_routines.h over life_lines.h) swept over random valid inputs:
// every material group and heat treatment, both pitting modes, ZL ZV ZR
// from 0.8 to 1.4, modules 1 to 20 (whose size factors the safeties hold),
// root surface factors of 0.95 to 1.12, notch factors YdeltarelT of 0.9 to
// 1.1 at stress correction factors YS of 1.2 to 2.6 (whose static value
// ends the hardened and nitrided root lines) and safeties from 0.3 to 2. Three
// rules hold for every flank and root line:
// - a safety of 1 or more lasts: at least the knee's 2e6 cycles, no message;
// - the cycles never rise as the safety falls;
// - 0 cycles, and with them the message, come only beyond the line's static
//   end: the static factor times the endurance-only factors of the safety
//   at static stress (1 but for YdeltarelT) over them at endurance, or 1
//   where the endurance product lifts the knee above it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "calc/din_strength_routines.h"
#include "calc/iso_factor_routines.h"
#include "calc/life_lines.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "spur_test_pairs.h"

namespace calc {
namespace {

using calc_test::HasMessage;

struct Input {
  std::uint16_t group, heat, mode;
  Real zlvr, mn, yRrelT, YS, yDeltaRelT;
};

// The root's endurance-only factors besides YX at endurance and at static
// stress: YRrelT, and YdeltarelT where its static value is known.
Real NotchStatic(const Input& in) { return StaticNotchSensitivityFactor(in.heat, in.YS); }
Real RootEnduranceOthers(const Input& in) { return in.yRrelT * (NotchStatic(in) > 0 ? in.yDeltaRelT : 1); }
Real RootStaticProduct(const Input& in) { return NotchStatic(in) > 0 ? NotchStatic(in) : 1; }

// A life routine of one method and line: the cycles at a safety that holds
// the product of endurance-only factors, the message it says beyond the
// static end, that product, and the line's static factor by hand from the
// tables of DIN 3990-2/-3 and ISO 6336-2/-3 (nitrocarburized; nitrided and
// the cast irons of groups 5 and 6; the rest). DIN 3990 draws no line for
// the other materials (group 8) unless nitrided or nitrocarburized: they
// bear nothing beyond their endurance strength (a static factor of 0 here,
// so that the end is 1).
struct Routine {
  std::string name, message;
  std::function<void(const Input&, Real safety, Real product, Real& cycles, Real& hours)> life;
  // The endurance product, and the static factor times the product at
  // static stress.
  std::function<Real(const Input&)> endurance, staticFactor;
};

bool WithoutDinLine(const Input& in) { return in.group == 8 && (in.heat < 5 || in.heat > 7); }
bool OnNitridedLine(const Input& in) { return in.group == 5 || in.group == 6 || in.heat == 5 || in.heat == 6; }
Real FlankStatic(const Input& in) { return in.heat == 7 ? 1.1L : OnNitridedLine(in) ? 1.3L : 1.6L; }
Real RootStatic(const Input& in) { return in.heat == 7 ? 1.1L : OnNitridedLine(in) ? 1.6L : 2.5L; }

std::vector<Routine> Routines() {
  return {
      {"DIN flank", "Error  : Pitting",
       [](const Input& in, Real sh, Real product, Real& cycles, Real& hours) {
         hours = CalcPittingLife(in.heat, in.group, in.mode, sh, 1000, 1, product, cycles);
       },
       [](const Input& in) { return in.zlvr * CalcSizeFactorZX(in.heat, in.mn); },
       [](const Input& in) { return WithoutDinLine(in) ? 0 : FlankStatic(in); }},
      // The ISO set takes ZX at 1.
      {"ISO flank", "Error  : Pitting",
       [](const Input& in, Real sh, Real product, Real& cycles, Real& hours) {
         hours = CalcPittingLifeIso(in.heat, in.group, in.mode, sh, 1000, 1, product, 1, cycles);
       },
       [](const Input& in) { return in.zlvr; }, FlankStatic},
      {"DIN root", "Error  : fatigue fract.",
       [](const Input& in, Real sf, Real product, Real& cycles, Real& hours) {
         hours = CalcToothRootLife(in.heat, in.group, cycles, sf, 1000, 1, product, RootStaticProduct(in));
       },
       [](const Input& in) { return CalcSizeFactorYX(in.heat, in.group, in.mn) * RootEnduranceOthers(in); },
       [](const Input& in) { return WithoutDinLine(in) ? 0 : RootStatic(in) * RootStaticProduct(in); }},
      {"ISO root", "Error  : fatigue fract.",
       [](const Input& in, Real sf, Real product, Real& cycles, Real& hours) {
         hours = CalcToothRootLifeIso(in.heat, in.group, cycles, sf, 1000, 1, product, RootStaticProduct(in));
       },
       [](const Input& in) { return CalcSizeFactorYXIso(in.group, in.heat, in.mn) * RootEnduranceOthers(in); },
       [](const Input& in) { return RootStatic(in) * RootStaticProduct(in); }},
  };
}

TEST(LifeLines, EverySafetyOfBothMethodsOnItsLine) {
  common::SetKaldvarDefaults();
  std::mt19937 random(67);
  auto uniform = [&random](Real low, Real high) {
    return low + (high - low) * std::uniform_real_distribution<double>(0, 1)(random);
  };
  const std::vector<Routine> routines = Routines();
  for (int k = 0; k < 2000; ++k) {
    const Input in{static_cast<std::uint16_t>(1 + random() % 8), static_cast<std::uint16_t>(random() % 8),
                   static_cast<std::uint16_t>(random() % 2 == 0 ? 0 : 2), uniform(0.8L, 1.4L), uniform(1, 20),
                   uniform(0.95L, 1.12L), uniform(1.2L, 2.6L), uniform(0.9L, 1.1L)};
    std::vector<Real> safeties(12);
    for (Real& s : safeties) s = uniform(0.3L, 2);
    std::sort(safeties.begin(), safeties.end(), std::greater<>());
    // A line rated where it is read reads as the whole line rated (products: ZL ZV ZR, YRrelT).
    for (const LifeLineMethod method : {LifeLineMethod::Din, LifeLineMethod::Iso})
      for (const TLifeLine* line :
           {&FlankLifeLine(method, in.group, in.heat, in.mode), &RootLifeLine(method, in.group, in.heat)})
        for (const Real s : safeties)
          EXPECT_EQ(CyclesOnRatedLifeLine(*line, in.zlvr, in.yRrelT, 1 / s, "Error  : LtH"),
                    CyclesOnLifeLine(RatedLifeLine(*line, in.zlvr, in.yRrelT), 1 / s, "Error  : LtH"));
    for (const Routine& r : routines) {
      const Real product = r.endurance(in);
      const Real end = std::max(r.staticFactor(in) / product, Real(1));
      Real previous = 1e10L;
      for (const Real s : safeties) {
        SCOPED_TRACE(r.name + " group " + std::to_string(in.group) + " heat " + std::to_string(in.heat) + " mode " +
                     std::to_string(in.mode) + " ZLZVZR " + std::to_string(static_cast<double>(in.zlvr)) + " mn " +
                     std::to_string(static_cast<double>(in.mn)) + " safety " + std::to_string(static_cast<double>(s)));
        common::ClearErrorMessages();
        Real cycles = -1, hours = -1;
        r.life(in, s, product, cycles, hours);
        EXPECT_LE(cycles, previous);
        previous = cycles;
        EXPECT_EQ(HasMessage(r.message), cycles == 0);
        EXPECT_NEAR(hours, cycles / 60000, 1e-9L * cycles);
        if (s >= 1) {
          EXPECT_GE(cycles, 2e6L);
        } else if (std::fabs(1 / s - end) > 1e-9L) {
          EXPECT_EQ(cycles == 0, 1 / s > end) << "static end " << static_cast<double>(end);
        }
      }
    }
  }
}

}  // namespace
}  // namespace calc
