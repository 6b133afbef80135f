#pragma once
// Small MLD files put together from their parts, byte by byte, for the tests and the sample
// generator.

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/ByteString.h"
#include "core/clsCalcUtil.h"

namespace tonekit::mldtest {

inline void append(ByteString& to, const ByteString& from) { to.insert(to.end(), from.begin(), from.end()); }

inline ByteString wordBytes(std::size_t value) {
  ByteString out;
  clsCalcUtil().CalcBYTEFromLong(static_cast<std::int64_t>(value), out);
  return out;
}

inline ByteString dwordBytes(std::size_t value) {
  ByteString out;
  clsCalcUtil().CalcDWORDFromLong(static_cast<std::int64_t>(value), out);
  return out;
}

// An information chunk: tag, 2-byte length, value.
inline ByteString chunk(std::string_view tag, const ByteString& value) {
  ByteString out = bytesOf(tag);
  append(out, wordBytes(value.size()));
  append(out, value);
  return out;
}

// A track chunk: "trac", 4-byte length, events.
inline ByteString track(const ByteString& events) {
  ByteString out = bytesOf("trac");
  append(out, dwordBytes(events.size()));
  append(out, events);
  return out;
}

inline const ByteString kEndOfTrack = {0x00, 0xFF, 0xDF, 0x00};

// A file with both lengths right. trackCount is the header's count byte; -1 counts the tracks
// given, any other value may disagree with them.
inline ByteString mld(const std::vector<ByteString>& chunks, const std::vector<ByteString>& tracks,
                      std::uint8_t major = 1, std::uint8_t minor = 1, int trackCount = -1) {
  ByteString info;
  for (const auto& c : chunks) append(info, c);
  ByteString body;
  for (const auto& t : tracks) append(body, t);
  ByteString out = bytesOf("melo");
  append(out, dwordBytes(5 + info.size() + body.size()));
  append(out, wordBytes(3 + info.size()));
  out.push_back(major);
  out.push_back(minor);
  out.push_back(static_cast<std::uint8_t>(trackCount >= 0 ? trackCount : static_cast<int>(tracks.size())));
  append(out, info);
  append(out, body);
  return out;
}

}  // namespace tonekit::mldtest
