// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "track_editor/ExtendStatus.h"

#include <string_view>

#include "base/Failure.h"
#include "base/UserNumber.h"
#include "mld/EventCodec.h"

namespace tonekit::extend {

namespace {

// Option indices as the panels number them.
constexpr int kOn = 0, kOff = 1;             // drum scale
constexpr int kPlayStart = 0, kPlayEnd = 1;  // play position
constexpr int kLoopStart = 0, kLoopEnd = 1;  // loop point
constexpr int kSixBits = 0, kOneBit = 1;     // tone

std::string decimal(int value) { return std::to_string(value); }

// A number of a checked entry; an entry that slipped past the checks is a type mismatch.
double numberOf(const Entries& entries, Field field) { return checkedUserNumber(entries[field]); }

std::int32_t whole(double value) { return wholeNumber32(value); }

std::uint8_t asByte(std::int32_t value) {
  if (value < 0 || value > 255) throw Failure::of(err::Overflow);
  return static_cast<std::uint8_t>(value);
}

void unpackPart(const events::Extend& x, Entries& e, Field part, Field value) {
  e[part] = decimal(x.part);
  e[value] = decimal(x.value);
}

}  // namespace

Unpacked unpack(const ByteString& event, Entries entries) {
  Unpacked out;
  const events::Extend x = events::extendOf(event);
  if (!event.empty()) entries[Field::DeltaTime] = decimal(x.delta);
  if (event.size() >= 3) out.kind = x.kind;
  const auto panel = panelOf(out.kind);
  out.editable = event.size() == kEventSize && !isExtInfo(out.kind) && panel.has_value();
  if (out.editable) {
    switch (*panel) {
      case Panel::MasterBolume: entries[Field::MasterVolume] = decimal(x.value); break;
      case Panel::DramScale:
        entries[Field::DramChanel] = decimal(x.value);
        entries[Options::DramScale] = x.mark ? kOn : kOff;
        break;
      case Panel::Tempo:
        entries[Options::Tempo] = events::timebaseCode(x.kind);
        entries[Field::Tempo] = decimal(x.value);
        break;
      case Panel::PlayPosition:
        entries[Options::PlayPosition] = x.value == 0 ? kPlayStart : x.value == 1 ? kPlayEnd : -1;
        break;
      case Panel::LoopPoint:
        entries[Field::LoopID] = decimal(x.id);
        entries[Field::LoopCount] = decimal(x.value);
        // Only the pattern 01 marks the end; 00, 10 and 11 all read as start.
        entries[Options::LoopPoint] = x.mark == 1 ? kLoopEnd : kLoopStart;
        break;
      case Panel::NOP:
      case Panel::EndOfTrack: break;
      case Panel::Sound:
        entries[Field::NotePart] = decimal(x.part);
        entries[Field::GMNote] = decimal(x.value);
        entries[Options::Sound] = x.kind == events::kind::VoiceLow ? kSixBits : kOneBit;
        break;
      case Panel::Volume: unpackPart(x, entries, Field::VolumePart, Field::Volume); break;
      case Panel::Stereo: unpackPart(x, entries, Field::StreaoPart, Field::Balance); break;
      case Panel::Chanel: unpackPart(x, entries, Field::ChanelPart, Field::Chanel); break;
      case Panel::ChangeVolume:
        entries[Field::ChangeVolumePart] = decimal(x.part);
        entries[Field::ChangeValue] = decimal(events::relativeChange(x.value));
        break;
    }
  }
  out.entries = std::move(entries);
  return out;
}

std::uint8_t chooseMenuItem(int item, Entries& e) {
  if (item < 0 || item >= kMenuItemCount) throw Failure::of(err::IndexOutOfRange);
  switch (static_cast<Panel>(item)) {
    case Panel::MasterBolume: e[Field::MasterVolume] = "0"; break;
    case Panel::Volume: e[Field::VolumePart] = e[Field::Volume] = "0"; break;
    case Panel::Stereo: e[Field::StreaoPart] = e[Field::Balance] = "0"; break;
    case Panel::ChangeVolume: e[Field::ChangeVolumePart] = e[Field::ChangeValue] = "0"; break;
    case Panel::Chanel: e[Field::ChanelPart] = e[Field::Chanel] = "0"; break;
    case Panel::Sound:
      e[Field::NotePart] = e[Field::GMNote] = "0";
      e[Options::Sound] = kSixBits;
      break;
    case Panel::Tempo: e[Options::Tempo] = 0; break;  // the tempo text stays as it is
    case Panel::DramScale:
      e[Field::DramChanel] = "0";
      e[Options::DramScale] = kOn;
      break;
    case Panel::NOP:
    case Panel::EndOfTrack: break;
    case Panel::LoopPoint:
      e[Field::LoopID] = e[Field::LoopCount] = "0";
      e[Options::LoopPoint] = kLoopStart;
      break;
    case Panel::PlayPosition: e[Options::PlayPosition] = kPlayStart; break;
  }
  return events::firstValueOf(static_cast<Panel>(item));
}

std::optional<Rejection> validate(std::uint8_t kind, const Entries& e) {
  std::optional<Rejection> rejected;
  // Numeric first, then the range as a real value with its bounds.
  const auto check = [&](Field field, double low, double high, const char* message) {
    if (rejected) return;
    const auto value = parseUserNumber(e[field]);
    if (!value) {
      rejected = Rejection{field, std::string(kEnterNumber)};
    } else if (!inUserRange(*value, low, high)) {
      rejected = Rejection{field, message};
    }
  };

  check(Field::DeltaTime, 0, 255, kDeltaTimeRange);
  const auto panel = panelOf(kind);
  if (!panel) return rejected;
  switch (*panel) {
    case Panel::MasterBolume:  // converted on packing only
    case Panel::PlayPosition:
    case Panel::NOP:
    case Panel::EndOfTrack: break;
    case Panel::DramScale: check(Field::DramChanel, 0, 15, kDramChanelRange); break;
    case Panel::Tempo: check(Field::Tempo, events::kLowestTempo, events::kHighestTempo, kTempoRange); break;
    case Panel::LoopPoint:
      check(Field::LoopID, 0, 3, kLoopIDRange);
      check(Field::LoopCount, 0, 15, kLoopCountRange);
      break;
    case Panel::Sound:
      check(Field::NotePart, 0, 3, kPartRange);
      // The limit follows the option as it stands now, not the kind the event had.
      if (e[Options::Sound] == kSixBits)
        check(Field::GMNote, 0, 63, kGMNote6Range);
      else
        check(Field::GMNote, 0, 1, kGMNote1Range);
      break;
    case Panel::Volume:
      check(Field::VolumePart, 0, 3, kPartRange);
      check(Field::Volume, 0, 63, kVolumeRange);
      break;
    case Panel::Stereo:
      check(Field::StreaoPart, 0, 3, kPartRange);
      check(Field::Balance, 0, 63, kBalanceRange);
      break;
    case Panel::Chanel:
      check(Field::ChanelPart, 0, 3, kPartRange);
      check(Field::Chanel, 0, 15, kChanelRange);
      break;
    case Panel::ChangeVolume:
      check(Field::ChangeVolumePart, 0, 3, kPartRange);
      check(Field::ChangeValue, -32, 31, kChangeValueRange);
      break;
  }
  return rejected;
}

std::optional<int> relativeVolumeLevel(const Entries& e) {
  const auto change = parseUserNumber(e[Field::ChangeValue]);
  if (!change || !inUserRange(*change, -32, 31)) return std::nullopt;
  events::DataEntries x;
  x.value = *change;
  try {
    return events::dataFromEntries(events::kind::RelativeVolume, x) & 0x3F;
  } catch (const Failure&) {
    return std::nullopt;  // a fraction that Ok cannot make a byte either
  }
}

bool silencesPart(std::uint8_t kind, const Entries& e) {
  return panelOf(kind) == Panel::ChangeVolume && relativeVolumeLevel(e) == 0;
}

ByteString pack(const ByteString& event, std::uint8_t kind, const Entries& e) {
  const auto panel = panelOf(kind);
  if (!panel || !unpack(event).editable) return event;

  const events::Extend old = events::extendOf(event);
  const std::uint8_t delta = asByte(whole(numberOf(e, Field::DeltaTime)));
  std::uint8_t value = kind;
  std::uint8_t d = events::dataOf(old);
  events::DataEntries x;
  const auto number = [&](Field f) { return numberOf(e, f); };
  const auto partValue = [&](Field part, Field field) {
    x.part = number(part);
    x.value = number(field);
    return events::dataFromEntries(value, x);
  };
  switch (*panel) {
    case Panel::MasterBolume:
      x.value = number(Field::MasterVolume);
      d = events::dataFromEntries(value, x);
      break;
    case Panel::DramScale:
      x.value = number(Field::DramChanel);
      x.mark = e[Options::DramScale] == kOn;
      d = events::dataFromEntries(value, x);
      break;
    case Panel::Tempo:
      if (e[Options::Tempo] >= 0 && e[Options::Tempo] < 16) value = events::tempoValue(e[Options::Tempo]);
      x.value = number(Field::Tempo);
      d = events::dataFromEntries(value, x);
      break;
    case Panel::PlayPosition:
      if (e[Options::PlayPosition] == kPlayStart) d = 0;
      if (e[Options::PlayPosition] == kPlayEnd) d = 1;
      break;
    case Panel::LoopPoint:
      x.id = number(Field::LoopID);
      x.value = number(Field::LoopCount);
      x.mark = e[Options::LoopPoint] == kLoopEnd;
      d = events::dataFromEntries(value, x);
      break;
    case Panel::NOP:
    case Panel::EndOfTrack: break;
    case Panel::Sound:
      value = e[Options::Sound] == kSixBits ? events::kind::VoiceLow : events::kind::VoiceTop;
      d = partValue(Field::NotePart, Field::GMNote);
      break;
    case Panel::Volume: d = partValue(Field::VolumePart, Field::Volume); break;
    case Panel::Stereo: d = partValue(Field::StreaoPart, Field::Balance); break;
    case Panel::Chanel: d = partValue(Field::ChanelPart, Field::Chanel); break;
    case Panel::ChangeVolume: d = partValue(Field::ChangeVolumePart, Field::ChangeValue); break;
  }
  events::Extend out = events::fieldsOf(value, d);
  out.delta = delta;
  out.status = old.status;  // whatever it holds
  return events::encode(out, 4);
}

}  // namespace tonekit::extend
