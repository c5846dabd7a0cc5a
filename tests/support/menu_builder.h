// Builds menus in code the way the add command does: insert under a parent,
// select the new item.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "model/menu_model.h"
#include "project/project_file.h"
#include "text/sjis.h"

namespace pomeli2::testing {

// An item's values as the add command gives them; `other` is the file's
// code of the other-button kind.
inline MenuItem ItemCells(const std::string& title, const std::string& link = "", const std::string& other = "0") {
  MenuItem r;
  r.title = title;
  r.bg_color = "#8080FF";
  r.style = "None";
  r.font_size = "10pt";
  r.link = link;
  r.other_window = OtherWindowOfCode(other);
  r.target = "Frame2";
  r.icon = "linkto.gif";
  r.open = "0";
  return r;
}

inline NodeId AddItem(MenuModel& m, NodeId parent, const MenuItem& item) {
  NodeId n = m.tree.InsertLast(parent, item);
  m.tree.Select(n);
  return n;
}

inline NodeId AddItem(MenuModel& m, NodeId parent, const std::string& title) { return AddItem(m, parent, ItemCells(title)); }

inline std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

// A fresh temporary folder, removed at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "pomeli2-test-XXXXXX").string();
    path_ = mkdtemp(tmpl.data());
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace pomeli2::testing
