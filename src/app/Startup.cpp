// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "app/Startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/Failure.h"
#include "base/Translate.h"
#include "tonekit/Version.h"

namespace tonekit::app {

namespace {

// The exit status of a command line that cannot be understood, as tonekit-cli gives it.
constexpr int kUsageExit = 2;

const QCommandLineOption& helpOption() {
  static const QCommandLineOption option({"h", "help"}, "Show this help and exit.");
  return option;
}

const QCommandLineOption& versionOption() {
  static const QCommandLineOption option({"V", "version"}, "Show the version and exit.");
  return option;
}

const QCommandLineOption& languageOption() {
  static const QCommandLineOption option(
      QStringLiteral("lang"), "Speak LANG: ja (Japanese) or en (English). By default, the language chosen in the\n"
                "program, else the desktop's (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).", "LANG");
  return option;
}

void describe(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      "TONEKIT: edit MLD files, the melody (ringtone) files of i-mode phones.\n"
      "\n"
      "Opens the main window. A FILE given here is read at once, as if chosen with the folder\n"
      "button and read with the analyse button.");
  parser.addOption(helpOption());
  parser.addOption(versionOption());
  parser.addOption(languageOption());
  parser.addPositionalArgument("FILE", "The MLD file to open.", "[FILE]");
}

void print(std::FILE* stream, const QString& text) { std::fputs(text.toLocal8Bit().constData(), stream); }

}  // namespace

bool answersWithoutDisplay(int argc, char** argv) {
  // The options QApplication takes for itself (some with a value); any other option that is not
  // ours is a usage error, answered before a display is needed.
  static const char* const kQtOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                           "qwindowgeometry", "qwindowicon", "qwindowtitle", "reverse",
                                           "session", "display", "geometry", "style", "stylesheet",
                                           "widgetcount", "qmljsdebugger", "nograb", "dograb", "sync",
                                           "name", "title", "visual", "ncols", "cmap", "background",
                                           "foreground", "button", "font", "fn", "bg", "fg", "btn"};
  for (int i = 1; i < argc; ++i) {
    const char* word = argv[i];
    if (std::strcmp(word, "--") == 0) return false;
    for (const char* text : {"-h", "--help", "-V", "--version"}) {
      if (std::strcmp(word, text) == 0) return true;
    }
    if (word[0] != '-' || word[1] == '\0') continue;
    std::string name(word + (word[1] == '-' ? 2 : 1));
    const bool valueGiven = name.find('=') != std::string::npos;
    name = name.substr(0, name.find('='));
    if (name == "lang") {
      // A language that is not ours is a usage error, answered at once too.
      const char* value = valueGiven ? std::strchr(word, '=') + 1 : (i + 1 < argc ? argv[++i] : "");
      if (!languageNamed(value)) return true;
      continue;
    }
    bool known = false;
    for (const char* qt : kQtOptions) known = known || name == qt;
    if (!known) return true;
  }
  return false;
}

StartRequest readCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  describe(parser);
  if (!parser.parse(arguments)) {
    print(stderr, "tonekit: " + parser.errorText() + "\nTry 'tonekit --help' for more information.\n");
    return {kUsageExit, {}};
  }
  if (parser.isSet(helpOption())) {
    // The usage line names the program as it is installed, not by the path it was started with.
    QString help = parser.helpText();
    const QString usage = "Usage: " + (arguments.isEmpty() ? QString() : arguments.first());
    if (help.startsWith(usage)) help.replace(0, usage.size(), "Usage: tonekit");
    print(stdout, help);
    return {0, {}};
  }
  if (parser.isSet(languageOption()) && !languageNamed(parser.value(languageOption()).toStdString())) {
    print(stderr, "tonekit: --lang takes ja or en, not '" + parser.value(languageOption()) +
                      "'.\nTry 'tonekit --help' for more information.\n");
    return {kUsageExit, {}};
  }
  if (parser.isSet(versionOption())) {
    print(stdout, QString("tonekit %1\n%2\n").arg(kVersionString, kLicenceNotice));
    return {0, {}};
  }
  const QStringList files = parser.positionalArguments();
  return {std::nullopt, files.isEmpty() ? QString() : files.first()};
}

void setIdentity() {
  QApplication::setApplicationName(kAppName);
  QApplication::setApplicationVersion(kVersionString);
  QGuiApplication::setDesktopFileName(kDesktopId);
  // The icon the build draws from the SVG, every size of it, from this program's resources.
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QString(":/icons/%1/%2.png").arg(size).arg(kDesktopId), QSize(size, size));
  }
  QApplication::setWindowIcon(icon);
}

}  // namespace tonekit::app
