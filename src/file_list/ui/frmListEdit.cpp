// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/ui/frmListEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "platform/Platform.h"
#include "platform/Twips.h"
#include "base/Translate.h"

namespace tonekit::ui {

namespace {

// A path has no blanks to wrap at: the label breaks it after a separator or, failing that,
// anywhere, while its text stays the bare path.
class PathLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere, text());
  }
};

}  // namespace

frmListEdit::frmListEdit(QWidget* parent) : QDialog(parent) {
  setObjectName("frmListEdit");
  setWindowTitle(QString::fromUtf8(TKT("TONEKIT", "項目編集")));
  setFixedSize(twipsToPixelsX(4680, this), twipsToPixels(3270, this));

  lblFilePath_ = new PathLabel(this);
  lblFilePath_->setObjectName("lblFilePath");
  lblFilePath_->setWordWrap(true);
  lblFilePath_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblFilePath_->setTextFormat(Qt::PlainText);
  placeTwips(lblFilePath_, 120, 480, 4455, 975);

  // Both captions carry the same name, as the form always had it.
  auto* pathCaption = new QLabel(QString::fromUtf8(TKT("TONEKIT", "ファイルのパス　：")), this);
  pathCaption->setObjectName("lblCaption");
  placeTwips(pathCaption, 120, 120, 1695, 255);
  auto* titleCaption = new QLabel(QString::fromUtf8(TKT("TONEKIT", "タイトル　：")), this);
  titleCaption->setObjectName("lblCaption");
  placeTwips(titleCaption, 120, 1560, 1695, 255);

  txtTitle_ = new QLineEdit(this);
  txtTitle_->setObjectName("txtTitle");
  placeTwips(txtTitle_, 120, 1920, 4455, 495);

  cmdCancel_ = new QPushButton(QString("Cancel"), this);
  cmdCancel_->setObjectName("cmdCancel");
  cmdCancel_->setAutoDefault(false);
  placeTwips(cmdCancel_, 3360, 2640, 1215, 495);

  cmdOk_ = new QPushButton(QString("Ok"), this);
  cmdOk_->setObjectName("cmdOk");
  cmdOk_->setDefault(true);
  placeTwips(cmdOk_, 1920, 2640, 1215, 495);

  setTabOrder(txtTitle_, cmdCancel_);
  setTabOrder(cmdCancel_, cmdOk_);
  txtTitle_->setFocus();

  // Esc and the window's close button already end in reject(), the same as Cancel.
  connect(cmdOk_, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmListEdit::Load() {
  guarded(this, [this] {
    lblFilePath_->setText(QString::fromStdString(MLDPath));
    lblFilePath_->setToolTip(lblFilePath_->text());
    loaded_ = info::TextChunk(MLDTitle);
    txtTitle_->setText(QString::fromStdString(loaded_.text()));
  });
}

void frmListEdit::cmdOk_Click() {
  guarded(this, [this] {
    const std::string typed = txtTitle_->text().toStdString();
    // Only an edited title is encoded; one the code page lacks characters of asks first.
    if (typed != loaded_.text() && !confirmUnencodable(this, {{QString::fromUtf8(TKT("TONEKIT", "タイトル")), txtTitle_->text()}}))
      return;
    MLDTitle = loaded_.bytesFor(typed);
    accept();
  });
}

void frmListEdit::cmdCancel_Click() { reject(); }

}  // namespace tonekit::ui
