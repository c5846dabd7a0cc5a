// Builds menus in code the way the add command does: insert under a parent,
// select the new item, append its row.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "model/menu_model.h"
#include "text/sjis.h"

namespace pomeli2::testing {

inline ItemRow ItemCells(const std::string& title, const std::string& link = "", const std::string& other = "0") {
  ItemRow r;
  r[kTitle] = title;
  r[kTextBgColor] = "#8080FF";
  r[kStyle] = "None";
  r[kFontSize] = "10pt";
  r[kLink] = link;
  r[kOtherWindow] = other;
  r[kTarget] = "Frame2";
  r[kIcon] = "linkto.gif";
  r[kOpen] = "0";
  return r;
}

inline NodeId AddItem(MenuModel& m, NodeId parent, const ItemRow& cells) {
  NodeId n = m.tree.InsertLast(parent, cells[kTitle], m.table.RowCounter());
  m.tree.Select(n);
  m.table.AppendItemRow(m.SelectedRow, cells);
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
