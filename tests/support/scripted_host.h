// A host that records every message and answers from a prepared list, so a
// user session can be replayed without a display.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "editor/host.h"
#include "text/sjis.h"

namespace pomeli2::testing {

struct Message {
  std::string text, title;  // as UTF-8, for readable assertions
  MessageIcon icon;
  MessageButtons buttons;
};

class ScriptedHost : public Host {
 public:
  std::vector<Message> messages;
  std::deque<MessageAnswer> answers;
  int beeps = 0;
  int refreshes = 0;
  int tree_rebuilds = 0;

  MessageAnswer MessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                           MessageButtons buttons) override {
    messages.push_back({SjisToUtf8Lossy(text), SjisToUtf8Lossy(title), icon, buttons});
    if (answers.empty()) return buttons == MessageButtons::kYesNo ? MessageAnswer::kYes : MessageAnswer::kOk;
    MessageAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  void Beep() override { ++beeps; }
  void RefreshForm() override { ++refreshes; }
  void TreeRebuilt() override { ++tree_rebuilds; }
};

}  // namespace pomeli2::testing
