// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// 表示 → 言語 / Language: the choice is kept for the next start and beats the desktop's language;
// --lang beats both.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "ScriptedPlatform.h"
#include "main_window/ui/LanguageChoice.h"

namespace tonekit::ui {
namespace {

TEST(LanguageMenu, ChoiceIsKeptAndTakesEffectAtTheNextStart) {
  ScriptedPlatform sp;
  QWidget window;
  QMenu show;
  QMenu* languages = addLanguageMenu(&show, &window);
  EXPECT_EQ(languages->title(), QString::fromUtf8("言語 / Language(&G)"));
  auto* english = languages->findChild<QAction*>("mnuLanguageEnglish");
  auto* desktop = languages->findChild<QAction*>("mnuLanguageDesktop");
  ASSERT_TRUE(english && desktop);

  EXPECT_EQ(startLanguage(std::nullopt), environmentLanguage());
  english->trigger();
  EXPECT_EQ(savedLanguage(), Language::English);
  EXPECT_EQ(startLanguage(std::nullopt), Language::English);
  EXPECT_EQ(startLanguage(Language::Japanese), Language::Japanese);
  ASSERT_EQ(sp.messages.size(), 1u);
  EXPECT_TRUE(sp.messages[0].text.contains("TONEKIT"));

  desktop->trigger();
  EXPECT_EQ(savedLanguage(), std::nullopt);
  // A menu made later shows the choice kept.
  english->trigger();
  QMenu again;
  EXPECT_TRUE(addLanguageMenu(&again, &window)->findChild<QAction*>("mnuLanguageEnglish")->isChecked());
}

}  // namespace
}  // namespace tonekit::ui
