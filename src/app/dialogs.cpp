#include "dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "text_border.h"

namespace pomeli2 {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("about");
  setWindowTitle(Ui("Pomeli Pomeli のバージョン情報"));
  auto* icon = new QLabel;
  icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
  auto* text = new QVBoxLayout;
  text->addWidget(new QLabel(Ui("Pomeli Pomeli Version 2.0.0.1")));
  text->addWidget(new QLabel(Ui("Copyright (C) the Pomeli Pomeli authors")));
  text->addWidget(new QLabel(Ui("https://pomeli.invalid/")));
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addLayout(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
}

QString HelpText() {
  return Ui(R"(<h2>Pomeli Pomeli Version 2.0 の使い方</h2>
<p>Pomeli Pomeli は、Webページに置く開閉式のツリーメニューを作るエディタです。
ホームページを表すルート「ホームページ」の下にアイテムを並べ、ページ全体の設定を決めると、
プロジェクトファイル（.pml）と、JavaScript でツリーを開閉するメニューページ（HTML）を書き出します。</p>

<h3>画面の構成</h3>
<ul>
<li><b>ページに関する情報</b>：ページのタイトル、背景色と背景画像、文字とリンクの色（TEXT、LINK、VLINK、ALINK、HOVER、HOVER背景）、
開始位置・左位置・行間・インデント（ピクセル、数字のみ）を設定します。
「各アイテムの背景色を優先」をオンにすると、各アイテムの背景色がページに出ます。
「親LINK有効」をオンにすると、子を持つアイテムにもリンクを付けられます。</li>
<li><b>選択アイテムのスタイル</b>：ツリーで選んだアイテムの背景色、別ボタン（ボタンなし・別ウインドウ・フレーム解除）、
スタイル、TARGET、リンク、文字サイズ、リンク・アイコンを設定します。入力した値はすぐにアイテムに反映されます。
「ツリーを開いた状態で表示する」は、トップレベルのツリーをページを開いたときに開いておく設定です。</li>
<li><b>追加するスタイル</b>：これから追加するアイテムが受け取る背景色、別ボタン、スタイル、TARGET、サイズです。</li>
<li><b>ツリー</b>：右側のツリーがメニューの構造です。アイテムを選ぶと、その設定が左に表示されます。
選んだアイテムのラベルをもう一度クリックすると、名前を変更できます。
「↑」「↓」ボタンは、選んだアイテムを兄弟の中で上下に移動します。</li>
</ul>

<h3>メニュー</h3>
<ul>
<li><b>ファイル</b>：プロジェクトの新規作成、開く、上書き保存、名前を付けて保存、HTMLの保存、
2画面・3画面フレームの作成、印刷、前回使ったファイルを開く、終了。</li>
<li><b>編集</b>：アイテムの名前の変更、追加（Ctrl+A）、切り取り（Alt+X）、コピー（Alt+C）、削除（Ctrl+D）、
切り取ったアイテムの貼り付け（Alt+V）、コピーしたアイテムの貼り付け（Alt+P）。
ツリーの上で右クリックすると、同じ操作のメニューが出ます。</li>
<li><b>表示</b>：ツールバーの表示と非表示、ツリーの背景色と文字色。</li>
<li><b>ツール</b>：TARGETリストへの名前の追加、アイテムの一括変更、ツリー画像の指定、JavaScriptのオプション、
BODYタグ内の先頭と後尾に入れるファイルの設定。</li>
<li><b>設定</b>：各アイテムのTARGETやリンク・アイコンを使うかどうか、フレームをリサイズ可能にするかどうか。</li>
</ul>

<h3>ファイルについて</h3>
<p>すべてのファイルはシフトJISで読み書きします。シフトJISで表せない文字は入力できません。
設定ファイル Pomeli2.ini と標準のツリー画像（plus.gif、minus.gif、linkto.gif、otherw.gif、scroll.gif）は、
ユーザーごとのプログラムフォルダ（環境変数 POMELI2_HOME、なければ ~/.local/share/pomeli2/）に置かれます。</p>
<p>保存していない変更があるときに終了しようとすると、確認のメッセージが表示されます。</p>
)");
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("help");
  setWindowTitle(Ui("Pomeli Pomeli ヘルプ"));
  auto* browser = new QTextBrowser;
  browser->setHtml(HelpText());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser);
  layout->addWidget(buttons);
  resize(640, 560);
}

}  // namespace pomeli2
