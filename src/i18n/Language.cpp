// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "i18n/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstring>
#include <memory>

namespace tonekit::i18n {

namespace {

// The program's English, loaded when the first text is asked for: a command that prints only
// numbers (a render, an export) never pays the memory for it.
struct ProgramEnglish {
  bool tried = false;
  std::unique_ptr<QTranslator> translator;
};

ProgramEnglish& programEnglish() {
  static ProgramEnglish english;
  return english;
}

// Called under the hook's lock, so the first load happens once.
std::string translateWithQt(const char* context, const char* text) {
  ProgramEnglish& english = programEnglish();
  if (!english.tried) {
    english.tried = true;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral(":/i18n/tonekit_en.qm"))) english.translator = std::move(translator);
  }
  // Nothing found: the Japanese source stands.
  return english.translator ? english.translator->translate(context, text).toStdString() : std::string();
}

}  // namespace

LanguageOption languageOption(int argc, char** argv) {
  LanguageOption option;
  for (int i = 1; i < argc; ++i) {
    const char* word = argv[i];
    if (std::strcmp(word, "--") == 0) break;
    const char* value = nullptr;
    if (std::strcmp(word, "--lang") == 0) {
      value = i + 1 < argc ? argv[++i] : "";
    } else if (std::strncmp(word, "--lang=", 7) == 0) {
      value = word + 7;
    } else {
      continue;
    }
    option.language = languageNamed(value);
    option.refused = option.language ? std::string() : std::string(value);
  }
  return option;
}

void useLanguage(Language language, QCoreApplication* app) {
  // With no hook installed no translation runs, so the English may be dropped here.
  setTranslateHook(nullptr);
  programEnglish() = {};
  if (language == Language::English) setTranslateHook(translateWithQt);
  if (!app) return;
  // Qt's own texts: its English is built in; its Japanese comes from Debian's translations.
  if (language == Language::Japanese) {
    auto* translator = new QTranslator(app);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QCoreApplication::installTranslator(translator);
    } else {
      delete translator;
    }
  }
}

}  // namespace tonekit::i18n
