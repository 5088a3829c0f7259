#include "info_window.h"

#include <QHeaderView>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "files/analysis_template.h"
#include "model/database_info.h"
#include "platform/file_io.h"
#include "qt_text.h"

namespace jov {
namespace {

constexpr int kValueColumns = 3;

}  // namespace

char ThousandSeparator() {
  const std::string separator = ToEngine(QLocale::system().groupSeparator());
  return separator.size() == 1 ? separator[0] : ' ';
}

InfoWindow::InfoWindow(Database& database, QWidget* parent)
    : DatabaseWindow(database, Kind::kInfo, parent), table_(new QTreeWidget(this)) {
  table_->setColumnCount(1 + kValueColumns);
  table_->setHeaderHidden(true);
  table_->setRootIsDecorated(false);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setFocusPolicy(Qt::NoFocus);
  table_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->header()->setStretchLastSection(false);
  table_->header()->setMinimumSectionSize(72);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(table_);
  Refresh();
}

QString InfoWindow::Title() const { return TitleOf(msg::kMenuDatabaseInfo); }

// The report's lines are headings ("Cards and Lines", or "Dimension Components" with the column
// titles after tabs) and rows ("  label<TAB>value<TAB>..."); the window shows headings in bold
// and the values right-aligned under each other.
void InfoWindow::Refresh() {
  Database& db = database();
  const int64_t file_bytes = db.file_name().empty() ? 0 : FileSize(db.file_name()).value_or(0);
  const DatabaseInfo info =
      CountDatabaseInfo(db, file_bytes, AnalysisTemplates::Of(db).AnalysisCount());
  const QString report =
      FromEngine(DatabaseInfoReport(db, info, db.card_digits(), ThousandSeparator()));
  table_->clear();
  for (const QString& line : report.split('\n', Qt::SkipEmptyParts)) {
    const bool heading = !line.startsWith(QStringLiteral("  "));
    const QStringList fields = line.trimmed().split('\t');
    auto* item = new QTreeWidgetItem(table_, fields);
    for (int column = 1; column < fields.size(); ++column) {
      item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (heading) {
      QFont bold = item->font(0);
      bold.setBold(true);
      for (int column = 0; column < fields.size(); ++column) item->setFont(column, bold);
    } else {
      item->setText(0, QStringLiteral("    ") + fields[0]);
    }
  }
  setWindowTitle(Title());
}

QString InfoWindow::Value(const QString& label) const {
  for (int i = 0; i < table_->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = table_->topLevelItem(i);
    if (item->text(0).trimmed() == label) return item->text(1);
  }
  return {};
}

}  // namespace jov
