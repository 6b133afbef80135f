// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// A failure as the user sees it in the error report: number, source, description.

#include <exception>
#include <string>

namespace tonekit {

inline constexpr const char* kAppName = "TONEKIT";

// The classic numbers of this kind of program; callers and the error file rely on them.
namespace err {
inline constexpr long InvalidCall = 5;
inline constexpr long Overflow = 6;
inline constexpr long OutOfMemory = 7;
inline constexpr long IndexOutOfRange = 9;
inline constexpr long TypeMismatch = 13;
inline constexpr long Internal = 51;
inline constexpr long FileNotFound = 53;
inline constexpr long DiskFull = 61;
inline constexpr long InputPastEnd = 62;
inline constexpr long PermissionDenied = 70;
inline constexpr long PathFileAccess = 75;
inline constexpr long PathNotFound = 76;
inline constexpr long ObjectNotSet = 91;
inline constexpr long DuplicateKey = 457;
}  // namespace err

// The platform text for a number (Japanese, as the program's users know it).
std::string standardDescription(long number);

class Failure : public std::exception {
 public:
  Failure(long number, std::string description, std::string source = kAppName);

  // The standard text for the number, with an optional detail (a path, a value) behind it.
  static Failure of(long number, const std::string& detail = {});

  long number() const noexcept { return number_; }
  const std::string& source() const noexcept { return source_; }
  const std::string& description() const noexcept { return description_; }

  // NUMBER:SOURCE:DESCRIPTION, the second line of the error report.
  std::string line() const;
  const char* what() const noexcept override { return line_.c_str(); }

 private:
  long number_;
  std::string source_;
  std::string description_;
  std::string line_;
};

// The failure a caught exception stands for: a Failure as it is, running out of memory as 7,
// any other std::exception as 51 with its text. Call inside a catch block; an exception that
// is no std::exception goes on.
Failure currentFailure();

}  // namespace tonekit
