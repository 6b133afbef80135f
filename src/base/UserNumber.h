// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Numbers the user types into the dialogs. Every entry check of the program reads its text
// through here so that all dialogs accept the same spellings and round the same way.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tonekit {

// The value of a typed number: blanks around it, an optional sign, digits with an optional
// decimal fraction ("2.5", ".5", "3.") and an optional decimal exponent ("1e3"). Anything else
// (an empty text, letters, two numbers, "inf", hexadecimal) is not a number.
std::optional<double> parseUserNumber(std::string_view text);

// Bounds included.
inline bool inUserRange(double value, double low, double high) { return value >= low && value <= high; }

// The nearest whole number, halves going to the even neighbour (2.5 gives 2, 3.5 gives 4).
double nearestWhole(double value);

// nearestWhole as a 32-bit integer; a value that does not fit raises overflow (6).
std::int32_t wholeNumber32(double value);

// nearestWhole as a byte; a value outside 0-255 raises overflow (6).
std::uint8_t wholeByte(double value);

// The number of an entry that passed its checks; one that is not a number raises type mismatch
// (13).
double checkedUserNumber(std::string_view text);

// The typed text made whole as a byte: not a number raises type mismatch (13), a value outside
// 0-255 overflow (6).
std::uint8_t userByte(std::string_view text);

}  // namespace tonekit
