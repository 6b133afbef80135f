// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Where core code sends the messages that the user must see while it works (the reader's
// warnings, for instance). The windows show them as message boxes, the CLI prints them.

#include <string>
#include <vector>

namespace tonekit {

enum class MessageIcon { None, Information, Question, Warning, Critical };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // text is UTF-8; line breaks are CR LF as the user sees them.
  virtual void message(const std::string& text, MessageIcon icon) = 0;
};

// Collects messages; for callers that show them later and for tests.
class CollectingMessageSink : public MessageSink {
 public:
  struct Entry {
    std::string text;
    MessageIcon icon;
  };
  void message(const std::string& text, MessageIcon icon) override { entries.push_back({text, icon}); }
  std::vector<Entry> entries;
};

}  // namespace tonekit
