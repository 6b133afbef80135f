// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "base/CodePage.h"

#include <algorithm>
#include <cstdint>

namespace tonekit {
namespace {

struct CodePair {
  std::uint16_t from;
  std::uint16_t to;
};

#include "base/cp932_table.inc"

constexpr char32_t kReplacement = 0xFFFD;

bool isLeadByte(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool lookup(const CodePair* begin, const CodePair* end, std::uint32_t key, std::uint16_t& out) {
  if (key > 0xFFFF) return false;
  const auto it = std::lower_bound(begin, end, key, [](const CodePair& p, std::uint32_t k) { return p.from < k; });
  if (it == end || it->from != key) return false;
  out = it->to;
  return true;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

template <typename Bytes>
std::string decodeImpl(const Bytes& bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  const std::size_t n = bytes.size();
  const CodePair* begin = std::begin(kDecode);
  const CodePair* end = std::end(kDecode);
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<std::uint8_t>(bytes[i]);
    std::uint16_t u = 0;
    if (isLeadByte(b) && i + 1 < n) {
      const auto t = static_cast<std::uint8_t>(bytes[i + 1]);
      if (lookup(begin, end, static_cast<std::uint32_t>(b) << 8 | t, u)) {
        appendUtf8(out, u);
        i += 2;
        continue;
      }
      appendUtf8(out, kReplacement);
      ++i;
      continue;
    }
    if (lookup(begin, end, b, u) && !isLeadByte(b)) {
      appendUtf8(out, u);
    } else {
      appendUtf8(out, kReplacement);
    }
    ++i;
  }
  return out;
}

}  // namespace

std::string utf8Of(const std::u32string& chars) {
  std::string out;
  for (const char32_t c : chars) appendUtf8(out, c);
  return out;
}

std::optional<char32_t> nextUtf8CodePoint(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<std::uint8_t>(s[i]);
  int extra = 0;
  char32_t c = 0;
  if (b0 < 0x80) {
    ++i;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    c = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    c = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    c = b0 & 0x07;
  } else {
    ++i;
    return std::nullopt;
  }
  if (i + extra >= s.size()) {
    ++i;
    return std::nullopt;
  }
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<std::uint8_t>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return std::nullopt;
    }
    c = (c << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are no characters: a name that holds
  // them is no UTF-8 text.
  constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
  if (c < kShortest[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
    ++i;
    return std::nullopt;
  }
  i += extra + 1;
  return c;
}

std::string decodeCp932(const ByteString& bytes) { return decodeImpl(bytes); }
std::string decodeCp932(std::string_view bytes) { return decodeImpl(bytes); }

Cp932Encoded encodeCp932(std::string_view utf8) {
  Cp932Encoded result;
  result.bytes.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const std::optional<char32_t> c = nextUtf8CodePoint(utf8, i);
    std::uint16_t code = 0;
    if (c && lookup(std::begin(kEncode), std::end(kEncode), *c, code)) {
      if (code > 0xFF) result.bytes.push_back(static_cast<std::uint8_t>(code >> 8));
      result.bytes.push_back(static_cast<std::uint8_t>(code & 0xFF));
    } else {
      result.bytes.push_back('?');
      result.exact = false;
    }
  }
  return result;
}

std::u32string unencodableCp932(std::string_view utf8) {
  std::u32string missing;
  std::uint16_t code = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t c = nextUtf8CodePoint(utf8, i).value_or(kReplacement);
    if (lookup(std::begin(kEncode), std::end(kEncode), c, code)) continue;
    if (missing.find(c) == std::u32string::npos) missing.push_back(c);
  }
  return missing;
}

std::optional<ByteString> encodeCp932Reversibly(std::string_view utf8) {
  Cp932Encoded encoded = encodeCp932(utf8);
  if (!encoded.exact || decodeCp932(encoded.bytes) != utf8) return std::nullopt;
  return std::move(encoded.bytes);
}

bool isValidUtf8(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();)
    if (!nextUtf8CodePoint(utf8, i)) return false;
  return true;
}

bool roundTripsCp932(const ByteString& bytes) {
  const auto back = encodeCp932(decodeCp932(bytes));
  return back.exact && back.bytes == bytes;
}

}  // namespace tonekit
