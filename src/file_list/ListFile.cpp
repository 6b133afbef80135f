// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/ListFile.h"

#include <algorithm>
#include <iterator>

#include "base/CodePage.h"
#include "base/SafeFile.h"
#include "file_list/ListTexts.h"
#include "file_list/clsOutputBuffer.h"
#include "base/Translate.h"

namespace tonekit {

namespace {

bool startsWithBom(std::string_view bytes) {
  return bytes.size() >= 3 && std::equal(std::begin(kUtf8Bom), std::end(kUtf8Bom), bytes.begin(),
                                         [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
}

bool isValidCp932(std::string_view bytes) { return decodeCp932(bytes).find("\uFFFD") == std::string::npos; }

// The encoding as the bytes tell it, whatever the line ends: the mark decides; else text that is
// UTF-8 and no code page 932 is UTF-8, the other way round code page 932. Both ways (there are
// such bytes: half-width katakana pairs like ﾐｸ are also UTF-8) leaves it open; so do bytes
// neither way, which are read as code page 932, whose titles keep their bytes.
std::optional<ListEncoding> encodingOf(std::string_view bytes) {
  if (startsWithBom(bytes)) return ListEncoding::Utf8;
  const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<std::uint8_t>(c) < 0x80; });
  if (ascii) return ListEncoding::Cp932;
  const bool utf8 = isValidUtf8(bytes), cp932 = isValidCp932(bytes);
  if (utf8 && cp932) return std::nullopt;
  return utf8 ? ListEncoding::Utf8 : ListEncoding::Cp932;
}

// One line: the path and the title, each quoted, a comma between, CR LF after. A UTF-8 list
// holds both as text; a code page list holds the path encoded and the title as the file's bytes.
void appendLine(clsOutputBuffer& out, const clsMLDListItem& item, ListEncoding encoding, std::string_view end = "\r\n") {
  // A quote in a field is doubled, so that spreadsheets and this reader take it back as one.
  auto quoted = [](std::string_view field) {
    std::string q;
    for (const char c : field) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q;
  };
  const std::string title(item.MLDTitle.begin(), item.MLDTitle.end());
  if (encoding == ListEncoding::Utf8) {
    const std::string line = "\"" + quoted(item.MLDPath) + "\",\"" + quoted(decodeCp932(item.MLDTitle)) + "\"" + std::string(end);
    out.AddBytes(ByteString(line.begin(), line.end()));
    return;
  }
  out.AddBuffer("\"" + quoted(item.MLDPath) + "\",\"");
  const std::string bytes = quoted(title);
  out.AddBytes(ByteString(bytes.begin(), bytes.end()));
  out.AddBuffer("\"" + std::string(end));
}

// Adds the lines of the rows that can be written, the others' positions to leftOut.
void addLines(clsOutputBuffer& out, const MLDList& items, ListEncoding encoding, std::vector<std::size_t>* leftOut,
              std::string_view end = "\r\n") {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (listRowProblem(items[i], encoding) != ListRowProblem::None) {
      if (leftOut) leftOut->push_back(i);
      continue;
    }
    appendLine(out, items[i], encoding, end);
  }
}

// What a list file that holds something already is written in; nothing for a new or empty file.
struct ExistingList {
  std::optional<ListEncoding> encoding;  // unset: its bytes read both ways
  std::string lineEnd = "\r\n";
  bool endsInLineEnd = true;
};

std::optional<ExistingList> existingList(const std::filesystem::path& file) {
  // No more than a list the program could read back: a huge or sparse file is not loaded whole.
  std::string bytes;
  try {
    const std::optional<ByteString> start = readFileStart(file, kLargestReadableFile);
    if (!start || start->empty()) return std::nullopt;
    bytes.assign(start->begin(), start->end());
  } catch (const Failure&) {
    // A list that cannot be looked into (no permission, a link the rule refuses) counts as one of
    // unknown bytes; the append that follows says why it cannot write there, if it cannot.
  }
  ExistingList list;
  list.encoding = encodingOf(bytes);
  if (const std::size_t end = bytes.find_first_of("\r\n"); end != std::string::npos)
    list.lineEnd = bytes[end] == '\n' ? "\n" : end + 1 < bytes.size() && bytes[end + 1] == '\n' ? "\r\n" : "\r";
  list.endsInLineEnd = bytes.empty() || bytes.back() == '\r' || bytes.back() == '\n';
  return list;
}

// A list read record by record. A record is tried as CSV the way spreadsheets write it (RFC 4180:
// quoted fields with "" for a quote) and, where its line has the form earlier versions wrote
// ("PATH","TITLE" with quotes inside left bare), as they read it.
struct ListScanner {
  std::string_view text;
  std::size_t at = 0;
  std::size_t line = 1;

  struct Reading {
    std::string path, title;
    bool operator==(const Reading&) const = default;
  };
  enum class Kind { Empty, Row, OldOnly, Ambiguous, Bad };
  struct Record {
    Kind kind = Kind::Empty;
    std::size_t line = 0;
    Reading csv, old;
    std::string reason;
    std::string_view raw;
  };

  bool lineEnd(std::size_t i) const { return i >= text.size() || text[i] == '\r' || text[i] == '\n'; }
  std::size_t afterLineEnd(std::size_t i) const {
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
    return i;
  }
  std::size_t lineBreaks(std::string_view span) const {
    std::size_t n = 0;
    for (std::size_t i = 0; i < span.size(); ++i)
      if (span[i] == '\n' || (span[i] == '\r' && (i + 1 == span.size() || span[i + 1] != '\n'))) ++n;
    return n;
  }

  // A strict CSV record from at: its fields, where its line end begins, and whether it is well
  // formed and free of line breaks inside fields.
  struct Csv {
    std::vector<std::string> fields;
    std::size_t end = 0;
    bool wellFormed = true;
    bool lineBreakInField = false;
  };
  Csv csvRecord() const {
    Csv csv;
    std::size_t i = at;
    for (;;) {
      std::string field;
      if (i < text.size() && text[i] == '"') {
        ++i;
        for (;;) {
          if (i >= text.size()) return csv.wellFormed = false, csv;
          const char c = text[i++];
          if (c != '"') {
            if (c == '\r' || c == '\n') csv.lineBreakInField = true;
            field += c;
          } else if (i < text.size() && text[i] == '"') {
            field += '"';
            ++i;
          } else if (i >= text.size() || text[i] == ',' || lineEnd(i)) {
            break;
          } else {
            return csv.wellFormed = false, csv;
          }
        }
      } else {
        while (i < text.size() && text[i] != ',' && !lineEnd(i)) field += text[i++];
      }
      csv.fields.push_back(std::move(field));
      if (i < text.size() && text[i] == ',') {
        ++i;
        continue;
      }
      csv.end = i;
      return csv;
    }
  }

  // The line earlier versions wrote: quote, path, quote comma quote, title, quote.
  static std::optional<Reading> oldReading(std::string_view l) {
    if (l.size() < 4 || l.front() != '"' || l.back() != '"') return std::nullopt;
    const std::size_t k = l.find("\",\"", 1);
    if (k == std::string_view::npos || k + 3 > l.size() - 1) return std::nullopt;
    return Reading{std::string(l.substr(1, k - 1)), std::string(l.substr(k + 3, l.size() - 1 - (k + 3)))};
  }

  Record next() {
    Record r;
    r.line = line;
    std::size_t lineStop = at;
    while (!lineEnd(lineStop)) ++lineStop;
    const std::string_view physical = text.substr(at, lineStop - at);
    // An emptied spreadsheet row is saved as commas alone: an empty line.
    if (physical.find_first_not_of(',') == std::string_view::npos) {
      at = afterLineEnd(lineStop);
      ++line;
      return r;
    }
    const std::optional<Reading> old = oldReading(physical);
    const Csv csv = csvRecord();
    const bool csvRow = csv.wellFormed && csv.fields.size() == 2 && !csv.lineBreakInField;
    std::size_t stop = lineStop;
    if (old && !(csvRow && csv.end == lineStop)) {
      r.kind = Kind::OldOnly;
      r.old = *old;
    } else if (!csv.wellFormed) {
      r.kind = Kind::Bad;
      r.reason = kBadLineQuotesReason;
    } else {
      stop = csv.end;
      if (csv.fields.size() != 2) {
        r.kind = Kind::Bad;
        r.reason = std::string(kBadLineFieldsHead) + std::to_string(csv.fields.size()) + kBadLineFieldsTail;
      } else if (csv.lineBreakInField) {
        r.kind = Kind::Bad;
        r.reason = kBadLineBreakReason;
      } else {
        r.csv = {csv.fields[0], csv.fields[1]};
        r.kind = old && *old != r.csv ? Kind::Ambiguous : Kind::Row;
        if (old) r.old = *old;
      }
    }
    r.raw = text.substr(at, stop - at);
    line += lineBreaks(r.raw) + 1;
    at = afterLineEnd(stop);
    return r;
  }
};

}  // namespace

ListRowProblem listRowProblem(const clsMLDListItem& item, ListEncoding encoding) {
  const std::string& path = item.MLDPath;
  if (path.find_first_of("\r\n") != std::string::npos) return ListRowProblem::PathLineBreak;
  if (path.find(',') != std::string::npos) return ListRowProblem::PathComma;
  if (!isValidUtf8(path)) return ListRowProblem::PathNotUtf8;
  if (std::find_if(item.MLDTitle.begin(), item.MLDTitle.end(), [](std::uint8_t c) { return c == '\r' || c == '\n'; }) !=
      item.MLDTitle.end())
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
  std::string message(kLeftOutHead);
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
  return appendListFile(file, items, encoding, {}, LinkRule::FollowOwned);
}

ErrorFileSave appendListFile(const std::filesystem::path& file, const MLDList& items, ListEncoding encoding,
                             const RawListLines& raw, LinkRule links) {
  ErrorFileSave save;
  const std::optional<ExistingList> existing = existingList(file);
  save.encoding = existing && existing->encoding ? *existing->encoding : encoding;
  const std::string end = existing ? existing->lineEnd : "\r\n";
  clsOutputBuffer buffer;
  if (!existing && save.encoding == ListEncoding::Utf8)
    buffer.AddBytes(ByteString(std::begin(kUtf8Bom), std::end(kUtf8Bom)));
  // A last line without its end would run into the first new one.
  if (existing && !existing->endsInLineEnd) buffer.AddBuffer(end);
  for (std::size_t i = 0; i < raw.lines.size(); ++i) {
    const ByteString& line = raw.lines[i];
    ByteString bytes = line;
    if (raw.encoding != save.encoding) {
      const std::string_view view(reinterpret_cast<const char*>(line.data()), line.size());
      if (save.encoding == ListEncoding::Utf8) {
        const std::string text = decodeCp932(view);
        bytes.assign(text.begin(), text.end());
      } else {
        const std::optional<ByteString> encoded = isValidUtf8(view) ? encodeCp932Reversibly(view) : std::nullopt;
        if (!encoded) {
          save.leftOutRaw.push_back(i);
          continue;
        }
        bytes = *encoded;
      }
    }
    buffer.AddBytes(bytes);
    buffer.AddBuffer(end);
  }
  addLines(buffer, items, save.encoding, &save.leftOut, end);
  buffer.FileOutput(file, links, end);
  return save;
}

ListFileContent parseListFile(const ByteString& content, const ListReadOptions& options) {
  ListFileContent result;
  ListScanner scan{std::string_view(reinterpret_cast<const char*>(content.data()), content.size())};
  const bool bom = startsWithBom(scan.text);
  if (bom) scan.text.remove_prefix(3);
  std::vector<ListScanner::Record> records;
  while (scan.at < scan.text.size()) {
    ListScanner::Record r = scan.next();
    if (r.kind != ListScanner::Kind::Empty) records.push_back(std::move(r));
  }
  result.hadLines = !records.empty();
  const std::optional<ListEncoding> judged = bom ? std::optional(ListEncoding::Utf8) : encodingOf(scan.text);
  if (!options.encoding && !judged) {
    result.encodingAmbiguous = true;
    return result;
  }
  const ListEncoding encoding = options.encoding.value_or(judged.value_or(ListEncoding::Cp932));
  result.encoding = encoding;
  // One line only the old reading can read tells the whole list was written so.
  const bool anyOldOnly = std::any_of(records.begin(), records.end(),
                                      [](const auto& r) { return r.kind == ListScanner::Kind::OldOnly; });
  const std::optional<QuoteReading> quotes = options.quotes ? options.quotes
                                             : anyOldOnly   ? std::optional(QuoteReading::Old)
                                                            : std::nullopt;
  result.readOld = quotes == QuoteReading::Old;
  const auto text = [encoding](const std::string& bytes) {
    return encoding == ListEncoding::Utf8 ? bytes : decodeCp932(std::string_view(bytes));
  };
  const auto shown = [&](const ListScanner::Reading& r) { return TKT("TONEKIT", "「") + text(r.path) + TKT("TONEKIT", "」「") + text(r.title) + TKT("TONEKIT", "」"); };
  for (const ListScanner::Record& r : records) {
    const ByteString raw(r.raw.begin(), r.raw.end());
    ListScanner::Reading reading;
    switch (r.kind) {
      case ListScanner::Kind::Empty: continue;
      case ListScanner::Kind::Bad: result.badLines.push_back({r.line, r.reason, raw}); continue;
      case ListScanner::Kind::Ambiguous:
        if (!quotes) {
          ++result.ambiguousLines;
          result.badLines.push_back({r.line, kAmbiguousQuotesHead + shown(r.csv) + kAmbiguousQuotesMiddle + shown(r.old), raw});
          continue;
        }
        reading = *quotes == QuoteReading::Old ? r.old : r.csv;
        break;
      case ListScanner::Kind::OldOnly: reading = r.old; break;
      case ListScanner::Kind::Row: reading = r.csv; break;
    }
    clsMLDListItem row;
    if (encoding == ListEncoding::Utf8) {
      const std::u32string lost = unencodableCp932(reading.title);
      if (!lost.empty()) result.lossyTitles.push_back({result.items.size(), r.line, reading.title, lost, raw});
      row.MLDPath = std::move(reading.path);
      row.MLDTitle = encodeCp932(reading.title).bytes;
    } else {
      // The path becomes text; the title keeps the file's own bytes (a quote, comma or line
      // break byte is never the second byte of a double-byte character).
      row.MLDPath = decodeCp932(std::string_view(reading.path));
      row.MLDTitle.assign(reading.title.begin(), reading.title.end());
    }
    result.items.push_back(std::move(row));
  }
  return result;
}

std::string badLineText(const std::filesystem::path& file, const BadListLine& bad) {
  return file.string() + ":" + std::to_string(bad.line) + ": " + bad.reason;
}

std::string lossyTitleText(const LossyListTitle& lossy) {
  return fillIn(TKT("TONEKIT", "%1行目: "), {std::to_string(lossy.line)}) + kLossyTitleReason + utf8Of(lossy.lost);
}

MLDList dropRows(MLDList items, const std::vector<LossyListTitle>& lossy) {
  for (auto it = lossy.rbegin(); it != lossy.rend(); ++it) items.erase(items.begin() + static_cast<std::ptrdiff_t>(it->row));
  return items;
}

ListFileContent readListFile(const std::filesystem::path& file, const ListReadOptions& options) {
  return parseListFile(readWholeFile(file), options);
}

}  // namespace tonekit
