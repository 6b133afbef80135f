// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "mld/TrackEvents.h"

#include <algorithm>

#include "base/Failure.h"
#include "base/clsCalcUtil.h"
#include "mld/EventCodec.h"
#include "mld/MldInfo.h"
#include "base/Translate.h"

namespace tonekit {

namespace {
constexpr std::size_t kHeaderSize = 8;
}  // namespace

bool isExtInfoEvent(const ByteString& event) {
  const events::Event e = events::decode(event, 3);
  if (const auto* fragment = std::get_if<events::Fragment>(&e))
    return fragment->extendStatus() && fragment->third() && events::extendKind(*fragment->third()).hasLength;
  return std::holds_alternative<events::ExtInfo>(e);
}

ByteString newEvent(bool extend, int noteLength) {
  if (extend) return events::encode(events::extendEvent(0, events::kind::VoiceLow, 0, 0), noteLength);
  return events::encode(events::Note{}, noteLength);
}

std::vector<clsNote> walkTrack(const ByteString& chunk, events::Framing framing) {
  const int noteLength = framing.noteLength;
  if (noteLength != 3 && noteLength != 4)
    throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(ノート長: ") + std::to_string(noteLength) + ")");
  std::int64_t declared = 0;
  clsCalcUtil().CalcDWORD(midBytes(chunk, 5, 4), declared);
  // A chunk cut short keeps the bytes it has; they are walked like the rest.
  const std::size_t stored = chunk.size() - kHeaderSize;
  const std::size_t length = std::min(static_cast<std::size_t>(declared), stored);

  const std::uint8_t* events = chunk.data() + kHeaderSize;
  std::vector<clsNote> notes;
  // Mostly notes: reserving for them avoids regrowing on long tracks without ever asking for
  // more than the chunk can hold.
  notes.reserve(length / static_cast<std::size_t>(noteLength) + 1);
  std::size_t offset = 0;
  while (offset < length) {
    const std::size_t size = events::frameSize(events, offset, length, framing);
    notes.emplace_back(ByteString(events + offset, events + offset + size));
    offset += size;
  }
  return notes;
}

std::optional<std::size_t> damageOf(const ByteString& chunk, const std::vector<clsNote>& events,
                                    events::Framing framing) {
  std::size_t offset = 0;
  bool ended = false;
  for (const clsNote& record : events) {
    const events::Event event = events::decode(record.getData(), framing);
    if (std::holds_alternative<events::Fragment>(event)) return offset;
    const auto* x = std::get_if<events::Extend>(&event);
    if (x && x->status == events::kExtendStatus && x->kind == events::kind::EndOfTrack) ended = true;
    offset += record.getData().size();
  }
  std::int64_t declared = 0;
  if (chunk.size() >= kHeaderSize) clsCalcUtil().CalcDWORD(midBytes(chunk, 5, 4), declared);
  if (!ended || static_cast<std::size_t>(declared) > offset) return offset;
  return std::nullopt;
}

ByteString assembleTrack(const std::vector<clsNote>& notes) {
  std::size_t total = 0;
  for (const auto& note : notes) total += note.getData().size();
  ByteString length;
  clsCalcUtil().CalcDWORDFromLong(static_cast<std::int64_t>(total), length);

  ByteString chunk = bytesOf("trac");
  chunk.reserve(kHeaderSize + total);
  chunk.insert(chunk.end(), length.begin(), length.end());
  for (const auto& note : notes) chunk.insert(chunk.end(), note.getData().begin(), note.getData().end());
  return chunk;
}

std::vector<std::optional<std::size_t>> cuePointsOf(const ByteString& cuep,
                                                    const std::vector<std::vector<clsNote>>& tracks) {
  const std::vector<std::int64_t> offsets = info::decodeCuep(cuep);
  std::vector<std::optional<std::size_t>> points;
  for (std::size_t t = 0; t < tracks.size() && t < offsets.size(); ++t) {
    std::optional<std::size_t> point;
    std::int64_t at = 0;
    for (std::size_t i = 0; i < tracks[t].size() && at <= offsets[t]; ++i) {
      if (at == offsets[t]) point = i;
      at += std::int64_t(tracks[t][i].getData().size());
    }
    points.push_back(point);
  }
  return points;
}

}  // namespace tonekit
