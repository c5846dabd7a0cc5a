#include "generate/template_text.h"

namespace pomeli2 {

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
    text.replace(pos, from.size(), to);
  return text;
}

// These copy each line's text in one run, not a byte at a time: the pages
// are mostly such runs.
std::string Render(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    while (line.substr(0, 4) == "    ") {
      out += '\t';
      line.remove_prefix(4);
    }
    out.append(line);
    if (end == std::string_view::npos) break;
    out += "\r\n";
    text.remove_prefix(end + 1);
  }
  return out;
}

std::string IndentOnce(std::string_view rendered) {
  std::string out;
  out.reserve(rendered.size() + rendered.size() / 16);
  while (!rendered.empty()) {
    size_t end = rendered.find('\n');
    out += '\t';
    out.append(rendered.substr(0, end == std::string_view::npos ? end : end + 1));
    if (end == std::string_view::npos) break;
    rendered.remove_prefix(end + 1);
  }
  return out;
}

std::string Fill(std::string_view text, const TemplateValues& values) {
  std::string out;
  out.reserve(text.size());
  size_t done = 0;
  for (size_t open = text.find('{'); open != std::string_view::npos; open = text.find('{', open + 1)) {
    size_t close = text.find('}', open);
    if (close == std::string_view::npos) break;
    auto it = values.find(text.substr(open + 1, close - open - 1));
    if (it == values.end()) continue;
    out.append(text.substr(done, open - done));
    out += it->second;
    done = close + 1;
    open = close;
  }
  out.append(text.substr(done));
  return out;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  size_t done = 0;
  for (size_t line_end = text.find('\n'); line_end != std::string_view::npos; line_end = text.find('\n', line_end + 1)) {
    out.append(text.substr(done, line_end - done));
    out += "\r\n";
    done = line_end + 1;
  }
  out.append(text.substr(done));
  return out;
}

}  // namespace pomeli2
