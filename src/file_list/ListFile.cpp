// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/ListFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/CodePage.h"
#include "core/SafeFile.h"
#include "file_list/ListTexts.h"
#include "file_list/clsOutputBuffer.h"

namespace tonekit {

namespace {

bool startsWithBom(std::string_view bytes) {
  return bytes.size() >= 3 && std::equal(std::begin(kUtf8Bom), std::end(kUtf8Bom), bytes.begin(),
                                         [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
}

// A list without the mark is still UTF-8 when its lines end in LF alone, every byte of it is
// UTF-8 and some are not ASCII: LibreOffice Calc saves "CSV UTF-8" so, and reading such a list as
// code page 932 would write its titles as garbage. Lines ending in CR LF (this program's own code
// page 932 lists, and Windows programs, which mark their UTF-8) stay code page 932: half-width
// katakana and some kanji pairs can happen to be valid UTF-8.
ListEncoding encodingOf(std::string_view bytes) {
  if (startsWithBom(bytes)) return ListEncoding::Utf8;
  if (bytes.find('\r') != std::string_view::npos) return ListEncoding::Cp932;
  const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<std::uint8_t>(c) < 0x80; });
  return !ascii && isValidUtf8(bytes) ? ListEncoding::Utf8 : ListEncoding::Cp932;
}

// One line: the path and the title, each quoted, a comma between, CR LF after. A UTF-8 list
// holds both as text; a code page list holds the path encoded and the title as the file's bytes.
void appendLine(clsOutputBuffer& out, const clsMLDListItem& item, ListEncoding encoding) {
  // A quote in a field is doubled, so that spreadsheets and this reader take it back as one.
  auto quoted = [](std::string_view field) {
    std::string q;
    for (const char c : field) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q;
  };
  const std::string title(item.MLDTitle.begin(), item.MLDTitle.end());
  if (encoding == ListEncoding::Utf8) {
    const std::string line = "\"" + quoted(item.MLDPath) + "\",\"" + quoted(decodeCp932(item.MLDTitle)) + "\"\r\n";
    out.AddBytes(ByteString(line.begin(), line.end()));
    return;
  }
  out.AddBuffer("\"" + quoted(item.MLDPath) + "\",\"");
  const std::string bytes = quoted(title);
  out.AddBytes(ByteString(bytes.begin(), bytes.end()));
  out.AddBuffer("\"\r\n");
}

// Adds the lines of the rows that can be written, the others' positions to leftOut.
void addLines(clsOutputBuffer& out, const MLDList& items, ListEncoding encoding, std::vector<std::size_t>* leftOut) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (listRowProblem(items[i], encoding) != ListRowProblem::None) {
      if (leftOut) leftOut->push_back(i);
      continue;
    }
    appendLine(out, items[i], encoding);
  }
}

// The encoding of a list file that holds something already; nothing for a new or empty file.
std::optional<ListEncoding> existingEncoding(const std::filesystem::path& file) {
  std::error_code ec;
  // Only a plain file is looked into: opening a FIFO to read would wait for a writer.
  if (!std::filesystem::is_regular_file(file, ec) || ec) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec || size == 0) return std::nullopt;
  // No more than a list the program could read back: a huge or sparse file is not loaded whole.
  std::string bytes(static_cast<std::size_t>(std::min<std::uintmax_t>(size, kLargestReadableFile)), '\0');
  std::ifstream in(file, std::ios::binary);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return encodingOf(bytes);
}

// The fields of one record as a spreadsheet writes CSV: a quoted field may hold commas, line
// breaks and "" for a quote; records end at CR LF, LF or a lone CR. A quote inside a quoted field
// that is not followed by a quote, a comma or a line end is taken as it stands, so the lines
// earlier versions wrote around a title with a quote still read back.
struct CsvReader {
  std::string_view text;
  std::size_t at = 0;
  std::size_t line = 1;

  bool lineEnd(std::size_t i) const { return i >= text.size() || text[i] == '\r' || text[i] == '\n'; }
  void skipLineEnd() {
    if (at < text.size() && text[at] == '\r') ++at;
    if (at < text.size() && text[at] == '\n') ++at;
    ++line;
  }
  void countBreaks(std::string_view field) {
    for (std::size_t i = 0; i < field.size(); ++i)
      if (field[i] == '\n' || (field[i] == '\r' && (i + 1 == field.size() || field[i + 1] != '\n'))) ++line;
  }

  std::string field() {
    std::string out;
    if (at >= text.size() || text[at] != '"') {
      while (at < text.size() && text[at] != ',' && !lineEnd(at)) out += text[at++];
      return out;
    }
    ++at;
    while (at < text.size()) {
      const char c = text[at++];
      if (c != '"') {
        out += c;
        continue;
      }
      if (at < text.size() && text[at] == '"') {
        out += '"';
        ++at;
      } else if (at >= text.size() || text[at] == ',' || lineEnd(at)) {
        break;
      } else {
        out += '"';
      }
    }
    countBreaks(out);
    return out;
  }

  // The next record's fields; empty for an empty line.
  std::vector<std::string> record() {
    std::vector<std::string> fields;
    if (lineEnd(at)) {
      skipLineEnd();
      return fields;
    }
    for (;;) {
      fields.push_back(field());
      if (at < text.size() && text[at] == ',') {
        ++at;
        continue;
      }
      skipLineEnd();
      return fields;
    }
  }
};

}  // namespace

ListRowProblem listRowProblem(const clsMLDListItem& item, ListEncoding encoding) {
  const std::string& path = item.MLDPath;
  if (path.find_first_of("\r\n") != std::string::npos) return ListRowProblem::PathLineBreak;
  if (path.find(',') != std::string::npos) return ListRowProblem::PathComma;
  if (!isValidUtf8(path)) return ListRowProblem::PathNotUtf8;
  if (std::find(item.MLDTitle.begin(), item.MLDTitle.end(), '\r') != item.MLDTitle.end())
    return ListRowProblem::TitleLineBreak;
  if (encoding == ListEncoding::Cp932) {
    if (!encodeCp932Reversibly(path)) return ListRowProblem::PathNotCp932;
  } else if (!encodeCp932(decodeCp932(item.MLDTitle)).exact) {
    return ListRowProblem::TitleNotText;
  }
  return ListRowProblem::None;
}

std::string leftOutText(const clsMLDListItem& item, ListRowProblem problem) {
  const char* reason = "";
  switch (problem) {
    case ListRowProblem::PathLineBreak: reason = kLeftOutLineBreakReason; break;
    case ListRowProblem::PathComma: reason = kLeftOutCommaReason; break;
    case ListRowProblem::PathNotUtf8: reason = kLeftOutNotUtf8Reason; break;
    case ListRowProblem::PathNotCp932: reason = kLeftOutNotCp932Reason; break;
    case ListRowProblem::TitleLineBreak: reason = kLeftOutTitleLineBreakReason; break;
    case ListRowProblem::TitleNotText: reason = kLeftOutTitleReason; break;
    case ListRowProblem::None: break;
  }
  // The name stays on one line; bytes that are no text are the reader's to show.
  std::string shown;
  for (const char c : item.MLDPath) {
    if (c == '\r')
      shown += "\\r";
    else if (c == '\n')
      shown += "\\n";
    else
      shown += c;
  }
  return std::string(reason) + shown;
}

std::string leftOutMessage(const MLDList& items, const std::vector<std::size_t>& leftOut, ListEncoding encoding) {
  std::string message = kLeftOutHead;
  const std::size_t shown = std::min(leftOut.size(), kLeftOutShownRows);
  for (std::size_t k = 0; k < shown; ++k) {
    const clsMLDListItem& item = items.at(leftOut[k]);
    message += "\r\n" + leftOutText(item, listRowProblem(item, encoding));
  }
  if (leftOut.size() > shown)
    message += "\r\n" + std::string(kLeftOutMoreHead) + std::to_string(leftOut.size() - shown) + kLeftOutMoreTail;
  return message;
}

ByteString listLineBytes(const clsMLDListItem& item, ListEncoding encoding) {
  clsOutputBuffer out;
  appendLine(out, item, encoding);
  return out.bytes();
}

ByteString listFileBytes(const MLDList& items, ListEncoding encoding, std::vector<std::size_t>* leftOut) {
  clsOutputBuffer out;
  if (encoding == ListEncoding::Utf8) out.AddBytes(ByteString(std::begin(kUtf8Bom), std::end(kUtf8Bom)));
  addLines(out, items, encoding, leftOut);
  out.AddBuffer("\r\n");
  return out.bytes();
}

ListFileSave appendListFile(const std::filesystem::path& file, const MLDList& items, ListEncoding encoding) {
  ListFileSave save;
  const std::optional<ListEncoding> existing = existingEncoding(file);
  save.encoding = existing.value_or(encoding);
  clsOutputBuffer buffer;
  if (!existing && save.encoding == ListEncoding::Utf8)
    buffer.AddBytes(ByteString(std::begin(kUtf8Bom), std::end(kUtf8Bom)));
  addLines(buffer, items, save.encoding, &save.leftOut);
  buffer.FileOutput(file);
  return save;
}

ListFileContent parseListFile(const ByteString& content) {
  ListFileContent result;
  CsvReader csv{std::string_view(reinterpret_cast<const char*>(content.data()), content.size())};
  const ListEncoding encoding = encodingOf(csv.text);
  if (startsWithBom(csv.text)) csv.text.remove_prefix(3);
  while (csv.at < csv.text.size()) {
    const std::size_t line = csv.line;
    std::vector<std::string> fields = csv.record();
    if (fields.empty()) continue;
    result.hadLines = true;
    if (fields.size() != 2) {
      result.badLines.push_back({line, std::string(kBadLineFieldsHead) + std::to_string(fields.size()) + kBadLineFieldsTail});
      continue;
    }
    clsMLDListItem row;
    if (encoding == ListEncoding::Utf8) {
      const std::u32string lost = unencodableCp932(fields[1]);
      if (!lost.empty()) result.lossyTitles.push_back({result.items.size(), line, fields[1], lost});
      row.MLDPath = std::move(fields[0]);
      row.MLDTitle = encodeCp932(fields[1]).bytes;
    } else {
      // The path becomes text; the title keeps the file's own bytes (a quote, comma or line
      // break byte is never the second byte of a double-byte character).
      row.MLDPath = decodeCp932(std::string_view(fields[0]));
      row.MLDTitle.assign(fields[1].begin(), fields[1].end());
    }
    result.items.push_back(std::move(row));
  }
  return result;
}

std::string badLineText(const std::filesystem::path& file, const BadListLine& bad) {
  return file.string() + ":" + std::to_string(bad.line) + ": " + bad.reason;
}

std::string lossyTitleText(const LossyListTitle& lossy) {
  return std::to_string(lossy.line) + "行目: " + kLossyTitleReason + utf8Of(lossy.lost);
}

MLDList dropRows(MLDList items, const std::vector<LossyListTitle>& lossy) {
  for (auto it = lossy.rbegin(); it != lossy.rend(); ++it) items.erase(items.begin() + static_cast<std::ptrdiff_t>(it->row));
  return items;
}

ListFileContent readListFile(const std::filesystem::path& file) { return parseListFile(readWholeFile(file)); }

}  // namespace tonekit
