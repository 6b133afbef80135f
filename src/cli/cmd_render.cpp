// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli render: an MLD file's melody as a WAV file, through FluidSynth and a General MIDI
// soundfont; loops play as their counts say.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>
#include <utility>

#include "cli/CliSupport.h"
#include "cli/SoundCommands.h"
#include "sound/Exports.h"
#include "sound/Synth.h"

namespace tonekit::cli {
namespace {

void addRenderCommand(CLI::App& app) {
  struct Options {
    std::string file;
    std::string out;
    std::string soundfont;
    int rate = sound::kDefaultRate;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("render", "Render an MLD file's melody to a 16-bit stereo WAV file; print its figures as JSON");
  cmd->add_option("FILE", o->file, "MLD file")->required();
  cmd->add_option("--out", o->out, "WAV file to write")->required();
  cmd->add_option("--soundfont", o->soundfont,
                  std::string("General MIDI soundfont (default: $") + sound::kSoundfontVariable + ", else " +
                      sound::kDefaultSoundfont + ")");
  cmd->add_option("--rate", o->rate, "Sample rate in Hz (default 44100)")
      ->check(CLI::Range(sound::kLowestRate, sound::kHighestRate));
  cmd->callback([o] {
    exitStatus() = runGuarded([&] {
      const auto soundfont = sound::findSoundfont(o->soundfont);
      FileMelody read = readMelody(o->file);
      const sound::WavExport written = sound::writeWav(std::move(read.melody), soundfont, o->rate, o->out);
      const sound::Counts& counts = written.counts;
      const auto played = static_cast<std::size_t>(written.audio.entriesPlayed);
      auto json = countsJson(counts, read.audioChunks - played);
      json["rate"] = written.rendered.rate;
      json["wav_frames"] = written.rendered.frames;
      json["wav_seconds"] = std::round(double(written.rendered.frames) / written.rendered.rate * 1000.0) / 1000.0;
      addTrackFigures(json, counts);
      // Where loops stopped going back before their counts said, and why; null when they did not.
      json["repeats_stopped"] = nullptr;
      if (const auto& stopped = written.repeatsStopped)
        json["repeats_stopped"] = {{"at_seconds", std::round(stopped->atSeconds * 1000.0) / 1000.0},
                                   {"reason", stopped->reason}};
      // Files without recorded sound print what they always did.
      if (read.audioChunks > 0 || counts.audioEvents > 0) addAudioFigures(json, written.audio);
      std::cout << json.dump(2) << '\n';
      return Exit::Success;
    });
  });
}

const bool renderRegistered = registerCommand(80, &addRenderCommand);

}  // namespace
}  // namespace tonekit::cli
