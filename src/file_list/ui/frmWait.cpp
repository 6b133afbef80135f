#include "file_list/ui/frmWait.h"

#include <QFont>
#include <QLabel>
#include <QStyle>

#include "platform/Twips.h"

namespace tonekit::ui {

frmWait::frmWait(QWidget* parent) : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("frmWait");
  setWindowTitle(QString::fromUtf8("処理中"));
  // While it shows, the list window (and the main window) are hidden: closing this one must not
  // count as closing the program's last window.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(twipsToPixelsX(3600, this), twipsToPixels(1200, this));

  auto* picture = new QLabel(this);
  picture->setObjectName("picWait");
  const int iconSize = twipsToPixels(480, this);
  picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(iconSize, iconSize));
  picture->setGeometry(twipsToPixelsX(240, this), twipsToPixels(360, this), iconSize, iconSize);

  auto* label = new QLabel(QString::fromUtf8("処理中"), this);
  label->setObjectName("lblWait");
  QFont big = label->font();
  big.setPointSize(20);
  big.setBold(true);
  label->setFont(big);
  label->setGeometry(twipsToPixelsX(960, this), twipsToPixels(240, this), twipsToPixelsX(2400, this),
                     twipsToPixels(720, this));
}

}  // namespace tonekit::ui
