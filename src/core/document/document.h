// The document: the menu model, the page settings, the project's name and
// its modified mark; reading and writing the project, writing the menu page,
// the frame sets and the standard images. The command-line tool uses it
// alone; the editor adds the form and the commands around it. What fails
// comes back as a Problem for the caller to show.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document/problem.h"
#include "model/menu_model.h"
#include "model/page_settings.h"
#include "project/settings_file.h"
#include "text/paths.h"

namespace pomeli2 {

class Document {
 public:
  Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  MenuModel model;
  PageSettings settings;
  // Whether frame sets are written with resizable frames; not stored.
  int frame_resizable = 0;

  // --- The modified mark and the settings file that mirrors it.
  int ModifiedFlag() const { return modified_flag_; }
  // How many times the document was marked changed: a command that changes
  // it marks it, so the dispatch knows a step was done.
  unsigned long Edits() const { return edits_; }
  // Changes of the editor's state that the project file does not hold (the
  // new-item fields): a step of the history, but no edit of the project.
  unsigned long Touches() const { return touches_; }
  void Touch() { ++touches_; }
  // Sets the mark and rewrites the settings file, once attached. When the
  // file cannot be written the problem says so and the mark follows the
  // edits all the same, so that no change is lost at the close.
  [[nodiscard]] MaybeProblem MarkModified(int value);
  void AttachSettingsFile(const SettingsFile* file) { settings_file_ = file; }
  const SettingsFile* AttachedSettingsFile() const { return settings_file_; }
  // Reads the last project from the settings file (at start).
  void ReadLastProject();
  const std::string& LastProjectPath() const { return last_project_path_; }

  // --- The project file.
  // Replaces the menu and the settings by the file's. Target names not yet
  // in `target_list` are appended to it. On any failure nothing changes.
  // The selection goes to the last item read; showing the new tree is the
  // caller's.
  [[nodiscard]] MaybeProblem ReadProjectFile(const std::string& path, std::vector<std::string>& target_list);
  // Whether the page at `sjis_path` may be taken as the project's own page
  // when a project is opened.
  static bool NamesItsPage(const std::string& sjis_path);
  // Forgets a pending copy, numbers the items and writes ProjectPath. A
  // problem when nothing was written.
  [[nodiscard]] MaybeProblem WriteProjectFile();

  // --- The menu page and what goes beside it.
  enum class PageWrite { kWritten, kRefused, kWriteFailed };
  struct PageWriteResult {
    PageWrite result = PageWrite::kWritten;
    Problems problems;
  };
  // A menu with only the root's row has nothing to write: the problem.
  [[nodiscard]] MaybeProblem NoItemsToWrite() const;
  // Forgets a pending copy, numbers the items and writes the menu page to
  // Path. Unworkable settings are refused.
  [[nodiscard]] PageWriteResult WriteMenuPage(std::string* written = nullptr);
  // The page's bytes for `settings` and a numbered `table`; whether the
  // BODY header and footer files were missing (they are then left out).
  std::string ComposeMenuPage(const PageSettings& settings, const MenuTree& tree,
                              bool& header_missing, bool& footer_missing) const;
  // The BODY header and footer files the settings name, as read.
  struct BodyFiles {
    std::optional<std::string> header, footer;
    bool header_missing = false, footer_missing = false;
    const std::string* Header() const { return header ? &*header : nullptr; }
    const std::string* Footer() const { return footer ? &*footer : nullptr; }
  };
  static BodyFiles ReadBodyFiles(const PageSettings& settings);
  // The problem of a setting that would give a page that does not work (a
  // zero row pitch, an endless closing animation), or of an item colour.
  [[nodiscard]] MaybeProblem UnworkableSettings() const;
  // A BODY header or footer file that is named but missing: the page is
  // then not written.
  [[nodiscard]] Problems MissingBodyFiles() const;
  // Path becomes `sjis_path`, HtmlFileName its last component.
  void SetMenuPagePath(const std::string& sjis_path);
  // The folder part of Path with its trailing "/"; "" while Path is a bare
  // name.
  std::string MenuPageFolder() const;

  // A problem when a frame set page may not take this name: a placeholder
  // page's or the menu page's own, whatever the folder.
  [[nodiscard]] MaybeProblem FrameSetNameRefused(const std::string& sjis_path) const;
  // Writes a frame set page at `sjis_path` and its placeholder pages beside
  // it. The problem of the file that could not be written.
  [[nodiscard]] MaybeProblem WriteFrameSet(const std::string& sjis_path, int panes);
  // Copies the five standard images from `images_folder` (a system path
  // ending in "/") beside the menu page; the problem of a failure.
  [[nodiscard]] MaybeProblem CopyStandardImages(const std::string& images_folder);
  // Copies beside the menu page the standard images that `page` refers to
  // by their bare names and that the page's folder lacks; an existing file
  // is never replaced. The names copied; a copy that cannot be written is
  // the problem and ends the copying.
  struct ImagesCopied {
    std::vector<std::string> names;
    MaybeProblem problem;
  };
  ImagesCopied CopyMissingImages(const std::string& images_folder, const std::string& page);

 private:
  static Problems BodyFilesMissing(bool header_missing, bool footer_missing);
  const SettingsFile* settings_file_ = nullptr;
  std::string last_project_path_;
  int modified_flag_ = 0;
  unsigned long edits_ = 0;
  unsigned long touches_ = 0;
};

}  // namespace pomeli2
