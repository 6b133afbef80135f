// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// One extend-status event (delta time, 0xFF, extend-status value, data byte) taken apart into
// the editor's entries and put together again.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "base/ByteString.h"
#include "mld/ExtendKinds.h"
#include "base/Translate.h"

namespace tonekit::extend {

// The panels, one for each kind of data byte, in the order of the kind menu's items (item i
// shows panel i).
using Panel = events::Fields;
inline constexpr int kMenuItemCount = events::kFieldsCount;
inline constexpr std::size_t kEventSize = 4;

// The panel that edits an extend-status value; none for the values the editor cannot edit.
inline std::optional<Panel> panelOf(std::uint8_t value) { return events::extendKind(value).fields; }

// Ext-info events carry a length and data of their own; the editor passes them through
// untouched.
inline bool isExtInfo(std::uint8_t value) { return events::extendKind(value).hasLength; }

// The entry fields that carry a number.
enum class Field {
  DeltaTime,
  MasterVolume,
  DramChanel,
  Tempo,
  LoopID,
  LoopCount,
  NotePart,
  GMNote,
  VolumePart,
  Volume,
  StreaoPart,
  Balance,
  ChanelPart,
  Chanel,
  ChangeVolumePart,
  ChangeValue,
};
inline constexpr int kFieldCount = 16;

// Option groups; -1 means no option of the group is selected.
enum class Options { DramScale, Tempo, PlayPosition, LoopPoint, Sound };
inline constexpr int kOptionGroupCount = 5;

// Everything the dialog shows: the texts of the entry fields and the selected option of each
// group. Entries of panels not shown keep whatever they hold.
struct Entries {
  std::array<std::string, kFieldCount> text{};
  std::array<int, kOptionGroupCount> option{-1, -1, -1, -1, -1};

  std::string& operator[](Field f) { return text[static_cast<std::size_t>(f)]; }
  const std::string& operator[](Field f) const { return text[static_cast<std::size_t>(f)]; }
  int& operator[](Options g) { return option[static_cast<std::size_t>(g)]; }
  int operator[](Options g) const { return option[static_cast<std::size_t>(g)]; }
};

// The event as the dialog opens it.
struct Unpacked {
  std::uint8_t kind = 0;  // the extend-status value, 0 when the event has none
  // Whether the event can be edited at all: exactly four bytes and a kind with a panel. Anything
  // else (ext-info events, cut-short or over-long records) is shown without a panel and kept.
  bool editable = false;
  Entries entries;
};

// Fills the delta time and the fields of the event's kind; changes nothing else in entries.
Unpacked unpack(const ByteString& event, Entries entries = {});

// Kind menu item i (0-11): resets the fields of that item's panel in entries and returns the
// new current kind.
std::uint8_t chooseMenuItem(int item, Entries& entries);

// A rejected entry: the field to point at and the message to show.
struct Rejection {
  Field field;
  std::string message;
};

// The entry checks for the current kind, in order; the first that fails.
std::optional<Rejection> validate(std::uint8_t kind, const Entries& entries);

// The new event from the entries. Call after validate passed. An event the editor does not own
// (not editable, see Unpacked) comes back byte for byte. The master volume, which has no entry
// check, and any entry that cannot be made a byte raise a Failure (13 not a number, 6 overflow);
// the event is then left as it was by the caller.
ByteString pack(const ByteString& event, std::uint8_t kind, const Entries& entries);

// The level a relative volume change entry plays at (the six bits it packs to, 0 silent), while
// the entry holds a number the checks accept; the entry reads as a signed step, the sound as a
// level, so the dialog shows this beside it.
std::optional<int> relativeVolumeLevel(const Entries& entries);

// Whether Ok would store a relative volume change that silences its part.
bool silencesPart(std::uint8_t kind, const Entries& entries);

// Asked before such an event is stored.
inline constexpr Text kSilencesPartQuestion =
    TKN("TONEKIT", "この値は「無音」として再生され、このパートは次のボリューム相対変化まで聞こえなくなります。よろしいですか？");

// Messages of the entry checks.
inline constexpr Text kEnterNumber = TKN("TONEKIT", "数値を入力してください。");
inline constexpr Text kDeltaTimeRange = TKN("TONEKIT", "Δタイムは0～255の範囲です。");
inline constexpr Text kDramChanelRange = TKN("TONEKIT", "チャネルは0～15の範囲です。");
inline constexpr Text kTempoRange = TKN("TONEKIT", "テンポは20～255の範囲です。");
inline constexpr Text kLoopIDRange = TKN("TONEKIT", "ループIDは0～3の範囲です。");
inline constexpr Text kLoopCountRange = TKN("TONEKIT", "ループ回数は0～15の範囲です。");
inline constexpr Text kPartRange = TKN("TONEKIT", "パートは0～3の範囲です。");
inline constexpr Text kGMNote6Range = TKN("TONEKIT", "6BitのGM音色は0～63の範囲です。");
inline constexpr Text kGMNote1Range = TKN("TONEKIT", "1BitのGM音色は0～1の範囲です。");
inline constexpr Text kVolumeRange = TKN("TONEKIT", "音量は0～63の範囲です。");
inline constexpr Text kBalanceRange = TKN("TONEKIT", "バランスは0～63の範囲です。");
inline constexpr Text kChanelRange = TKN("TONEKIT", "チャネル割り当ては0～15の範囲です。");
inline constexpr Text kChangeValueRange = TKN("TONEKIT", "ボリューム相対変化は-32～31の範囲です。");

}  // namespace tonekit::extend
