// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Writes the project's own sample MLD files: short public-domain melodies, built byte by byte.
// usage: make_samples OUTPUT_FOLDER [FUZZ_FOLDER]
//        make_samples --ringtone FILE
// With FUZZ_FOLDER it also writes the reader's fuzz starting inputs of the later format versions there.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "base/ByteString.h"
#include "base/CodePage.h"
#include "MldBuilder.h"
#include "RingtoneBuilder.h"

using tonekit::ByteString;

namespace {

using tonekit::mldtest::append;
using tonekit::mldtest::chunk;
using tonekit::mldtest::track;

ByteString sjis(const char* utf8) { return tonekit::encodeCp932(utf8).bytes; }

// Pitches as the track format numbers them: 27 is C of octave 0.
enum Pitch : std::uint8_t { C = 27, D = 29, E = 31, F = 32, G = 34, A = 36 };

struct Note {
  std::uint8_t pitch;
  std::uint8_t length;  // ticks until the next note
};

// Note events; noteLength 3 or 4. Each note sounds for most of its length.
ByteString melody(const std::vector<Note>& notes, int channel, int noteLength, std::uint8_t firstDelta) {
  ByteString out;
  std::uint8_t delta = firstDelta;
  for (const auto& n : notes) {
    out.push_back(delta);
    if (n.pitch == 0) {  // a rest: nothing sounds, the next note waits longer
      out.insert(out.end(), {0xFF, 0xDE, 0x00});
    } else {
      out.push_back(static_cast<std::uint8_t>(channel << 6 | n.pitch));
      out.push_back(static_cast<std::uint8_t>(n.length - n.length / 8));
      if (noteLength == 4) out.push_back(static_cast<std::uint8_t>(48 << 2 | 0));
    }
    delta = n.length;
  }
  return out;
}

void endOfTrack(ByteString& events, std::uint8_t delta) { events.insert(events.end(), {delta, 0xFF, 0xDF, 0x00}); }

// "Twinkle, twinkle, little star" (French folk melody), 3-byte notes, one track, chunks in the
// order the writer uses, so that a read and a save give the file back byte for byte.
ByteString kirakira() {
  const std::uint8_t q = 48, h = 96;
  const std::vector<Note> notes = {{C, q}, {C, q}, {G, q}, {G, q}, {A, q}, {A, q}, {G, h},
                                   {F, q}, {F, q}, {E, q}, {E, q}, {D, q}, {D, q}, {C, h}};
  ByteString events = {0x00, 0xFF, 0xC3, 120};      // tempo 120 at timebase 48
  events.insert(events.end(), {0x00, 0xFF, 0xB0, 100});  // master volume
  append(events, melody(notes, 0, 3, 0));
  endOfTrack(events, h);
  return tonekit::mldtest::mld({chunk("copy", sjis("Public domain melody")), chunk("date", sjis("20261207")),
              chunk("note", {0x00, 0x00}), chunk("titl", sjis("きらきら星")), chunk("sorc", {0x00}),
                               chunk("vers", sjis("0100"))},
                              {track(events)}, 1, 1);
}

// "Froschgesang" (German folk song) sung as a round: 4-byte notes (MFi2), two tracks, the second
// voice entering two bars later; chunks in an order other than the writer's; a half-width
// katakana title.
ByteString kaeru() {
  const std::uint8_t e = 24, q = 48, h = 96;
  const std::vector<Note> tune = {{C, q}, {D, q}, {E, q}, {F, q}, {E, q}, {D, q}, {C, h},
                                  {E, q}, {F, q}, {G, q}, {A, q}, {G, q}, {F, q}, {E, h},
                                  {C, q}, {0, q}, {C, q}, {0, q}, {C, q}, {0, q}, {C, q}, {0, q},
                                  {C, e}, {C, e}, {D, e}, {D, e}, {E, e}, {E, e}, {F, e}, {F, e},
                                  {E, q}, {D, q}, {C, h}};
  ByteString lead = {0x00, 0xFF, 0xC3, 100};
  lead.insert(lead.end(), {0x00, 0xFF, 0xE2, 0x00 | 50});  // part 0, volume 50
  append(lead, melody(tune, 0, 4, 0));
  endOfTrack(lead, h);

  ByteString round = {0x00, 0xFF, 0xE2, 0x40 | 40};  // part 1, volume 40
  // Two bars of waiting: deltas are one byte, so the wait is split over NOP events.
  round.insert(round.end(), {192, 0xFF, 0xDE, 0x00});
  append(round, melody(tune, 1, 4, 192));
  endOfTrack(round, h);

  return tonekit::mldtest::mld({chunk("titl", sjis("ｶｴﾙﾉｳﾀ かえるの合唱")), chunk("note", {0x00, 0x01}),
              chunk("sorc", {0x05}), chunk("vers", sjis("0200")), chunk("date", sjis("20261207")),
              chunk("copy", sjis("Public domain (Deutsches Volkslied)")), chunk("prot", sjis("TONEKIT-SAMPLE")),
                               chunk("exst", {})},
                              {track(lead), track(round)}, 2, 1);
}

// Files of the later format versions, each chunk of theirs in the writer's order so that a read
// and a save give them back byte for byte: the smallest and the largest structure, a tag nobody
// knows, and audio without tracks.
std::vector<std::pair<const char*, ByteString>> laterFuzzInputs() {
  using tonekit::mldtest::laterMld;
  const ByteString sound = tonekit::mldtest::audio(tonekit::mldtest::audioSamples(600, 9));
  return {{"later_1track_1adat.mld", laterMld(1, 1, sjis("着信 後期形式"))},
          {"later_4tracks_3adat.mld", laterMld(4, 3, sjis("ｶｴﾙ 4トラック"))},
          {"later_unknown_tag.mld", laterMld(2, 2, sjis("未知のタグ"), {chunk("zqxw", {0x00, 0xFF, 0x10})})},
          {"later_audio_only.mld", tonekit::mldtest::mld({chunk("titl", sjis("音声のみ")), chunk("ainf", {0x82})}, {},
                                                         3, 1, 0, {sound, sound})}};
}

bool write(const std::filesystem::path& path, const ByteString& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool writeAll(const std::filesystem::path& folder, const std::vector<std::pair<const char*, ByteString>>& files) {
  std::filesystem::create_directories(folder);
  for (const auto& [name, bytes] : files) {
    if (!write(folder / name, bytes)) {
      std::cerr << "cannot write " << (folder / name).string() << '\n';
      return false;
    }
  }
  return true;
}

}  // namespace

// The ringtone with one "adat" entry as long as the melody (5 min 15 s of 4-bit codes at
// 16 kHz, mono), started by track 0 at its first tick; the codes' values cost the decoder the same
// whatever they are.
tonekit::ByteString ringtoneWithAudio() {
  using namespace tonekit::mldtest;
  constexpr std::size_t kCodeBytes = 315 * 16000 / 2;
  tonekit::ByteString codes(kCodeBytes);
  std::uint32_t state = 1;
  for (auto& b : codes) {
    state = state * 1664525u + 1013904223u;
    b = static_cast<std::uint8_t>(state >> 24);
  }
  std::vector<tonekit::ByteString> tracks;
  for (int k = 0; k < 4; ++k) {
    tonekit::ByteString events = ringtone::trackEvents(k, 160);
    // exst 0: a start is four bytes, at full level.
    if (k == 0) events.insert(events.begin(), {0x00, 0x7F, 0x00, 0x00});
    tracks.push_back(track(events));
  }
  tonekit::ByteString adat = {0x00, 0x0B, 0x81, 0x00, 'a', 'd', 'p', 'm', 0x00, 0x03, 16, 4, 1};
  append(adat, codes);
  return mld({chunk("titl", tonekit::bytesOf("Ringtone")), chunk("note", {0x00, 0x01}), chunk("vers", tonekit::bytesOf("0400"))},
             tracks,
             1, 1, -1, {audio(adat)});
}

int main(int argc, char** argv) {
  // The long melody like a real ringtone, for the sound benchmark.
  if (argc == 3 && std::string(argv[1]) == "--ringtone") return write(argv[2], tonekit::mldtest::ringtoneMld()) ? 0 : 1;
  // The same with recorded sound playing through it, for the benchmark of the audio mix.
  if (argc == 3 && std::string(argv[1]) == "--ringtone-audio") return write(argv[2], ringtoneWithAudio()) ? 0 : 1;
  if (argc != 2 && argc != 3) {
    std::cerr << "usage: make_samples OUTPUT_FOLDER [FUZZ_FOLDER]\n       make_samples --ringtone FILE\n       make_samples --ringtone-audio FILE\n";
    return 2;
  }
  if (!writeAll(argv[1], {{"kirakira.mld", kirakira()}, {"kaeru.mld", kaeru()}})) return 1;
  if (argc == 3 && !writeAll(argv[2], laterFuzzInputs())) return 1;
  return 0;
}
