// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli import, run as a separate program.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "RunProcess.h"
#include "SmfBuilder.h"
#include "TempDir.h"
#include "mld/clsMLD.h"

using namespace tonekit;
using namespace tonekit::smftest;
using tonekit::test::runCli;

TEST(ImportCommand, WritesTheMelodyAndPrintsTheSummary) {
  test::TempDir dir;
  const auto in = dir.write(
      "song.mid", header(0, 1, 96) + track(note(0, 60, 0, 96) + note(9, 10, 0, 96) + Events{{0, {0xE0, 0, 64}}}));
  const auto out = dir / "song.mld";
  const auto r = runCli({"import", in.string(), "--out", out.string(), "--title", "Tune"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(nlohmann::ordered_json::parse(r.out).dump(),
            R"({"tracks":1,"notes":1,"dropped_notes":1,"cut_notes":0,"skipped_events":{},)"
            R"("timebase":6,"tempo_changes":1,"broken_tracks":0,"altered_texts":[],"thinned_events":{},)"
            R"("max_timing_error_ms":0.0,"longest_cut_ms":0.0,"pedal_lengthened_notes":0,"pedal_cut_notes":0})");
  clsMLD doc;
  doc.MLDFile = out.string();
  EXPECT_TRUE(doc.ParseMLD());
  EXPECT_EQ(asciiOf(doc.MLDTitl), "Tune");
}
