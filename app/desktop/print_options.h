// Printing a table window: the print options a window keeps in the nine print flags of its
// template's frame, the dialog that sets them before the printer is chosen, and the printing of
// the table's HTML export as they say.
//
// The flags the options use: 1 the title, 2 the date and time, 3 page numbers, 4 the definition,
// 5 fill the page's width, 8 leave a binding margin. Flags 6, 7 and 9 are kept as read.
#pragma once

#include <QDialog>

#include "files/analysis_template.h"

class QCheckBox;
class QPrinter;

namespace jov {

enum class PrintOption {
  kTitle,
  kDateAndTime,
  kPageNumbers,
  kDefinition,
  kFillPage,
  kBindingMargin
};
inline constexpr int kPrintOptionCount = 6;

bool IsOn(const PrintOptions& options, PrintOption option);
void SetOption(PrintOptions& options, PrintOption option, bool on);

// The options as check boxes, in PrintOption order; OK keeps them in `options`.
class PrintOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  PrintOptionsDialog(PrintOptions& options, QWidget* parent);
  QCheckBox* box(PrintOption option) const { return boxes_[static_cast<int>(option)]; }
  void accept() override;

 private:
  PrintOptions& options_;
  QCheckBox* boxes_[kPrintOptionCount];
};

// `html`, the table as its export writes it in HTML with the title and definition the options
// ask for, made ready to print: the date and time above it, the table as wide as the page.
QString PrintedPage(QString html, const PrintOptions& options);
// Prints `html` (made by PrintedPage) with the options' margins and page numbers.
void PrintPage(QPrinter& printer, const QString& html, const PrintOptions& options);

}  // namespace jov
