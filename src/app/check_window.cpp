#include "check_window.h"

#include <QHeaderView>
#include <QScreen>
#include <QVBoxLayout>

#include "editor/view/shell.h"
#include "text_border.h"

namespace pomeli2 {

namespace {

// Beside the editor, where it hides none of it if the screen allows, the
// first time; in front.
void ShowBesideEditor(QDialog* window) {
  if (!window->isVisible() && window->parentWidget()) {
    // Placed before it is shown, while a position still means the frame's;
    // the window manager frames it as it frames the editor.
    const QWidget* editor = window->parentWidget()->window();
    const QRect frame = editor->frameGeometry();
    const QSize margins = frame.size() - editor->geometry().size();
    const QRect area = editor->screen()->availableGeometry();
    // The other lists beside the editor stay in view.
    std::vector<WindowRect> shown;
    for (const QDialog* other : editor->findChildren<QDialog*>())
      if (other != window && other->isVisible() && (qobject_cast<const CheckWindow*>(other) ||
                                                    qobject_cast<const SiteReportWindow*>(other))) {
        const QRect r = other->frameGeometry();
        shown.push_back({r.x(), r.y(), r.width(), r.height()});
      }
    const WindowRect place =
        PlaceBeside({frame.x(), frame.y(), frame.width(), frame.height()},
                    {window->width() + margins.width(), window->height() + margins.height()},
                    {area.x(), area.y(), area.width(), area.height()}, shown);
    window->resize(place.width - margins.width(), place.height - margins.height());
    window->move(place.x, place.y);
  }
  window->show();
  window->raise();
}

// A list of rows under a summary line.
QTreeWidget* ReportList(QDialog* window, QLabel*& summary, const QStringList& headers) {
  auto* layout = new QVBoxLayout(window);
  summary = new QLabel;
  auto* list = new QTreeWidget;
  list->setRootIsDecorated(false);
  list->setHeaderLabels(headers);
  list->header()->setStretchLastSection(true);
  // Columns fit the rows in view and a hundred more, not every row: a
  // check of a large menu can list thousands.
  list->header()->setResizeContentsPrecision(100);
  layout->addWidget(summary);
  layout->addWidget(list, 1);
  window->resize(560, 320);
  return list;
}

}  // namespace

CheckWindow::CheckWindow(Editor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
  setObjectName("checkWindow");
  setWindowTitle(Ui("リンクの確認"));
  // It stays open while the user works in the editor on what it lists.
  setModal(false);
  list_ = ReportList(this, summary_, {Ui("場所"), Ui("項目"), Ui("問題")});
  summary_->setObjectName("checkSummary");
  list_->setObjectName("checkList");
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
  ShowBesideEditor(this);
}

SiteReportWindow::SiteReportWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("siteReport");
  setWindowTitle(Ui("サイトへの組み込み"));
  setModal(false);
  list_ = ReportList(this, summary_, {Ui("ページ"), Ui("結果")});
  list_->setObjectName("siteReportList");
}

void SiteReportWindow::ShowReport(const std::string& summary, const std::vector<Host::SiteRow>& rows) {
  list_->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows.size()));
  for (const Host::SiteRow& row : rows) items << new QTreeWidgetItem({ToQt(row.page), ToQt(row.what)});
  list_->addTopLevelItems(items);
  list_->resizeColumnToContents(0);
  summary_->setText(ToQt(summary));
  ShowBesideEditor(this);
}

}  // namespace pomeli2
