#include "dim_import_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "field_spec_table.h"
#include "file_form.h"
#include "preview_page.h"
#include "qt_text.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

constexpr int kMethods = 4;

QString DimensionName(const Database& database, int dimension) {
  return FromEngine(database.GetName(name_id::kFirstPlural + dimension));
}

}  // namespace

DimImportWindow::DimImportWindow(Database& database, int dimension, QWidget* parent)
    : DatabaseWindow(database, Kind::kDimImport, parent),
      dimension_(dimension),
      edit_(DimImports::Of(database).of(dimension).value_or(DefaultDimImport())),
      pages_(new QTabWidget(this)),
      file_form_(new FileForm(&edit_.file, this)),
      preview_page_(new PreviewPage(this)),
      status_(new QLabel(this)) {
  auto* file_page = new QWidget(this);
  auto* file_layout = new QVBoxLayout(file_page);
  file_layout->addWidget(file_form_);
  file_layout->addStretch();
  connect(file_form_, &FileForm::Edited, this, &DimImportWindow::Edited);
  pages_->addTab(file_page, Text(msg::kDimImportFile));
  pages_->addTab(BuildHierarchyPage(), Text(msg::kHierarchy));
  pages_->addTab(preview_page_, Text(msg::kPreview));
  connect(preview_page_, &PreviewPage::FileChanged, this, &DimImportWindow::UpdatePreview);
  connect(pages_, &QTabWidget::currentChanged, this, [this](int) {
    if (pages_->currentWidget() == preview_page_) UpdatePreview();
  });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* import = new QPushButton(Text(msg::kImportButton), this);
  connect(import, &QPushButton::clicked, this, &DimImportWindow::Import);
  auto* apply = new QPushButton(Text(msg::kApply), this);
  apply->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
  connect(apply, &QPushButton::clicked, this, &DimImportWindow::Apply);
  buttons->addWidget(import);
  buttons->addWidget(apply);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(pages_, 1);
  layout->addWidget(status_);
  layout->addLayout(buttons);
  ShowHierarchy();
  setWindowTitle(Title());
}

DimImportWindow::~DimImportWindow() = default;

QString DimImportWindow::Title() const {
  return TitleOf(Text(msg::kDimImportTitle, ToEngine(DimensionName(database(), dimension_))));
}

void DimImportWindow::Refresh() {
  setWindowTitle(Title());
  // The preview depends on the components the dimension holds.
  if (pages_->currentWidget() == preview_page_) UpdatePreview();
}

bool DimImportWindow::MayClose() {
  if (!edited_) return true;
  return AskToApply([this] {
    Apply();
    return true;
  });
}

// --- Hierarchy page

QWidget* DimImportWindow::BuildHierarchyPage() {
  auto* page = new QWidget(this);
  method_ = new QComboBox(page);
  for (int m = 0; m < kMethods; ++m) method_->addItem(Text(msg::kFirstHierarchyMethod + m));
  search_ = new QComboBox(page);
  for (const MessageId label : {msg::kJovCode, msg::kComponentText, msg::kHostCode}) {
    search_->addItem(Text(label));
  }
  create_parents_ = new QSpinBox(page);
  create_parents_->setRange(0, DimImport::kMaxCreateParentsLevel);
  create_parents_->setSpecialValueText(Text(msg::kConversionNone));
  zero_filling_ = new QComboBox(page);
  zero_filling_->addItem(Text(msg::kConversionNone));
  for (int w = DimImport::kMinZeroFilling; w <= DimImport::kMaxZeroFilling; ++w) {
    zero_filling_->addItem(QString::number(w));
  }
  // Named for the tests.
  method_->setObjectName(QStringLiteral("method"));
  search_->setObjectName(QStringLiteral("search"));
  create_parents_->setObjectName(QStringLiteral("create_parents"));
  zero_filling_->setObjectName(QStringLiteral("zero_filling"));

  auto* form = new QFormLayout;
  form->addRow(Text(msg::kHierarchy), method_);
  form->addRow(Text(msg::kSearchParentUsing), search_);
  form->addRow(Text(msg::kCreateParentsUpTo), create_parents_);
  form->addRow(Text(msg::kZeroFilling) + QStringLiteral(": ") + Text(msg::kHostCode),
               zero_filling_);
  fields_ = new FieldSpecTable(page);
  connect(fields_, &FieldSpecTable::Edited, this, &DimImportWindow::Edited);
  auto* parts = new QHBoxLayout;
  auto* add = new QPushButton(Text(msg::kAddFieldPart), page);
  auto* remove = new QPushButton(Text(msg::kRemoveFieldPart), page);
  connect(add, &QPushButton::clicked, fields_, &FieldSpecTable::AddPart);
  connect(remove, &QPushButton::clicked, fields_, &FieldSpecTable::RemovePart);
  parts->addWidget(add);
  parts->addWidget(remove);
  parts->addStretch();

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(form);
  layout->addWidget(fields_, 1);
  layout->addLayout(parts);

  const auto read = [this] {
    if (showing_) return;
    ReadHierarchy();
    Edited();
  };
  for (QComboBox* box : {method_, search_, zero_filling_}) {
    connect(box, &QComboBox::currentIndexChanged, this, read);
  }
  connect(create_parents_, &QSpinBox::valueChanged, this, read);
  return page;
}

// The field table; the fourth field is the Level Number or the Parent, after the method.
void DimImportWindow::ShowFields() {
  const MessageId fourth =
      edit_.method == HierarchyMethod::kLevelNumbers ? msg::kLevelNumber : msg::kParentField;
  fields_->SetEntries({{Text(msg::kJovCode), &edit_.code},
                       {Text(msg::kComponentText), &edit_.text},
                       {Text(msg::kHostCode), &edit_.host},
                       {Text(fourth), &edit_.level_or_parent}});
}

void DimImportWindow::ShowHierarchy() {
  showing_ = true;
  method_->setCurrentIndex(static_cast<int>(edit_.method));
  search_->setCurrentIndex(static_cast<int>(edit_.search));
  create_parents_->setValue(edit_.create_parents_level);
  zero_filling_->setCurrentIndex(edit_.zero_filling == 0 ? 0 : edit_.zero_filling - 1);
  // Only the settings of the chosen method can be set.
  search_->setEnabled(edit_.method == HierarchyMethod::kParentLinks);
  create_parents_->setEnabled(edit_.method == HierarchyMethod::kCodePath);
  ShowFields();
  showing_ = false;
}

void DimImportWindow::ReadHierarchy() {
  const auto method = static_cast<HierarchyMethod>(method_->currentIndex());
  const bool method_changed = method != edit_.method;
  edit_.method = method;
  edit_.search = static_cast<ParentSearch>(search_->currentIndex());
  edit_.create_parents_level = create_parents_->value();
  const int zero = zero_filling_->currentIndex();
  edit_.zero_filling = zero == 0 ? 0 : zero + 1;
  if (method_changed) ShowHierarchy();
}

// --- Preview

void DimImportWindow::UpdatePreview() {
  status_->setText(preview_page_->Read([this](ImportInput& input) {
    return PreviewDimImport(database(), dimension_, input, edit_, kPreviewRows);
  }));
}

// --- Storing and importing

void DimImportWindow::Edited() {
  edited_ = true;
  if (pages_->currentWidget() == preview_page_) UpdatePreview();
}

void DimImportWindow::Apply() {
  std::optional<DimImport>& stored = DimImports::Of(database()).of(dimension_);
  if (!stored || *stored != edit_) {
    stored = edit_;
    database().MarkModified();
  }
  edited_ = false;
}

DimImportResult DimImportWindow::Import() {
  if (preview_page_->file().isEmpty()) preview_page_->ChooseFile();
  const std::string path = ToPath(preview_page_->file());
  if (path.empty()) return DimImportResult();
  Apply();
  std::optional<DimImportResult> taken = importer_ ? importer_(path) : std::nullopt;
  const DimImportResult result =
      taken ? *taken : ImportDimensionFile(database(), dimension_, path, edit_);
  FlushPendingError();
  if (result.outcome == DimImportOutcome::kDone) {
    status_->setText(Text(msg::kComponentsImported, std::to_string(result.added),
                          ToEngine(DimensionName(database(), dimension_))));
  }
  UpdatePreview();
  return result;
}

}  // namespace jov
