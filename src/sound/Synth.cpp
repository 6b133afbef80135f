// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "sound/Synth.h"

#include <dlfcn.h>
#include <fluidsynth.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

#include "base/Failure.h"
#include "base/SafeFile.h"
#include "base/Translate.h"

namespace tonekit::sound {

namespace fs = std::filesystem;

namespace {

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

// FluidSynth loads a soundfont's samples with OpenMP, whose runtime ends the whole program when
// it cannot start a thread (a process limit, memory running out). It is told to use no more
// threads than can be had just now: with none to spare, loading runs on this thread alone.
void fitOpenMpToThreadsAvailable() {
  using GetInt = int (*)();
  using SetInt = void (*)(int);
  const auto maxThreads = reinterpret_cast<GetInt>(::dlsym(RTLD_DEFAULT, "omp_get_max_threads"));
  const auto setThreads = reinterpret_cast<SetInt>(::dlsym(RTLD_DEFAULT, "omp_set_num_threads"));
  if (!maxThreads || !setThreads) return;  // built without OpenMP
  const int wanted = maxThreads();
  std::vector<std::thread> probes;
  try {
    while (static_cast<int>(probes.size()) + 1 < wanted) probes.emplace_back([] {});
  } catch (const std::exception&) {
    // As many as there were room for.
  }
  const int available = static_cast<int>(probes.size()) + 1;
  for (auto& probe : probes) probe.join();
  if (available < wanted) setThreads(available);
}

// FluidSynth's soundfont loader does not survive every allocation that fails (it crashes), so
// the address space it needs is asked for first: the file's size for its samples and 9 MiB for
// its tables and the synthesizer it joins (measured: below that the loader failed or crashed).
void ensureRoomToLoad(const fs::path& soundfont) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(soundfont, ec);
  if (ec) return;  // the loader says what is wrong with it
  const std::size_t room = static_cast<std::size_t>(size) + (9u << 20);
  void* probe = ::mmap(nullptr, room, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (probe == MAP_FAILED) throw Failure::of(err::OutOfMemory, "(" + soundfont.string() + ")");
  ::munmap(probe, room);
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
    fitOpenMpToThreadsAvailable();
    ensureRoomToLoad(soundfont);
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

  void play(const ByteString& smf) override { playWithAudio(smf, nullptr); }

  void playWithAudio(const ByteString& smf, std::shared_ptr<AudioMix> audio) override {
    stop();
    audio_ = std::move(audio);
    audioFailed_ = false;
    // The driver's thread pulls the sound (and with it the player) from the synthesizer; with
    // recorded sound, through mix() here.
    driver_ = audio_ ? new_fluid_audio_driver2(settings_.s, &FluidPlayer::mix, this)
                     : new_fluid_audio_driver(settings_.s, synth_.s);
    if (!driver_) {
      audio_.reset();
      fluidFailure("");  // forget FluidSynth's words; ours say what to do
      throw Failure(err::PathFileAccess, std::string(kNoSoundDeviceMessage));
    }
    player_ = std::make_unique<MidiPlayer>(synth_.s, smf);
  }

  void stop() override {
    if (driver_) delete_fluid_audio_driver(driver_);
    driver_ = nullptr;
    player_.reset();
    audio_.reset();
    fluid_synth_system_reset(synth_.s);
  }

  bool playing() const override {
    return player_ && (fluid_player_get_status(player_->p) == FLUID_PLAYER_PLAYING || (audio_ && !audioFailed_ && audio_->active()));
  }
  std::int64_t tick() const override { return player_ ? fluid_player_get_current_tick(player_->p) : 0; }
  int sampleRate() const override {
    double rate = kDefaultRate;
    fluid_settings_getnum(settings_.s, "synth.sample-rate", &rate);
    return static_cast<int>(rate);
  }

 private:
  // On the driver's thread: the synthesizer's sound, then the recorded sound over it.
  static int mix(void* data, int len, int nfx, float* fx[], int nout, float* out[]) {
    auto* self = static_cast<FluidPlayer*>(data);
    int result;
    if (nfx == 0) {
      float* effects[4] = {out[0], out[1], out[0], out[1]};
      result = fluid_synth_process(self->synth_.s, len, 4, effects, nout, out);
    } else {
      result = fluid_synth_process(self->synth_.s, len, nfx, fx, nout, out);
    }
    if (result != FLUID_OK || nout < 2 || !self->audio_ || self->audioFailed_) return result;
    // Nothing may leave the driver's thread: a mix that fails (out of memory) falls silent.
    try {
      self->audio_->add(out[0], out[1], len, 1);
    } catch (...) {
      self->audioFailed_ = true;
    }
    return result;
  }

  Settings settings_;
  Synth synth_;
  fluid_audio_driver_t* driver_ = nullptr;
  std::unique_ptr<MidiPlayer> player_;
  std::shared_ptr<AudioMix> audio_;
  std::atomic<bool> audioFailed_{false};
};

}  // namespace

namespace {

// FluidSynth renders in blocks of this many frames.
constexpr int kBlockFrames = 64;
// How often a render tells its progress: about ten times a second of sound at 44.1 kHz.
constexpr std::int64_t kProgressFrames = kBlockFrames * 64;

// A 16-bit stereo WAV written in large pieces. FluidSynth's own file renderer passes each 64-frame
// block to libsndfile, which makes a system call of it: some 230,000 for five minutes of sound.
// The samples are converted as libsndfile converts floats for such a file (scaled to 32 bits,
// rounded, clipped, then the top 16 bits taken), so the file is the one FluidSynth would write,
// byte for byte.
class WavWriter {
 public:
  // The buffer is had here, before any file is touched; start() gives the file.
  WavWriter(const std::string& shown, int rate, std::int64_t frames) : shown_(shown) {
    const auto dataBytes = static_cast<std::uint32_t>(frames * 4);
    buffer_.reserve(kBufferBytes + 4 * kBlockFrames);
    buffer_.insert(buffer_.end(), {'R', 'I', 'F', 'F'});
    put32(36 + dataBytes);
    buffer_.insert(buffer_.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(16);
    put16(1);  // PCM
    put16(2);  // channels
    put32(static_cast<std::uint32_t>(rate));
    put32(static_cast<std::uint32_t>(rate) * 4);  // bytes a second
    put16(4);                                      // bytes a frame
    put16(16);                                     // bits a sample
    buffer_.insert(buffer_.end(), {'d', 'a', 't', 'a'});
    put32(dataBytes);
  }

  void start(int fd) { fd_ = fd; }

  void add(std::span<const float> samples) {
    for (const float sample : samples) {
      const float scaled = sample * 2147483648.0f;
      std::int32_t wide;
      if (scaled >= 2147483647.0f) wide = std::numeric_limits<std::int32_t>::max();
      else if (scaled <= -2147483648.0f) wide = std::numeric_limits<std::int32_t>::min();
      else wide = static_cast<std::int32_t>(std::lrintf(scaled));
      put16(static_cast<std::uint16_t>(static_cast<std::uint32_t>(wide) >> 16));
    }
    if (buffer_.size() >= kBufferBytes) flush();
  }

  void finish() { flush(); }

 private:
  static constexpr std::size_t kBufferBytes = 1 << 16;

  void put16(std::uint16_t v) {
    buffer_.push_back(static_cast<std::uint8_t>(v));
    buffer_.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void put32(std::uint32_t v) {
    put16(static_cast<std::uint16_t>(v));
    put16(static_cast<std::uint16_t>(v >> 16));
  }

  void flush() {
    std::size_t written = 0;
    while (written < buffer_.size()) {
      const ssize_t n = ::write(fd_, buffer_.data() + written, buffer_.size() - written);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw fileFailure(errno, shown_);
      written += static_cast<std::size_t>(n);
    }
    buffer_.clear();
  }

  int fd_ = -1;
  const std::string& shown_;
  std::vector<std::uint8_t> buffer_;
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
    throw Failure::of(err::PathFileAccess, chosen + TKT("TONEKIT", " (通常のファイルではありません)"));
  if (!fs::is_regular_file(status)) throw Failure(err::FileNotFound, std::string(kNoSoundfontMessage) + " (" + chosen + ")");
  return chosen;
}

Rendered renderWav(const ByteString& smf, double seconds, const fs::path& soundfont, int rate, const fs::path& out,
                   const RenderProgress& progress, AudioMix* audio) {
  installLogging();
  if (rate < kLowestRate || rate > kHighestRate) throw Failure::of(err::InvalidCall, "(rate " + std::to_string(rate) + ")");
  // The limit is the melody's; its release comes on top.
  if (!(seconds >= 0 && seconds <= kMaxRenderSeconds))
    throw Failure::of(err::Overflow, "(" + std::to_string(std::int64_t(seconds)) + " s)");
  seconds += kReleaseSeconds;
  Rendered result;
  result.rate = rate;
  // FluidSynth hands every block to the file whole: the length is a whole number of blocks.
  const auto wanted = static_cast<std::int64_t>(std::ceil(seconds * rate));
  result.frames = (wanted + kBlockFrames - 1) / kBlockFrames * kBlockFrames;
  // Everything that can fail for want of memory or threads (the synthesizer, the soundfont, the
  // player, the buffers) is made before the target is touched: an in-place save has emptied it
  // by the time the writer runs.
  Settings settings;
  if (!settings.s) throw Failure::of(err::OutOfMemory, "(FluidSynth)");
  fluid_settings_setnum(settings.s, "synth.sample-rate", rate);
  // Time runs with the samples written, not with the clock, so rendering goes at full speed.
  fluid_settings_setstr(settings.s, "player.timing-source", "sample");
  fluid_settings_setint(settings.s, "synth.lock-memory", 0);
  // Nothing but this thread touches the synthesizer while it renders.
  fluid_settings_setint(settings.s, "synth.threadsafe-api", 0);
  Synth synth(settings.s);
  synth.load(soundfont);
  MidiPlayer player(synth.s, smf);
  std::string shownTarget;
  WavWriter wav(shownTarget, rate, result.frames);
  // Streamed straight into the file the safe save made beside the target; only one buffer of it
  // is ever held in memory.
  replaceFileSafely(out, [&](int fd, const std::string& shown) {
    shownTarget = shown;
    wav.start(fd);
    std::array<float, 2 * kBlockFrames> block;
    for (std::int64_t done = 0; done < result.frames; done += kBlockFrames) {
      // One block at a time, as FluidSynth's own file renderer goes: asked for more at once, the
      // synthesizer would start the notes of the later blocks at the first one.
      if (fluid_synth_write_float(synth.s, kBlockFrames, block.data(), 0, 2, block.data(), 1, 2) != FLUID_OK)
        throw fluidFailure(shown);
      if (audio) audio->add(block.data(), block.data() + 1, kBlockFrames, 2);
      wav.add(block);
      if (progress && done % kProgressFrames == 0 && !progress(done, result.frames))
        throw Failure(kRenderStopped, TKT("TONEKIT", "中止しました。 (") + shown + ")");
    }
    wav.finish();
  });
  return result;
}

std::unique_ptr<Player> makeFluidPlayer(const fs::path& soundfont) {
  installLogging();
  return std::make_unique<FluidPlayer>(soundfont);
}

}  // namespace tonekit::sound
