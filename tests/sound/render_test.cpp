// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The render's own WAV writer against FluidSynth's file renderer on the same events.
#include <fluidsynth.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "AsUser.h"
#include "RunProcess.h"
#include "TempDir.h"
#include "mld/clsMLD.h"
#include "convert/MidiExport.h"
#include "sound/Synth.h"

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

namespace {

struct Limited {
  int status = -1;  // the raw wait status
  std::string err;
};

// tonekit-cli render in a forked child under a resource limit, as the other user when asked (a
// process limit does not bind root); standard error is kept.
Limited renderLimited(const test::TempDir& dir, const std::filesystem::path& out, int resource, rlim_t limit,
                      bool otherUser) {
  const std::string errPath = (dir / "stderr.txt").string();
  std::string program = TONEKIT_CLI_PATH;
  std::string sample = std::string(TONEKIT_SAMPLES_DIR) + "/kirakira.mld";
  test::TempDir reachable;
  if (otherUser) {
    // The build may lie where the other user cannot go (a checkout in root's home): the program
    // and the melody are copied into a folder of their own that user can reach.
    ::chmod(reachable.path().c_str(), 0755);
    const auto copied = [&](const std::string& from) {
      const auto to = reachable / std::filesystem::path(from).filename();
      std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
      return to.string();
    };
    program = copied(program);
    sample = copied(sample);
  }
  const std::string outText = out.string();
  const char* argv[] = {program.c_str(), "render", sample.c_str(), "--out", outText.c_str(), nullptr};
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int errFd = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const int nullFd = ::open("/dev/null", O_WRONLY);
    if (errFd < 0 || nullFd < 0 || ::dup2(errFd, 2) < 0 || ::dup2(nullFd, 1) < 0) ::_exit(120);
    if (otherUser && !test::becomeOtherUser()) ::_exit(121);
    const rlimit r{limit, limit};
    if (::setrlimit(resource, &r) != 0) ::_exit(122);
    ::execv(argv[0], const_cast<char* const*>(argv));
    ::_exit(123);
  }
  Limited result;
  ::waitpid(pid, &result.status, 0);
  const ByteString err = test::TempDir::read(errPath);
  result.err.assign(err.begin(), err.end());
  std::filesystem::remove(errPath);
  return result;
}

// A WAV with a second name: the render saves it in place, emptying it before the new sound goes in.
std::filesystem::path twoNamedWav(const test::TempDir& dir, const ByteString& old) {
  const auto wav = dir.write("k.wav", old);
  std::filesystem::create_hard_link(wav, dir / "k2.wav");
  return wav;
}

std::size_t entriesIn(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

}  // namespace

// With no thread to spare (a process limit of one), the render still works, on its own thread.
TEST(Render, InPlaceUnderAProcessLimitRendersOnOneThread) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the leak checker starts a thread of its own at exit";
#endif
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run as a user a process limit binds";
  test::TempDir dir;
  ::chmod(dir.path().c_str(), 0777);
  const ByteString old(5000, 'o');
  const auto wav = twoNamedWav(dir, old);
  ASSERT_EQ(::chown(wav.c_str(), test::kOtherUser, test::kOtherUser), 0);
  const Limited r = renderLimited(dir, wav, RLIMIT_NPROC, 1, true);
  ASSERT_TRUE(WIFEXITED(r.status)) << r.status;
  EXPECT_EQ(WEXITSTATUS(r.status), 0) << r.err;
  const ByteString now = test::TempDir::read(dir / "k2.wav");
  ASSERT_GT(now.size(), 44u);
  EXPECT_EQ(std::string(now.begin(), now.begin() + 4), "RIFF");
  EXPECT_EQ(entriesIn(dir.path()), 2u);
}

// Short of memory anywhere in the render, the file keeps its old bytes and the failure is one
// NUMBER:SOURCE:DESCRIPTION line, never a crash with an empty file.
TEST(Render, InPlaceShortOfMemoryKeepsTheOldBytes) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer needs more address space than any limit here";
#endif
  // Limits of the address space around what the render needs (a sweep of 41, from where the
  // program's libraries barely load to where the render fits).
  constexpr rlim_t kLowestLimitKb = 40000, kHighestLimitKb = 80000, kLimitStepKb = 1000;
  test::TempDir dir;
  const ByteString old(5000, 'o');
  const auto wav = twoNamedWav(dir, old);
  int failed = 0;
  for (rlim_t kb = kLowestLimitKb; kb <= kHighestLimitKb; kb += kLimitStepKb) {
    const Limited r = renderLimited(dir, wav, RLIMIT_AS, kb * 1024, false);
    // Below what the system's loader needs to start the program at all: not the program's to say.
    if (WIFEXITED(r.status) && WEXITSTATUS(r.status) == 127) continue;
    ASSERT_TRUE(WIFEXITED(r.status)) << kb << " kB: status " << r.status << " " << r.err;
    const ByteString now = test::TempDir::read(dir / "k2.wav");
    if (WEXITSTATUS(r.status) == 0) {
      EXPECT_EQ(std::string(now.begin(), now.begin() + 4), "RIFF") << kb;
      dir.write("k.wav", old);  // the same inode, through the first name
      continue;
    }
    ++failed;
    EXPECT_EQ(WEXITSTATUS(r.status), 1) << kb;
    EXPECT_NE(r.err.find(":TONEKIT:"), std::string::npos) << kb << " kB: " << r.err;
    EXPECT_EQ(now, old) << kb;
    EXPECT_EQ(entriesIn(dir.path()), 2u) << kb;
  }
  EXPECT_GT(failed, 0);
}
