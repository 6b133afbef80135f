// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The events of a Standard MIDI File: every track walked (running status, meta and system
// exclusive events), all tracks merged into one list ordered by time, and the tempo map.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/ByteString.h"

namespace tonekit::smf {

struct Event {
  std::uint64_t tick = 0;   // absolute, in the file's division
  std::uint16_t track = 0;  // index of the track chunk it came from
  std::uint8_t status = 0;  // 0x80-0xEF with the channel in the low bits; 0xF0/0xF7 sysex; 0xFF meta
  std::uint8_t data1 = 0;   // channel events: first data byte; meta events: the meta type
  std::uint8_t data2 = 0;   // channel events: second data byte (0 when the kind has one byte)
  ByteString payload;       // meta and sysex events: their data

  bool isChannel() const { return status >= 0x80 && status < 0xF0; }
  std::uint8_t kind() const { return static_cast<std::uint8_t>(status & 0xF0); }
  std::uint8_t channel() const { return static_cast<std::uint8_t>(status & 0x0F); }
};

struct TempoPoint {
  std::uint64_t tick = 0;
  std::uint32_t microsPerQuarter = 500000;  // the SMF default, 120 quarters a minute
};

struct Song {
  int format = 0;
  int division = 0;               // ticks per quarter note
  std::size_t trackCount = 0;     // track chunks found
  std::size_t brokenTracks = 0;   // tracks that ended early: cut off, or bytes that are no event
  std::vector<Event> events;      // by tick; at equal ticks earlier tracks first, then file order
  std::vector<TempoPoint> tempo;  // starts at tick 0; one point per tempo change, by tick
};

// A variable-length quantity (seven bits a byte, most significant first, a set top bit: another
// byte follows) read from p as far as end: its value (saturated far beyond any file size), the
// bytes it took and whether it ended before end did.
struct Quantity {
  std::uint64_t value = 0;
  std::size_t size = 0;
  bool complete = false;
};
Quantity readQuantity(const std::uint8_t* p, const std::uint8_t* end);

// Where the "MThd" header starts: its first occurrence anywhere, so a wrapped file is read too.
std::optional<std::size_t> findHeader(const ByteString& data);

// The song's title and copyright text as the file gives them; empty when it gives none. They are
// searched in the first track: from the first "MTrk" up to the next one, the bytes scanned rather
// than the events walked so that a damaged track still yields its name. The title is the earlier
// of the first text event (FF 01) and the first track name (FF 03); the copyright the first FF 02.
// A text whose length runs past the data takes what is there. Nothing when there is no "MTrk".
struct SongTexts {
  ByteString title;
  ByteString copyright;
};
std::optional<SongTexts> songTexts(const ByteString& data);

// Reads the file's bytes. A track cut short or holding bytes that are no event keeps the events
// read before the fault and counts in brokenTracks. No header, no track, a time division in
// SMPTE form or of 0, and format 2 (independent sequences) raise a Failure.
Song readSong(const ByteString& data);

}  // namespace tonekit::smf
