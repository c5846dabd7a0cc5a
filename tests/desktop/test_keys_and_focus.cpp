// Keys, focus and dialogs of the real window under a window manager: the
// input comes from xdotool as a user's keys and clicks come, and message
// boxes are real ones, which take the keyboard from the field behind them.
// Run by keys_and_focus.sh on Xvfb with openbox.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <deque>
#include <functional>

#include "editor/editor_access.h"
#include "editor/form/controls.h"
#include "form_widget.h"
#include "main_window.h"
#include "menu_tree_view.h"
#include "text/sjis.h"
#include "text_border.h"

using namespace pomeli2;

namespace {

// Sends keys or a click to whatever has the keyboard or the pointer, as a
// user would.
void Xdo(const QStringList& args) { QProcess::execute("xdotool", args); }
void Keys(const QString& keys) { Xdo(QStringList{"key", "--clearmodifiers", "--delay", "60"} + keys.split(' ')); }
void TypeText(const QString& text) { Xdo({"type", "--delay", "60", text}); }
void Click(QWidget* w) {
  QPoint at = w->mapToGlobal(w->rect().center());
  Xdo({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

struct Box {
  QString title, text;
};

// Input step by step: each step waits until the window is ready for it
// (a dialog up, a box gone), then acts. The steps run from a timer, so they
// go on inside the dialogs' own event loops. Every message box is recorded
// once it has the keyboard, and answered with Enter (its default button).
class Driver : public QObject {
 public:
  std::vector<Box> boxes;
  // Looks at the window while a box is up.
  std::function<void(const Box&)> on_box;

  Driver() {
    timer_.setInterval(40);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    timer_.start();
  }
  Driver& When(std::function<bool()> ready, std::function<void()> act) {
    steps_.push_back({std::move(ready), std::move(act)});
    return *this;
  }
  Driver& Then(std::function<void()> act) { return Pause(150).When([] { return true; }, std::move(act)); }
  Driver& Pause(int ms) {
    auto since = std::make_shared<QElapsedTimer>();
    steps_.push_back({[since, ms] {
                        if (!since->isValid()) since->start();
                        return since->elapsed() >= ms;
                      },
                      [] {}});
    return *this;
  }
  bool Done() const { return steps_.empty(); }

 private:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
  };
  void Tick() {
    if (busy_) return;
    busy_ = true;
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box && box->isActiveWindow() && box != answered_) {
      if (box != seen_) seen_ = box, seen_at_.start();
      if (seen_at_.elapsed() > 300) {
        answered_ = box;
        boxes.push_back({box->windowTitle(), box->text()});
        if (on_box) on_box(boxes.back());
        Keys("Return");
      }
    } else if (!box && !steps_.empty() && steps_.front().ready()) {
      Step step = std::move(steps_.front());
      steps_.pop_front();
      step.act();
    }
    busy_ = false;
  }
  QTimer timer_;
  std::deque<Step> steps_;
  bool busy_ = false;
  QPointer<QMessageBox> seen_, answered_;
  QElapsedTimer seen_at_;
};

bool RenameBoxOpen() {
  auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  return box && qobject_cast<QTreeWidget*>(box->parentWidget() ? box->parentWidget()->parentWidget() : nullptr);
}

// The dialogs on the screen, message boxes aside.
std::vector<QDialog*> OpenDialogs() {
  std::vector<QDialog*> open;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible() && !qobject_cast<QMessageBox*>(w))
      open.push_back(dialog);
  return open;
}

bool MenuOpen() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; }

// Opens a tools dialog by its menu key, types `wrong` into the box that
// `to_box` reaches and presses Enter; after the message, `right` the same way.
void TypeWrongThenRight(Driver& d, const char* entry, const QString& to_box, const QString& wrong, const QString& right) {
  const QString select = to_box.isEmpty() ? "ctrl+a" : to_box + " ctrl+a";
  d.Then([] { Keys("alt+t"); })
      .When(MenuOpen, [=] { Keys(entry); })
      .When([] { return qobject_cast<QDialog*>(QApplication::activeModalWidget()) != nullptr; },
            [=] { Keys(select); TypeText(wrong); Keys("Return"); })
      .Pause(1200)
      .Then([=] { Keys("ctrl+a"); TypeText(right); Keys("Return"); })
      .Pause(300);
}

bool Active(const char* object_name) {
  QWidget* w = QApplication::activeWindow();
  return w && w->objectName() == object_name && w->isVisible();
}

}  // namespace

class KeysAndFocus : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::unique_ptr<MainWindow> window_;
  QString project_;

  Editor& editor() { return window_->GetEditor(); }
  MenuTreeView* tree() { return window_->Form().Tree(); }
  QWidget* control(int id) { return window_->Form().Control(id); }
  NodeId Find(const char* label) {
    NodeId found = kNoNode;
    const MenuTree& t = editor().Model().tree;
    t.ForEachPreOrder(t.FirstTop(), [&](NodeId n) {
      if (found == kNoNode && t.Label(n) == Utf8ToSjis(label).value()) found = n;
    });
    return found;
  }
  QString Saved() {
    QFile f(project_);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
  }
  void Run(Driver& d) { QTRY_VERIFY_WITH_TIMEOUT(d.Done(), 60000); }
  // The item that the tree shows selected, and whether its link can be
  // typed: what the user sees.
  QString Shown() {
    QTreeWidgetItem* current = tree()->currentItem();
    return (current ? current->text(0) : QString()) + (control(kCtlLink)->isEnabled() ? "+link" : "");
  }

 private slots:
  void init() {
    project_ = dir_.filePath("site.pml");
    QFile::remove(project_);
    QVERIFY(QFile::copy(POMELI2_TEST_DATA "/pages/example.pml", project_));
    QFile::setPermissions(project_, QFile::ReadOwner | QFile::WriteOwner);
    window_ = std::make_unique<MainWindow>(dir_.path().toStdString() + "/");
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    window_->OpenProject(project_);
    editor().SelectItem(Find("Tools"));
    tree()->setFocus();
    QTest::qWait(200);
  }
  void cleanup() {
    // What the last test left typed ends while the window is whole.
    window_->GetHost().SetMessageFunction([](auto&&...) { return MessageAnswer::kYes; });
    window_->Form().FocusTree();
    window_->hide();
    QTest::qWait(50);
    window_.reset();
  }

  // Ctrl+S and the close with the rename box open: what was typed is saved,
  // and the close asks about it.
  void renameBeingTypedIsAnEdit() {
    Driver d;
    d.Then([] { Keys("alt+e"); })
        .When(MenuOpen, [] { Keys("n"); })
        .When(RenameBoxOpen, [] { TypeText("news"); })
        .Then([] { Keys("ctrl+s"); });
    Run(d);
    QTRY_VERIFY2(Saved().contains("\tnews\t"), "the saved file holds the typed name");
    QVERIFY(!window_->isWindowModified());

    d.Then([] { Keys("F2"); }).When(RenameBoxOpen, [] { TypeText("other"); }).Then([] { Keys("alt+F4"); }).Pause(1000);
    Run(d);
    QCOMPARE(d.boxes.size(), size_t(1));
    QCOMPARE(d.boxes[0].title, Ui("保存確認"));
    QVERIFY2(window_->isVisible(), "いいえ keeps the program running");
    QCOMPARE(tree()->currentItem()->text(0), QString("other"));
  }

  // In a text box the keys that edit text act on the text; the others run
  // their commands.
  void textKeysStayInTheirBox() {
    const int items = editor().Model().tree.Count();
    auto* link = static_cast<QLineEdit*>(control(kCtlLink));
    Driver d;
    d.Then([=] { Click(link); })
        .When([=] { return link->hasFocus(); }, [] { Keys("End"); TypeText("xyz"); })
        .Then([] { Keys("ctrl+a"); });
    Run(d);
    QTRY_COMPARE(link->selectedText(), QString("tools.htmlxyz"));
    d.Then([] { TypeText("abc"); }).Then([] { Keys("ctrl+z"); }).Pause(300);
    Run(d);
    QCOMPARE(editor().Model().tree.Count(), items);
    QCOMPARE(link->text(), QString("tools.htmlxyz"));
    QCOMPARE(ToQt(editor().Model().tree.Item(Find("Tools")).link), link->text());

    // The rename box: Ctrl+A selects its text, Ctrl+Z undoes its typing and
    // leaves the link as it is.
    const QString stored_link = link->text();
    d.Then([] { Keys("ctrl+f"); TypeText("Too"); })
        .Then([] { Keys("ctrl+a"); TypeText("Con"); })
        .Then([] { Keys("Escape"); })
        .Then([] { Keys("F2"); })
        .When(RenameBoxOpen, [] { Keys("ctrl+a"); TypeText("q"); })
        .Then([] { Keys("ctrl+z"); })
        .Pause(300);
    Run(d);
    QCOMPARE(editor().Model().tree.Count(), items);
    QCOMPARE(ToQt(editor().Model().tree.Label(editor().Model().Selected())), QString("Contact"));
    auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY2(box && tree()->isAncestorOf(box), "the rename box is still open");
    QCOMPARE(box->text(), QString("Contact"));
    QCOMPARE(ToQt(editor().Model().tree.Item(Find("Tools")).link), stored_link);
    d.Then([] { Keys("Escape"); });
    Run(d);
  }

  // F3 and Shift+F3 go from match to match while the find bar has the
  // keyboard, and leave the tree's selection alone elsewhere.
  void findKeysActInTheFindBarOnly() {
    Driver d;
    d.Then([] { Keys("ctrl+f"); TypeText("o"); }).Pause(300);
    Run(d);
    const QString first = tree()->currentItem()->text(0);
    d.Then([] { Keys("F3"); }).Pause(300);
    Run(d);
    const QString second = tree()->currentItem()->text(0);
    QVERIFY2(second != first, "F3 went on to the next match");
    d.Then([] { Keys("shift+F3"); }).Pause(300);
    Run(d);
    QCOMPARE(tree()->currentItem()->text(0), first);
    d.Then([] { Keys("Escape"); }).Then([] { Keys("F3"); }).Pause(300);
    Run(d);
    QVERIFY(tree()->hasFocus());
    QCOMPARE(tree()->currentItem()->text(0), first);
  }

  // A wrong first character in a colour field: one message, and the typing
  // goes on in the field.
  void oneMistakeOneMessage() {
    auto* field = static_cast<QLineEdit*>(control(kCtlBodyLink));
    Driver d;
    d.Then([=] { Click(field); })
        .When([=] { return field->hasFocus(); }, [] { Keys("End shift+Home"); TypeText("b"); })
        .Pause(1500);
    Run(d);
    QCOMPARE(d.boxes.size(), size_t(1));
    QCOMPARE(d.boxes[0].text, Ui("「#」で書き始めてください。"));
    QTRY_COMPARE(QApplication::focusWidget(), field);
  }

  // The Menu key and Shift+F10 open the tree's context menu at the
  // selected item.
  void contextMenuFromTheKeyboard() {
    QRect row = tree()->visualItemRect(tree()->currentItem());
    row.moveTopLeft(tree()->viewport()->mapToGlobal(row.topLeft()));
    for (const char* key : {"Menu", "shift+F10"}) {
      QRect shown;
      Driver d;
      d.Then([=] { Keys(key); })
          .When(MenuOpen, [&] { shown = QApplication::activePopupWidget()->geometry(); })
          .Then([] { Keys("Escape"); });
      Run(d);
      QVERIFY2(shown.isValid(), key);
      QVERIFY2(shown.top() >= row.top() && shown.top() <= row.bottom() + row.height(), key);
      QVERIFY2(shown.left() >= row.left() && shown.left() <= row.right(), key);
    }
  }

  // A deep item's label stays in view when the window, maximised with the
  // tree wide enough for every label, is restored to its narrower size.
  void deepLabelInViewAfterARestore() {
    QString pml = "[Title]\tDeep\r\n";
    for (int level = 0; level < 23; ++level)
      pml += QString("%1\tlevel %1 item\t#FFFFFF\tNone\t1\t10pt\tp.html\t0\tFrame2\t\t0\r\n").arg(level);
    QFile file(dir_.filePath("deep.pml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(pml.toLatin1());
    file.close();
    window_->OpenProject(file.fileName());
    const MenuTree& core = editor().Model().tree;
    NodeId deepest = core.FirstTop();
    while (core.HasChildren(deepest)) deepest = core.FirstChild(deepest);
    editor().SelectItem(deepest);
    QScrollBar* sideways = tree()->horizontalScrollBar();
    QTRY_VERIFY(sideways->maximum() > 0);
    auto double_click_title = [this] {
      const QRect frame = window_->frameGeometry();
      Xdo({"mousemove", "--sync", QString::number(frame.x() + 100), QString::number(frame.y() + 8), "click", "--repeat",
           "2", "--delay", "80", "1"});
    };
    double_click_title();
    QTRY_VERIFY(window_->isMaximized());
    QTRY_COMPARE(sideways->maximum(), 0);
    double_click_title();
    QTRY_VERIFY(!window_->isMaximized() && sideways->maximum() > 0);
    QTest::qWait(500);
    QTreeWidgetItem* item = tree()->currentItem();
    const QRect cell = tree()->visualItemRect(item);
    const int width = tree()->fontMetrics().horizontalAdvance(item->text(0));
    QVERIFY2(cell.left() >= 0 && cell.left() + width <= tree()->viewport()->width(), "the label is in view sideways");
    QVERIFY2(cell.top() >= 0 && cell.bottom() < tree()->viewport()->height(), "the row is in view");
  }

  // File New from a field: the new root's tree has the keyboard, as the
  // editor takes it to have for the tree's own commands.
  void newGivesTheTreeTheKeyboard() {
    QWidget* title = control(kCtlTitle);
    Driver d;
    d.Then([=] { Click(title); }).When([=] { return title->hasFocus(); }, [] { Keys("ctrl+n"); }).Pause(1000);
    Run(d);
    QCOMPARE(d.boxes.size(), size_t(1));  // the note that the settings stay
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(tree()));
    QVERIFY(editor().TreeHasFocus());
  }

  // An undo that takes away the item whose field has the keyboard leaves
  // the keyboard with the tree, not in the next field.
  void undoTakingTheFieldsItemGivesTheTreeTheKeyboard() {
    editor().SelectItem(editor().Model().Root());
    auto* link = static_cast<QLineEdit*>(control(kCtlLink));
    Driver d;
    d.Then([] { Keys("ctrl+a"); })
        .When(RenameBoxOpen, [] { Keys("Return"); })
        .Then([=] { Click(link); })
        .When([=] { return link->hasFocus(); }, [] { TypeText("p.html"); })
        .Then([] { Keys("ctrl+z"); })
        .Then([] { Keys("ctrl+z"); })
        .Pause(300);
    Run(d);
    QCOMPARE(editor().Model().Selected(), editor().Model().Root());
    QVERIFY(!link->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(tree()));
    QVERIFY(editor().TreeHasFocus());
  }

  // A save's message leaves the selection as the user left it.
  void selectionStaysWhileASaveAsks() {
    EditorAccess::Settings(editor()).BodyLink = "b";
    QStringList shown;
    Driver d;
    d.on_box = [&](const Box&) { shown << Shown(); };
    d.Then([] { Keys("ctrl+t"); }).Pause(500);
    Run(d);
    QCOMPARE(d.boxes.size(), size_t(1));
    QCOMPARE(shown, QStringList{"Tools+link"});
  }

  // A TARGET name that the list has: the message comes over the dialog,
  // which stays open on the typed name.
  void duplicateTargetNameKeepsTheDialog() {
    QStringList open;
    Driver d;
    d.on_box = [&](const Box&) {
      for (QDialog* dialog : OpenDialogs())
        if (auto* name = dialog->findChild<QLineEdit*>()) open << name->text();
    };
    TypeWrongThenRight(d, "a", "", "right", "Mine");
    Run(d);
    QCOMPARE(d.boxes.size(), size_t(1));
    QCOMPARE(d.boxes[0].text, Ui("既にその名前は登録されています。"));
    QCOMPARE(open, QStringList{"right"});
    QTRY_VERIFY(static_cast<QComboBox*>(control(kCtlItemTarget))->findText("Mine") >= 0);
  }

  // A page language that is no language tag is refused at OK, which keeps
  // the dialog open on it, instead of being written as "ja" unsaid.
  void pageLanguageMustBeATag() {
    EditorAccess::Settings(editor()).Browser.mode = PageMode::kHtml5;
    QStringList open;
    Driver d;
    d.on_box = [&](const Box&) {
      for (QDialog* dialog : OpenDialogs())
        if (auto* lang = dialog->findChild<QComboBox*>("html5Lang")) open << lang->currentText();
    };
    TypeWrongThenRight(d, "j", "alt+l", "en us", "en-US");
    Run(d);
    QCOMPARE(d.boxes.size(), size_t(1));
    QCOMPARE(d.boxes[0].title, Ui("入力エラー"));
    QCOMPARE(open, QStringList{"en us"});
    QTRY_COMPARE(QString::fromStdString(editor().Settings().Lang), QString("en-US"));
  }

  // Enter in a list of a tools dialog applies what the list shows, as OK
  // does, after the focus went round the dialog.
  void enterInAToolsDialogList() {
    Driver d;
    d.Then([] { Keys("alt+t"); })
        .When(MenuOpen, [] { Keys("f"); })
        .When([] { return Active("bulk"); }, [] { Keys("Tab Tab Tab Down Down Return"); })
        .Pause(300)
        .Then([] { Keys("alt+t"); })
        .When(MenuOpen, [] { Keys("b"); })
        .When([] { return Active("bulk"); },
              [] { Keys("ctrl+a"); TypeText("#123456"); Keys("Tab Tab Tab Tab Return"); })
        .Pause(300);
    Run(d);
    const MenuItem& tools = editor().Model().tree.Item(Find("Tools"));
    QCOMPARE(QString::fromStdString(tools.font_size), QString("12pt"));
    QCOMPARE(QString::fromStdString(tools.bg_color), QString("#123456"));
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  KeysAndFocus test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_keys_and_focus.moc"
