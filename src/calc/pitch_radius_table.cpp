// The radii of a formula curve kept while a picture is drawn; see
// pitch_radius_table.h.
#include "calc/pitch_radius_table.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace calc {

namespace {

// The bits of an angle: its significand and its sign with the exponent (an
// 80-bit real carries six bytes of padding, which are not compared).
struct AngleBits {
  std::uint64_t significand = 0;
  std::uint64_t signExponent = 0;
  bool operator==(const AngleBits&) const = default;
};

AngleBits BitsOf(Real phi) {
  AngleBits bits;
  if constexpr (std::numeric_limits<Real>::digits == 64) {
    unsigned char bytes[sizeof(Real)];
    std::memcpy(bytes, &phi, sizeof bytes);
    std::memcpy(&bits.significand, bytes, 8);
    std::uint16_t se;
    std::memcpy(&se, bytes + 8, 2);
    bits.signExponent = se;
  } else {
    static_assert(sizeof(Real) <= 16);
    unsigned char bytes[16] = {};
    std::memcpy(bytes, &phi, sizeof(Real));
    std::memcpy(&bits.significand, bytes, 8);
    std::memcpy(&bits.signExponent, bytes + 8, 8);
  }
  return bits;
}

struct AngleHash {
  std::size_t operator()(const AngleBits& b) const {
    const std::uint64_t h = (b.significand ^ (b.signExponent * 0xC2B2AE3D27D4EB4FULL)) * 0x9E3779B97F4A7C15ULL;
    return static_cast<std::size_t>(h ^ (h >> 32));
  }
};

bool Open = false;

std::unordered_map<AngleBits, TTabledRadius, AngleHash>& Table() {
  static std::unordered_map<AngleBits, TTabledRadius, AngleHash> table;
  return table;
}

}  // namespace

PitchRadiusTableScope::PitchRadiusTableScope() : outermost_(!Open) { Open = true; }

PitchRadiusTableScope::~PitchRadiusTableScope() {
  if (!outermost_) return;
  Open = false;
  // The memory too: a table of a large picture holds tens of thousands of
  // radii.
  std::unordered_map<AngleBits, TTabledRadius, AngleHash>().swap(Table());
}

bool PitchRadiusTableOpen() { return Open; }

const TTabledRadius* FindTabledRadius(Real phi) {
  const auto& table = Table();
  const auto it = table.find(BitsOf(phi));
  return it == table.end() ? nullptr : &it->second;
}

void KeepTabledRadius(Real phi, const TTabledRadius& radius) { Table()[BitsOf(phi)] = radius; }

}  // namespace calc
