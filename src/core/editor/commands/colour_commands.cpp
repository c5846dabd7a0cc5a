// The colour fields: the check of typed colours, the colour buttons with
// their swatches, the two tree colours, and the bulk dialog's colour box.
#include <algorithm>
#include <cmath>

#include "editor/form/colours.h"
#include "editor/commands/command_groups.h"
#include "editor/dialogs/dialogs.h"
#include "editor/form/form_state.h"
#include "editor/session/services.h"
#include "generate/menu_page.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

void InputError(Notifier& notify, const char* text) {
  notify.Message(sj(text), sj(kInputErrorTitle), MessageIcon::kError);
}

}  // namespace

ColourCheck CheckColour(std::string& value, bool dialog_variant, Notifier& notify) {
  ColourCheck result;
  if (value.empty()) return result;
  bool told = false, faulty = false;
  if (dialog_variant && value.size() > kColourLength) {
    InputError(notify, "7文字以上入力できません。");
    told = faulty = true;
  }
  if (value[0] != '#') {
    InputError(notify, "「#」で書き始めてください。");
    told = true;
    value.insert(value.begin(), '#');
    notify.FormChanged();
  }
  // Control bytes and the bytes of double-byte characters pass the filter,
  // as they always have; only a value of seven hexadecimal digits paints.
  std::string filtered = "#";
  for (size_t i = 1; i < value.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(value[i]);
    if (IsHexDigit(value[i]) || b < 0x20 || b >= 0x80) filtered += value[i];
    else faulty = true;
  }
  if (faulty) {
    if (!told) InputError(notify, "許可されない文字です。");
    value = filtered;
    notify.FormChanged();
    result.acceptable = false;
    return result;
  }
  result.complete = CompleteColour(value);
  return result;
}

std::string ColourText(unsigned rgb) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text = "#";
  for (int shift = 20; shift >= 0; shift -= 4) text += digits[(rgb >> shift) & 0xF];
  return text;
}

unsigned LabelColourOn(unsigned rgb) {
  auto linear = [](unsigned channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  const double lightness =
      0.2126 * linear((rgb >> 16) & 0xFF) + 0.7152 * linear((rgb >> 8) & 0xFF) + 0.0722 * linear(rgb & 0xFF);
  // The contrast with white is 1.05 / (L + 0.05), with black (L + 0.05) / 0.05.
  return 1.05 / (lightness + 0.05) > (lightness + 0.05) / 0.05 ? 0xFFFFFFu : 0x000000u;
}

int ColourNumberOfRgb(unsigned rgb) {
  return static_cast<int>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

namespace colour_commands {

void ChooseFieldColour(CommandContext& e, int button) {
  int field = FormState::ColourFieldOfButton(button);
  if (!field) return;
  auto chosen = e.notify.host().ColourDialog(0, e.services.Custom());
  if (!chosen) return;
  e.form.SetColourField(field, ColourText(*chosen));
  e.notify.FormChanged();
}

void ChooseTreeColour(CommandContext& e, bool background) {
  auto chosen = e.notify.host().ColourDialog(0, e.services.Custom());
  if (!chosen) return;
  (background ? e.doc.settings.TreeBgColor : e.doc.settings.TreeItemColor) = ColourNumberOfRgb(*chosen);
  e.notify.TreeColoursChanged();
  e.notify.Report(e.doc.MarkModified(1));
}

std::vector<CommandDescriptor> Descriptors() {
  return {
      {.id = kCmdTreeBgColor, .text = "ツリーの背景色(&B)", .undo = UndoKind::kStep, .enabled = AlwaysEnabled,
       .run = [](CommandContext& e) { ChooseTreeColour(e, true); }},
      {.id = kCmdTreeItemColor, .text = "ツリーアイテムの色(&I)", .undo = UndoKind::kStep, .enabled = AlwaysEnabled,
       .run = [](CommandContext& e) { ChooseTreeColour(e, false); }},
  };
}

}  // namespace colour_commands
}  // namespace pomeli2
