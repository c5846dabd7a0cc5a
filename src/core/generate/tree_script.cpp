#include "generate/tree_script.h"

#include "generate/js_text.h"
#include "generate/template_text.h"
#include "page_scripts.h"
#include "text/catalogue.h"
#include "text/numbers.h"
#include "text/sjis.h"

namespace pomeli2 {
namespace {

// The script templates are the files of res/scripts/tree, compiled in as the
// constants of page_scripts.h. Four leading spaces stand for one TAB; Render()
// turns them into TABs and every line end into CR LF. {Name} marks a value.
using namespace scripts;

enum class Mode { kAll, kIe, kNn4, kNn6 };

Mode ModeOf(PageMode page) {
  switch (page) {
    case PageMode::kIeOnly: return Mode::kIe;
    case PageMode::kNn4Only: return Mode::kNn4;
    case PageMode::kNn6Only: return Mode::kNn6;
    default: return Mode::kAll;  // the combined form also serves unknown values
  }
}

// The "IE4-5 Only" form of a text turned into another single-browser form.
std::string IeTo(Mode mode, std::string text) {
  if (mode == Mode::kNn6) {
    text = ReplaceAll(std::move(text), "if (document.all) {", "if (document.getElementById) {");
    return ReplaceAll(std::move(text), "document.all(", "document.getElementById(");
  }
  return text;
}

std::string ResetPositionText(Mode mode, bool animate) {
  if (mode == Mode::kAll) return std::string(animate ? kResetAllAnim : kResetAll);
  std::string text(animate ? kResetIeAnim : kResetIe);
  const std::string ie_test = "document.all(\"t\" + parseInt(Id)).style.visibility == \"visible\"";
  if (mode == Mode::kNn4) {
    text = ReplaceAll(text, "if (document.all) {", "if (document.layers) {");
    return ReplaceAll(text, ie_test, "document.layers[\"t\" + Id].visibility == \"show\"");
  }
  if (mode == Mode::kNn6) {
    text = ReplaceAll(text, "if (document.all) {", "if (document.getElementById) {");
    return ReplaceAll(text, ie_test, "document.getElementById(\"t\" + Id).style.visibility == \"visible\"");
  }
  return text;
}

std::string FlagPartText(Mode mode, bool animate) {
  if (!animate) return std::string(kFlagPlain);
  std::string test;
  if (mode == Mode::kAll) {
    test = kFlagAll;
  } else {
    test = kFlagIe;
    const std::string ie_test = "document.all(\"t\" + (parseInt(Start)+1)).style.visibility == \"visible\"";
    if (mode == Mode::kNn4) {
      test = ReplaceAll(test, "if (document.all) {", "if (document.layers) {");
      test = ReplaceAll(test, ie_test, "document.layers[\"t\" + (parseInt(Start)+1)].visibility == \"show\"");
    } else if (mode == Mode::kNn6) {
      test = ReplaceAll(test, "if (document.all) {", "if (document.getElementById) {");
      test = ReplaceAll(test, ie_test, "document.getElementById(\"t\" + (parseInt(Start)+1)).style.visibility == \"visible\"");
    }
  }
  return "    if (Flag==1) {\n        i = 0;\n" + test + "    }\n";
}

std::string PullDownBodyText(Mode mode) {
  switch (mode) {
    case Mode::kIe: return std::string(kPullDownIe);
    case Mode::kNn4: return std::string(kPullDownNn4);
    case Mode::kNn6: return IeTo(Mode::kNn6, std::string(kPullDownIe));
    case Mode::kAll: break;
  }
  std::string ie(kPullDownIe);
  ie = ie.substr(0, ie.rfind("    }\n")) + "    } else {\n";
  return std::string(kPullDownNn4) + ie + "\x01" + "    }\n";  // \x01: where the indented NN6 form goes
}

// The body of a single-browser CloseItems: its one `if (document.…) {` block.
std::string CloseItemsBlock(const std::string& function) {
  size_t from = function.find("    if (");
  size_t to = function.rfind("}\n");
  return function.substr(from, to - from);
}

std::string CloseItemsText(Mode mode) {
  switch (mode) {
    case Mode::kIe: return std::string(kCloseItemsIe);
    case Mode::kNn6: return IeTo(Mode::kNn6, std::string(kCloseItemsIe));
    case Mode::kNn4: break;
    case Mode::kAll: {
      // The three single-browser blocks in a row, the NN6 one as the IE
      // block's else branch, each remembering the last shown item in one line.
      auto block = [](Mode m) {
        const std::string three_lines = ") {\n" + std::string(20, ' ') + "j = i;\n" + std::string(16, ' ') + "}\n";
        return ReplaceAll(CloseItemsBlock(CloseItemsText(m)), three_lines, ") j = i;\n");
      };
      std::string ie = block(Mode::kIe);
      ie.replace(ie.rfind("    }\n"), 6, "    } else {\n");
      std::string nn6 = block(Mode::kNn6);
      nn6 = "    " + ReplaceAll(nn6.substr(0, nn6.size() - 1), "\n", "\n    ") + "\n";
      return "function CloseItems()\n{\n    j = 0;\n" + block(Mode::kNn4) + ie + nn6 + "    }\n}\n";
    }
  }
  std::string text = ReplaceAll(std::string(kCloseItemsIe), "if (document.all) {", "if (document.layers) {");
  for (const char* x : {"CurStart", "i", "j"}) {
    std::string from = std::string("document.all(\"t\" + ") + x + ").style.top";
    std::string to = std::string("document.layers[\"t\" + ") + x + "].top";
    text = ReplaceAll(text, "parseInt(" + from + ")", to);
    text = ReplaceAll(text, from, to);
  }
  return ReplaceAll(text, "document.all(\"t\" + i).style.visibility == \"visible\"",
                    "document.layers[\"t\" + i].visibility == \"show\"");
}

}  // namespace

std::string TreeScript(const PageSettings& s, const std::vector<PageItem>& items, int last_item) {
  const Mode mode = ModeOf(s.Browser.mode);
  const bool close_tree = s.CloseTree == 1;
  const bool close_items = s.CloseItems == 1;
  const PageNumbers numbers = ReadPageNumbers(s);
  const TemplateValues values = {
      {"Row", ToText(numbers.row)},
      {"Indent", ToText(numbers.indent)},
      {"Speed", ToText(numbers.speed)},
      {"Plus", EscapeForScriptString(s.Plus)},
      {"Minus", EscapeForScriptString(s.Minus)},
      {"LastItem", ToText(last_item)},
      {"RightName", EscapeForScriptString(RightFrameName(s))},
  };
  auto emit = [&](std::string& out, std::string_view tmpl) { out += Render(Fill(tmpl, values)); };

  std::string out;
  emit(out, "<SCRIPT Language=\"JavaScript\">\n<!--\n/* " + std::string(kProductVersion) +
                " tree menu script. Copyright (C) the Pomeli Pomeli authors.\n");
  out += sj("このJavaScriptプログラムは、上記の著作権表示を削除されない限りご自由に使用していただいて構いません。*/");
  out += "\r\n\r\n";

  if (close_tree) {
    if (close_items) emit(out, "var CurId;\n\nvar CurStart;\n\nvar CurEnd;\n\nvar CurPos;\n\nvar TimeoutId;\n\n");
    else emit(out, "var IdNo;\n\n");
  }
  if (s.ParentLink == 1 && (s.ParentLinkOn == 1 || s.Unite == 1)) {
    emit(out, kParentLink);
    out += "\r\n";
  }

  bool change_top = false;
  for (const PageItem& item : items) change_top = change_top || item.item->other_window == OtherWindow::kLeaveFrames;
  if (change_top) {
    emit(out, kChangeTop);
    out += "\r\n";
  }

  std::string open_calls;
  for (const PageItem& item : items) {
    if (!item.OpenOnLoad()) continue;
    open_calls += "    PullDown('" + item.N() + "','" + item.End() + (close_tree ? "',1);\n" : "');\n");
    if (close_tree) break;
  }
  if (!open_calls.empty()) out += Render("function OpenTree()\n{\n" + open_calls + "}\n\n");

  if (close_tree) {
    emit(out, ResetPositionText(mode, close_items));
    out += "\r\n";
    std::string calls;
    for (const PageItem& item : items) {
      if (!item.top_level || item.leaf) continue;
      calls += "    ResetPosition(\"" + item.N() + "\",\"" + ToText(static_cast<long long>(item.number) + 1) +
               "\",\"" + item.End() + "\");\n";
    }
    out += Render("function CloseTree(Flag)\n{\n    if (Flag!=0) IdNo=Flag;\n" + calls + "}\n\n");
  }
  if (close_items) {
    emit(out, CloseItemsText(mode));
    out += "\r\n";
  }

  emit(out, close_tree ? "function PullDown(Start,End,Flag)\n{\n" : "function PullDown(Start,End)\n{\n");
  if (close_tree) emit(out, FlagPartText(mode, close_items));
  emit(out, "    lastitem = {LastItem};\n    Count=0;\n    i = parseInt(Start) + 1;\n");
  std::string body = PullDownBodyText(mode);
  size_t nn6_at = body.find('\x01');
  if (nn6_at == std::string::npos) {
    emit(out, body);
  } else {
    emit(out, body.substr(0, nn6_at));
    out += IndentOnce(Render(Fill(IeTo(Mode::kNn6, std::string(kPullDownIe)), values)));
    emit(out, body.substr(nn6_at + 1));
  }
  emit(out, "}\n// -->\n</SCRIPT>\n");
  return out;
}

}  // namespace pomeli2
