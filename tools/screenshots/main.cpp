// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Photographs the program's own windows as the screen shows them and ends. Used for the
// documentation, through tools/screenshots.sh:
//   tonekit-screenshots OUTPUT_FOLDER FILE.mld [BIG_FOLDER]
// main-normal, main-expert, version, playback: the main window with FILE loaded, the version
// window and the playback menu dropped from the menu bar;
// unsaved-question: the question before an edited title would be lost; recent-files: the menu
// of the files read lately (every .mld beside FILE is read once); list-sorted: the list window
// grown and sorted by title; batch-progress: the wait window in the middle of an update of
// 10,000 copies of FILE, made in BIG_FOLDER; batch-summary: the box that ends an update where
// some rows fail; title-bar: the main window framed by openbox, its title marking the edit.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>

#include "base/CodePage.h"
#include "base/Failure.h"
#include "file_list/ListMaker.h"
#include "file_list/ui/MLDListModel.h"
#include "file_list/ui/frmMLDList.h"
#include "file_list/ui/frmWait.h"
#include "main_window/ui/frmMain.h"
#include "i18n/Language.h"
#include "platform/Translations.h"
#include "track_editor/ui/frmTrac.h"

namespace fs = std::filesystem;
using namespace tonekit;
using namespace tonekit::ui;

namespace {

// The window manager needs a moment to draw each state before it can be photographed.
constexpr int kSettle = 1200;
constexpr int kBigCount = 10000;
// How long the update runs before it is photographed.
constexpr int kBatchRuns = 25000;

void saveShot(QWidget* window, const QString& path) {
  window->screen()->grabWindow(window->winId()).save(path, "PNG");
}

// Steps run one after the other, kSettle apart. A step that opens something modal schedules the
// next one first: the next step then runs inside the modal loop.
class Steps {
 public:
  void add(std::function<void()> step) { steps_.push_back(std::move(step)); }
  // Steps that must come before all others still waiting (those of an open modal window).
  void addFirst(std::initializer_list<std::function<void()>> steps) {
    steps_.insert(steps_.begin(), steps.begin(), steps.end());
  }
  void next() {
    if (steps_.empty()) {
      QTimer::singleShot(0, qApp, &QApplication::quit);
      return;
    }
    auto step = std::move(steps_.front());
    steps_.pop_front();
    QTimer::singleShot(kSettle, qApp, [this, step] { step(); });
  }

 private:
  std::deque<std::function<void()>> steps_;
};

void clickButton(QWidget* box, QMessageBox::StandardButton which) {
  if (auto* message = qobject_cast<QMessageBox*>(box)) message->button(which)->click();
}

frmMLDList* listWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* list = qobject_cast<frmMLDList*>(w); list && list->isVisible()) return list;
  return nullptr;
}

// The main, track and list windows in one language: NAME-LANG.png for main, track and list.
int shootLanguage(QApplication& app, Language language, const QString& folder, const QString& file) {
  i18n::useLanguage(language, &app);
  const QString suffix = QString("-") + languageCode(language) + ".png";
  QDir().mkpath(folder);
  frmMain main;
  main.show();
  Steps steps;
  std::unique_ptr<frmTrac> track;
  steps.add([&] {
    main.openPath(file);
    steps.next();
  });
  steps.add([&] {
    saveShot(&main, folder + "/main" + suffix);
    track = std::make_unique<frmTrac>();
    track->session = &main.session();
    track->MLDTracNumber = 0;
    track->MLDTracData = main.document()->MLDTracData;
    track->MLDNote = main.document()->MLDNote;
    track->MLDExst = main.document()->MLDExst;
    track->documentName = QFileInfo(file).fileName();
    track->Load();
    track->show();
    steps.next();
  });
  steps.add([&] {
    saveShot(track.get(), folder + "/track" + suffix);
    track->hide();
    main.findChild<QAction*>("mnuShowMLDList")->trigger();
    steps.next();
  });
  steps.add([&] {
    frmMLDList* list = listWindow();
    if (!list) return steps.next();
    list->MLDListItems = makeMLDList(QFile::encodeName(QFileInfo(file).absolutePath()).toStdString());
    list->ShowList();
    list->resize(list->width() * 3 / 2, list->height() * 3 / 2);
    steps.next();
  });
  steps.add([&] {
    if (frmMLDList* list = listWindow()) saveShot(list, folder + "/list" + suffix);
    QApplication::exit(0);
  });
  steps.next();
  return app.exec();
}

// batch-summary: the one box that ends an update, over a folder where some rows fail: the counts
// and each failed file with its reason. The files are made beside FILE, the error file goes to the
// home's data folder.
void addBatchSummaryScene(Steps& steps, const QString& folder, const QString& file) {
  steps.add([&steps, folder, file] {
    frmMLDList* list = listWindow();
    if (!list) return steps.next();
    const fs::path source = QFile::encodeName(file).toStdString();
    const fs::path place = source.parent_path() / "batch";
    fs::create_directories(place);
    MLDList rows;
    for (const char* name : {"haru.mld", "natsu.mld", "aki.mld"}) {
      fs::copy_file(source, place / name, fs::copy_options::overwrite_existing);
      rows.push_back({(place / name).string(), encodeCp932(std::string("かえるの合唱 ") + name).bytes});
    }
    // A melody cut short in copying, a text file given the MLD ending, and a row whose file is gone.
    fs::resize_file(place / "aki.mld", 24);
    std::FILE* text = std::fopen((place / "memo.mld").c_str(), "wb");
    if (text) {
      std::fputs("買い物: 牛乳、パン\n", text);
      std::fclose(text);
    }
    rows.push_back({(place / "memo.mld").string(), encodeCp932("メモ").bytes});
    rows.push_back({(place / "fuyu.mld").string(), encodeCp932("ふゆ").bytes});
    list->setErrorFolder(source.parent_path().parent_path() / ".local/share/tonekit");
    fs::create_directories(list->errorFolder());
    list->MLDListItems = std::move(rows);
    list->ShowList();
    steps.addFirst({[&steps] {  // the confirmation: OK, and the update ends at once
      clickButton(QApplication::activeModalWidget(), QMessageBox::Ok);
      steps.next();
    }, [&steps, folder] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        saveShot(box, folder + "/batch-summary.png");
        clickButton(box, QMessageBox::Ok);
      }
      steps.next();
    }});
    steps.next();
    list->cmdExecute_Click();
  });
}

// title-bar: the main window framed by a window manager (started for this picture alone), its
// title naming the document with "*" for the unsaved edit.
void addTitleBarScene(Steps& steps, frmMain& main, const QString& folder) {
  auto manager = std::make_shared<QProcess>();
  auto before = std::make_shared<QString>();
  steps.add([&steps, &main, manager] {
    // The list window closes, and the main window it stood in for comes back.
    if (frmMLDList* list = listWindow()) list->close();
    manager->start("openbox", {});
    main.show();
    main.raise();
    main.activateWindow();
    steps.next();
  });
  steps.add([&steps, &main, before] {
    // Its frame round it now, the window is moved so that the title bar is on the screen.
    main.move(40, 40);
    auto* title = main.findChild<QLineEdit*>("txtTitl");
    *before = title->text();
    title->setText(QString::fromUtf8("かえるの合唱（新しい題）"));
    steps.next();
  });
  steps.add([&steps, &main, folder, manager, before] {
    const QRect area = main.frameGeometry();
    main.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(folder + "/title-bar.png", "PNG");
    main.findChild<QLineEdit*>("txtTitl")->setText(*before);
    manager->terminate();
    manager->waitForFinished(3000);
    steps.next();
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(kAppName);
  // tonekit-screenshots --lang ja|en OUTPUT_FOLDER FILE.mld: the three windows in that language.
  if (argc == 5 && QByteArray(argv[1]) == "--lang") {
    return shootLanguage(app, languageNamed(argv[2]).value_or(Language::English), QString::fromLocal8Bit(argv[3]),
                         QString::fromLocal8Bit(argv[4]));
  }
  installJapaneseQtTranslation(app);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() < 3) {
    std::fputs("usage: tonekit-screenshots OUTPUT_FOLDER FILE.mld [BIG_FOLDER]\n", stderr);
    return 2;
  }
  const QString folder = arguments.at(1);
  const QString file = arguments.at(2);
  const QString big = arguments.size() > 3 ? arguments.at(3) : QString();
  QDir().mkpath(folder);

  frmMain main;
  main.show();
  Steps steps;
  QString shownTitle;
  const auto shot = [&](QWidget* w, const char* name) { saveShot(w, folder + "/" + name + ".png"); };

  steps.add([&] {
    // Every melody beside the file is read once, the file itself last: the recent-files menu.
    for (const QFileInfo& other : QDir(QFileInfo(file).absolutePath()).entryInfoList({"*.mld"}, QDir::Files))
      if (other.absoluteFilePath() != QFileInfo(file).absoluteFilePath()) main.openPath(other.absoluteFilePath());
    main.openPath(file);
    steps.next();
  });
  steps.add([&] {
    shot(&main, "main-normal");
    main.findChild<QPushButton*>("cmdActionChange")->click();
    steps.next();
  });
  steps.add([&] {
    shot(&main, "main-expert");
    steps.addFirst({[&] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        shot(dialog, "version");
        dialog->close();
      }
      steps.next();
    }});
    steps.next();
    main.findChild<QAction*>("mnuHelpVersion")->trigger();
  });
  steps.add([&] {
    auto* menu = main.findChild<QMenu*>("mnuPlay");
    main.menuBar()->setActiveAction(menu->menuAction());
    steps.next();
  });
  steps.add([&] {
    // The dropped menu is a window of its own: the shot takes the screen's area of both.
    auto* menu = main.findChild<QMenu*>("mnuPlay");
    const QRect area = main.frameGeometry().united(menu->geometry());
    main.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(folder + "/playback.png", "PNG");
    menu->close();
    steps.next();
  });
  steps.add([&] {
    main.findChild<QPushButton*>("cmdActionChange")->click();
    auto* title = main.findChild<QLineEdit*>("txtTitl");
    shownTitle = title->text();
    title->setText(QString::fromUtf8("かえるの合唱（新しい題）"));
    steps.addFirst({[&] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        shot(box, "unsaved-question");
        clickButton(box, QMessageBox::Cancel);
      }
      steps.next();
    }});
    steps.next();
    main.close();
  });
  steps.add([&] {
    auto* recent = main.findChild<QMenu*>("mnuFileRecent");
    recent->popup(main.mapToGlobal(QPoint(40, 40)));
    steps.next();
  });
  steps.add([&] {
    auto* recent = main.findChild<QMenu*>("mnuFileRecent");
    shot(recent, "recent-files");
    recent->close();
    // The edit goes again: quitting asks about unsaved changes too.
    main.findChild<QLineEdit*>("txtTitl")->setText(shownTitle);
    main.findChild<QAction*>("mnuShowMLDList")->trigger();
    steps.next();
  });
  steps.add([&] {
    frmMLDList* list = listWindow();
    if (!list) return steps.next();
    list->MLDListItems = makeMLDList(QFile::encodeName(QFileInfo(file).absolutePath()).toStdString());
    list->ShowList();
    list->resize(list->width() * 3 / 2, list->height() * 3 / 2);
    list->findChild<QTableView*>("mfgMLDList")->horizontalHeader()->sectionClicked(MLDListModel::kTitleColumn);
    steps.next();
  });
  steps.add([&] {
    frmMLDList* list = listWindow();
    if (!list) return steps.next();
    shot(list, "list-sorted");
    if (big.isEmpty()) return steps.next();
    // The update of many files: copies of the file, each to get a new title.
    fs::create_directories(QFile::encodeName(big).toStdString());
    MLDList rows;
    for (int i = 0; i < kBigCount; ++i) {
      const fs::path copy = fs::path(QFile::encodeName(big).toStdString()) / (QString::asprintf("%05d.mld", i).toStdString());
      fs::copy_file(QFile::encodeName(file).toStdString(), copy, fs::copy_options::overwrite_existing);
      rows.push_back({copy.string(), encodeCp932(QString::asprintf("メロディ %05d", i).toStdString()).bytes});
    }
    list->MLDListItems = std::move(rows);
    list->ShowList();
    steps.addFirst({[&] {  // the confirmation: OK, and the update runs a while
      clickButton(QApplication::activeModalWidget(), QMessageBox::Ok);
      QTimer::singleShot(kBatchRuns, qApp, [&] { steps.next(); });
    }, [&] {
      frmMLDList* running = nullptr;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* l = qobject_cast<frmMLDList*>(w)) running = l;
      if (running && running->waitWindow()) {
        shot(running->waitWindow(), "batch-progress");
        running->waitWindow()->findChild<QPushButton*>("cmdCancel")->click();
      }
      steps.next();
    }, [&] {  // the summary of the cancelled update
      clickButton(QApplication::activeModalWidget(), QMessageBox::Ok);
      steps.next();
    }});
    steps.next();
    list->cmdExecute_Click();
  });
  addBatchSummaryScene(steps, folder, file);
  addTitleBarScene(steps, main, folder);
  steps.next();
  return app.exec();
}
