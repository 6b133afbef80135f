// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "sound/synth/Synth.h"

#include <fluidsynth.h>

#include <cmath>
#include <cstdlib>
#include <mutex>
#include <system_error>

#include "core/Failure.h"
#include "core/SafeFile.h"

namespace tonekit::sound {

namespace fs = std::filesystem;

namespace {

// Nothing a ringtone needs comes near this; it keeps a file that unrolls into hours from
// filling the disk.
constexpr double kMaxRenderSeconds = 20 * 60;

std::mutex& logMutex() {
  static std::mutex m;
  return m;
}
std::string& lastFluidError() {
  static std::string text;
  return text;
}

void keepFluidError(int, const char* message, void*) {
  std::lock_guard lock(logMutex());
  lastFluidError() = message ? message : "";
}

// FluidSynth talks on standard error by default; its errors end up in our failures instead.
void installLogging() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_PANIC, FLUID_ERR}) fluid_set_log_function(level, keepFluidError, nullptr);
    for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
  });
}

Failure fluidFailure(const std::string& what) {
  std::lock_guard lock(logMutex());
  const std::string detail = lastFluidError().empty() ? what : what + " (" + lastFluidError() + ")";
  lastFluidError().clear();
  return Failure(err::PathFileAccess, detail);
}

struct Settings {
  fluid_settings_t* s = new_fluid_settings();
  ~Settings() { delete_fluid_settings(s); }
};

struct Synth {
  fluid_synth_t* s;
  explicit Synth(fluid_settings_t* settings) : s(new_fluid_synth(settings)) {
    if (!s) throw fluidFailure("FluidSynth");
  }
  ~Synth() { delete_fluid_synth(s); }
  void load(const fs::path& soundfont) {
    if (fluid_synth_sfload(s, soundfont.c_str(), 1) == FLUID_FAILED) throw fluidFailure(soundfont.string());
  }
};

struct MidiPlayer {
  fluid_player_t* p;
  MidiPlayer(fluid_synth_t* synth, const ByteString& smf) : p(new_fluid_player(synth)) {
    if (!p || fluid_player_add_mem(p, smf.data(), smf.size()) != FLUID_OK || fluid_player_play(p) != FLUID_OK) {
      if (p) delete_fluid_player(p);
      throw fluidFailure("MIDI");
    }
  }
  ~MidiPlayer() {
    fluid_player_stop(p);
    delete_fluid_player(p);
  }
  MidiPlayer(const MidiPlayer&) = delete;
  MidiPlayer& operator=(const MidiPlayer&) = delete;
};

class FluidPlayer : public Player {
 public:
  explicit FluidPlayer(const fs::path& soundfont) : synth_(settings_.s) {
    if (const char* driver = std::getenv(kAudioDriverVariable); driver && *driver)
      fluid_settings_setstr(settings_.s, "audio.driver", driver);
    synth_.load(soundfont);
  }
  ~FluidPlayer() override { stop(); }

  void play(const ByteString& smf) override {
    stop();
    // The driver's thread pulls the sound (and with it the player) from the synthesizer.
    driver_ = new_fluid_audio_driver(settings_.s, synth_.s);
    if (!driver_) {
      fluidFailure("");  // forget FluidSynth's words; ours say what to do
      throw Failure(err::PathFileAccess, kNoSoundDeviceMessage);
    }
    player_ = std::make_unique<MidiPlayer>(synth_.s, smf);
  }

  void stop() override {
    if (driver_) delete_fluid_audio_driver(driver_);
    driver_ = nullptr;
    player_.reset();
    fluid_synth_system_reset(synth_.s);
  }

  bool playing() const override { return player_ && fluid_player_get_status(player_->p) == FLUID_PLAYER_PLAYING; }
  std::int64_t tick() const override { return player_ ? fluid_player_get_current_tick(player_->p) : 0; }

 private:
  Settings settings_;
  Synth synth_;
  fluid_audio_driver_t* driver_ = nullptr;
  std::unique_ptr<MidiPlayer> player_;
};

}  // namespace

fs::path findSoundfont(const std::string& requested) {
  std::string chosen = requested;
  if (chosen.empty())
    if (const char* fromEnvironment = std::getenv(kSoundfontVariable)) chosen = fromEnvironment;
  if (chosen.empty()) chosen = kDefaultSoundfont;
  std::error_code ec;
  const fs::file_status status = fs::status(chosen, ec);
  // A FIFO or a folder is there all right; installing a package would not help.
  if (fs::exists(status) && !fs::is_regular_file(status))
    throw Failure::of(err::PathFileAccess, chosen + " (通常のファイルではありません)");
  if (!fs::is_regular_file(status)) throw Failure(err::FileNotFound, std::string(kNoSoundfontMessage) + " (" + chosen + ")");
  return chosen;
}

Rendered renderWav(const ByteString& smf, double seconds, const fs::path& soundfont, int rate, const fs::path& out) {
  installLogging();
  if (rate < kLowestRate || rate > kHighestRate) throw Failure::of(err::InvalidCall, "(rate " + std::to_string(rate) + ")");
  // The limit is the melody's; its release comes on top.
  if (!(seconds >= 0 && seconds <= kMaxRenderSeconds))
    throw Failure::of(err::Overflow, "(" + std::to_string(std::int64_t(seconds)) + " s)");
  seconds += kReleaseSeconds;
  Rendered result;
  result.rate = rate;
  // FluidSynth writes the WAV itself, block by block, straight into the file the safe save made
  // beside the target; nothing of it is held in memory.
  replaceFileSafely(out, [&](int fd, const std::string& shown) {
    const std::string wav = "/proc/self/fd/" + std::to_string(fd);
    Settings settings;
    fluid_settings_setstr(settings.s, "audio.file.name", wav.c_str());
    fluid_settings_setstr(settings.s, "audio.file.type", "wav");
    fluid_settings_setstr(settings.s, "audio.file.format", "s16");
    fluid_settings_setnum(settings.s, "synth.sample-rate", rate);
    // Time runs with the samples written, not with the clock, so rendering goes at full speed.
    fluid_settings_setstr(settings.s, "player.timing-source", "sample");
    fluid_settings_setint(settings.s, "synth.lock-memory", 0);
    int period = 64;
    fluid_settings_getint(settings.s, "audio.period-size", &period);
    Synth synth(settings.s);
    synth.load(soundfont);
    MidiPlayer player(synth.s, smf);
    fluid_file_renderer_t* renderer = new_fluid_file_renderer(synth.s);
    if (!renderer) throw fluidFailure(shown);
    const auto wanted = static_cast<std::int64_t>(std::ceil(seconds * rate));
    bool ok = true;
    while (ok && result.frames < wanted) {
      ok = fluid_file_renderer_process_block(renderer) == FLUID_OK;
      result.frames += period;
    }
    // Closing the renderer completes the WAV header.
    delete_fluid_file_renderer(renderer);
    if (!ok) throw fluidFailure(shown);
  });
  return result;
}

std::unique_ptr<Player> makeFluidPlayer(const fs::path& soundfont) {
  installLogging();
  return std::make_unique<FluidPlayer>(soundfont);
}

}  // namespace tonekit::sound
