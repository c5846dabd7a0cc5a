#include "generate/template_text.h"

namespace pomeli2 {

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
    text.replace(pos, from.size(), to);
  return text;
}

std::string Render(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  bool line_start = true;
  for (size_t i = 0; i < text.size(); ++i) {
    if (line_start && text.compare(i, 4, "    ") == 0) {
      out += '\t';
      i += 3;
      continue;
    }
    line_start = false;
    if (text[i] == '\n') {
      out += "\r\n";
      line_start = true;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string IndentOnce(std::string_view rendered) {
  std::string out;
  bool line_start = true;
  for (char c : rendered) {
    if (line_start) out += '\t';
    out += c;
    line_start = c == '\n';
  }
  return out;
}

std::string Fill(std::string_view text, const TemplateValues& values) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{') {
      size_t close = text.find('}', i);
      if (close != std::string_view::npos) {
        auto it = values.find(text.substr(i + 1, close - i - 1));
        if (it != values.end()) {
          out += it->second;
          i = close;
          continue;
        }
      }
    }
    out += text[i];
  }
  return out;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace pomeli2
