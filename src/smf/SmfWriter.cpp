// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "smf/SmfWriter.h"

#include <array>

#include "base/BigEndian.h"

namespace tonekit::smf {

void appendVarLength(ByteString& out, std::uint64_t value) {
  std::array<std::uint8_t, 10> groups{};
  std::size_t n = 0;
  do {
    groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0 && n < groups.size());
  while (n > 1) out.push_back(static_cast<std::uint8_t>(groups[--n] | 0x80));
  out.push_back(groups[0]);
}

ByteString metaEvent(std::uint8_t type, const ByteString& data) {
  ByteString out = {0xFF, type};
  appendVarLength(out, data.size());
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

ByteString fileHeader(std::uint16_t format, std::uint16_t tracks, std::uint16_t division) {
  ByteString out = {'M', 'T', 'h', 'd'};
  appendBigEndian(out, 6, 4);
  appendBigEndian(out, format, 2);
  appendBigEndian(out, tracks, 2);
  appendBigEndian(out, division, 2);
  return out;
}

void appendEndOfTrack(ByteString& body, std::uint64_t endDelta) {
  appendVarLength(body, endDelta);
  body.insert(body.end(), {0xFF, 0x2F, 0x00});
}

void appendTrackChunk(ByteString& smf, const ByteString& body) {
  smf.insert(smf.end(), {'M', 'T', 'r', 'k'});
  appendBigEndian(smf, body.size(), 4);
  smf.insert(smf.end(), body.begin(), body.end());
}

}  // namespace tonekit::smf
