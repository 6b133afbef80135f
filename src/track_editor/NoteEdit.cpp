// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "track_editor/NoteEdit.h"

#include "base/Failure.h"
#include "base/UserNumber.h"
#include "mld/EventCodec.h"

namespace tonekit::noteedit {

namespace {

struct Limit {
  NoteField field;
  int high;
  Text message;
};
// The order in which the checks look at the entries.
constexpr Limit kChecks[] = {
    {NoteField::Chanel, 3, kRange0to3},          {NoteField::DerutaTime, 255, kRange0to255},
    {NoteField::Duration, 255, kRange0to255},    {NoteField::Note, 62, kRange0to62},
    {NoteField::OctarbShift, 3, kRange0to3},     {NoteField::Velocity, 63, kRange0to63},
};

bool fourByteOnly(NoteField f) { return f == NoteField::Velocity || f == NoteField::OctarbShift; }

std::int32_t value(const NoteEntries& e, NoteField f) {
  return wholeNumber32(checkedUserNumber(at(e, f)));
}

}  // namespace

NoteEntries unpackNote(const ByteString& event, int noteLength) {
  const int n = info::normalNoteLength(noteLength);
  const events::Note note = events::noteOf(event, n);
  NoteEntries e;
  at(e, NoteField::DerutaTime) = std::to_string(note.delta);
  at(e, NoteField::Chanel) = std::to_string(note.part);
  at(e, NoteField::Note) = std::to_string(note.pitch);
  at(e, NoteField::Duration) = std::to_string(note.gate);
  if (n == 4) {
    at(e, NoteField::Velocity) = std::to_string(note.velocity);
    at(e, NoteField::OctarbShift) = std::to_string(note.octaveShift);
  }
  return e;
}

std::optional<NoteRejection> checkNote(const NoteEntries& e, int noteLength) {
  const bool four = info::normalNoteLength(noteLength) == 4;
  for (const auto& c : kChecks) {
    if (fourByteOnly(c.field) && !four) continue;
    if (!parseUserNumber(at(e, c.field))) return NoteRejection{c.field, std::string(kNoteEnterNumber)};
  }
  // Made whole first, then compared: 255.4 passes as 255, 3.5 fails as 4.
  for (const auto& c : kChecks) {
    if (fourByteOnly(c.field) && !four) continue;
    const std::int32_t v = value(e, c.field);
    if (v < 0 || v > c.high) return NoteRejection{c.field, std::string(c.message)};
  }
  return std::nullopt;
}

ByteString packNote(const NoteEntries& e, int noteLength, const ByteString& event) {
  const int n = info::normalNoteLength(noteLength);
  const auto field = [&](NoteField f, std::int32_t high) {
    const std::int32_t v = value(e, f);
    if (v < 0 || v > high) throw Failure::of(err::Overflow);
    return static_cast<std::uint8_t>(v);
  };
  events::Note note;
  note.delta = field(NoteField::DerutaTime, 255);
  note.part = field(NoteField::Chanel, 3);
  note.pitch = field(NoteField::Note, 63);
  note.gate = field(NoteField::Duration, 255);
  if (n == 4) {
    note.velocity = field(NoteField::Velocity, 63);
    note.octaveShift = field(NoteField::OctarbShift, 3);
  }
  if (event.size() > static_cast<std::size_t>(n)) note.extra.assign(event.begin() + n, event.end());
  return events::encode(note, n);
}

}  // namespace tonekit::noteedit
