// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "base/ByteString.h"

#include <algorithm>

namespace tonekit {

ByteString bytesOf(std::string_view ascii) { return ByteString(ascii.begin(), ascii.end()); }

std::string asciiOf(const ByteString& bytes) { return std::string(bytes.begin(), bytes.end()); }

ByteString midBytes(const ByteString& bytes, std::int64_t position1, std::int64_t count) {
  if (position1 < 1 || count <= 0) return {};
  const auto size = static_cast<std::int64_t>(bytes.size());
  const std::int64_t start = position1 - 1;
  if (start >= size) return {};
  const std::int64_t n = std::min(count, size - start);
  return ByteString(bytes.begin() + start, bytes.begin() + start + n);
}

std::string toHex(const ByteString& bytes) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (auto b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 0x0F]);
  }
  return out;
}

static int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<ByteString> fromHex(std::string_view hex) {
  ByteString out;
  int high = -1;
  for (char c : hex) {
    if (c == ' ' || c == '\t') {
      if (high >= 0) return std::nullopt;  // a blank inside a pair
      continue;
    }
    const int v = hexValue(c);
    if (v < 0) return std::nullopt;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(static_cast<std::uint8_t>(high * 16 + v));
      high = -1;
    }
  }
  if (high >= 0) return std::nullopt;
  return out;
}

}  // namespace tonekit
