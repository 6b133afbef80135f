// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// What a call raised, for tests that check the failure's number.

#include <functional>

#include "base/Failure.h"

namespace tonekit::test {

// The number of the Failure that body raises; 0 when it raises none.
inline long failureNumber(const std::function<void()>& body) {
  try {
    body();
  } catch (const Failure& failure) {
    return failure.number();
  }
  return 0;
}

}  // namespace tonekit::test
