#include "find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>

#include "menu_tree_view.h"
#include "text_border.h"

namespace pomeli2 {

FindBar::FindBar(Editor& editor, MenuTreeView* tree, std::function<void()> focus_tree, QWidget* parent)
    : QWidget(parent), editor_(editor), tree_(tree), focus_tree_(std::move(focus_tree)) {
  setObjectName("findBar");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 2, 0, 0);
  auto* label = new QLabel(Ui("検索:"));
  text_ = new QLineEdit;
  text_->setObjectName("findText");
  label->setBuddy(text_);
  count_ = new QLabel;
  count_->setObjectName("findCount");
  count_->setMinimumWidth(count_->fontMetrics().horizontalAdvance("00000 / 00000"));
  layout->addWidget(label);
  layout->addWidget(text_, 1);
  layout->addWidget(count_);
  text_->installEventFilter(this);
  connect(text_, &QLineEdit::textEdited, this, [this](const QString& text) {
    // A character that the project's code page cannot hold is in no title.
    auto sjis = FromQt(text);
    const FindResult found = sjis ? editor_.FindText(*sjis) : FindResult{};
    tree_->FoundWhileTyping(found.node);
    Show(found);
  });
  hide();
}

void FindBar::Open() {
  tree_->FindStarted();
  show();
  text_->setFocus(Qt::ShortcutFocusReason);
  text_->selectAll();
}

void FindBar::Show(const FindResult& found) {
  const bool none = found.count == 0 && !text_->text().isEmpty();
  // "- / 3": the selected item is none of the matches.
  const QString index = found.index ? QString::number(found.index) : QString("-");
  count_->setText(none ? Ui("見つかりません") : found.count ? QString("%1 / %2").arg(index).arg(found.count) : "");
  // Nothing found: the field says so too, as browsers' find bars do.
  text_->setStyleSheet(none ? "QLineEdit { background: #FFE0E0; }" : "");
}

void FindBar::FindAgain(bool forward) { Show(editor_.FindAgain(forward)); }

bool FindBar::HasText(const QWidget* widget) const { return widget == text_; }

void FindBar::Refresh() {
  if (isVisible() && !text_->text().isEmpty()) Show(editor_.FindPlace());
}

void FindBar::Close() {
  tree_->FindEnded();
  hide();
  focus_tree_();
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == text_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        Show(editor_.FindAgain(true));
        return true;
      case Qt::Key_Escape:
        Close();
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace pomeli2
