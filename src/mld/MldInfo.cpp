// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "mld/MldInfo.h"

#include <algorithm>

#include "base/CodePage.h"
#include "base/Failure.h"
#include "base/clsCalcUtil.h"
#include "mld/clsMLD.h"
#include "base/Translate.h"

namespace tonekit::info {

namespace {

std::uint8_t firstByte(const ByteString& bytes, const char* what) {
  if (bytes.empty()) throw Failure::of(err::IndexOutOfRange, std::string("(") + what + TKT("TONEKIT", "が空です)"));
  return bytes[0];
}

std::optional<int> choiceIn(int value, int first, int last) {
  if (value < first || value > last) return std::nullopt;
  return value - first;
}

}  // namespace

HeaderFacts headerFacts(const clsMLD& doc) {
  const clsCalcUtil calc;
  HeaderFacts facts;
  calc.CalcDWORD(doc.MLDFileLength, facts.fileLength);
  calc.CalcBYTE(doc.MLDLengthToTrac, facts.lengthToTrac);
  facts.trackCount = firstByte(doc.MLDTracCount, TKT("TONEKIT", "トラック数"));
  facts.majorType = firstByte(doc.MLDMajortType, TKT("TONEKIT", "メジャータイプ"));
  facts.minorType = firstByte(doc.MLDMinerType, TKT("TONEKIT", "マイナータイプ"));
  return facts;
}

std::uint8_t trackCountOf(const clsMLD& doc) { return doc.MLDTracCount.empty() ? 0 : doc.MLDTracCount[0]; }

std::optional<int> majorChoice(std::uint8_t majorType) { return choiceIn(majorType, 1, 2); }
std::optional<int> minorChoice(std::uint8_t minorType) { return choiceIn(minorType, 0, 2); }
std::optional<int> trackCountChoice(std::uint8_t trackCount) { return choiceIn(trackCount, 1, 4); }

SorcFlags decodeSorc(const ByteString& value) {
  const std::uint8_t b = firstByte(value, TKT("TONEKIT", "\"sorc\"の値"));
  SorcFlags flags;
  const unsigned source = (b & 0xFEu) / 2;
  if (source <= 2) flags.source = static_cast<Source>(source);
  flags.copyrighted = (b & 1) != 0;
  return flags;
}

ByteString encodeSorc(const SorcFlags& flags) {
  const int source = flags.source ? static_cast<int>(*flags.source) : 0;
  return {static_cast<std::uint8_t>(source * 2 + (flags.copyrighted ? 1 : 0))};
}

int noteLengthOf(const ByteString& note) { return note.size() >= 2 && note[1] == 1 ? 4 : 3; }

int noteLengthOfChunk(const ByteString& note) {
  if (note.size() < 2) throw Failure::of(err::IndexOutOfRange, TKT("TONEKIT", "(\"note\"の値が2バイトに足りません)"));
  return noteLengthOf(note);
}

std::uint32_t exstOf(const ByteString& exst) {
  std::uint64_t value = 0;
  for (std::uint8_t byte : exst) value = std::min<std::uint64_t>(value << 8 | byte, 0xFFFFFFFFu);
  return static_cast<std::uint32_t>(value);
}

ByteString noteValue(int noteLength) { return {0x00, static_cast<std::uint8_t>(noteLength == 4 ? 1 : 0)}; }

TextChunk::TextChunk(ByteString bytes) : LoadedValue(bytes, decodeCp932(bytes)) {}

ByteString TextChunk::bytesFor(const std::string& text) const {
  if (keeps(text)) return read();
  return encodeCp932(text).bytes;
}

std::optional<std::string> otherChunkText(const ByteString& value) {
  if (value.empty() || !roundTripsCp932(value)) return std::nullopt;
  std::string text = decodeCp932(value);
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7F) return std::nullopt;
  return text;
}

std::optional<AudioInfo> decodeAinf(const ByteString& value) {
  if (value.empty()) return std::nullopt;
  return AudioInfo{value[0] & 0x3F, (value[0] & 0x80) != 0};
}

std::vector<std::int64_t> decodeCuep(const ByteString& value) {
  std::vector<std::int64_t> offsets;
  const clsCalcUtil calc;
  for (std::size_t at = 0; at + 4 <= value.size(); at += 4) {
    std::int64_t offset = 0;
    calc.CalcDWORD(midBytes(value, std::int64_t(at) + 1, 4), offset);
    offsets.push_back(offset);
  }
  return offsets;
}

namespace {

const LaterTag* laterTag(std::string_view tag) {
  for (const LaterTag& later : kLaterTags)
    if (later.tag == tag) return &later;
  return nullptr;
}

}  // namespace

bool isLaterTag(std::string_view tag) { return laterTag(tag) != nullptr; }

std::string otherChunkMeaning(const OtherChunk& chunk) {
  const LaterTag* later = laterTag(chunk.tag);
  if (!later) return {};
  std::string words = translate(kTextContext, later->name);
  if (chunk.tag == "ainf") {
    if (const auto audio = decodeAinf(chunk.value))
      words += ": adat " + std::to_string(audio->audioChunks) + TKT("TONEKIT", "個") + (audio->audioOnly ? TKT("TONEKIT", "、音声のみ") : "");
  } else if (chunk.tag == "cuep") {
    const std::vector<std::int64_t> offsets = decodeCuep(chunk.value);
    for (std::size_t t = 0; t < offsets.size(); ++t)
      words += (t == 0 ? ": " : ", ") + TrackCollection::keyFor(t) + " " + std::to_string(offsets[t]);
  }
  return words;
}

std::vector<std::size_t> audioChunkSizes(const clsMLD& doc) {
  std::vector<std::size_t> sizes;
  for (const ByteString& chunk : doc.MLDAudioChunks) sizes.push_back(chunk.size());
  return sizes;
}

}  // namespace tonekit::info
