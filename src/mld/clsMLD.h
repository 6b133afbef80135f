// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The in-memory image of one MLD file: header bytes, eight information chunks with their
// enabled flags, the information chunks of later format versions, their audio chunks and the
// track chunks, each kept whole.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteString.h"
#include "base/Failure.h"
#include "base/MessageSink.h"
#include "base/SafeFile.h"
#include "mld/TrackCollection.h"
#include "base/clsCalcUtil.h"
#include "base/Translate.h"

namespace tonekit {

// The record of one information chunk while a file is read.
struct clsDataInfo {
  std::string Payload;       // the 4-letter tag
  std::int64_t Length = 0;   // the data length read
  ByteString Value;          // the data; empty when the length is 0
};

// An information chunk beyond the eight ("ainf", "supt", … of the later format versions, or a
// tag nobody knows yet), kept as read so that a save loses none of it.
struct OtherChunk {
  std::string tag;
  ByteString value;
  bool operator==(const OtherChunk&) const = default;
};

// The tag of the audio chunks that stand before the tracks.
inline constexpr std::string_view kAudioTag = "adat";

// The reader's messages, exact; scripts and tests compare against them.
inline constexpr Text kUnknownFormatMessage = TKN("TONEKIT", "処理できないファイルフォーマットのようです。");
// Said when a file that reads damaged has the backup of a killed in-place save beside it (or in
// the per-user data folder); the backup's path follows, one a line.
inline constexpr Text kLeftoverBackupMessage =
    TKN("TONEKIT", "このファイルの上書き保存が途中で止まったときの元の内容が残っています。ファイルが壊れているときは、これを元の名前にコピーしてください:");
inline constexpr Text kTrackCountMismatchMessage =
    TKN("TONEKIT", "ファイルヘッダのトラック数と、トラックデータの数が違います。");

class clsMLD {
 public:
  // The eight tags in the order the writer puts them.
  static constexpr std::array<std::string_view, 8> kWriterOrder = {"copy", "date", "exst", "note",
                                                                   "titl", "sorc", "vers", "prot"};
  // The same tags in the order the reader tests them.
  static constexpr std::array<std::string_view, 8> kReaderOrder = {"titl", "sorc", "vers", "date",
                                                                   "copy", "prot", "note", "exst"};

  clsMLD();

  std::string MLDFile;
  ByteString MLDFileLength;
  ByteString MLDLengthToTrac;
  ByteString MLDMajortType;
  ByteString MLDMinerType;
  ByteString MLDTracCount;
  ByteString MLDTitl;
  bool MLDTitlEnabled = false;
  ByteString MLDSorc;
  bool MLDSorcEnabled = false;
  ByteString MLDVers;
  bool MLDVersEnabled = false;
  ByteString MLDDate;
  bool MLDDateEnabled = false;
  ByteString MLDCopy;
  bool MLDCopyEnabled = false;
  ByteString MLDProt;
  bool MLDProtEnabled = false;
  ByteString MLDNote;
  bool MLDNoteEnabled = false;
  ByteString MLDExst;
  bool MLDExstEnabled = false;
  // Information chunks beyond the eight, in the order read; written after the eight.
  std::vector<OtherChunk> MLDOtherChunks;
  // The "adat" chunks that stand before the tracks, each whole (tag, 4-byte length, data), in
  // the order read. They are not tracks and are written back before them unchanged.
  std::vector<ByteString> MLDAudioChunks;
  // Shared so that the track view can work on the document's own collection.
  std::shared_ptr<TrackCollection> MLDTracData;

  // Reads MLDFile into this fresh document. Returns true when the whole file was read, false
  // when it stopped at an unknown information tag (the document then holds only the header).
  // The reader's messages go to messages (when given); failures are raised.
  bool ParseMLD(MessageSink* messages = nullptr);
  // The same read over bytes already in memory (MLDFile is only used in messages).
  bool parseBytes(const ByteString& data, MessageSink* messages = nullptr);

  // Writes the document to MLDFile, replacing any file there safely; raises the failure that
  // stopped it. Values that do not fit the format, a document that was never read, or one whose
  // read was incomplete are refused before anything is written.
  void SaveMLD();
  // SaveMLD onto exactly the file ParseMLD read from MLDFile: fails (75) when the path names
  // another file by now (swapped, or a link flipped), so a save never lands where nobody read.
  void SaveMLDOverRead();
  // After a save to MLDFile: the file now there becomes the one SaveMLDOverRead lands on, when it
  // still holds what the save wrote (else the read one stays, and a later save is refused).
  void rememberSavedFile();

  // Makes this fresh document a new melody: the header's identifier and types as given, the
  // track chunks trac0, trac1, … in order, and the information chunks the caller has set. The
  // lengths and the track count are those the writer writes, so the document shows and saves
  // like one that was read.
  void makeNew(const ByteString& identifier, std::uint8_t majorType, std::uint8_t minorType,
               const std::vector<ByteString>& tracks);

  // The bytes SaveMLD would write; raises what SaveMLD raises before writing.
  ByteString renderMLD() const;

  bool hasBeenRead() const { return headerRead_; }
  // The file identifier as read; written back unchanged.
  const ByteString& identifier() const { return headIdentifier_; }
  bool readComplete() const { return readComplete_; }
  // Bytes the file holds after its declared length: no save writes them, so a save refuses (75)
  // until the caller agreed to lose them with dropTrailingBytes().
  std::size_t trailingBytes() const { return trailing_; }
  void dropTrailingBytes() { dropTrailing_ = true; }

  // The value member and enabled flag of a tag ("titl" …); raises 9 for another tag.
  ByteString& value(std::string_view tag);
  const ByteString& value(std::string_view tag) const;
  bool& enabled(std::string_view tag);
  bool enabled(std::string_view tag) const;
  static bool isKnownTag(std::string_view tag);
  // Four lowercase ASCII letters that are not one of the eight: a chunk the reader keeps as is.
  static bool isOtherTag(std::string_view tag);

  // The first other chunk with this tag; null when there is none.
  const OtherChunk* otherChunk(std::string_view tag) const;
  // Sets the value of the first other chunk with this tag, or adds one at the end; raises 5 for
  // a tag that is not an other tag.
  void setOtherChunk(std::string_view tag, ByteString value);
  // Leaves out every other chunk with this tag.
  void removeOtherChunks(std::string_view tag);

 private:
  void save(std::optional<FileIdentity> expected);

  clsCalcUtil calc_;
  // The 13 header bytes as read; written back unchanged except the two lengths.
  ByteString headIdentifier_, headFileLength_, headLengthToTrac_, headMajor_, headMinor_, headTracCount_;
  bool headerRead_ = false;
  bool readComplete_ = false;
  std::size_t trailing_ = 0;
  bool dropTrailing_ = false;
  std::string readPath_;
  FileIdentity readIdentity_;
};

}  // namespace tonekit
