// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "track_editor/TrackRows.h"

#include <optional>

#include "mld/MldInfo.h"
#include "mld/EventCodec.h"
#include "base/Translate.h"

namespace tonekit {

const std::array<std::string, 8>& trackColumnHeaders() {
  static const std::array<std::string, 8> headers = {
      TKT("TONEKIT", "イベントNo"), TKT("TONEKIT", "Δタイム"), TKT("TONEKIT", "チャネル"), TKT("TONEKIT", "音程"), TKT("TONEKIT", "音の長さ"), TKT("TONEKIT", "音の強さ"), TKT("TONEKIT", "ｵｸﾀｰﾌﾞｼﾌﾄ"), TKT("TONEKIT", "備考")};
  return headers;
}

std::string pitchName(int pitch) {
  static const char* const letters[12] = {"C ", "C+", "D ", "D+", "E ", "F ", "F+", "G ", "G+", "A ", "A+", "B "};
  static const char* const solfege[12] = {TKT("TONEKIT", "ド"), TKT("TONEKIT", "#ド"), TKT("TONEKIT", "レ"), TKT("TONEKIT", "#レ"), TKT("TONEKIT", "ミ"), TKT("TONEKIT", "ファ"), TKT("TONEKIT", "#ファ"), TKT("TONEKIT", "ソ"), TKT("TONEKIT", "#ソ"), TKT("TONEKIT", "ラ"), TKT("TONEKIT", "#ラ"), TKT("TONEKIT", "シ")};
  const int m = pitch + 9;
  const int step = m % 12;
  const int octave = m / 12 - 3;
  const std::string octaveText = octave > 0 ? "+" + std::to_string(octave) : std::to_string(octave);
  return std::string(letters[step]) + " (" + octaveText + TKT("TONEKIT", "・") + solfege[step] + ")";
}

std::string relativeVolumeLevelText(int sixBits) {
  const int level = sixBits & 0x3F;
  return level == 0 ? TKT("TONEKIT", "無音") : TKT("TONEKIT", "再生時の音量 ") + std::to_string(level) + "/63";
}

bool isExtendRow(const ByteString& event) { return events::isExtendRow(events::decode(event, 3)); }

std::array<std::string, 7> rowTexts(const ByteString& event, events::Framing framing) {
  const int noteLength = framing.noteLength;
  std::array<std::string, 7> cells;
  const events::Event decoded = events::decode(event, framing);
  const auto number = [](int value) { return std::to_string(value); };
  // Extend-status rows show the extend-status value only; the data byte (and ext-info data) not.
  const auto extendRow = [&](std::uint8_t delta, std::uint8_t status, std::optional<std::uint8_t> value) {
    cells[0] = number(delta);
    cells[1] = number(status >> 6);
    cells[2] = number(events::kExtendPitch);
    if (value) {
      cells[3] = number(*value);
      cells[6] = "Extend : " + events::extendEventName(status, *value);
    }
  };

  if (const auto* note = std::get_if<events::Note>(&decoded)) {
    cells = {number(note->delta), number(note->part), number(note->pitch), number(note->gate), "", "",
             "Note : " + pitchName(note->pitch)};
    if (info::normalNoteLength(noteLength) == 4) {
      cells[4] = number(note->velocity);
      cells[5] = number(note->octaveShift);
    }
  } else if (const auto* extend = std::get_if<events::Extend>(&decoded)) {
    extendRow(extend->delta, extend->status, extend->kind);
    // Its entry reads as a signed step, but the byte plays as a level: the remark says which.
    if (extend->kind == events::kind::RelativeVolume)
      cells[6] += " (" + relativeVolumeLevelText(extend->value) + ")";
  } else if (const auto* info = std::get_if<events::ExtInfo>(&decoded)) {
    extendRow(info->delta, info->status, info->kind);
  } else {
    // A cut-off event shows the columns its bytes reach.
    const auto& fragment = std::get<events::Fragment>(decoded);
    if (fragment.delta()) cells[0] = number(*fragment.delta());
    if (!fragment.pitch()) return cells;
    if (*fragment.pitch() == events::kExtendPitch) {
      extendRow(*fragment.delta(), fragment.bytes[1], fragment.third());
      return cells;
    }
    cells[1] = number(*fragment.part());
    cells[2] = number(*fragment.pitch());
    if (fragment.third()) cells[3] = number(*fragment.third());
    cells[6] = "Note : " + pitchName(*fragment.pitch());
  }
  return cells;
}

}  // namespace tonekit
