// The models of the editor's dialogs: their lists, their checks and what
// their buttons do.
#include "editor/dialogs/dialogs.h"

#include <algorithm>

#include "document/document.h"
#include "editor/commands/command_registry.h"
#include "editor/form/colours.h"
#include "editor/form/form_state.h"
#include "editor/session/file_dialogs.h"
#include "editor/session/services.h"
#include "generate/html5_values.h"
#include "project/project_file.h"
#include "text/ascii.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2 {
std::vector<std::string> ScriptOptionsDialog::RightFrameEntries() {
  return {RightFrameToString(std::nullopt), "Frame2", "Right"};
}
std::vector<std::string> ScriptOptionsDialog::OtherwFrameEntries() {
  return {"OtherW", "_blank", "_top", "top", "_parent"};
}
std::vector<std::string> ScriptOptionsDialog::BrowserEntries() {
  return PageModeTexts();
}
std::vector<std::string> ScriptOptionsDialog::LangEntries() { return {"ja", "en", "zh", "ko", "ar", "he"}; }
bool ScriptOptionsDialog::LangValid() const { return !Html5Enabled() || IsLanguageTag(lang); }

std::vector<std::string> ScriptOptionsDialog::DirEntries() { return {"ltr", "rtl"}; }
std::vector<std::string> ScriptOptionsDialog::SpeedEntries() {
  std::vector<std::string> speeds;
  for (int i = 1; i <= 12; ++i) speeds.push_back(std::to_string(i));
  return speeds;
}

// A box switched on leaves its dependent box on (and disabled); switched
// off, the dependent box is enabled again with its mark as it was.
void ScriptOptionsDialog::UniteClicked(bool on) {
  unite = on ? 1 : 0;
  if (on) parent_link_on = 1;
}

void ScriptOptionsDialog::CloseItemsClicked(bool on) {
  close_items = on ? 1 : 0;
  if (on) close_tree = 1;
}

void TreeImagesDialog::Browse(int row) {
  FileDialogRequest d;
  d.kind = FileDialogRequest::Kind::kOpen;
  d.filter = sj(kImageFilter);
  d.default_extension = "gif";
  d.initial_name = base_path + images[row];
  d.must_exist = true;
  // Only the name is kept; a folder in front of it is typed by hand.
  if (auto chosen = AskForFile(editor_, FileKind::kImage, d)) images[row] = FileNameOf(*chosen);
}

bool TargetNameDialog::Accept() {
  if (IsBlank(name)) {
    editor_.notify.Message(sj("TARGETの名前を入力してください。"), sj(kInputErrorTitle), MessageIcon::kWarning);
    return false;
  }
  std::vector<std::string> shown = editor_.form.ListEntries(kCtlItemTarget);
  if (std::any_of(shown.begin(), shown.end(), [&](const std::string& t) { return EqualIgnoringAsciiCase(t, name); })) {
    editor_.notify.Message(sj("既にその名前は登録されています。"), sj("注意"), MessageIcon::kInformation);
    return false;
  }
  return true;
}

void TreeImagesDialog::RestoreDefaults() {
  images[0] = kPlusImage;
  images[1] = kMinusImage;
  images[2] = kLinktoImage;
  images[3] = kOtherwImage;
}

BulkChangeDialog::BulkChangeDialog(CommandContext& editor, Kind k) : kind(k), last_text(sj("に一括変更します。")), editor_(editor) {
  struct Texts {
    const char* title;
    const char* what;  // the attribute, as the sentence names it
  };
  static const Texts texts[] = {{"フォントサイズ一括変更", "フォントサイズ"},
                                {"フォントスタイル一括変更", "フォントスタイル"},
                                {"別ボタン一括変更", "別ボタン"},
                                {"背景色の一括変更", "背景色"}};
  const Texts& t = texts[static_cast<int>(kind)];
  title = sj(t.title);
  first_text = sj("メモリ内も含め全アイテムの") + sj(t.what) + sj("を");
  switch (kind) {
    case Kind::kFontSize:
      for (int i = 5; i <= 25; ++i) entries.push_back(std::to_string(i) + "pt");
      value = "10pt";
      break;
    case Kind::kFontStyle:
      entries = editor.form.ListEntries(kCtlItemStyle);
      value = kFontStyles[0].name;
      break;
    case Kind::kOtherButton:
      entries = editor.form.ListEntries(kCtlOtherButton);
      value = OtherButtonText(OtherWindow::kNewWindow);
      break;
    case Kind::kBackground:
      entries = {"#000000", "#FFFFFF", "#FF0000", "#00FF00", "#0000FF", ""};
      editable = true;
      Typed("#FFFFFF");
      break;
  }
}

void BulkChangeDialog::Typed(const std::string& text) {
  value = text;
  ColourCheck check = CheckColour(value, /*dialog_variant=*/true, editor_.notify);
  if (check.complete) swatch = check.complete;
}

bool BulkChangeDialog::Accept() {
  if (kind != Kind::kBackground || value.empty() || UsableColour(value)) return true;
  editor_.notify.Message(sj(kColourExpected), sj(kInputErrorTitle), MessageIcon::kError);
  return false;
}

void BulkChangeDialog::ChooseColour() {
  auto chosen = editor_.notify.host().ColourDialog(0, editor_.services.Custom());
  if (chosen) Typed(ColourText(*chosen));
}

}  // namespace pomeli2
