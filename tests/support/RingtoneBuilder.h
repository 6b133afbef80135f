// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// A melody made to stand for a real commercial ringtone: four tracks, all sixteen parts, minutes
// long, tempo changes, a loop, absolute relative-volume curves, pitch bends with a range change,
// modulation, a master tune and a drum part on MIDI channel 10, with 4-byte notes.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "MldBuilder.h"
#include "convert/MfiMidiMap.h"
#include "mld/EventCodec.h"

namespace tonekit::mldtest {

namespace ringtone {

inline constexpr int kTicksPerBeat = 48;  // tempo values use timebase 48 (0xC3)
inline constexpr int kBeatsPerBar = 4;
inline constexpr std::uint8_t kDrumTrack = 2, kDrumPart = 1;  // MIDI channel 10
// The drum pattern's pitches: kick, snare, closed hi-hat, pedal hi-hat (keys 35 + pitch).
inline constexpr std::uint8_t kKick = 0, kSnare = 5, kHat = 7, kPedal = 9;

struct Timed {
  int tick;
  ByteString bytes;
};

inline ByteString extendBytes(std::uint8_t kind, std::uint8_t part, std::uint8_t value) {
  return events::encode(events::extendEvent(0, kind, part, value), 4);
}

inline ByteString noteBytes(std::uint8_t part, std::uint8_t pitch, std::uint8_t gate, std::uint8_t velocity,
                            std::uint8_t shift) {
  events::Note n;
  n.part = part, n.pitch = pitch, n.gate = gate, n.velocity = velocity, n.octaveShift = shift;
  return events::encode(n, 4);
}

// Events at absolute ticks as a track's event bytes: deltas worked out, NOPs across long gaps,
// the end of track last.
inline ByteString withDeltas(std::vector<Timed> timed) {
  std::stable_sort(timed.begin(), timed.end(), [](const Timed& a, const Timed& b) { return a.tick < b.tick; });
  ByteString out;
  int at = 0;
  for (Timed& t : timed) {
    for (; t.tick - at > 255; at += 255) append(out, {255, 0xFF, events::kind::Nop, 0});
    t.bytes[0] = static_cast<std::uint8_t>(t.tick - at);
    at = t.tick;
    append(out, t.bytes);
  }
  append(out, kEndOfTrack);
  return out;
}

// Track k's events over `bars` bars; the first eight bars form a loop played twice.
inline ByteString trackEvents(int k, int bars) {
  std::vector<Timed> ev;
  const auto put = [&ev](int tick, ByteString bytes) { ev.push_back({tick, std::move(bytes)}); };
  const int barTicks = kTicksPerBeat * kBeatsPerBar;
  if (k == 0) {
    put(0, extendBytes(events::tempoValue(3), 0, 120));
    put(0, extendBytes(events::kind::MasterTune, 0, events::kTuneCentre + 3));
    put(bars / 3 * barTicks, extendBytes(events::tempoValue(3), 0, 132));
    put(2 * bars / 3 * barTicks, extendBytes(events::tempoValue(3), 0, 112));
  }
  for (std::uint8_t p = 0; p < 4; ++p) {
    const int program = (k * 29 + p * 11 + 1) % 128;
    const auto [top, low] = events::voiceValuesOf(program);
    put(0, extendBytes(events::kind::VoiceTop, p, top));
    put(0, extendBytes(events::kind::VoiceLow, p, low));
    put(0, extendBytes(events::kind::Volume, p, static_cast<std::uint8_t>(44 + p * 3)));
    put(0, extendBytes(events::kind::Balance, p, static_cast<std::uint8_t>(16 + (k * 4 + p) * 2)));
    put(0, extendBytes(events::kind::BendRange, p, 2));
  }
  put(0, extendBytes(events::kind::LoopPoint, 0, 2));  // loop 0 starts, count 2
  events::Extend loopEnd = events::extendEvent(0, events::kind::LoopPoint, 0, 2);
  loopEnd.mark = 1;
  put(8 * barTicks - 1, events::encode(loopEnd, 4));
  for (int bar = 0; bar < bars; ++bar) {
    const int start = bar * barTicks;
    for (std::uint8_t p = 0; p < 4; ++p) {
      // An absolute curve: falling from 47 to 22 over 26 bars, then rising, never 0.
      const int phase = (bar + k * 7 + p * 3) % 40;
      const int level = phase < 26 ? 47 - phase : 22 + (phase - 26);
      put(start + 1, extendBytes(events::kind::RelativeVolume, p, static_cast<std::uint8_t>(level)));
    }
    if (k == 1) {
      // A bend up and back on part 0 every other bar; the range widens to an octave halfway.
      if (bar == bars / 2) put(start, extendBytes(events::kind::BendRange, 0, 12));
      if (bar % 2 == 0)
        for (int step = 0; step < 8; ++step)
          put(start + 2 + step * 6, extendBytes(events::kind::PitchBend, 0,
                                                static_cast<std::uint8_t>(events::kBendCentre + (step < 4 ? step : 8 - step) * 3)));
    }
    if (k == 3) put(start + 3, extendBytes(events::kind::Modulation, 2, static_cast<std::uint8_t>(bar % 4 == 0 ? 40 : 0)));
    for (int beat = 0; beat < kBeatsPerBar; ++beat) {
      const int tick = start + beat * kTicksPerBeat + 4;
      for (std::uint8_t p = 0; p < 4; ++p) {
        const auto velocity = static_cast<std::uint8_t>(30 + (bar + beat * 5 + p * 7) % 30);
        if (k == kDrumTrack && p == kDrumPart) {
          const std::uint8_t hit = beat % 2 == 0 ? kKick : kSnare;
          put(tick, noteBytes(p, hit, 12, velocity, 0));
          put(tick + 24, noteBytes(p, beat == 3 ? kPedal : kHat, 6, velocity, 0));
          continue;
        }
        const auto pitch = static_cast<std::uint8_t>(15 + (bar * 5 + beat * 3 + k * 7 + p * 4) % 36);
        const std::uint8_t shift = (bar + p) % 9 == 0 ? 1 : (bar + p) % 7 == 0 ? 3 : 0;
        put(tick, noteBytes(p, pitch, static_cast<std::uint8_t>(20 + (beat * 9 + p * 5) % 24), velocity, shift));
      }
    }
  }
  return withDeltas(std::move(ev));
}

}  // namespace ringtone

// The melody as an MLD file; 160 bars last 5 min 15 s.
inline ByteString ringtoneMld(int bars = 160) {
  std::vector<ByteString> tracks;
  for (int k = 0; k < 4; ++k) tracks.push_back(track(ringtone::trackEvents(k, bars)));
  return mld({chunk("titl", bytesOf("Ringtone")), chunk("note", {0x00, 0x01}), chunk("vers", bytesOf("0200"))}, tracks);
}

// A melody of `seconds` with one note every two seconds: tempo 60 at timebase 6.
inline ByteString sparseMld(int seconds) {
  std::vector<ringtone::Timed> ev;
  ev.push_back({0, ringtone::extendBytes(events::tempoValue(0), 0, 60)});
  for (int tick = 0; tick + 6 <= seconds * 6; tick += 12)
    ev.push_back({tick, ringtone::noteBytes(0, static_cast<std::uint8_t>(20 + tick % 24), 6, 40, 0)});
  ev.push_back({seconds * 6, ringtone::extendBytes(events::kind::Nop, 0, 0)});
  return mld({chunk("note", {0x00, 0x01})}, {track(ringtone::withDeltas(std::move(ev)))});
}

}  // namespace tonekit::mldtest
