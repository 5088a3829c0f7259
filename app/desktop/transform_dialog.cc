#include "transform_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "code_completer.h"
#include "database_window.h"
#include "qt_text.h"

namespace jov {
namespace {

// The named patterns of a text rule, in the order of their names from msg::kFirstTextPattern;
// any other text typed is a pattern of its own.
constexpr std::string_view kNamedPatterns[] = {TextRule::kBefore, TextRule::kAfter,
                                               TextRule::kEmpty, TextRule::kNonEmpty};

// The first and last day of the window's cards, which the source dates default to.
std::pair<QString, QString> WindowDays(const Database& database, const WindowLines& window) {
  const std::vector<CardRef> cards = WindowCards(database.cards(), window);
  if (cards.empty()) return {};
  return {FromEngine(DayCodeText(database.cards().CardId(cards.front()).day)),
          FromEngine(DayCodeText(database.cards().CardId(cards.back()).day))};
}

QGroupBox* Box(MessageId title, QLayout* layout, QWidget* parent) {
  auto* box = new QGroupBox(Text(title), parent);
  box->setLayout(layout);
  return box;
}

}  // namespace

TransformDialog::TransformDialog(Database& database, const WindowLines& window, QWidget* parent)
    : QDialog(parent),
      database_(database),
      window_(window),
      keep_source_(new QCheckBox(Text(msg::kKeepSourceData), this)) {
  const QString what = parent != nullptr ? parent->windowTitle() : DatabaseName(database);
  setWindowTitle(Text(msg::kTransformTitle, ToEngine(what)));
  keep_source_->setObjectName(QStringLiteral("keep_source"));

  auto* left = new QVBoxLayout;
  left->addWidget(BuildDates());
  left->addWidget(BuildReplacements(), 1);
  auto* right = new QVBoxLayout;
  right->addWidget(BuildTexts());
  right->addWidget(BuildFormulas(), 1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right, 1);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(Text(msg::kTransformButton), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(Text(msg::kButtonCancel), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &TransformDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(keep_source_);
  layout->addLayout(columns, 1);
  layout->addWidget(buttons);
}

QLineEdit* TransformDialog::AddField(const std::string& key, const QString& object_name) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(object_name);
  fields_.push_back({edit, key});
  return edit;
}

// Where the cards' days come from and go to: the source range defaults to the window's days;
// without a target no card moves.
QWidget* TransformDialog::BuildDates() {
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(Text(msg::kRangeStart), this), 0, 1);
  grid->addWidget(new QLabel(Text(msg::kRangeEnd), this), 0, 2);
  const auto [first, last] = WindowDays(database_, window_);
  const char* keys[2][2] = {{"CB", "CE"}, {"CF", "CT"}};
  const char* names[2][2] = {{"source_begin", "source_end"}, {"target_begin", "target_end"}};
  for (int row = 0; row < 2; ++row) {
    grid->addWidget(new QLabel(Text(row == 0 ? msg::kFrom : msg::kTo), this), row + 1, 0);
    for (int end = 0; end < 2; ++end) {
      QLineEdit* edit = AddField(keys[row][end], QString::fromLatin1(names[row][end]));
      edit->setMaximumWidth(90);
      if (row == 0) edit->setPlaceholderText(end == 0 ? first : last);
      // A date is shown as it is read, so that a typing slip shows before the cards move.
      const DateBound bound = end == 0 ? DateBound::kStart : DateBound::kEnd;
      connect(edit, &QLineEdit::editingFinished, edit, [edit, bound] {
        if (const std::optional<DayCode> day = ReadTransformDate(ToEngine(edit->text()), bound)) {
          edit->setText(FromEngine(DayCodeText(*day)));
        }
      });
      grid->addWidget(edit, row + 1, end + 1);
    }
  }
  return Box(msg::kDates, grid, this);
}

// A field per dimension with components: the code of the component that replaces the lines'
// (completed from the dimension's codes), "\" for none, empty to keep them.
QWidget* TransformDialog::BuildReplacements() {
  auto* form = new QFormLayout;
  for (int d = 0; d <= database_.line_layout().slots; ++d) {
    if (!database_.HasComponents(d)) continue;
    QLineEdit* edit =
        AddField("D" + std::to_string(d + 1), QStringLiteral("replacement_%1").arg(d + 1));
    CompleteCodes(edit, ComponentCodes(database_, d));
    form->addRow(FromEngine(database_.GetName(name_id::kFirstSingular + d)), edit);
  }
  return Box(msg::kReplaceDimensions, form, this);
}

TransformDialog::RuleFields TransformDialog::AddRule(QGridLayout* grid, int row,
                                                     const QString& label, const char* name) {
  RuleFields fields{new QComboBox(this), new QLineEdit(this),
                    new QCheckBox(Text(msg::kClear), this)};
  fields.pattern->setEditable(true);
  fields.pattern->addItem(QString());
  for (size_t i = 0; i < std::size(kNamedPatterns); ++i) {
    fields.pattern->addItem(Text(msg::kFirstTextPattern + static_cast<MessageId>(i)));
  }
  fields.pattern->setObjectName(QString::fromLatin1(name) + QStringLiteral("_pattern"));
  fields.replacement->setObjectName(QString::fromLatin1(name) + QStringLiteral("_replacement"));
  fields.clear->setObjectName(QString::fromLatin1(name) + QStringLiteral("_clear"));
  connect(fields.clear, &QCheckBox::toggled, fields.replacement, &QLineEdit::setDisabled);
  grid->addWidget(new QLabel(label, this), row, 0);
  grid->addWidget(fields.pattern, row, 1);
  grid->addWidget(fields.replacement, row, 2);
  grid->addWidget(fields.clear, row, 3);
  return fields;
}

// The text rules: a pattern (Before, After, Empty, Non-empty, or text to find; none: the whole
// text), and what replaces it ("Clear": the empty text).
QWidget* TransformDialog::BuildTexts() {
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(Text(msg::kFind), this), 0, 1);
  grid->addWidget(new QLabel(Text(msg::kReplaceWith), this), 0, 2);
  rules_[0] = AddRule(grid, 1, FromEngine(database_.GetName(name_id::kCardTitle)), "title");
  rules_[1] = AddRule(grid, 2, Text(msg::kNotesLabel), "notes");
  rules_[2] = AddRule(grid, 3, FromEngine(database_.GetName(name_id::kLineText)), "line_text");
  grid->setColumnStretch(2, 1);
  return Box(msg::kTexts, grid, this);
}

// A formula per value field over the line's fields by name and "T", the card's place in the
// source range; empty to keep the values.
QWidget* TransformDialog::BuildFormulas() {
  auto* form = new QFormLayout;
  for (int f = 0; f < database_.value_field_count(); ++f) {
    const std::string key = std::string("V") + static_cast<char>('A' + f);
    QLineEdit* edit = AddField(key, QStringLiteral("formula_%1").arg(f + 1));
    form->addRow(FromEngine(database_.GetName(name_id::kFirstValueField + f)), edit);
  }
  return Box(msg::kFormulas, form, this);
}

TextRule TransformDialog::RuleOf(const RuleFields& fields) {
  TextRule rule;
  const QString pattern = fields.pattern->currentText();
  rule.pattern = ToEngine(pattern);
  for (size_t i = 0; i < std::size(kNamedPatterns); ++i) {
    if (pattern == Text(msg::kFirstTextPattern + static_cast<MessageId>(i))) {
      rule.pattern = kNamedPatterns[i];
    }
  }
  rule.replacement = fields.clear->isChecked() ? std::string(TextRule::kClear)
                                               : ToEngine(fields.replacement->text());
  return rule;
}

std::optional<TransformSettings> TransformDialog::Settings() {
  TransformSettings settings;
  settings.keep_source = keep_source_->isChecked();
  for (const Field& field : fields_) {
    const std::string token = field.key + "=" + ToEngine(field.edit->text());
    if (!ApplyTransformOptions(settings, database_, std::span(&token, 1)).empty()) {
      ReportRejected(field);
      return std::nullopt;
    }
  }
  settings.title = RuleOf(rules_[0]);
  settings.notes = RuleOf(rules_[1]);
  settings.line_text = RuleOf(rules_[2]);
  return settings;
}

void TransformDialog::ReportRejected(const Field& field) {
  const std::string text = ToEngine(field.edit->text().trimmed());
  if (field.key.front() == 'D') {
    const int dimension = std::stoi(field.key.substr(1)) - 1;
    AlertRecord alert(msg::kComponentNotFound);
    alert.Arg(text).Arg(database_.GetName(name_id::kFirstSingular + dimension));
    ReportAlert(alert);
  } else {
    AlertRecord alert(msg::kNotADate);
    ReportAlert(alert.Arg(text));
  }
  field.edit->setFocus();
  field.edit->selectAll();
}

void TransformDialog::accept() {
  const std::optional<TransformSettings> settings = Settings();
  if (!settings) return;
  ran_ = Transform(database_, window_, *settings);
  QDialog::accept();
}

bool RunTransformDialog(Database& database, const WindowLines& window, QWidget* parent) {
  TransformDialog dialog(database, window, parent);
  return dialog.exec() == QDialog::Accepted && dialog.ran();
}

}  // namespace jov
