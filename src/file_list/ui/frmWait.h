#pragma once
// The small "processing" window that stands in for the list window while a long command runs on
// the window thread. It has no behaviour of its own.

#include <QWidget>

class QLabel;

namespace tonekit::ui {

class frmWait : public QWidget {
  Q_OBJECT
 public:
  explicit frmWait(QWidget* parent = nullptr);
};

}  // namespace tonekit::ui
