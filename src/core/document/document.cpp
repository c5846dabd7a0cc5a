#include "document/document.h"

#include <cstdio>
#include <filesystem>

#include "document/publish_check.h"
#include "generate/frame_set.h"
#include "generate/menu_page.h"
#include "io/file_io.h"
#include "io/program_folder.h"
#include "project/project_file.h"
#include "text/catalogue.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {

namespace {

Problem FileError(std::string text) { return {sj(kFileErrorTitle), std::move(text)}; }
Problem ReadError(std::string text) { return {sj(kErrorTitle), std::move(text)}; }

}  // namespace

Document::Document() : settings(PageSettings::Initial()) {}

// An edit is marked even when the settings file cannot say so, and the mark
// is cleared only once the file says so too: no failed write loses an edit.
MaybeProblem Document::MarkModified(int value) {
  if (value == 1) {
    modified_flag_ = 1;
    ++edits_;
  }
  const std::string& last = settings.ProjectPath != UntitledProject() ? settings.ProjectPath : last_project_path_;
  if (settings_file_ && !settings_file_->WriteEditLine(value, last))
    return FileError(UnwritableMessage(kSettingsFileName));
  modified_flag_ = value;
  return std::nullopt;
}

void Document::ReadLastProject() {
  if (!settings_file_) return;
  auto fields = settings_file_->Read();
  last_project_path_ = fields ? fields->last_project : std::string();
}

// A project whose Path names its page takes that page as its own, so that
// HTML save writes it again without asking, as after a save in this run:
// when the page's folder exists and the file there is one this program
// wrote, or none yet. Any other file keeps its overwrite question (a Path
// kept after a declined overwrite names the author's page), a Path that
// never named a file ("pomeli2.html", relative to nothing) or a folder that
// is gone leaves the page unnamed; HTML save then asks, proposing Path.
bool Document::NamesItsPage(const std::string& sjis_path) {
  const std::string folder = FolderOf(sjis_path);
  if (folder.empty() || folder[0] != '/' || FileNameOf(sjis_path).empty()) return false;
  auto system_folder = SystemPath(folder);
  auto system_path = SystemPath(sjis_path);
  std::error_code ec;
  if (!system_folder || !system_path || !std::filesystem::is_directory(*system_folder, ec)) return false;
  if (!FileExists(*system_path)) return true;
  // Every page this program writes names it in its head.
  auto head = ReadFileHead(*system_path, 4096);
  return head && head->find(kProductVersion) != std::string::npos;
}

MaybeProblem Document::ReadProjectFile(const std::string& path, std::vector<std::string>& target_list) {
  const std::string cannot_open = CannotOpenMessage(path);
  auto system_path = SystemPath(path);
  std::optional<FileReader> file;
  if (system_path) file.emplace(*system_path);
  if (!file || !file->IsOpen()) return ReadError(cannot_open);
  ByteSource source = [&file](char* buffer, size_t size) { return file->Read(buffer, size); };
  ParsedProject parsed = ParseProject(source, settings, target_list);
  bool read_error = file->Failed();
  file.reset();

  // Everything is checked before anything is replaced, so a rejected file
  // leaves the menu, the settings and the project name as they were.
  if (read_error) return ReadError(cannot_open);
  switch (parsed.failure) {
    case ReadFailure::kNone: break;
    case ReadFailure::kBadNumber:
      return ReadError(FillIn(kRefusedProjectFile,
                              {path, sj("数字フィールドに文字が含まれているか、または空です。\nページ情報が正しくロードできません。")}));
    case ReadFailure::kBadStructure: {
      Problem bad = ReadError(sj("ファイル構造が正しくありません。"));
      bad.beep = true;
      return bad;
    }
    case ReadFailure::kTooManyItems:
      return ReadError(TooManyItemsMessage());
  }

  settings = std::move(parsed.settings);
  settings.ProjectPath = path;
  settings.HtmlFileName = NamesItsPage(settings.Path) ? FileNameOf(settings.Path) : UntitledHtml();
  for (auto& t : parsed.new_targets) target_list.push_back(std::move(t));

  model.ClearBuffers();
  RebuildMenu(model, std::move(parsed.tree));
  return std::nullopt;
}

MaybeProblem Document::WriteProjectFile() {
  model.ClearCopyBuffer();
  SerializedProject out = SerializeProject(settings, model);
  if (out.too_long_key)
    return FileError(sj("「") + *out.too_long_key +
                     sj("」の値が長すぎるため、プロジェクトファイルに保存できません。\n値を短くしてから保存してください。"));
  if (out.too_long_item_title)
    return FileError(sj("アイテム「") + *out.too_long_item_title +
                     sj("」の情報が長すぎるため、プロジェクトファイルに保存できません。\nリンクなどを短くしてから保存してください。"));
  auto system_path = SystemPath(settings.ProjectPath);
  if (!system_path || !WriteFileAtomically(*system_path, out.bytes))
    return FileError(UnwritableMessage(settings.ProjectPath));
  return std::nullopt;
}

MaybeProblem Document::NoItemsToWrite() const {
  if (model.HasCreatedItems()) return std::nullopt;
  return Problem{sj("アイテム確認"), sj("書き出すアイテムがありません。"), Problem::Severity::kWarning};
}

void Document::SetMenuPagePath(const std::string& sjis_path) {
  settings.Path = sjis_path;
  settings.HtmlFileName = FileNameOf(sjis_path);
}

// The folder part of Path, whatever HtmlFileName holds: after a project is
// opened the two need not agree, and cutting len(HtmlFileName) bytes would
// then cut into the folder.
std::string Document::MenuPageFolder() const { return FolderOf(settings.Path); }

MaybeProblem Document::UnworkableSettings() const {
  if (auto bad = FindUnworkableSetting(settings)) return Problem{sj(kInputErrorTitle), UnworkableMessage(*bad)};
  if (settings.TextBackOn != 1) return std::nullopt;  // the items' colours are not written then
  // The tree is walked for the first bad item only when there is one.
  bool any_bad = false;
  model.tree.ForEachItem([&any_bad](const MenuItem& item) {
    any_bad = any_bad || (!item.bg_color.empty() && !UsableColour(item.bg_color));
  });
  if (!any_bad) return std::nullopt;
  NodeId bad_item = kNoNode;
  model.tree.ForEachPreOrder(model.Root(), [&](NodeId n) {
    const std::string& colour = model.tree.Item(n).bg_color;
    if (bad_item == kNoNode && n != model.Root() && !colour.empty() && !UsableColour(colour)) bad_item = n;
  });
  if (bad_item == kNoNode) return std::nullopt;
  return Problem{sj(kInputErrorTitle), sj("アイテム「") + model.tree.Label(bad_item) + sj("」の背景色「") +
                                           model.tree.Item(bad_item).bg_color +
                                           sj("」は色として使えないため、HTMLを書き出せません。\n") + sj(kColourExpected)};
}

Document::PageWriteResult Document::WriteMenuPage(std::string* written) {
  model.ClearCopyBuffer();
  if (auto refused = UnworkableSettings()) return {PageWrite::kRefused, {std::move(*refused)}};
  const Problem unwritable = FileError(UnwritableMessage(settings.HtmlFileName));
  auto system_path = SystemPath(settings.Path);
  if (!system_path) return {PageWrite::kWriteFailed, {unwritable}};
  // A page without its header or footer would replace a good page with a
  // broken one: a missing BODY file stops the write before the old page is
  // touched.
  const BodyFiles body = ReadBodyFiles(settings);
  if (Problems missing = BodyFilesMissing(body.header_missing, body.footer_missing); !missing.empty())
    return {PageWrite::kRefused, std::move(missing)};
  // Unless the caller keeps the page, it goes to the file in pieces as it
  // is built, so that a large one is never held whole.
  std::string page;
  bool ok;
  if (written) {
    page = BuildMenuPage(settings, model.tree, body.Header(), body.Footer());
    ok = WriteFileAtomically(*system_path, page);
  } else {
    ok = WriteFileAtomically(*system_path, [&](const ByteWriter& write) {
      return StreamMenuPage(settings, model.tree, body.Header(), body.Footer(), write);
    });
  }
  if (!ok) return {PageWrite::kWriteFailed, {unwritable}};
  if (written) *written = std::move(page);
  return {};
}

Document::BodyFiles Document::ReadBodyFiles(const PageSettings& s) {
  BodyFiles body;
  auto read = [](const std::string& sjis_path, bool& missing) -> std::optional<std::string> {
    if (sjis_path.empty()) return std::nullopt;
    auto p = SystemPath(sjis_path);
    auto bytes = p ? ReadWholeFile(*p) : std::nullopt;
    missing = !bytes;
    return bytes;
  };
  body.header = read(s.BodyHeader, body.header_missing);
  body.footer = read(s.BodyFooter, body.footer_missing);
  return body;
}

Problems Document::BodyFilesMissing(bool header_missing, bool footer_missing) {
  const std::string where = sj("\nツールの「BODYタグ内の先頭と後尾の設定」で確認してください。");
  Problems problems;
  if (header_missing) problems.push_back(FileError(sj("BODY用のヘッダーファイルが存在しません。") + where));
  if (footer_missing) problems.push_back(FileError(sj("BODY用のフッターファイルが存在しません。") + where));
  return problems;
}

Problems Document::MissingBodyFiles() const {
  auto missing = [](const std::string& sjis_path) {
    if (sjis_path.empty()) return false;
    auto p = SystemPath(sjis_path);
    return !p || !FileExists(*p);
  };
  return BodyFilesMissing(missing(settings.BodyHeader), missing(settings.BodyFooter));
}

std::string Document::ComposeMenuPage(const PageSettings& s, const MenuTree& tree,
                                      bool& header_missing, bool& footer_missing) const {
  const BodyFiles body = ReadBodyFiles(s);
  header_missing = body.header_missing;
  footer_missing = body.footer_missing;
  return BuildMenuPage(s, tree, body.Header(), body.Footer());
}

MaybeProblem Document::FrameSetNameRefused(const std::string& sjis_path) const {
  if (!IsReservedFrameSetName(FileNameOf(sjis_path), settings.HtmlFileName)) return std::nullopt;
  Problem refused = FileError(sj("frameright.html、frametop.html、") + settings.HtmlFileName +
                              sj("は使えません。\n他のファイル名を使ってください。"));
  refused.severity = Problem::Severity::kWarning;
  return refused;
}

MaybeProblem Document::WriteFrameSet(const std::string& sjis_path, int panes) {
  std::string name = FileNameOf(sjis_path);
  FrameSetPages pages = BuildFrameSet(settings, panes, frame_resizable == 1);
  std::string folder = sjis_path.substr(0, sjis_path.size() - name.size());
  MaybeProblem problem;
  auto write = [&](const std::string& path, const std::string& bytes, const std::string& shown) {
    auto system_path = SystemPath(path);
    if (system_path && WriteFileAtomically(*system_path, bytes)) return true;
    problem = FileError(UnwritableMessage(shown));
    return false;
  };
  // A placeholder goes only where no file of its name is, or where one of
  // ours is: an author's own frameright.html is their page, not ours.
  auto placeholder = [&](const char* file, const std::string& bytes, bool top) {
    auto system_path = SystemPath(folder + file);
    std::error_code ec;
    if (system_path && FileExists(*system_path) && !std::filesystem::is_directory(*system_path, ec)) {
      auto old = ReadWholeFile(*system_path);
      if (!old || !IsPlaceholderPage(*old, top)) return true;
    }
    return write(folder + file, bytes, file);
  };
  (void)(write(sjis_path, pages.frame_set, sjis_path) && placeholder("frameright.html", pages.right, false) &&
         (panes == 2 || placeholder("frametop.html", pages.top, true)));
  return problem;
}

MaybeProblem Document::CopyStandardImages(const std::string& images_folder) {
  std::string folder = MenuPageFolder();
  // In the order the copy has always taken: a failure leaves the same files.
  for (const char* name : {kOtherwImage, kScrollImage, kPlusImage, kMinusImage, kLinktoImage}) {
    auto bytes = images_folder.empty() ? std::nullopt : ReadWholeFile(images_folder + name);
    if (!bytes) return FileError(sj("ファイルが存在しません。コピーに失敗しました。"));
    auto target = SystemPath(folder + name);
    // Named, since the copy stops at it and the files before it are new.
    if (!target || !WriteFileAtomically(*target, *bytes))
      return FileError(sj("「") + name + sj("」ファイルが書き込めません。コピーに失敗しました。"));
  }
  return std::nullopt;
}

Document::ImagesCopied Document::CopyMissingImages(const std::string& images_folder, const std::string& page) {
  ImagesCopied copied;
  if (images_folder.empty()) return copied;
  const std::string folder = MenuPageFolder();
  for (const char* name : kStandardImages) {
    // Every writer quotes an image's name: SRC="plus.gif", "minus.gif" in
    // the script, url("scroll.gif").
    if (page.find("\"" + std::string(name) + "\"") == std::string::npos) continue;
    auto target = SystemPath(folder + name);
    if (!target || FileExists(*target)) continue;
    auto bytes = ReadWholeFile(images_folder + name);
    if (!bytes) continue;
    if (!WriteFileAtomically(*target, *bytes)) {
      copied.problem = FileError(UnwritableMessage(name));
      break;
    }
    copied.names.push_back(name);
  }
  return copied;
}

}  // namespace pomeli2
