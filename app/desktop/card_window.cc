#include "card_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "code_completer.h"
#include "frame.h"
#include "model/database.h"
#include "model/user_stamp.h"
#include "qt_text.h"
#include "shell/number_text.h"
#include "shell/process.h"

namespace jov {
namespace {

constexpr int kValueColumnWidth = 90;
constexpr int kCodeColumnWidth = 80;

// Component cells complete the codes of their dimension.
class CodeDelegate : public QStyledItemDelegate {
 public:
  explicit CodeDelegate(CardWindow* window) : QStyledItemDelegate(window), window_(window) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    const int dimension = window_->DimensionOfColumn(index.column());
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line != nullptr && dimension >= 0) CompleteCodes(line, window_->Codes(dimension));
    return editor;
  }

 private:
  CardWindow* window_;
};

// The engine keeps line breaks in notes as CR; the text field writes LF.
QString NotesToShow(std::string_view notes) {
  QString text = FromEngine(notes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  return text;
}

std::string NotesToKeep(const QString& shown) {
  QString text = shown;
  text.replace(QChar('\n'), QChar('\r'));
  return ToEngine(text);
}

QString StampShown(const Stamp& stamp) {
  if (stamp.empty()) return QString();
  std::string text = stamp.time == 0 ? std::string() : ReadableStampTime(stamp.time);
  if (!stamp.Signature().empty())
    text += (text.empty() ? "" : "  ") + std::string(stamp.Signature());
  return FromEngine(text);
}

// Every shown decimal, without thousand separators, which a number typed over it would not have.
QString ValueText(double value, int decimals) {
  std::string text;
  AppendShownNumber(text, value, decimals, NumberSeparators{Process().separators.decimal, 0});
  return FromEngine(text);
}

// An empty cell is 0, "0/0" the missing value, anything else a number read tolerantly.
double ValueOfCell(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return 0;
  if (trimmed == QStringLiteral("0/0")) return std::nan("");
  return ParseNumber(ToEngine(trimmed));
}

QTableWidgetItem* Cell(const QString& text, bool editable) {
  auto* item = new QTableWidgetItem(text);
  if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

}  // namespace

CardWindow::CardWindow(Database& database, std::optional<CardRef> card, QWidget* parent)
    : DatabaseWindow(database, Kind::kCard, parent),
      editor_(database, card),
      id_(new QLineEdit(this)),
      title_(new QLineEdit(this)),
      notes_(new QPlainTextEdit(this)),
      created_(new QLabel(this)),
      modified_(new QLabel(this)),
      notes_stamp_(new QLabel(this)),
      examined_(new QCheckBox(this)),
      approved_(new QCheckBox(this)),
      table_(new QTableWidget(this)) {
  BuildFields();
  BuildTable();
  ShowFields();
  Refresh();
}

void CardWindow::BuildFields() {
  notes_->setTabChangesFocus(true);
  notes_->setFixedHeight(notes_->fontMetrics().lineSpacing() * 3 + 12);
  id_->setMaximumWidth(140);
  connect(id_, &QLineEdit::editingFinished, this, &CardWindow::IdEdited);
  connect(title_, &QLineEdit::textEdited, this, [this](const QString& text) {
    editor_.draft().title = ToEngine(text);
    edited_ = true;
  });
  connect(notes_, &QPlainTextEdit::textChanged, this, [this] {
    if (showing_) return;
    editor_.draft().notes = NotesToKeep(notes_->toPlainText());
    edited_ = true;
  });
  connect(examined_, &QCheckBox::toggled, this, [this](bool on) { MarkToggled(true, on); });
  connect(approved_, &QCheckBox::toggled, this, [this](bool on) { MarkToggled(false, on); });
}

void CardWindow::BuildTable() {
  table_->setItemDelegate(new CodeDelegate(this));
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(table_, &QTableWidget::cellChanged, this, &CardWindow::CellEdited);
  // Insert adds a line row and Ctrl+G a group row; Delete on the table (not in a cell being
  // edited) removes the current row, as Ctrl+Delete does anywhere in the window.
  const auto shortcut = [this](QKeySequence keys, QWidget* on, Qt::ShortcutContext context,
                               void (CardWindow::*action)()) {
    auto* s = new QShortcut(keys, on);
    s->setContext(context);
    connect(s, &QShortcut::activated, this, action);
  };
  shortcut(Qt::Key_Insert, this, Qt::WidgetWithChildrenShortcut, &CardWindow::InsertLineRow);
  shortcut(Qt::CTRL | Qt::Key_G, this, Qt::WidgetWithChildrenShortcut, &CardWindow::InsertGroupRow);
  shortcut(Qt::CTRL | Qt::Key_Delete, this, Qt::WidgetWithChildrenShortcut, &CardWindow::DeleteRow);
  shortcut(Qt::Key_Delete, table_, Qt::WidgetShortcut, &CardWindow::DeleteRow);
  shortcut(Qt::CTRL | Qt::Key_Return, this, Qt::WidgetWithChildrenShortcut, &CardWindow::Save);

  auto* form = new QFormLayout;
  form->addRow(Text(msg::kCardIdLabel), id_);
  form->addRow(FromEngine(database().GetName(name_id::kCardTitle)), title_);
  form->addRow(Text(msg::kNotesLabel), notes_);
  auto* stamps = new QGridLayout;
  const auto stamp_row = [&](int row, QWidget* label, QLabel* value) {
    stamps->addWidget(label, row, 0);
    stamps->addWidget(value, row, 1);
  };
  stamp_row(0, new QLabel(Text(msg::kFirstStampLabel), this), created_);
  stamp_row(1, new QLabel(Text(msg::kFirstStampLabel + 1), this), modified_);
  stamp_row(2, new QLabel(Text(msg::kNotesLabel), this), notes_stamp_);
  examined_->setText(Text(msg::kFirstStampLabel + 2));
  approved_->setText(Text(msg::kFirstStampLabel + 3));
  stamps->addWidget(examined_, 3, 0, 1, 2);
  stamps->addWidget(approved_, 4, 0, 1, 2);
  stamps->setColumnMinimumWidth(1, 120);
  stamps->setRowStretch(5, 1);
  auto* top = new QHBoxLayout;
  top->addLayout(form, 1);
  top->addSpacing(12);
  top->addLayout(stamps);

  auto* buttons = new QHBoxLayout;
  const auto button = [&](MessageId caption, void (CardWindow::*action)(), const QString& tip) {
    auto* b = new QPushButton(Text(caption), this);
    b->setAutoDefault(false);
    if (!tip.isEmpty()) b->setToolTip(tip);
    connect(b, &QPushButton::clicked, this, action);
    buttons->addWidget(b);
    return b;
  };
  button(msg::kInsertGroup, &CardWindow::InsertGroupRow, QStringLiteral("Ctrl+G"));
  button(msg::kInsertLine, &CardWindow::InsertLineRow, QStringLiteral("Insert"));
  button(msg::kDeleteRow, &CardWindow::DeleteRow, QStringLiteral("Ctrl+Delete"));
  buttons->addStretch();
  button(msg::kButtonSave, &CardWindow::Save, QStringLiteral("Ctrl+Return"));
  button(msg::kButtonAdd, &CardWindow::AddCard, {});
  button(msg::kButtonDelete, &CardWindow::DeleteCard, {})->setEnabled(!editor_.is_new());
  button(msg::kButtonCancel, &CardWindow::Cancel, {});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(top);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);
  setTabOrder(id_, title_);
  setTabOrder(title_, notes_);
  setTabOrder(notes_, examined_);
  setTabOrder(examined_, approved_);
  setTabOrder(approved_, table_);
}

QString CardWindow::Title() const {
  const CardDraft& draft = editor_.draft();
  if (editor_.is_new()) return TitleOf(msg::kNewCard);
  std::string what = CardIdText(draft.id, database().card_digits());
  if (!draft.title.empty()) what += " " + draft.title;
  return TitleOf(FromEngine(what));
}

void CardWindow::Refresh() {
  codes_.clear();
  // Untouched, the window follows the card (marked or changed elsewhere meanwhile).
  if (!edited_) {
    editor_.Revert();
    ShowFields();
  }
  // The value fields and the dimensions with components may have changed: rows follow.
  const int values = database().value_field_count();
  for (CardEditRow& row : editor_.draft().rows) {
    if (row.kind == CardEditRow::Kind::kLine) row.values.resize(values, 0.0);
  }
  SetHeaders();
  ShowRows();
  ShowStamps();
  setWindowTitle(Title());
}

void CardWindow::SetHeaders() {
  const Database& db = database();
  dimensions_ = {0};
  for (int d = 1; d <= db.line_layout().slots; ++d) {
    if (db.HasComponents(d)) dimensions_.push_back(d);
  }
  text_column_ = static_cast<int>(dimensions_.size());
  const int values = db.value_field_count();
  table_->setColumnCount(text_column_ + 1 + values);
  QStringList headers;
  for (const int d : dimensions_) headers << FromEngine(db.GetName(name_id::kFirstSingular + d));
  headers << FromEngine(db.GetName(name_id::kLineText));
  for (int v = 0; v < values; ++v) headers << FromEngine(db.GetName(name_id::kFirstValueField + v));
  table_->setHorizontalHeaderLabels(headers);
  for (int c = 0; c < text_column_; ++c) table_->setColumnWidth(c, kCodeColumnWidth);
  table_->horizontalHeader()->setSectionResizeMode(text_column_, QHeaderView::Stretch);
  for (int v = 0; v < values; ++v)
    table_->setColumnWidth(first_value_column() + v, kValueColumnWidth);
}

int CardWindow::DimensionOfColumn(int column) const {
  return column >= 0 && column < text_column_ ? dimensions_[column] : -1;
}

int CardWindow::ColumnOfDimension(int dimension) const {
  for (int c = 0; c < text_column_; ++c) {
    if (dimensions_[c] == dimension) return c;
  }
  return 0;
}

const QStringList& CardWindow::Codes(int dimension) {
  auto [it, made] = codes_.try_emplace(dimension);
  if (made) it->second = ComponentCodes(database(), dimension);
  return it->second;
}

void CardWindow::ShowFields() {
  showing_ = true;
  const CardDraft& draft = editor_.draft();
  id_->setText(FromEngine(CardIdText(draft.id, database().card_digits())));
  title_->setText(FromEngine(draft.title));
  notes_->setPlainText(NotesToShow(draft.notes));
  showing_ = false;
}

void CardWindow::ShowStamps() {
  const CardDraft& draft = editor_.draft();
  created_->setText(StampShown(draft.created));
  modified_->setText(StampShown(draft.modified));
  notes_stamp_->setText(StampShown(draft.notes_stamp));
  const QSignalBlocker block_examined(examined_);
  const QSignalBlocker block_approved(approved_);
  examined_->setChecked(!draft.examined.empty());
  approved_->setChecked(!draft.approved.empty());
  examined_->setToolTip(StampShown(draft.examined));
  approved_->setToolTip(StampShown(draft.approved));
}

void CardWindow::ShowRows() {
  showing_ = true;
  table_->setRowCount(static_cast<int>(editor_.draft().rows.size()));
  for (int row = 0; row < table_->rowCount(); ++row) ShowRow(row);
  showing_ = false;
}

void CardWindow::ShowRow(int row) {
  const bool was_showing = showing_;
  showing_ = true;
  const Database& db = database();
  const CardEditRow& card_row = editor_.draft().rows[row];
  const bool group = card_row.kind == CardEditRow::Kind::kGroup;
  const auto code = [&](int d) {
    const ComponentRef ref = card_row.components[d];
    const bool shown = ref != static_cast<ComponentRef>(d) && db.components().IsLive(ref);
    return shown ? db.component(ref) : Component();
  };
  for (int c = 0; c < table_->columnCount(); ++c) {
    const int d = DimensionOfColumn(c);
    const bool editable = group ? c == 0 : c != 0;
    QTableWidgetItem* item;
    if (d >= 0) {
      const bool used = (d == 0) == group;
      const Component component = used ? code(d) : Component();
      item = Cell(FromEngine(component.code), editable);
      item->setToolTip(FromEngine(component.text));
    } else if (group) {
      item = Cell(QString(), false);
    } else if (c == text_column_) {
      item = Cell(FromEngine(card_row.text), true);
    } else {
      const size_t v = static_cast<size_t>(c - first_value_column());
      const double value = v < card_row.values.size() ? card_row.values[v] : 0.0;
      item = Cell(ValueText(value, db.value_decimals()), true);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (group) {
      QFont font = item->font();
      font.setBold(true);
      item->setFont(font);
      item->setBackground(palette().alternateBase());
    }
    table_->setItem(row, c, item);
  }
  showing_ = was_showing;
}

void CardWindow::CellEdited(int row, int column) {
  std::vector<CardEditRow>& rows = editor_.draft().rows;
  if (showing_ || row < 0 || row >= static_cast<int>(rows.size())) return;
  edited_ = true;
  CardEditRow& card_row = rows[row];
  const QString text = table_->item(row, column)->text();
  const int d = DimensionOfColumn(column);
  if (d >= 0) {
    const std::string code = ToEngine(text.trimmed());
    const ComponentRef ref =
        code.empty()
            ? static_cast<ComponentRef>(d)
            : database().FindByCode(d, database().StoredForm(d, ComponentField::kCode, code));
    if (ref == kNoComponent) {
      AlertRecord alert(msg::kComponentNotFound);
      alert.Arg(code).Arg(database().GetName(name_id::kFirstSingular + d));
      ReportAlert(alert);
    } else {
      card_row.components[d] = ref;
    }
  } else if (column == text_column_) {
    card_row.text = ToEngine(text);
  } else {
    const size_t v = static_cast<size_t>(column - first_value_column());
    if (v < card_row.values.size()) card_row.values[v] = ValueOfCell(text);
  }
  ShowRow(row);
}

void CardWindow::IdEdited() {
  const Date id = ReadCardId(ToEngine(id_->text().trimmed()), DateBound::kStart);
  // Text that is no date keeps the identifier it had.
  if (id.day != kNoDay && id != editor_.draft().id) {
    editor_.draft().id = id;
    edited_ = true;
  }
  ShowFields();
}

void CardWindow::MarkToggled(bool examined, bool on) {
  Stamp& mark = examined ? editor_.draft().examined : editor_.draft().approved;
  edited_ = true;
  if (!on) {
    mark = Stamp();
  } else if (const std::optional<Stamp> stamp = ObtainUserStamp()) {
    mark = *stamp;
  }
  ShowStamps();
}

void CardWindow::InsertRow(CardEditRow row) {
  std::vector<CardEditRow>& rows = editor_.draft().rows;
  const int current = table_->currentRow();
  const int at = current >= 0 && current < static_cast<int>(rows.size())
                     ? current
                     : static_cast<int>(rows.size());
  rows.insert(rows.begin() + at, std::move(row));
  edited_ = true;
  ShowRows();
  const bool group = rows[at].kind == CardEditRow::Kind::kGroup;
  table_->setCurrentCell(at, group ? 0 : std::min(1, table_->columnCount() - 1));
  table_->setFocus();
}

void CardWindow::InsertGroupRow() { InsertRow(CardEditRow::Group(0)); }

void CardWindow::InsertLineRow() { InsertRow(CardEditRow::Line(database())); }

void CardWindow::DeleteRow() {
  std::vector<CardEditRow>& rows = editor_.draft().rows;
  const int current = table_->currentRow();
  if (current < 0 || current >= static_cast<int>(rows.size())) return;
  const int column = table_->currentColumn();
  rows.erase(rows.begin() + current);
  edited_ = true;
  ShowRows();
  if (!rows.empty()) {
    table_->setCurrentCell(std::min<int>(current, static_cast<int>(rows.size()) - 1), column);
  }
}

bool CardWindow::MayClose() {
  if (done_) return true;
  table_->setCurrentCell(table_->currentRow(), table_->currentColumn());  // ends a cell's edit
  IdEdited();
  const CardEditor::Outcome outcome = editor_.Close();
  // What was written is what the window shows now, should it stay open after all.
  ShowFields();
  ShowRows();
  ShowStamps();
  if (outcome == CardEditor::Outcome::kClose) return true;
  if (const std::optional<CardCell>& cell = editor_.focus()) {
    table_->setCurrentCell(static_cast<int>(cell->row), ColumnOfDimension(cell->dimension));
    table_->setFocus();
  }
  return false;
}

// Closes the window through the frame, which asks MayClose: a window done closes at once.
void CardWindow::Finish(CardEditor::Outcome outcome) {
  if (outcome == CardEditor::Outcome::kClose) done_ = true;
  QWidget* outer = qobject_cast<QMdiSubWindow*>(parentWidget());
  (outer != nullptr ? outer : static_cast<QWidget*>(this))->close();
}

void CardWindow::Save() {
  if (MayClose()) Finish(CardEditor::Outcome::kClose);
}

void CardWindow::AddCard() {
  IdEdited();
  if (editor_.Add() == CardEditor::Outcome::kClose) {
    Finish(CardEditor::Outcome::kClose);
  } else if (const std::optional<CardCell>& cell = editor_.focus()) {
    table_->setCurrentCell(static_cast<int>(cell->row), ColumnOfDimension(cell->dimension));
  }
}

void CardWindow::DeleteCard() {
  if (editor_.Delete() == CardEditor::Outcome::kClose) Finish(CardEditor::Outcome::kClose);
}

void CardWindow::closeEvent(QCloseEvent* event) {
  if (qobject_cast<QMdiSubWindow*>(parentWidget()) == nullptr && !MayClose()) {
    event->ignore();
    return;
  }
  DatabaseWindow::closeEvent(event);
}

CardWindow* OpenCardWindow(Database& database, std::optional<CardRef> card, QWidget* parent) {
  Frame* frame = parent != nullptr ? qobject_cast<Frame*>(parent->window()) : nullptr;
  if (frame != nullptr) return frame->ShowCard(database, card);
  auto* window = new CardWindow(database, card, parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowFlag(Qt::Window);
  window->show();
  return window;
}

}  // namespace jov
