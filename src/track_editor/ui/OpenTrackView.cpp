// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "track_editor/ui/OpenTrackView.h"

#include <QWidget>
#include <filesystem>

#include "mld/clsMLD.h"
#include "mld/MldInfo.h"
#include "platform/Platform.h"
#include "session/DocumentSession.h"
#include "track_editor/ui/frmTrac.h"
#include "track_editor/ui/frmTracSelect.h"

namespace tonekit::ui {

frmTrac* openTrackView(QWidget* mainWindow, DocumentSession& session) {
  clsMLD* document = &session.document();
  const int count = info::trackCountOf(*document);
  int track = 0;
  if (count >= 2) {
    frmTracSelect select(mainWindow);
    select.MLDTracCount = static_cast<std::uint8_t>(count);
    select.Load();
    platform().execDialog(select);
    track = select.MLDTracNumber;
  }
  if (track < 0) return nullptr;

  BusyCursor busy;
  platform().processEvents();
  auto* view = new frmTrac;
  view->setAttribute(Qt::WA_DeleteOnClose);
  view->session = &session;
  view->MLDTracNumber = track;
  view->MLDTracData = document->MLDTracData;
  view->MLDNote = document->MLDNote;
  view->MLDExst = document->MLDExst;
  if (const OtherChunk* cuep = document->otherChunk("cuep")) view->MLDCuePoints = cuep->value;
  view->mainWindow = mainWindow;
  if (!session.file().empty()) view->documentName = fromFsPath(std::filesystem::path(session.file()).filename());
  view->Load();
  standAside(mainWindow);
  view->show();
  return view;
}

}  // namespace tonekit::ui
