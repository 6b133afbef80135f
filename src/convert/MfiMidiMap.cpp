// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "convert/MfiMidiMap.h"

#include <algorithm>

#include "mld/EventCodec.h"
#include "mld/ExtendKinds.h"

namespace tonekit::events {
namespace {

constexpr int kPartShift = 6;
constexpr std::uint8_t kValueBits = 0x3F;
constexpr int kHighestPitch = 62;
constexpr int kKeyOfPitchZero = 45;
constexpr int kDrumKeyOfPitchZero = 35;
// Octave shift codes 0-3.
constexpr int kOctaveShift[4] = {0, 12, -24, -12};

}  // namespace

int keyOf(int pitch, int octaveShift, bool percussion) {
  return (percussion ? kDrumKeyOfPitchZero : kKeyOfPitchZero) + pitch + kOctaveShift[octaveShift & 0x03];
}

std::optional<std::pair<int, int>> pitchOfKey(int key, bool percussion) {
  // Unshifted where the pitch range reaches; above it one octave up, below it one or two down.
  const int zero = percussion ? kDrumKeyOfPitchZero : kKeyOfPitchZero;
  int code = 0;
  if (key > zero + kHighestPitch)
    code = 1;
  else if (key < zero + kOctaveShift[3])
    code = 2;
  else if (key < zero)
    code = 3;
  const int pitch = key - zero - kOctaveShift[code];
  if (pitch < 0 || pitch > kHighestPitch) return std::nullopt;
  return std::make_pair(pitch, code);
}

int midiLevelOf(int level) { return (level & kValueBits) * 2; }
int levelOfMidi(int value) { return std::clamp(value, 0, 127) / 2; }
int midiBendOf(int value) { return midiLevelOf(value) << 7; }
int bendOfMidi(int bend) { return levelOfMidi(bend >> 7); }

std::optional<std::uint8_t> kindOfController(int number) {
  switch (number) {
    case midi::Modulation: return kind::Modulation;
    case midi::Volume: return kind::Volume;
    case midi::Pan: return kind::Balance;
    case midi::Expression: return kind::RelativeVolume;
    default: return std::nullopt;
  }
}

int programOf(int topBit, int lowBits) { return (topBit & 0x01) << kPartShift | (lowBits & kValueBits); }

std::pair<std::uint8_t, std::uint8_t> voiceValuesOf(int program) {
  return {static_cast<std::uint8_t>((program >> kPartShift) & 0x01), static_cast<std::uint8_t>(program & kValueBits)};
}

int channelOf(int track, int part) { return (track * 4 + part) & 0x0F; }

}  // namespace tonekit::events
