// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Playing and exporting from the windows, offscreen: menus, save dialogs, the row that follows
// the music (with a player whose clock the test moves), and a machine without a sound device.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QLabel>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QShortcut>
#include <QTableView>
#include <QTableWidget>
#include <cstdlib>

#include "MldBuilder.h"
#include "ScriptedPlatform.h"
#include "TempDir.h"
#include "mld/TrackEvents.h"
#include "main_window/ui/frmMain.h"
#include "main_window/ui/frmOtherChunks.h"
#include "mld/clsMLD.h"
#include "sound/AdatAudio.h"
#include "smf/clsMIDI.h"
#include "sound/ui/Playback.h"
#include "track_editor/ui/OpenTrackView.h"
#include "track_editor/ui/frmTrac.h"

using namespace tonekit;
using namespace tonekit::ui;

namespace {

const QString kSample = QString(TONEKIT_SAMPLES_DIR) + "/kaeru.mld";

// A player without sound whose playhead the test sets.
struct FakeClock {
  static inline std::int64_t tick = 0;
  static inline int plays = 0;
  static inline std::shared_ptr<sound::AudioMix> audio;
};
class FakePlayer : public sound::Player {
 public:
  void play(const ByteString&) override { ++FakeClock::plays; }
  void playWithAudio(const ByteString&, std::shared_ptr<sound::AudioMix> audio) override {
    ++FakeClock::plays;
    FakeClock::audio = std::move(audio);
  }
  void stop() override {}
  bool playing() const override { return true; }
  std::int64_t tick() const override { return FakeClock::tick; }
};

struct PlaybackFixture : ::testing::Test {
  ScriptedPlatform platform;
  test::TempDir dir;
  Playback::PlayerFactory realFactory = Playback::playerFactory();

  void SetUp() override {
    FakeClock::tick = 0;
    FakeClock::plays = 0;
    FakeClock::audio.reset();
    Playback::playerFactory() = [] { return std::make_unique<FakePlayer>(); };
  }
  void TearDown() override {
    Playback::instance().stop();
    Playback::playerFactory() = realFactory;
  }
  static void trigger(QWidget* window, const char* name) {
    auto* action = window->findChild<QAction*>(name);
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
  }
};

QStringList captions(const QList<QAction*>& actions) {
  QStringList out;
  for (QAction* a : actions) out << a->text();
  return out;
}

}  // namespace

TEST_F(PlaybackFixture, MenusAndShortcutsCollideWithNothing) {
  frmMain main;
  EXPECT_EQ(captions(main.menuBar()->actions()),
            (QStringList{"ファイル(&F)", "表示(&I)", "再生(&P)", "ヘルプ(&H)"}));
  EXPECT_EQ(captions(main.findChild<QMenu*>("mnuFile")->actions()).last(4),
            (QStringList{"MIDIファイルに書き出し(&M)…", "WAVファイルに書き出し(&W)…", "", "終了(&X)"}));
  EXPECT_EQ(captions(main.findChild<QMenu*>("mnuPlay")->actions()), (QStringList{"再生", "停止"}));
  frmTrac view;
  for (QWidget* window : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&view)}) {
    QList<QKeySequence> keys;
    for (QAction* a : window->findChildren<QAction*>())
      if (!a->shortcut().isEmpty()) keys << a->shortcut();
    for (QShortcut* s : window->findChildren<QShortcut*>()) keys << s->key();
    EXPECT_EQ(QSet<QKeySequence>(keys.begin(), keys.end()).size(), keys.size()) << window->objectName().toStdString();
    EXPECT_TRUE(keys.contains(QKeySequence(Qt::Key_Escape)));
    EXPECT_TRUE(keys.contains(QKeySequence(Qt::Key_F5)));
    EXPECT_TRUE(keys.contains(QKeySequence(Qt::SHIFT | Qt::Key_F5)));
  }
}

TEST_F(PlaybackFixture, ExportsWriteTheMelodyAsTheWindowShowsIt) {
  frmMain main;
  trigger(&main, "mnuFileExportMidi");  // nothing read yet: reported, no dialog
  EXPECT_TRUE(platform.saveCalls.empty());
  ASSERT_FALSE(platform.messages.empty());

  main.openPath(kSample);
  main.findChild<QLineEdit*>("txtTitl")->setText("Edited");
  const auto mid = dir / "out.mid";
  const auto wav = dir / "out.wav";
  platform.saveAnswers = {QString::fromStdString(mid.string()), QString::fromStdString(wav.string()), std::nullopt};
  trigger(&main, "mnuFileExportMidi");
  trigger(&main, "mnuFileExportWav");
  trigger(&main, "mnuFileExportMidi");  // cancelled
  ASSERT_EQ(platform.saveCalls.size(), 3u);
  EXPECT_EQ(platform.saveCalls[0].title, "MIDIファイルに書き出し");
  EXPECT_EQ(platform.saveCalls[0].defaultSuffix, "mid");
  EXPECT_EQ(platform.saveCalls[1].title, "WAVファイルに書き出し");
  EXPECT_EQ(platform.saveCalls[1].defaultSuffix, "wav");

  clsMIDI midi;
  midi.MIDIFile = mid.string();
  midi.ParseMIDI();
  EXPECT_EQ(midi.MIDITitle, "Edited");
  EXPECT_EQ(asciiOf(midBytes(test::TempDir::read(wav), 1, 4)), "RIFF");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 2);
  // The render ends saying what it wrote, with the figures the command line prints.
  ASSERT_FALSE(platform.messages.empty());
  const QString summary = platform.messages.back().text;
  EXPECT_TRUE(summary.startsWith("WAVファイルに書き出しました: " + QString::fromStdString(wav.string()))) << summary.toStdString();
  EXPECT_TRUE(summary.contains("44100 Hz")) << summary.toStdString();
}

// The window keeps answering while a WAV file renders: its progress window shows, and its
// キャンセル stops the render, leaving the file as it was.
TEST_F(PlaybackFixture, WavRenderRunsBesideTheWindowAndCanBeStopped) {
  frmMain main;
  main.show();
  main.openPath(kSample);
  const auto wav = dir.write("kept.wav", bytesOf("old"));
  platform.saveAnswers = {QString::fromStdString(wav.string())};
  platform.messages.clear();
  bool shownWhileRendering = false;
  QTimer::singleShot(0, &main, [&] {
    auto* progress = main.findChild<QProgressDialog*>("dlgRenderProgress");
    shownWhileRendering = progress && progress->isVisible();
    if (auto* cancel = progress ? progress->findChild<QPushButton*>() : nullptr) cancel->click();
  });
  trigger(&main, "mnuFileExportWav");
  EXPECT_TRUE(shownWhileRendering);
  EXPECT_EQ(test::TempDir::read(wav), bytesOf("old"));
  EXPECT_EQ(platform.messageTexts(),
            QStringList{"WAVファイルへの書き出しを中止しました。ファイルは書き込まれていません。"});
}

// A MIDI export converts beside the window under a progress window: it ends naming the file with
// the figures the command line prints, and its キャンセル leaves the file as it was.
TEST_F(PlaybackFixture, MidiExportRunsBesideTheWindowAndCanBeStopped) {
  frmMain main;
  main.show();
  main.openPath(kSample);
  const auto mid = dir.write("kept.mid", bytesOf("old"));
  platform.saveAnswers = {QString::fromStdString(mid.string()), QString::fromStdString(mid.string())};
  platform.messages.clear();
  bool shownWhileConverting = false;
  QTimer::singleShot(0, &main, [&] {
    auto* progress = main.findChild<QProgressDialog*>("dlgExportProgress");
    shownWhileConverting = progress && progress->isVisible() && progress->windowTitle() == "MIDIファイルに書き出し";
    if (auto* cancel = progress ? progress->findChild<QPushButton*>() : nullptr) cancel->click();
  });
  trigger(&main, "mnuFileExportMidi");
  EXPECT_TRUE(shownWhileConverting);
  EXPECT_EQ(test::TempDir::read(mid), bytesOf("old"));
  EXPECT_EQ(platform.messageTexts(),
            QStringList{"MIDIファイルへの書き出しを中止しました。ファイルは書き込まれていません。"});

  platform.messages.clear();
  trigger(&main, "mnuFileExportMidi");
  EXPECT_EQ(asciiOf(midBytes(test::TempDir::read(mid), 1, 4)), "MThd");
  EXPECT_EQ(main.findChild<QProgressDialog*>("dlgExportProgress"), nullptr);
  ASSERT_EQ(platform.messages.size(), 1u);
  const QString summary = platform.messages[0].text;
  EXPECT_TRUE(summary.startsWith("MIDIファイルに書き出しました: " + QString::fromStdString(mid.string()) + "\r\n\r\n音符: "))
      << summary.toStdString();
  for (const char* figure : {"テンポ変更: ", "ループ: ", "ジャンプ: ", " ティック、", "チャンネル: 0", "壊れたトラック: 0"})
    EXPECT_TRUE(summary.contains(QString::fromUtf8(figure))) << figure << "\n" << summary.toStdString();
}

// While the melody plays, the main window's status bar says so and offers to stop it.
TEST_F(PlaybackFixture, StatusBarShowsThePlaybackAndStopsIt) {
  frmMain main;
  main.show();
  main.openPath(kSample);
  auto* state = main.findChild<QLabel*>("lblPlayState");
  auto* stop = main.findChild<QToolButton*>("cmdPlayStop");
  ASSERT_TRUE(state && stop);
  EXPECT_FALSE(state->isVisible());
  trigger(&main, "mnuPlayStart");
  EXPECT_TRUE(state->isVisible());
  EXPECT_EQ(state->text(), "再生中 0:00");
  stop->click();
  EXPECT_FALSE(Playback::instance().isPlaying());
  EXPECT_FALSE(stop->isVisible());
}

TEST_F(PlaybackFixture, WithoutASoundDeviceOnlyAMessage) {
  Playback::playerFactory() = realFactory;
  setenv(sound::kAudioDriverVariable, "none", 1);
  frmMain main;
  main.openPath(kSample);
  platform.messages.clear();
  trigger(&main, "mnuPlayStart");
  unsetenv(sound::kAudioDriverVariable);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, sound::kNoSoundDeviceMessage);
  EXPECT_FALSE(Playback::instance().isPlaying());
}

TEST_F(PlaybackFixture, PlaybackStopsWhenTheWindowClosesOrANewFileIsRead) {
  frmMain main;
  main.openPath(kSample);
  trigger(&main, "mnuPlayStart");
  EXPECT_TRUE(Playback::instance().isPlaying());
  main.openPath(kSample);
  EXPECT_FALSE(Playback::instance().isPlaying());
  trigger(&main, "mnuPlayStart");
  main.show();
  main.close();
  EXPECT_FALSE(Playback::instance().isPlaying());
  EXPECT_EQ(FakeClock::plays, 2);
}

TEST_F(PlaybackFixture, TrackViewRowFollowsThePlayhead) {
  // 200 three-byte notes one tick apart: event k sounds at tick k + 1.
  auto tracks = std::make_shared<TrackCollection>();
  tracks->add("trac0", assembleTrack(std::vector<clsNote>(200, clsNote(ByteString{1, 10, 1}))));

  frmTrac view;
  view.MLDTracData = tracks;
  view.Load();
  view.show();
  auto* grid = view.findChild<QTableView*>("mfgTrac");
  grid->setCurrentIndex(grid->model()->index(20, 1));
  trigger(&view, "mnuNoteEditPlayFrom");
  ASSERT_TRUE(Playback::instance().isPlaying());
  // Playing starts at event 20; 150 ticks (of 1/96 s) on, event 170 sounds. The player counts
  // ticks of 0.1 ms.
  FakeClock::tick = 15'625;
  Playback::instance().poll();
  EXPECT_EQ(grid->currentIndex().row(), 170);
  EXPECT_TRUE(grid->viewport()->rect().intersects(grid->visualRect(grid->currentIndex())));

  trigger(&view, "mnuNoteEditPlayStop");
  EXPECT_FALSE(Playback::instance().isPlaying());
}

// A vendor's audio inside device-dependent events: playing says it cannot be heard, then plays
// the notes.
TEST_F(PlaybackFixture, VendorAudioIsNamedWhenPlaying) {
  auto tracks = std::make_shared<TrackCollection>();
  tracks->add("trac0", assembleTrack({clsNote(ByteString{0, 0xFF, 0xFF, 0x00, 0x02, 0x12, 0x34}),
                                      clsNote(ByteString{1, 10, 1}), clsNote(ByteString{0, 0xFF, 0xDF, 0x00})}));
  frmTrac view;
  view.MLDTracData = tracks;
  view.Load();
  trigger(&view, "mnuNoteEditPlayFrom");
  EXPECT_TRUE(Playback::instance().isPlaying());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text,
            QString::fromUtf8(kVendorAudioMessage).arg(1) + QString::fromUtf8(kNotesStillPlayMessage));
}

TEST_F(PlaybackFixture, RecordedSoundPlaysFromTheMainWindowAndFromItsEntryInTheChunkWindow) {
  // The real effect's shape: 1,916 bytes of 2-bit codes at 16 kHz, and an entry of another vendor.
  const std::vector<std::int16_t> silence(7664, 0);
  const ByteString good = mldtest::adpcmAudio(sound::encodeG726(silence, 2));
  const ByteString other = mldtest::adpcmAudio(ByteString(100, 0x11), 8, 4, 1, 0x80);
  const ByteString file = mldtest::mld({mldtest::chunk("exst", {0x00, 0x01}), mldtest::chunk("note", {0x00, 0x01})},
                                       {mldtest::track(mldtest::kEffectEvents)}, 4, 1, -1, {good, other});
  frmMain main;
  main.openPath(QString::fromStdString(dir.write("se.mld", file).string()));
  trigger(&main, "mnuPlayStart");
  ASSERT_NE(FakeClock::audio, nullptr);
  EXPECT_EQ(FakeClock::audio->figures().entriesPlayed, 1);
  EXPECT_NEAR(FakeClock::audio->endSeconds(), 0.015625 + 0.479, 0.001);
  Playback::instance().stop();
  FakeClock::audio.reset();

  // "ここから再生" in the track view sounds the same document, recording included.
  frmTrac* track = openTrackView(&main, main.session());
  ASSERT_NE(track, nullptr);
  trigger(track, "mnuNoteEditPlayFrom");
  ASSERT_NE(FakeClock::audio, nullptr);
  EXPECT_EQ(FakeClock::audio->figures().entriesPlayed, 1);
  track->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  FakeClock::audio.reset();

  clsMLD doc;
  ASSERT_TRUE(doc.parseBytes(file));
  frmOtherChunks window(doc);
  auto* table = window.findChild<QTableWidget*>("mfgAudioEntries");
  ASSERT_NE(table, nullptr);
  QStringList rows;
  for (int row = 0; row < table->rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column) cells << table->item(row, column)->text();
    rows << cells.join("|");
  }
  EXPECT_EQ(rows, (QStringList{"0|0x81 (ADPCM 2)|16 kHz|2|モノラル|0.479 秒", "1|0x80||||再生できません: format 0x80"}));
  EXPECT_EQ(window.findChild<QLabel*>("lblAudioChunks")->text(), "adat : 2個 (1937 + 121 バイト)");

  table->selectRow(1);
  window.findChild<QPushButton*>("cmdPlayAudio")->click();
  EXPECT_EQ(FakeClock::audio, nullptr);
  EXPECT_EQ(platform.messages.back().text, "この録音は再生できません (format 0x80)。");
  table->selectRow(0);
  window.findChild<QPushButton*>("cmdPlayAudio")->click();
  ASSERT_NE(FakeClock::audio, nullptr);
  EXPECT_EQ(FakeClock::audio->figures().entriesPlayed, 1);
  EXPECT_DOUBLE_EQ(FakeClock::audio->endSeconds(), 0.479);
  EXPECT_TRUE(Playback::instance().isPlaying());
  window.findChild<QPushButton*>("cmdStopAudio")->click();
  EXPECT_FALSE(Playback::instance().isPlaying());
}
