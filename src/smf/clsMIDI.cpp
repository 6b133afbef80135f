#include "smf/clsMIDI.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "core/CodePage.h"
#include "core/Failure.h"
#include "core/SafeFile.h"

namespace tonekit {
namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

template <std::size_t N>
std::size_t findBytes(const ByteString& data, std::size_t from, const std::array<std::uint8_t, N>& pattern) {
  if (from >= data.size()) return kNotFound;
  const auto start = data.begin() + static_cast<std::ptrdiff_t>(from);
  const auto hit = std::search(start, data.end(), pattern.begin(), pattern.end());
  return hit == data.end() ? kNotFound : static_cast<std::size_t>(hit - data.begin());
}

constexpr std::array<std::uint8_t, 4> kHeaderTag = {'M', 'T', 'h', 'd'};
constexpr std::array<std::uint8_t, 4> kTrackTag = {'M', 'T', 'r', 'k'};
constexpr std::array<std::uint8_t, 2> kTextEvent = {0xFF, 0x01};
constexpr std::array<std::uint8_t, 2> kCopyrightEvent = {0xFF, 0x02};
constexpr std::array<std::uint8_t, 2> kTrackNameEvent = {0xFF, 0x03};

// The text of the meta event starting at `event` (FF, type, length, text). The length is a
// variable-length quantity; whatever it claims, only the bytes really there are taken.
ByteString metaText(const ByteString& data, std::size_t event) {
  std::size_t pos = std::min(event + 2, data.size());
  std::uint64_t length = 0;
  while (pos < data.size()) {
    const std::uint8_t b = data[pos++];
    // Saturating at the data size keeps an endless run of continuation bytes from overflowing.
    length = std::min<std::uint64_t>((length << 7) | (b & 0x7Fu), data.size());
    if ((b & 0x80u) == 0) break;
  }
  const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(length, data.size() - pos));
  const auto first = data.begin() + static_cast<std::ptrdiff_t>(pos);
  return ByteString(first, first + static_cast<std::ptrdiff_t>(take));
}

}  // namespace

std::string clsMIDI::FileNameOnly(const std::string& strPathName) {
  // Both separators: the paths come from Windows lists as well as from this system.
  const auto slash = strPathName.find_last_of("\\/");
  return slash == std::string::npos ? strPathName : strPathName.substr(slash + 1);
}

void clsMIDI::ParseMIDI() {
  if (MIDIFile.empty()) return;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(std::filesystem::path(MIDIFile), ec)) return;
  ParseMIDIData(readWholeFile(MIDIFile));
}

void clsMIDI::ParseMIDIData(const ByteString& data) {
  const std::size_t h = findBytes(data, 0, kHeaderTag);
  if (h == kNotFound) return;

  // The header's own length field is not trusted; the three numbers stand right after it.
  auto headerNumber = [&](std::size_t offset, const char* name) -> std::int16_t {
    if (data.size() < offset + 2)
      throw Failure::of(err::IndexOutOfRange, std::string("(MIDIヘッダが途中で切れています: ") + name + ")");
    std::int64_t value = 0;
    calc_.CalcBYTE(midBytes(data, static_cast<std::int64_t>(offset) + 1, 2), value);
    if (value > 32767) throw Failure::of(err::Overflow, "(" + std::string(name) + " = " + std::to_string(value) + ")");
    return static_cast<std::int16_t>(value);
  };
  MIDIFormat = headerNumber(h + 8, "MIDIFormat");
  MIDITracks = headerNumber(h + 10, "MIDITracks");
  MIDIDivision = headerNumber(h + 12, "MIDIDivision");

  const std::size_t t1 = findBytes(data, 0, kTrackTag);
  if (t1 == kNotFound) throw Failure::of(err::InvalidCall, "(トラック\"MTrk\"がありません)");
  // Only the first track is searched for texts: the second one's start ends the search.
  const std::size_t t2 = findBytes(data, t1 + kTrackTag.size(), kTrackTag);
  auto inFirstTrack = [&](std::size_t pos) { return pos != kNotFound && pos < t2; };

  // The raw bytes are scanned rather than the events walked, so a damaged track still yields
  // its name; the earlier of a text and a track-name event wins.
  std::size_t titleAt = kNotFound;
  if (const std::size_t text = findBytes(data, t1, kTextEvent); inFirstTrack(text)) titleAt = text;
  if (const std::size_t name = findBytes(data, t1, kTrackNameEvent); inFirstTrack(name) && name < titleAt)
    titleAt = name;
  // Reset first, so that a reader used for a second file never keeps the first file's texts.
  MIDITitle = titleAt == kNotFound ? std::string() : decodeCp932(metaText(data, titleAt));
  if (MIDITitle.empty()) MIDITitle = FileNameOnly(MIDIFile);

  const std::size_t copyAt = findBytes(data, t1, kCopyrightEvent);
  MIDICopy = inFirstTrack(copyAt) ? decodeCp932(metaText(data, copyAt)) : std::string();
  if (MIDICopy.empty()) MIDICopy = "-";
}

}  // namespace tonekit
