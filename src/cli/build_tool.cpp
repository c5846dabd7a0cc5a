#include "build_tool.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "editor/document.h"
#include "io/program_folder.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

enum Exit { kOk = 0, kProjectError = 1, kUsage = 2, kWriteError = 3 };

const char kUsageText[] =
    "Usage: pomeli2-build PROJECT.pml [-o MENU.html] [--frameset2 NAME | --frameset3 NAME]\n"
    "                     [--resizable] [--copy-images]\n"
    "\n"
    "Reads a Pomeli Pomeli project file and writes its menu page.\n"
    "\n"
    "  -o MENU.html       the menu page to write (default: PROJECT with the extension .html)\n"
    "  --frameset2 NAME   also write a 2-pane frame set page NAME beside the menu page\n"
    "  --frameset3 NAME   also write a 3-pane frame set page NAME beside the menu page\n"
    "  --resizable        let the frames of the frame set be resized\n"
    "  --copy-images      copy the five standard tree images beside the menu page\n"
    "  -h, --help         show this help and exit\n"
    "  --version          show the version and exit\n"
    "\n"
    "Exit status: 0 success, 1 the project cannot be read, has no items, has\n"
    "settings the page cannot work with or names a missing BODY file (nothing\n"
    "is written then), 2 usage error, 3 a file cannot be written.\n";

// Messages go to standard error as "TITLE: TEXT"; questions are answered yes,
// since a build has nobody to ask; plain notices are left out.
class CliHost : public Host {
 public:
  explicit CliHost(std::ostream& err) : err_(err) {}
  MessageAnswer MessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                           MessageButtons buttons, std::optional<MessageAnswer>) override {
    if (buttons == MessageButtons::kYesNo) return MessageAnswer::kYes;
    if (buttons == MessageButtons::kOkCancel) return MessageAnswer::kOk;
    if (icon == MessageIcon::kInformation) return MessageAnswer::kOk;
    std::string line = SjisToUtf8Lossy(title) + ": " + SjisToUtf8Lossy(text);
    for (char& c : line)
      if (c == '\n' || c == '\r') c = ' ';
    err_ << line << '\n';
    return MessageAnswer::kOk;
  }

 private:
  std::ostream& err_;
};

int UsageError(std::ostream& err, const std::string& what) {
  err << "pomeli2-build: " << what << "\n" << "Try 'pomeli2-build --help'.\n";
  return kUsage;
}

struct Options {
  std::string project, output, frameset;
  int panes = 0;
  bool resizable = false, copy_images = false;
};

}  // namespace

int RunBuildTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options opt;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    if (a == "-h" || a == "--help") {
      out << kUsageText;
      return kOk;
    } else if (a == "--version") {
      out << kBuildToolVersion << '\n';
      return kOk;
    } else if (a == "-o") {
      if (!value(opt.output)) return UsageError(err, "-o needs a file name");
    } else if (a == "--frameset2" || a == "--frameset3") {
      if (opt.panes) return UsageError(err, "only one frame set can be written");
      if (!value(opt.frameset)) return UsageError(err, a + " needs a file name");
      if (opt.frameset.empty() || opt.frameset.find('/') != std::string::npos)
        return UsageError(err, "the frame set name must be a file name without a folder");
      opt.panes = a == "--frameset2" ? 2 : 3;
    } else if (a == "--resizable") {
      opt.resizable = true;
    } else if (a == "--copy-images") {
      opt.copy_images = true;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return UsageError(err, "unknown option " + a);
    } else if (opt.project.empty()) {
      opt.project = a;
    } else {
      return UsageError(err, "more than one project file given");
    }
  }
  if (opt.project.empty()) return UsageError(err, "no project file given");
  if (opt.output.empty()) {
    std::string base = opt.project;
    auto slash = base.rfind('/');
    auto dot = base.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base.erase(dot);
    opt.output = base + ".html";
  }
  auto project = Utf8ToSjis(opt.project);
  auto output = Utf8ToSjis(opt.output);
  auto frameset = Utf8ToSjis(opt.frameset);
  if (!project || !output || !frameset) return UsageError(err, "a file name holds characters that Shift-JIS cannot hold");

  CliHost host(err);
  Notifier notify(host);
  Document doc(notify);
  std::vector<std::string> targets;
  doc.model.ResetMenu();
  if (!doc.ReadProjectFile(*project, targets)) return kProjectError;
  doc.SetMenuPagePath(*output);
  doc.frame_resizable = opt.resizable ? 1 : 0;
  if (!doc.HasItemsToWrite()) return kProjectError;
  switch (doc.WriteMenuPage()) {
    case Document::PageWrite::kWritten: break;
    case Document::PageWrite::kWriteFailed: return kWriteError;
    case Document::PageWrite::kRefused: return kProjectError;
  }
  if (opt.panes) {
    std::string frameset_path = doc.MenuPageFolder() + *frameset;
    if (doc.FrameSetNameRefused(frameset_path)) return kUsage;
    if (!doc.WriteFrameSet(frameset_path, opt.panes)) return kWriteError;
  }
  if (opt.copy_images) {
    std::string images = InstalledImagesFolder();
    if (images.empty()) {
      err << "pomeli2-build: the standard images are not installed beside this program\n";
      return kWriteError;
    }
    if (!doc.CopyStandardImages(images)) return kWriteError;
  }
  return kOk;
}

}  // namespace pomeli2
