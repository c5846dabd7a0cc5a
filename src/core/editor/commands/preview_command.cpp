// Preview in the browser: the menu page as HTML save writes it, put into a
// private folder and opened there, with nothing of the project changed.
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "editor/commands/command_groups.h"
#include "editor/form/form_state.h"
#include "editor/session/services.h"
#include "generate/menu_page.h"
#include "io/file_io.h"
#include "io/program_folder.h"
#include "text/ascii.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2 {

std::string FileUrl(const std::string& system_path) {
  static const char hex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : system_path) {
    if (IsAsciiAlnum(static_cast<char>(c)) || std::strchr("/-._~", c)) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += hex[c >> 4];
      url += hex[c & 0xF];
    }
  }
  return url;
}

namespace html_commands {
namespace {

bool IsRelative(const std::string& path) { return !path.empty() && path[0] != '/' && path.find(':') == std::string::npos; }

// The folder relative paths of the page resolve in: the page's own, else the
// project's while the page has never been saved; empty when neither has one.
std::string ResolvingFolder(CommandContext& e) {
  const PageSettings& s = e.doc.settings;
  if (s.HtmlFileName != UntitledHtml()) return e.doc.MenuPageFolder();
  if (s.ProjectPath != UntitledProject()) return s.ProjectPath.substr(0, s.ProjectPath.size() - FileNameOf(s.ProjectPath).size());
  return std::string();
}

}  // namespace

void Preview(CommandContext& e) {
  Document& doc = e.doc;
  MenuModel& m = e.doc.model;
  if (e.notify.Report(doc.NoItemsToWrite()) || e.notify.Report(doc.UnworkableSettings())) return;
  const std::string& preview = e.services.PreviewFolder();
  if (preview.empty()) {
    e.notify.Message(sj("プレビュー用の一時フォルダを作成できません。"), sj(kFileErrorTitle), MessageIcon::kError);
    return;
  }

  // The standard images come from the preview folder wherever the page's
  // folder does not hold them; everything else resolves as it will there.
  std::string folder = ResolvingFolder(e);
  auto system_folder = SystemPath(folder);
  auto in_place = [&](const std::string& path) {
    return system_folder && !folder.empty() && FileExists(*system_folder + *SystemPath(path));
  };
  auto standard = [&](std::string& path) {
    if (!IsRelative(path) || !SystemPath(path) || in_place(path)) return;
    std::string name = FileNameOf(path);
    for (const char* image : kStandardImages)
      if (name == image) path = FileUrl(preview + image);
  };
  PageSettings s = e.doc.settings;
  for (std::string* image : {&s.Plus, &s.Minus, &s.Linkto, &s.Otherw}) standard(*image);
  // The page is made from a copy of the tree: it shares every item whose
  // icon stays.
  MenuTree tree;
  tree.Restore(m.tree.Share());
  tree.ForEachPreOrder(tree.FirstTop(), [&](NodeId n) {
    std::string icon = tree.Item(n).icon;
    standard(icon);
    if (icon != tree.Item(n).icon) tree.MutableItem(n).icon = std::move(icon);
  });
  bool header_missing = false, footer_missing = false;
  std::string page = doc.ComposeMenuPage(s, tree, header_missing, footer_missing);
  std::string scroll = kScrollImage;
  standard(scroll);
  if (scroll != kScrollImage) {
    const std::string tag = "<IMG SRC=\"" + std::string(kScrollImage) + "\"";
    if (auto at = page.find(tag); at != std::string::npos) page.replace(at, tag.size(), "<IMG SRC=\"" + scroll + "\"");
  }
  if (system_folder && !folder.empty()) {
    for (const std::string head : {"<HEAD>\r\n", "<head>\r\n"}) {  // the HTML5 mode writes its tags in lower case
      if (auto at = page.find(head); at != std::string::npos) {
        page.insert(at + head.size(), "<BASE HREF=\"" + FileUrl(*system_folder) + "\">\r\n");
        break;
      }
    }
  }
  for (const char* image : kStandardImages)
    if (auto bytes = ReadWholeFile(e.services.ProgramFolder() + image)) WriteFileAtomically(preview + image, *bytes, false);
  std::string page_path = preview + "preview.html";
  if (!WriteFileAtomically(page_path, page, false)) {
    e.notify.Message(UnwritableMessage("preview.html"), sj(kFileErrorTitle), MessageIcon::kError);
    return;
  }
  e.notify.host().OpenUrl(FileUrl(page_path));
}

std::vector<CommandDescriptor> PreviewDescriptors() {
  return {
      {.id = kCmdPreview, .text = "ブラウザでプレビュー(&B)", .key = "F5", .tooltip = "ブラウザでプレビュー",
       .icon = "preview", .undo = UndoKind::kNoStep, .enabled = AlwaysEnabled, .run = Preview},
  };
}

}  // namespace html_commands
}  // namespace pomeli2
