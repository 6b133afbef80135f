// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// An MLD melody as a Standard MIDI File (format 1). Ticks are copied one to one and every tempo
// event becomes a tempo meta event, so the file keeps the melody's own timing; notes and the
// controls General MIDI knows are mapped, loop points and play positions become markers.
// Percussion plays on MIDI channel 10, where General MIDI players look for it: the channel of
// track 2, part 1 unless drum scale changes turn other channels to percussion or it away.
//
// Track 0 of the file carries the title, the copyright text and the tempo map; track k + 1
// carries MLD track k.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/ByteString.h"
#include "mld/clsNote.h"

namespace tonekit {

class TrackCollection;
class clsMLD;
}

namespace tonekit::sound {

// Ticks per quarter note in the files written. The slowest legal setting, tempo 20 at timebase
// 6, makes one tick 0.5 s long; a quarter note of kDivision ticks must fit the tempo meta
// event's 24 bits (16,777,215 µs). 24 gives 12,000,000 µs and is the largest of the customary
// divisions that fits (48 would need 24,000,000).
inline constexpr int kDivision = 24;
// In force until the first tempo event: one tick is then 60 / (120 × 48) s.
inline constexpr int kDefaultTimebase = 48;
inline constexpr int kDefaultTempo = 120;
// 3-byte notes carry no velocity; they all sound at this one.
inline constexpr int kFixedVelocity = 100;

// What a melody is made of: the events of each track (index = MLD track number), the note
// length, and the title and copyright bytes as the file holds them (empty: not written).
struct Melody {
  std::vector<std::vector<clsNote>> tracks;
  int noteLength = 3;
  std::uint32_t exst = 0;  // the "exst" value: data bytes of extend-status commands below 0x80
  ByteString title;
  ByteString copyright;
  // Later format versions: per track, the event its "cuep" offset points at, where a jump (0xD1)
  // goes back to. Nothing for a track the chunk does not name or whose offset falls inside an
  // event or past the end; such a track's jumps go back to its last play start, else its start.
  std::vector<std::optional<std::size_t>> cuePoints;
  // Per track, where its events stop being whole (damageOf); what does not frame is left out.
  std::vector<std::optional<std::size_t>> damage;
  // The "adat" chunks, whole, in file order: the entries the audio voice starts by number.
  std::vector<ByteString> audioChunks;
};

// One track as an editor holds it, in place of what the document stores.
struct EditedTrack {
  std::size_t track = 0;
  std::vector<clsNote> events;
};

// The document's tracks trac0, trac1, … as they stand in memory (edited in place of its own
// when given), cut with the document's note length unless another is given. Raises 5 for a
// document that was never read and 9 for one without tracks.
Melody melodyOf(const clsMLD& doc, std::optional<int> noteLength = std::nullopt,
                const std::optional<EditedTrack>& edited = std::nullopt);
// The melody of a track collection read with noteLength and exst, "cuep" (when the document has
// one) pointing into it; melodyOf is this with the document's own values, title and copyright.
// Raises 9 when there is no track.
Melody melodyOfTracks(const TrackCollection& tracks, int noteLength, std::uint32_t exst, const ByteString* cuep,
                      const std::optional<EditedTrack>& edited = std::nullopt);

struct ExportOptions {
  // Only this track sounds; the others still give their tempo events.
  std::optional<int> onlyTrack;
  // For rendering and playback: every loop plays as often as its count says, count 0 (endless
  // on a phone) twice, then the melody goes on; a jump back to the cue point the same way, its
  // data byte being the count. Export keeps the markers and never unrolls.
  bool unroll = false;
  // Start at the first time this event (track, index) plays: what came before is left out except
  // the state it set (voices, volumes, tempo), which is sent at the start.
  std::optional<std::pair<int, std::size_t>> fromEvent;
  // For rendering and playback: the file on the time grid below instead of the melody's ticks.
  bool timeGrid = false;
  // With unrolling: where repeats would make the melody longer than this many seconds, it ends
  // there (its notes released), so that a loop counted too high still renders.
  std::optional<double> maxSeconds;
};

// Ticks per quarter note of the files written on the time grid (ExportOptions::timeGrid), at the one tempo
// kTimeGridMicrosPerQuarter: a tick is 0.1 ms. FluidSynth's player rounds its position to a whole
// tick at every tempo event, and at 24 ticks a quarter note those roundings add up to tens of
// milliseconds over a song; on a grid of time with no tempo event after the first, nothing adds up.
inline constexpr int kTimeGridDivision = 10'000;
inline constexpr std::uint32_t kTimeGridMicrosPerQuarter = 1'000'000;

// Why repeats stopped before their counts said.
inline constexpr const char* kStoppedByLength = "length_limit";
inline constexpr const char* kStoppedByEvents = "event_limit";
struct RepeatsStopped {
  double atSeconds = 0;
  std::string reason;  // kStoppedByLength or kStoppedByEvents
};

struct Counts {
  std::int64_t notes = 0;
  std::int64_t droppedNotes = 0;               // key outside 0-127
  std::map<std::string, std::int64_t> skipped;  // by kind: "0xF1", "incomplete"; parts: "0xBF_0xE2"
  std::set<int> channels;                       // MIDI channels the melody uses
  std::int64_t tempoChanges = 0;
  std::int64_t loops = 0;                       // loop start points
  std::int64_t jumps = 0;                       // jump events (0xD1)
  std::int64_t ticks = 0;                       // the end: last event or end of the last note
  double durationSeconds = 0;
  std::int64_t damagedTracks = 0;  // tracks that do not frame to an end-of-track
  std::int64_t audioEvents = 0;    // commands of the audio voice, not played
  // Device-dependent events (0xFF) that carry data: vendors keep their own audio there, which
  // no General MIDI synthesizer plays.
  std::int64_t vendorAudioEvents = 0;
  // With unrolling: where loops and jumps stopped going back before their counts said.
  std::optional<RepeatsStopped> repeatsStopped;
};

// A command of the audio voice (status 0x7F): start, stop, level, pan or setting of the sampled
// audio of the "adat" chunks, with the event's bytes.
struct AudioEvent {
  std::int64_t tick;
  int track;
  std::uint8_t command;
  ByteString bytes;
  double seconds = 0;  // when it plays, on the clock of the file written
};

// Where an MLD event sounds in the written file, for following the music in the track view.
// The tick is the file's: MLD ticks for export, the time grid for rendering and playback.
struct Cue {
  std::int64_t tick;
  int track;
  std::size_t event;
};

struct Conversion {
  ByteString smf;
  Counts counts;
  std::vector<Cue> cues;  // in tick order, ticks of the file written
  std::vector<AudioEvent> audio;  // in track order
};

// Raises 9 when onlyTrack or fromEvent names no track.
Conversion convert(const Melody& melody, const ExportOptions& options = {});

}  // namespace tonekit::sound
