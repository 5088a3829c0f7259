// Not a benchmark: measures the analysis windows of the desktop program on Qt's offscreen
// platform, as a user meets them. A component analysis window over the first dimension of FILE
// and every line in it: each run recalculates it (F5) and repaints the window, and the time of
// both is printed. A line analysis window of the lines from FROM to TO (by default 230101 to
// 230420, about 1,000,000 lines of a 10,000,000-line file from make_database): each step scrolls
// the view by a page at a spread of places and repaints, printing the slowest step and how many
// rows the table was asked for.
// Usage: desktop_analysis FILE [RUNS [FROM TO]]
#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "analysis/component_analysis.h"
#include "analysis/line_analysis.h"
#include "analysis_window.h"
#include "frame.h"

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Repaints the window at once, as the event loop would after the change.
void Repaint(jov::AnalysisWindow* window) {
  window->parentWidget()->repaint();
  QApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: desktop_analysis FILE [RUNS [FROM TO]]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  jov::Frame frame("/dev/null/LR.conf");  // no preferences written
  frame.resize(1200, 800);
  frame.show();
  QElapsedTimer clock;
  clock.start();
  jov::Database* database = frame.OpenFile(QString::fromLocal8Bit(argv[1]));
  if (database == nullptr) return 1;
  std::printf("opened in %lld ms: %zu lines\n", static_cast<long long>(clock.elapsed()),
              database->cards().line_count());

  jov::AnalysisWindow* components = frame.NewAnalysis(*database, jov::AnalysisKind::kComponents);
  auto& analysis = static_cast<jov::ComponentAnalysis&>(components->analysis());
  analysis.options().view_dimension = 0;
  components->parentWidget()->showMaximized();
  std::vector<double> recalculations;
  for (int run = 0; run < runs; ++run) {
    clock.restart();
    if (!components->Calculate()) return 1;
    Repaint(components);
    recalculations.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    std::printf("component analysis, recalculated and repainted: %.1f ms (%d rows shown)\n",
                recalculations.back(), components->model().rowCount());
  }
  std::printf("component analysis: median %.1f ms\n", Median(recalculations));
  components->parentWidget()->close();

  jov::AnalysisWindow* lines = frame.NewAnalysis(*database, jov::AnalysisKind::kLines);
  auto& listing = static_cast<jov::LineAnalysis&>(lines->analysis());
  listing.selection().SetFrom(argc > 4 ? argv[3] : "230101");
  listing.selection().SetTo(argc > 4 ? argv[4] : "230420");
  lines->parentWidget()->showMaximized();
  clock.restart();
  if (!lines->Calculate()) return 1;
  Repaint(lines);
  std::printf("line analysis of %d rows calculated and shown in %lld ms\n",
              lines->model().rowCount(), static_cast<long long>(clock.elapsed()));
  QTableView* view = lines->findChild<QTableView*>();
  QScrollBar* bar = view->verticalScrollBar();
  const int filled_before = lines->model().rows_filled();
  std::vector<double> steps;
  // A page down at a hundred places spread over the list, then the thumb dragged to its end.
  for (int place = 0; place < 100; ++place) {
    bar->setValue(static_cast<int>(static_cast<int64_t>(bar->maximum()) * place / 100));
    Repaint(lines);
    clock.restart();
    bar->setValue(bar->value() + bar->pageStep());
    Repaint(lines);
    steps.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
  }
  clock.restart();
  bar->setValue(bar->maximum());
  Repaint(lines);
  steps.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
  std::printf(
      "line analysis scrolling: median step %.2f ms, slowest %.2f ms; %d rows asked for over "
      "%zu steps\n",
      Median(steps), *std::max_element(steps.begin(), steps.end()),
      lines->model().rows_filled() - filled_before, steps.size());
  return 0;
}
