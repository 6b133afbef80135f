#include "platform/Platform.h"

#include <QFile>
#include <QStringList>
#include <QWidget>
#include <exception>

#include "core/CodePage.h"
#include "core/AppFolder.h"
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

void PlatformMessages::message(const std::string& text, MessageIcon icon) {
  platform().message(parent_, QString::fromStdString(text), icon);
}

std::filesystem::path toFsPath(const QString& path) { return std::filesystem::path(toNativePath(path)); }
std::string toNativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString fromFsPath(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

QString dialogStartFolder() { return fromFsPath(writableProgramFolder()); }

FileDialogOptions fileDialogOptions(const QString& title, const QString& filter, const QString& defaultSuffix) {
  FileDialogOptions options;
  options.title = title;
  options.filter = filter;
  options.startFolder = dialogStartFolder();
  options.defaultSuffix = defaultSuffix;
  return options;
}

std::optional<QString> askSaveFile(QWidget* parent, FileDialogOptions options) {
  options.confirmOverwrite = true;
  try {
    return platform().saveFile(parent, options);
  } catch (...) {
    return std::nullopt;
  }
}

void bringBack(const QPointer<QWidget>& window) {
  if (window) window->show();
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
  } catch (const std::exception&) {
    showErrorReport(parent, currentFailure(), saveVariant);
  }
  return false;
}

}  // namespace tonekit::ui
