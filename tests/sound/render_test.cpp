// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The render's own WAV writer against FluidSynth's file renderer on the same events.
#include <fluidsynth.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include "RunProcess.h"
#include "TempDir.h"
#include "core/clsMLD.h"
#include "sound/MidiExport.h"
#include "sound/synth/Synth.h"

using namespace tonekit;

TEST(Render, IsByteForByteWhatFluidSynthsFileRendererWrites) {
  test::TempDir dir;
  clsMLD doc;
  doc.MLDFile = std::string(TONEKIT_SAMPLES_DIR) + "/kirakira.mld";
  ASSERT_TRUE(doc.ParseMLD());
  sound::ExportOptions unroll;
  unroll.unroll = true;
  const auto conversion = sound::convert(sound::melodyOf(doc), unroll);
  const auto soundfont = sound::findSoundfont("");
  constexpr int kRate = 22050;
  const auto ours = dir / "ours.wav";
  const auto rendered = sound::renderWav(conversion.smf, conversion.counts.durationSeconds, soundfont, kRate, ours);

  const auto theirs = dir / "theirs.wav";
  fluid_settings_t* settings = new_fluid_settings();
  fluid_settings_setstr(settings, "audio.file.name", theirs.c_str());
  fluid_settings_setstr(settings, "audio.file.type", "wav");
  fluid_settings_setstr(settings, "audio.file.format", "s16");
  fluid_settings_setnum(settings, "synth.sample-rate", kRate);
  fluid_settings_setstr(settings, "player.timing-source", "sample");
  fluid_synth_t* synth = new_fluid_synth(settings);
  ASSERT_NE(fluid_synth_sfload(synth, soundfont.c_str(), 1), FLUID_FAILED);
  fluid_player_t* player = new_fluid_player(synth);
  fluid_player_add_mem(player, conversion.smf.data(), conversion.smf.size());
  fluid_player_play(player);
  fluid_file_renderer_t* renderer = new_fluid_file_renderer(synth);
  for (std::int64_t frames = 0; frames < rendered.frames; frames += 64) fluid_file_renderer_process_block(renderer);
  delete_fluid_file_renderer(renderer);
  delete_fluid_player(player);
  delete_fluid_synth(synth);
  delete_fluid_settings(settings);

  const ByteString a = test::TempDir::read(ours), b = test::TempDir::read(theirs);
  ASSERT_EQ(a.size(), 44 + std::size_t(rendered.frames) * 4);
  ASSERT_EQ(a.size(), b.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < a.size(); ++i) differing += a[i] != b[i];
  EXPECT_EQ(differing, 0u);
}

// Under a file size limit the render fails as a full disk does, and leaves neither the target nor
// a temporary file behind. (A child of this process would inherit FluidSynth's threads' locks.)
TEST(Render, FileSizeLimitIsAFullDisk) {
  test::TempDir dir;
  const auto out = dir / "out.wav";
  const auto r = test::runProcess({"/bin/sh", "-c", "ulimit -f 100 && exec \"$0\" \"$@\"", TONEKIT_CLI_PATH, "render",
                                   std::string(TONEKIT_SAMPLES_DIR) + "/kirakira.mld", "--out", out.string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.substr(0, 11), "61:TONEKIT:") << r.err;
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// The WAV's left channel as numbers.
std::vector<int> leftSamples(const ByteString& wav) {
  std::vector<int> out;
  for (std::size_t i = 44; i + 3 < wav.size(); i += 4) out.push_back(std::int16_t(wav[i] | wav[i + 1] << 8));
  return out;
}

// A click every beat across 48 tempo changes (tempos 60 to 239 at timebases 48 and 30): each click
// starts as long after its time as the first one does, give or take 1 ms beyond the steps
// FluidSynth takes anyway (blocks of 64 frames, a clock of whole milliseconds).
TEST(Render, ClicksStayOnTimeAcrossManyTempoChanges) {
  constexpr int kRate = 44100, kSegments = 48, kBeats = 4;
  std::vector<std::pair<int, ByteString>> tempo, clicks;  // at absolute ticks, without delta
  std::vector<double> times;
  double seconds = 0;
  int tick = 0;
  for (int k = 0; k < kSegments; ++k) {
    const bool thirty = k % 3 == 1;
    const int timebase = thirty ? 30 : 48, value = 60 + (k * 67) % 180;
    tempo.push_back({tick, {0xFF, std::uint8_t(thirty ? 0xC9 : 0xC3), std::uint8_t(value)}});
    // Claves (key 35 + 40) on MIDI channel 10 (track 2, part 1), one tick long.
    for (int b = 0; b < kBeats; ++b, tick += timebase, seconds += 60.0 / value) {
      clicks.push_back({tick, {0x40 | 40, 1, 63 << 2}});
      times.push_back(seconds);
    }
  }
  const auto track = [](const std::vector<std::pair<int, ByteString>>& timed) {
    std::vector<clsNote> out;
    int at = 0;
    for (const auto& [t, bytes] : timed) {
      ByteString event{std::uint8_t(t - at)};
      event.insert(event.end(), bytes.begin(), bytes.end());
      out.emplace_back(event);
      at = t;
    }
    return out;
  };
  sound::Melody melody;
  melody.noteLength = 4;
  melody.tracks = {track(tempo), {}, track(clicks)};
  sound::ExportOptions render;
  render.unroll = true;
  render.timeGrid = true;
  const auto conversion = sound::convert(melody, render);
  test::TempDir dir;
  sound::renderWav(conversion.smf, conversion.counts.durationSeconds, sound::findSoundfont(""), kRate, dir / "c.wav");
  const std::vector<int> samples = leftSamples(test::TempDir::read(dir / "c.wav"));

  // Each click's onset: the first sample above a quarter of the loudest, 150 ms or more after the
  // one before (which has died away by then: beats are at least 250 ms apart).
  const int threshold = *std::max_element(samples.begin(), samples.end()) / 4;
  std::vector<double> lateness;
  std::size_t i = 0;
  for (const double t : times) {
    while (i < samples.size() && std::abs(samples[i]) < threshold) ++i;
    ASSERT_LT(i, samples.size()) << t << " s";
    lateness.push_back(double(i) / kRate - t);
    i += kRate * 15 / 100;
  }
  const auto [early, late] = std::minmax_element(lateness.begin(), lateness.end());
  EXPECT_LT(*late - *early, 0.001 + 64.0 / kRate + 0.001) << "earliest " << *early * 1000 << " ms, latest " << *late * 1000 << " ms";
}
