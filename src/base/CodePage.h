// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Text inside files (information chunks, titles, CSV lists) is code page 932 (windows-31j),
// whatever the desktop's locale. All conversions between those bytes and UTF-8 go through here.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/ByteString.h"

namespace tonekit {

// Bytes that do not form a character decode to U+FFFD, one per offending byte.
std::string decodeCp932(const ByteString& bytes);
std::string decodeCp932(std::string_view bytes);

struct Cp932Encoded {
  ByteString bytes;
  bool exact = true;  // false when a character had no code and became "?"
};

// Characters without a code (and malformed UTF-8) become "?".
Cp932Encoded encodeCp932(std::string_view utf8);

// The characters of utf8 that have no code, each once, in the order they first come; a malformed
// byte counts as U+FFFD. Empty when encodeCp932(utf8) is exact.
std::u32string unencodableCp932(std::string_view utf8);

// The bytes of utf8 when they decode back to exactly utf8; nothing otherwise. Some characters
// share a code with another (U+301C and U+FF5E both become 8160): fine for a title, but a file
// name written so would name another file.
std::optional<ByteString> encodeCp932Reversibly(std::string_view utf8);

// Characters as UTF-8 text (for naming the ones unencodableCp932 found).
std::string utf8Of(const std::u32string& chars);

// Whether utf8 is well-formed UTF-8.
bool isValidUtf8(std::string_view utf8);

// The code point of UTF-8 text at position i, moving i past it. Malformed input yields nothing
// and moves i by one byte.
std::optional<char32_t> nextUtf8CodePoint(std::string_view utf8, std::size_t& i);

// Whether the bytes decode and encode back to themselves.
bool roundTripsCp932(const ByteString& bytes);

}  // namespace tonekit
