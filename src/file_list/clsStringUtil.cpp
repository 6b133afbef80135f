// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/clsStringUtil.h"

namespace tonekit {

void clsStringUtil::CutSideDQuart(std::string& strTarget) const {
  if (!strTarget.empty() && strTarget.front() == '"') strTarget.erase(0, 1);
  if (!strTarget.empty() && strTarget.back() == '"') strTarget.pop_back();
}

void clsStringUtil::ArrayToString(const std::vector<std::string>& strTarget, std::int32_t lngPosition,
                                  std::string& strResult, const std::string& strAddString) const {
  if (strTarget.empty()) return;
  const auto last = static_cast<std::int64_t>(strTarget.size()) - 1;
  if (last < lngPosition) return;
  // A position below the first index joins from the first element.
  const std::size_t first = lngPosition < 0 ? 0 : static_cast<std::size_t>(lngPosition);
  std::string joined;
  for (std::size_t i = first; i < strTarget.size(); ++i) {
    if (i > first) joined += strAddString;
    joined += strTarget[i];
  }
  strResult = std::move(joined);
}

}  // namespace tonekit
