#include "analysis_window.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "aggregate_dialog.h"
#include "analysis_chart.h"
#include "analysis_settings.h"
#include "qt_text.h"
#include "shell/alert.h"
#include "shell/pending_error.h"
#include "transform_dialog.h"

namespace jov {
namespace {

// The kinds whose windows hold lines that Transform and Aggregate can work on.
bool HoldsLines(AnalysisKind kind) {
  return kind == AnalysisKind::kComponents || kind == AnalysisKind::kLines ||
         kind == AnalysisKind::kCards;
}

// The Install Template dialog: the template's name, how it opens with its database, and
// whether its window keeps the place it has now.
class InstallTemplateDialog : public QDialog {
 public:
  InstallTemplateDialog(TemplateFrame& frame, QWidget* parent)
      : QDialog(parent),
        name_(new QLineEdit(FromEngine(frame.name), this)),
        fixed_(new QCheckBox(Text(msg::kFixedPosition), this)) {
    setWindowTitle(Text(msg::kInstallTemplate));
    auto* form = new QFormLayout;
    form->addRow(Text(msg::kTemplateName), name_);
    const auto flag = [&](MessageId label, bool& value) {
      auto* box = new QCheckBox(Text(label), this);
      box->setChecked(value);
      connect(this, &QDialog::accepted, box, [box, &value] { value = box->isChecked(); });
      form->addRow(QString(), box);
    };
    flag(msg::kOpenDirectly, frame.open_directly);
    flag(msg::kCalculateDirectly, frame.calculate_directly);
    flag(msg::kZoomDirectly, frame.zoom_directly);
    fixed_->setChecked(frame.position_x != 0 || frame.position_y != 0);
    form->addRow(QString(), fixed_);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(Text(msg::kButtonInstall), QDialogButtonBox::AcceptRole);
    ok_->setDefault(true);
    buttons->addButton(Text(msg::kButtonCancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A template needs a name.
    const auto check = [this] { ok_->setEnabled(!name_->text().trimmed().isEmpty()); };
    connect(name_, &QLineEdit::textChanged, this, check);
    check();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
  }
  std::string name() const { return ToEngine(name_->text().trimmed()); }
  bool fixed_position() const { return fixed_->isChecked(); }

 private:
  QLineEdit* name_;
  QCheckBox* fixed_;
  QPushButton* ok_;
};

}  // namespace

AnalysisWindow::AnalysisWindow(Database& database, const AnalysisWindowKind& kind,
                               const AnalysisTemplate* stored, QWidget* parent)
    : TableWindow(database, Kind::kAnalysis, parent),
      kind_(kind),
      analysis_(stored != nullptr ? kind.engine->open(database, *stored)
                                  : kind.engine->create(database)),
      status_(new QLabel(this)) {
  if (analysis_ == nullptr) analysis_ = kind.engine->create(database);
  if (frame().name.empty()) frame().name = ToEngine(Text(kind.name).remove('&'));
  AddCommand(msg::kCalculate, QKeySequence(Qt::Key_F5), [this] { Calculate(); });
  AddCommand(msg::kAnalysisSettingsCommand, QKeySequence(Qt::ALT | Qt::Key_Return),
             [this] { EditSettings(); });
  if (kind_.expand_all != nullptr) {
    AddCommand(msg::kMenuExpandAll, QKeySequence(Qt::CTRL | Qt::Key_Plus),
               [this] { ExpandAll(true); });
    AddCommand(msg::kCollapseAll, QKeySequence(Qt::CTRL | Qt::Key_Minus),
               [this] { ExpandAll(false); });
  }
  AddCommand(msg::kMenuInstallTemplate, {}, [this] { InstallTemplateDialog(); });
  AddCommand(msg::kMenuRemoveTemplate, {}, [this] { RemoveTemplate(); });
  AddCommand(msg::kMenuSetDefaults, {}, [this] { SetDefaults(); });
  AddCommand(msg::kMenuSetColumnWidths, {}, [this] { SetColumnWidths(); });
  AddCommand(msg::kMenuZoom, QKeySequence(Qt::CTRL | Qt::Key_M), [this] { Zoom(); });
  if (kind_.card_of_row != nullptr) {
    AddCommand(msg::kOpenCard, QKeySequence(Qt::CTRL | Qt::Key_Return), [this] {
      if (view()->currentIndex().isValid()) ActivateRow(view()->currentIndex().row());
    });
  }
  if (kind_.mark != nullptr) {
    AddCommand(msg::kMenuExamine, {}, [this] { Mark(CardMark::kExamined); });
    AddCommand(msg::kMenuApprove, {}, [this] { Mark(CardMark::kApproved); });
  }
  if (kind_.delete_data != nullptr) AddCommand(msg::kMenuDeleteData, {}, [this] { DeleteData(); });
  if (HoldsLines(frame().kind)) {
    AddCommand(msg::kMenuTransform, {}, [this] { Rewrite(&RunTransformDialog); });
    AddCommand(msg::kMenuAggregate, {}, [this] { Rewrite(&RunAggregateDialog); });
  }
  // The first buttons of the row: the two commands used most.
  for (int i = 1; i >= 0; --i) {
    auto* button = new QPushButton(commands_[i]->text().remove('&'), this);
    connect(button, &QPushButton::clicked, commands_[i], &QAction::trigger);
    button_row()->insertWidget(0, button);
  }
  button_row()->insertWidget(button_row()->count() - 1, status_);
  // The kinds with a chart show it beside the table; Chart shows or hides it.
  chart_ = MakeChartPane(*analysis_, panes());
  if (chart_ != nullptr) {
    panes()->addWidget(chart_);
    panes()->setStretchFactor(0, 3);
    panes()->setStretchFactor(1, 2);
    AddCommand(msg::kChart, QKeySequence(Qt::CTRL | Qt::Key_G),
               [this] { chart_->setVisible(!chart_->isVisible()); });
  }
  connect(view(), &QTableView::doubleClicked, this,
          [this](const QModelIndex& index) { ActivateRow(index.row()); });
  view()->horizontalHeader()->setSectionsClickable(true);
  connect(view()->horizontalHeader(), &QHeaderView::sectionClicked, this,
          &AnalysisWindow::SortByColumn);
  ShowResult();
}

AnalysisWindow::~AnalysisWindow() = default;

void AnalysisWindow::Rewrite(RewriteDialog run) {
  if (!calculated() && !Calculate()) return;
  LineSet lines;
  CardLevel level = CardLevel::kLines;
  if (!analysis_->CollectHeldLines(lines, level) || !lines.Any()) return;
  if (run(database(), WindowLines{&lines, level}, this)) Calculate();
}

void AnalysisWindow::AddCommand(MessageId caption, const QKeySequence& shortcut,
                                std::function<void()> run) {
  auto* action = new QAction(Text(caption), this);
  action->setShortcut(shortcut);
  action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(action, &QAction::triggered, this, std::move(run));
  addAction(action);
  commands_.append(action);
}

QString AnalysisWindow::Title() const { return TitleOf(FromEngine(analysis_->Title())); }

void AnalysisWindow::Refresh() { ShowResult(); }

void AnalysisWindow::OnDatabaseChange(Database& database, ChangeCode code, int argument,
                                      int argument2) {
  HideTable();
  TableWindow::OnDatabaseChange(database, code, argument, argument2);
}

void AnalysisWindow::ShowResult() {
  ShowTable(*analysis_);
  if (chart_ != nullptr) chart_->Refresh();
  status_->setText(calculated() ? QString() : Text(msg::kNotCalculated));
  Q_EMIT TitleChanged();
}

bool AnalysisWindow::Calculate() {
  const bool done = analysis_->Calculate();
  FlushPendingError();
  ShowResult();
  return done;
}

std::unique_ptr<AnalysisSettingsDialog> AnalysisWindow::NewSettingsDialog() {
  return kind_.settings(*analysis_, this);
}

void AnalysisWindow::EditSettings() {
  const bool was_calculated = calculated();
  const std::unique_ptr<AnalysisSettingsDialog> dialog = NewSettingsDialog();
  if (dialog->exec() != QDialog::Accepted) return;
  if (was_calculated) {
    Calculate();
  } else {
    ShowResult();
  }
}

void AnalysisWindow::ActivateRow(int row) {
  if (kind_.toggle_row != nullptr) {
    if (kind_.toggle_row(*analysis_, row)) ShowResult();
    return;
  }
  if (kind_.card_of_row == nullptr) return;
  const CardRef card = kind_.card_of_row(*analysis_, row);
  if (card != kNoRecord) Q_EMIT CardRequested(database(), database().cards().CardId(card));
}

void AnalysisWindow::SortByColumn(int column) {
  if (kind_.sort_by_column == nullptr || !kind_.sort_by_column(*analysis_, column)) return;
  // The order is part of the result: a calculated window shows it at once.
  if (calculated()) {
    Calculate();
  } else {
    ShowResult();
  }
}

void AnalysisWindow::ExpandAll(bool expand) {
  if (kind_.expand_all == nullptr) return;
  kind_.expand_all(*analysis_, expand);
  ShowResult();
}

void AnalysisWindow::InstallTemplate(const std::string& name, bool fixed_position) {
  TemplateFrame& stored = frame();
  // The window opens as large as it is now, and where it is now when its place is fixed.
  const QWidget* sub = parentWidget() != nullptr ? parentWidget() : this;
  stored.width = sub->width();
  stored.height = sub->height();
  stored.position_x = fixed_position ? sub->x() : 0;
  stored.position_y = fixed_position ? sub->y() : 0;
  AnalysisTemplates::Of(database()).Store(kind_.engine->to_template(*analysis_, name));
  stored.name = name;
  ShowResult();
}

void AnalysisWindow::InstallTemplateDialog() {
  jov::InstallTemplateDialog dialog(frame(), this);
  if (dialog.exec() == QDialog::Accepted) InstallTemplate(dialog.name(), dialog.fixed_position());
}

bool AnalysisWindow::RemoveTemplate() {
  AnalysisTemplates& templates = AnalysisTemplates::Of(database());
  const AnalysisTemplate* stored = templates.Find(frame().name);
  if (stored == nullptr || stored->frame.kind != kind_.engine->kind) return false;
  AlertRecord question(msg::kRemoveTemplateQuestion);
  question.Arg(stored->frame.name)
      .ConfirmButton(msg::kButtonRemove, msg::kButtonYes)
      .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
  if (ReportAlert(question) != 0) return false;
  return templates.Remove(frame().name);
}

void AnalysisWindow::SetColumnWidths() {
  Table& table = analysis();
  bool kept = false;
  for (int column = 0; column + 1 < table.ColumnCount(); ++column) {
    kept |= table.SetColumnWidth(column, view()->columnWidth(column));
  }
  if (kept) ShowTable(table);
}

void AnalysisWindow::SetDefaults() {
  AskToSetDefaults(AnalysisTemplates::Of(database()),
                   kind_.engine->to_template(*analysis_, frame().name));
  FlushPendingError();
}

void AnalysisWindow::Zoom() {
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (sub == nullptr) return;
  if (sub->isMaximized()) {
    sub->showNormal();
  } else {
    sub->showMaximized();
  }
}

bool AnalysisWindow::DeleteData() {
  if (kind_.delete_data == nullptr) return false;
  const bool done = kind_.delete_data(*analysis_, close_cards_);
  FlushPendingError();
  return done;
}

bool AnalysisWindow::Mark(CardMark mark) {
  if (kind_.mark == nullptr) return false;
  const bool done = kind_.mark(*analysis_, mark);
  FlushPendingError();
  return done;
}

}  // namespace jov
