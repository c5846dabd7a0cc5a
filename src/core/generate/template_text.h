// Small tools for the page templates: literal text with {Name} slots.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace pomeli2 {

using TemplateValues = std::map<std::string, std::string, std::less<>>;

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

// Leading groups of four spaces become TABs; "\n" becomes CR LF.
std::string Render(std::string_view text);

// "\n" becomes CR LF; nothing else changes.
std::string WithCrLf(std::string_view text);

// Puts one more TAB at the start of every line.
std::string IndentOnce(std::string_view rendered);

// Replaces each {Name} that has a value in one pass, so that values are never
// scanned for names themselves; other braces stay as they are.
std::string Fill(std::string_view text, const TemplateValues& values);

}  // namespace pomeli2
