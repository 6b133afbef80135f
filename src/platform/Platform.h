// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Everything that shows a message box or a dialog, or asks the user, goes through here: the Qt
// implementation for the program, a scripted double for tests (no screen, no blocking).

#include <QList>
#include <QPair>
#include <QPointer>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "base/Failure.h"
#include "base/MessageSink.h"

class QWidget;
class QDialog;

namespace tonekit::ui {

// The core's message icons are the platform's: one list for both.
using Icon = MessageIcon;
// SaveDiscardCancel: "保存" / "保存しない" / "キャンセル", answered Save, Discard or Cancel.
// AppendReplaceCancel: "追記" (the default) / "置き換え" / "キャンセル", answered Append, Replace or
// Cancel.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, SaveDiscardCancel, AppendReplaceCancel };
enum class Answer { Ok, Cancel, Yes, No, Save, Discard, Append, Replace };

struct FileDialogOptions {
  QString title;
  // "desc|pattern|desc|pattern…" as the program states it; turned into Qt name filters.
  QString filter;
  QString startFolder;
  QString defaultSuffix;  // without the dot: "mld"
  // Save dialogs: the file name proposed in the name box (no folder); empty proposes nothing.
  QString proposedName;
  // Names the dialog among the program's dialogs: the folder it chose from is remembered under
  // this key and is where it starts next time (see dialogStartFolder).
  QString dialogKey;
  bool existingOnly = false;
  bool confirmOverwrite = false;
  // Save dialogs: where the position of the filter the user chose goes (0 for the first).
  int* chosenFilter = nullptr;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // title empty: the application's name.
  virtual Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons = Buttons::Ok,
                         const QString& title = {}) = 0;
  // Cancelled: nothing.
  virtual std::optional<QString> openFile(QWidget* parent, const FileDialogOptions& options) = 0;
  virtual std::optional<QString> saveFile(QWidget* parent, const FileDialogOptions& options) = 0;
  virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) = 0;
  // Shows one of our own dialogs modally; returns its QDialog::DialogCode result.
  virtual int execDialog(QDialog& dialog) = 0;
  // The hourglass pointer while long work runs on the window thread.
  virtual void setBusy(bool busy) = 0;
  // Lets pending window events run once (so that a wait window gets drawn).
  virtual void processEvents() = 0;
};

// The platform the windows use; the program installs the Qt one, tests a scripted one.
Platform& platform();
void setPlatform(Platform* platform);

// Converts "desc|pattern|desc|pattern" into Qt's "desc (pattern);;desc (pattern)", each pattern
// with its capital twin; when every desc ends in its own "(pattern)" already, the descs alone.
QString qtNameFilters(const QString& filter);

// Before edited texts are saved: names the characters code page 932 cannot hold, one line per
// text that has any ("label: characters"), and asks whether to save them as "?" (question icon,
// OK / Cancel). True when no text loses a character or the user answers OK.
bool confirmUnencodable(QWidget* parent, const QList<QPair<QString, QString>>& labelledTexts);

// The error report: "処理できませんでした。" (or the save variant), then "エラー情報".
void showErrorReport(QWidget* parent, const tonekit::Failure& failure, bool saveVariant = false);
// Runs body; any failure stops it and is reported. Returns whether body ran through.
bool guarded(QWidget* parent, const std::function<void()>& body, bool saveVariant = false);

// Core messages (the reader's warnings, …) shown as message boxes as they come.
class PlatformMessages : public MessageSink {
 public:
  explicit PlatformMessages(QWidget* parent) : parent_(parent) {}
  void message(const std::string& text, MessageIcon icon) override;

 private:
  QWidget* parent_;
};

// A path typed or chosen in a window as the file system names it, and back. Every window
// converts through here, so a name in any bytes makes the same round trip everywhere.
std::filesystem::path toFsPath(const QString& path);
std::string toNativePath(const QString& path);
QString fromFsPath(const std::filesystem::path& path);

// Where a file dialog starts: the folder of the document in hand, else the folder the same
// dialog (dialogKey) chose from last, else the user's home folder.
QString dialogStartFolder(const QString& dialogKey, const QString& documentPath = {});
// The options of a file dialog that starts there. With a documentPath and a defaultSuffix, a save
// dialog proposes the document's name with that suffix.
FileDialogOptions fileDialogOptions(const QString& title, const QString& filter, const QString& defaultSuffix,
                                    const QString& dialogKey, const QString& documentPath = {});
// The open dialog; the folder of the chosen file is remembered for its key.
std::optional<QString> askOpenFile(QWidget* parent, const FileDialogOptions& options);
// The save dialog that asks before an existing file is replaced (unless the caller asks its own
// question). Nothing on a cancel; a dialog that fails is taken as a cancel too. The chosen folder
// is remembered for the dialog's key.
std::optional<QString> askSaveFile(QWidget* parent, FileDialogOptions options, bool confirmOverwrite = true);
// The folder browser, started and remembered like the file dialogs.
std::optional<QString> askFolder(QWidget* parent, const QString& title, const QString& dialogKey,
                                 const QString& documentPath = {});

// Before unsaved changes would be lost: text, then 保存 / 保存しない / キャンセル.
Answer askToSaveChanges(QWidget* parent, const QString& text);

// A window stands aside for another (hidden) and comes back later at the same place and in the
// same state (maximised or not), whatever the window manager would choose.
void standAside(QWidget* window);
// A window that stood aside for another (the main window while the track view or the list
// window shows) comes back where it stood; nothing when it has gone meanwhile.
void bringBack(const QPointer<QWidget>& window);

// Runs work on a thread of its own while this thread keeps the windows painted and answering
// (a cancel button among them) and runs tick every few milliseconds; returns when work has ended
// and raises here what work raised.
void runBesideWindows(const std::function<void()>& work, const std::function<void()>& tick = {});

// Sets the hourglass for the lifetime of the object.
class BusyCursor {
 public:
  BusyCursor() { platform().setBusy(true); }
  ~BusyCursor() { platform().setBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace tonekit::ui
