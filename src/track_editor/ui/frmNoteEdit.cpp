// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "track_editor/ui/frmNoteEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "platform/Platform.h"
#include "platform/Twips.h"
#include "track_editor/NoteEdit.h"
#include "base/Translate.h"

namespace tonekit::ui {

using noteedit::NoteField;

namespace {

// Client area of the classic form, in twips.
constexpr int kClientWidth = 3000;
constexpr int kClientHeight = 3735;
constexpr int kRowTop = 120;
constexpr int kRowStep = 480;

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Each entry's text box, its caption and the characters it takes, in the dialog's order.
constexpr const char* kNames[noteedit::kNoteFieldCount] = {"txtDerutaTime", "txtChanel",   "txtNote",
                                                           "txtDuration",   "txtVelocity", "txtOctarbShift"};
constexpr const char* kLabels[noteedit::kNoteFieldCount] = {TKN("TONEKIT", "Δタイム　："),   TKN("TONEKIT", "チャネル　："),   TKN("TONEKIT", "音程　："),
                                                            TKN("TONEKIT", "音の長さ　："), TKN("TONEKIT", "音の強さ　："), TKN("TONEKIT", "オクターブシフト　：")};
constexpr int kMaxLengths[noteedit::kNoteFieldCount] = {3, 1, 2, 3, 2, 1};

}  // namespace

struct frmNoteEdit::Controls {
  std::array<QLabel*, noteedit::kNoteFieldCount> lblCaption{};
  std::array<QLineEdit*, noteedit::kNoteFieldCount> fields{};
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;
  int noteLength = 3;  // taken when the dialog loads; NoteLength may change behind it

  QLineEdit* field(NoteField f) const { return fields[static_cast<std::size_t>(f)]; }
};

frmNoteEdit::frmNoteEdit(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Controls>()) {
  setObjectName("frmNoteEdit");
  setWindowTitle(QString::fromUtf8(TKT("TONEKIT", "ノート編集")));
  setFixedSize(twipsToPixelsX(kClientWidth, this), twipsToPixels(kClientHeight, this));

  QWidget* previous = nullptr;
  for (int i = 0; i < noteedit::kNoteFieldCount; ++i) {
    auto* label = new QLabel(QString::fromUtf8(translate(kTextContext, kLabels[static_cast<std::size_t>(i)])), this);
    label->setObjectName("lblCaption");
    label->setProperty("index", i);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(label, 120, kRowTop + i * kRowStep + 30, 1800, 255);

    auto* edit = new QLineEdit(this);
    edit->setObjectName(kNames[static_cast<std::size_t>(i)]);
    edit->setMaxLength(kMaxLengths[static_cast<std::size_t>(i)]);
    placeTwips(edit, 2040, kRowTop + i * kRowStep, 840, 315);
    label->setBuddy(edit);
    if (previous) setTabOrder(previous, edit);
    previous = edit;

    ui_->lblCaption[static_cast<std::size_t>(i)] = label;
    ui_->fields[static_cast<std::size_t>(i)] = edit;
  }

  const int buttonTop = kRowTop + noteedit::kNoteFieldCount * kRowStep + 120;
  ui_->cmdOK = new QPushButton(QString("Ok"), this);
  ui_->cmdOK->setObjectName("cmdOK");
  ui_->cmdOK->setDefault(true);
  placeTwips(ui_->cmdOK, 240, buttonTop, 1215, 495);
  ui_->cmdCancel = new QPushButton(QString("Cancel"), this);
  ui_->cmdCancel->setObjectName("cmdCancel");
  ui_->cmdCancel->setAutoDefault(false);
  placeTwips(ui_->cmdCancel, 1560, buttonTop, 1215, 495);
  setTabOrder(previous, ui_->cmdOK);
  setTabOrder(ui_->cmdOK, ui_->cmdCancel);

  connect(ui_->cmdOK, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
  connect(ui_->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
  // Esc and the close box end in reject() as Cancel does; Edit stays false.
}

frmNoteEdit::~frmNoteEdit() = default;

void frmNoteEdit::Load() {
  guarded(this, [this] {
    ui_->noteLength = info::normalNoteLength(NoteLength);
    const bool four = ui_->noteLength == 4;
    for (auto f : {NoteField::Velocity, NoteField::OctarbShift}) {
      ui_->lblCaption[static_cast<std::size_t>(f)]->setVisible(four);
      ui_->field(f)->setVisible(four);
    }
    const auto entries = noteedit::unpackNote(NoteData, ui_->noteLength);
    for (int i = 0; i < noteedit::kNoteFieldCount; ++i)
      ui_->fields[static_cast<std::size_t>(i)]->setText(qs(entries[static_cast<std::size_t>(i)]));
    ui_->field(NoteField::DerutaTime)->setFocus();
  });
}

void frmNoteEdit::cmdOk_Click() {
  guarded(this, [this] {
    noteedit::NoteEntries entries;
    for (int i = 0; i < noteedit::kNoteFieldCount; ++i)
      entries[static_cast<std::size_t>(i)] = ui_->fields[static_cast<std::size_t>(i)]->text().toStdString();
    if (const auto rejected = noteedit::checkNote(entries, ui_->noteLength)) {
      platform().message(this, qs(rejected->message), Icon::Information);
      QLineEdit* field = ui_->field(rejected->field);
      field->setFocus();
      field->selectAll();
      return;
    }
    NoteData = noteedit::packNote(entries, ui_->noteLength, NoteData);
    Edit = true;
    accept();
  });
}

void frmNoteEdit::cmdCancel_Click() { reject(); }

}  // namespace tonekit::ui
