// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The codec of track events: decode and encode exact inverses, and the one key mapping.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "mld/EventCodec.h"
#include "mld/TrackEvents.h"

using namespace tonekit;
using namespace tonekit::events;

namespace {

std::mt19937 rng(18);
std::uint8_t anyByte() { return static_cast<std::uint8_t>(rng()); }
ByteString anyBytes(std::size_t size) {
  ByteString out(size);
  for (auto& b : out) b = anyByte();
  return out;
}

const Framing kFramings[] = {{3, 0}, {4, 0}, {3, 1}, {4, 2}};
const std::uint8_t kStatuses[] = {0x3F, 0x7F, 0xBF, 0xFF};

void expectBytesComeBack(const ByteString& bytes) {
  for (const Framing f : kFramings)
    ASSERT_EQ(encode(decode(bytes, f), f.noteLength), bytes) << toHex(bytes) << " note length " << f.noteLength << " exst " << f.exst;
}

}  // namespace

TEST(EventCodec, EveryByteStringComesBackExactly) {
  for (int i = 0; i < 200000; ++i) {
    ByteString bytes = anyBytes(rng() % 12);
    // Most random strings are notes; make extend-status and ext-info frames as likely.
    if (bytes.size() > 1 && rng() % 2) bytes[1] = kStatuses[rng() % 4];
    if (bytes.size() > 4 && rng() % 3 == 0) bytes[2] = static_cast<std::uint8_t>(0xF0 | (rng() & 0x0F)), bytes[3] = 0,
                                             bytes[4] = static_cast<std::uint8_t>(rng() % 8);
    expectBytesComeBack(bytes);
  }
}

TEST(EventCodec, EveryFuzzInputAndEveryRecordOfItComesBack) {
  const auto corpus = std::filesystem::path(TONEKIT_SAMPLES_DIR).parent_path() / "fuzz" / "corpus";
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const ByteString data{std::istreambuf_iterator<char>(in), {}};
    expectBytesComeBack(data);
    for (const Framing f : kFramings) {
      if (data.size() < 8) continue;
      for (const auto& record : walkTrack(data, f)) expectBytesComeBack(record.getData());
    }
    ++files;
  }
  EXPECT_GT(files, 20);
}

TEST(EventCodec, EveryTypedEventComesBackExactly) {
  for (int i = 0; i < 100000; ++i) {
    const Framing f = kFramings[rng() % 4];
    const int n = f.noteLength;
    Event event;
    switch (rng() % 3) {
      case 0: {
        Note note;
        note.delta = anyByte(), note.part = static_cast<std::uint8_t>(rng() % 4);
        note.pitch = static_cast<std::uint8_t>(rng() % 63), note.gate = anyByte();
        if (n == 4) note.velocity = static_cast<std::uint8_t>(rng() % 64), note.octaveShift = static_cast<std::uint8_t>(rng() % 4);
        note.extra = anyBytes(rng() % 3);
        event = note;
        break;
      }
      case 1: {
        std::uint8_t kind = anyByte();
        while (extendKind(kind).hasLength) kind = anyByte();
        Extend extend = fieldsOf(kind, anyByte());
        extend.delta = anyByte();
        extend.status = kStatuses[rng() % 4];
        if (takesExstBytes(kind)) extend.more = anyBytes(f.exst);
        extend.extra = anyBytes(rng() % 3);
        event = extend;
        break;
      }
      default:
        event = ExtInfo{anyByte(), static_cast<std::uint8_t>(0xF0 | (rng() & 0x0F)), anyBytes(rng() % 300), anyBytes(rng() % 3),
                        kStatuses[rng() % 4]};
    }
    ASSERT_EQ(decode(encode(event, n), f), event) << toHex(encode(event, n));
  }
}

TEST(EventCodec, RelativeChangeIsSignAndMagnitude) {
  for (int change = -32; change <= 31; ++change) EXPECT_EQ(relativeChange(relativeChangeValue(change)), change);
  EXPECT_EQ(relativeChangeValue(-1), 0x20);
  EXPECT_EQ(relativeChangeValue(-32), 0x3F);
  // A voice's top bit is written with bit 1 beside it.
  EXPECT_EQ(encode(extendEvent(0, kind::VoiceTop, 2, 1), 3), (ByteString{0x00, 0xFF, 0xE1, 0x83}));
}
