// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Unsigned big-endian numbers of 1 to 8 bytes: the byte order of MLD and Standard MIDI Files.

#include <cstddef>
#include <cstdint>

#include "base/ByteString.h"

namespace tonekit {

// The number in the bytes bytes at p (the caller has checked that they are there).
inline std::uint64_t readBigEndian(const std::uint8_t* p, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | p[i];
  return value;
}

// Appends the low bytes bytes of value, the most significant first.
inline void appendBigEndian(ByteString& out, std::uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace tonekit
