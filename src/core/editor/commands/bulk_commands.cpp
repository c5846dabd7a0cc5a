// The four bulk changes: one value of every item, in the tree and in the
// cut buffer (the copy buffer's items are in the tree), as the dialogs say.
#include "editor/form/colours.h"
#include "editor/commands/command_groups.h"
#include "editor/dialogs/dialogs.h"
#include "editor/form/form_state.h"
#include "editor/session/services.h"

namespace pomeli2::bulk_commands {

void Change(CommandContext& e, BulkChangeDialog::Kind kind) {
  using Kind = BulkChangeDialog::Kind;
  BulkChangeDialog dialog(e, kind);
  if (!e.notify.host().RunDialog(dialog) || !dialog.Accept()) return;
  const std::string& value = dialog.value;
  // An item without a value of its own keeps it: the size and the style
  // are tested by themselves, the other two by the title.
  e.doc.model.ForEachStoredItem([&](MenuItem& item, const std::string& title) {
    switch (kind) {
      case Kind::kFontSize:
        if (!item.font_size.empty()) item.font_size = value;
        break;
      case Kind::kFontStyle:
        if (!item.style.empty()) item.style = value;
        break;
      case Kind::kOtherButton:
        if (!title.empty()) item.other_window = OtherButtonKind(value);
        break;
      case Kind::kBackground:
        if (!title.empty()) item.bg_color = value;
        break;
    }
  });
  e.notify.FormChanged();
  if (kind == Kind::kBackground) e.form.CheckCompleteColours({kCtlItemBgColor});
  e.notify.Report(e.doc.MarkModified(1));
}

std::vector<CommandDescriptor> Descriptors() {
  using Kind = BulkChangeDialog::Kind;
  return {
      {.id = kCmdBulkSize, .text = "アイテムのフォントサイズを一括変更(&F)", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .run = [](CommandContext& e) { Change(e, Kind::kFontSize); }},
      {.id = kCmdBulkStyle, .text = "アイテムのフォントスタイルを一括変更(&S)", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .run = [](CommandContext& e) { Change(e, Kind::kFontStyle); }},
      {.id = kCmdBulkOther, .text = "アイテムの別ボタンを一括変更(&O)", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .run = [](CommandContext& e) { Change(e, Kind::kOtherButton); }},
      {.id = kCmdBulkBg, .text = "アイテムの背景色を一括変更(&B)", .undo = UndoKind::kStep,
       .enabled = AlwaysEnabled, .run = [](CommandContext& e) { Change(e, Kind::kBackground); }},
  };
}

}  // namespace pomeli2::bulk_commands
