// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// One track event, held as exactly the bytes it has in the track chunk.

#include <utility>

#include "base/ByteString.h"

namespace tonekit {

class clsNote {
 public:
  clsNote() = default;
  explicit clsNote(ByteString bytes) : data_(std::move(bytes)) {}

  // Replaces the event's bytes.
  void setData(ByteString bytes) { data_ = std::move(bytes); }
  // The event's bytes; no copy is made, so long tracks show and assemble quickly.
  const ByteString& getData() const { return data_; }

 private:
  ByteString data_;
};

}  // namespace tonekit
