// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The language the desktop program speaks: --lang, else the choice made in 表示 → 言語, else the
// desktop's. The choice is kept in the settings and takes effect at the next start.

#include "i18n/Language.h"

class QMenu;
class QWidget;

namespace tonekit::ui {

// The chosen language kept in the settings ("ja", "en"), or nothing when it follows the desktop.
std::optional<Language> savedLanguage();
void saveLanguage(std::optional<Language> language);

// The language to start in: given (--lang) before saved before the desktop's.
Language startLanguage(std::optional<Language> given);

// Adds 言語 / Language with 日本語, English and the desktop's choice to menu; a choice is saved
// and a message (over parent) says it takes effect at the next start.
QMenu* addLanguageMenu(QMenu* menu, QWidget* parent);

}  // namespace tonekit::ui
