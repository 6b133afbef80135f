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

#include "core/clsMLD.h"
#include "smf/MidiImport.h"
#include "smf/SmfEvents.h"
#include "sound/MidiExport.h"

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
    for (std::uint64_t from = 0; from < tick; ++from) sum += tickMicros(from);
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

// A melody like a real ringtone: every part, expression curves, bends and a range change,
// modulation, drums, tempo changes and a loop.
TEST(MidiRoundTrip, RingtoneKeepsNotesAndControls) {
  clsMLD doc;
  test::TempDir dir;
  doc.MLDFile = dir.write("ringtone.mld", mldtest::ringtoneMld()).string();
  ASSERT_TRUE(doc.ParseMLD());
  expectRoundTrip(sound::melodyOf(doc), "ringtone");
}
