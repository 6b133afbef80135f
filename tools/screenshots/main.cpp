// Photographs the program's own windows as the screen shows them (normal layout, expert layout,
// version window) and ends. Used for the documentation, through tools/screenshots.sh.
//   tonekit-screenshots OUTPUT_FOLDER [FILE.mld]
#include <QApplication>
#include <QDir>
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
      QTimer::singleShot(0, qApp, &QApplication::quit);
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
