// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Export → import → export: the melody's notes and the controls they play with come back.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <map>

#include "RingtoneBuilder.h"
#include "TempDir.h"

#include "mld/clsMLD.h"
#include "convert/MidiImport.h"
#include "smf/SmfEvents.h"
#include "convert/MidiExport.h"

using namespace tonekit;

namespace {

struct Note {
  int channel, key, velocity;
  // Program, volume, pan, expression, modulation, bend (top byte), bend range of the channel when
  // the note starts.
  std::array<int, 7> controls;
  double start, end;            // microseconds
  double startTick, endTick;    // microseconds of one tick there
};

// The file's notes by channel and start, each with the time its ticks stand for.
std::vector<Note> notesOf(const ByteString& file) {
  const smf::Song song = smf::readSong(file);
  EXPECT_EQ(song.brokenTracks, 0u);
  const auto tickMicros = [&](std::uint64_t tick) {
    auto at = song.tempo.begin();
    while (std::next(at) != song.tempo.end() && std::next(at)->tick <= tick) ++at;
    return double(at->microsPerQuarter) / song.division;
  };
  const auto micros = [&](std::uint64_t tick) {
    double sum = 0;
    for (auto at = song.tempo.begin(); at != song.tempo.end() && at->tick < tick; ++at) {
      const std::uint64_t until = std::next(at) != song.tempo.end() ? std::min(tick, std::next(at)->tick) : tick;
      sum += double(until - at->tick) * at->microsPerQuarter / song.division;
    }
    return sum;
  };
  std::vector<Note> notes;
  std::deque<std::size_t> sounding[16][128];
  std::array<int, 7> controls[16];
  for (auto& c : controls) c.fill(-1);
  std::array<std::pair<int, int>, 16> parameter;
  parameter.fill({127, 127});
  for (const smf::Event& e : song.events) {
    if (!e.isChannel()) continue;
    const int ch = e.channel();
    if (e.kind() == 0xC0) controls[ch][0] = e.data1;
    if (e.kind() == 0xE0) controls[ch][5] = e.data2;
    if (e.kind() == 0xB0) {
      const std::map<int, int> slot = {{7, 1}, {10, 2}, {11, 3}, {1, 4}};
      if (slot.contains(e.data1)) controls[ch][std::size_t(slot.at(e.data1))] = e.data2;
      if (e.data1 == 101) parameter[ch].first = e.data2;
      if (e.data1 == 100) parameter[ch].second = e.data2;
      if (e.data1 == 6 && parameter[ch] == std::pair{0, 0}) controls[ch][6] = e.data2;
    }
    if (e.kind() == 0x90 && e.data2 > 0) {
      sounding[ch][e.data1].push_back(notes.size());
      notes.push_back({ch, e.data1, e.data2, controls[ch], micros(e.tick), 0, tickMicros(e.tick), 0});
    } else if ((e.kind() == 0x80 || e.kind() == 0x90) && !sounding[ch][e.data1].empty()) {
      Note& n = notes[sounding[ch][e.data1].front()];
      n.end = micros(e.tick), n.endTick = tickMicros(e.tick - 1);
      sounding[ch][e.data1].pop_front();
    }
  }
  std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
    return std::tie(a.channel, a.start, a.key) < std::tie(b.channel, b.start, b.key);
  });
  return notes;
}

void expectRoundTrip(const sound::Melody& melody, const std::string& name) {
  const ByteString first = sound::convert(melody).smf;
  const auto imported = smf::importMidi(first, {{}, "x", "20261207"});
  const ByteString second = sound::convert(sound::melodyOf(imported.document)).smf;
  const auto a = notesOf(first), b = notesOf(second);
  ASSERT_EQ(a.size(), b.size()) << name;
  EXPECT_EQ(imported.summary.droppedNotes + imported.summary.cutNotes, 0u) << name;
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(std::tie(a[i].channel, a[i].key, a[i].velocity, a[i].controls),
              std::tie(b[i].channel, b[i].key, b[i].velocity, b[i].controls))
        << name << " note " << i;
    EXPECT_NEAR(a[i].start, b[i].start, a[i].startTick) << name << " note " << i;
    EXPECT_NEAR(a[i].end, b[i].end, a[i].endTick) << name << " note " << i;
  }
}

clsNote ev(std::initializer_list<std::uint8_t> bytes) { return clsNote(ByteString(bytes)); }
clsNote ext(std::uint8_t delta, std::uint8_t kind, std::uint8_t data) { return ev({delta, 0xFF, kind, data}); }

// Events at absolute ticks as a track, NOP events bridging gaps a delta time cannot hold.
std::vector<clsNote> timedTrack(std::vector<std::pair<int, ByteString>> timed) {
  std::stable_sort(timed.begin(), timed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<clsNote> out;
  int at = 0;
  for (auto& [tick, bytes] : timed) {
    for (; tick - at > 255; at += 255) out.push_back(ext(255, 0xDE, 0));
    bytes.insert(bytes.begin(), std::uint8_t(tick - at));
    out.emplace_back(bytes);
    at = tick;
  }
  return out;
}

}  // namespace

TEST(MidiRoundTrip, SamplesKeepTheirNotes) {
  for (const char* sample : {"kirakira.mld", "kaeru.mld"}) {
    clsMLD doc;
    doc.MLDFile = std::string(TONEKIT_SAMPLES_DIR) + "/" + sample;
    ASSERT_TRUE(doc.ParseMLD());
    expectRoundTrip(sound::melodyOf(doc), sample);
  }
}

// Tempo changes across timebases and in a track other than the first, timebase N/A, the slowest
// and fastest tempos (their tempo field is rounded), a long gap; channels on three tracks, the
// drum channel and a channel assignment; every octave shift; a program above 63, volume, a
// relative volume change and pan. Byte 4 of a note is velocity × 4 + octave shift.
TEST(MidiRoundTrip, MelodyMadeInCodeKeepsItsNotes) {
  sound::Melody m;
  m.noteLength = 4;
  m.tracks = {{ext(0, 0xC4, 120), ext(0, 0xE1, 0x41), ext(0, 0xE0, 0x45), ext(0, 0xE2, 40), ext(0, 0xE3, 0x40 | 10),
               ev({0, 0x00 | 27, 24, 40 << 2 | 0}), ev({0, 0x40 | 27, 24, 41 << 2 | 1}),
               ev({30, 0xC0 | 27, 13, 63 << 2 | 2}), ev({0, 0x00 | 62, 7, 1 << 2 | 3}),
               ext(5, 0xCA, 77), ext(0, 0xC7, 50), ext(0, 0xE6, 3), ev({3, 0x40 | 0, 200, 20 << 2}),
               ext(100, 0xC1, 31), ev({1, 0x00 | 40, 3, 33 << 2 | 1}), ext(255, 0xDE, 0),
               ext(0, 0xC0, 20), ev({20, 0xC0 | 5, 9, 10 << 2 | 3}),
               ext(10, 0xCE, 255), ev({0, 0x80 | 30, 250, 9 << 2}), ev({7, 0x00 | 31, 2, 9 << 2}), ext(10, 0xDF, 0)},
              {},
              {ext(0, 0xE0, 0x40 | 0), ev({2, 0x40 | 0, 60, 50 << 2 | 2}), ext(40, 0xC3, 100),
               ev({50, 0x40 | 3, 1, 50 << 2}), ext(0, 0xE5, 0x40 | 13), ev({9, 0x40 | 9, 4, 50 << 2}), ext(0, 0xDF, 0)}};
  expectRoundTrip(m, "made in code");
}

// Eighteen tempos that 24 ticks a quarter note hold only to the nearest microsecond (each some
// 0.45 µs a quarter too long), 64 beats each, and a grace note a tick after each change: the
// import writes one tempo event for each, and its figure for moved time covers every note.
TEST(MidiRoundTrip, TempoChangesComeBackAsTheyWere) {
  const std::pair<std::uint8_t, std::uint8_t> tempos[] = {
      {0xC3, 87},  {0xC9, 62},  {0xC3, 104}, {0xC9, 65},  {0xC3, 115}, {0xC9, 86},  {0xC3, 145}, {0xC9, 88},
      {0xC3, 175}, {0xC9, 91},  {0xC3, 176}, {0xC9, 101}, {0xC3, 177}, {0xC9, 135}, {0xC3, 207}, {0xC9, 141},
      {0xC3, 104}, {0xC9, 163}};
  std::vector<std::pair<int, ByteString>> tempoEvents, noteEvents;
  int tick = 0;
  for (const auto& [kind, value] : tempos) {
    const int beat = kind == 0xC3 ? 48 : 30;
    tempoEvents.push_back({tick, {0xFF, kind, value}});
    noteEvents.push_back({tick + 1, {0x40 | 40, 1, 40 << 2}});
    for (int b = 0; b < 64; ++b, tick += beat)
      noteEvents.push_back({tick, {std::uint8_t(0x40 | (20 + b % 12)), std::uint8_t(beat / 2), 50 << 2}});
  }
  sound::Melody m;
  m.noteLength = 4;
  m.tracks = {timedTrack(tempoEvents), timedTrack(noteEvents)};
  const ByteString first = sound::convert(m).smf;
  const auto imported = smf::importMidi(first, {{}, "x", "20261207"});
  EXPECT_EQ(imported.summary.tempoChanges, std::size(tempos));
  // The notes of the new melody at the times it plays them (0.1 ms ticks).
  sound::ExportOptions timed;
  timed.timeGrid = true;
  const auto a = notesOf(first), b = notesOf(sound::convert(sound::melodyOf(imported.document), timed).smf);
  ASSERT_EQ(a.size(), b.size());
  double moved = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    moved = std::max({moved, std::abs(a[i].start - b[i].start), std::abs(a[i].end - b[i].end)});
  EXPECT_LE(moved / 1000, imported.summary.maxTimingErrorMs + 0.06);
  expectRoundTrip(m, "eighteen tempos");
}

// A melody like a real ringtone: every part, expression curves, bends and a range change,
// modulation, drums, tempo changes and a loop.
TEST(MidiRoundTrip, RingtoneKeepsNotesAndControls) {
  clsMLD doc;
  test::TempDir dir;
  doc.MLDFile = dir.write("ringtone.mld", mldtest::ringtoneMld()).string();
  ASSERT_TRUE(doc.ParseMLD());
  expectRoundTrip(sound::melodyOf(doc), "ringtone");
}
