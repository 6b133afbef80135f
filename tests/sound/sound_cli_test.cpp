// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli export and render, run as separate programs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>

#include "MldBuilder.h"
#include "RunProcess.h"
#include "TempDir.h"
#include "smf/clsMIDI.h"

using namespace tonekit;
using tonekit::test::runCli;
namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(TONEKIT_SAMPLES_DIR) + "/kaeru.mld";

TEST(SoundCommands, ExportWritesTheFileAndPrintsItsFigures) {
  test::TempDir dir;
  const auto out = dir / "kaeru.mid";
  const auto r = runCli({"export", kSample, "--out", out.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto json = nlohmann::ordered_json::parse(r.out);
  std::vector<std::string> keys;
  for (const auto& [key, value] : json.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"notes", "dropped_notes", "skipped_events", "channels", "tempo_changes",
                                            "loops", "ticks", "duration_seconds", "audio_chunks_not_played",
                                            "jumps", "vendor_audio_events", "damaged_tracks", "audio_events"}));
  clsMIDI midi;
  midi.MIDIFile = out.string();
  midi.ParseMIDI();
  EXPECT_EQ(midi.MIDIFormat, 1);
}

TEST(SoundCommands, FailuresLeaveTheTargetAsItWas) {
  test::TempDir dir;
  const auto out = dir.write("keep.mid", bytesOf("old"));
  const auto absent = (dir / "absent.sf2").string();
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"export", (dir / "absent.mld").string(), "--out", out.string()},
        {"export", kSample, "--out", out.string(), "--track", "7"},
        {"export", kSample, "--out", (dir / "no" / "such" / "x.mid").string()},
        {"render", kSample, "--out", out.string(), "--soundfont", absent}}) {
    const auto r = runCli(args);
    EXPECT_EQ(r.exitCode, 1) << args[1];
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(":TONEKIT:"), std::string::npos) << r.err;
  }
  EXPECT_EQ(test::TempDir::read(out), bytesOf("old"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

  // Without a soundfont the message names the package to install and the file looked for.
  setenv("TONEKIT_SOUNDFONT", absent.c_str(), 1);
  const auto r = runCli({"render", kSample, "--out", out.string()});
  unsetenv("TONEKIT_SOUNDFONT");
  EXPECT_EQ(r.err.rfind("53:TONEKIT:", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("timgm6mb-soundfont"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(absent), std::string::npos) << r.err;
  // A folder is there: it is no soundfont, and no package would help.
  const auto folder = runCli({"render", kSample, "--out", out.string(), "--soundfont", dir.path().string()});
  EXPECT_EQ(folder.err.rfind("75:TONEKIT:", 0), 0u) << folder.err;
}

TEST(SoundCommands, RenderWritesTheMelodyAndItsRelease) {
  test::TempDir dir;
  const auto out = dir / "kaeru.wav";
  const auto r = runCli({"render", kSample, "--out", out.string(), "--rate", "22050"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto json = nlohmann::ordered_json::parse(r.out);
  // 16-bit stereo: the canonical 44-byte header, then 4 bytes a frame.
  const ByteString wav = test::TempDir::read(out);
  ASSERT_GT(wav.size(), 44u);
  EXPECT_EQ(asciiOf(ByteString(wav.begin() + 36, wav.begin() + 40)), "data");
  std::vector<std::int16_t> samples((wav.size() - 44) / 2);
  std::memcpy(samples.data(), wav.data() + 44, samples.size() * 2);
  const double expectedFrames = (double(json["duration_seconds"]) + 1.0) * 22050;
  EXPECT_EQ(json["wav_frames"], samples.size() / 2);
  EXPECT_GE(double(samples.size() / 2), expectedFrames);
  EXPECT_LT(double(samples.size() / 2), expectedFrames + 64);  // one audio block
  EXPECT_GT(*std::max_element(samples.begin(), samples.end()), 1000);
  EXPECT_TRUE(json["repeats_stopped"].is_null());
}

TEST(SoundCommands, LaterFormatNotesSoundAndTheirAudioIsCountedAsNotPlayed) {
  test::TempDir dir;
  const auto in = dir.write("later.mld", mldtest::laterMld(4, 2, bytesOf("later")));
  const auto exported = runCli({"export", in.string(), "--out", (dir / "later.mid").string()});
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  const auto figures = nlohmann::json::parse(exported.out);
  EXPECT_EQ(figures["notes"], 4 * 16 * 4);
  EXPECT_EQ(figures["loops"], 4);
  EXPECT_EQ(figures["jumps"], 4);
  EXPECT_EQ(figures["audio_chunks_not_played"], 2);

  const auto rendered = runCli({"render", in.string(), "--out", (dir / "later.wav").string(), "--rate", "8000"});
  ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
  const auto played = nlohmann::json::parse(rendered.out);
  EXPECT_EQ(played["audio_chunks_not_played"], 2);
  EXPECT_GT(played["wav_seconds"].get<double>(), figures["duration_seconds"].get<double>());
}

}  // namespace
