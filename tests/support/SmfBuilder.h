// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Small Standard MIDI Files put together from their parts, for the tests.

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>
#include <algorithm>

#include "base/ByteString.h"

namespace tonekit::smftest {

inline ByteString operator+(ByteString a, const ByteString& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Seven bits a byte, most significant group first.
inline ByteString vlq(std::uint32_t value) {
  ByteString out{static_cast<std::uint8_t>(value & 0x7F)};
  while (value >>= 7) out.insert(out.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
  return out;
}

inline ByteString word(std::uint16_t v) { return {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)}; }

inline ByteString header(std::uint16_t format, std::uint16_t tracks, std::uint16_t division) {
  return bytesOf("MThd") + ByteString{0, 0, 0, 6} + word(format) + word(tracks) + word(division);
}

// A meta event with delta time 0.
inline ByteString meta(std::uint8_t type, const ByteString& data) {
  return ByteString{0x00, 0xFF, type} + vlq(static_cast<std::uint32_t>(data.size())) + data;
}
inline ByteString meta(std::uint8_t type, std::string_view ascii) { return meta(type, bytesOf(ascii)); }

inline ByteString noteOnOff(std::uint8_t key = 60) {
  return ByteString{0x00, 0x90, key, 0x64, 0x60, 0x80, key, 0x00};
}

// A track chunk of the events given (delta times included), closed by end of track, with its
// true length.
inline ByteString trackOf(ByteString body) {
  body = body + ByteString{0x00, 0xFF, 0x2F, 0x00};
  const auto n = static_cast<std::uint32_t>(body.size());
  return bytesOf("MTrk") + word(static_cast<std::uint16_t>(n >> 16)) + word(static_cast<std::uint16_t>(n)) + body;
}
inline ByteString track(std::initializer_list<ByteString> events) {
  ByteString body;
  for (const auto& e : events) body = body + e;
  return trackOf(body);
}

// Events at absolute ticks, for tracks written with their delta times worked out.
struct Timed {
  std::uint32_t tick;
  ByteString bytes;  // status and data, no delta time
};
using Events = std::vector<Timed>;

inline Events note(std::uint8_t channel, std::uint8_t key, std::uint32_t start, std::uint32_t end,
                   std::uint8_t velocity = 100) {
  return {{start, {static_cast<std::uint8_t>(0x90 | channel), key, velocity}},
          {end, {static_cast<std::uint8_t>(0x80 | channel), key, 0}}};
}
inline Timed tempo(std::uint32_t tick, std::uint32_t micros) {
  return {tick, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(micros >> 16), static_cast<std::uint8_t>(micros >> 8),
                 static_cast<std::uint8_t>(micros)}};
}
inline Events operator+(Events a, const Events& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A track chunk of the events in time order (equal ticks keep their order).
inline ByteString track(Events events) {
  std::stable_sort(events.begin(), events.end(), [](const Timed& a, const Timed& b) { return a.tick < b.tick; });
  ByteString body;
  std::uint32_t at = 0;
  for (const auto& e : events) body = body + vlq(e.tick - at) + e.bytes, at = e.tick;
  return trackOf(body);
}

}  // namespace tonekit::smftest
