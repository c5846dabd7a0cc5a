#include "generate/js_text.h"

#include "text/sjis.h"

namespace pomeli2 {

namespace {

template <typename Replace>
std::string Escape(std::string_view value, Replace replace) {
  std::string out;
  out.reserve(value.size() + 8);
  for (size_t i = 0; i < value.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(value[i]);
    if (IsSjisLeadByte(c) && i + 1 < value.size()) {
      out += value[i];
      out += value[++i];
      continue;
    }
    if (const char* r = replace(value[i])) out += r;
    else out += value[i];
  }
  return out;
}

}  // namespace

std::string EscapeForHandler(std::string_view value) {
  return Escape(value, [](char c) -> const char* {
    switch (c) {
      case '\\': return "\\\\";
      case '\'': return "\\'";
      case '"': return "&quot;";
      default: return nullptr;
    }
  });
}

std::string EscapeForScriptString(std::string_view value) {
  return Escape(value, [](char c) -> const char* {
    switch (c) {
      case '\\': return "\\\\";
      case '"': return "\\\"";
      default: return nullptr;
    }
  });
}

std::string EscapeForAttribute(std::string_view value) {
  return Escape(value, [](char c) -> const char* { return c == '"' ? "&quot;" : nullptr; });
}

std::string EscapeForText(std::string_view value) {
  return Escape(value, [](char c) -> const char* {
    switch (c) {
      case '&': return "&amp;";
      case '<': return "&lt;";
      case '>': return "&gt;";
      case '"': return "&quot;";
      default: return nullptr;
    }
  });
}

std::string EscapeForCssString(std::string_view value) {
  return Escape(value, [](char c) -> const char* {
    switch (c) {
      case '\\': return "\\\\";
      case '"': return "\\\"";
      case '<': return "\\3c ";
      case '\r':
      case '\n': return " ";
      default: return nullptr;
    }
  });
}

}  // namespace pomeli2
