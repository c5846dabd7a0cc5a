#include "document/publish_check.h"

#include <utility>

#include "exchange/shown_text.h"
#include "generate/html5_values.h"
#include "generate/menu_page.h"
#include "generate/site_links.h"
#include "io/file_io.h"
#include "text/ascii.h"
#include "text/catalogue.h"
#include "text/numbers.h"
#include "text/paths.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

// The file a local link or image names, relative to the page's folder; none
// for a link with a scheme, one to this page's own place, or an absolute
// path, whose site root is unknown here.
std::optional<std::string> LocalFile(std::string path, const std::string& page_folder) {
  for (char& c : path)
    if (c == '\\') c = '/';  // as browsers read it
  if (const size_t end = path.find_first_of("?#"); end != std::string::npos) path.resize(end);
  if (path.compare(0, 5, "file:") == 0) {
    path.erase(0, 5);
    if (path.compare(0, 2, "//") == 0) {
      const size_t slash = path.find('/', 2);
      path = slash == std::string::npos ? std::string() : path.substr(slash);
      return path.empty() ? std::nullopt : std::optional<std::string>(path);
    }
  } else {
    size_t i = 0;
    while (i < path.size() && (IsAsciiAlnum(path[i]) || path[i] == '+' || path[i] == '-' || path[i] == '.'))
      ++i;
    if (i > 0 && i < path.size() && path[i] == ':' && IsAsciiAlpha(path[0]))
      return std::nullopt;
  }
  if (path.empty() || path[0] == '/') return std::nullopt;
  return page_folder + path;
}

bool Missing(const std::string& path, const std::string& page_folder) {
  auto local = LocalFile(path, page_folder);
  if (!local) return false;
  auto system = SystemPath(*local);
  return !system || !FileExists(*system);
}

std::string NotFound(const std::string& path) { return sj("「") + path + sj("」が見つかりません。"); }

// The title's text, or for a title that shows none the name the page
// gives the item: its picture's file name, else its link's, else "(無題)".
std::string ItemName(const PageSettings& s, const MenuModel& m, NodeId n) {
  const MenuItem& item = m.tree.Item(n);
  std::string text =
      exchange::ShownText(item.title, exchange::TitleMarkup::kAsWritten, exchange::TitlePicture::kLeftOut);
  if (!IsBlank(text)) return text;
  if (auto image = SplitImageTitle(item.title))
    if (std::string file = LinkFileName(image->path); !file.empty()) return file;
  const bool link_written = !m.tree.HasChildren(n) || s.ParentLink == 1;
  return UntitledName(link_written ? item.link : "");
}

// The items' names from the top-level item down to `n`.
std::string ItemPath(const PageSettings& s, const MenuModel& m, NodeId n) {
  std::string path;
  for (NodeId p = n; p != kNoNode && p != m.Root(); p = m.tree.Parent(p)) {
    std::string name = ItemName(s, m, p);
    path = p == n ? name : name + " > " + path;
  }
  return path;
}

using P = PageSettings;

// The names the form and the dialogs give the settings a check reports.
const std::pair<SettingField, const char*> kSettingNames[] = {
    {&P::Left, kLeftLabel},
    {&P::Row, kRowLabel},
    {&P::Indent, kIndentLabel},
    {&P::Speed, kSpeedLabel},
    {&P::BgColor, kBgColorLabel},
    {&P::BodyText, kBodyTextLabel},
    {&P::BodyLink, kBodyLinkLabel},
    {&P::BodyVlink, kBodyVlinkLabel},
    {&P::BodyAlink, kBodyAlinkLabel},
    {&P::BodyHover, kBodyHoverLabel},
    {&P::BodyHoverBack, kHoverBackLabel},
    {&P::BackPicture, kBackPictureLabel},
    {&P::Plus, kTreeImageLabels[0]},
    {&P::Minus, kTreeImageLabels[1]},
    {&P::Linkto, kTreeImageLabels[2]},
    {&P::Otherw, kTreeImageLabels[3]},
    {&P::BodyHeader, kBodyHeaderLabel},
    {&P::BodyFooter, kBodyFooterLabel},
};

class Checker {
 public:
  Checker(const PageSettings& s, const MenuModel& m, const std::string& folder) : s_(s), m_(m), folder_(folder) {}

  std::vector<CheckProblem> Run() {
    for (const UnworkableSetting& bad : FindUnworkableSettings(s_)) Page(bad.field, NeedText(bad.need));
    // Only the images the page shows: the branch buttons where there are
    // branches, the common link button where there are leaves, the other
    // button where a leaf with a link has one.
    const MenuTree& tree = m_.tree;
    bool branches = false, leaves = false, other_buttons = false;
    for (NodeId top = tree.FirstChild(m_.Root()); top != kNoNode; top = tree.NextSibling(top))
      tree.ForEachPreOrder(top, [&](NodeId n) {
        const bool leaf = !tree.HasChildren(n);
        (leaf ? leaves : branches) = true;
        const MenuItem& item = tree.Item(n);
        if (leaf && !item.link.empty() && item.other_window != OtherWindow::kNone) other_buttons = true;
      });
    const std::pair<std::string P::*, bool> files[] = {
        {&P::BackPicture, true}, {&P::Plus, branches},     {&P::Minus, branches},     {&P::Linkto, leaves},
        {&P::Otherw, other_buttons}, {&P::BodyHeader, true}, {&P::BodyFooter, true}};
    for (const auto& [field, shown] : files)
      if (shown && !(s_.*field).empty() && Missing(s_.*field, folder_)) Page(field, NotFound(s_.*field));
    for (NodeId top = tree.FirstChild(m_.Root()); top != kNoNode; top = tree.NextSibling(top))
      tree.ForEachPreOrder(top, [&](NodeId n) { Item(n); });
    return std::move(problems_);
  }

 private:
  void Page(const SettingField& field, const std::string& what) {
    problems_.push_back({kNoNode, field, "page", SettingName(field), what});
  }

  void Item(NodeId n) {
    const MenuTree& tree = m_.tree;
    const MenuItem& item = tree.Item(n);
    auto add = [&](const char* field, const std::string& what) {
      problems_.push_back({n, std::nullopt, PathOf(n), sj(field), what});
    };
    if (auto image = SplitImageTitle(item.title)) {
      if (Missing(image->path, folder_)) add("名前", NotFound(image->path));
    } else if (IsBlank(item.title)) {
      add("名前", sj("名前がありません。"));
    }
    if (!item.bg_color.empty() && !UsableColour(item.bg_color)) add(kBgColorLabel, sj(kColourExpected));
    // A branch's link is written only when parent links are on.
    const bool leaf = !tree.HasChildren(n);
    if (!item.link.empty() && (leaf || s_.ParentLink == 1) && Missing(item.link, folder_))
      add("リンク", NotFound(item.link));
    // A leaf's own icon shows only where no common link image is set.
    if (leaf && s_.ItemIconsEnabled() && !item.icon.empty() && Missing(item.icon, folder_))
      add("アイコン", NotFound(item.icon));
  }

  std::string PathOf(NodeId n) const { return ItemPath(s_, m_, n); }

  const PageSettings& s_;
  const MenuModel& m_;
  const std::string& folder_;
  std::vector<CheckProblem> problems_;
};

}  // namespace

std::string SettingName(const SettingField& field) {
  for (const auto& [named, name] : kSettingNames)
    if (named == field) return sj(name);
  return {};
}

std::string NeedText(SettingNeed need) {
  switch (need) {
    case SettingNeed::kNumber: return sj(kNumberExpected);
    case SettingNeed::kPositiveNumber: return sj(kPositiveNumberExpected);
    case SettingNeed::kColour: break;
  }
  return sj(kColourExpected);
}

std::string UnworkableMessage(const UnworkableSetting& bad) {
  return sj("「") + SettingName(bad.field) + sj("」の値ではメニューが動かないため、HTMLを書き出せません。\n") +
         NeedText(bad.need);
}

std::vector<CheckProblem> CheckBeforePublishing(const PageSettings& settings, const MenuModel& menu,
                                                const std::string& page_folder) {
  return Checker(settings, menu, page_folder).Run();
}

std::vector<CheckProblem> CheckSite(const PageSettings& settings, const MenuModel& menu, const std::string& site,
                                    const std::string& menu_page) {
  std::vector<CheckProblem> problems;
  const std::string folder = sj("サイトのフォルダ");
  auto links = LinksIntoSite(settings, menu.tree, site, menu_page);
  if (!links) return {{kNoNode, std::nullopt, "site", folder, sj("「") + Utf8ToSjis(site).value_or(site) + sj("」を読めません。")}};
  for (NodeId n : links->missing)
    problems.push_back({n, std::nullopt, ItemPath(settings, menu, n), sj("リンク"), sj("サイトにこのページがありません。")});
  for (const std::string& page : links->unlinked)
    problems.push_back({kNoNode, std::nullopt, "site", Utf8ToSjis(page).value_or(page), sj("メニューのどの項目からもリンクされていません。")});
  return problems;
}

std::string SiteFolderOf(const PageSettings& settings) {
  if (settings.Site.empty()) return {};
  const std::string site = settings.Site[0] == '/' ? settings.Site : FolderOf(settings.ProjectPath) + settings.Site;
  return SystemPath(site).value_or(SjisToUtf8Lossy(site));
}

std::string ProblemLine(const CheckProblem& problem) {
  return problem.where + ": " + problem.field + ": " + problem.what;
}

}  // namespace pomeli2
