// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "sound/AdatAudio.h"

#include <samplerate.h>
#include <spandsp.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/Failure.h"
#include "mld/ExtendKinds.h"
#include "mld/TrackEvents.h"

namespace tonekit::sound {

namespace {

constexpr std::size_t kTagAndLength = 8;
constexpr std::size_t kFirstSubChunk = kTagAndLength + 4;  // header length, format, attribute
constexpr int kLevelScale = 126;  // the top of the six-bit level fields, doubled
constexpr int kCentre = 64;

std::string hex(std::uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

std::size_t be(const ByteString& b, std::size_t at, int bytes) {
  std::size_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | b[at + std::size_t(i)];
  return v;
}

// The G.726 code set of a code width: 2 bits are the 16 kbit/s set, 4 bits the 32 kbit/s one.
int bitRateOf(int bits) { return bits * 8000; }

// spandsp's "right" packing is the files' order: the first code in the lowest bits of a byte
// (its "left" packing puts it in the highest).
struct G726 {
  g726_state_t* s;
  explicit G726(int bits) : s(g726_init(nullptr, bitRateOf(bits), G726_ENCODING_LINEAR, G726_PACKING_RIGHT)) {
    if (!s) throw Failure::of(err::OutOfMemory, "(G.726)");
  }
  ~G726() { g726_free(s); }
  G726(const G726&) = delete;
  G726& operator=(const G726&) = delete;
};

void decodeHalf(const std::uint8_t* codes, std::size_t bytes, int bits, std::vector<std::int16_t>& out) {
  G726 codec(bits);
  out.resize(bytes * 8 / std::size_t(bits));
  // spandsp takes an int count; a half is never near it, but go in slices all the same.
  constexpr std::size_t kSlice = 1 << 20;
  std::size_t made = 0;
  for (std::size_t at = 0; at < bytes; at += kSlice) {
    const std::size_t n = std::min(kSlice, bytes - at);
    made += std::size_t(g726_decode(codec.s, out.data() + made, codes + at, int(n)));
  }
  out.resize(made);
}

}  // namespace

std::int64_t AdatEntry::frames() const {
  if (!playable() || bits <= 0 || channels <= 0) return 0;
  return std::int64_t(codeBytes * 8 / std::size_t(bits) / std::size_t(channels));
}

double AdatEntry::seconds() const { return playable() ? double(frames()) / (rateKHz * 1000.0) : 0.0; }

AdatEntry parseAdat(const ByteString& chunk) {
  AdatEntry e;
  if (chunk.size() < kFirstSubChunk) {
    e.problem = "chunk cut short";
    return e;
  }
  const std::size_t headerEnd = kTagAndLength + 2 + be(chunk, kTagAndLength, 2);
  e.format = chunk[kTagAndLength + 2];
  e.attribute = chunk[kTagAndLength + 3];
  if (headerEnd < kFirstSubChunk || headerEnd > chunk.size()) {
    e.problem = "header length beyond the chunk";
    return e;
  }
  e.codeOffset = headerEnd;
  e.codeBytes = chunk.size() - headerEnd;
  bool adpm = false;
  for (std::size_t at = kFirstSubChunk; at + 6 <= headerEnd;) {
    const std::size_t length = be(chunk, at + 4, 2);
    if (at + 6 + length > headerEnd) {
      e.problem = "sub-chunk beyond the header";
      return e;
    }
    if (!adpm && length >= 3 && std::equal(chunk.begin() + std::ptrdiff_t(at), chunk.begin() + std::ptrdiff_t(at) + 4,
                                           "adpm")) {
      adpm = true;
      e.rateKHz = chunk[at + 6];
      e.bits = chunk[at + 7];
      e.channels = chunk[at + 8] & 0x07;
      e.interleaved = (chunk[at + 8] & 0x08) != 0;
    }
    at += 6 + length;
  }
  // Formats 0x80 and 0x82 are other vendors' ADPCM, which no public description pins down.
  if (e.format != kAdatG726) e.problem = "format " + hex(e.format);
  else if (!adpm) e.problem = "no adpm";
  else if (e.rateKHz != 8 && e.rateKHz != 16 && e.rateKHz != 32) e.problem = "rate " + std::to_string(e.rateKHz) + " kHz";
  else if (e.bits != 2 && e.bits != 4) e.problem = "bits " + std::to_string(e.bits);
  else if (e.channels != 1 && e.channels != 2) e.problem = "channels " + std::to_string(e.channels);
  else if (e.channels == 2 && e.interleaved) e.problem = "interleaved stereo";
  else if (e.channels == 2 && e.codeBytes % 2 != 0) e.problem = "odd stereo split";
  return e;
}

Pcm decodeAdat(const ByteString& chunk, const AdatEntry& entry) {
  if (!entry.playable()) throw Failure::of(err::InvalidCall, "(adat: " + *entry.problem + ")");
  Pcm pcm;
  pcm.rate = entry.rateKHz * 1000;
  pcm.channels = entry.channels;
  const std::uint8_t* codes = chunk.data() + entry.codeOffset;
  if (entry.channels == 1) {
    decodeHalf(codes, entry.codeBytes, entry.bits, pcm.samples);
    return pcm;
  }
  // Stereo: the left half of the codes, then the right, each a stream of its own.
  const std::size_t half = entry.codeBytes / 2;
  std::vector<std::int16_t> left, right;
  decodeHalf(codes, half, entry.bits, left);
  decodeHalf(codes + half, half, entry.bits, right);
  pcm.samples.resize(left.size() * 2);
  for (std::size_t i = 0; i < left.size(); ++i) {
    pcm.samples[2 * i] = left[i];
    pcm.samples[2 * i + 1] = right[i];
  }
  return pcm;
}

ByteString encodeG726(std::span<const std::int16_t> samples, int bits) {
  if (bits != 2 && bits != 4) throw Failure::of(err::InvalidCall, "(bits " + std::to_string(bits) + ")");
  G726 codec(bits);
  ByteString out(samples.size() * std::size_t(bits) / 8 + 1);
  const int made = g726_encode(codec.s, out.data(), samples.data(), int(samples.size()));
  out.resize(std::size_t(made));
  return out;
}

ByteString wavOf(const Pcm& pcm) {
  ByteString out;
  const auto put = [&out](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const auto tag = [&out](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(t[i]));
  };
  const auto dataBytes = static_cast<std::uint32_t>(pcm.samples.size() * 2);
  const auto blockAlign = static_cast<std::uint32_t>(pcm.channels * 2);
  out.reserve(44 + dataBytes);
  tag("RIFF");
  put(36 + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(std::uint32_t(pcm.channels), 2);
  put(std::uint32_t(pcm.rate), 4);
  put(std::uint32_t(pcm.rate) * blockAlign, 4);
  put(blockAlign, 2);
  put(16, 2);
  tag("data");
  put(dataBytes, 4);
  for (const std::int16_t s : pcm.samples) put(static_cast<std::uint16_t>(s), 2);
  return out;
}

Melody entryAlone(const std::vector<ByteString>& chunks, std::size_t entry) {
  // A start names entries 0-63 only.
  if (entry >= chunks.size() || entry > 0x3F) throw Failure::of(err::IndexOutOfRange, "(adat " + std::to_string(entry) + ")");
  Melody melody;
  melody.exst = 1;
  melody.audioChunks = chunks;
  // The start at level 0x3F, then the end of the track.
  const ByteString track = {'t',  'r',  'a',  'c',  0,    0,    0,    9,   0x00, events::kAudioStatus, events::audio::Start,
                            static_cast<std::uint8_t>(entry), 0x3F, 0x00, 0xFF, 0xDF, 0x00};
  melody.tracks.push_back(walkTrack(track, {melody.noteLength, melody.exst}));
  melody.damage.emplace_back();
  return melody;
}

// One entry sounding: its codes decoded a slice at a time (each half on its own when stereo) and
// fed to the resampler as it asks.
struct AudioMix::Voice {
  static constexpr std::size_t kSliceBytes = 512;
  std::size_t entry = 0;
  int lane = 0;
  int level = kLevelScale;
  int channels = 1;
  double ratio = 1;
  const std::uint8_t* codes[2] = {nullptr, nullptr};
  std::size_t left = 0;  // bytes of each half still to decode
  std::unique_ptr<G726> halves[2];
  std::vector<std::int16_t> decoded[2];
  std::vector<float> input;
  SRC_STATE* src = nullptr;
  bool ended = false;

  Voice(const ByteString& chunk, const AdatEntry& e, int rate) : channels(e.channels), ratio(rate / (e.rateKHz * 1000.0)) {
    const std::size_t half = e.codeBytes / std::size_t(channels);
    left = half;
    for (int c = 0; c < channels; ++c) {
      codes[c] = chunk.data() + e.codeOffset + std::size_t(c) * half;
      halves[c] = std::make_unique<G726>(e.bits);
      decoded[c].resize(kSliceBytes * 4);
    }
    int error = 0;
    src = src_callback_new(&Voice::feed, SRC_SINC_FASTEST, channels, &error, this);
    if (!src) throw Failure::of(err::OutOfMemory, "(libsamplerate)");
  }
  ~Voice() { src_delete(src); }
  Voice(const Voice&) = delete;
  Voice& operator=(const Voice&) = delete;

  // The resampler asks for more input: the next slice, 0 frames at the end.
  static long feed(void* data, float** out) {
    auto* v = static_cast<Voice*>(data);
    const std::size_t n = std::min(kSliceBytes, v->left);
    if (n == 0) return 0;
    int frames = 0;
    for (int c = 0; c < v->channels; ++c) {
      frames = g726_decode(v->halves[c]->s, v->decoded[c].data(), v->codes[c], int(n));
      v->codes[c] += n;
    }
    v->left -= n;
    v->input.resize(std::size_t(frames * v->channels));
    for (int i = 0; i < frames; ++i)
      for (int c = 0; c < v->channels; ++c)
        v->input[std::size_t(i * v->channels + c)] = float(v->decoded[c][std::size_t(i)]) / 32768.0f;
    *out = v->input.data();
    return frames;
  }
};

AudioMix::AudioMix(std::vector<ByteString> chunks, const std::vector<AudioEvent>& events, std::uint32_t exst, int rate)
    : chunks_(std::move(chunks)), rate_(rate), exst_(exst) {
  for (const ByteString& chunk : chunks_) entries_.push_back(parseAdat(chunk));
  std::vector<bool> started(entries_.size(), false);
  std::vector<std::pair<double, Command>> timed;
  for (const AudioEvent& e : events) {
    if (e.bytes.size() < 4) continue;
    Command c{0, e.command, e.bytes[3], 0, false};
    if (exst_ >= 1 && e.bytes.size() >= 5) {
      c.b2 = e.bytes[4];
      c.hasB2 = true;
    }
    if (c.command == events::audio::Start) {
      const std::size_t entry = c.b1 & 0x3F;
      if (entry >= entries_.size()) {
        ++figures_.notPlayed["start of entry " + std::to_string(entry) + ", which does not exist"];
        continue;
      }
      if (!entries_[entry].playable()) continue;
      started[entry] = true;
      endSeconds_ = std::max(endSeconds_, e.seconds + entries_[entry].seconds());
    }
    timed.emplace_back(e.seconds, c);
  }
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (!entries_[i].playable()) ++figures_.notPlayed["entry " + std::to_string(i) + ": " + *entries_[i].problem];
    else if (started[i]) ++figures_.entriesPlayed;
  }
  // The tracks' events come track by track; the mix takes them in time.
  std::stable_sort(timed.begin(), timed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [seconds, c] : timed) {
    c.frame = static_cast<std::int64_t>(std::llround(std::max(0.0, seconds) * rate_));
    commands_.push_back(c);
  }
  active_ = !commands_.empty();
}

AudioMix::~AudioMix() = default;

void AudioMix::apply(const Command& c) {
  const int lane = c.b1 >> 6;
  const int value = 2 * (c.b1 & 0x3F);
  switch (c.command) {
    case events::audio::Start: {
      const std::size_t entry = c.b1 & 0x3F;
      auto voice = std::make_unique<Voice>(chunks_[entry], entries_[entry], rate_);
      voice->entry = entry;
      voice->lane = lane;
      voice->level = c.hasB2 ? 2 * (c.b2 & 0x3F) : kLevelScale;
      // A lane plays one entry at a time.
      std::erase_if(voices_, [lane](const auto& v) { return v->lane == lane; });
      voices_.push_back(std::move(voice));
      break;
    }
    case events::audio::Stop: {
      const std::size_t entry = c.b1 & 0x3F;
      std::erase_if(voices_, [entry](const auto& v) { return v->entry == entry; });
      break;
    }
    case events::audio::Level: lanes_[lane].level = value; break;
    case events::audio::Pan: lanes_[lane].pan = value; break;
    default: break;
  }
}

void AudioMix::render(float* left, float* right, int frames, int stride) {
  for (auto& voice : voices_) {
    const int ch = voice->channels;
    scratch_.resize(std::size_t(frames * ch));
    const long produced = src_callback_read(voice->src, voice->ratio, frames, scratch_.data());
    // Fewer than asked: the entry has ended (or the resampler failed, which ends it as well).
    if (produced < frames) voice->ended = true;
    const Lane& l = lanes_[voice->lane];
    const float gain = float(voice->level) / kLevelScale * float(l.level) / kLevelScale;
    // A balance: the centre leaves both sides whole, each side turns the other down.
    const float gl = gain * (l.pan <= kCentre ? 1.0f : float(kLevelScale - l.pan) / (kLevelScale - kCentre));
    const float gr = gain * (l.pan >= kCentre ? 1.0f : float(l.pan) / kCentre);
    for (long i = 0; i < produced; ++i) {
      const float a = scratch_[std::size_t(i * ch)];
      const float b = ch == 2 ? scratch_[std::size_t(i * ch + 1)] : a;
      left[i * stride] += a * gl;
      right[i * stride] += b * gr;
    }
  }
  std::erase_if(voices_, [](const auto& v) { return v->ended; });
}

void AudioMix::add(float* left, float* right, int frames, int stride) {
  int done = 0;
  while (done < frames) {
    while (next_ < commands_.size() && commands_[next_].frame <= frame_) apply(commands_[next_++]);
    int n = frames - done;
    if (next_ < commands_.size()) n = int(std::min<std::int64_t>(n, commands_[next_].frame - frame_));
    if (!voices_.empty()) render(left + done * stride, right + done * stride, n, stride);
    done += n;
    frame_ += n;
  }
  active_ = next_ < commands_.size() || !voices_.empty();
}

}  // namespace tonekit::sound
