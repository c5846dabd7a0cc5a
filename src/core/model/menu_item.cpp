#include "model/menu_item.h"

#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2 {

std::string_view FontStyleCss(std::string_view style) {
  for (const FontStyle& f : kFontStyles)
    if (style == f.name) return f.css;
  return {};
}


MenuItem RootItem() {
  MenuItem root;
  root.title = sj(kHomePageTitle);
  root.bg_color = kNewItemBgColor;
  root.style = kNewItemStyle;
  root.font_size = kNewItemFontSize;
  root.target = kNewItemTarget;
  return root;
}

std::optional<ImageTitle> SplitImageTitle(std::string_view title) {
  if (title.size() <= 5 || title.substr(0, 5) != "file:") return std::nullopt;
  const size_t colon = title.find(':', 5);
  if (colon == std::string_view::npos) return ImageTitle{std::string(title.substr(5)), "", false};
  return ImageTitle{std::string(title.substr(5, colon - 5)), std::string(title.substr(colon + 1)), true};
}

std::string MapTitleText(std::string_view title, const std::function<std::string(std::string_view)>& shown) {
  auto image = SplitImageTitle(title);
  if (!image) return shown(title);
  if (!image->has_text) return std::string(title);
  return "file:" + image->path + ":" + shown(image->text);
}

}  // namespace pomeli2
