#pragma once
// The list window's own texts, exact: the window shows them and the CLI prints them, so both
// take them from here.

namespace tonekit {

// Make list: the search found nothing.
inline constexpr const char* kNoMldFilesMessage = "mldファイルがありません。";

// Save, row edit and batch update on an empty list.
inline constexpr const char* kNoListMessage = "リストがありません。";

// Load list: the file held no non-empty line.
inline constexpr const char* kNoListInFileMessage = "ファイルからリスト情報を読み込めませんでした。";

// The pattern the list window searches with.
inline constexpr const char* kMldPattern = "*.mld";

// Where the batch update puts the rows it could not apply.
inline constexpr const char* kErrorFileName = "ExecuteError.csv";

// The confirmation before a batch update, its two lines (kUpdateConfirmMessage joins them).
inline constexpr const char* kUpdateConfirmFirstLine = "現在のリストに表示されているファイルに対して項目の更新を行います。";
inline constexpr const char* kUpdateConfirmSecondLine = "よろしいですか？";

// Followed by the error file's full path and kErrorFileMessageTail.
inline constexpr const char* kErrorFileMessageHead = "エラーがありました。エラー項目を、";
inline constexpr const char* kErrorFileMessageTail = "へ出力しました。";

// Shown after every completed update, after the error message too.
inline constexpr const char* kUpdateDoneMessage = "リスト項目からファイルへの更新が完了しました。";

// The failure of writing a list or error file.
inline constexpr const char* kOutputFailedDescription = "出力失敗";
inline constexpr const char* kOutputFailedSource = "OutputBuffer.FileOutput";

// The confirmation before a batch update: the two lines joined by CR LF.
inline constexpr const char* kUpdateConfirmMessage =
    "現在のリストに表示されているファイルに対して項目の更新を行います。\r\nよろしいですか？";

// The number of the output failure as the error report shows it (0x80040002).
inline constexpr long kOutputFailedNumber = -2147221502L;

}  // namespace tonekit
