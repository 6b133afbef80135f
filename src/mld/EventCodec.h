// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The one codec of track events: every byte of a note or an extend-status event means what this
// module says, and nothing else in the program takes an event apart or puts one together.
//
// decode and encode are exact inverses on every byte string: an event cut off at the end of a
// track, bytes behind a whole event and kinds nobody names all come back byte for byte.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <variant>

#include "base/ByteString.h"
#include "mld/ExtendKinds.h"

namespace tonekit::events {

// How a file's events are cut: the note length (3 or 4) and the number of data bytes that
// follow the first one of an extend-status command below 0x80 (the value of the "exst" chunk).
// A bare note length means no "exst" chunk.
struct Framing {
  int noteLength = 3;
  std::uint32_t exst = 0;
  constexpr Framing(int length = 3, std::uint32_t exstValue = 0) : noteLength(length), exst(exstValue) {}  // NOLINT
};

// The status byte of every extend-status event carries pitch 63; its part field says whether it
// belongs to the whole track (3, the status 0xFF) or to part 0-2 (0x3F, 0x7F, 0xBF). The command
// byte after it decides the length: from 0xF0 a 2-byte length and that many bytes, from 0x80 one
// data byte, below 0x80 one data byte and the "exst" bytes.
inline bool isExtendStatus(std::uint8_t status) { return (status & 0x3F) == kExtendPitch; }
inline bool hasLengthField(std::uint8_t command) { return command >= 0xF0; }
inline bool takesExstBytes(std::uint8_t command) { return command < 0x80; }

// A note: delta time, part (channel field, 0-3), pitch (0-62), gate time, and with 4-byte notes velocity (0-63) and
// octave shift code (0-3).
struct Note {
  std::uint8_t delta = 0, part = 0, pitch = 0, gate = 0;
  std::uint8_t velocity = 0, octaveShift = 0;
  ByteString extra;  // bytes behind the note, kept as they are
  bool operator==(const Note&) const = default;
};

// An extend-status event with one data byte. Its fields follow the kind's layout (ExtendKinds.h);
// fields the layout has not stay 0, and data bits the layout leaves unnamed stay in `spare` at
// their place.
struct Extend {
  std::uint8_t delta = 0;
  std::uint8_t kind = 0;   // the extend-status value; a tempo's low bits are its timebase code
  std::uint8_t part = 0;   // 0-3
  std::uint8_t value = 0;  // level, voice bits, tempo, loop count, drum channel, tune, bend …
  std::uint8_t id = 0;     // loop id 0-3
  std::uint8_t mark = 0;   // loop start/end bits (01 ends), drum scale on (1)
  std::uint8_t spare = 0;
  std::uint8_t status = kExtendStatus;  // 0x3F, 0x7F, 0xBF: an event of part 0-2
  ByteString more;                      // a command below 0x80: the "exst" bytes after the data byte
  ByteString extra;                     // bytes behind the event
  bool operator==(const Extend&) const = default;
};

// An extend-status event of a kind with a length of its own: the 2-byte length is data.size().
struct ExtInfo {
  std::uint8_t delta = 0;
  std::uint8_t kind = 0;
  ByteString data;
  ByteString extra;
  std::uint8_t status = kExtendStatus;
  bool operator==(const ExtInfo&) const = default;
};

// Bytes that are not one whole event: the cut-off end of a track, or nothing at all.
struct Fragment {
  ByteString bytes;
  bool operator==(const Fragment&) const = default;
  // What the bytes there say so far.
  std::optional<std::uint8_t> delta() const;
  std::optional<std::uint8_t> part() const;
  std::optional<std::uint8_t> pitch() const;
  bool extendStatus() const;                  // its status byte is one of an extend-status event
  std::optional<std::uint8_t> third() const;  // gate time, or the extend-status value
};

using Event = std::variant<Note, Extend, ExtInfo, Fragment>;

Event decode(const ByteString& bytes, Framing framing);
ByteString encode(const Event& event, int noteLength);

// The size of the event starting at `offset` inside events[0, end): the note length for notes,
// 4 (+ exst for a command below 0x80) for extend-status events, 5 + length for ext-info events;
// never more than is left before end, so a cut-off last event is as long as what remains of it.
// offset must be below end.
std::size_t frameSize(const std::uint8_t* events, std::size_t offset, std::size_t end, Framing framing);

// The delta time of any event (0 for an empty fragment), and a new one.
std::uint8_t deltaOf(const Event& event);
void setDelta(Event& event, std::uint8_t delta);

// The grid's and the editors' view: an event whose pitch field is 63, whatever the channel, is an
// extend-status row.
bool isExtendRow(const Event& event);
// Any bytes read as an extend-status event with their own status byte, one data byte and
// whatever follows it in `extra`; a byte they lack reads as 0.
Extend extendOf(const ByteString& bytes);

// Any bytes read as a note, whatever their status byte; a byte they lack reads as 0.
Note noteOf(const ByteString& bytes, int noteLength);

// An extend-status event of a kind, its fields given; the voice's top bit gets its write mark.
Extend extendEvent(std::uint8_t delta, std::uint8_t kind, std::uint8_t part, std::uint8_t value);
// The fields of a data byte of a kind, and the data byte of the fields.
Extend fieldsOf(std::uint8_t kind, std::uint8_t data);
std::uint8_t dataOf(const Extend& event);

// The editor's entries, made whole only after they are scaled to their place in the data byte
// and then combined (so a part of 2.5 sets bit 5 as well). Raises 6 when a number does not fit.
struct DataEntries {
  double part = 0;
  double value = 0;  // signed for the relative volume change
  double id = 0;
  bool mark = false;  // loop end, drum scale on
};
std::uint8_t dataFromEntries(std::uint8_t kind, const DataEntries& entries);

// The relative volume change as a signed step (-32 … 31) and back; sign and magnitude, not two's
// complement: -1 is 0x20, -32 is 0x3F.
int relativeChange(std::uint8_t value);
std::uint8_t relativeChangeValue(int change);

// The pitch bend's six-bit value: its centre.
inline constexpr int kBendCentre = 32;
// The master tune's seven-bit value: 64 is in tune, as in MIDI's fine tuning, whose top byte it is.
inline constexpr int kTuneCentre = 64;

// The values of volume, balance and the other six-bit fields.
inline constexpr int kHighestLevel = 63;

// Tempo values the format knows; a lower one leaves the tempo in force.
inline constexpr int kLowestTempo = 20;
inline constexpr int kHighestTempo = 255;
// The length of one tick at a tempo (quarter notes a minute) and timebase (ticks a quarter).
double secondsPerTick(int tempo, int timebase);
double microsPerTick(int tempo, int timebase);

}  // namespace tonekit::events
