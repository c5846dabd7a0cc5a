#include "build_tool.h"

#include <cstdio>
#include <cstring>
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

const char kUsageText[] =
    "Usage: pomeli2-build PROJECT.pml [-o MENU.html] [--frameset2 NAME | --frameset3 NAME]\n"
    "                     [--resizable] [--copy-images]\n"
    "       pomeli2-build PROJECT.pml --export OUT\n"
    "       pomeli2-build --import SOURCE -o PROJECT.pml [--title TEXT]\n"
    "       pomeli2-build --check PROJECT.pml [-o MENU.html] [--site DIR]\n"
    "       pomeli2-build PROJECT.pml --site DIR [--base URL] [-o MENU.html]\n"
    "\n"
    "Reads a Pomeli Pomeli project file and writes its menu page, or exports\n"
    "its menu to another format, or makes a project of an outline.\n"
    "\n"
    "  -o MENU.html       the menu page to write (default: PROJECT with the extension .html)\n"
    "  --frameset2 NAME   also write a 2-pane frame set page NAME beside the menu page\n"
    "  --frameset3 NAME   also write a 3-pane frame set page NAME beside the menu page\n"
    "  --resizable        let the frames of the frame set be resized\n"
    "  --copy-images      copy the five standard tree images beside the menu page\n"
    "  --export OUT       write the menu in the format that OUT's extension names:\n"
    "                     .json  every page setting and item field, titles as HTML,\n"
    "                            nested as the tree (imports back to the same project)\n"
    "                     .opml  OPML 2.0; the target and the open mark in attributes\n"
    "                            of the namespace urn:x-pomeli2:outline\n"
    "                     .html  the Netscape bookmark file of the browsers; a branch's\n"
    "                            own link is the POMELI2_HREF attribute of its <H3>,\n"
    "                            which browsers ignore; an item without a link is an\n"
    "                            empty folder\n"
    "                     .md    a Markdown list of links, two spaces per level\n"
    "                     Titles are written as the page shows them (bookmarks: as\n"
    "                     HTML); the items are the root's, the page title heads them.\n"
    "  --import SOURCE    make the project -o names of an outline, recognised by its\n"
    "                     content (and a .md or .html name): OPML 1.0/2.0, a\n"
    "                     bookmark file, this program's JSON, a Markdown list\n"
    "                     (bulleted or numbered, nested as CommonMark reads it;\n"
    "                     headings are no items), or any other web page (the lists\n"
    "                     of its first <nav>, else its first outermost list that\n"
    "                     holds links). Sources are UTF-8, UTF-16 with a byte order\n"
    "                     mark, or what they declare. Imported titles keep their\n"
    "                     text and plain inline markup, never scripts or event\n"
    "                     handlers; javascript: links are dropped (the items are\n"
    "                     kept and named on stderr). Text from OPML and Markdown\n"
    "                     becomes HTML (& < > escaped); a character that Shift-JIS\n"
    "                     cannot hold becomes a reference (&#x1F600;) in a title\n"
    "                     and percent-encoded UTF-8 in a link. Fields a source does\n"
    "                     not hold take the new-item values. A title or link too\n"
    "                     long for the project is cut, with a warning that lists it.\n"
    "  --title TEXT       with --import: the page title\n"
    "  --check            write nothing; print every problem of the project before\n"
    "                     it is published, one a line: the item's path (or page),\n"
    "                     the field, what is wrong. Settings the page cannot work\n"
    "                     with, colours other than # and three or six hex digits,\n"
    "                     items without a title, and local links and images\n"
    "                     (relative or file:) missing from the menu page's folder:\n"
    "                     the folder of -o, else of the project's [Path]. Links\n"
    "                     with a scheme (http:, mailto: ...) are not fetched. With\n"
    "                     --site DIR, also the pages under DIR that no item links\n"
    "                     to, and the items whose links lead into DIR to no page\n"
    "                     there.\n"
    "  --site DIR         put the menu into every .html/.htm page under DIR that\n"
    "                     holds an element with the id pomeli2-menu (such as\n"
    "                     <nav id=\"pomeli2-menu\"></nav>): its content becomes the\n"
    "                     path to the page in the menu and a link to the whole\n"
    "                     menu page (-o, else the project's [Path]); the script\n"
    "                     DIR/pomeli2/menu.js, written with DIR/pomeli2/menu.css,\n"
    "                     shows the whole tree there. Every other byte of a page\n"
    "                     stays; pages without the element are not touched; only\n"
    "                     pages whose bytes change are written, and each is named\n"
    "                     on standard output. Links resolve from the menu page's\n"
    "                     folder. A page keeps its encoding (UTF-8 or Shift_JIS\n"
    "                     by BOM or <meta charset>); one that declares none and is\n"
    "                     not valid UTF-8 is left alone and named on standard\n"
    "                     error. A target that names no frame or iframe of the\n"
    "                     site's pages (Frame2, a frame set's names) opens in the\n"
    "                     same window; _blank, _top, _parent, _self and the\n"
    "                     other-window button's are kept.\n"
    "  --base URL         with --site: links resolve from URL instead of the menu\n"
    "                     page's folder (URL stands for that folder)\n"
    "  -h, --help         show this help and exit\n"
    "  --version          show the version and exit\n"
    "\n"
    "Exit status: 0 success, 1 the project cannot be read, has no items, has\n"
    "settings the page cannot work with or names a missing BODY file (nothing\n"
    "is written then), 2 usage error, 3 a file cannot be written, 4 --check\n"
    "found problems. With --site, 1 also means a site folder that does not\n"
    "exist or cannot be read (nothing is written then), and 3 names the page\n"
    "that could not be written (it stays as it was; every other page is\n"
    "written).\n"
    "With --import, 1 also means a source that cannot be read, is malformed or\n"
    "of no known format, or has more items than a project holds.\n";

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
    Report(err, sj(kFileErrorTitle), sj("「") + Sjis(out) + sj("」を書き込めません。"));
    return kWriteError;
  }
  return kOk;
}

int Check(const Document& doc, const std::string& page_folder, const Options& opt, std::ostream& out) {
  std::vector<CheckProblem> problems = CheckBeforePublishing(doc.settings, doc.model, page_folder);
  if (!opt.site.empty()) {
    const std::string menu_page = opt.output.empty() ? SjisToUtf8Lossy(doc.settings.Path) : opt.output;
    for (CheckProblem& p : CheckSite(doc.settings, doc.model, opt.site, menu_page)) problems.push_back(std::move(p));
  }
  for (const CheckProblem& p : problems) out << SjisToUtf8Lossy(ProblemLine(p)) << '\n';
  return problems.empty() ? kOk : kProblems;
}

int Site(Document& doc, const Options& opt, std::ostream& out, std::ostream& err) {
  if (Report(err, doc.NoItemsToWrite()) || Report(err, doc.UnworkableSettings())) return kProjectError;
  auto result = PutMenuIntoSite(doc.settings, doc.model.tree, {opt.site, opt.output, opt.base});
  if (const auto* refused = std::get_if<std::string>(&result)) {
    err << "pomeli2-build: " << opt.site << ": " << *refused << '\n';
    return kProjectError;
  }
  const SiteReport& report = std::get<SiteReport>(result);
  for (const std::string& page : report.written) out << page << '\n';
  for (const auto& [page, why] : report.refused) err << "pomeli2-build: " << page << ": left as it is: " << why << '\n';
  for (const std::string& page : report.failed)
    Report(err, sj(kFileErrorTitle), sj("「") + Sjis(page) + sj("」を書き込めません。"));
  return report.failed.empty() ? kOk : kWriteError;
}

int Import(const Options& opt, std::ostream& err) {
  auto project = Utf8ToSjis(opt.output);
  if (!project) return UsageError(err, "a file name holds characters that Shift-JIS cannot hold");
  auto bytes = ReadWholeFile(opt.import_from);
  if (!bytes) {
    Report(err, sj(kErrorTitle), sj("ファイル「") + Sjis(opt.import_from) + sj("」をオープンできませんでした。"));
    return kProjectError;
  }
  PageSettings settings = PageSettings::Initial();
  ImportedMenu imported = ImportMenu(*bytes, NewItemValues(settings), 0, opt.import_from);
  if (imported.problem) {
    Report(err, sj(kErrorTitle), ImportProblemMessage(*imported.problem, Sjis(opt.import_from)));
    return kProjectError;
  }
  if (imported.items.size() + 1 > static_cast<size_t>(kMaxItems)) {
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

  Document doc;
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
