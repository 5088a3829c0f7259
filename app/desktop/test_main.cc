// The desktop tests run GoogleTest inside a QApplication on Qt's offscreen platform, so they need
// no display.
#include <gtest/gtest.h>

#include <QApplication>

// Under LeakSanitizer: the system's font configuration library keeps caches of its own that it
// never frees; only leaks of ours should fail a test.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
