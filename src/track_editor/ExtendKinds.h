#pragma once
// Every kind of extend-status event, in one table: which values it covers, the name the track
// grid shows, the timebase of a tempo, whether a length and data of its own follow, and which
// fields the data byte holds. The track walk, the grid's texts, the extend-status editor and
// the sound conversion all read it from here.
//
// An extend-status event: delta time, the status byte 0xFF (channel 3, pitch 63), the value
// that names the kind, then one data byte, or for the ext-info kinds a 2-byte big-endian length
// and that many data bytes.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tonekit::events {

inline constexpr std::uint8_t kExtendStatus = 0xFF;
// The pitch field of the status byte that marks an extend-status event.
inline constexpr int kExtendPitch = 63;

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

struct ExtendKind {
  std::uint8_t first;  // the values it covers
  std::uint8_t last;
  const char* name;  // as the track grid's remark shows it; a tempo adds its timebase
  // A 2-byte length and that many data bytes follow the value instead of one data byte.
  bool hasLength;
  std::optional<Fields> fields;  // nothing: not editable
};

// The kind of an extend-status value; values the format does not name read as "Unknown".
const ExtendKind& extendKind(std::uint8_t value);
// Every named kind, in value order.
std::span<const ExtendKind> extendKinds();

// The first value of the kinds whose data holds these fields (0xE0 for Sound, 0xC0 for Tempo).
std::uint8_t firstValueOf(Fields fields);

inline bool isTempo(std::uint8_t value) { return value >= 0xC0 && value <= 0xCF; }
// Ticks per quarter note of a tempo value (0xC0-0xCF): 6 … 384 and 15 … 960; nothing for the two
// unused codes 0xC7 and 0xCF and for any other value.
std::optional<int> tempoTimebase(std::uint8_t value);
// The grid's name of a value: "EndOfTrack", "テンポ 96", "Unknown", …
std::string extendKindName(std::uint8_t value);

}  // namespace tonekit::events
