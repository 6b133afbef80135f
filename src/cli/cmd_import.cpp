// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli import: a Standard MIDI File made into a new MLD file.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "base/Failure.h"
#include "convert/MidiImport.h"
#include "session/DocumentSession.h"

namespace tonekit::cli {
namespace {

struct ImportArgs {
  std::string in, out;
  std::optional<std::string> title;
};

void addImportCommand(CLI::App& app) {
  auto a = std::make_shared<ImportArgs>();
  auto* cmd =
      app.add_subcommand("import", "Make an MLD file from a Standard MIDI File and print what was converted as JSON");
  cmd->add_option("IN", a->in, "Standard MIDI File (format 0 or 1)")->required();
  cmd->add_option("--out", a->out, "MLD file to write")->required();
  cmd->add_option("--title", a->title, "Song title (default: the first track's name)");
  cmd->callback([a] {
    exitStatus() = runGuarded([&] {
      smf::ImportOptions options;
      options.title = a->title;
      DocumentSession session;
      const smf::ImportSummary s = session.importMidi(a->in, options);
      session.saveAs(a->out);
      nlohmann::ordered_json out;
      out["tracks"] = s.tracks;
      out["notes"] = s.notes;
      out["dropped_notes"] = s.droppedNotes;
      out["cut_notes"] = s.cutNotes;
      out["skipped_events"] = nlohmann::ordered_json::object();
      for (const auto& [kind, count] : s.skippedEvents) out["skipped_events"][kind] = count;
      out["timebase"] = s.timebase;
      out["tempo_changes"] = s.tempoChanges;
      out["broken_tracks"] = s.brokenTracks;
      out["altered_texts"] = s.alteredTexts;
      out["thinned_events"] = nlohmann::ordered_json::object();
      for (const auto& [kind, count] : s.thinnedEvents) out["thinned_events"][kind] = count;
      out["max_timing_error_ms"] = s.maxTimingErrorMs;
      out["longest_cut_ms"] = s.longestCutMs;
      out["pedal_lengthened_notes"] = s.pedalLengthenedNotes;
      out["pedal_cut_notes"] = s.pedalCutNotes;
      std::cout << out.dump(2) << '\n';
      return Exit::Success;
    });
  });
}

const bool importRegistered = registerCommand(65, &addImportCommand);

}  // namespace
}  // namespace tonekit::cli
