// Qt's own texts are Japanese, like the program's, whatever the locale the tests run in.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "platform/Translations.h"

namespace tonekit::ui {
namespace {

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(QtTexts, StandardButtonsAndFileDialogsAreJapanese) {
  ASSERT_TRUE(installJapaneseQtTranslation(*qApp));
  QMessageBox box(QMessageBox::Question, "TONEKIT", "?", QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), qs("キャンセル"));

  QFileDialog dialog(nullptr, "TONEKIT");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  QStringList texts;
  for (const auto* label : dialog.findChildren<QLabel*>()) texts << label->text();
  for (const auto* button : dialog.findChildren<QPushButton*>()) texts << button->text();
  EXPECT_TRUE(texts.contains(qs("キャンセル"))) << texts.join('|').toStdString();
  EXPECT_TRUE(texts.contains(qs("保存(&S)"))) << texts.join('|').toStdString();
  EXPECT_TRUE(texts.contains(qs("ファイル名(&N):"))) << texts.join('|').toStdString();
  EXPECT_TRUE(texts.contains(qs("ファイルの種類:"))) << texts.join('|').toStdString();
}

}  // namespace
}  // namespace tonekit::ui
