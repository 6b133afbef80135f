#include "track_editor/TrackEvents.h"

#include <algorithm>

#include "core/Failure.h"
#include "core/clsCalcUtil.h"
#include "track_editor/ExtendKinds.h"

namespace tonekit {

namespace {
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kExtendSize = 4;
constexpr std::size_t kExtInfoHeadSize = 5;
}  // namespace

bool isExtendEvent(const ByteString& event) { return event.size() >= 2 && event[1] == events::kExtendStatus; }

bool isExtInfoEvent(const ByteString& event) {
  return isExtendEvent(event) && event.size() >= 3 && events::extendKind(event[2]).hasLength;
}

ByteString newEvent(bool extend, int noteLength) {
  if (extend) return {0x00, events::kExtendStatus, events::firstValueOf(events::Fields::Sound), 0x00};
  return ByteString(static_cast<std::size_t>(noteLength), 0x00);
}

std::size_t eventSizeAt(const std::uint8_t* events, std::size_t offset, std::size_t end, int noteLength) {
  const std::size_t left = end - offset;
  std::size_t size = static_cast<std::size_t>(noteLength);
  if (left >= 2 && events[offset + 1] == events::kExtendStatus) {
    size = kExtendSize;
    if (left >= 3 && events::extendKind(events[offset + 2]).hasLength) {
      // The length bytes may themselves be cut off; then the event is whatever is left.
      size = left;
      if (left >= kExtInfoHeadSize)
        size = kExtInfoHeadSize + (std::size_t{events[offset + 3]} << 8 | events[offset + 4]);
    }
  }
  return std::clamp<std::size_t>(size, 1, left);
}

std::vector<clsNote> walkTrack(const ByteString& chunk, int noteLength) {
  if (noteLength != 3 && noteLength != 4)
    throw Failure::of(err::InvalidCall, "(ノート長: " + std::to_string(noteLength) + ")");
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
    const std::size_t size = eventSizeAt(events, offset, length, noteLength);
    notes.emplace_back(ByteString(events + offset, events + offset + size));
    offset += size;
  }
  return notes;
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

}  // namespace tonekit
