// The desktop editor's widgets, driven offscreen with the editor's messages
// answered by the test.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollArea>
#include <QTextBrowser>
#include <QWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QMimeData>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <deque>
#include <random>
#include <functional>

#include "dialogs.h"
#include "editor/commands/commands.h"
#include "editor/editor_access.h"
#include "editor/view/shell.h"
#include "form_widget.h"
#include "menu_tree_view.h"
#include "main_window.h"
#include "printing.h"
#include "project/project_file.h"
#include "text/sjis.h"
#include "text_border.h"
#include "widget_host.h"

using namespace pomeli2;

namespace {

struct Recorded {
  QString text, title;
};

// A window in a fresh program folder whose messages are recorded and
// answered from a list.
struct Fixture {
  QTemporaryDir dir;
  std::unique_ptr<MainWindow> window;
  std::vector<Recorded> messages;
  std::deque<MessageAnswer> answers;

  Fixture() {
    window = std::make_unique<MainWindow>(dir.path().toStdString() + "/");
    window->GetHost().SetMessageFunction(
        [this](const std::string& text, const std::string& title, MessageIcon, MessageButtons buttons) {
          messages.push_back({ToQt(text), ToQt(title)});
          if (!answers.empty()) {
            MessageAnswer a = answers.front();
            answers.pop_front();
            return a;
          }
          return buttons == MessageButtons::kYesNo ? MessageAnswer::kYes : MessageAnswer::kOk;
        });
    window->show();
  }
  Editor& editor() { return window->GetEditor(); }
  template <typename T>
  T* control(int id) {
    return qobject_cast<T*>(window->Form().Control(id));
  }
  QTreeWidget* tree() { return window->Form().Tree(); }
  QByteArray ini() {
    QFile f(dir.filePath("Pomeli2.ini"));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }
  void load(const char* project) {
    QVERIFY(editor().ReadProjectFile(std::string(POMELI2_TEST_DATA) + "/pages/" + project + ".pml"));
  }
  // The window active, the keyboard in the tree.
  void focusTree() {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    tree()->setFocus();
  }
  QTreeWidgetItem* item(const char* label) {
    auto found = tree()->findItems(Ui(label), Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
  }
};

// The tree as the window shows it, "label(child,child),label".
QString Shown(QTreeWidgetItem* item) {
  QStringList parts;
  for (int i = 0; i < item->childCount(); ++i) {
    QTreeWidgetItem* c = item->child(i);
    parts << c->text(0) + (c->childCount() ? "(" + Shown(c) + ")" : QString());
  }
  return parts.join(',');
}

// The core's tree in the same form.
QString Core(const MenuTree& tree, NodeId node) {
  QStringList parts;
  for (NodeId c = tree.FirstChild(node); c != kNoNode; c = tree.NextSibling(c))
    parts << ToQt(tree.Label(c)) + (tree.HasChildren(c) ? "(" + Core(tree, c) + ")" : QString());
  return parts.join(',');
}

// The environment of a started editor whose program folder is `home`.
QProcessEnvironment AppEnvironment(const QString& home) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("POMELI2_HOME", home);
  env.insert("QT_QPA_PLATFORM", "offscreen");
  return env;
}

// Runs `check` on the next modal dialog once it is shown; the check must
// close it. It looks for the dialog from the event loop, without waiting in
// a loop of its own, so that a dialog opened from a queued call is found too.
void OnNextDialog(std::function<void(QDialog*)> check) {
  auto* poll = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, check, tries] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog && ++*tries < 500) return;
    poll->stop();
    poll->deleteLater();
    QVERIFY(dialog);
    QPointer<QDialog> shown(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    check(dialog);
    // A check that failed before closing it must not leave the test waiting.
    if (shown && shown->isVisible()) shown->done(-2);
  });
  poll->start(10);
}

// The texts a dialog shows, without their access keys ("(&A)", "&").
QStringList ShownTexts(QWidget* dialog) {
  QStringList texts;
  auto plain = [](QString t) { return t.remove(QRegularExpression(R"(\(&[A-Z]\))")).remove('&'); };
  for (QWidget* w : dialog->findChildren<QWidget*>()) {
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) texts << plain(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << plain(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(w)) texts << plain(group->title());
  }
  return texts;
}

// Tab goes once round a dialog's controls, back to where the focus started;
// every push button is passed on the way.
void TabRound(QDialog* dialog) {
  QWidget* start = QApplication::focusWidget();
  QVERIFY(start && start->window() == dialog);
  QSet<QWidget*> passed;
  do {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    passed << QApplication::focusWidget();
  } while (QApplication::focusWidget() != start && passed.size() < 50);
  QCOMPARE(QApplication::focusWidget(), start);
  for (QPushButton* button : dialog->findChildren<QPushButton*>())
    if (button->isVisibleTo(dialog) && button->isEnabled()) QVERIFY2(passed.contains(button), qPrintable(button->text()));
}

// One key event per character (a surrogate pair is one character).
void TypeText(QWidget* w, const QString& text) {
  for (int i = 0; i < text.size(); ++i) {
    int n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, text.mid(i, n), Qt::NoModifier);
    i += n - 1;
  }
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void startsWithTitleAndSettingsFile() {
    Fixture f;
    QCOMPARE(f.window->windowHandle()->title(), Ui("無題.pml - Pomeli Pomeli Version 2.0"));
    QCOMPARE(f.ini(), QByteArray("1\t1\t480\t510\t0\t\t\r\n"));
    QCOMPARE(f.tree()->topLevelItemCount(), 1);
    QCOMPARE(f.tree()->currentItem()->text(0), Ui("ホームページ"));
    QVERIFY(f.messages.empty());
  }

  // The menu bar shows the registry's layout, entry for entry; only the
  // recent file's entry takes its text from the editor.
  void menusFollowTheRegistry() {
    Fixture f;
    const QList<QAction*> bar = f.window->menuBar()->actions();
    QCOMPARE(bar.size(), static_cast<qsizetype>(MainMenu().size()));
    for (size_t i = 0; i < MainMenu().size(); ++i) {
      const Menu& menu = MainMenu()[i];
      QCOMPARE(bar[static_cast<qsizetype>(i)]->text(), Ui(menu.title));
      const QList<QAction*> shown = bar[static_cast<qsizetype>(i)]->menu()->actions();
      QCOMPARE(shown.size(), static_cast<qsizetype>(menu.entries.size()));
      for (size_t k = 0; k < menu.entries.size(); ++k) {
        const MenuEntry& entry = menu.entries[k];
        QAction* a = shown[static_cast<qsizetype>(k)];
        QCOMPARE(a->isSeparator(), entry.command == kCmdNone);
        if (entry.command == kCmdNone || entry.command == kCmdRecent) continue;
        QCOMPARE(a->text(), Ui(entry.text) + (*entry.shortcut ? "\t" + QString(entry.shortcut) : QString()));
      }
    }
  }

  void acceleratorsComeBeforeTheFocusedControl() {
    Fixture f;
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QStringList bound;
    for (const char* keys : {"Alt+C", "Alt+P", "Alt+V", "Alt+X", "Ctrl+A", "Ctrl+D", "Ctrl+H", "Ctrl+I", "Ctrl+J",
                             "Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+T", "Ctrl+P"})
      if (f.window->AcceleratorCommand(QKeySequence(QString(keys)))) bound << keys;
    QCOMPARE(bound.size(), 14);


    // Ctrl+A selects a field's text while the field has the focus, and adds
    // an item from the tree.
    auto* link = f.control<QLineEdit>(kCtlTitle);
    link->setFocus();
    QTest::keyClick(link, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(f.editor().Model().LiveItemCount(), 1);
    QCOMPARE(link->selectedText(), link->text());
    f.tree()->setFocus();
    QTest::keyClick(f.tree(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(f.editor().Model().LiveItemCount(), 2);
    QTRY_VERIFY(f.tree()->isPersistentEditorOpen(f.tree()->currentItem()) ||
                f.tree()->currentItem()->text(0) == Ui("新しいアイテム"));
    // Ctrl+D in a field does nothing: deleting needs the tree's focus.
    link->setFocus();
    QTest::keyClick(link, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(f.editor().Model().LiveItemCount(), 2);
    QVERIFY(f.messages.empty());

    // Alt+X cuts (after the question), Alt+V pastes: the "表示(&V)" menu
    // does not open.
    f.tree()->setFocus();
    QTest::keyClick(f.tree(), Qt::Key_X, Qt::AltModifier);
    QCOMPARE(f.messages.back().title, Ui("切り取り確認"));
    QCOMPARE(f.editor().Model().LiveItemCount(), 1);
    QTest::keyClick(f.tree(), Qt::Key_V, Qt::AltModifier);
    QCOMPARE(f.editor().Model().LiveItemCount(), 2);
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(f.tree()->topLevelItem(0)->childCount(), 1);
    QCOMPARE(f.tree()->currentItem()->text(0), Ui("新しいアイテム"));

    // Ctrl+P prints from a field as from anywhere: the print dialog opens.
    auto* title = f.control<QLineEdit>(kCtlTitle);
    title->setFocus();
    const QString title_before = title->text();
    bool print_dialog = false;
    std::function<void()> close_print_dialog = [&] {
      if (auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
        print_dialog = true;
        d->reject();
      } else {
        QTimer::singleShot(20, close_print_dialog);
      }
    };
    QTimer::singleShot(20, close_print_dialog);
    QTest::keyClick(title, Qt::Key_P, Qt::ControlModifier);
    QVERIFY(print_dialog);
    QCOMPARE(title->text(), title_before);
  }

  void commandsFromEveryPlaceKeepTheTreeInStep() {
    Fixture f;
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    const MenuTree& core = f.editor().Model().tree;
    auto in_step = [&] {
      QCOMPARE(Shown(f.tree()->topLevelItem(0)), Core(core, core.FirstTop()));
      QCOMPARE(f.tree()->currentItem()->data(0, Qt::UserRole).value<NodeId>(), core.Selected());
    };
    auto rename = [&](const char* title) {
      f.tree()->currentItem()->setText(0, Ui(title));  // as the in-place edit ends
    };
    // The form's button, then the menu entry.
    QTest::mouseClick(f.control<QPushButton>(kCtlAddItem), Qt::LeftButton);
    QTRY_VERIFY(f.tree()->isPersistentEditorOpen(f.tree()->currentItem()) || f.tree()->focusWidget());
    rename("A");
    f.window->Action(kCmdAddItem)->trigger();
    rename("A1");
    f.tree()->setCurrentItem(f.tree()->topLevelItem(0));
    f.window->Action(kCmdAddItem)->trigger();
    rename("B");
    in_step();
    QCOMPARE(Shown(f.tree()->topLevelItem(0)), QString("A(A1),B"));

    // The arrow button moves B with the tree's focus kept.
    QTest::mouseClick(f.control<QPushButton>(kCtlMoveUp), Qt::LeftButton);
    in_step();
    QCOMPARE(Shown(f.tree()->topLevelItem(0)), QString("B,A(A1)"));
    QCOMPARE(f.tree()->currentItem()->text(0), QString("B"));

    // Copy from the toolbar acts on the tree, which keeps the focus.
    f.tree()->setCurrentItem(f.item("A"));
    f.tree()->setFocus();
    auto* bar = f.window->findChild<QToolBar*>("toolbar128");
    QTest::mouseClick(bar->widgetForAction(f.window->Action(kCmdCopy)), Qt::LeftButton);
    QVERIFY(f.window->Action(kCmdPasteCopy)->isEnabled());
    QVERIFY(f.tree()->hasFocus());

    // A right click leaves the selection alone; the context menu's paste
    // acts on the selected item.
    QTreeWidgetItem* b = f.item("B");
    QRect b_rect = f.tree()->visualItemRect(b);
    QTimer::singleShot(0, [&] {
      QTRY_VERIFY(QApplication::activePopupWidget());
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QCOMPARE(menu->objectName(), QString("context139"));
      for (QAction* a : menu->actions())
        if (a->text() == Ui("コピーしたツリーアイテムを貼り付け(&P)")) a->trigger();
      menu->close();
    });
    QTest::mouseClick(f.tree()->viewport(), Qt::RightButton, {}, b_rect.center());
    QTRY_VERIFY(!QApplication::activePopupWidget());
    in_step();
    QCOMPARE(Shown(f.tree()->topLevelItem(0)), QString("B,A(A1,A(A1))"));

    // Delete from the menu after its question; the tree selects a neighbour.
    f.window->activateWindow();  // offscreen, a closed popup leaves no window active
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.tree()->setCurrentItem(f.item("B"));
    f.tree()->setFocus();
    f.window->Action(kCmdDelete)->trigger();
    QVERIFY(!f.messages.empty());
    QCOMPARE(f.messages.back().title, Ui("削除確認"));
    in_step();
    QCOMPARE(Shown(f.tree()->topLevelItem(0)), QString("A(A1,A(A1))"));

    // Save and HTML save through the file dialogs.
    std::vector<std::string> asked;
    f.window->GetHost().SetFileDialogFunction([&](const FileDialogRequest& r) -> std::optional<std::string> {
      asked.push_back(r.initial_name);
      return (f.dir.path() + (r.default_extension == "pml" ? "/menu.pml" : "/menu.html")).toStdString();
    });
    QTest::keyClick(f.tree(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(f.tree(), Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(asked.size(), size_t(2));
    QVERIFY(QFile::exists(f.dir.filePath("menu.pml")));
    QVERIFY(QFile::exists(f.dir.filePath("menu.html")));
    QVERIFY(f.window->Action(kCmdFrame2)->isEnabled());
    QVERIFY2(!f.window->Action(kCmdPasteCopy)->isEnabled(), "saving forgets the copy");
  }

  void dialogsOpenFromTheirMenusAndWorkFromTheKeyboard() {
    Fixture f;
    f.load("example");
    Editor& e = f.editor();
    // Bulk font size: the sentence, 21 sizes from 5pt, Enter takes the preset.
    OnNextDialog([](QDialog* d) {
      QCOMPARE(d->windowTitle(), Ui("フォントサイズ一括変更"));
      auto* box = d->findChild<QComboBox*>("value");
      QCOMPARE(box->count(), 21);
      QCOMPARE(box->itemText(0), QString("5pt"));
      QCOMPARE(box->currentText(), QString("10pt"));
      box->setCurrentIndex(box->findText("14pt"));
      QTest::keyClick(d, Qt::Key_Return);
    });
    f.window->Action(kCmdBulkSize)->trigger();
    QCOMPARE(e.Model().tree.Item(e.Model().tree.FirstChild(e.Model().Root())).font_size, std::string("14pt"));
    QCOMPARE(e.ModifiedFlag(), 1);

    // Bulk background: typing runs the colour check; Escape cancels.
    OnNextDialog([&](QDialog* d) {
      auto* box = d->findChild<QComboBox*>("value");
      QVERIFY(box->isEditable());
      QVERIFY(d->findChild<QPushButton*>("colour")->styleSheet().contains("#ffffff"));
      box->lineEdit()->selectAll();
      QTest::keyClicks(box->lineEdit(), "F");
      QCOMPARE(box->currentText(), QString("#F"));
      // An incomplete colour keeps the dialog open for a better one.
      QTest::keyClick(box->lineEdit(), Qt::Key_Return);
      QVERIFY(d->isVisible());
      QTest::keyClick(d, Qt::Key_Escape);
    });
    std::string before = e.Model().tree.Item(e.Model().tree.FirstChild(e.Model().Root())).bg_color;
    f.window->Action(kCmdBulkBg)->trigger();
    QCOMPARE(f.messages.back().text, Ui("色は「#」に続けて16進数6桁で入力してください。"));
    QCOMPARE(e.Model().tree.Item(e.Model().tree.FirstChild(e.Model().Root())).bg_color, before);

    // JavaScript options: the dependent boxes follow their masters.
    OnNextDialog([](QDialog* d) {
      QCOMPARE(d->windowTitle(), Ui("JavaScriptのオプション設定"));
      auto* unite = d->findChild<QCheckBox*>("ctl1087");
      auto* parent_link = d->findChild<QCheckBox*>("ctl1088");
      auto* animate = d->findChild<QCheckBox*>("ctl1091");
      auto* speed = d->findChild<QComboBox*>("ctl1094");
      QVERIFY(parent_link->isEnabled());
      unite->click();
      QVERIFY(!parent_link->isEnabled());
      QVERIFY(parent_link->isChecked());
      QCOMPARE(speed->isEnabled(), animate->isChecked());
      animate->click();
      QCOMPARE(speed->isEnabled(), animate->isChecked());
      d->findChild<QComboBox*>("ctl1085")->setCurrentText("");
      // The accessible page mode is the last browser entry; its own
      // settings are open to change only with it.
      auto* browser = d->findChild<QComboBox*>("ctl1083");
      auto* html5 = d->findChild<QGroupBox*>("html5Page");
      QVERIFY(!html5->isEnabled());
      QTest::keyClick(browser, Qt::Key_End);
      QCOMPARE(browser->currentText(), QString("HTML5"));
      QVERIFY(html5->isEnabled());
      d->findChild<QCheckBox*>("html5Filter")->click();
      d->findChild<QCheckBox*>("html5Dark")->click();
      d->findChild<QComboBox*>("html5Lang")->setCurrentText("en-GB");
      d->findChild<QComboBox*>("html5Dir")->setCurrentText("rtl");
      QTest::keyClick(d, Qt::Key_Return);
    });
    f.window->Action(kCmdScriptOptions)->trigger();
    QCOMPARE(e.Settings().Filter, 1);
    QCOMPARE(e.Settings().Dark, 1);
    QCOMPARE(e.Settings().Lang, std::string("en-GB"));
    QCOMPARE(e.Settings().Dir, std::string("rtl"));
    QCOMPARE(e.Settings().Browser.mode, PageMode::kHtml5);
    QCOMPARE(e.Settings().Unite, 1);
    QCOMPARE(e.Settings().ParentLinkOn, 1);
    QCOMPARE(f.messages.back().title, Ui("自動変換"));
    QVERIFY(f.window->Action(kCmdItemTargets)->isChecked());
    // A speed and a browser text the lists do not offer survive an OK.
    EditorAccess::Settings(e).Speed = "13";
    EditorAccess::Settings(e).Browser = PageModeFromString("IE4-5 only");
    OnNextDialog([](QDialog* d) {
      QCOMPARE(d->findChild<QComboBox*>("ctl1094")->currentText(), QString("13"));
      d->accept();
    });
    f.window->Action(kCmdScriptOptions)->trigger();
    QCOMPARE(e.Settings().Speed.text(), std::string("13"));
    QCOMPARE(PageModeToString(e.Settings().Browser), std::string("IE4-5 only"));

    // Tree images: the defaults come back with one button.
    OnNextDialog([](QDialog* d) {
      auto* plus = d->findChild<QLineEdit*>("ctl1068");
      plus->setText("mine.gif");
      d->findChild<QPushButton*>("ctl1080")->click();
      QCOMPARE(plus->text(), QString("plus.gif"));
      d->findChild<QLineEdit*>("ctl1070")->clear();
      d->accept();
    });
    f.window->Action(kCmdTreeImages)->trigger();
    QCOMPARE(e.Settings().Linkto, std::string());
    QVERIFY(f.window->Action(kCmdItemIcons)->isChecked());

    // BODY insert: read-only paths, filled by browsing.
    f.window->GetHost().SetFileDialogFunction(
        [&](const FileDialogRequest&) -> std::optional<std::string> { return (f.dir.path() + "/h.html").toStdString(); });
    OnNextDialog([](QDialog* d) {
      QVERIFY(d->findChild<QLineEdit*>("ctl1106")->isReadOnly());
      d->findChild<QPushButton*>("ctl1108")->click();
      QVERIFY(d->findChild<QLineEdit*>("ctl1106")->text().endsWith("/h.html"));
      d->accept();
    });
    f.window->Action(kCmdBodyInsert)->trigger();
    QVERIFY(ToQt(e.Settings().BodyHeader).endsWith("/h.html"));

    // TARGET name: typed, then Enter; the item's list offers it. A blank
    // name keeps the dialog open.
    OnNextDialog([&](QDialog* d) {
      auto* name = d->findChild<QLineEdit*>("ctl1098");
      QCOMPARE(name->text(), QString("NewTarget"));
      name->setText("  ");
      QTest::keyClick(name, Qt::Key_Return);
      QVERIFY(d->isVisible());
      QCOMPARE(f.messages.back().text, Ui("TARGETの名前を入力してください。"));
      name->setText("Main");
      QTest::keyClick(name, Qt::Key_Return);
    });
    f.window->Action(kCmdAddTarget)->trigger();
    QVERIFY(f.control<QComboBox>(kCtlItemTarget)->findText("Main") >= 0);
    QVERIFY(f.control<QComboBox>(kCtlNewTarget)->findText("Main") < 0);

    // A colour button through the colour dialog, and its swatch.
    f.window->GetHost().SetColourDialogFunction([](unsigned) { return std::optional<unsigned>(0x102030); });
    f.control<QPushButton>(1052)->click();
    QCOMPARE(f.control<QLineEdit>(kCtlBgColor)->text(), QString("#102030"));
    QVERIFY(f.control<QPushButton>(1052)->styleSheet().contains("#102030"));
  }

  void dialogsTakeEnterForOkAndEscapeForCancelAfterATabRound() {
    Fixture f;
    f.load("example");
    QStringList opened;
    f.window->GetHost().SetColourDialogFunction([&](unsigned) {
      opened << "colour";
      return std::optional<unsigned>();
    });
    f.window->GetHost().SetFileDialogFunction([&](const FileDialogRequest&) {
      opened << "file";
      return std::optional<std::string>();
    });
    for (int command : {int(kCmdBulkSize), int(kCmdBulkStyle), int(kCmdBulkOther), int(kCmdBulkBg),
                        int(kCmdScriptOptions), int(kCmdTreeImages), int(kCmdBodyInsert), int(kCmdAddTarget),
                        int(kCmdAbout)}) {
      for (auto [key, expected] : {std::pair{Qt::Key_Return, int(QDialog::Accepted)},
                                   std::pair{Qt::Key_Enter, int(QDialog::Accepted)},
                                   std::pair{Qt::Key_Escape, int(QDialog::Rejected)}}) {
        int result = -1;
        OnNextDialog([&, key = key](QDialog* d) {
          QObject::connect(d, &QDialog::finished, [&](int r) { result = r; });
          // A TARGET name the list has already keeps its dialog open.
          if (auto* name = d->findChild<QLineEdit*>("ctl1098")) name->setText(QString("T%1").arg(key));
          TabRound(d);
          QWidget* focus = QApplication::focusWidget();
          QVERIFY2(!qobject_cast<QPushButton*>(focus) || focus->objectName().isEmpty(), "starts on a field");
          QTest::keyClick(focus, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        });
        f.window->Action(command)->trigger();
        QVERIFY2(result == expected, qPrintable(QString("command %1, key %2: %3").arg(command).arg(key).arg(result)));
      }
    }
    QCOMPARE(opened, QStringList());

    // The help window closes with Escape and with Enter.
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
      f.window->Action(kCmdHelp)->trigger();
      auto* help = f.window->findChild<HelpWindow*>();
      QVERIFY(QTest::qWaitForWindowActive(help));
      TabRound(help);
      QTest::keyClick(QApplication::focusWidget(), key);
      QVERIFY(!help->isVisible());
    }
  }

  void dialogTextsAreExact() {
    Fixture f;
    f.load("example");
    const QMap<int, QStringList> expected = {
        {kCmdScriptOptions,
         {"右フレーム名", "「なし」を選択した場合のみ各アイテムのTARGETが有効になる", "別ウインドウ・フレーム名", "対応ブラウザ",
          "ボタンとテキストを一体化させる （別ボタンは表示できない）",
          "親LINK有効のときにプルダウン動作を同時に行う\n     (「ボタンとテキストの一体化」を有効にしている場合は有効になる)",
          "トップレベルのツリーを畳むとき、動きを与える（アニメート）", "ツリーを畳むスピード：", "( 1=低速～12=高速 )",
          "ひとつのツリーのみ表示し他はクローズする\n     （アニメートを有効にしている場合は有効になる）",
          "フレーム作成時の項目（任意）", "最初に表示する右ページ", "最初に表示するトップページ",
          "HTML5のページ（対応ブラウザが「HTML5」のとき）", "メニューの上に絞り込みの入力欄を置く", "ページの言語",
          "( ja=日本語、en=英語 など )", "文字の方向", "( ltr=左から右、rtl=右から左 )",
          "OSがダークモードのときは暗い配色で表示する", "OK", "キャンセル"}},
        {kCmdTreeImages,
         {"ツリー画像を指定します。", "プラスボタン", "マイナスボタン", "リンクボタン", "別ウインドウボタン", "参照", "参照", "参照",
          "参照", "(各アイテムのリンク・アイコンを有効にするには、リンクボタンをブランクにします)",
          "「参照」ボタンではファイル名のみしか選択されません。ディレクトリが必要な場合は手入力してください。\n\n例 : images/plus.gif",
          "初期値に戻す", "OK", "キャンセル"}},
        {kCmdBodyInsert,
         {"BODYタグ内の先頭と後尾にHTMLコードを追加することができます。コードの内容はファイルに記述し、それらをこのダイアログで指定します。"
          "\n\nこれらのコードの追加でJavaScriptに不具合が起きないようご注意ください。",
          "BODYタグ内の先頭に挿入するコードが書かれたファイル", "BODYタグ内の後尾に挿入するコードが書かれたファイル", "参照", "参照",
          "クリア", "OK", "キャンセル"}},
        {kCmdAddTarget, {"TARGETリストボックスに新しい名前を追加します。", "OK", "キャンセル"}},
        {kCmdBulkSize, {"メモリ内も含め全アイテムのフォントサイズを", "に一括変更します。", "OK", "キャンセル"}},
        {kCmdBulkStyle, {"メモリ内も含め全アイテムのフォントスタイルを", "に一括変更します。", "OK", "キャンセル"}},
        {kCmdBulkOther, {"メモリ内も含め全アイテムの別ボタンを", "に一括変更します。", "OK", "キャンセル"}},
        {kCmdBulkBg, {"メモリ内も含め全アイテムの背景色を", "色", "に一括変更します。", "OK", "キャンセル"}},
    };
    for (auto it = expected.begin(); it != expected.end(); ++it) {
      QStringList shown;
      OnNextDialog([&](QDialog* d) {
        shown = ShownTexts(d);
        d->reject();
      });
      f.window->Action(it.key())->trigger();
      QStringList want = it.value();
      std::sort(shown.begin(), shown.end());
      std::sort(want.begin(), want.end());
      QCOMPARE(shown, want);
    }
  }

  void bodyInsertPathsLookReadOnly() {
    Fixture f;
    QColor field, window;
    OnNextDialog([&](QDialog* d) {
      auto* header = d->findChild<QLineEdit*>("ctl1106");
      QVERIFY(header->isReadOnly() && d->findChild<QLineEdit*>("ctl1107")->isReadOnly());
      QImage shown = header->grab().toImage();
      field = shown.pixelColor(shown.width() - 4, shown.height() / 2);
      window = d->palette().color(QPalette::Window);
      d->reject();
    });
    f.window->Action(kCmdBodyInsert)->trigger();
    // Painted like the dialog behind them, not like a field that takes typing.
    QCOMPARE(field, window);
    QVERIFY(field != f.control<QLineEdit>(kCtlTitle)->palette().color(QPalette::Base));
  }

  void aRefusedRenameGivesTheFocusBackToTheTree() {
    Fixture f;
    f.load("example");
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.window->GetHost().SetMessageFunction(nullptr);  // real message boxes, which take the focus
    auto* title = f.control<QLineEdit>(kCtlTitle);
    const QString page_title = title->text();
    QVERIFY(!page_title.isEmpty());
    for (const QString& name : {QString(300, 'x'), QString::fromUtf8("😀")}) {
      f.tree()->setCurrentItem(f.item("Tools"));
      f.tree()->setFocus();
      f.window->Action(kCmdRename)->trigger();
      QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
      auto* rename = qobject_cast<QLineEdit*>(QApplication::focusWidget());
      QVERIFY(f.tree()->isAncestorOf(rename));
      rename->setText(name);
      QString said;
      OnNextDialog([&](QDialog* box) {
        said = qobject_cast<QMessageBox*>(box)->text();
        QTest::keyClick(box, Qt::Key_Return);
      });
      QTest::keyClick(rename, Qt::Key_Return);
      QTRY_VERIFY(!said.isEmpty());
      QTRY_VERIFY(!QApplication::activeModalWidget());
      // The window manager gives the window back its focus; offscreen the
      // test does.
      f.window->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
      QWidget* focus = QApplication::focusWidget();
      QVERIFY(focus);
      QVERIFY2(focus == f.tree() || f.tree()->isAncestorOf(focus), qPrintable(focus->objectName()));
      QTest::keyClick(focus, Qt::Key_Backspace);
      QCOMPARE(title->text(), page_title);
      QCOMPARE(f.editor().Settings().Title, *FromQt(page_title));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
      QCOMPARE(f.item("Tools")->text(0), QString("Tools"));
      QCOMPARE(f.tree()->currentItem(), f.item("Tools"));
    }
  }

  // However the label editor closes, the keys go to the tree again, unless
  // the user clicked elsewhere.
  void theTreeHasTheKeyboardAgainHoweverARenameEnds() {
    Fixture f;
    f.load("example");
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    // Keys as the window system delivers them: to the focused widget, or to
    // the open menu.
    auto key = [&](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
      QTest::keyClick(f.window->windowHandle(), k, modifiers);
    };
    QPointer<QLineEdit> editor;
    // A click on the selected item opens its label editor after a moment.
    auto start_rename = [&](const char* label) {
      QTreeWidgetItem* item = f.item(label);
      QVERIFY(item);
      f.tree()->setCurrentItem(item);
      f.tree()->setFocus();
      QTest::mouseClick(f.tree()->viewport(), Qt::LeftButton, {}, f.tree()->visualItemRect(item).center());
      QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
      editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
      QVERIFY(f.tree()->isAncestorOf(editor));
    };
    auto tree_has_the_keyboard = [&] {
      QCOMPARE(QApplication::focusWidget(), f.tree());
      QVERIFY(f.editor().TreeHasFocus());
    };
    auto edit_menu = [] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); };

    // Enter and Escape.
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Escape}) {
      start_rename("Contact");
      if (QTest::currentTestFailed()) return;
      key(k);
      QTRY_VERIFY(!editor);
      tree_has_the_keyboard();
      if (QTest::currentTestFailed()) return;
    }

    // A menu opened by its key takes the keyboard from the editor, which
    // ends the rename; Escape closes the menu, Escape leaves the menu bar.
    start_rename("Contact");
    if (QTest::currentTestFailed()) return;
    editor->setText("Contact us");
    key(Qt::Key_E, Qt::AltModifier);
    QVERIFY(edit_menu());
    QCOMPARE(edit_menu()->title(), Ui("編集(&E)"));
    QTRY_VERIFY(!editor);
    QCOMPARE(f.tree()->currentItem(), f.item("Contact us"));
    key(Qt::Key_Escape);
    QVERIFY(!QApplication::activePopupWidget());
    key(Qt::Key_Escape);
    tree_has_the_keyboard();
    if (QTest::currentTestFailed()) return;
    // The keys act on the tree again: Up selects, Alt+C copies.
    key(Qt::Key_Up);
    QCOMPARE(f.tree()->currentItem(), f.item("Products"));
    QVERIFY(!f.editor().Model().CopyBufferFull());
    key(Qt::Key_C, Qt::AltModifier);
    QVERIFY(f.editor().Model().CopyBufferFull());

    // A command chosen in that menu acts on the tree.
    start_rename("Contact us");
    if (QTest::currentTestFailed()) return;
    key(Qt::Key_E, Qt::AltModifier);
    QVERIFY(edit_menu());
    QTRY_VERIFY(!editor);
    const int items = f.editor().Model().LiveItemCount();
    key(Qt::Key_D);  // "ツリーアイテムを削除(&D)"
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(f.editor().Model().LiveItemCount(), items - 1);
    QVERIFY(!f.item("Contact us"));
    tree_has_the_keyboard();
    if (QTest::currentTestFailed()) return;

    // Alt alone gives the keys to the menu bar, which ends the rename too.
    start_rename("Products");
    if (QTest::currentTestFailed()) return;
    QTest::keyPress(f.window->windowHandle(), Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(f.window->windowHandle(), Qt::Key_Alt);
    QTRY_VERIFY(!editor);
    QVERIFY(qobject_cast<QMenuBar*>(QApplication::focusWidget()));
    key(Qt::Key_Escape);
    tree_has_the_keyboard();
    if (QTest::currentTestFailed()) return;

    // A click elsewhere is the user's choice: the focus stays there.
    start_rename("Products");
    if (QTest::currentTestFailed()) return;
    auto* title = f.control<QLineEdit>(kCtlTitle);
    QTest::mouseClick(title, Qt::LeftButton);
    QTRY_VERIFY(!editor);
    QTest::qWait(50);
    QCOMPARE(QApplication::focusWidget(), title);
  }

  void aboutShowsItsWholeTitleAndHelpNamesTheContextMenu() {
    Fixture f;
    OnNextDialog([](QDialog* d) {
      QVERIFY(QTest::qWaitForWindowExposed(d));
      // Room for the title beside the window's icon and its buttons.
      QVERIFY2(d->width() >= d->fontMetrics().horizontalAdvance(d->windowTitle()) + 160,
               qPrintable(QString::number(d->width())));
      d->accept();
    });
    f.window->Action(kCmdAbout)->trigger();

    // The help names each entry the tree's context menu can hold, and no
    // other.
    QTextDocument help;
    help.setHtml(HelpText());
    QString text = help.toPlainText();
    qsizetype from = text.indexOf(Ui("右クリック"));
    QVERIFY(from >= 0);
    QString context = text.mid(from, text.indexOf('\n', from) - from);
    QSet<QString> named, held;
    for (auto it = QRegularExpression(Ui("「([^」]+)」")).globalMatch(context); it.hasNext();) named << it.next().captured(1);
    for (const MenuEntry& entry : ContextMenuFor(true, true).entries)
      if (entry.command) held << Ui(entry.text).remove(QRegularExpression(R"(\(&[A-Z]\))"));
    QCOMPARE(named, held);
  }

  void f1OpensTheHelpFromAnyControl() {
    Fixture f;
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    auto* title = f.control<QLineEdit>(kCtlTitle);
    title->setFocus();
    QTest::keyClick(title, Qt::Key_F1);
    auto* help = f.window->findChild<HelpWindow*>();
    QVERIFY(help && help->isVisible());
    help->close();
  }

  void treeKeepsAUsableShareAtTheSmallestSize() {
    Fixture f;
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    auto* fields = f.window->Form().findChild<QWidget*>("fields");
    auto* area = f.window->Form().findChild<QScrollArea*>();
    auto resize = [&](int width, int height) {
      f.window->resize(width, height);
      QTRY_COMPARE(f.window->size(), QSize(width, height));
      QCoreApplication::processEvents();  // the layouts follow
    };
    resize(kMinWindowWidth, kMinWindowHeight);
    QVERIFY2(f.tree()->width() >= 200, qPrintable(QString::number(f.tree()->width())));
    // The fields are not squeezed over each other: they scroll.
    QVERIFY(fields && area);
    QVERIFY(fields->width() >= fields->minimumSizeHint().width());
    QVERIFY(fields->height() >= fields->minimumSizeHint().height());
    // Tab brings a control at the far right into view.
    auto* picture = f.control<QLineEdit>(kCtlBackPicture);
    picture->setFocus();
    QTest::keyClick(picture, Qt::Key_Tab);
    auto* browse = f.control<QPushButton>(kCtlBackPictureBrowse);
    QCOMPARE(QApplication::focusWidget(), browse);
    QRect shown(browse->mapTo(area->viewport(), QPoint(0, 0)), browse->size());
    QVERIFY(area->viewport()->rect().contains(shown));

    // With room enough nothing scrolls, and the fields have the width they ask for.
    resize(1000, 1000);
    QVERIFY(!area->horizontalScrollBar()->isVisible() && !area->verticalScrollBar()->isVisible());
    QVERIFY(fields->width() >= fields->sizeHint().width());
  }

  void titleNamesTheDocumentAndItsChanges() {
    Fixture f;
    auto shown = [&] { return f.window->windowHandle()->title(); };
    QCOMPARE(shown(), Ui("無題.pml - Pomeli Pomeli Version 2.0"));
    TypeText(f.control<QLineEdit>(kCtlTitle), "x");
    QCOMPARE(shown(), Ui("無題.pml* - Pomeli Pomeli Version 2.0"));
    QString next = f.dir.filePath(Ui("サイト[*].pml"));
    f.window->GetHost().SetFileDialogFunction(
        [&](const FileDialogRequest&) -> std::optional<std::string> { return FromQt(next); });
    f.window->Action(kCmdSaveAs)->trigger();
    QVERIFY(QFile::exists(next));
    QCOMPARE(shown(), Ui("サイト[*].pml - Pomeli Pomeli Version 2.0"));
    f.tree()->setFocus();
    f.window->Action(kCmdAddItem)->trigger();
    QCOMPARE(shown(), Ui("サイト[*].pml* - Pomeli Pomeli Version 2.0"));
    f.window->Action(kCmdUndo)->trigger();  // back to what was saved
    QCOMPARE(shown(), Ui("サイト[*].pml - Pomeli Pomeli Version 2.0"));
    f.window->Action(kCmdRedo)->trigger();
    QCOMPARE(shown(), Ui("サイト[*].pml* - Pomeli Pomeli Version 2.0"));
    f.window->Action(kCmdSave)->trigger();
    QCOMPARE(shown(), Ui("サイト[*].pml - Pomeli Pomeli Version 2.0"));
    f.window->Action(kCmdNew)->trigger();
    QCOMPARE(shown(), Ui("無題.pml - Pomeli Pomeli Version 2.0"));
    next = QString(POMELI2_TEST_DATA) + "/pages/example.pml";
    f.window->Action(kCmdOpen)->trigger();
    QCOMPARE(shown(), Ui("example.pml - Pomeli Pomeli Version 2.0"));
  }

  void sizeAndMaximisedStateComeBack() {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    auto ini = [&] {
      QFile f(dir.filePath("Pomeli2.ini"));
      return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    {
      MainWindow w(folder);
      w.show();
      w.resize(720, 660);
      QTRY_COMPARE(w.size(), QSize(720, 660));
      QVERIFY(w.close());
    }
    // The settings file's line is as it always was.
    QVERIFY(QRegularExpression("^\\d+\\t\\d+\\t720\\t660\\t0\\t\\t\\r\\n$").match(ini()).hasMatch());
    {
      MainWindow w(folder);
      w.show();
      QCOMPARE(w.size(), QSize(720, 660));
      QVERIFY(!w.isMaximized());
      w.showMaximized();
      QTRY_VERIFY(w.isMaximized());
      QVERIFY(w.close());
    }
    {
      MainWindow w(folder);
      w.show();
      QTRY_VERIFY(w.isMaximized());
      w.showNormal();
      QTRY_COMPARE(w.size(), QSize(720, 660));
      // Larger than the screen's area, the window is held inside it.
      w.resize(5000, 4000);
      QVERIFY(w.close());
    }
    MainWindow w(folder);
    QRect area = QApplication::primaryScreen()->availableGeometry();
    // Its frame, where the platform draws one, within the area too.
    QVERIFY(area.width() - w.width() <= 10 && area.height() - w.height() <= 10);
    QVERIFY(w.width() <= area.width() && w.height() <= area.height());
    QVERIFY(QFile::exists(dir.filePath("window.ini")));
  }

  // The file dialogs' folders are kept in the window's own file, apart from
  // Pomeli2.ini, and come back with the project they were used for.
  void dialogFoldersComeBackWithTheirProjectAtTheNextStart() {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    QVERIFY(QDir(dir.path()).mkpath("site/lists"));
    const std::string project = dir.filePath("site/p.pml").toStdString();
    QFile source(dir.filePath("site/lists/l.md"));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write("- One\n");
    source.close();
    std::vector<FileDialogRequest> asked;
    std::deque<std::string> answers{source.fileName().toStdString(), project};
    auto dialogs = [&](const FileDialogRequest& r) -> std::optional<std::string> {
      asked.push_back(r);
      if (answers.empty()) return std::nullopt;
      std::string answer = answers.front();
      answers.pop_front();
      return answer;
    };
    {
      MainWindow w(folder);
      w.GetHost().SetFileDialogFunction(dialogs);
      w.Action(kCmdImport)->trigger();
      w.Action(kCmdSave)->trigger();
      QVERIFY(w.close());
    }
    QFile ini(dir.filePath("Pomeli2.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(!ini.readAll().contains("lists"));
    MainWindow w(folder);
    w.GetHost().SetFileDialogFunction(dialogs);
    w.OpenProject(QString::fromStdString(project));
    w.Action(kCmdImport)->trigger();
    QCOMPARE(QString::fromStdString(asked.back().initial_name), dir.filePath("site/lists/"));
  }

  void printsToPdfWhereTheLayoutPutsTheLines() {
    Fixture f;
    f.load("nested-all");
    QString pdf = f.dir.filePath("menu.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    PrintResult result = PrintOutline(printer, f.editor().Doc());
    QCOMPARE(result.pages, 1);
    // Each word's box, from poppler: "yMin word" per line.
    QProcess poppler;
    poppler.start("pdftotext", {"-bbox", pdf, "-"});
    QVERIFY(poppler.waitForFinished(20000));
    QString html = QString::fromUtf8(poppler.readAllStandardOutput());
    QRegularExpression word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    QMap<QString, double> top;
    for (auto it = word.globalMatch(html); it.hasNext();) {
      auto w = it.next();
      if (!top.contains(w.captured(3))) top[w.captured(3)] = w.captured(2).toDouble();
    }
    // Device pixels to points, and the offset of the printable area.
    const double scale = 72.0 / printer.resolution();
    const double origin = printer.pageLayout().paintRectPoints().top();
    const double lh = static_cast<double>(result.line_height) * scale;
    auto near = [&](const QString& text, double lines) {
      QVERIFY2(top.contains(text), qPrintable(text));
      double expected = origin + lines * lh;
      QVERIFY2(std::abs(top[text] - expected) < lh / 2,
               qPrintable(QString("%1 at %2, expected %3").arg(text).arg(top[text]).arg(expected)));
    };
    const int items = f.editor().Model().LiveItemCount() - 1;
    near("Pomeli", 2);
    near("Alpha", 5);               // the first item line
    near("Delta", 5 + items - 1);   // the last
    QVERIFY(!top.contains(Ui("ホームページ")));

    // A page lower than the header still prints, one item a page.
    QPrinter tiny(QPrinter::HighResolution);
    tiny.setOutputFormat(QPrinter::PdfFormat);
    tiny.setOutputFileName(f.dir.filePath("tiny.pdf"));
    tiny.setPageSize(QPageSize(QSizeF(60, 20), QPageSize::Millimeter));
    tiny.setPageMargins(QMarginsF(0, 0, 0, 0));
    PrintResult small = PrintOutline(tiny, f.editor().Doc());
    QCOMPARE(small.lines_per_page, 1L);
    QCOMPARE(small.pages, items);
    QProcess info;
    info.start("pdfinfo", {f.dir.filePath("tiny.pdf")});
    QVERIFY(info.waitForFinished(20000));
    QVERIFY(QString::fromLatin1(info.readAllStandardOutput())
                .contains(QRegularExpression(QString("Pages:\\s+%1\\n").arg(items))));
  }

  void undoAndRedoFromKeysMenusAndToolbar() {
    Fixture f;
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QVERIFY(!f.window->Action(kCmdUndo)->isEnabled());
    f.tree()->setFocus();
    QTest::keyClick(f.tree(), Qt::Key_A, Qt::ControlModifier);
    f.tree()->currentItem()->setText(0, "A");
    QCOMPARE(f.window->Action(kCmdUndo)->toolTip(), Ui("元に戻す: アイテムの名前を変更"));
    // Ctrl+Z in a field is the editor's undo, step by step.
    auto* title = f.control<QLineEdit>(kCtlTitle);
    title->setFocus();
    QTest::keyClick(title, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.tree()->currentItem()->text(0), Ui("新しいアイテム"));
    QTest::keyClick(title, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.tree()->topLevelItem(0)->childCount(), 0);
    QCOMPARE(f.editor().ModifiedFlag(), 0);
    QTest::keyClick(title, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.tree()->topLevelItem(0)->childCount(), 1);
    QCOMPARE(f.window->Action(kCmdRedo)->toolTip(), Ui("やり直し: アイテムの名前を変更"));
    auto* bar = f.window->findChild<QToolBar*>("toolbar128");
    QTest::mouseClick(bar->widgetForAction(f.window->Action(kCmdRedo)), Qt::LeftButton);
    QCOMPARE(f.tree()->topLevelItem(0)->child(0)->text(0), QString("A"));
    QCOMPARE(f.editor().ModifiedFlag(), 1);
  }

  // Undo and redo show only what changed: after every one of them, over a
  // long run of random edits, the window shows the core's tree item for
  // item, each view item standing for the core item at its place.
  void undoAndRedoShowTheCoresTreeItemForItem() {
    Fixture f;
    f.load("nested-all");
    Editor& e = f.editor();
    const MenuTree& core = e.Model().tree;
    std::function<bool(QTreeWidgetItem*, NodeId)> same = [&](QTreeWidgetItem* item, NodeId node) {
      if (item->data(0, Qt::UserRole).value<NodeId>() != node || item->text(0) != ToQt(core.Label(node))) return false;
      int i = 0;
      for (NodeId c = core.FirstChild(node); c != kNoNode; c = core.NextSibling(c), ++i)
        if (i >= item->childCount() || !same(item->child(i), c)) return false;
      return i == item->childCount();
    };
    std::mt19937 random(20261207);
    auto pick = [&] {
      std::vector<NodeId> all;
      core.ForEachPreOrder(core.FirstTop(), [&](NodeId n) { all.push_back(n); });
      return all[random() % all.size()];
    };
    const CommandId commands[] = {kCmdAddItem, kCmdDelete, kCmdCut,    kCmdCopy,   kCmdPasteCut,
                                  kCmdPasteCopy, kCmdMoveUp, kCmdMoveDown, kCmdIndent, kCmdOutdent};
    int steps = 0;
    for (int round = 0; round < 300; ++round) {
      e.SelectItem(pick());
      e.SetTreeFocus(true);
      switch (random() % 4) {
        case 0: e.Drop(pick(), pick(), kNoNode); break;
        case 1: e.EndLabelEdit("r" + std::to_string(round)); break;
        default: e.Dispatch(commands[random() % std::size(commands)]); break;
      }
      // The rename that an add opens is left as the user would leave it.
      if (auto* editor = f.tree()->findChild<QLineEdit*>()) {
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      }
      QVERIFY2(same(f.tree()->topLevelItem(0), core.FirstTop()),
               qPrintable(QString("edit %1:\n%2\n%3").arg(round).arg(Shown(f.tree()->topLevelItem(0)),
                                                                      Core(core, core.FirstTop()))));
      if (random() % 3 == 0) {
        int back = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < back; ++k) {
          e.Dispatch(random() % 2 ? kCmdUndo : kCmdRedo);
          ++steps;
          QVERIFY2(same(f.tree()->topLevelItem(0), core.FirstTop()),
                   qPrintable(QString("round %1:\n%2\n%3").arg(round).arg(Shown(f.tree()->topLevelItem(0)),
                                                                           Core(core, core.FirstTop()))));
        }
      }
    }
    QVERIFY(steps > 100);
    QCOMPARE(f.tree()->topLevelItemCount(), 1);
  }

  void undoKeepsTheOpenBranchesAndShowsWhatCameBack() {
    Fixture f;
    f.load("nested-all");  // Alpha(Alpha one(a, b), Alpha two), Bravo, Charlie(one, two), Delta
    f.item("Alpha")->setExpanded(true);
    f.item("Alpha one")->setExpanded(true);
    QVERIFY(!f.item("Charlie")->isExpanded());
    f.tree()->setCurrentItem(f.item("Bravo"));
    f.window->Action(kCmdAddItem)->trigger();
    f.tree()->currentItem()->setText(0, "B1");
    f.window->Action(kCmdUndo)->trigger();
    f.window->Action(kCmdUndo)->trigger();
    QVERIFY(f.item("Alpha")->isExpanded());
    QVERIFY(f.item("Alpha one")->isExpanded());
    QVERIFY2(!f.item("Charlie")->isExpanded(), "closed ones stay closed");
    f.window->Action(kCmdRedo)->trigger();
    f.window->Action(kCmdRedo)->trigger();
    QVERIFY(f.item("Alpha one")->isExpanded());
    QTreeWidgetItem* b1 = f.item("B1");
    QVERIFY(b1);
    for (QTreeWidgetItem* p = b1->parent(); p; p = p->parent()) QVERIFY(p->isExpanded());

    // The first add of a new menu, undone and done again, is in sight.
    Fixture g;
    g.tree()->setFocus();
    g.window->Action(kCmdAddItem)->trigger();
    g.window->Action(kCmdUndo)->trigger();
    g.window->Action(kCmdRedo)->trigger();
    QCOMPARE(g.tree()->topLevelItem(0)->childCount(), 1);
    QVERIFY(g.tree()->topLevelItem(0)->isExpanded());

    // Items that a step took away come back open as they went: a deleted
    // branch by undo, a pasted one by redo.
    f.editor().SetTreeFocus(true);
    f.tree()->setCurrentItem(f.item("Alpha"));
    f.window->Action(kCmdDelete)->trigger();
    QVERIFY(!f.item("Alpha"));
    f.window->Action(kCmdUndo)->trigger();
    QVERIFY(f.item("Alpha")->isExpanded());
    QVERIFY(f.item("Alpha one")->isExpanded());
    QVERIFY(!f.item("Alpha two")->isExpanded());
    f.tree()->setCurrentItem(f.item("Charlie"));
    f.window->Action(kCmdCopy)->trigger();
    f.tree()->setCurrentItem(f.item("Delta"));
    f.window->Action(kCmdPasteCopy)->trigger();
    QTreeWidgetItem* pasted = f.item("Delta")->child(0);
    pasted->setExpanded(true);
    f.window->Action(kCmdUndo)->trigger();
    f.window->Action(kCmdRedo)->trigger();
    QVERIFY(f.item("Delta")->child(0)->isExpanded());
  }

  // A branch that typing opened for a match closes when the typing moves on
  // to a match outside it; the count follows a deleted match.
  void findBarClosesWhatTypingOpenedAndCountsAfresh() {
    Fixture f;
    f.load("nested-all");  // Alpha(Alpha one(a, b), Alpha two), Bravo, Charlie(one, two), Delta
    f.focusTree();
    QTest::keyClick(f.tree(), Qt::Key_F, Qt::ControlModifier);
    auto* text = f.window->findChild<QLineEdit*>("findText");
    auto* count = f.window->findChild<QLabel*>("findCount");
    QTest::keyClicks(text, "T");  // "a1a.html", the link of "Alpha one a"
    QCOMPARE(f.tree()->currentItem(), f.item("Alpha one a"));
    QVERIFY(f.item("Alpha one")->isExpanded());
    QTest::keyClicks(text, "W");
    QCOMPARE(f.tree()->currentItem(), f.item("Alpha two"));
    QVERIFY(f.item("Alpha")->isExpanded());
    QVERIFY(!f.item("Alpha one")->isExpanded());
    QCOMPARE(count->text(), QString("1 / 2"));
    f.editor().SetTreeFocus(true);  // as a click on the tree's context menu
    f.window->RunCommand(kCmdDelete);
    QVERIFY(!f.item("Alpha two"));
    QCOMPARE(count->text(), QString("- / 1"));
  }

  // A swatch's 「色」 stays readable on the colour it shows.
  void swatchLabelsStandOutFromTheirColour() {
    Fixture f;
    auto* text = f.control<QLineEdit>(kCtlBodyText);
    auto* swatch = qobject_cast<QPushButton*>(f.window->Form().Control(1053));
    QVERIFY(text && swatch);
    for (const char* colour : {"#000000", "#FFFFFF", "#000080", "#FFFF00"}) {
      QVERIFY(f.editor().FieldChanged(kCtlBodyText, colour));
      f.editor().FieldEditEnded(kCtlBodyText);
      const QImage image = swatch->grab().toImage();
      const QColor back(colour);
      int standing_out = 0;
      for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y)
        for (int x = image.width() / 4; x < image.width() * 3 / 4; ++x) {
          const QColor c = image.pixelColor(x, y);
          if (std::abs(c.lightness() - back.lightness()) > 100) ++standing_out;
        }
      QVERIFY2(standing_out > 5, colour);
    }
  }

  // Closing the branch of the selected item selects the branch's item.
  void closingTheSelectedItemsBranchSelectsIt() {
    Fixture f;
    f.load("nested-all");
    f.tree()->setCurrentItem(f.item("Alpha one a"));
    QVERIFY(f.item("Alpha")->isExpanded());
    f.tree()->collapseItem(f.item("Alpha"));
    QCOMPARE(f.tree()->currentItem(), f.item("Alpha"));
    QCOMPARE(f.editor().Model().Selected(), f.item("Alpha")->data(0, Qt::UserRole).value<NodeId>());
  }

  // Ctrl+F opens the find bar under the tree; typing, Enter, F3 and
  // Shift+F3 select the matches and open their parents; Escape gives the
  // tree the keyboard back with the found item selected.
  void findBarFindsAsYouTypeAndGivesTheTreeBack() {
    Fixture f;
    f.load("nested-all");  // Alpha(Alpha one(a, b), Alpha two), Bravo, Charlie(one, two), Delta
    f.focusTree();
    auto* bar = f.window->findChild<QWidget*>("findBar");
    QVERIFY(bar && !bar->isVisible());
    QTest::keyClick(f.tree(), Qt::Key_F, Qt::ControlModifier);
    auto* text = f.window->findChild<QLineEdit*>("findText");
    auto* count = f.window->findChild<QLabel*>("findCount");
    QVERIFY(bar->isVisible());
    QVERIFY(text->hasFocus());
    QVERIFY2(bar->mapTo(f.window.get(), QPoint()).y() >= f.tree()->mapTo(f.window.get(), QPoint(0, f.tree()->height())).y(),
             "under the tree");

    QVERIFY(!f.item("Alpha")->isExpanded());
    QTest::keyClicks(text, "TWO");
    QCOMPARE(f.tree()->currentItem(), f.item("Alpha two"));
    QVERIFY(f.item("Alpha")->isExpanded());
    QCOMPARE(count->text(), QString("1 / 2"));
    QTest::keyClick(text, Qt::Key_F3);
    QCOMPARE(f.tree()->currentItem()->parent(), f.item("Charlie"));
    QVERIFY(f.item("Charlie")->isExpanded());
    QCOMPARE(count->text(), QString("2 / 2"));
    QTest::keyClick(text, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(f.tree()->currentItem(), f.item("Alpha two"));
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(count->text(), QString("2 / 2"));
    QVERIFY2(text->hasFocus(), "the bar keeps the keyboard while finding");
    QTreeWidgetItem* found = f.tree()->currentItem();

    QTest::keyClicks(text, "zz");
    QCOMPARE(count->text(), Ui("見つかりません"));
    QCOMPARE(f.tree()->currentItem(), found);
    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QVERIFY(f.tree()->hasFocus());
    QCOMPARE(f.tree()->currentItem(), found);
    QCOMPARE(f.editor().ModifiedFlag(), 0);
  }

  // The check lists its problems in a window beside the editor that stays
  // open; a double click shows the item; the tree marks the items with
  // problems until the next check.
  void checkWindowListsProblemsAndShowsTheirItems() {
    Fixture f;
    f.load("nested-all");
    Editor& e = f.editor();
    EditorAccess::Settings(e).Path = (f.dir.path() + "/menu.html").toStdString();
    e.SelectItem(f.item("Bravo")->data(0, Qt::UserRole).value<NodeId>());
    QVERIFY(e.FieldChanged(kCtlLink, "missing.html"));
    e.SelectItem(e.Model().Root());
    f.window->Action(kCmdCheckLinks)->trigger();
    auto* window = f.window->findChild<QDialog*>("checkWindow");
    QVERIFY(window && window->isVisible() && !window->isModal());
    // The site's report, a window of its own, is not taken for this one.
    f.window->ShowSiteReport("", {{"a.html", ""}});
    // It opens below the list, not over it.
    QVERIFY(!f.window->findChild<QDialog*>("siteReport")->frameGeometry().intersects(window->frameGeometry()));
    auto* list = window->findChild<QTreeWidget*>("checkList");
    QTreeWidgetItem* row = nullptr;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      if (list->topLevelItem(i)->text(0) == "Bravo") row = list->topLevelItem(i);
    QVERIFY(row);
    QCOMPARE(row->text(2), Ui("「missing.html」が見つかりません。"));
    QVERIFY(f.item("Bravo")->font(0).underline());
    list->setCurrentItem(row);
    emit list->itemActivated(row, 0);
    QCOMPARE(f.tree()->currentItem(), f.item("Bravo"));

    QVERIFY(e.FieldChanged(kCtlLink, "https://example.com/"));
    f.window->Action(kCmdCheckLinks)->trigger();
    QVERIFY(!f.item("Bravo")->font(0).underline());
    for (int i = 0; i < list->topLevelItemCount(); ++i) QVERIFY(list->topLevelItem(i)->text(0) != "Bravo");

    // A new document has no marks, though its items take the same ids.
    QVERIFY(e.FieldChanged(kCtlLink, "missing.html"));
    f.window->Action(kCmdCheckLinks)->trigger();
    QVERIFY(f.item("Bravo")->font(0).underline());
    f.window->Action(kCmdNew)->trigger();
    QCOMPARE(f.tree()->topLevelItem(0)->childCount(), 0);
    QCOMPARE(list->topLevelItemCount(), 0);
    for (int i = 0; i < 8; ++i) {
      e.SelectItem(e.Model().Root());
      e.Dispatch(kCmdAddItem);
      QVERIFY(e.EndLabelEdit("N"));
    }
    for (QTreeWidgetItem* item : f.tree()->findItems("N", Qt::MatchExactly | Qt::MatchRecursive))
      QVERIFY(!item->font(0).underline());
  }

  void importFromTheFileMenuShowsTheItemsUnderTheSelectedOne() {
    Fixture f;
    f.load("nested-all");  // Alpha(Alpha one(a, b), Alpha two), Bravo, Charlie(one, two), Delta
    QFile source(f.dir.filePath("list.md"));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write("- [New one](one.html)\n  - [Inner](inner.html)\n- New two\n");
    source.close();
    f.window->GetHost().SetFileDialogFunction(
        [&](const FileDialogRequest&) -> std::optional<std::string> { return source.fileName().toStdString(); });
    f.tree()->setCurrentItem(f.item("Bravo"));
    f.window->Action(kCmdImport)->trigger();
    QCOMPARE(Shown(f.item("Bravo")), QString("New one(Inner),New two"));
    QCOMPARE(f.tree()->currentItem(), f.item("New one"));
    QCOMPARE(Shown(f.tree()->topLevelItem(0)), Core(f.editor().Model().tree, f.editor().Model().Root()));
    QVERIFY(f.messages.empty());
    f.window->Action(kCmdUndo)->trigger();
    QCOMPARE(f.item("Bravo")->childCount(), 0);
    QVERIFY(!f.item("New one"));
  }

  void exportTakesTheFormatOfTheChosenFilter() {
    Fixture f;
    f.load("nested-all");
    // The real dialog: the OPML filter chosen from the keyboard, a bare name.
    OnNextDialog([&](QDialog* d) {
      auto* dialog = qobject_cast<QFileDialog*>(d);
      QVERIFY(dialog);
      auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
      QVERIFY(types);
      QCOMPARE(types->currentText(), Ui("JSONファイル(*.json) (*.json)"));
      types->setFocus();
      QTest::keyClick(types, Qt::Key_Down);
      QCOMPARE(types->currentText(), Ui("OPMLファイル(*.opml) (*.opml)"));
      dialog->setDirectory(f.dir.path());
      dialog->selectFile("menu");
      d->accept();  // QFileDialog's own accept; the editor adds the extension
    });
    f.window->Action(kCmdExport)->trigger();
    QFile written(f.dir.filePath("menu.opml"));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().contains("<outline text=\"Alpha one\""));
    QVERIFY(f.messages.empty());
    QCOMPARE(f.editor().ModifiedFlag(), 0);
  }

  void dragAndDropThroughTheModelAndOutlineKeys() {
    Fixture f;
    f.load("nested-all");  // Alpha(Alpha one(a, b), Alpha two), Bravo, Charlie(one, two), Delta
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QAbstractItemModel* model = f.tree()->model();
    auto index = [&](const char* label) { return f.tree()->indexFromItem(f.item(label)); };
    auto drop = [&](const char* dragged, const QModelIndex& parent, int row) {
      QMimeData* data = model->mimeData({index(dragged)});
      bool done = model->dropMimeData(data, Qt::MoveAction, row, 0, parent);
      delete data;
      return done;
    };
    const MenuTree& core = f.editor().Model().tree;
    QVERIFY(!drop("Alpha", index("Alpha one a"), -1));  // into its own subtree
    QVERIFY(!f.item(Ui("ホームページ").toUtf8().constData())->flags().testFlag(Qt::ItemIsDragEnabled));
    QVERIFY(drop("Delta", index("Alpha"), -1));  // onto Alpha: its last child
    QCOMPARE(f.item("Alpha")->child(2)->text(0), QString("Delta"));
    QVERIFY(drop("Charlie", index(Ui("ホームページ").toUtf8().constData()), 0));  // first among the root's items
    QCOMPARE(f.tree()->topLevelItem(0)->child(0)->text(0), QString("Charlie"));
    QCOMPARE(Shown(f.tree()->topLevelItem(0)), Core(core, core.FirstTop()));

    // Ctrl+Shift+arrows in the tree; in a field they select words.
    f.tree()->setCurrentItem(f.item("Bravo"));
    f.tree()->setFocus();
    QTest::keyClick(f.tree(), Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.item("Bravo")->parent()->text(0), QString("Alpha"));
    QTest::keyClick(f.tree(), Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.item("Bravo")->parent(), f.tree()->topLevelItem(0));
    QCOMPARE(Shown(f.tree()->topLevelItem(0)), Core(core, core.FirstTop()));
    auto* title = f.control<QLineEdit>(kCtlTitle);
    title->setFocus();
    QString before = Shown(f.tree()->topLevelItem(0));
    QTest::keyClick(title, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Shown(f.tree()->topLevelItem(0)), before);
  }

  void toolbarInOrderAndToggled() {
    Fixture f;
    auto* bar = f.window->findChild<QToolBar*>("toolbar128");
    QVERIFY(bar);
    QStringList names;
    for (QAction* a : bar->actions()) {
      names << (a->isSeparator() ? QString("-") : a->objectName());
      // The program's own icons, the same on every desktop, up to high-DPI sizes.
      if (!a->isSeparator()) QVERIFY(a->icon().availableSizes().contains(QSize(64, 64)));
    }
    QCOMPARE(names, (QStringList{"cmd57600", "cmd57601", "cmd57603", "cmd32771", "cmd32779", "cmd32781", "cmd32798",
                                 "-", "cmd32773", "cmd32774", "cmd32775", "cmd32776", "-", "cmd32792", "cmd57664",
                                 "-", "cmd32900", "-", "cmd32901", "cmd32902"}));
    QCOMPARE(f.window->Action(kCmdNew)->toolTip(), Ui("新規ファイル"));
    f.window->Action(kCmdToolbar)->trigger();
    QVERIFY(!bar->isVisible());
    f.window->Action(kCmdToolbar)->trigger();
    QVERIFY(bar->isVisible());
    QVERIFY(f.window->Action(kCmdPrint)->isEnabled());
    QVERIFY2(!f.window->Action(kCmdPasteCut)->isEnabled(), "nothing cut yet");
    QVERIFY(f.window->Action(kCmdAbout)->isEnabled());
  }

  void enablingFollowsTheSelection() {
    Fixture f;
    f.load("nested-all");
    QCOMPARE(f.tree()->topLevelItem(0)->childCount(), 4);
    QCOMPARE(f.tree()->currentItem()->text(0), Ui("Delta"));

    f.tree()->setCurrentItem(f.item("Alpha"));
    QCOMPARE(f.editor().Form().FieldText(kCtlLink), std::string());
    QVERIFY(f.control<QCheckBox>(kCtlOpen)->isEnabled());
    QVERIFY(!f.control<QLineEdit>(kCtlLink)->isEnabled());
    QVERIFY(f.control<QPushButton>(kCtlMoveDown)->isEnabled());
    QVERIFY(!f.control<QPushButton>(kCtlMoveUp)->isEnabled());

    f.tree()->setCurrentItem(f.item("Alpha one a"));
    QVERIFY(f.control<QLineEdit>(kCtlLink)->isEnabled());
    QCOMPARE(f.control<QLineEdit>(kCtlLink)->text(), QString("a1a.html"));
    QVERIFY(!f.control<QCheckBox>(kCtlOpen)->isEnabled());

    f.control<QCheckBox>(kCtlParentLink)->click();
    f.tree()->setCurrentItem(f.item("Alpha"));
    QVERIFY(f.control<QLineEdit>(kCtlLink)->isEnabled());

    f.tree()->setCurrentItem(f.tree()->topLevelItem(0));
    QVERIFY(!f.control<QLineEdit>(kCtlItemBgColor)->isEnabled());
    QVERIFY(!f.control<QComboBox>(kCtlItemStyle)->isEnabled());
  }

  void typedTextReachesTheCore() {
    Fixture f;
    auto* title = f.control<QLineEdit>(kCtlTitle);
    title->setFocus();
    title->selectAll();
    TypeText(title, Ui("見本x"));
    QCOMPARE(f.editor().Settings().Title, sj("見本x"));
    QCOMPARE(f.editor().ModifiedFlag(), 1);
    QCOMPARE(f.ini(), QByteArray("1\t1\t480\t510\t1\t\t\r\n"));

    TypeText(title, QString::fromUtf8("😀"));
    QCOMPARE(f.editor().Settings().Title, sj("見本x"));
    QCOMPARE(title->text(), Ui("見本x"));
    QVERIFY(!f.messages.empty());
    QCOMPARE(f.messages.back().title, Ui("入力エラー"));

    // A pasted title beyond 256 bytes gets the item titles' message; the
    // title stays whole instead of being cut without a word.
    QApplication::clipboard()->setText(QString(257, 'a'));
    title->setFocus();
    title->end(false);
    QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.messages.back().text, Ui("256 文字以内で入力してください。"));
    QCOMPARE(title->text(), Ui("見本x"));
    QCOMPARE(f.editor().Settings().Title, sj("見本x"));

    auto* row = f.control<QLineEdit>(kCtlRow);
    row->setFocus();
    row->selectAll();
    TypeText(row, "1a");
    QCOMPARE(f.messages.back().text, Ui("数字のみ入力可能です。"));
    QCOMPARE(row->text(), QString("1"));
    QCOMPARE(f.editor().Settings().Row.text(), std::string("1"));

    auto* size = f.control<QComboBox>(kCtlNewSize);
    QCOMPARE(size->itemText(0), QString("10pt"));
    QCOMPARE(size->itemText(20), QString("9pt"));
  }

  void editingDoesNotRebuildALargeTree() {
    Fixture f;
    QString pml = "[Title]\tBig\r\n0\troot\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n";
    for (int i = 1; i < 10000; ++i)
      pml += QString("%1\titem %2\t#FFFFFF\tNone\t1\t10pt\tp.html\t0\tFrame2\tlinkto.gif\t0\r\n")
                 .arg(i % 10 == 1 ? 1 : 2)
                 .arg(i);
    QFile file(f.dir.filePath("big.pml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(pml.toLatin1());
    file.close();
    QVERIFY(f.editor().ReadProjectFile(file.fileName().toStdString()));
    QTreeWidgetItem* root = f.tree()->topLevelItem(0);
    QCOMPARE(root->childCount(), 1000);
    QTreeWidgetItem* first = root->child(0);
    f.tree()->setCurrentItem(first->child(0));
    auto* link = f.control<QLineEdit>(kCtlLink);
    link->setFocus();
    TypeText(link, "x");
    QCOMPARE(f.tree()->topLevelItem(0), root);
    QCOMPARE(root->child(0), first);
    QCOMPARE(f.editor().Form().FieldText(kCtlLink), std::string("p.htmlx"));
  }

  // A check that marks every item of a large menu changes none of the
  // view's items (each change would be laid out and drawn on its own); the
  // items show their marks, on their own items, until the next check.
  void checkMarksChangeNoItem() {
    Fixture f;
    f.load("nested-all");
    MenuTreeView* tree = f.window->Form().Tree();
    const MenuTree& core = f.editor().Model().tree;
    std::unordered_set<NodeId> all;
    core.ForEachPreOrder(core.FirstTop(), [&](NodeId n) { all.insert(n); });
    int changes = 0;
    connect(tree->model(), &QAbstractItemModel::dataChanged, [&] { ++changes; });
    tree->MarkProblems(all);
    QCOMPARE(changes, 0);
    QVERIFY(f.item("Bravo")->font(0).underline());
    QCOMPARE(f.item("Bravo")->foreground(0).color(), QColor(0xC0, 0, 0));
    tree->MarkProblems({f.item("Bravo")->data(0, Qt::UserRole).value<NodeId>()});
    QVERIFY(f.item("Bravo")->font(0).underline());
    QVERIFY(!f.item("Delta")->font(0).underline());
    QVERIFY(f.item("Delta")->foreground(0).style() == Qt::NoBrush);
  }

  // In a deep menu the labels run wider than the tree: it scrolls sideways
  // and keeps the selected item's label in view.
  void deepLabelsScrollIntoView() {
    Fixture f;
    QString pml = "[Title]\tDeep\r\n";
    for (int level = 0; level < 23; ++level)
      pml += QString("%1\tlevel %1 item with a long label\t#FFFFFF\tNone\t1\t10pt\tp.html\t0\tFrame2\t\t0\r\n").arg(level);
    QFile file(f.dir.filePath("deep.pml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(pml.toLatin1());
    file.close();
    QVERIFY(f.editor().ReadProjectFile(file.fileName().toStdString()));
    MenuTreeView* tree = f.window->Form().Tree();
    const MenuTree& core = f.editor().Model().tree;
    NodeId deepest = core.FirstTop();
    while (core.HasChildren(deepest)) deepest = core.FirstChild(deepest);
    // The label in view, whole when it fits.
    auto in_view = [&](const char* label) {
      QTreeWidgetItem* item = f.item(label);
      const QRect cell = tree->visualItemRect(item);
      const int width = tree->fontMetrics().horizontalAdvance(item->text(0));
      return cell.isValid() && cell.left() >= 0 && cell.left() + width <= tree->viewport()->width();
    };
    f.editor().SelectItem(deepest);
    QApplication::processEvents();
    QVERIFY(tree->horizontalScrollBar()->maximum() > 0);
    QVERIFY(in_view("level 22 item with a long label"));
    QTest::keyClick(tree, Qt::Key_Home);
    QVERIFY(in_view("level 0 item with a long label"));
    QTest::keyClick(tree, Qt::Key_End);
    QVERIFY(in_view("level 22 item with a long label"));
  }

  void renameInTheTree() {
    Fixture f;
    f.load("example");
    QTreeWidgetItem* tools = f.item("Tools");
    f.tree()->setCurrentItem(tools);
    tools->setText(0, Ui("道具"));
    QCOMPARE(f.editor().Model().tree.Item(f.editor().Model().Selected()).title, sj("道具"));
    tools->setText(0, QString::fromUtf8("😀"));
    QCOMPARE(tools->text(0), Ui("道具"));
  }

  void closeAsksAboutUnsavedChanges() {
    Fixture f;
    QVERIFY(f.window->close());
    QVERIFY(f.messages.empty());
    QVERIFY(f.ini().endsWith("\t0\t\t\r\n"));

    Fixture g;
    TypeText(g.control<QLineEdit>(kCtlBackPicture), "b.gif");
    g.answers = {MessageAnswer::kNo};
    QVERIFY(!g.window->close());
    QVERIFY(g.window->isVisible());
    QCOMPARE(g.messages.back().text, Ui("変更が保存されていません。このまま終了しますか？"));
    QCOMPARE(g.messages.back().title, Ui("保存確認"));
    g.answers = {MessageAnswer::kYes};
    QVERIFY(g.window->close());
    QVERIFY(g.ini().contains("\t0\t\t\r\n"));
  }

  void maximisedWindowKeepsItsNormalPlace() {
    Fixture f;
    f.window->move(120, 90);
    QCoreApplication::processEvents();
    QPoint normal = f.window->NormalFramePosition();
    f.window->showMaximized();
    QTRY_VERIFY(f.window->isMaximized());
    f.window->BringToFront();
    QVERIFY(f.window->isMaximized());
    QCOMPARE(f.window->NormalFramePosition(), normal);
    QVERIFY(f.window->close());
    QVERIFY(f.ini().startsWith(QString("%1\t%2\t").arg(normal.x()).arg(normal.y()).toLatin1()));
  }

  void aProgramFolderThatCannotBeUsedIsReported() {
    QTemporaryDir home;
    QFile blocker(home.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QDir(home.path()).mkpath("locked/pomeli2.lock");  // a lock that no instance answers for
    for (const auto& [folder, says] : {std::pair{home.filePath("file/sub"), QByteArray("POMELI2_HOME")},
                                       std::pair{home.filePath("locked"), QByteArray("pomeli2.lock")}}) {
      QProcessEnvironment env = AppEnvironment(folder);
      QProcess app;
      app.setProcessEnvironment(env);
      app.start(POMELI2_APP, {});
      QVERIFY(app.waitForStarted());
      QByteArray err;
      QTRY_VERIFY_WITH_TIMEOUT((err += app.readAllStandardError()).contains(says) || app.state() != QProcess::Running,
                               10000);
      // It shows the message and waits for it to be read.
      QCOMPARE(app.state(), QProcess::Running);
      app.kill();
      app.waitForFinished();
    }
  }

  void projectsNamedOnTheCommandLineAreOpened() {
    QTemporaryDir home;
    QProcessEnvironment env = AppEnvironment(home.path());
    QString first_project = QString(POMELI2_TEST_DATA) + "/pages/example.pml";
    QString second_project = QString(POMELI2_TEST_DATA) + "/pages/nested-all.pml";
    auto ini = [&] {
      QFile f(home.filePath("Pomeli2.ini"));
      return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(POMELI2_APP, {first_project});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(ini().contains(first_project.toUtf8()), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.filePath("backup.pml")), 10000);
    // A second start hands its project to the first and ends.
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(POMELI2_APP, {second_project});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(ini().contains(second_project.toUtf8()), 10000);
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
  }

  void secondStartEndsAtOnce() {
    QTemporaryDir home;
    QProcessEnvironment env = AppEnvironment(home.path());
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(POMELI2_APP, {});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile(home.filePath("Pomeli2.ini")).size() > 0, 10000);
    QFile ini(home.filePath("Pomeli2.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), QByteArray("1\t1\t480\t510\t0\t\t\r\n"));
    for (const char* image : {"plus.gif", "minus.gif", "linkto.gif", "otherw.gif", "scroll.gif"})
      QVERIFY(QFile::exists(home.filePath(image)));
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(POMELI2_APP, {});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
    // A lock left by the killed instance does not block the next start.
    QProcess third;
    third.setProcessEnvironment(env);
    third.start(POMELI2_APP, {});
    QVERIFY(third.waitForStarted());
    QTest::qWait(1500);
    QCOMPARE(third.state(), QProcess::Running);
    third.kill();
    third.waitForFinished();
  }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
