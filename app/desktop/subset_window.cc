#include "subset_window.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "qt_text.h"
#include "select/subset_list.h"
#include "selection_editor.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

enum Column { kNameColumn, kCriteriaColumn };

// The criteria of a named selection in one line: "label: value; ...".
QString CriteriaText(const NamedSelection& selection) {
  QStringList parts;
  for (const DefinitionRow& row : selection.DefinitionRows()) {
    parts << FromEngine(row.label) + QStringLiteral(": ") + FromEngine(row.value);
  }
  return parts.join(QStringLiteral("; "));
}

QPushButton* Button(MessageId caption, QWidget* parent) {
  return new QPushButton(Text(caption), parent);
}

}  // namespace

SubsetWindow::SubsetWindow(Database& database, Subset& subset, QWidget* parent)
    : DatabaseWindow(database, Kind::kSubset, parent),
      subset_(&subset),
      name_(new QLineEdit(this)),
      combination_(new QLineEdit(this)),
      count_(new QLabel(this)),
      notes_(new QLineEdit(this)),
      open_directly_(new QCheckBox(Text(msg::kOpenDirectly), this)),
      table_(new QTableWidget(this)),
      editor_(new SelectionEditor(database, this)) {
  subset.set_window_open(true);
  auto* calculate = Button(msg::kCalculate, this);
  calculate->setShortcut(QKeySequence(Qt::Key_F5));
  connect(calculate, &QPushButton::clicked, this, &SubsetWindow::Calculate);
  auto* count_row = new QHBoxLayout;
  count_row->addWidget(count_, 1);
  count_row->addWidget(calculate);
  auto* form = new QFormLayout;
  form->addRow(Text(msg::kSubsetName), name_);
  form->addRow(Text(msg::kCombination), combination_);
  form->addRow(QString(), count_row);

  table_->setColumnCount(2);
  table_->setHorizontalHeaderLabels({Text(msg::kNamedSelectionName), Text(msg::kSelections)});
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  connect(table_, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
    if (row != previous && !showing_) ChooseSelection(row);
  });
  connect(table_, &QTableWidget::cellChanged, this, [this](int row, int column) {
    Subset* shown = this->subset();
    if (showing_ || column != kNameColumn || shown == nullptr ||
        row >= static_cast<int>(shown->selections().size())) {
      return;
    }
    NamedSelection& selection = *shown->selections()[row];
    if (shown->RenameSelection(selection, ToEngine(table_->item(row, column)->text().trimmed()))) {
      this->database().MarkModified();
    }
    ShowSelections();
    ShowSubset();
  });
  auto* add = Button(msg::kNewSelection, this);
  auto* remove = Button(msg::kButtonDelete, this);
  connect(add, &QPushButton::clicked, this, &SubsetWindow::AddSelection);
  connect(remove, &QPushButton::clicked, this, &SubsetWindow::DeleteSelection);
  auto* up = Button(msg::kMoveUp, this);
  auto* down = Button(msg::kMoveDown, this);
  connect(up, &QPushButton::clicked, this, [this] { MoveSelection(-1); });
  connect(down, &QPushButton::clicked, this, [this] { MoveSelection(1); });
  auto* table_buttons = new QHBoxLayout;
  for (QPushButton* button : {add, remove, up, down}) table_buttons->addWidget(button);
  table_buttons->addStretch();
  auto* left = new QWidget(this);
  auto* left_layout = new QVBoxLayout(left);
  left_layout->setContentsMargins(0, 0, 0, 0);
  left_layout->addWidget(table_, 1);
  left_layout->addLayout(table_buttons);

  // The chosen selection: its own criteria, and those on its cards.
  auto* right = new QTabWidget(this);
  right->addTab(editor_, Text(msg::kSelectionName));
  right->addTab(BuildCardCriteria(), Text(msg::kCardCriteria));
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(left);
  split->addWidget(right);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 1);

  auto* delete_data = Button(msg::kMenuDeleteData, this);
  connect(delete_data, &QPushButton::clicked, this, &SubsetWindow::DeleteData);
  auto* apply = Button(msg::kApply, this);
  apply->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
  connect(apply, &QPushButton::clicked, this, &SubsetWindow::Apply);
  auto* bottom = new QFormLayout;
  bottom->addRow(Text(msg::kNotesLabel), notes_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(open_directly_);
  buttons->addStretch();
  buttons->addWidget(delete_data);
  buttons->addWidget(apply);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(form);
  layout->addWidget(split, 1);
  layout->addLayout(bottom);
  layout->addLayout(buttons);

  for (QLineEdit* edit : {name_, combination_, notes_}) {
    connect(edit, &QLineEdit::editingFinished, this, [this] {
      if (!showing_) StoreSubsetFields();
    });
  }
  connect(open_directly_, &QCheckBox::toggled, this, [this] {
    if (!showing_) StoreSubsetFields();
  });
  ShowSubset();
  ShowSelections();
  ChooseSelection(subset.selections().empty() ? -1 : 0);
}

SubsetWindow::~SubsetWindow() {
  if (Subset* shown = subset()) shown->set_window_open(false);
}

QWidget* SubsetWindow::BuildCardCriteria() {
  criteria_ = new QWidget(this);
  auto* grid = new QGridLayout(criteria_);
  card_id_ = new QLineEdit(criteria_);
  card_notes_ = new QLineEdit(criteria_);
  grid->addWidget(new QLabel(Text(msg::kCardIdLabel), criteria_), 0, 0);
  grid->addWidget(card_id_, 0, 1, 1, 2);
  grid->addWidget(new QLabel(Text(msg::kNotesLabel), criteria_), 1, 0);
  grid->addWidget(card_notes_, 1, 1, 1, 2);
  grid->addWidget(new QLabel(Text(msg::kStampTime), criteria_), 2, 1);
  grid->addWidget(new QLabel(Text(msg::kStampSignature), criteria_), 2, 2);
  for (int k = 0; k < kStampKinds; ++k) {
    const QString label = k < 4 ? Text(msg::kFirstStampLabel + k) : Text(msg::kNotesStampLabel);
    stamp_times_[k] = new QLineEdit(criteria_);
    stamp_signatures_[k] = new QLineEdit(criteria_);
    stamp_signatures_[k]->setMaximumWidth(80);
    grid->addWidget(new QLabel(label, criteria_), 3 + k, 0);
    grid->addWidget(stamp_times_[k], 3 + k, 1);
    grid->addWidget(stamp_signatures_[k], 3 + k, 2);
  }
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3 + kStampKinds, 1);
  return criteria_;
}

QString SubsetWindow::Title() const {
  const Subset* shown = subset();
  return TitleOf(Text(msg::kSubset) + QStringLiteral(" ") +
                 (shown != nullptr ? FromEngine(shown->name()) : QString()));
}

Subset* SubsetWindow::subset() const {
  if (subset_ == nullptr) return nullptr;
  for (const auto& owned : SubsetList::Of(database()).subsets()) {
    if (owned.get() == subset_) return subset_;
  }
  return nullptr;
}

void SubsetWindow::Refresh() {
  if (subset() == nullptr) {
    // Erased elsewhere: the window shows nothing more.
    subset_ = nullptr;
    setEnabled(false);
  } else {
    ShowSubset();
    ShowSelections();
  }
  setWindowTitle(Title());
}

QString SubsetWindow::count_line() const { return count_->text(); }

// --- The subset's own fields

void SubsetWindow::ShowSubset() {
  const Subset* shown = subset();
  if (shown == nullptr) return;
  showing_ = true;
  name_->setText(FromEngine(shown->name()));
  combination_->setText(FromEngine(shown->combination_text(/*displayed=*/true)));
  notes_->setText(FromEngine(shown->notes()));
  open_directly_->setChecked(shown->open_directly());
  count_->setText(FromEngine(shown->CountLine()));
  showing_ = false;
  setWindowTitle(Title());
}

void SubsetWindow::StoreSubsetFields() {
  Subset* shown = subset();
  if (shown == nullptr) return;
  bool changed = false;
  const std::string name = ToEngine(name_->text().trimmed());
  if (!name.empty() && name != shown->name()) changed |= shown->list().Rename(*shown, name);
  const std::string combination = ToEngine(combination_->text());
  if (combination != shown->combination_text(true) && combination != shown->combination_text()) {
    shown->SetCombination(combination);
    // Compiled now, so that names that find nothing are reported while the user looks.
    shown->combination();
    FlushPendingError();
    changed = true;
  }
  const std::string notes = ToEngine(notes_->text());
  if (notes != shown->notes() || open_directly_->isChecked() != shown->open_directly()) {
    shown->set_notes(notes);
    shown->set_open_directly(open_directly_->isChecked());
    changed = true;
  }
  if (changed) database().MarkModified();
  ShowSubset();
}

// --- Named selections

void SubsetWindow::ShowSelections() {
  const Subset* shown = subset();
  if (shown == nullptr) return;
  showing_ = true;
  const auto& selections = shown->selections();
  table_->setRowCount(static_cast<int>(selections.size()));
  for (size_t i = 0; i < selections.size(); ++i) {
    const int row = static_cast<int>(i);
    table_->setItem(row, kNameColumn, new QTableWidgetItem(FromEngine(selections[i]->name())));
    auto* criteria = new QTableWidgetItem(CriteriaText(*selections[i]));
    criteria->setFlags(criteria->flags() & ~Qt::ItemIsEditable);
    table_->setItem(row, kCriteriaColumn, criteria);
  }
  table_->resizeColumnToContents(kNameColumn);
  table_->resizeRowsToContents();
  if (chosen_ >= table_->rowCount()) chosen_ = table_->rowCount() - 1;
  table_->setCurrentCell(chosen_, kNameColumn);
  showing_ = false;
}

NamedSelection* SubsetWindow::Chosen() const {
  const Subset* shown = subset();
  if (shown == nullptr || chosen_ < 0 || chosen_ >= static_cast<int>(shown->selections().size())) {
    return nullptr;
  }
  return shown->selections()[chosen_].get();
}

void SubsetWindow::ChooseSelection(int row) {
  StoreSelection();
  chosen_ = row;
  ShowCardCriteria();
  showing_ = true;
  table_->setCurrentCell(row, kNameColumn);
  showing_ = false;
}

void SubsetWindow::ShowCardCriteria() {
  const NamedSelection* selection = Chosen();
  editor_->setEnabled(selection != nullptr);
  criteria_->setEnabled(selection != nullptr);
  if (selection == nullptr) return;
  editor_->Load(selection->selection());
  card_id_->setText(FromEngine(selection->card_id()));
  card_notes_->setText(FromEngine(selection->notes()));
  for (int k = 0; k < kStampKinds; ++k) {
    const auto kind = static_cast<StampKind>(k);
    stamp_times_[k]->setText(FromEngine(selection->stamp_time(kind)));
    stamp_signatures_[k]->setText(FromEngine(selection->stamp_signature(kind)));
  }
}

// The chosen selection's criteria, those that changed, then its row of the table.
void SubsetWindow::StoreSelection() {
  NamedSelection* selection = Chosen();
  if (selection == nullptr) return;
  bool changed = editor_->Store(selection->selection());
  const auto store = [&changed](QLineEdit* edit, const std::string& stored, auto set) {
    const std::string text = ToEngine(edit->text());
    if (text == stored) return;
    set(text);
    changed = true;
  };
  store(card_id_, selection->card_id(), [&](const std::string& t) { selection->SetCardId(t); });
  store(card_notes_, selection->notes(), [&](const std::string& t) { selection->SetNotes(t); });
  for (int k = 0; k < kStampKinds; ++k) {
    const auto kind = static_cast<StampKind>(k);
    const std::string time = ToEngine(stamp_times_[k]->text());
    const std::string signature = ToEngine(stamp_signatures_[k]->text());
    if (time != selection->stamp_time(kind) || signature != selection->stamp_signature(kind)) {
      selection->SetStamp(kind, time, signature);
      changed = true;
    }
  }
  FlushPendingError();
  if (!changed) return;
  database().MarkModified();
  ShowCardCriteria();
  ShowSelections();
  count_->setText(FromEngine(subset()->CountLine()));
}

void SubsetWindow::AddSelection() {
  Subset* shown = subset();
  if (shown == nullptr) return;
  StoreSelection();
  shown->AddSelection({});
  database().MarkModified();
  chosen_ = static_cast<int>(shown->selections().size()) - 1;
  ShowSelections();
  ShowCardCriteria();
}

void SubsetWindow::MoveSelection(int step) {
  Subset* shown = subset();
  if (shown == nullptr || chosen_ < 0) return;
  StoreSelection();
  const int to = chosen_ + step;
  if (to < 0 || !shown->MoveSelection(static_cast<size_t>(chosen_), static_cast<size_t>(to))) {
    return;
  }
  database().MarkModified();
  chosen_ = to;
  ShowSelections();
}

void SubsetWindow::DeleteSelection() {
  Subset* shown = subset();
  NamedSelection* selection = Chosen();
  if (selection == nullptr) return;
  if (!shown->DeleteSelection(*selection)) return;
  database().MarkModified();
  ShowSelections();
  ShowCardCriteria();
  ShowSubset();
}

// --- Applying and calculating

void SubsetWindow::Apply() {
  StoreSubsetFields();
  StoreSelection();
}

void SubsetWindow::Calculate() {
  Apply();
  Subset* shown = subset();
  if (shown == nullptr) return;
  shown->Calculate();
  FlushPendingError();
  count_->setText(FromEngine(shown->CountLine()));
}

void SubsetWindow::DeleteData() {
  Calculate();
  Subset* shown = subset();
  if (shown == nullptr) return;
  shown->DeleteData();
  FlushPendingError();
  ShowSubset();
}

}  // namespace jov
