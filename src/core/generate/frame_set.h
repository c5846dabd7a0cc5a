// The 2- and 3-pane frame set pages around the menu page, and the
// placeholder pages for the other frames.
#pragma once

#include <string>

#include "model/page_settings.h"

namespace pomeli2 {

struct FrameSetPages {
  std::string frame_set;
  std::string right;  // frameright.html
  std::string top;    // frametop.html; empty for two panes
};

// Any pane count other than 2 gives the three-pane layout.
FrameSetPages BuildFrameSet(const PageSettings& settings, int panes, bool resizable);

// True when the frame set may not take this file name: the placeholder
// pages' names and the menu page's own name are reserved.
bool IsReservedFrameSetName(const std::string& name, const std::string& html_file_name);

}  // namespace pomeli2
