#include "editor/commands.h"

#include <map>

namespace pomeli2 {

const std::vector<Menu>& MainMenu() {
  static const std::vector<Menu> menu = {
      {"ファイル(&F)",
       {{kCmdNew, "新規作成(&N)", "Ctrl+N", true},
        {kCmdOpen, "開く(&O)...", "Ctrl+O", true},
        {kCmdSave, "上書き保存(&S)", "Ctrl+S", true},
        {kCmdSaveAs, "名前を付けて保存(&A)...", "", false},
        {0, "", "", false},
        {kCmdHtmlSave, "HTMLを上書き保存(&H)", "Ctrl+H", true},
        {kCmdHtmlSaveAs, "HTMLを名前を付けて保存(&T)", "Ctrl+T", true},
        {kCmdPreview, "ブラウザでプレビュー(&B)", "F5", true},
        {0, "", "", false},
        {kCmdFrame2, "2画面フレームの作成(&I)", "Ctrl+I", true},
        {kCmdFrame3, "3画面フレームの作成(&J)", "Ctrl+J", true},
        {0, "", "", false},
        {kCmdIconCopy, "アイコン画像のコピー(&G)", "", false},
        {0, "", "", false},
        {kCmdPrint, "印刷(&P)...", "Ctrl+P", true},
        {kCmdPrintPreview, "印刷プレビュー(&V)", "", false},
        {kCmdPrintSetup, "プリンタの設定(&R)...", "", false},
        {0, "", "", false},
        {kCmdRecent, "最近使ったﾌｧｲﾙ", "", false},
        {0, "", "", false},
        {kCmdExit, "アプリケーションの終了(&X)", "", false}}},
      {"編集(&E)",
       {{kCmdUndo, "元に戻す(&U)", "Ctrl+Z", true},
        {kCmdRedo, "やり直し(&R)", "Ctrl+Y", true},
        {0, "", "", false},
        {kCmdRename, "アイテムの名前を変更(&N)", "", false},
        {0, "", "", false},
        {kCmdAddItem, "アイテムを追加(&A)", "Ctrl+A", true},
        {kCmdCut, "ツリーアイテムを切り取り(&X)", "Alt+X", true},
        {kCmdCopy, "ツリーアイテムをコピー(&C)", "Alt+C", true},
        {kCmdDelete, "ツリーアイテムを削除(&D)", "Ctrl+D", true},
        {0, "", "", false},
        {kCmdPasteCut, "切り取ったツリーアイテムを貼り付け(&V)", "Alt+V", true},
        {kCmdPasteCopy, "コピーしたツリーアイテムを貼り付け(&P)", "Alt+P", true},
        {0, "", "", false},
        {kCmdOutlineUp, "アイテムを上へ移動(&K)", "Ctrl+Shift+Up", true},
        {kCmdOutlineDown, "アイテムを下へ移動(&J)", "Ctrl+Shift+Down", true},
        {kCmdIndent, "一つ下の階層へ移動(&L)", "Ctrl+Shift+Right", true},
        {kCmdOutdent, "一つ上の階層へ移動(&H)", "Ctrl+Shift+Left", true}}},
      {"表示(&V)",
       {{kCmdToolbar, "ツールバー(&T)", "", false},
        {0, "", "", false},
        {kCmdTreeBgColor, "ツリーの背景色(&B)", "", false},
        {kCmdTreeItemColor, "ツリーアイテムの色(&I)", "", false}}},
      {"ツール(&T)",
       {{kCmdAddTarget, "TARGETリストに名前を追加(&A)", "", false},
        {0, "", "", false},
        {kCmdBulkSize, "アイテムのフォントサイズを一括変更(&F)", "", false},
        {kCmdBulkStyle, "アイテムのフォントスタイルを一括変更(&S)", "", false},
        {kCmdBulkOther, "アイテムの別ボタンを一括変更(&O)", "", false},
        {kCmdBulkBg, "アイテムの背景色を一括変更(&B)", "", false},
        {0, "", "", false},
        {kCmdTreeImages, "ツリー画像の指定(&T)", "", false},
        {0, "", "", false},
        {kCmdScriptOptions, "JavaScriptのオプション(&J)", "", false},
        {0, "", "", false},
        {kCmdBodyInsert, "BODYタグ内の先頭と後尾の設定", "", false}}},
      {"設定(&S)",
       {{kCmdItemTargets, "各アイテムのTARGETを有効にする", "", false},
        {kCmdItemIcons, "各アイテムのリンク・アイコンを有効にする", "", false},
        {kCmdFrameResizable, "フレームをリサイズ可能で保存する", "", false}}},
      {"ヘルプ(&H)", {{kCmdHelp, "目次(&C)", "", false}, {kCmdAbout, "バージョン情報(&A)...", "", false}}},
  };
  return menu;
}

const std::vector<int>& ToolbarCommands() {
  static const std::vector<int> bar = {kCmdNew, kCmdOpen,     kCmdSave,   kCmdHtmlSave, kCmdFrame2,
                                       kCmdFrame3, kCmdIconCopy, 0,       kCmdCut,      kCmdPasteCut,
                                       kCmdCopy, kCmdPasteCopy, 0,        kCmdHelp,     kCmdAbout, 0, kCmdPreview, 0, kCmdUndo, kCmdRedo};
  return bar;
}

const char* CommandTooltip(int command) {
  static const std::map<int, const char*> tips = {
      {kCmdNew, "新規ファイル"},
      {kCmdOpen, "開く"},
      {kCmdSave, "上書き保存"},
      {kCmdHtmlSave, "HTMLの保存"},
      {kCmdHtmlSaveAs, "名前をつけてHTMLを保存"},
      {kCmdFrame2, "2画面フレームの作成"},
      {kCmdFrame3, "3画面フレームの作成"},
      {kCmdIconCopy, "アイコン画像のコピー"},
      {kCmdPreview, "ブラウザでプレビュー"},
      {kCmdUndo, "元に戻す"},
      {kCmdRedo, "やり直し"},
      {kCmdCut, "切り取り"},
      {kCmdPasteCut, "貼り付け"},
      {kCmdCopy, "コピー"},
      {kCmdPasteCopy, "貼り付け"},
      {kCmdAddItem, "追加"},
      {kCmdDelete, "削除"},
      {kCmdRename, "アイテムの名前を変更"},
      {kCmdHelp, "目次"},
      {kCmdAbout, "バージョン情報"},
  };
  auto it = tips.find(command);
  return it == tips.end() ? "" : it->second;
}

const std::vector<ExtraAccelerator>& ExtraAccelerators() {
  static const std::vector<ExtraAccelerator> keys = {{"Ctrl+Shift+Z", kCmdRedo}};
  return keys;
}

bool AcceleratorNeedsTree(int command) {
  return command == kCmdOutlineUp || command == kCmdOutlineDown || command == kCmdIndent || command == kCmdOutdent;
}

std::string StepName(int command) {
  static const std::map<int, const char*> extra = {
      {kCmdMoveUp, "上へ移動"}, {kCmdMoveDown, "下へ移動"}, {kCmdSelectImage, "画像を選択する"},
      {kCmdDrop, "ドラッグ＆ドロップ"}};
  if (auto it = extra.find(command); it != extra.end()) return it->second;
  for (const Menu& menu : MainMenu())
    for (const MenuEntry& entry : menu.entries)
      if (entry.command == command) {
        std::string text = entry.text;
        if (auto paren = text.find("(&"); paren != std::string::npos) text.erase(paren, 4);
        if (auto dots = text.find("..."); dots != std::string::npos) text.erase(dots);
        return text;
      }
  return "";
}

ContextMenu ContextMenuFor(bool cut_full, bool copy_full) {
  const char* cut_text = cut_full && copy_full ? "ツリーアイテムを切り取り(&T)" : "ツリーアイテムを切り取り(&X)";
  std::vector<MenuEntry> entries = {
      {kCmdRename, "アイテムの名前を変更(&N)", "", false}, {0, "", "", false},
      {kCmdSelectImage, "画像を選択する(&S)", "", false},    {0, "", "", false},
      {kCmdAddItem, "アイテムを追加(&A)", "", false},        {kCmdCut, cut_text, "", false},
      {kCmdCopy, "ツリーアイテムをコピー(&C)", "", false},   {kCmdDelete, "ツリーアイテムを削除(&D)", "", false},
  };
  const MenuEntry paste_cut = {kCmdPasteCut, "切り取ったツリーアイテムを貼り付け(&V)", "", false};
  const MenuEntry paste_copy = {kCmdPasteCopy, "コピーしたツリーアイテムを貼り付け(&P)", "", false};
  int id = 140;
  if (cut_full || copy_full) entries.push_back({0, "", "", false});
  const std::vector<MenuEntry> outline = {{0, "", "", false},
                                          {kCmdOutlineUp, "アイテムを上へ移動(&K)", "", false},
                                          {kCmdOutlineDown, "アイテムを下へ移動(&J)", "", false},
                                          {kCmdIndent, "一つ下の階層へ移動(&L)", "", false},
                                          {kCmdOutdent, "一つ上の階層へ移動(&H)", "", false}};
  if (cut_full) entries.push_back(paste_cut);
  if (copy_full) entries.push_back(paste_copy);
  entries.insert(entries.end(), outline.begin(), outline.end());
  if (cut_full && copy_full) id = 138;
  else if (cut_full) id = 141;
  else if (copy_full) id = 139;
  return {id, entries};
}

}  // namespace pomeli2
