// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Small MLD files put together from their parts, byte by byte, for the tests and the sample
// generator.

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/ByteString.h"
#include "base/clsCalcUtil.h"

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

// An audio chunk of the later format versions: "adat", 4-byte length, sampled data.
inline ByteString audio(const ByteString& samples) {
  ByteString out = bytesOf("adat");
  append(out, dwordBytes(samples.size()));
  append(out, samples);
  return out;
}

inline const ByteString kEndOfTrack = {0x00, 0xFF, 0xDF, 0x00};

// A file with both lengths right. trackCount is the header's count byte; -1 counts the tracks
// given, any other value may disagree with them. The audio chunks stand before the tracks.
inline ByteString mld(const std::vector<ByteString>& chunks, const std::vector<ByteString>& tracks,
                      std::uint8_t major = 1, std::uint8_t minor = 1, int trackCount = -1,
                      const std::vector<ByteString>& audios = {}) {
  ByteString info;
  for (const auto& c : chunks) append(info, c);
  ByteString body;
  for (const auto& a : audios) append(body, a);
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

// Track k of a later-format melody: tempo, a volume per part, then bars of notes on all four
// parts inside a loop (count 2), a rising volume curve, a jump back to the cue point (the first
// note) and the end. noteLength 3 or 4.
inline ByteString laterTrack(int k, int noteLength, int bars) {
  auto ext = [](ByteString& to, std::uint8_t delta, std::uint8_t kind, std::uint8_t data) {
    to.insert(to.end(), {delta, 0xFF, kind, data});
  };
  ByteString events;
  ext(events, 0, 0xC3, static_cast<std::uint8_t>(100 + 10 * k));  // tempo at timebase 48
  for (std::uint8_t part = 0; part < 4; ++part) ext(events, 0, 0xE2, static_cast<std::uint8_t>(part << 6 | (40 + part)));
  ext(events, 0, 0xDD, 0 << 6 | 2 << 2 | 0);  // loop 0 starts, twice
  for (int bar = 0; bar < bars; ++bar) {
    for (int beat = 0; beat < 4; ++beat) {
      const auto part = static_cast<std::uint8_t>(beat);
      const auto pitch = static_cast<std::uint8_t>(27 + (bar * 5 + beat * 3 + k * 7) % 36);
      events.insert(events.end(), {static_cast<std::uint8_t>(beat == 0 ? 0 : 48),
                                   static_cast<std::uint8_t>(part << 6 | pitch), 40});
      if (noteLength == 4) events.push_back(static_cast<std::uint8_t>((32 + bar % 31) << 2));
    }
    ext(events, 48, 0xE2, static_cast<std::uint8_t>((bar % 4) << 6 | (20 + bar % 40)));
  }
  ext(events, 48, 0xDD, 0 << 6 | 2 << 2 | 1);  // loop 0 ends
  ext(events, 0, 0xD1, 2);                       // back to the cue point once more
  append(events, kEndOfTrack);
  return track(events);
}

// An information chunk of each kind the later format versions add, made for tracks and audio
// chunks; cuep points at each track's first note.
inline std::vector<ByteString> laterChunks(std::size_t tracks, std::size_t audios) {
  ByteString cues;
  for (std::size_t t = 0; t < tracks; ++t) append(cues, dwordBytes(24));
  return {chunk("ainf", {static_cast<std::uint8_t>(audios), 0x00}), chunk("auth", bytesOf("TONEKIT test")),
          chunk("cuep", cues), chunk("supt", bytesOf("support 0120-000-000")),
          chunk("thrd", {0x01, 0x00, 0x10, 0x20}), chunk("code", {0x00, 0x01})};
}

// Sampled audio that looks like some: a slowly changing wave of size bytes.
inline ByteString audioSamples(std::size_t size, std::uint8_t start) {
  ByteString out(size);
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>((i * (start + 3)) / 7 + start);
  return out;
}

// A later-format file (major type 3, 4-byte notes): the eight chunks in the writer's order, then
// the later ones and any extra given, audios "adat" chunks before tracks tracks.
inline ByteString laterMld(std::size_t tracks, std::size_t audios, const ByteString& title,
                           const std::vector<ByteString>& extra = {}) {
  std::vector<ByteString> chunks = {chunk("copy", bytesOf("(C) TONEKIT")), chunk("date", bytesOf("20240401")),
                                    chunk("exst", {}), chunk("note", {0x00, 0x01}), chunk("titl", title),
                                    chunk("sorc", {0x01}), chunk("vers", bytesOf("0500")), chunk("prot", bytesOf("tk"))};
  for (const auto& c : laterChunks(tracks, audios)) chunks.push_back(c);
  for (const auto& c : extra) chunks.push_back(c);
  std::vector<ByteString> trackChunks, audioChunks;
  for (std::size_t t = 0; t < tracks; ++t) trackChunks.push_back(laterTrack(static_cast<int>(t), 4, 16));
  for (std::size_t a = 0; a < audios; ++a)
    audioChunks.push_back(audio(audioSamples(1000 + 500 * a, static_cast<std::uint8_t>(a))));
  return mld(chunks, trackChunks, 3, 1, -1, audioChunks);
}

// An "adat" chunk as the later versions' files hold recorded sound: header length, format,
// attribute, an "adpm" sub-chunk (rate in kHz, bits per code, channels with the interleave bit)
// and the codes.
inline ByteString adpcmAudio(const ByteString& codes, std::uint8_t rateKHz = 16, std::uint8_t bits = 2,
                             std::uint8_t channels = 1, std::uint8_t format = 0x81) {
  ByteString body = {0x00, 0x0B, format, 0x00, 'a', 'd', 'p', 'm', 0x00, 0x03, rateKHz, bits, channels};
  append(body, codes);
  return audio(body);
}

// An MFi4 sound effect ("exst" 1, one "adat" chunk). Its track: tempo 80 at timebase 48, master
// volume, two ext-info blocks of the audio voice (0x7F), its level, the start of audio entry 0 at
// level 0x37, a 3D setting and the end at tick 192 (3.0 s); no note.
inline const ByteString kEffectEvents = {
    0x00, 0xFF, 0xC3, 0x50, 0x00, 0xFF, 0xB0, 0x7F, 0x00, 0x7F, 0xF0, 0x00, 0x06, 0x01, 0x00, 0x40, 0x00, 0x10, 0x00,
    0x00, 0x7F, 0x80, 0x3F, 0x01, 0x7F, 0x00, 0x00, 0x37, 0x07, 0x7F, 0xF0, 0x00, 0x06, 0x02, 0x00, 0x20, 0x00, 0x08,
    0x00, 0xB8, 0x7F, 0x90, 0x3F, 0x00, 0xFF, 0xDF, 0x00};
inline ByteString mfi4Effect(const ByteString& adat = audio(audioSamples(800, 9)), const ByteString& events = kEffectEvents) {
  return mld({chunk("exst", {0x00, 0x01}), chunk("note", {0x00, 0x01}), chunk("titl", bytesOf("se01")),
              chunk("vers", bytesOf("0400")), chunk("ainf", {0x01, 0x01})},
             {track(events)}, 4, 1, -1, {adat});
}

}  // namespace tonekit::mldtest
