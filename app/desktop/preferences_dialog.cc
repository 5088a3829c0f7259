#include "preferences_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QVBoxLayout>

#include "qt_text.h"
#include "shell/messages.h"

namespace jov {
namespace {

struct Look {
  int code;           // the "GUI" style number
  MessageId name;     // as the chooser shows it
  const char* style;  // Qt's style
  QRgb window;        // the window colour of its palette; 0 keeps the style's own
};

constexpr Look kLooks[] = {
    {0, msg::kPreferencesDefault, "Fusion", 0},
    {2, msg::kLookMacOs7, "Fusion", qRgb(0xDD, 0xDD, 0xDD)},
    {3, msg::kLookMacOs8, "Fusion", qRgb(0xCC, 0xCC, 0xCC)},
    {4, msg::kLookWindows31, "Windows", qRgb(0xFF, 0xFF, 0xFF)},
    {5, msg::kLookWindows95, "Windows", qRgb(0xC0, 0xC0, 0xC0)},
};

const Look& LookOf(int code) {
  for (const Look& look : kLooks) {
    if (look.code == code) return look;
  }
  return kLooks[0];
}

QButtonGroup* Choice(QWidget* parent, QBoxLayout* layout, MessageId first, MessageId second,
                     bool second_checked) {
  auto* group = new QButtonGroup(parent);
  for (const MessageId caption : {first, second}) {
    auto* radio = new QRadioButton(Text(caption), parent);
    group->addButton(radio, caption == second ? 1 : 0);
    layout->addWidget(radio);
  }
  group->button(second_checked ? 1 : 0)->setChecked(true);
  return group;
}

}  // namespace

void ApplyLook(const Preferences& preferences) {
  const Look& look = LookOf(preferences.gui_style);
  QApplication::setStyle(QStyleFactory::create(QString::fromLatin1(look.style)));
  QPalette palette = QApplication::style()->standardPalette();
  if (look.window != 0) {
    palette.setColor(QPalette::Window, QColor(look.window));
    palette.setColor(QPalette::Button, QColor(look.window));
  }
  QApplication::setPalette(palette);
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  if (preferences.sans_serif) font.setFamily(QStringLiteral("Sans Serif"));
  QApplication::setFont(font);
}

PreferencesDialog::PreferencesDialog(const Preferences& preferences, QWidget* parent)
    : QDialog(parent),
      preferences_(preferences),
      language_(new QComboBox(this)),
      look_(new QComboBox(this)),
      check_files_(new QCheckBox(Text(msg::kCheckFileUpdates), this)),
      sans_serif_(new QCheckBox(Text(msg::kUseSansSerif), this)) {
  setWindowTitle(Text(msg::kPreferences));
  for (const int language : LanguageChooserOrder()) {
    language_->addItem(FromEngine(LanguageName(language)), language);
  }
  language_->setCurrentIndex(language_->findData(preferences.language));
  for (const Look& look : kLooks) look_->addItem(Text(look.name), look.code);
  look_->setCurrentIndex(look_->findData(LookOf(preferences.gui_style).code));
  check_files_->setChecked(preferences.check_files);
  sans_serif_->setChecked(preferences.sans_serif);

  auto* general = new QGroupBox(Text(msg::kPreferencesGeneral), this);
  auto* general_form = new QFormLayout(general);
  general_form->addRow(Text(msg::kLanguage), language_);
  general_form->addRow(check_files_);

  auto* interface = new QGroupBox(Text(msg::kPreferencesUserInterface), this);
  auto* interface_form = new QFormLayout(interface);
  interface_form->addRow(Text(msg::kLook), look_);
  auto* dragging = new QHBoxLayout;
  dragging_ =
      Choice(this, dragging, msg::kDraggingDiagonal, msg::kDraggingCenter, preferences.center_drag);
  interface_form->addRow(Text(msg::kPreferencesDragging), dragging);
  auto* alerts = new QHBoxLayout;
  alerts_ = Choice(this, alerts, msg::kAlertsDoDont, msg::kAlertsYesNo, preferences.alert_yes_no);
  interface_form->addRow(Text(msg::kPreferencesAlerts), alerts);
  interface_form->addRow(Text(msg::kFont), sans_serif_);

  auto* system = new QGroupBox(Text(msg::kSystemSetup), this);
  auto* system_layout = new QHBoxLayout(system);
  auto* associate = new QPushButton(Text(msg::kAssociateFileTypes), this);
  connect(associate, &QPushButton::clicked, this, &PreferencesDialog::AssociateRequested);
  system_layout->addWidget(associate);
  system_layout->addStretch();

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(Text(msg::kButtonOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(Text(msg::kButtonCancel), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(general);
  layout->addWidget(interface);
  layout->addWidget(system);
  layout->addWidget(buttons);
}

Preferences PreferencesDialog::Values() const {
  Preferences values = preferences_;
  values.language = language_->currentData().toInt();
  values.gui_style = look_->currentData().toInt();
  values.center_drag = dragging_->checkedId() == 1;
  values.alert_yes_no = alerts_->checkedId() == 1;
  values.check_files = check_files_->isChecked();
  values.sans_serif = sans_serif_->isChecked();
  return values;
}

}  // namespace jov
