#include "dimension_window.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs.h"
#include "qt_text.h"
#include "shell/pending_error.h"

namespace jov {

// The edit copy as a tree model: an index's internal id is its edit row. The code cell shows the
// full JOV-Code and edits the row's segment, the part below its parent's code.
class DimensionModel : public QAbstractItemModel {
 public:
  using Row = DimensionEdit::Row;

  DimensionModel(const std::unique_ptr<DimensionEdit>& edit, QObject* parent)
      : QAbstractItemModel(parent), edit_(edit) {
    Reindex();
  }

  // Every change of the rows' tree (and a new copy) goes through here.
  void Reset(const std::function<void()>& change) {
    beginResetModel();
    change();
    Reindex();
    endResetModel();
  }

  Row RowOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Row>(index.internalId()) : DimensionEdit::kTop;
  }
  QModelIndex IndexOf(Row row, int column = 0) const {
    if (row == DimensionEdit::kTop || row == DimensionEdit::kNoRow) return {};
    return createIndex(position_[row], column, static_cast<quintptr>(row));
  }

  QModelIndex index(int position, int column, const QModelIndex& parent) const override {
    const std::vector<Row>& children = edit_->children(RowOf(parent));
    if (position < 0 || position >= static_cast<int>(children.size())) return {};
    return createIndex(position, column, static_cast<quintptr>(children[position]));
  }
  QModelIndex parent(const QModelIndex& child) const override {
    if (!child.isValid()) return {};
    return IndexOf(edit_->parent(RowOf(child)));
  }
  int rowCount(const QModelIndex& parent) const override {
    if (parent.column() > 0) return 0;
    return static_cast<int>(edit_->children(RowOf(parent)).size());
  }
  int columnCount(const QModelIndex&) const override { return 3; }

  QVariant data(const QModelIndex& index, int role) const override {
    const Row row = RowOf(index);
    if (role == Qt::ForegroundRole) {
      // Rows that are not in the database yet, added here or read from a file.
      if (edit_->component(row) == kNoComponent) return QColor(0x1f, 0x5f, 0x8b);
      return {};
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (index.column()) {
      case DimensionWindow::kCodeColumn:
        if (role == Qt::EditRole) return FromEngine(edit_->segment(row));
        return edit_->blank(row) ? QString() : FromEngine(edit_->code(row));
      case DimensionWindow::kTextColumn:
        return FromEngine(edit_->text(row));
      default:
        return FromEngine(edit_->host(row));
    }
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::EditRole || !index.isValid()) return false;
    const Row row = RowOf(index);
    const std::string typed = ToEngine(value.toString());
    switch (index.column()) {
      case DimensionWindow::kCodeColumn:
        // An empty entry leaves the segment as it was; a code that cannot be stored beeps.
        if (typed.empty()) return false;
        if (!edit_->Rename(row, typed)) {
          QApplication::beep();
          return false;
        }
        SubtreeChanged(row);
        break;
      case DimensionWindow::kTextColumn:
        edit_->SetText(row, typed);
        break;
      default:
        edit_->SetHost(row, typed);
        break;
    }
    Q_EMIT dataChanged(index, index);
    return true;
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    constexpr MessageId kTitles[] = {msg::kJovCode, msg::kComponentText, msg::kHostCode};
    return section >= 0 && section < 3 ? Text(kTitles[section]) : QVariant();
  }

 private:
  // The position of every row among its siblings, which parent() needs at once.
  void Reindex() {
    position_.assign(static_cast<size_t>(edit_->row_count()), 0);
    for (Row row = DimensionEdit::kTop; row < edit_->row_count(); ++row) {
      const std::vector<Row>& children = edit_->children(row);
      for (size_t i = 0; i < children.size(); ++i) position_[children[i]] = static_cast<int>(i);
    }
  }

  // The codes below a renamed row follow its code.
  void SubtreeChanged(Row row) {
    const std::vector<Row>& children = edit_->children(row);
    if (children.empty()) return;
    Q_EMIT dataChanged(IndexOf(children.front()), IndexOf(children.back()));
    for (const Row child : children) SubtreeChanged(child);
  }

  const std::unique_ptr<DimensionEdit>& edit_;
  std::vector<int> position_;
};

namespace {

// Dimensions up to this many components open with every row expanded.
constexpr int kExpandAllRows = 1000;

}  // namespace

DimensionWindow::DimensionWindow(Database& database, int dimension, QWidget* parent)
    : DatabaseWindow(database, Kind::kDimension, parent),
      dimension_(dimension),
      edit_(std::make_unique<DimensionEdit>(database, dimension)),
      model_(new DimensionModel(edit_, this)),
      view_(new QTreeView(this)),
      status_(new QLabel(this)) {
  view_->setModel(model_);
  view_->setUniformRowHeights(true);
  view_->setAllColumnsShowFocus(true);
  view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::SelectedClicked);
  const Dimension& dim = database.dimension(dimension);
  for (const int column : {kCodeColumn, kTextColumn, kHostColumn}) {
    view_->setColumnWidth(column, dim.width(static_cast<ComponentField>(column)) + 40);
  }
  connect(view_, &QTreeView::expanded, this,
          [this](const QModelIndex& index) { SetExpanded(model_->RowOf(index), 1); });
  connect(view_, &QTreeView::collapsed, this,
          [this](const QModelIndex& index) { SetExpanded(model_->RowOf(index), 0); });

  // The commands, with their keys while the window has the focus.
  auto* tools = new QHBoxLayout;
  auto* buttons = new QHBoxLayout;
  const auto add = [this](QHBoxLayout* row, const QString& caption, QKeySequence key,
                          auto command) {
    auto* b = new QPushButton(caption, this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, command);
    row->addWidget(b);
    if (key.isEmpty()) return b;
    auto* action = new QAction(this);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, command);
    addAction(action);
    b->setToolTip(key.toString(QKeySequence::NativeText));
    return b;
  };
  add(tools, Text(msg::kButtonAdd), QKeySequence(Qt::Key_Insert), &DimensionWindow::AddRow);
  add(tools, Text(msg::kButtonRemove), QKeySequence::Delete, &DimensionWindow::RemoveRow);
  add(tools, Text(msg::kIndent), QKeySequence(Qt::CTRL | Qt::Key_Right), &DimensionWindow::Indent);
  add(tools, Text(msg::kOutdent), QKeySequence(Qt::CTRL | Qt::Key_Left), &DimensionWindow::Outdent);
  add(tools, Text(msg::kMoveUp), QKeySequence(Qt::CTRL | Qt::Key_Up), &DimensionWindow::MoveUp);
  add(tools, Text(msg::kMoveDown), QKeySequence(Qt::CTRL | Qt::Key_Down),
      &DimensionWindow::MoveDown);
  tools->addStretch();
  add(buttons, Text(msg::kImportDimensionFile, ToEngine(DimensionName())), {},
      &DimensionWindow::ChooseImportFile)
      ->setObjectName("import");
  buttons->addStretch();
  add(buttons, Text(msg::kApply), QKeySequence(Qt::CTRL | Qt::Key_Return), &DimensionWindow::Apply);
  add(buttons, Text(msg::kButtonOk), {}, &DimensionWindow::Ok);
  add(buttons, Text(msg::kButtonCancel), {}, &DimensionWindow::Cancel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(tools);
  layout->addWidget(view_);
  layout->addWidget(status_);
  layout->addLayout(buttons);
  status_->hide();

  expanded_.assign(static_cast<size_t>(edit_->row_count()), 0);
  if (edit_->row_count() <= kExpandAllRows) view_->expandAll();
  view_->setCurrentIndex(model_->index(0, 0, {}));
  setFocusProxy(view_);
  setWindowTitle(Title());
}

// The view and the model go before the copy they show, not after it with the other children.
DimensionWindow::~DimensionWindow() {
  delete view_;
  delete model_;
}

QString DimensionWindow::DimensionName() const {
  return FromEngine(database().GetName(name_id::kFirstPlural + dimension_));
}

QString DimensionWindow::Title() const { return TitleOf(DimensionName()); }

// The copy of a dimension that someone else changed is read again when it holds no edits of
// its own; otherwise Apply asks.
void DimensionWindow::Refresh() {
  if (edit_->stale() && !edit_->changed()) Reload();
  Q_EMIT model_->headerDataChanged(Qt::Horizontal, 0, 2);
  setWindowTitle(Title());
}

DimensionWindow::Row DimensionWindow::CurrentRow() const {
  const QModelIndex current = view_->currentIndex();
  return current.isValid() ? model_->RowOf(current) : DimensionEdit::kNoRow;
}

void DimensionWindow::Reveal(Row row) {
  if (row == DimensionEdit::kNoRow || row == DimensionEdit::kTop) return;
  for (Row above = edit_->parent(row); above != DimensionEdit::kTop; above = edit_->parent(above)) {
    view_->expand(model_->IndexOf(above));
  }
  const QModelIndex index = model_->IndexOf(row);
  view_->setCurrentIndex(index);
  view_->scrollTo(index);
}

void DimensionWindow::SetExpanded(Row row, char expanded) {
  if (row >= static_cast<Row>(expanded_.size())) expanded_.resize(static_cast<size_t>(row) + 1, 0);
  expanded_[row] = expanded;
}

void DimensionWindow::RestoreExpanded() {
  expanded_.resize(static_cast<size_t>(edit_->row_count()), 0);
  // Expanding emits expanded(), which sets the flags again.
  const std::vector<char> expanded = expanded_;
  for (Row row = DimensionEdit::kTop + 1; row < edit_->row_count(); ++row) {
    if (expanded[row] && !edit_->removed(row)) view_->expand(model_->IndexOf(row));
  }
}

void DimensionWindow::Change(const std::function<void()>& change, Row current) {
  model_->Reset(change);
  RestoreExpanded();
  if (current != DimensionEdit::kNoRow && !edit_->removed(current)) Reveal(current);
}

void DimensionWindow::RememberCodes() {
  expanded_codes_.clear();
  for (Row row = DimensionEdit::kTop + 1; row < edit_->row_count(); ++row) {
    if (row < static_cast<Row>(expanded_.size()) && expanded_[row] && !edit_->removed(row)) {
      expanded_codes_.push_back(edit_->code(row));
    }
  }
  const Row current = CurrentRow();
  current_code_ = current == DimensionEdit::kNoRow ? std::string() : edit_->code(current);
}

void DimensionWindow::RestoreCodes() {
  std::sort(expanded_codes_.begin(), expanded_codes_.end());
  expanded_.assign(static_cast<size_t>(edit_->row_count()), 0);
  Row current = DimensionEdit::kNoRow;
  for (Row row = DimensionEdit::kTop + 1; row < edit_->row_count(); ++row) {
    const std::string& code = edit_->code(row);
    if (std::binary_search(expanded_codes_.begin(), expanded_codes_.end(), code)) {
      view_->expand(model_->IndexOf(row));
    }
    if (code == current_code_) current = row;
  }
  Reveal(current != DimensionEdit::kNoRow || edit_->children(DimensionEdit::kTop).empty()
             ? current
             : edit_->children(DimensionEdit::kTop).front());
}

void DimensionWindow::Reload() {
  RememberCodes();
  model_->Reset([this] {
    edit_.reset();
    edit_ = std::make_unique<DimensionEdit>(database(), dimension_);
  });
  RestoreCodes();
}

void DimensionWindow::AddRow() {
  const Row current = CurrentRow();
  const Row parent =
      current == DimensionEdit::kNoRow ? DimensionEdit::kTop : edit_->parent(current);
  int position = static_cast<int>(edit_->children(parent).size());
  if (current != DimensionEdit::kNoRow) {
    const std::vector<Row>& siblings = edit_->children(parent);
    position =
        static_cast<int>(std::find(siblings.begin(), siblings.end(), current) - siblings.begin()) +
        1;
  }
  Row added = DimensionEdit::kNoRow;
  Change([&] { added = edit_->InsertBlank(parent, position); }, current);
  if (added == DimensionEdit::kNoRow) {
    QApplication::beep();
    return;
  }
  Reveal(added);
  view_->edit(model_->IndexOf(added, kCodeColumn));
}

void DimensionWindow::Indent() { Move(&DimensionEdit::Indent); }
void DimensionWindow::Outdent() { Move(&DimensionEdit::Outdent); }
void DimensionWindow::MoveUp() { Move(&DimensionEdit::MoveUp); }
void DimensionWindow::MoveDown() { Move(&DimensionEdit::MoveDown); }

void DimensionWindow::Move(bool (DimensionEdit::*move)(Row)) {
  const Row row = CurrentRow();
  if (row == DimensionEdit::kNoRow) return;
  bool done = false;
  Change([&] { done = ((*edit_).*move)(row); }, row);
  if (!done) QApplication::beep();
}

void DimensionWindow::RemoveRow() {
  const Row row = CurrentRow();
  if (row == DimensionEdit::kNoRow) return;
  const Row in_use = edit_->FindInUse(row);
  if (in_use != DimensionEdit::kNoRow) {
    Reveal(in_use);
    AlertRecord alert = edit_->InUseAlert(in_use);
    ReportAlert(alert);
    return;
  }
  // The next row takes the place: the next sibling, else the previous one, else the parent.
  const Row parent = edit_->parent(row);
  const std::vector<Row>& siblings = edit_->children(parent);
  const auto at = std::find(siblings.begin(), siblings.end(), row);
  Row next = parent == DimensionEdit::kTop ? DimensionEdit::kNoRow : parent;
  if (at + 1 != siblings.end()) {
    next = *(at + 1);
  } else if (at != siblings.begin()) {
    next = *(at - 1);
  }
  Change([&] { edit_->Remove(row); }, next);
}

bool DimensionWindow::ReloadAfterChangeElsewhere() {
  AlertRecord question(msg::kComponentsChangedElsewhere);
  question.Arg(ToEngine(DimensionName())).Button(msg::kButtonYes).Button(msg::kButtonNo);
  if (ReportAlert(question) != 0) return false;
  Reload();
  return true;
}

DimensionWindow::Written DimensionWindow::Write() {
  // An open cell editor hands its text over when it loses the focus.
  view_->setFocus();
  if (edit_->stale()) {
    ReloadAfterChangeElsewhere();
    return Written::kStay;
  }
  RememberCodes();
  DimensionEdit::ApplyOutcome outcome = DimensionEdit::ApplyOutcome::kWritten;
  const bool had_edits = edit_->changed();
  if (had_edits) {
    model_->Reset([&] { outcome = edit_->Apply(); });
  }
  switch (outcome) {
    case DimensionEdit::ApplyOutcome::kWritten:
      if (had_edits) RestoreCodes();
      status_->hide();
      return Written::kWritten;
    case DimensionEdit::ApplyOutcome::kDuplicate: {
      RestoreExpanded();
      const DimensionEdit::Duplicate duplicate = *edit_->FindDuplicate();
      Reveal(duplicate.first);
      Reveal(duplicate.second);
      AlertRecord question = edit_->DuplicateAlert(duplicate);
      question.Button(msg::kButtonClose).Button(msg::kButtonCancel);
      return ReportAlert(question) == 0 ? Written::kClose : Written::kStay;
    }
    case DimensionEdit::ApplyOutcome::kInUse: {
      RestoreExpanded();
      AlertRecord alert = edit_->InUseAlert(edit_->FindRemovedInUse());
      ReportAlert(alert);
      return Written::kStay;
    }
    case DimensionEdit::ApplyOutcome::kStale:
      RestoreExpanded();
      ReloadAfterChangeElsewhere();
      return Written::kStay;
    case DimensionEdit::ApplyOutcome::kFailed:
      RestoreExpanded();
      FlushPendingError();
      return Written::kStay;
  }
  return Written::kStay;
}

bool DimensionWindow::Apply() {
  const Written written = Write();
  if (written == Written::kClose) CloseWithoutWriting();
  return written == Written::kWritten;
}

void DimensionWindow::Ok() {
  const Written written = Write();
  if (written != Written::kStay) CloseWithoutWriting();
}

void DimensionWindow::Cancel() { CloseWithoutWriting(); }

void DimensionWindow::CloseWithoutWriting() {
  discard_ = true;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
    sub->close();
  } else {
    close();
  }
}

bool DimensionWindow::MayClose() {
  if (discard_ || !edit_->changed()) return true;
  switch (AskSaveChanges(Title())) {
    case 0: {
      const Written written = Write();
      if (written == Written::kClose) discard_ = true;
      return written != Written::kStay;
    }
    case 1:
      return true;
    default:
      return false;
  }
}

void DimensionWindow::ChooseImportFile() {
  const QString filter = Text(msg::kAllFiles) + QStringLiteral(" (*)");
  const QString path = QFileDialog::getOpenFileName(
      this, Text(msg::kImportDimensionFile, ToEngine(DimensionName())), {}, filter);
  if (!path.isEmpty()) ImportFile(path);
}

DimImportResult DimensionWindow::ImportFile(const QString& path) {
  const std::optional<DimImport>& own = DimImports::Of(database()).of(dimension_);
  const Row first_new = edit_->row_count();
  // The progress display lets the event loop run while the rows come in; the view, which sees
  // them only once the reading is done, does not paint meanwhile.
  view_->setUpdatesEnabled(false);
  const DimImportResult result =
      ReadDimensionFile(*edit_, ToPath(path), own ? *own : DefaultDimImport());
  Change([] {}, CurrentRow());
  view_->setUpdatesEnabled(true);
  FlushPendingError();
  for (Row row = first_new; row < edit_->row_count(); ++row) {
    if (!edit_->removed(row)) {
      Reveal(row);
      break;
    }
  }
  if (result.outcome != DimImportOutcome::kFailed) {
    status_->setText(Text(msg::kNewRowsFrom, std::to_string(result.added),
                          ToEngine(QFileInfo(path).fileName())));
    status_->show();
  }
  return result;
}

}  // namespace jov
