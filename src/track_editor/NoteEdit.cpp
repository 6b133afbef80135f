#include "track_editor/NoteEdit.h"

#include "core/Failure.h"
#include "core/UserNumber.h"

namespace tonekit::noteedit {

namespace {

struct Limit {
  NoteField field;
  int high;
  const char* message;
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
  const auto byteAt = [&](std::size_t i) -> int { return i < event.size() ? event[i] : 0; };
  NoteEntries e;
  at(e, NoteField::DerutaTime) = std::to_string(byteAt(0));
  at(e, NoteField::Chanel) = std::to_string(byteAt(1) >> 6);
  at(e, NoteField::Note) = std::to_string(byteAt(1) & 0x3F);
  at(e, NoteField::Duration) = std::to_string(byteAt(2));
  if (info::normalNoteLength(noteLength) == 4) {
    at(e, NoteField::Velocity) = std::to_string(byteAt(3) >> 2);
    at(e, NoteField::OctarbShift) = std::to_string(byteAt(3) & 0x03);
  }
  return e;
}

std::optional<NoteRejection> checkNote(const NoteEntries& e, int noteLength) {
  const bool four = info::normalNoteLength(noteLength) == 4;
  for (const auto& c : kChecks) {
    if (fourByteOnly(c.field) && !four) continue;
    if (!parseUserNumber(at(e, c.field))) return NoteRejection{c.field, kNoteEnterNumber};
  }
  // Made whole first, then compared: 255.4 passes as 255, 3.5 fails as 4.
  for (const auto& c : kChecks) {
    if (fourByteOnly(c.field) && !four) continue;
    const std::int32_t v = value(e, c.field);
    if (v < 0 || v > c.high) return NoteRejection{c.field, c.message};
  }
  return std::nullopt;
}

ByteString packNote(const NoteEntries& e, int noteLength, const ByteString& event) {
  const int n = info::normalNoteLength(noteLength);
  const auto byteOf = [](std::int64_t v) {
    if (v < 0 || v > 255) throw Failure::of(err::Overflow);
    return static_cast<std::uint8_t>(v);
  };
  ByteString out;
  out.push_back(byteOf(value(e, NoteField::DerutaTime)));
  out.push_back(byteOf(std::int64_t{value(e, NoteField::Chanel)} * 64 + value(e, NoteField::Note)));
  out.push_back(byteOf(value(e, NoteField::Duration)));
  if (n == 4) out.push_back(byteOf(std::int64_t{value(e, NoteField::Velocity)} * 4 + value(e, NoteField::OctarbShift)));
  if (event.size() > static_cast<std::size_t>(n)) out.insert(out.end(), event.begin() + n, event.end());
  return out;
}

}  // namespace tonekit::noteedit
