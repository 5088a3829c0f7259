#include "file_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "qt_text.h"

namespace jov {
namespace {

constexpr int kCharacterSets = 6;

QSpinBox* SpinBox(int min, int max, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(min, max);
  return box;
}

}  // namespace

FileForm::FileForm(ImportSetup* setup, QWidget* parent)
    : QWidget(parent),
      setup_(setup),
      form_(new QFormLayout),
      variable_(new QRadioButton(Text(msg::kVariableLayout), this)),
      fixed_(new QRadioButton(Text(msg::kFixedLayout), this)),
      character_set_(new QComboBox(this)),
      row_terminator_(SpinBox(1, 255, this)),
      field_separator_(SpinBox(1, 255, this)),
      exclude_controls_(new QCheckBox(Text(msg::kExcludeControlCharacters), this)),
      rows_to_skip_(SpinBox(0, ImportSetup::kMaxRowsToSkip, this)),
      conversion_from_(new QLineEdit(this)),
      conversion_to_(new QLineEdit(this)),
      excluded_(new QLineEdit(this)) {
  for (int i = 0; i < kCharacterSets - 1; ++i)
    character_set_->addItem(Text(msg::kFirstCharacterSet + i));
  character_set_->addItem(Text(msg::kCharacterSetUtf8));
  // Named for the tests.
  character_set_->setObjectName(QStringLiteral("character_set"));
  field_separator_->setObjectName(QStringLiteral("field_separator"));
  rows_to_skip_->setObjectName(QStringLiteral("rows_to_skip"));

  auto* layout_box = new QGroupBox(Text(msg::kFieldLength), this);
  auto* layout_row = new QHBoxLayout(layout_box);
  layout_row->addWidget(variable_);
  layout_row->addWidget(fixed_);
  layout_row->addStretch();

  form_->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  form_->addRow(Text(msg::kCharacterSet), character_set_);
  form_->addRow(Text(msg::kRowTerminator), row_terminator_);
  form_->addRow(Text(msg::kFieldSeparator), field_separator_);
  form_->addRow(QString(), exclude_controls_);
  form_->addRow(Text(msg::kExcludeRows), rows_to_skip_);

  auto* characters = new QGroupBox(Text(msg::kCharactersPage), this);
  auto* characters_form = new QFormLayout(characters);
  auto* conversions = new QHBoxLayout;
  conversions->addWidget(conversion_from_);
  conversions->addWidget(new QLabel(QStringLiteral("\u2192"), this));
  conversions->addWidget(conversion_to_);
  characters_form->addRow(Text(msg::kCharacterConversions).replace('\n', ' '), conversions);
  characters_form->addRow(Text(msg::kExcludeChars), excluded_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(layout_box);
  layout->addLayout(form_);
  layout->addWidget(characters);

  const auto read = [this] {
    if (showing_) return;
    Read();
    Q_EMIT Edited();
  };
  for (QRadioButton* b : {variable_, fixed_}) connect(b, &QRadioButton::toggled, this, read);
  connect(character_set_, &QComboBox::currentIndexChanged, this, read);
  for (QSpinBox* b : {row_terminator_, field_separator_, rows_to_skip_}) {
    connect(b, &QSpinBox::valueChanged, this, read);
  }
  for (QLineEdit* e : {conversion_from_, conversion_to_, excluded_}) {
    connect(e, &QLineEdit::textEdited, this, read);
  }
  connect(exclude_controls_, &QCheckBox::toggled, this, read);
  Show();
}

void FileForm::Show() {
  showing_ = true;
  (setup_->layout == FieldLayout::kFixed ? fixed_ : variable_)->setChecked(true);
  character_set_->setCurrentIndex(static_cast<int>(setup_->character_set));
  row_terminator_->setValue(setup_->row_terminator);
  field_separator_->setValue(setup_->field_separator);
  exclude_controls_->setChecked(setup_->exclude_control_characters);
  rows_to_skip_->setValue(setup_->rows_to_skip);
  conversion_from_->setText(FromEngine(setup_->conversion_from));
  conversion_to_->setText(FromEngine(setup_->conversion_to));
  excluded_->setText(FromEngine(setup_->excluded_characters));
  showing_ = false;
}

void FileForm::Read() {
  setup_->layout = fixed_->isChecked() ? FieldLayout::kFixed : FieldLayout::kVariable;
  setup_->character_set = static_cast<CharacterSet>(character_set_->currentIndex());
  setup_->row_terminator = static_cast<unsigned char>(row_terminator_->value());
  setup_->field_separator = static_cast<unsigned char>(field_separator_->value());
  setup_->exclude_control_characters = exclude_controls_->isChecked();
  setup_->rows_to_skip = rows_to_skip_->value();
  setup_->conversion_from = ToEngine(conversion_from_->text());
  setup_->conversion_to = ToEngine(conversion_to_->text());
  setup_->excluded_characters = ToEngine(excluded_->text());
}

}  // namespace jov
