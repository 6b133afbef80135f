// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Cutting track chunks into event records and putting them together again.
#include <gtest/gtest.h>

#include "MldBuilder.h"
#include "base/Failure.h"
#include "mld/TrackEvents.h"

using namespace tonekit;

namespace {

std::vector<ByteString> recordsOf(const std::vector<clsNote>& notes) {
  std::vector<ByteString> out;
  for (const auto& n : notes) out.push_back(n.getData());
  return out;
}

void expectRoundTrip(const ByteString& chunk, int noteLength) {
  EXPECT_EQ(assembleTrack(walkTrack(chunk, noteLength)), chunk) << "note length " << noteLength;
}

}  // namespace

TEST(clsNote, HoldsExactlyTheBytesGiven) {
  clsNote note;
  EXPECT_TRUE(note.getData().empty());
  note.setData({1, 2, 3});
  ByteString copy = note.getData();
  copy[0] = 9;  // a copy: the record is untouched
  EXPECT_EQ(note.getData(), (ByteString{1, 2, 3}));
  note.setData({7});
  EXPECT_EQ(note.getData(), (ByteString{7}));
}

TEST(TrackWalk, EmptyTrackAndEmptyAssembly) {
  for (int n : {3, 4}) EXPECT_TRUE(walkTrack(mldtest::track({}), n).empty());
  EXPECT_EQ(assembleTrack({}), (ByteString{'t', 'r', 'a', 'c', 0, 0, 0, 0}));
}

TEST(TrackWalk, SingleEndOfTrackInBothNoteLengths) {
  const ByteString chunk = mldtest::track({0x05, 0xFF, 0xDF, 0x00});
  for (int n : {3, 4}) {
    EXPECT_EQ(recordsOf(walkTrack(chunk, n)), (std::vector<ByteString>{{0x05, 0xFF, 0xDF, 0x00}}));
    expectRoundTrip(chunk, n);
  }
}

TEST(TrackWalk, NoteThenEndOfTrackWithThreeByteNotes) {
  const ByteString chunk = mldtest::track({0x00, 0x05, 0x30, 0x00, 0xFF, 0xDF, 0x00});
  EXPECT_EQ(recordsOf(walkTrack(chunk, 3)),
            (std::vector<ByteString>{{0x00, 0x05, 0x30}, {0x00, 0xFF, 0xDF, 0x00}}));
  expectRoundTrip(chunk, 3);
}

TEST(TrackWalk, MixedEventsInBothNoteLengths) {
  const ByteString events3 = {0x00, 0xFF, 0xC4, 0x78,  // tempo
                              0x00, 0x5B, 0x20,        // channel 1, pitch 27
                              0x10, 0x9D, 0x20,        // channel 2, pitch 29
                              0x20, 0xFF, 0xDF, 0x00};
  EXPECT_EQ(walkTrack(mldtest::track(events3), 3).size(), 4u);
  expectRoundTrip(mldtest::track(events3), 3);

  const ByteString events4 = {0x00, 0xFF, 0xC4, 0x78, 0x00, 0x5B, 0x20, 0xC0, 0x10, 0x9D, 0x20, 0xFE, 0x20, 0xFF, 0xDF, 0x00};
  EXPECT_EQ(recordsOf(walkTrack(mldtest::track(events4), 4)),
            (std::vector<ByteString>{{0x00, 0xFF, 0xC4, 0x78},
                                     {0x00, 0x5B, 0x20, 0xC0},
                                     {0x10, 0x9D, 0x20, 0xFE},
                                     {0x20, 0xFF, 0xDF, 0x00}}));
  expectRoundTrip(mldtest::track(events4), 4);
}

TEST(TrackWalk, EventsAfterEndOfTrackAreKept) {
  const ByteString chunk = mldtest::track({0x00, 0xFF, 0xDF, 0x00, 0x01, 0x1B, 0x10, 0x02, 0xFF, 0xDE, 0x00});
  EXPECT_EQ(recordsOf(walkTrack(chunk, 3)),
            (std::vector<ByteString>{{0x00, 0xFF, 0xDF, 0x00}, {0x01, 0x1B, 0x10}, {0x02, 0xFF, 0xDE, 0x00}}));
  expectRoundTrip(chunk, 3);
}

// The start of an MFi4 sound effect ("exst" 1): tempo, master volume, two ext-info blocks of the
// audio voice (0x7F), its level, the start of audio entry 0 at level 0x37, a 3D setting, the end.
const std::vector<ByteString> kEffectEvents = {
    {0x00, 0xFF, 0xC3, 0x50}, {0x00, 0xFF, 0xB0, 0x7F}, {0x00, 0x7F, 0xF0, 0x00, 0x06, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06},
    {0x00, 0x7F, 0x80, 0x3F}, {0x01, 0x7F, 0x00, 0x00, 0x37}, {0x07, 0x7F, 0xF0, 0x00, 0x06, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60},
    {0xB8, 0x7F, 0x90, 0x3F}, {0x00, 0xFF, 0xDF, 0x00}};

TEST(TrackWalk, ExtendStatusOnEveryPartIsFramedByItsCommand) {
  ByteString effect;
  for (const auto& e : kEffectEvents) effect.insert(effect.end(), e.begin(), e.end());
  EXPECT_EQ(recordsOf(walkTrack(mldtest::track(effect), {4, 1})), kEffectEvents);
  expectRoundTrip(mldtest::track(effect), 4);

  // 3-byte notes between part events: from 0xF0 a length, from 0x80 one data byte, below 0x80
  // one and the "exst" bytes.
  for (std::uint8_t status : {0x3F, 0x7F, 0xBF}) {
    const std::vector<ByteString> events = {{0x00, status, 0xE0, 0x05}, {0x00, 0x05, 0x30}, {0x00, status, 0x10, 0x01, 0x02},
                                            {0x00, status, 0xF1, 0x00, 0x01, 0x00}, {0x00, 0x45, 0x18}, {0x00, 0xFF, 0xDF, 0x00}};
    ByteString bytes;
    for (const auto& e : events) bytes.insert(bytes.end(), e.begin(), e.end());
    EXPECT_EQ(recordsOf(walkTrack(mldtest::track(bytes), {3, 1})), events) << int(status);
    EXPECT_EQ(damageOf(mldtest::track(bytes), walkTrack(mldtest::track(bytes), {3, 1}), {3, 1}), std::nullopt);
  }
  // Without "exst" a command below 0x80 has its one data byte only.
  EXPECT_EQ(recordsOf(walkTrack(mldtest::track({0x00, 0xFF, 0x10, 0x01, 0x00, 0x05, 0x30}), 3)),
            (std::vector<ByteString>{{0x00, 0xFF, 0x10, 0x01}, {0x00, 0x05, 0x30}}));
}

TEST(TrackWalk, DamagedTracksNameWhereTheyStopFraming) {
  const auto damage = [](const ByteString& chunk, events::Framing f = 3) { return damageOf(chunk, walkTrack(chunk, f), f); };
  const ByteString whole = {0x00, 0x05, 0x30, 0x00, 0xFF, 0xDF, 0x00};
  EXPECT_EQ(damage(mldtest::track(whole)), std::nullopt);
  // Events behind the end-of-track are still whole events.
  EXPECT_EQ(damage(mldtest::track({0x00, 0xFF, 0xDF, 0x00, 0x00, 0x05, 0x30})), std::nullopt);
  // A last event cut off, a track without end-of-track, an ext-info running past the end.
  EXPECT_EQ(damage(mldtest::track({0x00, 0x05, 0x30, 0x00, 0xFF, 0xDF, 0x00, 0x00, 0xFF})), 7u);
  EXPECT_EQ(damage(mldtest::track({0x00, 0x05, 0x30, 0x01, 0x06, 0x30})), 6u);
  EXPECT_EQ(damage(mldtest::track({0x00, 0x05, 0x30, 0x00, 0xBF, 0xF0, 0x00, 0x09, 0x00, 0xFF, 0xDF, 0x00})), 3u);
  // With "exst" 2 the audio start needs two bytes more than the track has.
  EXPECT_EQ(damage(mldtest::track({0x00, 0xFF, 0xDF, 0x00, 0x00, 0x7F, 0x00, 0x00, 0x37}), {3, 2}), 4u);
  // A chunk whose bytes stop before its length field says.
  ByteString cut = mldtest::track(whole);
  cut[7] += 3;
  EXPECT_EQ(damage(cut), 7u);
}

TEST(TrackWalk, ExtInfoEventsAreFramedByTheirLength) {
  // voice edit with 3 data bytes that look like events, then vibrato with none, then EOT
  const ByteString events = {0x00, 0xFF, 0xF0, 0x00, 0x03, 0xFF, 0xDF, 0x00,
                             0x01, 0xFF, 0xF1, 0x00, 0x00,
                             0x02, 0xFF, 0xDF, 0x00};
  for (int n : {3, 4}) {
    EXPECT_EQ(recordsOf(walkTrack(mldtest::track(events), n)),
              (std::vector<ByteString>{{0x00, 0xFF, 0xF0, 0x00, 0x03, 0xFF, 0xDF, 0x00},
                                       {0x01, 0xFF, 0xF1, 0x00, 0x00},
                                       {0x02, 0xFF, 0xDF, 0x00}}));
    expectRoundTrip(mldtest::track(events), n);
  }
  EXPECT_TRUE(isExtInfoEvent({0x00, 0xFF, 0xFF}));
  EXPECT_FALSE(isExtInfoEvent({0x00, 0xFF, 0xEF, 0x00}));
  EXPECT_TRUE(isExtInfoEvent({0x00, 0xBF, 0xF0, 0x00}));
}

TEST(TrackWalk, ExtInfoLongerThanTheTrackTakesWhatIsThere) {
  // Claims 0x1234 data bytes; only two follow.
  const ByteString chunk = mldtest::track({0x00, 0x1B, 0x10, 0x00, 0xFF, 0xFF, 0x12, 0x34, 0xAA, 0xBB});
  EXPECT_EQ(recordsOf(walkTrack(chunk, 3)),
            (std::vector<ByteString>{{0x00, 0x1B, 0x10}, {0x00, 0xFF, 0xFF, 0x12, 0x34, 0xAA, 0xBB}}));
  expectRoundTrip(chunk, 3);
  // Its length field itself cut off.
  const ByteString cut = mldtest::track({0x00, 0xFF, 0xF0, 0x00});
  EXPECT_EQ(recordsOf(walkTrack(cut, 4)), (std::vector<ByteString>{{0x00, 0xFF, 0xF0, 0x00}}));
  expectRoundTrip(cut, 4);
}

TEST(TrackWalk, TailsThatAreNotWholeEventsBecomeShortRecords) {
  // A last 3-byte note with 3-byte notes: one byte less than an extend-status event.
  const ByteString note3 = mldtest::track({0x00, 0xFF, 0xDE, 0x00, 0x00, 0x1B, 0x10});
  EXPECT_EQ(recordsOf(walkTrack(note3, 3)), (std::vector<ByteString>{{0x00, 0xFF, 0xDE, 0x00}, {0x00, 0x1B, 0x10}}));
  expectRoundTrip(note3, 3);
  // Fragments of one and two bytes, and a cut-off extend-status event, in both note lengths.
  for (const ByteString& tail : {ByteString{0x07}, ByteString{0x07, 0x1B}, ByteString{0x07, 0xFF, 0xDF}}) {
    ByteString events = {0x00, 0xFF, 0xDE, 0x00};
    events.insert(events.end(), tail.begin(), tail.end());
    for (int n : {3, 4}) {
      const auto records = recordsOf(walkTrack(mldtest::track(events), n));
      ASSERT_EQ(records.size(), 2u);
      EXPECT_EQ(records[1], tail);
      expectRoundTrip(mldtest::track(events), n);
    }
  }
}

TEST(TrackWalk, ChunkCutShortKeepsTheBytesItHas) {
  ByteString chunk = mldtest::track({0x00, 0x1B, 0x10, 0x00, 0xFF, 0xDF, 0x00});
  chunk.resize(chunk.size() - 2);  // length field still says 7
  EXPECT_EQ(recordsOf(walkTrack(chunk, 3)), (std::vector<ByteString>{{0x00, 0x1B, 0x10}, {0x00, 0xFF}}));
  // Putting them together states the length that is really there.
  EXPECT_EQ(assembleTrack(walkTrack(chunk, 3)),
            (ByteString{'t', 'r', 'a', 'c', 0, 0, 0, 5, 0x00, 0x1B, 0x10, 0x00, 0xFF}));

  // A huge length field over a few bytes neither crashes nor asks for memory it names.
  const ByteString huge = {'t', 'r', 'a', 'c', 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x1B, 0x10};
  EXPECT_EQ(recordsOf(walkTrack(huge, 4)), (std::vector<ByteString>{{0x00, 0x1B, 0x10}}));

  // Bytes behind the stated length are not part of the track.
  ByteString longer = mldtest::track({0x00, 0xFF, 0xDF, 0x00});
  longer.push_back(0x42);
  EXPECT_EQ(walkTrack(longer, 3).size(), 1u);
}

TEST(TrackWalk, ChunkWithoutACompleteHeaderFails) {
  for (const ByteString& chunk : {ByteString{}, bytesOf("trac"), ByteString{'t', 'r', 'a', 'c', 0, 0, 0}}) {
    try {
      walkTrack(chunk, 3);
      FAIL() << "no failure for " << chunk.size() << " bytes";
    } catch (const Failure& f) {
      EXPECT_EQ(f.number(), err::IndexOutOfRange);
    }
  }
}

TEST(TrackAssembly, RecomputesTheLengthFromTheRecords) {
  std::vector<clsNote> notes = {clsNote({0x00, 0x1B, 0x10}), clsNote({0x00, 0xFF, 0xE0, 0x00})};
  EXPECT_EQ(assembleTrack(notes),
            (ByteString{'t', 'r', 'a', 'c', 0, 0, 0, 7, 0x00, 0x1B, 0x10, 0x00, 0xFF, 0xE0, 0x00}));
  ByteString big(300, 0x00);
  notes = {clsNote(big)};
  const ByteString chunk = assembleTrack(notes);
  EXPECT_EQ(midBytes(chunk, 5, 4), (ByteString{0, 0, 1, 0x2C}));
}
