// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "track_editor/ui/frmExtendEdit.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <vector>

#include "track_editor/ExtendStatus.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "track_editor/TrackRows.h"
#include "base/Translate.h"

namespace tonekit::ui {

using extend::Field;
using extend::Options;
using extend::Panel;

namespace {

constexpr const char* kPanelNames[extend::kMenuItemCount] = {
    "fraMasterBolume", "fraVolume",   "fraStereo", "fraChangeVolume", "fraChanel",     "fraSound",
    "fraTempo",        "fraDramScale", "fraNOP",   "fraLoopPoint",    "fraEndOfTrack", "fraPlayPosition",
};
constexpr const char* kPanelCaptions[extend::kMenuItemCount] = {
    TKN("TONEKIT", "マスターボリューム"), TKN("TONEKIT", "音量"), TKN("TONEKIT", "ステレオバランス"), TKN("TONEKIT", "ボリュームの相対変化"), TKN("TONEKIT", "チャンネル割り当て"), TKN("TONEKIT", "音色"),
    TKN("TONEKIT", "テンポ"), TKN("TONEKIT", "ドラムスケール変更"), "NOP", TKN("TONEKIT", "ループポイント"), "EndOfTrack", TKN("TONEKIT", "演奏位置情報"),
};
constexpr const char* kMenuCaptions[extend::kMenuItemCount] = {
    TKN("TONEKIT", "マスターボリューム"), TKN("TONEKIT", "音量"), TKN("TONEKIT", "ステレオバランス"), TKN("TONEKIT", "ボリューム相対変化"), TKN("TONEKIT", "チャンネル割り当て"), TKN("TONEKIT", "音色"),
    TKN("TONEKIT", "テンポ"), TKN("TONEKIT", "ドラムスケール変更"), "NOP", TKN("TONEKIT", "ループポイント"), "EndOfTrack", TKN("TONEKIT", "演奏位置情報"),
};
constexpr const char* kFieldNames[extend::kFieldCount] = {
    "txtDeltaTime", "txtMasterVolume", "txtDramChanel", "txtTempo",      "txtLoopID",
    "txtLoopCount", "txtNotePart",     "txtGMNote",     "txtVolumePart", "txtVolume",
    "txtStreaoPart", "txtBalance",     "txtChanelPart", "txtChanel",     "txtChangeVolumePart",
    "txtChangeValue",
};
constexpr const char* kOptionNames[extend::kOptionGroupCount] = {"optDramScale", "optTempo", "optPlayPosition",
                                                                 "optLoopPoint", "optSound"};

const char* panelName(Panel panel) { return kPanelNames[static_cast<int>(panel)]; }
const char* fieldName(Field field) { return kFieldNames[static_cast<int>(field)]; }

// Option i of the tempo panel: the timebase of the i-th tempo value.
std::string tempoCaption(int index) {
  const auto first = events::firstValueOf(events::Fields::Tempo);
  const auto timebase = events::tempoTimebase(static_cast<std::uint8_t>(first + index));
  return timebase ? std::to_string(*timebase) : "N/A";
}

// The classic form is 2880 × 5200 twips outside; title bar, menu bar and borders take 640 of the
// height and about 100 of the width, which leaves this client area below the menu bar.
constexpr int kClientWidth = 2775;
constexpr int kClientHeight = 4560;
constexpr int kPanelLeft = 120;
constexpr int kPanelTop = 120;
constexpr int kPanelWidth = 2535;
constexpr int kPanelHeight = 2175;
constexpr int kTempoPanelHeight = 2895;

QString u8(const char* text) { return QString::fromUtf8(text); }

QLabel* label(QWidget* parent, const char* text, int left, int top, int width) {
  auto* l = new QLabel(u8(text), parent);
  placeTwips(l, left, top, width, 255);
  return l;
}

}  // namespace

struct frmExtendEdit::Controls {
  QMenuBar* menuBar = nullptr;
  QWidget* client = nullptr;
  std::array<QAction*, extend::kMenuItemCount> mnuExtendOption{};
  std::array<QGroupBox*, extend::kMenuItemCount> panels{};
  std::array<QLineEdit*, extend::kFieldCount> fields{};
  std::array<QButtonGroup*, extend::kOptionGroupCount> groups{};
  QGroupBox* Frame1 = nullptr;
  QLabel* lblCaption = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;
  QLabel* lblChangeVolumeLevel = nullptr;  // what the relative volume change plays at

  std::uint8_t kind = 0;  // the extend-status value the panel shows
  bool editable = false;  // false: the event is not the editor's to change

  QGroupBox* panel(Panel p) const { return panels[static_cast<std::size_t>(p)]; }
  QLineEdit*& field(Field f) { return fields[static_cast<std::size_t>(f)]; }
  QButtonGroup*& group(Options g) { return groups[static_cast<std::size_t>(g)]; }

  QGroupBox* makePanel(Panel p) {
    auto* box = new QGroupBox(u8(translate(kTextContext, kPanelCaptions[static_cast<int>(p)])), client);
    box->setObjectName(panelName(p));
    // The panel covers the "cannot be analysed" caption beneath it.
    box->setAutoFillBackground(true);
    placeTwips(box, kPanelLeft, kPanelTop, kPanelWidth, p == Panel::Tempo ? kTempoPanelHeight : kPanelHeight);
    box->hide();
    panels[static_cast<std::size_t>(p)] = box;
    return box;
  }

  QLineEdit* makeField(QWidget* parent, Field f, int left, int top, int width = 615) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(fieldName(f));
    placeTwips(edit, left, top, width, 315);
    field(f) = edit;
    return edit;
  }

  // A captioned entry with its range beneath.
  void entryRow(QWidget* panel, int top, const char* caption, Field f, const char* range, int rangeLeft = 1080) {
    if (caption) label(panel, caption, 120, top + 30, 900);
    makeField(panel, f, 1080, top);
    label(panel, range, rangeLeft, top + 360, 2415 - rangeLeft);
  }

  void makeOptions(QWidget* panel, Options g, const std::vector<const char*>& captions,
                   const std::vector<std::array<int, 3>>& spots, int height = 300) {
    auto* buttons = new QButtonGroup(panel);
    for (std::size_t i = 0; i < captions.size(); ++i) {
      auto* opt = new QRadioButton(u8(captions[i]), panel);
      opt->setObjectName(kOptionNames[static_cast<int>(g)]);
      opt->setProperty("index", static_cast<int>(i));
      placeTwips(opt, spots[i][0], spots[i][1], spots[i][2], height);
      buttons->addButton(opt, static_cast<int>(i));
    }
    group(g) = buttons;
  }

  void setOption(Options g, int index) {
    QButtonGroup* buttons = group(g);
    if (QAbstractButton* b = buttons->button(index)) {
      b->setChecked(true);
      return;
    }
    // None selected: an exclusive group cannot clear itself.
    buttons->setExclusive(false);
    for (QAbstractButton* b : buttons->buttons()) b->setChecked(false);
    buttons->setExclusive(true);
  }

  extend::Entries entries() {
    extend::Entries e;
    for (int i = 0; i < extend::kFieldCount; ++i)
      e.text[static_cast<std::size_t>(i)] = fields[static_cast<std::size_t>(i)]->text().toStdString();
    for (int g = 0; g < extend::kOptionGroupCount; ++g)
      e.option[static_cast<std::size_t>(g)] = groups[static_cast<std::size_t>(g)]->checkedId();
    return e;
  }

  void show(const extend::Entries& e) {
    for (int i = 0; i < extend::kFieldCount; ++i)
      fields[static_cast<std::size_t>(i)]->setText(QString::fromStdString(e.text[static_cast<std::size_t>(i)]));
    for (int g = 0; g < extend::kOptionGroupCount; ++g)
      setOption(static_cast<Options>(g), e.option[static_cast<std::size_t>(g)]);
  }

  void showPanel(Panel p) {
    QGroupBox* box = panel(p);
    box->move(twipsToPixelsX(kPanelLeft, client), twipsToPixels(kPanelTop, client));
    box->show();
    box->raise();
  }
};

frmExtendEdit::frmExtendEdit(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Controls>()) {
  Controls& c = *ui_;
  setObjectName("frmExtendEdit");
  setWindowTitle(u8(TKT("TONEKIT", "拡張ステータス編集")));

  c.menuBar = new QMenuBar(this);
  c.menuBar->setNativeMenuBar(false);
  QMenu* mnuExtend = c.menuBar->addMenu(u8(TKT("TONEKIT", "拡張情報種別選択")));
  mnuExtend->setObjectName("mnuExtend");
  for (int i = 0; i < extend::kMenuItemCount; ++i) {
    auto* action = new QAction(u8(translate(kTextContext, kMenuCaptions[i])), this);
    action->setObjectName("mnuExtendOption");
    action->setProperty("index", i);
    mnuExtend->addAction(action);
    connect(action, &QAction::triggered, this, [this, i] { mnuExtendOption_Click(i); });
    c.mnuExtendOption[static_cast<std::size_t>(i)] = action;
  }

  c.client = new QWidget(this);
  c.client->setObjectName("client");

  // Beneath the panels: seen only when no panel is shown.
  c.lblCaption = label(c.client, TKT("TONEKIT", "解析できない拡張情報です"), 360, 1080, 2070);
  c.lblCaption->setObjectName("lblCaption");
  // Wider fonts than the classic one would cut the text at the given width; wrap it instead.
  c.lblCaption->setWordWrap(true);
  c.lblCaption->resize(c.lblCaption->width(), twipsToPixels(495, c.client));

  {
    QGroupBox* p = c.makePanel(Panel::MasterBolume);
    c.makeField(p, Field::MasterVolume, 120, 480);
    label(p, TKT("TONEKIT", "( 0 ～ 127 )"), 840, 510, 1400);
  }
  {
    QGroupBox* p = c.makePanel(Panel::Volume);
    c.entryRow(p, 360, TKT("TONEKIT", "パート"), Field::VolumePart, TKT("TONEKIT", "( 0 ～ 3 )"));
    c.entryRow(p, 1200, TKT("TONEKIT", "音量"), Field::Volume, TKT("TONEKIT", "( 0 ～ 63 )"));
  }
  {
    QGroupBox* p = c.makePanel(Panel::Stereo);
    c.entryRow(p, 360, TKT("TONEKIT", "パート"), Field::StreaoPart, TKT("TONEKIT", "( 0 ～ 3 )"));
    c.entryRow(p, 1200, TKT("TONEKIT", "バランス"), Field::Balance, TKT("TONEKIT", "( 0 ～ 63 )"));
  }
  {
    QGroupBox* p = c.makePanel(Panel::ChangeVolume);
    c.entryRow(p, 360, TKT("TONEKIT", "パート"), Field::ChangeVolumePart, TKT("TONEKIT", "( 0 ～ 3 )"));
    c.entryRow(p, 1200, TKT("TONEKIT", "相対変化"), Field::ChangeValue, TKT("TONEKIT", "( -32 ～ 31 )"));
    c.lblChangeVolumeLevel = label(p, "", 120, 1860, 2295);
    c.lblChangeVolumeLevel->setObjectName("lblChangeVolumeLevel");
    QLabel* level = c.lblChangeVolumeLevel;
    connect(c.field(Field::ChangeValue), &QLineEdit::textChanged, level, [level](const QString& text) {
      extend::Entries typed;
      typed[Field::ChangeValue] = text.toStdString();
      const auto shown = extend::relativeVolumeLevel(typed);
      level->setText(shown ? QString::fromStdString(relativeVolumeLevelText(*shown)) : QString());
    });
  }
  {
    QGroupBox* p = c.makePanel(Panel::Chanel);
    c.entryRow(p, 360, TKT("TONEKIT", "パート"), Field::ChanelPart, TKT("TONEKIT", "( 0 ～ 3 )"));
    c.entryRow(p, 1200, TKT("TONEKIT", "チャネル"), Field::Chanel, TKT("TONEKIT", "( 0 ～ 15 )"));
  }
  {
    QGroupBox* p = c.makePanel(Panel::Sound);
    c.entryRow(p, 300, TKT("TONEKIT", "パート"), Field::NotePart, TKT("TONEKIT", "( 0 ～ 3 )"));
    c.entryRow(p, 1020, TKT("TONEKIT", "GM音色"), Field::GMNote, TKT("TONEKIT", "( 0 ～ 63 Or 0 ～ 1 )"), 360);
    c.makeOptions(p, Options::Sound, {TKT("TONEKIT", "2～7Bit目"), TKT("TONEKIT", "1Bit目")}, {{{120, 1800, 1200}}, {{1320, 1800, 1100}}});
  }
  {
    QGroupBox* p = c.makePanel(Panel::Tempo);
    std::array<std::string, 16> timebases;
    std::vector<const char*> captions;
    std::vector<std::array<int, 3>> spots;
    // Two columns: the timebases of 6 × 2^i on the left, those of 15 × 2^i on the right.
    for (int i = 0; i < 16; ++i) {
      timebases[static_cast<std::size_t>(i)] = tempoCaption(i);
      captions.push_back(timebases[static_cast<std::size_t>(i)].c_str());
      spots.push_back({240 + (i / 8) * 1200, 300 + (i % 8) * 255, 1080});
    }
    c.makeOptions(p, Options::Tempo, captions, spots, 255);
    label(p, TKT("TONEKIT", "テンポ"), 120, 2430, 700);
    c.makeField(p, Field::Tempo, 840, 2400, 495);
    label(p, TKT("TONEKIT", "( 20 ～ 255 )"), 1380, 2430, 1140);
  }
  {
    QGroupBox* p = c.makePanel(Panel::DramScale);
    c.entryRow(p, 360, TKT("TONEKIT", "チャネル"), Field::DramChanel, TKT("TONEKIT", "( 0 ～15 )"));
    c.makeOptions(p, Options::DramScale, {"On", "Off"}, {{{120, 1320, 1000}}, {{1320, 1320, 1000}}});
  }
  {
    QGroupBox* p = c.makePanel(Panel::NOP);
    label(p, TKT("TONEKIT", "( 拡張ステータスなし )"), 240, 960, 2100);
  }
  {
    QGroupBox* p = c.makePanel(Panel::LoopPoint);
    c.entryRow(p, 300, TKT("TONEKIT", "ループＩＤ"), Field::LoopID, TKT("TONEKIT", "( 0 ～ 3 )"));
    c.entryRow(p, 1020, TKT("TONEKIT", "ループ回数"), Field::LoopCount, TKT("TONEKIT", "( 0 ～ 15 )"));
    c.makeOptions(p, Options::LoopPoint, {TKT("TONEKIT", "開始"), TKT("TONEKIT", "終了")}, {{{120, 1800, 1000}}, {{1320, 1800, 1000}}});
  }
  {
    QGroupBox* p = c.makePanel(Panel::EndOfTrack);
    label(p, TKT("TONEKIT", "( 拡張ステータスなし )"), 240, 960, 2100);
  }
  {
    QGroupBox* p = c.makePanel(Panel::PlayPosition);
    c.makeOptions(p, Options::PlayPosition, {TKT("TONEKIT", "演奏開始"), TKT("TONEKIT", "演奏終了")}, {{{240, 600, 2000}}, {{240, 1080, 2000}}});
  }

  c.Frame1 = new QGroupBox(c.client);
  c.Frame1->setObjectName("Frame1");
  placeTwips(c.Frame1, 120, 3120, 2535, 615);
  label(c.Frame1, TKT("TONEKIT", "Δタイム"), 120, 270, 1100);
  c.makeField(c.Frame1, Field::DeltaTime, 1320, 240, 1095);

  c.cmdOK = new QPushButton(QString("Ok"), c.client);
  c.cmdOK->setObjectName("cmdOK");
  c.cmdOK->setDefault(true);
  placeTwips(c.cmdOK, 120, 3960, 1215, 495);
  c.cmdCancel = new QPushButton(QString("Cancel"), c.client);
  c.cmdCancel->setObjectName("cmdCancel");
  c.cmdCancel->setAutoDefault(false);
  placeTwips(c.cmdCancel, 1440, 3960, 1215, 495);
  connect(c.cmdOK, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
  connect(c.cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
  // Esc and the close box end in reject() as Cancel does; Edit stays false.

  layOut();
}

frmExtendEdit::~frmExtendEdit() = default;

void frmExtendEdit::layOut() {
  Controls& c = *ui_;
  const int menuHeight = c.menuBar->sizeHint().height();
  const int width = twipsToPixelsX(kClientWidth, this);
  const int height = twipsToPixels(kClientHeight, this);
  c.menuBar->setGeometry(0, 0, width, menuHeight);
  c.client->setGeometry(0, menuHeight, width, height);
  setFixedSize(width, menuHeight + height);
}

void frmExtendEdit::Load() {
  guarded(this, [this] {
    Controls& c = *ui_;
    layOut();
    const extend::Unpacked event = extend::unpack(NoteData, c.entries());
    c.show(event.entries);
    c.kind = event.kind;
    c.editable = event.editable;
    if (c.editable) {
      c.showPanel(*extend::panelOf(c.kind));
    } else {
      // Not ours to change: no panel, no Ok, no Cancel; only closing the window is left.
      c.cmdOK->hide();
      c.cmdCancel->hide();
    }
  });
}

void frmExtendEdit::mnuExtendOption_Click(int item) {
  // Hiding cannot go wrong in a way that matters; the new panel is what counts.
  for (QGroupBox* panel : ui_->panels) panel->hide();
  guarded(this, [this, item] {
    Controls& c = *ui_;
    extend::Entries entries = c.entries();
    c.kind = extend::chooseMenuItem(item, entries);
    c.show(entries);
    c.showPanel(static_cast<Panel>(item));
  });
}

void frmExtendEdit::cmdOk_Click() {
  guarded(this, [this] {
    Controls& c = *ui_;
    // The button is hidden for events the editor does not own; should it be pressed all the
    // same, the event stays exactly as it came.
    if (!c.editable) return;
    const extend::Entries entries = c.entries();
    if (const auto rejected = extend::validate(c.kind, entries)) {
      platform().message(this, QString::fromStdString(rejected->message), Icon::Information);
      QLineEdit* field = c.field(rejected->field);
      field->setFocus();
      field->selectAll();
      return;
    }
    if (extend::silencesPart(c.kind, entries) &&
        platform().message(this, u8(extend::kSilencesPartQuestion), Icon::Question, Buttons::OkCancel) != Answer::Ok)
      return;
    const ByteString packed = extend::pack(NoteData, c.kind, entries);
    c.kind = packed[2];
    NoteData = packed;
    Edit = true;
    accept();
  });
}

void frmExtendEdit::cmdCancel_Click() { reject(); }

}  // namespace tonekit::ui
