#include "selection_editor.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

#include "qt_text.h"

namespace jov {
namespace {

// The text an edit showed after Load, to tell edited fields from the rest.
constexpr char kLoadedProperty[] = "loaded";
// An expression that names codes no component carries does not restrict; its field says so.
constexpr char kUncompiledStyle[] = "QLineEdit { color: #c01010; }";

void StoreFrom(Selection& s, int, std::string_view text) { s.SetFrom(text); }
void StoreTo(Selection& s, int, std::string_view text) { s.SetTo(text); }
void StoreExpression(Selection& s, int d, std::string_view text) {
  s.SetComponentExpression(d, text);
}
void StoreTitle(Selection& s, int, std::string_view text) { s.SetCardTitle(text); }
void StoreLineText(Selection& s, int, std::string_view text) { s.SetLineText(text); }
void StoreValue(Selection& s, int field, std::string_view text) {
  s.SetValueCondition(field, text);
}
void StoreSubset(Selection& s, int, std::string_view text) { s.SetSubset(text); }

// A date point as the editor shows it: empty for the open end.
std::string PointText(const DatePoint& point) {
  return point.IsOpen() ? std::string() : point.Text();
}

QFormLayout* Form(QWidget* parent) {
  auto* form = new QFormLayout(parent);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  return form;
}

}  // namespace

SelectionEditor::SelectionEditor(const Database& database, QWidget* parent) : QWidget(parent) {
  // Created in the order Tab moves through them: dates and texts, dimensions, values.
  auto* general = new QWidget(this);
  QFormLayout* form = Form(general);
  from_ = AddField(&StoreFrom);
  to_ = AddField(&StoreTo);
  form->addRow(Text(msg::kFrom), from_);
  form->addRow(Text(msg::kTo), to_);
  card_title_ = AddField(&StoreTitle);
  line_text_ = AddField(&StoreLineText);
  form->addRow(FromEngine(database.GetName(name_id::kCardTitle)), card_title_);
  form->addRow(FromEngine(database.GetName(name_id::kLineText)), line_text_);
  subset_ = AddField(&StoreSubset);
  form->addRow(Text(msg::kSubset), subset_);

  auto* dimensions = new QGroupBox(Text(msg::kMenuDimensions), this);
  QFormLayout* dimension_form = Form(dimensions);
  for (int d = 0; d < kDimensionCount; ++d) {
    if (!database.IsDimensionUsed(d)) continue;
    dimensions_[d] = AddField(&StoreExpression, d);
    dimension_form->addRow(FromEngine(database.GetName(name_id::kFirstSingular + d)),
                           dimensions_[d]);
  }
  auto* values = new QGroupBox(Text(msg::kValue), this);
  QFormLayout* value_form = Form(values);
  for (int field = 0; field < database.value_field_count(); ++field) {
    values_.push_back(AddField(&StoreValue, field));
    value_form->addRow(FromEngine(database.GetName(name_id::kFirstValueField + field)),
                       values_.back());
  }

  auto* inner = new QWidget;
  auto* columns = new QHBoxLayout;
  columns->addWidget(dimensions, 1);
  columns->addWidget(values, 1);
  auto* stacked = new QVBoxLayout(inner);
  stacked->addWidget(general);
  stacked->addLayout(columns);
  stacked->addStretch();
  // A database with many dimensions and value fields scrolls rather than growing the dialog.
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(inner);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
  setFocusProxy(from_);
}

QLineEdit* SelectionEditor::AddField(void (*store)(Selection&, int, std::string_view), int index) {
  auto* edit = new QLineEdit(this);
  edit->setMinimumWidth(160);
  fields_.push_back({edit, store, index});
  return edit;
}

void SelectionEditor::Show(QLineEdit* edit, const std::string& text) {
  const QString shown = FromEngine(text);
  edit->setText(shown);
  edit->setProperty(kLoadedProperty, shown);
  edit->setStyleSheet(QString());
}

void SelectionEditor::Load(const Selection& selection) {
  Show(from_, PointText(selection.from()));
  Show(to_, PointText(selection.to()));
  for (int d = 0; d < kDimensionCount; ++d) {
    if (dimensions_[d] == nullptr) continue;
    Show(dimensions_[d], selection.component_expression(d).empty()
                             ? std::string()
                             : selection.DisplayedExpression(d));
    if (!selection.component_expression(d).empty() && !selection.RestrictsDimension(d)) {
      dimensions_[d]->setStyleSheet(QString::fromLatin1(kUncompiledStyle));
    }
  }
  Show(card_title_, selection.card_title());
  Show(line_text_, selection.line_text());
  for (size_t field = 0; field < values_.size(); ++field) {
    Show(values_[field], selection.value_condition(static_cast<int>(field)));
  }
  Show(subset_, selection.subset());
}

bool SelectionEditor::Store(Selection& selection) {
  bool changed = false;
  for (const Field& field : fields_) {
    const QString text = field.edit->text().trimmed();
    if (text == field.edit->property(kLoadedProperty).toString()) continue;
    field.store(selection, field.index, ToEngine(text));
    changed = true;
  }
  Load(selection);
  return changed;
}

}  // namespace jov
