// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/ui/OpenListView.h"

#include <QPointer>
#include <QWidget>

#include "file_list/ui/frmMLDList.h"
#include "platform/Platform.h"

namespace tonekit::ui {

void openListView(QWidget* mainWindow, const QString& documentPath) {
  guarded(mainWindow, [&] {
    // Made before the main window hides: should making it fail, the main window stays.
    auto* list = new frmMLDList();
    list->documentPath = documentPath;
    list->setAttribute(Qt::WA_DeleteOnClose);
    if (mainWindow) {
      QPointer<QWidget> owner(mainWindow);
      QObject::connect(list, &frmMLDList::unloaded, mainWindow, [owner] { bringBack(owner); });
      standAside(mainWindow);
    }
    list->show();
  });
}

}  // namespace tonekit::ui
