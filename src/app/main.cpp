// TONEKIT, the desktop program: the main window, optionally with a file loaded at start.
//   tonekit [FILE.mld]
#include <QApplication>
#include <QTimer>

#include "core/Failure.h"
#include "header_editor/ui/frmMain.h"

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
  return app.exec();
}
