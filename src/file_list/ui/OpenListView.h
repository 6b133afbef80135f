// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Opening the MLD list window from the main window.

#include <QString>

class QWidget;

namespace tonekit::ui {

// Hides mainWindow and shows a new list window without waiting; when the list window closes it
// is deleted and mainWindow shows again. The list's dialogs start beside documentPath (the main
// window's document) until a list file is in hand.
void openListView(QWidget* mainWindow, const QString& documentPath = {});

}  // namespace tonekit::ui
