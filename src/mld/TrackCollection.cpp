// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "mld/TrackCollection.h"

#include "base/Failure.h"

namespace tonekit {

const ByteString* TrackCollection::find(const std::string& key) const {
  for (const auto& [k, v] : items_)
    if (k == key) return &v;
  return nullptr;
}

void TrackCollection::add(const std::string& key, ByteString chunk) {
  if (find(key)) throw Failure::of(err::DuplicateKey, "(" + key + ")");
  items_.emplace_back(key, std::move(chunk));
}

const ByteString& TrackCollection::item(const std::string& key) const {
  const ByteString* found = find(key);
  if (!found) throw Failure::of(err::IndexOutOfRange, "(" + key + ")");
  return *found;
}

void TrackCollection::replace(const std::string& key, ByteString chunk) {
  for (auto& [k, v] : items_) {
    if (k == key) {
      v = std::move(chunk);
      return;
    }
  }
  throw Failure::of(err::IndexOutOfRange, "(" + key + ")");
}

}  // namespace tonekit
