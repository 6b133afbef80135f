#include "file_list/ListFile.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "core/CodePage.h"
#include "core/SafeFile.h"
#include "file_list/ListTexts.h"
#include "file_list/clsOutputBuffer.h"
#include "file_list/clsStringUtil.h"

namespace tonekit {

namespace {

bool startsWithBom(std::string_view bytes) {
  return bytes.size() >= 3 && std::equal(std::begin(kUtf8Bom), std::end(kUtf8Bom), bytes.begin(),
                                         [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
}

// One line: the path and the title, each quoted, a comma between, CR LF after. A UTF-8 list
// holds both as text; a code page list holds the path encoded and the title as the file's bytes.
void appendLine(clsOutputBuffer& out, const clsMLDListItem& item, ListEncoding encoding) {
  if (encoding == ListEncoding::Utf8) {
    const std::string line = "\"" + item.MLDPath + "\",\"" + decodeCp932(item.MLDTitle) + "\"\r\n";
    out.AddBytes(ByteString(line.begin(), line.end()));
    return;
  }
  out.AddBuffer("\"" + item.MLDPath + "\",\"");
  out.AddBytes(item.MLDTitle);
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
  if (!std::filesystem::is_regular_file(file, ec) || std::filesystem::file_size(file, ec) == 0 || ec)
    return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  char head[3] = {};
  in.read(head, sizeof head);
  return startsWithBom(std::string_view(head, static_cast<std::size_t>(in.gcount()))) ? ListEncoding::Utf8
                                                                                       : ListEncoding::Cp932;
}

// One non-empty line into a row; false when it holds no comma.
bool parseLine(std::string_view line, ListEncoding encoding, clsMLDListItem& row) {
  if (line.find(',') == std::string_view::npos) return false;
  std::vector<std::string> pieces;
  for (std::size_t start = 0;;) {
    const std::size_t comma = line.find(',', start);
    pieces.emplace_back(line.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  // A title may hold commas: it is every piece after the first joined again.
  std::string path = pieces.front();
  std::string title;
  const clsStringUtil util;
  util.ArrayToString(pieces, 1, title, ",");
  util.CutSideDQuart(path);
  util.CutSideDQuart(title);
  if (encoding == ListEncoding::Utf8) {
    row.MLDPath = std::move(path);
    row.MLDTitle = encodeCp932(title).bytes;
    return true;
  }
  // The path becomes text; the title keeps the file's own bytes (a quote or comma byte is never
  // the second byte of a double-byte character, so cutting on bytes cuts the same places).
  row.MLDPath = decodeCp932(std::string_view(path));
  row.MLDTitle.assign(title.begin(), title.end());
  return true;
}

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
  std::string_view text(reinterpret_cast<const char*>(content.data()), content.size());
  const ListEncoding encoding = startsWithBom(text) ? ListEncoding::Utf8 : ListEncoding::Cp932;
  if (encoding == ListEncoding::Utf8) text.remove_prefix(3);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\r', start);
    std::size_t next;
    if (end == std::string_view::npos) {
      end = text.size();
      next = end;
    } else {
      next = end + 1;
      if (next < text.size() && text[next] == '\n') ++next;
    }
    const std::string_view line = text.substr(start, end - start);
    start = next;
    if (line.empty()) continue;
    result.hadLines = true;
    clsMLDListItem row;
    if (parseLine(line, encoding, row)) result.items.push_back(std::move(row));
  }
  return result;
}

ListFileContent readListFile(const std::filesystem::path& file) { return parseListFile(readWholeFile(file)); }

}  // namespace tonekit
