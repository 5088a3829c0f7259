#include "import_setup_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "dialogs.h"
#include "field_spec_table.h"
#include "io/import_preview.h"
#include "qt_text.h"
#include "shell/pending_error.h"
#include "table_window.h"

namespace jov {
namespace {

constexpr int kCharacterSets = 6;
constexpr int kPlacements = 3;
// Zero filling: none, or a width in this range.
constexpr int kMinZeroFilling = 2;
constexpr int kMaxZeroFilling = 8;

// The text conversions in the order the combo boxes list them, with their labels.
constexpr std::array<TextConversion, 5> kConversions = {
    TextConversion::kNone, TextConversion::kUpper, TextConversion::kLower,
    TextConversion::kStandard, TextConversion::kWordCaps};

QComboBox* ConversionBox(QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->addItem(Text(msg::kConversionNone));
  for (int i = 0; i < 4; ++i) box->addItem(Text(msg::kFirstCaseConversion + i));
  return box;
}

int ConversionIndex(TextConversion conversion) {
  for (size_t i = 0; i < kConversions.size(); ++i) {
    if (kConversions[i] == conversion) return static_cast<int>(i);
  }
  return 0;
}

QSpinBox* SpinBox(int min, int max, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(min, max);
  return box;
}

// A row of the Add Part and Remove Part buttons for a field table.
QHBoxLayout* PartButtons(FieldSpecTable* table, QWidget* parent) {
  auto* row = new QHBoxLayout;
  auto* add = new QPushButton(Text(msg::kAddFieldPart), parent);
  auto* remove = new QPushButton(Text(msg::kRemoveFieldPart), parent);
  QObject::connect(add, &QPushButton::clicked, table, &FieldSpecTable::AddPart);
  QObject::connect(remove, &QPushButton::clicked, table, &FieldSpecTable::RemovePart);
  row->addWidget(add);
  row->addWidget(remove);
  row->addStretch();
  return row;
}

}  // namespace

ImportSetupWindow::ImportSetupWindow(Database& database, const std::string& name, QWidget* parent)
    : DatabaseWindow(database, Kind::kImportSetup, parent),
      name_(new QLineEdit(this)),
      pages_(new QTabWidget(this)),
      status_(new QLabel(this)) {
  ImportSetups& setups = ImportSetups::Of(database);
  if (const ImportSetup* found = name.empty() ? nullptr : setups.Find(name)) {
    edit_ = *found;
    stored_name_ = found->name;
  } else {
    edit_.name = setups.UniqueName("");
  }
  name_->setText(FromEngine(edit_.name));
  name_->setObjectName(QStringLiteral("name"));
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
    edit_.name = ToEngine(text);
    Edited();
  });
  auto* name_row = new QFormLayout;
  name_row->addRow(Text(msg::kSetupName), name_);

  pages_->addTab(BuildGeneralPage(), Text(msg::kGeneralPage));
  pages_->addTab(BuildCardPage(), Text(msg::kCardDefinitionPage));
  pages_->addTab(BuildPreviewPage(), Text(msg::kPreview));
  RebuildLinePages();
  connect(pages_, &QTabWidget::currentChanged, this, [this](int) {
    if (pages_->currentWidget() == preview_view_->parentWidget()) UpdatePreview();
  });

  auto* buttons = new QHBoxLayout;
  const auto add = [&](MessageId caption, auto action) {
    auto* b = new QPushButton(Text(caption), this);
    connect(b, &QPushButton::clicked, this, action);
    buttons->addWidget(b);
    return b;
  };
  add(msg::kNewLineDefinition, &ImportSetupWindow::AddLineDefinition);
  add(msg::kDeleteLineDefinition, &ImportSetupWindow::DeleteLineDefinition);
  buttons->addStretch();
  add(msg::kImportButton, &ImportSetupWindow::Import);
  add(msg::kApply, &ImportSetupWindow::Apply)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(name_row);
  layout->addWidget(pages_, 1);
  layout->addWidget(status_);
  layout->addLayout(buttons);
  ShowGeneral();
  setWindowTitle(Title());
}

ImportSetupWindow::~ImportSetupWindow() = default;

QString ImportSetupWindow::Title() const {
  return TitleOf(Text(msg::kImportSetupName) + QStringLiteral(" ") + FromEngine(edit_.name));
}

void ImportSetupWindow::Refresh() {
  // A setup removed elsewhere: the working copy becomes a new setup when applied.
  if (!stored_name_.empty() && ImportSetups::Of(database()).Find(stored_name_) == nullptr) {
    stored_name_.clear();
    edited_ = true;
  }
  setWindowTitle(Title());
}

bool ImportSetupWindow::MayClose() {
  if (!edited_) return true;
  switch (AskSaveChanges(Title())) {
    case 0:
      return Apply();
    case 1:
      return true;
    default:
      return false;
  }
}

// --- General page

QWidget* ImportSetupWindow::BuildGeneralPage() {
  auto* page = new QWidget(this);
  variable_ = new QRadioButton(Text(msg::kVariableLayout), page);
  fixed_ = new QRadioButton(Text(msg::kFixedLayout), page);
  character_set_ = new QComboBox(page);
  for (int i = 0; i < kCharacterSets - 1; ++i)
    character_set_->addItem(Text(msg::kFirstCharacterSet + i));
  character_set_->addItem(Text(msg::kCharacterSetUtf8));
  row_terminator_ = SpinBox(1, 255, page);
  field_separator_ = SpinBox(1, 255, page);
  decimal_separator_ = new QLineEdit(page);
  decimal_separator_->setMaxLength(1);
  decimal_separator_->setMaximumWidth(40);
  exclude_controls_ = new QCheckBox(Text(msg::kExcludeControlCharacters), page);
  rows_to_skip_ = SpinBox(0, ImportSetup::kMaxRowsToSkip, page);
  rows_per_card_ = SpinBox(1, ImportSetup::kMaxRowsPerRecord, page);
  rows_per_line_ = SpinBox(1, ImportSetup::kMaxRowsPerRecord, page);
  date_format_ = new QComboBox(page);
  for (int i = 0; i < kDateFormatCount; ++i) date_format_->addItem(Text(msg::kFirstDateFormat + i));
  conversion_from_ = new QLineEdit(page);
  conversion_to_ = new QLineEdit(page);
  excluded_ = new QLineEdit(page);

  // Named for the tests.
  for (auto [widget, name] : std::initializer_list<std::pair<QWidget*, const char*>>{
           {character_set_, "character_set"},
           {field_separator_, "field_separator"},
           {decimal_separator_, "decimal_separator"},
           {rows_to_skip_, "rows_to_skip"},
           {date_format_, "date_format"}}) {
    widget->setObjectName(QLatin1String(name));
  }
  auto* layout_box = new QGroupBox(Text(msg::kFieldLength), page);
  auto* layout_row = new QHBoxLayout(layout_box);
  layout_row->addWidget(variable_);
  layout_row->addWidget(fixed_);
  layout_row->addStretch();

  auto* file = new QFormLayout;
  file->addRow(Text(msg::kCharacterSet), character_set_);
  file->addRow(Text(msg::kRowTerminator), row_terminator_);
  file->addRow(Text(msg::kFieldSeparator), field_separator_);
  file->addRow(Text(msg::kDecimalSeparator), decimal_separator_);
  file->addRow(QString(), exclude_controls_);
  file->addRow(Text(msg::kDateFormat), date_format_);

  auto* rows = new QGroupBox(Text(msg::kFileRows), page);
  auto* rows_form = new QFormLayout(rows);
  rows_form->addRow(Text(msg::kExcludeRows), rows_to_skip_);
  rows_form->addRow(Text(msg::kRowsForCards), rows_per_card_);
  rows_form->addRow(Text(msg::kRowsForLines), rows_per_line_);

  auto* characters = new QGroupBox(Text(msg::kCharactersPage), page);
  auto* characters_form = new QFormLayout(characters);
  auto* conversions = new QHBoxLayout;
  conversions->addWidget(conversion_from_);
  conversions->addWidget(new QLabel(QStringLiteral("\u2192"), page));
  conversions->addWidget(conversion_to_);
  characters_form->addRow(Text(msg::kCharacterConversions).replace('\n', ' '), conversions);
  characters_form->addRow(Text(msg::kExcludeChars), excluded_);

  auto* grid = new QGridLayout(page);
  grid->addWidget(layout_box, 0, 0);
  grid->addLayout(file, 1, 0);
  grid->addWidget(rows, 0, 1, 2, 1, Qt::AlignTop);
  grid->addWidget(characters, 2, 0, 1, 2);
  grid->setRowStretch(3, 1);

  const auto read = [this] {
    if (showing_) return;
    ReadGeneral();
    Edited();
  };
  for (QRadioButton* b : {variable_, fixed_}) connect(b, &QRadioButton::toggled, this, read);
  for (QComboBox* b : {character_set_, date_format_}) {
    connect(b, &QComboBox::currentIndexChanged, this, read);
  }
  for (QSpinBox* b :
       {row_terminator_, field_separator_, rows_to_skip_, rows_per_card_, rows_per_line_}) {
    connect(b, &QSpinBox::valueChanged, this, read);
  }
  for (QLineEdit* e : {decimal_separator_, conversion_from_, conversion_to_, excluded_}) {
    connect(e, &QLineEdit::textEdited, this, read);
  }
  connect(exclude_controls_, &QCheckBox::toggled, this, read);
  return page;
}

void ImportSetupWindow::ShowGeneral() {
  showing_ = true;
  (edit_.layout == FieldLayout::kFixed ? fixed_ : variable_)->setChecked(true);
  character_set_->setCurrentIndex(static_cast<int>(edit_.character_set));
  row_terminator_->setValue(edit_.row_terminator);
  field_separator_->setValue(edit_.field_separator);
  decimal_separator_->setText(
      FromEngine(std::string(1, static_cast<char>(edit_.decimal_separator))));
  exclude_controls_->setChecked(edit_.exclude_control_characters);
  rows_to_skip_->setValue(edit_.rows_to_skip);
  rows_per_card_->setValue(edit_.rows_per_card);
  rows_per_line_->setValue(edit_.rows_per_line);
  date_format_->setCurrentIndex(static_cast<int>(edit_.date_format));
  conversion_from_->setText(FromEngine(edit_.conversion_from));
  conversion_to_->setText(FromEngine(edit_.conversion_to));
  excluded_->setText(FromEngine(edit_.excluded_characters));
  title_conversion_->setCurrentIndex(ConversionIndex(edit_.title_conversion));
  notes_conversion_->setCurrentIndex(ConversionIndex(edit_.notes_conversion));
  showing_ = false;
}

void ImportSetupWindow::ReadGeneral() {
  edit_.layout = fixed_->isChecked() ? FieldLayout::kFixed : FieldLayout::kVariable;
  edit_.character_set = static_cast<CharacterSet>(character_set_->currentIndex());
  edit_.row_terminator = static_cast<unsigned char>(row_terminator_->value());
  edit_.field_separator = static_cast<unsigned char>(field_separator_->value());
  const std::string decimal = ToEngine(decimal_separator_->text());
  // An empty decimal separator keeps the one before.
  if (!decimal.empty()) edit_.decimal_separator = static_cast<unsigned char>(decimal.front());
  edit_.exclude_control_characters = exclude_controls_->isChecked();
  edit_.rows_to_skip = rows_to_skip_->value();
  edit_.rows_per_card = rows_per_card_->value();
  edit_.rows_per_line = rows_per_line_->value();
  edit_.date_format = static_cast<DateFormat>(date_format_->currentIndex());
  edit_.conversion_from = ToEngine(conversion_from_->text());
  edit_.conversion_to = ToEngine(conversion_to_->text());
  edit_.excluded_characters = ToEngine(excluded_->text());
  edit_.title_conversion = kConversions[title_conversion_->currentIndex()];
  edit_.notes_conversion = kConversions[notes_conversion_->currentIndex()];
}

// --- Card page

QWidget* ImportSetupWindow::BuildCardPage() {
  auto* page = new QWidget(this);
  card_fields_ = new FieldSpecTable(page);
  const Database& db = database();
  card_fields_->SetEntries({
      {Text(msg::kCardIndicator), &edit_.card_indicator},
      {Text(msg::kLineIndicator), &edit_.line_indicator},
      {Text(msg::kCardSwitcher), &edit_.card_switcher},
      {Text(msg::kDateField), &edit_.card_date},
      {FromEngine(db.GetName(name_id::kCardTitle)), &edit_.card_title},
      {Text(msg::kNotesLabel), &edit_.card_notes},
      {Text(msg::kFirstStampLabel), &edit_.created},
      {Text(msg::kFirstStampLabel + 1), &edit_.modified},
      {Text(msg::kFirstStampLabel + 2), &edit_.examined},
      {Text(msg::kFirstStampLabel + 3), &edit_.approved},
  });
  connect(card_fields_, &FieldSpecTable::Edited, this, &ImportSetupWindow::Edited);
  title_conversion_ = ConversionBox(page);
  notes_conversion_ = ConversionBox(page);
  const auto read = [this] {
    if (showing_) return;
    ReadGeneral();
    Edited();
  };
  connect(title_conversion_, &QComboBox::currentIndexChanged, this, read);
  connect(notes_conversion_, &QComboBox::currentIndexChanged, this, read);
  auto* conversions = new QFormLayout;
  conversions->addRow(Text(msg::kTextConversion) + QStringLiteral(": ") +
                          FromEngine(db.GetName(name_id::kCardTitle)),
                      title_conversion_);
  conversions->addRow(Text(msg::kTextConversion) + QStringLiteral(": ") + Text(msg::kNotesLabel),
                      notes_conversion_);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(card_fields_, 1);
  layout->addLayout(PartButtons(card_fields_, page));
  layout->addLayout(conversions);
  return page;
}

// --- Line definition pages

std::vector<int> ImportSetupWindow::ShownDimensions() const {
  int last = -1;
  for (int d = 0; d < kDimensionCount; ++d) {
    bool used = database().HasComponents(d);
    for (const LineDefinition& definition : edit_.line_definitions) {
      if (!definition.components[d].empty()) used = true;
    }
    if (used) last = d;
  }
  std::vector<int> shown;
  for (int d = 0; d <= std::min(last + 1, kDimensionCount - 1); ++d) shown.push_back(d);
  return shown;
}

QWidget* ImportSetupWindow::BuildLinePage(int index) {
  auto* page = new QWidget(this);
  auto* table = new FieldSpecTable(page);
  LineDefinition& definition = edit_.line_definitions[index];
  const Database& db = database();
  const std::vector<int> dimensions = ShownDimensions();
  std::vector<FieldSpecTable::Entry> entries;
  for (const int d : dimensions) {
    entries.push_back(
        {FromEngine(db.GetName(name_id::kFirstSingular + d)), &definition.components[d]});
  }
  entries.push_back({FromEngine(db.GetName(name_id::kLineText)), &definition.line_text});
  const int values = db.value_field_count();
  for (int v = 0; v < values; ++v) {
    entries.push_back(
        {FromEngine(db.GetName(name_id::kFirstValueField + v)), &definition.values[v]});
  }
  const int dimension_entries = static_cast<int>(dimensions.size());
  constexpr int kZeroColumn = FieldSpecTable::kPartColumns;
  constexpr int kPlacementColumn = kZeroColumn + 1;
  constexpr int kScaleColumn = kZeroColumn + 2;
  // The extra cells write straight into the definition, found by its index: the pages are
  // rebuilt whenever definitions come or go.
  const auto extra = [this, table, index, dimensions, dimension_entries](int entry, int row) {
    if (entry < dimension_entries) {
      const int d = dimensions[entry];
      auto* zero = new QComboBox(table);
      zero->addItem(QString());
      for (int w = kMinZeroFilling; w <= kMaxZeroFilling; ++w) {
        zero->addItem(QString::number(w));
      }
      const int width = edit_.line_definitions[index].zero_filling[d];
      zero->setCurrentIndex(width == 0 ? 0 : width - 1);
      connect(zero, &QComboBox::currentIndexChanged, this, [this, index, d](int i) {
        edit_.line_definitions[index].zero_filling[d] = static_cast<uint8_t>(i == 0 ? 0 : i + 1);
        Edited();
      });
      table->setCellWidget(row, kZeroColumn, zero);
      auto* placement = new QComboBox(table);
      for (int p = 0; p < kPlacements; ++p) placement->addItem(Text(msg::kFirstPlacement + p));
      placement->setCurrentIndex(static_cast<int>(edit_.line_definitions[index].placements[d]));
      connect(placement, &QComboBox::currentIndexChanged, this, [this, index, d](int i) {
        edit_.line_definitions[index].placements[d] = static_cast<NewComponentPlacement>(i);
        Edited();
      });
      table->setCellWidget(row, kPlacementColumn, placement);
    } else if (entry > dimension_entries) {
      const int v = entry - dimension_entries - 1;
      auto* scale = new QLineEdit(table);
      scale->setText(QString::number(edit_.line_definitions[index].scale_factors[v], 'g', 15));
      scale->setFrame(false);
      connect(scale, &QLineEdit::editingFinished, this, [this, scale, index, v] {
        bool ok = false;
        const double factor = scale->text().trimmed().toDouble(&ok);
        double& kept = edit_.line_definitions[index].scale_factors[v];
        if (ok && factor != kept) {
          kept = factor;
          Edited();
        }
        scale->setText(QString::number(kept, 'g', 15));
      });
      table->setCellWidget(row, kScaleColumn, scale);
    }
  };
  table->SetEntries(
      std::move(entries),
      {Text(msg::kZeroFilling), Text(msg::kNewComponentPlacement), Text(msg::kScaleValuesBy)},
      extra);
  table->resizeColumnToContents(kPlacementColumn);
  connect(table, &FieldSpecTable::Edited, this, &ImportSetupWindow::Edited);
  line_fields_.push_back(table);

  auto* exclude_zero = new QCheckBox(Text(msg::kExcludeZeroLines), page);
  exclude_zero->setChecked(definition.exclude_zero_lines);
  connect(exclude_zero, &QCheckBox::toggled, this, [this, index](bool on) {
    edit_.line_definitions[index].exclude_zero_lines = on;
    Edited();
  });
  auto* conversion = ConversionBox(page);
  conversion->setCurrentIndex(ConversionIndex(definition.line_text_conversion));
  connect(conversion, &QComboBox::currentIndexChanged, this, [this, index](int i) {
    edit_.line_definitions[index].line_text_conversion = kConversions[i];
    Edited();
  });
  auto* options = PartButtons(table, page);
  options->addWidget(exclude_zero);
  options->addSpacing(12);
  options->addWidget(new QLabel(Text(msg::kTextConversion) + QStringLiteral(": ") +
                                    FromEngine(db.GetName(name_id::kLineText)),
                                page));
  options->addWidget(conversion);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(table, 1);
  layout->addLayout(options);
  return page;
}

void ImportSetupWindow::RebuildLinePages() {
  const int current = pages_->currentIndex();
  // The pages between the card page and the preview page.
  while (pages_->count() > 3) {
    QWidget* page = pages_->widget(2);
    pages_->removeTab(2);
    delete page;
  }
  line_fields_.clear();
  for (size_t i = 0; i < edit_.line_definitions.size(); ++i) {
    const std::string number = std::to_string(i + 1);
    pages_->insertTab(static_cast<int>(2 + i), BuildLinePage(static_cast<int>(i)),
                      Text(msg::kLineDefinitionPage, number));
  }
  pages_->setCurrentIndex(std::min(current, pages_->count() - 1));
}

FieldSpecTable* ImportSetupWindow::line_fields(int definition) const {
  return definition >= 0 && definition < static_cast<int>(line_fields_.size())
             ? line_fields_[definition]
             : nullptr;
}

void ImportSetupWindow::AddLineDefinition() {
  edit_.line_definitions.emplace_back();
  RebuildLinePages();
  pages_->setCurrentIndex(static_cast<int>(1 + edit_.line_definitions.size()));
  Edited();
}

void ImportSetupWindow::DeleteLineDefinition() {
  const int index = pages_->currentIndex() - 2;
  if (index < 0 || index >= static_cast<int>(edit_.line_definitions.size()) ||
      edit_.line_definitions.size() < 2) {
    return;
  }
  edit_.line_definitions.erase(edit_.line_definitions.begin() + index);
  RebuildLinePages();
  pages_->setCurrentIndex(
      2 + std::min<int>(index, static_cast<int>(edit_.line_definitions.size()) - 1));
  Edited();
}

// --- Preview page

QWidget* ImportSetupWindow::BuildPreviewPage() {
  auto* page = new QWidget(this);
  file_ = new QLineEdit(page);
  connect(file_, &QLineEdit::editingFinished, this, [this] {
    if (file_->text() != example_file_) SetExampleFile(file_->text());
  });
  auto* choose = new QPushButton(Text(msg::kShowFile), page);
  connect(choose, &QPushButton::clicked, this, &ImportSetupWindow::ChooseFile);
  auto* file_row = new QHBoxLayout;
  file_row->addWidget(new QLabel(Text(msg::kExampleFile), page));
  file_row->addWidget(file_, 1);
  file_row->addWidget(choose);
  preview_view_ = new QTableView(page);
  preview_model_ = new TableModel(this);
  preview_view_->setModel(preview_model_);
  preview_view_->verticalHeader()->hide();
  preview_view_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(file_row);
  layout->addWidget(preview_view_, 1);
  return page;
}

void ImportSetupWindow::ChooseFile() {
  const QString filter = Text(msg::kAllFiles) + QStringLiteral(" (*)");
  const QString chosen =
      QFileDialog::getOpenFileName(this, Text(msg::kExampleFile), example_file_, filter);
  if (!chosen.isEmpty()) SetExampleFile(chosen);
}

void ImportSetupWindow::SetExampleFile(const QString& path) {
  example_file_ = path;
  file_->setText(path);
  UpdatePreview();
}

void ImportSetupWindow::UpdatePreview() {
  preview_model_->SetTable(nullptr);
  preview_ = FixedTable();
  status_->clear();
  if (example_file_.isEmpty()) return;
  FileImportInput input;
  if (!input.Open(ToPath(example_file_))) {
    status_->setText(Text(msg::kUnableToOpen, ToEngine(example_file_)));
    return;
  }
  preview_ = PreviewTable(database(), edit_, PreviewImport(database(), input, edit_, kPreviewRows));
  preview_model_->SetTable(&preview_);
  preview_view_->resizeColumnsToContents();
}

// --- Storing and importing

void ImportSetupWindow::Edited() {
  edited_ = true;
  setWindowTitle(Title());
  if (pages_->currentWidget() == preview_view_->parentWidget()) UpdatePreview();
}

bool ImportSetupWindow::Apply() {
  const ImportSetup& stored = ImportSetups::Of(database()).Store(edit_, stored_name_);
  stored_name_ = stored.name;
  edit_.name = stored.name;
  name_->setText(FromEngine(edit_.name));
  edited_ = false;
  setWindowTitle(Title());
  return true;
}

ImportResult ImportSetupWindow::Import() {
  if (example_file_.isEmpty()) ChooseFile();
  if (example_file_.isEmpty() || !Apply()) return ImportResult();
  const ImportSetup setup = edit_;
  const ImportResult result = ImportTextFile(database(), ToPath(example_file_), setup);
  FlushPendingError();
  UpdatePreview();
  if (result.outcome != ImportOutcome::kFailed) {
    AlertRecord done(msg::kImportedCardsLines);
    done.Arg(static_cast<long long>(result.cards)).Arg(static_cast<long long>(result.lines));
    status_->setText(Text(done));
  }
  return result;
}

}  // namespace jov
