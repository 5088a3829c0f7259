// The `jov` command-line program: reports on database files, converts them between the binary
// and text forms, checks what files are, and writes the demo company. Alerts go to stderr in
// UTF-8; exit status 0 when the work succeeded, 1 when it met errors, 2 for a wrong command line.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/section_kinds.h"
#include "console.h"
#include "demo_company.h"
#include "files/analysis_template.h"
#include "files/database_file.h"
#include "model/database_info.h"
#include "platform/file_io.h"
#include "platform/settings_store.h"
#include "platform/text_encoding.h"
#include "shell/pending_error.h"
#include "shell/preferences.h"
#include "shell/process.h"

namespace jov {
namespace {

constexpr int kSuccess = 0, kFailed = 1, kUsage = 2;

constexpr const char* kUsageText =
    "Usage: jov <command> [options] [files]\n"
    "\n"
    "JOV analyses business data - vouchers and transaction lines - held in a\n"
    "multidimensional database.\n"
    "\n"
    "Commands:\n"
    "  info      report the size and contents of database files\n"
    "  convert   save a database file in binary (.jov) or text (.jox) form\n"
    "  check     tell what each file is and whether it opens as a database\n"
    "  demo      write the demo company database\n"
    "\n"
    "Run 'jov <command> --help' for a command's options.\n"
    "  --help      show this text and exit\n"
    "  --version   show the program version and exit\n";

struct CommandHelp {
  const char* usage;
  const char* text;
};

const std::map<std::string_view, CommandHelp> kHelp = {
    {"info",
     {"jov info [--password PW] FILE...",
      "Prints the information report of each database: sizes, cards, groups, lines, texts,\n"
      "the first and last card, and how much of each dimension the data uses.\n"}},
    {"convert",
     {"jov convert [--text|--binary] [--store] [--password PW] IN OUT",
      "Reads any database file and saves it. The form follows --text or --binary, else the\n"
      "extension of OUT (.jox text, anything else binary). --store writes binary blocks\n"
      "uncompressed. A database with a password keeps it in a binary file; a text file gets\n"
      "it only when you confirm on the terminal.\n"}},
    {"check",
     {"jov check FILE...",
      "Names each file's kind and whether it opens as a database; exits 1 when one does not.\n"}},
    {"demo",
     {"jov demo OUT",
      "Writes the demo company (three years of a small trading company) to OUT.\n"}},
};

// Without a terminal a question takes its safe answer and a missing password cancels, so that
// scripts never wait for input.
constexpr const char* kQuestionsText =
    "Questions (a later file version, a password, saving a password in a text file) are\n"
    "asked on the terminal; without one they take the answer that changes nothing, and the\n"
    "password comes from --password only.\n";

struct Arguments {
  std::vector<std::string> files;
  std::optional<std::string> password;
  std::optional<DatabaseFormat> format;
  bool store = false;
  bool help = false;
  std::string error;
};

Arguments Parse(int argc, char** argv, bool takes_format) {
  Arguments args;
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      args.help = true;
    } else if (arg == "--password" && i + 1 < argc) {
      args.password = Cp1252FromUtf8(argv[++i]);
    } else if (takes_format && arg == "--text") {
      args.format = DatabaseFormat::kText;
    } else if (takes_format && arg == "--binary") {
      args.format = DatabaseFormat::kBinary;
    } else if (takes_format && arg == "--store") {
      args.store = true;
    } else if (arg.starts_with("-") && arg.size() > 1) {
      args.error = "unknown option '" + std::string(arg) + "'";
    } else {
      args.files.emplace_back(arg);
    }
  }
  return args;
}

int Usage(std::string_view command, const std::string& error) {
  std::cerr << "jov " << command << ": " << error << "\nUsage: " << kHelp.at(command).usage << "\n";
  return kUsage;
}

class Session {
 public:
  Session() : scoped_(&sink_) {
    SettingsStore store(SettingsStore::DefaultPath());
    LoadProcessPreferences(store);
    SetProgressDisplay(&progress_);
  }
  ~Session() { SetProgressDisplay(nullptr); }
  ConsoleSink& sink() { return sink_; }
  const SectionRegistry& registry() const { return registry_; }
  OpenDatabases& open() { return open_; }
  int Status(bool ok) const { return ok && sink_.error_count() == 0 ? kSuccess : kFailed; }

 private:
  ConsoleSink sink_;
  ScopedSink scoped_;
  ConsoleProgress progress_;
  const SectionRegistry registry_ = FullSectionRegistry();
  OpenDatabases open_;
};

Database* Open(Session& session, const std::string& path, const Arguments& args,
               PasswordPrompt& prompt) {
  ReadOptions options;
  options.password = args.password;
  Database* db = OpenDatabaseFile(session.open(), path, options, &prompt, session.registry());
  FlushPendingError();
  return db;
}

int Info(const Arguments& args) {
  if (args.files.empty()) return Usage("info", "no file given");
  Session session;
  ConsolePasswordPrompt prompt(std::nullopt);
  bool ok = true;
  for (const std::string& path : args.files) {
    Database* db = Open(session, path, args, prompt);
    if (db == nullptr) {
      ok = false;
      continue;
    }
    const DatabaseInfo info = CountDatabaseInfo(*db, FileSize(path).value_or(0),
                                                AnalysisTemplates::Of(*db).AnalysisCount());
    std::cout << "== " << path << "\n"
              << Utf8FromCp1252(DatabaseInfoReport(*db, info, db->card_digits()));
    session.open().Close(*db);
  }
  return session.Status(ok);
}

int Convert(const Arguments& args) {
  if (args.files.size() != 2) return Usage("convert", "give one input and one output file");
  Session session;
  ConsolePasswordPrompt prompt(args.password);
  Database* db = Open(session, args.files[0], args, prompt);
  if (db == nullptr) return kFailed;
  const std::string& out = args.files[1];
  const DatabaseFormat format = args.format.value_or(FormatForFileName(out));
  SaveSetup setup = db->Attached<SaveSetups>().in_effect();
  setup.compressed = !args.store;
  // A binary file keeps the password; a text file only when the user agrees (asked below).
  setup.sections[static_cast<size_t>(SaveSection::kProtection)] =
      db->Attached<DatabasePassword>().password.HasPassword();
  const bool saved =
      SaveDatabaseFile(*db, out, format, setup, session.registry(), &prompt, /*adopt=*/true);
  FlushPendingError();
  return session.Status(saved);
}

const char* KindText(FileKind kind) {
  switch (kind) {
    case FileKind::kBinary:
      return "binary database";
    case FileKind::kBinaryB:
      return "binary database (kind B)";
    case FileKind::kText:
      return "text database";
    case FileKind::kBinaryN:
      return "binary database of an unreadable kind";
    case FileKind::kBinaryEarly:
      return "binary database of an early, unreadable format";
    case FileKind::kPreRelease:
      return "database of a pre-release format";
    case FileKind::kThirdGeneration:
      return "database of the third format generation";
    case FileKind::kLaterFormat:
      return "database of a later format";
    case FileKind::kXmlCommands:
      return "XML command document";
    case FileKind::kSie:
      return "SIE file";
    case FileKind::kNotDatabase:
      return "not a database file";
    case FileKind::kDamaged:
      return "damaged database file";
    case FileKind::kNothing:
      return "unreadable";
  }
  return "unknown";
}

int Check(const Arguments& args) {
  if (args.files.empty()) return Usage("check", "no file given");
  Session session;
  ConsolePasswordPrompt prompt(std::nullopt);
  bool all_open = true;
  for (const std::string& path : args.files) {
    const FileSniff sniff = SniffFile(path);
    Database* db = Open(session, path, args, prompt);
    std::cout << path << ": " << KindText(sniff.kind) << ", "
              << (db != nullptr ? "opens" : "does not open") << "\n";
    if (db == nullptr)
      all_open = false;
    else
      session.open().Close(*db);
  }
  return all_open ? kSuccess : kFailed;
}

int Demo(const Arguments& args) {
  if (args.files.size() != 1) return Usage("demo", "give one output file");
  Session session;
  Database& db = session.open().Create();
  BuildDemoCompany(db);
  const std::string& out = args.files[0];
  const bool saved =
      SaveDatabaseFile(db, out, FormatForFileName(out), db.Attached<SaveSetups>().in_effect(),
                       session.registry(), nullptr);
  FlushPendingError();
  return session.Status(saved);
}

int Run(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << kUsageText;
    return kUsage;
  }
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsageText;
    return kSuccess;
  }
  if (command == "--version") {
    std::cout << "jov " << JOV_VERSION << "\n";
    return kSuccess;
  }
  const auto help = kHelp.find(command);
  if (help == kHelp.end()) {
    std::cerr << "jov: unknown command '" << command << "' (see 'jov --help')\n";
    return kUsage;
  }
  const Arguments args = Parse(argc, argv, command == "convert");
  if (args.help) {
    std::cout << "Usage: " << help->second.usage << "\n\n"
              << help->second.text << "\n"
              << kQuestionsText;
    return kSuccess;
  }
  if (!args.error.empty()) return Usage(command, args.error);
  if (command == "info") return Info(args);
  if (command == "convert") return Convert(args);
  if (command == "check") return Check(args);
  return Demo(args);
}

}  // namespace
}  // namespace jov

int main(int argc, char** argv) { return jov::Run(argc, argv); }
