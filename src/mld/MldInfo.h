// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// What the information part of an MLD file means to the user: the header's numbers, the "sorc"
// flags, the note length of the "note" chunk, text chunks as bytes and text, and the rule that a
// value the user left as it was loaded is saved with the bytes it was read with.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/ByteString.h"
#include "base/Translate.h"

namespace tonekit {
class clsMLD;
struct OtherChunk;
}

namespace tonekit::info {

// The header numbers of a document that has been read.
struct HeaderFacts {
  std::int64_t fileLength = 0;
  std::int64_t lengthToTrac = 0;
  std::uint8_t majorType = 0;
  std::uint8_t minorType = 0;
  std::uint8_t trackCount = 0;
};
// Raises 9 when a field is missing (a document never read).
HeaderFacts headerFacts(const clsMLD& doc);

// The header's track count; 0 for a document never read.
std::uint8_t trackCountOf(const clsMLD& doc);

// The choice a header value stands for, counted from 0, or nothing for a value the format does
// not know: major types 1 (ring melody) and 2 (MFi2), minor types 0-2, 1-4 tracks.
std::optional<int> majorChoice(std::uint8_t majorType);
// Major types 3 to 5: files of the later format versions, read and kept as they are.
inline bool laterMajorType(std::uint8_t majorType) { return majorType >= 3 && majorType <= 5; }
std::optional<int> minorChoice(std::uint8_t minorType);
std::optional<int> trackCountChoice(std::uint8_t trackCount);

// The "sorc" byte: where the melody came from (bits 1-2) and whether it is copyrighted (bit 0).
enum class Source { Download = 0, TerminalInput = 1, ExternalInterface = 2 };
struct SorcFlags {
  std::optional<Source> source;  // nothing for the one bit pattern (3) without a meaning
  bool copyrighted = false;
};
// Raises 9 for an empty value.
SorcFlags decodeSorc(const ByteString& value);
// No source is written as a download.
ByteString encodeSorc(const SorcFlags& flags);

// One note length for all tracks of a file: 4 when the "note" value's second byte is 1, else 3
// (an empty value, no "note" chunk, included).
int noteLengthOf(const ByteString& note);
// The same for a "note" chunk the file has; raises 9 when its value is shorter than 2 bytes.
int noteLengthOfChunk(const ByteString& note);
// 4 stays 4; every other note length is handled as 3.
inline int normalNoteLength(int noteLength) { return noteLength == 4 ? 4 : 3; }
// The "exst" value: its bytes as one big-endian number, 0 for an empty value (no "exst" chunk);
// a number beyond 32 bits counts as the largest.
std::uint32_t exstOf(const ByteString& exst);
// The "note" value for a note length.
ByteString noteValue(int noteLength);

// A value as it was loaded: the bytes read and what its editor stood for right after the load
// (Shown: the text, or the encoded choice). What the user leaves as it was loaded goes back byte
// for byte, so text that does not decode cleanly, or a byte the choices cannot show, survives.
template <class Shown>
class LoadedValue {
 public:
  LoadedValue(ByteString read, Shown shown) : read_(std::move(read)), shown_(std::move(shown)) {}
  const ByteString& read() const { return read_; }
  const Shown& shown() const { return shown_; }
  // Whether the editor still stands for what the load showed: then the bytes read go back.
  bool keeps(const Shown& now) const { return now == shown_; }
  // The bytes to save while the editor stands for `now`, which encodes to `encoded`.
  ByteString bytesFor(const Shown& now, ByteString encoded) const { return keeps(now) ? read_ : encoded; }

 private:
  ByteString read_;
  Shown shown_;
};

// A value shown as a choice ("sorc", "note"): the bytes read and the value the choice encoded to.
using ChoiceValue = LoadedValue<ByteString>;

// A text chunk: the bytes the file holds and the text they read as (code page 932).
class TextChunk : public LoadedValue<std::string> {
 public:
  explicit TextChunk(ByteString bytes);
  const std::string& text() const { return shown(); }
  // The bytes for the text the user leaves: the chunk's own while it is still the text they
  // read as, otherwise the text encoded.
  ByteString bytesFor(const std::string& text) const;
};

// An information chunk beyond the eight as the user sees it: its text when the value is text
// (code page 932 that reads back to the same bytes, no control characters), else nothing.
std::optional<std::string> otherChunkText(const ByteString& value);
// The information chunks the later format versions name, with the name the user sees.
struct LaterTag {
  std::string_view tag;
  const char* name;
};
inline constexpr LaterTag kLaterTags[] = {{"ainf", TKN("TONEKIT", "音声情報")},     {"auth", TKN("TONEKIT", "作成者情報")},
                                          {"cuep", TKN("TONEKIT", "キューポイント")}, {"supt", TKN("TONEKIT", "サポート情報")},
                                          {"thrd", TKN("TONEKIT", "3D音響情報")},     {"code", TKN("TONEKIT", "著作権管理情報")}};
bool isLaterTag(std::string_view tag);
// What the later format versions mean by the chunk, in words ("音声情報: adat 2個、音声のみ");
// empty for a tag they do not name.
std::string otherChunkMeaning(const OtherChunk& chunk);
// The number of "adat" chunks an "ainf" value announces (bits 5-0 of its first byte) and whether
// the file is audio only (bit 7); nothing for an empty value.
struct AudioInfo {
  int audioChunks = 0;
  bool audioOnly = false;
};
std::optional<AudioInfo> decodeAinf(const ByteString& value);
// The offsets a "cuep" value holds: one 4-byte big-endian number per track, into its events.
std::vector<std::int64_t> decodeCuep(const ByteString& value);
// The size of each "adat" chunk, whole, in file order.
std::vector<std::size_t> audioChunkSizes(const clsMLD& doc);

}  // namespace tonekit::info
