// TONEKIT, the desktop program: the main window, optionally with a file loaded at start.
//   tonekit [FILE.mld]
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "core/Failure.h"
#include "header_editor/ui/frmMain.h"

namespace {

// TONEKIT_SCREENSHOT_DIR=folder: the program photographs its own windows as the screen shows
// them (normal layout, expert layout, version window) and ends. Used for the documentation.
void saveShot(QWidget* window, const QString& path) {
  QScreen* screen = window->screen();
  const QPixmap shot = screen->grabWindow(window->winId());
  shot.save(path, "PNG");
}

void photographWindows(tonekit::ui::frmMain& main, const QString& folder) {
  QDir().mkpath(folder);
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
      QTimer::singleShot(0, qApp, &QApplication::quit);
    });
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(tonekit::kAppName);

  tonekit::ui::frmMain window;
  window.show();

  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    const QString path = arguments.at(1);
    QTimer::singleShot(0, &window, [&window, path] { window.openPath(path); });
  }
  const QString shots = qEnvironmentVariable("TONEKIT_SCREENSHOT_DIR");
  if (!shots.isEmpty()) photographWindows(window, shots);
  return app.exec();
}
