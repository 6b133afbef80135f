// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "smf/SmfEvents.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string>

#include "base/BigEndian.h"
#include "base/Failure.h"
#include "base/Translate.h"

namespace tonekit::smf {
namespace {

constexpr std::array<std::uint8_t, 4> kHeaderTag = {'M', 'T', 'h', 'd'};
constexpr std::array<std::uint8_t, 4> kTrackTag = {'M', 'T', 'r', 'k'};
constexpr std::uint64_t kSaturated = std::uint64_t{1} << 40;

template <std::size_t N>
std::optional<std::size_t> findBytes(const ByteString& data, std::size_t from, const std::array<std::uint8_t, N>& pattern) {
  if (from >= data.size()) return std::nullopt;
  const auto hit = std::search(data.begin() + static_cast<std::ptrdiff_t>(from), data.end(), pattern.begin(), pattern.end());
  if (hit == data.end()) return std::nullopt;
  return static_cast<std::size_t>(hit - data.begin());
}

// The text of the meta event starting at `event` (FF, type, length, text).
ByteString metaText(const ByteString& data, std::size_t event) {
  const std::size_t at = std::min(event + 2, data.size());
  const Quantity length = readQuantity(data.data() + at, data.data() + data.size());
  const std::size_t pos = at + length.size;
  const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(length.value, data.size() - pos));
  const auto first = data.begin() + static_cast<std::ptrdiff_t>(pos);
  return ByteString(first, first + static_cast<std::ptrdiff_t>(take));
}

std::uint32_t be32(const std::uint8_t* p) { return static_cast<std::uint32_t>(readBigEndian(p, 4)); }
std::uint16_t be16(const std::uint8_t* p) { return static_cast<std::uint16_t>(readBigEndian(p, 2)); }

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
  // Inside an event a variable-length quantity takes at most four bytes.
  bool quantity(std::uint32_t& value) {
    const Quantity q = readQuantity(p_, end_);
    if (!q.complete || q.size > 4) return false;
    value = static_cast<std::uint32_t>(q.value);
    p_ += q.size;
    return true;
  }

  const std::uint8_t* p_;
  const std::uint8_t* end_;
  std::uint16_t track_;
  std::vector<Event>& out_;
};

}  // namespace

Quantity readQuantity(const std::uint8_t* p, const std::uint8_t* end) {
  Quantity q;
  while (p + q.size < end) {
    const std::uint8_t b = p[q.size++];
    q.value = std::min(q.value << 7 | (b & 0x7Fu), kSaturated);
    if (!(b & 0x80)) {
      q.complete = true;
      break;
    }
  }
  return q;
}

std::optional<std::size_t> findHeader(const ByteString& data) { return findBytes(data, 0, kHeaderTag); }

std::optional<SongTexts> songTexts(const ByteString& data) {
  const auto t1 = findBytes(data, 0, kTrackTag);
  if (!t1) return std::nullopt;
  const auto t2 = findBytes(data, *t1 + kTrackTag.size(), kTrackTag);
  const auto inFirstTrack = [&](std::optional<std::size_t> pos) { return pos && (!t2 || *pos < *t2); };
  const auto first = [&](std::uint8_t type) {
    const auto at = findBytes(data, *t1, std::array<std::uint8_t, 2>{0xFF, type});
    return inFirstTrack(at) ? at : std::nullopt;
  };
  SongTexts texts;
  const auto text = first(0x01), name = first(0x03);
  if (text || name) texts.title = metaText(data, std::min(text.value_or(data.size()), name.value_or(data.size())));
  if (const auto copy = first(0x02)) texts.copyright = metaText(data, *copy);
  return texts;
}

Song readSong(const ByteString& data) {
  const auto found = findHeader(data);
  if (!found) throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(MIDIファイルのヘッダ\"MThd\"がありません)"));
  const std::size_t h = *found;
  if (data.size() - h < 14) throw Failure::of(err::InputPastEnd, TKT("TONEKIT", "(MIDIヘッダが途中で切れています)"));
  const std::uint8_t* head = data.data() + h;

  Song song;
  song.format = be16(head + 8);
  const std::uint16_t division = be16(head + 12);
  if (song.format == 2)
    throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(フォーマット2のMIDIファイル（独立した複数のシーケンス）は変換できません)"));
  if (song.format > 2)
    throw Failure::of(err::InvalidCall,
                      TKT("TONEKIT", "(MIDIファイルのフォーマット ") + std::to_string(song.format) + TKT("TONEKIT", " は変換できません)"));
  if (division & 0x8000) throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(時間単位がSMPTE形式のMIDIファイルは変換できません)"));
  if (division == 0) throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(MIDIファイルの時間単位が0です)"));
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
  if (tracks.empty()) throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(トラック\"MTrk\"がありません)"));
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
    const auto micros = static_cast<std::uint32_t>(readBigEndian(e.payload.data(), 3));
    if (micros == 0) continue;
    if (song.tempo.back().tick == e.tick)
      song.tempo.back().microsPerQuarter = micros;
    else
      song.tempo.push_back({e.tick, micros});
  }
  return song;
}

}  // namespace tonekit::smf
