#include "track_editor/TrackRows.h"

#include "track_editor/ExtendKinds.h"

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

bool isExtendRow(const ByteString& event) { return event.size() >= 2 && (event[1] & 0x3F) == events::kExtendPitch; }

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

  if (isExtendRow(event)) {
    // Only the extend-status value is shown; the data byte (and ext-info data) is not.
    if (has(3)) {
      cells[3] = std::to_string(byteAt(3));
      cells[6] = "Extend : " + events::extendKindName(static_cast<std::uint8_t>(byteAt(3)));
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
