// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Raw bytes as they stand in a file: header fields, chunk values, track chunks, single events.
// Never text; text goes through the code page module.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tonekit {

using ByteString = std::vector<std::uint8_t>;

ByteString bytesOf(std::string_view ascii);
std::string asciiOf(const ByteString& bytes);

// Bytes from a 1-based position, as many as are there (possibly none), never a failure.
ByteString midBytes(const ByteString& bytes, std::int64_t position1, std::int64_t count);

std::string toHex(const ByteString& bytes);                    // lower-case, no separators
std::optional<ByteString> fromHex(std::string_view hex);       // blanks allowed between pairs

}  // namespace tonekit
