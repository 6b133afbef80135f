// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The two small text routines of the list file reader. They work on plain bytes, so they serve
// decoded text and raw code page 932 bytes alike (a quote or comma byte is never part of a
// double-byte character).

#include <cstdint>
#include <string>
#include <vector>

namespace tonekit {

class clsStringUtil {
 public:
  // Removes one leading double quote, then one trailing double quote, where present.
  void CutSideDQuart(std::string& strTarget) const;

  // Joins strTarget[lngPosition] … strTarget.back() with strAddString between each two. Leaves
  // strResult as it was when the array is empty or its last index is below lngPosition.
  void ArrayToString(const std::vector<std::string>& strTarget, std::int32_t lngPosition, std::string& strResult,
                     const std::string& strAddString) const;
};

}  // namespace tonekit
