#include "build_tool.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <variant>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/publish_check.h"
#include "exchange/exchange.h"
#include "exchange/text_forms.h"
#include "generate/site.h"
#include "io/file_io.h"
#include "io/program_folder.h"
#include "project/project_file.h"
#include "text/catalogue.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

enum Exit { kOk = 0, kProjectError = 1, kUsage = 2, kWriteError = 3, kProblems = 4 };

#include "usage.inc"

int UsageError(std::ostream& err, const std::string& what) {
  err << "pomeli2-build: " << what << "\n" << "Try 'pomeli2-build --help'.\n";
  return kUsage;
}

struct Options {
  std::string project, output, frameset, export_to, import_from, site, base;
  std::optional<std::string> title;
  int panes = 0;
  bool resizable = false, copy_images = false, check = false;
};

// A message goes to standard error as one line, "TITLE: TEXT".
void Report(std::ostream& err, const std::string& title, const std::string& text) {
  std::string line = SjisToUtf8Lossy(title) + ": " + SjisToUtf8Lossy(text);
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  err << line << '\n';
}

// What the document reported, a line each; false when there was nothing.
bool Report(std::ostream& err, const MaybeProblem& problem) {
  if (problem) Report(err, problem->title, problem->text);
  return problem.has_value();
}
bool Report(std::ostream& err, const Problems& problems) {
  for (const Problem& p : problems) Report(err, p);
  return !problems.empty();
}

std::string Sjis(const std::string& utf8) { return Utf8ToSjis(utf8).value_or(SjisToUtf8Lossy(utf8)); }

int Export(Document& doc, const std::string& out, std::ostream& err) {
  auto format = ExportFormatOf(out);
  if (!format) return UsageError(err, "the export format is chosen by the extension: .json, .opml, .html or .md");
  if (!WriteFileAtomically(out, ExportMenu(*format, doc.settings, doc.model))) {
    Report(err, sj(kFileErrorTitle), UnwritableMessage(Sjis(out)));
    return kWriteError;
  }
  return kOk;
}

int Check(const Document& doc, const std::string& page_folder, const Options& opt, std::ostream& out) {
  std::vector<CheckProblem> problems = CheckBeforePublishing(doc.settings, doc.model, page_folder);
  // The project's own site folder when --site names none.
  const std::string site = opt.site.empty() ? SiteFolderOf(doc.settings) : opt.site;
  if (!site.empty()) {
    const std::string menu_page = opt.output.empty() ? SjisToUtf8Lossy(doc.settings.Path) : opt.output;
    for (CheckProblem& p : CheckSite(doc.settings, doc.model, site, menu_page)) problems.push_back(std::move(p));
  }
  for (const CheckProblem& p : problems) out << SjisToUtf8Lossy(ProblemLine(p)) << '\n';
  return problems.empty() ? kOk : kProblems;
}

int Site(Document& doc, const Options& opt, std::ostream& out, std::ostream& err) {
  if (Report(err, doc.NoItemsToWrite()) || Report(err, doc.UnworkableSettings())) return kProjectError;
  auto result = PutMenuIntoSite(doc.settings, doc.model.tree, {opt.site, opt.output, opt.base, {}});
  if (const auto* refused = std::get_if<std::string>(&result)) {
    err << "pomeli2-build: " << opt.site << ": " << *refused << '\n';
    return kProjectError;
  }
  const SiteReport& report = std::get<SiteReport>(result);
  for (const std::string& page : report.written) out << page << '\n';
  for (const auto& [page, why] : report.refused) err << "pomeli2-build: " << page << ": left as it is: " << Describe(why) << '\n';
  for (const std::string& page : report.failed)
    Report(err, sj(kFileErrorTitle), UnwritableMessage(Sjis(page)));
  return report.failed.empty() ? kOk : kWriteError;
}

int Import(const Options& opt, std::ostream& err) {
  auto project = Utf8ToSjis(opt.output);
  if (!project) return UsageError(err, "a file name holds characters that Shift-JIS cannot hold");
  auto bytes = ReadWholeFile(opt.import_from);
  if (!bytes) {
    Report(err, sj(kErrorTitle), CannotOpenMessage(Sjis(opt.import_from)));
    return kProjectError;
  }
  PageSettings settings = PageSettings::Initial();
  ImportedMenu imported = ImportMenu(*bytes, NewItemValues(settings), 0, opt.import_from);
  if (imported.problem) {
    Report(err, sj(kErrorTitle), ImportProblemMessage(*imported.problem, Sjis(opt.import_from)));
    return kProjectError;
  }
  if (!ItemsFit(1, static_cast<long long>(imported.items.size()))) {
    Report(err, sj(kErrorTitle), TooManyImportedMessage(Sjis(opt.import_from)));
    return kProjectError;
  }
  // An outline makes a new project, with the filter box of one; a project's
  // own settings (from a JSON export) say for themselves.
  settings.Filter = 1;
  if (imported.settings) settings = *imported.settings;
  else if (!imported.page_title.empty()) settings.Title = imported.page_title;
  if (opt.title) settings.Title = exchange::TitleToProject(*opt.title);
  MenuItem root = imported.root.value_or(RootItem());
  if (!imported.root) root.title = settings.Title;

  Document doc;
  doc.settings = settings;
  doc.settings.ProjectPath = *project;
  RebuildMenu(doc.model, std::move(root), std::move(imported.items));
  SerializedProject check = SerializeProject(doc.settings, doc.model);
  bool too_long = check.too_long_key || check.too_long_item_title;
  if (Report(err, doc.WriteProjectFile())) return too_long ? kProjectError : kWriteError;
  for (const std::string& warning : {CutItemsWarning(imported.cut_titles), ScriptLinksWarning(imported.script_links)})
    if (!warning.empty()) err << "pomeli2-build: " << SjisToUtf8Lossy(warning) << '\n';
  return kOk;
}

// The menu of a run that left it to the process's end, still reachable.
Document* g_left_to_exit = nullptr;

}  // namespace

int RunBuildTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, MenuMemory memory) {
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
    } else if (a == "--export") {
      if (!value(opt.export_to)) return UsageError(err, "--export needs a file name");
    } else if (a == "--import") {
      if (!value(opt.import_from)) return UsageError(err, "--import needs a file name");
    } else if (a == "--title") {
      std::string title;
      if (!value(title)) return UsageError(err, "--title needs a text");
      opt.title = title;
    } else if (a == "--site") {
      if (!value(opt.site)) return UsageError(err, "--site needs a folder");
    } else if (a == "--base") {
      if (!value(opt.base)) return UsageError(err, "--base needs a URL");
    } else if (a == "--check") {
      opt.check = true;
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
  const bool page_options = opt.panes || opt.resizable || opt.copy_images;
  if (!opt.import_from.empty()) {
    if (!opt.project.empty() || !opt.export_to.empty() || page_options)
      return UsageError(err, "--import takes only -o and --title");
    if (opt.output.empty()) return UsageError(err, "--import needs -o PROJECT.pml");
    return Import(opt, err);
  }
  if (opt.title) return UsageError(err, "--title goes with --import");
  if (!opt.export_to.empty() && (page_options || !opt.output.empty()))
    return UsageError(err, "--export writes no page: -o and the page options do not go with it");
  if (opt.check && (page_options || !opt.export_to.empty()))
    return UsageError(err, "--check writes nothing: it takes only -o");
  if (!opt.base.empty() && opt.site.empty()) return UsageError(err, "--base goes with --site");
  if (!opt.site.empty() && (page_options || !opt.export_to.empty() || (opt.check && !opt.base.empty())))
    return UsageError(err, "--site takes only --base and -o, or --check and -o");
  if (opt.project.empty()) return UsageError(err, "no project file given");
  const bool output_given = !opt.output.empty();
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

  auto owned = std::make_unique<Document>();
  Document& doc = *owned;
  // Undone before the document, which it may take away.
  struct Leave {
    std::unique_ptr<Document>& doc;
    bool leave;
    ~Leave() {
      if (leave) g_left_to_exit = doc.release();
    }
  } leave{owned, memory == MenuMemory::kLeaveToExit};
  std::vector<std::string> targets;
  doc.model.ResetMenu();
  if (Report(err, doc.ReadProjectFile(*project, targets))) return kProjectError;
  if (!opt.export_to.empty()) return Export(doc, opt.export_to, err);
  if (opt.check) {
    if (!output_given) opt.output.clear();
    return Check(doc, output_given ? FolderOf(*output) : doc.MenuPageFolder(), opt, out);
  }
  if (!opt.site.empty()) {
    if (!output_given && !doc.settings.Path.empty()) opt.output = SjisToUtf8Lossy(doc.settings.Path);
    return Site(doc, opt, out, err);
  }
  doc.SetMenuPagePath(*output);
  doc.frame_resizable = opt.resizable ? 1 : 0;
  if (Report(err, doc.NoItemsToWrite())) return kProjectError;
  const Document::PageWriteResult page = doc.WriteMenuPage();
  Report(err, page.problems);
  switch (page.result) {
    case Document::PageWrite::kWritten: break;
    case Document::PageWrite::kWriteFailed: return kWriteError;
    case Document::PageWrite::kRefused: return kProjectError;
  }
  if (opt.panes) {
    std::string frameset_path = doc.MenuPageFolder() + *frameset;
    if (Report(err, doc.FrameSetNameRefused(frameset_path))) return kUsage;
    if (Report(err, doc.WriteFrameSet(frameset_path, opt.panes))) return kWriteError;
  }
  if (opt.copy_images) {
    std::string images = InstalledImagesFolder();
    if (images.empty()) {
      err << "pomeli2-build: the standard images are not installed beside this program\n";
      return kWriteError;
    }
    if (Report(err, doc.CopyStandardImages(images))) return kWriteError;
  }
  return kOk;
}

}  // namespace pomeli2
