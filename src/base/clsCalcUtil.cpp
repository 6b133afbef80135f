// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "base/clsCalcUtil.h"

#include "base/BigEndian.h"
#include "base/Failure.h"
#include "base/Translate.h"

namespace tonekit {

void clsCalcUtil::CalcDWORD(const ByteString& bytTarget, std::int64_t& curResult) const {
  if (bytTarget.size() < 4) throw Failure::of(err::IndexOutOfRange, TKT("TONEKIT", "(4バイトの数値)"));
  curResult = static_cast<std::int64_t>(readBigEndian(bytTarget.data(), 4));
}

void clsCalcUtil::CalcBYTE(const ByteString& bytTarget, std::int64_t& curResult) const {
  if (bytTarget.size() < 2) throw Failure::of(err::IndexOutOfRange, TKT("TONEKIT", "(2バイトの数値)"));
  curResult = static_cast<std::int64_t>(readBigEndian(bytTarget.data(), 2));
}

void clsCalcUtil::CalcDWORDFromLong(std::int64_t curTarget, ByteString& bytResult) const {
  if (curTarget < 0 || curTarget > 2147483647) throw Failure::of(err::Overflow, std::to_string(curTarget));
  bytResult.clear();
  appendBigEndian(bytResult, static_cast<std::uint64_t>(curTarget), 4);
}

void clsCalcUtil::CalcBYTEFromLong(std::int64_t curTarget, ByteString& bytResult) const {
  bytResult.assign(2, 0);
  if (curTarget < 0 || curTarget > 65535) throw Failure::of(err::Overflow, std::to_string(curTarget));
  bytResult.clear();
  appendBigEndian(bytResult, static_cast<std::uint64_t>(curTarget), 2);
}

}  // namespace tonekit
