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

// Whether `bytes` are a placeholder page that this program wrote: the right
// page (`top` false) or the top page, with any page title. Only such a file
// may be written over; any other file of that name is the author's own.
bool IsPlaceholderPage(const std::string& bytes, bool top);

// True when the frame set may not take this file name: the placeholder
// pages' names and the menu page's own name are reserved.
bool IsReservedFrameSetName(const std::string& name, const std::string& html_file_name);

}  // namespace pomeli2
