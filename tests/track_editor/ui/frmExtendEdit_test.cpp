// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The extend-status editor, driven as the track window drives it.
#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

#include "ScriptedPlatform.h"
#include "track_editor/ui/frmExtendEdit.h"
#include "platform/Twips.h"

using namespace tonekit;
using namespace tonekit::ui;

namespace {

const QStringList kPanels = {"fraMasterBolume", "fraVolume",    "fraStereo", "fraChangeVolume",
                             "fraChanel",       "fraSound",     "fraTempo",  "fraDramScale",
                             "fraNOP",          "fraLoopPoint", "fraEndOfTrack", "fraPlayPosition"};

std::unique_ptr<frmExtendEdit> loaded(const ByteString& data) {
  auto dialog = std::make_unique<frmExtendEdit>();
  dialog->NoteData = data;
  dialog->Load();
  return dialog;
}

QLineEdit* field(QWidget& d, const char* name) {
  auto* f = d.findChild<QLineEdit*>(name);
  EXPECT_NE(f, nullptr) << name;
  return f;
}

QRadioButton* option(QWidget& d, const char* name, int index) {
  for (auto* b : d.findChildren<QRadioButton*>(name))
    if (b->property("index").toInt() == index) return b;
  ADD_FAILURE() << name << index;
  return nullptr;
}

QAction* menuItem(QWidget& d, int index) {
  for (auto* a : d.findChildren<QAction*>("mnuExtendOption"))
    if (a->property("index").toInt() == index) return a;
  ADD_FAILURE() << index;
  return nullptr;
}

QPushButton* button(QWidget& d, const char* name) { return d.findChild<QPushButton*>(name); }

// The panels shown (not hidden) now.
QStringList shownPanels(QWidget& d) {
  QStringList out;
  for (const auto& name : kPanels) {
    auto* p = d.findChild<QGroupBox*>(name);
    EXPECT_NE(p, nullptr) << name.toStdString();
    if (p && !p->isHidden()) out << name;
  }
  return out;
}

// Shows the dialog modally through the platform, running script inside.
int run(ScriptedPlatform& sp, frmExtendEdit& d, std::function<void(QDialog&)> script) {
  sp.dialogScripts.push_back(std::move(script));
  return sp.execDialog(d);
}

void clickOk(QDialog& d) { button(d, "cmdOK")->click(); }

}  // namespace

TEST(frmExtendEdit, OpensEachKindOnItsPanel) {
  ScriptedPlatform sp;
  const std::pair<int, const char*> kinds[] = {
      {0xB0, "fraMasterBolume"}, {0xB2, "fraDramScale"}, {0xC0, "fraTempo"},    {0xCF, "fraTempo"},
      {0xD0, "fraPlayPosition"}, {0xDD, "fraLoopPoint"}, {0xDE, "fraNOP"},      {0xDF, "fraEndOfTrack"},
      {0xE0, "fraSound"},        {0xE1, "fraSound"},     {0xE2, "fraVolume"},   {0xE3, "fraStereo"},
      {0xE5, "fraChanel"},       {0xE6, "fraChangeVolume"}};
  for (auto [value, panel] : kinds) {
    auto d = loaded({7, 0xFF, static_cast<std::uint8_t>(value), 0});
    EXPECT_EQ(shownPanels(*d), QStringList{panel}) << std::hex << value;
    auto* p = d->findChild<QGroupBox*>(panel);
    EXPECT_EQ(p->pos(), QPoint(twipsToPixelsX(120, p), twipsToPixels(120, p)));
    EXPECT_EQ(p->width(), twipsToPixelsX(2535, p));
    EXPECT_EQ(p->height(), twipsToPixels(value >= 0xC0 && value <= 0xCF ? 2895 : 2175, p));
    EXPECT_FALSE(button(*d, "cmdOK")->isHidden());
    EXPECT_FALSE(button(*d, "cmdCancel")->isHidden());
    EXPECT_EQ(field(*d, "txtDeltaTime")->text(), "7");
  }
  EXPECT_TRUE(sp.messages.empty());
}

TEST(frmExtendEdit, CaptionsAndMenu) {
  ScriptedPlatform sp;
  auto d = loaded({0, 0xFF, 0xE0, 0});
  EXPECT_EQ(d->objectName(), "frmExtendEdit");
  EXPECT_EQ(d->windowTitle(), QString::fromUtf8("拡張ステータス編集"));
  auto* mnu = d->findChild<QMenu*>("mnuExtend");
  ASSERT_NE(mnu, nullptr);
  EXPECT_EQ(mnu->title(), QString::fromUtf8("拡張情報種別選択"));
  const QStringList captions = {"マスターボリューム", "音量", "ステレオバランス", "ボリューム相対変化",
                                "チャンネル割り当て", "音色", "テンポ", "ドラムスケール変更",
                                "NOP", "ループポイント", "EndOfTrack", "演奏位置情報"};
  ASSERT_EQ(mnu->actions().size(), 12);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(mnu->actions()[i]->text(), captions[i]);
    EXPECT_EQ(mnu->actions()[i], menuItem(*d, i));
  }
  EXPECT_EQ(d->findChild<QGroupBox*>("fraChangeVolume")->title(), QString::fromUtf8("ボリュームの相対変化"));
  EXPECT_EQ(d->findChild<QGroupBox*>("fraSound")->title(), QString::fromUtf8("音色"));
  EXPECT_EQ(option(*d, "optSound", 0)->text(), QString::fromUtf8("2～7Bit目"));
  EXPECT_EQ(option(*d, "optTempo", 13)->text(), "480");
  EXPECT_EQ(option(*d, "optTempo", 15)->text(), "N/A");
  EXPECT_EQ(option(*d, "optLoopPoint", 1)->text(), QString::fromUtf8("終了"));
  EXPECT_EQ(button(*d, "cmdOK")->text(), "Ok");
  EXPECT_TRUE(button(*d, "cmdOK")->isDefault());
  EXPECT_EQ(button(*d, "cmdCancel")->text(), "Cancel");
  EXPECT_EQ(d->findChild<QLabel*>("lblCaption")->text(), QString::fromUtf8("解析できない拡張情報です"));
  EXPECT_FALSE(d->findChild<QGroupBox*>("Frame1")->isHidden());
}

TEST(frmExtendEdit, NewEventOpensOnTheVoicePanel) {
  ScriptedPlatform sp;
  auto d = loaded({0x00, 0xFF, 0xE0, 0x00});
  EXPECT_EQ(shownPanels(*d), QStringList{"fraSound"});
  EXPECT_EQ(field(*d, "txtNotePart")->text(), "0");
  EXPECT_EQ(field(*d, "txtGMNote")->text(), "0");
  EXPECT_TRUE(option(*d, "optSound", 0)->isChecked());
}

TEST(frmExtendEdit, OkPacksTheEntries) {
  ScriptedPlatform sp;
  auto d = loaded({0x10, 0xFF, 0xE2, 0x00});
  EXPECT_EQ(run(sp, *d, [](QDialog& dlg) {
              field(dlg, "txtVolumePart")->setText("2");
              field(dlg, "txtVolume")->setText("40");
              field(dlg, "txtDeltaTime")->setText("200");
              clickOk(dlg);
            }),
            QDialog::Accepted);
  EXPECT_TRUE(d->Edit);
  EXPECT_EQ(d->NoteData, (ByteString{200, 0xFF, 0xE2, 0xA8}));
  EXPECT_TRUE(sp.messages.empty());
}

// Beside the signed entry, the level the byte plays at, live; a part made silent is asked about.
TEST(frmExtendEdit, RelativeChangeShowsItsLevelAndAsksBeforeSilence) {
  ScriptedPlatform sp;
  auto d = loaded({0, 0xFF, 0xE6, 0x9F});
  auto* level = d->findChild<QLabel*>("lblChangeVolumeLevel");
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->parent(), d->findChild<QGroupBox*>("fraChangeVolume"));
  EXPECT_EQ(level->text(), QString::fromUtf8("再生時の音量 31/63"));
  field(*d, "txtChangeValue")->setText("-1");
  EXPECT_EQ(level->text(), QString::fromUtf8("再生時の音量 32/63"));
  field(*d, "txtChangeValue")->setText("-");
  EXPECT_EQ(level->text(), QString());

  sp.answers.push_back(Answer::Cancel);
  run(sp, *d, [](QDialog& dlg) {
    field(dlg, "txtChangeValue")->setText("0");
    clickOk(dlg);
  });
  EXPECT_EQ(level->text(), QString::fromUtf8("無音"));
  ASSERT_EQ(sp.messages.size(), 1u);
  EXPECT_EQ(sp.messages[0].icon, Icon::Question);
  EXPECT_EQ(sp.messages[0].buttons, Buttons::OkCancel);
  EXPECT_FALSE(d->Edit);
  EXPECT_EQ(d->NoteData, (ByteString{0, 0xFF, 0xE6, 0x9F}));

  sp.answers.push_back(Answer::Ok);
  run(sp, *d, clickOk);
  EXPECT_TRUE(d->Edit);
  EXPECT_EQ(d->NoteData, (ByteString{0, 0xFF, 0xE6, 0x80}));
}

TEST(frmExtendEdit, OkWithoutChangesKeepsTheEvent) {
  ScriptedPlatform sp;
  for (const ByteString& e : {ByteString{3, 0xFF, 0xC3, 0x78}, ByteString{3, 0xFF, 0xDD, 0x4D},
                              ByteString{3, 0xFF, 0xE6, 0xA0}, ByteString{3, 0xFF, 0xD0, 0x02}}) {
    auto d = loaded(e);
    run(sp, *d, clickOk);
    EXPECT_TRUE(d->Edit);
    EXPECT_EQ(d->NoteData, e);
  }
}

TEST(frmExtendEdit, RejectedEntryKeepsTheDialogOpen) {
  ScriptedPlatform sp;
  auto d = loaded({1, 0xFF, 0xE5, 0x3F});
  EXPECT_EQ(field(*d, "txtChanel")->text(), "63");
  d->show();
  const int result = run(sp, *d, [](QDialog& dlg) {
    field(dlg, "txtTempo")->setText("nonsense");  // another panel's entry is not looked at
    clickOk(dlg);
  });
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_TRUE(d->isVisible());
  EXPECT_FALSE(d->Edit);
  EXPECT_EQ(d->NoteData, (ByteString{1, 0xFF, 0xE5, 0x3F}));
  ASSERT_EQ(sp.messages.size(), 1u);
  EXPECT_EQ(sp.messages[0].text, QString::fromUtf8("チャネル割り当ては0～15の範囲です。"));
  EXPECT_EQ(sp.messages[0].icon, Icon::Information);
  EXPECT_EQ(sp.messages[0].buttons, Buttons::Ok);
  EXPECT_EQ(d->focusWidget(), field(*d, "txtChanel"));
  EXPECT_EQ(field(*d, "txtChanel")->text(), "63");  // entries stay as typed

  // Fixed and confirmed: the same dialog accepts.
  run(sp, *d, [](QDialog& dlg) {
    field(dlg, "txtChanel")->setText("15");
    clickOk(dlg);
  });
  EXPECT_TRUE(d->Edit);
  EXPECT_EQ(d->NoteData, (ByteString{1, 0xFF, 0xE5, 0x0F}));
}

TEST(frmExtendEdit, DeltaTimeIsCheckedFirst) {
  ScriptedPlatform sp;
  auto d = loaded({1, 0xFF, 0xC0, 10});  // tempo 10 is out of range too
  d->show();
  run(sp, *d, [](QDialog& dlg) {
    field(dlg, "txtDeltaTime")->setText("");
    clickOk(dlg);
    field(dlg, "txtDeltaTime")->setText("300");
    clickOk(dlg);
    field(dlg, "txtDeltaTime")->setText("5");
    clickOk(dlg);
  });
  EXPECT_EQ(sp.messageTexts(), (QStringList{QString::fromUtf8("数値を入力してください。"),
                                            QString::fromUtf8("Δタイムは0～255の範囲です。"),
                                            QString::fromUtf8("テンポは20～255の範囲です。")}));
  EXPECT_EQ(d->focusWidget(), field(*d, "txtTempo"));
  EXPECT_FALSE(d->Edit);
}

TEST(frmExtendEdit, MenuSwitchesTheKind) {
  ScriptedPlatform sp;
  auto d = loaded({4, 0xFF, 0xE2, 0x41});
  run(sp, *d, [](QDialog& dlg) {
    field(dlg, "txtDeltaTime")->setText("99");
    menuItem(dlg, 5)->trigger();  // 音色
    EXPECT_EQ(shownPanels(dlg), QStringList{"fraSound"});
    EXPECT_EQ(field(dlg, "txtDeltaTime")->text(), "99");
    option(dlg, "optSound", 1)->click();
    field(dlg, "txtGMNote")->setText("1");
    clickOk(dlg);
  });
  EXPECT_TRUE(d->Edit);
  EXPECT_EQ(d->NoteData, (ByteString{99, 0xFF, 0xE1, 0x03}));
}

TEST(frmExtendEdit, MenuResetsFieldsButTheTempoText) {
  ScriptedPlatform sp;
  auto d = loaded({0, 0xFF, 0xC4, 150});
  EXPECT_TRUE(option(*d, "optTempo", 4)->isChecked());
  menuItem(*d, 6)->trigger();
  EXPECT_EQ(field(*d, "txtTempo")->text(), "150");
  EXPECT_TRUE(option(*d, "optTempo", 0)->isChecked());
  menuItem(*d, 9)->trigger();
  EXPECT_EQ(shownPanels(*d), QStringList{"fraLoopPoint"});
  EXPECT_EQ(field(*d, "txtLoopID")->text(), "0");
  EXPECT_TRUE(option(*d, "optLoopPoint", 0)->isChecked());
  field(*d, "txtLoopID")->setText("3");
  menuItem(*d, 9)->trigger();  // the same kind again resets all the same
  EXPECT_EQ(field(*d, "txtLoopID")->text(), "0");
  menuItem(*d, 11)->trigger();
  EXPECT_TRUE(option(*d, "optPlayPosition", 0)->isChecked());
  run(sp, *d, clickOk);
  EXPECT_EQ(d->NoteData, (ByteString{0, 0xFF, 0xD0, 0}));
}

TEST(frmExtendEdit, SwitchingToTempoAsksForATempo) {
  ScriptedPlatform sp;
  auto d = loaded({0, 0xFF, 0xE3, 0});
  menuItem(*d, 6)->trigger();
  EXPECT_EQ(field(*d, "txtTempo")->text(), "");
  run(sp, *d, [](QDialog& dlg) {
    clickOk(dlg);
    option(dlg, "optTempo", 11)->click();
    field(dlg, "txtTempo")->setText("120");
    clickOk(dlg);
  });
  EXPECT_EQ(sp.messageTexts(), QStringList{QString::fromUtf8("数値を入力してください。")});
  EXPECT_EQ(d->NoteData, (ByteString{0, 0xFF, 0xCB, 120}));
}

TEST(frmExtendEdit, PlayPositionWithNeitherOptionKeepsItsByte) {
  ScriptedPlatform sp;
  auto d = loaded({0, 0xFF, 0xD0, 2});
  EXPECT_FALSE(option(*d, "optPlayPosition", 0)->isChecked());
  EXPECT_FALSE(option(*d, "optPlayPosition", 1)->isChecked());
  run(sp, *d, clickOk);
  EXPECT_EQ(d->NoteData, (ByteString{0, 0xFF, 0xD0, 2}));
}

TEST(frmExtendEdit, CancelEscAndCloseLeaveTheEvent) {
  ScriptedPlatform sp;
  const ByteString e{5, 0xFF, 0xB0, 100};
  const std::function<void(QDialog&)> ways[] = {
      [](QDialog& dlg) {
        menuItem(dlg, 1)->trigger();
        button(dlg, "cmdCancel")->click();
      },
      [](QDialog& dlg) {
        field(dlg, "txtMasterVolume")->setText("1");
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&dlg, &esc);
      },
      [](QDialog& dlg) {
        dlg.show();
        field(dlg, "txtDeltaTime")->setText("1");
        dlg.close();
      },
  };
  for (const auto& way : ways) {
    auto d = loaded(e);
    EXPECT_EQ(run(sp, *d, way), QDialog::Rejected);
    EXPECT_FALSE(d->Edit);
    EXPECT_EQ(d->NoteData, e);
  }
}

TEST(frmExtendEdit, MasterVolumeBeyondAByteGoesToTheErrorReport) {
  ScriptedPlatform sp;
  auto d = loaded({0, 0xFF, 0xB0, 100});
  EXPECT_EQ(field(*d, "txtMasterVolume")->text(), "100");
  d->show();
  run(sp, *d, [](QDialog& dlg) {
    field(dlg, "txtMasterVolume")->setText("256");
    clickOk(dlg);
  });
  ASSERT_EQ(sp.messages.size(), 2u);
  EXPECT_EQ(sp.messages[0].text, QString::fromUtf8("処理できませんでした。"));
  EXPECT_EQ(sp.messages[1].title, QString::fromUtf8("エラー情報"));
  EXPECT_TRUE(sp.messages[1].text.contains("6:TONEKIT:"));
  EXPECT_TRUE(d->isVisible());
  EXPECT_FALSE(d->Edit);
  EXPECT_EQ(d->NoteData, (ByteString{0, 0xFF, 0xB0, 100}));
}

TEST(frmExtendEdit, EventsWithoutPanelAreNeverChanged) {
  ScriptedPlatform sp;
  const ByteString extInfo{0x20, 0xFF, 0xF0, 0x00, 0x05, 0x01, 0x02, 0x03, 0x04, 0x05};
  const ByteString cases[] = {extInfo,
                              {0x20, 0xFF, 0xF1, 0x00, 0x00},
                              {0x20, 0xFF, 0xFF, 0x00, 0x02, 0xAA, 0xBB},
                              {0, 0xFF, 0xB1, 0},
                              {0, 0xFF, 0xE4, 9},
                              {0, 0xFF, 0xF0, 0},
                              {0, 0xFF, 0xFF, 1},
                              {0, 0x3F, 0xE2},  // a short record with a kind that has a panel
                              {0, 0xFF},
                              {},
                              {0, 0xFF, 0xE2, 0x41, 0x77}};
  for (const ByteString& e : cases) {
    auto d = loaded(e);
    EXPECT_TRUE(shownPanels(*d).isEmpty()) << toHex(e);
    EXPECT_TRUE(button(*d, "cmdOK")->isHidden());
    EXPECT_TRUE(button(*d, "cmdCancel")->isHidden());
    EXPECT_FALSE(d->findChild<QLabel*>("lblCaption")->isHidden());
    // Even a kind chosen from the menu and a press on the hidden Ok change nothing.
    run(sp, *d, [](QDialog& dlg) {
      menuItem(dlg, 1)->trigger();
      EXPECT_EQ(shownPanels(dlg), QStringList{"fraVolume"});
      EXPECT_TRUE(button(dlg, "cmdOK")->isHidden());
      field(dlg, "txtDeltaTime")->setText("1");
      clickOk(dlg);
      QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
      QCoreApplication::sendEvent(&dlg, &enter);
    });
    EXPECT_FALSE(d->Edit) << toHex(e);
    EXPECT_EQ(d->NoteData, e);
  }
  EXPECT_TRUE(sp.messages.empty());
  EXPECT_EQ(field(*loaded(extInfo), "txtDeltaTime")->text(), "32");
}

TEST(frmExtendEdit, EnterPressesOk) {
  ScriptedPlatform sp;
  auto d = loaded({0, 0xFF, 0xDF, 0});
  run(sp, *d, [](QDialog& dlg) {
    dlg.show();
    field(dlg, "txtDeltaTime")->setText("12");
    field(dlg, "txtDeltaTime")->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(field(dlg, "txtDeltaTime"), &enter);
  });
  EXPECT_TRUE(d->Edit);
  EXPECT_EQ(d->NoteData, (ByteString{12, 0xFF, 0xDF, 0}));
}
