// Whole files through the open pipeline: the kind test, the questions, a binary file's blocks
// (with the password "Hemligt" when the header asks for one) or a text file's lines, imported
// into an open database (an import reads the file as an opening does, into a database of its
// own, then merges it). What must hold: an import that fails leaves the open database as it
// was.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "files/database_file.h"
#include "fuzz_support.h"
#include "fuzz_target.h"

namespace jov {
namespace {

class FixedPrompt : public PasswordPrompt {
 public:
  std::optional<std::string> Ask(const std::string&, const std::string&) override {
    return "Hemligt";
  }
};

// One file for the whole run, in the temporary folder.
const std::string& InputPath() {
  static const std::string path = [] {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
           "/jov_database_file_fuzzer_" + std::to_string(::getpid()) + ".jov";
  }();
  return path;
}

// Writes the input where the pipeline reads it (plainly: an atomic write's flush to the disk
// would cost more than the read).
bool WriteInput(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(database_file) {
  jov::fuzz::QuietRun run;
  const std::string& path = jov::InputPath();
  if (!jov::WriteInput(path, data, size)) return;
  jov::FixedPrompt prompt;
  jov::OpenDatabases open;
  jov::Database& target = open.Create();
  target.AddComponent(0, "1910", "Kassa", "K");
  const std::string before = jov::fuzz::SectionText(target);
  jov::ReadOptions import;
  import.import = true;
  if (!jov::ReadDatabaseFile(target, path, import, &prompt, jov::fuzz::Registry())) {
    JOV_FUZZ_CHECK(jov::fuzz::SectionText(target) == before);
  }
  ::unlink(path.c_str());
}
