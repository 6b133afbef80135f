// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Which language the programs speak, and the translation that makes them speak it: the texts
// of every library (through the hook of core/Translate.h) and, in the desktop program, Qt's own
// dialogs.

#include <optional>
#include <string>

#include "base/Translate.h"

class QCoreApplication;

namespace tonekit::i18n {

struct LanguageOption {
  std::optional<Language> language;  // --lang ja|en (or --lang=ja), when given
  std::string refused;               // the value of a --lang that is neither, else empty
};

// Reads --lang from the arguments before "--"; the last one given counts.
LanguageOption languageOption(int argc, char** argv);

// From now on the programs' texts are in language (Japanese: the source texts as they are).
// With app, Qt's own texts follow too.
void useLanguage(Language language, QCoreApplication* app = nullptr);

}  // namespace tonekit::i18n
