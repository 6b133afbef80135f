// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The list window's own texts, exact: the window shows them and the CLI prints them, so both
// take them from here.

#include <cstddef>
#include <string>
#include "base/Translate.h"

namespace tonekit {

// Make list: the search found nothing.
inline constexpr Text kNoMldFilesMessage = TKN("TONEKIT", "mldファイルがありません。");

// Make list: matching files the list cannot hold because their path is too long to be opened.
inline std::string unusablePathsMessage(std::size_t count) {
  return TKT("TONEKIT", "パスが長すぎて開けないため、リストに入れられないファイルが ") + std::to_string(count) + TKT("TONEKIT", " 個あります。");
}

// Save, row edit and batch update on an empty list.
inline constexpr Text kNoListMessage = TKN("TONEKIT", "リストがありません。");

// Load list: the file held no non-empty line.
inline constexpr Text kNoListInFileMessage = TKN("TONEKIT", "ファイルからリスト情報を読み込めませんでした。");

// The pattern the list window searches with.
inline constexpr const char* kMldPattern = "*.mld";

// Where the batch update puts the rows it could not apply.
inline constexpr const char* kErrorFileName = "ExecuteError.csv";

// The confirmation before a batch update, its two lines (kUpdateConfirmMessage joins them).
inline constexpr Text kUpdateConfirmFirstLine = TKN("TONEKIT", "現在のリストに表示されているファイルに対して項目の更新を行います。");
inline constexpr Text kUpdateConfirmSecondLine = TKN("TONEKIT", "よろしいですか？");

// Followed by the error file's full path and kErrorFileMessageTail.
inline constexpr Text kErrorFileMessageHead = TKN("TONEKIT", "エラーがありました。エラー項目を、");
inline constexpr Text kErrorFileMessageTail = TKN("TONEKIT", "へ出力しました。");

// Shown after every completed update, after the error message too.
inline constexpr Text kUpdateDoneMessage = TKN("TONEKIT", "リスト項目からファイルへの更新が完了しました。");

// The failure of writing a list or error file.
inline constexpr Text kOutputFailedDescription = TKN("TONEKIT", "出力失敗");
inline constexpr const char* kOutputFailedSource = "OutputBuffer.FileOutput";

// The confirmation before a batch update: the two lines joined by CR LF.
inline constexpr Text kUpdateConfirmMessage =
    TKN("TONEKIT", "現在のリストに表示されているファイルに対して項目の更新を行います。\r\nよろしいですか？");

// A row left out of a list file: the reason, then the row's path.
inline constexpr Text kLeftOutLineBreakReason = TKN("TONEKIT", "パスに改行があるため、リストファイルに入れませんでした: ");
inline constexpr Text kLeftOutCommaReason = TKN("TONEKIT", "パスにカンマがあるため、リストファイルに入れませんでした: ");
inline constexpr Text kLeftOutNotUtf8Reason =
    TKN("TONEKIT", "パスがUTF-8の文字になっていないため、リストファイルに入れませんでした: ");
inline constexpr Text kLeftOutNotCp932Reason =
    TKN("TONEKIT", "パスにシフトJIS（コードページ932）で書けない文字があるため、リストファイルに入れませんでした（UTF-8のリストには入ります）: ");
inline constexpr Text kLeftOutTitleLineBreakReason =
    TKN("TONEKIT", "タイトルに改行があるため、リストファイルに入れませんでした: ");
inline constexpr Text kLeftOutTitleReason =
    TKN("TONEKIT", "タイトルが文字にならないバイトを含むため、UTF-8のリストファイルに入れませんでした（シフトJISのリストには入ります）: ");
// The list window's one message for the rows a save left out, above their lines; past
// kLeftOutShownRows rows the rest are counted (kLeftOutMoreHead + n + kLeftOutMoreTail).
inline constexpr Text kLeftOutHead =
    TKN("TONEKIT", "次の行はリストファイルに入れませんでした。一覧の行はそのまま残り、この画面から反映できます。");
inline constexpr std::size_t kLeftOutShownRows = 20;
inline constexpr Text kLeftOutMoreHead = TKN("TONEKIT", "ほか");
inline constexpr Text kLeftOutMoreTail = TKN("TONEKIT", "行");

// The second filter of the list save dialog: the lossless UTF-8 list.
inline constexpr Text kUtf8ListFileFilter = TKN("TONEKIT", "CSV UTF-8(カンマ区切り)(*.csv)|*.csv");

// The number of the output failure as the error report shows it (0x80040002).
inline constexpr long kOutputFailedNumber = -2147221502L;

// A list line that gives no row, and a UTF-8 title that would lose characters.
inline constexpr Text kBadLineFieldsHead = TKN("TONEKIT", "パスとタイトルの2項目ではありません (項目数 ");
inline constexpr Text kBadLineFieldsTail = TKN("TONEKIT", ")。この行は反映しません");
inline constexpr Text kBadLineQuotesReason = TKN("TONEKIT", "引用符の対応がとれていません。この行は反映しません");
inline constexpr Text kBadLineBreakReason = TKN("TONEKIT", "項目の中に改行があります。この行は反映しません");
// A line that reads two ways: as spreadsheets write CSV and as earlier versions wrote lists.
inline constexpr Text kAmbiguousQuotesHead = TKN("TONEKIT", "二通りに読めるため反映しません。CSVとして: ");
inline constexpr Text kAmbiguousQuotesMiddle = TKN("TONEKIT", "、以前の版の書き方として: ");
inline constexpr Text kAmbiguousQuotesQuestion =
    TKN("TONEKIT", "このリストには、以前の版が書いた行としても読める行があり、読み方で内容が変わります。\r\n"
    "以前の版が書いたリストとして読みますか？（「いいえ」: CSVとして読みます）");
// A list whose bytes read as text both in UTF-8 and in code page 932.
inline constexpr Text kAmbiguousEncodingMessage =
    TKN("TONEKIT", "リストファイルの文字コードが UTF-8 かシフトJIS（コードページ932）か決められません。");
inline constexpr Text kAmbiguousEncodingQuestion =
    TKN("TONEKIT", "リストファイルの文字コードが UTF-8 かシフトJIS（コードページ932）か決められません。\r\n"
    "UTF-8 として読みますか？（「いいえ」: シフトJISとして読みます）");
inline constexpr Text kBadLinesHead = TKN("TONEKIT", "次の行はリストに入れませんでした:");
inline constexpr Text kLossyTitleReason = TKN("TONEKIT", "タイトルにコードページ932で表せない文字があるため、反映しません: ");

}  // namespace tonekit
