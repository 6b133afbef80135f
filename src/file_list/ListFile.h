// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// CSV list files: one row a line, "PATH","TITLE" CR LF, written by appending, read as CSV.
// Code page 932 lists (no mark): titles are written and read as their own bytes, so a title that
// is no valid code page 932 text survives a save and a load unchanged; for a title that is, the
// line is the same as converting it to text and back would give.
// UTF-8 lists begin with the UTF-8 byte order mark (or, as LibreOffice saves them, end their
// lines in LF alone and hold only UTF-8, some of it beyond ASCII): paths and titles are UTF-8
// text, so a path the code page cannot hold (Hangul, emoji, an accented letter) still names its
// own file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/ByteString.h"
#include "base/SafeFile.h"
#include "file_list/clsMLDListItem.h"

namespace tonekit {

enum class ListEncoding { Cp932, Utf8 };

inline constexpr std::uint8_t kUtf8Bom[] = {0xEF, 0xBB, 0xBF};

// Why a row stays out of a list file: a line that would read back as another path (or another
// title) is worse than no line.
enum class ListRowProblem {
  None,
  PathLineBreak,  // a CR or LF would end the line inside the path
  PathComma,      // the reader cuts the path at its first comma
  PathNotUtf8,    // the name's bytes are no text
  PathNotCp932,   // code page 932 lists only: the path has no exact code page 932 spelling
  TitleLineBreak, // a CR or LF in the title: the reader never takes a line end into a title
  TitleNotText,   // UTF-8 lists only: the title bytes do not decode to text
};

ListRowProblem listRowProblem(const clsMLDListItem& item, ListEncoding encoding);

// One line naming a row left out and why; the CLI prints it, the list window shows them.
std::string leftOutText(const clsMLDListItem& item, ListRowProblem problem);

// The list window's one message for the rows a save left out: kLeftOutHead, then one line a row
// (the first kLeftOutShownRows, the rest counted), joined by CR LF.
std::string leftOutMessage(const MLDList& items, const std::vector<std::size_t>& leftOut, ListEncoding encoding);

// One written line: quote, path, quote comma quote, title, quote, CR LF; a quote inside path or
// title is written twice. In a code page 932 list
// the path is converted and the title written as its bytes; in a UTF-8 list the title is
// decoded. Only for rows without a listRowProblem.
ByteString listLineBytes(const clsMLDListItem& item, ListEncoding encoding = ListEncoding::Cp932);

// What one save into a new file writes: the mark for a UTF-8 list, every row's line, then one
// more CR LF. Rows with a listRowProblem are left out; their positions go to leftOut.
ByteString listFileBytes(const MLDList& items, ListEncoding encoding = ListEncoding::Cp932,
                         std::vector<std::size_t>* leftOut = nullptr);

struct ListFileSave {
  ListEncoding encoding = ListEncoding::Cp932;  // the encoding the lines were written in
  std::vector<std::size_t> leftOut;             // positions of the rows left out
};

// Appends the list to file; raises the "出力失敗" failure of clsOutputBuffer. A file that holds
// a list already keeps its encoding whatever is asked for (a mixed file would read half
// garbled; where its bytes read both ways the asked one is taken) and its line ends (those of
// its first line; a last line without one gets one first); a new or empty file gets the asked
// encoding, with the mark for UTF-8, and CR LF.
ListFileSave appendListFile(const std::filesystem::path& file, const MLDList& items,
                            ListEncoding encoding = ListEncoding::Cp932);

// Lines of a list read in encoding, as it held them, that gave no row: the error file keeps them
// so that nothing of a list is lost. Written before the rows' lines; a raw line the file's
// encoding cannot hold exactly is left out (its position in ListFileSave::leftOutRaw).
struct RawListLines {
  std::vector<ByteString> lines;
  ListEncoding encoding = ListEncoding::Cp932;
};
struct ErrorFileSave : ListFileSave {
  std::vector<std::size_t> leftOutRaw;
};
ErrorFileSave appendListFile(const std::filesystem::path& file, const MLDList& items, ListEncoding encoding,
                             const RawListLines& raw, LinkRule links);

// A record that gives no row: not two fields, quotes that do not pair, a line break inside a
// field, or (ambiguous) a line that reads two ways with nothing to decide between them.
struct BadListLine {
  std::size_t line = 0;  // 1-based, where the record begins
  std::string reason;
  ByteString raw;        // the record's bytes as the list holds them, without its line end
};

// A row of a UTF-8 list whose title holds characters code page 932 lacks: its title in items
// has "?" for them. Nothing may be written for it unless the user agrees to that.
struct LossyListTitle {
  std::size_t row = 0;   // position in items
  std::size_t line = 0;
  std::string title;     // as the list has it (UTF-8)
  std::u32string lost;   // the characters, each once
  ByteString raw;        // the line as the list holds it
};

// How lines in the form earlier versions wrote ("PATH","TITLE" with inner quotes left bare) are
// read where they also read as CSV, differently.
enum class QuoteReading { Csv, Old };

struct ListReadOptions {
  std::optional<ListEncoding> encoding;  // unset: judged from the bytes
  std::optional<QuoteReading> quotes;    // unset: old when some line only reads that way
};

struct ListFileContent {
  bool hadLines = false;  // false: the file held no non-empty line (kNoListInFileMessage)
  // Set when the bytes are text both in UTF-8 and in code page 932 (and not all ASCII) and no
  // encoding was given: nothing else is filled in then.
  bool encodingAmbiguous = false;
  ListEncoding encoding = ListEncoding::Cp932;
  bool readOld = false;       // lines in the old form were read as earlier versions wrote them
  std::size_t ambiguousLines = 0;  // bad lines that only a QuoteReading would decide
  MLDList items;          // the rows of the two-field records, in file order
  std::vector<BadListLine> badLines;
  std::vector<LossyListTitle> lossyTitles;  // in row order
};

// Reads list file bytes as CSV the way spreadsheets write it: fields may be quoted, a quoted
// field holds commas and "" for a quote; records end at CR LF, LF or a lone CR; empty lines and
// lines of commas alone are skipped. A line in the form earlier versions wrote (it begins and
// ends with a quote and holds ",") that is no two-field record on its own is read as they read
// it: the path up to the first ",", the title up to the last quote; a list holding such a line
// is read that way throughout. A line that reads both ways, differently, is a bad line unless
// options.quotes decides. The encoding: the mark; else UTF-8 when the bytes are UTF-8 and not
// code page 932, code page 932 the other way round, ambiguous when both (ASCII alone: code page
// 932). In a UTF-8 list paths are taken as they stand and titles converted to code page 932
// (lossyTitles names those that lose characters).
ListFileContent parseListFile(const ByteString& content, const ListReadOptions& options = {});

// "FILE:LINE: reason", the message for a bad line.
std::string badLineText(const std::filesystem::path& file, const BadListLine& bad);
// "LINE行目: reason characters", the failure text for a lossy title.
std::string lossyTitleText(const LossyListTitle& lossy);
// items without the rows lossy names.
MLDList dropRows(MLDList items, const std::vector<LossyListTitle>& lossy);

// Reads and parses a whole list file; raises 53 / 75 when it cannot be read.
ListFileContent readListFile(const std::filesystem::path& file, const ListReadOptions& options = {});

}  // namespace tonekit
