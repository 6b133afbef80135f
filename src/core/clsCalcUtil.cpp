// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "core/clsCalcUtil.h"

#include "core/Failure.h"
#include "core/Translate.h"

namespace tonekit {

void clsCalcUtil::CalcDWORD(const ByteString& bytTarget, std::int64_t& curResult) const {
  if (bytTarget.size() < 4) throw Failure::of(err::IndexOutOfRange, TKT("TONEKIT", "(4バイトの数値)"));
  curResult = (std::int64_t{bytTarget[0]} << 24) | (std::int64_t{bytTarget[1]} << 16) |
              (std::int64_t{bytTarget[2]} << 8) | std::int64_t{bytTarget[3]};
}

void clsCalcUtil::CalcBYTE(const ByteString& bytTarget, std::int64_t& curResult) const {
  if (bytTarget.size() < 2) throw Failure::of(err::IndexOutOfRange, TKT("TONEKIT", "(2バイトの数値)"));
  curResult = (std::int64_t{bytTarget[0]} << 8) | std::int64_t{bytTarget[1]};
}

void clsCalcUtil::CalcDWORDFromLong(std::int64_t curTarget, ByteString& bytResult) const {
  if (curTarget < 0 || curTarget > 2147483647) throw Failure::of(err::Overflow, std::to_string(curTarget));
  const auto v = static_cast<std::uint32_t>(curTarget);
  bytResult = {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
               static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

void clsCalcUtil::CalcBYTEFromLong(std::int64_t curTarget, ByteString& bytResult) const {
  bytResult.assign(2, 0);
  if (curTarget < 0 || curTarget > 65535) throw Failure::of(err::Overflow, std::to_string(curTarget));
  bytResult[0] = static_cast<std::uint8_t>(curTarget >> 8);
  bytResult[1] = static_cast<std::uint8_t>(curTarget);
}

}  // namespace tonekit
