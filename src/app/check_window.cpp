#include "check_window.h"

#include <QHeaderView>
#include <QScreen>
#include <QVBoxLayout>

#include "editor/view/shell.h"
#include "text_border.h"

namespace pomeli2 {

CheckWindow::CheckWindow(Editor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
  setObjectName("checkWindow");
  setWindowTitle(Ui("リンクの確認"));
  // It stays open while the user works in the editor on what it lists.
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  summary_ = new QLabel;
  summary_->setObjectName("checkSummary");
  list_ = new QTreeWidget;
  list_->setObjectName("checkList");
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({Ui("場所"), Ui("項目"), Ui("問題")});
  list_->header()->setStretchLastSection(true);
  // Columns fit the rows in view and a hundred more, not every row: a
  // check of a large menu can list thousands.
  list_->header()->setResizeContentsPrecision(100);
  layout->addWidget(summary_);
  layout->addWidget(list_, 1);
  resize(560, 320);
  connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
    // The keyboard goes with what is shown, to the editor.
    if (QWidget* window = parentWidget()) window->activateWindow();
    editor_.ShowProblem(static_cast<size_t>(list_->indexOfTopLevelItem(item)));
  });
}

void CheckWindow::ShowResults(bool come_forward) {
  list_->clear();
  const std::vector<CheckProblem>& problems = editor_.LastCheck();
  // Added at once: one by one, each would be laid out on its own.
  QList<QTreeWidgetItem*> rows;
  rows.reserve(static_cast<qsizetype>(problems.size()));
  for (const CheckProblem& p : problems)
    rows << new QTreeWidgetItem({p.item == kNoNode ? Ui("ページ") : ToQt(p.where), ToQt(p.field), ToQt(p.what)});
  list_->addTopLevelItems(rows);
  for (int column = 0; column < 3; ++column) list_->resizeColumnToContents(column);
  list_->header()->setStretchLastSection(false);
  summary_->setText(problems.empty() ? Ui("問題は見つかりませんでした。")
                                     : Ui("%1 件の問題があります。ダブルクリックでその場所を表示します。").arg(problems.size()));
  if (!come_forward) return;
  if (!isVisible() && parentWidget()) {
    // Beside the editor, where it hides none of it if the screen allows.
    // Placed before it is shown, while a position still means the frame's;
    // the window manager frames it as it frames the editor.
    const QWidget* editor = parentWidget()->window();
    const QRect frame = editor->frameGeometry();
    const QSize margins = frame.size() - editor->geometry().size();
    const QRect area = editor->screen()->availableGeometry();
    const WindowRect place = PlaceBeside({frame.x(), frame.y(), frame.width(), frame.height()},
                                         {width() + margins.width(), height() + margins.height()},
                                         {area.x(), area.y(), area.width(), area.height()});
    resize(place.width - margins.width(), place.height - margins.height());
    move(place.x, place.y);
  }
  show();
  raise();
}

}  // namespace pomeli2
