// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "base/UserNumber.h"

#include <cfenv>
#include <charconv>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "base/Failure.h"

namespace tonekit {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// What a text box may hold around the number; the full-width space is what the Japanese input
// method types for a blank.
std::string_view trimBlanks(std::string_view text) {
  static constexpr std::string_view kWideSpace = "\xE3\x80\x80";
  for (;;) {
    if (!text.empty() && isBlank(text.front())) {
      text.remove_prefix(1);
    } else if (text.substr(0, kWideSpace.size()) == kWideSpace) {
      text.remove_prefix(kWideSpace.size());
    } else {
      break;
    }
  }
  for (;;) {
    if (!text.empty() && isBlank(text.back())) {
      text.remove_suffix(1);
    } else if (text.size() >= kWideSpace.size() && text.substr(text.size() - kWideSpace.size()) == kWideSpace) {
      text.remove_suffix(kWideSpace.size());
    } else {
      break;
    }
  }
  return text;
}

// Checks the shape first so that the conversion below never sees "inf", "nan", hexadecimal or
// a second number.
bool wellFormed(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == s.size();
}

// Roughly the power of ten of a well-formed unsigned number, enough to tell a huge one from a
// tiny one: positive for 1 and above.
long decimalMagnitude(std::string_view s) {
  long leading = 0;  // position of the first non-zero digit, counted from the decimal point
  bool seen = false, afterPoint = false;
  long integerDigits = 0, zerosAfterPoint = 0;
  std::size_t i = 0;
  for (; i < s.size() && (isDigit(s[i]) || s[i] == '.'); ++i) {
    if (s[i] == '.') {
      afterPoint = true;
      continue;
    }
    if (!afterPoint) {
      if (seen || s[i] != '0') ++integerDigits;
    } else if (!seen && s[i] == '0') {
      ++zerosAfterPoint;
    }
    if (s[i] != '0') seen = true;
  }
  leading = integerDigits > 0 ? integerDigits : -zerosAfterPoint;
  long exponent = 0;
  if (i < s.size()) {  // 'e' or 'E'
    ++i;
    const bool minus = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    for (; i < s.size(); ++i) exponent = std::min(exponent * 10 + (s[i] - '0'), 100000L);
    if (minus) exponent = -exponent;
  }
  return leading + exponent;
}

}  // namespace

std::optional<double> parseUserNumber(std::string_view text) {
  std::string_view s = trimBlanks(text);
  if (!wellFormed(s)) return std::nullopt;
  bool negative = false;
  if (s.front() == '+' || s.front() == '-') {
    negative = s.front() == '-';
    s.remove_prefix(1);  // from_chars takes no plus sign; the minus goes back on below
  }
  double value = 0.0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (end != s.data() + s.size()) return std::nullopt;
  // Beyond a double's range the text is a number all the same, only a huge or a tiny one; the
  // range checks and conversions then judge it.
  if (ec == std::errc::result_out_of_range) {
    value = decimalMagnitude(s) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (ec != std::errc()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

double nearestWhole(double value) {
  if (!std::isfinite(value)) return value;
  // The rounding mode is the program's default (to nearest, ties to even); say so explicitly
  // rather than rely on it.
  const int previous = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double whole = std::nearbyint(value);
  std::fesetround(previous);
  return whole;
}

std::int32_t wholeNumber32(double value) {
  const double whole = nearestWhole(value);
  if (!(whole >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) &&
        whole <= static_cast<double>(std::numeric_limits<std::int32_t>::max())))
    throw Failure::of(err::Overflow);
  return static_cast<std::int32_t>(whole);
}

std::uint8_t wholeByte(double value) {
  const double whole = nearestWhole(value);
  if (!(whole >= 0.0 && whole <= 255.0)) throw Failure::of(err::Overflow);
  return static_cast<std::uint8_t>(whole);
}

double checkedUserNumber(std::string_view text) {
  const auto value = parseUserNumber(text);
  if (!value) throw Failure::of(err::TypeMismatch);
  return *value;
}

std::uint8_t userByte(std::string_view text) { return wholeByte(checkedUserNumber(text)); }

}  // namespace tonekit
