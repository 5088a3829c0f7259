// The `jov` command-line program: runs the engine's work without a window.
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "Usage: jov <command> [options] [files]\n"
    "       jov --help | --version\n"
    "\n"
    "JOV analyses business data - vouchers and transaction lines - held in a\n"
    "multidimensional database.\n"
    "\n"
    "Options:\n"
    "  --help      show this text and exit\n"
    "  --version   show the program version and exit\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "--version") {
    std::printf("jov %s\n", JOV_VERSION);
    return 0;
  }
  std::fprintf(stderr, "jov: unknown command '%s' (see 'jov --help')\n", argv[1]);
  return 2;
}
