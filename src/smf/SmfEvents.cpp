#include "smf/SmfEvents.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string>

#include "core/Failure.h"

namespace tonekit::smf {
namespace {

constexpr std::array<std::uint8_t, 4> kHeaderTag = {'M', 'T', 'h', 'd'};

std::uint32_t be32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}
std::uint16_t be16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }

// Data bytes a channel message carries after its status byte.
int dataBytes(std::uint8_t status) {
  const std::uint8_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

class TrackReader {
 public:
  TrackReader(const std::uint8_t* begin, std::size_t size, std::uint16_t track, std::vector<Event>& out)
      : p_(begin), end_(begin + size), track_(track), out_(out) {}

  // False when the track stopped at something that is not an event, or ran out mid-event.
  bool read() {
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    while (p_ < end_) {
      std::uint32_t delta = 0;
      if (!quantity(delta)) return false;
      tick += delta;
      if (p_ >= end_) return false;
      Event e;
      e.tick = tick;
      e.track = track_;
      std::uint8_t status = *p_;
      if (status & 0x80) {
        ++p_;
      } else if (running) {
        status = running;  // running status: the byte is already the first data byte
      } else {
        return false;
      }
      e.status = status;
      if (status < 0xF0) {
        running = status;
        const int n = dataBytes(status);
        if (end_ - p_ < n || (p_[0] & 0x80) || (n == 2 && (p_[1] & 0x80))) return false;
        e.data1 = p_[0];
        if (n == 2) e.data2 = p_[1];
        p_ += n;
      } else if (status == 0xFF || status == 0xF0 || status == 0xF7) {
        // Meta and system exclusive events cancel running status.
        running = 0;
        if (status == 0xFF) {
          if (p_ >= end_) return false;
          e.data1 = *p_++;
        }
        std::uint32_t length = 0;
        if (!quantity(length) || length > static_cast<std::size_t>(end_ - p_)) return false;
        e.payload.assign(p_, p_ + length);
        p_ += length;
        if (status == 0xFF && e.data1 == 0x2F) return true;  // end of track: the rest is no event
      } else {
        return false;  // system common and real-time bytes have no place in a file
      }
      out_.push_back(std::move(e));
    }
    // A track without its end-of-track event is taken as it is; it lost nothing readable.
    return true;
  }

 private:
  // A variable-length quantity: at most four bytes, seven bits each.
  bool quantity(std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      if (p_ >= end_) return false;
      const std::uint8_t b = *p_++;
      value = value << 7 | (b & 0x7Fu);
      if (!(b & 0x80)) return true;
    }
    return false;
  }

  const std::uint8_t* p_;
  const std::uint8_t* end_;
  std::uint16_t track_;
  std::vector<Event>& out_;
};

}  // namespace

Song readSong(const ByteString& data) {
  const auto found = std::search(data.begin(), data.end(), kHeaderTag.begin(), kHeaderTag.end());
  if (found == data.end()) throw Failure::of(err::InvalidCall, "(MIDIファイルのヘッダ\"MThd\"がありません)");
  const std::size_t h = static_cast<std::size_t>(found - data.begin());
  if (data.size() - h < 14) throw Failure::of(err::InputPastEnd, "(MIDIヘッダが途中で切れています)");
  const std::uint8_t* head = data.data() + h;

  Song song;
  song.format = be16(head + 8);
  const std::uint16_t division = be16(head + 12);
  if (song.format == 2)
    throw Failure::of(err::InvalidCall, "(フォーマット2のMIDIファイル（独立した複数のシーケンス）は変換できません)");
  if (song.format > 2)
    throw Failure::of(err::InvalidCall,
                      "(MIDIファイルのフォーマット " + std::to_string(song.format) + " は変換できません)");
  if (division & 0x8000) throw Failure::of(err::InvalidCall, "(時間単位がSMPTE形式のMIDIファイルは変換できません)");
  if (division == 0) throw Failure::of(err::InvalidCall, "(MIDIファイルの時間単位が0です)");
  song.division = division;

  // The header's own length says where the chunks begin; anything shorter than 6 is not trusted.
  const std::size_t headerLength = std::max<std::uint32_t>(be32(head + 4), 6);
  std::size_t pos = h + 8 + std::min<std::size_t>(headerLength, data.size() - h - 8);
  std::vector<std::vector<Event>> tracks;
  while (data.size() - pos >= 8) {
    const std::uint8_t* chunk = data.data() + pos;
    const std::size_t declared = be32(chunk + 4);
    const std::size_t available = data.size() - pos - 8;
    const std::size_t length = std::min(declared, available);
    // Chunks of other kinds may stand between the tracks; they are passed over.
    if (std::equal(chunk, chunk + 4, "MTrk")) {
      if (tracks.size() == 0xFFFF) break;
      auto& events = tracks.emplace_back();
      events.reserve(length / 4);  // most events take three or four bytes
      TrackReader reader(chunk + 8, length, static_cast<std::uint16_t>(tracks.size() - 1), events);
      if (!reader.read() || declared > available) ++song.brokenTracks;
    }
    pos += 8 + length;
  }
  if (tracks.empty()) throw Failure::of(err::InvalidCall, "(トラック\"MTrk\"がありません)");
  song.trackCount = tracks.size();

  // Each track is in time order already: merging pairs of neighbours, the earlier one winning
  // ties, keeps track and file order at equal ticks.
  auto byTick = [](const Event& a, const Event& b) { return a.tick < b.tick; };
  while (tracks.size() > 1) {
    std::vector<std::vector<Event>> merged((tracks.size() + 1) / 2);
    for (std::size_t i = 0; i < tracks.size(); i += 2) {
      auto& out = merged[i / 2];
      if (i + 1 == tracks.size()) {
        out = std::move(tracks[i]);
        continue;
      }
      out.reserve(tracks[i].size() + tracks[i + 1].size());
      std::merge(std::make_move_iterator(tracks[i].begin()), std::make_move_iterator(tracks[i].end()),
                 std::make_move_iterator(tracks[i + 1].begin()), std::make_move_iterator(tracks[i + 1].end()),
                 std::back_inserter(out), byTick);
    }
    tracks = std::move(merged);
  }
  song.events = std::move(tracks.front());

  song.tempo.push_back({});
  for (const Event& e : song.events) {
    if (e.status != 0xFF || e.data1 != 0x51 || e.payload.size() != 3) continue;
    const std::uint32_t micros = std::uint32_t{e.payload[0]} << 16 | std::uint32_t{e.payload[1]} << 8 | e.payload[2];
    if (micros == 0) continue;
    if (song.tempo.back().tick == e.tick)
      song.tempo.back().microsPerQuarter = micros;
    else
      song.tempo.push_back({e.tick, micros});
  }
  return song;
}

}  // namespace tonekit::smf
