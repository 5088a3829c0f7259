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
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "qt_text.h"

namespace jov {
SaveAsDialog::SaveAsDialog(Database& database, QWidget* parent)
    : QDialog(parent),
      database_(database),
      base_(database.Attached<SaveSetups>().in_effect()),
      file_(new QLineEdit(this)),
      setups_(new QComboBox(this)),
      binary_(new QRadioButton(Text(msg::kJovNormal), this)),
      text_(new QRadioButton(Text(msg::kJovText), this)),
      compressed_(new QCheckBox(Text(msg::kSaveSetupCompressed), this)) {
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

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(choices);
  layout->addWidget(buttons);
  const bool is_text = FormatForFileName(database.file_name()) == DatabaseFormat::kText &&
                       !database.file_name().empty();
  (is_text ? text_ : binary_)->setChecked(true);
  compressed_->setEnabled(!is_text);
  ShowSetup(base_);
}

void SaveAsDialog::ShowSetup(const SaveSetup& setup) {
  compressed_->setChecked(setup.compressed);
  for (int i = 0; i < kSaveSectionCount; ++i) sections_[i]->setChecked(setup.sections[i]);
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
  return setup;
}

}  // namespace jov
