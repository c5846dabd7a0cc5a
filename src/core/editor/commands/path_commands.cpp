// The four browse commands: a chosen file is stored relative to the menu
// page's folder, or by its name alone when it lies outside that folder.
#include "editor/commands/command_groups.h"
#include "editor/form/form_state.h"
#include "editor/session/services.h"
#include "editor/session/file_dialogs.h"
#include "project/project_file.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2 {

std::string RelativeToFolder(const std::string& folder, const std::string& path, bool& outside) {
  std::string name = FileNameOf(path);
  std::string path_folder = path.substr(0, path.size() - name.size());
  // Both folders end in "/", which is never part of a double-byte
  // character, so a byte comparison cannot match half a character.
  outside = path_folder.size() < folder.size() || path_folder.compare(0, folder.size(), folder) != 0;
  if (outside) return name;
  std::string relative = path.substr(folder.size());
  // A single-byte "\" becomes "/"; the trail byte 0x5C of a double-byte
  // character (ソ, 表, 能…) is left alone.
  for (size_t i = 0; i < relative.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(relative[i]);
    if (IsSjisLeadByte(b)) ++i;
    else if (b == '\\') relative[i] = '/';
  }
  return relative;
}

namespace path_commands {
namespace {

void PathMessage(CommandContext& e, const char* text) { e.notify.Message(sj(text), sj("パス確認"), MessageIcon::kWarning); }

// Steps shared by the four commands: the page must have its folder, the
// file is chosen, and its path relative to that folder comes back.
std::optional<std::string> ChooseRelative(CommandContext& e, FileKind kind, std::string& remembered, const char* filter,
                                          const char* extension) {
  if (e.doc.settings.HtmlFileName == UntitledHtml()) {
    PathMessage(e, "HTMLファイルを保存して、パスを確定してから\n処理を行ってください。");
    return std::nullopt;
  }
  FileDialogRequest d;
  d.kind = FileDialogRequest::Kind::kOpen;
  d.filter = sj(filter);
  d.default_extension = extension;
  d.initial_name = remembered;
  d.must_exist = true;
  auto chosen = AskForFile(e, kind, d);
  if (!chosen) return std::nullopt;
  remembered = *chosen;
  bool outside = false;
  std::string relative = RelativeToFolder(e.doc.MenuPageFolder(), *chosen, outside);
  if (outside) PathMessage(e, "HTMLの親パスと違うため正確な位置が判断できません。\nファイル名のみ更新します。");
  return relative;
}

}  // namespace

void Browse(CommandContext& e, int control) {
  FormState& form = e.form;
  switch (control) {
    case kCtlBackPictureBrowse: {
      auto r = ChooseRelative(e, FileKind::kImage, form.back_picture_browse_path, kImageFilter, "jpg");
      if (!r) return;
      e.form.WriteField(kCtlBackPicture, *r);
      break;
    }
    case kCtlLinkBrowse: {
      // It starts at the item's link; the item's other values stay as
      // they are, unstored.
      std::string at = form.FieldText(kCtlLink);
      auto r = ChooseRelative(e, FileKind::kLink, at, kLinkFilter, "html");
      if (!r) return;
      e.form.WriteField(kCtlLink, *r);
      break;
    }
    case kCtlIconBrowse: {
      auto r = ChooseRelative(e, FileKind::kImage, form.icon_browse_path, kImageFilter, "jpg");
      if (!r) return;
      e.form.WriteField(kCtlIcon, *r);
      form.StoreSelectedItem();
      break;
    }
    default:
      return;
  }
  e.notify.FormChanged();
  e.notify.Report(e.doc.MarkModified(1));
  if (control == kCtlLinkBrowse) form.WarnIfTooLong(kCtlLink);
  if (control == kCtlIconBrowse) form.WarnIfTooLong(kCtlIcon);
}

void SelectImage(CommandContext& e) {
  auto r = ChooseRelative(e, FileKind::kImage, e.form.image_browse_path, kImageFilter, "jpg");
  if (!r) return;
  CommandContext& context = e;
  tree_commands::SetSelectedTitle(context, "file:" + *r);
}

std::vector<CommandDescriptor> Descriptors() {
  return {
      {.id = kCmdSelectImage, .text = "画像を選択する(&S)", .undo = UndoKind::kStep, .enabled = AlwaysEnabled,
       .run = SelectImage},
  };
}

}  // namespace path_commands
}  // namespace pomeli2
