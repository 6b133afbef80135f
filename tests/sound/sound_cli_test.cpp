// tonekit-cli export and render, run as separate programs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>

#include "RunProcess.h"
#include "TempDir.h"
#include "smf/clsMIDI.h"

using namespace tonekit;
using tonekit::test::runCli;
namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(TONEKIT_SAMPLES_DIR) + "/kaeru.mld";

std::vector<std::string> keysOf(const nlohmann::ordered_json& json) {
  std::vector<std::string> keys;
  for (const auto& [key, value] : json.items()) keys.push_back(key);
  return keys;
}

const std::vector<std::string> kCountKeys = {"notes", "dropped_notes", "skipped_events", "channels",
                                             "tempo_changes", "loops", "ticks", "duration_seconds"};

TEST(ExportCommand, WritesTheFileAndPrintsItsFigures) {
  test::TempDir dir;
  const auto out = dir / "kaeru.mid";
  const auto r = runCli({"export", kSample, "--out", out.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto json = nlohmann::ordered_json::parse(r.out);
  EXPECT_EQ(keysOf(json), kCountKeys);
  EXPECT_EQ(json["duration_seconds"], 24.0);
  clsMIDI midi;
  midi.MIDIFile = out.string();
  midi.ParseMIDI();
  EXPECT_EQ(midi.MIDIFormat, 1);

  const auto one = runCli({"export", kSample, "--out", out.string(), "--track", "1"});
  ASSERT_EQ(one.exitCode, 0) << one.err;
  EXPECT_LT(nlohmann::json::parse(one.out)["notes"], json["notes"]);
}

TEST(ExportCommand, FailuresLeaveTheTargetAsItWas) {
  test::TempDir dir;
  const auto out = dir.write("keep.mid", bytesOf("old"));
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"export", (dir / "absent.mld").string(), "--out", out.string()},
        {"export", kSample, "--out", out.string(), "--track", "7"},
        {"export", kSample, "--out", (dir / "no" / "such" / "x.mid").string()}}) {
    const auto r = runCli(args);
    EXPECT_EQ(r.exitCode, 1) << args[1];
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(":TONEKIT:"), std::string::npos) << r.err;
  }
  EXPECT_EQ(test::TempDir::read(out), bytesOf("old"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// The frames of a 16-bit stereo WAV file's data chunk.
std::vector<std::int16_t> wavSamples(const ByteString& wav) {
  EXPECT_EQ(asciiOf(ByteString(wav.begin(), wav.begin() + 4)), "RIFF");
  for (std::size_t p = 12; p + 8 <= wav.size();) {
    const std::size_t size = wav[p + 4] | wav[p + 5] << 8 | wav[p + 6] << 16 | std::size_t(wav[p + 7]) << 24;
    if (asciiOf(ByteString(wav.begin() + std::ptrdiff_t(p), wav.begin() + std::ptrdiff_t(p) + 4)) == "data") {
      std::vector<std::int16_t> samples(std::min(size, wav.size() - p - 8) / 2);
      std::memcpy(samples.data(), wav.data() + p + 8, samples.size() * 2);
      return samples;
    }
    p += 8 + size;
  }
  ADD_FAILURE() << "no data chunk";
  return {};
}

TEST(RenderCommand, WritesTheMelodyWithItsReleaseAndSound) {
  test::TempDir dir;
  const auto out = dir / "kaeru.wav";
  const auto r = runCli({"render", kSample, "--out", out.string(), "--rate", "22050"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto json = nlohmann::ordered_json::parse(r.out);
  const auto samples = wavSamples(test::TempDir::read(out));
  const double expectedFrames = (double(json["duration_seconds"]) + 1.0) * 22050;
  EXPECT_GE(double(samples.size() / 2), expectedFrames);
  EXPECT_LT(double(samples.size() / 2), expectedFrames + 64);
  EXPECT_EQ(json["wav_frames"], samples.size() / 2);
  const auto loudest = std::max_element(samples.begin(), samples.end(), [](int a, int b) { return std::abs(a) < std::abs(b); });
  EXPECT_GT(std::abs(int(*loudest)), 1000);
}

TEST(RenderCommand, MissingSoundfontNamesThePackage) {
  test::TempDir dir;
  const auto out = dir / "x.wav";
  const auto absent = (dir / "absent.sf2").string();
  const auto viaOption = runCli({"render", kSample, "--out", out.string(), "--soundfont", absent});
  setenv("TONEKIT_SOUNDFONT", absent.c_str(), 1);
  const auto viaEnvironment = runCli({"render", kSample, "--out", out.string()});
  unsetenv("TONEKIT_SOUNDFONT");
  for (const auto& r : {viaOption, viaEnvironment}) {
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("53:TONEKIT:", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("timgm6mb-soundfont"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(absent), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
