// Writing a large table out: a line list of a million rows (card ID, title, three components,
// line text, two values) as delimited text, as an HTML page and as XML, into a sink that only
// counts the bytes. The rows are made as the writer asks for them, as an analysis fills them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "io/table_export.h"
#include "shell/number_text.h"

namespace jov {
namespace {

constexpr int kRows = 1000000;

class CountingSink : public ByteSink {
 public:
  bool Write(std::string_view bytes) override {
    bytes_ += bytes.size();
    return true;
  }
  size_t bytes_ = 0;
};

class GeneratedLines : public Table {
 public:
  GeneratedLines() {
    for (const char* title : {"Card ID", "Card Title", "Account", "Cost Centre", "Customer",
                              "Line Text", "Amount", "Quantity"}) {
      columns_.push_back({.title = title});
    }
    columns_[6].alignment = columns_[7].alignment = CellAlignment::kRight;
  }
  std::string Title() const override { return "Lines: \xC5rets f\xF6rs\xE4ljning"; }
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  const TableColumn& Column(int index) const override { return columns_[index]; }
  int RowCount() const override { return kRows; }
  int FirstDataRow() const override { return 0; }
  void FillRow(int row, std::vector<TableCell>& cells) const override {
    cells.resize(columns_.size());
    cells[0].text.assign("240101-").append(std::to_string(row % 999 + 1));
    cells[1].text.assign("Invoice & credit <").append(std::to_string(row)).append(">");
    cells[2].text.assign(std::to_string(3000 + row % 40));
    cells[3].text.assign(std::to_string(10 + row % 7));
    cells[4].text.assign("K").append(std::to_string(row % 500));
    cells[5].text.assign("Delivery of goods");
    cells[6].text.clear();
    AppendNumber(cells[6].text, (row % 20000 - 10000) * 1.25, 2);
    cells[6].alignment = CellAlignment::kRight;
    cells[7].text.assign(std::to_string(row % 12));
    cells[7].alignment = CellAlignment::kRight;
  }
  ExportSettings& export_settings() override { return settings_; }
  const ExportSettings& export_settings() const override { return settings_; }

 private:
  std::vector<TableColumn> columns_;
  ExportSettings settings_;
};

void WriteAs(benchmark::State& state, ExportFormat format) {
  GeneratedLines table;
  table.export_settings().format = format;
  table.export_settings().include_column_titles = true;
  size_t bytes = 0;
  for (auto _ : state) {
    CountingSink sink;
    LineSink out(sink, text_format::kTextLineEnd, 10240);
    WriteTable(table, out, {.xml_header = true});
    out.Finish();
    bytes = sink.bytes_;
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_WriteText(benchmark::State& state) { WriteAs(state, ExportFormat::kText); }
void BM_WriteHtml(benchmark::State& state) { WriteAs(state, ExportFormat::kHtml); }
void BM_WriteXml(benchmark::State& state) { WriteAs(state, ExportFormat::kXml); }
BENCHMARK(BM_WriteText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteXml)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace jov
