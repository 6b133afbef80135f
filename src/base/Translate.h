// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The program's texts in the reader's language, without Qt. The Japanese texts are the source
// texts; a translation hook, installed by the program at start (from Qt's translation files),
// gives the other language. Without a hook every text stays as written.
//
// TKT marks a text and translates it where it stands; TKN only marks it (a constant, translated
// where it is shown with translate()). lupdate reads them as translate() and QT_TRANSLATE_NOOP.
// Texts written into files (titles, list lines, the error file) never go through here.

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#define TKT(context, text) (::tonekit::translate(context, text))
#define TKN(context, text) text

namespace tonekit {

// The one context of the program's texts.
inline constexpr const char* kTextContext = "TONEKIT";

// The translation of text, or text itself when there is none (an empty translation counts as
// none). The pointer stays valid until the program ends. Safe from any thread.
const char* translate(const char* context, const char* text);

// A text constant: the source text, translated wherever it is used as text (so a constant made
// before the language is chosen still speaks it).
class Text {
 public:
  constexpr Text(const char* source) : source_(source) {}  // NOLINT: stands for its literal
  operator const char*() const { return translated(); }
  const char* translated() const { return translate(kTextContext, source_); }
  constexpr const char* source() const { return source_; }
  // The translated characters as a range, for the text views of other libraries (QByteArrayView).
  const char* data() const { return translated(); }
  std::size_t size() const { return std::char_traits<char>::length(translated()); }
  const char* begin() const { return data(); }
  const char* end() const { return data() + size(); }

 private:
  const char* source_;
};
inline std::string operator+(const std::string& a, Text b) { return a + static_cast<const char*>(b); }
inline std::string operator+(Text a, const std::string& b) { return static_cast<const char*>(a) + b; }
inline bool operator==(const std::string& a, Text b) { return a == static_cast<const char*>(b); }
inline std::ostream& operator<<(std::ostream& out, Text text) { return out << static_cast<const char*>(text); }

// The hook gives the translation of (context, text), empty when it has none. Install before any
// thread uses translate(); null removes it.
using TranslateHook = std::string (*)(const char* context, const char* text);
void setTranslateHook(TranslateHook hook);

// text with %1, %2, … replaced by the values in turn; translations may reorder them.
std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values);

enum class Language { Japanese, English };

// "ja", "ja_JP.UTF-8", … are Japanese; any other name, English.
Language languageOfLocaleName(std::string_view name);
// The desktop's language: the first of LANGUAGE (its first entry), LC_ALL, LC_MESSAGES and LANG
// that is set and not empty; English when none is.
Language environmentLanguage();
// "ja" or "en" (the --lang values); nothing for any other word.
std::optional<Language> languageNamed(std::string_view name);
const char* languageCode(Language language);

}  // namespace tonekit
