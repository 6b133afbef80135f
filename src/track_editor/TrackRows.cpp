#include "track_editor/TrackRows.h"

namespace tonekit {

const std::array<std::string, 8>& trackColumnHeaders() {
  static const std::array<std::string, 8> headers = {
      "イベントNo", "Δタイム", "チャネル", "音程", "音の長さ", "音の強さ", "ｵｸﾀｰﾌﾞｼﾌﾄ", "備考"};
  return headers;
}

std::string pitchName(int pitch) {
  static const char* const letters[12] = {"C ", "C+", "D ", "D+", "E ", "F ", "F+", "G ", "G+", "A ", "A+", "B "};
  static const char* const solfege[12] = {"ド", "#ド", "レ", "#レ", "ミ", "ファ", "#ファ", "ソ", "#ソ", "ラ", "#ラ", "シ"};
  const int m = pitch + 9;
  const int step = m % 12;
  const int octave = m / 12 - 3;
  const std::string octaveText = octave > 0 ? "+" + std::to_string(octave) : std::to_string(octave);
  return std::string(letters[step]) + " (" + octaveText + "・" + solfege[step] + ")";
}

std::string tempoTimebase(int lowBits) {
  lowBits &= 0x0F;
  if (lowBits == 7 || lowBits == 15) return "N/A";
  // Two rows of doublings: 6, 12, … 384 and 15, 30, … 960.
  return lowBits < 8 ? std::to_string(6 << lowBits) : std::to_string(15 << (lowBits - 8));
}

std::string extendKindName(std::uint8_t value) {
  if (value >= 0xC0 && value <= 0xCF) return "テンポ " + tempoTimebase(value & 0x0F);
  switch (value) {
    case 0xB0: return "マスターボリューム";
    case 0xB1: return "？";
    case 0xB2: return "ドラムスケール変更";
    case 0xD0: return "演奏位置情報";
    case 0xDD: return "ループポイント";
    case 0xDE: return "NOP";
    case 0xDF: return "EndOfTrack";
    case 0xE0: return "音色(2～7Bit目)";
    case 0xE1: return "音色(1Bit目)";
    case 0xE2: return "音量";
    case 0xE3: return "ステレオバランス";
    case 0xE5: return "チャンネル割り当て";
    case 0xE6: return "ボリューム相対変化";
    case 0xF0: return "音色編集";
    case 0xF1: return "ビブラート";
    case 0xFF: return "機種依存";
    default: return "Unknown";
  }
}

std::array<std::string, 7> rowTexts(const ByteString& event, int noteLength) {
  std::array<std::string, 7> cells;
  auto has = [&](std::size_t position1) { return event.size() >= position1; };
  auto byteAt = [&](std::size_t position1) { return int{event[position1 - 1]}; };

  if (has(1)) cells[0] = std::to_string(byteAt(1));
  if (!has(2)) return cells;
  const int channel = byteAt(2) >> 6;
  const int pitch = byteAt(2) & 0x3F;
  cells[1] = std::to_string(channel);
  cells[2] = std::to_string(pitch);

  if (pitch == kExtendPitch) {
    // Only the extend-status value is shown; the data byte (and ext-info data) is not.
    if (has(3)) {
      cells[3] = std::to_string(byteAt(3));
      cells[6] = "Extend : " + extendKindName(static_cast<std::uint8_t>(byteAt(3)));
    }
    return cells;
  }

  if (has(3)) cells[3] = std::to_string(byteAt(3));
  if (noteLength == 4 && has(4)) {
    cells[4] = std::to_string(byteAt(4) >> 2);
    cells[5] = std::to_string(byteAt(4) & 0x03);
  }
  cells[6] = "Note : " + pitchName(pitch);
  return cells;
}

}  // namespace tonekit
