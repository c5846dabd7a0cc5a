// Ids of the main form's controls whose state the editor decides.
#pragma once

namespace pomeli2 {

enum ControlId : int {
  kCtlTitle = 1008,
  kCtlBackPicture = 1024,
  kCtlBgColor = 1011,
  kCtlItemBgColor = 1019,
  kCtlItemBgColorButton = 1057,
  kCtlItemSize = 1025,
  kCtlLink = 1026,
  kCtlLinkBrowse = 1096,
  kCtlOtherButton = 1033,
  kCtlItemStyle = 1048,
  kCtlIcon = 1070,
  kCtlIconBrowse = 1071,
  kCtlItemTarget = 1098,
  kCtlNewTarget = 1099,
  kCtlOpen = 1102,
  kCtlMoveUp = 1104,
  kCtlMoveDown = 1105,
};

// The eleven controls of the selected item's group.
inline constexpr int kSelectedItemControls[] = {kCtlLink,       kCtlLinkBrowse,        kCtlIcon,
                                                kCtlIconBrowse, kCtlItemBgColor,       kCtlItemBgColorButton,
                                                kCtlOpen,       kCtlOtherButton,       kCtlItemStyle,
                                                kCtlItemTarget, kCtlItemSize};

}  // namespace pomeli2
