#include "platform/Platform.h"

#include <QStringList>
#include <exception>

#include "core/modCommon.h"
#include "platform/QtPlatform.h"

namespace tonekit::ui {

namespace {
Platform* current = nullptr;
}

Platform& platform() {
  if (!current) {
    static QtPlatform fallback;
    current = &fallback;
  }
  return *current;
}

void setPlatform(Platform* p) { current = p; }

QString qtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    // Qt reads the patterns from the last "(…)"; a description that already ends with them is
    // shown as it is, any other gets them added.
    const QString shown = "(" + patterns + ")";
    filters << (parts[i].endsWith(shown) ? parts[i] : parts[i] + " " + shown);
  }
  return filters.join(";;");
}

void showErrorReport(QWidget* parent, const Failure& failure, bool saveVariant) {
  const ErrorReport report = makeErrorReport(failure, saveVariant);
  platform().message(parent, QString::fromStdString(report.firstText), Icon::Information);
  platform().message(parent, QString::fromStdString(report.secondText), Icon::Information, Buttons::Ok,
                     QString::fromStdString(report.secondTitle));
}

bool guarded(QWidget* parent, const std::function<void()>& body, bool saveVariant) {
  try {
    body();
    return true;
  } catch (const Failure& failure) {
    showErrorReport(parent, failure, saveVariant);
  } catch (const std::bad_alloc&) {
    showErrorReport(parent, Failure(7, "メモリが不足しています。"), saveVariant);
  } catch (const std::exception& e) {
    showErrorReport(parent, Failure(51, e.what()), saveVariant);
  }
  return false;
}

}  // namespace tonekit::ui
