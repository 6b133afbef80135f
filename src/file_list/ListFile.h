#pragma once
// CSV list files: one row a line, "PATH","TITLE" CR LF, code page 932, written by appending.
// Titles are written and read as their own bytes, so a title that is no valid code page 932
// text survives a save and a load unchanged; for a title that is, the line is the same as
// converting it to text and back would give.

#include <filesystem>

#include "core/ByteString.h"
#include "file_list/clsMLDListItem.h"

namespace tonekit {

// One written line: quote, path (code page 932), quote comma quote, title bytes, quote, CR LF.
ByteString listLineBytes(const clsMLDListItem& item);

// What one save appends to a list file: every row's line, then one more CR LF.
ByteString listFileBytes(const MLDList& items);

// Appends listFileBytes(items) to file; raises the "出力失敗" failure of clsOutputBuffer.
void appendListFile(const std::filesystem::path& file, const MLDList& items);

struct ListFileContent {
  bool hadLines = false;  // false: the file held no non-empty line (kNoListInFileMessage)
  MLDList items;          // the rows of the lines that hold a comma, in file order
};

// Reads list file bytes: lines end at CR LF or a lone CR (a lone LF stays in the line), empty
// lines are skipped, a line without a comma is ignored; the path is the part before the first
// comma, the title the rest, each losing one leading and one trailing double quote.
ListFileContent parseListFile(const ByteString& content);

// Reads and parses a whole list file; raises 53 / 75 when it cannot be read.
ListFileContent readListFile(const std::filesystem::path& file);

}  // namespace tonekit
