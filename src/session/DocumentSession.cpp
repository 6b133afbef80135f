// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "session/DocumentSession.h"

#include <algorithm>
#include <system_error>

#include "base/Failure.h"
#include "base/Translate.h"
#include "mld/MldInfo.h"

namespace tonekit {

bool DocumentSession::open(const std::string& path, MessageSink* messages) {
  close();
  auto doc = std::make_unique<clsMLD>();
  doc->MLDFile = path;
  // An incomplete read still holds what it found; the save refuses such a document.
  const bool complete = doc->ParseMLD(messages);
  document_ = std::move(doc);
  file_ = path;
  markSaved();
  return complete;
}

smf::ImportSummary DocumentSession::importMidi(const std::filesystem::path& midiFile,
                                               const smf::ImportOptions& options) {
  smf::ImportResult result = smf::importMidiFile(midiFile, options);
  document_ = std::make_unique<clsMLD>(std::move(result.document));
  file_.clear();
  neverSaved_ = true;
  markSaved();
  return result.summary;
}

void DocumentSession::close() {
  document_.reset();
  file_.clear();
  neverSaved_ = false;
  savedTracks_.clear();
}

clsMLD& DocumentSession::document() {
  if (!document_) throw Failure::of(err::ObjectNotSet, TKT("TONEKIT", "(ファイルが読み込まれていません)"));
  return *document_;
}

const clsMLD& DocumentSession::document() const {
  if (!document_) throw Failure::of(err::ObjectNotSet, TKT("TONEKIT", "(ファイルが読み込まれていません)"));
  return *document_;
}

bool DocumentSession::isTag(std::string_view tag) { return clsMLD::isKnownTag(tag) || clsMLD::isOtherTag(tag); }

bool DocumentSession::mayChange(std::string_view tag) const {
  return clsMLD::isKnownTag(tag) || info::isLaterTag(tag) || (document_ && document_->otherChunk(tag));
}

void DocumentSession::setChunk(const std::string& tag, ByteString bytes) {
  clsMLD& doc = document();
  if (!clsMLD::isKnownTag(tag)) {
    doc.setOtherChunk(tag, std::move(bytes));
    return;
  }
  doc.value(tag) = std::move(bytes);
  doc.enabled(tag) = true;
}

void DocumentSession::enableChunk(const std::string& tag) {
  clsMLD& doc = document();
  if (clsMLD::isKnownTag(tag))
    doc.enabled(tag) = true;
  else if (!doc.otherChunk(tag))
    doc.setOtherChunk(tag, {});
}

void DocumentSession::disableChunk(const std::string& tag) {
  clsMLD& doc = document();
  if (clsMLD::isKnownTag(tag))
    doc.enabled(tag) = false;
  else
    doc.removeOtherChunks(tag);
}

bool DocumentSession::holdsFile(const std::string& path) const {
  if (file_.empty()) return false;
  // The same name written another way ("./a.mld", "dir/../a.mld") is still the file in hand.
  std::error_code ec;
  const auto absolute = [&ec](const std::string& p) { return std::filesystem::absolute(p, ec).lexically_normal(); };
  return path == file_ || absolute(path) == absolute(file_);
}

void DocumentSession::save() {
  if (file_.empty()) throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(保存先のファイルがありません)"));
  clsMLD& doc = document();
  doc.MLDFile = file_;
  doc.SaveMLDOverRead();
  doc.rememberSavedFile();
  markSaved();
}

void DocumentSession::saveAs(const std::string& path) {
  if (holdsFile(path)) {
    save();
    return;
  }
  clsMLD& doc = document();
  doc.MLDFile = path;
  doc.SaveMLD();
  doc.rememberSavedFile();
  file_ = path;
  neverSaved_ = false;
  markSaved();
}

void DocumentSession::markSaved() {
  savedTracks_.clear();
  if (document_ && document_->MLDTracData) savedTracks_ = document_->MLDTracData->items();
}

bool DocumentSession::isModified() const {
  if (!document_) return false;
  if (neverSaved_) return true;
  // Asked on every keystroke in the main window: compared in place, key by key, with no copy.
  const TrackCollection* tracks = document_->MLDTracData.get();
  const std::size_t count = tracks ? tracks->count() : 0;
  if (count != savedTracks_.size()) return true;
  return std::any_of(savedTracks_.begin(), savedTracks_.end(), [tracks](const auto& saved) {
    return !tracks->contains(saved.first) || tracks->item(saved.first) != saved.second;
  });
}

void DocumentSession::replaceTrack(std::size_t track, ByteString chunk) {
  // The collection's replace adds nothing: a key it lacks raises 9.
  document().MLDTracData->replace(TrackCollection::keyFor(track), std::move(chunk));
}

sound::Melody DocumentSession::melody(std::optional<int> noteLength,
                                      const std::optional<sound::EditedTrack>& edited) const {
  return sound::melodyOf(document(), noteLength, edited);
}

}  // namespace tonekit
