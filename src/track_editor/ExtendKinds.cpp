#include "track_editor/ExtendKinds.h"

#include <array>

namespace tonekit::events {

namespace {

using F = Fields;
constexpr std::array<ExtendKind, 17> kKinds = {{
    {0xB0, 0xB0, "マスターボリューム", false, F::MasterBolume},
    {0xB1, 0xB1, "？", false, std::nullopt},
    {0xB2, 0xB2, "ドラムスケール変更", false, F::DramScale},
    {0xC0, 0xCF, "テンポ", false, F::Tempo},
    {0xD0, 0xD0, "演奏位置情報", false, F::PlayPosition},
    {0xDD, 0xDD, "ループポイント", false, F::LoopPoint},
    {0xDE, 0xDE, "NOP", false, F::NOP},
    {0xDF, 0xDF, "EndOfTrack", false, F::EndOfTrack},
    {0xE0, 0xE0, "音色(2～7Bit目)", false, F::Sound},
    {0xE1, 0xE1, "音色(1Bit目)", false, F::Sound},
    {0xE2, 0xE2, "音量", false, F::Volume},
    {0xE3, 0xE3, "ステレオバランス", false, F::Stereo},
    {0xE5, 0xE5, "チャンネル割り当て", false, F::Chanel},
    {0xE6, 0xE6, "ボリューム相対変化", false, F::ChangeVolume},
    {0xF0, 0xF0, "音色編集", true, std::nullopt},
    {0xF1, 0xF1, "ビブラート", true, std::nullopt},
    {0xFF, 0xFF, "機種依存", true, std::nullopt},
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
  if (kind.fields != Fields::Tempo) return kind.name;
  const auto timebase = tempoTimebase(value);
  return std::string(kind.name) + " " + (timebase ? std::to_string(*timebase) : "N/A");
}

}  // namespace tonekit::events
