#include "core/modCommon.h"

namespace tonekit {

ErrorReport makeErrorReport(const Failure& failure, bool saveVariant) {
  ErrorReport report;
  report.firstText = saveVariant ? kSaveErrorReportText : kErrorReportText;
  report.secondTitle = kErrorInfoTitle;
  report.secondText = std::string(kErrorInfoLead) + "\r\n" + failure.line();
  return report;
}

}  // namespace tonekit
