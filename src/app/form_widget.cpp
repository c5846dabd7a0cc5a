#include "form_widget.h"

#include "find_bar.h"

#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

#include "editor/form/colours.h"
#include "editor/commands/command_registry.h"
#include "menu_tree_view.h"
#include "text/sjis.h"
#include "text_border.h"

namespace pomeli2 {
namespace {

// The tree's smallest width: room for a few levels of item names.
constexpr int kTreeMinWidth = 200;

// The fields scroll when the window is too small for them, so that the tree
// keeps a usable width; while there is room they take the width they ask
// for, as they would without scrolling.
class FieldsArea : public QScrollArea {
 public:
  QSize sizeHint() const override {
    QSize fields = widget() ? widget()->sizeHint() : QSize();
    return {fields.width() + verticalScrollBar()->sizeHint().width(), fields.height()};
  }
};

}  // namespace

FormWidget::FormWidget(Editor& editor, QWidget* parent) : QWidget(parent), editor_(editor) {
  setObjectName("form");

  // The page group.
  QGroupBox* page = MakeGroup("ページに関する情報");
  page->setObjectName("ctl1037");
  auto* pg = new QGridLayout(page);
  // A field's label, as the form's field table names it.
  auto label = [](int id) { return new QLabel(Ui(FindFormField(id)->label)); };
  auto colour_row = [&](QGridLayout* grid, int row, int col, int id) {
    grid->addWidget(label(id), row, col);
    grid->addWidget(AddEdit(id), row, col + 1);
    const int button = FindFormField(id)->colour_button;
    auto* b = new QPushButton(Ui("色"));
    b->setObjectName(QString("ctl%1").arg(button));
    b->setMaximumWidth(40);
    controls_[button] = b;
    connect(b, &QPushButton::clicked, this, [this, button] { editor_.ButtonClicked(button); });
    grid->addWidget(b, row, col + 2);
  };
  pg->addWidget(label(kCtlTitle), 0, 0);
  pg->addWidget(AddEdit(kCtlTitle), 0, 1, 1, 5);
  pg->addWidget(label(kCtlBackPicture), 1, 0);
  pg->addWidget(AddEdit(kCtlBackPicture), 1, 1, 1, 4);
  pg->addWidget(AddBrowseButton(FindFormField(kCtlBackPicture)->browse_button), 1, 5);
  colour_row(pg, 2, 0, kCtlBgColor);
  colour_row(pg, 3, 0, kCtlBodyText);
  colour_row(pg, 4, 0, kCtlBodyLink);
  colour_row(pg, 5, 0, kCtlBodyVlink);
  colour_row(pg, 6, 0, kCtlBodyAlink);
  const int numbers[] = {kCtlStart, kCtlLeft, kCtlIndent, kCtlRow};
  for (int i = 0; i < 4; ++i) {
    pg->addWidget(label(numbers[i]), 2 + i, 3);
    QLineEdit* edit = AddEdit(numbers[i]);
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(50);
    pg->addWidget(edit, 2 + i, 4);
  }
  colour_row(pg, 7, 0, kCtlBodyHover);
  colour_row(pg, 7, 3, kCtlBodyHoverBack);
  pg->addWidget(AddCheckBox(kCtlTextBackOn), 8, 0, 1, 3);
  pg->addWidget(AddCheckBox(kCtlParentLink), 8, 3, 1, 3);

  // The selected item's group.
  QGroupBox* item = MakeGroup("選択アイテムのスタイル");
  item->setObjectName("ctl1010");
  auto* ig = new QGridLayout(item);
  colour_row(ig, 0, 0, kCtlItemBgColor);
  ig->addWidget(label(kCtlOtherButton), 0, 3);
  ig->addWidget(AddList(kCtlOtherButton), 0, 4, 1, 2);
  ig->addWidget(label(kCtlItemStyle), 1, 0);
  ig->addWidget(AddList(kCtlItemStyle), 1, 1, 1, 2);
  ig->addWidget(label(kCtlItemTarget), 1, 3);
  ig->addWidget(AddList(kCtlItemTarget), 1, 4, 1, 2);
  ig->addWidget(label(kCtlLink), 2, 0);
  ig->addWidget(AddEdit(kCtlLink), 2, 1, 1, 4);
  ig->addWidget(AddBrowseButton(FindFormField(kCtlLink)->browse_button), 2, 5);
  ig->addWidget(label(kCtlItemSize), 3, 0);
  ig->addWidget(AddList(kCtlItemSize), 3, 1, 1, 2);
  ig->addWidget(AddCheckBox(kCtlOpen), 3, 3, 1, 3);
  ig->addWidget(label(kCtlIcon), 4, 0);
  ig->addWidget(AddEdit(kCtlIcon), 4, 1, 1, 4);
  ig->addWidget(AddBrowseButton(FindFormField(kCtlIcon)->browse_button), 4, 5);

  // The new-item group.
  QGroupBox* added = MakeGroup("追加するスタイル");
  added->setObjectName("ctl1013");
  auto* ag = new QGridLayout(added);
  colour_row(ag, 0, 0, kCtlNewBgColor);
  ag->addWidget(label(kCtlNewOtherButton), 0, 3);
  ag->addWidget(AddList(kCtlNewOtherButton), 0, 4);
  ag->addWidget(label(kCtlNewStyle), 1, 0);
  ag->addWidget(AddList(kCtlNewStyle), 1, 1, 1, 2);
  ag->addWidget(label(kCtlNewTarget), 1, 3);
  ag->addWidget(AddList(kCtlNewTarget), 1, 4);
  ag->addWidget(label(kCtlNewSize), 2, 0);
  ag->addWidget(AddList(kCtlNewSize), 2, 1, 1, 2);
  auto* add = new QPushButton(Ui("新しいアイテムを追加"));
  add->setObjectName("ctl1004");
  controls_[kCtlAddItem] = add;
  connect(add, &QPushButton::clicked, this, [this] { emit CommandRequested(CommandOfButton(kCtlAddItem)); });
  ag->addWidget(add, 2, 3, 1, 2);

  auto* fields = new QWidget;
  fields->setObjectName("fields");
  auto* left = new QVBoxLayout(fields);
  left->setContentsMargins(0, 0, 0, 0);
  left->addWidget(page);
  left->addWidget(item);
  left->addWidget(added);
  left->addStretch(1);

  auto* arrows = new QVBoxLayout;
  arrows->addStretch(1);
  for (auto [id, text] : {std::pair{int(kCtlMoveUp), "↑"}, std::pair{int(kCtlMoveDown), "↓"}}) {
    auto* b = new QPushButton(Ui(text));
    b->setObjectName(QString("ctl%1").arg(id));
    b->setFixedWidth(32);
    controls_[id] = b;
    connect(b, &QPushButton::clicked, this, [this, id = id] { emit CommandRequested(CommandOfButton(id)); });
    arrows->addWidget(b);
  }
  arrows->addStretch(1);

  tree_ = new MenuTreeView(editor_);
  tree_->setObjectName("ctl1002");
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  tree_->setUniformRowHeights(true);
  tree_->setContextMenuPolicy(Qt::PreventContextMenu);
  tree_->installEventFilter(this);
  tree_->viewport()->installEventFilter(this);
  controls_[kCtlTree] = tree_;
  connect(tree_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current, QTreeWidgetItem*) { TreeSelectionChanged(current); });
  connect(tree_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* i, int) { TreeItemChanged(i); });
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { emit ContextMenuRequested(mapToGlobal(pos)); });

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(5, 5, 5, 5);
  auto* scroll = new FieldsArea;
  scroll->setObjectName("fieldsArea");
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(fields);
  tree_->setMinimumWidth(kTreeMinWidth);
  layout->addWidget(scroll, 0);
  layout->addLayout(arrows, 0);
  find_bar_ = new FindBar(editor_, tree_, [this] {
    editor_.SetTreeFocus(true);
    FocusTree();
  });
  auto* tree_side = new QVBoxLayout;
  tree_side->setContentsMargins(0, 0, 0, 0);
  tree_side->setSpacing(0);
  tree_side->addWidget(tree_, 1);
  tree_side->addWidget(find_bar_, 0);
  layout->addLayout(tree_side, 1);
}

void FormWidget::ShowFindBar() { find_bar_->Open(); }
void FormWidget::FindAgain(bool forward) { find_bar_->FindAgain(forward); }
bool FormWidget::IsFindText(const QWidget* widget) const { return find_bar_->HasText(widget); }
void FormWidget::RefreshFindBar() { find_bar_->Refresh(); }

QGroupBox* FormWidget::MakeGroup(const char* title) {
  auto* box = new QGroupBox(Ui(title));
  box->setStyleSheet("QGroupBox { font-weight: bold; } QGroupBox::title { color: rgb(32, 32, 128); }"
                     "QGroupBox * { font-weight: normal; }");
  return box;
}

QPushButton* FormWidget::AddBrowseButton(int id) {
  auto* button = new QPushButton(Ui("参照"));
  button->setObjectName(QString("ctl%1").arg(id));
  // As narrow as its word allows, like the colour buttons: the fields need
  // the width more when the window is small.
  button->setMaximumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);
  controls_[id] = button;
  connect(button, &QPushButton::clicked, this, [this, id] { editor_.ButtonClicked(id); });
  return button;
}

QLineEdit* FormWidget::AddEdit(int id) {
  auto* edit = new QLineEdit;
  edit->setObjectName(QString("ctl%1").arg(id));
  // A page title beyond its limit gets the editor's message, as an item
  // title does, instead of being cut without a word.
  if (id != kCtlTitle) edit->setValidator(new ByteLimitValidator(FormState::FieldLimit(id), edit));
  controls_[id] = edit;
  connect(edit, &QLineEdit::textEdited, this, [this, id, edit] { TextEdited(id, edit); });
  connect(edit, &QLineEdit::editingFinished, this, [this, id] { editor_.FieldEditEnded(id); });
  return edit;
}

QCheckBox* FormWidget::AddCheckBox(int id) {
  auto* box = new QCheckBox(Ui(FindFormField(id)->label));
  box->setObjectName(QString("ctl%1").arg(id));
  controls_[id] = box;
  connect(box, &QCheckBox::clicked, this, [this, id](bool on) {
    if (!updating_) editor_.CheckBoxClicked(id, on);
  });
  return box;
}

QComboBox* FormWidget::AddList(int id) {
  auto* list = new QComboBox;
  list->setObjectName(QString("ctl%1").arg(id));
  for (const std::string& entry : editor_.Form().ListEntries(id)) list->addItem(ToQt(entry));
  controls_[id] = list;
  connect(list, &QComboBox::activated, this, [this, id, list] { ListActivated(id, list); });
  return list;
}

QWidget* FormWidget::Control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void FormWidget::TextEdited(int id, QLineEdit* edit) {
  if (updating_) return;
  auto sjis = FromQt(edit->text());
  bool kept = sjis && editor_.FieldChanged(id, *sjis);
  if (!sjis) editor_.RefuseUnrepresentableText();
  if (!kept) {
    updating_ = true;
    edit->setText(ToQt(editor_.Form().FieldText(id)));
    updating_ = false;
  }
  for (auto& [button, widget] : controls_)
    if (FormState::ColourFieldOfButton(button) == id) PaintSample(button);
}

void FormWidget::ListActivated(int id, QComboBox* list) {
  if (updating_) return;
  auto sjis = FromQt(list->currentText());
  if (!sjis || !editor_.FieldChanged(id, *sjis)) Refresh();
}

void FormWidget::PaintSample(int button) {
  int field = FormState::ColourFieldOfButton(button);
  if (!field) return;
  auto colour = editor_.Form().SampleColour(field);
  controls_[button]->setStyleSheet(colour ? QString("background-color: #%1; color: #%2;")
                                                .arg(*colour, 6, 16, QChar('0'))
                                                .arg(LabelColourOn(*colour), 6, 16, QChar('0'))
                                          : QString());
}

void FormWidget::FillTargetLists() {
  for (int id : {int(kCtlItemTarget), int(kCtlNewTarget)}) {
    QStringList names;
    for (const std::string& t : editor_.Form().ListEntries(id)) names << ToQt(t);
    auto* list = static_cast<QComboBox*>(controls_[id]);
    if (list->count() == names.size()) continue;
    QSignalBlocker block(list);
    list->clear();
    list->addItems(names);
  }
}

void FormWidget::Refresh() {
  updating_ = true;
  FillTargetLists();
  const FormState& form = editor_.Form();
  for (auto& [id, widget] : controls_) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      QString text = ToQt(form.FieldText(id));
      if (edit->text() != text) edit->setText(text);
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
      list->setCurrentIndex(list->findText(ToQt(form.FieldText(id))));
    } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
      box->setChecked(form.CheckBoxValue(id) == 1);
    } else {
      PaintSample(id);
    }
  }
  updating_ = false;
}

void FormWidget::ApplyEnabled() {
  const QWidget* focused = QApplication::focusWidget();
  for (auto& [id, widget] : controls_) {
    if (widget == tree_) continue;
    const bool enabled = editor_.ControlEnabled(id);
    // A field that loses its use while it has the keyboard (an undo took
    // its item away) hands the keyboard to the tree, not to whatever field
    // follows it, where the next key would edit another value.
    if (!enabled && widget->isEnabled() && focused && (focused == widget || widget->isAncestorOf(focused)))
      tree_->setFocus(Qt::OtherFocusReason);
    widget->setEnabled(enabled);
  }
}

void FormWidget::FocusTree() { tree_->setFocus(Qt::OtherFocusReason); }

void FormWidget::ApplyTreeColours() {
  QPalette p = tree_->palette();
  p.setColor(QPalette::Base, QColor::fromRgb(RgbOfColourNumber(editor_.Settings().TreeBgColor)));
  p.setColor(QPalette::Text, QColor::fromRgb(RgbOfColourNumber(editor_.Settings().TreeItemColor)));
  tree_->setPalette(p);
}

void FormWidget::TreeSelectionChanged(QTreeWidgetItem* current) {
  if (updating_ || tree_->Showing() || !current) return;
  editor_.SelectItem(current->data(0, Qt::UserRole).value<NodeId>());
}

void FormWidget::TreeItemChanged(QTreeWidgetItem* item) {
  if (updating_ || tree_->Showing()) return;
  NodeId node = item->data(0, Qt::UserRole).value<NodeId>();
  const MenuTree& tree = editor_.Model().tree;
  if (node != tree.Selected()) return;
  auto sjis = FromQt(item->text(0));
  if (!sjis) editor_.RefuseUnrepresentableText();
  if (!sjis || !editor_.EndLabelEdit(*sjis)) {
    updating_ = true;
    item->setText(0, ToQt(tree.Label(node)));
    updating_ = false;
    // The refusal's message took the focus from the closing label editor;
    // without this it would pass on to the form's first field, where the
    // next key would change the page title.
    tree_->setFocus(Qt::OtherFocusReason);
  }
}

bool FormWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tree_) {
    if (event->type() == QEvent::FocusIn) editor_.SetTreeFocus(true);
    // A menu that opens leaves the focus where it was, as menus do on the
    // original platform: its command then acts on the tree.
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
      editor_.SetTreeFocus(false);
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      const bool menu_key = key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier;
      if (menu_key || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
        // The keyboard's way to the context menu: at the selected item.
        QTreeWidgetItem* current = tree_->currentItem();
        QPoint at = tree_->viewport()->rect().topLeft();
        if (current) {
          tree_->scrollToItem(current);
          QRect row = tree_->visualItemRect(current);
          at = QPoint(row.left() + std::min(row.width(), 2 * row.height()), row.bottom());
        }
        emit ContextMenuRequested(tree_->viewport()->mapToGlobal(at));
        return true;
      }
    }
  }
  if (watched == tree_->viewport() && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    // The context menu opens here, before the tree would select the item
    // under the mouse: the selection stays as it is.
    emit ContextMenuRequested(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace pomeli2
