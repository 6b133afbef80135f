// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// A few facts of a Standard MIDI File: the header's format, track count and time division, the
// song title and the copyright text.

#include <cstdint>
#include <string>

#include "base/ByteString.h"
#include "base/clsCalcUtil.h"

namespace tonekit {

class clsMIDI {
 public:
  std::string MIDIFile;           // path of the file to read; set by the caller
  std::int16_t MIDIFormat = 0;    // 0, 1 or 2
  std::int16_t MIDITracks = 0;    // track count as the header states it
  std::int16_t MIDIDivision = 0;  // time division as the header states it
  std::string MIDITitle;          // UTF-8
  std::int64_t MIDITime = 0;      // never set by the reader
  std::string MIDICopy;           // UTF-8

  // Reads the file named by MIDIFile. A missing file, or one without an "MThd" header, leaves
  // every property as it was. A header cut short, a header number above 32767, or a header
  // without any "MTrk" track raise a Failure; properties set before that keep their values.
  void ParseMIDI();

  // The same steps on bytes already in memory; MIDIFile only supplies the fallback title.
  void ParseMIDIData(const ByteString& data);

 private:
  static std::string FileNameOnly(const std::string& strPathName);

  clsCalcUtil calc_;
};

}  // namespace tonekit
