// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Hearing the melody from the windows: one melody plays at a time, on FluidSynth's threads, while
// the window thread only asks now and then where the music is. Also the two exports of the file
// menus.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "convert/MidiExport.h"
#include "sound/Synth.h"
#include "base/Translate.h"

class QAction;
class QMenu;

namespace tonekit::ui {

// What playing says before it starts when the melody's sound is a vendor's audio inside
// device-dependent events; %1 is their number. The second sentence is added when notes play.
inline constexpr Text kVendorAudioMessage =
    TKN("TONEKIT", "この曲の音は機種独自の音声データ (機種依存イベント %1 個) で、TONEKIT では再生できません。");
inline constexpr Text kNotesStillPlayMessage = TKN("TONEKIT", "音符だけを再生します。");

class Playback : public QObject {
  Q_OBJECT
 public:
  // The one playback of the program, made on first use and owned by the application.
  static Playback& instance();

  // How players are made; tests put in one without sound and with a clock of their own.
  using PlayerFactory = std::function<std::unique_ptr<sound::Player>()>;
  static PlayerFactory& playerFactory();

  // Stops what plays and plays the melody, loops unrolled, for `owner`; it stops when that
  // window closes. A failure (no soundfont, no sound device) is shown as a message; returns
  // whether it plays.
  bool play(QWidget* owner, const sound::Melody& melody, sound::ExportOptions options = {});
  void stop();
  bool isPlaying() const { return player_ != nullptr; }
  // Milliseconds since the melody started.
  qint64 elapsed() const { return player_ ? started_.elapsed() : 0; }
  QWidget* owner() const { return owner_; }

  // The event of `track` sounding now, if any.
  std::optional<std::size_t> currentEvent(int track) const;
  // Asks the player where the music is; the timer does this every few milliseconds.
  void poll();

 signals:
  void moved();
  // Started or stopped.
  void stateChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit Playback(QObject* parent);

  std::unique_ptr<sound::Player> player_;
  std::vector<sound::Cue> cues_;
  std::int64_t tick_ = 0;
  QPointer<QWidget> owner_;
  QTimer timer_;
  QElapsedTimer started_;
};

// "再生"-style and "停止" entries with the program's playback shortcuts (F5, Shift+F5); they
// work anywhere in `window`.
struct PlaybackActions {
  QAction* play;
  QAction* stop;
};
PlaybackActions addPlaybackActions(QWidget* window, QMenu* menu, const char* playName, const char* playCaption,
                                   const char* stopName);

// Ask for a path through the save dialog and write the melody there as a Standard MIDI File, or
// rendered as a WAV file. A cancel does nothing; a failure goes to the error report. The dialog
// starts beside documentPath and proposes its name, when given.
void exportMidi(QWidget* parent, const sound::Melody& melody, const QString& documentPath = {});
void exportWav(QWidget* parent, const sound::Melody& melody, const QString& documentPath = {});

// Runs work beside the windows under a window-modal progress window (objectName, title, label)
// with キャンセル. work may read stop to end early; permille, when given, tells how far it came,
// otherwise the bar only moves. Returns false when キャンセル was pressed before the end: the
// caller then keeps nothing of the work. What work raises is raised here.
bool runWithProgress(QWidget* parent, const char* objectName, const QString& title, const QString& label,
                     const std::function<void(const std::atomic<bool>& stop)>& work,
                     const std::function<int()>& permille = {});

}  // namespace tonekit::ui
