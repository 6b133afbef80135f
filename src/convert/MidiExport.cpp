// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "convert/MidiExport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/BigEndian.h"
#include "base/Failure.h"
#include "convert/MfiMidiMap.h"
#include "mld/clsMLD.h"
#include "mld/MldInfo.h"
#include "mld/TrackEvents.h"
#include "smf/SmfWriter.h"
#include "mld/EventCodec.h"

namespace tonekit::sound {

namespace {

using Panel = events::Fields;

// Nested loops of count 15 could repeat a track 15^4 times; past this many events in all, loops
// stop jumping back and the melody plays on, so that a hostile file can neither fill the memory
// nor keep the renderer busy for days.
constexpr std::int64_t kMaxUnrolledEvents = 1'000'000;
constexpr std::size_t kMaxParts = 4;
constexpr int kChannels = 16;
using namespace events::midi;

// One MIDI event of a file track. Short channel messages sit in `bytes`; meta and system
// exclusive events are kept whole in the conversion's blob list.
struct MidiEvent {
  std::int64_t tick = 0;
  std::int64_t noteOnTick = -1;  // note on and note off: when the note started
  std::int32_t blob = -1;
  std::array<std::uint8_t, 3> bytes{};
  std::uint8_t size = 0;
  bool noteOff = false;
};

struct TempoPoint {
  std::int64_t tick;
  double secondsPerTick;
  std::uint32_t microsPerQuarter;
};

std::uint32_t microsPerQuarter(int tempo, int timebase) {
  const std::uint64_t denominator = std::uint64_t(tempo) * std::uint64_t(timebase);
  return static_cast<std::uint32_t>((std::uint64_t{kDivision} * 60'000'000u + denominator / 2) / denominator);
}

std::string hexKind(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value & 0xFF);
  return text;
}

using smf::appendVarLength;
using smf::metaEvent;

class Converter {
 public:
  Converter(const Melody& melody, const ExportOptions& options) : melody_(melody), options_(options) {
    const std::size_t trackCount = melody.tracks.size();
    if (options.onlyTrack && (*options.onlyTrack < 0 || std::size_t(*options.onlyTrack) >= trackCount))
      throw Failure::of(err::IndexOutOfRange, "(trac" + std::to_string(*options.onlyTrack) + ")");
    if (options.fromEvent && (options.fromEvent->first < 0 || std::size_t(options.fromEvent->first) >= trackCount))
      throw Failure::of(err::IndexOutOfRange, "(trac" + std::to_string(options.fromEvent->first) + ")");
    tracks_.resize(trackCount + 1);
    trackEnds_.resize(trackCount + 1, 0);
  }

  Conversion run() {
    // The default tempo comes first; a tempo event at tick 0 follows it and wins.
    addTempo(0, kDefaultTempo, kDefaultTimebase, false);
    if (switchesDrums()) planDrums();
    for (const auto& track : melody_.tracks) totalEvents_ += std::int64_t(track.size());
    for (std::size_t t = 0; t < melody_.tracks.size(); ++t) walk(static_cast<int>(t));

    std::stable_sort(tempos_.begin(), tempos_.end(),
                     [](const TempoPoint& a, const TempoPoint& b) { return a.tick < b.tick; });
    std::stable_sort(out_.cues.begin(), out_.cues.end(), [](const Cue& a, const Cue& b) { return a.tick < b.tick; });
    for (AudioEvent& a : out_.audio) a.seconds = secondsAt(a.tick);
    if (stoppedTick_ >= 0) out_.counts.repeatsStopped = RepeatsStopped{secondsAt(stoppedTick_), kStoppedByEvents};
    if (options_.unroll && options_.maxSeconds) stopAtLength(*options_.maxSeconds);
    if (options_.fromEvent) startAtEvent();
    for (std::size_t k = 1; k < tracks_.size(); ++k) {
      for (const MidiEvent& e : tracks_[k]) trackEnds_[k] = std::max(trackEnds_[k], e.tick);
      end_ = std::max(end_, trackEnds_[k]);
    }
    const auto tempoEvent = [this](std::int64_t tick, std::uint32_t micros) {
      ByteString data;
      appendBigEndian(data, micros, 3);
      tracks_[0].push_back(blobEvent(tick, metaEvent(0x51, data)));
    };
    if (options_.timeGrid) {
      tempoEvent(0, kTimeGridMicrosPerQuarter);
    } else {
      for (const TempoPoint& p : tempos_) tempoEvent(p.tick, p.microsPerQuarter);
    }
    trackEnds_[0] = end_;
    out_.counts.damagedTracks = std::count_if(melody_.damage.begin(), melody_.damage.end(),
                                              [](const auto& at) { return at.has_value(); });
    out_.counts.durationSeconds = secondsAt(end_);
    out_.counts.ticks = end_;
    if (options_.timeGrid) toTimeGrid();
    write();
    return std::move(out_);
  }

 private:
  struct PartState {
    int channel = 0;
    int voiceLow = 0;   // the program's low six bits
    int voiceHigh = 0;  // its top bit
  };
  // What was last sent on an MLD channel, to send again when a drum scale change moves it.
  struct ChannelMemory {
    int program = -1;
    std::map<int, std::uint8_t> controls;    // by controller number
    std::map<int, std::uint8_t> parameters;  // by registered parameter number
    int bend = -1;
  };
  struct LoopFrame {
    int id;
    std::size_t start;
    int playsLeft;
  };

  bool switchesDrums() const {
    for (const auto& track : melody_.tracks)
      for (const clsNote& record : track) {
        const events::Event event = events::decode(record.getData(), framing());
        const auto* x = std::get_if<events::Extend>(&event);
        if (x && x->status == events::kExtendStatus &&
            (x->kind == events::kind::DrumScale || x->kind == events::kind::DrumChannel))
          return true;
      }
    return false;
  }

  // A drum scale change in one track turns a channel that another track plays on: a first walk
  // over the whole melody finds when each channel plays percussion and where a melodic part of
  // channel 10 can go.
  void planDrums() {
    Converter scan(melody_, options_);
    scan.scanning_ = true;
    for (std::size_t t = 0; t < melody_.tracks.size(); ++t) scan.walk(static_cast<int>(t));
    drumSwitches_ = std::move(scan.drumSwitches_);
    for (auto& switches : drumSwitches_)
      std::stable_sort(switches.begin(), switches.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    const auto melodic = [this](std::int64_t tick) { return !percussion(events::kPercussionChannel, tick); };
    const auto& ticks = scan.ticksOnPercussionChannel_;
    if (std::none_of(ticks.begin(), ticks.end(), melodic)) return;
    for (int c = 0; c < kChannels; ++c)
      if (c != events::kPercussionChannel && !scan.channelsWithNotes_[std::size_t(c)] && drumSwitches_[std::size_t(c)].empty()) {
        spare_ = c;
        return;
      }
  }

  MidiEvent blobEvent(std::int64_t tick, ByteString bytes) {
    MidiEvent e;
    e.tick = tick;
    e.blob = static_cast<std::int32_t>(blobs_.size());
    blobs_.push_back(std::move(bytes));
    return e;
  }

  void addShort(int track, std::int64_t tick, std::uint8_t status, std::uint8_t a, std::int32_t b = -1) {
    MidiEvent e;
    e.tick = tick;
    e.bytes = {status, a, static_cast<std::uint8_t>(b < 0 ? 0 : b)};
    e.size = b < 0 ? 2 : 3;
    tracks_[std::size_t(track) + 1].push_back(e);
    if (counting_) out_.counts.channels.insert(status & 0x0F);
  }

  void addTempo(std::int64_t tick, int tempo, int timebase, bool counted) {
    tempos_.push_back({tick, events::secondsPerTick(tempo, timebase), microsPerQuarter(tempo, timebase)});
    if (counted) ++out_.counts.tempoChanges;
  }

  void skip(const std::string& kind) {
    if (counting_) ++out_.counts.skipped[kind];
  }

  // A cut-off event counts under the kind its bytes name so far.
  void skipFragment(const events::Fragment& f) {
    if (!f.pitch()) return skip("incomplete");
    if (!f.extendStatus()) return skip(*f.pitch() == events::kExtendPitch ? "pitch63" : "incomplete");
    if (!f.third()) return skip("incomplete");
    const events::ExtendKind& kind = events::extendKind(*f.third());
    skip(kind.hasLength || !kind.fields ? hexKind(*f.third()) : "incomplete");
  }

  void marker(int track, std::int64_t tick, const std::string& text) {
    tracks_[std::size_t(track) + 1].push_back(blobEvent(tick, metaEvent(0x06, bytesOf(text))));
  }

  events::Framing framing() const { return {info::normalNoteLength(melody_.noteLength), melody_.exst}; }

  // Events of parts 0-2 (status 0x3F, 0x7F, 0xBF): the audio voice's are collected for the
  // sampled audio, the others counted by status and command.
  void partEvent(int t, std::int64_t tick, std::uint8_t status, std::uint8_t command, const ByteString& bytes) {
    if (!counting_) return;
    if (status == events::kAudioStatus && events::audioCommandName(command)) {
      out_.audio.push_back({tick, t, command, bytes});
      ++out_.counts.audioEvents;
      return;
    }
    skip(hexKind(status) + "_" + hexKind(command));
  }

  // One pass over track t; with unrolling, loops jump back as their count says.
  void walk(int t) {
    const auto& events = melody_.tracks[std::size_t(t)];
    const int noteLength = info::normalNoteLength(melody_.noteLength);
    counting_ = !options_.onlyTrack || *options_.onlyTrack == t;
    if (counting_) {
      // Mostly notes, each an on and an off; loops may add more.
      tracks_[std::size_t(t) + 1].reserve(events.size() * 2);
      out_.cues.reserve(out_.cues.size() + events.size());
    }
    std::array<PartState, kMaxParts> parts;
    for (std::size_t p = 0; p < kMaxParts; ++p) parts[p].channel = events::channelOf(t, int(p));
    std::vector<LoopFrame> loops;
    std::map<std::size_t, int> jumpsLeft;  // by the jump event's index
    constexpr std::size_t kNoCuePoint = std::numeric_limits<std::size_t>::max();
    const std::size_t cuePoint = std::size_t(t) < melody_.cuePoints.size()
                                     ? melody_.cuePoints[std::size_t(t)].value_or(kNoCuePoint)
                                     : kNoCuePoint;
    std::size_t playStart = 0;  // the event after the last play start passed
    std::int64_t tick = 0, end = 0;

    for (std::size_t i = 0; i < events.size(); ++i) {
      if (counting_ && i == cuePoint) marker(t, tick, "CUE_POINT");
      const events::Event event = events::decode(events[i].getData(), framing());
      tick += events::deltaOf(event);
      end = std::max(end, tick);
      ++played_;
      if (counting_) out_.cues.push_back({tick, t, i});
      if (const auto* fragment = std::get_if<events::Fragment>(&event)) {
        skipFragment(*fragment);
        continue;
      }
      if (const auto* n = std::get_if<events::Note>(&event)) {
        if (n->pitch == events::kExtendPitch) skip("pitch63");
        else if (counting_) note(t, parts[n->part].channel, tick, *n, noteLength);
        continue;
      }
      if (const auto* info = std::get_if<events::ExtInfo>(&event)) {
        if (counting_ && info->kind == events::kind::DeviceDependent && !info->data.empty())
          ++out_.counts.vendorAudioEvents;
        if (info->status != events::kExtendStatus) partEvent(t, tick, info->status, info->kind, events[i].getData());
        else skip(hexKind(info->kind));
        continue;
      }
      const auto& x = std::get<events::Extend>(event);
      if (x.status != events::kExtendStatus) {
        partEvent(t, tick, x.status, x.kind, events[i].getData());
        continue;
      }
      PartState& part = parts[x.part];
      if (x.kind == events::kind::PlayPosition && x.value == 0) playStart = i + 1;
      if (x.kind == events::kind::Jump) {
        if (counting_) jump(t, tick, x, i, cuePoint != kNoCuePoint ? cuePoint : playStart, jumpsLeft, loops);
        continue;
      }
      if (const auto panel = events::extendKind(x.kind).fields) {
        extend(t, tick, x, *panel, part, i, events.size(), loops);
      } else if (!soundOnly(t, tick, x, part)) {
        skip(hexKind(x.kind));
      }
    }
    // A track lasts to its last event even when that makes no sound; its notes may go further.
    if (counting_) trackEnds_[std::size_t(t) + 1] = end;
  }

  // The kinds the editor has a panel for.
  void extend(int t, std::int64_t tick, const events::Extend& x, Panel panel, PartState& part, std::size_t& i,
              std::size_t count, std::vector<LoopFrame>& loops) {
    switch (panel) {
      case Panel::Tempo: {
        const auto timebase = events::tempoTimebase(x.kind);
        // No timebase, or a tempo below the format's range: the tempo in force stays.
        if (!timebase || x.value < events::kLowestTempo) skip(hexKind(x.kind));
        else addTempo(tick, x.value, *timebase, true);
        return;
      }
      case Panel::EndOfTrack: i = count; return;
      case Panel::NOP: return;
      case Panel::DramScale: drumScale(t, tick, x); return;
      default: break;
    }
    if (!counting_) return;
    switch (panel) {
      case Panel::LoopPoint: loopPoint(t, tick, x, i, loops); break;
      case Panel::PlayPosition:
        marker(t, tick, x.value == 0 ? "PLAY_START" : x.value == 1 ? "PLAY_END" : "PLAY_POSITION " + std::to_string(x.value));
        break;
      case Panel::Sound:
        if (x.kind == events::kind::VoiceLow) part.voiceLow = x.value;
        else part.voiceHigh = x.value;
        program(t, tick, part.channel, events::programOf(part.voiceHigh, part.voiceLow));
        break;
      case Panel::Volume: control(t, tick, part.channel, Volume, events::midiLevelOf(x.value)); break;
      // Not a step added to the volume: the level of the part's expression.
      case Panel::ChangeVolume: control(t, tick, part.channel, Expression, events::midiLevelOf(x.value)); break;
      case Panel::Stereo: control(t, tick, part.channel, Pan, events::midiLevelOf(x.value)); break;
      case Panel::Chanel:
        if (x.value > 15) skip(hexKind(x.kind));
        else part.channel = x.value;
        break;
      case Panel::MasterBolume: {
        // Universal real-time master volume; the fine byte stays 0.
        const std::uint8_t level = std::min<std::uint8_t>(x.value, 127);
        tracks_[std::size_t(t) + 1].push_back(
            blobEvent(tick, ByteString{0xF0, 0x07, 0x7F, 0x7F, 0x04, 0x01, 0x00, level, 0xF7}));
        break;
      }
      default: break;
    }
  }

  // The kinds only the sound knows: the grid has no name and the editor no panel for them.
  // False for a kind the sound does not know either.
  bool soundOnly(int t, std::int64_t tick, const events::Extend& x, const PartState& part) {
    switch (x.kind) {
      case events::kind::PitchBend:
        if (counting_) bend(t, tick, part.channel, events::midiBendOf(x.value));
        return true;
      case events::kind::BendRange:
        if (counting_) parameter(t, tick, part.channel, BendRangeParameter, x.value);
        return true;
      case events::kind::Modulation:
        if (counting_) control(t, tick, part.channel, Modulation, events::midiLevelOf(x.value));
        return true;
      case events::kind::DrumChannel:
        // Channels 16-31 and modes other than drums (1) and melodic (0) mean nothing to us.
        if (x.value >= kChannels || x.mark > 1) return false;
        drumSwitch(t, tick, x.value, x.mark == 1);
        return true;
      case events::kind::MasterTune:
        // The whole instrument: every channel, whichever part plays on it; that alone does not
        // make a channel one the melody uses.
        if (counting_) {
          const std::set<int> used = out_.counts.channels;
          for (int c = 0; c < kChannels; ++c) parameter(t, tick, c, FineTuneParameter, x.value);
          out_.counts.channels = used;
        }
        return true;
      default: return false;
    }
  }

  bool percussion(int channel, std::int64_t tick) const {
    bool on = channel == events::kPercussionChannel;
    for (const auto& [at, state] : drumSwitches_[std::size_t(channel)]) {
      if (at > tick) break;
      on = state;
    }
    return on;
  }

  // General MIDI players take channel 10 for percussion and no other: percussion goes there, and
  // a melodic part there moves to a channel nothing else plays on.
  int outChannel(int channel, std::int64_t tick) const {
    if (percussion(channel, tick)) return events::kPercussionChannel;
    return channel == events::kPercussionChannel ? spare_ : channel;
  }

  void drumScale(int t, std::int64_t tick, const events::Extend& x) { drumSwitch(t, tick, x.value, x.mark != 0); }

  void drumSwitch(int t, std::int64_t tick, int channel, bool on) {
    if (scanning_) {
      drumSwitches_[std::size_t(channel)].push_back({tick, on});
      return;
    }
    if (!counting_) return;
    // What the channel was set to goes along to where it now plays.
    const ChannelMemory& memory = memory_[std::size_t(channel)];
    const int out = outChannel(channel, tick);
    if (memory.program >= 0 && !percussion(channel, tick)) sendProgram(t, tick, out, memory.program);
    for (const auto& [number, value] : memory.controls)
      addShort(t, tick, static_cast<std::uint8_t>(0xB0 | out), static_cast<std::uint8_t>(number), value);
    for (const auto& [number, value] : memory.parameters) parameter(t, tick, channel, number, value);
    if (memory.bend >= 0) bend(t, tick, channel, memory.bend);
  }

  void program(int t, std::int64_t tick, int channel, int number) {
    memory_[std::size_t(channel)].program = number;
    // A percussion channel keeps its kit; the voice waits for the channel to turn melodic.
    if (percussion(channel, tick)) return;
    sendProgram(t, tick, outChannel(channel, tick), number);
  }

  // The two voice events of a part send one program change each; at one tick only the last
  // counts, and a player would otherwise sound the voice in between for no time at all.
  void sendProgram(int t, std::int64_t tick, int out, int number) {
    auto& last = lastProgram_[std::size_t(out)];
    auto& events = tracks_[std::size_t(t) + 1];
    if (last.track == t && last.index < events.size() && events[last.index].tick == tick) {
      events[last.index].bytes[1] = static_cast<std::uint8_t>(number);
      return;
    }
    addShort(t, tick, static_cast<std::uint8_t>(0xC0 | out), static_cast<std::uint8_t>(number));
    last = {t, events.size() - 1};
  }

  void control(int t, std::int64_t tick, int channel, int number, int value, bool remembered = true) {
    if (remembered) memory_[std::size_t(channel)].controls[number] = static_cast<std::uint8_t>(value);
    addShort(t, tick, static_cast<std::uint8_t>(0xB0 | outChannel(channel, tick)), static_cast<std::uint8_t>(number),
             value);
  }

  void bend(int t, std::int64_t tick, int channel, int value) {
    memory_[std::size_t(channel)].bend = value;
    addShort(t, tick, static_cast<std::uint8_t>(0xE0 | outChannel(channel, tick)), static_cast<std::uint8_t>(value & 0x7F),
             value >> 7);
  }

  // A registered parameter: select it, set its top byte.
  void parameter(int t, std::int64_t tick, int channel, int number, int value) {
    memory_[std::size_t(channel)].parameters[number] = static_cast<std::uint8_t>(value);
    control(t, tick, channel, ParameterHigh, 0, false);
    control(t, tick, channel, ParameterLow, number, false);
    control(t, tick, channel, DataEntry, value, false);
  }

  void note(int t, int channel, std::int64_t tick, const events::Note& n, int noteLength) {
    // 3-byte notes have no velocity nor octave shift: the decoded fields are 0 there.
    if (scanning_) {
      if (channel == events::kPercussionChannel) ticksOnPercussionChannel_.push_back(tick);
      channelsWithNotes_[std::size_t(channel)] = true;
      return;
    }
    const bool drums = percussion(channel, tick);
    channel = outChannel(channel, tick);
    const int key = events::keyOf(n.pitch, n.octaveShift, drums);
    // 0 would read as a note off.
    const int velocity = noteLength == 4 ? std::max(1, n.velocity * 2) : kFixedVelocity;
    if (key < 0 || key > 127) {
      ++out_.counts.droppedNotes;
      return;
    }
    ++out_.counts.notes;
    const std::int64_t off = tick + std::max<int>(1, n.gate);
    const auto status = static_cast<std::uint8_t>(channel);
    addShort(t, tick, 0x90 | status, static_cast<std::uint8_t>(key), velocity);
    tracks_[std::size_t(t) + 1].back().noteOnTick = tick;
    addShort(t, off, 0x80 | status, static_cast<std::uint8_t>(key), 0);
    tracks_[std::size_t(t) + 1].back().noteOnTick = tick;
    tracks_[std::size_t(t) + 1].back().noteOff = true;
  }

  // A jump goes back to the destination as a loop's end goes back to its start: count 0 once,
  // count n n - 1 times. Each jump event keeps its own count; one pointing forward is a marker only.
  void jump(int t, std::int64_t tick, const events::Extend& x, std::size_t& i, std::size_t destination,
            std::map<std::size_t, int>& jumpsLeft, std::vector<LoopFrame>& loops) {
    marker(t, tick, "JUMP count=" + std::to_string(x.value));
    ++out_.counts.jumps;
    if (!options_.unroll || destination > i) return;
    int& left = jumpsLeft.try_emplace(i, x.value == 0 ? 1 : x.value - 1).first->second;
    if (left <= 0) return;
    if (played_ >= kMaxUnrolledEvents) return refuseRepeat(tick);
    --left;
    // Loops that start on the way open again when their start is passed.
    std::erase_if(loops, [destination](const LoopFrame& f) { return f.start >= destination; });
    // The loop's ++i lands on the destination; from 0 the index wraps around, as unsigned may.
    i = destination - 1;
  }

  void loopPoint(int t, std::int64_t tick, const events::Extend& x, std::size_t& i, std::vector<LoopFrame>& loops) {
    const int id = x.id, count = x.value;
    const std::string fields = " id=" + std::to_string(id) + " count=" + std::to_string(count);
    if (x.mark != 1) {
      marker(t, tick, "LOOP_START" + fields);
      ++out_.counts.loops;
      if (options_.unroll) loops.push_back({id, i, count == 0 ? 1 : count - 1});
      return;
    }
    marker(t, tick, "LOOP_END" + fields);
    // An end closes the innermost open loop of its id and any opened inside it; an end without
    // a start is only a marker.
    const auto open = std::find_if(loops.rbegin(), loops.rend(), [id](const LoopFrame& f) { return f.id == id; });
    if (open == loops.rend()) return;
    loops.erase(open.base(), loops.end());
    if (loops.back().playsLeft > 0 && played_ >= kMaxUnrolledEvents) refuseRepeat(tick);
    if (loops.back().playsLeft > 0 && played_ < kMaxUnrolledEvents) {
      --loops.back().playsLeft;
      // The next pass starts with the event after the start point, right after this end.
      i = loops.back().start;
    } else {
      loops.pop_back();
    }
  }

  void refuseRepeat(std::int64_t tick) {
    if (stoppedTick_ < 0 || tick < stoppedTick_) stoppedTick_ = tick;
  }

  // The tick at which the melody has played this long; past the end, a tick past the last event.
  std::int64_t tickAtSeconds(double seconds) const {
    double at = 0;
    for (std::size_t i = 0; i < tempos_.size(); ++i) {
      const bool last = i + 1 == tempos_.size();
      const double span = last ? 0 : double(tempos_[i + 1].tick - tempos_[i].tick) * tempos_[i].secondsPerTick;
      if (last || at + span > seconds)
        return tempos_[i].tick + static_cast<std::int64_t>(std::floor((seconds - at) / tempos_[i].secondsPerTick));
      at += span;
    }
    return 0;
  }

  // Repeats that would carry the melody past `seconds` end it there: what sounds then is
  // released, nothing later is played. A melody as long without any repeat is left whole (and
  // too long to render).
  void stopAtLength(double seconds) {
    if (played_ <= totalEvents_) return;
    std::int64_t end = 0;
    for (const auto& events : tracks_)
      for (const MidiEvent& e : events) end = std::max(end, e.tick);
    if (secondsAt(end) <= seconds) return;
    const std::int64_t cut = tickAtSeconds(seconds);
    for (auto& events : tracks_) {
      std::erase_if(events, [cut](const MidiEvent& e) { return e.noteOff ? e.noteOnTick >= cut : e.tick >= cut; });
      for (MidiEvent& e : events) e.tick = std::min(e.tick, cut);
    }
    for (auto& e : trackEnds_) e = std::min(e, cut);
    std::erase_if(tempos_, [cut](const TempoPoint& p) { return p.tick > cut; });
    std::erase_if(out_.cues, [cut](const Cue& c) { return c.tick > cut; });
    std::erase_if(out_.audio, [cut](const AudioEvent& a) { return a.tick >= cut; });
    if (!out_.counts.repeatsStopped || out_.counts.repeatsStopped->atSeconds > seconds)
      out_.counts.repeatsStopped = RepeatsStopped{secondsAt(cut), kStoppedByLength};
  }

  // Every tick made a tick of the time grid, where one tempo holds from start to end.
  void toTimeGrid() {
    std::vector<double> startSeconds(tempos_.size(), 0);
    for (std::size_t i = 1; i < tempos_.size(); ++i)
      startSeconds[i] = startSeconds[i - 1] + double(tempos_[i].tick - tempos_[i - 1].tick) * tempos_[i - 1].secondsPerTick;
    constexpr double kTicksPerSecond = 1e6 * kTimeGridDivision / kTimeGridMicrosPerQuarter;
    const auto grid = [&](std::int64_t tick) {
      const auto after = std::upper_bound(tempos_.begin(), tempos_.end(), tick,
                                          [](std::int64_t t, const TempoPoint& p) { return t < p.tick; });
      if (after == tempos_.begin()) return tick;
      const std::size_t i = std::size_t(after - tempos_.begin()) - 1;
      const double seconds = startSeconds[i] + double(tick - tempos_[i].tick) * tempos_[i].secondsPerTick;
      return static_cast<std::int64_t>(std::llround(seconds * kTicksPerSecond));
    };
    for (auto& events : tracks_)
      for (MidiEvent& e : events) {
        e.tick = grid(e.tick);
        if (e.noteOnTick >= 0) e.noteOnTick = grid(e.noteOnTick);
      }
    for (auto& e : trackEnds_) e = grid(e);
    for (Cue& c : out_.cues) c.tick = grid(c.tick);
    division_ = kTimeGridDivision;
  }

  // Leaves out what comes before the first sounding of fromEvent and moves the rest forward.
  void startAtEvent() {
    const auto [track, index] = *options_.fromEvent;
    std::int64_t from = -1;
    for (const Cue& cue : out_.cues)
      if (cue.track == track && cue.event == index) {
        from = cue.tick;
        break;
      }
    if (from <= 0) return;
    // Recorded sound started before the point is not heard from its middle; the lanes' levels and
    // pans set before it hold from the start (the mix takes a time before 0 as 0).
    const double fromSeconds = secondsAt(from);
    std::erase_if(out_.audio, [from](const AudioEvent& a) {
      return a.tick < from && (a.command == events::audio::Start || a.command == events::audio::Stop);
    });
    for (AudioEvent& a : out_.audio) a.seconds -= fromSeconds;
    for (auto& events : tracks_) {
      std::vector<MidiEvent> kept;
      kept.reserve(events.size());
      for (MidiEvent& e : events) {
        if (e.noteOnTick >= 0 && e.noteOnTick < from) continue;
        if (e.tick < from) {
          if (e.blob >= 0 && !blobs_[std::size_t(e.blob)].empty() && blobs_[std::size_t(e.blob)][0] == 0xFF) continue;
          e.tick = 0;
        } else {
          e.tick -= from;
        }
        if (e.noteOnTick >= 0) e.noteOnTick -= from;
        kept.push_back(e);
      }
      events.swap(kept);
    }
    std::vector<TempoPoint> tempos;
    for (TempoPoint p : tempos_) {
      p.tick = std::max<std::int64_t>(0, p.tick - from);
      tempos.push_back(p);
    }
    tempos_.swap(tempos);
    std::vector<Cue> cues;
    for (Cue c : out_.cues)
      if (c.tick >= from) cues.push_back({c.tick - from, c.track, c.event});
    out_.cues.swap(cues);
    for (auto& e : trackEnds_) e = std::max<std::int64_t>(0, e - from);
  }

  double secondsAt(std::int64_t tick) const {
    double seconds = 0;
    for (std::size_t i = 0; i < tempos_.size() && tempos_[i].tick < tick; ++i) {
      const std::int64_t until = i + 1 < tempos_.size() ? std::min(tick, tempos_[i + 1].tick) : tick;
      seconds += double(until - tempos_[i].tick) * tempos_[i].secondsPerTick;
    }
    return seconds;
  }

  void write() {
    ByteString& smf = out_.smf;
    smf = smf::fileHeader(1, static_cast<std::uint16_t>(tracks_.size()), static_cast<std::uint16_t>(division_));

    std::vector<MidiEvent> names;
    if (!melody_.copyright.empty()) names.push_back(blobEvent(0, metaEvent(0x02, melody_.copyright)));
    if (!melody_.title.empty()) names.push_back(blobEvent(0, metaEvent(0x03, melody_.title)));
    tracks_[0].insert(tracks_[0].begin(), names.begin(), names.end());

    for (std::size_t k = 0; k < tracks_.size(); ++k) {
      auto& events = tracks_[k];
      // Ends before starts at the same tick, so a note struck again is not cut by its old end.
      const auto before = [](const MidiEvent& a, const MidiEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.noteOff > b.noteOff;
      };
      if (!std::is_sorted(events.begin(), events.end(), before)) std::stable_sort(events.begin(), events.end(), before);
      ByteString body;
      body.reserve(events.size() * 4 + 8);
      std::int64_t last = 0;
      for (const MidiEvent& e : events) {
        appendVarLength(body, std::uint64_t(e.tick - last));
        last = e.tick;
        if (e.blob >= 0) {
          const ByteString& b = blobs_[std::size_t(e.blob)];
          body.insert(body.end(), b.begin(), b.end());
        } else {
          body.insert(body.end(), e.bytes.begin(), e.bytes.begin() + e.size);
        }
      }
      smf::appendEndOfTrack(body, std::uint64_t(std::max(last, trackEnds_[k]) - last));
      smf::appendTrackChunk(smf, body);
    }
  }

  const Melody& melody_;
  const ExportOptions& options_;
  Conversion out_;
  std::vector<std::vector<MidiEvent>> tracks_;
  std::vector<std::int64_t> trackEnds_;
  std::vector<ByteString> blobs_;
  std::vector<TempoPoint> tempos_;
  std::int64_t end_ = 0;
  std::int64_t played_ = 0;  // events walked, repeats included
  std::int64_t totalEvents_ = 0;  // the events of the melody, each once
  std::int64_t stoppedTick_ = -1;  // the first repeat the event limit refused
  int division_ = kDivision;
  struct LastProgram {
    int track = -1;
    std::size_t index = 0;
  };
  std::array<LastProgram, kChannels> lastProgram_{};
  bool counting_ = true;
  // The first walk of planDrums: nothing is written.
  bool scanning_ = false;
  std::array<std::vector<std::pair<std::int64_t, bool>>, kChannels> drumSwitches_;
  std::vector<std::int64_t> ticksOnPercussionChannel_;
  std::array<bool, kChannels> channelsWithNotes_{};
  // Where a melodic part of channel 10 plays; channel 10 itself when all sixteen play notes.
  int spare_ = events::kPercussionChannel;
  std::array<ChannelMemory, kChannels> memory_;
};

}  // namespace

Melody melodyOf(const clsMLD& doc, std::optional<int> noteLength, const std::optional<EditedTrack>& edited) {
  if (!doc.hasBeenRead()) throw Failure::of(err::InvalidCall, "(MLD)");
  const OtherChunk* cuep = doc.otherChunk("cuep");
  Melody melody = melodyOfTracks(*doc.MLDTracData, noteLength.value_or(info::noteLengthOf(doc.MLDNote)),
                                 info::exstOf(doc.MLDExst), cuep ? &cuep->value : nullptr, edited);
  if (doc.MLDTitlEnabled) melody.title = doc.MLDTitl;
  if (doc.MLDCopyEnabled) melody.copyright = doc.MLDCopy;
  melody.audioChunks = doc.MLDAudioChunks;
  return melody;
}

Melody melodyOfTracks(const TrackCollection& tracks, int noteLength, std::uint32_t exst, const ByteString* cuep,
                      const std::optional<EditedTrack>& edited) {
  Melody melody;
  melody.noteLength = noteLength;
  melody.exst = exst;
  const events::Framing framing{melody.noteLength, melody.exst};
  for (std::size_t t = 0; tracks.contains(TrackCollection::keyFor(t)); ++t) {
    if (edited && edited->track == t) {
      // What an editor holds is whole events, whatever the stored chunk was.
      melody.tracks.push_back(edited->events);
      melody.damage.push_back(std::nullopt);
      continue;
    }
    const ByteString& chunk = tracks.item(TrackCollection::keyFor(t));
    melody.tracks.push_back(walkTrack(chunk, framing));
    melody.damage.push_back(damageOf(chunk, melody.tracks.back(), framing));
  }
  if (melody.tracks.empty()) throw Failure::of(err::IndexOutOfRange, "(trac0)");
  if (cuep) melody.cuePoints = cuePointsOf(*cuep, melody.tracks);
  return melody;
}

Conversion convert(const Melody& melody, const ExportOptions& options) {
  return Converter(melody, options).run();
}

}  // namespace tonekit::sound
