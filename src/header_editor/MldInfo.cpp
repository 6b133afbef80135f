#include "header_editor/MldInfo.h"

#include "core/CodePage.h"
#include "core/Failure.h"
#include "core/clsCalcUtil.h"
#include "core/clsMLD.h"

namespace tonekit::info {

namespace {

std::uint8_t firstByte(const ByteString& bytes, const char* what) {
  if (bytes.empty()) throw Failure::of(err::IndexOutOfRange, std::string("(") + what + "が空です)");
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
  facts.trackCount = firstByte(doc.MLDTracCount, "トラック数");
  facts.majorType = firstByte(doc.MLDMajortType, "メジャータイプ");
  facts.minorType = firstByte(doc.MLDMinerType, "マイナータイプ");
  return facts;
}

std::uint8_t trackCountOf(const clsMLD& doc) { return doc.MLDTracCount.empty() ? 0 : doc.MLDTracCount[0]; }

std::optional<int> majorChoice(std::uint8_t majorType) { return choiceIn(majorType, 1, 2); }
std::optional<int> minorChoice(std::uint8_t minorType) { return choiceIn(minorType, 0, 2); }
std::optional<int> trackCountChoice(std::uint8_t trackCount) { return choiceIn(trackCount, 1, 4); }

SorcFlags decodeSorc(const ByteString& value) {
  const std::uint8_t b = firstByte(value, "\"sorc\"の値");
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
  if (note.size() < 2) throw Failure::of(err::IndexOutOfRange, "(\"note\"の値が2バイトに足りません)");
  return noteLengthOf(note);
}

ByteString noteValue(int noteLength) { return {0x00, static_cast<std::uint8_t>(noteLength == 4 ? 1 : 0)}; }

TextChunk::TextChunk(ByteString bytes) : LoadedValue(bytes, decodeCp932(bytes)) {}

ByteString TextChunk::bytesFor(const std::string& text) const {
  if (keeps(text)) return read();
  return encodeCp932(text).bytes;
}

}  // namespace tonekit::info
