// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
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

// Puts a widget where the classic layout had it: left, top, width, height in twips.
inline void placeTwips(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(twipsToPixelsX(left, widget), twipsToPixels(top, widget), twipsToPixelsX(width, widget),
                      twipsToPixels(height, widget));
}

}  // namespace tonekit::ui
