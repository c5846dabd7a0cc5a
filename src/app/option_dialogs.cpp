#include "option_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/form/colours.h"
#include "text/catalogue.h"
#include "text_border.h"

namespace pomeli2 {
namespace {

QComboBox* MakeList(const std::vector<std::string>& entries, bool editable, const std::string& current) {
  auto* box = new QComboBox;
  for (const std::string& e : entries) box->addItem(ToQt(e));
  box->setEditable(editable);
  // What is typed stays as typed: a completion would show a value that the
  // dialog's model never received, and Enter would add the text to the list.
  if (editable) box->setCompleter(nullptr), box->setInsertPolicy(QComboBox::NoInsert);
  if (editable) {
    box->setCurrentText(ToQt(current));
  } else {
    // A value the list does not offer (a project written by hand or by
    // another version) is shown and kept until another is chosen: OK alone
    // changes nothing.
    int index = box->findText(ToQt(current));
    if (index < 0) {
      box->addItem(ToQt(current));
      index = box->count() - 1;
    }
    box->setCurrentIndex(index);
  }
  return box;
}

// OK (the default button, also for Enter) and キャンセル (also Escape). The
// box is the dialog's child before OK is made the default: only then does
// the dialog keep OK as its default, to which Enter returns whenever the
// focus has passed over another push button.
QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText("OK");
  buttons->button(QDialogButtonBox::Cancel)->setText(Ui("キャンセル"));
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QLabel* Buddy(const char* text, QWidget* field) {
  auto* label = new QLabel(Ui(text));
  label->setBuddy(field);
  return label;
}

QPushButton* Swatch(QPushButton* button, std::optional<unsigned> rgb) {
  button->setStyleSheet(rgb ? QString("background-color: #%1;").arg(*rgb, 6, 16, QChar('0')) : QString());
  return button;
}

}  // namespace

bool TakeText(QWidget* dialog, const QString& text, std::string& into) {
  auto sjis = FromQt(text);
  if (sjis) into = *sjis;
  else QMessageBox::warning(dialog, Ui(kInputErrorTitle), Ui(kUnrepresentableMessage));
  return sjis.has_value();
}

BulkDialog::BulkDialog(BulkChangeDialog& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName("bulk");
  setWindowTitle(ToQt(model.title));
  box_ = MakeList(model.entries, model.editable, model.value);
  box_->setObjectName("value");
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(ToQt(model.first_text)));
  row->addWidget(box_);
  if (model.editable) {
    // One byte more than a colour holds, so that the check can refuse it
    // with its message.
    box_->lineEdit()->setValidator(new ByteLimitValidator(kColourLength + 1, box_));
    colour_ = new QPushButton(Ui("色(&C)"));
    colour_->setObjectName("colour");
    row->addWidget(colour_);
    ShowSwatch();
    connect(box_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
      std::string typed;
      if (!TakeText(this, text, typed)) return;
      model_.Typed(typed);
      if (ToQt(model_.value) != box_->currentText()) box_->setCurrentText(ToQt(model_.value));
      ShowSwatch();
    });
    connect(colour_, &QPushButton::clicked, this, [this] {
      model_.ChooseColour();
      box_->setCurrentText(ToQt(model_.value));
      ShowSwatch();
    });
    // A pick from the list takes the entry as it is: no check, no swatch.
    connect(box_, &QComboBox::activated, this, [this] { TakeText(this, box_->currentText(), model_.value); });
  } else {
    connect(box_, &QComboBox::currentIndexChanged, this, [this] { TakeText(this, box_->currentText(), model_.value); });
  }
  row->addWidget(new QLabel(ToQt(model.last_text)));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(OkCancel(this));
}

void BulkDialog::ShowSwatch() { Swatch(colour_, model_.swatch); }

ScriptOptionsWindow::ScriptOptionsWindow(ScriptOptionsDialog& m, QWidget* parent) : QDialog(parent), model_(m) {
  setObjectName("scriptOptions");
  setWindowTitle(Ui("JavaScriptのオプション設定"));
  auto* right = MakeList(m.RightFrameEntries(), true, m.right_frame);
  auto* otherw = MakeList(m.OtherwFrameEntries(), true, m.otherw_frame);
  auto* browser = MakeList(m.BrowserEntries(), false, m.browser);
  auto* unite = new QCheckBox(Ui("ボタンとテキストを一体化させる （別ボタンは表示できない）(&U)"));
  auto* parent_link = new QCheckBox(
      Ui("親LINK有効のときにプルダウン動作を同時に行う(&P)\n     (「ボタンとテキストの一体化」を有効にしている場合は有効になる)"));
  auto* animate = new QCheckBox(Ui("トップレベルのツリーを畳むとき、動きを与える（アニメート）(&A)"));
  auto* speed = MakeList(m.SpeedEntries(), false, m.speed);
  auto* close_tree = new QCheckBox(
      Ui("ひとつのツリーのみ表示し他はクローズする(&O)\n     （アニメートを有効にしている場合は有効になる）"));
  auto* first = new QLineEdit(ToQt(m.first_page));
  auto* first_top = new QLineEdit(ToQt(m.first_top_page));
  auto* filter = new QCheckBox(Ui("メニューの上に絞り込みの入力欄を置く(&I)"));
  auto* lang = MakeList(m.LangEntries(), true, m.lang);
  auto* dir = MakeList(m.DirEntries(), false, m.dir);
  auto* dark = new QCheckBox(Ui("OSがダークモードのときは暗い配色で表示する(&D)"));
  const std::pair<QWidget*, const char*> names[] = {
      {right, "ctl1085"},     {otherw, "ctl1086"}, {browser, "ctl1083"}, {unite, "ctl1087"},
      {parent_link, "ctl1088"}, {animate, "ctl1091"}, {speed, "ctl1094"},  {close_tree, "ctl1092"},
      {first, "ctl1111"},     {first_top, "ctl1112"}, {filter, "html5Filter"}, {lang, "html5Lang"},
      {dir, "html5Dir"},      {dark, "html5Dark"}};
  for (auto [w, name] : names) w->setObjectName(name);
  for (QLineEdit* e : {first, first_top}) e->setValidator(new ByteLimitValidator(ScriptOptionsDialog::kPageLimit, e));
  for (QComboBox* b : {right, otherw}) b->lineEdit()->setValidator(new ByteLimitValidator(kTextLimit, b));
  lang->lineEdit()->setValidator(new ByteLimitValidator(ScriptOptionsDialog::kLangLimit, lang));

  auto* grid = new QGridLayout;
  grid->addWidget(Buddy("右フレーム名(&R)", right), 0, 0);
  grid->addWidget(right, 0, 1);
  grid->addWidget(new QLabel(Ui("「なし」を選択した場合のみ各アイテムのTARGETが有効になる")), 0, 2);
  grid->addWidget(Buddy("別ウインドウ・フレーム名(&W)", otherw), 1, 0);
  grid->addWidget(otherw, 1, 1);
  grid->addWidget(Buddy("対応ブラウザ(&B)", browser), 2, 0);
  grid->addWidget(browser, 2, 1);
  auto* speed_row = new QHBoxLayout;
  speed_row->addWidget(Buddy((std::string(kSpeedLabel) + "(&S)：").c_str(), speed));
  speed_row->addWidget(speed);
  speed_row->addWidget(new QLabel(Ui("( 1=低速～12=高速 )")));
  speed_row->addStretch(1);
  auto* frames = new QGroupBox(Ui("フレーム作成時の項目（任意）"));
  auto* fg = new QGridLayout(frames);
  fg->addWidget(Buddy("最初に表示する右ページ(&F)", first), 0, 0);
  fg->addWidget(first, 0, 1);
  fg->addWidget(Buddy("最初に表示するトップページ(&T)", first_top), 1, 0);
  fg->addWidget(first_top, 1, 1);
  auto* html5 = new QGroupBox(Ui("HTML5のページ（対応ブラウザが「HTML5」のとき）"));
  html5->setObjectName("html5Page");
  auto* hg = new QGridLayout(html5);
  hg->addWidget(filter, 0, 0, 1, 3);
  hg->addWidget(Buddy("ページの言語(&L)", lang), 1, 0);
  hg->addWidget(lang, 1, 1);
  hg->addWidget(new QLabel(Ui("( ja=日本語、en=英語 など )")), 1, 2);
  hg->addWidget(Buddy("文字の方向(&E)", dir), 2, 0);
  hg->addWidget(dir, 2, 1);
  hg->addWidget(new QLabel(Ui("( ltr=左から右、rtl=右から左 )")), 2, 2);
  hg->addWidget(dark, 3, 0, 1, 3);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  for (QWidget* w : {static_cast<QWidget*>(unite), static_cast<QWidget*>(parent_link), static_cast<QWidget*>(animate)})
    layout->addWidget(w);
  layout->addLayout(speed_row);
  layout->addWidget(close_tree);
  layout->addWidget(frames);
  layout->addWidget(html5);
  layout->addWidget(OkCancel(this));

  connect(unite, &QCheckBox::clicked, this, [this](bool on) { model_.UniteClicked(on), ShowState(); });
  connect(animate, &QCheckBox::clicked, this, [this](bool on) { model_.CloseItemsClicked(on), ShowState(); });
  connect(parent_link, &QCheckBox::clicked, this, [this](bool on) { model_.parent_link_on = on; });
  connect(close_tree, &QCheckBox::clicked, this, [this](bool on) { model_.close_tree = on; });
  connect(filter, &QCheckBox::clicked, this, [this](bool on) { model_.filter = on; });
  connect(dark, &QCheckBox::clicked, this, [this](bool on) { model_.dark = on; });
  connect(browser, &QComboBox::currentIndexChanged, this, [this, browser] {
    TakeText(this, browser->currentText(), model_.browser);
    ShowState();
  });
  ShowState();
}

void ScriptOptionsWindow::ShowState() {
  const ScriptOptionsDialog& m = model_;
  auto box = [this](const char* name) { return findChild<QCheckBox*>(name); };
  box("ctl1087")->setChecked(m.unite == 1);
  box("ctl1088")->setChecked(m.parent_link_on == 1);
  box("ctl1088")->setEnabled(m.ParentLinkOnEnabled());
  box("ctl1091")->setChecked(m.close_items == 1);
  box("ctl1092")->setChecked(m.close_tree == 1);
  box("ctl1092")->setEnabled(m.CloseTreeEnabled());
  findChild<QComboBox*>("ctl1094")->setEnabled(m.SpeedEnabled());
  findChild<QCheckBox*>("html5Filter")->setChecked(m.filter == 1);
  findChild<QCheckBox*>("html5Dark")->setChecked(m.dark == 1);
  findChild<QGroupBox*>("html5Page")->setEnabled(m.Html5Enabled());
}

void ScriptOptionsWindow::accept() {
  ScriptOptionsDialog& m = model_;
  auto list = [this](const char* name) { return findChild<QComboBox*>(name)->currentText(); };
  auto edit = [this](const char* name) { return findChild<QLineEdit*>(name)->text(); };
  if (!TakeText(this, list("ctl1085"), m.right_frame) || !TakeText(this, list("ctl1086"), m.otherw_frame) ||
      !TakeText(this, list("ctl1083"), m.browser) || !TakeText(this, list("ctl1094"), m.speed) ||
      !TakeText(this, edit("ctl1111"), m.first_page) || !TakeText(this, edit("ctl1112"), m.first_top_page) ||
      !TakeText(this, list("html5Lang"), m.lang) || !TakeText(this, list("html5Dir"), m.dir))
    return;
  if (!m.LangValid()) {
    QMessageBox::warning(this, Ui(kInputErrorTitle), Ui(kLanguageTagMessage));
    findChild<QComboBox*>("html5Lang")->setFocus();
    return;
  }
  QDialog::accept();
}

TreeImagesWindow::TreeImagesWindow(TreeImagesDialog& m, QWidget* parent) : QDialog(parent), model_(m) {
  setObjectName("treeImages");
  setWindowTitle(Ui("ツリー画像の指定"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(Ui("ツリー画像を指定します。")));
  auto* grid = new QGridLayout;
  const char* mnemonics[4] = {"(&P)", "(&M)", "(&L)", "(&O)"};
  const int ids[4] = {1068, 1069, 1070, 1065};
  for (int i = 0; i < 4; ++i) {
    edits_[i] = new QLineEdit(ToQt(m.images[i]));
    edits_[i]->setObjectName(QString("ctl%1").arg(ids[i]));
    auto* browse = new QPushButton(Ui("参照"));
    browse->setObjectName(QString("ctl%1").arg(1076 + i));
    connect(browse, &QPushButton::clicked, this, [this, i] {
      if (!TakeText(this, edits_[i]->text(), model_.images[i])) return;
      model_.Browse(i);
      edits_[i]->setText(ToQt(model_.images[i]));
    });
    grid->addWidget(Buddy((std::string(kTreeImageLabels[i]) + mnemonics[i]).c_str(), edits_[i]), i * 2, 0);
    grid->addWidget(edits_[i], i * 2, 1);
    grid->addWidget(browse, i * 2, 2);
  }
  grid->addWidget(new QLabel(Ui("(各アイテムのリンク・アイコンを有効にするには、リンクボタンをブランクにします)")), 5, 1);
  layout->addLayout(grid);
  layout->addWidget(new QLabel(Ui("「参照」ボタンではファイル名のみしか選択されません。ディレクトリが必要な場合は手入力してください。\n\n例 : images/plus.gif")));
  auto* defaults = new QPushButton(Ui("初期値に戻す(&D)"));
  defaults->setObjectName("ctl1080");
  connect(defaults, &QPushButton::clicked, this, [this] {
    model_.RestoreDefaults();
    for (int i = 0; i < 4; ++i) edits_[i]->setText(ToQt(model_.images[i]));
  });
  layout->addWidget(defaults, 0, Qt::AlignLeft);
  layout->addWidget(OkCancel(this));
}

void TreeImagesWindow::accept() {
  for (int i = 0; i < 4; ++i)
    if (!TakeText(this, edits_[i]->text(), model_.images[i])) return;
  QDialog::accept();
}

BodyInsertWindow::BodyInsertWindow(BodyInsertDialog& m, QWidget* parent) : QDialog(parent), model_(m) {
  setObjectName("bodyInsert");
  setWindowTitle(Ui("BODYタグ内の先頭と後尾の設定"));
  auto* explanation = new QLabel(Ui(
      "BODYタグ内の先頭と後尾にHTMLコードを追加することができます。コードの内容はファイルに記述し、それらをこのダイアログで指定します。\n\n"
      "これらのコードの追加でJavaScriptに不具合が起きないようご注意ください。"));
  explanation->setWordWrap(true);
  header_ = new QLineEdit;
  footer_ = new QLineEdit;
  header_->setObjectName("ctl1106");
  footer_->setObjectName("ctl1107");
  auto* browse_header = new QPushButton(Ui("参照(&H)"));
  auto* browse_footer = new QPushButton(Ui("参照(&F)"));
  browse_header->setObjectName("ctl1108");
  browse_footer->setObjectName("ctl1109");
  auto* clear = new QPushButton(Ui("クリア(&C)"));
  clear->setObjectName("ctl1110");
  // Filled by browsing only; painted like the dialog behind them, as
  // read-only fields are, so that nobody tries to type there.
  for (QLineEdit* e : {header_, footer_}) {
    e->setReadOnly(true);
    QPalette look = e->palette();
    look.setColor(QPalette::Base, look.color(QPalette::Window));
    e->setPalette(look);
  }
  connect(browse_header, &QPushButton::clicked, this, [this] { model_.BrowseHeader(), ShowState(); });
  connect(browse_footer, &QPushButton::clicked, this, [this] { model_.BrowseFooter(), ShowState(); });
  connect(clear, &QPushButton::clicked, this, [this] { model_.Clear(), ShowState(); });
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(Ui(kBodyHeaderLabel)), 0, 0, 1, 2);
  grid->addWidget(header_, 1, 0);
  grid->addWidget(browse_header, 1, 1);
  grid->addWidget(new QLabel(Ui(kBodyFooterLabel)), 2, 0, 1, 2);
  grid->addWidget(footer_, 3, 0);
  grid->addWidget(browse_footer, 3, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(explanation);
  layout->addLayout(grid);
  layout->addWidget(clear, 0, Qt::AlignLeft);
  layout->addWidget(OkCancel(this));
  setMinimumWidth(520);
  ShowState();
}

void BodyInsertWindow::ShowState() {
  header_->setText(ToQt(model_.header));
  footer_->setText(ToQt(model_.footer));
}

TargetNameWindow::TargetNameWindow(TargetNameDialog& m, QWidget* parent) : QDialog(parent), model_(m) {
  setObjectName("targetName");
  setWindowTitle(Ui("TARGETリストへ追加"));
  name_ = new QLineEdit(ToQt(m.name));
  name_->setObjectName("ctl1098");
  name_->setValidator(new ByteLimitValidator(TargetNameDialog::kNameLimit, name_));
  name_->selectAll();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Buddy("TARGETリストボックスに新しい名前を追加します。(&N)", name_));
  layout->addWidget(name_);
  layout->addWidget(OkCancel(this));
}

void TargetNameWindow::accept() {
  if (TakeText(this, name_->text(), model_.name) && model_.Accept()) QDialog::accept();
}

void BulkDialog::accept() {
  if (model_.Accept()) QDialog::accept();
}

}  // namespace pomeli2
