#pragma once
// The events of the files the converter writes, track by track. Knows only what the converter
// writes: no running status.

#include <cstdint>
#include <string>
#include <vector>

#include "core/ByteString.h"

namespace tonekit::test {

struct SmfEvent {
  std::int64_t tick;
  ByteString bytes;  // status and data; meta events FF type data, without the length
};

inline std::vector<std::vector<SmfEvent>> smfEvents(const ByteString& smf) {
  std::vector<std::vector<SmfEvent>> tracks;
  std::size_t at = 14;
  auto vlq = [&] {
    std::uint64_t v = 0;
    while (at < smf.size() && (v = v << 7 | (smf[at] & 0x7F), smf[at++] & 0x80)) {}
    return v;
  };
  while (at + 8 <= smf.size()) {
    const std::size_t end = at + 8 + (std::size_t(smf[at + 4]) << 24 | smf[at + 5] << 16 | smf[at + 6] << 8 | smf[at + 7]);
    auto& track = tracks.emplace_back();
    std::int64_t tick = 0;
    for (at += 8; at < std::min(end, smf.size());) {
      tick += static_cast<std::int64_t>(vlq());
      ByteString bytes{smf[at++]};
      if (bytes[0] == 0xFF) bytes.push_back(smf[at++]);
      const std::size_t size = bytes[0] >= 0xF0 ? vlq() : (bytes[0] & 0xE0) == 0xC0 ? 1 : 2;
      bytes.insert(bytes.end(), smf.begin() + std::ptrdiff_t(at), smf.begin() + std::ptrdiff_t(at + size));
      at += size;
      track.push_back({tick, bytes});
    }
  }
  return tracks;
}

// The events of a track with this status (the high nibble for channel messages).
inline std::vector<SmfEvent> eventsWithStatus(const std::vector<SmfEvent>& track, std::uint8_t status) {
  std::vector<SmfEvent> out;
  for (const auto& e : track)
    if (e.bytes[0] == status || (status < 0xF0 && (e.bytes[0] & 0xF0) == status)) out.push_back(e);
  return out;
}

}  // namespace tonekit::test
