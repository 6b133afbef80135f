// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The extend-status editor's unpack, checks and packing over arbitrary events and entries.
// An event the editor does not own must come back byte for byte; an owned one keeps its length,
// its delta time and status byte when the entries are left alone, and packing what it unpacked
// twice changes nothing the second time.
//
// Input: flags, menu item, event length, the event's bytes, then entry texts separated by '\n'.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/Failure.h"
#include "base/UserNumber.h"
#include "track_editor/ExtendStatus.h"

using namespace tonekit;
using namespace tonekit::extend;

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

ByteString roundTrip(const ByteString& event) {
  const Unpacked u = unpack(event);
  if (validate(u.kind, u.entries)) return event;  // rejected: the dialog stores nothing
  return pack(event, u.kind, u.entries);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::uint8_t flags = data[0];
  const int menuItem = data[1] % 14;  // 12 and 13: no menu choice
  const std::size_t length = std::min<std::size_t>(data[2] % 16, size - 3);
  const ByteString event(data + 3, data + 3 + length);
  const std::string_view rest(reinterpret_cast<const char*>(data + 3 + length), size - 3 - length);

  // Entries left as unpacked.
  const Unpacked u = unpack(event);
  if (!u.editable) {
    check(roundTrip(event) == event);
  } else {
    check(event.size() == kEventSize);
    const ByteString once = roundTrip(event);
    check(once.size() == kEventSize && once[0] == event[0] && once[1] == event[1]);
    check(roundTrip(once) == once);
  }

  // Entries typed by the user, and perhaps a kind chosen from the menu.
  Entries typed = u.entries;
  std::uint8_t kind = u.kind;
  if (menuItem < kMenuItemCount) kind = chooseMenuItem(menuItem, typed);
  std::size_t start = 0;
  for (int i = 0; i < kFieldCount && start <= rest.size(); ++i) {
    const std::size_t end = std::min(rest.find('\n', start), rest.size());
    if (flags & (1u << (i % 8))) typed.text[static_cast<std::size_t>(i)] = std::string(rest.substr(start, end - start));
    start = end + 1;
  }
  if (flags & 0x80) typed[Options::Tempo] = (flags & 0x1F) - 1;
  if (flags & 0x40) typed[Options::Sound] = (flags >> 3) % 3 - 1;

  for (const auto& text : typed.text) {
    if (const auto v = parseUserNumber(text)) check(*v == *v);  // never NaN
  }
  const auto rejected = validate(kind, typed);
  if (rejected) {
    check(!rejected->message.empty());
    return 0;
  }
  try {
    const ByteString packed = pack(event, kind, typed);
    if (!u.editable) {
      check(packed == event);
    } else {
      check(packed.size() == kEventSize && packed[1] == event[1]);
      check(panelOf(packed[2]).has_value());
    }
  } catch (const Failure& f) {
    // Only the unchecked master volume and conversions of in-range fractions can fail.
    check(f.number() == 13 || f.number() == err::Overflow);
  }
  return 0;
}
