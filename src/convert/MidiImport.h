// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// A Standard MIDI File made into a new MLD document (4-byte notes, up to four tracks): the
// inverse of the MIDI export, so that exported notes come back where they were.

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/ByteString.h"
#include "mld/clsMLD.h"

namespace tonekit::smf {

struct ImportOptions {
  std::optional<std::string> title;  // UTF-8; replaces the first track's name
  std::string fallbackTitle;         // UTF-8; the title when the file names none
  std::string date;                  // the "date" chunk, YYYYMMDD; empty: today
};

struct ImportSummary {
  int tracks = 0;
  std::size_t notes = 0;
  std::size_t droppedNotes = 0;                      // keys no pitch and octave shift reach
  std::size_t cutNotes = 0;                          // longer than 255 ticks, cut to 255
  double longestCutMs = 0;                           // what the most cut of them lost, in ms
  double maxTimingErrorMs = 0;                       // the farthest any event moved onto the grid
  std::map<std::string, std::size_t> skippedEvents;  // by kind: "controller_64", "meta_58", …
  // Controller and bend events left out of dense streams because their six-bit level says
  // nothing new at a tick of its own; by kind as skippedEvents.
  std::map<std::string, std::size_t> thinnedEvents;
  int timebase = 0;                                  // of the first tempo event
  std::size_t tempoChanges = 0;                      // tempo events written
  std::size_t brokenTracks = 0;                      // MIDI tracks that ended early; their events up to there are kept
  std::vector<std::string> alteredTexts;             // "titl"/"copy" whose text could not be kept as it was
  // Notes released while the sustain pedal (controller 64) was down last until it comes up or
  // their key sounds again: how many that made longer, and how many of those were still cut.
  std::size_t pedalLengthenedNotes = 0;
  std::size_t pedalCutNotes = 0;
};

struct ImportResult {
  clsMLD document;  // read back from the bytes it stands for: ready to save, show and edit
  ImportSummary summary;
};

// Raises a Failure for a file that cannot become a melody: no MIDI header or track, SMPTE time,
// format 2, no note that can be played, or a song too long for the track format.
ImportResult importMidi(const ByteString& smfBytes, const ImportOptions& options = {});

// The same for a file, read only when it is a plain file of a sensible size (a MIDI file of a
// song is kilobytes; the limit keeps a huge or sparse file from filling the memory). Without a
// title in options or the file, the file's name is the title.
ImportResult importMidiFile(const std::filesystem::path& path, ImportOptions options = {});

// Today's local date as YYYYMMDD.
std::string todayYYYYMMDD();

// The user's summary of what the import left out or changed, one line each; empty when the
// file came over whole.
std::string summaryText(const ImportSummary& summary);

}  // namespace tonekit::smf
