// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "mld/ExtendKinds.h"
#include "base/Translate.h"

#include <array>

namespace tonekit::events {

namespace {

using F = Fields;
using L = Layout;
// The kinds the sound path reads but the grid has no name for show "Unknown" like any other.
constexpr std::array<ExtendKind, 22> kKinds = {{
    {kind::MasterVolume, kind::MasterVolume, TKN("TONEKIT", "マスターボリューム"), false, F::MasterBolume, L::Whole},
    {0xB1, 0xB1, TKN("TONEKIT", "？"), false, std::nullopt, L::Whole},
    {kind::DrumScale, kind::DrumScale, TKN("TONEKIT", "ドラムスケール変更"), false, F::DramScale, L::Drum},
    {kind::MasterTune, kind::MasterTune, "Unknown", false, std::nullopt, L::Tune},
    {kind::DrumChannel, kind::DrumChannel, TKN("TONEKIT", "ドラムチャンネル設定"), false, std::nullopt, L::DrumMode},
    {kind::Tempo, 0xCF, TKN("TONEKIT", "テンポ"), false, F::Tempo, L::Whole},
    {kind::PlayPosition, kind::PlayPosition, TKN("TONEKIT", "演奏位置情報"), false, F::PlayPosition, L::Whole},
    {kind::LoopPoint, kind::LoopPoint, TKN("TONEKIT", "ループポイント"), false, F::LoopPoint, L::Loop},
    {kind::Nop, kind::Nop, "NOP", false, F::NOP, L::Whole},
    {kind::EndOfTrack, kind::EndOfTrack, "EndOfTrack", false, F::EndOfTrack, L::Whole},
    {kind::VoiceLow, kind::VoiceLow, TKN("TONEKIT", "音色(2～7Bit目)"), false, F::Sound, L::PartValue},
    {kind::VoiceTop, kind::VoiceTop, TKN("TONEKIT", "音色(1Bit目)"), false, F::Sound, L::PartBit},
    {kind::Volume, kind::Volume, TKN("TONEKIT", "音量"), false, F::Volume, L::PartValue},
    {kind::Balance, kind::Balance, TKN("TONEKIT", "ステレオバランス"), false, F::Stereo, L::PartValue},
    {kind::PitchBend, kind::PitchBend, "Unknown", false, std::nullopt, L::PartValue},
    {kind::ChannelAssign, kind::ChannelAssign, TKN("TONEKIT", "チャンネル割り当て"), false, F::Chanel, L::PartValue},
    {kind::RelativeVolume, kind::RelativeVolume, TKN("TONEKIT", "ボリューム相対変化"), false, F::ChangeVolume, L::PartValue},
    {kind::BendRange, kind::BendRange, "Unknown", false, std::nullopt, L::PartValue},
    {kind::Modulation, kind::Modulation, "Unknown", false, std::nullopt, L::PartValue},
    {kind::VoiceEdit, kind::VoiceEdit, TKN("TONEKIT", "音色編集"), true, std::nullopt, L::Whole},
    {kind::Vibrato, kind::Vibrato, TKN("TONEKIT", "ビブラート"), true, std::nullopt, L::Whole},
    {kind::DeviceDependent, kind::DeviceDependent, TKN("TONEKIT", "機種依存"), true, std::nullopt, L::Whole},
}};
// Values from 0xF0 up are ext-info whether the format names them or not.
constexpr ExtendKind kUnknown{0x00, 0xEF, "Unknown", false, std::nullopt};
constexpr ExtendKind kUnknownExtInfo{0xF0, 0xFF, "Unknown", true, std::nullopt};

}  // namespace

const ExtendKind& extendKind(std::uint8_t value) {
  for (const ExtendKind& kind : kKinds)
    if (value >= kind.first && value <= kind.last) return kind;
  return value >= kUnknownExtInfo.first ? kUnknownExtInfo : kUnknown;
}

std::span<const ExtendKind> extendKinds() { return kKinds; }

std::uint8_t firstValueOf(Fields fields) {
  for (const ExtendKind& kind : kKinds)
    if (kind.fields == fields) return kind.first;
  return 0;
}

std::optional<int> tempoTimebase(std::uint8_t value) {
  if (!isTempo(value)) return std::nullopt;
  const int low = value & 0x0F;
  if (low == 7 || low == 15) return std::nullopt;
  // Two rows of doublings: 6, 12, … 384 and 15, 30, … 960.
  return low < 8 ? 6 << low : 15 << (low - 8);
}

std::string extendKindName(std::uint8_t value) {
  const ExtendKind& kind = extendKind(value);
  if (kind.fields != Fields::Tempo) return translate(kTextContext, kind.name);
  const auto timebase = tempoTimebase(value);
  return std::string(translate(kTextContext, kind.name)) + " " + (timebase ? std::to_string(*timebase) : "N/A");
}

std::optional<std::string> audioCommandName(std::uint8_t command) {
  switch (command) {
    case audio::Start: return TKT("TONEKIT", "オーディオ再生開始");
    case audio::Stop: return TKT("TONEKIT", "オーディオ再生停止");
    case audio::Level: return TKT("TONEKIT", "オーディオ音量");
    case audio::Pan: return TKT("TONEKIT", "オーディオパン");
    case audio::Setting: return TKT("TONEKIT", "オーディオ設定");
    default: return std::nullopt;
  }
}

std::string extendEventName(std::uint8_t status, std::uint8_t value) {
  if (status == kAudioStatus)
    if (auto name = audioCommandName(value)) return *name;
  return extendKindName(value);
}

}  // namespace tonekit::events
