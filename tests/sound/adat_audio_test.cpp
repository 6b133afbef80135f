// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The recorded sound of the later versions: known signals coded by spandsp's encoder, wrapped in
// "adat" chunks, decoded, mixed and rendered, then held against the signal.
#include <gtest/gtest.h>
#include <spandsp.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <numbers>

#include "MldBuilder.h"
#include "RunProcess.h"
#include "TempDir.h"
#include "mld/clsMLD.h"
#include "sound/AdatAudio.h"
#include "convert/MidiExport.h"

using namespace tonekit;
using namespace tonekit::sound;
using tonekit::test::runCli;

namespace {

constexpr double kPi = std::numbers::pi;

// A rising sweep, 200 Hz to 2 kHz over `seconds`, at half of full scale; t in seconds.
double sweep(double t, double seconds) {
  return 0.5 * std::sin(2 * kPi * (200 * t + 1800 * t * t / (2 * seconds)));
}
// A major chord on A4.
double chord(double t) {
  return 0.2 * (std::sin(2 * kPi * 440 * t) + std::sin(2 * kPi * 554.37 * t) + std::sin(2 * kPi * 659.26 * t));
}

std::vector<std::int16_t> sampled(int rate, std::size_t n, const std::function<double(double)>& f) {
  std::vector<std::int16_t> out(n);
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::int16_t>(std::lround(32767 * f(double(i) / rate)));
  return out;
}

double correlation(const std::vector<double>& a, const std::vector<double>& b) {
  double ab = 0, aa = 0, bb = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    ab += a[i] * b[i];
    aa += a[i] * a[i];
    bb += b[i] * b[i];
  }
  return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

double rms(const std::vector<double>& a) {
  double sum = 0;
  for (double v : a) sum += v * v;
  return a.empty() ? 0 : std::sqrt(sum / double(a.size()));
}

// The first event of a track: tempo 80 at timebase 48, one tick 1/64 s.
const ByteString kTempo = {0x00, 0xFF, 0xC3, 0x50};

ByteString events(std::initializer_list<ByteString> parts) {
  ByteString out = kTempo;
  for (const auto& p : parts) mldtest::append(out, p);
  mldtest::append(out, mldtest::kEndOfTrack);
  return out;
}

AudioEvent event(double seconds, ByteString bytes) {
  return {0, 0, bytes[2], std::move(bytes), seconds};
}

// The left and right channels of a 16-bit stereo WAV as written by render.
std::pair<std::vector<double>, std::vector<double>> channelsOf(const ByteString& wav) {
  std::vector<double> left, right;
  for (std::size_t at = 44; at + 4 <= wav.size(); at += 4) {
    left.push_back(std::int16_t(wav[at] | wav[at + 1] << 8) / 32768.0);
    right.push_back(std::int16_t(wav[at + 2] | wav[at + 3] << 8) / 32768.0);
  }
  return {left, right};
}

TEST(AdatAudio, TheFirstCodeSitsInTheLowestBitsOfAByte) {
  const auto signal = sampled(8000, 400, chord);
  for (const int bits : {2, 4}) {
    // spandsp's encoder unpacked: one code a byte.
    g726_state_t* plain = g726_init(nullptr, bits * 8000, G726_ENCODING_LINEAR, G726_PACKING_NONE);
    ByteString codes(signal.size());
    codes.resize(std::size_t(g726_encode(plain, codes.data(), signal.data(), int(signal.size()))));
    g726_free(plain);
    ASSERT_EQ(codes.size(), signal.size());
    const ByteString packed = encodeG726(signal, bits);
    ASSERT_EQ(packed.size(), signal.size() * std::size_t(bits) / 8);
    const int perByte = 8 / bits;
    for (std::size_t i = 0; i < codes.size(); ++i)
      ASSERT_EQ((packed[i / std::size_t(perByte)] >> (bits * int(i % std::size_t(perByte)))) & ((1 << bits) - 1), codes[i])
          << bits << " bits, code " << i;
  }
}

TEST(AdatAudio, DecodesMonoAndStereoCodesBackToTheSignal) {
  // Coarser codes keep less of the signal; 2 bits still follow it closely.
  for (const auto& [bits, least] : {std::pair{2, 0.95}, std::pair{4, 0.99}}) {
    const auto left = sampled(16000, 8000, [](double t) { return sweep(t, 0.5); });
    const auto right = sampled(16000, 8000, chord);
    ByteString codes = encodeG726(left, bits);
    mldtest::append(codes, encodeG726(right, bits));
    const ByteString chunk = mldtest::adpcmAudio(codes, 16, std::uint8_t(bits), 2);
    const AdatEntry entry = parseAdat(chunk);
    ASSERT_TRUE(entry.playable()) << *entry.problem;
    EXPECT_DOUBLE_EQ(entry.seconds(), 0.5);
    const Pcm pcm = decodeAdat(chunk, entry);
    ASSERT_EQ(pcm.samples.size(), 16000u);
    EXPECT_EQ(std::make_pair(pcm.rate, pcm.channels), std::make_pair(16000, 2));
    std::vector<double> gotLeft, gotRight, wantLeft, wantRight;
    for (std::size_t i = 0; i < 8000; ++i) {
      gotLeft.push_back(pcm.samples[2 * i]);
      gotRight.push_back(pcm.samples[2 * i + 1]);
      wantLeft.push_back(left[i]);
      wantRight.push_back(right[i]);
    }
    EXPECT_GT(correlation(gotLeft, wantLeft), least) << bits;
    EXPECT_GT(correlation(gotRight, wantRight), least) << bits;
    EXPECT_NEAR(rms(gotLeft) / rms(wantLeft), 1.0, 0.05) << bits;
  }
}

TEST(AdatAudio, EntriesThatCannotBePlayedNameWhy) {
  const ByteString codes(64, 0x5A);
  ByteString beyond = mldtest::adpcmAudio(codes);
  beyond[9] = 0xFF;  // header length 0x00FF, the chunk holds less
  ByteString subBeyond = mldtest::adpcmAudio(codes);
  subBeyond[17] = 0x09;  // "adpm" claims more than the header holds
  const ByteString noAdpm = mldtest::audio({0x00, 0x02, 0x81, 0x00, 0x11, 0x22});
  const std::vector<std::pair<ByteString, std::string>> cases = {
      {mldtest::audio({0x00, 0x02}), "chunk cut short"},
      {beyond, "header length beyond the chunk"},
      {subBeyond, "sub-chunk beyond the header"},
      {mldtest::adpcmAudio(codes, 16, 2, 1, 0x80), "format 0x80"},
      {mldtest::adpcmAudio(codes, 16, 2, 1, 0x82), "format 0x82"},
      {noAdpm, "no adpm"},
      {mldtest::adpcmAudio(codes, 12), "rate 12 kHz"},
      {mldtest::adpcmAudio(codes, 16, 3), "bits 3"},
      {mldtest::adpcmAudio(codes, 16, 2, 3), "channels 3"},
      {mldtest::adpcmAudio(codes, 16, 2, 0x0A), "interleaved stereo"},
      {mldtest::adpcmAudio(ByteString(63, 0x5A), 16, 2, 2), "odd stereo split"},
  };
  for (const auto& [chunk, why] : cases) {
    const AdatEntry entry = parseAdat(chunk);
    EXPECT_EQ(entry.problem.value_or("playable"), why);
    EXPECT_EQ(entry.seconds(), 0.0);
    EXPECT_THROW(decodeAdat(chunk, entry), Failure) << why;
  }
}

TEST(AdatAudio, TheMixStartsStopsLevelsAndPansByLane) {
  constexpr int kRate = 16000;
  const auto tone = sampled(kRate, 16000, [](double t) { return 0.5 * std::sin(2 * kPi * 500 * t); });
  const std::vector<ByteString> chunks = {mldtest::adpcmAudio(encodeG726(tone, 4), 16, 4),
                                          mldtest::adpcmAudio(ByteString(8, 0), 16, 4, 1, 0x80)};
  const std::vector<AudioEvent> events = {
      event(0.25, {0x00, 0x7F, 0x00, 0x40, 0x3F}),  // entry 0 on lane 1 at full level
      event(0.0, {0x00, 0x7F, 0x80, 0x40 | 0x1F}),  // lane 1 at level 62
      event(0.25, {0x00, 0x7F, 0x00, 0x01, 0x3F}),  // entry 1, which cannot be played
      event(0.5, {0x00, 0x7F, 0x81, 0x40}),         // lane 1 panned hard left
      event(0.75, {0x00, 0x7F, 0x01, 0x00}),        // entry 0 stops
      event(0.8, {0x00, 0x7F, 0x00, 0x07, 0x3F}),   // entry 7 does not exist
  };
  AudioMix mix(chunks, events, 1, kRate);
  EXPECT_DOUBLE_EQ(mix.endSeconds(), 1.25);
  EXPECT_EQ(mix.figures().entriesPlayed, 1);
  EXPECT_EQ(mix.figures().notPlayed, (std::map<std::string, std::int64_t>{
                                         {"entry 1: format 0x80", 1}, {"start of entry 7, which does not exist", 1}}));
  std::vector<float> left(kRate), right(kRate);
  for (int at = 0; at < kRate; at += 100) mix.add(left.data() + at, right.data() + at, 100, 1);
  EXPECT_FALSE(mix.active());
  const auto span = [](const std::vector<float>& v, double from, double to) {
    return std::vector<double>(v.begin() + std::ptrdiff_t(from * kRate), v.begin() + std::ptrdiff_t(to * kRate));
  };
  EXPECT_EQ(rms(span(left, 0, 0.25)), 0.0);
  const double expected = 0.5 / std::sqrt(2.0) * 62 / 126;
  EXPECT_NEAR(rms(span(left, 0.26, 0.49)), expected, 0.1 * expected);
  EXPECT_NEAR(rms(span(right, 0.26, 0.49)), expected, 0.1 * expected);
  EXPECT_NEAR(rms(span(left, 0.51, 0.74)), expected, 0.1 * expected);
  EXPECT_EQ(rms(span(right, 0.51, 0.74)), 0.0);
  EXPECT_EQ(rms(span(left, 0.75, 1.0)), 0.0);
}

TEST(AdatAudio, StartsFollowLoopsAndTheTempo) {
  // A loop of count 2 around a start 48 ticks in: the entry starts at 0.75 s and at 1.5 s.
  const ByteString track = events({{0x00, 0xFF, 0xDD, 0x08}, {0x30, 0x7F, 0x00, 0x00, 0x3F}, {0x00, 0xFF, 0xDD, 0x09}});
  clsMLD doc;
  ASSERT_TRUE(doc.parseBytes(mldtest::mfi4Effect(mldtest::adpcmAudio(ByteString(16, 0)), track)));
  ExportOptions unroll;
  unroll.unroll = true;
  unroll.timeGrid = true;
  const Conversion c = convert(melodyOf(doc), unroll);
  ASSERT_EQ(c.audio.size(), 2u);
  EXPECT_DOUBLE_EQ(c.audio[0].seconds, 0.75);
  EXPECT_DOUBLE_EQ(c.audio[1].seconds, 1.5);
  // Played from the start event on, the times count from there.
  unroll.fromEvent = {0, 2};
  const Conversion from = convert(melodyOf(doc), unroll);
  ASSERT_EQ(from.audio.size(), 2u);
  EXPECT_DOUBLE_EQ(from.audio[0].seconds, 0.0);
  EXPECT_DOUBLE_EQ(from.audio[1].seconds, 0.75);
}

struct Effect {
  int rateKHz, bits, channels;
};

// The real MFi4 effect's shape (exst 1, entry 0 started at tick 1 at level 0x37, track to 3.0 s),
// with codes of a known signal, rendered by the command line.
TEST(AdatAudio, RenderPlaysTheEntryAtItsTimeAndLevel) {
  for (const Effect& e : {Effect{16, 2, 1}, Effect{8, 4, 2}, Effect{32, 4, 1}}) {
    SCOPED_TRACE(std::to_string(e.bits) + " bits, " + std::to_string(e.channels) + " channels");
    const int rate = e.rateKHz * 1000;
    // 1,916 bytes of 2-bit codes are the real effect's 0.479 s; the others as long.
    const std::size_t frames = 7664 * std::size_t(e.rateKHz) / 16;
    const double seconds = double(frames) / rate;
    const auto left = sampled(rate, frames, [seconds](double t) { return sweep(t, seconds); });
    const auto right = sampled(rate, frames, chord);
    ByteString codes = encodeG726(left, e.bits);
    if (e.channels == 2) mldtest::append(codes, encodeG726(right, e.bits));
    test::TempDir dir;
    const auto file = dir.write("se.mld", mldtest::mfi4Effect(mldtest::adpcmAudio(
                                              codes, std::uint8_t(e.rateKHz), std::uint8_t(e.bits), std::uint8_t(e.channels))));
    const auto out = dir / "se.wav";
    const auto r = runCli({"render", file.string(), "--out", out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto json = nlohmann::ordered_json::parse(r.out);
    EXPECT_EQ(json["audio_chunks_played"], 1);
    EXPECT_EQ(json["audio_chunks_not_played"], 0);
    EXPECT_TRUE(json["audio_not_played"].empty());
    EXPECT_NEAR(json["wav_seconds"].get<double>(), 4.0, 0.002);

    const auto [gotLeft, gotRight] = channelsOf(test::TempDir::read(out));
    constexpr int kOut = 44100;
    const auto onset = std::find_if(gotLeft.begin(), gotLeft.end(), [](double v) { return std::abs(v) > 0.01; });
    EXPECT_NEAR(double(onset - gotLeft.begin()), 0.015625 * kOut, 64);
    // The signal as it should sound: from tick 1, at level 0x37 of 0x3F.
    const auto start = static_cast<std::size_t>(std::lround(0.015625 * kOut));
    std::vector<double> wantLeft, wantRight, heardLeft, heardRight;
    for (std::size_t i = 0; i < std::size_t(seconds * kOut) - 64; ++i) {
      const double t = double(i) / kOut;
      wantLeft.push_back(110.0 / 126 * sweep(t, seconds));
      wantRight.push_back(110.0 / 126 * (e.channels == 2 ? chord(t) : sweep(t, seconds)));
      heardLeft.push_back(gotLeft[start + i]);
      heardRight.push_back(gotRight[start + i]);
    }
    const double least = e.bits == 2 ? 0.95 : 0.99;
    EXPECT_GT(correlation(heardLeft, wantLeft), least);
    EXPECT_GT(correlation(heardRight, wantRight), least);
    EXPECT_NEAR(rms(heardLeft) / rms(wantLeft), 1.0, 0.05);
    EXPECT_NEAR(rms(heardRight) / rms(wantRight), 1.0, 0.05);
    // Nothing after the entry's end (the synthesizer's silence is a bit off zero).
    EXPECT_LT(rms(std::vector<double>(gotLeft.begin() + std::ptrdiff_t(start + std::size_t((seconds + 0.01) * kOut)),
                                      gotLeft.end())),
              1e-4);
  }
}

TEST(AdatAudio, BadEntriesRenderSilenceAndAreNamed) {
  // An entry of another vendor's format, started, and a start of an entry the file lacks.
  const ByteString track = events({{0x01, 0x7F, 0x00, 0x00, 0x3F}, {0x01, 0x7F, 0x00, 0x05, 0x3F}});
  test::TempDir dir;
  const auto file = dir.write("bad.mld", mldtest::mfi4Effect(mldtest::adpcmAudio(ByteString(2000, 0xA5), 16, 2, 1, 0x80), track));
  const auto out = dir / "bad.wav";
  const auto r = runCli({"render", file.string(), "--out", out.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto json = nlohmann::ordered_json::parse(r.out);
  EXPECT_EQ(json["audio_chunks_played"], 0);
  EXPECT_EQ(json["audio_chunks_not_played"], 1);
  EXPECT_EQ(json["audio_not_played"],
            nlohmann::ordered_json({{"entry 0: format 0x80", 1}, {"start of entry 5, which does not exist", 1}}));
  const auto [left, right] = channelsOf(test::TempDir::read(out));
  EXPECT_LT(rms(left) + rms(right), 1e-4);

  // A MIDI file cannot hold the entry, and export says so.
  const auto exported = runCli({"export", file.string(), "--out", (dir / "bad.mid").string()});
  EXPECT_EQ(nlohmann::ordered_json::parse(exported.out)["audio_chunks_not_exported"], 1);

  // export-audio says why it writes nothing.
  const auto wav = dir / "entry.wav";
  for (const std::string entry : {"0", "1"}) {
    const auto refused = runCli({"export-audio", file.string(), "--entry", entry, "--out", wav.string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(entry == "0" ? "format 0x80" : "the file has 1"), std::string::npos) << refused.err;
  }
  EXPECT_FALSE(std::filesystem::exists(wav));
}

TEST(AdatAudio, ExportAudioWritesTheEntryAtItsOwnRate) {
  const auto tone = sampled(8000, 4000, chord);
  ByteString codes = encodeG726(tone, 4);
  mldtest::append(codes, encodeG726(tone, 4));
  test::TempDir dir;
  const auto file = dir.write("se.mld", mldtest::mfi4Effect(mldtest::adpcmAudio(codes, 8, 4, 2)));
  const auto wav = dir / "entry.wav";
  const auto r = runCli({"export-audio", file.string(), "--entry", "0", "--out", wav.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(nlohmann::ordered_json::parse(r.out),
            nlohmann::ordered_json::parse(
                R"({"entry":0,"format":129,"rate":8000,"bits":4,"channels":2,"frames":4000,"seconds":0.5})"));
  clsMLD doc;
  ASSERT_TRUE(doc.parseBytes(test::TempDir::read(file)));
  const ByteString& chunk = doc.MLDAudioChunks[0];
  EXPECT_EQ(test::TempDir::read(wav), wavOf(decodeAdat(chunk, parseAdat(chunk))));
  EXPECT_EQ(test::TempDir::read(wav).size(), 44u + 4000 * 4);
}

}  // namespace
