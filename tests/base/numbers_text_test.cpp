// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Big-endian helpers, code page 932 and the error report's texts.
#include <gtest/gtest.h>

#include <functional>

#include "Failures.h"
#include "base/CodePage.h"
#include "base/clsCalcUtil.h"
#include "base/modCommon.h"

using namespace tonekit;
using tonekit::test::failureNumber;

namespace {

}  // namespace

TEST(CalcUtil, ReadsUnsignedBigEndian) {
  const auto dword = [](const ByteString& b) { std::int64_t v = 0; clsCalcUtil().CalcDWORD(b, v); return v; };
  const auto word = [](const ByteString& b) { std::int64_t v = 0; clsCalcUtil().CalcBYTE(b, v); return v; };
  EXPECT_EQ(dword({0x00, 0x00, 0x01, 0x00}), 256);
  EXPECT_EQ(dword({0xFF, 0xFF, 0xFF, 0xFF}), 4294967295LL);
  EXPECT_EQ(word({0x12, 0x34}), 4660);
  // Longer arrays: only the leading elements count.
  EXPECT_EQ(word({0x00, 0x05, 0xFF}), 5);
}

TEST(CalcUtil, ShortInputRaisesNineAndLeavesResult) {
  clsCalcUtil c;
  std::int64_t result = 77;
  EXPECT_EQ(failureNumber([&] { c.CalcDWORD({1, 2, 3}, result); }), err::IndexOutOfRange);
  EXPECT_EQ(failureNumber([&] { c.CalcBYTE({1}, result); }), err::IndexOutOfRange);
  EXPECT_EQ(result, 77);
}

TEST(CalcUtil, WritesAndRejectsWhatDoesNotFit) {
  clsCalcUtil c;
  const auto dwordBytes = [&](std::int64_t v) { ByteString b; c.CalcDWORDFromLong(v, b); return b; };
  const auto wordBytes = [&](std::int64_t v) { ByteString b; c.CalcBYTEFromLong(v, b); return b; };
  EXPECT_EQ(dwordBytes(70000), (ByteString{0x00, 0x01, 0x11, 0x70}));
  EXPECT_EQ(dwordBytes(0), (ByteString{0, 0, 0, 0}));
  EXPECT_EQ(wordBytes(65535), (ByteString{0xFF, 0xFF}));
  EXPECT_EQ(failureNumber([&] { wordBytes(65536); }), err::Overflow);
  EXPECT_EQ(failureNumber([&] { wordBytes(-1); }), err::Overflow);
  EXPECT_EQ(failureNumber([&] { dwordBytes(2147483648LL); }), err::Overflow);
  ByteString out{1, 2, 3, 4, 5};
  EXPECT_THROW(c.CalcBYTEFromLong(70000, out), Failure);
  EXPECT_EQ(out.size(), 2u);
}

TEST(CodePage, DecodesKanjiAndHalfWidthKatakana) {
  EXPECT_EQ(decodeCp932(ByteString{0x8A, 0xBF, 0x8E, 0x9A}), "漢字");
  EXPECT_EQ(decodeCp932(ByteString{0xB6, 0xB4, 0xD9}), "ｶｴﾙ");
  // The characters Shift-JIS and windows-31j disagree on: the code page's own reading.
  EXPECT_EQ(decodeCp932(ByteString{0x5C, 0x7E, 0x81, 0x60, 0x87, 0x40}), "\\~～①");
}

TEST(CodePage, BadBytesBecomeVisibleReplacements) {
  EXPECT_EQ(decodeCp932(ByteString{'A', 0x81}), "A\xEF\xBF\xBD");           // lead byte at the end
  EXPECT_EQ(decodeCp932(ByteString{0x81, 0x20, 'B'}), "\xEF\xBF\xBD B");    // bad trail byte
  EXPECT_FALSE(roundTripsCp932(ByteString{0x81, 0x20}));
  EXPECT_TRUE(roundTripsCp932(ByteString{0x82, 0xA0, 0xB1}));
}

TEST(CodePage, EncodesAndFlagsWhatItCannotRepresent) {
  const auto ok = encodeCp932("曲タイトルｱ");
  EXPECT_TRUE(ok.exact);
  EXPECT_EQ(decodeCp932(ok.bytes), "曲タイトルｱ");
  const auto lossy = encodeCp932("a😀b");
  EXPECT_FALSE(lossy.exact);
  EXPECT_EQ(lossy.bytes, (ByteString{'a', '?', 'b'}));
  const auto malformed = encodeCp932(std::string("x\xE3\x81", 3));
  EXPECT_FALSE(malformed.exact);
}

TEST(CodePage, EncodesAsWindowsDoes) {
  // The IBM code where the NEC-selected copy holds the same character; row 13 keeps its own.
  // Then the JIS characters as Unicode texts and Linux input methods spell them.
  const auto windows = encodeCp932("山﨑髙ⅰⅠ㈱№〜‖−¢£¬—");
  EXPECT_TRUE(windows.exact);
  EXPECT_EQ(toHex(windows.bytes), "8e52fab1fbfcfa408754878a87828160816181" "7c8191819281ca815c");
  // Such a text reads back as the other spelling: no good for a file name.
  EXPECT_FALSE(encodeCp932Reversibly("曲〜"));
  EXPECT_EQ(encodeCp932Reversibly("曲～"), (ByteString{0x8B, 0xC8, 0x81, 0x60}));
  EXPECT_EQ(unencodableCp932("a😀é曲😀"), U"😀é");
  EXPECT_TRUE(isValidUtf8("曲😀"));
  EXPECT_FALSE(isValidUtf8("\xC0\xAF"));      // overlong "/"
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));  // surrogate
}

TEST(ErrorReport, TextsAndLine) {
  const Failure f = Failure::of(err::IndexOutOfRange);
  const ErrorReport r = makeErrorReport(f);
  EXPECT_EQ(r.firstText, "処理できませんでした。");
  EXPECT_EQ(r.secondTitle, "エラー情報");
  EXPECT_EQ(r.secondText.rfind("できましたら、バグ退治のために以下の情報を作者に送信してあげてください。\r\n9:TONEKIT:", 0), 0u);
  EXPECT_EQ(makeErrorReport(f, true).firstText, "処理でませんでした。");
  // The line must stay one line whatever the description holds.
  EXPECT_EQ(Failure(75, "a\r\nb", "X").line(), "75:X:a  b");
}
