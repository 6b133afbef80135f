// GoogleTest main for window tests: one QApplication for the whole run, offscreen.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/Translations.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The windows are tested with the texts the program shows.
  tonekit::ui::installJapaneseQtTranslation(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
