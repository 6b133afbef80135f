// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Big-endian unsigned numbers of the MLD format, carried in signed 64-bit integers so that the
// whole unsigned 32-bit range fits.

#include <cstdint>

#include "base/ByteString.h"

namespace tonekit {

class clsCalcUtil {
 public:
  // Reads elements 0..3; raises 9 when one is missing, leaving curResult unchanged.
  void CalcDWORD(const ByteString& bytTarget, std::int64_t& curResult) const;
  // Reads elements 0..1 (two bytes, despite the name); raises 9 when one is missing.
  void CalcBYTE(const ByteString& bytTarget, std::int64_t& curResult) const;
  // Raises 6 below 0 or above 2147483647.
  void CalcDWORDFromLong(std::int64_t curTarget, ByteString& bytResult) const;
  // Raises 6 below 0 or above 65535.
  void CalcBYTEFromLong(std::int64_t curTarget, ByteString& bytResult) const;
};

}  // namespace tonekit
