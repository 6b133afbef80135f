// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// A melody like a real ringtone through the sound path: what the export lets sound, the render
// at the common rates, and a render as long as the renderer allows.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

#include "RingtoneBuilder.h"
#include "RunProcess.h"
#include "TempDir.h"
#include "mld/clsMLD.h"
#include "smf/SmfEvents.h"
#include "convert/MidiExport.h"

using namespace tonekit;
using tonekit::test::runCli;

namespace {

sound::Melody ringtoneMelody(const test::TempDir& dir) {
  static clsMLD doc;
  doc.MLDFile = dir.write("ringtone.mld", mldtest::ringtoneMld()).string();
  EXPECT_TRUE(doc.ParseMLD());
  return sound::melodyOf(doc);
}

struct Wav {
  int rate = 0;
  std::vector<std::int16_t> samples;  // interleaved stereo
};

Wav readWav(const std::filesystem::path& path) {
  const ByteString bytes = test::TempDir::read(path);
  Wav wav;
  EXPECT_GT(bytes.size(), 44u);
  if (bytes.size() <= 44) return wav;
  std::memcpy(&wav.rate, bytes.data() + 24, 4);
  wav.samples.resize((bytes.size() - 44) / 2);
  std::memcpy(wav.samples.data(), bytes.data() + 44, wav.samples.size() * 2);
  return wav;
}

}  // namespace

// No note starts on a channel whose volume or expression is 0 (the melody never sets either to
// 0), and the drum part plays the drum map's kick, snare and hi-hats.
TEST(Ringtone, EveryNoteStartsAudibleAndDrumsPlayTheKit) {
  test::TempDir dir;
  const sound::Conversion c = sound::convert(ringtoneMelody(dir));
  EXPECT_TRUE(c.counts.skipped.empty());
  EXPECT_EQ(c.counts.channels.size(), 16u);
  EXPECT_GE(c.counts.durationSeconds, 300);
  const smf::Song song = smf::readSong(c.smf);
  std::array<int, 16> volume, expression;
  volume.fill(100), expression.fill(127);  // General MIDI's defaults
  std::set<int> drumKeys;
  std::size_t notes = 0;
  for (const smf::Event& e : song.events) {
    if (e.kind() == 0xB0 && e.data1 == 7) volume[e.channel()] = e.data2;
    if (e.kind() == 0xB0 && e.data1 == 11) expression[e.channel()] = e.data2;
    if (e.kind() != 0x90 || e.data2 == 0) continue;
    ++notes;
    ASSERT_GT(volume[e.channel()] * expression[e.channel()], 0) << "tick " << e.tick << " channel " << int(e.channel());
    if (e.channel() == events::kPercussionChannel) drumKeys.insert(e.data1);
  }
  EXPECT_EQ(notes, std::size_t(c.counts.notes));
  EXPECT_EQ(drumKeys, (std::set<int>{35, 40, 42, 44}));
}

// Both common rates: the WAV is the melody (loop played twice) plus the release, and it sounds
// all the way through, without stretches of silence and without clipping.
TEST(Ringtone, RendersAtBothRatesWithLevelsThroughout) {
  test::TempDir dir;
  const auto file = dir.write("ringtone.mld", mldtest::ringtoneMld());
  for (const int rate : {44100, 48000}) {
    const auto out = dir / ("ringtone-" + std::to_string(rate) + ".wav");
    const auto r = runCli({"render", file.string(), "--out", out.string(), "--rate", std::to_string(rate)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    const Wav wav = readWav(out);
    EXPECT_EQ(wav.rate, rate);
    const auto frames = wav.samples.size() / 2;
    EXPECT_EQ(json["wav_frames"], frames);
    // Unrolled: the eight looped bars (16 s at tempo 120) come twice.
    EXPECT_GE(double(frames) / rate, double(json["duration_seconds"]) + 15.9 + 1);
    EXPECT_LT(double(frames) / rate, double(json["duration_seconds"]) + 16 + 1.5);
    std::size_t clipped = 0;
    const std::size_t window = std::size_t(rate) * 2 * 5;  // 5 s of stereo samples
    for (std::size_t from = 0; from + window <= wav.samples.size() - std::size_t(rate) * 4; from += window) {
      double sum = 0;
      for (std::size_t i = from; i < from + window; ++i) {
        sum += double(wav.samples[i]) * wav.samples[i];
        clipped += std::abs(wav.samples[i]) >= 32767;
      }
      EXPECT_GT(std::sqrt(sum / double(window)), 150) << rate << " Hz, from " << from / 2 / rate << " s";
    }
    EXPECT_LT(clipped, wav.samples.size() / 1000) << rate;
  }
}

// Twenty minutes at 48 kHz (230 MB of WAV) are streamed to the file: the renderer's memory stays
// far below the file's size, the shared temporary folder is not used (here it does not exist),
// and nothing is left beside the target.
TEST(Ringtone, TwentyMinuteRenderStreamsInBoundedMemory) {
  test::TempDir dir;
  const auto file = dir.write("long.mld", mldtest::sparseMld(20 * 60 - 1));
  const auto out = dir / "long.wav";
  ::setenv("TMPDIR", (dir / "absent").c_str(), 1);
  const auto r = runCli({"render", file.string(), "--out", out.string(), "--rate", "48000"});
  ::unsetenv("TMPDIR");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto frames = std::uintmax_t(nlohmann::json::parse(r.out)["wav_frames"]);
  EXPECT_GE(frames, 20u * 60u * 48000u);
  EXPECT_EQ(std::filesystem::file_size(out), 44 + frames * 4);
  struct rusage usage {};
  getrusage(RUSAGE_CHILDREN, &usage);
#ifndef __SANITIZE_ADDRESS__  // the sanitizer's shadow memory and quarantine are no measure of ours
  EXPECT_LT(usage.ru_maxrss, 100 * 1024) << "peak kB";
#endif
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 2);
}
