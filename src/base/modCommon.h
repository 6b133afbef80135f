// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The error report's texts. The windows show them as two message boxes; the CLI prints the line.

#include <string>

#include "base/Failure.h"
#include "base/Translate.h"

namespace tonekit {

inline constexpr Text kErrorReportText = TKN("TONEKIT", "処理できませんでした。");
// The main window's save shows this variant, missing character included; users know it so.
inline constexpr Text kSaveErrorReportText = TKN("TONEKIT", "処理でませんでした。");
inline constexpr Text kErrorInfoTitle = TKN("TONEKIT", "エラー情報");
inline constexpr Text kErrorInfoLead =
    TKN("TONEKIT", "できましたら、バグ退治のために以下の情報を作者に送信してあげてください。");

struct ErrorReport {
  std::string firstText;    // first box, application's title, information icon
  std::string secondTitle;  // "エラー情報"
  std::string secondText;   // lead, CR LF, NUMBER:SOURCE:DESCRIPTION
};

ErrorReport makeErrorReport(const Failure& failure, bool saveVariant = false);

}  // namespace tonekit
