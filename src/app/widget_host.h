// The editor's host on the screen: message boxes and the notifications that
// make the window show the core's state again.
#pragma once

#include <functional>

#include "editor/host.h"

namespace pomeli2 {

class MainWindow;

class WidgetHost : public Host {
 public:
  using MessageFn = std::function<MessageAnswer(const std::string& text, const std::string& title, MessageIcon,
                                                MessageButtons)>;
  explicit WidgetHost(MainWindow& window) : window_(window) {}
  // Tests answer the messages themselves.
  void SetMessageFunction(MessageFn fn) { message_fn_ = std::move(fn); }

  MessageAnswer MessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                           MessageButtons buttons) override;
  void Beep() override;
  void RefreshForm() override;
  void ControlStatesChanged() override;
  void TreeRebuilt() override;
  void TreeColoursChanged() override;

 private:
  MainWindow& window_;
  MessageFn message_fn_;
};

}  // namespace pomeli2
