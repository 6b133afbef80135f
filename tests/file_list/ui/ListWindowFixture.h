// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// What the list window tests share: a scripted platform that can look at the windows while the
// wait window shows, and a folder tree holding copies of the sample files.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "ScriptedPlatform.h"
#include "base/ByteString.h"
#include "base/CodePage.h"
#include "base/SafeFile.h"
#include "base/AppFolder.h"
#include "mld/clsMLD.h"
#include "file_list/ui/frmMLDList.h"

namespace tonekit::ui::testing {

namespace fs = std::filesystem;

inline QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

// Runs a hook each time the window lets pending events run (the moment the wait window shows).
class ObservingPlatform : public ScriptedPlatform {
 public:
  void processEvents() override {
    ScriptedPlatform::processEvents();
    if (onProcessEvents) onProcessEvents();
  }
  std::function<void()> onProcessEvents;
};

inline ByteString fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return ByteString((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeBytes(const fs::path& path, const ByteString& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline ByteString titleOf(const fs::path& path) {
  clsMLD doc;
  doc.MLDFile = path.string();
  doc.ParseMLD();
  return doc.MLDTitl;
}

inline ByteString cp932(const char* utf8) { return encodeCp932(utf8).bytes; }

class ListWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp.isValid());
    root = fs::path(temp.path().toStdString());
    samples = fs::path(TONEKIT_SAMPLES_DIR);
    window = std::make_unique<frmMLDList>();
    window->setErrorFolder(root);
    window->show();
  }

  // top/a.mld (kirakira), top/sub/b.mld (kaeru), top/sub/deep/c.mld (kirakira), top/broken.mld
  // (no MLD at all), top/readme.txt.
  fs::path makeTree() {
    const fs::path top = root / "top";
    fs::create_directories(top / "sub" / "deep");
    fs::copy_file(samples / "kirakira.mld", top / "a.mld");
    fs::copy_file(samples / "kaeru.mld", top / "sub" / "b.mld");
    fs::copy_file(samples / "kirakira.mld", top / "sub" / "deep" / "c.mld");
    writeBytes(top / "broken.mld", bytesOf("not a melody"));
    writeBytes(top / "readme.txt", bytesOf("text"));
    return top;
  }

  void makeListOf(const fs::path& folder) {
    platform.folderAnswers.push_back(QString::fromStdString(folder.string()));
    window->cmdMakeList_Click();
  }

  template <typename T = QAbstractButton>
  T* control(const char* name) {
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QTableView* grid() { return control<QTableView>("mfgMLDList"); }
  QString cell(int row, int column) { return grid()->model()->index(row, column).data().toString(); }

  ObservingPlatform platform;
  QTemporaryDir temp;
  fs::path root;
  fs::path samples;
  std::unique_ptr<frmMLDList> window;
};

}  // namespace tonekit::ui::testing
