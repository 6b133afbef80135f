// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// How MFi sounds as MIDI and MIDI comes back as MFi: keys, channels, levels, bends, controllers
// and programs. The export and the import share this one table.

#include <cstdint>
#include <optional>
#include <utility>

namespace tonekit::events {

// Keys: pitch 0 sounds as MIDI key 45, on a percussion channel as key 35 (the kick drum, so that
// the pitches walk the General MIDI drum map); the octave shift codes 0-3 move it by 0, +12,
// -24, -12.
int keyOf(int pitch, int octaveShift, bool percussion = false);
// The pitch and shift code that sound a key; the shift only when the key lies outside the
// unshifted range. Nothing for keys no pitch reaches.
std::optional<std::pair<int, int>> pitchOfKey(int key, bool percussion = false);

// The MIDI channel that plays percussion unless a drum scale change says otherwise.
inline constexpr int kPercussionChannel = 9;

// MIDI's seven-bit controller value of a six-bit level (volume, balance, expression,
// modulation), and the level of a controller value.
int midiLevelOf(int level);
int levelOfMidi(int value);
// The pitch bend's six-bit value (centre kBendCentre) as a 14-bit MIDI bend, its top seven bits
// the value twice and its low seven 0; and the value of a MIDI bend.
int midiBendOf(int value);
int bendOfMidi(int bend);
// MIDI's controller numbers the sound path sends, and its registered parameters.
namespace midi {
enum : int {
  Modulation = 1,
  DataEntry = 6,
  Volume = 7,
  Pan = 10,
  Expression = 11,
  DataEntryLow = 38,
  ParameterLow = 100,
  ParameterHigh = 101,
};
enum : int { BendRangeParameter = 0, FineTuneParameter = 1 };
}  // namespace midi
// The part kind whose six-bit level a controller carries: volume, balance, the relative volume
// change (the expression) and modulation; nothing for the others.
std::optional<std::uint8_t> kindOfController(int number);

// A GM program number (0-127) from the voice kinds' values: 0xE0 holds its low six bits, 0xE1
// its top bit; and the two values of a program.
int programOf(int topBit, int lowBits);
std::pair<std::uint8_t, std::uint8_t> voiceValuesOf(int program);  // top bit, low six bits

// The MIDI channel a part of a track plays on until a channel assignment moves it.
int channelOf(int track, int part);

}  // namespace tonekit::events
