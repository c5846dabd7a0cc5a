// Texts, limits and names that more than one part of the program uses, kept
// once so that the copies cannot drift apart. Texts are UTF-8 as written
// here (sj() gives their CP932 bytes); what they say is what the files, the
// pages and the messages have always said, byte for byte.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace pomeli2 {

// --- The product's name and version.
// In the window's title, the printed pages' header and the generated pages.
inline constexpr char kProductVersion[] = "Pomeli Pomeli Version 2.0";
// The About box's fuller version.
inline constexpr char kAboutVersion[] = "Pomeli Pomeli Version 2.0.0.1";
// What `pomeli2-build --version` prints.
inline constexpr char kBuildToolVersion[] = "pomeli2-build (Pomeli Pomeli) 2.0";

// --- The standard tree images, installed with the program, kept in the
// program folder and copied beside the pages.
inline constexpr char kPlusImage[] = "plus.gif";
inline constexpr char kMinusImage[] = "minus.gif";
inline constexpr char kLinktoImage[] = "linkto.gif";
inline constexpr char kOtherwImage[] = "otherw.gif";
inline constexpr char kScrollImage[] = "scroll.gif";
inline constexpr std::array<const char*, 5> kStandardImages = {kPlusImage, kMinusImage, kLinktoImage, kOtherwImage,
                                                               kScrollImage};

// --- Limits.
// The bytes a text field takes: titles, paths, links, icons, frame names.
// The field cuts what is longer, so a link or icon that fills it draws a
// warning: it may have been cut.
inline constexpr size_t kTextLimit = 256;
// The live items of a menu, the root included: the project file reader's
// limit, which add, paste and import keep to.
inline constexpr int kMaxItems = 17999;

// --- Names the model starts with.
// The root's title and the page's Title of a new project.
inline constexpr char kHomePageTitle[] = "ホームページ";

// --- The other-window kinds as the form's lists and the bulk change name
// them, in the order of the kinds: none, another window, leave the frames.
inline constexpr std::array<const char*, 3> kOtherButtonNames = {"ボタンなし", "別ウインドウ", "フレーム解除"};

// --- The page settings that messages name, as the form and the script
// options call them, and what such a setting must hold instead.
inline constexpr char kLeftLabel[] = "左位置";
inline constexpr char kRowLabel[] = "行間";
inline constexpr char kIndentLabel[] = "インデント";
inline constexpr char kSpeedLabel[] = "ツリーを畳むスピード";
inline constexpr char kBgColorLabel[] = "背景色";
inline constexpr char kHoverBackLabel[] = "HOVER背景";
inline constexpr char kBodyTextLabel[] = "TEXT";
inline constexpr char kBodyLinkLabel[] = "LINK";
inline constexpr char kBodyVlinkLabel[] = "VLINK";
inline constexpr char kBodyAlinkLabel[] = "ALINK";
inline constexpr char kBodyHoverLabel[] = "HOVER";
inline constexpr char kBackPictureLabel[] = "背景画像";
// The tree images' dialog, in its order: plus, minus, link, other window.
inline constexpr std::array<const char*, 4> kTreeImageLabels = {"プラスボタン", "マイナスボタン", "リンクボタン",
                                                                "別ウインドウボタン"};
inline constexpr char kBodyHeaderLabel[] = "BODYタグ内の先頭に挿入するコードが書かれたファイル";
inline constexpr char kBodyFooterLabel[] = "BODYタグ内の後尾に挿入するコードが書かれたファイル";
inline constexpr char kNumberExpected[] = "数値を入力してください。";
inline constexpr char kPositiveNumberExpected[] = "1以上の数値を入力してください。";
inline constexpr char kColourExpected[] = "色は「#」に続けて16進数6桁で入力してください。";

// --- File dialog filters: "label|patterns|...||".
inline constexpr char kProjectFilter[] = "ぽめりファイル(*.pml)|*.pml||";
inline constexpr char kImageFilter[] = "画像ファイル(*.gif;*.jpg)|*.gif; *.jpg; *.jpeg|すべてのファイル(*.*)|*.*||";
// The menu page and the frame sets.
inline constexpr char kPageFilter[] = "HTMLファイル(*.htm;*.html)|*.htm; *.html; *.asp|すべてのファイル(*.*)|*.*||";
// An item's link.
inline constexpr char kLinkFilter[] = "HTMLファイル(*.html;*.htm;*.asp)|*.html; *.htm; *.asp|すべてのファイル(*.*)|*.*||";
// The BODY header and footer files.
inline constexpr char kBodyFileFilter[] =
    "HTMLファイル(*.htm;*.html)|*.htm; *.html; *.txt|すべてのファイル(*.*)|*.*||";
// The sources import reads; it recognises them by their content.
inline constexpr char kImportFilter[] =
    "メニューのファイル(*.opml;*.html;*.json;*.md)|*.opml; *.html; *.htm; *.json; *.md; *.xml|"
    "すべてのファイル(*.*)|*.*||";
// The export formats; the chosen filter names the format of a name
// without an extension.
inline constexpr char kExportFilter[] =
    "JSONファイル(*.json)|*.json|OPMLファイル(*.opml)|*.opml|ブックマークファイル(*.html)|*.html|"
    "Markdownファイル(*.md)|*.md||";

// --- Message titles.
inline constexpr char kErrorTitle[] = "エラー";
inline constexpr char kFileErrorTitle[] = "ファイルエラー";
inline constexpr char kInputErrorTitle[] = "入力エラー";
inline constexpr char kConfirmTitle[] = "確認";
inline constexpr char kSaveConfirmTitle[] = "保存確認";

// --- Messages said in more than one place.
// The live-item limit that the project file reader and adding both keep
// (%1 kMaxItems; TooManyItemsMessage() fills it in).
inline constexpr char kTooManyItemsMessage[] =
    "アイテムの数が多すぎます。\n1つのメニューに入れられるアイテムは%1個までです。";
// A file that could not be written or opened (%1 its name).
inline constexpr char kUnwritableMessage[] = "「%1」を書き込めません。";
inline constexpr char kCannotOpenMessage[] = "ファイル「%1」をオープンできませんでした。";
// A link or icon path that fills its field (%1 kTextLimit).
inline constexpr char kLinkTooLongMessage[] = "リンクが長すぎます。%1バイト以下にしてください。";
inline constexpr char kIconTooLongMessage[] = "アイコンのパスが長すぎます。%1バイト以下にしてください。";
// The project could not be copied to backup.pml (%1 the project's path).
inline constexpr char kBackupFailedMessage[] = "「%1」のバックアップ・ファイルの作成に失敗しました。";
// An item's line would not fit the project file.
inline constexpr char kItemTooLongMessage[] = "アイテムの情報が長すぎます。タイトルかリンクを短くしてください。";
// The program's settings file in the program folder.
inline constexpr char kSettingsFileName[] = "Pomeli2.ini";
inline constexpr char kUnrepresentableMessage[] = "シフトJISで表せない文字は入力できません。";
// The HTML5 page's language is written as the page's lang.
inline constexpr char kLanguageTagMessage[] = "ページの言語は「ja」や「en-US」のような言語タグで入力してください。";

// --- What the editor says of its own later features; "%1", "%2" are
// filled in with FillIn().
// A file chosen to be opened is no project, but one that import reads
// (%1 the file, %2 its kind).
inline constexpr char kOfferImportQuestion[] =
    "ファイル「%1」はぽめりファイルではありませんが、%2としてインポートできます。\n"
    "開いているメニューにインポートしますか？";
inline constexpr char kImportKindJson[] = "JSONファイル";
inline constexpr char kImportKindOpml[] = "OPMLファイル";
inline constexpr char kImportKindBookmarks[] = "ブックマークファイル";
inline constexpr char kImportKindMarkdown[] = "Markdownファイル";
inline constexpr char kImportKindWebPage[] = "HTMLファイル";
// A project file the reader refused, named before the reader's message.
inline constexpr char kRefusedProjectFile[] = "ファイル「%1」\n%2";
// The status bar after a file was written or read.
inline constexpr char kSavedStatus[] = "「%1」に保存しました。";
inline constexpr char kPageSavedStatus[] = "「%1」にHTMLを書き出しました。";
inline constexpr char kExportedStatus[] = "「%1」にエクスポートしました。";
// A source whose markup nests too deep to be read (%1 the file).
inline constexpr char kImportTooDeepMessage[] = "「%1」は要素の入れ子が深すぎるため、インポートできません。";
inline constexpr char kImportedStatus[] = "「%1」から%2個のアイテムをインポートしました。";

// --- The messages above with their places filled in, as CP932 bytes; a name
// is given as CP932 bytes.
std::string TooManyItemsMessage();
std::string UnwritableMessage(std::string_view name);
std::string CannotOpenMessage(std::string_view name);
std::string BackupFailedMessage(std::string_view path);
std::string LinkTooLongMessage();
std::string IconTooLongMessage();

}  // namespace pomeli2
