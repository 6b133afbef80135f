// tonekit-cli export and render, run as separate programs.
#include <gtest/gtest.h>

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

}  // namespace
