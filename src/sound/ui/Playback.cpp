// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "sound/ui/Playback.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QWidget>
#include <algorithm>

#include "core/SafeFile.h"
#include "platform/Platform.h"

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
      QString text = QString::fromUtf8(kVendorAudioMessage).arg(vendor);
      if (conversion.counts.notes > 0) text += QString::fromUtf8(kNotesStillPlayMessage);
      platform().message(owner, text, Icon::Information);
    }
    auto player = playerFactory()();
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
  timer_.start();
  poll();
  return true;
}

void Playback::stop() {
  timer_.stop();
  if (owner_) owner_->removeEventFilter(this);
  owner_ = nullptr;
  player_.reset();
  cues_.clear();
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
  actions.stop = menu->addAction(QString::fromUtf8("停止"));
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

void exportMidi(QWidget* parent, const sound::Melody& melody, const QString& documentPath) {
  exportTo(parent, "MIDIファイルに書き出し", "MIDIファイル (*.mid)|*.mid", "mid", documentPath, [&](const std::filesystem::path& path) {
    replaceFileSafely(path, sound::convert(melody).smf);
  });
}

void exportWav(QWidget* parent, const sound::Melody& melody, const QString& documentPath) {
  exportTo(parent, "WAVファイルに書き出し", "WAVファイル (*.wav)|*.wav", "wav", documentPath, [&](const std::filesystem::path& path) {
    BusyCursor busy;
    sound::ExportOptions unrolled;
    unrolled.unroll = true;
    unrolled.timeGrid = true;
    unrolled.maxSeconds = sound::kMaxRenderSeconds;
    const auto performance = sound::convert(melody, unrolled);
    sound::renderWav(performance.smf, performance.counts.durationSeconds, sound::findSoundfont(), sound::kDefaultRate,
                     path);
  });
}

}  // namespace tonekit::ui
