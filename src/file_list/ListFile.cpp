#include "file_list/ListFile.h"

#include "core/CodePage.h"
#include "core/SafeFile.h"
#include "file_list/clsOutputBuffer.h"
#include "file_list/clsStringUtil.h"

namespace tonekit {

namespace {

void append(ByteString& out, const ByteString& bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

void appendLine(ByteString& out, const clsMLDListItem& item) {
  out.push_back('"');
  append(out, encodeCp932(item.MLDPath).bytes);
  out.push_back('"');
  out.push_back(',');
  out.push_back('"');
  append(out, item.MLDTitle);
  out.push_back('"');
  out.push_back('\r');
  out.push_back('\n');
}

// One non-empty line into a row; false when it holds no comma.
bool parseLine(std::string_view line, clsMLDListItem& row) {
  const std::size_t comma = line.find(',');
  if (comma == std::string_view::npos) return false;
  // The title is every piece after the first joined again with ",", which is simply the rest.
  std::string path(line.substr(0, comma));
  std::string title(line.substr(comma + 1));
  const clsStringUtil util;
  util.CutSideDQuart(path);
  util.CutSideDQuart(title);
  // The path becomes text; the title keeps the file's own bytes (a quote or comma byte is never
  // the second byte of a double-byte character, so cutting on bytes cuts the same places).
  row.MLDPath = decodeCp932(std::string_view(path));
  row.MLDTitle.assign(title.begin(), title.end());
  return true;
}

}  // namespace

ByteString listLineBytes(const clsMLDListItem& item) {
  ByteString out;
  appendLine(out, item);
  return out;
}

ByteString listFileBytes(const MLDList& items) {
  ByteString out;
  std::size_t size = 2;
  for (const auto& item : items) size += item.MLDPath.size() + item.MLDTitle.size() + 7;
  out.reserve(size);
  for (const auto& item : items) appendLine(out, item);
  out.push_back('\r');
  out.push_back('\n');
  return out;
}

void appendListFile(const std::filesystem::path& file, const MLDList& items) {
  clsOutputBuffer buffer;
  ByteString lines;
  for (const auto& item : items) appendLine(lines, item);
  buffer.AddBytes(lines);
  buffer.FileOutput(file);
}

ListFileContent parseListFile(const ByteString& content) {
  ListFileContent result;
  const std::string_view text(reinterpret_cast<const char*>(content.data()), content.size());
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
    if (parseLine(line, row)) result.items.push_back(std::move(row));
  }
  return result;
}

ListFileContent readListFile(const std::filesystem::path& file) { return parseListFile(readWholeFile(file)); }

}  // namespace tonekit
