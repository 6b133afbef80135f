// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// MLD → Standard MIDI File export of one long track, from the track chunk to the file's bytes.
#include <benchmark/benchmark.h>

#include "base/clsCalcUtil.h"
#include "convert/MidiExport.h"
#include "mld/TrackEvents.h"

namespace {

// Four-byte notes with a volume change every 16 events and a tempo change every 1,000.
tonekit::ByteString longTrack(std::size_t events) {
  tonekit::ByteString body;
  for (std::size_t i = 0; i < events; ++i) {
    if (i % 1000 == 0)
      body.insert(body.end(), {0, 0xFF, 0xC3, static_cast<std::uint8_t>(60 + i / 1000 % 100)});
    else if (i % 16 == 0)
      body.insert(body.end(), {0, 0xFF, 0xE2, static_cast<std::uint8_t>(i % 64)});
    else
      body.insert(body.end(), {12, static_cast<std::uint8_t>((i % 4) << 6 | (i % 63)), 10, static_cast<std::uint8_t>(i % 256)});
  }
  tonekit::ByteString chunk = tonekit::bytesOf("trac");
  tonekit::ByteString length;
  tonekit::clsCalcUtil().CalcDWORDFromLong(static_cast<std::int64_t>(body.size()), length);
  chunk.insert(chunk.end(), length.begin(), length.end());
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

void BM_ExportTrack(benchmark::State& state) {
  const auto chunk = longTrack(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    tonekit::sound::Melody melody;
    melody.noteLength = 4;
    melody.tracks.push_back(tonekit::walkTrack(chunk, 4));
    benchmark::DoNotOptimize(tonekit::sound::convert(melody).smf.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ExportTrack)->Arg(1'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
