// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "mld/clsMLD.h"

#include <algorithm>
#include <exception>

#include "base/SafeFile.h"
#include "base/Translate.h"

namespace tonekit {
namespace {

constexpr std::size_t kHeaderSize = 13;

ByteString slice(const ByteString& data, std::size_t offset, std::size_t count) {
  if (offset >= data.size()) return {};
  count = std::min(count, data.size() - offset);
  return ByteString(data.begin() + static_cast<std::ptrdiff_t>(offset),
                    data.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

int tagIndex(std::string_view tag) {
  for (std::size_t i = 0; i < clsMLD::kReaderOrder.size(); ++i)
    if (clsMLD::kReaderOrder[i] == tag) return static_cast<int>(i);
  return -1;
}

// The first chunk of chunks with this tag.
template <class Chunks>
auto findOther(Chunks& chunks, std::string_view tag) {
  return std::find_if(chunks.begin(), chunks.end(), [tag](const OtherChunk& c) { return c.tag == tag; });
}

}  // namespace

clsMLD::clsMLD() : MLDTracData(std::make_shared<TrackCollection>()) {}

bool clsMLD::isKnownTag(std::string_view tag) { return tagIndex(tag) >= 0; }

bool clsMLD::isOtherTag(std::string_view tag) {
  return tag.size() == 4 && std::all_of(tag.begin(), tag.end(), [](char c) { return c >= 'a' && c <= 'z'; }) &&
         !isKnownTag(tag);
}

const OtherChunk* clsMLD::otherChunk(std::string_view tag) const {
  const auto found = findOther(MLDOtherChunks, tag);
  return found == MLDOtherChunks.end() ? nullptr : &*found;
}

void clsMLD::setOtherChunk(std::string_view tag, ByteString value) {
  if (!isOtherTag(tag)) throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(不明なタグ: ") + std::string(tag) + ")");
  if (const auto found = findOther(MLDOtherChunks, tag); found != MLDOtherChunks.end())
    found->value = std::move(value);
  else
    MLDOtherChunks.push_back({std::string(tag), std::move(value)});
}

void clsMLD::removeOtherChunks(std::string_view tag) {
  std::erase_if(MLDOtherChunks, [tag](const OtherChunk& c) { return c.tag == tag; });
}

ByteString& clsMLD::value(std::string_view tag) {
  switch (tagIndex(tag)) {
    case 0: return MLDTitl;
    case 1: return MLDSorc;
    case 2: return MLDVers;
    case 3: return MLDDate;
    case 4: return MLDCopy;
    case 5: return MLDProt;
    case 6: return MLDNote;
    case 7: return MLDExst;
    default: throw Failure::of(err::IndexOutOfRange, "(" + std::string(tag) + ")");
  }
}

const ByteString& clsMLD::value(std::string_view tag) const { return const_cast<clsMLD*>(this)->value(tag); }

bool& clsMLD::enabled(std::string_view tag) {
  switch (tagIndex(tag)) {
    case 0: return MLDTitlEnabled;
    case 1: return MLDSorcEnabled;
    case 2: return MLDVersEnabled;
    case 3: return MLDDateEnabled;
    case 4: return MLDCopyEnabled;
    case 5: return MLDProtEnabled;
    case 6: return MLDNoteEnabled;
    case 7: return MLDExstEnabled;
    default: throw Failure::of(err::IndexOutOfRange, "(" + std::string(tag) + ")");
  }
}

bool clsMLD::enabled(std::string_view tag) const { return const_cast<clsMLD*>(this)->enabled(tag); }

bool clsMLD::ParseMLD(MessageSink* messages) {
  FileIdentity identity;
  const ByteString data = readWholeFile(MLDFile, &identity);
  readPath_ = MLDFile;
  readIdentity_ = identity;
  // A damaged file may be what a killed in-place save left; its backup is then named.
  const auto nameBackups = [&] {
    if (!messages) return;
    const auto backups = leftoverBackupsOf(MLDFile);
    if (backups.empty()) return;
    std::string text(kLeftoverBackupMessage);
    for (const auto& backup : backups) text += "\r\n" + backup.string();
    messages->message(text, MessageIcon::Warning);
  };
  bool complete = false;
  try {
    complete = parseBytes(data, messages);
  } catch (const Failure&) {
    nameBackups();
    throw;
  }
  if (!complete) nameBackups();
  return complete;
}

bool clsMLD::parseBytes(const ByteString& data, MessageSink* messages) {
  if (data.size() < kHeaderSize)
    throw Failure::of(err::InputPastEnd, TKT("TONEKIT", "(ファイルヘッダが13バイトに足りません: ") + MLDFile + ")");

  headIdentifier_ = slice(data, 0, 4);
  headFileLength_ = slice(data, 4, 4);
  headLengthToTrac_ = slice(data, 8, 2);
  headMajor_ = slice(data, 10, 1);
  headMinor_ = slice(data, 11, 1);
  headTracCount_ = slice(data, 12, 1);
  MLDFileLength = headFileLength_;
  MLDLengthToTrac = headLengthToTrac_;
  MLDMajortType = headMajor_;
  MLDMinerType = headMinor_;
  MLDTracCount = headTracCount_;
  headerRead_ = true;
  readComplete_ = false;

  std::int64_t fileLength = 0, toTrac = 0;
  calc_.CalcDWORD(headFileLength_, fileLength);
  calc_.CalcBYTE(headLengthToTrac_, toTrac);
  const std::int64_t trackPartSize = fileLength - toTrac - 2;
  if (trackPartSize < 1)
    throw Failure::of(err::IndexOutOfRange, TKT("TONEKIT", "(トラック部のサイズが0以下です: ") + std::to_string(trackPartSize) + ")");

  std::array<std::optional<clsDataInfo>, 8> slots;
  std::vector<OtherChunk> others;
  const auto stopUnknown = [messages] {
    if (messages) messages->message(std::string(kUnknownFormatMessage), MessageIcon::None);
    return false;
  };
  std::size_t pos = kHeaderSize;
  while (static_cast<std::int64_t>(pos) < toTrac + 7) {
    if (pos + 4 > data.size())
      throw Failure::of(err::InputPastEnd, TKT("TONEKIT", "(インフォメーション部がファイルの終わりを越えています)"));
    clsDataInfo info;
    info.Payload = asciiOf(slice(data, pos, 4));
    pos += 4;
    const int index = tagIndex(info.Payload);
    if (index < 0 && !isOtherTag(info.Payload)) return stopUnknown();
    // A tag nobody knows is taken for a chunk only when it ends inside the information part and
    // the file; otherwise the bytes are something else and the read stops as for any unknown tag.
    if (pos + 2 > data.size()) {
      if (index < 0) return stopUnknown();
      throw Failure::of(err::InputPastEnd, "(\"" + info.Payload + TKT("TONEKIT", "\"のデータ長がありません)"));
    }
    calc_.CalcBYTE(slice(data, pos, 2), info.Length);
    pos += 2;
    const std::int64_t chunkEnd = static_cast<std::int64_t>(pos) + info.Length;
    if (index < 0 && (chunkEnd > toTrac + 10 || chunkEnd > static_cast<std::int64_t>(data.size()))) return stopUnknown();
    if (pos + static_cast<std::size_t>(info.Length) > data.size())
      throw Failure::of(err::InputPastEnd, "(\"" + info.Payload + TKT("TONEKIT", "\"のデータがファイルの終わりを越えています)"));
    if (info.Length > 0) info.Value = slice(data, pos, static_cast<std::size_t>(info.Length));
    pos += static_cast<std::size_t>(info.Length);
    if (index < 0)
      others.push_back({info.Payload, std::move(info.Value)});
    else
      slots[static_cast<std::size_t>(index)] = std::move(info);
  }
  MLDOtherChunks = std::move(others);

  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (!slots[i]) continue;
    enabled(kReaderOrder[i]) = true;
    value(kReaderOrder[i]) = slots[i]->Value;
  }

  // A file shorter than its header claims keeps what is there; the last chunk ends up cut short.
  const std::size_t available = data.size() - pos;
  const std::size_t trackBytes = static_cast<std::size_t>(std::min<std::int64_t>(trackPartSize, static_cast<std::int64_t>(available)));
  const std::size_t end = pos + trackBytes;
  trailing_ = data.size() - end;

  // The "adat" chunks stand before the tracks; one after a track is a track like any other
  // chunk, so that the order of the chunks is what a save writes back.
  const ByteString audioTag = bytesOf(kAudioTag);
  bool beforeTracks = true;
  std::size_t index = 0;
  std::size_t start = pos;
  for (;;) {
    std::int64_t length = 0;
    calc_.CalcDWORD(slice(data, start + 4, std::min<std::size_t>(4, end - std::min(end, start + 4))), length);
    const std::size_t remaining = end - start;
    const std::int64_t whole = 8 + length;
    const std::size_t take = static_cast<std::size_t>(std::min<std::int64_t>(whole, static_cast<std::int64_t>(remaining)));
    beforeTracks = beforeTracks && slice(data, start, 4) == audioTag;
    if (beforeTracks)
      MLDAudioChunks.push_back(slice(data, start, take));
    else
      MLDTracData->add(TrackCollection::keyFor(index++), slice(data, start, take));
    if (whole >= static_cast<std::int64_t>(remaining)) break;
    start += take;
  }

  const std::int64_t declared = headTracCount_.empty() ? 0 : headTracCount_[0];
  const auto found = static_cast<std::int64_t>(index);
  if (declared != found && messages) {
    messages->message(std::string(kTrackCountMismatchMessage) + "\r\n" + TKT("TONEKIT", "ファイルヘッダ　 : ") +
                          std::to_string(declared) + "\r\n" + TKT("TONEKIT", "トラックデータ数 : ") + std::to_string(found),
                      MessageIcon::Information);
  }
  readComplete_ = true;
  return true;
}

void clsMLD::makeNew(const ByteString& identifier, std::uint8_t majorType, std::uint8_t minorType,
                     const std::vector<ByteString>& tracks) {
  if (tracks.size() > 255) throw Failure::of(err::Overflow, TKT("TONEKIT", "(トラック数 ") + std::to_string(tracks.size()) + ")");
  headIdentifier_ = identifier;
  headMajor_ = MLDMajortType = {majorType};
  headMinor_ = MLDMinerType = {minorType};
  headTracCount_ = MLDTracCount = {static_cast<std::uint8_t>(tracks.size())};
  MLDTracData->clear();
  for (std::size_t i = 0; i < tracks.size(); ++i) MLDTracData->add(TrackCollection::keyFor(i), tracks[i]);
  headerRead_ = readComplete_ = true;
  const ByteString written = renderMLD();
  headFileLength_ = MLDFileLength = slice(written, 4, 4);
  headLengthToTrac_ = MLDLengthToTrac = slice(written, 8, 2);
}

ByteString clsMLD::renderMLD() const {
  if (!headerRead_)
    throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(ファイルを読み込んでいない文書は保存できません)"));
  if (!readComplete_)
    throw Failure::of(err::InvalidCall,
                      TKT("TONEKIT", "(読み込みが途中で止まったファイルです。保存するとトラック部が失われるため保存しません)"));

  if (trailing_ > 0 && !dropTrailing_)
    throw Failure::of(err::PathFileAccess, "(" + MLDFile + TKT("TONEKIT", " にはファイルの長さの後ろに ") + std::to_string(trailing_) +
                                               TKT("TONEKIT", " バイトあります。保存すると失われるため保存しません)"));

  ByteString out;
  out.reserve(256);
  auto append = [&out](const ByteString& b) { out.insert(out.end(), b.begin(), b.end()); };
  ByteString number;
  append(headIdentifier_);
  append(ByteString(4, 0));
  append(ByteString(2, 0));
  append(headMajor_);
  append(headMinor_);
  append(headTracCount_);

  const auto appendInfo = [&](std::string_view tag, const ByteString& v) {
    if (v.size() > 65535)
      throw Failure::of(err::Overflow, "(\"" + std::string(tag) + TKT("TONEKIT", "\"の値が65535バイトを超えています: ") +
                                           std::to_string(v.size()) + TKT("TONEKIT", "バイト)"));
    append(bytesOf(tag));
    calc_.CalcBYTEFromLong(static_cast<std::int64_t>(v.size()), number);
    append(number);
    append(v);
  };
  for (auto tag : kWriterOrder)
    if (enabled(tag)) appendInfo(tag, value(tag));
  for (const OtherChunk& c : MLDOtherChunks) {
    if (!isOtherTag(c.tag)) throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(不明なタグ: ") + c.tag + ")");
    appendInfo(c.tag, c.value);
  }
  const auto toTrac = static_cast<std::int64_t>(out.size()) - 10;
  if (toTrac > 65535)
    throw Failure::of(err::Overflow, TKT("TONEKIT", "(インフォメーション部が大きすぎます: トラック部までのサイズ ") +
                                         std::to_string(toTrac) + ")");
  calc_.CalcBYTEFromLong(toTrac, number);
  std::copy(number.begin(), number.end(), out.begin() + 8);

  if (MLDTracCount.empty()) throw Failure::of(err::IndexOutOfRange, TKT("TONEKIT", "(トラック数がありません)"));
  const std::size_t count = MLDTracCount[0];
  if (count > MLDTracData->count())
    throw Failure::of(err::IndexOutOfRange, TKT("TONEKIT", "(トラック数 ") + std::to_string(count) + TKT("TONEKIT", " に対してトラックデータが ") +
                                                std::to_string(MLDTracData->count()) + TKT("TONEKIT", " つしかありません)"));
  for (const ByteString& audio : MLDAudioChunks) append(audio);
  for (std::size_t i = 0; i < count; ++i) append(MLDTracData->item(TrackCollection::keyFor(i)));

  calc_.CalcDWORDFromLong(static_cast<std::int64_t>(out.size()) - 8, number);
  std::copy(number.begin(), number.end(), out.begin() + 4);
  return out;
}

void clsMLD::SaveMLD() { save(std::nullopt); }

void clsMLD::SaveMLDOverRead() {
  if (readPath_.empty() || readPath_ != MLDFile)
    throw Failure::of(err::PathFileAccess, TKT("TONEKIT", "(読み込んだファイルではありません: ") + MLDFile + ")");
  save(readIdentity_);
}

void clsMLD::rememberSavedFile() {
  FileIdentity identity;
  try {
    if (readWholeFile(MLDFile, &identity) != renderMLD()) return;
  } catch (const std::exception&) {
    return;
  }
  readPath_ = MLDFile;
  readIdentity_ = identity;
}

void clsMLD::save(std::optional<FileIdentity> expected) {
  if (MLDFile.empty()) throw Failure::of(err::PathFileAccess, TKT("TONEKIT", "(保存先がありません)"));
  replaceFileSafely(MLDFile, renderMLD(), expected);
}

}  // namespace tonekit
