// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Track walk, row texts, the event codec and assembly on any bytes. The first input byte picks the note length;
// the rest is used twice: as the events of a well-formed chunk, which must come back byte for
// byte, and as a raw chunk, whose events must all land in the records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/Failure.h"
#include "base/clsCalcUtil.h"
#include "mld/EventCodec.h"
#include "mld/TrackEvents.h"
#include "track_editor/TrackRows.h"

using namespace tonekit;

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

void showAll(const std::vector<clsNote>& notes, events::Framing framing) {
  for (const auto& note : notes) {
    const auto cells = rowTexts(note.getData(), framing);
    check(!note.getData().empty());
    check(!cells[0].empty());
    check(events::encode(events::decode(note.getData(), framing), framing.noteLength) == note.getData());
  }
}

ByteString joined(const std::vector<clsNote>& notes) {
  ByteString out;
  for (const auto& note : notes) out.insert(out.end(), note.getData().begin(), note.getData().end());
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // Bit 0: the note length; bits 2-1: the "exst" value.
  const events::Framing framing{(data[0] & 1) ? 4 : 3, static_cast<std::uint32_t>((data[0] >> 1) & 3)};
  const ByteString rest(data + 1, data + size);

  // The rest as the events of a chunk whose length field is right.
  ByteString chunk = bytesOf("trac");
  ByteString length;
  clsCalcUtil().CalcDWORDFromLong(static_cast<std::int64_t>(rest.size()), length);
  chunk.insert(chunk.end(), length.begin(), length.end());
  chunk.insert(chunk.end(), rest.begin(), rest.end());
  const auto notes = walkTrack(chunk, framing);
  showAll(notes, framing);
  check(assembleTrack(notes) == chunk);
  // Damage lies on an event boundary inside the events.
  if (const auto at = damageOf(chunk, notes, framing)) check(*at <= rest.size());

  // The rest as a chunk of its own: a length field that may lie, bytes that may end early.
  try {
    const auto raw = walkTrack(rest, framing);
    showAll(raw, framing);
    std::int64_t declared = 0;
    clsCalcUtil().CalcDWORD(midBytes(rest, 5, 4), declared);
    check(joined(raw) == midBytes(rest, 9, declared));
    const ByteString again = assembleTrack(raw);
    // Once put together, the chunk is cut into the very same records again.
    const auto rewalked = walkTrack(again, framing);
    check(rewalked.size() == raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) check(rewalked[i].getData() == raw[i].getData());
  } catch (const Failure& failure) {
    check(rest.size() < 8 && failure.number() == err::IndexOutOfRange);
  }
  return 0;
}
