// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The track view on long tracks: opening (walk and grid fill), inserting and deleting at the
// first row, editing one event, closing (assembly back into the collection).
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTableView>
#include <memory>

#include "base/clsCalcUtil.h"
#include "platform/Platform.h"
#include "track_editor/ui/NoteTableModel.h"
#include "track_editor/ui/frmNoteEdit.h"
#include "track_editor/ui/frmTrac.h"

using namespace tonekit;
using namespace tonekit::ui;

namespace {

// Answers every question with OK and confirms the note editor with a changed note.
class BenchPlatform : public Platform {
 public:
  Answer message(QWidget*, const QString&, Icon, Buttons, const QString&) override { return Answer::Ok; }
  std::optional<QString> openFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
  std::optional<QString> saveFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
  std::optional<QString> chooseFolder(QWidget*, const QString&, const QString&) override { return std::nullopt; }
  int execDialog(QDialog& dialog) override {
    if (auto* editor = qobject_cast<frmNoteEdit*>(&dialog)) {
      editor->NoteData = {0x10, 0x5B, 0x30};
      editor->Edit = true;
      return QDialog::Accepted;
    }
    return QDialog::Rejected;
  }
  void setBusy(bool) override {}
  void processEvents() override {}
};

// events 3-byte notes, the last one an EndOfTrack.
std::shared_ptr<TrackCollection> trackOf(int events) {
  ByteString data;
  data.reserve(static_cast<std::size_t>(events) * 3 + 4);
  for (int i = 0; i + 1 < events; ++i)
    data.insert(data.end(), {static_cast<std::uint8_t>(i % 200), static_cast<std::uint8_t>(i % 63), 0x30});
  data.insert(data.end(), {0x00, 0xFF, 0xDF, 0x00});
  ByteString chunk = bytesOf("trac");
  ByteString len;
  clsCalcUtil().CalcDWORDFromLong(static_cast<std::int64_t>(data.size()), len);
  chunk.insert(chunk.end(), len.begin(), len.end());
  chunk.insert(chunk.end(), data.begin(), data.end());
  auto tracks = std::make_shared<TrackCollection>();
  tracks->add("trac0", std::move(chunk));
  return tracks;
}

std::unique_ptr<frmTrac> openView(const std::shared_ptr<TrackCollection>& tracks) {
  auto view = std::make_unique<frmTrac>();
  view->MLDTracData = tracks;
  view->Load();
  view->show();
  return view;
}

void choose(frmTrac& view, const char* entry) { view.findChild<QAction*>(entry)->trigger(); }

void selectFirst(frmTrac& view) {
  auto* grid = view.findChild<QTableView*>("mfgTrac");
  grid->setCurrentIndex(grid->model()->index(0, 1));
}

void BM_Open(benchmark::State& state) {
  const auto tracks = trackOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto view = openView(tracks);
    QApplication::processEvents();  // the first paint
    benchmark::DoNotOptimize(view->notes().noteCount());
    state.PauseTiming();
    view->hide();
    view.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}

void BM_InsertFirst(benchmark::State& state) {
  const auto tracks = trackOf(static_cast<int>(state.range(0)));
  auto view = openView(tracks);
  for (auto _ : state) {
    selectFirst(*view);
    choose(*view, "mnuNoteEditInsert");
    QApplication::processEvents();
  }
  view->hide();
}

void BM_DeleteFirst(benchmark::State& state) {
  const auto tracks = trackOf(static_cast<int>(state.range(0)));
  auto view = openView(tracks);
  for (auto _ : state) {
    state.PauseTiming();
    selectFirst(*view);
    choose(*view, "mnuNoteEditInsert");  // keeps the track as long as it was
    QApplication::processEvents();
    state.ResumeTiming();
    selectFirst(*view);
    choose(*view, "mnuNoteEditDelete");
    QApplication::processEvents();
  }
  view->hide();
}

void BM_EditOne(benchmark::State& state) {
  const auto tracks = trackOf(static_cast<int>(state.range(0)));
  auto view = openView(tracks);
  for (auto _ : state) {
    selectFirst(*view);
    choose(*view, "mnuNoteEditUpdate");
    QApplication::processEvents();
  }
  view->hide();
}

void BM_Close(benchmark::State& state) {
  const auto tracks = trackOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto view = openView(tracks);
    QApplication::processEvents();
    state.ResumeTiming();
    view->close();  // assembles the track and stores it
    state.PauseTiming();
    view.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}

#define TRACK_SIZES Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Open)->TRACK_SIZES->Complexity(benchmark::oN);
BENCHMARK(BM_InsertFirst)->TRACK_SIZES;
BENCHMARK(BM_DeleteFirst)->TRACK_SIZES;
BENCHMARK(BM_EditOne)->TRACK_SIZES;
BENCHMARK(BM_Close)->TRACK_SIZES->Complexity(benchmark::oN);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  BenchPlatform platform;
  setPlatform(&platform);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  setPlatform(nullptr);
  return 0;
}
