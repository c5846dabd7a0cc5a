// The commands the host carries out (printing, help, the window's own) and
// the history's undo and redo.
#include "editor/commands/command_groups.h"
#include "editor/form/form_state.h"
#include "editor/session/history.h"
#include "editor/session/services.h"

namespace pomeli2::shell_commands {
namespace {

// A job numbers the items, and every numbering forgets a pending copy.
void Print(CommandContext& c, Host::PrintKind kind) {
  if (c.host().Print(kind)) c.doc.model.ClearCopyBuffer();
}

// What undo or redo would take back or do again, for the tooltip.
std::optional<std::string> UndoDetail(const CommandState& s) {
  if (!s.history.CanUndo()) return std::nullopt;
  return s.history.UndoName();
}
std::optional<std::string> RedoDetail(const CommandState& s) {
  if (!s.history.CanRedo()) return std::nullopt;
  return s.history.RedoName();
}

}  // namespace

std::vector<CommandDescriptor> Descriptors() {
  // Printing and the shell's own commands change nothing the history keeps,
  // and undo and redo move in it.
  constexpr UndoKind kNoStep = UndoKind::kNoStep;
  return {
      {.id = kCmdPrint, .text = "印刷(&P)...", .key = "Ctrl+P", .undo = kNoStep, .enabled = AlwaysEnabled,
       .run = [](CommandContext& c) { Print(c, Host::PrintKind::kPrint); }},
      {.id = kCmdPrintPreview, .text = "印刷プレビュー(&V)", .undo = kNoStep, .enabled = AlwaysEnabled,
       .run = [](CommandContext& c) { Print(c, Host::PrintKind::kPreview); }},
      {.id = kCmdPrintSetup, .text = "プリンタの設定(&R)...", .undo = kNoStep, .enabled = AlwaysEnabled,
       .run = [](CommandContext& c) { Print(c, Host::PrintKind::kSetup); }},
      {.id = kCmdExit, .text = "アプリケーションの終了(&X)", .undo = kNoStep, .enabled = AlwaysEnabled,
       .run = [](CommandContext& c) { c.host().RequestClose(); }},
      {.id = kCmdUndo, .text = "元に戻す(&U)", .key = "Ctrl+Z", .tooltip = "元に戻す", .icon = "undo", .undo = kNoStep,
       .enabled = [](const CommandState& s) { return s.history.CanUndo(); }, .tooltip_detail = UndoDetail,
       .run = [](CommandContext&) { return CommandOutcome{CommandOutcome::Kind::kUndo}; }},
      {.id = kCmdRedo, .text = "やり直し(&R)", .key = "Ctrl+Y", .hidden_key = "Ctrl+Shift+Z", .tooltip = "やり直し",
       .icon = "redo", .undo = kNoStep, .enabled = [](const CommandState& s) { return s.history.CanRedo(); },
       .tooltip_detail = RedoDetail, .run = [](CommandContext&) { return CommandOutcome{CommandOutcome::Kind::kRedo}; }},
      // The window keeps the toolbar's check mark: the bar can be closed
      // from its own context menu, too.
      {.id = kCmdToolbar, .text = "ツールバー(&T)", .undo = kNoStep, .enabled = AlwaysEnabled, .checkable = true,
       .run = [](CommandContext& c) { c.host().ToggleToolbar(); }},
      // The find bar under the tree: the window's own, no dialog.
      {.id = kCmdFind, .text = "検索(&F)", .key = "Ctrl+F", .undo = kNoStep, .enabled = AlwaysEnabled,
       .run = [](CommandContext& c) { c.host().ShowFindBar(); }},
      {.id = kCmdFindNext, .text = "次を検索", .key = "F3", .needs_find_bar = true, .undo = kNoStep,
       .enabled = AlwaysEnabled, .run = [](CommandContext& c) { c.host().FindAgain(true); }},
      {.id = kCmdFindPrevious, .text = "前を検索", .key = "Shift+F3", .needs_find_bar = true, .undo = kNoStep,
       .enabled = AlwaysEnabled, .run = [](CommandContext& c) { c.host().FindAgain(false); }},
      {.id = kCmdCheckLinks, .text = "リンクの確認(&L)", .undo = kNoStep, .enabled = AlwaysEnabled,
       .run = [](CommandContext&) { return CommandOutcome{CommandOutcome::Kind::kCheck}; }},
      {.id = kCmdHelp, .text = "目次(&C)", .hidden_key = "F1", .tooltip = "目次", .icon = "help", .undo = kNoStep,
       .enabled = AlwaysEnabled, .run = [](CommandContext& c) { c.host().ShowHelp(); }},
      {.id = kCmdAbout, .text = "バージョン情報(&A)...", .tooltip = "バージョン情報", .icon = "about", .undo = kNoStep,
       .enabled = AlwaysEnabled, .run = [](CommandContext& c) { c.host().ShowAbout(); }},
  };
}

}  // namespace pomeli2::shell_commands
