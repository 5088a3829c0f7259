// Not a benchmark: measures opening a database file in the desktop program as a user does (the
// frame, the progress dialog, the base and information windows) on Qt's offscreen platform, and
// how long the event loop went without a turn meanwhile: a timer asks every 5 ms, and the longest
// gap between its answers is the longest a click waited.
// Usage: desktop_open FILE [RUNS]
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "frame.h"
#include "shell/process.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: desktop_open FILE [RUNS]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const QString file = QString::fromLocal8Bit(argv[1]);
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  jov::Frame frame("/dev/null/LR.conf");  // no preferences written
  frame.show();
  QApplication::processEvents();

  std::vector<double> open_ms;
  for (int run = 0; run < runs; ++run) {
    QElapsedTimer clock;
    qint64 last_tick = 0;
    qint64 longest_gap = 0;
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      const qint64 now = clock.elapsed();
      longest_gap = std::max(longest_gap, now - last_tick);
      last_tick = now;
      ++ticks;
    });
    clock.start();
    ticker.start();
    jov::Database* database = frame.OpenFile(file);
    if (database == nullptr) return 1;
    const qint64 read = clock.elapsed();
    // The last gap of the read runs to its end.
    longest_gap = std::max(longest_gap, read - last_tick);
    const qint64 read_gap = longest_gap;
    frame.ShowInfo(*database);
    const qint64 opened = clock.elapsed();
    longest_gap = std::max(longest_gap, opened - last_tick);
    ticker.stop();
    open_ms.push_back(static_cast<double>(opened));
    std::printf(
        "run %d: read with its base window in %lld ms (longest wait %lld ms), with the "
        "information window in %lld ms (longest wait %lld ms); the event loop turned %d times\n",
        run + 1, static_cast<long long>(read), static_cast<long long>(read_gap),
        static_cast<long long>(opened), static_cast<long long>(longest_gap), ticks);
    frame.CloseDatabase(*database);
    QApplication::processEvents();
  }
  std::sort(open_ms.begin(), open_ms.end());
  std::printf("median %.0f ms\n", open_ms[open_ms.size() / 2]);
  return 0;
}
