#include "platform/Platform.h"

#include <QStringList>
#include <exception>

#include "core/CodePage.h"
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

bool confirmUnencodable(QWidget* parent, const QList<QPair<QString, QString>>& labelledTexts) {
  QStringList lines;
  for (const auto& [label, text] : labelledTexts) {
    const std::u32string missing = unencodableCp932(text.toStdString());
    if (missing.empty()) continue;
    QStringList shown;
    for (const char32_t c : missing) shown << QString::fromUtf8("「") + QString::fromUcs4(&c, 1) + QString::fromUtf8("」");
    lines << label + ": " + shown.join(' ');
  }
  if (lines.isEmpty()) return true;
  const QString question =
      QString::fromUtf8("次の文字はシフトJIS（コードページ932）にないため、「?」に置き換えて保存されます。\r\n") +
      lines.join("\r\n") + QString::fromUtf8("\r\nよろしいですか？");
  return platform().message(parent, question, Icon::Question, Buttons::OkCancel) == Answer::Ok;
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
