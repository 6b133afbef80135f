// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <memory>

#include "base/Failure.h"
#include "base/Translate.h"

namespace tonekit::ui {

namespace {

QMessageBox::Icon qtIcon(Icon icon) {
  switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

QFileDialog* makeFileDialog(QWidget* parent, const FileDialogOptions& options) {
  auto* dialog = new QFileDialog(parent, options.title, options.startFolder);
  dialog->setAttribute(Qt::WA_DeleteOnClose, false);
  if (!options.filter.isEmpty()) {
    // Only the descriptions show: they are the program's texts, patterns included. Filters that
    // are their captions alone show whole.
    const QStringList filters = qtNameFilters(options.filter).split(";;");
    QStringList captions = options.filter.split('|');
    for (int i = captions.size() - 1; i > 0; i -= 2) captions.removeAt(i);
    dialog->setOption(QFileDialog::HideNameFilterDetails, filters != captions);
    dialog->setNameFilters(filters);
  }
  if (!options.defaultSuffix.isEmpty()) dialog->setDefaultSuffix(options.defaultSuffix);
  return dialog;
}

// A dialog that asked a question of its own (the file dialog's "置き換えますか？") leaves some
// window managers with no window active: the window that opened it takes the keyboard back.
void giveBackFocus(QWidget* parent) {
  if (!parent || !parent->isVisible()) return;
  parent->window()->activateWindow();
  parent->window()->raise();
}

}  // namespace

Answer QtPlatform::message(QWidget* parent, const QString& text, Icon icon, Buttons buttons, const QString& title) {
  QMessageBox box(qtIcon(icon), title.isEmpty() ? QString(kAppName) : title, text, QMessageBox::NoButton, parent);
  // Whatever a box says (a file name, the reasons of a batch) can be selected and copied.
  box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  if (buttons == Buttons::AppendReplaceCancel) {
    QPushButton* append = box.addButton(QString::fromUtf8(TKT("TONEKIT", "追記")), QMessageBox::AcceptRole);
    QPushButton* replace = box.addButton(QString::fromUtf8(TKT("TONEKIT", "置き換え")), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QString::fromUtf8(TKT("TONEKIT", "キャンセル")), QMessageBox::RejectRole);
    box.setDefaultButton(append);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == append) return Answer::Append;
    if (box.clickedButton() == replace) return Answer::Replace;
    return Answer::Cancel;
  }
  switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
    case Buttons::SaveDiscardCancel:
      box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
      box.button(QMessageBox::Save)->setText(QString::fromUtf8(TKT("TONEKIT", "保存")));
      box.button(QMessageBox::Discard)->setText(QString::fromUtf8(TKT("TONEKIT", "保存しない")));
      box.button(QMessageBox::Cancel)->setText(QString::fromUtf8(TKT("TONEKIT", "キャンセル")));
      box.setDefaultButton(QMessageBox::Save);
      break;
    case Buttons::AppendReplaceCancel: break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Save: return Answer::Save;
    case QMessageBox::Discard: return Answer::Discard;
    default: return Answer::Cancel;
  }
}

std::optional<QString> QtPlatform::openFile(QWidget* parent, const FileDialogOptions& options) {
  std::unique_ptr<QFileDialog> dialog(makeFileDialog(parent, options));
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(options.existingOnly ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog->setOption(QFileDialog::ReadOnly, false);
  const int result = dialog->exec();
  giveBackFocus(parent);
  if (result != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().first();
}

std::optional<QString> QtPlatform::saveFile(QWidget* parent, const FileDialogOptions& options) {
  std::unique_ptr<QFileDialog> dialog(makeFileDialog(parent, options));
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
  if (!options.proposedName.isEmpty()) dialog->selectFile(options.proposedName);
  const int result = dialog->exec();
  giveBackFocus(parent);
  if (result != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  if (options.chosenFilter)
    *options.chosenFilter = std::max(0, static_cast<int>(dialog->nameFilters().indexOf(dialog->selectedNameFilter())));
  return dialog->selectedFiles().first();
}

std::optional<QString> QtPlatform::chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) {
  const QString folder = QFileDialog::getExistingDirectory(parent, title, startFolder);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

int QtPlatform::execDialog(QDialog& dialog) { return dialog.exec(); }

void QtPlatform::setBusy(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  else
    QApplication::restoreOverrideCursor();
}

void QtPlatform::processEvents() { QApplication::processEvents(); }

}  // namespace tonekit::ui
