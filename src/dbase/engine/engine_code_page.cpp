// Code page 850 <-> ISO 8859-1, one to one.
#include "dbase/engine/engine_code_page.h"

#include <array>
#include <cstdint>

#include "common/c_locale_numbers.h"
#include "common/code_page.h"

namespace dbase {

namespace {

struct Tables {
  std::array<unsigned char, 256> toAnsi{};
  std::array<unsigned char, 256> toOem{};
};

Tables BuildTables() {
  Tables t;
  std::array<bool, 256> taken{};
  for (int b = 0; b < 128; ++b) {
    t.toAnsi[b] = static_cast<unsigned char>(b);
    taken[b] = true;
  }
  // Characters that ISO 8859-1 has keep their code point.
  for (int b = 128; b < 256; ++b) {
    const char32_t u = common::Cp850ToUnicode(static_cast<std::uint8_t>(b));
    if (u >= 0xA0 && u <= 0xFF && !taken[u]) {
      t.toAnsi[b] = static_cast<unsigned char>(u);
      taken[u] = true;
    } else {
      t.toAnsi[b] = 0;  // placed below
    }
  }
  // The rest fill the free positions in order.
  int free = 128;
  for (int b = 128; b < 256; ++b) {
    if (t.toAnsi[b] != 0) continue;
    while (taken[free]) ++free;
    t.toAnsi[b] = static_cast<unsigned char>(free);
    taken[free] = true;
  }
  for (int b = 0; b < 256; ++b) t.toOem[t.toAnsi[b]] = static_cast<unsigned char>(b);
  return t;
}

const Tables& Maps() {
  static const Tables tables = BuildTables();
  return tables;
}

}  // namespace

void OemToAnsiBuffer(char* buffer, std::size_t length) {
  const auto& map = Maps().toAnsi;
  for (std::size_t i = 0; i < length; ++i) buffer[i] = static_cast<char>(map[static_cast<unsigned char>(buffer[i])]);
}

void AnsiToOemBuffer(char* buffer, std::size_t length) {
  const auto& map = Maps().toOem;
  for (std::size_t i = 0; i < length; ++i) buffer[i] = static_cast<char>(map[static_cast<unsigned char>(buffer[i])]);
}

std::string OemToAnsiStr(const std::string& text) {
  std::string out = text;
  OemToAnsiBuffer(out.data(), out.size());
  return out;
}

std::string AnsiToOemStr(const std::string& text) {
  std::string out = text;
  AnsiToOemBuffer(out.data(), out.size());
  return out;
}

std::string AnsiToUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

Utf8Loss Utf8ToAnsiChecked(const std::string& text, std::string& out, std::string& lost) {
  out.clear();
  out.reserve(text.size());
  lost.clear();
  Utf8Loss first = Utf8Loss::None;
  auto note = [&](Utf8Loss loss, std::string what) {
    out.push_back('?');
    if (first != Utf8Loss::None) return;
    first = loss;
    lost = std::move(what);
  };
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      out.push_back(text[i]);
      ++i;
      continue;
    }
    int extra = 0;
    char32_t cp = 0;
    if ((b & 0xE0) == 0xC0) {
      extra = 1;
      cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2;
      cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3;
      cp = b & 0x07;
    }
    bool ok = extra > 0 && i + static_cast<std::size_t>(extra) < text.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (c & 0x3F);
    }
    // An overlong form (C0 8A for a line feed) is not the character it
    // spells: it could smuggle a line end or a quote past a check of bytes.
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      note(Utf8Loss::NotUtf8, common::CFormat("the byte 0x%02X", static_cast<unsigned>(b)));
      ++i;
      continue;
    }
    const std::size_t length = static_cast<std::size_t>(extra) + 1;
    if (cp <= 0xFF) {
      out.push_back(static_cast<char>(cp));
    } else {
      note(Utf8Loss::BeyondCodePage, text.substr(i, length) + common::CFormat(" (U+%04X)", static_cast<unsigned>(cp)));
    }
    i += length;
  }
  return first;
}

std::string Utf8ToAnsi(const std::string& text) {
  std::string out;
  std::string lost;
  Utf8ToAnsiChecked(text, out, lost);
  return out;
}

}  // namespace dbase
