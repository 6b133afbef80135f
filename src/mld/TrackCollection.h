// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The document's track chunks, each held whole under the key "trac" + its 0-based index.
// The track view is handed this very object (not a copy), so it lives behind a shared_ptr.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "base/ByteString.h"

namespace tonekit {

class TrackCollection {
 public:
  static std::string keyFor(std::size_t index) { return "trac" + std::to_string(index); }

  std::size_t count() const { return items_.size(); }
  bool contains(const std::string& key) const { return find(key) != nullptr; }

  // Raises 457 when the key is taken already.
  void add(const std::string& key, ByteString chunk);
  // Raises 9 when no chunk is stored under key.
  const ByteString& item(const std::string& key) const;
  // Replaces the chunk stored under key; raises 9 when there is none.
  void replace(const std::string& key, ByteString chunk);
  void clear() { items_.clear(); }

  const std::vector<std::pair<std::string, ByteString>>& items() const { return items_; }

 private:
  const ByteString* find(const std::string& key) const;
  std::vector<std::pair<std::string, ByteString>> items_;
};

}  // namespace tonekit
