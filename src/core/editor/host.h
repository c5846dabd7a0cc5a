// Everything the editor needs from a person or a screen goes through this
// interface; the desktop program implements it with real dialogs, tests
// with a scripted host. Texts are CP932 bytes.
#pragma once

#include <string>

namespace pomeli2 {

enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion };
enum class MessageButtons { kOk, kOkCancel, kYesNo };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };

class Host {
 public:
  virtual ~Host() = default;
  virtual MessageAnswer MessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                                   MessageButtons buttons) = 0;
  virtual void Beep() {}
  // The form must show the editor's fields again.
  virtual void RefreshForm() {}
  // Some control's enabled state changed.
  virtual void ControlStatesChanged() {}
  // The menu tree was rebuilt as a whole (after a load or File New).
  virtual void TreeRebuilt() {}
  // The colours of the editor's tree changed.
  virtual void TreeColoursChanged() {}
};

}  // namespace pomeli2
