// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include <gtest/gtest.h>

#include "base/Failure.h"
#include "track_editor/ExtendStatus.h"

using namespace tonekit;
using namespace tonekit::extend;

namespace {

ByteString ev(std::uint8_t delta, std::uint8_t value, std::uint8_t d) { return {delta, 0xFF, value, d}; }

// Unpacks, lets the test change entries, validates and packs: the dialog's Ok without the window.
struct Edit {
  ByteString event;
  std::uint8_t kind;
  Entries entries;

  explicit Edit(ByteString e) : event(std::move(e)) {
    const Unpacked u = unpack(event);
    kind = u.kind;
    entries = u.entries;
  }
  std::optional<Rejection> check() const { return validate(kind, entries); }
  ByteString ok() const {
    EXPECT_FALSE(check().has_value()) << check()->message;
    return pack(event, kind, entries);
  }
};

std::string rejectionOf(const Edit& e) {
  const auto r = e.check();
  return r ? std::to_string(static_cast<int>(r->field)) + " " + r->message : "";
}

// The rejection as rejectionOf spells it.
std::string said(Field field, const std::string& message) { return std::to_string(static_cast<int>(field)) + " " + message; }

}  // namespace

TEST(ExtendStatus, KindsWithAndWithoutPanel) {
  EXPECT_EQ(panelOf(0xB0), Panel::MasterBolume);
  EXPECT_EQ(panelOf(0xB2), Panel::DramScale);
  for (int v = 0xC0; v <= 0xCF; ++v) EXPECT_EQ(panelOf(static_cast<std::uint8_t>(v)), Panel::Tempo);
  EXPECT_EQ(panelOf(0xD0), Panel::PlayPosition);
  EXPECT_EQ(panelOf(0xDD), Panel::LoopPoint);
  EXPECT_EQ(panelOf(0xDE), Panel::NOP);
  EXPECT_EQ(panelOf(0xDF), Panel::EndOfTrack);
  EXPECT_EQ(panelOf(0xE0), Panel::Sound);
  EXPECT_EQ(panelOf(0xE1), Panel::Sound);
  EXPECT_EQ(panelOf(0xE2), Panel::Volume);
  EXPECT_EQ(panelOf(0xE3), Panel::Stereo);
  EXPECT_EQ(panelOf(0xE5), Panel::Chanel);
  EXPECT_EQ(panelOf(0xE6), Panel::ChangeVolume);
  for (int v : {0x00, 0xB1, 0xB3, 0xD1, 0xDC, 0xE4, 0xE7, 0xF0, 0xF1, 0xFF}) EXPECT_FALSE(panelOf(static_cast<std::uint8_t>(v)));
  // The menu items switch to the kinds of the panels in the same order.
  for (int i = 0; i < kMenuItemCount; ++i) {
    Entries e;
    EXPECT_EQ(panelOf(chooseMenuItem(i, e)), static_cast<Panel>(i)) << i;
  }
  EXPECT_THROW({ Entries e; chooseMenuItem(12, e); }, Failure);
}

TEST(ExtendStatus, UnpacksEveryPanel) {
  auto u = unpack(ev(12, 0xB0, 200));
  EXPECT_TRUE(u.editable);
  EXPECT_EQ(u.entries[Field::DeltaTime], "12");
  EXPECT_EQ(u.entries[Field::MasterVolume], "200");

  u = unpack(ev(0, 0xB2, 0x49));
  EXPECT_EQ(u.entries[Field::DramChanel], "9");
  EXPECT_EQ(u.entries[Options::DramScale], 0);  // On
  EXPECT_EQ(unpack(ev(0, 0xB2, 0xFE)).entries[Options::DramScale], 1);  // bit 7 and 2-1 ignored, Off
  EXPECT_EQ(unpack(ev(0, 0xB2, 0xFE)).entries[Field::DramChanel], "15");

  u = unpack(ev(0, 0xC3, 0x78));
  EXPECT_EQ(u.entries[Options::Tempo], 3);
  EXPECT_EQ(u.entries[Field::Tempo], "120");
  EXPECT_EQ(unpack(ev(0, 0xCF, 0)).entries[Options::Tempo], 15);

  EXPECT_EQ(unpack(ev(0, 0xD0, 0)).entries[Options::PlayPosition], 0);
  EXPECT_EQ(unpack(ev(0, 0xD0, 1)).entries[Options::PlayPosition], 1);
  EXPECT_EQ(unpack(ev(0, 0xD0, 2)).entries[Options::PlayPosition], -1);

  u = unpack(ev(0, 0xDD, 0x4D));
  EXPECT_EQ(u.entries[Field::LoopID], "1");
  EXPECT_EQ(u.entries[Field::LoopCount], "3");
  EXPECT_EQ(u.entries[Options::LoopPoint], 1);
  u = unpack(ev(0, 0xDD, 0x07));  // bits 1-0 are 11: start, not end
  EXPECT_EQ(u.entries[Field::LoopID], "0");
  EXPECT_EQ(u.entries[Field::LoopCount], "1");
  EXPECT_EQ(u.entries[Options::LoopPoint], 0);

  EXPECT_TRUE(unpack(ev(0, 0xDE, 0x55)).editable);
  EXPECT_TRUE(unpack(ev(0, 0xDF, 0)).editable);

  u = unpack(ev(0, 0xE0, 0xBF));
  EXPECT_EQ(u.entries[Field::NotePart], "2");
  EXPECT_EQ(u.entries[Field::GMNote], "63");
  EXPECT_EQ(u.entries[Options::Sound], 0);
  u = unpack(ev(0, 0xE1, 0xBF));  // bits 5-1 ignored
  EXPECT_EQ(u.entries[Field::NotePart], "2");
  EXPECT_EQ(u.entries[Field::GMNote], "1");
  EXPECT_EQ(u.entries[Options::Sound], 1);

  u = unpack(ev(0, 0xE2, 0xA8));
  EXPECT_EQ(u.entries[Field::VolumePart], "2");
  EXPECT_EQ(u.entries[Field::Volume], "40");
  u = unpack(ev(0, 0xE3, 0x7F));
  EXPECT_EQ(u.entries[Field::StreaoPart], "1");
  EXPECT_EQ(u.entries[Field::Balance], "63");
  u = unpack(ev(0, 0xE5, 0x3F));
  EXPECT_EQ(u.entries[Field::ChanelPart], "0");
  EXPECT_EQ(u.entries[Field::Chanel], "63");

  u = unpack(ev(0, 0xE6, 0xA0));
  EXPECT_EQ(u.entries[Field::ChangeVolumePart], "2");
  EXPECT_EQ(u.entries[Field::ChangeValue], "-1");
  EXPECT_EQ(unpack(ev(0, 0xE6, 0x3F)).entries[Field::ChangeValue], "-32");
  EXPECT_EQ(unpack(ev(0, 0xE6, 0x1F)).entries[Field::ChangeValue], "31");
  EXPECT_EQ(unpack(ev(0, 0xE6, 0x85)).entries[Field::ChangeValue], "5");
}

// The entry is a signed step, the byte plays as a level: "+31" is 31, "-1" 32, "0" silence.
TEST(ExtendStatus, RelativeChangeEntryNamesTheLevelItPlaysAt) {
  Entries e;
  for (const auto& [text, level] : std::vector<std::pair<std::string, std::optional<int>>>{
           {"31", 31}, {"-1", 32}, {"-32", 63}, {"0", 0}, {"0.4", 0}, {"32", std::nullopt}, {"x", std::nullopt}}) {
    e[Field::ChangeValue] = text;
    EXPECT_EQ(relativeVolumeLevel(e), level) << text;
  }
  e[Field::ChangeValue] = "0";
  e[Field::Volume] = "0";
  EXPECT_TRUE(silencesPart(0xE6, e));
  EXPECT_FALSE(silencesPart(0xE2, e));
  e[Field::ChangeValue] = "-1";
  EXPECT_FALSE(silencesPart(0xE6, e));
}

TEST(ExtendStatus, UnpackFillsOnlyTheKindsFields) {
  Entries before;
  before[Field::Tempo] = "kept";
  before[Field::Volume] = "also kept";
  const auto u = unpack(ev(5, 0xE3, 0x41), before);
  EXPECT_EQ(u.entries[Field::Tempo], "kept");
  EXPECT_EQ(u.entries[Field::Volume], "also kept");
  EXPECT_EQ(u.entries[Field::Balance], "1");
}

TEST(ExtendStatus, PacksTheWorkedExamples) {
  Edit volume(ev(0, 0xE2, 0));
  volume.entries[Field::VolumePart] = "2";
  volume.entries[Field::Volume] = "40";
  EXPECT_EQ(volume.ok(), ev(0, 0xE2, 0xA8));

  Edit change(ev(0, 0xE6, 0));
  change.entries[Field::ChangeVolumePart] = "2";
  change.entries[Field::ChangeValue] = "-1";
  EXPECT_EQ(change.ok(), ev(0, 0xE6, 0xA0));
  change.entries[Field::ChangeValue] = "5";
  EXPECT_EQ(change.ok(), ev(0, 0xE6, 0x85));

  Edit voice(ev(0, 0xE0, 0));
  voice.entries[Field::NotePart] = "2";
  voice.entries[Field::GMNote] = "1";
  voice.entries[Options::Sound] = 1;
  EXPECT_EQ(voice.ok(), ev(0, 0xE1, 0x83));

  Edit loop(ev(0, 0xDD, 0));
  loop.entries[Field::LoopID] = "1";
  loop.entries[Field::LoopCount] = "3";
  loop.entries[Options::LoopPoint] = 1;
  EXPECT_EQ(loop.ok(), ev(0, 0xDD, 0x4D));

  Edit drum(ev(0, 0xB2, 0));
  drum.entries[Field::DramChanel] = "9";
  drum.entries[Options::DramScale] = 0;
  EXPECT_EQ(drum.ok(), ev(0, 0xB2, 0x49));

  Edit tempo(ev(0, 0xC0, 100));
  tempo.entries[Field::Tempo] = "120";
  tempo.entries[Options::Tempo] = 3;
  EXPECT_EQ(tempo.ok(), ev(0, 0xC3, 0x78));
}

TEST(ExtendStatus, UnchangedEntriesRepackTheSameBytes) {
  // Every data byte of every kind whose fields cover it comes back as it was (status byte too).
  for (int v : {0xB0, 0xC4, 0xCF, 0xE0, 0xE2, 0xE3, 0xE6}) {
    for (int d = 0; d < 256; ++d) {
      const ByteString e{7, 0xFF, static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(d)};
      Edit edit(e);
      if (edit.check()) continue;  // out-of-range fields such as tempo below 20
      EXPECT_EQ(edit.ok(), e) << std::hex << v << " " << d;
    }
  }
  // Status bytes other than 0xFF pass through.
  EXPECT_EQ(Edit(ByteString{1, 0xBF, 0xE2, 0x41}).ok(), (ByteString{1, 0xBF, 0xE2, 0x41}));
}

TEST(ExtendStatus, PackingEdgeCases) {
  EXPECT_EQ(Edit(ev(0, 0xE1, 0x01)).ok(), ev(0, 0xE1, 0x03));  // bit 1 set on every write
  EXPECT_EQ(Edit(ev(0, 0xD0, 2)).ok(), ev(0, 0xD0, 2));        // neither option: d stays
  EXPECT_EQ(Edit(ev(3, 0xDE, 0x99)).ok(), ev(3, 0xDE, 0x99));
  EXPECT_EQ(Edit(ev(3, 0xDF, 0x42)).ok(), ev(3, 0xDF, 0x42));
  // 00, 10 and 11 all read as start, and are written back as start (bits 1-0 = 00).
  EXPECT_EQ(Edit(ev(0, 0xDD, 0x07)).ok(), ev(0, 0xDD, 0x04));

  Edit change(ev(0, 0xE6, 0));
  for (auto [text, d] : {std::pair{"0", 0x00}, {"-32", 0x3F}, {"31", 0x1F}}) {
    change.entries[Field::ChangeValue] = text;
    EXPECT_EQ(change.ok()[3], d) << text;
  }

  Edit tempo(ev(0, 0xC0, 100));
  tempo.entries[Field::Tempo] = "20.5";  // passes, stored as the even 20
  EXPECT_EQ(tempo.ok()[3], 20);
  tempo.entries[Options::Tempo] = -1;  // no timebase selected: the value stays
  EXPECT_EQ(tempo.ok()[2], 0xC0);

  Edit loop(ev(0, 0xDD, 0));
  loop.entries[Field::LoopID] = "2.5";  // scaled first: 160
  EXPECT_EQ(loop.ok()[3], 160);
  const auto back = unpack(loop.ok());
  EXPECT_EQ(back.entries[Field::LoopID], "2");
  EXPECT_EQ(back.entries[Field::LoopCount], "8");

  Edit delta(ev(0, 0xDE, 0));
  delta.entries[Field::DeltaTime] = " 254.6 ";
  EXPECT_EQ(delta.ok()[0], 255);
}

TEST(ExtendStatus, MasterVolumeIsConvertedNotChecked) {
  Edit mv(ev(0, 0xB0, 0));
  mv.entries[Field::MasterVolume] = "255";
  EXPECT_EQ(mv.ok()[3], 255);  // beyond the label's 127, still a byte
  mv.entries[Field::MasterVolume] = "256";
  EXPECT_FALSE(mv.check());
  try {
    pack(mv.event, mv.kind, mv.entries);
    FAIL();
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), err::Overflow);
  }
  mv.entries[Field::MasterVolume] = "";
  try {
    pack(mv.event, mv.kind, mv.entries);
    FAIL();
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), 13);
  }
}

TEST(ExtendStatus, ChecksInOrderWithTheirMessages) {
  Edit e(ev(0, 0xE2, 0));
  e.entries[Field::DeltaTime] = "";
  e.entries[Field::VolumePart] = "x";
  EXPECT_EQ(rejectionOf(e), said(Field::DeltaTime, "数値を入力してください。"));  // before any field of the kind
  e.entries[Field::DeltaTime] = "256";
  EXPECT_EQ(rejectionOf(e), said(Field::DeltaTime, "Δタイムは0～255の範囲です。"));
  e.entries[Field::DeltaTime] = "-0.1";
  EXPECT_EQ(rejectionOf(e), said(Field::DeltaTime, "Δタイムは0～255の範囲です。"));
  e.entries[Field::DeltaTime] = "255";
  EXPECT_EQ(rejectionOf(e), said(Field::VolumePart, "数値を入力してください。"));
  e.entries[Field::VolumePart] = "4";
  e.entries[Field::Volume] = "64";
  EXPECT_EQ(rejectionOf(e), said(Field::VolumePart, "パートは0～3の範囲です。"));
  e.entries[Field::VolumePart] = "3";
  EXPECT_EQ(rejectionOf(e), said(Field::Volume, "音量は0～63の範囲です。"));
  e.entries[Field::Volume] = "63";
  EXPECT_EQ(rejectionOf(e), "");

  struct Case {
    std::uint8_t kind;
    Field field;
    const char* bad;
    const char* message;
  };
  const Case cases[] = {
      {0xB2, Field::DramChanel, "16", "チャネルは0～15の範囲です。"},
      {0xC5, Field::Tempo, "19", "テンポは20～255の範囲です。"},
      {0xC5, Field::Tempo, "255.1", "テンポは20～255の範囲です。"},
      {0xDD, Field::LoopID, "4", "ループIDは0～3の範囲です。"},
      {0xDD, Field::LoopCount, "16", "ループ回数は0～15の範囲です。"},
      {0xE0, Field::NotePart, "-1", "パートは0～3の範囲です。"},
      {0xE0, Field::GMNote, "64", "6BitのGM音色は0～63の範囲です。"},
      {0xE3, Field::StreaoPart, "3.5", "パートは0～3の範囲です。"},
      {0xE3, Field::Balance, "64", "バランスは0～63の範囲です。"},
      {0xE5, Field::ChanelPart, "9", "パートは0～3の範囲です。"},
      {0xE5, Field::Chanel, "16", "チャネル割り当ては0～15の範囲です。"},
      {0xE6, Field::ChangeVolumePart, "5", "パートは0～3の範囲です。"},
      {0xE6, Field::ChangeValue, "-33", "ボリューム相対変化は-32～31の範囲です。"},
      {0xE6, Field::ChangeValue, "32", "ボリューム相対変化は-32～31の範囲です。"},
  };
  for (const auto& c : cases) {
    Edit edit(ev(0, c.kind, 0x00));
    if (c.kind == 0xC5) edit.entries[Field::Tempo] = "100";
    EXPECT_EQ(rejectionOf(edit), "") << static_cast<int>(c.field);
    edit.entries[c.field] = c.bad;
    EXPECT_EQ(rejectionOf(edit), said(c.field, c.message));
    edit.entries[c.field] = "abc";
    EXPECT_EQ(rejectionOf(edit), said(c.field, "数値を入力してください。"));
  }
  // Bounds are in.
  Edit tempo(ev(0, 0xC0, 20));
  EXPECT_EQ(rejectionOf(tempo), "");
  tempo.entries[Field::Tempo] = "255";
  EXPECT_EQ(rejectionOf(tempo), "");
  Edit change(ev(0, 0xE6, 0x3F));
  EXPECT_EQ(rejectionOf(change), "");
}

TEST(ExtendStatus, VoiceLimitFollowsTheSelectedOption) {
  Edit voice(ev(0, 0xE0, 0x05));
  EXPECT_EQ(rejectionOf(voice), "");
  voice.entries[Options::Sound] = 1;  // switched to "1Bit目": part and voice stay, limit is 1
  EXPECT_EQ(voice.entries[Field::GMNote], "5");
  EXPECT_EQ(rejectionOf(voice), said(Field::GMNote, "1BitのGM音色は0～1の範囲です。"));
  voice.entries[Field::GMNote] = "1";
  EXPECT_EQ(voice.ok(), ev(0, 0xE1, 0x03));
  voice.entries[Options::Sound] = 0;
  EXPECT_EQ(voice.ok(), ev(0, 0xE0, 0x01));
}

TEST(ExtendStatus, ChannelAssignmentUnpacksWiderThanItAccepts) {
  Edit e(ev(0, 0xE5, 0x3F));
  EXPECT_EQ(e.entries[Field::Chanel], "63");
  EXPECT_EQ(rejectionOf(e), said(Field::Chanel, "チャネル割り当ては0～15の範囲です。"));
}

TEST(ExtendStatus, MenuResetsThePanelAndSetsTheKind) {
  Entries e = unpack(ev(9, 0xC4, 150)).entries;
  e[Field::Volume] = "50";
  EXPECT_EQ(chooseMenuItem(6, e), 0xC0);
  EXPECT_EQ(e[Options::Tempo], 0);
  EXPECT_EQ(e[Field::Tempo], "150");  // the tempo text stays
  EXPECT_EQ(e[Field::DeltaTime], "9");
  EXPECT_EQ(chooseMenuItem(1, e), 0xE2);
  EXPECT_EQ(e[Field::Volume], "0");
  EXPECT_EQ(e[Field::VolumePart], "0");
  EXPECT_EQ(chooseMenuItem(5, e), 0xE0);
  EXPECT_EQ(e[Options::Sound], 0);
  EXPECT_EQ(chooseMenuItem(7, e), 0xB2);
  EXPECT_EQ(e[Options::DramScale], 0);
  EXPECT_EQ(chooseMenuItem(9, e), 0xDD);
  EXPECT_EQ(e[Options::LoopPoint], 0);
  EXPECT_EQ(chooseMenuItem(11, e), 0xD0);
  EXPECT_EQ(e[Options::PlayPosition], 0);

  // Switching an event's kind through the menu packs the new kind.
  const ByteString original = ev(9, 0xC4, 150);
  Entries m = unpack(original).entries;
  const std::uint8_t kind = chooseMenuItem(3, m);
  m[Field::ChangeValue] = "-32";
  EXPECT_EQ(pack(original, kind, m), ev(9, 0xE6, 0x3F));

  // A non-tempo event switched to tempo has no tempo text: a number is asked for.
  Entries empty = unpack(ev(0, 0xE2, 0)).entries;
  const std::uint8_t tempoKind = chooseMenuItem(6, empty);
  EXPECT_EQ(validate(tempoKind, empty)->message, kEnterNumber);
  EXPECT_EQ(validate(tempoKind, empty)->field, Field::Tempo);
}

TEST(ExtendStatus, EventsTheEditorDoesNotOwnStayUntouched) {
  // Ext-info events carry a length and data; any length, any content.
  const ByteString extInfo{0x10, 0xFF, 0xF0, 0x00, 0x03, 0xE2, 0x41, 0x05};
  auto u = unpack(extInfo);
  EXPECT_FALSE(u.editable);
  EXPECT_EQ(u.kind, 0xF0);
  EXPECT_EQ(u.entries[Field::DeltaTime], "16");
  EXPECT_EQ(u.entries[Field::Volume], "");
  // Even with a kind the dialog could have switched to.
  Entries e = u.entries;
  EXPECT_EQ(pack(extInfo, chooseMenuItem(1, e), e), extInfo);

  for (const ByteString& odd : {ByteString{}, ByteString{1}, ByteString{1, 0xFF}, ByteString{1, 0x3F, 0xE2},
                                ByteString{1, 0xFF, 0xE2, 0x41, 0x99}, ev(0, 0xFF, 1), ev(0, 0xF1, 2),
                                ev(0, 0xB1, 3), ev(0, 0xE4, 4)}) {
    const auto o = unpack(odd);
    EXPECT_FALSE(o.editable) << toHex(odd);
    Entries f = o.entries;
    for (int i = 0; i < kMenuItemCount; ++i) EXPECT_EQ(pack(odd, chooseMenuItem(i, f), f), odd) << toHex(odd);
    EXPECT_EQ(pack(odd, o.kind, o.entries), odd);
  }
  EXPECT_EQ(unpack(ByteString{}).entries[Field::DeltaTime], "");
}

TEST(ExtendStatus, ConversionsThatFailLeaveNothingHalfDone) {
  // -0.3 is in range, but its magnitude nearest(0.3 - 1) = -1 is no byte: a failure, not a guess.
  Edit change(ev(0, 0xE6, 0x05));
  change.entries[Field::ChangeValue] = "-0.3";
  EXPECT_FALSE(change.check());
  EXPECT_THROW(pack(change.event, change.kind, change.entries), Failure);
  // The -0.5 half goes to the even 0 before the sign bit is added.
  change.entries[Field::ChangeValue] = "-0.5";
  EXPECT_EQ(change.ok()[3], 0x20);
}
