// Pomeli2.ini in the program folder: one tab-separated line with the
// window's position, the client size, the modified mark and the last
// project, each field followed by a TAB, the line by CR LF.
#pragma once

#include <optional>
#include <string>

namespace pomeli2 {

class SettingsFile {
 public:
  // `program_folder` is a system path ending in "/".
  explicit SettingsFile(std::string program_folder) : path_(std::move(program_folder) + "Pomeli2.ini") {}
  const std::string& Path() const { return path_; }

  struct Placement {
    bool exists = false;    // no file: no saved position
    bool readable = false;  // the file exists but could not be read
    int left = 0, top = 0;
  };
  // Fields 1 and 2 as the window reads them when it is created.
  Placement ReadPlacement() const;

  struct Fields {
    std::string modified;      // field 5
    std::string last_project;  // field 6, CP932
  };
  // Fields 5 and 6 of the first line; nullopt when the file cannot be read.
  std::optional<Fields> Read() const;

  // "1" TAB "1" TAB "480" TAB "510" TAB {modified} TAB {last} TAB CR LF.
  bool WriteEditLine(int modified, const std::string& last_project) const;
  // {left} TAB {top} TAB {width} TAB {height} TAB "0" TAB {last} TAB CR LF;
  // a negative edge is written as "1".
  bool WriteCloseLine(int left, int top, int width, int height, const std::string& last_project) const;

 private:
  std::string path_;
};

}  // namespace pomeli2
