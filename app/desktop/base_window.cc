#include "base_window.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "analysis/time_scale_list.h"
#include "files/analysis_template.h"
#include "qt_text.h"

namespace jov {
namespace {

// What an entry opens, kept in its data.
enum Entry { kNothing, kInfo, kTimeScale, kTemplates };
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
  for (int d = 0; d < kDimensionCount; ++d) {
    if (!db.HasComponents(d)) continue;
    Add(dimensions, FromEngine(db.GetName(name_id::kFirstPlural + d)),
        QString::number(ComponentCount(db, d)), kNothing);
  }
  auto* scales = new QTreeWidgetItem(tree_, {Text(msg::kMenuTimeScales)});
  const TimeScaleList& list = TimeScaleList::Of(db);
  for (size_t i = 0; i < list.size(); ++i) {
    Add(scales, FromEngine(list.at(i).name()), QString::number(list.at(i).entries().size()),
        kTimeScale, static_cast<int>(i));
  }
  Add(tree_->invisibleRootItem(), Text(msg::kInfoAnalysisTemplates),
      QString::number(AnalysisTemplates::Of(db).templates().size()), kTemplates);
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
    case kTimeScale: {
      const size_t index = item->data(0, kIndexRole).toUInt();
      TimeScaleList& list = TimeScaleList::Of(database());
      if (index < list.size()) Q_EMIT TimeScaleRequested(database(), &list.at(index));
      break;
    }
    default:
      break;
  }
}

}  // namespace jov
