// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "main_window/ui/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

#include "base/CodePage.h"
#include "base/Failure.h"
#include "base/MessageSink.h"
#include "base/SafeFile.h"
#include "file_list/ui/OpenListView.h"
#include "main_window/ui/frmOtherChunks.h"
#include "main_window/ui/frmVersion.h"
#include "main_window/ui/LanguageChoice.h"
#include "platform/Platform.h"
#include "platform/Settings.h"
#include "platform/Twips.h"
#include "convert/MidiImport.h"
#include "convert/MidiExport.h"
#include "sound/ui/Playback.h"
#include "track_editor/ui/OpenTrackView.h"
#include "base/Translate.h"

namespace tonekit::ui {

namespace {

// The window's classic geometry, in twips. The heights are the window's own, menu bar included;
// a window manager's title bar comes on top of them.
constexpr int kWindowWidth = 9000;
constexpr int kNormalHeight = 3405;
constexpr int kExpertHeight = 10590;
constexpr int kFrameLeft = 120;
constexpr int kFrameWidth = 8760;
constexpr int kInfoTopNormal = 1560;
constexpr int kInfoHeightNormal = 975;
constexpr int kInfoTopExpert = 4920;
constexpr int kInfoHeightExpert = 4815;
constexpr int kRowHeight = 315;

constexpr Text kOpenTitle = TKN("TONEKIT", "読み込みMLDファイル選択");
constexpr Text kOpenFilter = TKN("TONEKIT", "iメロディファイル (*.mld)|*.mld|SMFファイル（*.mid)|*.mid");
constexpr Text kSaveTitle = TKN("TONEKIT", "保存先ファイル選択");
constexpr Text kSaveFilter = TKN("TONEKIT", "iメロディファイル (*.mld)|*.mld");
constexpr Text kImportTitle = TKN("TONEKIT", "読み込みMIDIファイル選択");
constexpr Text kImportFilter = TKN("TONEKIT", "SMFファイル（*.mid)|*.mid");
constexpr Text kImportSummary = TKN("TONEKIT", "MIDIファイルから作成しました。そのままでは変換できなかったものがあります。\r\n\r\n");
constexpr Text kNoFileMessage = TKN("TONEKIT", "ファイルが存在しません。 - ");
constexpr Text kTracCountMessage = TKN("TONEKIT", "トラック数を解析できませんでした。");
constexpr Text kMajorMessage = TKN("TONEKIT", "メジャータイプを解析できませんでした。");
constexpr Text kMinorMessage = TKN("TONEKIT", "マイナータイプを解析できませんでした。");
// A read that stopped at an unknown tag holds only the header: a save would drop the rest.
constexpr Text kIncompleteSaveMessage =
    TKN("TONEKIT", "このファイルは読み込みが途中で止まったため、保存できません。\r\n"
    "（読み込めなかったインフォメーション部とトラック部が、保存したファイルから失われるためです）");
// Bytes behind the length the header declares belong to no part of the file, so no save writes
// them: the user hears of them when the file is read and agrees before a save drops them.
constexpr Text kTrailingHead = TKN("TONEKIT", "このファイルには、ヘッダーが示すファイルの長さの後ろに ");
constexpr Text kTrailingReadTail = TKN("TONEKIT", " バイトのデータがあります。保存すると、そのデータは保存したファイルに含まれません。");
constexpr Text kTrailingSaveTail = TKN("TONEKIT", " バイトのデータは保存されません。保存しますか？");

// Asked before the document on show would go with changes not saved.
constexpr Text kUnsavedHead = TKN("TONEKIT", "「");
constexpr Text kUnsavedTail = TKN("TONEKIT", "」の変更は保存されていません。保存しますか？");
constexpr Text kRecentMissingMessage = TKN("TONEKIT", "ファイルが見つからないため、最近使ったファイルの一覧から外しました。 - ");

// The dialogs' keys: each remembers the folder it chose from last.
const char* const kOpenKey = "open";
const char* const kSaveKey = "save";
const char* const kImportKey = "importMidi";

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

FileDialogOptions openOptions(const char* title, const char* filter, const char* suffix, const char* key,
                              const QString& documentPath) {
  FileDialogOptions options = fileDialogOptions(qs(title), qs(filter), suffix, key, documentPath);
  options.existingOnly = true;
  return options;
}

QButtonGroup* groupOf(QObject* owner, std::initializer_list<QRadioButton*> buttons) {
  auto* group = new QButtonGroup(owner);
  group->setExclusive(true);
  int id = 0;
  for (QRadioButton* b : buttons) group->addButton(b, id++);
  return group;
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName("frmMain");
  setWindowTitle(qs(kAppName));
  buildWindow();
  buildMenus();
  // Every change of a text, check box or option shows at once in the title's mark.
  for (QLineEdit* edit : centralWidget()->findChildren<QLineEdit*>())
    connect(edit, &QLineEdit::textChanged, this, [this] { updateModifiedMark(); });
  for (QAbstractButton* b : centralWidget()->findChildren<QAbstractButton*>())
    if (b->isCheckable()) connect(b, &QAbstractButton::toggled, this, [this] { updateModifiedMark(); });
  statusBar()->setObjectName("statusBar");
  nameControls();
  ClearInfoPart();
  SetNormalLayout();
  if (settings::expertLayout()) SetExpertLayout();
  settings::restorePlace(*this);
  trackViewOpener = [](frmMain& main) { tonekit::ui::openTrackView(&main, main.session()); };
  listViewOpener = [](frmMain& main) { tonekit::ui::openListView(&main, main.documentPath_); };
}

frmMain::~frmMain() = default;

QLabel* frmMain::addLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int width) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  placeTwips(label, left, top, width, kRowHeight);
  return label;
}

void frmMain::buildWindow() {
  // The classic controls keep their places on a page that scrolls when the window is smaller than
  // the classic size (a small or scaled screen) and stays at the top left when it is larger.
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("scrollArea");
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  auto* central = new QWidget(scroll);
  central->setObjectName("centralWidget");
  scroll->setWidget(central);
  setCentralWidget(scroll);

  addLabel(central, "lblPath", "MLDFilePath :", 120, 240, 1320);
  txtPath = new QLineEdit(central);
  txtPath->setObjectName("txtPath");
  placeTwips(txtPath, 1440, 240, 6780, kRowHeight);

  cmdFileDialog = new QPushButton(central);
  cmdFileDialog->setObjectName("cmdFileDialog");
  cmdFileDialog->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  placeTwips(cmdFileDialog, 8280, 180, 600, 435);

  auto button = [&](QPushButton*& target, const char* name, const char* caption, const char* tip, int index) {
    target = new QPushButton(qs(caption), central);
    target->setObjectName(name);
    if (*tip) target->setToolTip(qs(tip));
    target->setAutoDefault(false);
    placeTwips(target, 120 + index * 1455, 780, 1335, 495);
  };
  button(cmdParse, "cmdParse", TKT("TONEKIT", "解析"), TKT("TONEKIT", "指定ファイルの読み込みを行います"), 0);
  button(cmdSave, "cmdSave", TKT("TONEKIT", "保存"), TKT("TONEKIT", "読み込んでいるファイルを保存します"), 1);
  button(cmdTrac, "cmdTrac", TKT("TONEKIT", "ﾄﾗｯｸﾃﾞｰﾀ編集"), TKT("TONEKIT", "トラック部の編集ができます"), 2);
  button(cmdListView, "cmdListView", TKT("TONEKIT", "ﾘｽﾄ編集"), TKT("TONEKIT", "MLDファイルのリストを作成したり、リストから一括編集ができます"), 3);
  button(cmdActionChange, "cmdActionChange", "To Expert", "", 4);
  button(cmdClose, "cmdClose", TKT("TONEKIT", "終了"), "", 5);
  cmdSave->setEnabled(false);
  cmdTrac->setEnabled(false);

  buildHeaderFrame(central);
  buildInfoFrame(central);

  connect(cmdFileDialog, &QPushButton::clicked, this, [this] { openFileDialog(); });
  connect(cmdParse, &QPushButton::clicked, this, [this] { LoadMLDFile(); });
  connect(cmdSave, &QPushButton::clicked, this, [this] { SaveMLDFile(); });
  connect(cmdTrac, &QPushButton::clicked, this, &frmMain::openTrackView);
  connect(cmdListView, &QPushButton::clicked, this, &frmMain::openListView);
  connect(cmdActionChange, &QPushButton::clicked, this, [this] { toggleLayout(); });
  connect(cmdClose, &QPushButton::clicked, this, [this] { guarded(this, [this] { close(); }); });
  // Enter in the path box reads the file, as "解析" does; Alt+A presses "解析" from anywhere.
  connect(txtPath, &QLineEdit::returnPressed, cmdParse, &QPushButton::click);
  auto* parse = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_A), this);
  parse->setObjectName("parseShortcut");
  connect(parse, &QShortcut::activated, cmdParse, &QPushButton::click);

  // "終了" is the window's cancel button.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setObjectName("escapeShortcut");
  connect(escape, &QShortcut::activated, cmdClose, &QPushButton::click);

  // Files dropped anywhere on the window name the file to load; the text boxes would otherwise
  // take the drop as text.
  setAcceptDrops(true);
  for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->installEventFilter(this);
}

QWidget* frmMain::scrollPage() const { return txtPath->parentWidget(); }

void frmMain::nameControls() {
  // What a screen reader says for each control: its caption, or the label beside it without the
  // colon. A check box would otherwise be announced by the frame that holds it.
  const auto caption = [](const QString& label) { return label.chopped(label.endsWith(" :") ? 2 : 0).trimmed(); };
  txtPath->setAccessibleName(caption(findChild<QLabel*>("lblPath")->text()));
  cmdFileDialog->setAccessibleName(qs(TKT("TONEKIT", "開く")));
  txtMLDFileLength->setAccessibleName(caption(findChild<QLabel*>("lblMLDFileLength")->text()));
  txtMLDLengthToTrac->setAccessibleName(caption(findChild<QLabel*>("lblMLDLengthToTrac")->text()));
  for (InfoRow& r : rows_) {
    const QString name = caption(r.label->text());
    r.check->setAccessibleName(name);
    r.editor->setAccessibleName(name);
  }
}

void frmMain::buildHeaderFrame(QWidget* central) {
  fraFileHead = new QGroupBox(qs(TKT("TONEKIT", "ファイルヘッダ部")), central);
  fraFileHead->setObjectName("fraFileHead");
  placeTwips(fraFileHead, kFrameLeft, 1560, kFrameWidth, 3240);

  auto radio = [&](const char* name, const char* caption, int left, int top, int width) {
    auto* b = new QRadioButton(qs(caption), fraFileHead);
    b->setObjectName(name);
    placeTwips(b, left, top, width, kRowHeight);
    return b;
  };

  addLabel(fraFileHead, "lblMLDFileLength", qs(TKT("TONEKIT", "ファイル長 :")), 240, 360, 2400);
  txtMLDFileLength = new QLineEdit(fraFileHead);
  txtMLDFileLength->setObjectName("txtMLDFileLength");
  txtMLDFileLength->setEnabled(false);
  placeTwips(txtMLDFileLength, 2640, 360, 1800, kRowHeight);

  addLabel(fraFileHead, "lblMLDLengthToTrac", qs(TKT("TONEKIT", "トラック部までのサイズ :")), 240, 840, 2400);
  txtMLDLengthToTrac = new QLineEdit(fraFileHead);
  txtMLDLengthToTrac->setObjectName("txtMLDLengthToTrac");
  txtMLDLengthToTrac->setEnabled(false);
  placeTwips(txtMLDLengthToTrac, 2640, 840, 1800, kRowHeight);

  addLabel(fraFileHead, "lblMajor", qs(TKT("TONEKIT", "メジャータイプ :")), 240, 1320, 2400);
  optMajor = {radio("optMajor0", TKT("TONEKIT", "着信メロディデータ "), 2640, 1320, 2520),
              radio("optMajor1", TKT("TONEKIT", "音楽データ(MFi2) "), 5280, 1320, 2520)};
  addLabel(fraFileHead, "lblMiner", qs(TKT("TONEKIT", "マイナータイプ :")), 240, 1800, 2400);
  optMiner = {radio("optMiner0", TKT("TONEKIT", "音楽データ"), 2640, 1800, 1800), radio("optMiner1", TKT("TONEKIT", "全曲データ "), 4560, 1800, 1800),
              radio("optMiner2", TKT("TONEKIT", "部分データ "), 6480, 1800, 1800)};
  addLabel(fraFileHead, "lblTracCount", qs(TKT("TONEKIT", "トラック数 :")), 240, 2280, 2400);
  optTracCount = {radio("optTracCount0", TKT("TONEKIT", "1トラックデータ"), 2640, 2280, 2160),
                  radio("optTracCount1", TKT("TONEKIT", "2トラックデータ"), 4920, 2280, 2160),
                  radio("optTracCount2", TKT("TONEKIT", "3トラックデータ"), 2640, 2700, 2160),
                  radio("optTracCount3", TKT("TONEKIT", "4トラックデータ"), 4920, 2700, 2160)};
  grpMajor = groupOf(this, {optMajor[0], optMajor[1]});
  // A major type neither option stands for shows as its number here.
  lblMajorRaw = addLabel(fraFileHead, "lblMajorRaw", {}, 7800, 1320, 840);
  groupOf(this, {optMiner[0], optMiner[1], optMiner[2]});
  groupOf(this, {optTracCount[0], optTracCount[1], optTracCount[2], optTracCount[3]});

  // The chunks of the later format versions open in a window of their own, so that every row of
  // the window keeps its place; for a file without any the button stays off.
  cmdOtherChunks = new QPushButton(qs(TKT("TONEKIT", "その他のチャンク…")), fraFileHead);
  cmdOtherChunks->setObjectName("cmdOtherChunks");
  cmdOtherChunks->setAutoDefault(false);
  cmdOtherChunks->setEnabled(false);
  placeTwips(cmdOtherChunks, 4680, 300, 2400, 435);
  connect(cmdOtherChunks, &QPushButton::clicked, this, [this] { showOtherChunks(); });
  lblAudioChunks = addLabel(fraFileHead, "lblAudioChunks", {}, 4680, 840, 3960);
}

void frmMain::buildInfoFrame(QWidget* central) {
  fraInfomationPart = new QGroupBox(qs(TKT("TONEKIT", "インフォメーション部")), central);
  fraInfomationPart->setObjectName("fraInfomationPart");

  struct RowText {
    const char* tag;
    const char* check;
    const char* label;
    const char* labelName;
    const char* editor;  // text box name; null for the option rows
    const char* initial;
    const char* tip;
    int top;
  };
  static const RowText kRows[8] = {
      {"titl", "chkTitl", "Titl :", "lblTitl", "txtTitl", TKT("TONEKIT", "曲タイトル"), TKT("TONEKIT", "16Byteぐらいがいいみたいです"), 330},
      {"sorc", "chkSorc", "Sorc :", "lblSorc", nullptr, "", "", 780},
      {"vers", "chkVers", "Vers :", "lblVers", "txtVers", TKT("TONEKIT", "MLDフォーマットのバージョン情報"), TKT("TONEKIT", "だいたい0100か0200"), 1680},
      {"date", "chkDate", "Date :", "lblDate", "txtDate", TKT("TONEKIT", "データ作成の日付"), TKT("TONEKIT", "YYYYMMDDがいいみたい"), 2160},
      {"copy", "chkCopy", "Copy :", "lblCopy", "txtCopy", TKT("TONEKIT", "著作権情報"), "", 2640},
      {"prot", "chkProt", "Prot :", "lblProt", "txtProt", TKT("TONEKIT", "データ管理文字列"), "", 3120},
      {"note", "chkNote", "Note :", "lblNote", nullptr, "", "", 3600},
      {"exst", "chkExst", "Exst :", "lblExst", "txtExst", TKT("TONEKIT", "拡張ステータス依存データ長情報"), "", 4080},
  };

  auto radio = [&](QWidget* parent, const char* name, const char* caption, int left, int top, int width) {
    auto* b = new QRadioButton(qs(caption), parent);
    b->setObjectName(name);
    placeTwips(b, left, top, width, kRowHeight);
    return b;
  };

  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const RowText& t = kRows[i];
    InfoRow& r = rows_[i];
    r.tag = t.tag;
    r.check = new QCheckBox(fraInfomationPart);
    r.check->setObjectName(t.check);
    placeTwips(r.check, 240, t.top, 300, kRowHeight);
    r.label = addLabel(fraInfomationPart, t.labelName, qs(t.label), 600, t.top, 840);
    if (t.editor) {
      r.text = new QLineEdit(fraInfomationPart);
      r.text->setObjectName(t.editor);
      r.text->setMaxLength(65535);  // a chunk holds up to 65535 bytes
      if (*t.tip) r.text->setToolTip(qs(t.tip));
      r.initialText = t.initial;
      placeTwips(r.text, 1500, t.top, 7020, kRowHeight);
      r.editor = r.text;
    }
  }

  picSorc = new QFrame(fraInfomationPart);
  picSorc->setObjectName("picSorc");
  placeTwips(picSorc, 1500, 780, 7020, 750);
  addLabel(picSorc, "lblSorcIn", qs(TKT("TONEKIT", "入力経路　：")), 0, 0, 1320);
  optSorcIn = {radio(picSorc, "optSorcIn0", TKT("TONEKIT", "ダウンロード"), 1440, 0, 1800),
               radio(picSorc, "optSorcIn1", TKT("TONEKIT", "端末の入力機能"), 3300, 0, 1800),
               radio(picSorc, "optSorcIn2", TKT("TONEKIT", "端末の外部I/F"), 5160, 0, 1800)};
  addLabel(picSorc, "lblSorcPat", qs(TKT("TONEKIT", "著作権　　：")), 0, 420, 1320);
  optSorcPat = {radio(picSorc, "optSorcPat0", TKT("TONEKIT", "著作権なし"), 1440, 420, 1800),
                radio(picSorc, "optSorcPat1", TKT("TONEKIT", "著作権あり"), 3300, 420, 1800)};
  groupOf(this, {optSorcIn[0], optSorcIn[1], optSorcIn[2]});
  groupOf(this, {optSorcPat[0], optSorcPat[1]});
  row("sorc").editor = picSorc;

  picNote = new QFrame(fraInfomationPart);
  picNote->setObjectName("picNote");
  placeTwips(picNote, 1500, 3600, 7020, kRowHeight);
  optNoteLen = {radio(picNote, "optNoteLen0", "3byte", 0, 0, 1800),
                radio(picNote, "optNoteLen1", "4byte(MFi2)", 1860, 0, 2400)};
  groupOf(this, {optNoteLen[0], optNoteLen[1]});
  row("note").editor = picNote;

  // Each editor is usable exactly while its box is checked, whoever changes the box.
  for (InfoRow& r : rows_) {
    QWidget* editor = r.editor;
    r.editor->setEnabled(false);
    connect(r.check, &QCheckBox::toggled, this,
            [this, editor](bool on) { guarded(this, [&] { editor->setEnabled(on); }); });
  }
}

void frmMain::buildMenus() {
  auto item = [this](QMenu* menu, QAction*& target, const char* name, const char* caption) {
    target = menu->addAction(qs(caption));
    target->setObjectName(name);
  };
  QMenu* file = menuBar()->addMenu(qs(TKT("TONEKIT", "ファイル(&F)")));
  file->setObjectName("mnuFile");
  item(file, mnuFileOpen, "mnuFileOpen", TKT("TONEKIT", "開く(&O)"));
  item(file, mnuFileOverwrite, "mnuFileOverwrite", TKT("TONEKIT", "上書き保存(&U)"));
  item(file, mnuFileSave, "mnuFileSave", TKT("TONEKIT", "保存(&S)"));
  item(file, mnuFileImportMidi, "mnuFileImportMidi", TKT("TONEKIT", "MIDIファイルから作成(&I)…"));
  item(file, mnuFileEnd, "mnuFileEnd", TKT("TONEKIT", "終了(&X)"));
  mnuFileOpen->setShortcut(QKeySequence::Open);
  // Ctrl+S writes the file in hand; 保存 asks where, as 名前を付けて保存 does elsewhere.
  mnuFileOverwrite->setShortcut(QKeySequence::Save);
  mnuFileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  mnuFileSave->setStatusTip(qs(TKT("TONEKIT", "名前を付けて保存します (Ctrl+Shift+S)")));
  mnuFileOverwrite->setStatusTip(qs(TKT("TONEKIT", "読み込んだファイルに上書き保存します (Ctrl+S)")));
  mnuFileEnd->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  mnuFileRecent = new QMenu(qs(TKT("TONEKIT", "最近使ったファイル(&R)")), file);
  mnuFileRecent->setObjectName("mnuFileRecent");
  file->insertMenu(mnuFileOverwrite, mnuFileRecent);
  connect(mnuFileRecent, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });
  fillRecentMenu();
  QMenu* show = menuBar()->addMenu(qs(TKT("TONEKIT", "表示(&I)")));
  show->setObjectName("mnuShow");
  item(show, mnuShowChange, "mnuShowChange", TKT("TONEKIT", "エキスパート表示切り替え(&C)"));
  item(show, mnuShowMLDList, "mnuShowMLDList", TKT("TONEKIT", "MLDファイルをリスト形式で編集(&L)"));
  item(show, mnuShowTracData, "mnuShowTracData", TKT("TONEKIT", "トラックデータ編集(&T)"));
  show->addSeparator();
  addLanguageMenu(show, this);
  QMenu* help = menuBar()->addMenu(qs(TKT("TONEKIT", "ヘルプ(&H)")));
  help->setObjectName("mnuHelp");
  item(help, mnuHelpVersion, "mnuHelpVersion", TKT("TONEKIT", "バージョン情報(&A)"));
  mnuFileSave->setEnabled(false);
  mnuFileOverwrite->setEnabled(false);
  mnuShowTracData->setEnabled(false);

  connect(mnuFileOpen, &QAction::triggered, this, [this] { openFileDialog(); });
  connect(mnuFileSave, &QAction::triggered, this, [this] { SaveMLDFile(); });
  connect(mnuFileOverwrite, &QAction::triggered, this, [this] { overwriteFile(); });
  connect(mnuFileImportMidi, &QAction::triggered, this, [this] { importMidiFile(); });
  connect(mnuFileEnd, &QAction::triggered, this, [this] { guarded(this, [this] { close(); }); });
  connect(mnuShowChange, &QAction::triggered, this, [this] { toggleLayout(); });
  connect(mnuShowMLDList, &QAction::triggered, this, &frmMain::openListView);
  connect(mnuShowTracData, &QAction::triggered, this, &frmMain::openTrackView);
  connect(mnuHelpVersion, &QAction::triggered, this, [this] { showVersion(); });
  buildSoundMenus(file, help);
}

void frmMain::buildSoundMenus(QMenu* file, QMenu* before) {
  QAction* exportMidi = new QAction(qs(TKT("TONEKIT", "MIDIファイルに書き出し(&M)…")), file);
  exportMidi->setObjectName("mnuFileExportMidi");
  QAction* exportWav = new QAction(qs(TKT("TONEKIT", "WAVファイルに書き出し(&W)…")), file);
  exportWav->setObjectName("mnuFileExportWav");
  file->insertActions(mnuFileEnd, {exportMidi, exportWav});
  file->insertSeparator(mnuFileEnd);
  auto* play = new QMenu(qs(TKT("TONEKIT", "再生(&P)")), this);
  play->setObjectName("mnuPlay");
  menuBar()->insertMenu(before->menuAction(), play);
  const PlaybackActions actions = addPlaybackActions(this, play, "mnuPlayStart", TKT("TONEKIT", "再生"), "mnuPlayStop");
  // While the melody plays, the status bar says so, how far it is, and offers to stop it.
  auto* state = new QLabel(statusBar());
  state->setObjectName("lblPlayState");
  auto* stop = new QToolButton(statusBar());
  stop->setObjectName("cmdPlayStop");
  stop->setDefaultAction(actions.stop);
  statusBar()->addPermanentWidget(state);
  statusBar()->addPermanentWidget(stop);
  const auto showState = [this, state, stop] {
    const Playback& playback = Playback::instance();
    const bool mine = playback.isPlaying() && playback.owner() == this;
    state->setVisible(mine);
    stop->setVisible(mine);
    const qint64 seconds = playback.elapsed() / 1000;
    if (mine) state->setText(qs(TKT("TONEKIT", "再生中 %1:%2")).arg(seconds / 60).arg(seconds % 60, 2, 10, QChar('0')));
  };
  connect(&Playback::instance(), &Playback::stateChanged, this, showState);
  connect(&Playback::instance(), &Playback::moved, this, showState);
  showState();

  connect(exportMidi, &QAction::triggered, this, [this] { guarded(this, [this] { ui::exportMidi(this, shownMelody(), documentPath_); }); });
  connect(exportWav, &QAction::triggered, this, [this] { guarded(this, [this] { ui::exportWav(this, shownMelody(), documentPath_); }); });
  connect(actions.play, &QAction::triggered, this,
          [this] { guarded(this, [this] { Playback::instance().play(this, shownMelody()); }); });
}

sound::Melody frmMain::shownMelody() {
  if (!session_.hasDocument()) throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(ファイルを読み込んでいません)"));
  const auto shown = [this](const char* tag) {
    const InfoRow& r = row(tag);
    return r.check->isChecked() ? valueToSave(r) : ByteString{};
  };
  sound::Melody melody = session_.melody(info::noteLengthOf(shown("note")));
  melody.title = shown("titl");
  melody.copyright = shown("copy");
  return melody;
}

frmMain::InfoRow& frmMain::row(const char* tag) {
  for (InfoRow& r : rows_)
    if (std::string_view(r.tag) == tag) return r;
  throw Failure::of(err::IndexOutOfRange, std::string("(") + tag + ")");
}

void frmMain::openPath(const QString& path) {
  txtPath->setText(path);
  LoadMLDFile();
}

void frmMain::fillRecentMenu() {
  mnuFileRecent->clear();
  const QStringList files = settings::recentFiles();
  int number = 0;
  for (const QString& path : files) {
    // A mnemonic for each of the first nine; "&" inside a name shows as itself.
    QString caption = QString(path).replace('&', "&&");
    if (++number <= 9) caption = QString("&%1 ").arg(number) + caption;
    QAction* entry = mnuFileRecent->addAction(caption);
    entry->setObjectName(QString("mnuFileRecent%1").arg(number - 1));
    connect(entry, &QAction::triggered, this, [this, path] { openRecentFile(path); });
  }
  if (!files.isEmpty()) mnuFileRecent->addSeparator();
  QAction* clear = mnuFileRecent->addAction(qs(TKT("TONEKIT", "一覧を消去(&C)")));
  clear->setObjectName("mnuFileRecentClear");
  clear->setEnabled(!files.isEmpty());
  connect(clear, &QAction::triggered, this, [] { settings::clearRecentFiles(); });
}

void frmMain::openRecentFile(const QString& path) {
  guarded(this, [&] {
    // The reader's walk decides, so that a link it refuses is named as such, not as missing.
    if (!isRegularFile(toFsPath(path))) {
      settings::removeRecentFile(path);
      platform().message(this, qs(kRecentMissingMessage) + '"' + path + '"', Icon::Information);
      return;
    }
    if (!maybeSave()) return;
    txtPath->setText(path);
    readShownPath();
  });
}

void frmMain::openFileDialog() {
  guarded(this, [this] {
    const auto chosen = askOpenFile(this, openOptions(kOpenTitle, kOpenFilter, "mld", kOpenKey, documentPath_));
    if (!chosen || !maybeSave()) return;
    // Only the path is taken: the file is read when the user presses "解析". Until then the
    // information part shows nothing, rather than the previous file's beside the new path.
    txtPath->setText(*chosen);
    ClearInfoPart();
  });
}

void frmMain::importMidiFile() {
  guarded(this, [this] {
    const auto chosen =
        askOpenFile(this, openOptions(kImportTitle, kImportFilter, "mid", kImportKey, documentPath_));
    if (!chosen || !maybeSave()) return;
    // A long file takes a while to convert: the window keeps answering meanwhile, and a
    // キャンセル leaves the document on show as it was.
    DocumentSession incoming;
    smf::ImportSummary summary;
    const auto path = toNativePath(*chosen);
    if (!runWithProgress(this, "dlgImportProgress", qs(TKT("TONEKIT", "MIDIファイルから作成")), qs(TKT("TONEKIT", "MIDIファイルから作成しています…")),
                         [&](const std::atomic<bool>&) { summary = incoming.importMidi(path); })) {
      platform().message(this, qs(TKT("TONEKIT", "MIDIファイルからの作成を中止しました。表示中の内容はそのままです。")), Icon::Information);
      return;
    }
    // The document on show stays until the new one is made.
    ClearInfoPart();
    session_ = std::move(incoming);
    showLoadedDocument();
    // No MLD file holds this document yet: the path box names none, and shows greyed where the
    // data came from.
    txtPath->clear();
    txtPath->setPlaceholderText(*chosen);
    documentPath_ = *chosen;
    markSaved();
    updateTitle();
    if (const std::string text = smf::summaryText(summary); !text.empty())
      platform().message(this, qs(kImportSummary) + QString::fromStdString(text), Icon::Information);
  });
}

void frmMain::ClearInfoPart() {
  for (InfoRow& r : rows_) {
    r.check->setChecked(false);
    r.editor->setEnabled(false);
    if (r.text) r.text->setText(qs(r.initialText));
    r.loadedText.reset();
    r.loadedChoice.reset();
  }
  optSorcPat[0]->setChecked(true);
  optNoteLen[0]->setChecked(true);
  cmdOtherChunks->setEnabled(false);
  lblAudioChunks->clear();
  txtPath->setPlaceholderText({});
  cmdSave->setEnabled(false);
  mnuFileSave->setEnabled(false);
  mnuFileOverwrite->setEnabled(false);
  // The track button goes with the save button: both need a loaded file.
  setTrackEditingEnabled(false);
}

void frmMain::LoadMLDFile() {
  if (!maybeSave()) return;
  readShownPath();
}

void frmMain::readShownPath() {
  bool read = false;
  guarded(this, [&] {
    ClearInfoPart();
    const QString path = txtPath->text();
    if (path.isEmpty() || !isRegularFile(toFsPath(path))) {
      platform().message(this, qs(kNoFileMessage) + '"' + path + '"', Icon::Information);
      return;
    }
    Playback::instance().stop();
    PlatformMessages messages(this);
    // An incomplete read still shows what it found; the save refuses such a document.
    session_.open(toNativePath(path), &messages);
    read = true;
    if (const std::size_t trailing = session_.document().trailingBytes())
      platform().message(this, qs(kTrailingHead) + QString::number(trailing) + qs(kTrailingReadTail), Icon::Information);
    showLoadedDocument();
    documentPath_ = path;
    markSaved();
    settings::addRecentFile(path);
  });
  if (!read) {
    // Nothing of the file before may look like the one named now.
    session_.close();
    clearHeaderFrame();
  }
  updateTitle();
}

void frmMain::clearHeaderFrame() {
  txtMLDFileLength->clear();
  txtMLDLengthToTrac->clear();
  lblMajorRaw->clear();
  // An exclusive group keeps one option checked: each lets go for the moment.
  for (QRadioButton* b : fraFileHead->findChildren<QRadioButton*>()) {
    QButtonGroup* group = b->group();
    if (group) group->setExclusive(false);
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
    if (group) group->setExclusive(true);
  }
}

void frmMain::showLoadedDocument() {
  loadHeaderAndChunks();
  cmdSave->setEnabled(true);
  mnuFileSave->setEnabled(true);
  mnuFileOverwrite->setEnabled(true);
  if (expert_) setTrackEditingEnabled(true);
}

void frmMain::loadHeaderAndChunks() {
  const clsMLD& doc = session_.document();
  const info::HeaderFacts facts = info::headerFacts(doc);
  txtMLDFileLength->setText(QString::number(facts.fileLength));
  txtMLDLengthToTrac->setText(QString::number(facts.lengthToTrac));

  if (const auto choice = info::trackCountChoice(facts.trackCount))
    optTracCount[static_cast<std::size_t>(*choice)]->setChecked(true);
  else
    platform().message(this, qs(kTracCountMessage), Icon::None);
  lblMajorRaw->clear();
  if (const auto choice = info::majorChoice(facts.majorType)) {
    optMajor[static_cast<std::size_t>(*choice)]->setChecked(true);
  } else {
    // Neither option is this type: the one of the file before must not stay selected.
    grpMajor->setExclusive(false);
    for (QRadioButton* b : optMajor) b->setChecked(false);
    grpMajor->setExclusive(true);
    lblMajorRaw->setText(QString("(%1)").arg(facts.majorType));
    // The later versions' types are known: only a type nobody defined is worth a word.
    if (!info::laterMajorType(facts.majorType)) platform().message(this, qs(kMajorMessage), Icon::None);
  }
  if (const auto choice = info::minorChoice(facts.minorType))
    optMiner[static_cast<std::size_t>(*choice)]->setChecked(true);
  else
    platform().message(this, qs(kMinorMessage), Icon::None);

  cmdOtherChunks->setEnabled(!doc.MLDOtherChunks.empty() || !doc.MLDAudioChunks.empty());
  lblAudioChunks->setText(frmOtherChunks::audioSummary(doc));

  for (InfoRow& r : rows_) {
    if (!doc.enabled(r.tag)) continue;
    const ByteString& value = doc.value(r.tag);
    r.check->setChecked(true);
    if (r.text) {
      r.loadedText.emplace(value);
      r.text->setText(QString::fromStdString(r.loadedText->text()));
      continue;
    }
    if (std::string_view(r.tag) == "note") {
      optNoteLen[info::noteLengthOfChunk(value) == 4 ? 1 : 0]->setChecked(true);
    } else {  // "sorc"
      const info::SorcFlags flags = info::decodeSorc(value);
      if (flags.source) optSorcIn[static_cast<std::size_t>(*flags.source)]->setChecked(true);
      optSorcPat[flags.copyrighted ? 1 : 0]->setChecked(true);
    }
    r.loadedChoice.emplace(value, shownChoice(r));
  }
}

ByteString frmMain::shownChoice(const InfoRow& r) const {
  if (std::string_view(r.tag) == "note") return info::noteValue(optNoteLen[0]->isChecked() ? 3 : 4);
  info::SorcFlags flags;
  if (optSorcIn[1]->isChecked()) flags.source = info::Source::TerminalInput;
  if (optSorcIn[2]->isChecked()) flags.source = info::Source::ExternalInterface;
  flags.copyrighted = !optSorcPat[0]->isChecked();
  return info::encodeSorc(flags);
}

ByteString frmMain::valueToSave(const InfoRow& r) const {
  if (r.text) {
    const std::string text = r.text->text().toStdString();
    return r.loadedText ? r.loadedText->bytesFor(text) : encodeCp932(text).bytes;
  }
  const ByteString shown = shownChoice(r);
  return r.loadedChoice ? r.loadedChoice->bytesFor(shown, shown) : shown;
}

void frmMain::SaveMLDFile() { saveDocument(); }

bool frmMain::readyToSave() {
  if (!session_.hasDocument()) {
    guarded(this, [] { throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(ファイルを読み込んでいません)")); }, true);
    return false;
  }
  if (!session_.document().readComplete()) {
    platform().message(this, qs(kIncompleteSaveMessage), Icon::Information);
    return false;
  }
  // Characters the code page lacks would be written as "?": the user decides first. A text left
  // as loaded goes back as its own bytes, so only edited texts can lose a character.
  QList<QPair<QString, QString>> edited;
  for (const InfoRow& r : rows_)
    if (r.text && r.check->isChecked() && !(r.loadedText && r.loadedText->keeps(r.text->text().toStdString())))
      edited.append({r.label->text().remove(" :"), r.text->text()});
  if (!confirmUnencodable(this, edited)) return false;
  if (const std::size_t trailing = session_.document().trailingBytes()) {
    const QString question = qs(kTrailingHead) + QString::number(trailing) + qs(kTrailingSaveTail);
    if (platform().message(this, question, Icon::Question, Buttons::OkCancel) != Answer::Ok) return false;
    session_.document().dropTrailingBytes();
  }
  return true;
}

bool frmMain::saveDocument() {
  if (!readyToSave()) return false;
  const auto chosen = askSaveFile(this, fileDialogOptions(qs(kSaveTitle), qs(kSaveFilter), "mld", kSaveKey, documentPath_));
  if (!chosen) return false;
  return writeDocument(*chosen);
}

void frmMain::overwriteFile() {
  if (savedFile().isEmpty()) {
    // No file holds the document yet (a MIDI import): the user names one.
    saveDocument();
    return;
  }
  if (readyToSave()) writeDocument(savedFile());
}

bool frmMain::writeDocument(const QString& path) {
  // Over the file in hand, the save lands on that very file or nowhere: a file put under its
  // name since (another program's save, a swapped link) is refused, as the command line does.
  const bool overRead = !savedFile().isEmpty() && session_.holdsFile(toNativePath(path));
  const QString target = overRead ? savedFile() : path;
  const bool wasNeverSaved = session_.neverSaved();
  const bool saved = guarded(
      this,
      [&] {
        for (const char* tag : {"copy", "date", "exst", "note", "prot", "sorc", "titl", "vers"}) {
          const InfoRow& r = row(tag);
          if (r.check->isChecked())
            session_.setChunk(tag, valueToSave(r));
          else
            session_.disableChunk(tag);
        }
        session_.saveAs(toNativePath(target));
      },
      true);
  if (!saved) return false;
  documentPath_ = target;
  if (wasNeverSaved) {
    // The new document now lives in the file just written.
    txtPath->setText(target);
    txtPath->setPlaceholderText({});
  }
  markSaved();
  settings::addRecentFile(target);
  statusBar()->showMessage(qs(TKT("TONEKIT", "保存しました: ")) + target + " (" + QString::number(QFileInfo(target).size()) +
                           qs(TKT("TONEKIT", " バイト)")));
  updateTitle();
  return true;
}

QString frmMain::savedFile() const { return session_.file().empty() ? QString() : fromFsPath(session_.file()); }

QString frmMain::documentName() const {
  if (!savedFile().isEmpty()) return QFileInfo(savedFile()).fileName();
  // A document made from a MIDI file is the MLD file it is going to be.
  if (session_.neverSaved() && !documentPath_.isEmpty()) return QFileInfo(documentPath_).completeBaseName() + ".mld";
  return documentPath_.isEmpty() ? qs(kAppName) : QFileInfo(documentPath_).fileName();
}

void frmMain::updateTitle() {
  const bool named = session_.hasDocument() && (!savedFile().isEmpty() || session_.neverSaved());
  setWindowTitle(named ? documentName() + "[*] - " + qs(kAppName) : qs(kAppName));
  updateModifiedMark();
}

void frmMain::updateModifiedMark() {
  setWindowModified(windowTitle().contains("[*]") && isModified());
}

QString frmMain::shownState() const {
  QStringList parts;
  for (const InfoRow& r : rows_) {
    parts << (r.check->isChecked() ? "1" : "0");
    if (r.text) parts << r.text->text();
  }
  for (const QRadioButton* option : {optSorcIn[0], optSorcIn[1], optSorcIn[2], optSorcPat[0], optSorcPat[1],
                                     optNoteLen[0], optNoteLen[1]})
    parts << (option->isChecked() ? "1" : "0");
  return parts.join(QChar(0x1f));
}

void frmMain::markSaved() {
  // The session marks its tracks itself when it opens, imports or saves.
  savedState_ = shownState();
  updateModifiedMark();
}

bool frmMain::isModified() const {
  if (!session_.hasDocument() || !cmdSave->isEnabled()) return false;
  return session_.isModified() || shownState() != savedState_;
}

bool frmMain::maybeSave() {
  if (!isModified()) return true;
  switch (askToSaveChanges(this, qs(kUnsavedHead) + documentName() + qs(kUnsavedTail))) {
    case Answer::Save: return saveDocument();
    case Answer::Discard: return true;
    default: return false;
  }
}

void frmMain::closeEvent(QCloseEvent* event) {
  if (!maybeSave()) {
    event->ignore();
    return;
  }
  settings::rememberPlace(*this);
  event->accept();
}

void frmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Back from the track view, perhaps with a changed track.
  updateModifiedMark();
}

void frmMain::SetNormalLayout() { applyLayout(false); }

void frmMain::SetExpertLayout() { applyLayout(true); }

void frmMain::applyLayout(bool expert) {
  cmdActionChange->setText(expert ? "To Normal" : "To Expert");
  fraFileHead->setVisible(expert);
  placeTwips(fraInfomationPart, kFrameLeft, expert ? kInfoTopExpert : kInfoTopNormal, kFrameWidth,
             expert ? kInfoHeightExpert : kInfoHeightNormal);
  // The track buttons come back only with a file to edit.
  if (!expert)
    setTrackEditingEnabled(false);
  else if (cmdSave->isEnabled())
    setTrackEditingEnabled(true);
  // The title row stays in both layouts.
  for (InfoRow& r : rows_) {
    if (!expert && std::string_view(r.tag) == "titl") continue;
    r.check->setVisible(expert);
    r.label->setVisible(expert);
    r.editor->setVisible(expert);
  }
  // The page holds the controls to the right edge of the frames and the bottom of the information
  // frame: at the classic size the menu bar, the page and the status bar fit without scrolling.
  const int pageBottom = expert ? kInfoTopExpert + kInfoHeightExpert : kInfoTopNormal + kInfoHeightNormal;
  scrollPage()->setMinimumSize(twipsToPixelsX(kFrameLeft + kFrameWidth, this), twipsToPixels(pageBottom, this));
  // The window starts at the classic size where the screen holds it, and may shrink and grow.
  setMinimumSize(twipsToPixelsX(kWindowWidth / 3, this), twipsToPixels(kNormalHeight / 2, this));
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (!isMaximized() && !isFullScreen()) {
    QSize size(twipsToPixelsX(kWindowWidth, this), twipsToPixels(expert ? kExpertHeight : kNormalHeight, this));
    if (const QScreen* shown = screen()) {
      const QSize frame = frameGeometry().size() - geometry().size();
      size = size.boundedTo(shown->availableGeometry().size() - frame);
    }
    resize(size);
  }
  expert_ = expert;
}

void frmMain::toggleLayout() {
  guarded(this, [this] {
    if (expert_)
      SetNormalLayout();
    else
      SetExpertLayout();
    settings::setExpertLayout(expert_);
  });
}

void frmMain::showVersion() {
  guarded(this, [this] {
    frmVersion version(this);
    platform().execDialog(version);
  });
}

void frmMain::showOtherChunks() {
  guarded(this, [this] {
    if (!session_.hasDocument()) return;
    frmOtherChunks chunks(session_.document(), this);
    platform().execDialog(chunks);
  });
}

void frmMain::setTrackEditingEnabled(bool on) {
  // The menu item goes with the button: after a failed load neither may open the tracks of the
  // document before it.
  cmdTrac->setEnabled(on);
  mnuShowTracData->setEnabled(on);
}

void frmMain::openTrackView() {
  if (!cmdTrac->isEnabled()) return;
  guarded(this, [&] {
    if (trackViewOpener) trackViewOpener(*this);
  });
}

void frmMain::openListView() {
  guarded(this, [&] {
    if (listViewOpener) listViewOpener(*this);
  });
}

bool frmMain::carriesFiles(const QMimeData* mime) {
  if (!mime || !mime->hasUrls()) return false;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile()) return true;
  return false;
}

void frmMain::acceptDroppedUrls(const QList<QUrl>& urls) {
  // A drop never interrupts the user: whatever goes wrong, the path box stays as it was.
  try {
    for (const QUrl& url : urls) {
      if (!url.isLocalFile()) continue;
      txtPath->setText(url.toLocalFile());
      return;
    }
  } catch (...) {
  }
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (carriesFiles(event->mimeData())) event->acceptProposedAction();
}

void frmMain::dragMoveEvent(QDragMoveEvent* event) {
  if (carriesFiles(event->mimeData())) event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
  if (!carriesFiles(event->mimeData())) return;
  acceptDroppedUrls(event->mimeData()->urls());
  event->acceptProposedAction();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (!carriesFiles(drag->mimeData())) break;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      if (!carriesFiles(drop->mimeData())) break;
      acceptDroppedUrls(drop->mimeData()->urls());
      drop->acceptProposedAction();
      return true;
    }
    default: break;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace tonekit::ui
