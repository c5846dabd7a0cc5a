// Ids of the main form's controls whose state the editor decides.
#pragma once

namespace pomeli2 {

enum ControlId : int {
  kCtlTitle = 1008,
  kCtlBackPicture = 1024,
  kCtlBackPictureBrowse = 1028,
  kCtlBgColor = 1011,
  kCtlBodyText = 1036,
  kCtlBodyLink = 1039,
  kCtlBodyVlink = 1041,
  kCtlBodyAlink = 1043,
  kCtlStart = 1029,
  kCtlLeft = 1060,
  kCtlIndent = 1050,
  kCtlRow = 1031,
  kCtlBodyHover = 1062,
  kCtlBodyHoverBack = 1066,
  kCtlTextBackOn = 1045,
  kCtlParentLink = 1059,
  kCtlNewBgColor = 1015,
  kCtlNewOtherButton = 1034,
  kCtlNewStyle = 1049,
  kCtlNewSize = 1032,
  kCtlAddItem = 1004,
  kCtlTree = 1002,
  kCtlItemTable = 1097,
  kCtlProjectPath = 1022,
  kCtlHtmlFileName = 1006,
  kCtlPath = 1007,
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
