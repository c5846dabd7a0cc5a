// Settings in the INI form of Qt 6's QSettings, read and written byte for
// byte as it does: a file it wrote reads the same here, and a file written
// here reads the same there. Keys are "section/name"; texts are UTF-16, as
// QSettings holds them. Sections and keys are written in the order of their
// names, lines end in LF.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pomeli2 {

class IniSettings {
 public:
  // A value as QSettings keeps it: one text or a list of texts, each in the
  // form it is written back in ("@Size(720 660)", "@ByteArray(...)",
  // "@@x" for a text that starts with "@").
  struct Value {
    std::vector<std::u16string> texts;
    bool list = false;
  };

  // What QSettings makes of a file's bytes; a line it cannot read is
  // passed over, a key written twice keeps its last value.
  static IniSettings Parse(std::string_view bytes);
  // The file QSettings writes for these values.
  std::string Bytes() const;

  void Set(const std::u16string& key, Value value) { values_[key] = std::move(value); }
  // The group's keys and the group itself, as QSettings::remove does.
  void RemoveGroup(const std::u16string& group);
  // The keys right under `group`: "1" for "folders/1", not "a/b" for
  // "folders/a/b".
  std::vector<std::u16string> ChildKeys(const std::u16string& group) const;

  // The values of the kinds QSettings writes for a QSize, a bool and a
  // QByteArray.
  static Value SizeValue(int width, int height);
  static Value BoolValue(bool value);
  static Value BytesValue(std::string_view bytes);
  // What QVariant's toSize(), toBool() and toByteArray() give for a key's
  // value; an invalid size is nothing, a missing key false or empty.
  std::optional<std::pair<int, int>> SizeAt(const std::u16string& key) const;
  bool BoolAt(const std::u16string& key) const;
  std::string BytesAt(const std::u16string& key) const;

  // QString::toInt: up to a NUL, white space around, a sign, decimal digits,
  // in range.
  static std::optional<int> ToInt(std::u16string_view text);

 private:
  const Value* Find(const std::u16string& key) const;

  std::map<std::u16string, Value> values_;
};

}  // namespace pomeli2
