// What the commands use beside the document and the form: where each kind
// of file dialog was last, the colour dialog's custom colours, the program
// folder and the preview's private folder. They outlive a document; the
// editor keeps one and hands it to every command.
#pragma once

#include <map>
#include <string>

#include "editor/dialogs/dialogs.h"

namespace pomeli2 {

class Services {
 public:
  // `program_folder` is a system path ending in "/" (settings file, backup
  // copy, standard images, default names); empty when there is none.
  explicit Services(std::string program_folder = {}) : program_folder_(std::move(program_folder)) {}
  Services(const Services&) = delete;
  Services& operator=(const Services&) = delete;
  // Removes the preview folder with what it holds.
  ~Services();

  const std::string& ProgramFolder() const { return program_folder_; }
  CustomColours& Custom() { return custom_colours_; }
  // The private folder of the browser preview (a system path ending in
  // "/"), made on first use and removed with the services; empty when it
  // cannot be made.
  const std::string& PreviewFolder();

  // The folder a kind of file dialog used last (CP932, ending in "/").
  std::string& DialogFolder(int kind) { return dialog_folders_[kind]; }
  // Another document (New, Open), now `project_path`: the folders of the
  // last one's site are no guide; where projects are kept still is.
  void ForgetDialogFolders(const std::string& project_path);
  // The dialogs' folders kept from one start to the next, with the document
  // they were used for.
  struct KeptFolders {
    std::string document;               // its ProjectPath (CP932)
    std::map<int, std::string> folders;  // by kind, CP932, ending in "/"
  };
  KeptFolders FoldersToKeep(const std::string& project_path) const;
  // At the start: where projects are kept comes back at once, the other
  // folders when the project they were used for is opened again.
  void RestoreFolders(KeptFolders kept);

 private:
  std::string program_folder_;
  CustomColours custom_colours_;
  std::string preview_folder_;
  std::map<int, std::string> dialog_folders_;
  KeptFolders kept_folders_;  // those of the last run
};

}  // namespace pomeli2
