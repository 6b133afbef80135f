// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Import of a 100,000-note MIDI file (format 1, 480 ticks a quarter, eight channels over four
// tracks, chords, tempo changes, controllers) into an MLD document; the file is made in memory.
#include <benchmark/benchmark.h>

#include "convert/MidiImport.h"
#include "smf/SmfEvents.h"

namespace {

using tonekit::ByteString;

void vlq(ByteString& out, std::uint32_t v) {
  std::uint8_t bytes[5];
  int n = 0;
  do bytes[n++] = static_cast<std::uint8_t>(v & 0x7F), v >>= 7;
  while (v);
  while (n-- > 0) out.push_back(static_cast<std::uint8_t>(bytes[n] | (n ? 0x80 : 0)));
}

void chunk(ByteString& file, const char* tag, const ByteString& body) {
  file.insert(file.end(), tag, tag + 4);
  const auto n = static_cast<std::uint32_t>(body.size());
  file.insert(file.end(), {std::uint8_t(n >> 24), std::uint8_t(n >> 16), std::uint8_t(n >> 8), std::uint8_t(n)});
  file.insert(file.end(), body.begin(), body.end());
}

ByteString midiFile(int notes) {
  ByteString file;
  chunk(file, "MThd", {0, 1, 0, 5, 0x01, 0xE0});
  ByteString conductor{0x00, 0xFF, 0x03, 4, 'B', 'e', 'n', 'c'};
  for (int i = 0; i < 200; ++i) {
    vlq(conductor, i ? 4800 : 0);
    const std::uint32_t micros = 400000 + static_cast<std::uint32_t>(i % 5) * 50000;
    conductor.insert(conductor.end(),
                     {0xFF, 0x51, 3, std::uint8_t(micros >> 16), std::uint8_t(micros >> 8), std::uint8_t(micros)});
  }
  conductor.insert(conductor.end(), {0, 0xFF, 0x2F, 0});
  chunk(file, "MTrk", conductor);
  const int perTrack = notes / 4;
  for (int t = 0; t < 4; ++t) {
    ByteString body;
    const auto ch = static_cast<std::uint8_t>(t * 2 + (t == 3 ? 3 : 0));  // channel 9 on the last
    body.insert(body.end(), {0, std::uint8_t(0xC0 | ch), std::uint8_t(t * 20), 0, std::uint8_t(0xB0 | ch), 7, 100});
    for (int i = 0; i < perTrack; i += 2) {  // two-note chords, eighth notes
      const auto key = static_cast<std::uint8_t>(40 + (i * 7 + t * 5) % 50);
      body.insert(body.end(), {0, std::uint8_t(0x90 | ch), key, 90, 0, std::uint8_t(key + 4), 80});
      vlq(body, 240);
      body.insert(body.end(), {std::uint8_t(0x80 | ch), key, 0, 0, std::uint8_t(key + 4), 0});
    }
    body.insert(body.end(), {0, 0xFF, 0x2F, 0});
    chunk(file, "MTrk", body);
  }
  return file;
}

void BM_ImportMidi(benchmark::State& state) {
  const ByteString file = midiFile(static_cast<int>(state.range(0)));
  tonekit::smf::ImportOptions options;
  options.date = "20260101";
  for (auto _ : state) {
    auto result = tonekit::smf::importMidi(file, options);
    benchmark::DoNotOptimize(result.summary.notes);
  }
  state.counters["notes"] = static_cast<double>(tonekit::smf::importMidi(file, options).summary.notes);
  state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_ImportMidi)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReadSmfEvents(benchmark::State& state) {
  const ByteString file = midiFile(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(tonekit::smf::readSong(file).events.size());
}
BENCHMARK(BM_ReadSmfEvents)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
