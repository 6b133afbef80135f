// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/ui/frmMLDList.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMouseEvent>
#include <QStringList>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QToolButton>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <thread>

#include "base/AppFolder.h"
#include "base/CodePage.h"
#include "base/MessageSink.h"
#include "base/SafeFile.h"
#include "file_list/BatchUpdate.h"
#include "file_list/ListFile.h"
#include "file_list/ListMaker.h"
#include "file_list/ListTexts.h"
#include "file_list/ui/MLDListModel.h"
#include "file_list/ui/frmListEdit.h"
#include "file_list/ui/frmWait.h"
#include "platform/Platform.h"
#include "platform/Settings.h"
#include "platform/Twips.h"
#include "base/Translate.h"

namespace tonekit::ui {

namespace {

constexpr int kGridLeft = 240, kGridTop = 1080, kGridWidth = 6615, kGridHeight = 3855;
// The row-number column: wide enough for five digits.
constexpr int kRowNumberWidth = 600;
constexpr Text kHelpText =
    TKN("TONEKIT", "選択したフォルダ以下に含まれるMLDファイルのリストです。ダブルクリックすることによりリスト内容の編集ができますが、"
    "いったんCSV形式のファイルに出力して、Excelやテキストエディタで編集後、再度読み込みを行った方が、"
    "作業効率がいいと思います。");

constexpr Text kFolderSelectTitle = TKN("TONEKIT", "MLDファイル検索フォルダ選択");
constexpr Text kSaveListDialogTitle = TKN("TONEKIT", "タイトルリスト出力ファイル選択");
constexpr Text kLoadListDialogTitle = TKN("TONEKIT", "読み込みCSVファイル選択");
constexpr Text kListFileFilter = TKN("TONEKIT", "CSV(カンマ区切り)(*.csv)|*.csv");
constexpr Text kAllFilesFilter = TKN("TONEKIT", "すべてのファイル (*)|*");
// Asked when the list file chosen exists: the lines may go behind its own (as lists always did)
// or replace them.
constexpr Text kListExistsHead = TKN("TONEKIT", "「");
constexpr Text kListExistsTail =
    TKN("TONEKIT", "」はすでにあります。\r\n追記: このリストを今の内容の後ろに書き足します。\r\n"
    "置き換え: 今の内容を消して、このリストだけにします。");
constexpr Text kUnsavedListQuestion = TKN("TONEKIT", "リストの変更は保存されていません。保存しますか？");
// A batch update cancelled by the user: what was done and what was left, by rows.
constexpr Text kUpdateCancelledMessage =
    TKN("TONEKIT", "リスト項目からファイルへの更新を中止しました。\r\n"
    "書き込んだファイル: %1\r\n"
    "書き込む必要のなかったファイル: %2\r\n"
    "失敗した行: %3\r\n"
    "更新せずに残した行: %4");
// How often the window thread looks at a running walk or update.
constexpr int kProgressMilliseconds = 50;

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

// Names sorted as people count: "k2" before "k10". Runs of digits compare by their value, the
// rest as the desktop's language sorts text.
int naturalCompare(const QString& a, const QString& b) {
  qsizetype i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const bool digitA = a[i].isDigit(), digitB = b[j].isDigit();
    qsizetype endA = i, endB = j;
    while (endA < a.size() && a[endA].isDigit() == digitA) ++endA;
    while (endB < b.size() && b[endB].isDigit() == digitB) ++endB;
    const QString partA = a.mid(i, endA - i), partB = b.mid(j, endB - j);
    int c = 0;
    if (digitA && digitB) {
      // Leading zeros count for nothing; a longer number is the larger one.
      qsizetype za = 0, zb = 0;
      while (za + 1 < partA.size() && partA[za] == '0') ++za;
      while (zb + 1 < partB.size() && partB[zb] == '0') ++zb;
      const QString valueA = partA.mid(za), valueB = partB.mid(zb);
      c = valueA.size() != valueB.size() ? (valueA.size() < valueB.size() ? -1 : 1) : valueA.compare(valueB);
    } else {
      c = QString::localeAwareCompare(partA, partB);
    }
    if (c != 0) return c;
    i = endA;
    j = endB;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return QString::localeAwareCompare(a, b);
}

FileDialogOptions listFileDialog(const char* title, const char* key, const QString& listPath) {
  return fileDialogOptions(text(title), text(kListFileFilter), "csv", key, listPath);
}

// The messages of work running on another thread, shown by the window thread; the work waits
// for each to be answered, as it would on the window thread.
class WindowThreadMessages : public MessageSink {
 public:
  WindowThreadMessages(QObject* context, QWidget* parent) : context_(context), parent_(parent) {}
  void message(const std::string& shown, MessageIcon icon) override {
    QMetaObject::invokeMethod(
        context_, [&] { platform().message(parent_, QString::fromStdString(shown), icon); },
        Qt::BlockingQueuedConnection);
  }

 private:
  QObject* context_;
  QWidget* parent_;
};

// The messages of the files of a batch, kept with the file they came from: a batch of many
// files must not stop at each one, and a message alone would not say which file it means.
class FileMessages : public MessageSink {
 public:
  void setFile(const std::string& path) { current_ = path; }
  void message(const std::string& shown, MessageIcon) override {
    QString line = QString::fromStdString(shown);
    line.replace("\r\n", " ").replace('\n', ' ');
    entries_.push_back({current_, line});
  }
  // What the files said, one line each: "path: message".
  QStringList lines() const {
    QStringList out;
    for (const auto& [path, said] : entries_) out << fileLine(path, said);
    return out;
  }
  const std::vector<std::pair<std::string, QString>>& entries() const { return entries_; }
  QString of(const std::string& path) const {
    QStringList said;
    for (const auto& [from, line] : entries_)
      if (from == path) said << line;
    return said.join(" / ");
  }
  static QString fileLine(const std::string& path, const QString& why) {
    return fromFsPath(std::filesystem::path(path)) + ": " + why;
  }

 private:
  std::string current_;
  std::vector<std::pair<std::string, QString>> entries_;
};

// Only so many lines fit a message box on a screen; the rest are counted.
constexpr int kSummaryFileLines = 50;
constexpr Text kSearchCounts = TKN("TONEKIT", "リストに入れたファイル: %1\r\n読み込めなかったファイル: %2");
constexpr Text kUpdateCounts =
    TKN("TONEKIT", "書き込んだファイル: %1\r\n書き込む必要のなかったファイル: %2\r\n失敗した行: %3");
constexpr Text kFileLinesHead = TKN("TONEKIT", "ファイルと理由:");
constexpr Text kMoreFiles = TKN("TONEKIT", "ほか %1 個");

// The lines of a summary naming files, under their head; nothing when there are none.
QString fileLinesBlock(const QStringList& lines) {
  if (lines.isEmpty()) return {};
  QStringList shown = lines.mid(0, kSummaryFileLines);
  if (lines.size() > kSummaryFileLines) shown << text(kMoreFiles).arg(lines.size() - kSummaryFileLines);
  return "\r\n\r\n" + text(kFileLinesHead) + "\r\n" + shown.join("\r\n");
}

}  // namespace

// The wait window stands in for the list window while a long command runs. Ending it shows the
// list window again before the wait window goes, however the command ended, so the user is never
// left without a window.
class frmMLDList::WaitSteps {
 public:
  explicit WaitSteps(frmMLDList& list) : list_(list) {
    list_.wait_ = std::make_unique<frmWait>();
    frmWait& wait = *list_.wait_;
    wait.move(list.frameGeometry().center() - wait.rect().center());
    wait.show();
    standAside(&list_);
    platform().processEvents();
  }
  ~WaitSteps() {
    bringBack(&list_);
    if (const std::unique_ptr<frmWait> wait = std::move(list_.wait_)) wait->close();
  }
  WaitSteps(const WaitSteps&) = delete;
  WaitSteps& operator=(const WaitSteps&) = delete;

 private:
  frmMLDList& list_;
};

frmMLDList::frmMLDList(QWidget* parent) : QWidget(parent, Qt::Window), errorFolder_(writableProgramFolder()) {
  setObjectName("frmMLDList");
  setWindowTitle(QStringLiteral("MLD List"));
  // Starts at the classic size and grows from there; the grid grows with it.
  setMinimumSize(twipsToPixelsX(7080, this), twipsToPixels(5415, this));
  resize(minimumSize());

  auto button = [this](const char* name, const char* caption, const char* tip, QStyle::StandardPixmap picture,
                       int left) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setText(text(caption));
    if (tip) b->setToolTip(text(tip));
    b->setIcon(style()->standardIcon(picture));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    placeTwips(b, left, 120, 1335, 615);
    return b;
  };
  cmdExecute_ = button("cmdExecute", TKT("TONEKIT", "ﾘｽﾄ内容反映"), TKT("TONEKIT", "リスト内容をファイルに反映します"), QStyle::SP_DialogApplyButton, 240);
  cmdMakeList_ = button("cmdMakeList", TKT("TONEKIT", "MLDﾘｽﾄ作成"), TKT("TONEKIT", "指定したディレクトリ以下のMLDファイルのリストを作成します"),
                        QStyle::SP_FileDialogContentsView, 1560);
  cmdLoadList_ =
      button("cmdLoadList", TKT("TONEKIT", "MLDﾘｽﾄ読込"), TKT("TONEKIT", "CSV形式のファイルリストをロードします"), QStyle::SP_DialogOpenButton, 2880);
  cmdSaveList_ =
      button("cmdSaveList", TKT("TONEKIT", "MLDﾘｽﾄ保存"), TKT("TONEKIT", "ファイルリストをCSV形式でセーブします"), QStyle::SP_DialogSaveButton, 4200);
  cmdClose_ = button("cmdClose", TKT("TONEKIT", "閉じる"), nullptr, QStyle::SP_DialogCloseButton, 5520);
  cmdExecute_->setEnabled(false);
  cmdSaveList_->setEnabled(false);

  auto* separator = new QFrame(this);
  separator->setObjectName("Frame2");
  separator->setFrameShape(QFrame::HLine);
  separator->setFrameShadow(QFrame::Sunken);
  placeTwips(separator, 240, 840, 6615, 120);

  // Made before the grid, so that the grid covers it once it shows.
  lblCaption_ = new QLabel(text(TKT("TONEKIT", "ファイルリストを作成するか、ロードしてください。")), this);
  lblCaption_->setObjectName("lblCaption");
  placeTwips(lblCaption_, 480, 1080, 6045, 285);

  model_ = new MLDListModel(
      MLDListItems, [this](const ByteString& title) { return displayTitle(title); }, this);
  mfgMLDList_ = new QTableView(this);
  mfgMLDList_->setObjectName("mfgMLDList");
  mfgMLDList_->setModel(model_);
  mfgMLDList_->setToolTip(text(TKT("TONEKIT", "ダブルクリックすることにより編集ができます。")));
  mfgMLDList_->setAccessibleName(text(TKT("TONEKIT", "ファイルリスト")));
  mfgMLDList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  mfgMLDList_->setSelectionBehavior(QAbstractItemView::SelectRows);
  mfgMLDList_->setSelectionMode(QAbstractItemView::SingleSelection);
  mfgMLDList_->setWordWrap(false);
  // Long paths keep their start and their file name in view.
  mfgMLDList_->setTextElideMode(Qt::ElideMiddle);
  mfgMLDList_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  mfgMLDList_->verticalHeader()->setFixedWidth(twipsToPixelsX(kRowNumberWidth, this));
  mfgMLDList_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  // A click on a column header sorts by it; a second click turns the order round.
  mfgMLDList_->horizontalHeader()->setSectionsClickable(true);
  mfgMLDList_->horizontalHeader()->setSortIndicatorShown(true);
  mfgMLDList_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  connect(mfgMLDList_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    QHeaderView* header = mfgMLDList_->horizontalHeader();
    const bool again = header->sortIndicatorSection() == column && lastSortColumn_ == column;
    const Qt::SortOrder order = again && lastSortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    guarded(this, [&] { sortRows(column, order); });
  });
  placeTwips(mfgMLDList_, kGridLeft, kGridTop, kGridWidth, kGridHeight);
  mfgMLDList_->hide();
  // A double click anywhere in the grid edits the current row.
  mfgMLDList_->viewport()->installEventFilter(this);

  lblMessage_ = new QLabel(this);
  lblMessage_->setObjectName("lblMessage");
  lblMessage_->setTextFormat(Qt::PlainText);
  placeTwips(lblMessage_, 240, 5040, 6615, 255);
  // The help stands still, as much of it as the width holds; the whole of it in the tooltip.
  lblMessage_->setToolTip(text(kHelpText));
  fitHelpLine();

  connect(cmdExecute_, &QAbstractButton::clicked, this, [this] { cmdExecute_Click(); });
  connect(cmdMakeList_, &QAbstractButton::clicked, this, [this] { cmdMakeList_Click(); });
  connect(cmdLoadList_, &QAbstractButton::clicked, this, [this] { cmdLoadList_Click(); });
  connect(cmdSaveList_, &QAbstractButton::clicked, this, [this] { cmdSaveList_Click(); });
  connect(cmdClose_, &QAbstractButton::clicked, this, [this] { cmdClose_Click(); });
  // Enter and F2 edit the current row, as a double click does.
  mfgMLDList_->installEventFilter(this);
  settings::restorePlace(*this);
}

frmMLDList::~frmMLDList() = default;

std::filesystem::path frmMLDList::errorFilePath() const {
  // Without a folder of its own the update does not start; privateDataFolder() raises why.
  return (errorFolder_.empty() ? privateDataFolder() : errorFolder_) / kErrorFileName;
}

QWidget* frmMLDList::messageParent() { return wait_ ? static_cast<QWidget*>(wait_.get()) : this; }

QString frmMLDList::displayTitle(const ByteString& title) const {
  // The grid always took a row's cells as one TAB-separated text: a TAB ends the title's cell.
  QString shown = QString::fromStdString(decodeCp932(title));
  const qsizetype tab = shown.indexOf('\t');
  if (tab >= 0) shown.truncate(tab);
  return shown;
}

void frmMLDList::showLeftOut(const std::vector<std::size_t>& leftOut, ListEncoding encoding) {
  if (leftOut.empty()) return;
  platform().message(messageParent(), QString::fromStdString(leftOutMessage(MLDListItems, leftOut, encoding)),
                     Icon::Information);
}

void frmMLDList::selectRow(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  mfgMLDList_->setCurrentIndex(model_->index(row, MLDListModel::kPathColumn));
  mfgMLDList_->selectionModel()->select(model_->index(row, MLDListModel::kPathColumn),
                                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void frmMLDList::showRowCount() {
  setWindowTitle(MLDListItems.empty() ? QStringLiteral("MLD List")
                                      : QStringLiteral("MLD List - %1 ").arg(MLDListItems.size()) + text(TKT("TONEKIT", "件")));
}

void frmMLDList::fitHelpLine() {
  lblMessage_->setText(lblMessage_->fontMetrics().elidedText(text(kHelpText), Qt::ElideRight, lblMessage_->width()));
}

void frmMLDList::ShowList() {
  model_->showRows();
  showRowCount();

  fitColumns();

  // Once a list with rows has shown, saving and applying stay possible.
  if (!MLDListItems.empty()) {
    cmdExecute_->setEnabled(true);
    cmdSaveList_->setEnabled(true);
  }
  selectRow(0);
  mfgMLDList_->show();
  mfgMLDList_->raise();
}

void frmMLDList::fitColumns() {
  // Half of the room beside the row numbers each, the title a little less; whole twips, halves
  // to the even neighbour. A grown grid gives both columns its growth in the same shares.
  const double half = (kGridWidth - kRowNumberWidth) / 2.0;
  const double scale = static_cast<double>(mfgMLDList_->width()) / twipsToPixelsX(kGridWidth, this);
  const auto scaled = [&](double twips) {
    const int designed = twipsToPixelsX(static_cast<int>(std::nearbyint(twips)), this);
    return scale > 1.0 ? static_cast<int>(designed * scale) : designed;
  };
  mfgMLDList_->setColumnWidth(MLDListModel::kPathColumn, scaled(half));
  mfgMLDList_->setColumnWidth(MLDListModel::kTitleColumn, scaled(half - 400));
}

void frmMLDList::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The classic margins stay; everything below the buttons takes the new room.
  const int extraWidth = std::max(0, width() - twipsToPixelsX(7080, this));
  const int extraHeight = std::max(0, height() - twipsToPixels(5415, this));
  const int gridWidth = twipsToPixelsX(kGridWidth, this) + extraWidth;
  mfgMLDList_->setGeometry(twipsToPixelsX(kGridLeft, this), twipsToPixels(kGridTop, this), gridWidth,
                           twipsToPixels(kGridHeight, this) + extraHeight);
  if (auto* separator = findChild<QFrame*>("Frame2"))
    separator->resize(gridWidth, separator->height());
  lblMessage_->setGeometry(twipsToPixelsX(240, this), twipsToPixels(5040, this) + extraHeight, gridWidth,
                           lblMessage_->height());
  fitHelpLine();
  fitColumns();
}

void frmMLDList::sortRows(int column, Qt::SortOrder order) {
  lastSortColumn_ = column;
  lastSortOrder_ = order;
  const auto key = [&](const clsMLDListItem& item) {
    return column == MLDListModel::kPathColumn ? QString::fromStdString(item.MLDPath) : displayTitle(item.MLDTitle);
  };
  model_->beginRowsChange();
  std::stable_sort(MLDListItems.begin(), MLDListItems.end(), [&](const clsMLDListItem& a, const clsMLDListItem& b) {
    const int c = naturalCompare(key(a), key(b));
    return order == Qt::AscendingOrder ? c < 0 : c > 0;
  });
  model_->endRowsChange();
  mfgMLDList_->horizontalHeader()->setSortIndicator(column, order);
  selectRow(0);
}

void frmMLDList::runOffWindowThread(const std::function<void(MessageSink&)>& work, const std::function<void()>& tick) {
  WindowThreadMessages messages(this, messageParent());
  std::exception_ptr failure;
  QEventLoop loop;
  std::thread worker([&] {
    try {
      work(messages);
    } catch (...) {
      failure = std::current_exception();
    }
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  QTimer ticker;
  if (tick) QObject::connect(&ticker, &QTimer::timeout, &loop, tick);
  ticker.start(kProgressMilliseconds);
  loop.exec();
  worker.join();
  if (tick) tick();
  if (failure) std::rethrow_exception(failure);
}

void frmMLDList::ResetList() {
  // The grid never shows rows that the list no longer has.
  model_->beginRowsChange();
  MLDListItems.clear();
  refusedLines_ = {};
  model_->endRowsChange();
  showRowCount();
}

void frmMLDList::cmdMakeList_Click() {
  guarded(this, [this] {
    const auto folder = askFolder(this, text(kFolderSelectTitle), "listFolder", dialogAnchor());
    if (!folder || folder->isEmpty()) return;
    WaitSteps wait(*this);
    std::size_t unusable = 0;
    std::vector<Failure> unreadable;
    MLDList found;
    FileMessages said;
    const std::string root = toNativePath(*folder);
    runOffWindowThread([&](MessageSink&) {
      found = makeMLDList(root, &said, &unusable, &unreadable, [&](const std::string& path) { said.setFile(path); });
    });
    // One box at the end: what was listed, what was not, and what each file said.
    QStringList fileLines;
    for (const Failure& why : unreadable) fileLines << QString::fromStdString(unreadableText(why));
    fileLines << said.lines();
    const bool anyProblem = unusable > 0 || !fileLines.isEmpty();
    QStringList summary;
    if (found.empty()) summary << text(kNoMldFilesMessage);
    if (anyProblem) {
      summary << text(kSearchCounts).arg(found.size()).arg(unreadable.size());
      if (unusable > 0) summary << text(unusablePathsMessage(unusable).c_str());
    }
    if (!summary.isEmpty())
      platform().message(messageParent(), summary.join("\r\n") + fileLinesBlock(fileLines),
                         anyProblem ? Icon::Warning : Icon::Information);
    if (found.empty()) return;
    ResetList();
    MLDListItems = std::move(found);
    ShowList();
    modified_ = true;
  });
}

void frmMLDList::cmdSaveList_Click() { saveList(); }

bool frmMLDList::saveList() {
  bool saved = false;
  guarded(this, [&] {
    if (MLDListItems.empty()) {
      platform().message(this, text(kNoListMessage), Icon::Information);
      return;
    }
    FileDialogOptions options = listFileDialog(kSaveListDialogTitle, "listSave", dialogAnchor());
    // The second filter is the UTF-8 list, which holds every path the code page cannot.
    options.filter += '|' + text(kUtf8ListFileFilter);
    int chosenFilter = 0;
    options.chosenFilter = &chosenFilter;
    // The window asks its own question about an existing file: the dialog's would promise a
    // replacement that an append is not.
    auto file = askSaveFile(this, options, false);
    if (!file || file->isEmpty()) return;
    if (QFileInfo(*file).suffix().isEmpty()) *file += ".csv";
    const ListEncoding asked = chosenFilter == 1 ? ListEncoding::Utf8 : ListEncoding::Cp932;
    Answer how = Answer::Append;
    if (QFileInfo(*file).exists()) {
      how = platform().message(this, text(kListExistsHead) + QFileInfo(*file).fileName() + text(kListExistsTail),
                               Icon::Question, Buttons::AppendReplaceCancel);
      if (how != Answer::Append && how != Answer::Replace) return;
    }
    WaitSteps wait(*this);
    ListFileSave save;
    if (how == Answer::Replace) {
      save.encoding = asked;
      replaceFileSafely(toFsPath(*file), listFileBytes(MLDListItems, asked, &save.leftOut));
    } else {
      save = appendListFile(toFsPath(*file), MLDListItems, asked);
    }
    listPath_ = *file;
    modified_ = false;
    saved = true;
    showLeftOut(save.leftOut, save.encoding);
  });
  return saved;
}

void frmMLDList::cmdLoadList_Click() {
  guarded(this, [this] {
    FileDialogOptions options = listFileDialog(kLoadListDialogTitle, "listLoad", dialogAnchor());
    options.filter += '|' + text(kAllFilesFilter);
    options.existingOnly = true;
    const auto file = askOpenFile(this, options);
    if (!file || file->isEmpty()) return;
    // Read first: a file that cannot be read leaves the current list as it is.
    ListReadOptions read;
    ListFileContent content = readListFile(toFsPath(*file), read);
    // What the bytes or the quotes leave open, the user decides, for the whole list.
    if (content.encodingAmbiguous) {
      const Answer answer = platform().message(this, text(kAmbiguousEncodingQuestion), Icon::Question, Buttons::YesNo);
      read.encoding = answer == Answer::Yes ? ListEncoding::Utf8 : ListEncoding::Cp932;
      content = readListFile(toFsPath(*file), read);
    }
    if (content.ambiguousLines > 0) {
      const Answer answer = platform().message(this, text(kAmbiguousQuotesQuestion), Icon::Question, Buttons::YesNo);
      read.quotes = answer == Answer::Yes ? QuoteReading::Old : QuoteReading::Csv;
      content = readListFile(toFsPath(*file), read);
    }
    ResetList();
    refusedLines_ = {{}, content.encoding};
    for (const BadListLine& bad : content.badLines) refusedLines_.lines.push_back(bad.raw);
    if (!content.hadLines) {
      platform().message(this, text(kNoListInFileMessage), Icon::Information);
      return;
    }
    if (!content.badLines.empty()) {
      std::string lines(kBadLinesHead);
      for (const BadListLine& bad : content.badLines) lines += "\r\n" + badLineText(toFsPath(*file), bad);
      platform().message(this, QString::fromStdString(lines), Icon::Information);
    }
    // Titles a UTF-8 list holds beyond code page 932: the main window's question before "?" is
    // written; without OK those rows are not loaded, so nothing is written for them.
    QList<QPair<QString, QString>> lossy;
    for (const LossyListTitle& row : content.lossyTitles)
      lossy.append({QString::fromStdString(content.items[row.row].MLDPath), QString::fromStdString(row.title)});
    if (!lossy.isEmpty() && !confirmUnencodable(this, lossy)) {
      for (const LossyListTitle& row : content.lossyTitles) refusedLines_.lines.push_back(row.raw);
      content.items = dropRows(std::move(content.items), content.lossyTitles);
    }
    WaitSteps wait(*this);
    MLDListItems = std::move(content.items);
    ShowList();
    listPath_ = *file;
    modified_ = false;
  });
}

void frmMLDList::cmdExecute_Click() {
  guarded(this, [this] {
    WaitSteps wait(*this);
    if (MLDListItems.empty()) {
      platform().message(messageParent(), text(kNoListMessage), Icon::Information);
      return;
    }
    if (platform().message(messageParent(), text(kUpdateConfirmMessage), Icon::Question, Buttons::OkCancel) !=
        Answer::Ok)
      return;
    std::filesystem::path errorFile;
    try {
      errorFile = errorFilePath();
    } catch (const Failure& noPlace) {
      // No folder of its own for the error file: the user's setup, said as such, not a fault.
      platform().message(messageParent(), QString::fromStdString(noPlace.description()), Icon::Warning);
      return;
    }
    FileMessages said;
    BatchUpdateJob job(MLDListItems, errorFile, &said);
    job.setListEncoding(refusedLines_.encoding);
    for (const ByteString& line : refusedLines_.lines) job.refuse(line);
    frmWait& progress = *wait_;
    // Stops after the row in hand: every row done stays written.
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> done{0};
    std::vector<RowResult> failedRows;
    connect(&progress, &frmWait::cancelClicked, &progress, [&stop] { stop = true; });
    progress.setProgress(0, job.size());
    runOffWindowThread(
        [&](MessageSink&) {
          while (!job.done() && !stop) {
            said.setFile(job.items()[job.position()].MLDPath);
            RowResult row = job.step();
            if (row.outcome == RowOutcome::Failed) failedRows.push_back(std::move(row));
            done = job.position();
            if (rowGate_ && !rowGate_(job.position())) stop = true;
          }
        },
        [&] { progress.setProgress(done, job.size()); });
    const BatchSummary summary = job.finish();
    // Without the error file the user could not find the failed rows: report it instead of
    // the closing messages.
    if (summary.errorFileFailure) throw *summary.errorFileFailure;
    showLeftOut(summary.leftOutOfErrorFile, ListEncoding::Cp932);
    QStringList fileLines;
    for (const RowResult& row : failedRows) {
      const std::string& path = job.items()[row.index].MLDPath;
      QString why = row.failure ? QString::fromStdString(row.failure->line()) : QString();
      const QString fileSaid = said.of(path);
      if (!fileSaid.isEmpty()) why += (why.isEmpty() ? "" : " / ") + fileSaid;
      fileLines << FileMessages::fileLine(path, why);
    }
    // What the reader said about the files that did not fail is worth knowing too.
    for (const auto& [path, line] : said.entries())
      if (std::none_of(failedRows.begin(), failedRows.end(),
                       [&](const RowResult& row) { return job.items()[row.index].MLDPath == path; }))
        fileLines << FileMessages::fileLine(path, line);
    // One box at the end: the error file, how it ended, the counts and each failed file.
    QStringList closing;
    if (summary.errorFileWritten) closing << QString::fromStdString(job.errorFileMessage());
    if (!job.done()) {
      closing << text(kUpdateCancelledMessage)
                     .arg(summary.written)
                     .arg(summary.unchanged)
                     .arg(summary.failed)
                     .arg(job.size() - job.position());
    } else {
      modified_ = false;
      closing << text(kUpdateDoneMessage) + "\r\n\r\n" +
                     text(kUpdateCounts).arg(summary.written).arg(summary.unchanged).arg(summary.failed);
    }
    platform().message(messageParent(), closing.join("\r\n") + fileLinesBlock(fileLines), Icon::Information);
  });
}

void frmMLDList::cmdClose_Click() { close(); }

void frmMLDList::mfgMLDList_DblClick() {
  guarded(this, [this] {
    if (MLDListItems.empty()) {
      platform().message(this, text(kNoListMessage), Icon::Information);
      return;
    }
    const QModelIndex current = mfgMLDList_->currentIndex();
    if (!current.isValid()) return;
    const int row = current.row();
    if (row < 0 || static_cast<std::size_t>(row) >= MLDListItems.size()) return;
    clsMLDListItem& item = MLDListItems[static_cast<std::size_t>(row)];

    frmListEdit editor(this);
    editor.MLDPath = item.MLDPath;
    editor.MLDTitle = item.MLDTitle;
    editor.Load();
    platform().execDialog(editor);
    if (editor.MLDTitle == item.MLDTitle) return;
    item.MLDTitle = editor.MLDTitle;
    modified_ = true;
    model_->titleChanged(row);
    selectRow(row);
  });
}

void frmMLDList::closeEvent(QCloseEvent* event) {
  if (modified_) {
    const Answer answer = askToSaveChanges(this, text(kUnsavedListQuestion));
    if (answer == Answer::Cancel || (answer == Answer::Save && !saveList())) {
      event->ignore();
      return;
    }
  }
  settings::rememberPlace(*this);
  // Whoever opened the list shows again before this window goes, so the program always has a
  // window on screen.
  emit unloaded();
  QWidget::closeEvent(event);
}

bool frmMLDList::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mfgMLDList_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    // Let the press select the row under the pointer first, as a single click would.
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QModelIndex under = mfgMLDList_->indexAt(mouse->position().toPoint());
    if (under.isValid()) mfgMLDList_->setCurrentIndex(under);
    mfgMLDList_DblClick();
    return true;
  }
  if (watched == mfgMLDList_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool edits = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_F2;
    if (edits && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !MLDListItems.empty()) {
      mfgMLDList_DblClick();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tonekit::ui
