// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli info and set: the document's header, information chunks and tracks.
#include <CLI/CLI.hpp>
#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "base/CodePage.h"
#include "mld/clsMLD.h"
#include "mld/MldInfo.h"
#include "mld/TrackEvents.h"
#include "session/DocumentSession.h"
#include "base/Translate.h"

namespace tonekit::cli {
namespace {

nlohmann::ordered_json infoJson(const std::string& path, const clsMLD& doc, bool complete,
                        const CollectingMessageSink& messages) {
  nlohmann::ordered_json out;
  out["path"] = path;
  out["complete"] = complete;
  auto list = nlohmann::ordered_json::array();
  for (const auto& m : messages.entries) list.push_back(m.text);
  out["messages"] = list;

  const info::HeaderFacts facts = info::headerFacts(doc);
  nlohmann::ordered_json header;
  header["identifier"] = toHex(doc.identifier());
  header["file_length"] = facts.fileLength;
  header["offset_to_track"] = facts.lengthToTrac;
  header["major_type"] = facts.majorType;
  header["minor_type"] = facts.minorType;
  header["track_count"] = facts.trackCount;
  out["header"] = header;
  out["note_length"] = info::noteLengthOf(doc.MLDNote);
  out["trailing_bytes"] = doc.trailingBytes();

  auto chunks = nlohmann::ordered_json::array();
  for (auto tag : clsMLD::kWriterOrder) {
    const ByteString& v = doc.value(tag);
    chunks.push_back({{"tag", std::string(tag)},
                      {"enabled", doc.enabled(tag)},
                      {"hex", toHex(v)},
                      {"text", info::TextChunk(v).text()}});
  }
  out["chunks"] = chunks;

  auto tracks = nlohmann::ordered_json::array();
  for (const auto& [key, chunk] : doc.MLDTracData->items())
    tracks.push_back({{"key", key}, {"size", chunk.size()}, {"hex", toHex(chunk)}});
  out["tracks"] = tracks;

  auto others = nlohmann::ordered_json::array();
  for (const OtherChunk& c : doc.MLDOtherChunks) {
    const auto text = info::otherChunkText(c.value);
    others.push_back({{"tag", c.tag},
                      {"length", c.value.size()},
                      {"hex", toHex(c.value)},
                      {"text", text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json()},
                      {"meaning", info::otherChunkMeaning(c)}});
  }
  out["other_chunks"] = others;
  const auto sizes = info::audioChunkSizes(doc);
  out["audio_chunks"] = {{"count", sizes.size()}, {"sizes", sizes}};

  // Tracks that do not frame to an end-of-track, and where their events stop being whole.
  auto damaged = nlohmann::ordered_json::array();
  const events::Framing framing{info::noteLengthOf(doc.MLDNote), info::exstOf(doc.MLDExst)};
  for (const auto& [key, chunk] : doc.MLDTracData->items()) {
    if (chunk.size() < 8) {
      damaged.push_back({{"key", key}, {"offset", 0}});
      continue;
    }
    if (const auto at = damageOf(chunk, walkTrack(chunk, framing), framing))
      damaged.push_back({{"key", key}, {"offset", *at}});
  }
  out["damaged_tracks"] = damaged;
  return out;
}

std::pair<std::string, std::string> splitAssignment(const std::string& assignment) {
  const auto eq = assignment.find('=');
  if (eq == std::string::npos)
    throw userMistake(TKT("TONEKIT", "「") + assignment + TKT("TONEKIT", "」は「タグ=値」の形になっていません（例: titl=曲名）。"));
  return {assignment.substr(0, eq), assignment.substr(eq + 1)};
}

Failure unknownTag(const std::string& tag) {
  return userMistake(TKT("TONEKIT", "「") + tag + TKT("TONEKIT", "」というタグはありません。使えるタグ: ") + joined(chunkTags(), ", ") + TKT("TONEKIT", "。"));
}

void requireKnownTag(const std::string& tag) {
  if (!DocumentSession::isTag(tag)) throw unknownTag(tag);
}

void requireTagOf(const DocumentSession& session, const std::string& tag) {
  if (!session.mayChange(tag)) throw unknownTag(tag);
}

}  // namespace

namespace {

void addInfoCommand(CLI::App& app) {
  auto path = std::make_shared<std::string>();
  auto* cmd = app.add_subcommand("info", "Print a file's header, information chunks, tracks and audio chunks as JSON");
  cmd->add_option("FILE", *path, "MLD file")->required();
  cmd->callback([path] {
    exitStatus() = runGuarded([&] {
      DocumentSession session;
      StderrMessages messages;
      const bool complete = session.open(*path, &messages);
      nlohmann::ordered_json out = infoJson(*path, session.document(), complete, messages);
      // A file name need not be UTF-8; JSON must be: bytes that are no text show as U+FFFD.
      std::cout << out.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
      return Exit::Success;
    });
  });
}

void addSetCommand(CLI::App& app) {
  struct Options {
    std::string file;
    std::string out;
    std::vector<std::string> texts, hexes, enables, disables;
    bool dropTrailing = false;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("set", "Change information chunks and save the file safely");
  cmd->add_option("FILE", o->file, "MLD file to read")->required();
  cmd->add_option("--out", o->out, "Where to save (default: FILE itself)");
  cmd->add_option("--text", o->texts, "TAG=TEXT: set a chunk from text (code page 932)")->allow_extra_args(false);
  cmd->add_option("--hex", o->hexes, "TAG=HEX: set a chunk from raw bytes")->allow_extra_args(false);
  cmd->add_option("--enable", o->enables, "TAG: write the chunk (empty when the file lacks it)")
      ->allow_extra_args(false);
  cmd->add_option("--disable", o->disables, "TAG: leave the chunk out")->allow_extra_args(false);
  cmd->add_flag("--drop-trailing", o->dropTrailing, "Save even though bytes after the file's declared length are lost");
  cmd->callback([o] {
    exitStatus() = runGuarded([&] {
      // Everything the user asked for is checked before the file is even read.
      std::vector<std::pair<std::string, ByteString>> values;
      for (const auto& a : o->texts) {
        auto [tag, text] = splitAssignment(a);
        requireKnownTag(tag);
        const Cp932Encoded encoded = encodeCp932(text);
        if (!encoded.exact)
          throw userMistake(TKT("TONEKIT", "「") + tag + TKT("TONEKIT", "」の文字列に、コードページ932で表せない文字があります。"));
        values.emplace_back(tag, encoded.bytes);
      }
      for (const auto& a : o->hexes) {
        auto [tag, hex] = splitAssignment(a);
        requireKnownTag(tag);
        const auto bytes = fromHex(hex);
        if (!bytes) throw userMistake(TKT("TONEKIT", "「") + hex + TKT("TONEKIT", "」は16進数のバイト列ではありません（例: 0102ff）。"));
        values.emplace_back(tag, *bytes);
      }
      for (const auto& t : o->enables) requireKnownTag(t);
      for (const auto& t : o->disables) requireKnownTag(t);

      DocumentSession session;
      StderrMessages messages;
      if (!session.open(o->file, &messages))
        throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(読み込みが途中で止まったため保存しません: ") + o->file + ")");
      if (o->dropTrailing) session.document().dropTrailingBytes();
      for (const auto& [tag, bytes] : values) requireTagOf(session, tag);
      for (const auto& t : o->enables) requireTagOf(session, t);
      for (const auto& t : o->disables) requireTagOf(session, t);
      for (auto& [tag, bytes] : values) session.setChunk(tag, bytes);
      for (const auto& t : o->enables) session.enableChunk(t);
      for (const auto& t : o->disables) session.disableChunk(t);
      // Saved over the file read, it must still be the very file that was read.
      if (o->out.empty())
        session.save();
      else
        session.saveAs(o->out);
      return Exit::Success;
    });
  });
}

const bool infoRegistered = registerCommand(10, &addInfoCommand);
const bool setRegistered = registerCommand(20, &addSetCommand);

}  // namespace

}  // namespace tonekit::cli
