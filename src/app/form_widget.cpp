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
  auto label = [](const char* text) { return new QLabel(Ui(text)); };
  auto colour_row = [&](QGridLayout* grid, int row, int col, const char* text, int id, int button) {
    grid->addWidget(label(text), row, col);
    grid->addWidget(AddEdit(id), row, col + 1);
    auto* b = new QPushButton(Ui("色"));
    b->setObjectName(QString("ctl%1").arg(button));
    b->setMaximumWidth(40);
    controls_[button] = b;
    connect(b, &QPushButton::clicked, this, [this, button] { editor_.ButtonClicked(button); });
    grid->addWidget(b, row, col + 2);
  };
  pg->addWidget(label("タイトル"), 0, 0);
  pg->addWidget(AddEdit(kCtlTitle), 0, 1, 1, 5);
  pg->addWidget(label("背景画像"), 1, 0);
  pg->addWidget(AddEdit(kCtlBackPicture), 1, 1, 1, 4);
  pg->addWidget(AddBrowseButton(kCtlBackPictureBrowse), 1, 5);
  colour_row(pg, 2, 0, "背景色", kCtlBgColor, 1052);
  colour_row(pg, 3, 0, "TEXT", kCtlBodyText, 1053);
  colour_row(pg, 4, 0, "LINK", kCtlBodyLink, 1054);
  colour_row(pg, 5, 0, "VLINK", kCtlBodyVlink, 1055);
  colour_row(pg, 6, 0, "ALINK", kCtlBodyAlink, 1056);
  const std::pair<const char*, int> numbers[] = {
      {"開始位置", kCtlStart}, {"左位置", kCtlLeft}, {"インデント", kCtlIndent}, {"行間", kCtlRow}};
  for (int i = 0; i < 4; ++i) {
    pg->addWidget(label(numbers[i].first), 2 + i, 3);
    QLineEdit* edit = AddEdit(numbers[i].second);
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(50);
    pg->addWidget(edit, 2 + i, 4);
  }
  colour_row(pg, 7, 0, "HOVER", kCtlBodyHover, 1063);
  colour_row(pg, 7, 3, "HOVER背景", kCtlBodyHoverBack, 1067);
  auto* text_back = new QCheckBox(Ui("各アイテムの背景色を優先"));
  auto* parent_link = new QCheckBox(Ui("親LINK有効"));
  for (auto [box, id] : {std::pair{text_back, int(kCtlTextBackOn)}, std::pair{parent_link, int(kCtlParentLink)}}) {
    box->setObjectName(QString("ctl%1").arg(id));
    controls_[id] = box;
    connect(box, &QCheckBox::clicked, this, [this, id = id](bool on) {
      if (!updating_) editor_.CheckBoxClicked(id, on);
    });
  }
  pg->addWidget(text_back, 8, 0, 1, 3);
  pg->addWidget(parent_link, 8, 3, 1, 3);

  // The selected item's group.
  QGroupBox* item = MakeGroup("選択アイテムのスタイル");
  item->setObjectName("ctl1010");
  auto* ig = new QGridLayout(item);
  colour_row(ig, 0, 0, "背景色", kCtlItemBgColor, 1057);
  ig->addWidget(label("別ボタン"), 0, 3);
  ig->addWidget(AddList(kCtlOtherButton), 0, 4, 1, 2);
  ig->addWidget(label("スタイル"), 1, 0);
  ig->addWidget(AddList(kCtlItemStyle), 1, 1, 1, 2);
  ig->addWidget(label("TARGET"), 1, 3);
  ig->addWidget(AddList(kCtlItemTarget), 1, 4, 1, 2);
  ig->addWidget(label("リンク"), 2, 0);
  ig->addWidget(AddEdit(kCtlLink), 2, 1, 1, 4);
  ig->addWidget(AddBrowseButton(kCtlLinkBrowse), 2, 5);
  ig->addWidget(label("サイズ"), 3, 0);
  ig->addWidget(AddList(kCtlItemSize), 3, 1, 1, 2);
  auto* open = new QCheckBox(Ui("ツリーを開いた状態で表示する"));
  open->setObjectName("ctl1102");
  controls_[kCtlOpen] = open;
  connect(open, &QCheckBox::clicked, this, [this](bool on) {
    if (!updating_) editor_.CheckBoxClicked(kCtlOpen, on);
  });
  ig->addWidget(open, 3, 3, 1, 3);
  ig->addWidget(label("リンク・アイコン"), 4, 0);
  ig->addWidget(AddEdit(kCtlIcon), 4, 1, 1, 4);
  ig->addWidget(AddBrowseButton(kCtlIconBrowse), 4, 5);

  // The new-item group.
  QGroupBox* added = MakeGroup("追加するスタイル");
  added->setObjectName("ctl1013");
  auto* ag = new QGridLayout(added);
  colour_row(ag, 0, 0, "背景色", kCtlNewBgColor, 1058);
  ag->addWidget(label("別ボタン"), 0, 3);
  ag->addWidget(AddList(kCtlNewOtherButton), 0, 4);
  ag->addWidget(label("スタイル"), 1, 0);
  ag->addWidget(AddList(kCtlNewStyle), 1, 1, 1, 2);
  ag->addWidget(label("TARGET"), 1, 3);
  ag->addWidget(AddList(kCtlNewTarget), 1, 4);
  ag->addWidget(label("サイズ"), 2, 0);
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
  for (auto& [id, widget] : controls_)
    if (widget != tree_) widget->setEnabled(editor_.ControlEnabled(id));
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
  const MenuTree& tree = std::as_const(editor_).Model().tree;
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
