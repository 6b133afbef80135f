#pragma once
// The events of the files the converter writes, track by track, for checking them. Knows only
// what the converter writes: no running status.

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
  std::size_t p = 14;
  auto vlq = [&](std::size_t& at) {
    std::uint64_t v = 0;
    while (at < smf.size()) {
      const std::uint8_t b = smf[at++];
      v = v << 7 | (b & 0x7F);
      if (!(b & 0x80)) break;
    }
    return v;
  };
  while (p + 8 <= smf.size()) {
    const std::size_t length = std::size_t(smf[p + 4]) << 24 | std::size_t(smf[p + 5]) << 16 | std::size_t(smf[p + 6]) << 8 | smf[p + 7];
    std::size_t at = p + 8;
    const std::size_t end = std::min(at + length, smf.size());
    std::int64_t tick = 0;
    auto& track = tracks.emplace_back();
    while (at < end) {
      tick += static_cast<std::int64_t>(vlq(at));
      const std::uint8_t status = smf[at++];
      ByteString bytes{status};
      std::size_t size = (status & 0xE0) == 0xC0 ? 1 : 2;
      if (status == 0xFF) bytes.push_back(smf[at++]);
      if (status == 0xFF || status == 0xF0) size = vlq(at);
      bytes.insert(bytes.end(), smf.begin() + std::ptrdiff_t(at), smf.begin() + std::ptrdiff_t(std::min(at + size, end)));
      at += size;
      track.push_back({tick, bytes});
    }
    p = end;
  }
  return tracks;
}

// The events of one track whose status (high nibble for channel messages) is given.
inline std::vector<SmfEvent> eventsWithStatus(const std::vector<SmfEvent>& track, std::uint8_t status) {
  std::vector<SmfEvent> out;
  for (const auto& e : track)
    if (e.bytes[0] == status || (status < 0xF0 && (e.bytes[0] & 0xF0) == status)) out.push_back(e);
  return out;
}

inline std::string textOf(const SmfEvent& e) { return std::string(e.bytes.begin() + 2, e.bytes.end()); }

}  // namespace tonekit::test
