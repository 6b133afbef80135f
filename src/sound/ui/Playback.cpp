// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "sound/ui/Playback.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QProgressDialog>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <cmath>

#include "base/SafeFile.h"
#include "platform/Platform.h"
#include "sound/Exports.h"
#include "base/Translate.h"

namespace tonekit::ui {

namespace {

// Often enough for the row to keep up with a fast melody, rarely enough to cost nothing.
constexpr int kPollMilliseconds = 40;

// Asks for the file to write through the save dialog, then writes it; a cancel does nothing.
// The suffix is the dialog's key too: each export remembers its own folder.
void exportTo(QWidget* parent, const char* title, const char* filter, const char* suffix, const QString& documentPath,
              const std::function<void(const std::filesystem::path&)>& write) {
  const auto chosen = askSaveFile(parent, fileDialogOptions(QString::fromUtf8(title), QString::fromUtf8(filter), suffix,
                                                            QString("export-") + suffix, documentPath));
  if (!chosen) return;
  const std::filesystem::path path = toFsPath(*chosen);
  guarded(parent, [&] { write(path); }, true);
}

}  // namespace

Playback::Playback(QObject* parent) : QObject(parent) {
  timer_.setInterval(kPollMilliseconds);
  connect(&timer_, &QTimer::timeout, this, &Playback::poll);
}

Playback& Playback::instance() {
  static QPointer<Playback> one;
  if (!one) one = new Playback(qApp);
  return *one;
}

Playback::PlayerFactory& Playback::playerFactory() {
  static PlayerFactory factory = [] { return sound::makeFluidPlayer(sound::findSoundfont()); };
  return factory;
}

bool Playback::play(QWidget* owner, const sound::Melody& melody, sound::ExportOptions options) {
  stop();
  options.unroll = true;
  options.timeGrid = true;
  try {
    auto conversion = sound::convert(melody, options);
    if (const auto vendor = conversion.counts.vendorAudioEvents) {
      QString text = QString::fromUtf8(kVendorAudioMessage.translated()).arg(vendor);
      if (conversion.counts.notes > 0) text += QString::fromUtf8(kNotesStillPlayMessage.translated());
      platform().message(owner, text, Icon::Information);
    }
    auto player = playerFactory()();
    if (!melody.audioChunks.empty() && !conversion.audio.empty())
      player->playWithAudio(conversion.smf, std::make_shared<sound::AudioMix>(melody.audioChunks, conversion.audio,
                                                                              melody.exst, player->sampleRate()));
    else
      player->play(conversion.smf);
    player_ = std::move(player);
    cues_ = std::move(conversion.cues);
  } catch (const Failure& failure) {
    platform().message(owner, QString::fromStdString(failure.description()), Icon::Information);
    return false;
  }
  owner_ = owner ? owner->window() : nullptr;
  if (owner_) owner_->installEventFilter(this);
  tick_ = -1;
  started_.start();
  timer_.start();
  emit stateChanged();
  poll();
  return true;
}

void Playback::stop() {
  const bool was = player_ != nullptr;
  timer_.stop();
  if (owner_) owner_->removeEventFilter(this);
  owner_ = nullptr;
  player_.reset();
  cues_.clear();
  if (was) emit stateChanged();
}

std::optional<std::size_t> Playback::currentEvent(int track) const {
  if (!player_) return std::nullopt;
  // The last cue of the track at or before the playhead.
  const auto past = std::upper_bound(cues_.begin(), cues_.end(), tick_,
                                     [](std::int64_t tick, const sound::Cue& cue) { return tick < cue.tick; });
  for (auto it = std::make_reverse_iterator(past); it != cues_.rend(); ++it)
    if (it->track == track) return it->event;
  return std::nullopt;
}

void Playback::poll() {
  if (!player_) return;
  if (!player_->playing()) {
    stop();
    return;
  }
  const std::int64_t tick = player_->tick();
  if (tick == tick_) return;
  tick_ = tick;
  emit moved();
}

bool Playback::eventFilter(QObject* watched, QEvent* event) {
  if (watched == owner_ && event->type() == QEvent::Close) stop();
  return QObject::eventFilter(watched, event);
}

PlaybackActions addPlaybackActions(QWidget* window, QMenu* menu, const char* playName, const char* playCaption,
                                   const char* stopName) {
  PlaybackActions actions{};
  actions.play = menu->addAction(QString::fromUtf8(playCaption));
  actions.play->setObjectName(playName);
  actions.play->setShortcut(QKeySequence(Qt::Key_F5));
  actions.stop = menu->addAction(QString::fromUtf8(TKT("TONEKIT", "停止")));
  actions.stop->setObjectName(stopName);
  actions.stop->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F5));
  // A popup menu's entries only answer their keys while it is open; the window takes them too.
  for (QAction* action : {actions.play, actions.stop}) {
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
  }
  QObject::connect(actions.stop, &QAction::triggered, window, [] { Playback::instance().stop(); });
  return actions;
}

namespace {

QString exportSummary(const std::filesystem::path& path, const sound::Counts& counts) {
  std::int64_t skipped = 0;
  for (const auto& [kind, n] : counts.skipped) skipped += n;
  QStringList channels;
  for (const int channel : counts.channels) channels << QString::number(channel);
  return QString::fromUtf8(TKT("TONEKIT", "MIDIファイルに書き出しました: %1\r\n\r\n"
                           "音符: %2 (書き出せなかった音符: %3)\r\n書き出せなかったイベント: %4\r\nチャンネル: %5\r\n"
                           "テンポ変更: %6\r\nループ: %7\r\nジャンプ: %8\r\n長さ: %9 ティック、%10 秒\r\n"
                           "壊れたトラック: %11\r\nオーディオのイベント: %12 (メーカー独自: %13)"))
      .arg(fromFsPath(path))
      .arg(counts.notes)
      .arg(counts.droppedNotes)
      .arg(skipped)
      .arg(channels.join(", "))
      .arg(counts.tempoChanges)
      .arg(counts.loops)
      .arg(counts.jumps)
      .arg(counts.ticks)
      .arg(std::round(counts.durationSeconds * 1000.0) / 1000.0)
      .arg(counts.damagedTracks)
      .arg(counts.audioEvents)
      .arg(counts.vendorAudioEvents);
}

QString renderSummary(const std::filesystem::path& path, const sound::Counts& counts, const sound::Rendered& rendered) {
  const double seconds = std::round(double(rendered.frames) / rendered.rate * 1000.0) / 1000.0;
  return QString::fromUtf8(TKT("TONEKIT", "WAVファイルに書き出しました: %1\r\n\r\n"
                           "音符: %2 (書き出せなかった音符: %3)\r\nテンポ変更: %4\r\nループ: %5\r\n"
                           "ジャンプ: %6\r\n長さ: %7 ティック、%8 秒\r\nWAV: %9 Hz、%10 フレーム、%11 秒"))
      .arg(fromFsPath(path))
      .arg(counts.notes)
      .arg(counts.droppedNotes)
      .arg(counts.tempoChanges)
      .arg(counts.loops)
      .arg(counts.jumps)
      .arg(counts.ticks)
      .arg(std::round(counts.durationSeconds * 1000.0) / 1000.0)
      .arg(rendered.rate)
      .arg(rendered.frames)
      .arg(seconds);
}

}  // namespace

bool runWithProgress(QWidget* parent, const char* objectName, const QString& title, const QString& label,
                     const std::function<void(const std::atomic<bool>& stop)>& work,
                     const std::function<int()>& permille) {
  std::atomic<bool> stop{false};
  QProgressDialog progress(label, QString::fromUtf8(TKT("TONEKIT", "キャンセル")), 0, permille ? 1000 : 0, parent);
  progress.setObjectName(objectName);
  progress.setWindowTitle(title);
  progress.setWindowModality(Qt::WindowModal);
  progress.setAutoReset(false);
  progress.setAutoClose(false);
  progress.setMinimumDuration(0);
  QObject::connect(&progress, &QProgressDialog::canceled, [&stop] { stop = true; });
  progress.show();
  runBesideWindows([&] { work(stop); },
                   [&] {
                     if (progress.wasCanceled()) stop = true;
                     if (permille) progress.setValue(permille());
                   });
  // Nothing is kept yet: a キャンセル pressed as the work ended still counts.
  QCoreApplication::processEvents();
  return !stop && !progress.wasCanceled();
}

void exportMidi(QWidget* parent, const sound::Melody& melody, const QString& documentPath) {
  exportTo(parent, TKT("TONEKIT", "MIDIファイルに書き出し"), TKT("TONEKIT", "MIDIファイル (*.mid)|*.mid"), "mid", documentPath, [&](const std::filesystem::path& path) {
    sound::Conversion conversion;
    const bool finished = runWithProgress(
        parent, "dlgExportProgress", QString::fromUtf8(TKT("TONEKIT", "MIDIファイルに書き出し")),
        QString::fromUtf8(TKT("TONEKIT", "MIDIファイルに書き出しています…")),
        [&](const std::atomic<bool>&) { conversion = sound::convert(melody); });
    if (!finished) {
      platform().message(parent, QString::fromUtf8(TKT("TONEKIT", "MIDIファイルへの書き出しを中止しました。ファイルは書き込まれていません。")),
                         Icon::Information);
      return;
    }
    replaceFileSafely(path, conversion.smf);
    QString summary = exportSummary(path, conversion.counts);
    if (!melody.audioChunks.empty())
      summary += QString::fromUtf8(TKT("TONEKIT", "\r\nMIDIファイルに入らない録音 (adat): %1 個")).arg(melody.audioChunks.size());
    platform().message(parent, summary, Icon::Information);
  });
}

void exportWav(QWidget* parent, const sound::Melody& melody, const QString& documentPath) {
  exportTo(parent, TKT("TONEKIT", "WAVファイルに書き出し"), TKT("TONEKIT", "WAVファイル (*.wav)|*.wav"), "wav", documentPath, [&](const std::filesystem::path& path) {
    const auto soundfont = sound::findSoundfont();
    // Minutes of sound take seconds to render; a stopped render leaves the file as it was.
    std::atomic<std::int64_t> done{0}, total{0};
    sound::WavExport written;
    try {
      runWithProgress(
          parent, "dlgRenderProgress", QString::fromUtf8(TKT("TONEKIT", "WAVファイルに書き出し")),
          QString::fromUtf8(TKT("TONEKIT", "WAVファイルに書き出しています…")),
          [&](const std::atomic<bool>& stop) {
            written = sound::writeWav(melody, soundfont, sound::kDefaultRate, path, [&](std::int64_t d, std::int64_t t) {
              done = d;
              total = t;
              return !stop;
            });
          },
          [&] { return total > 0 ? static_cast<int>(done * 1000 / total) : 0; });
    } catch (const Failure& failure) {
      if (failure.number() != sound::kRenderStopped) throw;
      platform().message(parent, QString::fromUtf8(TKT("TONEKIT", "WAVファイルへの書き出しを中止しました。ファイルは書き込まれていません。")),
                         Icon::Information);
      return;
    }
    platform().message(parent, renderSummary(path, written.counts, written.rendered), Icon::Information);
  });
}

}  // namespace tonekit::ui
