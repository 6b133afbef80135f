// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "mld/EventCodec.h"

#include <algorithm>
#include <type_traits>

#include "base/BigEndian.h"
#include "base/Failure.h"
#include "base/UserNumber.h"
#include "mld/MldInfo.h"

namespace tonekit::events {

namespace {

constexpr std::size_t kExtendSize = 4;
constexpr std::size_t kExtInfoHeadSize = 5;
constexpr int kPartShift = 6;
constexpr std::uint8_t kValueBits = 0x3F;
// Every write of a voice's top bit sets bit 1 beside it.
constexpr std::uint8_t kVoiceTopMark = 0x02;
constexpr std::uint8_t kChangeSign = 0x20;
constexpr std::uint8_t kChangeMagnitude = 0x1F;
constexpr std::uint8_t kLoopEnd = 0x01;
constexpr int kHighestPitch = 62;

ByteString tailFrom(const ByteString& bytes, std::size_t size) { return ByteString(bytes.begin() + static_cast<std::ptrdiff_t>(size), bytes.end()); }

std::uint8_t checkedByte(std::int64_t value) {
  if (value < 0 || value > 255) throw Failure::of(err::Overflow);
  return static_cast<std::uint8_t>(value);
}

std::uint8_t& deltaField(Event& event) {
  return std::visit([](auto& e) -> std::uint8_t& {
    if constexpr (std::is_same_v<std::decay_t<decltype(e)>, Fragment>) {
      if (e.bytes.empty()) e.bytes.push_back(0);
      return e.bytes[0];
    } else {
      return e.delta;
    }
  }, event);
}

}  // namespace

std::optional<std::uint8_t> Fragment::delta() const {
  return bytes.empty() ? std::nullopt : std::optional<std::uint8_t>(bytes[0]);
}
std::optional<std::uint8_t> Fragment::part() const {
  return bytes.size() < 2 ? std::nullopt : std::optional<std::uint8_t>(bytes[1] >> kPartShift);
}
std::optional<std::uint8_t> Fragment::pitch() const {
  return bytes.size() < 2 ? std::nullopt : std::optional<std::uint8_t>(bytes[1] & kValueBits);
}
bool Fragment::extendStatus() const { return bytes.size() >= 2 && isExtendStatus(bytes[1]); }
std::optional<std::uint8_t> Fragment::third() const {
  return bytes.size() < 3 ? std::nullopt : std::optional<std::uint8_t>(bytes[2]);
}

std::size_t frameSize(const std::uint8_t* events, std::size_t offset, std::size_t end, Framing framing) {
  const std::size_t left = end - offset;
  std::size_t size = static_cast<std::size_t>(info::normalNoteLength(framing.noteLength));
  if (left >= 2 && isExtendStatus(events[offset + 1])) {
    size = kExtendSize;
    if (left >= 3 && hasLengthField(events[offset + 2])) {
      // The length bytes may themselves be cut off; then the event is whatever is left.
      size = left;
      if (left >= kExtInfoHeadSize)
        size = kExtInfoHeadSize + static_cast<std::size_t>(readBigEndian(&events[offset + 3], 2));
    } else if (left >= 3 && takesExstBytes(events[offset + 2])) {
      size = kExtendSize + framing.exst;
    }
  }
  return std::clamp<std::size_t>(size, 1, left);
}

Event decode(const ByteString& bytes, Framing framing) {
  const std::size_t size = bytes.size();
  if (size < 2) return Fragment{bytes};
  if (isExtendStatus(bytes[1])) {
    if (size < 3) return Fragment{bytes};
    const std::uint8_t value = bytes[2];
    if (hasLengthField(value)) {
      if (size < kExtInfoHeadSize) return Fragment{bytes};
      const auto length = static_cast<std::size_t>(readBigEndian(&bytes[3], 2));
      if (size < kExtInfoHeadSize + length) return Fragment{bytes};
      const auto data = bytes.begin() + static_cast<std::ptrdiff_t>(kExtInfoHeadSize);
      return ExtInfo{bytes[0], value, ByteString(data, data + static_cast<std::ptrdiff_t>(length)),
                     tailFrom(bytes, kExtInfoHeadSize + length), bytes[1]};
    }
    const std::size_t more = takesExstBytes(value) ? framing.exst : 0;
    if (size < kExtendSize + more) return Fragment{bytes};
    Extend e = extendOf(bytes);
    if (more > 0) {
      e.more = ByteString(e.extra.begin(), e.extra.begin() + static_cast<std::ptrdiff_t>(more));
      e.extra.erase(e.extra.begin(), e.extra.begin() + static_cast<std::ptrdiff_t>(more));
    }
    return e;
  }
  const auto n = static_cast<std::size_t>(info::normalNoteLength(framing.noteLength));
  if (size < n) return Fragment{bytes};
  return noteOf(bytes, framing.noteLength);
}

Note noteOf(const ByteString& bytes, int noteLength) {
  const auto n = static_cast<std::size_t>(info::normalNoteLength(noteLength));
  const auto byteAt = [&](std::size_t i) -> std::uint8_t { return i < bytes.size() ? bytes[i] : 0; };
  Note note;
  note.delta = byteAt(0);
  note.part = byteAt(1) >> kPartShift;
  note.pitch = byteAt(1) & kValueBits;
  note.gate = byteAt(2);
  if (n == 4) {
    note.velocity = byteAt(3) >> 2;
    note.octaveShift = byteAt(3) & 0x03;
  }
  if (bytes.size() > n) note.extra = tailFrom(bytes, n);
  return note;
}

ByteString encode(const Event& event, int noteLength) {
  ByteString out;
  const auto append = [&out](const ByteString& b) { out.insert(out.end(), b.begin(), b.end()); };
  if (const auto* note = std::get_if<Note>(&event)) {
    out = {note->delta, static_cast<std::uint8_t>(note->part << kPartShift | (note->pitch & kValueBits)), note->gate};
    if (info::normalNoteLength(noteLength) == 4)
      out.push_back(static_cast<std::uint8_t>(note->velocity << 2 | (note->octaveShift & 0x03)));
    append(note->extra);
  } else if (const auto* extend = std::get_if<Extend>(&event)) {
    out = {extend->delta, extend->status, extend->kind, dataOf(*extend)};
    append(extend->more);
    append(extend->extra);
  } else if (const auto* info = std::get_if<ExtInfo>(&event)) {
    if (info->data.size() > 0xFFFF) throw Failure::of(err::Overflow);
    out = {info->delta, info->status, info->kind};
    appendBigEndian(out, info->data.size(), 2);
    append(info->data);
    append(info->extra);
  } else {
    out = std::get<Fragment>(event).bytes;
  }
  return out;
}

std::uint8_t deltaOf(const Event& event) {
  return std::visit([](const auto& e) -> std::uint8_t {
    if constexpr (std::is_same_v<std::decay_t<decltype(e)>, Fragment>)
      return e.delta().value_or(0);
    else
      return e.delta;
  }, event);
}

void setDelta(Event& event, std::uint8_t delta) { deltaField(event) = delta; }

bool isExtendRow(const Event& event) {
  if (const auto* note = std::get_if<Note>(&event)) return note->pitch == kExtendPitch;
  if (const auto* fragment = std::get_if<Fragment>(&event)) return fragment->pitch() == kExtendPitch;
  return true;
}

Extend extendOf(const ByteString& bytes) {
  const auto byteAt = [&](std::size_t i) -> std::uint8_t { return i < bytes.size() ? bytes[i] : 0; };
  Extend e = fieldsOf(byteAt(2), byteAt(3));
  e.delta = byteAt(0);
  e.status = byteAt(1);
  if (bytes.size() > kExtendSize) e.extra = tailFrom(bytes, kExtendSize);
  return e;
}

Extend fieldsOf(std::uint8_t kind, std::uint8_t d) {
  Extend e;
  e.kind = kind;
  switch (extendKind(kind).layout) {
    case Layout::Whole: e.value = d; break;
    case Layout::PartValue:
      e.part = d >> kPartShift;
      e.value = d & kValueBits;
      break;
    case Layout::PartBit:
      e.part = d >> kPartShift;
      e.value = d & 0x01;
      e.spare = d & 0x3E;
      break;
    case Layout::Loop:
      e.id = d >> kPartShift;
      e.value = (d >> 2) & 0x0F;
      e.mark = d & 0x03;
      break;
    case Layout::Drum:
      e.value = (d >> 3) & 0x0F;
      e.mark = d & 0x01;
      e.spare = d & 0x86;
      break;
    case Layout::DrumMode:
      e.value = d >> 3;
      e.mark = d & 0x07;
      break;
    case Layout::Tune:
      e.value = d & 0x7F;
      e.spare = d & 0x80;
      break;
  }
  return e;
}

std::uint8_t dataOf(const Extend& e) {
  int d = 0;
  switch (extendKind(e.kind).layout) {
    case Layout::Whole: d = e.value; break;
    case Layout::PartValue: d = e.part << kPartShift | (e.value & kValueBits); break;
    case Layout::PartBit: d = e.part << kPartShift | (e.value & 0x01); break;
    case Layout::Loop: d = e.id << kPartShift | (e.value & 0x0F) << 2 | (e.mark & 0x03); break;
    case Layout::Drum: d = (e.value & 0x0F) << 3 | (e.mark & 0x01); break;
    case Layout::DrumMode: d = (e.value & 0x1F) << 3 | (e.mark & 0x07); break;
    case Layout::Tune: d = e.value & 0x7F; break;
  }
  return static_cast<std::uint8_t>(d | e.spare);
}

Extend extendEvent(std::uint8_t delta, std::uint8_t kind, std::uint8_t part, std::uint8_t value) {
  Extend e;
  e.delta = delta;
  e.kind = kind;
  e.part = part;
  e.value = value;
  if (extendKind(kind).layout == Layout::PartBit) e.spare = kVoiceTopMark;
  return e;
}

std::uint8_t dataFromEntries(std::uint8_t kind, const DataEntries& x) {
  const auto whole = [](double v) -> std::int64_t { return wholeNumber32(v); };
  const std::int64_t part = whole(x.part * (1 << kPartShift));
  std::int64_t d = 0;
  switch (extendKind(kind).layout) {
    case Layout::Whole:
    case Layout::Tune: d = whole(x.value); break;
    case Layout::PartValue:
      if (kind == kind::RelativeVolume && x.value < 0)
        d = part | kChangeSign | whole(-x.value - 1);
      else
        d = part | whole(x.value);
      break;
    case Layout::PartBit: d = part | kVoiceTopMark | whole(x.value); break;
    case Layout::Loop: d = whole(x.id * (1 << kPartShift)) | whole(x.value * 4) | (x.mark ? kLoopEnd : 0); break;
    case Layout::Drum:
    case Layout::DrumMode: d = whole(x.value * 8) | (x.mark ? 1 : 0); break;
  }
  return checkedByte(d);
}

int relativeChange(std::uint8_t value) {
  return (value & kChangeSign) ? -(value & kChangeMagnitude) - 1 : (value & kChangeMagnitude);
}

std::uint8_t relativeChangeValue(int change) {
  return static_cast<std::uint8_t>(change < 0 ? kChangeSign | ((-change - 1) & kChangeMagnitude) : change & kChangeMagnitude);
}

double secondsPerTick(int tempo, int timebase) { return 60.0 / (double(tempo) * timebase); }
double microsPerTick(int tempo, int timebase) { return 60e6 / (double(tempo) * timebase); }

}  // namespace tonekit::events
