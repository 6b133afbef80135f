// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "base/modCommon.h"

namespace tonekit {

ErrorReport makeErrorReport(const Failure& failure, bool saveVariant) {
  ErrorReport report;
  report.firstText = saveVariant ? kSaveErrorReportText : kErrorReportText;
  report.secondTitle = kErrorInfoTitle;
  report.secondText = std::string(kErrorInfoLead) + "\r\n" + failure.line();
  return report;
}

}  // namespace tonekit
