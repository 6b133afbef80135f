// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "base/Translate.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <utility>

namespace tonekit {

namespace {

std::mutex& lock() {
  static std::mutex mutex;
  return mutex;
}
TranslateHook& hook() {
  static TranslateHook installed = nullptr;
  return installed;
}
// Translations already asked for; a map's nodes stay where they are, so the pointers handed out
// stay valid.
std::map<std::pair<std::string, std::string>, std::string>& cache() {
  static auto* texts = new std::map<std::pair<std::string, std::string>, std::string>;
  return *texts;
}

}  // namespace

const char* translate(const char* context, const char* text) {
  const std::lock_guard guard(lock());
  if (!hook() || !text || !*text) return text;
  auto key = std::make_pair(std::string(context ? context : ""), std::string(text));
  auto found = cache().find(key);
  if (found == cache().end()) {
    std::string translation = hook()(key.first.c_str(), text);
    found = cache().emplace(std::move(key), std::move(translation)).first;
  }
  return found->second.empty() ? text : found->second.c_str();
}

void setTranslateHook(TranslateHook installed) {
  const std::lock_guard guard(lock());
  hook() = installed;
  cache().clear();
}

std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t n = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '0') : 0;
    if (text[i] == '%' && n >= 1 && n <= values.size() && n <= 9) {
      out += values.begin()[n - 1];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

Language languageOfLocaleName(std::string_view name) {
  return name.substr(0, 2) == "ja" ? Language::Japanese : Language::English;
}

Language environmentLanguage() {
  for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (!value || !*value) continue;
    std::string_view name(value);
    return languageOfLocaleName(name.substr(0, name.find(':')));
  }
  return Language::English;
}

std::optional<Language> languageNamed(std::string_view name) {
  if (name == "ja") return Language::Japanese;
  if (name == "en") return Language::English;
  return std::nullopt;
}

const char* languageCode(Language language) { return language == Language::Japanese ? "ja" : "en"; }

}  // namespace tonekit
