// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli export: an MLD file as a Standard MIDI File.
#include <CLI/CLI.hpp>
#include <cmath>
#include <iostream>
#include <memory>

#include "cli/CliSupport.h"
#include "cli/SoundCommands.h"
#include "base/Failure.h"
#include "base/SafeFile.h"
#include "mld/clsMLD.h"
#include "session/DocumentSession.h"

namespace tonekit::cli {

FileMelody readMelody(const std::string& path) {
  DocumentSession session;
  StderrMessages messages;
  session.open(path, &messages);
  return {session.melody(), session.document().MLDAudioChunks.size()};
}

nlohmann::ordered_json countsJson(const sound::Counts& counts, std::size_t audioChunks) {
  nlohmann::ordered_json out;
  out["notes"] = counts.notes;
  out["dropped_notes"] = counts.droppedNotes;
  out["skipped_events"] = nlohmann::ordered_json::object();
  for (const auto& [kind, n] : counts.skipped) out["skipped_events"][kind] = n;
  out["channels"] = counts.channels;
  out["tempo_changes"] = counts.tempoChanges;
  out["loops"] = counts.loops;
  out["ticks"] = counts.ticks;
  // Milliseconds are all a listener can tell apart; more digits only make diffs noisy.
  out["duration_seconds"] = std::round(counts.durationSeconds * 1000.0) / 1000.0;
  out["audio_chunks_not_played"] = audioChunks;
  out["jumps"] = counts.jumps;
  out["vendor_audio_events"] = counts.vendorAudioEvents;
  return out;
}

void addTrackFigures(nlohmann::ordered_json& out, const sound::Counts& counts) {
  out["damaged_tracks"] = counts.damagedTracks;
  out["audio_events"] = counts.audioEvents;
}

void addAudioFigures(nlohmann::ordered_json& out, const sound::AudioFigures& figures) {
  out["audio_chunks_played"] = figures.entriesPlayed;
  out["audio_not_played"] = nlohmann::ordered_json::object();
  for (const auto& [what, n] : figures.notPlayed) out["audio_not_played"][what] = n;
}

namespace {

void addExportCommand(CLI::App& app) {
  struct Options {
    std::string file;
    std::string out;
    std::optional<int> track;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("export", "Write an MLD file's melody as a Standard MIDI File; print its figures as JSON");
  cmd->add_option("FILE", o->file, "MLD file")->required();
  cmd->add_option("--out", o->out, "Standard MIDI File to write")->required();
  cmd->add_option("--track", o->track, "Only this track (from 0); the others still give their tempo");
  cmd->callback([o] {
    exitStatus() = runGuarded([&] {
      sound::ExportOptions options;
      options.onlyTrack = o->track;
      const FileMelody read = readMelody(o->file);
      const auto conversion = sound::convert(read.melody, options);
      replaceFileSafely(o->out, conversion.smf);
      auto json = countsJson(conversion.counts, read.audioChunks);
      addTrackFigures(json, conversion.counts);
      // A MIDI file has no place for recorded sound; files without any print what they always did.
      if (read.audioChunks > 0) json["audio_chunks_not_exported"] = read.audioChunks;
      std::cout << json.dump(2) << '\n';
      return Exit::Success;
    });
  });
}

const bool exportRegistered = registerCommand(70, &addExportCommand);

}  // namespace
}  // namespace tonekit::cli
