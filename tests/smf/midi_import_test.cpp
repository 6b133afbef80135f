#include "smf/MidiImport.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Failures.h"
#include "SmfBuilder.h"
#include "TempDir.h"
#include "smf/SmfEvents.h"
#include "track_editor/TrackEvents.h"

using namespace tonekit;
using namespace tonekit::smftest;
using smf::importMidi;

namespace {

struct MfiEvent {
  std::size_t track;
  std::uint64_t tick;
  double micros;  // when it plays, by the tempo events of track 0
  ByteString bytes;
};

// Every event of the document with its tick and time; also checks that each track walks into
// whole 4-byte events ending with EndOfTrack.
std::vector<MfiEvent> played(const clsMLD& doc) {
  constexpr int kTimebases[16] = {6, 12, 24, 48, 96, 192, 384, 0, 15, 30, 60, 120, 240, 480, 960, 0};
  std::vector<MfiEvent> out;
  std::vector<std::pair<std::uint64_t, double>> tempo;  // tick, microseconds a tick
  for (std::size_t t = 0; t < doc.MLDTracData->count(); ++t) {
    const auto events = walkTrack(doc.MLDTracData->item(TrackCollection::keyFor(t)), 4);
    EXPECT_EQ(events.back().data(), (ByteString{events.back().data()[0], 0xFF, 0xDF, 0x00}));
    std::uint64_t tick = 0;
    for (const auto& e : events) {
      EXPECT_EQ(e.data().size(), 4u);
      tick += e.data()[0];
      if (t == 0 && e.data()[1] == 0xFF && (e.data()[2] & 0xF0) == 0xC0)
        tempo.emplace_back(tick, 60e6 / (e.data()[3] * kTimebases[e.data()[2] & 0x0F]));
      out.push_back({t, tick, 0, e.data()});
    }
  }
  for (auto& e : out) {
    double micros = 0;
    for (std::size_t k = 0; k < tempo.size() && tempo[k].first < e.tick; ++k)
      micros += (std::min(e.tick, k + 1 < tempo.size() ? tempo[k + 1].first : e.tick) - tempo[k].first) * tempo[k].second;
    e.micros = micros;
  }
  return out;
}

std::vector<MfiEvent> notesOf(const clsMLD& doc) {
  std::vector<MfiEvent> notes;
  for (auto& e : played(doc))
    if ((e.bytes[1] & 0x3F) != 0x3F) notes.push_back(e);
  return notes;
}

ByteString song(int division, Events events, int format = 0) {
  return header(static_cast<std::uint16_t>(format), 1, static_cast<std::uint16_t>(division)) + track(std::move(events));
}

smf::ImportResult imported(const ByteString& file) { return importMidi(file, {{}, "fallback", "20261207"}); }

}  // namespace

struct KeyCase {
  std::uint8_t channel, key;
  int track;
  std::uint8_t status, velocityAndShift;  // status 0: the note is dropped
};

class KeyMapping : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyMapping, ChannelPartPitchAndOctaveShift) {
  const KeyCase c = GetParam();
  // A dropped note needs a kept one beside it: a file without any is refused.
  const auto r = imported(song(48, note(c.channel, c.key, 0, 48, 101) + (c.status ? Events{} : note(4, 60, 0, 48))));
  const auto notes = notesOf(r.document);
  EXPECT_EQ(r.summary.droppedNotes, c.status ? 0u : 1u);
  if (!c.status) return;
  ASSERT_EQ(notes.size(), 1u);
  const MfiEvent& n = notes[0];
  EXPECT_EQ(n.track, static_cast<std::size_t>(c.track));
  EXPECT_EQ(n.bytes[1], c.status);
  EXPECT_EQ(n.bytes[3], c.velocityAndShift);  // velocity 101 / 2 = 50, then the shift code
  EXPECT_EQ(r.summary.tracks, c.track + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyMapping,
    ::testing::Values(KeyCase{0, 60, 0, 15, 50 << 2}, KeyCase{0, 107, 0, 62, 50 << 2},
                      KeyCase{1, 108, 0, 0x40 | 51, 50 << 2 | 1}, KeyCase{2, 119, 0, 0x80 | 62, 50 << 2 | 1},
                      KeyCase{3, 21, 0, 0xC0 | 0, 50 << 2 | 2}, KeyCase{0, 32, 0, 11, 50 << 2 | 2},
                      KeyCase{1, 33, 0, 0x40, 50 << 2 | 3}, KeyCase{0, 44, 0, 11, 50 << 2 | 3},
                      KeyCase{9, 36, 2, 0x40 | 3, 50 << 2 | 3},  // drums: track 2, part 1
                      KeyCase{15, 60, 3, 0xC0 | 15, 50 << 2}, KeyCase{0, 20, 0, 0, 0}, KeyCase{0, 120, 0, 0, 0}));

TEST(MidiImport, InformationPartAndSummaryCounts) {
  const ByteString title{0x83, 0x4a, 0x83, 0x47, 0x83, 0x8b};  // カエル in code page 932
  const auto r = imported(song(96, Events{{0, {0xFF, 0x02, 2, 'm', 'e'}},
                                          {0, {0xFF, 0x58, 4, 4, 2, 24, 8}}, {0, {0xF0, 2, 0x7E, 0xF7}},
                                          {10, {0xE0, 0, 64}}, {10, {0xB0, 64, 127}}, {20, {0x80, 61, 0}}} +
                                       note(0, 60, 0, 96)));
  EXPECT_EQ(r.summary.skippedEvents, (std::map<std::string, std::size_t>{{"controller_64", 1},
                                                                          {"meta_58", 1},
                                                                          {"pitch_bend", 1},
                                                                          {"sysex", 1},
                                                                          {"unmatched_note_off", 1}}));
  const auto named = imported(song(96, Events{{0, ByteString{0xFF, 0x03, 6} + title}} + note(0, 60, 0, 96)));
  const clsMLD& doc = named.document;
  EXPECT_EQ(doc.MLDTitl, title);
  EXPECT_EQ(doc.MLDCopy, ByteString{});
  EXPECT_EQ(asciiOf(doc.MLDVers), "0200");
  EXPECT_EQ(asciiOf(doc.MLDDate), "20261207");
  EXPECT_EQ(doc.MLDNote, (ByteString{0, 1}));
  EXPECT_EQ(doc.MLDSorc, ByteString{0});
  EXPECT_FALSE(doc.MLDProtEnabled);
  EXPECT_FALSE(doc.MLDExstEnabled);
  EXPECT_EQ(doc.MLDMajortType, ByteString{1});
  EXPECT_EQ(doc.MLDMinerType, ByteString{1});
  EXPECT_EQ(doc.MLDTracCount, ByteString{1});
  EXPECT_EQ(asciiOf(r.document.MLDCopy), "me");
  EXPECT_EQ(asciiOf(r.document.MLDTitl), "fallback");

  const auto titled = importMidi(song(96, note(0, 60, 0, 96)), {std::string("雨\xF0\x9F\x8E\xB5"), "", ""});
  EXPECT_EQ(titled.document.MLDTitl, (ByteString{0x89, 0x4A, '?'}));
  EXPECT_EQ(titled.summary.alteredTexts, std::vector<std::string>{"titl"});
  EXPECT_NE(smf::summaryText(r.summary).find("pitch_bend : 1"), std::string::npos);
}

// Tempo changes, a tempo no timebase holds at the file's own grid, and one no whole number
// holds: every note plays within one MFi tick of its MIDI time, and every tempo is 20-255.
struct TimingCase {
  int division;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> tempos;  // tick, microseconds a quarter
  std::uint32_t step;  // notes every step ticks
};

class Timing : public ::testing::TestWithParam<TimingCase> {};

TEST_P(Timing, EveryNoteWithinOneTickOfItsMidiTime) {
  const TimingCase c = GetParam();
  Events events;
  for (const auto& [tick, micros] : c.tempos) events.push_back(tempo(tick, micros));
  for (std::uint32_t i = 0; i < 40; ++i) events = events + note(static_cast<std::uint8_t>(i % 3), 60, i * c.step, i * c.step + c.step / 2 + 1);
  const auto r = imported(song(c.division, events));
  auto midiMicros = [&](std::uint32_t tick) {
    double micros = 0;
    for (std::size_t k = 0; k < c.tempos.size() && c.tempos[k].first < tick; ++k)
      micros += double(std::min(tick, k + 1 < c.tempos.size() ? c.tempos[k + 1].first : tick) - c.tempos[k].first) *
                c.tempos[k].second / c.division;
    return micros;
  };
  const auto all = played(r.document);
  std::size_t tempoEvents = 0;
  for (const auto& e : all)
    if (e.bytes[1] == 0xFF && (e.bytes[2] & 0xF0) == 0xC0) {
      ++tempoEvents;
      EXPECT_GE(e.bytes[3], 20);
    }
  EXPECT_EQ(tempoEvents, r.summary.tempoChanges);
  const auto notes = notesOf(r.document);
  ASSERT_EQ(notes.size(), 40u);
  std::vector<MfiEvent> byTime = notes;
  std::stable_sort(byTime.begin(), byTime.end(), [](const MfiEvent& a, const MfiEvent& b) { return a.tick < b.tick; });
  for (std::uint32_t i = 0; i < 40; ++i) {
    const std::uint32_t j = i < 39 ? i + 1 : i - 1;  // a neighbour gives the length of a tick there
    const double tickMicros = std::abs(midiMicros(j * c.step) - midiMicros(i * c.step)) /
                              std::max<double>(1, std::abs(double(byTime[j].tick) - double(byTime[i].tick)));
    EXPECT_NEAR(byTime[i].micros, midiMicros(i * c.step), tickMicros) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Tempos, Timing,
                         ::testing::Values(TimingCase{480, {{0, 500000}, {1920, 400000}, {5000, 750000}}, 240},
                                           TimingCase{48, {{0, 200000}}, 1},       // 300 a minute at 48
                                           TimingCase{6, {{0, 6000000}}, 6},       // 10 a minute
                                           TimingCase{480, {{0, 512345}}, 7},      // no whole tempo
                                           TimingCase{960, {{0, 187500}}, 1}));    // too fast for the grid

TEST(MidiImport, GapsBecomeNopsLongNotesAreCutControlsMapped) {
  const auto r = imported(song(480, note(0, 60, 0, 1) + note(5, 62, 1000, 1300) +
                                        Events{{0, {0xC5, 100}}, {0, {0xB5, 7, 101}}, {0, {0xB5, 10, 64}}}));
  EXPECT_EQ(r.summary.cutNotes, 1u);
  std::vector<ByteString> track1;
  for (const auto& e : played(r.document))
    if (e.track == 1) track1.push_back(e.bytes);
  ASSERT_EQ(track1.size(), 10u);
  // part 1; program 100 = 1 × 64 + 36, the top bit first; volume and balance halved.
  EXPECT_EQ(track1[0], (ByteString{0, 0xFF, 0xE1, 0x43}));
  EXPECT_EQ(track1[1], (ByteString{0, 0xFF, 0xE0, 0x40 | 36}));
  EXPECT_EQ(track1[2], (ByteString{0, 0xFF, 0xE2, 0x40 | 50}));
  EXPECT_EQ(track1[3], (ByteString{0, 0xFF, 0xE3, 0x40 | 32}));
  for (int i = 4; i < 7; ++i) EXPECT_EQ(track1[i], (ByteString{255, 0xFF, 0xDE, 0}));
  EXPECT_EQ(track1[7], (ByteString{1000 - 765, 0x40 | 17, 255, 50 << 2}));
  EXPECT_EQ(track1[8], (ByteString{255, 0xFF, 0xDE, 0}));
  EXPECT_EQ(track1[9], (ByteString{45, 0xFF, 0xDF, 0}));  // at the end of the song
}

TEST(MidiImport, FormatZeroAndOneGiveTheSameMelodyAndTheDocumentSavesWhole) {
  const Events a = note(0, 60, 0, 120) + note(0, 64, 120, 240), b = note(4, 67, 60, 240);
  const auto zero = imported(song(480, Events{tempo(0, 600000)} + a + b));
  const auto one = imported(header(1, 3, 480) + track(Events{tempo(0, 600000)}) + track(a) + track(b));
  EXPECT_EQ(zero.document.MLDTracData->items(), one.document.MLDTracData->items());

  test::TempDir dir;
  clsMLD doc = zero.document;
  doc.MLDFile = (dir / "out.mld").string();
  ASSERT_FALSE(doc.SaveMLD());
  clsMLD back;
  back.MLDFile = doc.MLDFile;
  EXPECT_TRUE(back.ParseMLD());
  EXPECT_EQ(back.MLDTracData->items(), doc.MLDTracData->items());
  EXPECT_EQ(notesOf(back).size(), 3u);
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
  const ByteString cut = header(0, 1, 48) + bytesOf("MTrk") + ByteString{0, 0, 0, 40, 0x00, 0x90, 60, 100, 48, 62, 100, 48};
  const auto r = imported(cut);
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
