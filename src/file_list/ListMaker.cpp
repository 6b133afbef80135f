#include "file_list/ListMaker.h"

#include <exception>

#include "core/clsMLD.h"
#include "file_list/ListTexts.h"
#include "file_list/clsFileList.h"

namespace tonekit {

clsMLDListItem readListItem(const std::string& path, MessageSink* messages) {
  clsMLDListItem row;
  row.MLDPath = path;
  try {
    clsMLD doc;
    doc.MLDFile = path;
    // A read that stops early leaves the document without a title, so the row's stays empty.
    doc.ParseMLD(messages);
    row.MLDPath = doc.MLDFile;
    row.MLDTitle = doc.MLDTitl;
  } catch (const Failure&) {
    // An unreadable file is still listed, with an empty title.
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception&) {
  }
  return row;
}

MLDList makeListItems(const std::vector<std::string>& paths, MessageSink* messages,
                      const std::function<void(std::size_t, const clsMLDListItem&)>& progress) {
  MLDList rows;
  rows.reserve(paths.size());
  for (const auto& path : paths) {
    rows.push_back(readListItem(path, messages));
    if (progress) progress(rows.size() - 1, rows.back());
  }
  return rows;
}

MLDList makeMLDList(const std::string& folder, MessageSink* messages) {
  return makeListItems(clsFileList().GetFileList(folder, kMldPattern), messages);
}

}  // namespace tonekit
