// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Every kind of extend-status event, in one table: which values it covers, the name the track
// grid shows, the timebase of a tempo, whether a length and data of its own follow, and which
// fields the data byte holds. The track walk, the grid's texts, the extend-status editor and
// the sound conversion all read it from here.
//
// An extend-status event: delta time, a status byte with pitch 63 (0xFF for the whole track,
// 0x3F, 0x7F, 0xBF for part 0-2), the value that names the kind, then one data byte, or for the
// ext-info kinds a 2-byte big-endian length and that many data bytes (EventCodec.h has the
// whole framing). The names below are those of the status 0xFF.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tonekit::events {

inline constexpr std::uint8_t kExtendStatus = 0xFF;
// The pitch field of the status byte that marks an extend-status event.
inline constexpr int kExtendPitch = 63;

// The extend-status values by name; a tempo's low four bits name its timebase.
namespace kind {
enum : std::uint8_t {
  MasterVolume = 0xB0,
  DrumScale = 0xB2,
  MasterTune = 0xB3,
  DrumChannel = 0xBA,  // converters' drum track: channel in bits 7-3, mode in 2-0 (1 drums, 0 melodic)
  Tempo = 0xC0,
  PlayPosition = 0xD0,
  Jump = 0xD1,  // later format versions: back to the track's cue point
  LoopPoint = 0xDD,
  Nop = 0xDE,
  EndOfTrack = 0xDF,
  VoiceLow = 0xE0,  // the low six bits of a GM program number
  VoiceTop = 0xE1,  // its top bit
  Volume = 0xE2,
  Balance = 0xE3,
  PitchBend = 0xE4,
  ChannelAssign = 0xE5,
  RelativeVolume = 0xE6,
  BendRange = 0xE7,
  Modulation = 0xEA,
  VoiceEdit = 0xF0,
  Vibrato = 0xF1,
  DeviceDependent = 0xFF,
};
}  // namespace kind

// What the data byte of an editable kind holds; one editor panel each, in the order of the
// editor's kind menu.
enum class Fields {
  MasterBolume,  // volume 0-255
  Volume,        // part, volume
  Stereo,        // part, balance
  ChangeVolume,  // part, signed change
  Chanel,        // part, channel
  Sound,         // part, tone (six bits for 0xE0, one bit for 0xE1)
  Tempo,         // tempo; the value names the timebase
  DramScale,     // channel, on/off
  NOP,           // nothing
  LoopPoint,     // loop id, count, start/end
  EndOfTrack,    // nothing
  PlayPosition,  // start/end
};
inline constexpr int kFieldsCount = 12;

// How the data byte of a kind divides into fields (bits 7 … 0).
enum class Layout {
  Whole,      // one number: all 8 bits
  PartValue,  // part: 7-6, value: 5-0
  PartBit,    // part: 7-6, value: bit 0; bits 5-1 spare (bit 1 set on every write)
  Loop,       // loop id: 7-6, count: 5-2, start/end: 1-0
  Drum,       // channel: 6-3, on/off: bit 0
  DrumMode,   // channel: 7-3, mode: 2-0
  Tune,       // value: 6-0 (64 is the centre)
};

struct ExtendKind {
  std::uint8_t first;  // the values it covers
  std::uint8_t last;
  const char* name;  // as the track grid's remark shows it; a tempo adds its timebase
  // A 2-byte length and that many data bytes follow the value instead of one data byte.
  bool hasLength;
  std::optional<Fields> fields;  // nothing: not editable
  Layout layout = Layout::Whole;
};

// The kind of an extend-status value; values the format does not name read as "Unknown".
const ExtendKind& extendKind(std::uint8_t value);
// Every kind of the table, in value order.
std::span<const ExtendKind> extendKinds();

// The first value of the kinds whose data holds these fields (0xE0 for Sound, 0xC0 for Tempo).
std::uint8_t firstValueOf(Fields fields);

inline bool isTempo(std::uint8_t value) { return (value & 0xF0) == kind::Tempo; }
// The tempo value of a timebase code (0-15) and back.
inline std::uint8_t tempoValue(int timebaseCode) { return static_cast<std::uint8_t>(kind::Tempo | (timebaseCode & 0x0F)); }
inline int timebaseCode(std::uint8_t tempoValue) { return tempoValue & 0x0F; }
// Ticks per quarter note of a tempo value (0xC0-0xCF): 6 … 384 and 15 … 960; nothing for the two
// unused codes 0xC7 and 0xCF and for any other value.
std::optional<int> tempoTimebase(std::uint8_t value);
// The grid's name of a value: "EndOfTrack", "テンポ 96", "Unknown", …
std::string extendKindName(std::uint8_t value);

// The audio voice of the later format versions: extend-status events of status 0x7F, which
// start and stop the sampled audio of the "adat" chunks.
inline constexpr std::uint8_t kAudioStatus = 0x7F;
namespace audio {
enum : std::uint8_t {
  Start = 0x00,  // entry in bits 5-0; with "exst" ≥ 1 the level in the next byte's bits 5-0
  Stop = 0x01,
  Level = 0x80,
  Pan = 0x81,
  Setting = 0x90,
};
}  // namespace audio
// The grid's name of an audio voice command; nothing for the commands it has none for.
std::optional<std::string> audioCommandName(std::uint8_t command);
// The name the grid shows for an extend-status event of this status byte and value.
std::string extendEventName(std::uint8_t status, std::uint8_t value);

}  // namespace tonekit::events
