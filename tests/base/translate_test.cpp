// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/Failure.h"
#include "base/Translate.h"

namespace tonekit {
namespace {

std::string english(const char* context, const char* text) {
  if (std::string(context) != kTextContext) return {};
  if (std::string(text) == "ファイルが見つかりません。") return "File not found.";
  return {};
}

// The hook decides what the libraries' texts say; without it they are the source texts as written.
TEST(Translate, HookTranslatesTextsAndConstantsWhereTheyAreUsed) {
  constexpr Text kMissing = TKN("TONEKIT", "ファイルが見つかりません。");
  EXPECT_STREQ(Failure::of(err::FileNotFound).description().c_str(), "ファイルが見つかりません。");
  setTranslateHook(english);
  EXPECT_EQ(Failure::of(err::FileNotFound, "a.mld").line(), "53:TONEKIT:File not found. a.mld");
  EXPECT_STREQ(kMissing, "File not found.");
  EXPECT_STREQ(kMissing.source(), "ファイルが見つかりません。");
  // A text the translation lacks stays as written.
  EXPECT_STREQ(TKT("TONEKIT", "型が一致しません。"), "型が一致しません。");
  setTranslateHook(nullptr);
  EXPECT_STREQ(kMissing, "ファイルが見つかりません。");
}

TEST(Translate, FillInPutsValuesInTheTranslationsOrder) {
  EXPECT_EQ(fillIn("「%1」というコマンドはありません。", {"x"}), "「x」というコマンドはありません。");
  EXPECT_EQ(fillIn("%2 of %1, 100%", {"a", "b"}), "b of a, 100%");
}

TEST(Translate, DesktopLanguageIsJapaneseOnlyUnderJa) {
  EXPECT_EQ(languageOfLocaleName("ja_JP.UTF-8"), Language::Japanese);
  EXPECT_EQ(languageOfLocaleName("ja"), Language::Japanese);
  EXPECT_EQ(languageOfLocaleName("C"), Language::English);
  EXPECT_EQ(languageOfLocaleName("en_GB.UTF-8"), Language::English);
  EXPECT_EQ(languageNamed("ja"), Language::Japanese);
  EXPECT_EQ(languageNamed("en"), Language::English);
  EXPECT_EQ(languageNamed("de"), std::nullopt);

  // The first variable set decides; LANGUAGE lists languages by preference.
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(name);
  EXPECT_EQ(environmentLanguage(), Language::English);
  setenv("LANG", "ja_JP.UTF-8", 1);
  EXPECT_EQ(environmentLanguage(), Language::Japanese);
  setenv("LC_MESSAGES", "C", 1);
  EXPECT_EQ(environmentLanguage(), Language::English);
  setenv("LC_ALL", "", 1);
  setenv("LANGUAGE", "ja:en", 1);
  EXPECT_EQ(environmentLanguage(), Language::Japanese);
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(name);
}

}  // namespace
}  // namespace tonekit
