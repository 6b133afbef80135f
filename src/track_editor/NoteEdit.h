// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// One note event taken apart into the note editor's entries and put together again.

#include <array>
#include <optional>
#include <string>

#include "base/ByteString.h"
#include "mld/MldInfo.h"
#include "base/Translate.h"

namespace tonekit::noteedit {

// The entries, in the dialog's order (top to bottom, also the tab order).
enum class NoteField { DerutaTime, Chanel, Note, Duration, Velocity, OctarbShift };
inline constexpr int kNoteFieldCount = 6;

using NoteEntries = std::array<std::string, kNoteFieldCount>;
inline std::string& at(NoteEntries& e, NoteField f) { return e[static_cast<std::size_t>(f)]; }
inline const std::string& at(const NoteEntries& e, NoteField f) { return e[static_cast<std::size_t>(f)]; }

// The entries for an event; a byte the event lacks reads as 0. Velocity and octave shift are
// filled for note length 4 only.
NoteEntries unpackNote(const ByteString& event, int noteLength);

struct NoteRejection {
  NoteField field;
  std::string message;
};

// All numeric checks first, then all range checks, both in the order channel, delta time,
// duration, pitch, octave shift, velocity. A number that does not fit a 32-bit integer raises
// overflow (6).
std::optional<NoteRejection> checkNote(const NoteEntries& entries, int noteLength);

// The new event: exactly the note length's bytes, followed by any bytes the given event held
// beyond its note length (they are not the editor's to drop). Call after checkNote passed.
ByteString packNote(const NoteEntries& entries, int noteLength, const ByteString& event = {});

inline constexpr Text kNoteEnterNumber = TKN("TONEKIT", "数値を入力してください。");
inline constexpr Text kRange0to3 = TKN("TONEKIT", "0 ～ 3の範囲で入力してください。");
inline constexpr Text kRange0to255 = TKN("TONEKIT", "0 ～ 255の範囲で入力してください。");
inline constexpr Text kRange0to62 = TKN("TONEKIT", "0 ～ 62の範囲で入力してください。");
inline constexpr Text kRange0to63 = TKN("TONEKIT", "0 ～ 63の範囲で入力してください。");

}  // namespace tonekit::noteedit
