// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// One open document as the main window and the command line both drive it: read from a file or
// made from a MIDI file, its information chunks changed under one rule, its melody (with a track
// as an editor holds it), and saved where it came from or under a new name.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/ByteString.h"
#include "base/MessageSink.h"
#include "convert/MidiExport.h"
#include "convert/MidiImport.h"
#include "mld/clsMLD.h"

namespace tonekit {

class DocumentSession {
 public:
  // Reads the MLD file at path; what the reader has to say goes to messages. Returns whether the
  // read came to the file's end: an incomplete document can be shown and played, never saved.
  // When the read fails the session holds no document and the failure is raised.
  bool open(const std::string& path, MessageSink* messages = nullptr);
  // A new document made from a MIDI file; no file holds it until its first save. Raises what the
  // import raises, and keeps the document held before in that case.
  smf::ImportSummary importMidi(const std::filesystem::path& midiFile, const smf::ImportOptions& options = {});
  // Holds no document any more.
  void close();

  bool hasDocument() const { return document_ != nullptr; }
  // The document held; raises 91 when none is.
  clsMLD& document();
  const clsMLD& document() const;
  // The file the document was read from or last saved to; empty while no file holds it.
  const std::string& file() const { return file_; }
  // Made from a MIDI file and not saved yet.
  bool neverSaved() const { return neverSaved_; }

  // The tags a user may name: the eight information chunks and any tag of a chunk beyond them
  // (four lowercase ASCII letters).
  static bool isTag(std::string_view tag);
  // Whether tag may be set or removed in this document. Beyond the eight, only a tag the later
  // format versions name or one the file already has: a mistyped tag must not add a chunk.
  bool mayChange(std::string_view tag) const;
  // Sets a chunk's bytes; one of the eight is also switched on. The tag must pass mayChange.
  void setChunk(const std::string& tag, ByteString bytes);
  // Switches a chunk on: one of the eight keeps its value, another is added empty when missing.
  void enableChunk(const std::string& tag);
  // Leaves a chunk out of the file: one of the eight is switched off, every other one removed.
  void disableChunk(const std::string& tag);

  // Writes the document over the file it was read from or last saved to. It lands on that very
  // file or nowhere: when another file stands under the name by now (another program's save, a
  // swapped link) the save is refused with 75 and the file is left alone.
  void save();
  // Writes the document to path: over the held file when path names it (as save() does),
  // otherwise as a new file. The written file becomes the one the document is held from.
  void saveAs(const std::string& path);
  // Whether path names the file the document is held from, however it is written.
  bool holdsFile(const std::string& path) const;

  // Puts a rebuilt track chunk back under its key trac<track>, as the track view does when it
  // closes. Raises 9 for a track the document does not have: a chunk is never added this way.
  void replaceTrack(std::size_t track, ByteString chunk);

  // The tracks as they are now count as saved.
  void markSaved();
  // A document made from a MIDI file and never saved, or a track changed since the read or the
  // last save. (What a window shows of the information part is the window's to compare.)
  bool isModified() const;

  // The melody the document holds, with noteLength in place of its own "note" value when given
  // and a track as an editor holds it in place of the stored one. Title, copyright, cue points
  // and recorded sound are the document's either way.
  sound::Melody melody(std::optional<int> noteLength = std::nullopt,
                       const std::optional<sound::EditedTrack>& edited = std::nullopt) const;

 private:
  std::unique_ptr<clsMLD> document_;
  std::string file_;
  bool neverSaved_ = false;
  std::vector<std::pair<std::string, ByteString>> savedTracks_;
};

}  // namespace tonekit
