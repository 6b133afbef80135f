#pragma once
// Opening the MLD list window from the main window.

class QWidget;

namespace tonekit::ui {

// Hides mainWindow and shows a new list window without waiting; when the list window closes it
// is deleted and mainWindow shows again.
void openListView(QWidget* mainWindow);

}  // namespace tonekit::ui
