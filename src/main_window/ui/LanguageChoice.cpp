// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "main_window/ui/LanguageChoice.h"

#include <QActionGroup>
#include <QMenu>
#include <QSettings>

#include "platform/Platform.h"
#include "platform/Settings.h"

namespace tonekit::ui {

namespace {
const QString kLanguageKey = QStringLiteral("main/language");
}  // namespace

std::optional<Language> savedLanguage() {
  return languageNamed(settings::store().value(kLanguageKey).toString().toStdString());
}

void saveLanguage(std::optional<Language> language) {
  if (language) {
    settings::store().setValue(kLanguageKey, QString::fromLatin1(languageCode(*language)));
  } else {
    settings::store().remove(kLanguageKey);
  }
}

Language startLanguage(std::optional<Language> given) {
  if (given) return *given;
  if (const auto saved = savedLanguage()) return *saved;
  return environmentLanguage();
}

QMenu* addLanguageMenu(QMenu* menu, QWidget* parent) {
  // Its caption names it in both languages, so that it can be found in the language one cannot read.
  QMenu* languages = menu->addMenu(QString::fromUtf8(TKT("TONEKIT", "言語 / Language(&G)")));
  languages->setObjectName("mnuShowLanguage");
  auto* group = new QActionGroup(languages);
  const auto add = [&](const char* name, const char* caption, std::optional<Language> language) {
    QAction* action = languages->addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    action->setCheckable(true);
    action->setChecked(savedLanguage() == language);
    group->addAction(action);
    QObject::connect(action, &QAction::triggered, parent, [parent, language] {
      if (savedLanguage() == language) return;
      saveLanguage(language);
      platform().message(parent,
                         QString::fromUtf8(TKT("TONEKIT", "表示する言語は、次に TONEKIT を起動したときに切り替わります。")),
                         Icon::Information);
    });
  };
  // Each language by its own name, whatever the language shown.
  add("mnuLanguageJapanese", "日本語", Language::Japanese);
  add("mnuLanguageEnglish", "English", Language::English);
  add("mnuLanguageDesktop", TKT("TONEKIT", "デスクトップの言語に合わせる"), std::nullopt);
  return languages;
}

}  // namespace tonekit::ui
