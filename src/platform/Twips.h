#pragma once
// Sizes of the classic layouts are given in twips; this is the one conversion to pixels.

#include <QWidget>
#include <cmath>

namespace tonekit::ui {

inline constexpr double kTwipsPerInch = 1440.0;

// Pixels for a twips value at the widget's logical resolution (96 dpi on most desktops).
inline int twipsToPixels(int twips, const QWidget* widget = nullptr) {
  const double dpi = widget ? widget->logicalDpiY() : 96.0;
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

inline int twipsToPixelsX(int twips, const QWidget* widget = nullptr) {
  const double dpi = widget ? widget->logicalDpiX() : 96.0;
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

}  // namespace tonekit::ui
