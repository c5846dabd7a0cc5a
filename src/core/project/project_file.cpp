#include "project/project_file.h"

#include <algorithm>

#include "project/line_reader.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {

const std::vector<ProjectKey>& ProjectKeys() {
  using P = PageSettings;
  static const std::vector<ProjectKey> keys = {
      {"[Title]", ProjectKey::kText, &P::Title, nullptr},
      {"[BgColor]", ProjectKey::kText, &P::BgColor, nullptr},
      {"[BackPicture]", ProjectKey::kText, &P::BackPicture, nullptr},
      {"[Start]", ProjectKey::kNumber, nullptr, nullptr, nullptr, &P::Start},
      {"[Left]", ProjectKey::kNumber, nullptr, nullptr, nullptr, &P::Left},
      {"[Row]", ProjectKey::kNumber, nullptr, nullptr, nullptr, &P::Row},
      {"[Indent]", ProjectKey::kNumber, nullptr, nullptr, nullptr, &P::Indent},
      {"[BodyText]", ProjectKey::kText, &P::BodyText, nullptr},
      {"[BodyLink]", ProjectKey::kText, &P::BodyLink, nullptr},
      {"[BodyVlink]", ProjectKey::kText, &P::BodyVlink, nullptr},
      {"[BodyAlink]", ProjectKey::kText, &P::BodyAlink, nullptr},
      {"[BodyHover]", ProjectKey::kText, &P::BodyHover, nullptr},
      {"[BodyHoverBack]", ProjectKey::kText, &P::BodyHoverBack, nullptr},
      {"[TextBackOn]", ProjectKey::kFlag, nullptr, &P::TextBackOn},
      {"[ParentLink]", ProjectKey::kFlag, nullptr, &P::ParentLink},
      {"[TreeBgColor]", ProjectKey::kColour, nullptr, &P::TreeBgColor},
      {"[TreeItemColor]", ProjectKey::kColour, nullptr, &P::TreeItemColor},
      {"[Plus]", ProjectKey::kText, &P::Plus, nullptr},
      {"[Minus]", ProjectKey::kText, &P::Minus, nullptr},
      {"[Linkto]", ProjectKey::kText, &P::Linkto, nullptr},
      {"[Otherw]", ProjectKey::kText, &P::Otherw, nullptr},
      {"[RightFrame]", ProjectKey::kRightFrame, nullptr, nullptr},
      {"[OtherwFrame]", ProjectKey::kText, &P::OtherwFrame, nullptr},
      {"[FirstPage]", ProjectKey::kText, &P::FirstPage, nullptr},
      {"[FirstTopPage]", ProjectKey::kText, &P::FirstTopPage, nullptr},
      {"[Browser]", ProjectKey::kPageMode, nullptr, nullptr},
      {"[ParentLinkOn]", ProjectKey::kFlag, nullptr, &P::ParentLinkOn},
      {"[Unite]", ProjectKey::kFlag, nullptr, &P::Unite},
      {"[Path]", ProjectKey::kText, &P::Path, nullptr},
      {"[CloseTree]", ProjectKey::kFlag, nullptr, &P::CloseTree},
      {"[CloseItems]", ProjectKey::kFlag, nullptr, &P::CloseItems},
      {"[Speed]", ProjectKey::kNumber, nullptr, nullptr, nullptr, &P::Speed},
      {"[Filter]", ProjectKey::kFlag, nullptr, &P::Filter, "0"},
      {"[Lang]", ProjectKey::kText, &P::Lang, nullptr, "ja"},
      {"[Dir]", ProjectKey::kText, &P::Dir, nullptr, "ltr"},
      {"[Dark]", ProjectKey::kFlag, nullptr, &P::Dark, "0"},
      {"[Site]", ProjectKey::kText, &P::Site, nullptr, ""},
      {"[BodyHeader]", ProjectKey::kText, &P::BodyHeader, nullptr},
      {"[BodyFooter]", ProjectKey::kText, &P::BodyFooter, nullptr},
  };
  return keys;
}

const std::vector<std::string>& PageModeTexts() {
  // In the order of PageMode.
  static const std::vector<std::string> texts = {"IE4-5, NN4, NN6", "IE4-5 Only", "NN4 Only", "NN6 Only", "HTML5"};
  return texts;
}

std::string PageModeToString(const BrowserSetting& browser) {
  if (browser.unknown) return *browser.unknown;
  return PageModeTexts()[static_cast<size_t>(browser.mode)];
}

BrowserSetting PageModeFromString(std::string_view text) {
  const std::vector<std::string>& texts = PageModeTexts();
  for (size_t i = 0; i < texts.size(); ++i)
    if (texts[i] == text) return {static_cast<PageMode>(i), std::nullopt};
  return {PageMode::kAllBrowsers, std::string(text)};
}

OtherWindow OtherWindowOfCode(std::string_view code) {
  if (code == "0") return OtherWindow::kNone;
  if (code == "1") return OtherWindow::kNewWindow;
  return OtherWindow::kLeaveFrames;
}

std::string RightFrameToString(const std::optional<std::string>& frame) { return frame ? *frame : sj("なし"); }

std::optional<std::string> RightFrameFromString(std::string_view text) {
  if (text == sj("なし")) return std::nullopt;
  return std::string(text);
}

std::string SettingValue(const PageSettings& s, const ProjectKey& k) {
  switch (k.kind) {
    case ProjectKey::kText: return s.*k.text;
    case ProjectKey::kNumber: return (s.*k.numeral).text();
    case ProjectKey::kFlag: return s.*k.number == 1 ? "1" : "0";
    case ProjectKey::kColour: return ToText(s.*k.number);
    case ProjectKey::kPageMode: return PageModeToString(s.Browser);
    case ProjectKey::kRightFrame: return RightFrameToString(s.RightFrame);
  }
  return {};
}

void StoreSettingValue(PageSettings& s, const ProjectKey& k, std::string_view value) {
  switch (k.kind) {
    case ProjectKey::kText: s.*k.text = std::string(value); break;
    case ProjectKey::kNumber: s.*k.numeral = NumberText(std::string(value)); break;
    case ProjectKey::kFlag: s.*k.number = !value.empty() && value[0] == '1' ? 1 : 0; break;
    case ProjectKey::kColour: s.*k.number = LenientSignedInt(value); break;
    case ProjectKey::kPageMode: s.Browser = PageModeFromString(value); break;
    case ProjectKey::kRightFrame: s.RightFrame = RightFrameFromString(value); break;
  }
}

// ---------------------------------------------------------------- writing

namespace {

bool IsBodyKey(const ProjectKey& k) { return k.text == &PageSettings::BodyHeader || k.text == &PageSettings::BodyFooter; }

// The eleven fields of an item line, in their order; Font is always "1".
template <typename F>
void ForEachItemField(const MenuItem& item, int depth, F&& field) {
  const std::string depth_text = ToText(depth);
  const char other = CodeOf(item.other_window);
  for (std::string_view value : {std::string_view(depth_text), std::string_view(item.title),
                                 std::string_view(item.bg_color), std::string_view(item.style), std::string_view("1"),
                                 std::string_view(item.font_size), std::string_view(item.link), std::string_view(&other, 1),
                                 std::string_view(item.target), std::string_view(item.icon), std::string_view(item.open)})
    field(value);
}

}  // namespace

size_t ItemLineLength(const MenuItem& item, int depth) {
  size_t length = 10;  // the TABs
  ForEachItemField(item, depth, [&](std::string_view value) { length += value.size(); });
  return length;
}

SerializedProject SerializeProject(const PageSettings& settings, const MenuModel& menu) {
  SerializedProject result;
  std::string& out = result.bytes;
  for (const ProjectKey& k : ProjectKeys()) {
    std::string value = SettingValue(settings, k);
    if ((IsBodyKey(k) && value.empty()) || k.Omitted(value)) continue;
    size_t start = out.size();
    out += k.key;
    out += '\t';
    out += value;
    if (out.size() - start > kMaxProjectLine) {
      result = SerializedProject{};
      result.too_long_key = k.key;
      return result;
    }
    out += "\r\n";
  }
  const MenuTree& tree = menu.tree;
  const NodeId root = menu.Root();
  std::vector<std::pair<NodeId, int>> stack;
  if (root != kNoNode) stack.push_back({root, 0});
  while (!stack.empty()) {
    auto [node, depth] = stack.back();
    stack.pop_back();
    MenuItem stored;
    const MenuItem* item = &tree.Item(node);
    if (node == root) {
      stored = *item;
      stored.title = menu.root_title;
      item = &stored;
    }
    if (ItemLineLength(*item, depth) > kMaxProjectLine) {
      result = SerializedProject{};
      result.too_long_item_title = item->title;
      return result;
    }
    bool first = true;
    ForEachItemField(*item, depth, [&](std::string_view value) {
      if (!first) out += '\t';
      first = false;
      out += value;
    });
    out += "\r\n";
    for (NodeId c = tree.LastChild(node); c != kNoNode; c = tree.PrevSibling(c)) stack.push_back({c, depth + 1});
  }
  return result;
}

// ---------------------------------------------------------------- reading

namespace {

class Parser {
 public:
  Parser(const PageSettings& current, const std::vector<std::string>& targets) : known_targets_(targets) {
    out_.settings = current;
    out_.settings.BodyHeader.clear();
    out_.settings.BodyFooter.clear();
    // A key the file does not have means its value of old.
    for (const ProjectKey& k : ProjectKeys())
      if (k.absent) StoreSettingValue(out_.settings, k, k.absent);
  }

  // False once reading must stop.
  bool Line(std::string_view line) {
    // The fields are walked as a C string: the first NUL ends the line.
    line = line.substr(0, line.find('\0'));
    fields_.clear();
    size_t field_start = 0;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '\t' || line[i] == '\n') {
        fields_.push_back(line.substr(field_start, i - field_start));
        field_start = i + 1;
      }
    }
    if (!line.empty() && line[0] == '[') {
      if (fields_.size() >= 2) StoreSetting(fields_[0], fields_[1]);
      return true;
    }
    return ItemLine();
  }

  ParsedProject Finish() {
    if (out_.failure == ReadFailure::kNone && out_.tree.Count() == 0) out_.failure = ReadFailure::kBadStructure;
    return std::move(out_);
  }

 private:
  void StoreSetting(std::string_view key, std::string_view value) {
    for (const ProjectKey& k : ProjectKeys()) {
      if (key != k.key) continue;
      StoreSettingValue(out_.settings, k, value);
      return;
    }
  }

  bool Fail(ReadFailure f) {
    out_.failure = f;
    return false;
  }

  bool ItemLine() {
    // Fields are checked in the order they close, so a bad number field
    // is reported before a wrong field count.
    for (size_t i = 0; i < fields_.size(); ++i) {
      size_t number = i + 1;
      if ((number == 1 || number == 5 || number == 8) && !IsAllDigits(fields_[i])) return Fail(ReadFailure::kBadNumber);
      if (number == 9) NoteTarget(fields_[i]);
    }
    if (fields_.size() != 8 && fields_.size() != 11) return Fail(ReadFailure::kBadStructure);
    MenuTree& tree = out_.tree;
    if (!ItemsFit(tree.Count(), 1)) return Fail(ReadFailure::kTooManyItems);

    // A new tree gives ids in insertion order: an item's id is its index.
    std::uint64_t depth = DigitsValue(fields_[0]);
    NodeId parent = kNoNode;
    if (tree.Count() == 0) {
      levels_.assign(1, 0);
    } else if (depth > previous_depth_) {
      parent = tree.Count() - 1;
    } else {
      // Climbing (previous - depth + 1) parents from the previous item at
      // level L reaches level L - climbs; below 0 would be a second root.
      std::uint64_t climbs = previous_depth_ - depth + 1;
      std::uint64_t level = static_cast<std::uint64_t>(previous_level_);
      if (climbs > level) return Fail(ReadFailure::kBadStructure);
      parent = levels_[static_cast<size_t>(level - climbs)];
    }
    previous_level_ = parent == kNoNode ? 0 : level_of_[static_cast<size_t>(parent)] + 1;
    previous_depth_ = depth;
    level_of_.push_back(previous_level_);
    if (levels_.size() <= static_cast<size_t>(previous_level_)) levels_.resize(static_cast<size_t>(previous_level_) + 1);
    levels_[static_cast<size_t>(previous_level_)] = tree.Count();

    MenuItem r;
    r.title.assign(fields_[1]);
    r.bg_color.assign(fields_[2]);
    r.style.assign(fields_[3]);
    r.font_size.assign(fields_[5]);
    r.link.assign(fields_[6]);
    std::uint64_t other = DigitsValue(fields_[7]);
    r.other_window = other == 0 ? OtherWindow::kNone : other == 1 ? OtherWindow::kNewWindow : OtherWindow::kLeaveFrames;
    if (fields_.size() == 11) {
      r.target.assign(fields_[8]);
      r.icon.assign(fields_[9]);
      r.open.assign(fields_[10]);
    }
    tree.InsertLast(parent, std::move(r));
    return true;
  }

  void NoteTarget(std::string_view target) {
    for (const auto& t : known_targets_)
      if (t == target) return;
    for (const auto& t : out_.new_targets)
      if (t == target) return;
    out_.new_targets.emplace_back(target);
  }

  const std::vector<std::string>& known_targets_;
  ParsedProject out_;
  std::vector<std::string_view> fields_;
  std::uint64_t previous_depth_ = 0;
  int previous_level_ = 0;
  std::vector<NodeId> levels_;  // the latest item at each tree level
  std::vector<int> level_of_;  // tree level of each item
};

}  // namespace

ParsedProject ParseProject(const ByteSource& source, const PageSettings& current,
                           const std::vector<std::string>& target_list) {
  LineReader reader(source);
  Parser parser(current, target_list);
  std::string_view line;
  while (reader.Next(line))
    if (!parser.Line(line)) break;
  return parser.Finish();
}

NodeId RebuildMenu(MenuModel& model, MenuTree items) {
  model.root_title = items.Count() == 0 ? std::string() : items.Item(items.FirstTop()).title;
  NodeId last = items.FirstTop();
  while (last != kNoNode && items.HasChildren(last)) last = items.LastChild(last);
  items.Select(last);
  model.tree.Replace(std::move(items));
  return last;
}

NodeId RebuildMenu(MenuModel& model, MenuItem root, std::vector<ClipItem> items) {
  MenuTree tree;
  std::vector<NodeId> last_at_level = {tree.InsertLast(kNoNode, std::move(root))};
  for (ClipItem& c : items) {
    const size_t level = static_cast<size_t>(c.depth) + 1;
    last_at_level.resize(level + 1, last_at_level.front());
    last_at_level[level] = tree.InsertLast(last_at_level[level - 1], std::move(c.item));
  }
  return RebuildMenu(model, std::move(tree));
}

ParsedProject ParseProject(std::string_view bytes, const PageSettings& current,
                           const std::vector<std::string>& target_list) {
  ByteSource source = [&bytes](char* buffer, size_t size) {
    size_t n = std::min(size, bytes.size());
    std::copy_n(bytes.data(), n, buffer);
    bytes.remove_prefix(n);
    return n;
  };
  return ParseProject(source, current, target_list);
}

}  // namespace pomeli2
