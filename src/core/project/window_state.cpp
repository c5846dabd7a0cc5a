#include "project/window_state.h"

#include "io/file_io.h"
#include "project/ini_file.h"

namespace pomeli2 {
namespace {

constexpr char16_t kSize[] = u"window/size";
constexpr char16_t kMaximised[] = u"window/maximized";
constexpr char16_t kFolders[] = u"folders";
constexpr char16_t kDocument[] = u"folders/document";

std::u16string FolderKey(int kind) {
  std::u16string key = std::u16string(kFolders) + u"/";
  for (char c : std::to_string(kind)) key += static_cast<char16_t>(c);
  return key;
}

}  // namespace

KeptWindow WindowStateStore::Read() const {
  KeptWindow kept;
  const std::optional<std::string> bytes = ReadWholeFile(path_);
  if (!bytes) return kept;
  const IniSettings ini = IniSettings::Parse(*bytes);
  if (auto size = ini.SizeAt(kSize)) kept.size = WindowSize{size->first, size->second};
  kept.maximised = ini.BoolAt(kMaximised);
  kept.document = ini.BytesAt(kDocument);
  for (const std::u16string& key : ini.ChildKeys(kFolders))
    if (auto kind = IniSettings::ToInt(key)) kept.folders[*kind] = ini.BytesAt(std::u16string(kFolders) + u"/" + key);
  return kept;
}

bool WindowStateStore::Write(const KeptWindow& kept) const {
  IniSettings ini;
  if (std::optional<std::string> bytes = ReadWholeFile(path_)) ini = IniSettings::Parse(*bytes);
  if (kept.size) ini.Set(kSize, IniSettings::SizeValue(kept.size->width, kept.size->height));
  ini.Set(kMaximised, IniSettings::BoolValue(kept.maximised));
  // The folders of the last run give way to this one's.
  ini.RemoveGroup(kFolders);
  ini.Set(kDocument, IniSettings::BytesValue(kept.document));
  for (const auto& [kind, folder] : kept.folders) ini.Set(FolderKey(kind), IniSettings::BytesValue(folder));
  return WriteFileAtomically(path_, ini.Bytes(), /*durable=*/false);
}

}  // namespace pomeli2
