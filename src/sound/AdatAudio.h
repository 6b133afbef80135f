// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The recorded sound of the later format versions: the "adat" chunks, their ADPCM decoded by
// spandsp's G.726 codec, and the mix that the audio-voice events of the tracks (status 0x7F)
// start, stop, level and pan beside the synthesizer's output, resampled by libsamplerate.
//
// The mix decodes each entry as it plays, a slice at a time, so that a long entry costs no more
// memory than its codes.
//
// An "adat" chunk: its tag, a 4-byte length, a 2-byte header length H, a format byte, an
// attribute byte, sub-chunks up to H (4-byte tag, 2-byte length, data), then the codes to the
// chunk's end. The "adpm" sub-chunk gives the rate in kHz, the bits per code, and the channels
// (bits 2-0) and interleave (bit 3).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/ByteString.h"
#include "convert/MidiExport.h"

namespace tonekit::sound {

// ADPCM type 2: G.726 codes, low bits first.
inline constexpr std::uint8_t kAdatG726 = 0x81;

struct AdatEntry {
  std::uint8_t format = 0;
  std::uint8_t attribute = 0;
  int rateKHz = 0;
  int bits = 0;
  int channels = 0;
  bool interleaved = false;
  std::size_t codeOffset = 0;  // inside the chunk, its tag included
  std::size_t codeBytes = 0;
  // Why it cannot be played ("format 0x80", "rate 12 kHz", …); nothing when it can.
  std::optional<std::string> problem;

  bool playable() const { return !problem.has_value(); }
  // Samples per channel; 0 when not playable.
  std::int64_t frames() const;
  double seconds() const;
};

// An "adat" chunk as the file holds it (tag and length included). Never raises: what it cannot
// read is the entry's problem.
AdatEntry parseAdat(const ByteString& chunk);

// 16-bit samples, interleaved when stereo.
struct Pcm {
  int rate = 0;
  int channels = 0;
  std::vector<std::int16_t> samples;
};

// The entry's sound at its own rate; raises 5 naming the problem of an entry that is not playable.
Pcm decodeAdat(const ByteString& chunk, const AdatEntry& entry);

// G.726 codes of 2 or 4 bits for the samples, packed as decodeAdat reads them.
ByteString encodeG726(std::span<const std::int16_t> samples, int bits);

// A 16-bit PCM WAV file of the samples.
ByteString wavOf(const Pcm& pcm);

// A melody that only plays entry `entry` of the chunks, whole and at full level.
Melody entryAlone(const std::vector<ByteString>& chunks, std::size_t entry);

// What a mix heard and could not play.
struct AudioFigures {
  std::int64_t entriesPlayed = 0;  // entries started at least once and decoded
  // By entry or event: "entry 1: format 0x80", "start of entry 5, which does not exist".
  std::map<std::string, std::int64_t> notPlayed;
};

// The recorded sound of one performance, added block by block to the synthesizer's output at
// the render rate. The audio voice's four lanes each play one entry at a time.
class AudioMix {
 public:
  // events as convert gives them (their seconds on the performance's clock); exst decides
  // whether a start carries its level.
  AudioMix(std::vector<ByteString> chunks, const std::vector<AudioEvent>& events, std::uint32_t exst, int rate);
  ~AudioMix();
  AudioMix(const AudioMix&) = delete;
  AudioMix& operator=(const AudioMix&) = delete;

  // Adds the next `frames` frames to the two channels (each sample `stride` floats apart).
  void add(float* left, float* right, int frames, int stride);
  // When the last entry started would end if nothing stopped it, in seconds.
  double endSeconds() const { return endSeconds_; }
  // Something still sounds or is still to start.
  bool active() const { return active_.load(std::memory_order_relaxed); }
  const AudioFigures& figures() const { return figures_; }

 private:
  struct Command {
    std::int64_t frame;
    std::uint8_t command;
    std::uint8_t b1, b2;
    bool hasB2;
  };
  struct Voice;
  struct Lane {
    int level = 126;
    int pan = 64;
  };

  void apply(const Command& c);
  void render(float* left, float* right, int frames, int stride);

  std::vector<ByteString> chunks_;
  std::vector<AdatEntry> entries_;
  std::vector<Command> commands_;
  std::size_t next_ = 0;
  std::vector<std::unique_ptr<Voice>> voices_;
  Lane lanes_[4];
  std::int64_t frame_ = 0;
  int rate_;
  std::uint32_t exst_;
  double endSeconds_ = 0;
  std::atomic<bool> active_{false};
  AudioFigures figures_;
  std::vector<float> scratch_;
};

}  // namespace tonekit::sound
