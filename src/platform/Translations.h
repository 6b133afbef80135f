// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Qt's own texts (standard buttons, file dialogs, the overwrite question) in Japanese, like the
// program's, whatever the desktop's locale.

class QCoreApplication;

namespace tonekit::ui {

// Loads Qt's Japanese translation into app; false when it is not installed (the texts stay
// English).
bool installJapaneseQtTranslation(QCoreApplication& app);

}  // namespace tonekit::ui
