// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include <gtest/gtest.h>

#include <cmath>

#include "Failures.h"
#include "base/Failure.h"
#include "base/UserNumber.h"

using namespace tonekit;
using tonekit::test::failureNumber;

TEST(UserNumber, ReadsSignsFractionsAndBlanks) {
  EXPECT_EQ(parseUserNumber("12"), 12.0);
  EXPECT_EQ(parseUserNumber("-32"), -32.0);
  EXPECT_EQ(parseUserNumber("+7"), 7.0);
  EXPECT_EQ(parseUserNumber("2.5"), 2.5);
  EXPECT_EQ(parseUserNumber(".5"), 0.5);
  EXPECT_EQ(parseUserNumber("3."), 3.0);
  EXPECT_EQ(parseUserNumber("-.25"), -0.25);
  EXPECT_EQ(parseUserNumber("  42\t"), 42.0);
  EXPECT_EQ(parseUserNumber("\xE3\x80\x80" "5" "\xE3\x80\x80"), 5.0);  // full-width blanks
  EXPECT_EQ(parseUserNumber("007"), 7.0);
  EXPECT_EQ(parseUserNumber("1e3"), 1000.0);
  EXPECT_EQ(parseUserNumber("9E+9"), 9e9);
  EXPECT_EQ(parseUserNumber("25e-1"), 2.5);
}

TEST(UserNumber, RejectsWhatIsNotANumber) {
  for (const char* text : {"", " ", "-", "+", ".", "-.", "abc", "1a", "a1", "1 2", "1,5", "--1", "+-1", "1e",
                           "1e+", "e5", "inf", "-inf", "nan", "0x10", "&H10", "1.2.3", "１２", "\xE3\x80\x80"})
    EXPECT_FALSE(parseUserNumber(text).has_value()) << '"' << text << '"';
}

TEST(UserNumber, HugeAndTinyNumbersAreStillNumbers) {
  EXPECT_TRUE(std::isinf(*parseUserNumber("1e999")));
  EXPECT_EQ(*parseUserNumber("-1e999"), -INFINITY);
  EXPECT_EQ(*parseUserNumber("1e-999"), 0.0);
  EXPECT_EQ(*parseUserNumber("0.000001e-400"), 0.0);
  EXPECT_THROW(wholeNumber32(*parseUserNumber("1e999")), Failure);
  EXPECT_EQ(wholeNumber32(*parseUserNumber("1e-999")), 0);
}

TEST(UserNumber, RoundsHalvesToEven) {
  EXPECT_EQ(nearestWhole(2.5), 2.0);
  EXPECT_EQ(nearestWhole(3.5), 4.0);
  EXPECT_EQ(nearestWhole(-2.5), -2.0);
  EXPECT_EQ(nearestWhole(-3.5), -4.0);
  EXPECT_EQ(nearestWhole(0.5), 0.0);
  EXPECT_EQ(nearestWhole(2.5000001), 3.0);
  EXPECT_EQ(nearestWhole(2.4999), 2.0);
  EXPECT_EQ(nearestWhole(20.5), 20.0);
  EXPECT_EQ(nearestWhole(160.0), 160.0);
}

TEST(UserNumber, RangeIncludesItsBounds) {
  EXPECT_TRUE(inUserRange(0, 0, 255));
  EXPECT_TRUE(inUserRange(255, 0, 255));
  EXPECT_TRUE(inUserRange(255.4, 0, 256));
  EXPECT_FALSE(inUserRange(255.4, 0, 255));
  EXPECT_FALSE(inUserRange(-0.1, 0, 255));
  EXPECT_TRUE(inUserRange(-32, -32, 31));
  EXPECT_FALSE(inUserRange(INFINITY, 0, 255));
}

TEST(UserNumber, WholeNumbersThatDoNotFitOverflow) {
  EXPECT_EQ(wholeNumber32(2147483647.0), 2147483647);
  EXPECT_EQ(wholeNumber32(-2147483648.0), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(wholeNumber32(2147483647.4), 2147483647);
  EXPECT_EQ(failureNumber([] { wholeNumber32(9e9); }), err::Overflow);
  EXPECT_THROW(wholeNumber32(-2147483649.0), Failure);
  EXPECT_THROW(wholeNumber32(NAN), Failure);

  EXPECT_EQ(wholeByte(255.4), 255);
  EXPECT_EQ(wholeByte(-0.5), 0);  // -0.5 goes to the even 0
  EXPECT_THROW(wholeByte(255.5), Failure);
  EXPECT_THROW(wholeByte(-0.6), Failure);

  EXPECT_EQ(userByte(" 200 "), 200);
  EXPECT_EQ(failureNumber([] { userByte("x"); }), 13);
  EXPECT_THROW(userByte("256"), Failure);
}
