// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The render's own WAV writer against FluidSynth's file renderer on the same events.
#include <fluidsynth.h>
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
