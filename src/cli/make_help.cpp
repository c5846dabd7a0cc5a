// Makes the tool's --help text and its man page of one source, usage.txt:
// the usage lines, a paragraph that describes the tool, the options (an
// option starts at column 2, its text continues at column 21), then
// paragraphs that begin "Heading: ", each a section of the man page.
//   make_help usage.txt usage.inc pomeli2-build.1
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr size_t kTextColumn = 21;

// Text as roff reads it: "\" and "-" escaped, no line starting with a dot.
std::string Roff(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '-') out += "\\-";
    else out += c;
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

size_t Indent(const std::string& line) {
  const size_t at = line.find_first_not_of(' ');
  return at == std::string::npos ? line.size() : at;
}

std::string Trimmed(const std::string& line) { return line.substr(Indent(line)); }

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string ManPage(const std::vector<std::string>& lines) {
  std::ostringstream man;
  man << ".TH POMELI2-BUILD 1 \"2026\" \"Pomeli Pomeli 2.0\" \"User Commands\"\n"
      << ".SH NAME\npomeli2-build \\- write the menu page of a Pomeli Pomeli project\n.SH SYNOPSIS\n.nf\n";
  size_t i = 0;
  for (; i < lines.size() && !lines[i].empty(); ++i) {
    std::string line = lines[i];
    if (line.rfind("Usage: ", 0) == 0) line.erase(0, 7);
    else if (Indent(line) < kTextColumn) line = Trimmed(line);
    else line = "    " + Trimmed(line);
    man << Roff(line) << "\n";
  }
  man << ".fi\n.SH DESCRIPTION\n";
  for (++i; i < lines.size() && !lines[i].empty(); ++i) man << Roff(lines[i]) << "\n";
  man << ".SH OPTIONS\n";
  bool in_list = false;  // inside a list of lines that start with "."
  for (++i; i < lines.size() && !lines[i].empty(); ++i) {
    const std::string& line = lines[i];
    const size_t indent = Indent(line);
    if (indent < kTextColumn) {
      // "  -o MENU.html       text": the option, then its text.
      const size_t gap = line.find("  ", indent);
      man << ".TP\n.B " << Roff(line.substr(indent, gap - indent)) << "\n";
      if (gap != std::string::npos) man << Roff(Trimmed(line.substr(gap))) << "\n";
      in_list = false;
    } else {
      // An entry of a list inside the option's text, and the line after
      // the list, start lines of their own.
      const std::string text = Trimmed(line);
      if (indent == kTextColumn && (text[0] == '.' || in_list)) man << ".br\n";
      if (indent == kTextColumn) in_list = text[0] == '.';
      man << Roff(text) << "\n";
    }
  }
  // "Heading: text" at the start of a paragraph opens a section.
  for (++i; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    std::string line = lines[i];
    const size_t colon = line.find(": ");
    const bool heading = colon != std::string::npos && colon < 20 && lines[i - 1].empty() &&
                         line.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz ") == colon;
    if (heading) {
      man << ".SH " << Upper(line.substr(0, colon)) << "\n";
      line.erase(0, colon + 2);
    }
    man << Roff(line) << "\n";
  }
  man << ".SH SEE ALSO\n.BR pomeli2 (1)\n";
  return man.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_help usage.txt usage.inc man-page\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  std::stringstream whole;
  whole << in.rdbuf();
  const std::string text = whole.str();
  std::vector<std::string> lines;
  std::istringstream split(text);
  for (std::string line; std::getline(split, line);) lines.push_back(line);
  if (!in.is_open() || lines.empty() || text.find(")usage\"") != std::string::npos) {
    std::cerr << "make_help: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::ofstream inc(argv[2], std::ios::binary);
  inc << "// Made by make_help of usage.txt; edit that.\ninline constexpr char kUsageText[] = R\"usage(" << text
      << ")usage\";\n";
  std::ofstream man(argv[3], std::ios::binary);
  man << ManPage(lines);
  return inc && man ? 0 : 1;
}
