// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The file dialogs' filters.
#include <gtest/gtest.h>

#include "platform/Platform.h"

using namespace tonekit::ui;

TEST(FileDialogs, FiltersShowTheirTextOnceAndMatchBothCases) {
  // A description whose own "(…)" uses a full-width parenthesis is still shown as it is.
  EXPECT_EQ(qtNameFilters(QString::fromUtf8("iメロディファイル (*.mld)|*.mld|SMFファイル（*.mid)|*.mid")),
            QString::fromUtf8("iメロディファイル (*.mld) (*.mld *.MLD);;SMFファイル（*.mid) (*.mid *.MID)"));
}
