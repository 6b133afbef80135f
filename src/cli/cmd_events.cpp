// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli events: one track's events as the track view's grid shows them, as TAB-separated
// UTF-8 lines.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "cli/CliSupport.h"
#include "mld/clsMLD.h"
#include "session/DocumentSession.h"
#include "mld/MldInfo.h"
#include "mld/TrackEvents.h"
#include "track_editor/TrackRows.h"

namespace tonekit::cli {
namespace {

void addEventsCommand(CLI::App& app) {
  struct Options {
    std::string file;
    int track = 0;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("events", "Print one track's events as the track view shows them (TAB-separated)");
  cmd->add_option("FILE", o->file, "MLD file")->required();
  cmd->add_option("--track", o->track, "Track number from 0 (default 0)");
  cmd->callback([o] {
    exitStatus() = runGuarded([&] {
      DocumentSession session;
      StderrMessages messages;
      session.open(o->file, &messages);
      const clsMLD& doc = session.document();
      if (o->track < 0) throw Failure::of(err::IndexOutOfRange, "(trac" + std::to_string(o->track) + ")");
      const ByteString& chunk = doc.MLDTracData->item(TrackCollection::keyFor(static_cast<std::size_t>(o->track)));
      const events::Framing framing{info::noteLengthOf(doc.MLDNote), info::exstOf(doc.MLDExst)};
      const auto notes = walkTrack(chunk, framing);

      // Everything is built first, so a failure leaves no half-printed table behind.
      std::string out;
      const auto& headers = trackColumnHeaders();
      for (std::size_t c = 0; c < headers.size(); ++c) out += (c ? "\t" : "") + headers[c];
      out += '\n';
      for (std::size_t i = 0; i < notes.size(); ++i) {
        out += std::to_string(i + 1);
        for (const auto& cell : rowTexts(notes[i].getData(), framing)) out += '\t' + cell;
        out += '\n';
      }
      std::cout << out;
      std::cout.flush();
      return Exit::Success;
    });
  });
}

const bool eventsRegistered = registerCommand(30, &addEventsCommand);

}  // namespace
}  // namespace tonekit::cli
