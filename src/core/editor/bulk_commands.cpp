// The four bulk changes: one attribute of every row, live or retired (the
// cut and copy buffers' rows too, as the dialogs say).
#include "editor/colours.h"
#include "editor/command_groups.h"
#include "editor/dialogs.h"
#include "editor/editor.h"

namespace pomeli2::bulk_commands {

void Change(Editor& e, BulkChangeDialog::Kind kind) {
  using Kind = BulkChangeDialog::Kind;
  BulkChangeDialog dialog(e, kind);
  if (!e.Notify().host().RunDialog(dialog) || !dialog.Accept()) return;
  const std::string& value = dialog.value;
  Col test = kind == Kind::kFontSize ? kFontSize : kind == Kind::kFontStyle ? kStyle : kTitle;
  Col target = kind == Kind::kFontSize    ? kFontSize
               : kind == Kind::kFontStyle ? kStyle
               : kind == Kind::kOtherButton ? kOtherWindow
                                           : kTextBgColor;
  std::string cell = kind == Kind::kOtherButton ? OtherButtonCode(value) : value;
  ItemTable& table = e.Model().table;
  for (int row = 0; row < table.RowCount(); ++row)
    if (!table.Cell(row, test).empty()) table.SetCell(row, target, cell);

  ItemFields& item = e.Item();
  switch (kind) {
    case Kind::kFontSize: item.size = value; break;
    case Kind::kFontStyle: item.style = value; break;
    case Kind::kOtherButton: item.other_button = value; break;
    case Kind::kBackground: item.bg_color = value; break;
  }
  e.Notify().FormChanged();
  if (kind == Kind::kBackground) e.Form().CheckCompleteColours({kCtlItemBgColor});
  e.Doc().MarkModified(1);
}

std::vector<CommandDescriptor> Descriptors() {
  using Kind = BulkChangeDialog::Kind;
  return {
      {.id = kCmdBulkSize, .text = "アイテムのフォントサイズを一括変更(&F)", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .run = [](Editor& e) { Change(e, Kind::kFontSize); }},
      {.id = kCmdBulkStyle, .text = "アイテムのフォントスタイルを一括変更(&S)", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .run = [](Editor& e) { Change(e, Kind::kFontStyle); }},
      {.id = kCmdBulkOther, .text = "アイテムの別ボタンを一括変更(&O)", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .run = [](Editor& e) { Change(e, Kind::kOtherButton); }},
      {.id = kCmdBulkBg, .text = "アイテムの背景色を一括変更(&B)", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .run = [](Editor& e) { Change(e, Kind::kBackground); }},
  };
}

}  // namespace pomeli2::bulk_commands
