// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The MLD → Standard MIDI File converter, on tracks made in code.
#include <gtest/gtest.h>

#include "Failures.h"
#include "mld/clsMLD.h"
#include "smf/SmfEvents.h"
#include "smf/clsMIDI.h"
#include "convert/MidiExport.h"
#include "mld/TrackEvents.h"

using namespace tonekit;
using namespace tonekit::sound;

namespace {

using Track = std::vector<clsNote>;

clsNote ev(std::initializer_list<std::uint8_t> bytes) { return clsNote(ByteString(bytes)); }
clsNote ext(std::uint8_t delta, std::uint8_t kind, std::uint8_t data) { return ev({delta, 0xFF, kind, data}); }

Melody melody(std::vector<Track> tracks, int noteLength = 4) {
  Melody m;
  m.tracks = std::move(tracks);
  m.noteLength = noteLength;
  return m;
}

struct SmfEvent {
  std::int64_t tick;
  ByteString bytes;  // status and data; meta events FF type data
};

// The file read back with the project's event reader, one list per track (end of track left out).
std::vector<std::vector<SmfEvent>> tracksOf(const ByteString& smf) {
  const smf::Song song = smf::readSong(smf);
  EXPECT_EQ(song.brokenTracks, 0u);
  std::vector<std::vector<SmfEvent>> tracks(song.trackCount);
  for (const smf::Event& e : song.events) {
    ByteString bytes{e.status};
    if (e.status == 0xFF || e.isChannel()) bytes.push_back(e.data1);
    if (e.isChannel() && e.kind() != 0xC0 && e.kind() != 0xD0) bytes.push_back(e.data2);
    bytes.insert(bytes.end(), e.payload.begin(), e.payload.end());
    tracks[e.track].push_back({static_cast<std::int64_t>(e.tick), bytes});
  }
  return tracks;
}

std::vector<std::vector<SmfEvent>> eventsOf(const Melody& m, const ExportOptions& options = {}) {
  return tracksOf(convert(m, options).smf);
}

// The events with this status (the high nibble for channel messages).
std::vector<SmfEvent> withStatus(const std::vector<SmfEvent>& track, std::uint8_t status) {
  std::vector<SmfEvent> out;
  for (const auto& e : track)
    if (e.bytes[0] == status || (status < 0xF0 && (e.bytes[0] & 0xF0) == status)) out.push_back(e);
  return out;
}

struct NoteCase {
  int noteLength;
  clsNote note;
  int key, velocity, offTick;
};

class NoteMapping : public ::testing::TestWithParam<NoteCase> {};

TEST_P(NoteMapping, KeyVelocityAndEnd) {
  const NoteCase& c = GetParam();
  const auto tracks = eventsOf(melody({{}, {c.note}}, c.noteLength));
  const auto ons = withStatus(tracks[2], 0x90);
  const auto offs = withStatus(tracks[2], 0x80);
  ASSERT_EQ(ons.size(), 1u);
  ASSERT_EQ(offs.size(), 1u);
  // Track 1, part 2: channel 1 × 4 + 2.
  EXPECT_EQ(ons[0].bytes, (ByteString{0x96, std::uint8_t(c.key), std::uint8_t(c.velocity)}));
  EXPECT_EQ(ons[0].tick, 5);
  EXPECT_EQ(offs[0].bytes[1], c.key);
  EXPECT_EQ(offs[0].tick, c.offTick);
}

// Pitch 27 is key 72; byte 4 is velocity × 4 + octave shift.
INSTANTIATE_TEST_SUITE_P(Notes, NoteMapping,
                         ::testing::Values(NoteCase{4, ev({5, 0x80 | 27, 10, 48 * 4 + 0}), 72, 96, 15},
                                           NoteCase{4, ev({5, 0x80 | 27, 10, 48 * 4 + 1}), 84, 96, 15},
                                           NoteCase{4, ev({5, 0x80 | 27, 10, 48 * 4 + 2}), 48, 96, 15},
                                           NoteCase{4, ev({5, 0x80 | 27, 10, 48 * 4 + 3}), 60, 96, 15},
                                           NoteCase{4, ev({5, 0x80 | 0, 0, 63 * 4}), 45, 126, 6},
                                           NoteCase{4, ev({5, 0x80 | 62, 255, 0}), 107, 1, 260},
                                           NoteCase{3, ev({5, 0x80 | 27, 7}), 72, kFixedVelocity, 12}));

TEST(MidiExport, TempoMapDivisionAndDuration) {
  const Melody m = melody({{ext(0, 0xC0, 20), ext(10, 0xC7, 99), ext(10, 0xCE, 255), ext(10, 0xC3, 19),
                            ev({10, 0, 1, 0})}});
  const Conversion c = convert(m);
  std::vector<std::pair<std::int64_t, std::uint32_t>> tempos;
  for (const auto& e : withStatus(eventsOf(m)[0], 0xFF))
    if (e.bytes[1] == 0x51) tempos.emplace_back(e.tick, e.bytes[2] << 16 | e.bytes[3] << 8 | e.bytes[4]);
  // The default (120 at 48), the slowest setting, and 255 at 960 rounded; N/A and tempo 19 keep
  // the tempo in force.
  const decltype(tempos) expected = {{0, 250'000}, {0, 12'000'000}, {20, 5'882}};
  EXPECT_EQ(tempos, expected);
  EXPECT_EQ(c.counts.tempoChanges, 2);
  EXPECT_EQ(c.counts.skipped.at("0xC7"), 1);
  EXPECT_EQ(c.counts.skipped.at("0xC3"), 1);
  EXPECT_EQ(c.counts.ticks, 41);
  // 20 ticks of 0.5 s, then 21 of 60 / (255 × 960) s.
  EXPECT_NEAR(c.counts.durationSeconds, 10.0 + 21 * 60.0 / (255 * 960), 1e-9);
}

TEST(MidiExport, VoicesChannelsAndVolumes) {
  // Part 1 throughout: 0xE1 then 0xE0 at one tick (one program change, the final voice), 0xE1
  // a tick later, channel assignment to 9 (percussion: key 35 + pitch), volume, the relative
  // volume change as the expression's level (its raw six bits doubled, volume untouched),
  // balance, master volume.
  const Melody m = melody({{ext(0, 0xE1, 0x43), ext(0, 0xE0, 0x45), ext(1, 0xE1, 0x42), ext(0, 0xE5, 0x49),
                            ext(0, 0xE2, 0x50), ext(0, 0xE6, 0x60), ext(0, 0xE6, 0x5F), ext(0, 0xE6, 0x5F), ext(0, 0xE3, 0x7F),
                            ext(0, 0xB0, 200), ev({0, 0x40 | 27, 1, 0x80}), ext(0, 0xE5, 0x50)}});
  const Conversion c = convert(m);
  const auto tracks = tracksOf(c.smf);
  std::vector<ByteString> got;
  for (const auto& e : tracks[1]) got.push_back(e.bytes);
  const std::vector<ByteString> expected = {
      {0xC1, 64 + 5},   {0xC1, 5},        {0xB9, 7, 32},          {0xB9, 11, 64},
      {0xB9, 11, 62},   {0xB9, 11, 62},   {0xB9, 10, 126},  {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x00, 127, 0xF7},
      {0x99, 62, 64},   {0x89, 62, 0}};
  EXPECT_EQ(got, expected);
  EXPECT_EQ(c.counts.channels, (std::set<int>{1, 9}));
  EXPECT_EQ(c.counts.skipped.at("0xE5"), 1);  // channel 16 does not exist
}

TEST(MidiExport, BendsModulationTuneAndPercussion) {
  // Track 0, part 1 (channel 1): master tune 67, bend 40, bend range 12, modulation 20, a note;
  // then channel 1 turns percussion and channel 10 melodic (drum scale changes), and a note on
  // each. Track 2, part 1 plays on channel 10.
  const Melody m = melody({{ext(0, 0xB2, 9 << 3), ext(0, 0xB3, 67), ext(1, 0xE4, 0x40 | 40), ext(1, 0xE7, 0x40 | 12),
                            ext(1, 0xEA, 0x40 | 20), ev({1, 0x40 | 27, 5, 50 << 2}), ext(10, 0xB2, 1 << 3 | 1),
                            ev({1, 0x40 | 27, 5, 50 << 2})},
                           {},
                           {ev({20, 0x40 | 27, 5, 50 << 2})}});
  const Conversion c = convert(m);
  EXPECT_TRUE(c.counts.skipped.empty());
  const auto tracks = tracksOf(c.smf);
  std::vector<ByteString> got;
  for (const auto& e : tracks[1])
    if (e.tick > 0) got.push_back(e.bytes);
  const std::vector<ByteString> expected = {
      {0xE1, 0, 80},                                        // MSB = value × 2, LSB 0
      {0xB1, 101, 0}, {0xB1, 100, 0}, {0xB1, 6, 12},        // bend range: registered parameter 0
      {0xB1, 1, 40},                                        // modulation
      {0x91, 72, 100}, {0x81, 72, 0},                       // melodic: key 45 + pitch
      // The channel's state moves along: modulation, bend range, tune, bend.
      {0xB9, 1, 40}, {0xB9, 101, 0}, {0xB9, 100, 0}, {0xB9, 6, 12}, {0xB9, 101, 0}, {0xB9, 100, 1}, {0xB9, 6, 67},
      {0xE9, 0, 80},
      {0x99, 62, 100}, {0x89, 62, 0}};                      // percussion: key 35 + pitch on channel 10
  EXPECT_EQ(got, expected);
  // The master tune on every channel, registered parameter 1 (fine tuning); only the channels
  // that play count as used.
  EXPECT_EQ(c.counts.channels, (std::set<int>{0, 1, 9}));
  const auto tune = std::count_if(tracks[1].begin(), tracks[1].end(),
                                  [](const SmfEvent& e) { return e.tick == 0 && e.bytes[1] == 6 && e.bytes[2] == 67; });
  EXPECT_EQ(tune, 16);
  // Channel 10 turned melodic: its part moves to channel 1, the first that plays nothing.
  EXPECT_EQ(withStatus(tracks[3], 0x90).at(0).bytes, (ByteString{0x90, 72, 100}));
}

TEST(MidiExport, SkippedKindsAndTrackEnds) {
  // Ext-info and an event of part 0 are counted, the drum scale change and the pitch bend are not;
  // 0xDF ends the track.
  const Melody m = melody({{ev({0, 0xFF, 0xF1, 0, 1, 9}), ext(0, 0xB2, 0), ext(0, 0xE4, 0), ev({0, 0x3F, 5, 0}),
                            ev({0, 27, 30, 0}), ext(4, 0xDF, 0), ev({0, 28, 5, 0})},
                           {ev({0, 27, 7, 0}), ext(50, 0xDE, 0)},
                           {ev({0, 27, 7, 0})}});
  const Conversion c = convert(m);
  EXPECT_EQ(c.counts.skipped, (std::map<std::string, std::int64_t>{{"0x3F_0x05", 1}, {"0xF1", 1}}));
  EXPECT_EQ(c.counts.notes, 3);
  // The melody ends with the later of its last event and the end of its last note.
  EXPECT_EQ(c.counts.ticks, 50);
}

TEST(MidiExport, LoopsAreMarkersOnExportAndRepeatWhenUnrolled) {
  // Loop 1 counted 3 times around one note, loop 0 with count 0 (endless) around the whole.
  const Track track = {ext(0, 0xDD, 0x00), ext(0, 0xD0, 0), ext(0, 0xDD, 0x4C), ev({0, 27, 1, 0}),
                       ext(10, 0xDD, 0x4D), ext(0, 0xDD, 0x01), ev({0, 29, 1, 0})};
  const Conversion plain = convert(melody({track}));
  std::vector<std::string> markers;
  for (const auto& e : withStatus(tracksOf(plain.smf)[1], 0xFF))
    if (e.bytes[1] == 0x06) markers.emplace_back(e.bytes.begin() + 2, e.bytes.end());
  const std::vector<std::string> expected = {"LOOP_START id=0 count=0", "PLAY_START", "LOOP_START id=1 count=3",
                                             "LOOP_END id=1 count=3", "LOOP_END id=0 count=0"};
  EXPECT_EQ(markers, expected);
  EXPECT_EQ(plain.counts.loops, 2);
  EXPECT_EQ(plain.counts.notes, 2);

  ExportOptions unroll;
  unroll.unroll = true;
  const Conversion played = convert(melody({track}), unroll);
  std::vector<std::int64_t> keys72;
  for (const auto& e : withStatus(tracksOf(played.smf)[1], 0x90))
    if (e.bytes[1] == 72) keys72.push_back(e.tick);
  // (3 passes of 10 ticks) twice, then the last note.
  EXPECT_EQ(keys72, (std::vector<std::int64_t>{0, 10, 20, 30, 40, 50}));
  EXPECT_EQ(played.counts.notes, 7);
  EXPECT_EQ(played.counts.ticks, 61);
}

TEST(MidiExport, JumpsGoBackToTheCuePointLikeLoops) {
  // Two tracks of 4-byte events; the cue chunk points track 0 at its second note (offset 8) and
  // track 1 inside an event (offset 2), so track 1 jumps back to its play start instead.
  const Track first = {ev({0, 27, 1, 0}), ext(0, 0xE2, 40), ev({0, 29, 1, 0}), ev({10, 31, 1, 0}),
                       ext(10, 0xD1, 3), ev({0, 33, 1, 0})};
  const Track second = {ev({0, 27, 1, 0}), ext(0, 0xD0, 0), ev({0, 29, 1, 0}), ext(10, 0xD1, 0),
                        ext(0, 0xD1, 7), ev({5, 31, 1, 0})};
  Melody m = melody({first, second});
  ByteString cuep;
  for (const std::uint8_t b : {0, 0, 0, 8, 0, 0, 0, 2}) cuep.push_back(b);
  m.cuePoints = cuePointsOf(cuep, m.tracks);
  ASSERT_EQ(m.cuePoints, (std::vector<std::optional<std::size_t>>{2, std::nullopt}));

  const Conversion plain = convert(m);
  std::vector<std::string> markers;
  for (const auto& e : withStatus(tracksOf(plain.smf)[1], 0xFF))
    if (e.bytes[1] == 0x06) markers.emplace_back(e.bytes.begin() + 2, e.bytes.end());
  EXPECT_EQ(markers, (std::vector<std::string>{"CUE_POINT", "JUMP count=3"}));
  EXPECT_EQ(plain.counts.jumps, 3);
  EXPECT_EQ(plain.counts.notes, 7);
  EXPECT_TRUE(plain.counts.skipped.empty());

  ExportOptions unroll;
  unroll.unroll = true;
  const Conversion played = convert(m, unroll);
  const auto keys = [&](std::size_t track) {
    std::vector<std::pair<std::int64_t, int>> out;
    for (const auto& e : withStatus(tracksOf(played.smf)[track], 0x90)) out.emplace_back(e.tick, e.bytes[1]);
    return out;
  };
  // Track 0: the cue point's two notes three times (count 3), then the last.
  EXPECT_EQ(keys(1), (std::vector<std::pair<std::int64_t, int>>{
                         {0, 72}, {0, 74}, {10, 76}, {20, 74}, {30, 76}, {40, 74}, {50, 76}, {60, 78}}));
  // Track 1: count 0 goes back once; the jump of count 7 right after it goes back six times
  // to the same play start, and the first jump, spent, lets each pass through.
  const auto second_keys = keys(2);
  EXPECT_EQ(second_keys.front(), (std::pair<std::int64_t, int>{0, 72}));
  EXPECT_EQ(std::count_if(second_keys.begin(), second_keys.end(), [](const auto& k) { return k.second == 74; }), 8);
  EXPECT_EQ(second_keys.back(), (std::pair<std::int64_t, int>{85, 76}));
}

TEST(MidiExport, HostileLoopsStopRepeatingInsteadOfFillingTheMemory) {
  // Four nested loops of count 15 around 100 notes would play 5,062,500 of them.
  Track track;
  for (std::uint8_t id = 0; id < 4; ++id) track.push_back(ext(0, 0xDD, static_cast<std::uint8_t>(id << 6 | 15 << 2)));
  for (int k = 0; k < 100; ++k) track.push_back(ev({1, 27, 1, 0}));
  for (std::uint8_t id = 4; id-- > 0;) track.push_back(ext(0, 0xDD, static_cast<std::uint8_t>(id << 6 | 15 << 2 | 1)));
  ExportOptions unroll;
  unroll.unroll = true;
  const Conversion c = convert(melody({track}), unroll);
  EXPECT_GT(c.counts.notes, 500'000);
  EXPECT_LT(c.counts.notes, 1'100'000);
  // The figures say where and why the repeats stopped: near the millionth event, which at about
  // an event a tick of 1/96 s comes a little before 10,417 s.
  ASSERT_TRUE(c.counts.repeatsStopped);
  EXPECT_EQ(c.counts.repeatsStopped->reason, kStoppedByEvents);
  EXPECT_GT(c.counts.repeatsStopped->atSeconds, 9'800);
  EXPECT_LT(c.counts.repeatsStopped->atSeconds, 10'417);
}

// A whole-song loop counted 15 at a minute a pass would play 15 minutes; with a 10-minute limit
// the repeats stop at 10 minutes, the note sounding then released there. One pass longer than
// the limit is left whole (too long to render, as it always was).
TEST(MidiExport, RepeatsStopAtTheLengthLimitAndSaySo) {
  Track song = {ext(0, 0xC0, 60), ext(0, 0xDD, 15 << 2)};  // tempo 60 at timebase 6: a tick 1/6 s
  for (int k = 0; k < 60; ++k) song.push_back(ev({std::uint8_t(k ? 6 : 0), 27, 9, 0}));  // a note a second, 1.5 s long
  song.push_back(ext(6, 0xDD, 15 << 2 | 1));
  ExportOptions render;
  render.unroll = true;
  render.maxSeconds = 600.5;
  const Conversion c = convert(melody({song}), render);
  ASSERT_TRUE(c.counts.repeatsStopped);
  EXPECT_EQ(c.counts.repeatsStopped->reason, kStoppedByLength);
  EXPECT_NEAR(c.counts.repeatsStopped->atSeconds, 600.5, 1.0 / 6);
  EXPECT_LE(c.counts.durationSeconds, 600.5);
  std::size_t ons = 0, offs = 0;
  const auto tracks = tracksOf(c.smf);
  for (const auto& e : tracks[1]) ons += (e.bytes[0] & 0xF0) == 0x90, offs += (e.bytes[0] & 0xF0) == 0x80;
  EXPECT_EQ(ons, 601u);  // one a second from 0 to 600
  EXPECT_EQ(offs, ons);

  render.maxSeconds = 30;
  Track once(song.begin(), song.end());
  once.erase(once.begin() + 1), once.pop_back();  // no loop: 60.5 s in one pass
  const Conversion whole = convert(melody({once}), render);
  EXPECT_FALSE(whole.counts.repeatsStopped);
  EXPECT_GT(whole.counts.durationSeconds, 60);
}

// Device-dependent events that carry data hold a vendor's audio: counted, not played.
TEST(MidiExport, VendorAudioIsCounted) {
  const Track track = {ev({0, 0xFF, 0xFF, 0x00, 0x03, 0x01, 0x02, 0x03}), ev({0, 0xFF, 0xFF, 0x00, 0x00}),
                       ev({0, 0xFF, 0xFF, 0x00, 0x02, 0x10, 0x20}), ev({0, 27, 1, 0})};
  const Conversion c = convert(melody({track}));
  EXPECT_EQ(c.counts.vendorAudioEvents, 2);
  EXPECT_EQ(c.counts.skipped.at("0xFF"), 3);
  EXPECT_EQ(c.counts.notes, 1);
}

TEST(MidiExport, StartingAtAnEventKeepsTheStateBeforeIt) {
  const Track track = {ext(0, 0xC3, 60), ext(0, 0xE0, 7), ev({0, 27, 50, 0}), ext(10, 0xDD, 0x01),
                       ev({20, 29, 5, 0}), ext(5, 0xDF, 0)};
  ExportOptions from;
  from.unroll = true;
  from.fromEvent = {0, 4};
  const Conversion c = convert(melody({track}), from);
  const auto tracks = tracksOf(c.smf);
  std::vector<ByteString> got;
  for (const auto& e : tracks[1]) got.push_back(e.bytes);
  // The note begun before the start is left out; the voice is sent at once; the marker goes.
  EXPECT_EQ(got, (std::vector<ByteString>{{0xC0, 7}, {0x90, 74, 1}, {0x80, 74, 0}}));
  EXPECT_EQ(tracks[1][1].tick, 0);
  EXPECT_EQ(c.cues.front().event, 4u);
  EXPECT_EQ(c.counts.ticks, 5);
  EXPECT_NEAR(c.counts.durationSeconds, 5 * 60.0 / (60 * 48), 1e-9);
}

TEST(MidiExport, OneTrackKeepsTheTempoOfTheOthers) {
  ExportOptions only;
  only.onlyTrack = 1;
  const Conversion c = convert(melody({{ext(0, 0xC3, 60), ev({0, 27, 9, 0})}, {ev({0, 29, 3, 0})}}), only);
  EXPECT_EQ(c.counts.notes, 1);
  EXPECT_EQ(c.counts.tempoChanges, 1);
  EXPECT_EQ(c.counts.channels, std::set<int>{4});
  EXPECT_NEAR(c.counts.durationSeconds, 3 * 60.0 / (60 * 48), 1e-9);
  only.onlyTrack = 2;
  EXPECT_EQ(test::failureNumber([&] { convert(melody({{}}), only); }), err::IndexOutOfRange);
}

TEST(MidiExport, DocumentsThatCannotBeConverted) {
  clsMLD unread;
  EXPECT_EQ(test::failureNumber([&] { melodyOf(unread); }), err::InvalidCall);
  clsMLD doc;
  doc.MLDFile = std::string(TONEKIT_SAMPLES_DIR) + "/kirakira.mld";
  doc.ParseMLD();
  doc.MLDTracData->clear();
  EXPECT_EQ(test::failureNumber([&] { melodyOf(doc); }), err::IndexOutOfRange);
}

TEST(MidiExport, SamplesReadBackWithTheirNames) {
  for (const char* sample : {"kirakira.mld", "kaeru.mld"}) {
    clsMLD doc;
    doc.MLDFile = std::string(TONEKIT_SAMPLES_DIR) + "/" + sample;
    doc.ParseMLD();
    clsMIDI midi;
    midi.ParseMIDIData(convert(melodyOf(doc)).smf);
    EXPECT_EQ(std::make_tuple(midi.MIDIFormat, std::size_t(midi.MIDITracks), midi.MIDIDivision),
              std::make_tuple(std::int16_t{1}, doc.MLDTracData->count() + 1, std::int16_t{kDivision}));
    EXPECT_FALSE(midi.MIDITitle.empty()) << sample;
  }
}

}  // namespace
