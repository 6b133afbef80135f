// Photographs the program's own windows as the screen shows them (normal layout, expert layout,
// version window, the playback menu) and ends. Used for the documentation, through tools/screenshots.sh.
//   tonekit-screenshots OUTPUT_FOLDER [FILE.mld]
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdio>

#include "core/Failure.h"
#include "header_editor/ui/frmMain.h"
#include "platform/Translations.h"

namespace {

void saveShot(QWidget* window, const QString& path) {
  QScreen* screen = window->screen();
  const QPixmap shot = screen->grabWindow(window->winId());
  shot.save(path, "PNG");
}

// The playback menu dropped from the menu bar of the main window. The menu is a window of its
// own, so the shot takes the screen's area of both.
void photographPlaybackMenu(tonekit::ui::frmMain& main, const QString& folder, int settle) {
  auto* menu = main.findChild<QMenu*>("mnuPlay");
  main.menuBar()->setActiveAction(menu->menuAction());
  QTimer::singleShot(settle, &main, [&main, menu, folder] {
    const QRect area = main.frameGeometry().united(menu->geometry());
    main.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(folder + "/playback.png", "PNG");
    menu->close();
    QApplication::quit();
  });
}

void photographWindows(tonekit::ui::frmMain& main, const QString& folder) {
  QDir().mkpath(folder);
  // The window manager needs a moment to draw each state before it can be photographed.
  const int settle = 1200;
  QTimer::singleShot(settle, &main, [&main, folder, settle] {
    saveShot(&main, folder + "/main-normal.png");
    main.findChild<QPushButton*>("cmdActionChange")->click();
    QTimer::singleShot(settle, &main, [&main, folder, settle] {
      saveShot(&main, folder + "/main-expert.png");
      QTimer::singleShot(settle, &main, [folder] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
          saveShot(dialog, folder + "/version.png");
          dialog->close();
        }
      });
      main.findChild<QAction*>("mnuHelpVersion")->trigger();
      photographPlaybackMenu(main, folder, settle);
    });
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(tonekit::kAppName);
  tonekit::ui::installJapaneseQtTranslation(app);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() < 2) {
    std::fputs("usage: tonekit-screenshots OUTPUT_FOLDER [FILE.mld]\n", stderr);
    return 2;
  }

  tonekit::ui::frmMain window;
  window.show();
  if (arguments.size() > 2) {
    const QString path = arguments.at(2);
    QTimer::singleShot(0, &window, [&window, path] { window.openPath(path); });
  }
  photographWindows(window, arguments.at(1));
  return app.exec();
}
