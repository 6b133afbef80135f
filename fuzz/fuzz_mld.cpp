// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Any bytes: the reader never crashes or reads outside them, and whatever it reads whole, the
// writer renders into a file that reads back to the same rendering.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "mld/clsMLD.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tonekit::ByteString bytes(data, data + size);
  tonekit::CollectingMessageSink messages;
  tonekit::clsMLD doc;
  try {
    if (!doc.parseBytes(bytes, &messages)) return 0;
  } catch (const tonekit::Failure&) {
    return 0;
  }
  tonekit::ByteString rendered;
  try {
    rendered = doc.renderMLD();
  } catch (const tonekit::Failure&) {
    return 0;  // e.g. fewer chunks than the count byte: refused, fine
  }
  tonekit::clsMLD again;
  try {
    if (!again.parseBytes(rendered, &messages)) std::abort();
  } catch (const tonekit::Failure&) {
    // A rendering whose track part is empty cannot be read back; anything else is a fault.
    if (rendered.size() > 13 + 0 && doc.MLDTracCount[0] != 0) std::abort();
    return 0;
  }
  if (again.renderMLD() != rendered) std::abort();
  return 0;
}
