// tonekit-cli smf, run as a separate program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "SmfBuilder.h"

using namespace tonekit;
using namespace tonekit::smftest;
namespace fs = std::filesystem;

namespace {

struct SmfRun {
  int exitCode = -1;
  std::string out, err;
};

std::string quoted(const std::string& s) { return "'" + s + "'"; }

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class SmfCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    folder_ = fs::temp_directory_path() / ("tonekit-cli-smf-" + std::to_string(rd()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path write(const std::string& name, const ByteString& data) {
    const fs::path p = folder_ / name;
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                             static_cast<std::streamsize>(data.size()));
    return p;
  }

  SmfRun run(const std::string& args) {
    const fs::path out = folder_ / "stdout.txt", err = folder_ / "stderr.txt";
    const std::string command =
        quoted(TONEKIT_CLI_PATH) + " " + args + " >" + quoted(out.string()) + " 2>" + quoted(err.string());
    const int status = std::system(command.c_str());
    SmfRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
  }

  fs::path folder_;
};

}  // namespace

TEST_F(SmfCommand, PrintsTheFactsAsOneJsonObject) {
  const ByteString title{0x83, 0x4a, 0x83, 0x47, 0x83, 0x8b, 0x82, 0xcc, 0x89, 0xcc};  // カエルの歌
  const fs::path file = write("kaeru.mid", header(1, 2, 480) + track({meta(0x03, title), meta(0x02, "(C) me")}) +
                                               track({noteOnOff()}));
  const SmfRun r = run("smf " + quoted(file.string()));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto json = nlohmann::ordered_json::parse(r.out);
  std::vector<std::string> keys;
  for (const auto& [key, value] : json.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"path", "format", "tracks", "division", "title", "copyright", "time"}));
  EXPECT_EQ(json["path"], file.string());
  EXPECT_EQ(json["format"], 1);
  EXPECT_EQ(json["tracks"], 2);
  EXPECT_EQ(json["division"], 480);
  EXPECT_EQ(json["title"], "カエルの歌");
  EXPECT_EQ(json["copyright"], "(C) me");
  EXPECT_EQ(json["time"], 0);
}

TEST_F(SmfCommand, FileWithoutHeaderPrintsAFreshReadersValues) {
  const fs::path file = write("not-midi.mid", bytesOf("RIFF\4\0\0\0WAVE"));
  const SmfRun r = run("smf " + quoted(file.string()));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto json = nlohmann::ordered_json::parse(r.out);
  EXPECT_EQ(json["format"], 0);
  EXPECT_EQ(json["tracks"], 0);
  EXPECT_EQ(json["division"], 0);
  EXPECT_EQ(json["title"], "");
  EXPECT_EQ(json["copyright"], "");
  EXPECT_EQ(json["time"], 0);
}

TEST_F(SmfCommand, FailuresGiveTheErrorLineAndNoOutput) {
  struct Case {
    const char* name;
    ByteString data;
    const char* linePrefix;
  };
  const ByteString cut = header(1, 2, 480);
  const Case cases[] = {
      {"smpte.mid", header(0, 1, 0xE728) + track({noteOnOff()}), "6:TONEKIT:"},
      {"cut.mid", ByteString(cut.begin(), cut.begin() + 11), "9:TONEKIT:"},
      {"notrack.mid", header(0, 1, 96), "5:TONEKIT:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const SmfRun r = run("smf " + quoted(write(c.name, c.data).string()));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind(c.linePrefix, 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

TEST_F(SmfCommand, MissingFileIsAFailureNotZeros) {
  const SmfRun r = run("smf " + quoted((folder_ / "absent.mid").string()));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("53:TONEKIT:", 0), 0u) << r.err;

  const SmfRun folder = run("smf " + quoted(folder_.string()));
  EXPECT_EQ(folder.exitCode, 1);
  EXPECT_EQ(folder.err.rfind("75:TONEKIT:", 0), 0u) << folder.err;
}

TEST_F(SmfCommand, UsageErrorsExitWithTwo) {
  EXPECT_EQ(run("smf").exitCode, 2);
  EXPECT_EQ(run("smf a.mid b.mid").exitCode, 2);
}
