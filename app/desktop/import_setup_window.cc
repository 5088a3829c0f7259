#include "import_setup_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "field_spec_table.h"
#include "file_form.h"
#include "io/import_preview.h"
#include "preview_page.h"
#include "qt_text.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

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
  preview_page_ = new PreviewPage(this);
  pages_->addTab(preview_page_, Text(msg::kPreview));
  RebuildLinePages();
  connect(preview_page_, &PreviewPage::FileChanged, this, &ImportSetupWindow::UpdatePreview);
  connect(pages_, &QTabWidget::currentChanged, this, [this](int) {
    if (pages_->currentWidget() == preview_page_) UpdatePreview();
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
  return AskToApply([this] { return Apply(); });
}

// --- General page

QWidget* ImportSetupWindow::BuildGeneralPage() {
  auto* page = new QWidget(this);
  file_form_ = new FileForm(&edit_, page);
  decimal_separator_ = new QLineEdit(page);
  decimal_separator_->setMaxLength(1);
  decimal_separator_->setMaximumWidth(40);
  decimal_separator_->setObjectName(QStringLiteral("decimal_separator"));
  rows_per_card_ = SpinBox(1, ImportSetup::kMaxRowsPerRecord, page);
  rows_per_line_ = SpinBox(1, ImportSetup::kMaxRowsPerRecord, page);
  date_format_ = new QComboBox(page);
  for (int i = 0; i < kDateFormatCount; ++i) date_format_->addItem(Text(msg::kFirstDateFormat + i));
  date_format_->setObjectName(QStringLiteral("date_format"));
  QFormLayout* form = file_form_->form();
  form->insertRow(3, Text(msg::kDecimalSeparator), decimal_separator_);
  form->addRow(Text(msg::kRowsForCards), rows_per_card_);
  form->addRow(Text(msg::kRowsForLines), rows_per_line_);
  form->addRow(Text(msg::kDateFormat), date_format_);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(file_form_);
  layout->addStretch();

  connect(file_form_, &FileForm::Edited, this, &ImportSetupWindow::Edited);
  const auto read = [this] {
    if (showing_) return;
    ReadGeneral();
    Edited();
  };
  connect(date_format_, &QComboBox::currentIndexChanged, this, read);
  for (QSpinBox* b : {rows_per_card_, rows_per_line_}) {
    connect(b, &QSpinBox::valueChanged, this, read);
  }
  connect(decimal_separator_, &QLineEdit::textEdited, this, read);
  return page;
}

void ImportSetupWindow::ShowGeneral() {
  showing_ = true;
  file_form_->Show();
  decimal_separator_->setText(
      FromEngine(std::string(1, static_cast<char>(edit_.decimal_separator))));
  rows_per_card_->setValue(edit_.rows_per_card);
  rows_per_line_->setValue(edit_.rows_per_line);
  date_format_->setCurrentIndex(static_cast<int>(edit_.date_format));
  title_conversion_->setCurrentIndex(ConversionIndex(edit_.title_conversion));
  notes_conversion_->setCurrentIndex(ConversionIndex(edit_.notes_conversion));
  showing_ = false;
}

// The fields of the General and Card pages that the file form does not edit.
void ImportSetupWindow::ReadGeneral() {
  const std::string decimal = ToEngine(decimal_separator_->text());
  // An empty decimal separator keeps the one before.
  if (!decimal.empty()) edit_.decimal_separator = static_cast<unsigned char>(decimal.front());
  edit_.rows_per_card = rows_per_card_->value();
  edit_.rows_per_line = rows_per_line_->value();
  edit_.date_format = static_cast<DateFormat>(date_format_->currentIndex());
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

void ImportSetupWindow::UpdatePreview() {
  status_->setText(preview_page_->Read([this](ImportInput& input) {
    return PreviewTable(database(), edit_, PreviewImport(database(), input, edit_, kPreviewRows));
  }));
}

// --- Storing and importing

void ImportSetupWindow::Edited() {
  edited_ = true;
  setWindowTitle(Title());
  if (pages_->currentWidget() == preview_page_) UpdatePreview();
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
  if (preview_page_->file().isEmpty()) preview_page_->ChooseFile();
  if (preview_page_->file().isEmpty() || !Apply()) return ImportResult();
  const ImportSetup setup = edit_;
  const ImportResult result = ImportTextFile(database(), ToPath(preview_page_->file()), setup);
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
