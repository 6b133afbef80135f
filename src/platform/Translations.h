#pragma once
// Qt's own texts (standard buttons, file dialogs, the overwrite question) in Japanese, like the
// program's, whatever the desktop's locale.

class QCoreApplication;

namespace tonekit::ui {

// Loads Qt's Japanese translation into app; false when it is not installed (the texts stay
// English).
bool installJapaneseQtTranslation(QCoreApplication& app);

}  // namespace tonekit::ui
