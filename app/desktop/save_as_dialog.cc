#include "save_as_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "qt_text.h"
#include "select/selection.h"
#include "selection_editor.h"

namespace jov {
namespace {

// The component choices in the order the combo boxes list them.
constexpr std::array<ComponentChoice, 4> kChoices = {
    ComponentChoice::kAll, ComponentChoice::kUsedAndAncestors, ComponentChoice::kUsed,
    ComponentChoice::kNone};
// The levels of the selection, as stored, in the order listed.
constexpr std::string_view kLevels = "CGL";
// The numbering box: the dimension's own number, none, then the numbers 2 to 16.
constexpr int kOwnNumber = 0;
constexpr int kNoNumber = 1;

int ChoiceIndex(ComponentChoice choice) {
  for (size_t i = 0; i < kChoices.size(); ++i) {
    if (kChoices[i] == choice) return static_cast<int>(i);
  }
  return 0;
}

QComboBox* Box(QWidget* parent, const QStringList& items) {
  auto* box = new QComboBox(parent);
  box->addItems(items);
  return box;
}

}  // namespace

SaveAsDialog::SaveAsDialog(Database& database, QWidget* parent)
    : QDialog(parent),
      database_(database),
      base_(database.Attached<SaveSetups>().in_effect()),
      file_(new QLineEdit(this)),
      setups_(new QComboBox(this)),
      binary_(new QRadioButton(Text(msg::kJovNormal), this)),
      text_(new QRadioButton(Text(msg::kJovText), this)),
      compressed_(new QCheckBox(Text(msg::kSaveSetupCompressed), this)),
      selection_(std::make_unique<Selection>(database)) {
  setWindowTitle(Text(msg::kMenuSaveAs).remove(QStringLiteral("...")));
  file_->setText(FromPath(database.file_name()));
  file_->setMinimumWidth(320);
  auto* browse = new QPushButton(Text(msg::kBrowse), this);
  connect(browse, &QPushButton::clicked, this, &SaveAsDialog::Browse);
  auto* file_row = new QHBoxLayout;
  file_row->addWidget(file_);
  file_row->addWidget(browse);

  setups_->addItem(Text(msg::kSaveSetupName), -1);
  const std::vector<SaveSetup>& named = database.Attached<SaveSetups>().named();
  for (size_t i = 0; i < named.size(); ++i) {
    setups_->addItem(FromEngine(named[i].name), static_cast<int>(i));
  }
  connect(setups_, &QComboBox::currentIndexChanged, this, [this](int) {
    const int named_index = setups_->currentData().toInt();
    const auto& named_setups = database_.Attached<SaveSetups>().named();
    ShowSetup(named_index < 0 ? base_ : named_setups[named_index]);
  });

  auto* form = new QFormLayout;
  form->addRow(Text(msg::kFileName), file_row);
  if (!named.empty()) form->addRow(Text(msg::kSaveSetupName), setups_);
  setups_->setVisible(!named.empty());

  auto* format = new QGroupBox(Text(msg::kSaveSetupFormat), this);
  auto* format_layout = new QVBoxLayout(format);
  format_layout->addWidget(binary_);
  format_layout->addWidget(text_);
  format_layout->addWidget(compressed_);
  format_layout->addStretch();
  connect(binary_, &QRadioButton::toggled, compressed_, &QCheckBox::setEnabled);
  connect(text_, &QRadioButton::toggled, this, [this](bool text) {
    if (!text || file_->text().isEmpty()) return;
    QFileInfo info(file_->text());
    file_->setText(info.path() + '/' + info.completeBaseName() + QStringLiteral(".jox"));
  });
  connect(binary_, &QRadioButton::toggled, this, [this](bool binary) {
    if (!binary || file_->text().isEmpty()) return;
    QFileInfo info(file_->text());
    file_->setText(info.path() + '/' + info.completeBaseName() + QStringLiteral(".jov"));
  });

  auto* sections = new QGroupBox(Text(msg::kSaveSetupSections), this);
  auto* grid = new QGridLayout(sections);
  constexpr int kRows = (kSaveSectionCount + 1) / 2;
  for (int i = 0; i < kSaveSectionCount; ++i) {
    sections_[i] = new QCheckBox(Text(msg::kFirstSaveSection + i), this);
    grid->addWidget(sections_[i], i % kRows, i / kRows);
  }
  auto* choices = new QHBoxLayout;
  choices->addWidget(format);
  choices->addWidget(sections, 1);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(Text(msg::kButtonSave), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(Text(msg::kButtonCancel), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (!file_->text().trimmed().isEmpty()) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* pages = new QTabWidget(this);
  pages->addTab(BuildDimensionsPage(), Text(msg::kSaveSetupDimensions));
  pages->addTab(BuildCardsPage(), Text(msg::kSaveSetupCards));
  pages->addTab(BuildTemplatesPage(), Text(msg::kSaveSetupTemplates));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(choices);
  layout->addWidget(pages, 1);
  layout->addWidget(buttons);
  setMinimumWidth(680);
  const bool is_text = FormatForFileName(database.file_name()) == DatabaseFormat::kText &&
                       !database.file_name().empty();
  (is_text ? text_ : binary_)->setChecked(true);
  compressed_->setEnabled(!is_text);
  ShowSetup(base_);
}

SaveAsDialog::~SaveAsDialog() = default;

// A row per dimension in use: the components written, the code that cards use, the number.
QWidget* SaveAsDialog::BuildDimensionsPage() {
  for (int d = 0; d < kDimensionCount; ++d) {
    if (database_.IsDimensionUsed(d)) shown_dimensions_.push_back(d);
  }
  dimensions_ = new QTableWidget(static_cast<int>(shown_dimensions_.size()), 4, this);
  dimensions_->setHorizontalHeaderLabels(
      {Text(msg::kSaveSetupDimensions), Text(msg::kSaveSetupComponents),
       Text(msg::kSaveSetupCodesInCards), Text(msg::kSaveSetupNumbering)});
  dimensions_->verticalHeader()->hide();
  QStringList choices;
  for (int i = 0; i < static_cast<int>(kChoices.size()); ++i) {
    choices << Text(msg::kFirstComponentChoice + i);
  }
  const QStringList identifiers = {Text(msg::kJovCode), Text(msg::kHostCode),
                                   Text(msg::kComponentText)};
  QStringList numbers = {QString(), Text(msg::kComponentChoiceNone)};
  for (int n = 2; n <= kDimensionCount; ++n) numbers << QString::number(n);
  for (int row = 0; row < dimensions_->rowCount(); ++row) {
    const int d = shown_dimensions_[row];
    auto* name = new QTableWidgetItem(FromEngine(database_.GetName(name_id::kFirstPlural + d)));
    name->setFlags(Qt::ItemIsEnabled);
    dimensions_->setItem(row, kDimensionName, name);
    dimensions_->setCellWidget(row, kComponents, Box(dimensions_, choices));
    dimensions_->setCellWidget(row, kIdentifiers, Box(dimensions_, identifiers));
    // The first dimension keeps its number.
    QComboBox* number = Box(dimensions_, numbers);
    number->setEnabled(d > 0);
    dimensions_->setCellWidget(row, kNumber, number);
  }
  dimensions_->resizeColumnsToContents();
  dimensions_->horizontalHeader()->setStretchLastSection(true);
  return dimensions_;
}

// The selection that limits the cards saved, and the level it applies at.
QWidget* SaveAsDialog::BuildCardsPage() {
  auto* page = new QWidget(this);
  editor_ = new SelectionEditor(database_, page);
  level_ = new QComboBox(page);
  for (int i = 0; i < static_cast<int>(kLevels.size()); ++i) {
    level_->addItem(Text(msg::kFirstSaveLevel + i));
  }
  auto* level_row = new QFormLayout;
  level_row->addRow(Text(msg::kSaveSetupSelection), level_);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(editor_, 1);
  layout->addLayout(level_row);
  return page;
}

QWidget* SaveAsDialog::BuildTemplatesPage() {
  auto* page = new QWidget(this);
  templates_only_ = new QCheckBox(Text(msg::kSaveSetupTemplatesOnly), page);
  template_filter_ = new QLineEdit(page);
  open_templates_ = new QCheckBox(Text(msg::kSaveSetupOpenTemplatesOnly), page);
  auto* form = new QFormLayout(page);
  form->addRow(templates_only_);
  form->addRow(Text(msg::kSaveSetupTemplateFilter), template_filter_);
  form->addRow(open_templates_);
  return page;
}

void SaveAsDialog::ShowSetup(const SaveSetup& setup) {
  compressed_->setChecked(setup.compressed);
  for (int i = 0; i < kSaveSectionCount; ++i) sections_[i]->setChecked(setup.sections[i]);
  for (int row = 0; row < dimensions_->rowCount(); ++row) {
    const int d = shown_dimensions_[row];
    static_cast<QComboBox*>(dimensions_->cellWidget(row, kComponents))
        ->setCurrentIndex(ChoiceIndex(setup.components[d]));
    static_cast<QComboBox*>(dimensions_->cellWidget(row, kIdentifiers))
        ->setCurrentIndex(static_cast<int>(setup.identifiers[d]));
    const int number = setup.new_numbers[d];
    static_cast<QComboBox*>(dimensions_->cellWidget(row, kNumber))
        ->setCurrentIndex(number == 0                        ? kOwnNumber
                          : number == SaveSetup::kNumberNone ? kNoNumber
                                                             : number);
  }
  selection_->Clear();
  for (const std::string& line : setup.selection_lines) selection_->ReadBlockLine(line);
  editor_->Load(*selection_);
  const size_t level = kLevels.find(setup.level);
  level_->setCurrentIndex(level == std::string_view::npos ? 0 : static_cast<int>(level));
  templates_only_->setChecked(setup.only_for_templates);
  template_filter_->setText(FromEngine(setup.template_filter));
  open_templates_->setChecked(setup.open_templates_only);
}

void SaveAsDialog::Browse() {
  const QString filter = Text(msg::kJovFiles) + QStringLiteral(" (*.jov *.jox)");
  const QString chosen = QFileDialog::getSaveFileName(this, windowTitle(), file_->text(), filter);
  if (chosen.isEmpty()) return;
  file_->setText(chosen);
  (FormatForFileName(ToPath(chosen)) == DatabaseFormat::kText ? text_ : binary_)->setChecked(true);
}

std::string SaveAsDialog::path() const { return ToPath(file_->text().trimmed()); }

DatabaseFormat SaveAsDialog::format() const {
  return text_->isChecked() ? DatabaseFormat::kText : DatabaseFormat::kBinary;
}

SaveSetup SaveAsDialog::setup() const {
  const int named_index = setups_->currentData().toInt();
  SaveSetup setup = named_index < 0 ? base_ : database_.Attached<SaveSetups>().named()[named_index];
  setup.compressed = compressed_->isChecked();
  for (int i = 0; i < kSaveSectionCount; ++i) setup.sections[i] = sections_[i]->isChecked();
  for (int row = 0; row < dimensions_->rowCount(); ++row) {
    const int d = shown_dimensions_[row];
    const auto box = [this, row](int column) {
      return static_cast<QComboBox*>(dimensions_->cellWidget(row, column))->currentIndex();
    };
    setup.components[d] = kChoices[box(kComponents)];
    setup.identifiers[d] = static_cast<IdentifierKind>(box(kIdentifiers));
    const int number = box(kNumber);
    setup.new_numbers[d] = number == kOwnNumber  ? 0
                           : number == kNoNumber ? SaveSetup::kNumberNone
                                                 : number;
  }
  editor_->Store(*selection_);
  setup.selection_lines.clear();
  if (!selection_->IsEmpty()) setup.selection_lines = selection_->BlockLines('B');
  setup.level = kLevels[level_->currentIndex()];
  setup.only_for_templates = templates_only_->isChecked();
  setup.template_filter = ToEngine(template_filter_->text());
  setup.open_templates_only = open_templates_->isChecked();
  return setup;
}

}  // namespace jov
