// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "smf/clsMIDI.h"


#include "base/CodePage.h"
#include "base/Failure.h"
#include "base/SafeFile.h"
#include "smf/SmfEvents.h"
#include "base/Translate.h"

namespace tonekit {

std::string clsMIDI::FileNameOnly(const std::string& strPathName) {
  // Both separators: the paths come from Windows lists as well as from this system.
  const auto slash = strPathName.find_last_of("\\/");
  return slash == std::string::npos ? strPathName : strPathName.substr(slash + 1);
}

void clsMIDI::ParseMIDI() {
  if (MIDIFile.empty()) return;
  if (!isRegularFile(MIDIFile)) return;
  ParseMIDIData(readWholeFile(MIDIFile));
}

void clsMIDI::ParseMIDIData(const ByteString& data) {
  const auto header = smf::findHeader(data);
  if (!header) return;
  const std::size_t h = *header;

  // The header's own length field is not trusted; the three numbers stand right after it.
  auto headerNumber = [&](std::size_t offset, const char* name) -> std::int16_t {
    if (data.size() < offset + 2)
      throw Failure::of(err::IndexOutOfRange, std::string(TKT("TONEKIT", "(MIDIヘッダが途中で切れています: ")) + name + ")");
    std::int64_t value = 0;
    calc_.CalcBYTE(midBytes(data, static_cast<std::int64_t>(offset) + 1, 2), value);
    if (value > 32767) throw Failure::of(err::Overflow, "(" + std::string(name) + " = " + std::to_string(value) + ")");
    return static_cast<std::int16_t>(value);
  };
  MIDIFormat = headerNumber(h + 8, "MIDIFormat");
  MIDITracks = headerNumber(h + 10, "MIDITracks");
  MIDIDivision = headerNumber(h + 12, "MIDIDivision");

  const auto texts = smf::songTexts(data);
  if (!texts) throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(トラック\"MTrk\"がありません)"));
  // Reset first, so that a reader used for a second file never keeps the first file's texts.
  MIDITitle = decodeCp932(texts->title);
  if (MIDITitle.empty()) MIDITitle = FileNameOnly(MIDIFile);
  MIDICopy = decodeCp932(texts->copyright);
  if (MIDICopy.empty()) MIDICopy = "-";
}

}  // namespace tonekit
