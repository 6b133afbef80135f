// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include <gtest/gtest.h>

#include "Failures.h"
#include "base/Failure.h"
#include "track_editor/NoteEdit.h"

using namespace tonekit;
using tonekit::test::failureNumber;
using namespace tonekit::noteedit;

namespace {

// The rejection as rejection() spells it.
std::string said(NoteField field, const std::string& message) {
  return std::to_string(static_cast<int>(field)) + " " + message;
}

std::string rejection(const NoteEntries& e, int n) {
  const auto r = checkNote(e, n);
  return r ? said(r->field, r->message) : "";
}

}  // namespace

TEST(NoteEdit, UnpacksFourByteNote) {
  const auto e = unpackNote({0x10, 0x85, 0x30, 0x7A}, 4);
  EXPECT_EQ(at(e, NoteField::DerutaTime), "16");
  EXPECT_EQ(at(e, NoteField::Chanel), "2");
  EXPECT_EQ(at(e, NoteField::Note), "5");
  EXPECT_EQ(at(e, NoteField::Duration), "48");
  EXPECT_EQ(at(e, NoteField::Velocity), "30");
  EXPECT_EQ(at(e, NoteField::OctarbShift), "2");
  EXPECT_EQ(checkNote(e, 4), std::nullopt);
  EXPECT_EQ(packNote(e, 4), (ByteString{0x10, 0x85, 0x30, 0x7A}));
}

TEST(NoteEdit, ThreeByteNotesLeaveOutVelocityAndShift) {
  const ByteString note{0xFF, 0xFE, 0xFF};
  const auto e = unpackNote(note, 3);
  EXPECT_EQ(at(e, NoteField::Chanel), "3");
  EXPECT_EQ(at(e, NoteField::Note), "62");
  EXPECT_EQ(at(e, NoteField::Velocity), "");
  EXPECT_EQ(rejection(e, 3), "");  // the empty 4-byte fields are not looked at
  EXPECT_EQ(packNote(e, 3), note);
  // Any note length but 4 is the 3-byte form.
  EXPECT_EQ(packNote(unpackNote(note, 7), 7), note);
}

TEST(NoteEdit, MissingBytesReadAsZero) {
  const auto e = unpackNote({0x05}, 4);
  EXPECT_EQ(at(e, NoteField::DerutaTime), "5");
  for (auto f : {NoteField::Chanel, NoteField::Note, NoteField::Duration, NoteField::Velocity, NoteField::OctarbShift})
    EXPECT_EQ(at(e, f), "0");
  EXPECT_EQ(packNote(e, 4), (ByteString{5, 0, 0, 0}));
}

TEST(NoteEdit, BytesBeyondTheNoteLengthAreKept) {
  const ByteString longer{1, 2, 3, 4, 5};
  auto e = unpackNote(longer, 3);
  at(e, NoteField::DerutaTime) = "9";
  EXPECT_EQ(packNote(e, 3, longer), (ByteString{9, 2, 3, 4, 5}));
  EXPECT_EQ(packNote(unpackNote(longer, 4), 4, longer), longer);
}

TEST(NoteEdit, NumericChecksComeBeforeRangeChecks) {
  auto e = unpackNote({0, 0, 0, 0}, 4);
  at(e, NoteField::Chanel) = "9";       // out of range
  at(e, NoteField::Velocity) = "abc";   // not a number, last in order
  EXPECT_EQ(rejection(e, 4), said(NoteField::Velocity, "数値を入力してください。"));
  at(e, NoteField::Velocity) = "0";
  EXPECT_EQ(rejection(e, 4), said(NoteField::Chanel, "0 ～ 3の範囲で入力してください。"));
}

TEST(NoteEdit, CheckOrderAndMessages) {
  auto e = unpackNote({0, 0, 0, 0}, 4);
  at(e, NoteField::Chanel) = "4";
  at(e, NoteField::DerutaTime) = "256";
  EXPECT_EQ(rejection(e, 4), said(NoteField::Chanel, "0 ～ 3の範囲で入力してください。"));  // channel first
  at(e, NoteField::Chanel) = "3";
  EXPECT_EQ(rejection(e, 4), said(NoteField::DerutaTime, "0 ～ 255の範囲で入力してください。"));
  at(e, NoteField::DerutaTime) = "255";
  at(e, NoteField::Duration) = "-1";
  at(e, NoteField::Note) = "63";
  EXPECT_EQ(rejection(e, 4), said(NoteField::Duration, "0 ～ 255の範囲で入力してください。"));
  at(e, NoteField::Duration) = "255";
  EXPECT_EQ(rejection(e, 4), said(NoteField::Note, "0 ～ 62の範囲で入力してください。"));
  at(e, NoteField::Note) = "62";
  at(e, NoteField::OctarbShift) = "4";
  at(e, NoteField::Velocity) = "64";
  EXPECT_EQ(rejection(e, 4), said(NoteField::OctarbShift, "0 ～ 3の範囲で入力してください。"));
  at(e, NoteField::OctarbShift) = "3";
  EXPECT_EQ(rejection(e, 4), said(NoteField::Velocity, "0 ～ 63の範囲で入力してください。"));
  at(e, NoteField::Velocity) = "63";
  EXPECT_EQ(rejection(e, 4), "");
  EXPECT_EQ(packNote(e, 4), (ByteString{255, 0xFE, 255, 0xFF}));

  at(e, NoteField::Duration) = "";
  EXPECT_EQ(rejection(e, 4), said(NoteField::Duration, "数値を入力してください。"));
  EXPECT_EQ(rejection(e, 3), said(NoteField::Duration, "数値を入力してください。"));
}

TEST(NoteEdit, FractionsAreMadeWholeBeforeTheRangeCheck) {
  auto e = unpackNote({0, 0, 0}, 3);
  at(e, NoteField::DerutaTime) = "2.5";
  at(e, NoteField::Duration) = "3.5";
  at(e, NoteField::Note) = "62.4";
  EXPECT_EQ(rejection(e, 3), "");
  EXPECT_EQ(packNote(e, 3), (ByteString{2, 62, 4}));
  at(e, NoteField::DerutaTime) = "255.5";  // 256 after rounding
  EXPECT_EQ(rejection(e, 3), said(NoteField::DerutaTime, "0 ～ 255の範囲で入力してください。"));
  at(e, NoteField::DerutaTime) = "-0.5";  // 0 after rounding
  EXPECT_EQ(rejection(e, 3), "");
}

TEST(NoteEdit, NumbersBeyond32BitsAreFailures) {
  auto e = unpackNote({0, 0, 0}, 3);
  at(e, NoteField::DerutaTime) = "9e9";
  EXPECT_EQ(failureNumber([&] { checkNote(e, 3); }), err::Overflow);
}
