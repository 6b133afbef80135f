// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Sound through FluidSynth and a General MIDI soundfont: rendering a Standard MIDI File to a WAV
// file, and playing one on the sound device while the caller goes on.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "base/ByteString.h"
#include "sound/AdatAudio.h"
#include "base/Translate.h"

namespace tonekit::sound {

// Debian's General MIDI soundfont, which timgm6mb-soundfont (or fluid-soundfont-gm) provides.
inline constexpr const char* kDefaultSoundfont = "/usr/share/sounds/sf2/default-GM.sf2";
inline constexpr const char* kSoundfontVariable = "TONEKIT_SOUNDFONT";
// The FluidSynth audio driver to play with ("alsa", "pulseaudio", …); FluidSynth's own choice
// when not set.
inline constexpr const char* kAudioDriverVariable = "TONEKIT_AUDIO_DRIVER";

inline constexpr Text kNoSoundfontMessage =
    TKN("TONEKIT", "General MIDI の音色ファイル (SoundFont) が見つかりません。timgm6mb-soundfont パッケージを入れるか、"
    "TONEKIT_SOUNDFONT で音色ファイルを指定してください。");
inline constexpr Text kNoSoundDeviceMessage =
    TKN("TONEKIT", "音を出す装置が使えないため再生できません。MIDI ファイルや WAV ファイルへの書き出しはできます。");

inline constexpr int kDefaultRate = 44100;
inline constexpr int kLowestRate = 8000;
inline constexpr int kHighestRate = 96000;

// The soundfont to use: `requested` when given, else $TONEKIT_SOUNDFONT, else Debian's default.
// Raises 53 with kNoSoundfontMessage (and the paths looked at) when the one chosen is no file.
std::filesystem::path findSoundfont(const std::string& requested = {});

struct Rendered {
  std::int64_t frames = 0;
  int rate = 0;
};

// Nothing a ringtone needs comes near this; it keeps a file that unrolls into hours from
// filling the disk. Repeats that would go past it stop there (ExportOptions::maxSeconds).
inline constexpr double kMaxRenderSeconds = 20 * 60;

// The last notes' release: rendering goes on this long after the melody's end.
inline constexpr double kReleaseSeconds = 1.0;

// `seconds` of the file, plus the release, as 16-bit stereo WAV at `out`, which is replaced
// safely: on failure it stays as it was. The WAV is streamed into the temporary file beside
// `out`, never held in memory; `seconds` above 20 minutes raise 6. No sound device is needed.
// The length is a whole number of FluidSynth's audio blocks (64 frames), the first one at or
// past the end.
// `progress`, when given, hears every few thousand frames how many are written of how many;
// answering false stops the render with kRenderStopped, and `out` stays as it was.
inline constexpr long kRenderStopped = 18;
using RenderProgress = std::function<bool(std::int64_t done, std::int64_t total)>;
// `audio`, when given, is mixed into every block (made at `rate`).
Rendered renderWav(const ByteString& smf, double seconds, const std::filesystem::path& soundfont, int rate,
                   const std::filesystem::path& out, const RenderProgress& progress = {}, AudioMix* audio = nullptr);

// One melody playing on the sound device; FluidSynth's threads do the work.
class Player {
 public:
  virtual ~Player() = default;
  // Starts the file from its beginning; raises with kNoSoundDeviceMessage when there is no
  // device to play on.
  virtual void play(const ByteString& smf) = 0;
  // The same with recorded sound mixed in (made at the device's rate, sampleRate()); playing
  // lasts while either sounds. Players without a device of their own leave the audio out.
  virtual void playWithAudio(const ByteString& smf, std::shared_ptr<AudioMix> audio) {
    (void)audio;
    play(smf);
  }
  virtual int sampleRate() const { return kDefaultRate; }
  // Silences at once; playing again starts afresh.
  virtual void stop() = 0;
  virtual bool playing() const = 0;
  // Where the music is, in ticks of the file played.
  virtual std::int64_t tick() const = 0;
};

std::unique_ptr<Player> makeFluidPlayer(const std::filesystem::path& soundfont);

}  // namespace tonekit::sound
