// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Opens the track view for a document: asks for the track when there are two or more, then
// shows the view on the document's own track collection and hides the main window until the
// view closes.

class QWidget;

namespace tonekit {
class DocumentSession;
}

namespace tonekit::ui {

class frmTrac;

// Raises when the session holds no document. Returns the opened view, or nullptr when the user
// chose no track. The view deletes itself when it closes; it edits the document's own tracks.
frmTrac* openTrackView(QWidget* mainWindow, tonekit::DocumentSession& session);

}  // namespace tonekit::ui
