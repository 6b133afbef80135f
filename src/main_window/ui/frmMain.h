// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The program's main window: picks one MLD file, shows its header and information chunks, lets
// the user switch each chunk on or off and edit it, saves, and leads to the other windows.

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/ByteString.h"
#include "mld/clsMLD.h"
#include "mld/MldInfo.h"
#include "session/DocumentSession.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QPushButton;
class QRadioButton;

namespace tonekit::sound {
struct Melody;
}

namespace tonekit::ui {

class frmMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit frmMain(QWidget* parent = nullptr);
  ~frmMain() override;

  // The document of the last load; null before the first one.
  clsMLD* document() { return session_.hasDocument() ? &session_.document() : nullptr; }
  // The open document as the other windows drive it.
  DocumentSession& session() { return session_; }

  // Puts a path into txtPath and loads it, as typing it and pressing "解析" would.
  void openPath(const QString& path);

  void LoadMLDFile();
  void ClearInfoPart();
  void SaveMLDFile();
  // 上書き保存: writes the file the document was read from (or last saved to) in place, refused
  // when another file stands under its name by now; a document no file holds yet asks for one.
  void overwriteFile();
  // Whether the window holds changes not saved yet: a text, check box or option of the
  // information part changed since the read or the last save, a track the track view handed
  // back changed, or a document made from a MIDI file and never saved.
  bool isModified() const;
  void SetNormalLayout();
  void SetExpertLayout();
  bool isExpert() const { return expert_; }

  // How the track view and the list window are opened; tests put their own in.
  std::function<void(frmMain&)> trackViewOpener;
  std::function<void(frmMain&)> listViewOpener;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void openTrackView();
  void openListView();

 private:
  // One information row: its check box, the editor it enables, and what the load showed, so
  // that a row the user left alone is written back with the bytes it was read with.
  struct InfoRow {
    const char* tag = nullptr;
    QCheckBox* check = nullptr;
    QLabel* label = nullptr;
    QWidget* editor = nullptr;
    QLineEdit* text = nullptr;    // text rows only
    const char* initialText = "";  // text rows only
    std::optional<info::TextChunk> loadedText;      // text rows: the chunk the load put in
    std::optional<info::ChoiceValue> loadedChoice;  // option rows: the value the load showed
  };

  void buildWindow();
  // The page inside the scroll area that holds the classic controls.
  QWidget* scrollPage() const;
  void buildMenus();
  void nameControls();
  // Playing and exporting the melody: the play menu and the file menu's export entries.
  void buildSoundMenus(QMenu* file, QMenu* before);
  // The melody as the window stands: the document's tracks with the names and note length the
  // controls show.
  sound::Melody shownMelody();
  void buildHeaderFrame(QWidget* central);
  void buildInfoFrame(QWidget* central);
  QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int width);

  void setTrackEditingEnabled(bool on);
  // Before the document on show would go: asks about unsaved changes; false when the user
  // cancels (or a chosen save did not happen).
  bool maybeSave();
  // SaveMLDFile's work; true when the file was written.
  bool saveDocument();
  // The questions before any save (incomplete read, characters lost, trailing bytes); false
  // when the save must not go on.
  bool readyToSave();
  // Writes the document as the controls stand to path; over the file read it lands on that very
  // file only. True when written.
  bool writeDocument(const QString& path);
  // The name the title and the questions give the document.
  QString documentName() const;
  // The title names the document; "[*]" marks changes not saved.
  void updateTitle();
  void updateModifiedMark();
  // No value of a file stays in the header frame after a read that failed.
  void clearHeaderFrame();
  // What the information part shows, as one value to compare with later.
  QString shownState() const;
  // The shown state becomes the saved one.
  void markSaved();
  // Reads the file txtPath names (LoadMLDFile without the question).
  void readShownPath();
  void fillRecentMenu();
  void openRecentFile(const QString& path);
  void openFileDialog();
  // A new document made from a MIDI file, shown as if it had been read.
  void importMidiFile();
  void toggleLayout();
  void showVersion();
  // The chunks beyond the eight and the audio chunks, in a window of their own.
  void showOtherChunks();
  void acceptDroppedUrls(const QList<QUrl>& urls);
  static bool carriesFiles(const QMimeData* mime);

  InfoRow& row(const char* tag);
  // The value the options of the "sorc" or "note" row stand for, encoded as the file holds it.
  ByteString shownChoice(const InfoRow& r) const;
  // The value a checked row is saved with.
  ByteString valueToSave(const InfoRow& r) const;
  void loadHeaderAndChunks();
  // The document just read or made: its header and chunks shown, saving and the track view on.
  void showLoadedDocument();

  // Both layouts in one place: what the expert layout shows, the normal one hides.
  void applyLayout(bool expert);

  // The file the session holds the document from, as the window shows paths; empty while no
  // file holds it.
  QString savedFile() const;

  DocumentSession session_;
  bool expert_ = false;
  // The file the document came from or was last saved to; the dialogs start beside it.
  QString documentPath_;
  QString savedState_;

  QLineEdit* txtPath = nullptr;
  QPushButton* cmdFileDialog = nullptr;
  QPushButton* cmdParse = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdTrac = nullptr;
  QPushButton* cmdListView = nullptr;
  QPushButton* cmdActionChange = nullptr;
  QPushButton* cmdClose = nullptr;
  QGroupBox* fraFileHead = nullptr;
  QLineEdit* txtMLDFileLength = nullptr;
  QLineEdit* txtMLDLengthToTrac = nullptr;
  std::array<QRadioButton*, 2> optMajor{};
  QButtonGroup* grpMajor = nullptr;
  QLabel* lblMajorRaw = nullptr;
  QPushButton* cmdOtherChunks = nullptr;
  QLabel* lblAudioChunks = nullptr;
  std::array<QRadioButton*, 3> optMiner{};
  std::array<QRadioButton*, 4> optTracCount{};
  QGroupBox* fraInfomationPart = nullptr;
  QFrame* picSorc = nullptr;
  std::array<QRadioButton*, 3> optSorcIn{};
  std::array<QRadioButton*, 2> optSorcPat{};
  QFrame* picNote = nullptr;
  std::array<QRadioButton*, 2> optNoteLen{};
  std::array<InfoRow, 8> rows_;

  QAction* mnuFileOpen = nullptr;
  QAction* mnuFileSave = nullptr;
  QAction* mnuFileOverwrite = nullptr;
  QAction* mnuFileImportMidi = nullptr;
  QMenu* mnuFileRecent = nullptr;
  QAction* mnuFileEnd = nullptr;
  QAction* mnuShowChange = nullptr;
  QAction* mnuShowMLDList = nullptr;
  QAction* mnuShowTracData = nullptr;
  QAction* mnuHelpVersion = nullptr;
};

}  // namespace tonekit::ui
