// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Files laid out as converters and the later format versions write them, held against a walk of
// their bytes written here from the format's rules alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "MldBuilder.h"
#include "mld/clsMLD.h"
#include "smf/SmfEvents.h"
#include "convert/MidiExport.h"

using namespace tonekit;
using namespace tonekit::sound;

namespace {

// A heard note: tick, MIDI channel, key; and its end.
using Heard = std::tuple<std::int64_t, int, int>;
struct Expected {
  std::vector<Heard> ons, offs;
  std::int64_t end = 0;
};

// The format's rules: a status with pitch 63 starts an extend-status event whose command gives
// its length; drum channels by FF BA (channel vv >> 3, mode 1 drums) and FF B2 (channel in bits
// 6-3, bit 0 on); MIDI channel 10 plays drums, a melodic part there moves to the first channel
// with neither notes nor switches.
Expected walkByRules(const std::vector<ByteString>& tracks, int noteLength, std::size_t exst) {
  struct Sounded { std::int64_t tick; int channel, pitch, shift, gate; };
  std::vector<Sounded> notes;
  std::map<int, std::vector<std::pair<std::int64_t, bool>>> switches;
  Expected out;
  for (std::size_t t = 0; t < tracks.size(); ++t) {
    const ByteString& b = tracks[t];
    std::int64_t tick = 0;
    for (std::size_t i = 0; i + 1 < b.size();) {
      tick += b[i];
      out.end = std::max(out.end, tick);
      const int status = b[i + 1];
      if ((status & 0x3F) != 0x3F) {
        const int shift = noteLength == 4 ? b[i + 3] & 3 : 0;
        notes.push_back({tick, int(t) * 4 + (status >> 6), status & 0x3F, shift, b[i + 2]});
        i += std::size_t(noteLength);
        continue;
      }
      const int command = b[i + 2], data = b[i + 3];
      if (status == 0xFF && command == 0xBA) switches[data >> 3].push_back({tick, (data & 7) == 1});
      if (status == 0xFF && command == 0xB2) switches[(data >> 3) & 15].push_back({tick, (data & 1) == 1});
      i += command >= 0xF0 ? 5 + std::size_t(b[i + 3] << 8 | b[i + 4]) : command >= 0x80 ? 4 : 4 + exst;
    }
  }
  int spare = 9;
  for (int c = 0; c < 16 && spare == 9; ++c)
    if (c != 9 && !switches.count(c) &&
        std::none_of(notes.begin(), notes.end(), [c](const Sounded& n) { return n.channel == c; }))
      spare = c;
  static const int kShift[4] = {0, 12, -24, -12};
  for (const Sounded& n : notes) {
    bool drums = n.channel == 9;
    for (const auto& [at, on] : switches[n.channel])
      if (at <= n.tick) drums = on;
    const int channel = drums ? 9 : n.channel == 9 ? spare : n.channel;
    const int key = (drums ? 35 : 45) + n.pitch + kShift[n.shift];
    out.ons.emplace_back(n.tick, channel, key);
    out.offs.emplace_back(n.tick + std::max(1, n.gate), channel, key);
    out.end = std::max(out.end, n.tick + std::max(1, n.gate));
  }
  std::sort(out.ons.begin(), out.ons.end());
  std::sort(out.offs.begin(), out.offs.end());
  return out;
}

Expected heardIn(const ByteString& smf) {
  Expected out;
  for (const smf::Event& e : smf::readSong(smf).events) {
    if (e.kind() == 0x90 && e.data2 > 0) out.ons.emplace_back(std::int64_t(e.tick), e.channel(), e.data1);
    if (e.kind() == 0x80) out.offs.emplace_back(std::int64_t(e.tick), e.channel(), e.data1);
  }
  std::sort(out.ons.begin(), out.ons.end());
  std::sort(out.offs.begin(), out.offs.end());
  return out;
}

// A song as converters write it: tempo 150 at timebase 48 and the drum channels at tick 0 (FF BA:
// 4-8, 10 and 11 drums, 9 melodic), then bars of notes on all twelve channels of three tracks; half
// way a drum scale change turns channel 2 to drums. With partEvents, the parts' own extend-status
// events (0x3F, 0x7F, 0xBF) stand between the notes.
std::vector<ByteString> converterSong(int noteLength, bool partEvents, int bars) {
  std::vector<ByteString> tracks(3);
  auto add = [](ByteString& to, std::initializer_list<std::uint8_t> bytes) { to.insert(to.end(), bytes); };
  add(tracks[0], {0x00, 0xFF, 0xC3, 0x96});
  for (std::uint8_t vv : {0x21, 0x29, 0x31, 0x39, 0x41, 0x51, 0x59, 0x48}) add(tracks[0], {0x00, 0xFF, 0xBA, vv});
  for (int t = 0; t < 3; ++t) {
    ByteString& e = tracks[std::size_t(t)];
    for (int bar = 0; bar < bars; ++bar) {
      if (t == 0 && bar == bars / 2) add(e, {0x00, 0xFF, 0xB2, 2 << 3 | 1});
      if (partEvents && bar % 8 == 0)
        add(e, {0x00, 0x3F, 0xE0, std::uint8_t(bar), 0x00, 0xBF, 0xE2, 0x30, 0x00, 0x7F, 0x81, 0x20, 0x00, 0xBF, 0x10, 0x01});
      for (int part = 0; part < 4; ++part) {
        const int channel = t * 4 + part;
        const bool kit = (channel >= 4 && channel <= 8) || channel == 10 || channel == 11;
        const auto pitch = std::uint8_t(kit ? (bar + part) % 15 : 20 + (bar * 7 + channel * 5) % 30);
        add(e, {std::uint8_t(part == 0 ? 24 : 0), std::uint8_t(part << 6 | pitch), std::uint8_t(12 + (bar + part) % 30)});
        if (noteLength == 4) e.push_back(std::uint8_t((40 + bar % 20) << 2 | (kit ? 0 : (bar + part) % 4)));
      }
    }
    add(e, {0x18, 0xFF, 0xDF, 0x00});
  }
  return tracks;
}

Melody melodyOfFile(const ByteString& file) {
  clsMLD doc;
  EXPECT_TRUE(doc.parseBytes(file));
  return melodyOf(doc);
}

TEST(RealFiles, ConverterSongsSoundAsTheRulesSay) {
  // MFi2 with 4-byte notes as converters write it; 3-byte notes with the parts' own events.
  for (const auto& [noteLength, partEvents] : {std::pair{4, false}, std::pair{3, true}}) {
    const auto tracks = converterSong(noteLength, partEvents, 90);
    std::vector<ByteString> chunks;
    for (const auto& t : tracks) chunks.push_back(mldtest::track(t));
    const ByteString note = {0x00, std::uint8_t(noteLength == 4 ? 1 : 0)};
    const Melody melody = melodyOfFile(mldtest::mld({mldtest::chunk("note", note), mldtest::chunk("titl", bytesOf("song"))}, chunks, 2));
    const Conversion c = convert(melody);
    const Expected expected = walkByRules(tracks, noteLength, 0);
    const Expected heard = heardIn(c.smf);
    ASSERT_EQ(expected.ons.size(), 3u * 4 * 90);
    EXPECT_EQ(c.counts.notes, std::int64_t(expected.ons.size()));
    EXPECT_EQ(heard.ons, expected.ons) << "note length " << noteLength;
    EXPECT_EQ(heard.offs, expected.offs) << "note length " << noteLength;
    EXPECT_EQ(c.counts.ticks, expected.end);
    EXPECT_NEAR(c.counts.durationSeconds, double(expected.end) * 60.0 / (150 * 48), 1e-9);
    EXPECT_EQ(c.counts.damagedTracks, 0);
    // The melodic channel 9 plays on the first free channel, the kits on channel 10.
    EXPECT_EQ(c.counts.channels, (std::set<int>{0, 1, 2, 3, 9, 12}));
    if (partEvents) {
      EXPECT_EQ(c.counts.audioEvents, 3 * 12);
      EXPECT_EQ(c.counts.skipped, (std::map<std::string, std::int64_t>{{"0x3F_0xE0", 36}, {"0xBF_0x10", 36}, {"0xBF_0xE2", 36}}));
    }
  }
}

TEST(RealFiles, LaterVersionEffectHoldsNoNoteAndCollectsItsAudioCommands) {
  const Conversion c = convert(melodyOfFile(mldtest::mfi4Effect()));
  EXPECT_EQ(c.counts.notes, 0);
  EXPECT_TRUE(heardIn(c.smf).ons.empty());
  EXPECT_EQ(c.counts.ticks, 192);
  EXPECT_DOUBLE_EQ(c.counts.durationSeconds, 3.0);
  EXPECT_EQ(c.counts.skipped, (std::map<std::string, std::int64_t>{{"0x7F_0xF0", 2}}));
  ASSERT_EQ(c.counts.audioEvents, 3);
  ASSERT_EQ(c.audio.size(), 3u);
  EXPECT_EQ(std::make_tuple(c.audio[1].tick, c.audio[1].command, c.audio[1].bytes),
            std::make_tuple(std::int64_t{1}, std::uint8_t{0x00}, ByteString{0x01, 0x7F, 0x00, 0x00, 0x37}));
  EXPECT_EQ(std::make_pair(c.audio[0].command, c.audio[2].command), std::make_pair(std::uint8_t{0x80}, std::uint8_t{0x90}));
}

TEST(RealFiles, DamagedTracksAreCountedAndWhatDoesNotFrameIsLeftOut) {
  // Track 1 ends in half a note, track 2 has no end-of-track: only whole notes sound.
  const ByteString whole = {0x00, 0x05, 0x30, 0x00, 0xFF, 0xDF, 0x00};
  const ByteString cut = {0x00, 0x05, 0x30, 0x00, 0x47};
  const ByteString open = {0x00, 0x05, 0x30};
  const Conversion c = convert(melodyOfFile(mldtest::mld({}, {mldtest::track(whole), mldtest::track(cut), mldtest::track(open)})));
  EXPECT_EQ(c.counts.notes, 3);
  EXPECT_EQ(c.counts.damagedTracks, 2);
  EXPECT_EQ(c.counts.skipped, (std::map<std::string, std::int64_t>{{"incomplete", 1}}));
}

}  // namespace
