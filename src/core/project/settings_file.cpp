#include "project/settings_file.h"

#include <vector>

#include "io/file_io.h"
#include "text/numbers.h"

namespace pomeli2 {
namespace {

// The fields of the first line as a text-mode read of at most `limit` bytes
// gives them, split at TAB and LF.
std::vector<std::string> FirstLineFields(const std::string& bytes, size_t limit) {
  std::string line;
  for (size_t i = 0; i < bytes.size() && line.size() < limit; ++i) {
    char c = bytes[i];
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    line += c;
    if (c == '\n') break;
  }
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == '\t' || c == '\n') fields.emplace_back();
    else fields.back() += c;
  }
  return fields;
}

std::string Field(const std::vector<std::string>& fields, size_t index) {
  return index < fields.size() ? fields[index] : std::string();
}

}  // namespace

SettingsFile::Placement SettingsFile::ReadPlacement() const {
  Placement p;
  if (!FileExists(path_)) return p;
  p.exists = true;
  auto bytes = ReadWholeFile(path_);
  if (!bytes) return p;
  p.readable = true;
  auto fields = FirstLineFields(*bytes, 99);
  p.left = LenientSignedInt(Field(fields, 0));
  p.top = LenientSignedInt(Field(fields, 1));
  return p;
}

std::optional<SettingsFile::Fields> SettingsFile::Read() const {
  auto bytes = ReadWholeFile(path_);
  if (!bytes) return std::nullopt;
  auto fields = FirstLineFields(*bytes, 1023);
  return Fields{Field(fields, 4), Field(fields, 5)};
}

bool SettingsFile::WriteEditLine(int modified, const std::string& last_project) const {
  std::string line = std::string("1\t1\t480\t510\t") + (modified == 1 ? "1" : "0") + "\t" + last_project + "\t\r\n";
  return WriteFileAtomically(path_, line, /*durable=*/false);
}

bool SettingsFile::WriteCloseLine(int left, int top, int width, int height, const std::string& last_project) const {
  if (left < 0 || top < 0) left = top = 1;
  std::string line = ToText(left) + "\t" + ToText(top) + "\t" + ToText(width) + "\t" + ToText(height) + "\t0\t" +
                     last_project + "\t\r\n";
  return WriteFileAtomically(path_, line);
}

}  // namespace pomeli2
