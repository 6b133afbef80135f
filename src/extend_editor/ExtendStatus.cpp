#include "extend_editor/ExtendStatus.h"

#include <string_view>

#include "core/Failure.h"
#include "core/UserNumber.h"

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

// Part number and a six-bit value: part in bits 7-6, value below.
void unpackPart(std::uint8_t d, Entries& e, Field part, Field value) {
  e[part] = decimal((d & 0xC0) / 64);
  e[value] = decimal(d & 0x3F);
}

}  // namespace

Unpacked unpack(const ByteString& event, Entries entries) {
  Unpacked out;
  if (!event.empty()) entries[Field::DeltaTime] = decimal(event[0]);
  if (event.size() >= 3) out.kind = event[2];
  const auto panel = panelOf(out.kind);
  out.editable = event.size() == kEventSize && !isExtInfo(out.kind) && panel.has_value();
  if (out.editable) {
    const std::uint8_t v = out.kind;
    const std::uint8_t d = event[3];
    switch (*panel) {
      case Panel::MasterBolume: entries[Field::MasterVolume] = decimal(d); break;
      case Panel::DramScale:
        entries[Field::DramChanel] = decimal((d & 0x78) / 8);
        entries[Options::DramScale] = (d & 1) ? kOn : kOff;
        break;
      case Panel::Tempo:
        entries[Options::Tempo] = v - 0xC0;
        entries[Field::Tempo] = decimal(d);
        break;
      case Panel::PlayPosition:
        entries[Options::PlayPosition] = d == 0 ? kPlayStart : d == 1 ? kPlayEnd : -1;
        break;
      case Panel::LoopPoint:
        entries[Field::LoopID] = decimal((d & 0xC0) / 64);
        entries[Field::LoopCount] = decimal((d & 0x3C) / 4);
        // Only the pattern 01 marks the end; 00, 10 and 11 all read as start.
        entries[Options::LoopPoint] = (d & 3) == 1 ? kLoopEnd : kLoopStart;
        break;
      case Panel::NOP:
      case Panel::EndOfTrack: break;
      case Panel::Sound:
        entries[Field::NotePart] = decimal((d & 0xC0) / 64);
        if (v == 0xE0) {
          entries[Field::GMNote] = decimal(d & 0x3F);
          entries[Options::Sound] = kSixBits;
        } else {
          entries[Field::GMNote] = decimal(d & 1);
          entries[Options::Sound] = kOneBit;
        }
        break;
      case Panel::Volume: unpackPart(d, entries, Field::VolumePart, Field::Volume); break;
      case Panel::Stereo: unpackPart(d, entries, Field::StreaoPart, Field::Balance); break;
      case Panel::Chanel: unpackPart(d, entries, Field::ChanelPart, Field::Chanel); break;
      case Panel::ChangeVolume:
        entries[Field::ChangeVolumePart] = decimal((d & 0xC0) / 64);
        // Sign and magnitude, not two's complement: -1 is 0x20, -32 is 0x3F.
        entries[Field::ChangeValue] = decimal((d & 0x20) ? -(d & 0x1F) - 1 : (d & 0x1F));
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
      rejected = Rejection{field, kEnterNumber};
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
    case Panel::Tempo: check(Field::Tempo, 20, 255, kTempoRange); break;
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

ByteString pack(const ByteString& event, std::uint8_t kind, const Entries& e) {
  const auto panel = panelOf(kind);
  if (!panel || !unpack(event).editable) return event;

  ByteString out = event;
  out[0] = asByte(whole(numberOf(e, Field::DeltaTime)));
  // out[1], the status byte, stays whatever it holds.
  std::uint8_t value = kind;
  std::uint8_t d = event[3];
  const auto part = [&](Field f) { return whole(numberOf(e, f) * 64); };
  switch (*panel) {
    case Panel::MasterBolume: d = asByte(whole(numberOf(e, Field::MasterVolume))); break;
    case Panel::DramScale:
      d = asByte(whole(numberOf(e, Field::DramChanel) * 8) | (e[Options::DramScale] == kOn ? 1 : 0));
      break;
    case Panel::Tempo:
      if (e[Options::Tempo] >= 0 && e[Options::Tempo] < 16) value = static_cast<std::uint8_t>(0xC0 + e[Options::Tempo]);
      d = asByte(whole(numberOf(e, Field::Tempo)));
      break;
    case Panel::PlayPosition:
      if (e[Options::PlayPosition] == kPlayStart) d = 0;
      if (e[Options::PlayPosition] == kPlayEnd) d = 1;
      break;
    case Panel::LoopPoint:
      d = asByte(part(Field::LoopID) | whole(numberOf(e, Field::LoopCount) * 4) |
                 (e[Options::LoopPoint] == kLoopEnd ? 1 : 0));
      break;
    case Panel::NOP:
    case Panel::EndOfTrack: break;
    case Panel::Sound:
      if (e[Options::Sound] == kSixBits) {
        value = 0xE0;
        d = asByte(part(Field::NotePart) | whole(numberOf(e, Field::GMNote)));
      } else {
        value = 0xE1;
        d = asByte(part(Field::NotePart) | 2 | whole(numberOf(e, Field::GMNote)));
      }
      break;
    case Panel::Volume: d = asByte(part(Field::VolumePart) | whole(numberOf(e, Field::Volume))); break;
    case Panel::Stereo: d = asByte(part(Field::StreaoPart) | whole(numberOf(e, Field::Balance))); break;
    case Panel::Chanel: d = asByte(part(Field::ChanelPart) | whole(numberOf(e, Field::Chanel))); break;
    case Panel::ChangeVolume: {
      const double change = numberOf(e, Field::ChangeValue);
      if (change >= 0)
        d = asByte(part(Field::ChangeVolumePart) | whole(change));
      else
        d = asByte(part(Field::ChangeVolumePart) | 0x20 | whole(-change - 1));
      break;
    }
  }
  out[2] = value;
  out[3] = d;
  return out;
}

}  // namespace tonekit::extend
