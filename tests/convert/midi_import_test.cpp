// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "convert/MidiImport.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Failures.h"
#include "SmfBuilder.h"
#include "smf/SmfEvents.h"
#include "smf/clsMIDI.h"
#include "mld/ExtendKinds.h"
#include "mld/TrackEvents.h"

using namespace tonekit;
using namespace tonekit::smftest;
using smf::importMidi;

namespace {

using TempoMap = std::vector<std::pair<std::uint64_t, double>>;  // from tick on, microseconds a tick

double microsAt(const TempoMap& map, std::uint64_t tick) {
  double micros = 0;
  for (std::size_t k = 0; k < map.size() && map[k].first < tick; ++k)
    micros += double(std::min(tick, k + 1 < map.size() ? map[k + 1].first : tick) - map[k].first) * map[k].second;
  return micros;
}

struct MfiEvent {
  std::size_t track;
  std::uint64_t tick;
  double micros;  // when it plays, by the tempo events of track 0
  ByteString bytes;
};

// Every event of the document with its tick and time; also checks that each track walks into
// whole 4-byte events ending with EndOfTrack.
std::vector<MfiEvent> played(const clsMLD& doc) {
  std::vector<MfiEvent> out;
  TempoMap tempo;
  for (std::size_t t = 0; t < doc.MLDTracData->count(); ++t) {
    std::uint64_t tick = 0;
    for (const auto& e : walkTrack(doc.MLDTracData->item(TrackCollection::keyFor(t)), 4)) {
      const ByteString& b = e.getData();
      EXPECT_EQ(b.size(), 4u);
      tick += b[0];
      if (t == 0 && b[1] == 0xFF && (b[2] & 0xF0) == 0xC0)
        tempo.emplace_back(tick, 60e6 / (b[3] * events::tempoTimebase(b[2]).value_or(0)));
      out.push_back({t, tick, 0, b});
    }
    EXPECT_EQ(out.back().bytes, (ByteString{out.back().bytes[0], 0xFF, 0xDF, 0x00}));
  }
  for (auto& e : out) e.micros = microsAt(tempo, e.tick);
  return out;
}

std::vector<MfiEvent> notesOf(const clsMLD& doc) {
  std::vector<MfiEvent> notes;
  for (auto& e : played(doc))
    if ((e.bytes[1] & 0x3F) != 0x3F) notes.push_back(e);
  return notes;
}

ByteString song(int division, Events events) { return header(0, 1, std::uint16_t(division)) + track(events); }

smf::ImportResult imported(const ByteString& file) { return importMidi(file, {{}, "fallback", "20261207"}); }

}  // namespace

TEST(MidiImport, ChannelPartPitchAndOctaveShift) {
  struct {
    std::uint8_t channel, key;
    int track, status, velocityAndShift, dropped;
  } const cases[] = {{0, 60, 0, 15, 50 << 2, 0},     {0, 107, 0, 62, 50 << 2, 0}, {1, 108, 0, 0x40 | 51, 201, 0},
                     {2, 119, 0, 0x80 | 62, 201, 0}, {3, 21, 0, 0xC0, 202, 0},    {0, 32, 0, 11, 50 << 2 | 2, 0},
                     {1, 33, 0, 0x40, 50 << 2 | 3, 0},   {0, 44, 0, 11, 50 << 2 | 3, 0},
                     {9, 36, 2, 0x40 | 1, 50 << 2, 0},  // drums (key 35 + pitch): track 2, part 1
                     {15, 60, 3, 0xC0 | 15, 50 << 2, 0}, {0, 20, 1, 15, 50 << 2, 1},  {0, 120, 1, 15, 50 << 2, 1}};
  for (const auto& c : cases) {
    // A dropped note needs a kept one beside it (channel 4, key 60): a file without any is refused.
    const auto r = imported(song(48, note(c.channel, c.key, 0, 48, 101) + (c.dropped ? note(4, 60, 0, 48) : Events{})));
    const MfiEvent n = notesOf(r.document).at(0);
    // Velocity 101 / 2 = 50, then the shift code.
    EXPECT_EQ(std::vector<int>({int(n.track), n.bytes[1], n.bytes[3], r.summary.tracks, int(r.summary.droppedNotes)}),
              std::vector<int>({c.track, c.status, c.velocityAndShift, c.track + 1, c.dropped}))
        << int(c.channel) << " " << int(c.key);
  }
}

TEST(MidiImport, InformationPartAndSummaryCounts) {
  const ByteString title{0x83, 0x4a, 0x83, 0x47, 0x83, 0x8b};  // カエル in code page 932
  const auto r = imported(song(96, Events{{0, ByteString{0xFF, 0x03, 6} + title}, {0, {0xFF, 0x02, 2, 'm', 'e'}},
                                          {0, {0xFF, 0x58, 4, 4, 2, 24, 8}}, {0, {0xF0, 2, 0x7E, 0xF7}},
                                          {10, {0xD0, 64}}, {10, {0xB0, 66, 127}}, {20, {0x80, 61, 0}}} +
                                       note(0, 60, 0, 96)));
  EXPECT_EQ(r.summary.skippedEvents, (std::map<std::string, std::size_t>{{"channel_aftertouch", 1}, {"controller_66", 1},
                                                                          {"meta_58", 1}, {"sysex", 1},
                                                                          {"unmatched_note_off", 1}}));
  // The box names them in the user's words.
  const std::string text = smf::summaryText(r.summary);
  for (const char* words : {"チャンネルプレッシャー : 1", "コントロールチェンジ 66 (ソステヌート) : 1", "拍子 : 1"})
    EXPECT_NE(text.find(words), std::string::npos) << words;
  const clsMLD& doc = r.document;
  for (const auto& [tag, value] : std::map<std::string, ByteString>{
           {"titl", title}, {"copy", bytesOf("me")}, {"vers", bytesOf("0200")}, {"date", bytesOf("20261207")},
           {"note", {0, 1}}, {"sorc", {0}}})
    EXPECT_TRUE(doc.enabled(tag) && doc.value(tag) == value) << tag;
  EXPECT_FALSE(doc.MLDProtEnabled || doc.MLDExstEnabled);
  EXPECT_EQ(doc.MLDMajortType + doc.MLDMinerType + doc.MLDTracCount, (ByteString{1, 1, 1}));

  EXPECT_EQ(asciiOf(imported(song(96, note(0, 60, 0, 96))).document.MLDTitl), "fallback");
  const auto titled = importMidi(song(96, note(0, 60, 0, 96)), {std::string("雨\xF0\x9F\x8E\xB5"), "", ""});
  EXPECT_EQ(titled.document.MLDTitl, (ByteString{0x89, 0x4A, '?'}));
  EXPECT_EQ(titled.summary.alteredTexts, std::vector<std::string>{"titl"});
}

// Tempo changes, tempos no timebase holds at the file's own grid, one no whole number holds, one
// too fast for the grid: every note plays within one MFi tick of its MIDI time, every tempo is 20-255.
TEST(MidiImport, EveryNoteWithinOneTickOfItsMidiTime) {
  struct {
    int division;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> tempos;  // tick, microseconds a quarter
    std::uint32_t step;                                           // a note every step ticks
  } const cases[] = {{480, {{0, 500000}, {1920, 400000}, {5000, 750000}}, 240}, {48, {{0, 200000}}, 1},
                     {6, {{0, 6000000}}, 6}, {480, {{0, 512345}}, 7}, {960, {{0, 187500}}, 1},
                     {24, {{0, 247934}}, 1}};  // last: tempo 121 at timebase 48 exported at 24 a quarter
  for (const auto& c : cases) {
    Events events;
    TempoMap midi;
    for (const auto& [tick, micros] : c.tempos)
      events.push_back(tempo(tick, micros)), midi.emplace_back(tick, double(micros) / c.division);
    for (std::uint32_t i = 0; i < 40; ++i) events = events + note(0, 60, i * c.step, i * c.step + c.step / 2 + 1);
    const auto r = imported(song(c.division, events));
    std::size_t tempoEvents = 0;  // counts only tempos of 20 and more
    for (const auto& e : played(r.document))
      tempoEvents += e.bytes[1] == 0xFF && (e.bytes[2] & 0xF0) == 0xC0 && e.bytes[3] >= 20;
    EXPECT_EQ(tempoEvents, r.summary.tempoChanges);
    const auto notes = notesOf(r.document);
    ASSERT_EQ(notes.size(), 40u);
    for (std::uint32_t i = 0; i < 40; ++i) {
      const std::uint32_t j = i < 39 ? i + 1 : i - 1;  // a neighbour gives the length of a tick there
      const double tickMicros = std::abs(microsAt(midi, j * c.step) - microsAt(midi, i * c.step)) /
                                std::max<double>(1, std::abs(double(notes[j].tick) - double(notes[i].tick)));
      EXPECT_NEAR(notes[i].micros, microsAt(midi, i * c.step), tickMicros) << c.division << " " << i;
    }
  }
}

// A piano piece's left and right hands: the pedal goes down after each bar's first notes and comes
// up just before the next bar. A note released under it sounds until the pedal comes up or its key
// is struck again; the last bar's pedal is held for eight bars, longer than a note may last.
TEST(MidiImport, SustainPedalLengthensReleasedNotes) {
  constexpr std::uint32_t kBar = 384;  // 96 ticks a quarter note
  Events events;
  for (std::uint32_t bar = 0; bar < 4; ++bar) {
    const std::uint32_t at = bar * kBar;
    events = events + Events{{at + 10, {0xB0, 64, 127}}, {at + kBar - 4, {0xB0, 64, 0}}};
    // Right hand: C E G C, each released after a sixteenth; the second C ends the first one's sound.
    const std::uint8_t keys[] = {60, 64, 67, 60};
    for (std::uint32_t b = 0; b < 4; ++b) events = events + note(0, keys[b], at + b * 96, at + b * 96 + 24);
    // Left hand on channel 1, without pedal: stays as played.
    events = events + note(1, 48, at, at + 48);
  }
  events = events + Events{{4 * kBar + 10, {0xB0, 64, 100}}, {12 * kBar, {0xB0, 64, 0}}} + note(0, 72, 4 * kBar, 4 * kBar + 24);
  const auto r = imported(song(96, events));
  EXPECT_EQ(r.summary.pedalLengthenedNotes, 4u * 4 + 1);
  EXPECT_EQ(r.summary.pedalCutNotes, 1u);
  EXPECT_TRUE(r.summary.skippedEvents.empty());
  EXPECT_NE(smf::summaryText(r.summary).find("ダンパーペダルで長くした音符 : 17"), std::string::npos);

  // MFi ticks a MIDI tick, from the first two notes of the right hand.
  const auto notes = notesOf(r.document);
  std::vector<std::pair<std::uint64_t, int>> right;  // start and length of channel 0's notes
  for (const auto& n : notes)
    if (n.track == 0 && (n.bytes[1] >> 6) == 0) right.emplace_back(n.tick, n.bytes[2]);
  ASSERT_EQ(right.size(), 17u);
  const double ratio = double(right[1].first - right[0].first) / 96;
  // The first C until the second C (288), E and G until the pedal comes up (380), the second C too.
  const std::uint32_t ends[] = {288, 380, 380, 380};
  for (std::size_t b = 0; b < 4; ++b)
    EXPECT_NEAR(right[b].second, (ends[b] - b * 96) * ratio, 1) << b;
  EXPECT_EQ(right[16].second, 255);
  for (const auto& n : notes)
    if ((n.bytes[1] >> 6) == 1) {
      EXPECT_NEAR(n.bytes[2], 48 * ratio, 1);
    }
}

TEST(MidiImport, GapsBecomeNopsLongNotesAreCutControlsMapped) {
  const auto r = imported(song(480, note(0, 60, 0, 1) + note(5, 62, 1000, 1300) +
                                        Events{{0, {0xC5, 100}}, {0, {0xB5, 7, 101}}, {0, {0xB5, 10, 64}}}));
  // A grid of two MIDI ticks moves the first note's end by one (1.04 ms at 120 quarters a minute)
  // and keeps the 300-tick note whole.
  EXPECT_EQ(r.summary.cutNotes, 0u);
  EXPECT_NEAR(r.summary.maxTimingErrorMs, 1.04, 0.01);
  std::vector<ByteString> track1;
  for (const auto& e : played(r.document))
    if (e.track == 1) track1.push_back(e.bytes);
  const ByteString nop{255, 0xFF, 0xDE, 0};
  // Part 1; program 100 = 1 × 64 + 36, the top bit first; volume and balance halved; the end of
  // track at the end of the song.
  EXPECT_EQ(track1, (std::vector<ByteString>{{0, 0xFF, 0xE1, 0x43}, {0, 0xFF, 0xE0, 0x40 | 36},
                                             {0, 0xFF, 0xE2, 0x40 | 50}, {0, 0xFF, 0xE3, 0x40 | 32}, nop,
                                             {500 - 255, 0x40 | 17, 150, 50 << 2}, {150, 0xFF, 0xDF, 0}}));

  // At 8 quarters a minute one tick lasts 15.6 ms: a grid coarse enough for a 1000-tick note
  // would move the first note's end by a whole tick. The note is cut to 255 ticks and the summary
  // says by how much (745 ticks).
  const auto slow = imported(song(480, Events{tempo(0, 7'500'000)} + note(0, 60, 0, 1) + note(5, 62, 1000, 2000)));
  EXPECT_EQ(slow.summary.cutNotes, 1u);
  EXPECT_EQ(slow.summary.maxTimingErrorMs, 0);
  EXPECT_NEAR(slow.summary.longestCutMs, 745 * 15.625, 1);
  EXPECT_NE(smf::summaryText(slow.summary).find("切り詰めで短くなった長さ (最大) : 11.6 秒"), std::string::npos);
}

TEST(MidiImport, FormatZeroAndOneGiveTheSameMelody) {
  const Events a = note(0, 60, 0, 120) + note(0, 64, 120, 240), b = note(4, 67, 60, 240);
  const auto zero = imported(song(480, Events{tempo(0, 600000)} + a + b));
  const auto one = imported(header(1, 3, 480) + track(Events{tempo(0, 600000)}) + track(a) + track(b));
  EXPECT_EQ(zero.document.MLDTracData->items(), one.document.MLDTracData->items());
  EXPECT_EQ(notesOf(one.document).size(), 3u);
}

TEST(MidiImport, BadFilesFailOrKeepWhatWasReadable) {
  const ByteString good = song(48, note(0, 60, 0, 48));
  for (const ByteString& bad : {header(0, 1, 0xE728) + track(note(0, 60, 0, 48)),  // SMPTE time
                                header(2, 1, 48) + track(note(0, 60, 0, 48)), song(48, {tempo(0, 500000)}),
                                song(48, note(0, 10, 0, 48)), ByteString(good.begin(), good.begin() + 20),
                                bytesOf("RIFF")})
    EXPECT_NE(test::failureNumber([&] { imported(bad); }), 0);

  // Cut in the second note's off event; the first track part and the sounding note are kept,
  // running status carries the second note on.
  const auto r = imported(header(0, 1, 48) + bytesOf("MTrk") + ByteString{0, 0, 0, 40, 0, 0x90, 60, 100, 48, 62, 100});
  EXPECT_EQ(r.summary.brokenTracks, 1u);
  EXPECT_EQ(r.summary.notes, 2u);
}

TEST(SmfEvents, TracksMergeByTimeKeepingTrackOrderAtEqualTicks) {
  const auto s = smf::readSong(header(1, 2, 96) + track(Events{{5, {0xB0, 7, 1}}, {5, {0xB0, 7, 2}}}) +
                               track(Events{{0, {0xB1, 7, 3}}, {5, {0xB1, 7, 4}}, {9, {0xF0, 1, 0xF7}}}));
  std::vector<int> order;
  for (const auto& e : s.events) order.push_back(e.data2);
  EXPECT_EQ(order, (std::vector<int>{3, 1, 2, 4, 0}));
  EXPECT_EQ(s.events.back().payload, (ByteString{0xF7}));
  EXPECT_EQ(s.brokenTracks, 0u);
}

// The smf command and the import read a file's texts alike; the new document shows the lengths
// it is saved with.
TEST(MidiImport, TitleAndCopyrightAsTheSmfCommandReadsThem) {
  const ByteString file = header(1, 2, 96) +
                          track({meta(0x01, "text first"), meta(0x03, "name second"), meta(0x02, "(C) one")}) +
                          track(note(0, 60, 0, 96));
  clsMIDI midi;
  midi.ParseMIDIData(file);
  const auto r = imported(file);
  EXPECT_EQ(asciiOf(r.document.MLDTitl), midi.MIDITitle);
  EXPECT_EQ(asciiOf(r.document.MLDCopy), midi.MIDICopy);
  EXPECT_EQ(r.summary.skippedEvents, (std::map<std::string, std::size_t>{{"meta_03", 1}}));

  const ByteString saved = r.document.renderMLD();
  std::int64_t length = 0;
  clsCalcUtil().CalcDWORD(r.document.MLDFileLength, length);
  EXPECT_EQ(length, static_cast<std::int64_t>(saved.size()) - 8);
  EXPECT_EQ(ByteString(saved.begin() + 8, saved.begin() + 10), r.document.MLDLengthToTrac);
}
