#include "base_window.h"

#include <QHeaderView>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "analysis/time_scale_list.h"
#include "analysis_window_kinds.h"
#include "automation/macro.h"
#include "files/analysis_template.h"
#include "io/import_setup.h"
#include "qt_text.h"
#include "select/subset_list.h"

namespace jov {
namespace {

// What an entry opens, kept in its data.
enum Entry {
  kNothing,
  kInfo,
  kTimeScale,
  kTemplates,
  kDimension,
  kImportSetup,
  kMacro,
  kSubset,
  kNewAnalysis,
  kTemplate
};
constexpr int kEntryRole = Qt::UserRole;
constexpr int kIndexRole = Qt::UserRole + 1;

int ComponentCount(const Database& db, int dimension) {
  int count = 0;
  const ComponentRef root = static_cast<ComponentRef>(dimension);
  for (ComponentRef ref = db.NextInPreorder(root); ref != root; ref = db.NextInPreorder(ref)) {
    ++count;
  }
  return count;
}

QTreeWidgetItem* Add(QTreeWidgetItem* parent, const QString& name, const QString& count,
                     Entry entry, int index = 0) {
  auto* item = new QTreeWidgetItem(parent, {name, count});
  item->setData(0, kEntryRole, entry);
  item->setData(0, kIndexRole, index);
  item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

}  // namespace

BaseWindow::BaseWindow(Database& database, QWidget* parent)
    : DatabaseWindow(database, Kind::kBase, parent), tree_(new QTreeWidget(this)) {
  tree_->setColumnCount(2);
  tree_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  tree_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  tree_->header()->setStretchLastSection(false);
  connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { Open(item); });
  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tree_, &QWidget::customContextMenuRequested, this, &BaseWindow::ShowContextMenu);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tree_);
  Refresh();
}

QString BaseWindow::Title() const { return DatabaseName(database()); }

void BaseWindow::Refresh() {
  Database& db = database();
  tree_->clear();
  tree_->setHeaderLabels({Text(msg::kTimeScalePeriodName), Text(msg::kCountColumn)});
  auto* dimensions = new QTreeWidgetItem(tree_, {Text(msg::kMenuDimensions)});
  // The dimensions with components, and the first one after them, where new ones can start.
  int last = -1;
  for (int d = 0; d < kDimensionCount; ++d) {
    if (db.HasComponents(d)) last = d;
  }
  for (int d = 0; d < kDimensionCount; ++d) {
    if (!db.HasComponents(d) && d != last + 1) continue;
    Add(dimensions, FromEngine(db.GetName(name_id::kFirstPlural + d)),
        QString::number(ComponentCount(db, d)), kDimension, d);
  }
  auto* scales = new QTreeWidgetItem(tree_, {Text(msg::kMenuTimeScales)});
  const TimeScaleList& list = TimeScaleList::Of(db);
  for (size_t i = 0; i < list.size(); ++i) {
    Add(scales, FromEngine(list.at(i).name()), QString::number(list.at(i).entries().size()),
        kTimeScale, static_cast<int>(i));
  }
  auto* setups = new QTreeWidgetItem(tree_, {Text(msg::kMenuImportSetups)});
  for (const ImportSetup& setup : ImportSetups::Of(db).named()) {
    Add(setups, FromEngine(setup.name), QString(), kImportSetup);
  }
  auto* macros = new QTreeWidgetItem(tree_, {Text(msg::kMenuMacros)});
  for (const auto& macro : MacroList::Of(db).macros()) {
    Add(macros, FromEngine(macro->name), QString(), kMacro);
  }
  auto* subsets = new QTreeWidgetItem(tree_, {Text(msg::kMenuSubsets)});
  const std::vector<std::unique_ptr<Subset>>& subset_list = SubsetList::Of(db).subsets();
  for (size_t i = 0; i < subset_list.size(); ++i) {
    const int64_t count = subset_list[i]->Count();
    Add(subsets, FromEngine(subset_list[i]->name()), count < 0 ? QString() : QString::number(count),
        kSubset, static_cast<int>(i));
  }
  auto* analyses = new QTreeWidgetItem(tree_, {Text(msg::kNewAnalysis)});
  for (const AnalysisWindowKind& kind : AnalysisWindowKinds()) {
    Add(analyses, Text(kind.name).remove('&'), QString(), kNewAnalysis,
        static_cast<int>(kind.engine->kind));
  }
  const std::vector<AnalysisTemplate>& stored = AnalysisTemplates::Of(db).templates();
  QTreeWidgetItem* templates = Add(tree_->invisibleRootItem(), Text(msg::kInfoAnalysisTemplates),
                                   QString::number(stored.size()), kTemplates);
  for (size_t i = 0; i < stored.size(); ++i) {
    Add(templates, FromEngine(stored[i].frame.name), QString(), kTemplate, static_cast<int>(i));
  }
  Add(tree_->invisibleRootItem(), Text(msg::kMenuDatabaseInfo), QString(), kInfo);
  tree_->expandAll();
  setWindowTitle(Title());
}

void BaseWindow::Open(QTreeWidgetItem* item) {
  switch (item->data(0, kEntryRole).toInt()) {
    case kInfo:
      Q_EMIT InfoRequested(database());
      break;
    case kTemplates:
      Q_EMIT TemplatesRequested(database());
      break;
    case kDimension:
      Q_EMIT DimensionRequested(database(), item->data(0, kIndexRole).toInt());
      break;
    case kNewAnalysis:
      Q_EMIT AnalysisRequested(database(),
                               static_cast<AnalysisKind>(item->data(0, kIndexRole).toInt()));
      break;
    case kTemplate: {
      const size_t index = item->data(0, kIndexRole).toUInt();
      const std::vector<AnalysisTemplate>& stored = AnalysisTemplates::Of(database()).templates();
      if (index < stored.size()) Q_EMIT TemplateRequested(database(), stored[index]);
      break;
    }
    case kTimeScale: {
      const size_t index = item->data(0, kIndexRole).toUInt();
      TimeScaleList& list = TimeScaleList::Of(database());
      if (index < list.size()) Q_EMIT TimeScaleRequested(database(), &list.at(index));
      break;
    }
    case kImportSetup:
      Q_EMIT ImportSetupRequested(database(), ToEngine(item->text(0)));
      break;
    case kMacro:
      Q_EMIT MacroRequested(database(), ToEngine(item->text(0)));
      break;
    case kSubset: {
      const size_t index = item->data(0, kIndexRole).toUInt();
      const auto& subsets = SubsetList::Of(database()).subsets();
      if (index < subsets.size()) Q_EMIT SubsetRequested(database(), subsets[index].get());
      break;
    }
    default:
      break;
  }
}

// A dimension's menu opens its import setup.
void BaseWindow::ShowContextMenu(const QPoint& position) {
  QTreeWidgetItem* item = tree_->itemAt(position);
  if (item == nullptr || item->data(0, kEntryRole).toInt() != kDimension) return;
  const int dimension = item->data(0, kIndexRole).toInt();
  QMenu menu(this);
  menu.addAction(Text(msg::kDimImportTitle, ToEngine(item->text(0))), this,
                 [this, dimension] { Q_EMIT DimImportRequested(database(), dimension); });
  menu.exec(tree_->viewport()->mapToGlobal(position));
}

}  // namespace jov
