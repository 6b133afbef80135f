// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "convert/MidiImport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <numeric>

#include "base/CodePage.h"
#include "base/Failure.h"
#include "convert/MfiMidiMap.h"
#include "base/SafeFile.h"
#include "smf/SmfEvents.h"
#include "mld/MldInfo.h"
#include "mld/EventCodec.h"
#include "mld/TrackEvents.h"
#include "base/Translate.h"

namespace tonekit::smf {
namespace {

// Timebase of a tempo kind's low four bits; 0 for the two without one.
int timebaseOf(int index) { return events::tempoTimebase(events::tempoValue(index)).value_or(0); }
constexpr int kMinTempo = events::kLowestTempo, kMaxTempo = events::kHighestTempo;
constexpr double kMinTicksPerMinute = kMinTempo * 6.0, kMaxTicksPerMinute = kMaxTempo * 960.0;
// Longer songs would need millions of NOP events; no phone plays them.
constexpr double kMaxTicks = 1 << 24;
// Texts beyond this are no titles; kept short so the information part always fits its length field.
constexpr std::size_t kMaxTextBytes = 1024;
// The import writes 4-byte notes: velocity and octave shift go with every note.
constexpr int kNoteLength = 4;
constexpr std::uint8_t kMaxDelta = 255;
constexpr std::int64_t kMaxGate = 255;
// How far a coarser grid may move an event: below what a listener hears as early or late.
constexpr double kMaxGridMoveMs = 10;

struct Pair {
  int index = -1;  // low four bits of the tempo kind
  int tempo = 0;
  double tickMicros() const { return events::microsPerTick(tempo, timebaseOf(index)); }
  bool operator==(const Pair&) const = default;
};

// The timebase and tempo whose tick lasts closest to the wanted length; of equally close ones the
// tempo nearest the song's own quarter notes a minute, so that a plain file reads naturally.
Pair closestPair(double ticksPerMinute, double quartersPerMinute) {
  Pair best;
  double bestError = 0;
  for (int i = 0; i < 16; ++i) {
    const int timebase = timebaseOf(i);
    if (timebase == 0) continue;
    const int tempo =
        static_cast<int>(std::clamp(std::lround(ticksPerMinute / timebase), long{kMinTempo}, long{kMaxTempo}));
    const double error = std::abs(double(tempo) * timebase - ticksPerMinute) / ticksPerMinute;
    const bool closer =
        best.index < 0 || error < bestError - 1e-12 ||
        (error <= bestError + 1e-12 && std::abs(tempo - quartersPerMinute) < std::abs(best.tempo - quartersPerMinute));
    if (closer) best = {i, tempo}, bestError = error;
  }
  return best;
}

struct Note {
  std::uint8_t channel, key, velocity;
  std::uint64_t start, end;
  std::uint32_t order;
  bool pedal = false;  // made longer by the sustain pedal
};

// Controller 64 at this value or above holds the notes released meanwhile.
constexpr int kPedalDown = 64;
constexpr int kSustainPedal = 64;

struct Pending {
  std::uint64_t start;
  std::uint8_t velocity;
  std::uint32_t order;
};

// One MFi event before the delta times are known.
struct Out {
  std::uint64_t tick;
  std::uint32_t order;  // tempo events 0, the others their MIDI event's place + 1
  events::Event event;
};

std::string hex2(unsigned v) {
  char buf[3];
  std::snprintf(buf, sizeof buf, "%02x", v & 0xFFu);
  return buf;
}

std::string kindOf(const Event& e) {
  if (e.status == 0xFF) return "meta_" + hex2(e.data1);
  if (e.status == 0xF0 || e.status == 0xF7) return "sysex";
  switch (e.kind()) {
    case 0x80:
    case 0x90:
      return "unmatched_note_off";
    case 0xA0:
      return "note_aftertouch";
    case 0xB0:
      return "controller_" + std::to_string(e.data1);
    case 0xD0:
      return "channel_aftertouch";
    case 0xE0:
      return "pitch_bend";
    default:
      return "program_change";
  }
}

// MIDI text bytes as the information part holds them: code page 932 bytes as they are, UTF-8 text
// converted; whatever cannot be held exactly is reported under tag.
ByteString infoText(ByteString bytes, bool utf8, const char* tag, ImportSummary& summary) {
  bool exact = true;
  if (utf8 || !roundTripsCp932(bytes)) {
    const std::string raw(bytes.begin(), bytes.end());
    bool validUtf8 = true;
    for (std::size_t i = 0; i < raw.size() && validUtf8;) validUtf8 = nextUtf8CodePoint(raw, i).has_value();
    const auto encoded = encodeCp932(validUtf8 ? raw : decodeCp932(bytes));
    bytes = encoded.bytes;
    exact = encoded.exact && validUtf8;
  }
  if (bytes.size() > kMaxTextBytes) {
    bytes.resize(kMaxTextBytes);
    exact = false;
  }
  if (!exact) summary.alteredTexts.emplace_back(tag);
  return bytes;
}

class Converter {
 public:
  Converter(const ByteString& smfBytes, const ImportOptions& options) : song_(readSong(smfBytes)), options_(options) {
    summary_.brokenTracks = song_.brokenTracks;
    // The same texts the smf command reports; an empty one is none.
    if (const auto texts = songTexts(smfBytes)) {
      if (!texts->title.empty()) title_ = texts->title;
      if (!texts->copyright.empty()) copyright_ = texts->copyright;
    }
  }

  ImportResult run() {
    collect();
    chooseGrid();
    placeNotesAndControls();
    placeTempo();
    ImportResult result;
    fill(result.document);
    result.summary = std::move(summary_);
    return result;
  }

 private:
  struct Segment {
    double tick, startMicros, tickMicros;
    std::uint32_t microsPerQuarter;
  };

  void skip(const Event& e) { ++summary_.skippedEvents[kindOf(e)]; }

  // Notes paired, controls and texts picked out, everything else counted.
  void collect() {
    std::vector<std::vector<Pending>> pending(16 * 128);
    std::vector<std::size_t> head(16 * 128, 0);
    bool titleUsed = false, copyrightUsed = false;
    // The registered parameter each channel has selected (101, 100); none at first.
    std::array<std::pair<int, int>, 16> parameters;
    parameters.fill({127, 127});
    // Per channel: whether the pedal is down, and the notes released under it (index in notes_).
    std::array<bool, 16> pedal{};
    std::array<std::vector<std::size_t>, 16> held;
    const auto sustain = [this](std::size_t index, std::uint64_t until) {
      Note& n = notes_[index];
      if (until > n.end) n.end = until, n.pedal = true;
    };
    for (std::uint32_t i = 0; i < song_.events.size(); ++i) {
      const Event& e = song_.events[i];
      lastTick_ = std::max(lastTick_, e.tick);
      if (e.status == 0xFF) {
        if (e.data1 == 0x51 && e.payload.size() == 3 && e.payload != ByteString{0, 0, 0}) continue;
        // The events the title and copyright came from are used, not left out.
        const bool titleEvent = (e.data1 == 0x01 || e.data1 == 0x03) && e.track == 0;
        if (titleEvent && !titleUsed && title_ && e.payload == *title_) {
          titleUsed = true;
          continue;
        }
        if (e.data1 == 0x02 && e.track == 0 && !copyrightUsed && copyright_ && e.payload == *copyright_) {
          copyrightUsed = true;
          continue;
        }
        skip(e);
        continue;
      }
      if (!e.isChannel()) {
        skip(e);
        continue;
      }
      const std::size_t slot = std::size_t{e.channel()} * 128 + e.data1;
      auto& heldHere = held[e.channel()];
      if (e.kind() == 0x90 && e.data2 > 0) {
        // The same key struck again ends its held sound.
        std::erase_if(heldHere, [&](std::size_t k) {
          if (notes_[k].key != e.data1) return false;
          sustain(k, e.tick);
          return true;
        });
        pending[slot].push_back({e.tick, e.data2, i});
      } else if (e.kind() == 0x80 || e.kind() == 0x90) {
        // The earliest sounding note of the key ends first.
        if (head[slot] == pending[slot].size()) {
          skip(e);
          continue;
        }
        const Pending p = pending[slot][head[slot]++];
        notes_.push_back({e.channel(), e.data1, p.velocity, p.start, e.tick, p.order});
        if (pedal[e.channel()]) heldHere.push_back(notes_.size() - 1);
        if (head[slot] == pending[slot].size()) pending[slot].clear(), head[slot] = 0;
      } else if (e.kind() == 0xC0 || e.kind() == 0xE0) {
        controls_.push_back(i);
      } else if (e.kind() == 0xB0 && e.data1 == kSustainPedal) {
        pedal[e.channel()] = e.data2 >= kPedalDown;
        if (pedal[e.channel()]) continue;
        for (std::size_t k : heldHere) sustain(k, e.tick);
        heldHere.clear();
      } else if (e.kind() == 0xB0) {
        control(e, i, parameters[e.channel()]);
      } else {
        skip(e);
      }
    }
    // Notes still sounding at the end of the file last to its end.
    for (const auto& notes : held)
      for (std::size_t k : notes) sustain(k, lastTick_);
    for (std::size_t slot = 0; slot < pending.size(); ++slot)
      for (std::size_t k = head[slot]; k < pending[slot].size(); ++k) {
        const Pending& p = pending[slot][k];
        notes_.push_back({static_cast<std::uint8_t>(slot / 128), static_cast<std::uint8_t>(slot % 128), p.velocity,
                          p.start, lastTick_, p.order});
      }
    if (notes_.empty()) throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(MIDIファイルに音符がありません)"));
  }

  // A controller: kept when an MLD kind stands for it, the selection of a registered parameter
  // taken in; only the bend range's value is kept of the parameters.
  void control(const Event& e, std::uint32_t i, std::pair<int, int>& parameter) {
    const bool bendRange = parameter == std::pair{0, 0};
    switch (e.data1) {
      case events::midi::ParameterHigh: parameter.first = e.data2; return;
      case events::midi::ParameterLow: parameter.second = e.data2; return;
      case events::midi::DataEntryLow:
        if (bendRange) return;  // the range's cents: not in the format
        break;
      case events::midi::DataEntry:
        if (bendRange) return controls_.push_back(i);
        break;
      default:
        if (events::kindOfController(e.data1)) return controls_.push_back(i);
    }
    skip(e);
  }

  // MFi ticks per MIDI tick: the coarsest grid every event stands on, times a small factor for
  // which every tempo of the song has a timebase and tempo value that match it exactly, so that
  // no tempo event is needed beyond the song's own.
  //
  // Notes held longer than 255 ticks are cut; when a coarser grid moves no event by more than
  // kMaxGridMoveMs, the coarsest that cuts the fewest is taken instead.
  void chooseGrid() {
    std::uint64_t grid = 0;
    std::vector<std::uint64_t> ticks;
    auto on = [&](std::uint64_t t) { grid = std::gcd(grid, t), ticks.push_back(t); };
    for (const Note& n : notes_) on(n.start), on(n.end);
    for (std::uint32_t i : controls_) on(song_.events[i].tick);
    for (const TempoPoint& t : song_.tempo) on(t.tick);
    on(lastTick_);
    if (grid == 0) grid = static_cast<std::uint64_t>(song_.division);
    std::sort(ticks.begin(), ticks.end());
    ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());

    ratio_ = ratioFor(grid);
    std::size_t cut = cutAt(ratio_);
    const auto limit = static_cast<std::uint64_t>(song_.division) * 4;
    for (std::uint64_t coarser = grid * 2; cut > 0 && coarser <= limit; coarser += grid) {
      const double ratio = ratioFor(coarser);
      const std::size_t cutThere = cutAt(ratio);
      if (cutThere < cut && movedAt(ratio, ticks) <= kMaxGridMoveMs) ratio_ = ratio, cut = cutThere;
    }
    summary_.maxTimingErrorMs = std::round(movedAt(ratio_, ticks) * 100) / 100;
    eventTicks_ = std::move(ticks);
    if (static_cast<double>(lastTick_) * ratio_ > kMaxTicks)
      throw Failure::of(err::Overflow, TKT("TONEKIT", "(曲が長すぎて着信メロディにできません)"));
  }

  // Milliseconds one MIDI tick lasts at a tick.
  double tickMillis(std::uint64_t tick) const {
    const auto after = std::upper_bound(song_.tempo.begin(), song_.tempo.end(), tick,
                                        [](std::uint64_t t, const TempoPoint& p) { return t < p.tick; });
    const TempoPoint& p = after == song_.tempo.begin() ? song_.tempo.front() : *(after - 1);
    return p.microsPerQuarter / 1000.0 / song_.division;
  }

  // How far the farthest event moves when ticks are rounded at this ratio, in milliseconds.
  double movedAt(double ratio, const std::vector<std::uint64_t>& ticks) const {
    double most = 0;
    for (std::uint64_t t : ticks) {
      const double moved = std::abs(std::round(double(t) * ratio) / ratio - double(t));
      most = std::max(most, moved * tickMillis(t));
    }
    return most;
  }

  std::size_t cutAt(double ratio) const {
    return static_cast<std::size_t>(std::count_if(notes_.begin(), notes_.end(), [ratio](const Note& n) {
      return std::llround(double(n.end) * ratio) - std::llround(double(n.start) * ratio) > kMaxGate;
    }));
  }

  double ratioFor(std::uint64_t grid) const {
    const double base = 1.0 / static_cast<double>(grid);
    double ratio = base;

    std::vector<std::uint32_t> tempos;
    for (const TempoPoint& t : song_.tempo) tempos.push_back(t.microsPerQuarter);
    std::sort(tempos.begin(), tempos.end());
    tempos.erase(std::unique(tempos.begin(), tempos.end()), tempos.end());
    // Fastest and slowest bound the range; a few dozen others are enough to judge a factor by.
    if (tempos.size() > 64) {
      std::vector<std::uint32_t> some(tempos.begin(), tempos.begin() + 63);
      some.push_back(tempos.back());
      tempos = std::move(some);
    }
    auto perMinute = [&](double micros, double at) { return 60e6 * song_.division * at / micros; };
    // The tempo field is rounded to whole microseconds: the fastest and slowest tempos the track
    // format holds come out of an export up to half a microsecond beyond the range.
    const double fastest = tempos.front() + 0.5, slowest = tempos.back() - 0.5;

    // Best: ticks a quarter note that are themselves a timebase, so the tempo values are the
    // song's own quarter notes a minute; else the first exact factor; else the closest.
    double bestError = 2;  // relative, beyond the tempo field's rounding
    bool natural = false;
    for (int factor = 1; factor <= 64 && !natural; ++factor) {
      const double candidate = base * factor;
      if (perMinute(fastest, candidate) > kMaxTicksPerMinute) break;
      if (perMinute(slowest, candidate) < kMinTicksPerMinute) continue;
      double error = 0;
      natural = true;
      for (std::uint32_t micros : tempos) {
        const double wanted = perMinute(micros, candidate);
        const Pair pair = closestPair(wanted, 60e6 / micros);
        const double timebase = timebaseOf(pair.index);
        // The tempo field is whole microseconds: a pair within its rounding is exact (an
        // exported file's tempos come back as the values they were made from).
        error = std::max(error, std::abs(pair.tempo * timebase - wanted) / wanted - 0.5 / micros);
        natural = natural && std::abs(timebase - song_.division * candidate) < 1e-9;
      }
      natural = natural && error <= 1e-12;
      if (natural || (error < bestError - 1e-12 && bestError > 1e-12)) bestError = error, ratio = candidate;
    }
    if (bestError > 1) {
      // Tempos too far apart for one grid, or a grid too fine for the fastest: powers of two,
      // events rounding to the nearest tick.
      ratio = base;
      for (int i = 0; i < 64 && perMinute(slowest, ratio) < kMinTicksPerMinute; ++i) ratio *= 2;
      for (int i = 0; i < 64 && perMinute(fastest, ratio) > kMaxTicksPerMinute; ++i) ratio /= 2;
    }
    return ratio;
  }

  std::uint64_t mfiTick(std::uint64_t midiTick) const {
    return static_cast<std::uint64_t>(std::llround(static_cast<double>(midiTick) * ratio_));
  }

  void add(std::uint8_t channel, std::uint64_t tick, std::uint32_t order, events::Event event) {
    const std::size_t track = channel / 4u;
    if (tracks_.size() <= track) tracks_.resize(track + 1);
    tracks_[track].push_back({mfiTick(tick), order + 1, std::move(event)});
  }

  void placeNotesAndControls() {
    for (const Note& n : notes_) {
      const auto pitch = events::pitchOfKey(n.key, n.channel == events::kPercussionChannel);
      if (!pitch) {
        ++summary_.droppedNotes;
        continue;
      }
      const std::uint64_t start = mfiTick(n.start), end = mfiTick(n.end);
      std::uint64_t length = end - start;
      if (length == 0 && n.end > n.start) length = 1;
      if (n.pedal) ++summary_.pedalLengthenedNotes;
      if (length > kMaxGate) {
        ++summary_.cutNotes;
        if (n.pedal) ++summary_.pedalCutNotes;
        const double lost = (double(n.end - n.start) - kMaxGate / ratio_) * tickMillis(n.start);
        summary_.longestCutMs = std::max(summary_.longestCutMs, std::round(lost));
        length = kMaxGate;
      }
      events::Note note;
      note.part = partOf(n.channel);
      note.pitch = static_cast<std::uint8_t>(pitch->first);
      note.gate = static_cast<std::uint8_t>(length);
      note.velocity = static_cast<std::uint8_t>(n.velocity / 2);
      note.octaveShift = static_cast<std::uint8_t>(pitch->second);
      add(n.channel, n.start, n.order, note);
      ++summary_.notes;
    }
    if (summary_.notes == 0)
      throw Failure::of(err::InvalidCall,
                        TKT("TONEKIT", "(音域内の音符がありません: 音域外 ") + std::to_string(summary_.droppedNotes) + ")");
    placeControls();
  }

  // The MLD kind and value of a kept controller or bend.
  static std::pair<std::uint8_t, int> levelOf(const Event& e) {
    if (e.kind() == 0xE0) return {events::kind::PitchBend, events::bendOfMidi(e.data2 << 7 | e.data1)};
    if (e.data1 == events::midi::DataEntry) return {events::kind::BendRange, std::min<int>(e.data2, events::kHighestLevel)};
    return {*events::kindOfController(e.data1), events::levelOfMidi(e.data2)};
  }

  // Six bits tell fewer steps apart than seven or fourteen: of a dense stream (a bend every
  // tick) only what changes the six-bit value at a tick of its own is kept, and the rest counted.
  void placeControls() {
    struct Level {
      std::uint64_t tick;
      int value;
      std::uint32_t event;
    };
    std::map<std::pair<int, std::uint8_t>, std::vector<Level>> streams;  // by channel and kind
    for (std::uint32_t i : controls_) {
      const Event& e = song_.events[i];
      const std::uint8_t part = partOf(e.channel());
      if (e.kind() == 0xC0) {
        // The top bit first: a player that changes voice on each of the two ends on the right one.
        const auto [top, low] = events::voiceValuesOf(e.data1);
        add(e.channel(), e.tick, i, events::extendEvent(0, events::kind::VoiceTop, part, top));
        add(e.channel(), e.tick, i, events::extendEvent(0, events::kind::VoiceLow, part, low));
        continue;
      }
      const auto [kind, value] = levelOf(e);
      auto& stream = streams[{e.channel(), kind}];
      const std::uint64_t tick = mfiTick(e.tick);
      // The later level wins its tick.
      if (!stream.empty() && stream.back().tick == tick) {
        ++summary_.thinnedEvents[kindOf(song_.events[stream.back().event])];
        stream.pop_back();
      }
      if (!stream.empty() && stream.back().value == value) {
        ++summary_.thinnedEvents[kindOf(e)];
        continue;
      }
      stream.push_back({tick, value, i});
    }
    for (const auto& [key, stream] : streams)
      for (const Level& level : stream) {
        const Event& e = song_.events[level.event];
        add(e.channel(), e.tick, level.event,
            events::extendEvent(0, key.second, partOf(e.channel()), static_cast<std::uint8_t>(level.value)));
      }
  }

  // The part a MIDI channel lands on: four channels to a track.
  static std::uint8_t partOf(std::uint8_t channel) { return static_cast<std::uint8_t>(channel % 4); }

  // Ideal time of an MFi tick in microseconds, from the MIDI tempo map.
  const Segment& segmentAt(double tick) const {
    const auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                        [](double t, const Segment& s) { return t < s.tick; });
    return after == segments_.begin() ? segments_.front() : *(after - 1);
  }
  double idealMicros(double tick) const {
    const Segment& s = segmentAt(tick);
    return s.startMicros + (tick - s.tick) * s.tickMicros;
  }
  double idealTickMicros(double tick) const { return segmentAt(tick).tickMicros; }

  // Tempo events on track 0: one at the start, one at each MIDI tempo change, and between
  // them wherever the whole-number tempo would let the next event drift half a tick off.
  void placeTempo() {
    if (tracks_.empty()) tracks_.resize(1);
    double micros = 0;
    for (std::size_t k = 0; k < song_.tempo.size(); ++k) {
      const TempoPoint& t = song_.tempo[k];
      const double tick = static_cast<double>(t.tick) * ratio_;
      if (k > 0) micros += (tick - segments_.back().tick) * segments_.back().tickMicros;
      segments_.push_back({tick, micros, t.microsPerQuarter / (song_.division * ratio_), t.microsPerQuarter});
    }
    std::vector<std::uint64_t> points;
    std::vector<std::uint64_t> forced;
    for (const auto& track : tracks_)
      for (const Out& o : track) points.push_back(o.tick);
    for (const Note& n : notes_) points.push_back(mfiTick(n.end));
    for (const TempoPoint& t : song_.tempo) forced.push_back(mfiTick(t.tick));
    points.insert(points.end(), forced.begin(), forced.end());
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    songEnd_ = points.back();

    current_ = want(0, idealTickMicros(0));
    emitTempo(0);
    summary_.timebase = timebaseOf(current_.index);
    std::size_t f = 0;
    playedAt_.emplace_back(0, 0.0);
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
      while (f < forced.size() && forced[f] < points[i]) ++f;
      step(points[i], points[i + 1], f < forced.size() && forced[f] == points[i]);
    }
    summary_.maxTimingErrorMs = std::max(summary_.maxTimingErrorMs, std::round(movedInAll() * 100) / 100);
  }

  Pair want(double tick, double tickMicros) const {
    return closestPair(60e6 / tickMicros, 60e6 / segmentAt(tick).microsPerQuarter);
  }

  void emitTempo(std::uint64_t tick) {
    const Out tempo{tick, 0, events::extendEvent(0, events::tempoValue(current_.index), 0, static_cast<std::uint8_t>(current_.tempo))};
    // A second choice at one tick replaces the first: a tempo for no time says nothing.
    if (lastTempo_ && tracks_[0][*lastTempo_].tick == tick) {
      tracks_[0][*lastTempo_] = tempo;
      return;
    }
    lastTempo_ = tracks_[0].size();
    tracks_[0].push_back(tempo);
    ++summary_.tempoChanges;
  }

  // Carries the played time from a to b (MFi ticks) so that b lands within half a tick of its
  // ideal time; halves the stretch when one tempo cannot do it.
  void step(std::uint64_t a, std::uint64_t b, bool forced) {
    if (forced) {
      // The song's own tempo as it is, where a pair matches it; what drifted before is made up
      // below only when an event would otherwise fall half a tick off.
      const Pair own = want(static_cast<double>(a), idealTickMicros(static_cast<double>(a)));
      if (!(own == current_)) {
        current_ = own;
        emitTempo(a);
      }
      forced = false;
    }
    const double span = static_cast<double>(b - a);
    const double target = idealMicros(static_cast<double>(b));
    const double tolerance =
        0.45 * std::min(idealTickMicros(static_cast<double>(a)), idealTickMicros(static_cast<double>(b) - 0.5));
    if (std::abs(played_ + span * current_.tickMicros() - target) <= tolerance) {
      played_ += span * current_.tickMicros();
      playedAt_.emplace_back(b, played_);
      return;
    }
    const double wanted = std::max(target - played_, 1e-3) / span;
    const Pair pair = want(static_cast<double>(a), wanted);
    if (b - a > 1 && std::abs(played_ + span * pair.tickMicros() - target) > tolerance) {
      const std::uint64_t mid = a + (b - a) / 2;
      step(a, mid, false);
      step(mid, b, false);
      return;
    }
    if (!(pair == current_)) {
      current_ = pair;
      emitTempo(a);
    }
    played_ += span * current_.tickMicros();
    playedAt_.emplace_back(b, played_);
  }

  // How far the farthest event sounds from its MIDI time, grid and tempo together, in ms.
  double movedInAll() const {
    double most = 0;
    for (const std::uint64_t t : eventTicks_) {
      const std::uint64_t b = mfiTick(t);
      const auto at = std::lower_bound(playedAt_.begin(), playedAt_.end(), b,
                                       [](const auto& p, std::uint64_t tick) { return p.first < tick; });
      if (at == playedAt_.end() || at->first != b) continue;
      most = std::max(most, std::abs(at->second - idealMicros(double(t) * ratio_)) / 1000);
    }
    return most;
  }

  ByteString trackChunk(std::vector<Out>& outs) const {
    std::stable_sort(outs.begin(), outs.end(),
                     [](const Out& x, const Out& y) { return x.tick != y.tick ? x.tick < y.tick : x.order < y.order; });
    std::vector<clsNote> records;
    records.reserve(outs.size() + 1);
    std::uint64_t at = 0;
    auto put = [&](std::uint64_t tick, events::Event event) {
      std::uint64_t delta = tick - at;
      // Gaps longer than a delta time can hold are bridged with NOP events.
      for (; delta > kMaxDelta; delta -= kMaxDelta)
        records.emplace_back(events::encode(events::extendEvent(kMaxDelta, events::kind::Nop, 0, 0), kNoteLength));
      events::setDelta(event, static_cast<std::uint8_t>(delta));
      records.emplace_back(events::encode(event, kNoteLength));
      at = tick;
    };
    for (Out& o : outs) put(o.tick, std::move(o.event));
    put(songEnd_, events::extendEvent(0, events::kind::EndOfTrack, 0, 0));
    return assembleTrack(records);
  }

  void fill(clsMLD& doc) {
    summary_.tracks = static_cast<int>(tracks_.size());
    const ByteString title = options_.title ? infoText(bytesOf(*options_.title), true, "titl", summary_)
                             : title_       ? infoText(*title_, false, "titl", summary_)
                                            : infoText(bytesOf(options_.fallbackTitle), true, "titl", summary_);
    const ByteString copy = copyright_ ? infoText(*copyright_, false, "copy", summary_) : ByteString{};
    const std::string date = options_.date.empty() ? todayYYYYMMDD() : options_.date;
    const std::pair<const char*, ByteString> chunks[] = {
        {"copy", copy},         {"date", bytesOf(date)},  {"note", info::noteValue(kNoteLength)},
        {"titl", title},        {"sorc", info::encodeSorc({info::Source::Download, false})},
        {"vers", bytesOf("0200")}};
    for (const auto& [tag, value] : chunks) {
      doc.enabled(tag) = true;
      doc.value(tag) = value;
    }
    std::vector<ByteString> chunksOfTracks;
    for (auto& t : tracks_) chunksOfTracks.push_back(trackChunk(t));
    // An MFi2 melody: major and minor type 1.
    doc.makeNew(bytesOf("melo"), 1, 1, chunksOfTracks);
  }

  Song song_;
  const ImportOptions& options_;
  ImportSummary summary_;
  std::vector<Note> notes_;
  std::vector<std::uint32_t> controls_;
  std::optional<ByteString> title_, copyright_;
  std::uint64_t lastTick_ = 0;
  double ratio_ = 1;
  std::vector<std::vector<Out>> tracks_;
  std::vector<Segment> segments_;
  std::uint64_t songEnd_ = 0;
  Pair current_;
  double played_ = 0;
  std::optional<std::size_t> lastTempo_;  // in tracks_[0]
  std::vector<std::uint64_t> eventTicks_;  // every MIDI tick an event stands on, in order
  std::vector<std::pair<std::uint64_t, double>> playedAt_;  // MFi tick and when it plays, µs
};

}  // namespace

ImportResult importMidi(const ByteString& smfBytes, const ImportOptions& options) {
  return Converter(smfBytes, options).run();
}

ImportResult importMidiFile(const std::filesystem::path& path, ImportOptions options) {
  // The reader judges the path (links, kind, size) and names what it refuses.
  if (options.fallbackTitle.empty()) options.fallbackTitle = path.filename().string();
  return importMidi(readWholeFile(path), options);
}

std::string todayYYYYMMDD() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[16];
  std::strftime(buf, sizeof buf, "%Y%m%d", &local);
  return buf;
}

namespace {

// What a kind key of the summary stands for, in the words of a musician's MIDI manual.
std::string kindInWords(const std::string& key) {
  static const std::map<std::string, std::string> named = {
      {"sysex", TKT("TONEKIT", "システムエクスクルーシブ")},
      {"note_aftertouch", TKT("TONEKIT", "ポリフォニックキープレッシャー")},
      {"channel_aftertouch", TKT("TONEKIT", "チャンネルプレッシャー")},
      {"pitch_bend", TKT("TONEKIT", "ピッチベンド")},
      {"program_change", TKT("TONEKIT", "プログラムチェンジ")},
      {"unmatched_note_off", TKT("TONEKIT", "ノートオンのないノートオフ")},
      {"meta_00", TKT("TONEKIT", "シーケンス番号")},
      {"meta_01", TKT("TONEKIT", "テキスト")},
      {"meta_02", TKT("TONEKIT", "著作権表示")},
      {"meta_03", TKT("TONEKIT", "トラック名")},
      {"meta_04", TKT("TONEKIT", "楽器名")},
      {"meta_05", TKT("TONEKIT", "歌詞")},
      {"meta_06", TKT("TONEKIT", "マーカー")},
      {"meta_07", TKT("TONEKIT", "キューポイント")},
      {"meta_20", TKT("TONEKIT", "チャンネルプリフィックス")},
      {"meta_21", TKT("TONEKIT", "ポート指定")},
      {"meta_54", TKT("TONEKIT", "SMPTE オフセット")},
      {"meta_58", TKT("TONEKIT", "拍子")},
      {"meta_59", TKT("TONEKIT", "調")},
      {"meta_7f", TKT("TONEKIT", "シーケンサー固有のデータ")},
  };
  static const std::map<int, std::string> controllers = {
      {0, TKT("TONEKIT", "バンクセレクト")},      {1, TKT("TONEKIT", "モジュレーション")},   {5, TKT("TONEKIT", "ポルタメントタイム")},   {6, TKT("TONEKIT", "データエントリー")},
      {7, TKT("TONEKIT", "ボリューム")},          {10, TKT("TONEKIT", "パン")},              {11, TKT("TONEKIT", "エクスプレッション")},  {32, TKT("TONEKIT", "バンクセレクト LSB")},
      {38, TKT("TONEKIT", "データエントリー LSB")}, {64, TKT("TONEKIT", "ダンパー")},        {65, TKT("TONEKIT", "ポルタメント")},        {66, TKT("TONEKIT", "ソステヌート")},
      {67, TKT("TONEKIT", "ソフト")},             {91, TKT("TONEKIT", "リバーブ")},          {93, TKT("TONEKIT", "コーラス")},            {94, TKT("TONEKIT", "ディレイ")},
      {98, "NRPN LSB"},           {99, "NRPN MSB"},          {100, "RPN LSB"},            {101, "RPN MSB"},
      {120, TKT("TONEKIT", "オールサウンドオフ")}, {121, TKT("TONEKIT", "リセットオールコントローラー")}, {123, TKT("TONEKIT", "オールノートオフ")},
  };
  if (const auto found = named.find(key); found != named.end()) return found->second;
  constexpr std::string_view controller = "controller_";
  if (key.starts_with(controller)) {
    const std::string number = key.substr(controller.size());
    const auto found = controllers.find(std::atoi(number.c_str()));
    return TKT("TONEKIT", "コントロールチェンジ ") + number + (found != controllers.end() ? " (" + found->second + ")" : "");
  }
  if (key.starts_with("meta_")) return TKT("TONEKIT", "メタイベント ") + key.substr(5);
  return key;
}

}  // namespace

std::string summaryText(const ImportSummary& s) {
  std::string out;
  auto line = [&out](const std::string& text) { out += (out.empty() ? "" : "\r\n") + text; };
  if (s.droppedNotes) line(TKT("TONEKIT", "音域外で除いた音符 : ") + std::to_string(s.droppedNotes));
  if (s.cutNotes) {
    line(TKT("TONEKIT", "255ティックに切り詰めた音符 : ") + std::to_string(s.cutNotes));
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", s.longestCutMs / 1000);
    line(TKT("TONEKIT", "切り詰めで短くなった長さ (最大) : ") + std::string(seconds) + TKT("TONEKIT", " 秒"));
  }
  if (s.pedalLengthenedNotes) line(TKT("TONEKIT", "ダンパーペダルで長くした音符 : ") + std::to_string(s.pedalLengthenedNotes));
  if (s.pedalCutNotes) line(TKT("TONEKIT", "ペダルで長くしたが255ティックに切り詰めた音符 : ") + std::to_string(s.pedalCutNotes));
  if (s.brokenTracks) line(TKT("TONEKIT", "途中で壊れていたトラック : ") + std::to_string(s.brokenTracks) + TKT("TONEKIT", "（読めたところまで変換）"));
  for (const auto& tag : s.alteredTexts) line(TKT("TONEKIT", "そのままでは入らなかった文字列 : ") + tag);
  for (const auto& [kind, count] : s.skippedEvents)
    line(TKT("TONEKIT", "変換しなかったイベント ") + kindInWords(kind) + " : " + std::to_string(count));
  for (const auto& [kind, count] : s.thinnedEvents)
    line(TKT("TONEKIT", "値が変わらないため間引いたイベント ") + kindInWords(kind) + " : " + std::to_string(count));
  return out;
}

}  // namespace tonekit::smf
