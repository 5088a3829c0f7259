#include "print_options.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPrinter>
#include <QTextDocument>
#include <QVBoxLayout>

#include "qt_text.h"

namespace jov {
namespace {

// The flag of each option (0-based), in PrintOption order.
constexpr int kFlagOf[kPrintOptionCount] = {0, 1, 2, 3, 4, 7};
constexpr MessageId kCaptionOf[kPrintOptionCount] = {
    msg::kPrintTitle, msg::kPrintDateAndTime, msg::kPrintPageNumbers,
    msg::kDefinition, msg::kPrintFillPage,    msg::kPrintBindingMargin};

// Page margins in millimetres; the binding margin is added on the left.
constexpr double kMargin = 15;
constexpr double kBindingMargin = 15;

}  // namespace

bool IsOn(const PrintOptions& options, PrintOption option) {
  return options.flags[static_cast<size_t>(kFlagOf[static_cast<int>(option)])];
}

void SetOption(PrintOptions& options, PrintOption option, bool on) {
  options.flags[static_cast<size_t>(kFlagOf[static_cast<int>(option)])] = on;
}

PrintOptionsDialog::PrintOptionsDialog(PrintOptions& options, QWidget* parent)
    : QDialog(parent), options_(options) {
  setWindowTitle(Text(msg::kPrint));
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < kPrintOptionCount; ++i) {
    boxes_[i] = new QCheckBox(Text(kCaptionOf[i]), this);
    boxes_[i]->setChecked(IsOn(options, static_cast<PrintOption>(i)));
    layout->addWidget(boxes_[i]);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void PrintOptionsDialog::accept() {
  for (int i = 0; i < kPrintOptionCount; ++i) {
    SetOption(options_, static_cast<PrintOption>(i), boxes_[i]->isChecked());
  }
  QDialog::accept();
}

QString PrintedPage(QString html, const PrintOptions& options) {
  if (IsOn(options, PrintOption::kFillPage)) {
    // The table of rows is the last one of the export.
    const qsizetype table = html.lastIndexOf(QStringLiteral("<table"), -1, Qt::CaseInsensitive);
    if (table >= 0) html.insert(table + 6, QStringLiteral(" width=\"100%\""));
  }
  if (IsOn(options, PrintOption::kDateAndTime)) {
    const QString stamp =
        QStringLiteral("<p align=\"right\"><small>%1</small></p>")
            .arg(QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
    const qsizetype body = html.indexOf(QStringLiteral("<body"), 0, Qt::CaseInsensitive);
    const qsizetype opened = body >= 0 ? html.indexOf(QChar('>'), body) : -1;
    html.insert(opened >= 0 ? opened + 1 : 0, stamp);
  }
  return html;
}

void PrintPage(QPrinter& printer, const QString& html, const PrintOptions& options) {
  const double left = kMargin + (IsOn(options, PrintOption::kBindingMargin) ? kBindingMargin : 0);
  printer.setPageMargins(QMarginsF(left, kMargin, kMargin, kMargin), QPageLayout::Millimeter);
  QTextDocument document;
  document.setHtml(html);
  // A document laid out on pages of its own prints without page numbers; one left to the
  // printer is numbered. Its page is measured in pixels at 96 per inch, as printing scales it.
  if (!IsOn(options, PrintOption::kPageNumbers)) {
    document.setPageSize(printer.pageLayout().paintRectPoints().size() * (96.0 / 72.0));
  }
  document.print(&printer);
}

}  // namespace jov
