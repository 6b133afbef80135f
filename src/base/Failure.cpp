// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "base/Failure.h"
#include "base/Translate.h"

#include <new>
#include <utility>

namespace tonekit {

std::string standardDescription(long number) {
  switch (number) {
    case err::InvalidCall: return TKT("TONEKIT", "プロシージャの呼び出し、または引数が不正です。");
    case err::Overflow: return TKT("TONEKIT", "オーバーフローしました。");
    case err::OutOfMemory: return TKT("TONEKIT", "メモリが不足しています。");
    case err::IndexOutOfRange: return TKT("TONEKIT", "インデックスが有効範囲にありません。");
    case err::TypeMismatch: return TKT("TONEKIT", "型が一致しません。");
    case err::ObjectNotSet: return TKT("TONEKIT", "オブジェクト変数または With ブロック変数が設定されていません。");
    case err::FileNotFound: return TKT("TONEKIT", "ファイルが見つかりません。");
    case err::DiskFull: return TKT("TONEKIT", "ディスクがいっぱいです。");
    case err::InputPastEnd: return TKT("TONEKIT", "ファイルにこれ以上データがありません。");
    case err::PermissionDenied: return TKT("TONEKIT", "書き込みできません。");
    case err::PathFileAccess: return TKT("TONEKIT", "パス名が無効です。");
    case err::PathNotFound: return TKT("TONEKIT", "パスが見つかりません。");
    case err::DuplicateKey: return TKT("TONEKIT", "このキーは既にこのコレクションの要素に割り当てられています。");
    default: return TKT("TONEKIT", "アプリケーション定義またはオブジェクト定義のエラーです。");
  }
}

static std::string oneLine(std::string text) {
  // The error line is read line by line by scripts; keep it on one line.
  for (auto& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

Failure::Failure(long number, std::string description, std::string source)
    : number_(number), source_(oneLine(std::move(source))), description_(oneLine(std::move(description))) {
  line_ = std::to_string(number_) + ":" + source_ + ":" + description_;
}

Failure Failure::of(long number, const std::string& detail) {
  std::string text = standardDescription(number);
  if (!detail.empty()) text += " " + detail;
  return Failure(number, text);
}

std::string Failure::line() const { return line_; }

Failure currentFailure() {
  try {
    throw;
  } catch (const Failure& failure) {
    return failure;
  } catch (const std::bad_alloc&) {
    return Failure::of(err::OutOfMemory);
  } catch (const std::exception& e) {
    return Failure(err::Internal, e.what());
  }
}

}  // namespace tonekit
